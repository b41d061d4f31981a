// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CSkinSurfaces.h"
#include "app/ClipSaver.h"
#include "app/ControlId.h"
#include "app/FontWarmUp.h"
#include "app/PlaybackCommands.h"
#include "app/RecordingOpener.h"
#include "app/TelemetryPresenter.h"
#include "app/WindowBuilder.h"
#include "output/TrackExporter.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CDlgTimeSet;
class CProgramInfo;
class QIRAAdap;
class QMenu;

// The program's one window: a frameless, fixed-size skinned dialog that owns
// the playback engine's notification end and its canvas, and binds every
// control, key and message to the class that acts on it.
class CQIRA02Dlg : public QDialog {
  Q_OBJECT

public:
  // The library is loaded by the window's channel set-up; tests give the
  // scripted stand-in's name instead of the player's.
  explicit CQIRA02Dlg(QWidget* parent = nullptr, std::string playerLibrary = "mplayer.dll");
  ~CQIRA02Dlg() override;

  QWidget* GetDlgItem(ControlId id) const { return m_controls.value(id); }
  // Null until the window's set-up created it; it goes with the window.
  QIRAAdap* Adapter() const { return m_pAdap.get(); }
  bool IsRecordingOpen() const { return m_pPresenter->IsRecordingOpen(); }
  // Whether an open or the end of a recording waits on the window's thread.
  bool IsWaiting() const { return m_pOpener->IsBusy(); }
  // Whether the player library's entry still runs a recording.
  bool IsPlayerRunning() const;
  // Set-up is done, its steps after the first paint included.
  bool HasFinishedStartUp() const { return m_bStartUpFinished; }
  int LastBrightnessPos() const { return m_pCommands->LastBrightnessPos(); }
  int LastVolumePos() const { return m_pCommands->LastVolumePos(); }

  // The window's persistent picture. Draw on it, then invalidate the changed
  // rectangle; painting only copies it to the screen.
  QImage& Canvas() { return m_skin.Canvas(); }
  const CSkinSurfaces& Skin() const { return m_skin; }
  void InvalidateRect(const QRect& rect) { update(rect); }

  // The background's menu, standing in for the system menu of a framed window.
  QMenu* SystemMenu() const { return m_pSystemMenu; }

  static constexpr int kAboutCommand = 16;

  const TelemetryDisplay& Display() const { return m_pPresenter->Display(); }
  const RmcFields& GpsFields() const { return m_pPresenter->GpsFields(); }
  void SetEventNotes(const QStringList& lines, const char* baseTime) { m_pPresenter->SetEventNotes(lines, baseTime); }
  WindowPrinter& Printer() { return m_pCommands->Printer(); }
  // The background menu's GPS track export, whose save dialog tests replace.
  TrackExporter& TrackExport() { return m_trackExporter; }
  // A folder listed as if chosen in the folder browser (the command line's
  // folder), and a recording of it opened as if double-clicked.
  void SetStartFolder(const QString& folder) { m_strStartFolder = folder; }
  void SetStartRecording(const QString& path) { m_strStartRecording = path; }
  void OpenRecordingFolder(const QString& folder) { m_pOpener->OpenRecordingFolder(folder); }
  void SetFolderBrowser(std::unique_ptr<FolderBrowser> browser) { m_pOpener->SetFolderBrowser(std::move(browser)); }
  const RecordingList& Recordings() const { return m_pOpener->Recordings(); }
  const QString& CurrentRecording() const { return m_pOpener->CurrentRecording(); }
  const QStringList& EventNotes() const { return m_pPresenter->EventNotes(); }
  bool EventNotesPresent() const { return m_pPresenter->EventNotesPresent(); }
  void ShowRecordingTrack(const std::string& path, const std::vector<int>& eventOffsets = {}) {
    m_pPresenter->ShowRecordingTrack(path, eventOffsets);
  }
  CMapView& Map() { return m_pPresenter->Map(); }

protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void done(int result) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

private:
  void CreateSystemMenu();
  // Set-up, run once when the window is first shown.
  void OnInitDialog();
  void AfterFirstPaint();
  void CreateEngine();
  void BindCommandMap();
  void BindKeysAndDrops();
  void OnClicked(ControlId id, void (PlaybackCommands::*command)());
  void OnClickedDo(ControlId id, const std::function<void()>& action);
  void OnExit();
  void OnInfo();
  void OnTimeSet();
  void OnSysCommand(int command);
  // Made at their first showing: the first picture does not wait for them.
  CProgramInfo& ProgramInfoDialog();
  CDlgTimeSet& TimeSetDialog();

  std::string m_playerLibrary;
  std::unique_ptr<QIRAAdap> m_pAdap;
  bool m_bInitialised = false;
  bool m_bFirstPainted = false;
  bool m_bStartUpFinished = false;

  FontWarmUp m_fontWarmUp;
  ControlMap m_controls;
  CSkinSurfaces m_skin;
  QMenu* m_pSystemMenu = nullptr;
  std::unique_ptr<CProgramInfo> m_pDlgProgramInfo;
  std::unique_ptr<CDlgTimeSet> m_pDlgTimeSet;
  QString m_strKeyHelp;
  TrackExporter m_trackExporter;
  std::unique_ptr<TelemetryPresenter> m_pPresenter;
  std::unique_ptr<PlaybackCommands> m_pCommands;
  std::unique_ptr<RecordingOpener> m_pOpener;
  std::unique_ptr<ClipSaver> m_pClipSaver;
  QString m_strStartFolder;
  QString m_strStartRecording;
};
