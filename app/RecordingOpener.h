// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CameraClockCheck.h"
#include "app/HeldInput.h"
#include "app/PlayOn.h"
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
  // Opens a recording of the card and, once it plays, seeks to `second`.
  void OpenRecordingAt(const QString& path, int second);
  // The card overview of the listed folder's card, in a window of its own; a
  // click on a track or a pin opens that recording at that second.
  void ShowCardOverview();
  // A notification came: steps waiting for the recording to play run now.
  void OnNotified();
  // The last picture stays a second before the recording stops.
  void EndRecording();
  // The window closes: what waits is dropped; shown again, it opens anew.
  void Close();
  void Reopen() { m_bClosing = false; }
  // An open or an end waits on the window's thread.
  bool IsBusy() const { return m_nSequences > 0; }

  void SetFolderBrowser(std::unique_ptr<FolderBrowser> browser) { m_pFolderBrowser = std::move(browser); }
  const RecordingList& Recordings() const { return *m_pRecordings; }
  const QString& CurrentRecording() const { return m_strCurrentRecording; }
  // The folder the list shows.
  const QString& ListedFolder() const { return m_strListedFolder; }
  PlayOn& PlayOnSetting() { return m_playOn; }
  // The listed card's camera clock against its GPS time.
  const CameraClockCheck& ClockCheck() const { return m_clockCheck; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void OpenPendingRecording();
  void LoadNextPending();
  void LoadRecording(const QString& path);
  void OfferRepair(const QString& path);
  void StartLoading(const QString& path);
  // The next recording of the drive, opened at once with the speed level kept.
  void PlayOnInto(const QString& next);
  void SelectLine(const QString& path);
  // Runs `step` once the recording just opened plays with a known rate.
  void AfterItPlays(std::function<void()> step);
  // Stops the open recording; after a second clears its display and runs `then`.
  void StopAndClearTelemetry(const std::function<void()>& then);
  void ShowTelemetryPresence(const QString& path, int refusal);
  void ReportUnplayable(const QString& path, const QString& reason);
  void BeginSequence();
  void FinishSequence();
  bool ActsDuringWait(QObject* target, QEvent* event) const;
  QWidget* List() const;

  QWidget* const m_window;
  const ControlMap& m_controls;
  TelemetryPresenter& m_presenter;
  PlaybackCommands& m_commands;
  QIRAAdap* m_engine = nullptr;

  std::unique_ptr<RecordingList> m_pRecordings;
  std::unique_ptr<FolderBrowser> m_pFolderBrowser = std::make_unique<FolderBrowser>();
  QString m_strListedFolder;
  QString m_strCurrentRecording;
  PlayOn m_playOn;
  CameraClockCheck m_clockCheck;
  std::function<void()> m_afterItPlays;
  bool m_bPassingOldEnds = false;
  QString m_strPendingRecording;
  // Opens and ends waiting on the window's thread, and the input held meanwhile.
  int m_nSequences = 0;
  std::unique_ptr<HeldInput> m_pHeld;
  bool m_bClosing = false;
};
