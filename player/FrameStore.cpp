// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/FrameStore.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

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

FrameStore::Lease::Lease(FrameStore& store, int channel) : m_store(store) {
  std::lock_guard lock(store.m_lock);
  Channel& c = store.m_channels[channel];
  store.m_leasedChannel = channel;
  store.m_leasedIndex = c.frontIndex.load();
  m_image = c.images[store.m_leasedIndex].get();
}

FrameStore::Lease::~Lease() {
  std::lock_guard lock(m_store.m_lock);
  m_store.m_leasedChannel = kNone;
  m_store.m_leasedIndex = kNone;
}

uint8_t* FrameStore::back(int channel) {
  std::lock_guard lock(m_lock);
  Channel& c = m_channels[channel];
  const int leased = m_leasedChannel == channel ? m_leasedIndex : kNone;
  for (int index = 0; index < kImagesPerChannel; ++index) {
    if (index != c.frontIndex.load() && index != leased && index != c.reportedIndex && index != c.reportingIndex) {
      c.backIndex = index;
      break;
    }
  }
  return c.images[c.backIndex].get();
}

const uint8_t* FrameStore::publish(int channel) {
  std::lock_guard lock(m_lock);
  Channel& c = m_channels[channel];
  c.frontIndex = c.backIndex;
  return c.images[c.backIndex].get();
}

void FrameStore::beginReport(int channel, const uint8_t* image) {
  std::lock_guard lock(m_lock);
  Channel& c = m_channels[channel];
  for (int index = 0; index < kImagesPerChannel; ++index) {
    if (c.images[index].get() == image)
      c.reportingIndex = index;
  }
}

void FrameStore::endReport(int channel) {
  std::lock_guard lock(m_lock);
  Channel& c = m_channels[channel];
  c.reportedIndex = std::exchange(c.reportingIndex, kNone);
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
