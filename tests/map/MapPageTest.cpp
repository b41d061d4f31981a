// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/map/MapPageFixture.h"
#include "tests/support/DiagnosticRecorder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <csignal>

namespace {

const char kProbe[] = "window.Probe = function () { window.probeArgs = Array.from(arguments); };"
                      "window.probeArgs = null; window.harmed = false; true";

QString markerPlace() { return QStringLiteral("JSON.stringify(marker.getLatLng())"); }

} // namespace

using MapPage = MapPageFixture;

TEST_F(MapPage, LoadsOurPageFromTheProgramsResources) {
  StartMap();
  EXPECT_EQ(View()->url(), CMapView::PageUrl());
  EXPECT_EQ(Evaluate("typeof SetGpsLatLon + ' ' + typeof L.map"), "function function");
  EXPECT_EQ(m_map->Browser()->geometry().size(), CMapView::kMapRect.size());
  EXPECT_EQ(m_map->Browser()->parentWidget()->geometry(), CMapView::kMapRect);
}

// The sixth connected notification moves the marker and keeps it in view.
TEST_F(MapPage, PositionStepMovesTheMarker) {
  StartMap();
  for (int n = 0; n < 5; ++n)
    m_map->PositionStep(37.5665, 126.978, 1.0f);
  EXPECT_FALSE(Evaluate("map.hasLayer(marker)").toBool());
  m_map->PositionStep(37.5665, 126.978, 1.0f);
  EXPECT_EQ(Evaluate(markerPlace()), "{\"lat\":37.5665,\"lng\":126.978}");
  EXPECT_TRUE(Evaluate("map.getBounds().contains(marker.getLatLng())").toBool());
  for (int n = 0; n < 6; ++n)
    m_map->PositionStep(-33.8688, 151.2093, 2.0f);
  EXPECT_EQ(Evaluate(markerPlace()), "{\"lat\":37.5665,\"lng\":126.978}");
  for (int n = 0; n < 5; ++n)
    m_map->PositionStep(-33.8688, 151.2093, 2.0f);
  EXPECT_EQ(Evaluate(markerPlace()), "{\"lat\":-33.8688,\"lng\":151.2093}");
  EXPECT_TRUE(Evaluate("map.getBounds().contains(marker.getLatLng())").toBool());
}

TEST_F(MapPage, CallMapScriptPassesTokensUpToTheFirstEmptyOne) {
  StartMap();
  const struct {
    const char* list;
    const char* received;
  } cases[] = {{"a,,b", "[\"a\"]"}, {"", "[]"}, {"a,", "[\"a\"]"}, {"1.5, 2.5", "[\"1.5\",\" 2.5\"]"}};
  for (const auto& c : cases) {
    Evaluate(kProbe);
    m_map->CallMapScript("Probe", c.list);
    EXPECT_EQ(Evaluate("JSON.stringify(probeArgs)").toString().toStdString(), c.received) << c.list;
  }
}

// Arguments that try to end the literal, close the script or run code reach
// the function as the same text and run nothing.
TEST_F(MapPage, ArgumentsAreDataNeverCode) {
  StartMap();
  const std::vector<std::string> hostile = {
      "\"); window.harmed = true; (\"", "\\\"); window.harmed = true; //",
      "'); window.harmed = true; ('",   "</script><script>window.harmed = true</script>",
      "line\nbreak\r\xe2\x80\xa8 end",  "\xea\xb8\xb8 \xc3\xbc \\u0022",
      "${window.harmed = true}"};
  Evaluate(kProbe);
  ASSERT_TRUE(m_map->ScriptCaller().InvokeScriptFunction("Probe", hostile));
  QJsonArray expected;
  for (const std::string& text : hostile)
    expected.append(QString::fromStdString(text));
  EXPECT_EQ(Evaluate("JSON.stringify(probeArgs)").toString(),
            QString::fromUtf8(QJsonDocument(expected).toJson(QJsonDocument::Compact)));
  EXPECT_FALSE(Evaluate("window.harmed").toBool());
  // Hostile text as a position leaves the marker where it was.
  m_map->ScriptCaller().InvokeScriptFunction("SetGpsLatLon", {"10", " 20"});
  m_map->ScriptCaller().InvokeScriptFunction("SetGpsLatLon", {hostile[0], hostile[3]});
  EXPECT_EQ(Evaluate(markerPlace()), "{\"lat\":10,\"lng\":20}");
  EXPECT_FALSE(Evaluate("window.harmed").toBool());
}

TEST_F(MapPage, DrawsTheTrackColouredBySpeedWithEventPins) {
  StartMap();
  std::vector<Track::Point> points;
  for (int i = 0; i < 40; ++i)
    points.push_back({37.5f + i * 0.0005f, 127.0f + i * 0.0003f, i * 3, 36000 + i, {}});
  m_map->ShowTrack(points, {10, 30});
  EXPECT_GE(Evaluate("trackLayer.getLayers().length").toInt(), 3) << "one line per speed colour";
  EXPECT_EQ(Evaluate("eventLayer.getLayers().length").toInt(), 2);
  EXPECT_TRUE(Evaluate("map.getBounds().contains(trackLayer.getLayers()[0].getBounds())").toBool());
  EXPECT_FALSE(Evaluate("document.getElementById('legend').hidden").toBool());
}

// Start-up without a connection still requests the page; nothing moves until
// a connection comes, and then the first due step requests the page again.
TEST_F(MapPage, StartsWithoutConnection) {
  StartMap(false);
  for (int n = 0; n < 12; ++n)
    m_map->PositionStep(37.5, 127.0, 1.0f);
  EXPECT_EQ(m_map->Throttle().Counter(), 0u);
  EXPECT_FALSE(Evaluate("map.hasLayer(marker)").toBool());
  m_connected = true;
  for (int n = 0; n < 6; ++n)
    m_map->PositionStep(37.5, 127.0, 1.0f);
  ASSERT_TRUE(WaitBound()) << "the sixth connected notification requests the page";
  m_map->PositionStep(37.5, 127.0, 1.0f);
  EXPECT_EQ(Evaluate(markerPlace()), "{\"lat\":37.5,\"lng\":127}");
}

// A dead renderer gets the page back, with the track the user opened.
TEST_F(MapPage, ReloadsWhenTheRendererDies) {
  StartMap();
  m_map->ShowTrack({{1.0f, 2.0f, 10, 0, {}}, {1.001f, 2.001f, 50, 1, {}}}, {});
  ASSERT_EQ(Evaluate("trackLayer.getLayers().length").toInt(), 1);
  const qint64 renderer = Page()->renderProcessPid();
  ASSERT_GT(renderer, 0);
  ::kill(pid_t(renderer), SIGKILL);
  ASSERT_TRUE(WaitBound());
  EXPECT_EQ(Evaluate("trackLayer.getLayers().length").toInt(), 1);
}

TEST_F(MapPage, APageThatFailsToLoadIsRequestedAtTheNextDueStep) {
  StartMap();
  QSignalSpy finished(Page(), &QWebEnginePage::loadFinished);
  qobject_cast<MapBrowser*>(m_map->Browser())->Navigate2(QUrl(QStringLiteral("qrc:/map/absent.html")));
  ASSERT_TRUE(finished.wait(kLoadTimeoutMs));
  EXPECT_FALSE(finished.takeFirst().at(0).toBool());
  EXPECT_FALSE(m_map->Throttle().PageLoaded());
  for (int n = 0; n < 6; ++n)
    m_map->PositionStep(37.5, 127.0, 1.0f);
  ASSERT_TRUE(WaitBound());
  EXPECT_EQ(View()->url(), CMapView::PageUrl());
}

// Without the map's module the window keeps its skin in the map's place.
TEST(MapWithoutModule, LeavesThePlaceEmptyAndSaysWhy) {
  QWidget host;
  auto* control = new QWidget(&host);
  CMapView map([] { return true; });
  const testing_support::DiagnosticRecorder diagnostics;
  map.StartUp(control, "absent-map.dll");
  EXPECT_EQ(diagnostics.text(), "failed to load absent-map.dll\n");
  EXPECT_TRUE(map.IsStarted());
  EXPECT_EQ(map.Browser(), nullptr);
  for (int n = 0; n < 12; ++n)
    map.PositionStep(37.5, 127.0, 1.0f);
  map.ShowTrack({{1.0f, 2.0f, 10, 0, {}}}, {});
  EXPECT_EQ(map.ScriptCaller().LastError(), "JSCall Error:\nNULL pointer");
}

// A host that did not share OpenGL contexts gets no map instead of a crash in
// the web engine's first paint.
TEST(MapWithoutSharedContexts, LeavesThePlaceEmptyAndSaysWhy) {
  QWidget host;
  auto* control = new QWidget(&host);
  CMapView map([] { return true; });
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts, false);
  const testing_support::DiagnosticRecorder diagnostics;
  map.StartUp(control, "lumenark-map.dll");
  const std::string said = diagnostics.text();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts, true);
  EXPECT_EQ(said, "failed to load lumenark-map.dll: shared OpenGL contexts are off\n");
  EXPECT_EQ(map.Browser(), nullptr);
}
