// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drives/CardDrives.h"
#include "drives/CardIndex.h"
#include "drives/DriveTable.h"

#include <QFutureWatcher>
#include <QWidget>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

class CMapView;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

// The card overview: every drive of a card on a large map and in a table.
// The card is indexed in the background (through the index cache) with a
// progress bar that can be cancelled; the window keeps painting meanwhile.
// Selecting a row fits the map to that drive; clicking a track point or an
// event pin emits recordingPicked for the main window to open. Harsh moments
// are counted under the driver's settings, distances and speeds shown in the
// driver's unit.
class CardOverview : public QWidget {
  Q_OBJECT

public:
  // Starts indexing `cardFolder` at once; `cacheFolder` empty: the user's.
  explicit CardOverview(const QString& cardFolder, QWidget* parent = nullptr, const QString& cacheFolder = {},
                        const HarshSettings& harsh = {}, SpeedUnit::Unit unit = SpeedUnit::Unit::kKmh);
  ~CardOverview() override;

  // The grouped card once indexed; none before, or after a cancel.
  const CardDrives* Drives() const { return m_drives ? &*m_drives : nullptr; }

signals:
  // A recording of the card and the second within it the user clicked.
  void recordingPicked(const QString& path, int second);
  // Indexing ended: finished or cancelled.
  void indexed();

private slots:
  // Connected by name: the browser comes from the map module.
  void OnMapTitle(const QString& title);

private:
  void BuildLayout();
  void StartIndex(const QString& cardFolder, const QString& cacheFolder, const HarshSettings& harsh);
  void OnProgress(int done, int total);
  void OnIndexed();
  void FillDateFilter();
  void ShowDrives();
  void ShowUnreadable();
  void OnDriveSelected();
  std::vector<size_t> ShownDrives() const;

  DriveTable m_driveTable;
  std::unique_ptr<CMapView> m_map;
  QWidget* m_mapPlace = nullptr;
  QTableWidget* m_table = nullptr;
  QComboBox* m_dateFilter = nullptr;
  QProgressBar* m_progress = nullptr;
  QLabel* m_progressText = nullptr;
  QPushButton* m_cancel = nullptr;
  QLabel* m_unreadable = nullptr;

  std::atomic<bool> m_cancelled{false};
  QFutureWatcher<CardIndex::Result> m_watcher;
  std::optional<CardDrives> m_drives;
  std::vector<size_t> m_shown; // the table's rows: drive indexes
};
