// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "map/CWebPage.h"
#include "map/MapUpdateThrottle.h"
#include "telemetry/HarshMomentDetector.h"
#include "telemetry/SpeedUnit.h"
#include "telemetry/Track.h"

#include <QObject>
#include <QRect>
#include <QUrl>
#include <functional>
#include <string>
#include <vector>

class MapBrowser;
class QWidget;

// The main window's map: the browser at its place, our page loaded from the
// program's resources, the script caller bound on every finished load, the
// throttled marker moves and the opened recording's track.
class CMapView : public QObject {
  Q_OBJECT

public:
  using ConnectionCheck = std::function<bool()>;

  // The map's place in the window's client area.
  static const QRect kMapRect;

  explicit CMapView(ConnectionCheck isConnected);
  ~CMapView() override;

  // Readies the window for the web view before it is first shown: a window
  // that gains a composited child later is made again by the platform, so it
  // blinks and loses its place on the screen.
  static void PrepareControl(QWidget* control);
  // Whether the platform's OpenGL runs on a graphics processor; the web view
  // composes with it only then.
  static bool ComposesWithOpenGL();
  // Moves the map's control to its place and fills it with the browser from
  // the map module, sets the counter and the page-loaded flag from the
  // connection check and requests the page. Without the module the place
  // keeps the skin and a diagnostic line says why.
  void StartUp(QWidget* control, const std::string& module = "lumenark-map.dll");
  bool IsStarted() const { return m_bStarted; }

  void NavigateMapPage();
  // Calls `function` with the comma-separated arguments: tokens up to the
  // first empty one, not trimmed.
  void CallMapScript(const std::string& function, const std::string& arguments);
  // One telemetry notification with a "$GPRMC" position.
  void PositionStep(double latitude, double longitude, float speedLevel);
  // Draws the opened recording's track with pins at the event offsets
  // (seconds from its start) and at its harsh moments; kept and drawn again
  // after every reload.
  void ShowTrack(const std::vector<Track::Point>& points, const std::vector<int>& eventOffsets,
                 const std::vector<HarshMomentDetector::Moment>& harshMoments = {});
  // The legend's unit; kept for every reload.
  void SetSpeedUnit(SpeedUnit::Unit unit);

  static QUrl PageUrl();
  static std::vector<std::string> SplitArguments(const std::string& arguments);

  // The browser widget; null before the start or without the module.
  QWidget* Browser() const { return m_pBrowser; }
  CWebPage& ScriptCaller() { return m_webPage; }
  const MapUpdateThrottle& Throttle() const { return m_step; }

signals:
  // The document was bound and given its tiles and track.
  void documentBound();

private slots:
  void OnMapDocumentComplete(bool ok);

private:
  static QWidget* CreateBrowser(QWidget* control, const std::string& module);
  MapBrowser* BrowserInterface() const;
  void SetUpPage();

  ConnectionCheck m_isConnected;
  bool m_bStarted = false;
  QWidget* m_pBrowser = nullptr;
  CWebPage m_webPage;
  MapUpdateThrottle m_step;
  std::string m_trackJson;
  SpeedUnit::Unit m_speedUnit = SpeedUnit::Unit::kKmh;
};
