// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWebEngineView>

// The browser on the main window: a web view on the map's profile (tiles
// seen once stay in its disk cache for off-line use) that reloads its page
// when the renderer process dies.
class CExplorer1 : public QWebEngineView {
  Q_OBJECT

public:
  explicit CExplorer1(QWidget* parent);
  ~CExplorer1() override;

  // Requests the address.
  void Navigate2(const QUrl& url);
  // The view's document, kept from the first request on: later calls return
  // the same page, also after a reload.
  QWebEnginePage* GetDocumentDispatch();

signals:
  // The document finished loading (true) or failed (false).
  void documentComplete(bool ok);

private:
  void OnRenderProcessTerminated(int status);

  QWebEnginePage* m_pPage;
  QPointer<QWebEnginePage> m_pDocument;
};
