// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/MpvChannel.h"

#include "player/FrameStore.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <mpv/client.h>
#include <mpv/render.h>
#include <utility>
#include <vector>

namespace {

// Options for an embedded, headless-capable decoder: no configuration files,
// terminal, scripts or input bindings; the picture fills the fixed image;
// without a sound device playback goes on silently.
constexpr std::pair<const char*, const char*> kOptions[] = {
    {"config", "no"},
    {"terminal", "no"},
    {"load-scripts", "no"},
    {"ytdl", "no"},
    {"input-default-bindings", "no"},
    {"input-vo-keyboard", "no"},
    {"osc", "no"},
    {"sub-auto", "no"},
    {"audio-display", "no"},
    {"load-stats-overlay", "no"},
    {"load-osd-console", "no"},
    {"load-auto-profiles", "no"},
    {"vo", "libmpv"},
    // Where decoding cannot keep up, time goes on and pictures are dropped:
    // late ones before they are drawn, and the decoder skips pictures that no
    // other refers to. Hardware decoding (set per channel) copies each
    // picture back, so the frame reports still carry it.
    {"framedrop", "decoder+vo"},
    {"vd-lavc-framedrop", "nonref"},
    // Two decoding threads: one frame of start-up delay instead of one per
    // core, and still room for four times the normal rate.
    {"vd-lavc-threads", "2"},
    // A 16:9 recording keeps its shape in the 4:3 picture, with black bars.
    {"keepaspect", "yes"},
    {"idle", "yes"},
    {"keep-open", "no"},
    // The desktop's sound servers, then the plain device; probing further
    // drivers only delays the start where there is no sound at all.
    {"ao", "pipewire,pulse,alsa"},
    {"audio-fallback-to-null", "yes"},
    // libswscale keeps the recording's colour values (as other decoders show
    // them; zimg would also convert the camera's primaries), with the same
    // scaling as a plain conversion (full chroma interpolation costs twice).
    {"sws-allow-zimg", "no"},
    {"sws-scaler", "bicubic"},
    {"sws-fast", "yes"},
};

std::chrono::milliseconds publishDelayForTests() {
  const char* value = std::getenv("LUMENARK_TEST_PUBLISH_DELAY_MS");
  return std::chrono::milliseconds(value ? std::strtol(value, nullptr, 10) : 0);
}

} // namespace

MpvChannel::MpvChannel(FrameStore& frames, int channel, Wakeup wakeup, FrameShown shown)
    : m_frames(frames), m_channel(channel), m_wakeup(std::move(wakeup)), m_shown(std::move(shown)) {}

MpvChannel::~MpvChannel() {
  stopRendering();
  if (m_render)
    mpv_render_context_free(m_render);
  if (m_mpv)
    mpv_terminate_destroy(m_mpv);
}

bool MpvChannel::open(Audio audio) {
  m_mpv = mpv_create();
  if (!m_mpv)
    return failToCreate();
  if (!configure(audio))
    return false;
  if (const int code = mpv_initialize(m_mpv); code < 0)
    return fail("cannot start the decoder", code);
  mpv_set_wakeup_callback(m_mpv, &MpvChannel::onWakeup, this);
  if (!createRenderContext())
    return false;
  m_publishDelay = publishDelayForTests();
  m_renderThread = std::thread(&MpvChannel::renderLoop, this);
  return true;
}

bool MpvChannel::configure(Audio audio) {
  for (const auto& [name, value] : kOptions) {
    if (const int code = mpv_set_option_string(m_mpv, name, value); code < 0)
      return fail(std::string("option ") + name, code);
  }
  if (audio == Audio::Off) {
    if (const int code = mpv_set_option_string(m_mpv, "aid", "no"); code < 0)
      return fail("option aid", code);
  }
  return true;
}

bool MpvChannel::createRenderContext() {
  mpv_render_param params[] = {
      {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
      {MPV_RENDER_PARAM_INVALID, nullptr},
  };
  if (const int code = mpv_render_context_create(&m_render, m_mpv, params); code < 0) {
    m_render = nullptr;
    return fail("cannot create the software renderer", code);
  }
  mpv_render_context_set_update_callback(m_render, &MpvChannel::onRenderUpdate, this);
  return true;
}

// libmpv refuses to start unless the C library formats numbers the C way;
// a host that took the user's locale for it gets told so, not "out of memory".
bool MpvChannel::failToCreate() {
  const char* numeric = std::setlocale(LC_NUMERIC, nullptr);
  if (numeric && std::strcmp(numeric, "C") != 0 && std::strcmp(numeric, "POSIX") != 0) {
    m_error = std::string("cannot create the decoder: libmpv needs the numeric locale \"C\", the process has \"") +
              numeric + "\" (call setlocale(LC_NUMERIC, \"C\") at start-up)";
    return false;
  }
  return fail("cannot create the decoder", MPV_ERROR_NOMEM);
}

bool MpvChannel::fail(const std::string& what, int code) {
  m_error = what + ": " + mpv_error_string(code);
  return false;
}

int MpvChannel::command(std::initializer_list<const char*> words) {
  std::vector<const char*> args(words);
  args.push_back(nullptr);
  return mpv_command(m_mpv, args.data());
}

int MpvChannel::setString(const char* name, const char* value) { return mpv_set_property_string(m_mpv, name, value); }

std::string MpvChannel::getString(const char* name) const {
  char* value = mpv_get_property_string(m_mpv, name);
  std::string text = value ? value : "";
  mpv_free(value);
  return text;
}

int MpvChannel::setDouble(const char* name, double value) {
  return mpv_set_property(m_mpv, name, MPV_FORMAT_DOUBLE, &value);
}

double MpvChannel::getDouble(const char* name, double fallback) const {
  double value = fallback;
  return mpv_get_property(m_mpv, name, MPV_FORMAT_DOUBLE, &value) >= 0 ? value : fallback;
}

int64_t MpvChannel::getInt(const char* name, int64_t fallback) const {
  int64_t value = fallback;
  return mpv_get_property(m_mpv, name, MPV_FORMAT_INT64, &value) >= 0 ? value : fallback;
}

bool MpvChannel::hasProperty(const char* name) const {
  char* value = mpv_get_property_string(m_mpv, name);
  mpv_free(value);
  return value != nullptr;
}

void MpvChannel::observeDouble(uint64_t id, const char* name) {
  mpv_observe_property(m_mpv, id, name, MPV_FORMAT_DOUBLE);
}

mpv_event* MpvChannel::nextEvent() {
  mpv_event* event = mpv_wait_event(m_mpv, 0);
  return event->event_id == MPV_EVENT_NONE ? nullptr : event;
}

void MpvChannel::onWakeup(void* self) { static_cast<MpvChannel*>(self)->m_wakeup(); }

void MpvChannel::onRenderUpdate(void* self) {
  auto* channel = static_cast<MpvChannel*>(self);
  {
    std::lock_guard lock(channel->m_renderLock);
    channel->m_updatePending = true;
  }
  channel->m_renderWanted.notify_one();
}

void MpvChannel::renderLoop() {
  for (;;) {
    {
      std::unique_lock lock(m_renderLock);
      m_renderWanted.wait(lock, [this] { return m_updatePending || m_stopping; });
      if (m_stopping)
        return;
      m_updatePending = false;
    }
    if (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME)
      renderFrame();
  }
}

void MpvChannel::renderFrame() {
  int size[2] = {FrameStore::kWidth, FrameStore::kHeight};
  size_t stride = FrameStore::kStride;
  mpv_render_param params[] = {
      {MPV_RENDER_PARAM_SW_SIZE, size},      {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>("bgr0")},
      {MPV_RENDER_PARAM_SW_STRIDE, &stride}, {MPV_RENDER_PARAM_SW_POINTER, m_frames.back(m_channel)},
      {MPV_RENDER_PARAM_INVALID, nullptr},
  };
  const uint64_t render = ++m_rendersBegun;
  if (mpv_render_context_render(m_render, params) < 0)
    return;
  if (m_publishDelay.count() > 0)
    std::this_thread::sleep_for(m_publishDelay);
  m_shown(m_frames.publish(m_channel), render);
}

void MpvChannel::stopRendering() {
  if (!m_renderThread.joinable())
    return;
  {
    std::lock_guard lock(m_renderLock);
    m_stopping = true;
  }
  m_renderWanted.notify_one();
  m_renderThread.join();
}
