// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/QIRAAdap.h"

#include "engine/PlaybackValues.h"
#include "engine/QIRAstat0.h"
#include "engine/QIRAstat1.h"
#include "engine/QIRAstat2.h"
#include "engine/QIRAstat3.h"
#include "engine/QIRAstat4.h"
#include "engine/QIRAstat9.h"
#include "platform/Desktop.h"
#include "platform/Diagnostics.h"
#include "platform/WindowMessenger.h"
#include "telemetry/UdatLocator.h"

#include <cmath>
#include <limits>
#include <system_error>

namespace {

constexpr char kGetTimeLength[] = "get_time_length";
constexpr auto kPlayerEndWait = std::chrono::seconds(2);

// Truncation toward zero that stays defined for any float.
int32_t truncateToInt(float value) {
  if (!std::isfinite(value))
    return 0;
  if (value >= float(std::numeric_limits<int32_t>::max()))
    return std::numeric_limits<int32_t>::max();
  if (value <= float(std::numeric_limits<int32_t>::min()))
    return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

// One more than the whole units per second (the rounding the rate has always
// had), held to what 16 bits carry: a wrapped rate could come out 0, which no
// position can be divided by, or 255, which reads as "not yet known".
uint16_t unitsPerSecond(uint32_t length, uint32_t wholeSeconds) {
  const uint32_t quotient = length / wholeSeconds;
  const float rounded = static_cast<float>(quotient + 0.5) + 0.5f;
  constexpr float kMaxRate = std::numeric_limits<uint16_t>::max();
  return rounded >= kMaxRate ? uint16_t(kMaxRate) : static_cast<uint16_t>(rounded);
}

template <typename T> void answer(intptr_t data, T value) {
  if (data)
    *reinterpret_cast<T*>(data) = value;
}

} // namespace

void PlayerCallback(void* context, intptr_t data, uint32_t code) {
  static_cast<QIRAAdap*>(context)->HandleEvent(data, code);
}

QIRAAdap::QIRAAdap(QObject* notifyWindow) : m_hNotifyWnd(notifyWindow) {
  ResetPlayerFields();
  m_VideoPosition = {};
  m_pStat0 = std::make_unique<QIRAstat0>(this);
  m_pStat1 = std::make_unique<QIRAstat1>(this);
  m_pStat2 = std::make_unique<QIRAstat2>(this);
  m_pStat3 = std::make_unique<QIRAstat3>(this);
  m_pStat4 = std::make_unique<QIRAstat4>(this);
  m_pStat9 = std::make_unique<QIRAstat9>(this);
  m_pCurState = m_pStat0.get();
}

QIRAAdap::~QIRAAdap() {
  platform::diagnostic("qiraadap destructor invoked\n");
  m_bClosing = true;
  StopMessageThread();
  if (m_PlayerThread.joinable())
    m_PlayerThread.join();
}

void QIRAAdap::StopMessageThread() {
  if (!m_MessageThread.joinable())
    return;
  while (m_Queue.Push(nullptr, nullptr, QIRAQ::kCodeStopThread, nullptr) != 0)
    m_Queue.Pop(nullptr);
  m_hWakeEvent.set();
  m_MessageThread.join();
}

void QIRAAdap::SetState(QIRAState* state) {
  QIRAState* previous = m_pCurState;
  if (state == previous)
    return;
  m_pPrevState = previous;
  m_pCurState = state;
  state->m_pPrev = previous;
  platform::diagnostic("State transition : from %d to %d\n", previous->StateNumber(), state->StateNumber());
  m_hWakeEvent.set();
}

QIRAState* QIRAAdap::StateNumbered(int number) const {
  switch (number) {
  case 0:
    return m_pStat0.get();
  case 1:
    return m_pStat1.get();
  case 2:
    return m_pStat2.get();
  case 3:
    return m_pStat3.get();
  case 4:
    return m_pStat4.get();
  case 9:
    return m_pStat9.get();
  default:
    return nullptr;
  }
}

int QIRAAdap::OpenRecording(const char* path1, const char* path2) {
  SetState(m_pStat9.get());
  return m_pCurState.load()->LoadFile(path1, path2);
}

void QIRAAdap::SendPlayerCommand(const char* text) {
  if (auto cmd = m_hPlayerLib.CmdDirect())
    cmd(text);
}

void QIRAAdap::SetMainWindowSize(int32_t width, int32_t height) {
  m_nMainWndWidth = width;
  m_nMainWndHeight = height;
}

void QIRAAdap::HandleEvent(intptr_t data, uint32_t code) {
  switch (code) {
  case player::kEventReady:
    SetState(m_pStat4.get());
    break;
  case player::kEventVideoWindow1:
    m_hVideoWnd1 = reinterpret_cast<QObject*>(data);
    break;
  case player::kEventVideoWindow2:
    m_hVideoWnd2 = reinterpret_cast<QObject*>(data);
    break;
  case player::kEventModule:
    platform::diagnostic("current module : %s\n", data ? reinterpret_cast<const char*>(data) : "");
    break;
  case player::kEventFrame:
    if (data)
      OnFrameReport(reinterpret_cast<const player::FrameReport*>(data));
    break;
  case player::kEventDiagnostic:
    platform::diagnostic("%s\n", data ? reinterpret_cast<const char*>(data) : "");
    break;
  case player::kEventDuration:
    if (data)
      OnDuration(*reinterpret_cast<const float*>(data));
    break;
  case player::kEventPlayerEnded:
    SetState(m_pStat2.get());
    break;
  case player::kEventPlaying:
    OnPlaying();
    break;
  case player::kEventRecordingEnded:
    OnRecordingEnded();
    break;
  case player::kEventStopFlag:
    m_pSoftKillFlag = reinterpret_cast<player::StopFlag*>(data);
    break;
  case player::kEventClosed:
    SetState(m_pStat0.get());
    break;
  case player::kEventLength:
    if (data)
      OnLength(reinterpret_cast<const player::StreamRecord*>(data));
    break;
  case player::kEventPosition:
    m_nPosition = static_cast<uint32_t>(data);
    break;
  default:
    AnswerQuery(data, code);
    break;
  }
}

void QIRAAdap::AnswerQuery(intptr_t data, uint32_t code) {
  switch (code) {
  case player::kEventQueryMainWindow:
    answer<player::WindowHandle>(data, m_hNotifyWnd);
    break;
  case player::kEventQueryPlacementA:
    answer<const player::VideoPlacement*>(data, &m_VideoPosition);
    break;
  case player::kEventQueryPlacementB:
    answer<const player::VideoPlacement*>(data, &m_VideoFrame);
    break;
  case player::kEventQueryReply1:
    answer<int32_t>(data, m_nReply1);
    break;
  case player::kEventQueryReply2:
    answer<int32_t>(data, m_nReply2);
    break;
  case player::kEventQueryDesktopWidth:
    answer<int32_t>(data, m_nDesktopWidth);
    break;
  case player::kEventQueryDesktopHeight:
    answer<int32_t>(data, m_nDesktopHeight);
    break;
  case player::kEventQueryVolume:
    answer<int32_t>(data, m_nVolume);
    break;
  default:
    break;
  }
}

void QIRAAdap::OnPlaying() {
  SetState(m_pStat1.get());
  platform::WindowMessenger::notify(m_hVideoWnd1, player::kMsgCommandText, reinterpret_cast<uintptr_t>(kGetTimeLength));
}

void QIRAAdap::OnFrameReport(const player::FrameReport* report) {
  m_fPlayTime = report->secondsPlayed;
  m_nPlayTime = truncateToInt(report->secondsPlayed);
  const uint32_t position = m_nPosition;
  if (g_Playback.bGpsSyncWait == 1 && position < g_Playback.nGpsSyncIndex)
    g_Playback.bGpsSyncWait = 0;
  const bool opening = m_pCurState.load() == m_pStat9.get();
  const bool lookUp = g_Playback.nPosUnitsPerSecond != kPosUnitsNotSet && g_Playback.bGpsSyncWait == 0 && !opening;
  if (opening) {
    m_fPlayTime = 0.0f;
    m_nPlayTime = 0;
  }
  {
    std::lock_guard lock(m_FrameLock);
    m_nFrameBytes = report->frameBytes;
    m_pFrame1 = report->frame1;
    m_pFrame2 = report->frame2;
  }

  const uint32_t tick = g_Playback.nTickCount;
  if (m_bClosing || tick % 3 != 0) {
    g_Playback.nTickCount = tick + 1;
    return;
  }
  m_bUserDataFailed = m_Telemetry.ErrorFlag();
  if (g_Playback.nPosUnitsPerSecond != kPosUnitsNotSet && g_Playback.bGpsSyncWait == 0 && m_bUserDataFailed == 0)
    RefreshTelemetry(position, lookUp);
  platform::WindowMessenger::notify(m_hNotifyWnd, platform::kMsgPlayerNotify, m_nLength, intptr_t(position));
  g_Playback.nTickCount = tick + 1;
}

void QIRAAdap::RefreshTelemetry(uint32_t position, bool lookUp) {
  m_Telemetry.AllocateBuffers();
  // While a recording opens nothing is looked up; that is no missing record
  // and must not start a GPS wait the growing position would never end.
  if (!lookUp)
    return;
  switch (m_Telemetry.RefreshAt(position, g_Playback.nPosUnitsPerSecond)) {
  case TelemetryStore::Refresh::kGpsUnusable:
    g_Playback.nGpsSyncIndex = position;
    g_Playback.bGpsSyncWait = 1;
    break;
  case TelemetryStore::Refresh::kSentenceTaken:
    g_Playback.bGpsSyncWait = 0;
    break;
  case TelemetryStore::Refresh::kNoNewSentence:
    break;
  }
}

void QIRAAdap::UseLastPicture(const std::function<void(const uint8_t* image, int32_t bytes)>& use) const {
  std::lock_guard lock(m_FrameLock);
  use(m_pFrame1.load(), m_nFrameBytes.load());
}

bool QIRAAdap::ReadTelemetry(GpsSentence& sentence, GSensor& sensor) const {
  return m_Telemetry.Read(sentence, sensor);
}

void QIRAAdap::OnDuration(float seconds) {
  m_fDuration = seconds;
  const int32_t whole = truncateToInt(seconds);
  m_nDuration = whole;
  // Under a second, or a negative time from a faulty library, gives no rate.
  if (whole <= 0)
    return;
  g_Playback.nPosUnitsPerSecond = unitsPerSecond(m_nLength, static_cast<uint32_t>(whole));
}

void QIRAAdap::OnRecordingEnded() {
  m_hWakeEvent.set();
  if (m_pCurState.load() != m_pStat1.get())
    return;
  SetState(m_pStat3.get());
  if (m_nPosition >= m_nLength) {
    g_Playback.nTickCount = 0;
    platform::WindowMessenger::notify(m_hNotifyWnd, platform::kMsgPlayerEnd, 0, 1);
  }
}

void QIRAAdap::OnLength(const player::StreamRecord* record) {
  if (!record->info)
    return;
  const uint32_t length = record->info->length;
  m_nLength = length;
  m_Telemetry.SetRecordCount(length);
  if (QObject* slider = m_pPositionSlider) {
    platform::WindowMessenger::send(slider, platform::kMsgTbmSetRangeMin, 0, 0);
    platform::WindowMessenger::send(slider, platform::kMsgTbmSetRangeMax, 0, intptr_t(length));
    platform::WindowMessenger::send(slider, platform::kMsgTbmSetPos, 1, 0);
  }
}

int QIRAAdap::RefreshVideoWindow() {
  QObject* window = m_hVideoWnd1;
  if (!window)
    return 1;
  platform::WindowMessenger::send(window, player::kMsgMove);
  platform::WindowMessenger::send(window, player::kMsgParentMoved);
  return 0;
}

void QIRAAdap::SetPositionSlider(QObject* slider) { m_pPositionSlider = slider; }

void QIRAAdap::ResetPlayerFields() {
  m_fDuration = 0.0f;
  StorePaths(nullptr, nullptr);
  m_nPosition = 0;
  m_nLength = 0xFFFFFFFFu;
  m_nReply1 = 0;
  m_nReply2 = 0;
  MeasureDesktop();
  m_nVolume = 100;
  m_nBrightness = 1;
  m_nChannels = 0;
  m_Telemetry.Clear();
}

void QIRAAdap::MeasureDesktop() {
  const platform::DesktopSize size = platform::measureDesktop();
  m_nDesktopWidth = size.width;
  m_nDesktopHeight = size.height;
}

int QIRAAdap::LoadPlayerLibrary(const char* name) {
  if (const int code = m_hPlayerLib.Load(name))
    return code;
  // Outside the library's lock: the library may report "ready" from inside "setW".
  m_hPlayerLib.SetInst()(this);
  m_hPlayerLib.SetW()(PlayerCallback);
  return 0;
}

bool QIRAAdap::UnloadPlayerLibrary() {
  if (!m_hPlayerLib.Unload([this] { return WaitForPlayerThreadEnd(); }))
    return false;
  // Nothing of a released library may be messaged: its stop flag and its
  // video windows go with it.
  m_pSoftKillFlag = nullptr;
  m_hVideoWnd1 = nullptr;
  m_hVideoWnd2 = nullptr;
  return true;
}

bool QIRAAdap::IsPlayerLibraryLoaded() const { return m_hPlayerLib.IsLoaded(); }

bool QIRAAdap::WaitForPlayerThreadEnd() {
  const auto deadline = std::chrono::steady_clock::now() + kPlayerEndWait;
  while (m_pPlayerThread) {
    if (std::chrono::steady_clock::now() >= deadline)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (m_PlayerThread.joinable() && m_PlayerThread.get_id() != std::this_thread::get_id())
    m_PlayerThread.join();
  return true;
}

bool QIRAAdap::BeginPlayerThread() {
  if (m_PlayerThread.joinable())
    m_PlayerThread.join(); // an ended run: the flag clears as its last step
  m_pPlayerThread = true;
  try {
    Paths paths = CurrentPaths();
    m_PlayerThread = std::thread(&QIRAAdap::PlayerThreadProc, this, std::move(paths.path1), std::move(paths.path2));
  } catch (const std::system_error&) {
    m_pPlayerThread = false;
    return false;
  }
  return true;
}

void QIRAAdap::PlayerThreadProc(std::string path1, std::string path2) {
  if (!path1.empty() || !path2.empty()) {
    char program[] = "mplayer", vo[] = "-vo", driver[] = "directx:noaccel", autosync[] = "-autosync", frames[] = "30";
    char* argv[player::kArgumentCount + 1] = {program, vo,           driver,       autosync,
                                              frames,  path1.data(), path2.data(), nullptr};
    if (auto entry = m_hPlayerLib.Entry())
      entry(player::kArgumentCount, argv);
  }
  m_pPlayerThread = false;
}

void QIRAAdap::EnsureMessageThread() {
  if (m_pMessageThread)
    return;
  try {
    m_MessageThread = std::thread(&QIRAAdap::MessageThreadProc, this);
    m_pMessageThread = true;
  } catch (const std::system_error&) {
  }
}

void QIRAAdap::MessageThreadProc() {
  // A wake-up that arrives while a command runs is kept, not reset away: it may
  // be the state change that the next queued command waits for.
  for (m_hWakeEvent.wait(); !m_Queue.HasStopCommand(); m_hWakeEvent.wait())
    RunHeadCommand();
}

void QIRAAdap::RunHeadCommand() {
  QueuedCommand command;
  if (m_Queue.Peek(&command) != 0 || command.from != m_pPrevState.load() || command.to != m_pCurState.load())
    return;
  m_Queue.Pop(&command);
  if (command.code != QIRAQ::kCodeUnload) {
    platform::diagnostic("cmd on the list is invalid\n");
    return;
  }
  platform::diagnostic("Chained command : Unload invoked by stat%d\n", command.issuer->StateNumber());
  std::this_thread::yield();
  if (m_pCurState.load()->ClosePlayer() == 0 && !IsPlayerLibraryLoaded())
    SetState(m_pStat0.get());
}

void QIRAAdap::StorePaths(const char* path1, const char* path2) {
  std::lock_guard lock(m_PathLock);
  m_pszPath1 = path1 ? path1 : "";
  m_pszPath2 = path2 ? path2 : "";
}

QIRAAdap::Paths QIRAAdap::CurrentPaths() const {
  std::lock_guard lock(m_PathLock);
  return Paths{m_pszPath1, m_pszPath2};
}

int QIRAAdap::LocateUserData() {
  const std::string path = CurrentPaths().path1;
  if (path.empty())
    return 1;
  UdatLocator::Area area;
  const UdatLocator::Code code = UdatLocator::Locate(path, area);
  if (code == UdatLocator::kFound) {
    platform::diagnostic("###Parsing udat area : sized %zx\n", area.length);
    m_Telemetry.Adopt(std::move(area));
  }
  std::this_thread::yield();
  return code;
}

int QIRAAdap::LoadUserData() {
  if (const int code = LocateUserData()) {
    m_Telemetry.SetErrorFlag(1);
    m_bUserDataFailed = 1;
    return code;
  }
  const int indexed = m_Telemetry.Index();
  m_Telemetry.SetErrorFlag(0);
  m_bUserDataFailed = 0;
  return indexed;
}
