// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecordingOpener.h"

#include "app/PlaybackCommands.h"
#include "app/RepairOffer.h"
#include "app/TelemetryPresenter.h"
#include "app/WindowThreadWait.h"
#include "engine/PlaybackValues.h"
#include "engine/QIRAAdap.h"
#include "engine/QIRAState.h"
#include "library/RememberedFolder.h"
#include "overview/CardOverview.h"
#include "platform/Diagnostics.h"
#include "telemetry/RecordingCondition.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <utility>

namespace {

// What a state's load returns for a recording whose telemetry area is damaged.
constexpr int kLoadRefused = 16;

} // namespace

RecordingOpener::RecordingOpener(QWidget* window, const ControlMap& controls, TelemetryPresenter& presenter,
                                 PlaybackCommands& commands)
    : m_window(window), m_controls(controls), m_presenter(presenter), m_commands(commands),
      m_pRecordings(std::make_unique<RecordingList>(static_cast<QListWidget*>(controls.value(IDC_RECORDING_LIST)),
                                                    static_cast<QLabel*>(controls.value(IDC_FOLDER_TEXT)))),
      m_clockCheck(window) {}

RecordingOpener::~RecordingOpener() = default;

QWidget* RecordingOpener::List() const { return m_controls.value(IDC_RECORDING_LIST); }

// A double click opens a line; so does Enter, which the dialog would
// otherwise take for OK.
void RecordingOpener::Bind() {
  connect(static_cast<QAbstractButton*>(m_controls.value(IDC_OPEN)), &QAbstractButton::clicked, this,
          &RecordingOpener::OnOpenFolder);
  auto* list = static_cast<QListWidget*>(List());
  connect(list, &QListWidget::itemDoubleClicked, this, &RecordingOpener::OnRecordingDblClk);
  list->installEventFilter(this);
}

bool RecordingOpener::eventFilter(QObject* watched, QEvent* event) {
  if (watched == List() && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      OnRecordingDblClk();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

void RecordingOpener::OnOpenFolder() {
  const std::optional<QString> folder =
      m_pFolderBrowser->Browse(m_window, QStringLiteral("Select directory"), RememberedFolder::Read());
  if (!folder) {
    QMessageBox::information(m_window, QString(), QStringLiteral("No Select Directory"), QMessageBox::Ok);
    return;
  }
  OpenRecordingFolder(*folder);
}

void RecordingOpener::OpenRecordingFolder(const QString& folder) {
  m_strListedFolder = folder;
  const DrivingSettings& driving = m_presenter.Settings();
  m_playOn.IndexCard(folder, {driving.thresholds, driving.mountedReversed});
  m_clockCheck.Check(PlayOn::CardRoot(folder));
  m_pRecordings->Clear();
  m_pRecordings->ScanRecordingFolder(folder);
  RememberedFolder::Write(folder);
}

// The focus leaves the list, so the arrows seek at once; Enter on the Play
// button pauses, as Space does.
void RecordingOpener::OpenFolderAndRecording(const QString& folder, const QString& recording) {
  OpenRecordingFolder(folder);
  if (recording.isEmpty() || !m_pRecordings->SelectRecording(recording))
    return;
  OnRecordingDblClk();
  m_controls.value(IDC_PLAY)->setFocus();
}

void RecordingOpener::OnRecordingDblClk() {
  const QString path = m_pRecordings->PathOfLine(static_cast<QListWidget*>(List())->currentRow());
  if (!path.isEmpty())
    OpenRecording(path);
}

// The latest choice wins: one made while the window waits for an open (or an
// end) replaces any open still pending, and is opened when the wait is over.
void RecordingOpener::OpenRecording(const QString& path) {
  m_strPendingRecording = path;
  if (!IsBusy())
    OpenPendingRecording();
}

void RecordingOpener::OpenRecordingAt(const QString& path, int second) {
  SelectLine(path);
  OpenRecording(path);
  AfterItPlays([this, second] { m_commands.SeekTo(second); });
}

void RecordingOpener::ShowCardOverview() {
  if (m_strListedFolder.isEmpty()) {
    QMessageBox::information(m_window, QStringLiteral("Lumenark"), QStringLiteral("Open a folder of the card first."),
                             QMessageBox::Ok);
    return;
  }
  const DrivingSettings& driving = m_presenter.Settings();
  auto* overview = new CardOverview(PlayOn::CardRoot(m_strListedFolder), m_window, {},
                                    {driving.thresholds, driving.mountedReversed}, driving.unit);
  overview->setWindowFlag(Qt::Window);
  overview->setAttribute(Qt::WA_DeleteOnClose);
  overview->setWindowTitle(QStringLiteral("Card overview - Lumenark"));
  connect(overview, &CardOverview::recordingPicked, this, &RecordingOpener::OpenRecordingAt);
  overview->show();
}

// A recording of another folder of the card lists that folder first.
void RecordingOpener::SelectLine(const QString& path) {
  if (m_pRecordings->SelectRecording(path))
    return;
  OpenRecordingFolder(QFileInfo(path).absolutePath());
  m_pRecordings->SelectRecording(path);
}

void RecordingOpener::AfterItPlays(std::function<void()> step) { m_afterItPlays = std::move(step); }

// The step waits for the load to be over and the new recording's rate to be known.
void RecordingOpener::OnNotified() {
  const bool playing = m_engine && m_engine->CurrentState() == m_engine->StateNumbered(1);
  if (!m_afterItPlays || IsBusy() || !playing || g_Playback.nPosUnitsPerSecond == kPosUnitsNotSet)
    return;
  std::exchange(m_afterItPlays, nullptr)();
}

void RecordingOpener::OpenPendingRecording() {
  if (IsBusy() || m_strPendingRecording.isEmpty())
    return;
  BeginSequence();
  LoadNextPending();
}

// The latest choice is loaded; without one (or once the window closes) the wait is over.
void RecordingOpener::LoadNextPending() {
  if (m_strPendingRecording.isEmpty() || m_bClosing)
    FinishSequence();
  else
    LoadRecording(std::exchange(m_strPendingRecording, QString()));
}

// A recording that cannot play is named with the reason before anything
// stops: what plays goes on.
void RecordingOpener::LoadRecording(const QString& path) {
  const RecordingCondition::Kind condition = RecordingCondition::Of(QFile::encodeName(path).toStdString());
  if (condition == RecordingCondition::kIndexMissing) {
    OfferRepair(path);
    return;
  }
  if (condition != RecordingCondition::kPlayable) {
    ReportUnplayable(path, QString::fromUtf8(RecordingCondition::Reason(condition)));
    m_pRecordings->SelectRecording(m_strCurrentRecording);
    LoadNextPending();
    return;
  }
  m_presenter.ForgetRecording();
  StopAndClearTelemetry([this, path] {
    // A newer choice made during the wait is loaded instead.
    if (!m_strPendingRecording.isEmpty()) {
      LoadNextPending();
      return;
    }
    StartLoading(path);
    WindowThreadWait::After(1000, this, [this] { LoadNextPending(); });
  });
}

// What plays goes on while the user decides; a repaired recording is listed
// and opened as the next choice.
void RecordingOpener::OfferRepair(const QString& path) {
  const QString repaired = RepairOffer::Run(m_window, path);
  if (repaired.isEmpty()) {
    m_pRecordings->SelectRecording(m_strCurrentRecording);
  } else {
    if (QFileInfo(repaired).absolutePath() == QFileInfo(path).absolutePath())
      OpenRecordingFolder(m_strListedFolder);
    if (m_strPendingRecording.isEmpty())
      m_strPendingRecording = repaired;
    SelectLine(m_strPendingRecording);
  }
  LoadNextPending();
}

void RecordingOpener::StartLoading(const QString& path) {
  const QByteArray file = QFile::encodeName(path);
  m_strCurrentRecording = path;
  if (path.contains(QStringLiteral("EventMovie") + QDir::separator()))
    m_presenter.ReadEventNotes(path);
  m_commands.LoadPlayerLibrary();
  const int refusal = m_engine->OpenRecording(file.constData(), file.constData());
  m_presenter.ShowRecordingTrack(file.toStdString(), m_presenter.EventOffsets());
  m_commands.ResetSpeedLevel();
  g_Playback.nPosUnitsPerSecond = kPosUnitsNotSet;
  m_presenter.SetRecordingOpen(true);
  g_Playback.bGpsSyncWait = 0;
  m_engine->CurrentState()->PrintStateName();
  ShowTelemetryPresence(path, refusal);
}

// A refused load means a damaged telemetry area; a recording without any
// plays as video only, with panels that say so.
void RecordingOpener::ShowTelemetryPresence(const QString& path, int refusal) {
  if (refusal == kLoadRefused)
    ReportUnplayable(path, QStringLiteral("its telemetry area is damaged"));
  else if (refusal == 0 && m_engine->UserDataFailed())
    m_presenter.ShowNoTelemetry();
}

void RecordingOpener::ReportUnplayable(const QString& path, const QString& reason) {
  const QString text = QStringLiteral("%1 cannot be played: %2.").arg(QFileInfo(path).fileName(), reason);
  platform::diagnostic("%s\n", text.toUtf8().constData());
  QMessageBox(QMessageBox::Warning, QStringLiteral("Lumenark"), text, QMessageBox::Ok, m_window).exec();
}

// Whichever comes first ends it: the notification at the length, or the
// engine's end message, which also comes when that notification fell between
// two that reach the window. Notifications during the wait are over.
void RecordingOpener::EndRecording() {
  if (!m_presenter.IsRecordingOpen() || m_presenter.IsEnding() || m_bPassingOldEnds)
    return;
  const QString next = m_playOn.NextRecording(m_strCurrentRecording);
  if (!next.isEmpty() && m_strPendingRecording.isEmpty() && !IsBusy()) {
    PlayOnInto(next);
    return;
  }
  BeginSequence();
  m_presenter.SetEnding(true);
  WindowThreadWait::After(1000, this, [this] {
    m_presenter.SetEnding(false);
    StopAndClearTelemetry([this] { FinishSequence(); });
  });
}

// No wait and no stop: the player replaces the ended recording with the next,
// so the picture goes on; a new recording plays at x1, so the level is set again.
void RecordingOpener::PlayOnInto(const QString& next) {
  const float level = g_Playback.fSpeedLevel;
  SelectLine(next);
  m_presenter.ForgetRecording();
  m_presenter.ClearRecordingDisplay();
  StartLoading(next);
  if (level != kNormalSpeedLevel)
    AfterItPlays([this, level] { m_commands.SetSpeedLevel(level); });
  // The ended recording's other end signal may already wait in the queue.
  m_bPassingOldEnds = true;
  QMetaObject::invokeMethod(
      this, [this] { m_bPassingOldEnds = false; }, Qt::QueuedConnection);
}

void RecordingOpener::StopAndClearTelemetry(const std::function<void()>& then) {
  if (m_presenter.IsRecordingOpen()) {
    m_engine->CurrentState()->Stop();
    m_engine->CurrentState()->PrintStateName();
  }
  m_presenter.SetRecordingOpen(false);
  WindowThreadWait::After(1000, this, [this, then] {
    m_presenter.ClearRecordingDisplay();
    then();
  });
}

void RecordingOpener::Close() {
  m_bClosing = true;
  WindowThreadWait::CancelAll();
  m_presenter.SetEnding(false);
  m_nSequences = 0;
  m_pHeld.reset();
}

// The user's input waits while a sequence runs; what a sequence left pending
// opens when the last one ends.
void RecordingOpener::BeginSequence() {
  if (m_nSequences++ == 0)
    m_pHeld =
        std::make_unique<HeldInput>([this](QObject* target, QEvent* event) { return ActsDuringWait(target, event); });
}

void RecordingOpener::FinishSequence() {
  if (--m_nSequences > 0)
    return;
  m_pHeld.reset();
  OpenPendingRecording();
}

// During a wait the list takes a newer choice and Esc closes the window at
// once; other windows (a message box) are not held at all.
bool RecordingOpener::ActsDuringWait(QObject* target, QEvent* event) const {
  const auto* widget = static_cast<QWidget*>(target);
  const QWidget* list = List();
  if (widget->window() != m_window || widget == list || list->isAncestorOf(widget))
    return true;
  const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease ||
                   event->type() == QEvent::ShortcutOverride;
  return key && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
}
