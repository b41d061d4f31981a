// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/DecodingMonitor.h"

#include "player/MpvChannel.h"

const char* DecodingMonitor::hwdecOption(bool hardware) { return hardware ? "auto-copy" : "no"; }

std::string DecodingMonitor::choiceLine(bool hardwareWanted, const std::string& hwdecCurrent) {
  if (!hardwareWanted)
    return "player: hardware decoding is off, decoding in software";
  if (hwdecCurrent.empty() || hwdecCurrent == "no")
    return "player: no hardware decoder for this recording, decoding in software";
  return "player: decoding in hardware (" + hwdecCurrent + ")";
}

std::string DecodingMonitor::droppedLine(int64_t dropped, uint32_t pictures) {
  if (dropped <= 0)
    return std::string();
  return "player: dropped " + std::to_string(dropped) + " of " + std::to_string(pictures) + " pictures to keep time";
}

// libmpv counts the pictures dropped before drawing and those its decoder
// skipped apart; both count per recording.
void DecodingMonitor::observe(MpvChannel& channel) {
  channel.observeDouble(m_outputReply, "frame-drop-count");
  channel.observeDouble(m_decoderReply, "decoder-frame-drop-count");
}

void DecodingMonitor::reset() {
  m_outputDrops = 0;
  m_decoderDrops = 0;
  m_choiceSaid = false;
}

void DecodingMonitor::onCount(uint64_t reply, double value) {
  if (reply == m_outputReply)
    m_outputDrops = int64_t(value);
  else if (reply == m_decoderReply)
    m_decoderDrops = int64_t(value);
}

std::string DecodingMonitor::takeChoiceLine(const MpvChannel& channel, bool hardwareWanted) {
  if (m_choiceSaid)
    return std::string();
  m_choiceSaid = true;
  return choiceLine(hardwareWanted, channel.getString("hwdec-current"));
}
