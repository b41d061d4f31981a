// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TelemetryPresenter.h"

#include "app/CSkinSurfaces.h"
#include "display/EventMarks.h"
#include "display/PlayTimes.h"
#include "engine/PlaybackValues.h"
#include "engine/QIRAAdap.h"
#include "library/EventNoteReader.h"
#include "platform/WindowMessenger.h"
#include "telemetry/Track.h"
#include "telemetry/UserDataFile.h"

#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <thread>

TelemetryPresenter::TelemetryPresenter(QWidget* window, CSkinSurfaces& skin, const ControlMap& controls)
    : m_window(window), m_skin(skin), m_controls(controls),
      m_pDisplay(std::make_unique<TelemetryDisplay>(DisplayPictures())) {
  ApplyDrivingSettings();
}

TelemetryPresenter::~TelemetryPresenter() = default;

TelemetryDisplay::Pictures TelemetryPresenter::DisplayPictures() const {
  TelemetryDisplay::Pictures pictures{m_skin.Background(),  m_skin.Decoration(0), m_skin.Decoration(1),
                                      m_skin.Decoration(2), m_skin.Mark(1),       {},
                                      m_skin.DigitDash()};
  for (int digit = 0; digit < CSkinSurfaces::kDigitCount; ++digit)
    pictures.digits[digit] = m_skin.Digit(digit);
  return pictures;
}

QImage& TelemetryPresenter::Canvas() { return m_skin.Canvas(); }

void TelemetryPresenter::Invalidate(const QRect& rect) { m_window->update(rect); }

QLabel* TelemetryPresenter::Label(ControlId id) const { return static_cast<QLabel*>(m_controls.value(id)); }

// Notifications met while the end of a recording is waited for come after it
// in effect: the recording is closed by then.
bool TelemetryPresenter::OnPlayerNotify(uintptr_t length, intptr_t position) {
  if (!m_bRecordingOpen || !m_engine || m_bEnding)
    return false;
  std::this_thread::yield();
  StepSlider(position);
  QIRAAdap::GpsSentence sentence{};
  QIRAAdap::GSensor sensor{};
  // A recording without telemetry leaves the last one's values in the buffers.
  const bool failed = m_engine->UserDataFailed();
  const bool telemetry = !failed && m_engine->ReadTelemetry(sentence, sensor);
  m_gpsFields.Clear();
  if (telemetry && m_gpsFields.ParseSentence(sentence.data(), sentence.size()))
    ShowGpsPart();
  const SensorTriple values{sensor[0], sensor[1], sensor[2]};
  if (!failed)
    Invalidate(m_pDisplay->StepGraph(Canvas(), telemetry ? &values : nullptr));
  if (DrawTimelineMarks())
    Invalidate(TelemetryDisplay::kTimelineRect);
  ShowPlayTimes();
  m_pDisplay->CountSample();
  return length == uintptr_t(position);
}

void TelemetryPresenter::StepSlider(intptr_t position) {
  QWidget* slider = m_controls.value(IDC_POSITION_SLIDER);
  platform::WindowMessenger::send(slider, platform::kMsgTbmSetPos, 1, position);
}

void TelemetryPresenter::ShowGpsPart() {
  m_map.PositionStep(m_gpsFields.Latitude(), m_gpsFields.Longitude(), g_Playback.fSpeedLevel);
  if (m_pDisplay->DrawSpeed(Canvas(), m_gpsFields.SpeedKmh()))
    Invalidate(TelemetryDisplay::kSpeedRect);
  SetLabelText(IDC_COURSE, QString::number(m_gpsFields.Course()));
  if (m_pDisplay->DrawCompass(Canvas(), m_gpsFields.Course()))
    Invalidate(TelemetryDisplay::kCompassRect);
}

bool TelemetryPresenter::DrawEventMarks() {
  const int duration = m_engine->DurationSeconds();
  return m_bRecordingOpen && duration > 0 && m_bEventNotesPresent && m_pDisplay->DrawEventMarks(Canvas(), duration);
}

// Marks are put on the timeline once per clearing: true when any were.
bool TelemetryPresenter::DrawTimelineMarks() {
  const int duration = m_engine->DurationSeconds();
  bool drawn = DrawEventMarks();
  if (duration > 0) {
    drawn = m_pDisplay->DrawHarshMarks(Canvas(), duration) || drawn;
    drawn = m_pDisplay->Clip().Draw(Canvas(), duration) || drawn;
  }
  return drawn;
}

void TelemetryPresenter::ShowPlayTimes() {
  const int duration = m_engine->DurationSeconds();
  if (!m_bRecordingOpen || duration <= 0)
    return;
  SetLabelText(IDC_PLAYED_TIME, PlayTimeText(m_engine->PlayedSeconds()));
  SetLabelText(IDC_TOTAL_TIME, PlayTimeText(duration));
}

// A label repaints on every text it is given, the same one too.
void TelemetryPresenter::SetLabelText(ControlId id, const QString& text) {
  QLabel* label = Label(id);
  if (label->text() != text)
    label->setText(text);
}

void TelemetryPresenter::ClearRecordingDisplay() {
  m_pDisplay->ClearGraphAndTimeline(Canvas());
  Invalidate(TelemetryDisplay::kGraphRect);
  Invalidate(TelemetryDisplay::kTimelineRect);
  StepSlider(0);
}

void TelemetryPresenter::ShowNoTelemetry() {
  m_pDisplay->DrawNoTelemetry(Canvas());
  Label(IDC_COURSE)->clear();
  Invalidate(TelemetryDisplay::kSpeedRect);
  Invalidate(TelemetryDisplay::kCompassRect);
  Invalidate(TelemetryDisplay::kGraphRect);
}

void TelemetryPresenter::SetEventNotes(const QStringList& lines, const char* baseTime) {
  m_listEventNotes = lines;
  m_bEventNotesPresent = !lines.isEmpty();
  std::snprintf(g_Playback.szEventTime, sizeof g_Playback.szEventTime, "%s", baseTime);
  m_pDisplay->SetEventNotes(EventNoteLines(), g_Playback.szEventTime);
}

void TelemetryPresenter::ReadEventNotes(const QString& recording) {
  m_listEventNotes.clear();
  m_bEventNotesPresent = EventNoteReader::Read(recording, m_listEventNotes);
  m_pDisplay->SetEventNotes(EventNoteLines(), g_Playback.szEventTime);
}

void TelemetryPresenter::ForgetRecording() {
  m_listEventNotes.clear();
  m_bEventNotesPresent = false;
  m_pDisplay->Clip().Set(std::nullopt, std::nullopt);
}

void TelemetryPresenter::MarkClipIn() {
  if (!m_bRecordingOpen)
    return;
  const double at = m_engine->PlayTime();
  const std::optional<double> out = ClipOut();
  SetClipMarks(at, out && *out > at ? out : std::nullopt);
}

void TelemetryPresenter::MarkClipOut() {
  if (!m_bRecordingOpen)
    return;
  const double at = m_engine->PlayTime();
  const std::optional<double> in = ClipIn();
  SetClipMarks(in && *in < at ? in : std::nullopt, at);
}

// Marks are drawn once per clearing: the timeline is cleared and every mark drawn anew.
void TelemetryPresenter::SetClipMarks(std::optional<double> in, std::optional<double> out) {
  m_pDisplay->Clip().Set(in, out);
  m_pDisplay->ClearTimeline(Canvas());
  DrawTimelineMarks();
  Invalidate(TelemetryDisplay::kTimelineRect);
}

int TelemetryPresenter::DurationSeconds() const { return m_engine ? m_engine->DurationSeconds() : 0; }

std::optional<int> TelemetryPresenter::NearestEvent() const {
  const std::vector<int> offsets = EventOffsets();
  if (!m_bEventNotesPresent || offsets.empty())
    return std::nullopt;
  const double at = m_engine->PlayTime();
  return *std::min_element(offsets.begin(), offsets.end(),
                           [at](int a, int b) { return std::abs(a - at) < std::abs(b - at); });
}

std::vector<int> TelemetryPresenter::EventOffsets() const {
  return EventMarks::Offsets(EventNoteLines(), g_Playback.szEventTime);
}

std::vector<std::string> TelemetryPresenter::EventNoteLines() const {
  std::vector<std::string> lines;
  lines.reserve(size_t(m_listEventNotes.size()));
  for (const QString& line : m_listEventNotes)
    lines.push_back(line.toStdString());
  return lines;
}

void TelemetryPresenter::StartMapView() {
  if (!m_map.IsStarted())
    m_map.StartUp(m_controls.value(IDC_MAP));
}

void TelemetryPresenter::ShowRecordingTrack(const std::string& path, const std::vector<int>& eventOffsets) {
  m_strTrackPath = path;
  m_eventOffsets = eventOffsets;
  UserDataFile telemetry;
  std::vector<Track::Point> points;
  if (telemetry.Load(path) == 0) {
    telemetry.SetPositionCount(0);
    points = Track::FromRecording(telemetry);
  }
  const std::vector<HarshMomentDetector::Moment> moments = m_settings.HarshMomentsOf(path);
  m_pDisplay->SetHarshMoments(moments);
  m_map.ShowTrack(points, eventOffsets, moments);
}

void TelemetryPresenter::ApplyDrivingSettings() {
  m_pDisplay->SetSpeedUnit(m_settings.unit);
  m_pDisplay->DrawSpeedUnit(Canvas());
  Invalidate(TelemetryDisplay::kSpeedUnitRect);
  m_map.SetSpeedUnit(m_settings.unit);
  if (!m_strTrackPath.empty())
    ShowRecordingTrack(m_strTrackPath, m_eventOffsets);
}

bool TelemetryPresenter::ShowHarshMomentTip(const QHelpEvent& event) const {
  const std::optional<HarshMarks::Moment> moment = m_pDisplay->HarshMomentAt(event.pos(), DurationSeconds());
  if (moment)
    QToolTip::showText(event.globalPos(), HarshMarks::Describe(*moment), m_window);
  return moment.has_value();
}
