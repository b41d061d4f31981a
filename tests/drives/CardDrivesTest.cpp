// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/CardDrives.h"
#include "drives/CardTime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A recording as the grouping sees it: its folder ('N' normal, 'M' a second
// normal folder, 'E' events), its stamp, its length; '!' cannot be read.
struct Recording {
  std::string name; // e.g. "N 20260614_093200", "E! 20260614_093300", "N clip"
  double seconds = 60;
};

RecordingSummary summaryOf(const Recording& recording) {
  const char folder = recording.name[0];
  const std::string stamp = recording.name.substr(recording.name.find(' ') + 1);
  RecordingSummary summary;
  summary.path = std::string("/card/") +
                 (folder == 'E'   ? "EventMovie"
                  : folder == 'M' ? "Movie"
                                  : "NormalMovie") +
                 "/drf0_" + stamp + ".mp4";
  summary.event = folder == 'E';
  summary.durationSeconds = recording.seconds;
  if (recording.name[1] == '!')
    summary.failure = "Input/output error";
  if (const std::optional<int64_t> start = CardTime::FromRecordingName(summary.path)) {
    summary.hasStart = true;
    summary.start = *start;
  }
  return summary;
}

// "[N093200 N093300 | E093230] [N093400]": each drive's played recordings,
// then its events; "?clip" for a recording that could not be placed.
std::string layout(const CardDrives& card) {
  const auto label = [&card](size_t i) {
    const RecordingSummary& recording = card.Recordings()[i];
    const std::string folder = recording.path.substr(6, 1);
    const size_t stamp = recording.path.find('_') + 10;
    return folder + recording.path.substr(stamp, 6) + (recording.Readable() ? "" : "!");
  };
  std::string text;
  for (const CardDrives::Drive& drive : card.Drives()) {
    text += text.empty() ? "[" : " [";
    for (const size_t i : drive.recordings)
      text += (i == drive.recordings.front() ? "" : " ") + label(i);
    for (const size_t i : drive.events)
      text += (i == drive.events.front() ? " | " : " ") + label(i);
    text += "]";
  }
  for (const size_t i : card.Unplaced())
    text += " ?" + card.Recordings()[i].path.substr(card.Recordings()[i].path.rfind('_') + 1);
  return text;
}

struct GroupingCase {
  const char* fault;
  std::vector<Recording> recordings;
  const char* drives;
};

void PrintTo(const GroupingCase& grouping, std::ostream* out) { *out << grouping.fault; }

class CardDrivesGrouping : public ::testing::TestWithParam<GroupingCase> {};

TEST_P(CardDrivesGrouping, GroupsAsTheCameraDrove) {
  std::vector<RecordingSummary> summaries;
  for (const Recording& recording : GetParam().recordings)
    summaries.push_back(summaryOf(recording));
  EXPECT_EQ(layout(CardDrives(std::move(summaries))), GetParam().drives);
}

INSTANTIATE_TEST_SUITE_P(
    , CardDrivesGrouping,
    ::testing::Values(
        GroupingCase{"join_within_10_s_of_the_end",
                     {{"N 20260614_093200"}, {"N 20260614_093300"}, {"N 20260614_093410"}, {"N 20260614_093521"}},
                     "[N093200 N093300 N093410] [N093521]"},
        GroupingCase{"length_from_the_index_not_the_name",
                     {{"N 20260614_093200", 30}, {"N 20260614_093300"}},
                     "[N093200] [N093300]"},
        GroupingCase{"out_of_name_order", {{"N 20260614_093300"}, {"N 20260614_093200"}}, "[N093200 N093300]"},
        GroupingCase{"stamp_jumps_backwards",
                     {{"N 20260614_100000"}, {"N 20260614_100100"}, {"N 20260614_090000"}, {"N 20260614_090100"}},
                     "[N090000 N090100] [N100000 N100100]"},
        GroupingCase{"two_recordings_with_one_stamp",
                     {{"N 20260614_093200"}, {"M 20260614_093200"}, {"N 20260614_093300"}},
                     "[M093200 N093200 N093300]"},
        GroupingCase{"midnight_and_new_year", {{"N 20261231_235930"}, {"N 20270101_000030"}}, "[N235930 N000030]"},
        GroupingCase{"unreadable_ends_the_drive",
                     {{"N 20260614_093200"}, {"N! 20260614_093300", 0}, {"N 20260614_093301"}},
                     "[N093200 N093300!] [N093301]"},
        GroupingCase{"event_moved_out_of_the_drive_fills_its_place",
                     {{"N 20260614_093200", 60.6}, {"E 20260614_093300"}, {"N 20260614_093400"}},
                     "[N093200 E093300 N093400 | E093300]"},
        GroupingCase{"event_copy_inside_a_normal_recording",
                     {{"N 20260614_093200"}, {"E 20260614_093230", 20}, {"N 20260614_093300"}},
                     "[N093200 N093300 | E093230]"},
        GroupingCase{"no_time_to_place_it_by", {{"N clip"}, {"N 20260614_093200"}}, "[N093200] ?clip.mp4"}),
    [](const auto& info) { return std::string(info.param.fault); });

// Playing on follows the drive's order and stops at its end; an event copy
// is no part of the order.
TEST(CardDrives, NextRecordingStaysInItsDrive) {
  std::vector<RecordingSummary> summaries;
  for (const char* name : {"N 20260614_093300", "N 20260614_093200", "E 20260614_093210", "N 20260614_093500"})
    summaries.push_back(summaryOf({name, 60}));
  const CardDrives card(std::move(summaries));
  const struct {
    const char* from;
    const char* next;
  } steps[] = {
      {"/card/NormalMovie/drf0_20260614_093200.mp4", "/card/NormalMovie/drf0_20260614_093300.mp4"},
      {"/card/NormalMovie/drf0_20260614_093300.mp4", ""},
      {"/card/EventMovie/drf0_20260614_093210.mp4", ""},
      {"/card/NormalMovie/drf0_20260614_093500.mp4", ""},
      {"/elsewhere.mp4", ""},
  };
  for (const auto& step : steps)
    EXPECT_EQ(card.NextRecording(step.from), step.next) << step.from;
}

} // namespace
