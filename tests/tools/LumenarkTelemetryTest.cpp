// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/tools/SampleRecordings.h"
#include "tools/make-sample-card/DrivePlan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

namespace {

std::vector<std::vector<std::string>> csvRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::vector<std::string> cells;
    std::istringstream cellStream(line);
    std::string cell;
    while (std::getline(cellStream, cell, ','))
      cells.push_back(cell);
    if (!line.empty() && line.back() == ',')
      cells.emplace_back();
    rows.push_back(cells);
  }
  return rows;
}

std::string sixDecimals(float value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6f", value);
  return text;
}

// A box of a hand-made user-data area: big-endian size, type, body.
std::string box(const char* type, const std::string& body) {
  const uint32_t size = uint32_t(body.size() + 8);
  return std::string{char(size >> 24), char(size >> 16), char(size >> 8), char(size)} + type + body;
}

// A file of a "free" box and a user-data area without a video track: one
// position per whole GPS record.
void writeBareUserData(const std::string& path, const std::string& gps, const std::string& sensors) {
  const std::string udat = box("udat", box("TIME", std::string(12, '\0')) + box("GPSI", gps) + box("SENS", sensors));
  std::ofstream(path, std::ios::binary) << box("free", "") << udat;
}

using LumenarkTelemetry = SampleRecordings;

struct FaultCase {
  const char* fault;
  int code;
  bool cutShort = false; // named, with an exit status of its own
};

void PrintTo(const FaultCase& fault, std::ostream* out) { *out << fault.fault; }

class LumenarkTelemetryFaults : public SampleRecordings, public ::testing::WithParamInterface<FaultCase> {};

// Each spoiled recording must be reported with the loader's own code.
TEST_P(LumenarkTelemetryFaults, CheckGivesTheLoaderCode) {
  const std::string path = MakeRecording("faulty.mp4", 3, std::string("--fault ") + GetParam().fault);
  const auto result = Telemetry("check '" + path + "'");
  EXPECT_EQ(result.out, "code " + std::to_string(GetParam().code) + "\n");
  EXPECT_EQ(result.exitCode, GetParam().cutShort ? 3 : GetParam().code == 0 ? 0 : 1);
  EXPECT_EQ(result.err.find("cut short: its index is missing") != std::string::npos, GetParam().cutShort) << result.err;
}

INSTANTIATE_TEST_SUITE_P(, LumenarkTelemetryFaults,
                         ::testing::Values(FaultCase{"no-udat", 7}, FaultCase{"no-time", 18}, FaultCase{"no-gps", 19},
                                           FaultCase{"no-sens", 20}, FaultCase{"misordered", 19},
                                           FaultCase{"box-size-0", 7}, FaultCase{"box-size-1", 7},
                                           FaultCase{"box-size-7", 7}, FaultCase{"truncated", 20},
                                           FaultCase{"short-sens", 0}, FaultCase{"void-fix", 0},
                                           FaultCase{"bad-record", 0}, FaultCase{"power-cut", 7, true}),
                         [](const auto& info) {
                           std::string name = info.param.fault;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

// Anything but a regular file is refused at once as a file that cannot be
// opened: a FIFO would otherwise keep the command waiting for a writer.
TEST_F(LumenarkTelemetry, OnlyRegularFilesAreRead) {
  const struct {
    const char* name;
    std::function<void(const std::string&)> make;
    const char* reason;
  } entries[] = {
      {"y.mp4", [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); }, "not a regular file"},
      {"x.mp4", [](const std::string& path) { std::filesystem::create_directory(path); }, "not a regular file"},
      {"none.mp4", [](const std::string&) {}, "No such file or directory"},
  };
  for (const auto& entry : entries) {
    const std::string path = m_folder + "/" + entry.name;
    entry.make(path);
    const std::string refusal = "lumenark-telemetry: " + path + ": " + entry.reason + "\n";
    const auto check = Telemetry("check '" + path + "'");
    EXPECT_EQ(check.out, "code 2\n") << entry.name;
    EXPECT_EQ(check.err, refusal) << entry.name;
    EXPECT_EQ(check.exitCode, 1) << entry.name;
    const auto exported = Telemetry("export '" + path + "' --format gpx");
    EXPECT_EQ(exported.out, "") << entry.name;
    EXPECT_EQ(exported.err, refusal + "code 2\n") << entry.name;
    EXPECT_EQ(exported.exitCode, 1) << entry.name;
  }
}

// A camera that preallocates its files leaves a recording padded with zeros to
// 4 GiB when it loses power (sparse here): the command reads its telemetry,
// never the padding.
TEST_F(LumenarkTelemetry, PaddedRecordingReadsOnlyItsTelemetry) {
  const std::string path = MakeRecording("drf0_20260614_093200.mp4", 3);
  const std::string unpadded = Telemetry("export '" + path + "' --format csv").out;
  std::filesystem::resize_file(path, uint64_t{4} << 30);
  EXPECT_EQ(Telemetry("check '" + path + "'").out, "code 0\n");
  EXPECT_EQ(Telemetry("export '" + path + "' --format csv").out, unpadded);
  rusage children{};
  getrusage(RUSAGE_CHILDREN, &children);
  EXPECT_LT(children.ru_maxrss, 512L << 10) << "peak KiB of the largest program run";
}

// Generator -> udat -> QIRAUDAT -> decoding -> CSV, compared with the drive the
// generator planned, so a fault at any step shows.
TEST_F(LumenarkTelemetry, CsvRoundTripMatchesThePlannedDrive) {
  const int seconds = 20;
  const std::string path = MakeRecording("drive.mp4", seconds, "--seed 7 --origin -33.9,-70.6");
  const auto result = Telemetry("export '" + path + "' --format csv");
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const auto rows = csvRows(result.out);
  ASSERT_EQ(rows.size(), size_t(seconds * kFps + 1));
  EXPECT_EQ(result.out.substr(0, result.out.find('\n')), "position,latitude,longitude,speed_kmh,course,y,x,z");

  RecordingOptions options;
  options.fps = kFps;
  options.seconds = seconds;
  options.seed = 7;
  options.originLatitude = -33.9;
  options.originLongitude = -70.6;
  const DrivePlan plan(options);
  for (size_t position = 0; position < plan.Samples().size(); ++position) {
    const auto& row = rows[position + 1];
    ASSERT_EQ(row.size(), 8u) << position;
    EXPECT_EQ(row[0], std::to_string(position));
    const DrivePlan::Sample& fix = plan.Samples()[position / kFps * kFps];
    EXPECT_NEAR(std::stod(row[1]), fix.latitude, 2e-4) << position;
    EXPECT_NEAR(std::stod(row[2]), fix.longitude, 2e-4) << position;
    EXPECT_NEAR(std::stoi(row[3]), fix.speedKmh / 1.852 * 1.8, 2.0) << position;
    const double courseError = std::fabs(std::stoi(row[4]) - fix.courseDegrees);
    EXPECT_LE(std::min(courseError, 360.0 - courseError), 1.0) << position;
    const DrivePlan::Sample& sample = plan.Samples()[position];
    EXPECT_EQ(row[5], sixDecimals(sample.y));
    EXPECT_EQ(row[6], sixDecimals(sample.x));
    EXPECT_EQ(row[7], sixDecimals(sample.z));
  }
}

// Positions past the sensor records get empty sensor fields, not garbage;
// positions before the first sentence get empty GPS fields.
TEST_F(LumenarkTelemetry, CsvLeavesMissingValuesEmpty) {
  const std::string path = MakeRecording("short.mp4", 4, "--fault short-sens --fault bad-record");
  const auto rows = csvRows(Telemetry("export '" + path + "' --format csv").out);
  ASSERT_EQ(rows.size(), size_t(4 * kFps + 1));
  EXPECT_EQ(rows.back()[5], "");
  EXPECT_EQ(rows.back()[7], "");
  EXPECT_NE(rows[1][5], "");
  // Second 1's record is unusable: its positions keep second 0's sentence.
  EXPECT_EQ(rows[1 + kFps][1], rows[1][1]);
}

// The engine's diagnostic lines must not end up in the exported data.
TEST_F(LumenarkTelemetry, StandardOutputHoldsOnlyTheDocument) {
  const std::string path = MakeRecording("drive.mp4", 2);
  const auto gpx = Telemetry("export '" + path + "' --format gpx");
  EXPECT_EQ(gpx.out.rfind("<?xml", 0), 0u) << gpx.out.substr(0, 80);
  EXPECT_EQ(gpx.out.find("###"), std::string::npos);
  EXPECT_EQ(gpx.out.find("qiraadap"), std::string::npos);
  EXPECT_EQ(Telemetry("check '" + path + "'").out, "code 0\n");
}

TEST_F(LumenarkTelemetry, BadInputWritesNothingToTheOutputFile) {
  const std::string path = MakeRecording("bad.mp4", 2, "--fault no-sens");
  const std::string out = m_folder + "/out.csv";
  const auto result = Telemetry("export '" + path + "' --format csv -o '" + out + "'");
  EXPECT_NE(result.exitCode, 0);
  EXPECT_EQ(result.err, "code 20\n");
  EXPECT_FALSE(std::filesystem::exists(out));

  std::ofstream(out) << "kept";
  Telemetry("export '" + path + "' --format csv -o '" + out + "'");
  EXPECT_EQ(ProcessRunner::ReadFile(out), "kept");
}

// The file goes through a private temporary; the result must still be an
// ordinary file that others may read.
TEST_F(LumenarkTelemetry, OutputFileIsReplacedWithOrdinaryPermissions) {
  umask(022); // inherited by the command
  const std::string path = MakeRecording("drive.mp4", 2);
  const std::string out = m_folder + "/out.csv";
  std::ofstream(out) << "old";
  ASSERT_EQ(Telemetry("export '" + path + "' --format csv -o '" + out + "'").exitCode, 0);
  EXPECT_EQ(ProcessRunner::ReadFile(out).rfind("position,", 0), 0u);
  const auto permissions = std::filesystem::status(out).permissions();
  EXPECT_NE(permissions & std::filesystem::perms::others_read, std::filesystem::perms::none);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder), {}), 2);
}

TEST_F(LumenarkTelemetry, UsageErrorsExitWith2) {
  EXPECT_EQ(Telemetry("").exitCode, 2);
  EXPECT_EQ(Telemetry("export x.mp4").exitCode, 2);
  EXPECT_EQ(Telemetry("export x.mp4 --format kml").exitCode, 2);
  EXPECT_EQ(Telemetry("check").exitCode, 2);
  EXPECT_EQ(Telemetry("events").exitCode, 2);
  EXPECT_EQ(Telemetry("events x.mp4 --format gpx").exitCode, 2);
  EXPECT_EQ(Telemetry("drives").exitCode, 2);
  EXPECT_EQ(Telemetry("drives a b").exitCode, 2);
  EXPECT_EQ(Telemetry("drives . --format gpx").exitCode, 2);
  EXPECT_EQ(Telemetry("export a.mp4 b.mp4 --format csv").exitCode, 2);
  EXPECT_EQ(Telemetry("export --drive . --format gpx").exitCode, 2);
}

class LumenarkTelemetryGis : public SampleRecordings {
protected:
  // Exports a 10-second recording to a file and runs the GIS command that
  // `command` makes for that file; skips the test when the command is absent.
  ProcessRunner::Result ExportAndRead(const std::string& format, const std::string& options,
                                      const std::function<std::string(const std::string&)>& command) {
    const std::string path = MakeRecording("drive.mp4", 10, options);
    const std::string file = m_folder + "/track." + format;
    EXPECT_EQ(Telemetry("export '" + path + "' --format " + format + " -o '" + file + "'").exitCode, 0);
    const auto result = ProcessRunner::Run(command("'" + file + "'"));
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.exitCode, 0);
    return result;
  }
};

// GIS tools must read the export without complaint, with one point per fix.
TEST_F(LumenarkTelemetryGis, GpsbabelReadsTheGpxTrack) {
  const auto result = ExportAndRead("gpx", "--fault void-fix", [](const std::string& file) {
    return "gpsbabel -t -i gpx -f " + file + " -o unicsv,utc=0 -F -";
  });
  const auto rows = csvRows(result.out);
  // Header, then seconds 3 to 9: the first three carry no position.
  ASSERT_EQ(rows.size(), 8u) << result.out;
  EXPECT_NE(result.out.find("2026/06/14,09:32:03"), std::string::npos) << result.out;
}

TEST_F(LumenarkTelemetryGis, OgrinfoReadsTheGeoJsonLine) {
  const auto result =
      ExportAndRead("geojson", "", [](const std::string& file) { return "ogrinfo -ro -al -so " + file; });
  EXPECT_NE(result.out.find("Geometry: Line String"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("Feature Count: 1"), std::string::npos) << result.out;
}

// Without a container frame count the positions are the whole GPS records.
TEST_F(LumenarkTelemetry, BareUserDataCountsGpsRecords) {
  const std::string sentence = "$GPRMC,010203.00,A,4807.0380,N,01131.0000,E,022.4,084.4,230394,,,A*00";
  std::string gps(76 * 3, '\0');
  gps.replace(0, sentence.size(), sentence);
  const std::string path = m_folder + "/bare.bin";
  writeBareUserData(path, gps + "xx", std::string(36, '\0'));
  const auto rows = csvRows(Telemetry("export '" + path + "' --format csv").out);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[3][1], "48.117298");
  EXPECT_EQ(rows[3][5], "0.000000");
}

// Places outside the earth's ranges (latitude 100, longitude 1000, a latitude
// that reads as no number) would make the GPX invalid and draw lines across
// the map; sensor values that are no finite number mean nothing to a reader.
// Every format leaves them out, and the command says how many places it left.
TEST_F(LumenarkTelemetry, OutOfRangeValuesAreLeftOut) {
  std::string gps;
  for (const char* place : {"4807.0380,N,01131.0000,E", "10000.000,N,01131.0000,E", "4807.0380,N,100000.000,E",
                            "nan,N,01131.0000,E", "4807.1380,S,01131.0000,W"}) {
    const std::string sentence = std::string("$GPRMC,010203.00,A,") + place + ",022.4,084.4,230394,,,A*00";
    gps += sentence + std::string(76 - sentence.size(), '\0');
  }
  const float inf = INFINITY, nan = NAN;
  const float values[] = {0.5f, nan, -inf, inf, 1, -1, 0, 0, 0, 0, 0, 0, 0.25f, 0, 0};
  const std::string path = m_folder + "/bad.bin";
  writeBareUserData(path, gps, std::string(reinterpret_cast<const char*>(values), sizeof values)); // little-endian
  const struct {
    const char* format;
    const char* document;
  } exports[] = {
      {"csv", "position,latitude,longitude,speed_kmh,course,y,x,z\n"
              "0,48.117298,11.516600,39,84,0.500000,,\n"
              "1,,,39,84,,1.000000,-1.000000\n"
              "2,,,39,84,0.000000,0.000000,0.000000\n"
              "3,,,39,84,0.000000,0.000000,0.000000\n"
              "4,-48.118900,-11.516600,39,84,0.250000,0.000000,0.000000\n"},
      {"gpx", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<gpx version=\"1.1\" creator=\"lumenark-telemetry\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
              " <trk>\n  <name>bad.bin</name>\n  <trkseg>\n"
              "   <trkpt lat=\"48.117298\" lon=\"11.516600\"><time>1994-03-23T01:02:03.00Z</time></trkpt>\n"
              "   <trkpt lat=\"-48.118900\" lon=\"-11.516600\"><time>1994-03-23T01:02:03.00Z</time></trkpt>\n"
              "  </trkseg>\n </trk>\n</gpx>\n"},
      {"geojson", R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{"name":"bad.bin",)"
                  R"("times":["1994-03-23T01:02:03.00Z","1994-03-23T01:02:03.00Z"]},"geometry":{"type":"LineString",)"
                  R"("coordinates":[[11.516600,48.117298],[-11.516600,-48.118900]]}}]})"
                  "\n"},
  };
  for (const auto& expected : exports) {
    const auto result = Telemetry("export '" + path + "' --format " + expected.format);
    EXPECT_EQ(result.out, expected.document) << expected.format;
    EXPECT_EQ(result.err, "lumenark-telemetry: 3 positions out of range left out\n") << expected.format;
    EXPECT_EQ(result.exitCode, 0) << expected.format;
  }
}

// The generator's drive brakes hard at whole second floor(0.7 x seconds) for
// 3 s near -0.9 g, its first jolt near -1.2 g short of an impact; its bends
// never pull more than 0.3 g sideways. The brake is all there is, and the part
// of a drive before it, noisy but calm, has nothing.
TEST_F(LumenarkTelemetry, EventsFindThePlannedBrakeAndNothingElse) {
  const struct {
    const char* make; // make-sample-card's arguments after the card or recording
    const char* file; // the recording made, FILE or one of the card's
    const char* format;
    const char* document;
  } drives[] = {
      {"--seconds 60", "FILE", "csv", "file,kind,start,end,peak\nFILE,harsh-braking,42.00,45.00,-1.203\n"},
      {"--seconds 30 --seed 3", "FILE", "csv", "file,kind,start,end,peak\nFILE,harsh-braking,21.00,24.00,-1.203\n"},
      {"--seconds 80 --seed 2", "FILE", "json",
       "[\n"
       R"({"file":"FILE","kind":"harsh-braking","start":56.00,"end":59.00,"peak":-1.203})"
       "\n]\n"},
      {"--drives 1 --normal 2 --event 0 --seconds 30", "card/NormalMovie/drf0_20260614_093200.mp4", "csv",
       "file,kind,start,end,peak\n"},
  };
  for (const auto& drive : drives) {
    const bool card = std::string(drive.file) != "FILE";
    const auto made = ProcessRunner::Run("cd '" + m_folder + "' && " + ProcessRunner::Tool("make-sample-card") +
                                         (card ? " --card card " : " --recording FILE ") + drive.make +
                                         " --width 64 --height 48 --fps " + std::to_string(kFps));
    ASSERT_EQ(made.exitCode, 0) << made.err;
    const auto result = ProcessRunner::Run("cd '" + m_folder + "' && " + ProcessRunner::Tool("lumenark-telemetry") +
                                           " events " + drive.file + " --format " + drive.format);
    EXPECT_EQ(result.out, drive.document) << drive.make;
    EXPECT_EQ(result.exitCode, 0) << drive.make;
  }
}

// The camera's clock from the names against the GPS time, whatever its zone
// and drift; a card without any fix cannot tell.
TEST_F(LumenarkTelemetry, ClockGivesTheCameraZoneAndDrift) {
  const struct {
    const char* options;
    const char* line;
    int exitCode;
  } cards[] = {
      {"--clock-offset 90", "Camera clock: UTC+00:00, 90 s fast (from 3 recordings)", 0},
      {"--clock-offset 7290", "Camera clock: UTC+02:00, 90 s fast (from 3 recordings)", 0},
      {"--clock-offset -16290", "Camera clock: UTC-04:30, 90 s slow (from 3 recordings)", 0},
      {"--clock-offset 480", "Camera clock: UTC+00:15, 420 s slow (from 3 recordings)", 0},
      {"", "Camera clock: UTC+00:00, on time (from 3 recordings)", 0},
      {"--fault void-fix", "Camera clock: cannot tell without a GPS fix", 1},
  };
  for (const auto& card : cards) {
    const std::string folder = m_folder + "/card";
    std::filesystem::remove_all(folder);
    const auto made = ProcessRunner::Run(ProcessRunner::Tool("make-sample-card") + " --card " + folder +
                                         " --normal 2 --event 1 --seconds 3 --width 64 --height 48 --fps " +
                                         std::to_string(kFps) + " " + card.options);
    ASSERT_EQ(made.exitCode, 0) << made.err;
    const auto result = Telemetry("clock '" + folder + "'");
    EXPECT_EQ(result.out, std::string(card.line) + "\n") << card.options;
    EXPECT_EQ(result.exitCode, card.exitCode) << card.options;
  }
}

// In mph the CSV export gains a last column; the km/h columns keep their
// places and an unknown unit is a usage error.
TEST_F(LumenarkTelemetry, ExportUnitsAddTheirColumn) {
  const std::string path = MakeRecording("drive.mp4", 30);
  const auto mph = Telemetry("export '" + path + "' --format csv --units mph");
  const std::vector<std::vector<std::string>> rows = csvRows(mph.out);
  ASSERT_GT(rows.size(), 200u);
  EXPECT_EQ(mph.out.substr(0, mph.out.find('\n')), "position,latitude,longitude,speed_kmh,course,y,x,z,speed_mph");
  const std::vector<std::string>& row = rows[200];
  EXPECT_EQ(std::stoi(row[8]), int(std::lround(std::stoi(row[3]) / 1.609344))) << mph.out.substr(0, 400);
  EXPECT_EQ(Telemetry("export '" + path + "' --format csv --units knots").exitCode, 2);
}

// A file without usable telemetry is named by its code; the others are still
// listed, and the exit status tells that one failed.
TEST_F(LumenarkTelemetry, EventsGoOnAfterAFileWithoutTelemetry) {
  const std::string broken = MakeRecording("broken.mp4", 3, "--fault no-udat");
  const std::string good = MakeRecording("good.mp4", 80, "--seed 2");
  const auto result = Telemetry("events '" + broken + "' '" + good + "'");
  EXPECT_EQ(result.err, "code 7\n");
  EXPECT_NE(result.out.find(good + ",harsh-braking,56.00,59.00,"), std::string::npos) << result.out;
  EXPECT_EQ(result.exitCode, 1);
}

// Two drives of two back-to-back recordings 60 s apart, the first with a
// copy of its brake among the events; its second recording cannot be read
// (a FIFO under a recording's name): it is named with its reason and ends
// the drive, and the table still comes, in either unit, with each drive's
// harsh moments (a copy's brake is not counted twice).
TEST_F(LumenarkTelemetry, DrivesListsEveryDriveOfTheCard) {
  const std::string card = m_folder + "/card";
  ASSERT_EQ(ProcessRunner::Run(ProcessRunner::Tool("make-sample-card") + " --card '" + card +
                               "' --drives 2 --normal 2 --event 1 --seconds 5 --width 64 --height 48 --fps 10"
                               " --drive-gap 60")
                .exitCode,
            0);
  const std::string fifo = card + "/NormalMovie/drf0_20260614_093205.mp4";
  std::filesystem::remove(fifo);
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const struct {
    const char* arguments;
    const char* document;
  } runs[] = {
      {"drives CARD", "date,start,end,duration,distance_km,top_speed_kmh,events,recordings,harsh\n"
                      "2026-06-14,09:32:00,09:32:05,0:00:05,0.04,93,1,2,1\n"
                      "2026-06-14,09:33:10,09:33:20,0:00:10,0.15,113,0,2,2\n"},
      {"drives CARD --units mph", "date,start,end,duration,distance_mi,top_speed_mph,events,recordings,harsh\n"
                                  "2026-06-14,09:32:00,09:32:05,0:00:05,0.03,58,1,2,1\n"
                                  "2026-06-14,09:33:10,09:33:20,0:00:10,0.10,70,0,2,2\n"},
      {"drives CARD --format json",
       "[\n"
       R"({"date":"2026-06-14","start":"09:32:00","end":"09:32:05","duration":"0:00:05","distance_km":0.04,)"
       R"("top_speed_kmh":93,"events":1,"recordings":2,"harsh":1},)"
       "\n"
       R"({"date":"2026-06-14","start":"09:33:10","end":"09:33:20","duration":"0:00:10","distance_km":0.15,)"
       R"("top_speed_kmh":113,"events":0,"recordings":2,"harsh":2})"
       "\n]\n"},
  };
  // Twice: the second run's table comes from the cache.
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto& run : runs) {
      std::string arguments = run.arguments;
      arguments.replace(arguments.find("CARD"), 4, "'" + card + "'");
      const auto result = Telemetry(arguments);
      EXPECT_EQ(result.out, run.document) << arguments;
      EXPECT_EQ(result.err, "lumenark-telemetry: " + fifo + ": not a regular file\n") << arguments;
      EXPECT_EQ(result.exitCode, 1) << arguments;
    }
  }
}

// A drive's recordings as one GPX track: a segment per recording, each with
// a point per second of its own.
TEST_F(LumenarkTelemetry, ExportOfADriveHasASegmentPerRecording) {
  const std::string card = m_folder + "/card";
  ASSERT_EQ(ProcessRunner::Run(ProcessRunner::Tool("make-sample-card") + " --card '" + card +
                               "' --drives 1 --normal 3 --event 0 --seconds 4 --width 64 --height 48 --fps 10")
                .exitCode,
            0);
  const std::string first = card + "/NormalMovie/drf0_20260614_093200.mp4";
  const std::string second = card + "/NormalMovie/drf0_20260614_093204.mp4";
  const auto drive = Telemetry("export --drive '" + card + "' 20260614_093205 --format gpx");
  const auto pair = Telemetry("export '" + first + "' '" + second + "' --format gpx");
  const auto segments = [](const std::string& gpx) {
    std::vector<int> points;
    for (size_t at = gpx.find("<trkseg>"); at != std::string::npos; at = gpx.find("<trkseg>", at + 1)) {
      const std::string segment = gpx.substr(at, gpx.find("</trkseg>", at) - at);
      int count = 0;
      for (size_t point = segment.find("<trkpt"); point != std::string::npos; point = segment.find("<trkpt", point + 1))
        ++count;
      points.push_back(count);
    }
    return points;
  };
  EXPECT_EQ(segments(drive.out), std::vector<int>({4, 4, 4})) << drive.err;
  EXPECT_EQ(segments(pair.out), std::vector<int>({4, 4})) << pair.err;
  EXPECT_NE(pair.out.find("<time>2026-06-14T09:32:07.00Z</time></trkpt>\n  </trkseg>"), std::string::npos);
  EXPECT_EQ(Telemetry("export --drive '" + card + "' 20260614_100000 --format gpx").err,
            "lumenark-telemetry: " + card + ": no drive at 20260614_100000\n");
}

} // namespace
