// SPDX-License-Identifier: GPL-3.0-or-later
// lumenark-telemetry: checks a recording's user-data area and exports its
// telemetry as CSV, GPX or GeoJSON, reading it as the viewer does, lists
// the harsh moments its G-sensor recorded, the drives of a card and how the
// camera's clock stands against GPS time.

#include "LumenarkVersion.h"
#include "drives/CardDrives.h"
#include "drives/CardIndex.h"
#include "drives/CardTime.h"
#include "drives/DriveTable.h"
#include "drives/IndexCache.h"
#include "telemetry/CameraClock.h"
#include "telemetry/GpxFormat.h"
#include "telemetry/HarshMomentDetector.h"
#include "telemetry/HarshMomentReport.h"
#include "telemetry/OutputFile.h"
#include "telemetry/RecordingCondition.h"
#include "telemetry/RecordingTelemetry.h"
#include "telemetry/TelemetryFormat.h"
#include "telemetry/Track.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kUsageError = 2;
// The recording was cut short: `lumenark-repair` may bring it back.
constexpr int kCutShort = 3;

constexpr char kUsage[] = "Usage:\n"
                          "  lumenark-telemetry check FILE\n"
                          "  lumenark-telemetry export FILE --format csv|gpx|geojson [--units kmh|mph] [-o OUT]\n"
                          "  lumenark-telemetry export FILE... --format gpx [-o OUT]\n"
                          "  lumenark-telemetry export --drive FOLDER yyyymmdd_hhmmss --format gpx [-o OUT]\n"
                          "  lumenark-telemetry events FILE... [--format csv|json]\n"
                          "  lumenark-telemetry drives FOLDER [--format csv|json] [--units kmh|mph]\n"
                          "  lumenark-telemetry clock FOLDER\n"
                          "  lumenark-telemetry --help | --version\n"
                          "\n"
                          "Options:\n"
                          "  --format FORMAT  export as csv, gpx or geojson (several recordings: gpx, a\n"
                          "                   segment each); events and drives as csv (default) or json\n"
                          "  --drive FOLDER STAMP  export the recordings of the card's drive at that moment\n"
                          "  --units UNIT     kmh (default) or mph: an export's CSV adds a last column\n"
                          "                   speed_mph; drives show distance in mi and top speed in mph\n"
                          "  -o OUT           write the export to OUT, replaced whole, not to standard output\n"
                          "  --help           show this help and exit\n"
                          "  --version        show the version and exit\n";

struct ExportRequest {
  std::vector<std::string> recordings;
  std::string driveFolder; // with driveStamp: the recordings of that drive
  std::string driveStamp;
  std::string format;
  std::string units = "kmh";
  std::string output; // empty: standard output
};

// The recordings of `events`, or the card folder of `drives`.
struct ListRequest {
  std::vector<std::string> files;
  std::string format = "csv";
  std::string units = "kmh"; // `drives` only
};

int usage() {
  std::fputs(kUsage, stderr);
  return kUsageError;
}

// The loader's code alone does not say why a file could not be opened.
void reportOpenFailure(const std::string& path, const RecordingTelemetry& telemetry) {
  if (!telemetry.OpenFailure().empty())
    std::fprintf(stderr, "lumenark-telemetry: %s: %s\n", path.c_str(), telemetry.OpenFailure().c_str());
}

void reportPositionsLeftOut(const RecordingTelemetry& telemetry) {
  if (const uint32_t count = Track::PositionsOutOfRange(telemetry))
    std::fprintf(stderr, "lumenark-telemetry: %u position%s out of range left out\n", unsigned(count),
                 count == 1 ? "" : "s");
}

int check(const std::string& path, std::FILE* out) {
  RecordingTelemetry telemetry;
  const int code = telemetry.Load(path);
  reportOpenFailure(path, telemetry);
  std::fprintf(out, "code %d\n", code);
  if (RecordingCondition::Of(path) == RecordingCondition::kIndexMissing) {
    std::fprintf(stderr, "lumenark-telemetry: %s: %s (lumenark-repair can rebuild it)\n", path.c_str(),
                 RecordingCondition::Reason(RecordingCondition::kIndexMissing));
    return kCutShort;
  }
  return code == 0 ? 0 : 1;
}

bool parseExport(const std::vector<std::string>& arguments, ExportRequest& request) {
  for (size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if ((argument == "--format" || argument == "-o" || argument == "--units") && i + 1 < arguments.size()) {
      (argument == "-o" ? request.output : argument == "--units" ? request.units : request.format) = arguments[++i];
    } else if (argument == "--drive" && i + 2 < arguments.size() && request.driveFolder.empty()) {
      request.driveFolder = arguments[++i];
      request.driveStamp = arguments[++i];
    } else if (!argument.empty() && argument[0] != '-') {
      request.recordings.push_back(argument);
    } else {
      return false;
    }
  }
  return request.recordings.empty() != request.driveFolder.empty() && !request.format.empty();
}

// To `out` when `path` is empty, else whole or not at all to `path`.
bool writeDocument(const std::string& document, const std::string& path, std::FILE* out) {
  if (path.empty())
    return std::fwrite(document.data(), 1, document.size(), out) == document.size() && std::fflush(out) == 0;
  std::string error;
  if (!OutputFile::Write(path, document, error)) {
    std::fprintf(stderr, "lumenark-telemetry: %s\n", error.c_str());
    return false;
  }
  return true;
}

// False, with the reason on standard error, when the recording has no usable
// telemetry.
bool loadTelemetry(const std::string& path, RecordingTelemetry& telemetry) {
  if (const int code = telemetry.Load(path)) {
    reportOpenFailure(path, telemetry);
    std::fprintf(stderr, "code %d\n", code);
    return false;
  }
  return true;
}

// A card read through the index cache, the way the overview reads it.
// Harsh moments are counted under the default thresholds.
CardDrives readCard(const std::string& folder) {
  CardIndex::Options options;
  options.cacheFolder = IndexCache::DefaultFolder();
  return CardDrives(CardIndex::ReadCard(folder, options).recordings);
}

// The played recordings of the drive that holds the moment `stamp`; false,
// with the reason on standard error, when there is none.
bool driveRecordings(const ExportRequest& request, std::vector<std::string>& paths) {
  const std::optional<int64_t> moment = CardTime::FromStamp(request.driveStamp);
  if (!moment || request.driveStamp.size() != 15) {
    std::fprintf(stderr, "lumenark-telemetry: --drive wants a moment as yyyymmdd_hhmmss\n");
    return false;
  }
  const CardDrives card = readCard(request.driveFolder);
  for (const CardDrives::Drive& drive : card.Drives()) {
    if (*moment < drive.start || *moment > drive.end)
      continue;
    for (const size_t i : drive.recordings)
      paths.push_back(card.Recordings()[i].path);
    return true;
  }
  std::fprintf(stderr, "lumenark-telemetry: %s: no drive at %s\n", request.driveFolder.c_str(),
               request.driveStamp.c_str());
  return false;
}

// Several recordings: one GPX track with a segment each, written only when
// every one of them has telemetry.
int exportSegments(const std::vector<std::string>& paths, const std::string& output, std::FILE* out) {
  std::vector<std::unique_ptr<RecordingTelemetry>> loaded;
  std::vector<const UserDataFile*> recordings;
  for (const std::string& path : paths) {
    loaded.push_back(std::make_unique<RecordingTelemetry>());
    if (!loadTelemetry(path, *loaded.back()))
      return 1;
    recordings.push_back(loaded.back().get());
  }
  const size_t slash = paths.front().find_last_of('/');
  std::string document;
  GpxFormat::WriteSegments(recordings, paths.front().substr(slash == std::string::npos ? 0 : slash + 1), document);
  if (!writeDocument(document, output, out))
    return 1;
  for (const auto& telemetry : loaded)
    reportPositionsLeftOut(*telemetry);
  return 0;
}

// The unit named by --units; none, with the reason on standard error, for
// an unknown name.
std::optional<SpeedUnit::Unit> unitNamed(const std::string& name) {
  const std::optional<SpeedUnit::Unit> unit = SpeedUnit::FromName(name);
  if (!unit)
    std::fprintf(stderr, "lumenark-telemetry: unknown units %s (kmh or mph)\n", name.c_str());
  return unit;
}

int exportTelemetry(const ExportRequest& request, std::FILE* out) {
  const std::optional<SpeedUnit::Unit> unit = unitNamed(request.units);
  if (!unit)
    return kUsageError;
  const auto format = TelemetryFormat::ByName(request.format, *unit);
  if (!format) {
    std::fprintf(stderr, "lumenark-telemetry: unknown format %s (csv, gpx or geojson)\n", request.format.c_str());
    return kUsageError;
  }
  std::vector<std::string> paths = request.recordings;
  if (!request.driveFolder.empty() && !driveRecordings(request, paths))
    return 1;
  if (paths.size() > 1 || !request.driveFolder.empty()) {
    if (request.format == "gpx")
      return exportSegments(paths, request.output, out);
    std::fprintf(stderr, "lumenark-telemetry: several recordings export as gpx only\n");
    return kUsageError;
  }
  RecordingTelemetry telemetry;
  if (!loadTelemetry(paths.front(), telemetry))
    return 1;
  const std::string document = telemetry.Document(*format);
  if (!writeDocument(document, request.output, out))
    return 1;
  reportPositionsLeftOut(telemetry);
  return 0;
}

bool parseList(const std::vector<std::string>& arguments, ListRequest& request) {
  const bool withUnits = arguments[0] == "drives";
  for (size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--format" && i + 1 < arguments.size())
      request.format = arguments[++i];
    else if (withUnits && argument == "--units" && i + 1 < arguments.size())
      request.units = arguments[++i];
    else if (!argument.empty() && argument[0] != '-')
      request.files.push_back(argument);
    else
      return false;
  }
  return !request.files.empty();
}

// The recording's moments; false, with the reason on standard error, when
// it has no usable telemetry.
bool addMoments(const std::string& path, HarshMomentReport& report) {
  RecordingTelemetry telemetry;
  if (!loadTelemetry(path, telemetry))
    return false;
  // Without a video track the records cannot be placed in time.
  if (!(telemetry.FrameRate() > 0.0)) {
    std::fprintf(stderr, "lumenark-telemetry: %s: no video frame rate\n", path.c_str());
    return false;
  }
  report.Add(path, HarshMomentDetector(telemetry.FrameRate()).Detect(telemetry.SensorValues()));
  return true;
}

// Every file is read, even after one without usable telemetry.
int listEvents(const ListRequest& request, std::FILE* out) {
  if (!HarshMomentReport::KnownFormat(request.format)) {
    std::fprintf(stderr, "lumenark-telemetry: unknown format %s (csv or json)\n", request.format.c_str());
    return kUsageError;
  }
  HarshMomentReport report(request.format);
  bool allRead = true;
  for (const std::string& path : request.files)
    allRead = addMoments(path, report) && allRead;
  return writeDocument(report.Document(), "", out) && allRead ? 0 : 1;
}

// The table of every drive; each recording that cannot be read is named with
// its reason, and the exit status tells that one could not.
int listDrives(const ListRequest& request, std::FILE* out) {
  if (request.files.size() != 1)
    return usage();
  if (!DriveTable::KnownFormat(request.format)) {
    std::fprintf(stderr, "lumenark-telemetry: unknown format %s (csv or json)\n", request.format.c_str());
    return kUsageError;
  }
  const std::optional<SpeedUnit::Unit> unit = unitNamed(request.units);
  if (!unit)
    return kUsageError;
  const CardDrives card = readCard(request.files.front());
  bool allRead = true;
  for (const RecordingSummary& recording : card.Recordings()) {
    if (recording.Readable())
      continue;
    std::fprintf(stderr, "lumenark-telemetry: %s: %s\n", recording.path.c_str(), recording.failure.c_str());
    allRead = false;
  }
  return writeDocument(DriveTable(*unit).Document(card, request.format), "", out) && allRead ? 0 : 1;
}

// The clock's line from every recording of the card with a GPS fix.
int showClock(const ListRequest& request, std::FILE* out) {
  if (request.files.size() != 1)
    return usage();
  const CameraClock clock = CameraClock::FromRecordings(CardIndex::Recordings(request.files.front()));
  std::fprintf(out, "%s\n", clock.Text().c_str());
  return std::fflush(out) == 0 && clock.Estimated() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (arguments.empty())
    return usage();
  if (arguments[0] == "--help" || arguments[0] == "--version") {
    std::fputs(arguments[0] == "--help" ? kUsage : kVersionLine, stdout);
    return 0;
  }
  if (arguments[0] == "check" && arguments.size() == 2)
    return check(arguments[1], stdout);
  ExportRequest request;
  if (arguments[0] == "export" && parseExport(arguments, request))
    return exportTelemetry(request, stdout);
  ListRequest list;
  if (arguments[0] == "events" && parseList(arguments, list))
    return listEvents(list, stdout);
  if (arguments[0] == "drives" && parseList(arguments, list))
    return listDrives(list, stdout);
  if (arguments[0] == "clock" && arguments.size() == 2)
    return showClock({{arguments[1]}}, stdout);
  return usage();
}
