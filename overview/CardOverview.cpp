// SPDX-License-Identifier: GPL-3.0-or-later
#include "overview/CardOverview.h"

#include "drives/DriveTable.h"
#include "drives/IndexCache.h"
#include "map/CMapView.h"
#include "overview/OverviewMapJson.h"
#include "platform/Connection.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMetaObject>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrent>

namespace {

QStringList columnTitles(SpeedUnit::Unit unit) {
  return {QObject::tr("Date"),
          QObject::tr("Start"),
          QObject::tr("End"),
          QObject::tr("Duration"),
          QObject::tr("Distance (%1)").arg(QString::fromLatin1(SpeedUnit::DistanceName(unit))),
          QObject::tr("Top speed (%1)").arg(QString::fromLatin1(SpeedUnit::Label(unit))),
          QObject::tr("Events"),
          QObject::tr("Recordings"),
          QObject::tr("Harsh")};
}
const QString kAllDates = QObject::tr("All dates");

// Keeps the map's browser as large as its place in the layout.
class FillParent : public QObject {
public:
  FillParent(QWidget* place, std::function<QWidget*()> child) : QObject(place), m_child(std::move(child)) {
    place->installEventFilter(this);
  }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize)
      if (QWidget* child = m_child())
        child->setGeometry(static_cast<QWidget*>(watched)->rect());
    return false;
  }

private:
  std::function<QWidget*()> m_child;
};

} // namespace

CardOverview::CardOverview(const QString& cardFolder, QWidget* parent, const QString& cacheFolder,
                           const HarshSettings& harsh, SpeedUnit::Unit unit)
    : QWidget(parent, Qt::Window), m_driveTable(unit),
      m_map(std::make_unique<CMapView>([] { return platform::isConnected(); })) {
  setWindowTitle(tr("Card overview - %1").arg(cardFolder));
  resize(1200, 760);
  BuildLayout();
  m_table->setColumnCount(int(m_driveTable.ColumnNames().size()));
  m_table->setHorizontalHeaderLabels(columnTitles(unit));
  StartIndex(cardFolder, cacheFolder, harsh);
}

// The index stops at its next recording; its threads end before the window.
CardOverview::~CardOverview() {
  m_cancelled = true;
  m_watcher.waitForFinished();
}

void CardOverview::BuildLayout() {
  m_mapPlace = new QWidget;
  m_mapPlace->setMinimumSize(480, 360);
  m_dateFilter = new QComboBox;
  m_table = new QTableWidget;
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->setSelectionMode(QAbstractItemView::SingleSelection);
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_table->verticalHeader()->hide();
  m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  m_unreadable = new QLabel;
  m_unreadable->setWordWrap(true);
  m_unreadable->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_progress = new QProgressBar;
  m_progress->setTextVisible(false);
  m_progressText = new QLabel;
  m_cancel = new QPushButton(tr("Cancel"));

  auto* side = new QWidget;
  auto* sideLayout = new QVBoxLayout(side);
  sideLayout->addWidget(m_dateFilter);
  sideLayout->addWidget(m_table, 1);
  sideLayout->addWidget(m_unreadable);
  auto* split = new QSplitter;
  split->addWidget(m_mapPlace);
  split->addWidget(side);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);
  auto* progressRow = new QHBoxLayout;
  progressRow->addWidget(m_progress, 1);
  progressRow->addWidget(m_progressText);
  progressRow->addWidget(m_cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(split, 1);
  layout->addLayout(progressRow);

  CMapView::PrepareControl(this);
  m_map->StartUp(m_mapPlace);
  new FillParent(m_mapPlace, [this] { return m_map->Browser(); });
  if (QWidget* browser = m_map->Browser())
    connect(browser, SIGNAL(titleChanged(QString)), this, SLOT(OnMapTitle(QString)));
  connect(m_map.get(), &CMapView::documentBound, this, &CardOverview::ShowDrives);
  connect(m_cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });
  connect(m_table, &QTableWidget::itemSelectionChanged, this, &CardOverview::OnDriveSelected);
  connect(m_dateFilter, &QComboBox::currentIndexChanged, this, &CardOverview::ShowDrives);
  connect(&m_watcher, &QFutureWatcher<CardIndex::Result>::finished, this, &CardOverview::OnIndexed);
}

void CardOverview::StartIndex(const QString& cardFolder, const QString& cacheFolder, const HarshSettings& harsh) {
  CardIndex::Options options;
  options.harsh = harsh;
  options.cacheFolder = cacheFolder.isEmpty() ? IndexCache::DefaultFolder() : cacheFolder.toStdString();
  options.cancel = &m_cancelled;
  // From the index's threads: only queued calls reach the window.
  options.progress = [this](size_t done, size_t total) {
    QMetaObject::invokeMethod(
        this, [this, done, total] { OnProgress(int(done), int(total)); }, Qt::QueuedConnection);
  };
  OnProgress(0, 0);
  m_watcher.setFuture(
      QtConcurrent::run([folder = cardFolder.toStdString(), options] { return CardIndex::ReadCard(folder, options); }));
}

void CardOverview::OnProgress(int done, int total) {
  m_progress->setRange(0, total);
  m_progress->setValue(done);
  m_progressText->setText(tr("%1 of %2 recordings").arg(done).arg(total));
}

void CardOverview::OnIndexed() {
  CardIndex::Result result = m_watcher.result();
  m_cancel->setEnabled(false);
  if (!result.complete) {
    m_progressText->setText(tr("Cancelled"));
    emit indexed();
    return;
  }
  m_progress->hide();
  m_cancel->hide();
  m_drives.emplace(std::move(result.recordings));
  m_progressText->setText(tr("%n drive(s)", nullptr, int(m_drives->Drives().size())));
  FillDateFilter();
  ShowUnreadable();
  ShowDrives();
  emit indexed();
}

void CardOverview::FillDateFilter() {
  const QSignalBlocker quiet(m_dateFilter);
  m_dateFilter->clear();
  m_dateFilter->addItem(kAllDates);
  QStringList dates;
  for (const CardDrives::Drive& drive : m_drives->Drives())
    dates << QString::fromStdString(m_driveTable.Cells(drive).front());
  dates.removeDuplicates();
  dates.sort();
  m_dateFilter->addItems(dates);
}

std::vector<size_t> CardOverview::ShownDrives() const {
  std::vector<size_t> shown;
  const bool all = m_dateFilter->currentIndex() <= 0;
  for (size_t i = 0; m_drives && i < m_drives->Drives().size(); ++i)
    if (all || QString::fromStdString(m_driveTable.Cells(m_drives->Drives()[i]).front()) == m_dateFilter->currentText())
      shown.push_back(i);
  return shown;
}

void CardOverview::ShowDrives() {
  if (!m_drives)
    return;
  m_shown = ShownDrives();
  const QSignalBlocker quiet(m_table);
  m_table->setRowCount(int(m_shown.size()));
  for (int row = 0; row < int(m_shown.size()); ++row) {
    const std::vector<std::string> cells = m_driveTable.Cells(m_drives->Drives()[m_shown[size_t(row)]]);
    for (int column = 0; column < int(cells.size()); ++column)
      m_table->setItem(row, column, new QTableWidgetItem(QString::fromStdString(cells[size_t(column)])));
    // The drive's colour on the map, as the legend.
    QPixmap mark(12, 12);
    mark.fill(QColor(QString::fromStdString(OverviewMapJson::DriveColour(size_t(row)))));
    m_table->item(row, 0)->setIcon(QIcon(mark));
  }
  m_map->ScriptCaller().InvokeScriptFunction("ShowDrives", {OverviewMapJson::Build(*m_drives, m_shown)});
}

void CardOverview::ShowUnreadable() {
  QStringList lines;
  for (const RecordingSummary& recording : m_drives->Recordings())
    if (!recording.Readable())
      lines << tr("%1: %2").arg(QString::fromStdString(recording.path), QString::fromStdString(recording.failure));
  m_unreadable->setText(lines.isEmpty() ? QString() : tr("Not read:\n%1").arg(lines.join('\n')));
  m_unreadable->setVisible(!lines.isEmpty());
}

void CardOverview::OnDriveSelected() {
  const QList<QTableWidgetItem*> selected = m_table->selectedItems();
  if (!selected.isEmpty())
    m_map->ScriptCaller().InvokeScriptFunction("FitDrive", {std::to_string(selected.front()->row())});
}

// "pick COUNT RECORDING SECOND", set by the page on a click.
void CardOverview::OnMapTitle(const QString& title) {
  const QStringList words = title.split(' ');
  bool recordingOk = false, secondOk = false;
  const qsizetype recording = words.size() == 4 && words[0] == "pick" ? words[2].toLongLong(&recordingOk) : -1;
  const int second = words.size() == 4 ? words[3].toInt(&secondOk) : 0;
  if (!recordingOk || !secondOk || !m_drives || recording < 0 || size_t(recording) >= m_drives->Recordings().size())
    return;
  emit recordingPicked(QString::fromStdString(m_drives->Recordings()[size_t(recording)].path), second);
}
