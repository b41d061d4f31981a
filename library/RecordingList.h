// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "library/CSortStringArray.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <array>

class QLabel;
class QListWidget;
class QListWidgetItem;

// The recordings of one folder as the window shows them: one line per
// recording with its name, size and kind, and the folder once, in the label
// above the list. A recording cut short (its index missing) keeps its line
// but shows it in another colour, with the reason as its tooltip.
class RecordingList {
public:
  static constexpr int kItemHeight = 15;

  RecordingList(QListWidget* list, QLabel* folderLabel) : m_pList(list), m_pFolderLabel(folderLabel) {}

  // Forgets the found recordings and empties the list; the next line added
  // names the folder in the label.
  void Clear();
  // Lists the folder's "*.mp4" files (any letter case, no sub-folders),
  // ordered by name. A folder that is missing or unreadable lists nothing.
  void ScanRecordingFolder(const QString& folder);
  // A file whose size cannot be learned (gone since the scan) is listed with size 0.
  void AddRecordingLine(const QString& path);

  const CSortStringArray& Recordings() const { return m_arrRecordings; }
  // The full path of the recording shown on line `row`; empty for no line.
  // The label and the line's name part do not always add up to it (a name
  // without the camera's mark, a prefix before the mark).
  QString PathOfLine(int row) const { return m_linePaths.value(row); }
  // Makes the line of `path` (the folder as scanned, then the name) the
  // list's current line; false when the scan did not find it.
  bool SelectRecording(const QString& path);
  // The widest line's width in pixels: how far the list scrolls sideways.
  int HorizontalExtent() const { return m_nHorizontalExtent; }

  // "name |  size KB  |  kind      ", the size in whole KiB, at least five digits.
  static QString LineText(const QString& name, qint64 bytes, const QString& kind);

private:
  QListWidgetItem* AddListLine(int index, const QString& text);
  static void MarkCutShort(QListWidgetItem* item, const QString& path);
  int ListTextWidth(const QString& text);
  int Latin1Width(const QString& text);

  QListWidget* m_pList;
  QLabel* m_pFolderLabel;
  CSortStringArray m_arrRecordings;
  QStringList m_linePaths;
  int m_nHorizontalExtent = 0;
  // Advances of the Latin-1 characters in m_advancesFont.
  std::array<qreal, 256> m_latin1Advances{};
  QFont m_advancesFont;
  bool m_bAdvancesKnown = false;
};
