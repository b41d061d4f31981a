// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of one frame report that refreshes the telemetry (every third report
// does), against one that only counts.
#include "engine/EngineGlobals.h"
#include "engine/QIRAAdap.h"
#include "tests/support/BoxWriter.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr uint32_t kRecords = 1800;

class LoadedAdapter {
public:
  LoadedAdapter() {
    std::vector<std::string> sentences(kRecords, "$GPRMC,101500.000,A,4807.0380,N,01131.0000,E,022.4,084.4,071226,,");
    const std::string path = m_dir.filePath("rec.mp4").toStdString();
    testing_support::BoxWriter()
        .box("ftyp", {1, 2, 3, 4})
        .raw(testing_support::BoxWriter::udat(kRecords, sentences))
        .writeTo(path);
    adap.StorePaths(path.c_str(), path.c_str());
    adap.LoadUserData();
    adap.m_Telemetry.SetRecordCount(kRecords);
    g_nPosUnitsPerSecond = 31;
    report.frameBytes = 640 * 480 * 4;
  }
  QTemporaryDir m_dir;
  QIRAAdap adap{nullptr};
  player::FrameReport report{};
};

void BM_FrameReportWithTelemetryRefresh(benchmark::State& state) {
  LoadedAdapter loaded;
  uint32_t position = 0;
  for (auto _ : state) {
    g_nTickCount = 0;
    g_bGpsSyncWait = 0;
    loaded.adap.m_nPosition = position;
    loaded.adap.HandleEvent(reinterpret_cast<intptr_t>(&loaded.report), player::kEventFrame);
    position = (position + 1) % kRecords;
  }
}
BENCHMARK(BM_FrameReportWithTelemetryRefresh);

void BM_FrameReportBetweenRefreshes(benchmark::State& state) {
  LoadedAdapter loaded;
  for (auto _ : state) {
    g_nTickCount = 1;
    loaded.adap.HandleEvent(reinterpret_cast<intptr_t>(&loaded.report), player::kEventFrame);
  }
}
BENCHMARK(BM_FrameReportBetweenRefreshes);

} // namespace

BENCHMARK_MAIN();
