// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

// The images the engine reads through the frame report: for each channel a
// front image (last published), the one the last report named (the engine may
// be copying it until it has taken the next report), the one a report being
// delivered names, one being rendered, and one that a video window may be
// painting from, so that windows paint without a copy.
// Allocated once for the process and never freed, because the engine may
// copy the last reported images at any time, also after the player has ended.
// The images lie in one shared memory file, so that an X server can read them
// straight from there.
class FrameStore {
public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;
  static constexpr int kStride = kWidth * 4;
  static constexpr int kBytes = kStride * kHeight;
  static constexpr size_t kAlignment = 64;
  static constexpr int kChannels = 2;

  // Keeps a channel's front image from being rendered into while it lives.
  // One at a time: only the GUI thread paints.
  class Lease {
  public:
    Lease(FrameStore& store, int channel);
    ~Lease();
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    const uint8_t* image() const { return m_image; }

  private:
    FrameStore& m_store;
    const uint8_t* m_image;
  };

  FrameStore();
  ~FrameStore();
  FrameStore(const FrameStore&) = delete;
  FrameStore& operator=(const FrameStore&) = delete;

  // The memory file holding every image, or -1 where none could be made.
  int sharedMemory() const { return m_sharedMemory; }
  static constexpr size_t sharedBytes() { return size_t(kBytes) * kChannels * kImagesPerChannel; }
  // Where `image` starts in the memory file.
  uint32_t offsetOf(const uint8_t* image) const { return uint32_t(image - m_base); }

  // The render thread's next image: neither the front nor a leased one.
  uint8_t* back(int channel);
  // Makes the image last given by back() the front one; returns it.
  const uint8_t* publish(int channel);
  const uint8_t* front(int channel) const;
  // A report naming `image` is being delivered: it is not rendered into from
  // now until the report after the next one has been taken.
  void beginReport(int channel, const uint8_t* image);
  // The report is taken: the image named before it may be rendered into again.
  void endReport(int channel);
  void clear();

private:
  static constexpr int kImagesPerChannel = 5;
  static constexpr int kNone = -1;

  void allocate();

  struct Channel {
    std::array<uint8_t*, kImagesPerChannel> images{};
    std::atomic<int> frontIndex{0};
    int backIndex = 1;
    int reportedIndex = kNone;
    int reportingIndex = kNone;
  };

  int m_sharedMemory = -1;
  uint8_t* m_base = nullptr;
  std::mutex m_lock;
  std::array<Channel, kChannels> m_channels;
  int m_leasedChannel = kNone;
  int m_leasedIndex = kNone;
};
