// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/CMapDocument.h"

CMapDocument::CMapDocument(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {}
