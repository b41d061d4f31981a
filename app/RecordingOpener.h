// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/WindowBuilder.h"
#include "library/FolderBrowser.h"
#include "library/RecordingList.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class PlaybackCommands;
class QIRAAdap;
class QWidget;
class TelemetryPresenter;

// Opens what the user chose: a folder from the browser or a drop, a recording
// by a double click or Enter on its line, with its event notes and track;
// and ends a recording that played to its end. Opening and ending wait on
// the window's thread with the user's input held back; the latest choice
// made meanwhile is opened when the wait is over.
class RecordingOpener : public QObject {
public:
  RecordingOpener(QWidget* window, const ControlMap& controls, TelemetryPresenter& presenter,
                  PlaybackCommands& commands);
  ~RecordingOpener() override;

  void SetEngine(QIRAAdap* engine) { m_engine = engine; }
  // The Open button, the list's double click and Enter on the list.
  void Bind();

  void OnOpenFolder();
  void OpenRecordingFolder(const QString& folder);
  // The recording, when one is named, is opened as a double click on its line.
  void OpenFolderAndRecording(const QString& folder, const QString& recording);
  void OnRecordingDblClk();
  void OpenRecording(const QString& path);
  // The last picture stays a second before the recording stops.
  void EndRecording();
  // The window closes: what waits finds out and stops.
  void SetClosing(bool closing) { m_bClosing = closing; }

  void SetFolderBrowser(std::unique_ptr<FolderBrowser> browser) { m_pFolderBrowser = std::move(browser); }
  const RecordingList& Recordings() const { return *m_pRecordings; }
  const QString& CurrentRecording() const { return m_strCurrentRecording; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void OpenPendingRecording();
  void LoadRecording(const QString& path);
  void StartLoading(const QString& path);
  void StopAndClearTelemetry();
  void ShowTelemetryPresence(const QString& path, int refusal);
  void ReportUnplayable(const QString& path, const QString& reason);
  void RunWithHeldInput(const std::function<void()>& sequence);
  bool ActsDuringWait(QObject* target, QEvent* event) const;
  QWidget* List() const;

  QWidget* const m_window;
  const ControlMap& m_controls;
  TelemetryPresenter& m_presenter;
  PlaybackCommands& m_commands;
  QIRAAdap* m_engine = nullptr;

  std::unique_ptr<RecordingList> m_pRecordings;
  std::unique_ptr<FolderBrowser> m_pFolderBrowser = std::make_unique<FolderBrowser>();
  QString m_strCurrentRecording;
  QString m_strPendingRecording;
  // An open or an end is waiting on the window's thread.
  bool m_bBusy = false;
  bool m_bClosing = false;
};
