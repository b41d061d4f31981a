// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CSkinSurfaces.h"
#include "app/ControlId.h"
#include "dialogs/CDlgTimeSet.h"
#include "dialogs/CProgramInfo.h"
#include "display/TelemetryDisplay.h"
#include "library/FolderBrowser.h"
#include "library/RecordingList.h"
#include "map/CMapView.h"
#include "output/FrameCapture.h"
#include "output/TrackExporter.h"
#include "output/WindowPrinter.h"
#include "platform/Connection.h"
#include "telemetry/RmcFields.h"

#include <QDialog>
#include <QHash>
#include <QIcon>
#include <QPoint>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CBitmapButton;
class CImageSlider;
class CSkinLabel;
class QAbstractButton;
class QIRAAdap;
class QIRAState;
class QListWidget;
class QMenu;
namespace layout {
enum class ControlKind;
}

// The program's one window: a frameless, fixed-size skinned dialog that owns
// the playback engine's notification end, binds every control to its
// handler and keeps the canvas that is its picture.
class CQIRA02Dlg : public QDialog {
  Q_OBJECT

public:
  // The library is loaded by the window's channel set-up; tests give the
  // scripted stand-in's name instead of the player's.
  explicit CQIRA02Dlg(QWidget* parent = nullptr, std::string playerLibrary = "mplayer.dll");
  ~CQIRA02Dlg() override;

  QWidget* GetDlgItem(ControlId id) const { return m_controls.value(id); }
  // Null until the window's set-up created it; never deleted by the window.
  QIRAAdap* Adapter() const { return m_pAdap; }
  bool IsRecordingOpen() const { return m_bRecordingOpen; }
  // Whether the player library's entry still runs a recording.
  bool IsPlayerRunning() const;
  int LastBrightnessPos() const { return m_nLastBrightnessPos; }
  int LastVolumePos() const { return m_nLastVolumePos; }

  // The window's persistent picture. Draw on it, then invalidate the changed
  // rectangle; painting only copies it to the screen.
  QImage& Canvas() { return m_skin.Canvas(); }
  const CSkinSurfaces& Skin() const { return m_skin; }
  void InvalidateRect(const QRect& rect) { update(rect); }

  // The background's menu, standing in for the system menu of a framed window.
  QMenu* SystemMenu() const { return m_pSystemMenu; }

  static constexpr int kAboutCommand = 16;

  // Telemetry display.
  const TelemetryDisplay& Display() const { return *m_pDisplay; }
  // The GPS fields of the last notification with a "$GPRMC" sentence.
  const RmcFields& GpsFields() const { return m_gpsFields; }
  // The event notes' "Date :" lines of the open recording and its base time
  // "hhmmss"; no notes for a normal recording.
  void SetEventNotes(const QStringList& lines, const char* baseTime);
  // Printing, whose dialog tests replace to print to a file.
  WindowPrinter& Printer() { return m_printer; }
  // The background menu's GPS track export, whose save dialog tests replace.
  TrackExporter& TrackExport() { return m_trackExporter; }
  // Recording library: a folder listed as if chosen in the folder browser
  // (the command line's folder), the browser itself (tests script it), and
  // what the last double click opened.
  void SetStartFolder(const QString& folder) { m_strStartFolder = folder; }
  // A recording of the start folder, opened as if double-clicked.
  void SetStartRecording(const QString& path) { m_strStartRecording = path; }
  void OpenRecordingFolder(const QString& folder);
  void SetFolderBrowser(std::unique_ptr<FolderBrowser> browser) { m_pFolderBrowser = std::move(browser); }
  const RecordingList& Recordings() const { return *m_pRecordings; }
  const QString& CurrentRecording() const { return m_strCurrentRecording; }
  const QStringList& EventNotes() const { return m_listEventNotes; }
  bool EventNotesPresent() const { return m_bEventNotesPresent; }
  // Draws the whole GPS track of the recording the engine holds, with pins at
  // the event offsets (seconds from its start); an unreadable one clears it.
  void ShowRecordingTrack(const std::string& path, const std::vector<int>& eventOffsets = {});
  CMapView& Map() { return m_map; }

protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void done(int result) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

private:
  // Creation: the template's controls and the skin surfaces.
  void CreateControls();
  QWidget* CreateControl(ControlId id, layout::ControlKind kind, const char* text);
  void CreateSystemMenu();
  // Set-up, run once when the window is first shown.
  void OnInitDialog();
  void CreateEngine();
  void ResetPlaybackState();
  void GiveEngineVideoRects();
  void ApplySkin();
  void MoveToRuntimeLayout();
  void CreateTooltips();
  void SetControlColours();

  // Command map.
  void BindCommandMap();
  void OnClicked(ControlId id, void (CQIRA02Dlg::*handler)());
  QIRAState* State() const;
  void ChannelSetup(int channels);
  void PlaceForChannels(int channels, const QRect& fullScreen, const QRect& client);
  void OnSmall();
  void OnSoftKill();
  void OnUnload();
  void OnChannel2();
  void OnSetFile();
  void OnPlay();
  void OnPause();
  void OnStop();
  void OnPos();
  void OnVolumeUp();
  void OnForwardSeek();
  void OnFaster();
  void OnFlyAway();
  void OnForceFlip();
  void OnFrameStep();
  void OnRun();
  void OnVolumeDown();
  void OnChannel1();
  void OnSlower();
  void OnBackwardSeek();
  void OnExit();
  void OnInfo();
  void OnBrightUp();
  void OnBrightDown();
  void OnPrint();
  void OnSnap();
  void OnTimeSet();
  void OnSysCommand(int command);
  void OnHScroll(CImageSlider* slider, int code);
  void OnPositionScroll(int position);
  void OnBrightnessScroll(int position);
  void OnVolumeScroll(int position);
  void StepSpeedLevel(float step);
  void OnPlayerNotify(uintptr_t length, intptr_t position);
  // Keyboard and drops: the same engine calls as the buttons and the folder browser.
  void BindKeysAndDrops();
  void SeekBy(float seconds);
  void OnFrameBack();
  void StepVolumeSlider(int step);
  void OpenFolderAndRecording(const QString& folder, const QString& recording);
  TelemetryDisplay::Pictures DisplayPictures() const;
  void ShowGpsPart();
  void MapPositionStep();
  void DrawEventMarks();
  std::vector<std::string> EventNoteLines() const;
  void ShowPlayTimes();
  void EndRecording();
  void StopAndClearTelemetry();
  void StartMapView();
  void OnOK();
  void OnCancel();

  // Recording library.
  void BindRecordingLibrary();
  void OnOpenFolder();
  void OnRecordingDblClk();
  void OpenRecording(const QString& path);
  void OpenPendingRecording();
  void LoadRecording(const QString& path);
  void ShowTelemetryPresence(const QString& path, int refusal);
  void ReportUnplayable(const QString& path, const QString& reason);
  void ReadEventNotes();
  // Runs a sequence that waits on the window's thread with the user's input
  // held back, except what ActsDuringWait lets through.
  void RunWithHeldInput(const std::function<void()>& sequence);
  bool ActsDuringWait(QObject* target, QEvent* event) const;

  CImageSlider* Slider(ControlId id) const;

  QIRAAdap* m_pAdap = nullptr;
  bool m_bRecordingOpen = false;
  int m_nLastBrightnessPos = 0;
  int m_nLastVolumePos = 0;
  bool m_bInitialised = false;
  std::string m_playerLibrary;

  QHash<int, QWidget*> m_controls;
  CSkinSurfaces m_skin;
  QIcon m_hIcon;
  QMenu* m_pSystemMenu = nullptr;
  CProgramInfo m_dlgProgramInfo;
  CDlgTimeSet m_dlgTimeSet;
  FrameCapture m_capture;
  WindowPrinter m_printer;
  TrackExporter m_trackExporter;

  std::unique_ptr<TelemetryDisplay> m_pDisplay;
  RmcFields m_gpsFields;
  bool m_bEndingRecording = false;
  // An open or an end is waiting on the window's thread.
  bool m_bBusy = false;
  bool m_bClosing = false;
  QString m_strPendingRecording;

  std::unique_ptr<RecordingList> m_pRecordings;
  std::unique_ptr<FolderBrowser> m_pFolderBrowser = std::make_unique<FolderBrowser>();
  QString m_strRecordingFolder;
  QString m_strStartFolder;
  QString m_strStartRecording;
  QString m_strCurrentRecording;
  QStringList m_listEventNotes;
  bool m_bEventNotesPresent = false;
  CMapView m_map{platform::isConnected};

  // Dragging by the background where the platform cannot move the window.
  bool m_bDragging = false;
  QPoint m_dragAnchor;
};
