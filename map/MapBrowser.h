// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

// The map's web engine lives in a module of its own ("lumenark-map.dll"),
// loaded after the window's first paint, so that the window does not wait
// for the engine's libraries at start-up. These are the module's two faces,
// found on its objects with qobject_cast.

// A loaded page whose script can be run: what the script caller binds.
class ScriptDocument {
public:
  virtual ~ScriptDocument() = default;
  // Runs the script in the page; its result is not awaited.
  virtual void RunScript(const QString& script) = 0;
};

// The browser in the map's place. Emits documentComplete(bool) when a page
// finished loading (true) or failed (false).
class MapBrowser {
public:
  virtual ~MapBrowser() = default;
  virtual void Navigate2(const QUrl& url) = 0;
  // The view's document, kept from the first request on: later calls return
  // the same page, also after a reload.
  virtual QObject* GetDocumentDispatch() = 0;
};

#define LUMENARK_SCRIPT_DOCUMENT_IID "org.lumenark.ScriptDocument/1"
#define LUMENARK_MAP_BROWSER_IID "org.lumenark.MapBrowser/1"
Q_DECLARE_INTERFACE(ScriptDocument, LUMENARK_SCRIPT_DOCUMENT_IID)
Q_DECLARE_INTERFACE(MapBrowser, LUMENARK_MAP_BROWSER_IID)

// The module's one export: a new browser, a child of `parent`, composed with
// OpenGL or drawn in software.
extern "C" {
using CreateMapBrowserFn = QWidget* (*)(QWidget* parent, bool openGL);
}
constexpr char kCreateMapBrowserSymbol[] = "lumenark_create_map_browser";
