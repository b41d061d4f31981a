// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ControlId.h"
#include "app/DrivingSettings.h"
#include "app/WindowBuilder.h"
#include "display/TelemetryDisplay.h"
#include "map/CMapView.h"
#include "platform/Connection.h"
#include "telemetry/RmcFields.h"

#include <QStringList>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CSkinSurfaces;
class QIRAAdap;
class QHelpEvent;
class QLabel;
class QWidget;

// Shows the playing recording: each notification steps the position slider,
// the speed, compass, graph, event marks, play times and the map's marker on
// the window's canvas, repainting only what changed. It owns the decoded GPS
// fields, the event notes and the display.
class TelemetryPresenter {
public:
  TelemetryPresenter(QWidget* window, CSkinSurfaces& skin, const ControlMap& controls);
  ~TelemetryPresenter();

  void SetEngine(QIRAAdap* engine) { m_engine = engine; }

  // Whether a recording is open: notifications step the display only then,
  // and not while the end of the recording waits.
  bool IsRecordingOpen() const { return m_bRecordingOpen; }
  void SetRecordingOpen(bool open) { m_bRecordingOpen = open; }
  bool IsEnding() const { return m_bEnding; }
  void SetEnding(bool ending) { m_bEnding = ending; }

  // One step of the playing recording; true when it reached the recording's length.
  bool OnPlayerNotify(uintptr_t length, intptr_t position);
  // The graph and timeline cleared and the slider at its start; the graph's
  // sweep is kept, so the next recording continues where it stood.
  void ClearRecordingDisplay();
  // Panels that say the recording has no telemetry.
  void ShowNoTelemetry();

  // The event notes' "Date :" lines of the open recording and its base time
  // "hhmmss"; no notes for a normal recording.
  void SetEventNotes(const QStringList& lines, const char* baseTime);
  void ReadEventNotes(const QString& recording);
  // Another recording opens: its notes and the clip's marks go.
  void ForgetRecording();
  const QStringList& EventNotes() const { return m_listEventNotes; }
  bool EventNotesPresent() const { return m_bEventNotesPresent; }
  // The notes as seconds from the recording's start.
  std::vector<int> EventOffsets() const;

  // The map's page loads after the window's first paint: the web engine's
  // start must not hold up the window.
  void StartMapView();
  // The whole GPS track of a recording, with pins at the event offsets; an
  // unreadable one clears it.
  void ShowRecordingTrack(const std::string& path, const std::vector<int>& eventOffsets = {});
  CMapView& Map() { return m_map; }

  // The clip's in and out marks, set at the current picture; a mark set past
  // the other one clears that one.
  void MarkClipIn();
  void MarkClipOut();
  std::optional<double> ClipIn() const { return m_pDisplay->Clip().In(); }
  std::optional<double> ClipOut() const { return m_pDisplay->Clip().Out(); }
  // The camera's event nearest the current picture, in seconds from the start.
  std::optional<int> NearestEvent() const;
  int DurationSeconds() const;

  // The driver's settings: speed unit, harsh-moment thresholds, a camera
  // facing backwards. Applied again after a change: the unit everywhere a
  // speed shows, and the open recording's harsh moments found anew.
  DrivingSettings& Settings() { return m_settings; }
  void ApplyDrivingSettings();
  // The kind and peak of the harsh moment under the pointer as its tooltip;
  // false off them.
  bool ShowHarshMomentTip(const QHelpEvent& event) const;

  const TelemetryDisplay& Display() const { return *m_pDisplay; }
  // The GPS fields of the last notification with a "$GPRMC" sentence.
  const RmcFields& GpsFields() const { return m_gpsFields; }

private:
  TelemetryDisplay::Pictures DisplayPictures() const;
  void StepSlider(intptr_t position);
  void ShowGpsPart();
  bool DrawEventMarks();
  bool DrawTimelineMarks();
  std::vector<std::string> EventNoteLines() const;
  void ShowPlayTimes();
  void SetClipMarks(std::optional<double> in, std::optional<double> out);
  QImage& Canvas();
  void Invalidate(const QRect& rect);
  QLabel* Label(ControlId id) const;
  void SetLabelText(ControlId id, const QString& text);

  QWidget* const m_window;
  CSkinSurfaces& m_skin;
  const ControlMap& m_controls;
  QIRAAdap* m_engine = nullptr;

  std::unique_ptr<TelemetryDisplay> m_pDisplay;
  RmcFields m_gpsFields;
  QStringList m_listEventNotes;
  bool m_bEventNotesPresent = false;
  bool m_bRecordingOpen = false;
  bool m_bEnding = false;
  CMapView m_map{platform::isConnected};
  DrivingSettings m_settings = DrivingSettings::Load();
  std::string m_strTrackPath;
  std::vector<int> m_eventOffsets;
};
