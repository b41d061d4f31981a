// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/WindowBuilder.h"
#include "output/FrameCapture.h"
#include "output/WindowPrinter.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <string>

class CImageSlider;
class QIRAAdap;
class QIRAState;
class QWidget;
class TelemetryPresenter;

// The buttons', sliders' and keys' playback commands: each asks the engine's
// current state and names the state afterwards, as the engine's log expects.
class PlaybackCommands {
public:
  // Where the window goes for a channel count.
  struct WindowPlace {
    QPoint topLeft;
    QSize size;
  };

  PlaybackCommands(QWidget* window, const ControlMap& controls, TelemetryPresenter& presenter,
                   std::string playerLibrary);

  void SetEngine(QIRAAdap* engine) { m_engine = engine; }
  // The engine's current state, with the player library loaded first when
  // set-up left it for later.
  QIRAState* State();

  // Set-up: the video rectangles, and the window placed for one channel. The
  // player library, whose libraries weigh more than the whole window, is
  // left for after the window's first paint (LoadPlayerLibrary), or for the
  // first command that needs it, whichever comes first.
  void GiveEngineVideoRects();
  void FirstChannelSetup();
  void LoadPlayerLibrary();
  // The channel buttons: the window placed with the library loaded at once.
  void ChannelSetup(int channels);
  // One channel: the client area centred in the full-screen area, 60 pixels
  // up, at the skin's size (kept on the screen). Two channels: the
  // developer's place at the size stored at set-up.
  static WindowPlace PlaceForChannels(int channels, const QRect& fullScreen, const QRect& client,
                                      const QSize& twoChannelSize);

  void OnSmall();
  void OnSoftKill();
  void OnUnload();
  void OnSetFile();
  void OnPlay();
  void OnPause();
  void OnStop();
  void OnPos();
  void OnVolumeUp();
  void OnVolumeDown();
  void OnForwardSeek() { SeekBy(2.0f); }
  void OnBackwardSeek() { SeekBy(-2.0f); }
  void OnFaster();
  void OnSlower();
  void OnFlyAway();
  void OnForceFlip();
  void OnFrameStep();
  void OnFrameBack();
  void OnRun();
  void OnBrightUp();
  void OnBrightDown();
  void OnPrint();
  void OnSnap();
  void OnHScroll(CImageSlider* slider, int code);
  void SeekBy(float seconds);
  // To a second from the recording's start.
  void SeekTo(int second);
  void SetSpeedLevel(float level);
  // The key moves the thumb a notch and acts as the thumb's drag would.
  void StepVolumeSlider(int step);
  // The player decodes in hardware where the machine can (on by default);
  // kept between runs and told to the player whenever it is loaded.
  bool HardwareDecoding() const;
  void SetHardwareDecoding(bool on);
  // A freshly opened recording plays at x1.
  void ResetSpeedLevel();

  int LastBrightnessPos() const { return m_nLastBrightnessPos; }
  int LastVolumePos() const { return m_nLastVolumePos; }
  // Printing, whose dialog tests replace to print to a file.
  WindowPrinter& Printer() { return m_printer; }

private:
  enum class PlayerLoad { kNow, kLater };

  void SetUpChannels(int channels, PlayerLoad load);
  void StepSpeedLevel(float step);
  void ShowSpeedLevel();
  void SendHardwareDecoding();
  void OnPositionScroll(int position);
  void OnBrightnessScroll(int position);
  void OnVolumeScroll(int position);
  CImageSlider* Slider(ControlId id) const;

  QWidget* const m_window;
  const ControlMap& m_controls;
  TelemetryPresenter& m_presenter;
  const std::string m_playerLibrary;
  QIRAAdap* m_engine = nullptr;
  bool m_bPlayerLoadPending = false;
  int m_nLastBrightnessPos = 0;
  int m_nLastVolumePos = 0;
  FrameCapture m_capture;
  WindowPrinter m_printer;
};
