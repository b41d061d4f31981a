// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/FrameStore.h"

#include <cstdlib>
#include <cstring>
#include <new>

static_assert(FrameStore::kBytes % FrameStore::kAlignment == 0 && FrameStore::kStride % FrameStore::kAlignment == 0);

void FrameStore::AlignedFree::operator()(uint8_t* p) const { std::free(p); }

FrameStore::FrameStore() {
  for (Channel& channel : m_channels) {
    for (Image& image : channel.images) {
      image.reset(static_cast<uint8_t*>(std::aligned_alloc(kAlignment, kBytes)));
      if (!image)
        throw std::bad_alloc();
    }
  }
  clear();
}

uint8_t* FrameStore::back(int channel) {
  Channel& c = m_channels[channel];
  return c.images[1 - c.frontIndex.load()].get();
}

const uint8_t* FrameStore::publish(int channel) {
  Channel& c = m_channels[channel];
  const int front = 1 - c.frontIndex.load();
  c.frontIndex = front;
  return c.images[front].get();
}

const uint8_t* FrameStore::front(int channel) const {
  const Channel& c = m_channels[channel];
  return c.images[c.frontIndex.load()].get();
}

void FrameStore::clear() {
  for (Channel& channel : m_channels) {
    for (Image& image : channel.images)
      std::memset(image.get(), 0, kBytes);
  }
}
