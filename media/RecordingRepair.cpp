// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/RecordingRepair.h"

#include "media/AacFrameProbe.h"
#include "media/DamagedRecording.h"
#include "media/ProgressReport.h"
#include "media/ReferenceFinder.h"
#include "media/ReferenceMatch.h"
#include "media/ReferenceRecording.h"
#include "media/RepairedFileWriter.h"
#include "media/TelemetryAreaParts.h"

extern "C" {
#include <libavcodec/codec_par.h>
}

#include <cmath>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

// Sound is kept when it covers the pictures' time to within this, with no
// more than this share of the data left unexplained.
constexpr double kSoundDriftSeconds = 1.0;
constexpr double kMostSkippedShare = 0.01;

bool takeReference(const RecordingRepair::Request& request, const DamagedRecording& damaged,
                   ReferenceRecording& reference, std::string& error) {
  if (request.reference.empty())
    return ReferenceFinder::Find(damaged, reference, error);
  if (!reference.Open(request.reference, error))
    return false;
  const std::string mismatch = ReferenceMatch::Mismatch(damaged, reference);
  if (!mismatch.empty())
    error = request.reference + " cannot serve as the reference: " + mismatch;
  return mismatch.empty();
}

struct Walk {
  std::vector<MediaDataWalker::Sample> samples;
  int64_t pictures = 0;
  int64_t audioFrames = 0;
  uint64_t skippedBytes = 0;
};

bool walk(const DamagedRecording& damaged, const ReferenceRecording& reference, ProgressReport& progress, Walk& found,
          std::string& error) {
  std::unique_ptr<AacFrameProbe> audio;
  if (reference.HasAudio())
    audio = std::make_unique<AacFrameProbe>(*reference.Audio().parameters);
  MediaDataWalker walker = damaged.Walker(reference, audio.get());
  const double span = double(damaged.DataEnd() - damaged.DataBegin());
  MediaDataWalker::Sample sample;
  while (walker.Next(sample)) {
    found.samples.push_back(sample);
    ++(sample.track == MediaDataWalker::Track::kVideo ? found.pictures : found.audioFrames);
    if (!progress.Report(0.5 * double(walker.Position() - damaged.DataBegin()) / span)) {
      error = "cancelled";
      return false;
    }
  }
  found.skippedBytes = walker.SkippedBytes();
  if (walker.ReadFailed())
    error = damaged.Path() + ": it cannot be read";
  else if (found.pictures == 0)
    error = damaged.Path() + ": no whole picture before the cut";
  return error.empty();
}

bool soundIsReliable(const ReferenceRecording& reference, const Walk& found, uint64_t dataBytes) {
  if (!reference.HasAudio() || found.audioFrames == 0)
    return false;
  const AVCodecParameters& audio = *reference.Audio().parameters;
  const double soundSeconds =
      double(found.audioFrames) * (audio.frame_size > 0 ? audio.frame_size : 1024) / std::max(1, audio.sample_rate);
  const ReferenceRecording::Rational rate = reference.FrameRate();
  const double pictureSeconds = double(found.pictures) * rate.den / rate.num;
  return std::fabs(soundSeconds - pictureSeconds) <= kSoundDriftSeconds &&
         double(found.skippedBytes) <= kMostSkippedShare * double(dataBytes);
}

bool write(const DamagedRecording& damaged, const ReferenceRecording& reference, const Walk& found, bool withSound,
           const std::string& output, ProgressReport& progress, RecordingRepair::Result& result) {
  RepairedFileWriter writer(reference, withSound);
  if (!writer.Open(output, result.error))
    return false;
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < found.samples.size(); ++i) {
    const MediaDataWalker::Sample& sample = found.samples[i];
    const bool video = sample.track == MediaDataWalker::Track::kVideo;
    if (!video && !withSound)
      continue;
    bytes.resize(sample.size);
    if (!damaged.File().ReadAt(sample.offset, bytes.data(), sample.size)) {
      result.error = damaged.Path() + ": it cannot be read";
      return false;
    }
    if (!writer.Write(sample, bytes.data(), result.error))
      return false;
    result.keyPictures += video && sample.key;
    if (!progress.Report(0.5 + 0.5 * double(i + 1) / double(found.samples.size()))) {
      result.error = "cancelled";
      return false;
    }
  }
  const std::vector<uint8_t> telemetry = TelemetryAreaParts::Kept(damaged.File());
  result.telemetryKept = !telemetry.empty();
  return writer.Finish(telemetry, result.error);
}

bool sameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error);
}

} // namespace

std::string RecordingRepair::DefaultOutput(const std::string& damaged) {
  const std::filesystem::path path(damaged);
  return (path.parent_path() / (path.stem().string() + "_repaired.mp4")).string();
}

RecordingRepair::Result RecordingRepair::Run(const Request& request) {
  Result result;
  result.output = request.output.empty() ? DefaultOutput(request.damaged) : request.output;
  DamagedRecording damaged(request.damaged);
  ReferenceRecording reference;
  if (!damaged.Open(result.error) || !takeReference(request, damaged, reference, result.error))
    return result;
  result.reference = reference.Path();
  if (sameFile(result.output, request.damaged) || sameFile(result.output, reference.Path())) {
    result.error = result.output + ": the repair never replaces a recording it reads";
    return result;
  }
  ProgressReport progress(request.progress, request.cancel);
  Walk found;
  if (!walk(damaged, reference, progress, found, result.error))
    return result;
  const bool withSound = soundIsReliable(reference, found, damaged.DataEnd() - damaged.DataBegin());
  result.soundLeftOut = reference.HasAudio() && !withSound;
  result.pictures = found.pictures;
  result.audioFrames = withSound ? found.audioFrames : 0;
  result.skippedBytes = found.skippedBytes;
  result.repaired = write(damaged, reference, found, withSound, result.output, progress, result);
  return result;
}
