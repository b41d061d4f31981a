// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CSkinSurfaces.h"
#include "app/ControlId.h"
#include "dialogs/CProgramInfo.h"
#include "map/CMapView.h"
#include "platform/Connection.h"

#include <QDialog>
#include <QHash>
#include <QIcon>
#include <QPoint>
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

  // Draws the whole GPS track of the recording the engine holds, with pins at
  // the event offsets (seconds from its start); an unreadable one clears it.
  void ShowRecordingTrack(const std::vector<int>& eventOffsets = {});
  CMapView& Map() { return m_map; }

protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
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
  void OnSysCommand(int command);
  void OnHScroll(CImageSlider* slider, int code);
  void OnPositionScroll(int position);
  void OnBrightnessScroll(int position);
  void OnVolumeScroll(int position);
  void StepSpeedLevel(float step);
  void OnPlayerNotify(uintptr_t length, intptr_t position);
  void StartMapView();
  void MapPositionStep();
  void OnOK();
  void OnCancel();

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
  CMapView m_map{platform::isConnected};

  // Dragging by the background where the platform cannot move the window.
  bool m_bDragging = false;
  QPoint m_dragAnchor;
};
