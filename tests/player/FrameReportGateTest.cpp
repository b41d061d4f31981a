// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/FrameReportGate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using Waiting = FrameReportGate::Waiting;

enum class Event { Hold, HoldForEnd, Restart, Shown };

struct Step {
  Event event;
  uint64_t render; // the render shown, or the renders begun so far
  double seconds;
  bool due;
  double reportedSeconds;
  uint64_t reportedRender; // whose image the report names
};

struct GateCase {
  const char* fault;
  std::vector<Step> steps;
};

const uint8_t* imageOf(uint64_t render) {
  static const uint8_t images[16] = {};
  return &images[render];
}

FrameReportGate::Report apply(FrameReportGate& gate, const Step& step) {
  switch (step.event) {
  case Event::Hold:
    gate.hold(step.render);
    return {};
  case Event::HoldForEnd:
    return gate.holdForEnd(step.render, step.seconds, imageOf(step.render));
  case Event::Restart:
    return gate.restart(step.seconds, step.render);
  case Event::Shown:
    break;
  }
  return gate.shown(step.render, step.seconds, imageOf(step.render));
}

} // namespace

// Guards the moments of the reports: the old picture is never reported with
// the new place, the new picture is reported with the restart's place, and
// nothing follows the end of a recording.
TEST(FrameReportGateTest, ReportsEachPictureWithItsOwnMoment) {
  const std::vector<GateCase> cases = {
      {"a render begun before the restart reports",
       {{Event::Hold, 4, 0, false, 0, 0}, {Event::Shown, 5, 1.0, false, 0, 0}, {Event::Shown, 6, 1.0, false, 0, 0}}},
      {"the awaited render does not report the restart's place",
       {{Event::Hold, 4, 0, false, 0, 0},
        {Event::Restart, 6, 7.5, false, 0, 0},
        {Event::Shown, 5, 1.0, false, 0, 0},
        {Event::Shown, 6, 1.1, true, 7.5, 6},
        {Event::Shown, 7, 7.6, true, 7.6, 7}}},
      {"a render after the end reports",
       {{Event::Shown, 1, 0.5, true, 0.5, 1},
        {Event::HoldForEnd, 1, 9.0, true, 9.0, 1},
        {Event::Shown, 2, 9.0, false, 0, 0},
        {Event::Shown, 3, 9.0, false, 0, 0}}},
      {"a restart whose picture is already shown waits for ever or names an older picture",
       {{Event::Hold, 4, 0, false, 0, 0}, {Event::Shown, 5, 3.0, false, 0, 0}, {Event::Restart, 5, 3.5, true, 3.5, 5}}},
  };
  for (const GateCase& c : cases) {
    FrameReportGate gate;
    for (size_t i = 0; i < c.steps.size(); ++i) {
      const Step& step = c.steps[i];
      const FrameReportGate::Report report = apply(gate, step);
      EXPECT_EQ(bool(report), step.due) << c.fault << ", step " << i;
      if (report && step.due) {
        EXPECT_DOUBLE_EQ(report.seconds, step.reportedSeconds) << c.fault << ", step " << i;
        EXPECT_EQ(report.image, imageOf(step.reportedRender)) << c.fault << ", step " << i;
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
  const FrameReportGate::Report restart = gate.restart(0.6, 2);
  std::atomic<bool> runningTurnEnded{false};
  std::thread endThread;
  {
    const FrameReportGate::Turn restartTurn(gate, restart.ticket, Waiting::Yes);
    ASSERT_TRUE(restartTurn.taken());
    const FrameReportGate::Report render = gate.shown(3, 0.7, nullptr);
    EXPECT_FALSE(FrameReportGate::Turn(gate, render.ticket, Waiting::No).taken()) << "overlapping deliveries";
    const FrameReportGate::Report end = gate.holdForEnd(3, 9.0, nullptr);
    endThread = std::thread([&] {
      const FrameReportGate::Turn endTurn(gate, end.ticket, Waiting::Yes);
      EXPECT_TRUE(endTurn.taken()) << "the end was dropped";
      EXPECT_TRUE(runningTurnEnded) << "the end overtook a running delivery";
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    runningTurnEnded = true;
  }
  endThread.join();
}
