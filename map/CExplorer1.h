// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "map/MapBrowser.h"

#include <QPointer>
#include <QWebEngineView>

class CMapDocument;

// The browser on the main window: a web view on the map's profile (tiles
// seen once stay in its disk cache for off-line use) that reloads its page
// when the renderer process dies.
class CExplorer1 : public QWebEngineView, public MapBrowser {
  Q_OBJECT
  Q_INTERFACES(MapBrowser)

public:
  explicit CExplorer1(QWidget* parent);
  ~CExplorer1() override;

  void Navigate2(const QUrl& url) override;
  QObject* GetDocumentDispatch() override;

signals:
  void documentComplete(bool ok);

private:
  void OnRenderProcessTerminated(int status);

  CMapDocument* m_pPage;
  QPointer<QObject> m_pDocument;
};
