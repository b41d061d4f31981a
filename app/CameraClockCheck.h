// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telemetry/CameraClock.h"

#include <QFutureWatcher>
#include <QObject>
#include <QSet>
#include <QString>

class CDlgTimeSet;
class CProgramInfo;
class QWidget;

// The opened card's camera clock, worked out in the background from its
// recordings; a drift worth setting is said once per card.
class CameraClockCheck : public QObject {
  Q_OBJECT

public:
  // Recordings read at the most, spread over the card: enough for a median,
  // bounded on a card of thousands.
  static constexpr size_t kMostRecordings = 60;

  explicit CameraClockCheck(QWidget* window);
  ~CameraClockCheck() override;

  // Starts on the card's folder; a check still running is left to finish
  // unheard.
  void Check(const QString& folder);
  // The clock's line; empty while none is known.
  QString Line() const { return m_line; }
  void ShowIn(CDlgTimeSet& dialog) const;
  void ShowIn(CProgramInfo& dialog) const;

  // Every n-th of `paths` so that at most `most` remain, first and last kept.
  static std::vector<std::string> Spread(const std::vector<std::string>& paths, size_t most);

signals:
  void checked();

private:
  void OnFinished();

  QWidget* m_window;
  QFutureWatcher<CameraClock> m_watcher;
  QString m_folder;
  QString m_line;
  std::optional<CameraClock::Estimate> m_estimate;
  bool m_driftNoticeable = false;
  QSet<QString> m_told;
};
