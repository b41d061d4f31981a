// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RepairOffer.h"

#include "app/MediaModule.h"
#include "app/ProgressRun.h"
#include "platform/Diagnostics.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <atomic>

QString RepairOffer::Run(QWidget* window, const QString& damaged) {
  if (!Accepted(window, damaged))
    return QString();
  const MediaFunctions* media = MediaModule::Functions(window);
  if (!media)
    return QString();
  const QString folder = OutputFolder(window, damaged);
  if (folder.isEmpty())
    return QString();
  const QString name =
      QFileInfo(
          QFile::decodeName(QByteArray::fromStdString(media->repairedName(QFile::encodeName(damaged).toStdString()))))
          .fileName();
  return Repair(window, *media, damaged, QDir(folder).filePath(name));
}

bool RepairOffer::Accepted(QWidget* window, const QString& damaged) {
  const QString text = QStringLiteral("%1 was cut short, probably by a power loss: its index is missing.\n"
                                      "Repair it? The repaired recording is written as a new file; this one "
                                      "stays as it is.")
                           .arg(QFileInfo(damaged).fileName());
  platform::diagnostic("%s cannot be played: cut short: its index is missing.\n",
                       QFileInfo(damaged).fileName().toUtf8().constData());
  QMessageBox box(QMessageBox::Question, QStringLiteral("Lumenark"), text, QMessageBox::Yes | QMessageBox::No, window);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

// Beside the damaged recording; a card that cannot be written asks for a folder.
QString RepairOffer::OutputFolder(QWidget* window, const QString& damaged) {
  const QString folder = QFileInfo(damaged).absolutePath();
  if (QFileInfo(folder).isWritable())
    return folder;
  return QFileDialog::getExistingDirectory(window, QStringLiteral("Folder for the repaired recording"),
                                           QDir::homePath());
}

QString RepairOffer::Repair(QWidget* window, const MediaFunctions& media, const QString& damaged,
                            const QString& output) {
  RecordingRepair::Request request;
  request.damaged = QFile::encodeName(damaged).toStdString();
  request.output = QFile::encodeName(output).toStdString();
  bool cancelled = false;
  const RecordingRepair::Result result = ProgressRun::Run<RecordingRepair::Result>(
      window, QStringLiteral("Repairing %1...").arg(QFileInfo(damaged).fileName()),
      [request, &media](const ProgressRun::Progress& progress, const std::atomic<bool>* cancel) {
        RecordingRepair::Request run = request;
        run.progress = progress;
        run.cancel = cancel;
        return media.repair(run);
      },
      &cancelled);
  if (result.repaired) {
    platform::diagnostic("repaired %s into %s: %lld pictures%s\n", request.damaged.c_str(), result.output.c_str(),
                         static_cast<long long>(result.pictures), result.soundLeftOut ? ", sound left out" : "");
    return QFile::decodeName(QByteArray::fromStdString(result.output));
  }
  if (!cancelled)
    QMessageBox(QMessageBox::Warning, QStringLiteral("Lumenark"),
                QStringLiteral("%1 could not be repaired: %2")
                    .arg(QFileInfo(damaged).fileName(), QString::fromStdString(result.error)),
                QMessageBox::Ok, window)
        .exec();
  return QString();
}
