// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/FrameStore.h"

#include <cstring>
#include <new>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>

static_assert(FrameStore::kBytes % FrameStore::kAlignment == 0 && FrameStore::kStride % FrameStore::kAlignment == 0);

FrameStore::FrameStore() {
  allocate();
  uint8_t* image = m_base;
  for (Channel& channel : m_channels) {
    for (uint8_t*& slot : channel.images) {
      slot = image;
      image += kBytes;
    }
  }
  clear();
}

FrameStore::~FrameStore() {
  munmap(m_base, sharedBytes());
  if (m_sharedMemory >= 0)
    close(m_sharedMemory);
}

// Page-aligned either way; private memory where no memory file can be made.
void FrameStore::allocate() {
  m_sharedMemory = memfd_create("lumenark-frames", MFD_CLOEXEC);
  if (m_sharedMemory >= 0 && ftruncate(m_sharedMemory, off_t(sharedBytes())) != 0) {
    close(m_sharedMemory);
    m_sharedMemory = -1;
  }
  const int sharing = m_sharedMemory >= 0 ? MAP_SHARED : MAP_PRIVATE | MAP_ANONYMOUS;
  void* memory = mmap(nullptr, sharedBytes(), PROT_READ | PROT_WRITE, sharing, m_sharedMemory, 0);
  if (memory == MAP_FAILED)
    throw std::bad_alloc();
  m_base = static_cast<uint8_t*>(memory);
}

FrameStore::Lease::Lease(FrameStore& store, int channel) : m_store(store) {
  std::lock_guard lock(store.m_lock);
  Channel& c = store.m_channels[channel];
  store.m_leasedChannel = channel;
  store.m_leasedIndex = c.frontIndex.load();
  m_image = c.images[store.m_leasedIndex];
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
  return c.images[c.backIndex];
}

const uint8_t* FrameStore::publish(int channel) {
  std::lock_guard lock(m_lock);
  Channel& c = m_channels[channel];
  c.frontIndex = c.backIndex;
  return c.images[c.backIndex];
}

void FrameStore::beginReport(int channel, const uint8_t* image) {
  std::lock_guard lock(m_lock);
  Channel& c = m_channels[channel];
  for (int index = 0; index < kImagesPerChannel; ++index) {
    if (c.images[index] == image)
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
  return c.images[c.frontIndex.load()];
}

void FrameStore::clear() {
  for (Channel& channel : m_channels) {
    for (uint8_t* image : channel.images)
      std::memset(image, 0, kBytes);
  }
}
