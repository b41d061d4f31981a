// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/CMapView.h"

#include "map/MapBrowser.h"
#include "map/MapTiles.h"
#include "map/MapTrackJson.h"
#include "map/OpenGlRenderer.h"
#include "platform/Diagnostics.h"
#include "platform/ModulePath.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QOpenGLWidget>

const QRect CMapView::kMapRect(673, 502, 316, 268);

CMapView::CMapView(ConnectionCheck isConnected) : m_isConnected(std::move(isConnected)) {}

// The browser is a child of the window and goes with it.
CMapView::~CMapView() = default;

QUrl CMapView::PageUrl() { return QUrl(QStringLiteral("qrc:/map/map.html")); }

// A rasteriser on the processor composes the whole window again for every
// video picture, which costs more than the picture itself: there the web view
// draws in software and only when its page changes.
bool CMapView::ComposesWithOpenGL() { return OpenGlRenderer::IsHardware(); }

// Only where the view composes with OpenGL: elsewhere it needs no such window.
void CMapView::PrepareControl(QWidget* control) {
  if (ComposesWithOpenGL())
    (new QOpenGLWidget(control))->hide();
}

void CMapView::StartUp(QWidget* control, const std::string& module) {
  m_bStarted = true;
  control->setGeometry(kMapRect);
  m_pBrowser = CreateBrowser(control, module);
  if (m_pBrowser) {
    connect(m_pBrowser, SIGNAL(documentComplete(bool)), this, SLOT(OnMapDocumentComplete(bool)));
    m_pBrowser->setGeometry(control->rect());
    m_pBrowser->show();
  }
  m_step.Start(m_isConnected());
  NavigateMapPage();
}

// The module stays loaded for the process's life: its widgets and the web
// engine's threads use its code until the end.
QWidget* CMapView::CreateBrowser(QWidget* control, const std::string& module) {
  // The web engine renders through the application's shared OpenGL context;
  // without it the view crashes at its first paint, so no map is the answer.
  if (!QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts)) {
    platform::diagnostic("failed to load %s: shared OpenGL contexts are off\n", module.c_str());
    return nullptr;
  }
  QLibrary library(QString::fromStdString(platform::resolveModulePath(module)));
  library.setLoadHints(QLibrary::PreventUnloadHint);
  const auto create = reinterpret_cast<CreateMapBrowserFn>(library.resolve(kCreateMapBrowserSymbol));
  if (!create) {
    platform::diagnostic("failed to load %s\n", module.c_str());
    return nullptr;
  }
  QWidget* browser = create(control, ComposesWithOpenGL());
  if (!qobject_cast<MapBrowser*>(browser)) {
    delete browser;
    return nullptr;
  }
  return browser;
}

MapBrowser* CMapView::BrowserInterface() const { return qobject_cast<MapBrowser*>(m_pBrowser); }

void CMapView::NavigateMapPage() {
  if (MapBrowser* browser = BrowserInterface())
    browser->Navigate2(PageUrl());
}

// A page that failed to load is asked for again at the next due position step.
void CMapView::OnMapDocumentComplete(bool ok) {
  if (!ok) {
    m_step.ForgetPage();
    return;
  }
  if (m_webPage.BindDocument(BrowserInterface()->GetDocumentDispatch()))
    SetUpPage();
}

void CMapView::SetUpPage() {
  const MapTiles tiles = MapTiles::FromConfiguration();
  m_webPage.InvokeScriptFunction("SetTileAddress", {tiles.address, tiles.attribution});
  m_webPage.InvokeScriptFunction("SetSpeedUnit", {SpeedUnit::Name(m_speedUnit)});
  if (!m_trackJson.empty())
    m_webPage.InvokeScriptFunction("ShowTrack", {m_trackJson});
  emit documentBound();
}

std::vector<std::string> CMapView::SplitArguments(const std::string& arguments) {
  std::vector<std::string> tokens;
  size_t start = 0;
  while (start <= arguments.size()) {
    const size_t comma = arguments.find(',', start);
    const size_t end = comma == std::string::npos ? arguments.size() : comma;
    if (end == start)
      break;
    tokens.push_back(arguments.substr(start, end - start));
    start = end + 1;
  }
  return tokens;
}

void CMapView::CallMapScript(const std::string& function, const std::string& arguments) {
  m_webPage.InvokeScriptFunction(function, SplitArguments(arguments));
}

void CMapView::PositionStep(double latitude, double longitude, float speedLevel) {
  const std::string place = MapTrackJson::LatLonText(latitude, longitude);
  switch (m_step.Step(m_isConnected(), speedLevel)) {
  case MapUpdateThrottle::Action::NavigatePage:
    NavigateMapPage();
    break;
  case MapUpdateThrottle::Action::MoveMarker:
    CallMapScript("SetGpsLatLon", place);
    break;
  case MapUpdateThrottle::Action::None:
    break;
  }
}

void CMapView::ShowTrack(const std::vector<Track::Point>& points, const std::vector<int>& eventOffsets,
                         const std::vector<HarshMomentDetector::Moment>& harshMoments) {
  m_trackJson = MapTrackJson::Build(points, eventOffsets, harshMoments);
  m_webPage.InvokeScriptFunction("ShowTrack", {m_trackJson});
}

void CMapView::SetSpeedUnit(SpeedUnit::Unit unit) {
  m_speedUnit = unit;
  m_webPage.InvokeScriptFunction("SetSpeedUnit", {SpeedUnit::Name(unit)});
}
