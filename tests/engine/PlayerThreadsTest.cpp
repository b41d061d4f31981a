// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/engine/EngineFixture.h"
#include "tests/support/DiagnosticRecorder.h"

#include <chrono>

namespace {

using testing_support::DiagnosticRecorder;

class PlayerThreads : public EngineFixture {};

TEST_F(PlayerThreads, UnloadWhilePlayingIsChainedThroughTheMessageThread) {
  reachPlaying(writeRecording("a.mp4", 10));
  DiagnosticRecorder lines;
  EXPECT_EQ(adap->CurrentState()->ClosePlayer(), 1) << "the unload is deferred";
  ASSERT_TRUE(lines.waitForLine("State transition : from 2 to 0\n"));
  EXPECT_EQ(fake_stop_flag_value(), 1);
  EXPECT_EQ(lines.text(), "State transition : from 1 to 2\n"
                          "Chained command : Unload invoked by stat1\n"
                          "State transition : from 2 to 0\n");
  EXPECT_FALSE(adap->IsPlayerLibraryLoaded());
  EXPECT_EQ(adap->Length(), 0xFFFFFFFFu);
  EXPECT_TRUE(adap->CurrentPaths().path1.empty());

  // The same module loads and plays again.
  fake_reset();
  reachPlaying(writeRecording("b.mp4", 10));
}

// Before the library has shown its stop flag there is nothing to write to;
// the player is asked to quit instead.
TEST_F(PlayerThreads, UnloadBeforeTheStopFlagIsKnownAsksThePlayerToQuit) {
  fake_set_report_stop_flag(false);
  reachPlaying(writeRecording("a.mp4", 10));
  EXPECT_EQ(adap->CurrentState()->ClosePlayer(), 1);
  ASSERT_TRUE(waitForState(adap->StateNumbered(0)));
  EXPECT_EQ(lastCommand(), "quit");
  EXPECT_EQ(fake_stop_flag_value(), 0);
}

TEST_F(PlayerThreads, UnloadAfterTheEndQuitsAndWaits) {
  reachPlaying(writeRecording("a.mp4", 10));
  fire(0, player::kEventRecordingEnded);
  ASSERT_EQ(stateNumber(), 3);
  EXPECT_EQ(adap->CurrentState()->ClosePlayer(), 0);
  EXPECT_EQ(lastCommand(), "quit");
  EXPECT_FALSE(adap->IsPlayerLibraryLoaded());
  EXPECT_EQ(stateNumber(), 2) << "the main window reports event 22 itself";
}

TEST_F(PlayerThreads, WaitForAPlayerThatNeverEndsIsBounded) {
  constexpr int kWaitMs = 300;
  QIRAstat3::SetQuitWaitMs(kWaitMs);
  fake_set_quit_ends_entry(false);
  reachPlaying(writeRecording("a.mp4", 10));
  fire(0, player::kEventRecordingEnded);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(adap->CurrentState()->ClosePlayer(), 1);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(kWaitMs));
  EXPECT_LT(waited, std::chrono::milliseconds(kWaitMs + 3000));
  EXPECT_TRUE(adap->IsPlayerLibraryLoaded()) << "nothing is unloaded under a running player";
}

TEST_F(PlayerThreads, DirectUnloadFromReadyAndEndedStates) {
  loadLibrary();
  testing_support::MessageRecorder video;
  firePointer(&video, player::kEventVideoWindow1);
  EXPECT_EQ(adap->CurrentState()->ClosePlayer(), 0);
  EXPECT_FALSE(adap->IsPlayerLibraryLoaded());
  EXPECT_EQ(adap->RefreshVideoWindow(), 1) << "the released library's windows are forgotten";
  const PlayerLibrary& library = adap->Library();
  EXPECT_TRUE(!library.Entry() && !library.SetInst() && !library.SetW() && !library.CmdDirect())
      << "no export of the released library stays callable";
  EXPECT_EQ(adap->CurrentState()->ClosePlayer(), 1) << "nothing left to unload";
}

TEST_F(PlayerThreads, ChainedCommandWaitsForItsTransition) {
  reachPlaying(writeRecording("a.mp4", 10));
  // A command for a change that has not happened yet blocks the unload behind it.
  ASSERT_EQ(adap->Queue().Push(adap->StateNumbered(3), adap->StateNumbered(4), 7, adap->StateNumbered(3)), 0);
  ASSERT_EQ(adap->Queue().Push(adap->StateNumbered(1), adap->StateNumbered(2), 16, adap->StateNumbered(1)), 0);
  DiagnosticRecorder lines;
  fake_release_entry(); // the player ends and reports event 16: from 1 to 2
  ASSERT_TRUE(waitForState(adap->StateNumbered(2)));
  // The head's own change comes after; its line marks that the message thread
  // has been through the queue for the change before.
  adap->SetState(adap->StateNumbered(3));
  adap->SetState(adap->StateNumbered(4));
  ASSERT_TRUE(lines.waitForLine("cmd on the list is invalid\n"));
  EXPECT_THAT(lines.text(), testing::Not(testing::HasSubstr("Chained command")));
  EXPECT_TRUE(adap->IsPlayerLibraryLoaded());
  QueuedCommand head;
  ASSERT_EQ(adap->Queue().Peek(&head), 0);
  EXPECT_EQ(head.to, adap->StateNumbered(2)) << "the unload is still queued";
}

TEST_F(PlayerThreads, InvalidChainedCodeIsConsumedWithALine) {
  reachPlaying(writeRecording("a.mp4", 10));
  ASSERT_EQ(adap->Queue().Push(adap->StateNumbered(1), adap->StateNumbered(3), 7, adap->StateNumbered(1)), 0);
  DiagnosticRecorder lines;
  fire(0, player::kEventRecordingEnded);
  ASSERT_TRUE(lines.waitForLine("cmd on the list is invalid\n"));
  QueuedCommand head;
  EXPECT_EQ(adap->Queue().Peek(&head), 1) << "the command is consumed";
  // The message thread may see the new state before its line is written.
  EXPECT_THAT(lines.text(), testing::HasSubstr("State transition : from 1 to 3\n"));
}

} // namespace
