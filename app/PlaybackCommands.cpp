// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PlaybackCommands.h"

#include "app/MainWindowLayout.h"
#include "app/SettingsFile.h"
#include "app/SpeedLevel.h"
#include "app/TelemetryPresenter.h"
#include "controls/CImageSlider.h"
#include "engine/PlaybackValues.h"
#include "engine/QIRAAdap.h"
#include "engine/QIRAState.h"
#include "platform/Diagnostics.h"
#include "platform/WindowMessenger.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <algorithm>

namespace {

const char kSetFilePath[] = "F:\\EventMovie\\drf0_20090108_134109.mp4";
const char kRunPath1[] = "drf0_20090108_134109.mp4";
const char kRunPath2[] = "EventMovie\\drf0_20090108_134109.mp4";
const QString kHardwareDecodingKey = QStringLiteral("hardwareDecoding");

// The window's screen without its panels: what a maximised window could cover.
QRect fullScreenArea(const QWidget* window) {
  const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, layout::kWindowWidth, layout::kWindowHeight);
}

} // namespace

PlaybackCommands::PlaybackCommands(QWidget* window, const ControlMap& controls, TelemetryPresenter& presenter,
                                   std::string playerLibrary)
    : m_window(window), m_controls(controls), m_presenter(presenter), m_playerLibrary(std::move(playerLibrary)) {}

QIRAState* PlaybackCommands::State() {
  LoadPlayerLibrary();
  return m_engine->CurrentState();
}

CImageSlider* PlaybackCommands::Slider(ControlId id) const { return static_cast<CImageSlider*>(m_controls.value(id)); }

void PlaybackCommands::GiveEngineVideoRects() {
  QIRAState* state = State();
  state->SetVideoFrame(0, 5, 35, 640, 480);
  state->SetVideoPosition(0, 20, 110, 640, 480);
  state->SetVideoFrame(1, 5, 35, 640, 480);
  state->SetVideoPosition(1, 1040, 80, 640, 480);
}

void PlaybackCommands::FirstChannelSetup() { SetUpChannels(1, PlayerLoad::kLater); }

void PlaybackCommands::ChannelSetup(int channels) { SetUpChannels(channels, PlayerLoad::kNow); }

void PlaybackCommands::SetUpChannels(int channels, PlayerLoad load) {
  const QRect fullScreen = fullScreenArea(m_window);
  const QRect client = m_window->rect();
  m_engine->CurrentState()->PrintStateName();
  m_engine->SetChannels(channels);
  m_bPlayerLoadPending = true;
  if (load == PlayerLoad::kNow)
    LoadPlayerLibrary();
  if (channels != 1)
    State()->PrintStateName();
  const WindowPlace place =
      PlaceForChannels(channels, fullScreen, client, QSize(m_engine->MainWindowWidth(), m_engine->MainWindowHeight()));
  m_window->move(place.topLeft);
  m_window->setFixedSize(place.size);
}

void PlaybackCommands::LoadPlayerLibrary() {
  if (!m_bPlayerLoadPending)
    return;
  m_bPlayerLoadPending = false;
  if (m_engine->CurrentState()->OpenPlayer(m_playerLibrary.c_str()) != 0)
    platform::diagnostic("failed to load %s\n", m_playerLibrary.c_str());
  // The player decodes in hardware unless told otherwise.
  if (!HardwareDecoding())
    SendHardwareDecoding();
}

PlaybackCommands::WindowPlace PlaybackCommands::PlaceForChannels(int channels, const QRect& fullScreen,
                                                                 const QRect& client, const QSize& twoChannelSize) {
  if (channels != 1)
    return {QPoint(5, 169), twoChannelSize};
  const int right = client.left() + client.width();
  const int bottom = client.top() + client.height();
  const int x = (client.left() + fullScreen.width() - right) / 2;
  const int y = (client.top() + fullScreen.height() - bottom - 120) / 2;
  return {QPoint(fullScreen.left() + std::max(0, x), fullScreen.top() + std::max(0, y)),
          QSize(layout::kWindowWidth, layout::kWindowHeight)};
}

bool PlaybackCommands::HardwareDecoding() const {
  return QSettings(SettingsFile::Path(), QSettings::IniFormat).value(kHardwareDecodingKey, true).toBool();
}

void PlaybackCommands::SetHardwareDecoding(bool on) {
  QSettings(SettingsFile::Path(), QSettings::IniFormat).setValue(kHardwareDecodingKey, on);
  SendHardwareDecoding();
}

void PlaybackCommands::SendHardwareDecoding() {
  m_engine->SendPlayerCommand(HardwareDecoding() ? "hardware_decoding 1" : "hardware_decoding 0");
}

void PlaybackCommands::OnSmall() {
  platform::WindowMessenger::setWindowPos(m_engine->VideoWindow(1), platform::WindowPos{100, 100, 320, 240});
}

void PlaybackCommands::OnSoftKill() {
  // The library shows its stop flag once it runs; before that there is nothing to set.
  if (player::StopFlag* flag = m_engine->SoftKillFlag())
    flag->store(1);
}

void PlaybackCommands::OnUnload() {
  if (State()->ClosePlayer() == 0)
    m_engine->HandleEvent(0, player::kEventClosed);
  State()->PrintStateName();
}

void PlaybackCommands::OnSetFile() {
  m_engine->OpenRecording(kSetFilePath, kSetFilePath);
  m_presenter.SetRecordingOpen(true);
  State()->PrintStateName();
  m_presenter.ShowRecordingTrack(kSetFilePath);
}

void PlaybackCommands::OnRun() {
  m_engine->OpenRecording(kRunPath1, kRunPath2);
  State()->PrintStateName();
  m_presenter.ShowRecordingTrack(kRunPath1);
}

void PlaybackCommands::OnPlay() {
  m_presenter.SetRecordingOpen(true);
  State()->Play();
  State()->PrintStateName();
}

void PlaybackCommands::OnPause() {
  State()->Pause();
  State()->PrintStateName();
}

void PlaybackCommands::OnStop() {
  State()->Stop();
  State()->PrintStateName();
}

void PlaybackCommands::OnPos() {
  State()->SetVideoPosition(0, 100, 0, 640, 512);
  if (m_engine->Channels() == 2)
    State()->SetVideoPosition(1, 740, 0, 640, 512);
  State()->PrintStateName();
}

void PlaybackCommands::OnVolumeUp() {
  State()->SetVolume(1.0f, true);
  State()->PrintStateName();
}

void PlaybackCommands::OnVolumeDown() { State()->SetVolume(-1.0f, true); }

void PlaybackCommands::OnFaster() {
  if (g_Playback.fSpeedLevel < kFastestSpeedLevel)
    StepSpeedLevel(1.0f);
}

void PlaybackCommands::OnSlower() {
  if (g_Playback.fSpeedLevel > kSlowestSpeedLevel)
    StepSpeedLevel(-1.0f);
}

void PlaybackCommands::StepSpeedLevel(float step) { SetSpeedLevel(g_Playback.fSpeedLevel + step); }

void PlaybackCommands::SetSpeedLevel(float level) {
  g_Playback.fSpeedLevel = level;
  State()->SetSpeed(level, false);
  State()->PrintStateName();
  ShowSpeedLevel();
}

void PlaybackCommands::ResetSpeedLevel() {
  g_Playback.fSpeedLevel = kNormalSpeedLevel;
  ShowSpeedLevel();
}

void PlaybackCommands::ShowSpeedLevel() {
  static_cast<QLabel*>(m_controls.value(IDC_SPEED))
      ->setText(QString::fromLatin1(SpeedLevelText(g_Playback.fSpeedLevel)));
}

void PlaybackCommands::OnFlyAway() {
  State()->FlyAway(1);
  State()->FlyAway(2);
  State()->PrintStateName();
}

void PlaybackCommands::OnForceFlip() {
  QObject* video = m_engine->VideoWindow(1);
  platform::WindowMessenger::notify(video, player::kMsgMove, 0, 0);
  platform::WindowMessenger::notify(video, player::kMsgParentMoved, 0, 0);
}

void PlaybackCommands::OnFrameStep() { State()->FrameStep(); }

void PlaybackCommands::OnFrameBack() { State()->FrameBack(); }

void PlaybackCommands::SeekBy(float seconds) {
  State()->Seek(seconds, true);
  State()->PrintStateName();
}

void PlaybackCommands::SeekTo(int second) {
  State()->Seek(float(second), false);
  State()->PrintStateName();
}

void PlaybackCommands::OnBrightUp() {
  State()->SetBrightness(1.0f, true);
  State()->PrintStateName();
}

void PlaybackCommands::OnBrightDown() {
  State()->SetBrightness(-1.0f, true);
  State()->PrintStateName();
}

void PlaybackCommands::OnPrint() {
  if (m_engine && m_presenter.IsRecordingOpen())
    m_printer.Print(*m_window);
}

void PlaybackCommands::OnSnap() {
  if (!m_engine || !m_presenter.IsRecordingOpen())
    return;
  m_capture.CopyFrame(*m_engine);
  m_capture.CaptureFrame(m_window);
}

void PlaybackCommands::OnHScroll(CImageSlider* slider, int code) {
  const bool acts =
      code == CImageSlider::SB_PAGELEFT || code == CImageSlider::SB_PAGERIGHT || code == CImageSlider::SB_THUMBTRACK;
  if (!acts || !m_presenter.IsRecordingOpen() || !m_engine)
    return;
  const int position = slider->GetPos();
  if (slider == Slider(IDC_POSITION_SLIDER))
    OnPositionScroll(position);
  else if (slider == Slider(IDC_BRIGHTNESS_SLIDER))
    OnBrightnessScroll(position);
  else
    OnVolumeScroll(position);
}

// Every step pauses and seeks to the whole second under the thumb. Without a
// rate (0: no recording has reported its duration) there is no second to seek to.
void PlaybackCommands::OnPositionScroll(int position) {
  const int unitsPerSecond = g_Playback.nPosUnitsPerSecond.load();
  if (unitsPerSecond == 0)
    return;
  State()->Pause();
  State()->PrintStateName();
  const int seconds = position / unitsPerSecond;
  State()->Seek(float(seconds), false);
  State()->PrintStateName();
}

void PlaybackCommands::OnBrightnessScroll(int position) {
  const int delta = position - m_nLastBrightnessPos;
  m_nLastBrightnessPos = position;
  State()->SetBrightness(float(delta * 2), true);
  State()->PrintStateName();
}

// The first move counts from the start position 10.
void PlaybackCommands::OnVolumeScroll(int position) {
  const int delta = position - (m_nLastVolumePos == 0 ? 10 : m_nLastVolumePos);
  m_nLastVolumePos = position;
  State()->SetVolume(float(delta) * 10.0f, true);
  State()->PrintStateName();
}

void PlaybackCommands::StepVolumeSlider(int step) {
  CImageSlider* slider = Slider(IDC_VOLUME_SLIDER);
  slider->SetPos(slider->GetPos() + step);
  OnHScroll(slider, CImageSlider::SB_THUMBTRACK);
}
