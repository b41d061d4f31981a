// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/TrackExporter.h"

#include "telemetry/OutputFile.h"
#include "telemetry/RecordingTelemetry.h"
#include "telemetry/TelemetryFormat.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

namespace {

struct FormatEntry {
  const char* name; // the command's format name, also the file suffix
  const char* filter;
};

constexpr FormatEntry kFormats[] = {
    {"gpx", "GPX track (*.gpx)"},
    {"csv", "CSV table (*.csv)"},
    {"geojson", "GeoJSON (*.geojson)"},
};

} // namespace

TrackExporter::TrackExporter() : m_choose(&TrackExporter::RunSaveDialog) {}

QStringList TrackExporter::Filters() {
  QStringList filters;
  for (const FormatEntry& format : kFormats)
    filters << QString::fromLatin1(format.filter);
  return filters;
}

std::optional<TrackExporter::Choice> TrackExporter::RunSaveDialog(QWidget& owner, const QString& suggestedPath) {
  QString filter = Filters().first();
  const QString path = QFileDialog::getSaveFileName(&owner, QStringLiteral("Export GPS track"), suggestedPath,
                                                    Filters().join(QStringLiteral(";;")), &filter);
  if (path.isEmpty())
    return std::nullopt;
  return Choice{path, filter};
}

// A name without a known suffix gets the chosen filter's, so that the file
// says what it holds.
TrackExporter::Target TrackExporter::TargetOf(const Choice& choice) {
  const QString suffix = QFileInfo(choice.path).suffix().toLower();
  for (const FormatEntry& format : kFormats)
    if (suffix == QLatin1String(format.name))
      return {choice.path, format.name};
  for (const FormatEntry& format : kFormats)
    if (choice.filter == QLatin1String(format.filter))
      return {choice.path + QLatin1Char('.') + QLatin1String(format.name), format.name};
  return {choice.path + QStringLiteral(".gpx"), "gpx"};
}

QString TrackExporter::SuggestedPath(const QString& recording) const {
  const QString folder = m_lastFolder.isEmpty() ? QDir::homePath() : m_lastFolder;
  return QDir(folder).filePath(QFileInfo(recording).completeBaseName() + QStringLiteral(".gpx"));
}

void TrackExporter::Tell(QWidget& window, const QString& text) {
  QMessageBox(QMessageBox::Warning, QStringLiteral("Lumenark"), text, QMessageBox::Ok, &window).exec();
}

void TrackExporter::Export(QWidget& window, const QString& recording) {
  if (recording.isEmpty()) {
    Tell(window, QStringLiteral("No recording is open: open one from the list to export its GPS track."));
    return;
  }
  RecordingTelemetry telemetry;
  if (const int code = telemetry.Load(QFile::encodeName(recording).toStdString())) {
    Tell(window, QStringLiteral("%1 has no usable GPS telemetry (code %2); nothing was exported.")
                     .arg(QFileInfo(recording).fileName())
                     .arg(code));
    return;
  }
  const std::optional<Choice> choice = m_choose(window, SuggestedPath(recording));
  if (!choice)
    return;
  const Target target = TargetOf(*choice);
  m_lastFolder = QFileInfo(target.path).absolutePath();
  const std::string document = telemetry.Document(*TelemetryFormat::ByName(target.format));
  std::string error;
  if (!OutputFile::Write(QFile::encodeName(target.path).toStdString(), document, error))
    Tell(window, QStringLiteral("The GPS track could not be written; no file was saved.\n%1")
                     .arg(QString::fromLocal8Bit(error.c_str())));
}
