// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CameraClockCheck.h"

#include "dialogs/CDlgTimeSet.h"
#include "dialogs/CProgramInfo.h"
#include "drives/CardIndex.h"

#include <QMessageBox>
#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>

CameraClockCheck::CameraClockCheck(QWidget* window) : QObject(window), m_window(window) {
  connect(&m_watcher, &QFutureWatcher<CameraClock>::finished, this, &CameraClockCheck::OnFinished);
}

// The window does not wait on the card's files when it closes.
CameraClockCheck::~CameraClockCheck() { m_watcher.disconnect(this); }

std::vector<std::string> CameraClockCheck::Spread(const std::vector<std::string>& paths, size_t most) {
  if (paths.size() <= most || most < 2)
    return paths;
  std::vector<std::string> spread;
  for (size_t i = 0; i < most; ++i)
    spread.push_back(paths[i * (paths.size() - 1) / (most - 1)]);
  return spread;
}

void CameraClockCheck::Check(const QString& folder) {
  m_folder = folder;
  m_line.clear();
  m_estimate.reset();
  m_driftNoticeable = false;
  const std::string path = folder.toStdString();
  m_watcher.setFuture(QtConcurrent::run(
      [path] { return CameraClock::FromRecordings(Spread(CardIndex::Recordings(path), kMostRecordings)); }));
}

void CameraClockCheck::OnFinished() {
  const CameraClock clock = m_watcher.result();
  m_line = QString::fromStdString(clock.Text());
  m_estimate = clock.Estimated();
  m_driftNoticeable = clock.DriftNoticeable();
  emit checked();
  if (!m_driftNoticeable || m_told.contains(m_folder))
    return;
  m_told.insert(m_folder);
  // Said without holding anything up: playback and the user's clicks go on.
  auto* notice = new QMessageBox(QMessageBox::Information, QStringLiteral("Lumenark"),
                                 m_line + QStringLiteral("\n\nThe camera's time-set dialog can write the corrected "
                                                         "time to the card."),
                                 QMessageBox::Ok, m_window);
  notice->setAttribute(Qt::WA_DeleteOnClose);
  notice->setWindowModality(Qt::NonModal);
  notice->show();
}

void CameraClockCheck::ShowIn(CDlgTimeSet& dialog) const {
  dialog.SetCameraClock(m_line, m_estimate ? std::optional<int>(m_estimate->offsetMinutes) : std::nullopt,
                        m_driftNoticeable);
}

void CameraClockCheck::ShowIn(CProgramInfo& dialog) const { dialog.SetCameraClock(m_line); }
