// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "map/MapBrowser.h"

#include <QWebEnginePage>

// The map's page in the web engine, as the script caller sees it.
class CMapDocument : public QWebEnginePage, public ScriptDocument {
  Q_OBJECT
  Q_INTERFACES(ScriptDocument)

public:
  CMapDocument(QWebEngineProfile* profile, QObject* parent);

  void RunScript(const QString& script) override { runJavaScript(script); }
};
