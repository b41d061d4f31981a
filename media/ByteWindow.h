// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Serves the many small reads of a walk over a large byte range from one
// window that slides forward, so memory stays at the window's size whatever
// the range's.
class ByteWindow {
public:
  // Reads exactly `count` bytes at `offset`; false when it cannot.
  using ReadFn = std::function<bool(uint64_t offset, uint8_t* out, size_t count)>;

  ByteWindow(ReadFn read, uint64_t end, size_t windowBytes);

  // Up to `count` bytes at `offset` (fewer near the end); `available` says
  // how many. Null when the read fails. Valid until the next call.
  const uint8_t* At(uint64_t offset, size_t count, size_t& available);

private:
  ReadFn m_read;
  uint64_t m_end;
  uint64_t m_start = 0;
  std::vector<uint8_t> m_bytes;
  size_t m_windowBytes;
};
