// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

class MpvChannel;

// What the decoder did with one recording: which decoder drew its pictures,
// said once when the first picture is shown, and how many pictures were
// dropped to keep time, said at its end.
class DecodingMonitor {
public:
  // libmpv's hwdec value: a hardware decoder whose pictures are copied back
  // to memory (the frame reports carry them), or software only.
  static const char* hwdecOption(bool hardware);
  // The line for libmpv's hwdec-current value ("no" or empty when software).
  static std::string choiceLine(bool hardwareWanted, const std::string& hwdecCurrent);
  // Empty when no picture was dropped.
  static std::string droppedLine(int64_t dropped, uint32_t pictures);

  explicit DecodingMonitor(uint64_t firstReply) : m_outputReply(firstReply), m_decoderReply(firstReply + 1) {}
  void observe(MpvChannel& channel);
  // A new recording, or a new decoder for the same one.
  void reset();
  // A counter's new value; other replies are not the monitor's.
  void onCount(uint64_t reply, double value);
  // The choice line the first time after a reset, then empty.
  std::string takeChoiceLine(const MpvChannel& channel, bool hardwareWanted);
  int64_t dropped() const { return m_outputDrops + m_decoderDrops; }

private:
  const uint64_t m_outputReply;
  const uint64_t m_decoderReply;
  int64_t m_outputDrops = 0;
  int64_t m_decoderDrops = 0;
  bool m_choiceSaid = false;
};
