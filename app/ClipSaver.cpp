// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ClipSaver.h"

#include "app/ClipSaveDialog.h"
#include "app/MediaModule.h"
#include "app/ProgressRun.h"
#include "app/RecordingOpener.h"
#include "app/SettingsFile.h"
#include "app/TelemetryPresenter.h"
#include "platform/Diagnostics.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>

namespace {

const QString kClipFolderKey = QStringLiteral("clipFolder");

std::string local(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString fromLocal(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

} // namespace

ClipSaver::ClipSaver(QWidget* window, TelemetryPresenter& presenter, RecordingOpener& opener)
    : m_window(window), m_presenter(presenter), m_opener(opener) {}

bool ClipSaver::RecordingOpen() const {
  if (m_presenter.IsRecordingOpen() && !m_opener.CurrentRecording().isEmpty())
    return true;
  Tell(QStringLiteral("Open a recording first."));
  return false;
}

void ClipSaver::Tell(const QString& text) const {
  QMessageBox(QMessageBox::Information, QStringLiteral("Lumenark"), text, QMessageBox::Ok, m_window).exec();
}

void ClipSaver::SaveMarked() {
  if (!RecordingOpen())
    return;
  const std::optional<double> in = m_presenter.ClipIn();
  const std::optional<double> out = m_presenter.ClipOut();
  if (!in || !out) {
    Tell(QStringLiteral("Set the clip's in mark (I) and out mark (O) first."));
    return;
  }
  Save({m_opener.CurrentRecording()}, *in, *out);
}

void ClipSaver::SaveEvent() {
  if (!RecordingOpen())
    return;
  const std::optional<int> event = m_presenter.NearestEvent();
  if (!event) {
    Tell(QStringLiteral("This recording has no event of the camera's."));
    return;
  }
  QStringList recordings{m_opener.CurrentRecording()};
  const QString next = m_opener.PlayOnSetting().NextRecording(recordings.first());
  if (*event + kEventSeconds > m_presenter.DurationSeconds() && !next.isEmpty())
    recordings << next;
  Save(recordings, std::max(0, *event - kEventSeconds), *event + kEventSeconds);
}

void ClipSaver::Save(const QStringList& recordings, double from, double to) {
  const MediaFunctions* media = MediaModule::Functions(m_window);
  if (!media)
    return;
  ClipWriter::Request request;
  for (const QString& recording : recordings)
    request.recordings.push_back(local(recording));
  request.from = from;
  request.to = to;
  const ClipWriter::Result preview = media->previewClip(request);
  if (!preview.error.empty()) {
    Tell(QStringLiteral("No clip can be cut there: %1").arg(QString::fromStdString(preview.error)));
    return;
  }
  const QString note = QStringLiteral("A clip without burned-in telemetry starts at the key picture at or before "
                                      "the in mark: %1 s earlier here.")
                           .arg(preview.snapped, 0, 'f', 1);
  const std::optional<ClipSaveDialog::Choice> choice = ClipSaveDialog::Ask(
      m_window, RememberedFolder(), fromLocal(media->clipName(request.recordings.front(), from, to)), note);
  if (!choice)
    return;
  RememberFolder(QFileInfo(choice->path).absolutePath());
  request.output = local(choice->path);
  request.burnIn = choice->burnIn;
  request.burnInPosition = choice->burnInPosition;
  request.units =
      m_presenter.Settings().unit == SpeedUnit::Unit::kMph ? ClipOverlay::Units::kMph : ClipOverlay::Units::kKmh;
  request.withPositions = !choice->privateClip;
  request.withSound = !choice->withoutSound;
  request.gpx = choice->gpx;
  bool cancelled = false;
  const ClipWriter::Result result = ProgressRun::Run<ClipWriter::Result>(
      m_window, QStringLiteral("Saving %1...").arg(QFileInfo(choice->path).fileName()),
      [request, media](const ProgressRun::Progress& progress, const std::atomic<bool>* cancel) {
        ClipWriter::Request run = request;
        run.progress = progress;
        run.cancel = cancel;
        return media->writeClip(run);
      },
      &cancelled);
  if (result.written) {
    platform::diagnostic("clip: %s, %.1f s from %.1f s\n", result.output.c_str(), result.seconds, result.start);
    Tell(QStringLiteral("The clip is saved as %1.").arg(fromLocal(result.output)));
  } else if (!cancelled) {
    QMessageBox(QMessageBox::Warning, QStringLiteral("Lumenark"),
                QStringLiteral("The clip could not be saved: %1").arg(QString::fromStdString(result.error)),
                QMessageBox::Ok, m_window)
        .exec();
  }
}

QString ClipSaver::RememberedFolder() {
  const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
  const QString home = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
  return QSettings(SettingsFile::Path(), QSettings::IniFormat)
      .value(kClipFolderKey, QFileInfo(videos).isDir() ? videos : home)
      .toString();
}

void ClipSaver::RememberFolder(const QString& folder) {
  QSettings(SettingsFile::Path(), QSettings::IniFormat).setValue(kClipFolderKey, folder);
}
