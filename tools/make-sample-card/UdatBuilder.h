// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/make-sample-card/DrivePlan.h"
#include "tools/make-sample-card/RecordingOptions.h"

#include <cstdint>
#include <vector>

// The "udat" box of a recording: "TIME", "GPSI" and "SENS" with one record per
// video frame. A sentence opens every second; the records between start with 0.
class UdatBuilder {
public:
  static constexpr size_t kTimeRecordBytes = 4;
  static constexpr size_t kGpsRecordBytes = 76;
  static constexpr size_t kSensorRecordBytes = 12;

  UdatBuilder(const RecordingOptions& options, const DrivePlan& plan);

  // The whole box, with the sub-box faults of the options applied.
  std::vector<uint8_t> Build() const;

private:
  std::vector<uint8_t> TimeBox() const;
  std::vector<uint8_t> GpsBox() const;
  std::vector<uint8_t> SensorBox() const;
  std::string SentenceForSecond(int second) const;

  const RecordingOptions& m_options;
  const DrivePlan& m_plan;
};
