// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CQIRA02App.h"
#include "app/OpenRequest.h"

#include <QApplication>
#include <QStringList>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

bool displayAvailable() {
  return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || std::getenv("QT_QPA_PLATFORM");
}

// `lumenark [FOLDER | RECORDING.mp4]`: what to open at start, empty when
// nothing was given or it cannot be opened (the window starts without it);
// nothing when the command line is not usable.
std::optional<OpenRequest> startRequest(const QStringList& arguments) {
  if (arguments.size() > 2 || (arguments.size() == 2 && arguments[1].startsWith(QLatin1Char('-')))) {
    std::fprintf(stderr, "usage: lumenark [FOLDER | RECORDING.mp4]\n");
    return std::nullopt;
  }
  if (arguments.size() < 2)
    return OpenRequest();
  const OpenRequest request = OpenRequest::FromPath(arguments[1]);
  if (request.IsRefused()) {
    std::fprintf(stderr, "lumenark: %s\n", qPrintable(request.Refusal()));
    return OpenRequest();
  }
  return request;
}

} // namespace

int main(int argc, char** argv) {
  if (!displayAvailable()) {
    std::fprintf(stderr, "lumenark: no display; try: xvfb-run -a make run\n");
    return 1;
  }
  // The map's web view shares the window's graphics context.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  // QApplication took the user's locale for the C library too; numbers in
  // command texts and files must keep their point (and libmpv will not start
  // otherwise). Qt still shows the user's locale.
  std::setlocale(LC_NUMERIC, "C");
  const std::optional<OpenRequest> request = startRequest(QApplication::arguments());
  if (!request)
    return 2;
  CQIRA02App app;
  app.m_strStartFolder = request->Folder();
  app.m_strStartRecording = request->Recording();
  app.InitInstance();
  return 0;
}
