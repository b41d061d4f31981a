// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/RecordingList.h"

#include "library/LibraryGlobals.h"
#include "telemetry/RecordingCondition.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLabel>
#include <QListWidget>
#include <algorithm>

namespace {

const QString kNameMark = QStringLiteral("drf0");
const QString kEventMovieFolder = QStringLiteral("EventMovie");
const QString kEventKind = QStringLiteral(" Event ");
const QString kNormalKind = QStringLiteral("Normal");
const QColor kCutShortColour(176, 32, 32);

QString joinPath(const QString& folder, const QString& name) {
  return folder.endsWith(QDir::separator()) ? folder + name : folder + QDir::separator() + name;
}

} // namespace

void RecordingList::Clear() {
  g_bFolderLabelSet = 0;
  m_arrRecordings.clear();
  m_pList->clear();
  m_linePaths.clear();
  m_nHorizontalExtent = 0;
}

void RecordingList::ScanRecordingFolder(const QString& folder) {
  // The name filter matches whole names without regard to letter case, so
  // only names ending in ".mp4" in any case pass.
  const QDir dir(folder, QStringLiteral("*.mp4"), QDir::Unsorted, QDir::Files | QDir::Hidden);
  for (const QString& name : dir.entryList())
    m_arrRecordings.append(joinPath(folder, name));
  m_arrRecordings.SortAscending();
  for (const QString& path : m_arrRecordings)
    AddRecordingLine(path);
}

void RecordingList::AddRecordingLine(const QString& path) {
  const qsizetype nameAt = path.indexOf(kNameMark);
  if (!g_bFolderLabelSet) {
    m_pFolderLabel->setText(nameAt < 0 ? QString() : path.left(nameAt));
    g_bFolderLabelSet = 1;
  }
  const qint64 bytes = QFileInfo(path).size();
  const QString& kind = path.indexOf(kEventMovieFolder) > 0 ? kEventKind : kNormalKind;
  const QString name = nameAt < 0 ? path : path.mid(nameAt);
  MarkCutShort(AddListLine(-1, LineText(name, bytes, kind)), path);
  m_linePaths.append(path);
}

bool RecordingList::SelectRecording(const QString& path) {
  // Lines and found paths share their order.
  const qsizetype row = m_arrRecordings.indexOf(path);
  if (row < 0)
    return false;
  m_pList->setCurrentRow(int(row));
  return true;
}

QString RecordingList::LineText(const QString& name, qint64 bytes, const QString& kind) {
  const QString kib = QStringLiteral("%1").arg(bytes / 1024, 5, 10, QLatin1Char('0'));
  // One pass over the pattern: a "%" in a name is not a place holder.
  return QStringLiteral("%1 |  %2KB  |  %3      ").arg(name, kib, kind);
}

// Only the file's top-level box headers are read.
void RecordingList::MarkCutShort(QListWidgetItem* item, const QString& path) {
  if (RecordingCondition::Of(path.toStdString()) != RecordingCondition::kIndexMissing)
    return;
  item->setForeground(kCutShortColour);
  item->setToolTip(QStringLiteral("Cut short, probably by a power loss: %1. It can be repaired.")
                       .arg(QString::fromUtf8(RecordingCondition::Reason(RecordingCondition::kIndexMissing))));
}

QListWidgetItem* RecordingList::AddListLine(int index, const QString& text) {
  auto* item = new QListWidgetItem(text);
  const int width = ListTextWidth(text);
  // The view scrolls sideways as far as its widest item.
  item->setSizeHint(QSize(width, kItemHeight));
  if (index == -1)
    m_pList->addItem(item);
  else
    m_pList->insertItem(index + 1, item);
  if (width > m_nHorizontalExtent)
    m_nHorizontalExtent = width;
  return item;
}

// The text's extent as the sum of its characters' advances. Names on a card
// are Latin-1, whose advances are kept per font, so thousands of lines are
// measured without shaping each one.
int RecordingList::ListTextWidth(const QString& text) {
  const bool latin1 = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 256; });
  const int extent = latin1 ? Latin1Width(text) : QFontMetrics(m_pList->font()).horizontalAdvance(text);
  return extent + 3;
}

int RecordingList::Latin1Width(const QString& text) {
  if (!m_bAdvancesKnown || m_advancesFont != m_pList->font()) {
    m_advancesFont = m_pList->font();
    const QFontMetricsF metrics(m_advancesFont);
    for (int c = 0; c < 256; ++c)
      m_latin1Advances[c] = metrics.horizontalAdvance(QChar(c));
    m_bAdvancesKnown = true;
  }
  qreal width = 0;
  for (QChar c : text)
    width += m_latin1Advances[c.unicode()];
  return qRound(width);
}
