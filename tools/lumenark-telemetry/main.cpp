// SPDX-License-Identifier: GPL-3.0-or-later
// lumenark-telemetry: checks a recording's user-data area and exports its
// telemetry as CSV, GPX or GeoJSON, reading it as the viewer does, and lists
// the harsh moments its G-sensor recorded.

#include "LumenarkVersion.h"
#include "telemetry/HarshMomentDetector.h"
#include "telemetry/HarshMomentReport.h"
#include "telemetry/OutputFile.h"
#include "telemetry/RecordingCondition.h"
#include "telemetry/RecordingTelemetry.h"
#include "telemetry/TelemetryFormat.h"
#include "telemetry/Track.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kUsageError = 2;
// The recording was cut short: `lumenark-repair` may bring it back.
constexpr int kCutShort = 3;

constexpr char kUsage[] = "Usage:\n"
                          "  lumenark-telemetry check FILE\n"
                          "  lumenark-telemetry export FILE --format csv|gpx|geojson [-o OUT]\n"
                          "  lumenark-telemetry events FILE... [--format csv|json]\n"
                          "  lumenark-telemetry --help | --version\n"
                          "\n"
                          "Options:\n"
                          "  --format FORMAT  export as csv, gpx or geojson; events as csv (default) or json\n"
                          "  -o OUT           write the export to OUT, replaced whole, not to standard output\n"
                          "  --help           show this help and exit\n"
                          "  --version        show the version and exit\n";

struct ExportRequest {
  std::string recording;
  std::string format;
  std::string output; // empty: standard output
};

struct EventsRequest {
  std::vector<std::string> recordings;
  std::string format = "csv";
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
    if ((argument == "--format" || argument == "-o") && i + 1 < arguments.size())
      (argument == "-o" ? request.output : request.format) = arguments[++i];
    else if (request.recording.empty() && !argument.empty() && argument[0] != '-')
      request.recording = argument;
    else
      return false;
  }
  return !request.recording.empty() && !request.format.empty();
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

int exportTelemetry(const ExportRequest& request, std::FILE* out) {
  const auto format = TelemetryFormat::ByName(request.format);
  if (!format) {
    std::fprintf(stderr, "lumenark-telemetry: unknown format %s (csv, gpx or geojson)\n", request.format.c_str());
    return kUsageError;
  }
  RecordingTelemetry telemetry;
  if (const int code = telemetry.Load(request.recording)) {
    reportOpenFailure(request.recording, telemetry);
    std::fprintf(stderr, "code %d\n", code);
    return 1;
  }
  const std::string document = telemetry.Document(*format);
  if (!writeDocument(document, request.output, out))
    return 1;
  reportPositionsLeftOut(telemetry);
  return 0;
}

bool parseEvents(const std::vector<std::string>& arguments, EventsRequest& request) {
  for (size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--format" && i + 1 < arguments.size())
      request.format = arguments[++i];
    else if (!argument.empty() && argument[0] != '-')
      request.recordings.push_back(argument);
    else
      return false;
  }
  return !request.recordings.empty();
}

// The recording's moments; false, with the reason on standard error, when
// it has no usable telemetry.
bool addMoments(const std::string& path, HarshMomentReport& report) {
  RecordingTelemetry telemetry;
  if (const int code = telemetry.Load(path)) {
    reportOpenFailure(path, telemetry);
    std::fprintf(stderr, "code %d\n", code);
    return false;
  }
  // Without a video track the records cannot be placed in time.
  if (!(telemetry.FrameRate() > 0.0)) {
    std::fprintf(stderr, "lumenark-telemetry: %s: no video frame rate\n", path.c_str());
    return false;
  }
  report.Add(path, HarshMomentDetector(telemetry.FrameRate()).Detect(telemetry.SensorValues()));
  return true;
}

// Every file is read, even after one without usable telemetry.
int listEvents(const EventsRequest& request, std::FILE* out) {
  if (!HarshMomentReport::KnownFormat(request.format)) {
    std::fprintf(stderr, "lumenark-telemetry: unknown format %s (csv or json)\n", request.format.c_str());
    return kUsageError;
  }
  HarshMomentReport report(request.format);
  bool allRead = true;
  for (const std::string& path : request.recordings)
    allRead = addMoments(path, report) && allRead;
  return writeDocument(report.Document(), "", out) && allRead ? 0 : 1;
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
  EventsRequest events;
  if (arguments[0] == "events" && parseEvents(arguments, events))
    return listEvents(events, stdout);
  return usage();
}
