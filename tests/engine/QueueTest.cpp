// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/QIRAQ.h"

#include <gtest/gtest.h>

namespace {

QIRAState* fakeState(uintptr_t n) { return reinterpret_cast<QIRAState*>(n * 16); }

TEST(QIRAQ, TakesCommandsInOrderAndReportsEmpty) {
  QIRAQ queue;
  QueuedCommand command;
  EXPECT_EQ(queue.Peek(&command), 1);
  EXPECT_EQ(queue.Peek(nullptr), 2);
  EXPECT_EQ(queue.Pop(&command), 1);

  ASSERT_EQ(queue.Push(fakeState(1), fakeState(2), 16, fakeState(3)), 0);
  ASSERT_EQ(queue.Push(fakeState(4), fakeState(5), 7, fakeState(6)), 0);
  ASSERT_EQ(queue.Peek(&command), 0);
  EXPECT_EQ(command.from, fakeState(1));
  EXPECT_EQ(command.to, fakeState(2));
  EXPECT_EQ(command.code, 16);
  EXPECT_EQ(command.issuer, fakeState(3));
  ASSERT_EQ(queue.Pop(&command), 0);
  EXPECT_EQ(command.code, 16);
  ASSERT_EQ(queue.Pop(nullptr), 0); // discards the second
  EXPECT_EQ(queue.Peek(&command), 1);
}

// A fifth pending command would wrap onto the read index and make four real
// commands read as an empty queue.
TEST(QIRAQ, RefusesAFifthPendingCommandInsteadOfLosingFour) {
  QIRAQ queue;
  for (int i = 0; i < 4; ++i)
    ASSERT_EQ(queue.Push(nullptr, nullptr, 16, nullptr), 0);
  EXPECT_EQ(queue.Push(nullptr, nullptr, 99, nullptr), 1);
  QueuedCommand command;
  for (int i = 0; i < 4; ++i) {
    ASSERT_EQ(queue.Pop(&command), 0);
    EXPECT_EQ(command.code, 16);
  }
  EXPECT_EQ(queue.Pop(&command), 1);
}

TEST(QIRAQ, WrapsAroundItsFiveSlots) {
  QIRAQ queue;
  QueuedCommand command;
  for (int round = 0; round < 12; ++round) {
    ASSERT_EQ(queue.Push(nullptr, nullptr, round, nullptr), 0);
    ASSERT_EQ(queue.Pop(&command), 0);
    EXPECT_EQ(command.code, round);
  }
  EXPECT_EQ(queue.Peek(&command), 1);
}

// Popping an empty queue without a target must not make stale slots pending.
TEST(QIRAQ, PopWithoutTargetOnEmptyQueueKeepsItEmpty) {
  QIRAQ queue;
  ASSERT_EQ(queue.Push(nullptr, nullptr, 16, nullptr), 0);
  ASSERT_EQ(queue.Pop(nullptr), 0);
  queue.Pop(nullptr);
  QueuedCommand command;
  EXPECT_EQ(queue.Peek(&command), 1);
}

TEST(QIRAQ, StopCommandIsSeenInAnySlotEvenWhenTaken) {
  QIRAQ queue;
  EXPECT_FALSE(queue.HasStopCommand());
  ASSERT_EQ(queue.Push(nullptr, nullptr, QIRAQ::kCodeStopThread, nullptr), 0);
  EXPECT_TRUE(queue.HasStopCommand());
  ASSERT_EQ(queue.Pop(nullptr), 0);
  EXPECT_TRUE(queue.HasStopCommand());
}

} // namespace
