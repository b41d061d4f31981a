// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telemetry/TelemetryFormat.h"

// A FeatureCollection with one Feature: the track as a LineString of
// [longitude, latitude] pairs, its point times in the "times" property. With
// fewer than two points there is no line and the geometry is null.
class GeoJsonFormat : public TelemetryFormat {
public:
  void Write(const UserDataFile& telemetry, const std::string& name, std::string& out) const override;
};
