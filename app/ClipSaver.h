// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QWidget;
class RecordingOpener;
class TelemetryPresenter;

// Saves a clip of the open recording: from the in mark to the out mark, or
// 10 s either side of the camera's event nearest the current picture (on
// into the next recording of the drive where the event lies near the end).
// The folder is the user's, remembered; never the card unless chosen.
class ClipSaver {
public:
  static constexpr int kEventSeconds = 10;

  ClipSaver(QWidget* window, TelemetryPresenter& presenter, RecordingOpener& opener);

  void SaveMarked();
  void SaveEvent();

private:
  void Save(const QStringList& recordings, double from, double to);
  bool RecordingOpen() const;
  void Tell(const QString& text) const;
  static QString RememberedFolder();
  static void RememberFolder(const QString& folder);

  QWidget* const m_window;
  TelemetryPresenter& m_presenter;
  RecordingOpener& m_opener;
};
