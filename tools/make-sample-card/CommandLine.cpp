// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make-sample-card/CommandLine.h"

#include "platform/DecimalText.h"

#include <map>
#include <optional>
#include <set>
#include <stdexcept>

namespace {

constexpr int64_t kDefaultStart = 1781429520; // 2026-06-14 09:32:00 UTC
// The widest time zones (UTC-12:00 to UTC+14:00) and a day of drift.
constexpr int kMaxClockOffsetSeconds = 15 * 3600 + 86400;

const std::map<std::string, Fault>& faultNames() {
  static const std::map<std::string, Fault> names{
      {"no-udat", Fault::NoUdat},       {"no-time", Fault::NoTime},        {"no-gps", Fault::NoGps},
      {"no-sens", Fault::NoSens},       {"misordered", Fault::Misordered}, {"box-size-0", Fault::BoxSize0},
      {"box-size-1", Fault::BoxSize1},  {"box-size-7", Fault::BoxSize7},   {"truncated", Fault::Truncated},
      {"short-sens", Fault::ShortSens}, {"void-fix", Fault::VoidFix},      {"bad-record", Fault::BadRecord},
      {"power-cut", Fault::PowerCut}};
  return names;
}

int toInt(const std::string& name, const std::string& value, int low, int high) {
  size_t used = 0;
  long number = 0;
  try {
    number = std::stol(value, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != value.size() || number < low || number > high)
    throw std::invalid_argument(name + " wants a whole number from " + std::to_string(low) + " to " +
                                std::to_string(high));
  return static_cast<int>(number);
}

double toFraction(const std::string& value) {
  const std::optional<double> fraction = platform::parseDecimal(value);
  if (!fraction || !(*fraction > 0.0) || *fraction > 1.0)
    throw std::invalid_argument("power-cut wants a FRACTION above 0 and at most 1");
  return *fraction;
}

} // namespace

const char* CommandLine::Usage() {
  return R"(Usage:
  make-sample-card --demo DIR
  make-sample-card --card DIR [--normal N] [--event N] [options]
  make-sample-card --card DIR --drives D [--drive-gap S] [--normal N] [--event N] [options]
  make-sample-card --recording FILE.mp4 [options]
  make-sample-card --help | --version

Options:
  --width W, --height H   picture size (default 640x480, even numbers)
  --fps F                 whole frames per second (default 30)
  --seconds S             length of each recording, 1 to 3600 (default 60)
  --drives D              with --card: D drives of N normal recordings back to
                          back, telemetry continuous across the cuts; the first
                          M drives get an event recording copying their hard
                          brake (N, M from --normal, --event)
  --drive-gap S           seconds between drives, 11 or more (default 600)
  --audio                 add an AAC track (a tone, beeping each second)
  --codec h264|h265       the video's coding (default h264)
  --solid-colors          full-frame solid colours instead of the road scene:
                          red, green, blue, white, black, yellow, cyan, magenta
                          (255/0 per channel), changing every second
  --color-period N        ... changing every N frames instead
  --seed N                the drive and its telemetry (default 1)
  --start yyyymmdd_hhmmss the first recording's stamp, on the camera's clock
                          (default 20260614_093200)
  --clock-offset S        the camera's clock runs S seconds ahead of the GPS
                          time's UTC (negative: behind; default 0), e.g. 90 for
                          a clock 90 s fast, 7290 for UTC+02:00 and 90 s fast
  --origin LAT,LON        where the drive begins (default 48.117,11.516)
  --fault KIND            spoil the recording(s); may be repeated:
      no-udat      no "udat" box                       (check code 7)
      no-time      "udat" without "TIME"               (18)
      no-gps       "udat" without "GPSI"               (19)
      no-sens      "udat" without "SENS"               (20)
      misordered   "TIME", "SENS", "GPSI"              (19)
      box-size-0   the box before "udat" has size 0    (7)
      box-size-1   ... size 1 with no 64-bit size      (7)
      box-size-7   ... size 7                          (7)
      truncated    the file ends inside the GPS records (20)
      short-sens   the last half of the sensor records is cut off (0)
      void-fix     seconds 0-2 hold status V sentences without position (0)
      bad-record   the GPS record of second 1 starts with '#' (0)
      power-cut[=FRACTION]  the media data ends at FRACTION (0 to 1,
                   default 0.7): no index, no "udat" (cut short)
  --help                  show this help and exit
  --version               show the version and exit
)";
}

bool CommandLine::TakesValue(const std::string& name) {
  static const std::set<std::string> flags{"--audio", "--solid-colors", "--help", "--version"};
  return name.rfind("--", 0) == 0 && flags.count(name) == 0;
}

void CommandLine::ApplyOption(const std::string& name, const std::string& value) {
  if (name == "--demo" || name == "--card" || name == "--recording") {
    mode = name == "--demo" ? Mode::Demo : name == "--card" ? Mode::Card : Mode::Recording;
    target = value;
  } else if (name == "--width") {
    options.width = toInt(name, value, 16, 7680);
  } else if (name == "--height") {
    options.height = toInt(name, value, 16, 4320);
  } else if (name == "--fps") {
    options.fps = toInt(name, value, 1, 240);
  } else if (name == "--seconds") {
    options.seconds = toInt(name, value, 1, 3600);
  } else if (name == "--audio") {
    options.audio = true;
  } else if (name == "--codec") {
    if (value != "h264" && value != "h265")
      throw std::invalid_argument("--codec wants h264 or h265");
    options.coding = value == "h265" ? VideoCoding::H265 : VideoCoding::H264;
  } else if (name == "--solid-colors") {
    options.solidColors = true;
  } else if (name == "--color-period") {
    options.colorPeriod = toInt(name, value, 1, 1 << 20);
  } else if (name == "--seed") {
    options.seed = static_cast<uint64_t>(toInt(name, value, 0, 1 << 30));
  } else if (name == "--normal") {
    normalCount = toInt(name, value, 0, 1000);
  } else if (name == "--event") {
    eventCount = toInt(name, value, 0, 1000);
  } else if (name == "--drives") {
    driveCount = toInt(name, value, 1, 1000);
  } else if (name == "--drive-gap") {
    driveGapSeconds = toInt(name, value, 11, 86400 * 366);
  } else if (name == "--start") {
    const auto stamp = Stamp::FromText(value);
    if (!stamp)
      throw std::invalid_argument("--start wants yyyymmdd_hhmmss");
    options.start = *stamp;
  } else if (name == "--clock-offset") {
    options.clockOffsetSeconds = toInt(name, value, -kMaxClockOffsetSeconds, kMaxClockOffsetSeconds);
  } else if (name == "--origin") {
    const size_t comma = value.find(',');
    const std::optional<double> latitude = platform::parseDecimal(std::string_view(value).substr(0, comma));
    const std::optional<double> longitude =
        comma == std::string::npos ? std::nullopt : platform::parseDecimal(std::string_view(value).substr(comma + 1));
    if (!latitude || !longitude || *latitude < -80 || *latitude > 80 || *longitude < -180 || *longitude > 180)
      throw std::invalid_argument("--origin wants LAT,LON within +-80 and +-180");
    options.originLatitude = *latitude;
    options.originLongitude = *longitude;
  } else if (name == "--fault") {
    const size_t equals = value.find('=');
    const auto found = faultNames().find(value.substr(0, equals));
    if (equals != std::string::npos && found != faultNames().end() && found->second == Fault::PowerCut)
      options.cutFraction = toFraction(value.substr(equals + 1));
    else if (equals != std::string::npos)
      throw std::invalid_argument("unknown fault: " + value);
    if (found == faultNames().end())
      throw std::invalid_argument("unknown fault: " + value);
    options.faults.insert(found->second);
  } else if (name == "--help" || name == "--version") {
    mode = name == "--help" ? Mode::Help : Mode::Version;
  } else {
    throw std::invalid_argument("unknown option: " + name);
  }
}

CommandLine CommandLine::Parse(const std::vector<std::string>& arguments) {
  CommandLine line;
  line.options.start = Stamp(kDefaultStart);
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& name = arguments[i];
    const bool withValue = TakesValue(name);
    if (!withValue && name.rfind("--", 0) != 0)
      throw std::invalid_argument("unexpected argument: " + name);
    if (withValue && i + 1 >= arguments.size())
      throw std::invalid_argument(name + " wants a value (or is unknown)");
    line.ApplyOption(name, withValue ? arguments[++i] : std::string());
  }
  if (line.options.width % 2 != 0 || line.options.height % 2 != 0)
    throw std::invalid_argument("--width and --height want even numbers");
  return line;
}
