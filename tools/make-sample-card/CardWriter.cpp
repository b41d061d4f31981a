// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make-sample-card/CardWriter.h"

#include "tools/make-sample-card/DrivePlan.h"
#include "tools/make-sample-card/RecordingWriter.h"

#include <algorithm>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

constexpr int64_t kDemoStart = 1781429520;      // 2026-06-14 09:32:00 UTC
constexpr int64_t kDemoDriveStart = 1781432100; // 2026-06-14 10:15:00 UTC
constexpr int kGapSeconds = 1;
constexpr int kEventCopySeconds = 10;
constexpr uint64_t kDriveSeedBase = 500;

} // namespace

CardWriter::CardWriter(std::string root) : m_root(std::move(root)) {}

void CardWriter::WriteEventNote(const std::string& prefix, const Stamp& stamp, const Stamp& eventTime) const {
  const std::string path = m_root + "/Event/" + prefix + stamp.FileStamp() + ".txt";
  std::ofstream note(path);
  note << "Type : G-sensor\n"
       << "Date : " << eventTime.EventDate() << "\n";
  if (!note.flush())
    throw std::runtime_error("cannot write " + path);
}

void CardWriter::MakeFolders() const {
  for (const char* folder : {"/NormalMovie", "/EventMovie", "/Event"})
    std::filesystem::create_directories(m_root + folder);
}

void CardWriter::Write(const RecordingOptions& base, const std::vector<Recording>& recordings) const {
  MakeFolders();
  Stamp start = base.start;
  int events = 0;
  for (size_t i = 0; i < recordings.size(); ++i) {
    RecordingOptions options = base;
    options.seconds = recordings[i].seconds;
    options.seed = base.seed * 1000 + i;
    options.start = start;
    if (recordings[i].powerCut)
      options.faults.insert(Fault::PowerCut);
    const std::string folder = recordings[i].event ? "/EventMovie/" : "/NormalMovie/";
    const std::string path = m_root + folder + "drf0_" + start.FileStamp() + ".mp4";
    const int brakeSecond = RecordingWriter(options).Write(path);
    if (recordings[i].event)
      WriteEventNote(events++ % 2 == 0 ? "evt_" : "slt_", start, start.Plus(brakeSecond));
    start = start.Plus(options.seconds + kGapSeconds);
  }
}

void CardWriter::WriteEventCopy(const RecordingOptions& drive, int index) const {
  RecordingOptions copy = drive;
  copy.seconds = std::min(kEventCopySeconds, drive.driveSeconds);
  const int brakeSecond = DrivePlan(drive).BrakeSecond();
  copy.driveOffset = std::clamp(brakeSecond - copy.seconds / 2, 0, drive.driveSeconds - copy.seconds);
  copy.start = drive.start.Plus(copy.driveOffset);
  RecordingWriter(copy).Write(m_root + "/EventMovie/drf0_" + copy.start.FileStamp() + ".mp4");
  WriteEventNote(index % 2 == 0 ? "evt_" : "slt_", copy.start, drive.start.Plus(brakeSecond));
}

void CardWriter::WriteDrives(const RecordingOptions& base, const DriveLayout& layout) const {
  MakeFolders();
  Stamp start = base.start;
  for (int d = 0; d < layout.drives; ++d) {
    RecordingOptions drive = base;
    drive.seed = base.seed * 1000 + kDriveSeedBase + uint64_t(d);
    drive.driveSeconds = base.seconds * layout.recordingsPerDrive;
    drive.start = start;
    for (int k = 0; k < layout.recordingsPerDrive; ++k) {
      RecordingOptions part = drive;
      part.driveOffset = k * base.seconds;
      part.start = start.Plus(part.driveOffset);
      RecordingWriter(part).Write(m_root + "/NormalMovie/drf0_" + part.start.FileStamp() + ".mp4");
    }
    if (d < layout.eventCopies)
      WriteEventCopy(drive, d);
    start = start.Plus(drive.driveSeconds + layout.gapSeconds);
  }
}

void CardWriter::WriteDemo() const {
  RecordingOptions base;
  base.width = 640;
  base.height = 480;
  base.fps = 30;
  base.audio = true;
  base.start = Stamp(kDemoStart);
  // The first drive ends in a power loss, as drives on a real card often do.
  Write(base, {{false, 60}, {true, 30}, {false, 45}, {true, 40}, {false, 30, true}});
  // A second drive later that morning: two half-minute recordings. No event
  // copy: the event folder's smallest recording stays the 30 s one.
  base.seconds = 30;
  base.start = Stamp(kDemoDriveStart);
  WriteDrives(base, {1, 2, 0, 0});
}
