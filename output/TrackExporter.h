// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

// Exports the open recording's GPS track from the window as GPX, CSV or
// GeoJSON, with the telemetry command's own reading and formats. The user
// picks the file in a save dialog; the format follows the file's suffix, or
// the dialog's filter when the name has none. The file is written whole or
// not at all.
class TrackExporter {
public:
  struct Choice {
    QString path;
    QString filter; // one of Filters()
  };
  // Asks for the file, starting on `suggestedPath`; nothing when cancelled.
  using Chooser = std::function<std::optional<Choice>(QWidget& owner, const QString& suggestedPath)>;

  TrackExporter();

  // Replaces the save dialog, so tests can export unattended.
  void SetChooser(Chooser chooser) { m_choose = std::move(chooser); }

  // Exports `recording` (empty when none is open). What stops the export is
  // told in a message box over `window`.
  void Export(QWidget& window, const QString& recording);

  // The save dialog's name filters, GPX first.
  static QStringList Filters();

private:
  struct Target {
    QString path;
    std::string format;
  };

  static std::optional<Choice> RunSaveDialog(QWidget& owner, const QString& suggestedPath);
  static Target TargetOf(const Choice& choice);
  static void Tell(QWidget& window, const QString& text);
  QString SuggestedPath(const QString& recording) const;

  Chooser m_choose;
  QString m_lastFolder;
};
