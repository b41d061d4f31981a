// SPDX-License-Identifier: GPL-3.0-or-later
// Binary contract between the engine and the player library it loads at run
// time. Both sides (and the test double) compile against this one header, so
// the layouts below are the only definition of the records that cross over.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace player {

// Event callback registered through "setW": context given to "setInst", data
// (a value or a pointer, per event code) and the event code.
using Callback = void (*)(void* context, intptr_t data, uint32_t code);

using EntryFn = int (*)(int argc, char** argv);
using SetInstFn = void (*)(void* context);
using SetWFn = void (*)(Callback callback);
using CmdDirectFn = int (*)(const char* command);

// Export names as the engine looks them up, in lookup order. Only 32-bit
// Windows decorates stdcall names; everywhere else (64-bit Windows included)
// the exports carry the plain names.
inline constexpr const char* kExportEntry = "Tamsel";
#if defined(_WIN32) && !defined(_WIN64)
inline constexpr const char* kExportSetInst = "setInst@4";
inline constexpr const char* kExportSetW = "setW@4";
#else
inline constexpr const char* kExportSetInst = "setInst";
inline constexpr const char* kExportSetW = "setW";
#endif
inline constexpr const char* kExportCmdDirect = "cmd_direct";

// The library's stop flag (event 21): the engine stores 1 from the UI thread,
// the library polls it from its own threads.
using StopFlag = std::atomic<int32_t>;
static_assert(sizeof(StopFlag) == sizeof(int32_t) && StopFlag::is_always_lock_free);

// Window handle as passed through events 3, 4 and 10: a QObject pointer.
using WindowHandle = void*;

enum Event : uint32_t {
  kEventReady = 0,            // library ready after "setW"
  kEventVideoWindow1 = 3,     // data: WindowHandle of channel 1
  kEventVideoWindow2 = 4,     // data: WindowHandle of channel 2
  kEventModule = 5,           // data: const char* module name
  kEventFrame = 6,            // data: const FrameReport*
  kEventQueryMainWindow = 10, // data: WindowHandle* to fill
  kEventDiagnostic = 12,      // data: const char* text
  kEventDuration = 14,        // data: const float* seconds
  kEventPlayerEnded = 16,     // the entry is about to return
  kEventQueryPlacementA = 17, // data: const VideoPlacement** to fill
  kEventPlaying = 18,         // a recording began to play
  kEventRecordingEnded = 20,  // end of a recording (or stop)
  kEventStopFlag = 21,        // data: StopFlag*
  kEventClosed = 22,          // sent by the main window after an unload
  kEventLength = 23,          // data: const StreamRecord*
  kEventPosition = 24,        // data: position value
  kEventQueryReply1 = 25,     // data: int32_t* to fill
  kEventQueryDesktopWidth = 26,
  kEventQueryDesktopHeight = 27,
  kEventQueryReply2 = 28,
  kEventQueryPlacementB = 29, // data: const VideoPlacement** to fill
  kEventQueryVolume = 30,     // data: int32_t* to fill
};

// Window messages the engine sends to a video window. A video window is a
// QObject (the handle of events 3 and 4); a message reaches it as a
// platform::WindowMessageEvent (platform/WindowMessage.h: event type
// QEvent::User + 0x464, carrying message, wParam and lParam, with a result the
// receiver may set). From the window's own thread the event is sent; from any
// other thread it is posted, and a sender that waits for the result blocks
// until the window's thread has delivered (and deleted) the event.
//   0x600  notify (posted when the sender is on another thread): wParam is a
//          const char* text command of static lifetime ("get_time_length");
//          lParam 0.
//   0x670  send: one frame step; wParam and lParam 0.
//   0x0046 send (placement, platform::kMsgWindowPos): lParam is a const
//          platform::WindowPos* (x, y, width, height as int, parent client
//          pixels); the receiver sets its geometry, shows itself and sets the
//          result to 1. The pointer is valid only during delivery.
// WM_MOVE, 0x660, 0x690 and 0x760 carry nothing (wParam and lParam 0).
enum Message : uint32_t {
  kMsgMove = 0x0003,       // WM_MOVE
  kMsgCommandText = 0x600, // wParam: const char* text command
  kMsgParentMoved = 0x660,
  kMsgFrameStep = 0x670,
  kMsgFlyAwayBegin = 0x690,
  kMsgFlyAwayEnd = 0x760,
};

// One placement rectangle: x, y, width, height as unsigned 16-bit values.
struct VideoRect {
  uint16_t x;
  uint16_t y;
  uint16_t width;
  uint16_t height;
};
// Channel 0 then channel 1, read by the library through events 17 and 29.
struct VideoPlacement {
  VideoRect channel[2];
};
static_assert(sizeof(VideoPlacement) == 16);

// Event 6. Only seconds, frameBytes and the two images are read by the engine;
// the leading fields are the library's and fill the 44 bytes before them.
struct FrameReport {
  int32_t width;        // image width in pixels
  int32_t height;       // image height in pixels
  int32_t bitsPerPixel; // 32: blue, green, red, unused; top row first
  uint32_t frameIndex;  // position of the shown frame
  uint8_t reserved[28];
  float secondsPlayed; // offset 44
  int32_t frameBytes;  // offset 48: bytes of each image
  const uint8_t* frame1;
  const uint8_t* frame2;
};
static_assert(offsetof(FrameReport, secondsPlayed) == 44);
static_assert(offsetof(FrameReport, frameBytes) == 48);

// Event 23: a stream record whose pointer (offset 20 on 32-bit builds, 24 on
// 64-bit builds) leads to a block with the length (in position units) at
// offset 80.
struct StreamInfo {
  uint8_t reserved[80];
  uint32_t length;
};
static_assert(offsetof(StreamInfo, length) == 80);

struct StreamRecord {
  uint8_t reserved[20];
  const StreamInfo* info;
};

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(offsetof(FrameReport, frame1) == 52 && offsetof(FrameReport, frame2) == 56);
static_assert(offsetof(StreamRecord, info) == 20);
#elif UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
// Pointers at natural alignment: each one moves to the next multiple of 8.
static_assert(offsetof(FrameReport, frame1) == 56 && offsetof(FrameReport, frame2) == 64);
static_assert(offsetof(StreamRecord, info) == 24);
#endif

// The seven-word argument vector of the entry.
inline constexpr int kArgumentCount = 7;
inline constexpr int kArgPath1 = 5;
inline constexpr int kArgPath2 = 6;

} // namespace player
