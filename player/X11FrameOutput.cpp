// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/X11FrameOutput.h"

#include "player/FrameStore.h"

#include <QGuiApplication>
#include <QRegion>
#include <QWidget>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <xcb/shm.h>

namespace {

// The store's images are 32-bit pixels, blue first: a depth 24 Z pixmap.
constexpr uint8_t kDepth = 24;

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

} // namespace

X11FrameOutput::~X11FrameOutput() {
  if (m_state != State::Attached || !QGuiApplication::instance())
    return;
  if (m_gc)
    xcb_free_gc(m_connection, m_gc);
  xcb_shm_detach(m_connection, m_segment);
  xcb_flush(m_connection);
}

bool X11FrameOutput::put(const QWidget& window, const uint8_t* image) {
  if (!showsUnscaled(window) || !attached())
    return false;
  const auto target = xcb_window_t(window.window()->winId());
  if (!drawsOn(target))
    return false;
  const QPoint at = window.mapTo(window.window(), QPoint(0, 0));
  xcb_shm_put_image(m_connection, target, m_gc, FrameStore::kWidth, FrameStore::kHeight, 0, 0, FrameStore::kWidth,
                    FrameStore::kHeight, int16_t(at.x()), int16_t(at.y()), kDepth, XCB_IMAGE_FORMAT_Z_PIXMAP, 0,
                    m_segment, m_frames.offsetOf(image));
  // The server handles requests in order: once a later one is answered, it
  // has read the image, and the render thread may draw into it again.
  ReplyPtr<xcb_get_input_focus_reply_t>(
      xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
  return true;
}

// The image goes to the screen pixel for pixel: no scaling, and nothing of
// the window's own covers part of it.
bool X11FrameOutput::showsUnscaled(const QWidget& window) {
  return window.devicePixelRatioF() == 1.0 && window.size() == QSize(FrameStore::kWidth, FrameStore::kHeight) &&
         window.visibleRegion() == QRegion(window.rect()) && window.window()->windowHandle();
}

bool X11FrameOutput::attached() {
  if (m_state == State::Untried)
    m_state = attach() ? State::Attached : State::Unavailable;
  return m_state == State::Attached;
}

// The store's memory file is passed to the server, which needs MIT-SHM 1.2
// and a local connection; anything less leaves painting as it is. The
// offscreen platform offers the X11 interface too, without a connection.
bool X11FrameOutput::attach() {
  if (QGuiApplication::platformName() != QLatin1String("xcb") || m_frames.sharedMemory() < 0)
    return false;
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  m_connection = x11 ? x11->connection() : nullptr;
  if (!m_connection)
    return false;
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(m_connection, &xcb_shm_id);
  if (!extension || !extension->present)
    return false;
  const ReplyPtr<xcb_shm_query_version_reply_t> version(
      xcb_shm_query_version_reply(m_connection, xcb_shm_query_version(m_connection), nullptr));
  if (!version || (version->major_version == 1 && version->minor_version < 2))
    return false;
  // xcb closes the descriptor it sends.
  const int descriptor = fcntl(m_frames.sharedMemory(), F_DUPFD_CLOEXEC, 0);
  if (descriptor < 0)
    return false;
  m_segment = xcb_generate_id(m_connection);
  const ReplyPtr<xcb_generic_error_t> error(
      xcb_request_check(m_connection, xcb_shm_attach_fd_checked(m_connection, m_segment, descriptor, 1)));
  return !error;
}

// A window of another depth (a translucent one) would take the images'
// unused byte for alpha.
bool X11FrameOutput::drawsOn(xcb_window_t target) {
  if (target == m_target)
    return m_targetFits;
  if (m_gc)
    xcb_free_gc(m_connection, m_gc);
  m_gc = 0;
  m_target = target;
  const ReplyPtr<xcb_get_geometry_reply_t> geometry(
      xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, target), nullptr));
  m_targetFits = geometry && geometry->depth == kDepth;
  if (m_targetFits) {
    m_gc = xcb_generate_id(m_connection);
    const uint32_t noExposures = 0;
    xcb_create_gc(m_connection, m_gc, target, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
  }
  return m_targetFits;
}
