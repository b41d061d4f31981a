// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

class QIRAState;

// One chained command: carried out by the message thread once the state has
// changed from `from` to `to`.
struct QueuedCommand {
  QIRAState* from = nullptr;
  QIRAState* to = nullptr;
  int32_t code = 0;
  QIRAState* issuer = nullptr;
};

// Ring of five slots carrying chained commands from the UI thread to the
// message thread. Empty when both indices are equal, so at most four commands
// are pending.
class QIRAQ {
public:
  static constexpr int kSlots = 5;
  static constexpr int32_t kCodeUnload = 16;
  static constexpr int32_t kCodeStopThread = 0xFFFF;

  virtual ~QIRAQ();

  // 0 queued; 1 refused because four commands are already pending.
  int Push(QIRAState* from, QIRAState* to, int32_t code, QIRAState* issuer);
  // 0 taken (copied into `out` when it is not null); 1 empty, with a non-null
  // `out` only. An empty queue is never advanced.
  int Pop(QueuedCommand* out);
  // 0 copied; 1 empty; 2 null `out`.
  int Peek(QueuedCommand* out) const;
  // Whether any slot, pending or not, holds the stop code.
  bool HasStopCommand() const;

private:
  static int next(int index) { return (index + 1) % kSlots; }

  mutable std::mutex m_mutex;
  int32_t m_nWrite = 0;
  int32_t m_nRead = 0;
  QueuedCommand m_Slots[kSlots];
};
