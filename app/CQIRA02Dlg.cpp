// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CQIRA02Dlg.h"

#include "app/BackgroundDrag.h"
#include "app/DrivingSettingsDialog.h"
#include "app/DropOpener.h"
#include "app/MainWindowLayout.h"
#include "app/OpenRequest.h"
#include "app/PlaybackKeys.h"
#include "controls/CImageSlider.h"
#include "controls/SkinLibrary.h"
#include "dialogs/CDlgTimeSet.h"
#include "dialogs/CProgramInfo.h"
#include "dialogs/DialogUnits.h"
#include "engine/QIRAAdap.h"
#include "engine/QIRAState.h"
#include "platform/WindowMessenger.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QTimer>

namespace {

// The system menu's About entry (string resource 101).
const char kAboutMenuText[] = "QIRA02 정보(&A)...";
// Text that the colour table leaves to the window's defaults, light on the dark skin.
const QColor kDefaultText(214, 222, 235);

} // namespace

CQIRA02Dlg::CQIRA02Dlg(QWidget* parent, std::string playerLibrary)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint), m_playerLibrary(std::move(playerLibrary)),
      m_skin(devicePixelRatioF()) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::ArrowCursor);
  resize(kMainTemplateUnits.toPixelsX(layout::kTemplateWidthUnits),
         kMainTemplateUnits.toPixelsY(layout::kTemplateHeightUnits));
  QPalette palette = this->palette();
  palette.setColor(QPalette::WindowText, kDefaultText);
  setPalette(palette);
  m_controls = WindowBuilder::CreateControls(this);
  CMapView::PrepareControl(GetDlgItem(IDC_MAP));
  // The skin's pictures live as long as the window; the engine comes with set-up.
  m_skin.Load(devicePixelRatioF());
  m_pPresenter = std::make_unique<TelemetryPresenter>(this, m_skin, m_controls);
  m_pCommands = std::make_unique<PlaybackCommands>(this, m_controls, *m_pPresenter, m_playerLibrary);
  m_pOpener = std::make_unique<RecordingOpener>(this, m_controls, *m_pPresenter, *m_pCommands);
  m_pClipSaver = std::make_unique<ClipSaver>(this, *m_pPresenter, *m_pOpener);
  CreateSystemMenu();
  new BackgroundDrag(this);
}

// The engine goes first, as its threads report into this window: a player
// still running is closed (the close waits a bounded time) before it goes.
CQIRA02Dlg::~CQIRA02Dlg() {
  if (IsPlayerRunning())
    m_pAdap->CurrentState()->ClosePlayer();
  m_pAdap.reset();
}

void CQIRA02Dlg::CreateSystemMenu() {
  m_pSystemMenu = new QMenu(this);
  m_pSystemMenu->addAction(QStringLiteral("Close"), this, &CQIRA02Dlg::reject);
  // The Time button stays hidden; the camera clock is set from here.
  m_pSystemMenu->addAction(QStringLiteral("Set camera clock..."), this, &CQIRA02Dlg::OnTimeSet);
  QAction* exportTrack = m_pSystemMenu->addAction(QStringLiteral("Export GPS track..."), this,
                                                  [this] { m_trackExporter.Export(*this, CurrentRecording()); });
  connect(m_pSystemMenu, &QMenu::aboutToShow, this,
          [this, exportTrack] { exportTrack->setEnabled(!CurrentRecording().isEmpty()); });
  m_pSystemMenu->addAction(QStringLiteral("Save clip..."), this, [this] { m_pClipSaver->SaveMarked(); });
  m_pSystemMenu->addAction(QStringLiteral("Save event clip"), this, [this] { m_pClipSaver->SaveEvent(); });
  m_pSystemMenu->addAction(QStringLiteral("Driving settings..."), this, [this] {
    if (DrivingSettingsDialog::Edit(m_pPresenter->Settings(), this))
      m_pPresenter->ApplyDrivingSettings();
  });
  m_pSystemMenu->addAction(QStringLiteral("Card overview..."), this, [this] { m_pOpener->ShowCardOverview(); });
  QAction* hardware = m_pSystemMenu->addAction(QStringLiteral("Hardware video decoding"));
  hardware->setCheckable(true);
  hardware->setChecked(m_pCommands->HardwareDecoding());
  connect(hardware, &QAction::toggled, this, [this](bool on) { m_pCommands->SetHardwareDecoding(on); });
  QAction* playOn = m_pSystemMenu->addAction(QStringLiteral("Play on into the next recording"));
  playOn->setCheckable(true);
  playOn->setChecked(m_pOpener->PlayOnSetting().IsEnabled());
  connect(playOn, &QAction::toggled, this, [this](bool on) { m_pOpener->PlayOnSetting().SetEnabled(on); });
  m_pSystemMenu->addSeparator();
  m_pSystemMenu->addAction(QString::fromUtf8(kAboutMenuText), this, [this] { OnSysCommand(kAboutCommand); });
}

void CQIRA02Dlg::showEvent(QShowEvent* event) {
  m_pOpener->Reopen();
  if (!m_bInitialised) {
    m_bInitialised = true;
    OnInitDialog();
  }
  QDialog::showEvent(event);
}

void CQIRA02Dlg::OnInitDialog() {
  CreateEngine();
  m_pCommands->GiveEngineVideoRects();
  m_pAdap->SetPositionSlider(GetDlgItem(IDC_POSITION_SLIDER));
  m_pAdap->SetMainWindowSize(frameGeometry().width(), frameGeometry().height());
  static_cast<QLabel*>(GetDlgItem(IDC_VERSION))->setText(CProgramInfo::VersionText());
  setWindowTitle(QStringLiteral("Didedeve  Lumenark"));
  m_pCommands->FirstChannelSetup();
  WindowBuilder::Dress(m_controls);
  static_cast<CImageSlider*>(GetDlgItem(IDC_BRIGHTNESS_SLIDER))->SetPos(0);
  static_cast<CImageSlider*>(GetDlgItem(IDC_VOLUME_SLIDER))->SetPos(10);
  BindCommandMap();
  if (!m_strStartFolder.isEmpty())
    m_pOpener->OpenFolderAndRecording(m_strStartFolder, m_strStartRecording);
}

void CQIRA02Dlg::CreateEngine() {
  if (m_pAdap)
    return;
  m_pAdap = std::make_unique<QIRAAdap>(this);
  m_pPresenter->SetEngine(m_pAdap.get());
  m_pCommands->SetEngine(m_pAdap.get());
  m_pOpener->SetEngine(m_pAdap.get());
}

bool CQIRA02Dlg::IsPlayerRunning() const { return m_pAdap && m_pAdap->IsPlayerThreadRunning(); }

// Control notifications, in the order of the window's message map, after the
// dialog's own OK and Cancel. Window messages have their own overrides: the
// About command (contextMenuEvent), painting and background erase
// (paintEvent), moving (moveEvent), player notifications (event), Enter and
// Esc (keyPressEvent); dragging by the background is a filter of its own,
// colours are set at set-up and the arrow cursor once for the window,
// inherited by every child. Buttons 1036 and 1050, the Run button's double
// click and the list's selection change have no action. Open and the list's
// double click are bound by the recording opener.
void CQIRA02Dlg::BindCommandMap() {
  OnClickedDo(IDOK, [this] { accept(); });
  OnClickedDo(IDCANCEL, [this] { reject(); });
  OnClicked(IDC_SMALL, &PlaybackCommands::OnSmall);
  OnClicked(IDC_SOFT_KILL, &PlaybackCommands::OnSoftKill);
  OnClicked(IDC_UNLOAD, &PlaybackCommands::OnUnload);
  OnClickedDo(IDC_CH2, [this] { m_pCommands->ChannelSetup(2); });
  OnClicked(IDC_SET_FILE, &PlaybackCommands::OnSetFile);
  OnClicked(IDC_PLAY, &PlaybackCommands::OnPlay);
  OnClicked(IDC_PAUSE, &PlaybackCommands::OnPause);
  OnClicked(IDC_STOP, &PlaybackCommands::OnStop);
  OnClicked(IDC_POS, &PlaybackCommands::OnPos);
  OnClicked(IDC_VOLUME_UP, &PlaybackCommands::OnVolumeUp);
  OnClicked(IDC_FORWARD_SEEK, &PlaybackCommands::OnForwardSeek);
  OnClicked(IDC_FASTER, &PlaybackCommands::OnFaster);
  OnClicked(IDC_FLY_AWAY, &PlaybackCommands::OnFlyAway);
  OnClicked(IDC_FORCE_FLIP, &PlaybackCommands::OnForceFlip);
  OnClicked(IDC_FRAME_STEP, &PlaybackCommands::OnFrameStep);
  OnClicked(IDC_RUN, &PlaybackCommands::OnRun);
  OnClicked(IDC_VOLUME_DOWN, &PlaybackCommands::OnVolumeDown);
  OnClickedDo(IDC_CH1, [this] { m_pCommands->ChannelSetup(1); });
  OnClicked(IDC_SLOWER, &PlaybackCommands::OnSlower);
  OnClicked(IDC_BACKWARD_SEEK, &PlaybackCommands::OnBackwardSeek);
  for (const layout::SliderSkin& skin : layout::kSliderSkins) {
    auto* slider = static_cast<CImageSlider*>(GetDlgItem(skin.id));
    connect(slider, &CImageSlider::scrolled, this,
            [this, slider](int code, int) { m_pCommands->OnHScroll(slider, code); });
  }
  OnClickedDo(IDC_EXIT, [this] { OnExit(); });
  OnClickedDo(IDC_INFO, [this] { OnInfo(); });
  OnClicked(IDC_BRIGHT_UP, &PlaybackCommands::OnBrightUp);
  OnClicked(IDC_BRIGHT_DOWN, &PlaybackCommands::OnBrightDown);
  OnClicked(IDC_PRINT, &PlaybackCommands::OnPrint);
  OnClicked(IDC_SNAP, &PlaybackCommands::OnSnap);
  OnClickedDo(IDC_TIME_SET, [this] { OnTimeSet(); });
  m_pOpener->Bind();
  BindKeysAndDrops();
}

void CQIRA02Dlg::OnClicked(ControlId id, void (PlaybackCommands::*command)()) {
  OnClickedDo(id, [this, command] { (m_pCommands.get()->*command)(); });
}

void CQIRA02Dlg::OnClickedDo(ControlId id, const std::function<void()>& action) {
  connect(static_cast<QAbstractButton*>(GetDlgItem(id)), &QAbstractButton::clicked, this, action);
}

void CQIRA02Dlg::BindKeysAndDrops() {
  auto* keys = new PlaybackKeys(this);
  const auto click = [this](ControlId id) {
    return [this, id] { static_cast<QAbstractButton*>(GetDlgItem(id))->click(); };
  };
  PlaybackCommands* commands = m_pCommands.get();
  keys->Bind(Qt::Key_Space, QStringLiteral("Play, pause and resume"), click(IDC_PLAY));
  keys->Bind(Qt::Key_Left, QStringLiteral("5 seconds back"), [commands] { commands->SeekBy(-5.0f); });
  keys->Bind(Qt::Key_Right, QStringLiteral("5 seconds forward"), [commands] { commands->SeekBy(5.0f); });
  keys->Bind(Qt::SHIFT | Qt::Key_Left, QStringLiteral("1 second back"), [commands] { commands->SeekBy(-1.0f); });
  keys->Bind(Qt::SHIFT | Qt::Key_Right, QStringLiteral("1 second forward"), [commands] { commands->SeekBy(1.0f); });
  keys->Bind(Qt::Key_Period, QStringLiteral("One picture forward"), [commands] { commands->OnFrameStep(); });
  keys->Bind(Qt::Key_Comma, QStringLiteral("One picture back"), [commands] { commands->OnFrameBack(); });
  keys->Bind(Qt::Key_BracketLeft, QStringLiteral("Slower"), click(IDC_SLOWER));
  keys->Bind(Qt::Key_BracketRight, QStringLiteral("Faster"), click(IDC_FASTER));
  keys->Bind(Qt::Key_Up, QStringLiteral("Louder"), [commands] { commands->StepVolumeSlider(1); });
  keys->Bind(Qt::Key_Down, QStringLiteral("Quieter"), [commands] { commands->StepVolumeSlider(-1); });
  keys->Bind(Qt::CTRL | Qt::Key_O, QStringLiteral("Open a folder"), click(IDC_OPEN));
  keys->Bind(Qt::CTRL | Qt::Key_S, QStringLiteral("Save the picture"), click(IDC_SNAP));
  keys->Bind(Qt::CTRL | Qt::Key_P, QStringLiteral("Print the window"), click(IDC_PRINT));
  keys->Bind(Qt::CTRL | Qt::Key_D, QStringLiteral("Card overview"), [this] { m_pOpener->ShowCardOverview(); });
  keys->Bind(Qt::Key_I, QStringLiteral("The clip's in mark here"), [this] { m_pPresenter->MarkClipIn(); });
  keys->Bind(Qt::Key_O, QStringLiteral("The clip's out mark here"), [this] { m_pPresenter->MarkClipOut(); });
  keys->Bind(Qt::CTRL | Qt::Key_E, QStringLiteral("Save the clip"), [this] { m_pClipSaver->SaveMarked(); });
  m_strKeyHelp = keys->HelpText() + QStringLiteral("\nEnter\tOpen the selected recording, or press the focused button"
                                                   "\nEsc\tClose the viewer");
  RecordingOpener* opener = m_pOpener.get();
  new DropOpener(this, [opener](const OpenRequest& request) {
    opener->OpenFolderAndRecording(request.Folder(), request.Recording());
  });
}

void CQIRA02Dlg::OnExit() {
  m_pPresenter->SetRecordingOpen(false);
  accept();
}

void CQIRA02Dlg::OnSysCommand(int command) {
  if (command >= kAboutCommand && command < 2 * kAboutCommand)
    OnInfo();
}

// Both dialogs show the listed card's camera clock as last worked out.
void CQIRA02Dlg::OnInfo() {
  CProgramInfo& dialog = ProgramInfoDialog();
  m_pOpener->ClockCheck().ShowIn(dialog);
  dialog.exec();
}

void CQIRA02Dlg::OnTimeSet() {
  CDlgTimeSet& dialog = TimeSetDialog();
  m_pOpener->ClockCheck().ShowIn(dialog);
  dialog.exec();
}

CProgramInfo& CQIRA02Dlg::ProgramInfoDialog() {
  if (!m_pDlgProgramInfo) {
    m_pDlgProgramInfo = std::make_unique<CProgramInfo>(this);
    m_pDlgProgramInfo->SetKeyHelp(m_strKeyHelp);
  }
  return *m_pDlgProgramInfo;
}

CDlgTimeSet& CQIRA02Dlg::TimeSetDialog() {
  if (!m_pDlgTimeSet)
    m_pDlgTimeSet = std::make_unique<CDlgTimeSet>(this);
  return *m_pDlgTimeSet;
}

// Closing drops what waits: nothing opens or ends in a closing window.
void CQIRA02Dlg::done(int result) {
  m_pOpener->Close();
  QDialog::done(result);
}

bool CQIRA02Dlg::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip && m_pPresenter->ShowHarshMomentTip(*static_cast<QHelpEvent*>(event)))
    return true;
  if (event->type() == platform::WindowMessageEvent::kType) {
    auto* message = static_cast<platform::WindowMessageEvent*>(event);
    if (message->message() == platform::kMsgPlayerNotify) {
      if (m_pPresenter->OnPlayerNotify(message->wParam(), message->lParam()))
        m_pOpener->EndRecording();
      m_pOpener->OnNotified();
      message->setResult(0);
      return true;
    }
    if (message->message() == platform::kMsgPlayerEnd) {
      m_pOpener->EndRecording();
      return true;
    }
  }
  return QDialog::event(event);
}

// The canvas is the picture: painting copies it, region by region.
void CQIRA02Dlg::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  for (const QRect& rect : event->region())
    painter.drawImage(rect, m_skin.Canvas(), m_skin.CanvasSource(rect));
  if (m_bInitialised && !m_bFirstPainted) {
    m_bFirstPainted = true;
    QTimer::singleShot(0, this, &CQIRA02Dlg::AfterFirstPaint);
  }
}

// What the first picture does not need, in set-up's order: the icon, the
// player library, then the map's web engine.
void CQIRA02Dlg::AfterFirstPaint() {
  setWindowIcon(SkinLibrary::icon());
  m_pCommands->LoadPlayerLibrary();
  m_pPresenter->StartMapView();
  m_bStartUpFinished = true;
}

void CQIRA02Dlg::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  if (m_pAdap)
    m_pAdap->RefreshVideoWindow();
}

// Enter presses the focused button, or ends the dialog like OK; Esc and the
// Close command end it like Cancel (the dialog's own handling).
void CQIRA02Dlg::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (!enter || event->modifiers() & ~Qt::KeypadModifier) {
    QDialog::keyPressEvent(event);
    return;
  }
  if (auto* button = qobject_cast<QAbstractButton*>(focusWidget()))
    button->click();
  else
    accept();
}

void CQIRA02Dlg::contextMenuEvent(QContextMenuEvent* event) {
  if (!childAt(event->pos()))
    m_pSystemMenu->popup(event->globalPos());
}
