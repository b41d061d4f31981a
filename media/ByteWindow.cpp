// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/ByteWindow.h"

#include <algorithm>

ByteWindow::ByteWindow(ReadFn read, uint64_t end, size_t windowBytes)
    : m_read(std::move(read)), m_end(end), m_windowBytes(windowBytes) {}

const uint8_t* ByteWindow::At(uint64_t offset, size_t count, size_t& available) {
  available = 0;
  if (offset >= m_end)
    return m_bytes.data();
  const uint64_t wanted = std::min<uint64_t>(count, m_end - offset);
  const bool inside = offset >= m_start && offset + wanted <= m_start + m_bytes.size();
  if (!inside) {
    const size_t size = size_t(std::min<uint64_t>(std::max<uint64_t>(m_windowBytes, wanted), m_end - offset));
    m_bytes.resize(size);
    m_start = offset;
    if (!m_read(offset, m_bytes.data(), size)) {
      m_bytes.clear();
      return nullptr;
    }
  }
  available = size_t(wanted);
  return m_bytes.data() + (offset - m_start);
}
