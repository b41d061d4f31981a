// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/ClipOverlay.h"
#include "media/ClipSource.h"
#include "media/ClipTelemetry.h"
#include "media/MuxedFile.h"
#include "media/PictureReencoder.h"
#include "media/ProgressReport.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct AVPacket;
struct AVFrame;

// Writes a clip of one recording, or of recordings played one after the
// other, into one MP4 file, whole or not at all. By default the pictures
// and sound are copied as they are, from the key picture at or before the
// in mark to the out mark; with the telemetry burned in, the picture is
// encoded again and starts at the in mark itself. The clip carries the
// telemetry records of its own pictures, so that it plays with its speed,
// G-sensor and map like a recording.
class ClipWriter {
public:
  struct Request {
    std::vector<std::string> recordings; // played in this order
    double from = 0;                     // seconds from the first recording's start
    double to = 0;
    std::string output;
    bool burnIn = false;
    bool burnInPosition = false;
    ClipOverlay::Units units = ClipOverlay::Units::kKmh;
    // Off: a private clip, without any position (no GPS records, no GPX).
    bool withPositions = true;
    bool withSound = true;
    // A GPX track of the clip beside it, named like it with ".gpx".
    bool gpx = false;
    // The share done, 0 to 1, called from the writing thread.
    std::function<void(double)> progress;
    const std::atomic<bool>* cancel = nullptr;
  };
  struct Result {
    bool written = false;
    std::string error;
    bool cutShort = false; // a recording was cut short by a power loss
    std::string output;
    std::string gpx; // empty without one
    // Where the clip starts, in seconds from the first recording's start,
    // and how far before the in mark that is (the key picture's snap).
    double start = 0;
    double snapped = 0;
    double seconds = 0;
    int64_t pictures = 0;
    bool telemetry = false;
  };

  static Result Write(const Request& request);
  // Where the clip of `request` would start and how far its start would
  // snap back (`start`, `snapped`), without writing anything: for the save
  // dialog. `written` stays false; `error` says why no clip could be cut.
  static Result Preview(const Request& request);
  // "<recording name>_<hhmmss>-<hhmmss>.mp4": the times of day of the in and
  // out marks on the camera's clock (from the start without a stamp).
  static std::string DefaultName(const std::string& recording, double from, double to);
  // "<clip>.gpx" for "<clip>.mp4".
  static std::string GpxPath(const std::string& clip);

private:
  explicit ClipWriter(const Request& request);
  ~ClipWriter();

  bool OpenSources();
  bool AlikeSources(size_t first, size_t last);
  bool Plan();
  bool OpenOutput();
  bool CopySegments();
  bool CopySegment(size_t segment);
  bool TakeVideo(size_t segment, AVPacket& packet);
  bool TakeAudio(size_t segment, AVPacket& packet);
  bool TakePicture(AVFrame& picture);
  bool WriteEncoded(AVPacket& packet);
  bool WritePacket(AVPacket& packet, int stream, int64_t clipMicroseconds, int64_t clipDecodeMicroseconds,
                   int64_t duration, const AVStream& from);
  bool FlushPictures();
  bool Finish();
  bool Fail(const std::string& error);
  size_t SegmentAt(int64_t microseconds) const;
  uint32_t NextPosition(size_t segment);

  const Request& m_request;
  Result m_result;
  std::vector<std::unique_ptr<ClipSource>> m_sources;
  std::vector<int64_t> m_offsets; // each source's start in microseconds from the first's
  int64_t m_from = 0;             // the marks in microseconds from the first source's start
  int64_t m_to = 0;
  int64_t m_origin = 0; // the clip's first picture
  size_t m_firstSegment = 0;
  int64_t m_keyPicture = 0; // where reading starts in the first segment
  MuxedFile m_file;
  ClipTelemetry m_telemetry;
  ClipOverlay m_overlay;
  std::unique_ptr<PictureReencoder> m_reencoder;
  ProgressReport m_progress;
  AVPacket* m_packet;
  bool m_videoDone = false;
  bool m_soundDone = false;
  int64_t m_soundEnd = 0; // of the sound written so far, from the first source's start
  // The source picture that the next picture of a segment is.
  std::optional<size_t> m_positionSegment;
  uint32_t m_position = 0;
};
