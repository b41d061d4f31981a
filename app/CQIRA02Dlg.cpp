// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CQIRA02Dlg.h"

#include "app/CSkinLabel.h"
#include "app/DropOpener.h"
#include "app/HeldInput.h"
#include "app/MainWindowLayout.h"
#include "app/OpenRequest.h"
#include "app/PlaybackKeys.h"
#include "app/SpeedLevel.h"
#include "app/WindowThreadWait.h"
#include "controls/CBitmapButton.h"
#include "controls/CImageSlider.h"
#include "controls/SkinLibrary.h"
#include "dialogs/DialogUnits.h"
#include "display/EventMarks.h"
#include "display/PlayTimes.h"
#include "engine/PlaybackValues.h"
#include "engine/QIRAAdap.h"
#include "engine/QIRAState.h"
#include "engine/QIRAstat9.h"
#include "library/EventNoteReader.h"
#include "library/LibraryGlobals.h"
#include "library/RememberedFolder.h"
#include "platform/Diagnostics.h"
#include "platform/WindowMessenger.h"
#include "telemetry/RecordingCondition.h"
#include "telemetry/RmcFields.h"
#include "telemetry/Track.h"
#include "telemetry/UserDataFile.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <thread>
#include <utility>

namespace {

// The system menu's About entry (string resource 101).
const char kAboutMenuText[] = "QIRA02 정보(&A)...";
const char kSetFilePath[] = "F:\\EventMovie\\drf0_20090108_134109.mp4";
const char kRunPath1[] = "drf0_20090108_134109.mp4";
const char kRunPath2[] = "EventMovie\\drf0_20090108_134109.mp4";
// What a state's load returns for a recording whose telemetry area is damaged.
constexpr int kLoadRefused = 16;

// Colours of the text controls over the skin.
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kVersionBackground(15, 20, 30);
const QColor kTimeBackground(65, 65, 65);
// Text that the colour table leaves to the window's defaults, light on the dark skin.
const QColor kDefaultText(214, 222, 235);

// White on black in a small dialog font, so that a line of a camera's name,
// size and kind fits the list's width, with scroll bars in the skin's colours.
const QString kRecordingListStyle =
    QStringLiteral("QListWidget { color: white; background: black; border: 1px solid #2a3850;"
                   " font-family: 'Liberation Sans', 'Arial', sans-serif; font-size: 11px; }"
                   "QListWidget::item:selected { background: #1f6d9e; }"
                   "QScrollBar { background: #0a0f17; margin: 0; }"
                   "QScrollBar:vertical { width: 12px; }"
                   "QScrollBar:horizontal { height: 12px; }"
                   "QScrollBar::handle { background: #2a3850; border-radius: 4px; margin: 2px; }"
                   "QScrollBar::handle:vertical { min-height: 24px; }"
                   "QScrollBar::handle:horizontal { min-width: 24px; }"
                   "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }"
                   "QScrollBar::add-page, QScrollBar::sub-page { background: none; }");

// The window's screen without its panels: what a maximised window could cover.
QRect fullScreenArea(const QWidget* window) {
  const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, layout::kWindowWidth, layout::kWindowHeight);
}

} // namespace

CQIRA02Dlg::CQIRA02Dlg(QWidget* parent, std::string playerLibrary)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint), m_playerLibrary(std::move(playerLibrary)),
      m_hIcon(SkinLibrary::icon()), m_dlgProgramInfo(this), m_dlgTimeSet(this) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::ArrowCursor);
  resize(kMainTemplateUnits.toPixelsX(layout::kTemplateWidthUnits),
         kMainTemplateUnits.toPixelsY(layout::kTemplateHeightUnits));
  QPalette palette = this->palette();
  palette.setColor(QPalette::WindowText, kDefaultText);
  setPalette(palette);
  CreateControls();
  m_pRecordings = std::make_unique<RecordingList>(static_cast<QListWidget*>(GetDlgItem(IDC_RECORDING_LIST)),
                                                  static_cast<QLabel*>(GetDlgItem(IDC_FOLDER_TEXT)));
  CMapView::PrepareControl(GetDlgItem(IDC_MAP));
  // The skin's pictures live as long as the window; the engine comes with set-up.
  m_skin.Load(devicePixelRatioF());
  m_pDisplay = std::make_unique<TelemetryDisplay>(DisplayPictures());
}

// The engine outlives the window: its threads end with the process.
CQIRA02Dlg::~CQIRA02Dlg() = default;

void CQIRA02Dlg::CreateControls() {
  for (const layout::TemplateControl& control : layout::kTemplate) {
    QWidget* widget = CreateControl(control.id, control.kind, control.text);
    widget->setObjectName(QString::number(control.id));
    widget->setGeometry(kMainTemplateUnits.toPixels(control.x, control.y, control.width, control.height));
    widget->setEnabled(control.enabled);
    widget->setVisible(control.visible);
    m_controls.insert(control.id, widget);
  }
  CreateSystemMenu();
}

QWidget* CQIRA02Dlg::CreateControl(ControlId id, layout::ControlKind kind, const char* text) {
  const QString caption = QString::fromUtf8(text);
  switch (kind) {
  case layout::ControlKind::PushButton: {
    auto* button = new QPushButton(caption, this);
    button->setAutoDefault(false);
    return button;
  }
  case layout::ControlKind::BitmapButton: {
    auto* button = new CBitmapButton(this);
    button->setText(caption);
    return button;
  }
  case layout::ControlKind::Slider:
    return new CImageSlider(this);
  case layout::ControlKind::ListBox: {
    auto* list = new QListWidget(this);
    list->setFrameShape(QFrame::Box);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return list;
  }
  case layout::ControlKind::Static: {
    auto* label = new CSkinLabel(this);
    label->setText(caption);
    label->setAlignment(id == IDC_VERSION ? Qt::AlignRight | Qt::AlignVCenter
                        : id == IDC_SPEED ? Qt::AlignCenter
                                          : Qt::AlignLeft | Qt::AlignVCenter);
    return label;
  }
  case layout::ControlKind::MapArea:
    break;
  }
  // The map's place: the skin shows through until the map view fills it.
  return new QWidget(this);
}

void CQIRA02Dlg::CreateSystemMenu() {
  m_pSystemMenu = new QMenu(this);
  m_pSystemMenu->addAction(QStringLiteral("Close"), this, &CQIRA02Dlg::OnCancel);
  // The Time button stays hidden; the camera clock is set from here.
  m_pSystemMenu->addAction(QStringLiteral("Set camera clock..."), this, &CQIRA02Dlg::OnTimeSet);
  QAction* exportTrack = m_pSystemMenu->addAction(QStringLiteral("Export GPS track..."), this,
                                                  [this] { m_trackExporter.Export(*this, m_strCurrentRecording); });
  connect(m_pSystemMenu, &QMenu::aboutToShow, this,
          [this, exportTrack] { exportTrack->setEnabled(!m_strCurrentRecording.isEmpty()); });
  m_pSystemMenu->addSeparator();
  m_pSystemMenu->addAction(QString::fromUtf8(kAboutMenuText), this, [this] { OnSysCommand(kAboutCommand); });
}

void CQIRA02Dlg::showEvent(QShowEvent* event) {
  m_bClosing = false;
  if (!m_bInitialised) {
    m_bInitialised = true;
    OnInitDialog();
  }
  QDialog::showEvent(event);
}

void CQIRA02Dlg::OnInitDialog() {
  setWindowIcon(m_hIcon);
  CreateEngine();
  ResetPlaybackState();
  GiveEngineVideoRects();
  m_pAdap->SetPositionSlider(Slider(IDC_POSITION_SLIDER));
  m_pAdap->SetMainWindowSize(frameGeometry().width(), frameGeometry().height());
  static_cast<QLabel*>(GetDlgItem(IDC_VERSION))->setText(CProgramInfo::VersionText());
  setWindowTitle(QStringLiteral("Didedeve  Lumenark"));
  ChannelSetup(1);
  ApplySkin();
  MoveToRuntimeLayout();
  CreateTooltips();
  SetControlColours();
  Slider(IDC_BRIGHTNESS_SLIDER)->SetPos(0);
  Slider(IDC_VOLUME_SLIDER)->SetPos(10);
  BindCommandMap();
  if (!m_strStartFolder.isEmpty())
    OpenFolderAndRecording(m_strStartFolder, m_strStartRecording);
}

void CQIRA02Dlg::CreateEngine() {
  if (!m_pAdap)
    m_pAdap = new QIRAAdap(this);
}

void CQIRA02Dlg::ResetPlaybackState() {
  m_bRecordingOpen = false;
  m_nLastBrightnessPos = 0;
  m_nLastVolumePos = 0;
}

void CQIRA02Dlg::GiveEngineVideoRects() {
  QIRAState* state = State();
  state->SetVideoFrame(0, 5, 35, 640, 480);
  state->SetVideoPosition(0, 20, 110, 640, 480);
  state->SetVideoFrame(1, 5, 35, 640, 480);
  state->SetVideoPosition(1, 1040, 80, 640, 480);
}

void CQIRA02Dlg::ApplySkin() {
  for (const layout::SliderSkin& skin : layout::kSliderSkins) {
    CImageSlider* slider = Slider(skin.id);
    slider->SetRange(skin.min, skin.max);
    slider->setGeometry(skin.rect);
    slider->SetBitmaps(skin.channel, skin.thumb, skin.dragThumb, skin.focusThumb, skin.margin);
  }
  for (const layout::ButtonSkin& skin : layout::kButtonSkins) {
    auto* button = static_cast<CBitmapButton*>(GetDlgItem(skin.id));
    button->LoadBitmaps(skin.normal, skin.pressed, skin.normal, skin.normal);
    button->SizeToContent();
  }
}

void CQIRA02Dlg::MoveToRuntimeLayout() {
  for (const layout::Place& place : layout::kRuntimeLayout) {
    GetDlgItem(place.id)->setGeometry(place.rect);
    if (place.id == IDC_INFO)
      GetDlgItem(IDC_TIME_SET)->hide();
  }
  for (const layout::Place& place : layout::kTextPlaces)
    GetDlgItem(place.id)->setGeometry(place.rect);
}

void CQIRA02Dlg::CreateTooltips() {
  for (const layout::Tooltip& tooltip : layout::kTooltips)
    GetDlgItem(tooltip.id)->setToolTip(QString::fromUtf8(tooltip.text));
}

void CQIRA02Dlg::SetControlColours() {
  GetDlgItem(IDC_RECORDING_LIST)->setStyleSheet(kRecordingListStyle);
  static_cast<CSkinLabel*>(GetDlgItem(IDC_FOLDER_TEXT))->SetColours(kWhite, kBlack, kBlack);
  static_cast<CSkinLabel*>(GetDlgItem(IDC_VERSION))->SetColours(kWhite, kVersionBackground);
  static_cast<CSkinLabel*>(GetDlgItem(IDC_PLAYED_TIME))->SetColours(kWhite, kTimeBackground);
  static_cast<CSkinLabel*>(GetDlgItem(IDC_TOTAL_TIME))->SetColours(kWhite, kTimeBackground);
}

CImageSlider* CQIRA02Dlg::Slider(ControlId id) const { return static_cast<CImageSlider*>(GetDlgItem(id)); }

bool CQIRA02Dlg::IsPlayerRunning() const { return m_pAdap && m_pAdap->IsPlayerThreadRunning(); }

QIRAState* CQIRA02Dlg::State() const { return m_pAdap->CurrentState(); }

// ---- Command map ---------------------------------------------------------

// Control notifications, in the order of the window's message map, after the
// dialog's own OK and Cancel. Window messages have their own overrides: the
// About command (contextMenuEvent), painting and background erase
// (paintEvent), moving (moveEvent), player notifications (event), dragging
// (mouse events), Enter and Esc (keyPressEvent); colours are set at set-up and
// the arrow cursor once for the window, inherited by every child. Buttons 1036
// and 1050, the Run button's double click and the list's selection change
// have no action. Open and the list's double click are bound by the
// recording library code.
void CQIRA02Dlg::BindCommandMap() {
  OnClicked(IDOK, &CQIRA02Dlg::OnOK);
  OnClicked(IDCANCEL, &CQIRA02Dlg::OnCancel);
  OnClicked(IDC_SMALL, &CQIRA02Dlg::OnSmall);
  OnClicked(IDC_SOFT_KILL, &CQIRA02Dlg::OnSoftKill);
  OnClicked(IDC_UNLOAD, &CQIRA02Dlg::OnUnload);
  OnClicked(IDC_CH2, &CQIRA02Dlg::OnChannel2);
  OnClicked(IDC_SET_FILE, &CQIRA02Dlg::OnSetFile);
  OnClicked(IDC_PLAY, &CQIRA02Dlg::OnPlay);
  OnClicked(IDC_PAUSE, &CQIRA02Dlg::OnPause);
  OnClicked(IDC_STOP, &CQIRA02Dlg::OnStop);
  OnClicked(IDC_POS, &CQIRA02Dlg::OnPos);
  OnClicked(IDC_VOLUME_UP, &CQIRA02Dlg::OnVolumeUp);
  OnClicked(IDC_FORWARD_SEEK, &CQIRA02Dlg::OnForwardSeek);
  OnClicked(IDC_FASTER, &CQIRA02Dlg::OnFaster);
  OnClicked(IDC_FLY_AWAY, &CQIRA02Dlg::OnFlyAway);
  OnClicked(IDC_FORCE_FLIP, &CQIRA02Dlg::OnForceFlip);
  OnClicked(IDC_FRAME_STEP, &CQIRA02Dlg::OnFrameStep);
  OnClicked(IDC_RUN, &CQIRA02Dlg::OnRun);
  OnClicked(IDC_VOLUME_DOWN, &CQIRA02Dlg::OnVolumeDown);
  OnClicked(IDC_CH1, &CQIRA02Dlg::OnChannel1);
  OnClicked(IDC_SLOWER, &CQIRA02Dlg::OnSlower);
  OnClicked(IDC_BACKWARD_SEEK, &CQIRA02Dlg::OnBackwardSeek);
  for (const layout::SliderSkin& skin : layout::kSliderSkins) {
    CImageSlider* slider = Slider(skin.id);
    connect(slider, &CImageSlider::scrolled, this, [this, slider](int code, int) { OnHScroll(slider, code); });
  }
  OnClicked(IDC_EXIT, &CQIRA02Dlg::OnExit);
  OnClicked(IDC_INFO, &CQIRA02Dlg::OnInfo);
  OnClicked(IDC_BRIGHT_UP, &CQIRA02Dlg::OnBrightUp);
  OnClicked(IDC_BRIGHT_DOWN, &CQIRA02Dlg::OnBrightDown);
  OnClicked(IDC_PRINT, &CQIRA02Dlg::OnPrint);
  OnClicked(IDC_SNAP, &CQIRA02Dlg::OnSnap);
  OnClicked(IDC_TIME_SET, &CQIRA02Dlg::OnTimeSet);
  BindRecordingLibrary();
  BindKeysAndDrops();
}

void CQIRA02Dlg::OnClicked(ControlId id, void (CQIRA02Dlg::*handler)()) {
  connect(static_cast<QAbstractButton*>(GetDlgItem(id)), &QAbstractButton::clicked, this, handler);
}

void CQIRA02Dlg::OnSysCommand(int command) {
  if (command >= kAboutCommand && command < 2 * kAboutCommand)
    m_dlgProgramInfo.exec();
}

void CQIRA02Dlg::OnSmall() {
  platform::WindowMessenger::setWindowPos(m_pAdap->VideoWindow(1), platform::WindowPos{100, 100, 320, 240});
}

void CQIRA02Dlg::OnSoftKill() {
  // The library shows its stop flag once it runs; before that there is nothing to set.
  if (player::StopFlag* flag = m_pAdap->SoftKillFlag())
    flag->store(1);
}

void CQIRA02Dlg::OnUnload() {
  if (State()->ClosePlayer() == 0)
    m_pAdap->HandleEvent(0, player::kEventClosed);
  State()->PrintStateName();
}

void CQIRA02Dlg::OnChannel2() { ChannelSetup(2); }

void CQIRA02Dlg::OnSetFile() {
  m_pAdap->SetState(m_pAdap->StateNumbered(9));
  State()->LoadFile(kSetFilePath, kSetFilePath);
  m_bRecordingOpen = true;
  State()->PrintStateName();
  ShowRecordingTrack(kSetFilePath);
}

void CQIRA02Dlg::OnPlay() {
  m_bRecordingOpen = true;
  State()->Play();
  State()->PrintStateName();
}

void CQIRA02Dlg::OnPause() {
  State()->Pause();
  State()->PrintStateName();
}

void CQIRA02Dlg::OnStop() {
  State()->Stop();
  State()->PrintStateName();
}

void CQIRA02Dlg::OnPos() {
  State()->SetVideoPosition(0, 100, 0, 640, 512);
  if (m_pAdap->Channels() == 2)
    State()->SetVideoPosition(1, 740, 0, 640, 512);
  State()->PrintStateName();
}

void CQIRA02Dlg::OnVolumeUp() {
  State()->SetVolume(1.0f, true);
  State()->PrintStateName();
}

void CQIRA02Dlg::OnForwardSeek() { SeekBy(2.0f); }

void CQIRA02Dlg::OnFaster() {
  if (g_Playback.fSpeedLevel < kFastestSpeedLevel)
    StepSpeedLevel(1.0f);
}

void CQIRA02Dlg::OnSlower() {
  if (g_Playback.fSpeedLevel > kSlowestSpeedLevel)
    StepSpeedLevel(-1.0f);
}

void CQIRA02Dlg::StepSpeedLevel(float step) {
  g_Playback.fSpeedLevel += step;
  State()->SetSpeed(g_Playback.fSpeedLevel, false);
  State()->PrintStateName();
  static_cast<QLabel*>(GetDlgItem(IDC_SPEED))->setText(QString::fromLatin1(SpeedLevelText(g_Playback.fSpeedLevel)));
}

void CQIRA02Dlg::OnFlyAway() {
  State()->FlyAway(1);
  State()->FlyAway(2);
  State()->PrintStateName();
}

void CQIRA02Dlg::OnForceFlip() {
  QObject* video = m_pAdap->VideoWindow(1);
  platform::WindowMessenger::notify(video, player::kMsgMove, 0, 0);
  platform::WindowMessenger::notify(video, player::kMsgParentMoved, 0, 0);
}

void CQIRA02Dlg::OnFrameStep() { State()->FrameStep(); }

void CQIRA02Dlg::OnRun() {
  m_pAdap->SetState(m_pAdap->StateNumbered(9));
  State()->LoadFile(kRunPath1, kRunPath2);
  State()->PrintStateName();
  ShowRecordingTrack(kRunPath1);
}

void CQIRA02Dlg::OnVolumeDown() { State()->SetVolume(-1.0f, true); }

void CQIRA02Dlg::OnChannel1() { ChannelSetup(1); }

void CQIRA02Dlg::OnBackwardSeek() { SeekBy(-2.0f); }

void CQIRA02Dlg::SeekBy(float seconds) {
  State()->Seek(seconds, true);
  State()->PrintStateName();
}

void CQIRA02Dlg::OnExit() {
  m_bRecordingOpen = false;
  OnOK();
}

void CQIRA02Dlg::OnOK() { accept(); }

void CQIRA02Dlg::OnCancel() { reject(); }

void CQIRA02Dlg::OnInfo() { m_dlgProgramInfo.exec(); }

void CQIRA02Dlg::OnBrightUp() {
  State()->SetBrightness(1.0f, true);
  State()->PrintStateName();
}

void CQIRA02Dlg::OnBrightDown() {
  State()->SetBrightness(-1.0f, true);
  State()->PrintStateName();
}

void CQIRA02Dlg::OnPrint() {
  if (m_pAdap && m_bRecordingOpen)
    m_printer.Print(*this);
}

void CQIRA02Dlg::OnSnap() {
  if (!m_pAdap || !m_bRecordingOpen)
    return;
  m_capture.CopyFrame(*m_pAdap);
  m_capture.CaptureFrame(this);
}

void CQIRA02Dlg::OnTimeSet() { m_dlgTimeSet.exec(); }

void CQIRA02Dlg::ChannelSetup(int channels) {
  const QRect fullScreen = fullScreenArea(this);
  const QRect client = rect();
  State()->PrintStateName();
  m_pAdap->SetChannels(channels);
  if (State()->OpenPlayer(m_playerLibrary.c_str()) != 0)
    platform::diagnostic("failed to load %s\n", m_playerLibrary.c_str());
  PlaceForChannels(channels, fullScreen, client);
}

// One channel: the template-sized client area centred in the full-screen
// area, 60 pixels up, then enlarged to the skin's size (kept on the screen).
// Two channels: the developer's place at the size stored at set-up.
void CQIRA02Dlg::PlaceForChannels(int channels, const QRect& fullScreen, const QRect& client) {
  if (channels == 1) {
    const int right = client.left() + client.width();
    const int bottom = client.top() + client.height();
    const int x = (client.left() + fullScreen.width() - right) / 2;
    const int y = (client.top() + fullScreen.height() - bottom - 120) / 2;
    move(fullScreen.left() + std::max(0, x), fullScreen.top() + std::max(0, y));
    setFixedSize(layout::kWindowWidth, layout::kWindowHeight);
    return;
  }
  State()->PrintStateName();
  move(5, 169);
  setFixedSize(m_pAdap->MainWindowWidth(), m_pAdap->MainWindowHeight());
}

void CQIRA02Dlg::OnHScroll(CImageSlider* slider, int code) {
  const bool acts =
      code == CImageSlider::SB_PAGELEFT || code == CImageSlider::SB_PAGERIGHT || code == CImageSlider::SB_THUMBTRACK;
  if (!acts || !m_bRecordingOpen || !m_pAdap)
    return;
  const int position = slider->GetPos();
  if (slider == Slider(IDC_POSITION_SLIDER))
    OnPositionScroll(position);
  else if (slider == Slider(IDC_BRIGHTNESS_SLIDER))
    OnBrightnessScroll(position);
  else
    OnVolumeScroll(position);
}

// Every step pauses and seeks to the whole second under the thumb. Without a
// rate (0: no recording has reported its duration) there is no second to seek to.
void CQIRA02Dlg::OnPositionScroll(int position) {
  const int unitsPerSecond = g_Playback.nPosUnitsPerSecond.load();
  if (unitsPerSecond == 0)
    return;
  State()->Pause();
  State()->PrintStateName();
  const int seconds = position / unitsPerSecond;
  State()->Seek(float(seconds), false);
  State()->PrintStateName();
}

void CQIRA02Dlg::OnBrightnessScroll(int position) {
  const int delta = position - m_nLastBrightnessPos;
  m_nLastBrightnessPos = position;
  State()->SetBrightness(float(delta * 2), true);
  State()->PrintStateName();
}

// The first move counts from the start position 10.
void CQIRA02Dlg::OnVolumeScroll(int position) {
  const int delta = position - (m_nLastVolumePos == 0 ? 10 : m_nLastVolumePos);
  m_nLastVolumePos = position;
  State()->SetVolume(float(delta) * 10.0f, true);
  State()->PrintStateName();
}

// ---- Keyboard and drops --------------------------------------------------

void CQIRA02Dlg::BindKeysAndDrops() {
  auto* keys = new PlaybackKeys(this);
  const auto click = [this](ControlId id) {
    return [this, id] { static_cast<QAbstractButton*>(GetDlgItem(id))->click(); };
  };
  keys->Bind(Qt::Key_Space, QStringLiteral("Play, pause and resume"), click(IDC_PLAY));
  keys->Bind(Qt::Key_Left, QStringLiteral("5 seconds back"), [this] { SeekBy(-5.0f); });
  keys->Bind(Qt::Key_Right, QStringLiteral("5 seconds forward"), [this] { SeekBy(5.0f); });
  keys->Bind(Qt::SHIFT | Qt::Key_Left, QStringLiteral("1 second back"), [this] { SeekBy(-1.0f); });
  keys->Bind(Qt::SHIFT | Qt::Key_Right, QStringLiteral("1 second forward"), [this] { SeekBy(1.0f); });
  keys->Bind(Qt::Key_Period, QStringLiteral("One picture forward"), [this] { OnFrameStep(); });
  keys->Bind(Qt::Key_Comma, QStringLiteral("One picture back"), [this] { OnFrameBack(); });
  keys->Bind(Qt::Key_BracketLeft, QStringLiteral("Slower"), click(IDC_SLOWER));
  keys->Bind(Qt::Key_BracketRight, QStringLiteral("Faster"), click(IDC_FASTER));
  keys->Bind(Qt::Key_Up, QStringLiteral("Louder"), [this] { StepVolumeSlider(1); });
  keys->Bind(Qt::Key_Down, QStringLiteral("Quieter"), [this] { StepVolumeSlider(-1); });
  keys->Bind(Qt::CTRL | Qt::Key_O, QStringLiteral("Open a folder"), click(IDC_OPEN));
  keys->Bind(Qt::CTRL | Qt::Key_S, QStringLiteral("Save the picture"), click(IDC_SNAP));
  keys->Bind(Qt::CTRL | Qt::Key_P, QStringLiteral("Print the window"), click(IDC_PRINT));
  m_dlgProgramInfo.SetKeyHelp(keys->HelpText() +
                              QStringLiteral("\nEnter\tOpen the selected recording, or press the focused button"
                                             "\nEsc\tClose the viewer"));
  new DropOpener(this,
                 [this](const OpenRequest& request) { OpenFolderAndRecording(request.Folder(), request.Recording()); });
}

void CQIRA02Dlg::OnFrameBack() { State()->FrameBack(); }

// The key moves the thumb a notch and acts as the thumb's drag would.
void CQIRA02Dlg::StepVolumeSlider(int step) {
  CImageSlider* slider = Slider(IDC_VOLUME_SLIDER);
  slider->SetPos(slider->GetPos() + step);
  OnHScroll(slider, CImageSlider::SB_THUMBTRACK);
}

// The recording, when one is named, is opened as a double click on its line.
// The focus leaves the list, so the arrows seek at once; Enter on the Play
// button pauses, as Space does.
void CQIRA02Dlg::OpenFolderAndRecording(const QString& folder, const QString& recording) {
  OpenRecordingFolder(folder);
  if (recording.isEmpty() || !m_pRecordings->SelectRecording(recording))
    return;
  OnRecordingDblClk();
  GetDlgItem(IDC_PLAY)->setFocus();
}

// ---- Telemetry display ---------------------------------------------------

TelemetryDisplay::Pictures CQIRA02Dlg::DisplayPictures() const {
  TelemetryDisplay::Pictures pictures{m_skin.Background(),  m_skin.Decoration(0), m_skin.Decoration(1),
                                      m_skin.Decoration(2), m_skin.Mark(1),       {},
                                      m_skin.DigitDash()};
  for (int digit = 0; digit < CSkinSurfaces::kDigitCount; ++digit)
    pictures.digits[digit] = m_skin.Digit(digit);
  return pictures;
}

void CQIRA02Dlg::SetEventNotes(const QStringList& lines, const char* baseTime) {
  m_listEventNotes = lines;
  m_bEventNotesPresent = !lines.isEmpty();
  std::snprintf(g_Playback.szEventTime, sizeof g_Playback.szEventTime, "%s", baseTime);
  m_pDisplay->SetEventNotes(EventNoteLines(), g_Playback.szEventTime);
}

// One step of the playing recording: slider, GPS items, graph, event marks
// and times, drawn on the canvas; only the changed rectangles are repainted.
void CQIRA02Dlg::OnPlayerNotify(uintptr_t length, intptr_t position) {
  // Notifications met while the end of a recording is waited for come after
  // it in effect: the recording is closed by then.
  if (!m_bRecordingOpen || !m_pAdap || m_bEndingRecording)
    return;
  std::this_thread::yield();
  QWidget* slider = GetDlgItem(IDC_POSITION_SLIDER);
  platform::WindowMessenger::send(slider, platform::kMsgTbmSetPos, 1, position);
  slider->update();
  QIRAAdap::GpsSentence sentence{};
  QIRAAdap::GSensor sensor{};
  // A recording without telemetry leaves the last one's values in the buffers.
  const bool telemetry = !m_pAdap->UserDataFailed() && m_pAdap->ReadTelemetry(sentence, sensor);
  m_gpsFields.Clear();
  if (telemetry && m_gpsFields.ParseSentence(sentence.data(), sentence.size()))
    ShowGpsPart();
  if (!m_pAdap->UserDataFailed()) {
    const SensorTriple values{sensor[0], sensor[1], sensor[2]};
    m_pDisplay->StepGraph(Canvas(), telemetry ? &values : nullptr);
  }
  DrawEventMarks();
  ShowPlayTimes();
  InvalidateRect(TelemetryDisplay::kGraphRect);
  InvalidateRect(TelemetryDisplay::kTimelineRect);
  m_pDisplay->CountSample();
  if (length == uintptr_t(position))
    EndRecording();
}

void CQIRA02Dlg::ShowGpsPart() {
  MapPositionStep();
  m_pDisplay->DrawSpeed(Canvas(), m_gpsFields.SpeedKmh());
  static_cast<QLabel*>(GetDlgItem(IDC_COURSE))->setText(QString::number(m_gpsFields.Course()));
  m_pDisplay->DrawCompass(Canvas(), m_gpsFields.Course());
  InvalidateRect(TelemetryDisplay::kSpeedRect);
  InvalidateRect(TelemetryDisplay::kCompassRect);
}

void CQIRA02Dlg::DrawEventMarks() {
  const int duration = m_pAdap->DurationSeconds();
  if (m_bRecordingOpen && duration > 0 && m_bEventNotesPresent)
    m_pDisplay->DrawEventMarks(Canvas(), duration);
}

std::vector<std::string> CQIRA02Dlg::EventNoteLines() const {
  std::vector<std::string> lines;
  lines.reserve(size_t(m_listEventNotes.size()));
  for (const QString& line : m_listEventNotes)
    lines.push_back(line.toStdString());
  return lines;
}

void CQIRA02Dlg::ShowPlayTimes() {
  const int duration = m_pAdap->DurationSeconds();
  if (!m_bRecordingOpen || duration <= 0)
    return;
  static_cast<QLabel*>(GetDlgItem(IDC_PLAYED_TIME))->setText(PlayTimeText(m_pAdap->PlayedSeconds()));
  static_cast<QLabel*>(GetDlgItem(IDC_TOTAL_TIME))->setText(PlayTimeText(duration));
}

// The last picture stays a second before the recording stops. Whichever
// comes first ends it: the notification at the length, or the engine's end
// message, which also comes when that notification fell between two that
// reach the window.
void CQIRA02Dlg::EndRecording() {
  if (!m_bRecordingOpen || m_bEndingRecording)
    return;
  RunWithHeldInput([this] {
    m_bEndingRecording = true;
    WindowThreadWait::Sleep(1000);
    m_bEndingRecording = false;
    if (!m_bClosing)
      StopAndClearTelemetry();
  });
  OpenPendingRecording();
}

// The graph's sweep is kept: the next recording continues where it stood.
void CQIRA02Dlg::StopAndClearTelemetry() {
  if (m_bRecordingOpen) {
    State()->Stop();
    State()->PrintStateName();
  }
  m_bRecordingOpen = false;
  WindowThreadWait::Sleep(1000);
  m_pDisplay->ClearGraphAndTimeline(Canvas());
  InvalidateRect(TelemetryDisplay::kGraphRect);
  InvalidateRect(TelemetryDisplay::kTimelineRect);
  QWidget* slider = GetDlgItem(IDC_POSITION_SLIDER);
  platform::WindowMessenger::send(slider, platform::kMsgTbmSetPos, 1, 0);
  slider->update();
}

// ---- Recording library ---------------------------------------------------

// A double click opens a line; so does Enter, which the dialog would
// otherwise take for OK.
void CQIRA02Dlg::BindRecordingLibrary() {
  OnClicked(IDC_OPEN, &CQIRA02Dlg::OnOpenFolder);
  auto* list = static_cast<QListWidget*>(GetDlgItem(IDC_RECORDING_LIST));
  connect(list, &QListWidget::itemDoubleClicked, this, &CQIRA02Dlg::OnRecordingDblClk);
  list->installEventFilter(this);
}

bool CQIRA02Dlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == GetDlgItem(IDC_RECORDING_LIST) && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      OnRecordingDblClk();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void CQIRA02Dlg::OnOpenFolder() {
  const std::optional<QString> folder =
      m_pFolderBrowser->Browse(this, QStringLiteral("Select directory"), RememberedFolder::Read());
  if (!folder) {
    QMessageBox::information(this, QString(), QStringLiteral("No Select Directory"), QMessageBox::Ok);
    return;
  }
  OpenRecordingFolder(*folder);
}

void CQIRA02Dlg::OpenRecordingFolder(const QString& folder) {
  m_strRecordingFolder = folder;
  m_pRecordings->Clear();
  m_pRecordings->ScanRecordingFolder(m_strRecordingFolder);
  RememberedFolder::Write(m_strRecordingFolder);
}

void CQIRA02Dlg::OnRecordingDblClk() {
  const int row = static_cast<QListWidget*>(GetDlgItem(IDC_RECORDING_LIST))->currentRow();
  const QString path = m_pRecordings->PathOfLine(row);
  if (!path.isEmpty())
    OpenRecording(path);
}

// The latest choice wins: one made while the window waits for an open (or an
// end) replaces any open still pending, and is opened when the wait is over.
void CQIRA02Dlg::OpenRecording(const QString& path) {
  m_strPendingRecording = path;
  if (!m_bBusy)
    OpenPendingRecording();
}

void CQIRA02Dlg::OpenPendingRecording() {
  if (m_bBusy || m_strPendingRecording.isEmpty())
    return;
  RunWithHeldInput([this] {
    while (!m_strPendingRecording.isEmpty() && !m_bClosing)
      LoadRecording(std::exchange(m_strPendingRecording, QString()));
  });
}

// A recording that cannot play is named with the reason before anything
// stops: what plays goes on.
void CQIRA02Dlg::LoadRecording(const QString& path) {
  const QByteArray file = QFile::encodeName(path);
  const RecordingCondition::Kind condition = RecordingCondition::Of(file.toStdString());
  if (condition != RecordingCondition::kPlayable) {
    ReportUnplayable(path, QString::fromUtf8(RecordingCondition::Reason(condition)));
    m_pRecordings->SelectRecording(m_strCurrentRecording);
    return;
  }
  m_bEventNotesPresent = false;
  StopAndClearTelemetry();
  // A newer choice made during the wait is loaded instead; so is nothing once the window closes.
  if (!m_strPendingRecording.isEmpty() || m_bClosing)
    return;
  m_strCurrentRecording = path;
  m_bRecordingOpen = false;
  m_listEventNotes.clear();
  if (path.contains(QStringLiteral("EventMovie") + QDir::separator()))
    ReadEventNotes();
  m_pAdap->SetState(m_pAdap->StateNumbered(9));
  const int refusal = State()->LoadFile(file.constData(), file.constData());
  ShowRecordingTrack(file.toStdString(), EventMarks::Offsets(EventNoteLines(), g_Playback.szEventTime));
  g_Playback.fSpeedLevel = kNormalSpeedLevel;
  static_cast<QLabel*>(GetDlgItem(IDC_SPEED))->setText(QString::fromLatin1(SpeedLevelText(g_Playback.fSpeedLevel)));
  g_Playback.nPosUnitsPerSecond = kPosUnitsNotSet;
  m_bRecordingOpen = true;
  g_Playback.bGpsSyncWait = 0;
  State()->PrintStateName();
  ShowTelemetryPresence(path, refusal);
  WindowThreadWait::Sleep(1000);
}

// A refused load means a damaged telemetry area; a recording without any
// plays as video only, with panels that say so.
void CQIRA02Dlg::ShowTelemetryPresence(const QString& path, int refusal) {
  if (refusal == kLoadRefused) {
    ReportUnplayable(path, QStringLiteral("its telemetry area is damaged"));
    return;
  }
  if (refusal != 0 || !m_pAdap->UserDataFailed())
    return;
  m_pDisplay->DrawNoTelemetry(Canvas());
  static_cast<QLabel*>(GetDlgItem(IDC_COURSE))->clear();
  InvalidateRect(TelemetryDisplay::kSpeedRect);
  InvalidateRect(TelemetryDisplay::kCompassRect);
  InvalidateRect(TelemetryDisplay::kGraphRect);
}

void CQIRA02Dlg::ReportUnplayable(const QString& path, const QString& reason) {
  const QString text = QStringLiteral("%1 cannot be played: %2.").arg(QFileInfo(path).fileName(), reason);
  platform::diagnostic("%s\n", text.toUtf8().constData());
  QMessageBox(QMessageBox::Warning, QStringLiteral("Lumenark"), text, QMessageBox::Ok, this).exec();
}

void CQIRA02Dlg::RunWithHeldInput(const std::function<void()>& sequence) {
  const bool wasBusy = std::exchange(m_bBusy, true);
  {
    const HeldInput held([this](QObject* target, QEvent* event) { return ActsDuringWait(target, event); });
    sequence();
  }
  m_bBusy = wasBusy;
}

// During a wait the list takes a newer choice and Esc closes the window at
// once; other windows (a message box) are not held at all.
bool CQIRA02Dlg::ActsDuringWait(QObject* target, QEvent* event) const {
  const auto* widget = static_cast<QWidget*>(target);
  const QWidget* list = GetDlgItem(IDC_RECORDING_LIST);
  if (widget->window() != this || widget == list || list->isAncestorOf(widget))
    return true;
  const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease ||
                   event->type() == QEvent::ShortcutOverride;
  return key && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
}

// Closing ends the waits at once; what waited finds the window closing and stops.
void CQIRA02Dlg::done(int result) {
  m_bClosing = true;
  WindowThreadWait::CancelAll();
  QDialog::done(result);
}

void CQIRA02Dlg::ReadEventNotes() {
  m_listEventNotes.clear();
  m_bEventNotesPresent = EventNoteReader::Read(m_strCurrentRecording, m_listEventNotes);
  m_pDisplay->SetEventNotes(EventNoteLines(), g_Playback.szEventTime);
}

// ---- Map -----------------------------------------------------------------

// The map's page loads after the window's first paint: the web engine's start
// must not hold up the window.
void CQIRA02Dlg::StartMapView() {
  if (!m_map.IsStarted())
    m_map.StartUp(GetDlgItem(IDC_MAP));
}

// Runs with the GPS fields of a notification that carried a "$GPRMC" sentence.
void CQIRA02Dlg::MapPositionStep() {
  m_map.PositionStep(m_gpsFields.Latitude(), m_gpsFields.Longitude(), g_Playback.fSpeedLevel);
}

void CQIRA02Dlg::ShowRecordingTrack(const std::string& path, const std::vector<int>& eventOffsets) {
  UserDataFile telemetry;
  std::vector<Track::Point> points;
  if (telemetry.Load(path) == 0) {
    telemetry.SetPositionCount(0);
    points = Track::FromRecording(telemetry);
  }
  m_map.ShowTrack(points, eventOffsets);
}

// ---- Window messages -----------------------------------------------------

bool CQIRA02Dlg::event(QEvent* event) {
  if (event->type() == platform::WindowMessageEvent::kType) {
    auto* message = static_cast<platform::WindowMessageEvent*>(event);
    if (message->message() == platform::kMsgPlayerNotify) {
      OnPlayerNotify(message->wParam(), message->lParam());
      message->setResult(0);
      return true;
    }
    if (message->message() == platform::kMsgPlayerEnd) {
      EndRecording();
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
  if (m_bInitialised && !m_map.IsStarted())
    QTimer::singleShot(0, this, &CQIRA02Dlg::StartMapView);
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
    OnOK();
}

// A press on the background moves the window as if by its caption.
void CQIRA02Dlg::mousePressEvent(QMouseEvent* event) {
  QDialog::mousePressEvent(event);
  if (event->button() != Qt::LeftButton)
    return;
  if (windowHandle() && windowHandle()->startSystemMove())
    return;
  m_bDragging = true;
  m_dragAnchor = event->globalPosition().toPoint() - pos();
}

void CQIRA02Dlg::mouseMoveEvent(QMouseEvent* event) {
  if (m_bDragging && event->buttons() & Qt::LeftButton)
    move(event->globalPosition().toPoint() - m_dragAnchor);
  QDialog::mouseMoveEvent(event);
}

void CQIRA02Dlg::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton)
    m_bDragging = false;
  QDialog::mouseReleaseEvent(event);
}

void CQIRA02Dlg::contextMenuEvent(QContextMenuEvent* event) {
  if (!childAt(event->pos()))
    m_pSystemMenu->popup(event->globalPos());
}
