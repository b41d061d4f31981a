// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

class QWidget;

// Asks the user for a folder: the platform's directory dialog, showing
// folders only. Tests put a scripted browser in its place.
class FolderBrowser {
public:
  virtual ~FolderBrowser() = default;

  // The chosen folder, or nothing when the user cancelled. The dialog opens
  // on `startFolder` when that is the full path of an existing folder,
  // otherwise in the user's home, so a stale or damaged remembered text is
  // never shown.
  virtual std::optional<QString> Browse(QWidget* owner, const QString& title, const QString& startFolder);
};
