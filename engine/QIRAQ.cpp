// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/QIRAQ.h"

QIRAQ::~QIRAQ() = default;

int QIRAQ::Push(QIRAState* from, QIRAState* to, int32_t code, QIRAState* issuer) {
  std::lock_guard lock(m_mutex);
  // Wrapping onto the read index would make four pending commands read as none.
  if (next(m_nWrite) == m_nRead)
    return 1;
  m_Slots[m_nWrite] = QueuedCommand{from, to, code, issuer};
  m_nWrite = next(m_nWrite);
  return 0;
}

int QIRAQ::Pop(QueuedCommand* out) {
  std::lock_guard lock(m_mutex);
  // Advancing past the write index would resurrect stale slots as pending.
  if (m_nRead == m_nWrite)
    return out ? 1 : 0;
  if (out)
    *out = m_Slots[m_nRead];
  m_nRead = next(m_nRead);
  return 0;
}

int QIRAQ::Peek(QueuedCommand* out) const {
  if (!out)
    return 2;
  std::lock_guard lock(m_mutex);
  if (m_nRead == m_nWrite)
    return 1;
  *out = m_Slots[m_nRead];
  return 0;
}

bool QIRAQ::HasStopCommand() const {
  std::lock_guard lock(m_mutex);
  for (const QueuedCommand& slot : m_Slots) {
    if (slot.code == kCodeStopThread)
      return true;
  }
  return false;
}
