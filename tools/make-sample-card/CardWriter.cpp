// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make-sample-card/CardWriter.h"

#include "tools/make-sample-card/RecordingWriter.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

constexpr int64_t kDemoStart = 1781429520; // 2026-06-14 09:32:00 UTC
constexpr int kGapSeconds = 1;

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

void CardWriter::Write(const RecordingOptions& base, const std::vector<Recording>& recordings) const {
  for (const char* folder : {"/NormalMovie", "/EventMovie", "/Event"})
    std::filesystem::create_directories(m_root + folder);
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

void CardWriter::WriteDemo() const {
  RecordingOptions base;
  base.width = 640;
  base.height = 480;
  base.fps = 30;
  base.audio = true;
  base.start = Stamp(kDemoStart);
  // The last drive ends in a power loss, as drives on a real card often do.
  Write(base, {{false, 60}, {true, 30}, {false, 45}, {true, 40}, {false, 30, true}});
}
