// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

// The images the engine reads through the frame report: for each channel a
// front image (last reported) and a back image (being rendered). Allocated
// once for the process and never freed, because the engine may copy the last
// reported images at any time, also after the player has ended.
class FrameStore {
public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;
  static constexpr int kStride = kWidth * 4;
  static constexpr int kBytes = kStride * kHeight;
  static constexpr size_t kAlignment = 64;
  static constexpr int kChannels = 2;

  FrameStore();

  uint8_t* back(int channel);
  // Makes the back image the front one; returns the new front image.
  const uint8_t* publish(int channel);
  const uint8_t* front(int channel) const;
  void clear();

private:
  struct AlignedFree {
    void operator()(uint8_t* p) const;
  };
  using Image = std::unique_ptr<uint8_t, AlignedFree>;

  struct Channel {
    std::array<Image, 2> images;
    std::atomic<int> frontIndex{0};
  };
  std::array<Channel, kChannels> m_channels;
};
