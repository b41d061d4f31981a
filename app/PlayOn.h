// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drives/CardDrives.h"
#include "drives/CardIndex.h"
#include "drives/HarshSettings.h"

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <atomic>
#include <optional>

// Which recording plays on after one that reached its end: the next of its
// drive on the card. The card's drives come from its index, read in the
// background (through the index cache) whenever a folder is listed, so an end
// never waits for it; before the index is ready nothing plays on.
class PlayOn : public QObject {
public:
  PlayOn();
  ~PlayOn() override;

  // The background menu's check item, kept between runs.
  bool IsEnabled() const { return m_bEnabled; }
  void SetEnabled(bool enabled);

  // Starts reading the card that holds `listedFolder` (a card's root, or one
  // of its recording folders), counting harsh moments under `harsh` as the
  // card overview does, so both share the index cache.
  void IndexCard(const QString& listedFolder, const HarshSettings& harsh);
  // The recording to play after `path`; empty when off, at a drive's end, or
  // before the index is ready.
  QString NextRecording(const QString& path) const;
  bool IsIndexed() const { return m_drives.has_value(); }

  // The card's root for a listed folder: the folder above a recording folder.
  static QString CardRoot(const QString& listedFolder);

private:
  void StopIndex();

  bool m_bEnabled = true;
  std::atomic<bool> m_cancel{false};
  QFutureWatcher<CardIndex::Result> m_watcher;
  std::optional<CardDrives> m_drives;
};
