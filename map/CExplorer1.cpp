// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/CExplorer1.h"

#include "map/CMapDocument.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QQuickWindow>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace {

// One profile for the process: its disk cache may be opened only once.
QWebEngineProfile* mapProfile() {
  static QPointer<QWebEngineProfile> profile;
  if (!profile) {
    profile = new QWebEngineProfile(QStringLiteral("map"), QCoreApplication::instance());
    profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
  }
  return profile;
}

} // namespace

CExplorer1::CExplorer1(QWidget* parent) : QWebEngineView(parent), m_pPage(new CMapDocument(mapProfile(), this)) {
  // The page is ours and local; tiles are the only remote content.
  m_pPage->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
  m_pPage->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, false);
  m_pPage->setBackgroundColor(QColor(0x16, 0x20, 0x2e));
  setPage(m_pPage);
  setContextMenuPolicy(Qt::NoContextMenu);
  connect(m_pPage, &QWebEnginePage::loadFinished, this, &CExplorer1::documentComplete);
  connect(
      m_pPage, &QWebEnginePage::renderProcessTerminated, this,
      [this](QWebEnginePage::RenderProcessTerminationStatus status, int) { OnRenderProcessTerminated(status); },
      Qt::QueuedConnection);
}

// The page goes before the view that shows it.
CExplorer1::~CExplorer1() { delete m_pPage; }

// The page comes from the program's resources, which no cache holds.
void CExplorer1::Navigate2(const QUrl& url) { load(url); }

QObject* CExplorer1::GetDocumentDispatch() {
  if (!m_pDocument)
    m_pDocument = page();
  return m_pDocument;
}

// A renderer that crashed or was killed leaves a blank view: load the page
// again, once the engine has let go of the dead process.
void CExplorer1::OnRenderProcessTerminated(int status) {
  if (status == QWebEnginePage::NormalTerminationStatus)
    return;
  QTimer::singleShot(0, this, [this] { load(url()); });
}

// The scene graph's choice holds for the views made after it. The web engine
// reports its software set-up at length on the diagnostic output; it is the
// chosen one, not a fault.
extern "C" Q_DECL_EXPORT QWidget* lumenark_create_map_browser(QWidget* parent, bool openGL) {
  if (!openGL) {
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
  }
  return new CExplorer1(parent);
}
