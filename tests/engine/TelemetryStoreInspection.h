// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/TelemetryStore.h"

// The tests' view into the engine's held copy of a telemetry area, under its lock.
struct TelemetryStoreInspection {
  static TelemetryStore::LockedArea Lock(TelemetryStore& store) { return store.Lock(); }
};
