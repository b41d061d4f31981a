// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <string>
#include <thread>

struct mpv_handle;
struct mpv_render_context;
struct mpv_event;
class FrameStore;

// One libmpv decoder rendering in software into a channel of the frame store.
// Rendering runs on a thread of its own: libmpv's render call waits for each
// frame's display time, and that thread calls no other libmpv function.
class MpvChannel {
public:
  // Called on the render thread with the channel's new front image and the
  // number of the render that drew it (see rendersBegun()).
  using FrameShown = std::function<void(const uint8_t* image, uint64_t render)>;
  // Called from libmpv's threads when events wait; may only signal.
  using Wakeup = std::function<void()>;

  enum class Audio { Play, Off };

  MpvChannel(FrameStore& frames, int channel, Wakeup wakeup, FrameShown shown);
  ~MpvChannel();
  MpvChannel(const MpvChannel&) = delete;
  MpvChannel& operator=(const MpvChannel&) = delete;

  // Makes the decoder and starts rendering; false with errorText() set.
  bool open(Audio audio);
  const std::string& errorText() const { return m_error; }

  // libmpv error code (0 or more is success).
  int command(std::initializer_list<const char*> words);
  int setString(const char* name, const char* value);
  // Empty when the property is unavailable.
  std::string getString(const char* name) const;
  int setDouble(const char* name, double value);
  double getDouble(const char* name, double fallback) const;
  int64_t getInt(const char* name, int64_t fallback) const;
  bool hasProperty(const char* name) const;
  void observeDouble(uint64_t id, const char* name);
  // The next waiting event, or null when none waits.
  mpv_event* nextEvent();
  // Renders begun so far, counted from 1. libmpv hands a frame to a render
  // before it reports that frame shown, so once a frame is reported shown the
  // latest render begun draws it or a later one.
  uint64_t rendersBegun() const { return m_rendersBegun.load(); }

private:
  static void onRenderUpdate(void* self);
  static void onWakeup(void* self);
  bool failToCreate();
  bool fail(const std::string& what, int code);
  bool configure(Audio audio);
  bool createRenderContext();
  void renderLoop();
  void renderFrame();
  void stopRendering();

  FrameStore& m_frames;
  const int m_channel;
  Wakeup m_wakeup;
  FrameShown m_shown;
  std::string m_error;
  mpv_handle* m_mpv = nullptr;
  mpv_render_context* m_render = nullptr;

  std::thread m_renderThread;
  std::mutex m_renderLock;
  std::condition_variable m_renderWanted;
  bool m_updatePending = false;
  bool m_stopping = false;
  std::atomic<uint64_t> m_rendersBegun{0};
  // Test hook (LUMENARK_TEST_PUBLISH_DELAY_MS): holds each drawn image back
  // as a slow machine would, to show that reports wait for their picture.
  std::chrono::milliseconds m_publishDelay{0};
};
