// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <memory>

class FrameMailbox;
class X11FrameOutput;

namespace platform {
class WindowMessageEvent;
}

// One channel's video window, on the GUI thread. It takes the engine's window
// messages (commands go to the running player) and shows the newest image of
// the channel its mailbox names, scaled to the window: put straight onto the
// screen where the X server can take it from the frame store, else painted.
class VideoWindow : public QWidget {
  Q_OBJECT

public:
  explicit VideoWindow(QWidget* parent);
  ~VideoWindow() override;

  // Shared with the threads that feed the window.
  std::shared_ptr<FrameMailbox> mailbox() const { return m_mailbox; }

public slots:
  // Hides the window and drops its image until the next run shows it.
  void retire();
  // The mailbox has a new image.
  void present();

protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

private:
  void onWindowMessage(platform::WindowMessageEvent& message);

  std::shared_ptr<FrameMailbox> m_mailbox;
  std::unique_ptr<X11FrameOutput> m_screen;
};
