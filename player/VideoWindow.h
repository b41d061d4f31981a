// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QWidget>
#include <atomic>
#include <mutex>

namespace platform {
class WindowMessageEvent;
}

// One channel's video window. Lives on the GUI thread and takes the engine's
// window messages (commands go to the running player); the render thread hands it images without waiting for a
// paint, and a paint shows the newest complete image scaled to the window.
class VideoWindow : public QWidget {
  Q_OBJECT

public:
  explicit VideoWindow(QWidget* parent);

  // Any thread: copies the image (32-bit blue, green, red, unused) for the
  // next paint; skipped while the window is hidden.
  void present(const uint8_t* image, int width, int height);
  // Any thread: drops the shown image and hides the window.
  void retire();

protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

private:
  void onWindowMessage(platform::WindowMessageEvent& message);
  void takePendingImage();

  std::atomic<bool> m_visible{false};
  std::atomic<bool> m_updateQueued{false};
  std::mutex m_pendingLock;
  QImage m_pending;
  bool m_hasPending = false;
  QImage m_shown;
};
