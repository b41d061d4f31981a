// SPDX-License-Identifier: GPL-3.0-or-later
// The reference for the viewer's first paint: a bare Qt dialog of the main
// window's size, started as the viewer starts (shared OpenGL contexts, the
// same platform), linked with Qt's widgets alone. Reports the monotonic time
// of its first paint through the descriptor named by its one argument.
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace {

class BareDialog : public QDialog {
public:
  explicit BareDialog(int fd) : QDialog(nullptr, Qt::Window | Qt::FramelessWindowHint), m_fd(fd) {}

protected:
  void paintEvent(QPaintEvent* event) override {
    QDialog::paintEvent(event);
    if (m_reported)
      return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const int64_t painted = int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
    m_reported = write(m_fd, &painted, sizeof painted) == sizeof painted;
    QTimer::singleShot(0, this, &QDialog::reject);
  }

private:
  int m_fd;
  bool m_reported = false;
};

} // namespace

int main(int argc, char** argv) {
  if (argc != 2)
    return 2;
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  BareDialog dialog(std::atoi(argv[1]));
  // The main window's 1010 x 790 pixels.
  dialog.resize(1010, 790);
  dialog.exec();
  return 0;
}
