// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/engine/EngineFixture.h"

#include "platform/WindowMessage.h"
#include "tests/support/ScopedLocale.h"

namespace {

using testing::ElementsAre;

class StateMachine : public EngineFixture {};

TEST_F(StateMachine, OpenPlayerLoadsOnceAndBindsTheContext) {
  EXPECT_EQ(adap->CurrentState()->OpenPlayer(nullptr), 2);
  EXPECT_EQ(adap->CurrentState()->OpenPlayer("no-such-module.dll"), 4);
  ASSERT_EQ(adap->CurrentState()->OpenPlayer(kFakeModule), 0);
  EXPECT_EQ(fake_context(), adap.get());
  EXPECT_EQ(stateNumber(), 0) << "only the library's event 0 makes it ready";
  EXPECT_EQ(adap->CurrentState()->OpenPlayer(kFakeModule), 1);
  takeDiagnostics();
  fire(0, player::kEventReady);
  EXPECT_EQ(takeDiagnostics(), "State transition : from 0 to 4\n");
}

TEST_F(StateMachine, ModuleWithoutEntryStaysLoadedButStartsNoPlayer) {
  ASSERT_EQ(adap->CurrentState()->OpenPlayer("fakeplayer_noentry.dll"), 3);
  EXPECT_TRUE(adap->IsPlayerLibraryLoaded());
  adap->SetState(adap->StateNumbered(4));
  EXPECT_EQ(open(writeRecording("a.mp4", 10)), 3);
  EXPECT_FALSE(adap->IsPlayerThreadRunning());
}

TEST_F(StateMachine, UndefinedOperationsAndPlayWithoutARecording) {
  takeDiagnostics();
  EXPECT_EQ(adap->CurrentState()->Play(), -1);
  EXPECT_EQ(adap->CurrentState()->Seek(1, true), -1);
  EXPECT_EQ(takeDiagnostics(), "####method undefined\n####method undefined\n");
  loadLibrary();
  takeDiagnostics();
  EXPECT_EQ(adap->CurrentState()->Play(), 1);
  EXPECT_EQ(adap->CurrentState()->Stop(), -1);
  EXPECT_EQ(takeDiagnostics(), "need file path\n####method undefined\n");
}

TEST_F(StateMachine, OpeningStartsThePlayerWithTheSevenWordVector) {
  loadLibrary();
  const std::string recording = writeRecording("drf0_20261207_101500.mp4", 30);
  takeDiagnostics();
  ASSERT_EQ(open(recording), 0);
  ASSERT_TRUE(testing_support::waitUntil([] { return fake_entry_running(); }));
  const std::string out = takeDiagnostics();
  EXPECT_NE(out.find("State transition : from 4 to 9\n"), std::string::npos);
  EXPECT_NE(out.find("### Thread has begun\n### Message Thread has begun\n"), std::string::npos);
  EXPECT_NE(out.find("###Parsing udat area : sized "), std::string::npos);

  std::vector<std::string> args;
  char text[4096];
  for (int i = 0; fake_entry_arg(i, text, sizeof text); ++i)
    args.emplace_back(text);
  EXPECT_THAT(args, ElementsAre("mplayer", "-vo", "directx:noaccel", "-autosync", "30", recording, recording));

  EXPECT_EQ(adap->CurrentState()->StartPlayer(recording.c_str(), recording.c_str()), 2) << "already running";
}

TEST_F(StateMachine, PlayerMayStartAgainAfterItsEntryReturned) {
  loadLibrary();
  const std::string recording = writeRecording("a.mp4", 10);
  ASSERT_EQ(open(recording), 0);
  ASSERT_TRUE(testing_support::waitUntil([] { return fake_entry_running(); }));
  fake_release_entry();
  ASSERT_TRUE(testing_support::waitUntil([&] { return !adap->IsPlayerThreadRunning(); }));
  EXPECT_EQ(stateNumber(), 2);
  fake_reset();
  EXPECT_EQ(adap->StateNumbered(4)->StartPlayer(recording.c_str(), recording.c_str()), 0);
  EXPECT_TRUE(testing_support::waitUntil([] { return fake_entry_calls() == 1; }));
}

// A recording without a telemetry area plays as video only; one whose area is
// damaged is refused. Both say so in the diagnostic line.
TEST_F(StateMachine, DamagedUserDataIsRefusedAndMissingUserDataPlaysVideoOnly) {
  struct Case {
    const char* name;
    std::vector<uint8_t> udat; // empty: no udat box
    int code;
  };
  const Case cases[] = {
      {"no-time.mp4", {0, 0, 0, 8, 'G', 'P', 'S', 'I'}, 16},
      {"no-udat.mp4", {}, 0},
  };
  loadLibrary();
  for (const Case& c : cases) {
    const std::string file = path(c.name);
    testing_support::BoxWriter writer;
    writer.box("ftyp", {1, 2, 3, 4});
    if (!c.udat.empty())
      writer.box("udat", c.udat);
    writer.writeTo(file);
    takeDiagnostics();
    EXPECT_EQ(open(file), c.code) << c.name;
    EXPECT_NE(takeDiagnostics().find("\n!!! Error while parsing user data\n"), std::string::npos) << c.name;
    EXPECT_EQ(bool(adap->IsPlayerThreadRunning()), c.code == 0) << c.name;
    if (c.code == 0) {
      EXPECT_TRUE(adap->UserDataFailed()) << "no telemetry is shown";
    }
    EXPECT_EQ(adap->CurrentPaths().path1, file) << "paths are stored before the check";
  }
}

TEST_F(StateMachine, FullRoundOfTransitions) {
  const std::string recording = writeRecording("a.mp4", 10);
  reachPlaying(recording);
  fire(0, player::kEventRecordingEnded);
  EXPECT_EQ(stateNumber(), 3);
  EXPECT_EQ(adap->CurrentState()->Play(), 0) << "reload in the ended state";
  EXPECT_EQ(lastCommand(), "qira_loadfile \"" + recording + "\" \"" + recording + "\"");
  fire(0, player::kEventPlaying);
  EXPECT_EQ(stateNumber(), 1);
  fire(0, player::kEventPlayerEnded);
  EXPECT_EQ(stateNumber(), 2);
  EXPECT_EQ(adap->CurrentState()->Play(), 0);
  EXPECT_EQ(adap->CurrentState()->LoadFile("x", "x"), 0);
  fire(0, player::kEventClosed);
  EXPECT_EQ(stateNumber(), 0);
  EXPECT_EQ(adap->PreviousState(), adap->StateNumbered(2));
}

TEST_F(StateMachine, SettingTheCurrentStateAgainIsSilent) {
  loadLibrary();
  adap->WakeEvent().reset();
  takeDiagnostics();
  adap->SetState(adap->StateNumbered(4));
  EXPECT_EQ(takeDiagnostics(), "");
  EXPECT_FALSE(adap->WakeEvent().waitFor(std::chrono::milliseconds(0)));
}

TEST_F(StateMachine, TemporaryStateForwardsToTheStateItWasFirstEnteredFrom) {
  reachPlaying(writeRecording("a.mp4", 10));
  adap->SetState(adap->StateNumbered(9));
  adap->SetState(adap->StateNumbered(9));
  EXPECT_EQ(adap->StateNumbered(9)->m_pPrev.load(), adap->StateNumbered(1));
  EXPECT_EQ(adap->CurrentState()->Seek(2.0f, true), 0);
  EXPECT_EQ(lastCommand(), "seek 2.00");
  EXPECT_EQ(adap->CurrentState()->StateNumber(), 9);
}

TEST_F(StateMachine, PlayingStateCommandTexts) {
  reachPlaying(writeRecording("a.mp4", 10));
  QIRAState* s = adap->CurrentState();
  takeDiagnostics();
  s->Play();
  s->Pause();
  s->Stop();
  s->Seek(2.0f, true);
  s->Seek(75.0f, false);
  s->SetSpeed(3.0f, false);
  s->SetSpeed(-1.0f, true);
  s->SetVolume(-1.0f, true);
  s->SetBrightness(2.0f, true);
  s->SetBrightness(7.9f, false);
  const std::string out = takeDiagnostics();
  EXPECT_THAT(commands(), ElementsAre("pause", "pause", "pt_step 1 1", "seek 2.00", "seek 75.00 2", "speed_set 3.00 1",
                                      "speed_incr -1.00", "volume 99 2", "brightness 3 2", "brightness 7 2"));
  EXPECT_EQ(out,
            "\n=== Seek Value : 3.000 ===\n\n=== Seek Value : -1.000 ===\n\n\n\n99\n\n\n\n\n\n3\n\n\n\n\n\n7\n\n\n");
}

// Under the user's decimal-comma locale the engine sent "seek 2,50", which
// the module cannot read.
TEST_F(StateMachine, CommandTextsKeepTheirPointUnderADecimalCommaLocale) {
  reachPlaying(writeRecording("a.mp4", 10));
  testing_support::ScopedLocale numbers(LC_NUMERIC, testing_support::kDecimalCommaLocale);
  ASSERT_TRUE(numbers.switched()) << "scripts/install-deps generates " << testing_support::kDecimalCommaLocale;
  QIRAState* s = adap->CurrentState();
  takeDiagnostics();
  s->Seek(2.5f, true);
  s->Seek(75.25f, false);
  s->SetSpeed(0.5f, false);
  s->SetSpeed(-0.75f, true);
  const std::string out = takeDiagnostics();
  EXPECT_THAT(commands(), ElementsAre("seek 2.50", "seek 75.25 2", "speed_set 0.50 1", "speed_incr -0.75"));
  EXPECT_EQ(out, "\n=== Seek Value : 0.500 ===\n\n=== Seek Value : -0.750 ===\n");
}

TEST_F(StateMachine, LoadCommandTurnsBackslashesAndKeepsLongPathsWhole) {
  reachPlaying(writeRecording("a.mp4", 10));
  const std::string dosPath = path("C:\\a\\b.mp4");
  writeRecording("C:\\a\\b.mp4", 5);
  ASSERT_EQ(open(dosPath), 0);
  std::string expected = path("C:/a/b.mp4");
  EXPECT_EQ(lastCommand(), "qira_loadfile \"" + expected + "\" \"" + expected + "\"");

  const std::string longName = std::string(200, 'n') + ".mp4";
  const std::string longPath = writeRecording(longName, 5);
  ASSERT_EQ(open(longPath), 0);
  EXPECT_EQ(lastCommand(), "qira_loadfile \"" + longPath + "\" \"" + longPath + "\"");
  EXPECT_GT(lastCommand().size(), 400u);
}

TEST_F(StateMachine, PlacementsAreStoredOutsidePlayingAndMovedWhilePlaying) {
  EXPECT_EQ(adap->StateNumbered(0)->SetVideoPosition(0, 20, 110, 640, 480), 0);
  EXPECT_EQ(adap->StateNumbered(4)->SetVideoFrame(1, 0x10005, 2, 3, 4), 0);
  EXPECT_EQ(adap->VideoPosition().channel[0].x, 20);
  EXPECT_EQ(adap->VideoPosition().channel[0].height, 480);
  EXPECT_EQ(adap->VideoFrame().channel[1].x, 5) << "kept as 16 bits";
  EXPECT_EQ(adap->StateNumbered(3)->SetVideoPosition(7, 1, 1, 1, 1), 0);
  EXPECT_EQ(adap->VideoPosition().channel[1].x, 1) << "any channel but 0 selects the second";

  takeDiagnostics();
  EXPECT_EQ(adap->StateNumbered(2)->SetVideoPosition(0, 9, 9, 9, 9), 0);
  EXPECT_EQ(adap->StateNumbered(2)->SetVideoFrame(0, 9, 9, 9, 9), -1);
  EXPECT_EQ(takeDiagnostics(), "");
  EXPECT_EQ(adap->VideoPosition().channel[0].x, 20);

  EXPECT_EQ(adap->StateNumbered(1)->SetVideoPosition(0, 1, 2, 3, 4), 1) << "no video window yet";
  loadLibrary();
  testing_support::MessageRecorder video1, video2;
  firePointer(&video1, player::kEventVideoWindow1);
  firePointer(&video2, player::kEventVideoWindow2);
  EXPECT_EQ(adap->StateNumbered(1)->SetVideoPosition(1, 30, 40, 320, 240), 0);
  const auto placed = video2.messages(platform::kMsgWindowPos);
  ASSERT_EQ(placed.size(), 1u);
  EXPECT_EQ(adap->VideoPosition().channel[1].width, 320);
  video1.setResult(0);
  EXPECT_EQ(adap->StateNumbered(1)->SetVideoFrame(0, 1, 2, 3, 4), 2) << "a refused placement stores nothing";
  EXPECT_EQ(adap->VideoFrame().channel[0].x, 0);
}

TEST_F(StateMachine, VideoWindowMessages) {
  QIRAState* playing = adap->StateNumbered(1);
  EXPECT_EQ(playing->FrameStep(), 1);
  EXPECT_EQ(adap->RefreshVideoWindow(), 1);
  loadLibrary();
  testing_support::MessageRecorder video1, video2;
  firePointer(&video1, player::kEventVideoWindow1);
  firePointer(&video2, player::kEventVideoWindow2);
  EXPECT_EQ(playing->FrameStep(), 0);
  EXPECT_EQ(adap->RefreshVideoWindow(), 0);
  EXPECT_EQ(playing->FlyAway(2), 0);
  EXPECT_EQ(playing->FlyAway(3), 1);
  std::vector<uint32_t> seen;
  for (const auto& m : video1.messages())
    seen.push_back(m.message);
  EXPECT_THAT(seen, ElementsAre(player::kMsgFrameStep, player::kMsgMove, player::kMsgParentMoved));
  ASSERT_EQ(video2.messages().size(), 2u);
  EXPECT_EQ(video2.messages()[0].message, player::kMsgFlyAwayBegin);
  EXPECT_EQ(video2.messages()[1].message, player::kMsgFlyAwayEnd);
}

} // namespace
