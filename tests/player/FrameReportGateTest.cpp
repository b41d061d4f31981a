// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/FrameReportGate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using Waiting = FrameReportGate::Waiting;

// h: hold, e: hold for the end, r: restart, s: render shown. `render` is the
// render shown or the renders begun so far; a due report names its image.
struct Step {
  char event;
  uint64_t render;
  double seconds;
  double reported; // negative: no report is due
};

const uint8_t* imageOf(uint64_t render) {
  static const uint8_t images[16] = {};
  return &images[render];
}

FrameReportGate::Report apply(FrameReportGate& gate, const Step& step) {
  if (step.event == 'h')
    gate.hold(step.render);
  if (step.event == 'e')
    return gate.holdForEnd(step.render, step.seconds, imageOf(step.render));
  if (step.event == 'r')
    return gate.restart(step.seconds, step.render);
  if (step.event == 's')
    return gate.shown(step.render, step.seconds, imageOf(step.render));
  return {};
}

} // namespace

// Guards the moments of the reports: the old picture is never reported with
// the new place, the new picture is reported with the restart's place, and
// nothing follows the end of a recording.
TEST(FrameReportGateTest, ReportsEachPictureWithItsOwnMoment) {
  const std::vector<std::pair<const char*, std::vector<Step>>> cases = {
      {"a render begun before the restart reports", {{'h', 4, 0, -1}, {'s', 5, 1.0, -1}, {'s', 6, 1.0, -1}}},
      {"the awaited render misses the restart's place",
       {{'h', 4, 0, -1}, {'r', 6, 7.5, -1}, {'s', 5, 1.0, -1}, {'s', 6, 1.1, 7.5}, {'s', 7, 7.6, 7.6}}},
      {"a render after the end reports", {{'s', 1, 0.5, 0.5}, {'e', 1, 9.0, 9.0}, {'s', 2, 9.0, -1}}},
      {"a restart whose picture is shown waits for ever", {{'h', 4, 0, -1}, {'s', 5, 3.0, -1}, {'r', 5, 3.5, 3.5}}},
  };
  for (const auto& [fault, steps] : cases) {
    FrameReportGate gate;
    for (const Step& step : steps) {
      const FrameReportGate::Report report = apply(gate, step);
      EXPECT_EQ(bool(report), step.reported >= 0) << fault << ": " << step.event << step.render;
      if (report && step.reported >= 0) {
        EXPECT_DOUBLE_EQ(report.seconds, step.reported) << fault << ": " << step.event << step.render;
        EXPECT_EQ(report.image, imageOf(step.render)) << fault << ": " << step.event << step.render;
      }
    }
  }
}

// Guards the order of deliveries from the render and the player thread: a
// report decided before a hold never follows it, two never overlap, and the
// end waits for a running delivery instead of being lost or overtaken.
TEST(FrameReportGateTest, DeliversOnlyTheNewestReportOneTurnAtATime) {
  FrameReportGate gate;
  const FrameReportGate::Report beforeHold = gate.shown(1, 0.5, nullptr);
  gate.hold(1);
  EXPECT_FALSE(FrameReportGate::Turn(gate, beforeHold.ticket, Waiting::Yes).taken()) << "stale after a hold";

  gate.shown(2, 0.6, nullptr);
  std::atomic<bool> runningTurnEnded{false};
  std::thread endThread;
  {
    const FrameReportGate::Turn restartTurn(gate, gate.restart(0.6, 2).ticket, Waiting::Yes);
    ASSERT_TRUE(restartTurn.taken());
    const FrameReportGate::Report render = gate.shown(3, 0.7, nullptr);
    EXPECT_FALSE(FrameReportGate::Turn(gate, render.ticket, Waiting::No).taken()) << "overlapping deliveries";
    const uint64_t end = gate.holdForEnd(3, 9.0, nullptr).ticket;
    endThread = std::thread([&gate, &runningTurnEnded, end] {
      const FrameReportGate::Turn endTurn(gate, end, Waiting::Yes);
      EXPECT_TRUE(endTurn.taken()) << "the end was dropped";
      EXPECT_TRUE(runningTurnEnded) << "the end overtook a running delivery";
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    runningTurnEnded = true;
  }
  endThread.join();
}
