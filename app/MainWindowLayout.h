// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's controls as its template lists them, the run-time layout
// that matches the skin picture, and the skin of its buttons and sliders.
#pragma once

#include "app/ControlId.h"

#include <QRect>

namespace layout {

inline constexpr int kWindowWidth = 1010;
inline constexpr int kWindowHeight = 790;
// The template's size in dialog units, before the skin enlarges the window.
inline constexpr int kTemplateWidthUnits = 512;
inline constexpr int kTemplateHeightUnits = 441;

enum class ControlKind { PushButton, BitmapButton, Slider, ListBox, Static, MapArea };

// One control of the template; place in dialog units.
struct TemplateControl {
  ControlId id;
  ControlKind kind;
  const char* text;
  bool visible;
  bool enabled;
  int x, y, width, height;
};

using K = ControlKind;
inline constexpr TemplateControl kTemplate[] = {
    {IDOK, K::PushButton, "확인", false, true, 470, 0, 20, 17},
    {IDCANCEL, K::PushButton, "취소", false, true, 451, 0, 19, 17},
    {IDC_SMALL, K::PushButton, "Small", false, true, 395, 0, 25, 17},
    {IDC_POSITION_SLIDER, K::Slider, "Slider1", true, true, 15, 266, 148, 21},
    {IDC_SOFT_KILL, K::PushButton, "SoftKill", false, false, 145, 376, 28, 13},
    {IDC_UNLOAD, K::PushButton, "Unload", false, true, 139, 0, 25, 17},
    {IDC_CH2, K::PushButton, "CH2", false, true, 69, 0, 21, 17},
    {IDC_SET_FILE, K::PushButton, "SetFile", false, true, 90, 0, 27, 17},
    {IDC_PLAY, K::BitmapButton, "play", true, true, 23, 237, 26, 17},
    {IDC_PAUSE, K::BitmapButton, "Pause", true, true, 53, 237, 25, 17},
    {IDC_STOP, K::BitmapButton, "Stop", true, true, 83, 237, 21, 17},
    {IDC_POS, K::PushButton, "Pos", false, true, 375, 0, 21, 17},
    {IDC_VOLUME_UP, K::PushButton, "Vol(+)", false, true, 292, 0, 24, 17},
    {IDC_FORWARD_SEEK, K::PushButton, "F_Seek", false, true, 241, 0, 27, 17},
    {IDC_FASTER, K::BitmapButton, ">>", true, true, 140, 237, 20, 17},
    {IDC_FLY_AWAY, K::PushButton, "FlyAway", false, true, 420, 0, 31, 17},
    {IDC_FORCE_FLIP, K::PushButton, "Force Flip", false, false, 97, 374, 47, 15},
    {IDC_FRAME_STEP, K::PushButton, "FrameStep", false, true, 339, 0, 37, 17},
    {IDC_RUN, K::PushButton, "Run", false, true, 117, 0, 22, 17},
    {IDC_BUTTON3, K::PushButton, "Button3", false, false, 68, 376, 27, 12},
    {IDC_VOLUME_DOWN, K::PushButton, "Vol(-)", false, true, 316, 0, 23, 17},
    {IDC_CH1, K::PushButton, "CH1", false, true, 47, 0, 23, 17},
    {IDC_SLOWER, K::BitmapButton, "<<", true, true, 117, 237, 20, 17},
    {IDC_BACKWARD_SEEK, K::PushButton, "B_Seek", false, true, 267, 0, 26, 17},
    {IDC_MAP, K::MapArea, "", true, true, 177, 259, 120, 127},
    {IDC_RECORDING_LIST, K::ListBox, "", true, true, 340, 81, 123, 162},
    {IDC_OPEN, K::BitmapButton, "Open", true, true, 453, 62, 43, 14},
    {IDC_FOLDER_TEXT, K::Static, "", true, true, 333, 66, 104, 15},
    {IDC_EXIT, K::BitmapButton, "Exit", true, true, 471, 28, 15, 14},
    {IDC_PRINT, K::BitmapButton, "Print", true, true, 41, 35, 17, 14},
    {IDC_SNAP, K::BitmapButton, "Snap", true, true, 18, 34, 19, 14},
    {IDC_SAVE, K::BitmapButton, "Save", false, true, 28, 69, 19, 14},
    {IDC_INFO, K::BitmapButton, "Info", true, true, 59, 32, 20, 17},
    {IDC_SETUP, K::BitmapButton, "Setup", false, true, 7, 69, 20, 17},
    {IDC_BRIGHT_UP, K::PushButton, "Bright+", false, true, 168, 1, 27, 14},
    {IDC_BRIGHT_DOWN, K::PushButton, "Bright-", false, true, 196, 2, 30, 14},
    {IDC_BRIGHTNESS_SLIDER, K::Slider, "", true, true, 18, 313, 68, 15},
    {IDC_VOLUME_SLIDER, K::Slider, "", true, true, 19, 289, 57, 15},
    {IDC_PLAYED_TIME, K::Static, "", true, true, 26, 203, 15, 8},
    {IDC_TOTAL_TIME, K::Static, "", true, true, 121, 203, 15, 8},
    {IDC_COURSE, K::Static, "0", false, true, 177, 235, 8, 8},
    {IDC_VERSION, K::Static, "Ver 1.02", true, true, 12, 35, 26, 8},
    {IDC_SPEED, K::Static, "x1", true, true, 137, 431, 17, 8},
    {IDC_TIME_SET, K::BitmapButton, "Time", false, true, 43, 53, 23, 14},
};

// A control's place in client pixels.
struct Place {
  ControlId id;
  QRect rect;
};

// Where the controls go once the skin is applied, in the order they are moved.
inline constexpr Place kRuntimeLayout[] = {
    {IDC_MAP, QRect(673, 502, 316, 268)},        {IDC_RECORDING_LIST, QRect(678, 169, 300, 316)},
    {IDC_FOLDER_TEXT, QRect(680, 123, 232, 16)}, {IDC_OPEN, QRect(920, 121, 60, 20)},
    {IDC_SNAP, QRect(18, 78, 20, 20)},           {IDC_PRINT, QRect(48, 78, 20, 20)},
    {IDC_EXIT, QRect(968, 26, 16, 16)},          {IDC_INFO, QRect(78, 78, 20, 20)},
    {IDC_PLAY, QRect(34, 624, 52, 23)},          {IDC_PAUSE, QRect(90, 624, 52, 23)},
    {IDC_STOP, QRect(146, 624, 52, 23)},         {IDC_SLOWER, QRect(202, 624, 52, 23)},
    {IDC_FASTER, QRect(258, 624, 52, 23)},       {IDC_COURSE, QRect(358, 624, 54, 24)},
    {IDC_PLAYED_TIME, QRect(18, 594, 54, 14)},   {IDC_TOTAL_TIME, QRect(624, 594, 54, 14)},
};

// The version and speed texts sit where the skin leaves room for them (the
// header beside Exit, the rate badge after ">>"): in the template's dialog
// units the speed text would cross the "<<" button.
inline constexpr Place kTextPlaces[] = {
    {IDC_VERSION, QRect(888, 27, 70, 14)},
    {IDC_SPEED, QRect(317, 629, 39, 14)},
};

// Bitmap buttons: normal and pressed bitmap, in the order the skin loads them.
struct ButtonSkin {
  ControlId id;
  int normal;
  int pressed;
};
inline constexpr ButtonSkin kButtonSkins[] = {
    {IDC_OPEN, 149, 150},     {IDC_SNAP, 167, 168},  {IDC_EXIT, 171, 172},   {IDC_SAVE, 163, 164},
    {IDC_TIME_SET, 205, 204}, {IDC_INFO, 161, 162},  {IDC_SETUP, 169, 170},  {IDC_PRINT, 165, 166},
    {IDC_PLAY, 174, 175},     {IDC_PAUSE, 176, 177}, {IDC_SLOWER, 180, 181}, {IDC_FASTER, 196, 197},
    {IDC_STOP, 194, 195},
};

// Image sliders: range, place and bitmaps, in the order the skin applies them.
struct SliderSkin {
  ControlId id;
  int min;
  int max;
  QRect rect;
  int channel;
  int thumb;
  int dragThumb;
  int focusThumb;
  int margin;
};
inline constexpr SliderSkin kSliderSkins[] = {
    {IDC_POSITION_SLIDER, 0, 100, QRect(18, 610, 638, 12), 141, 140, 140, 140, 10},
    {IDC_BRIGHTNESS_SLIDER, 1, 10, QRect(572, 635, 69, 14), 184, 185, 201, 185, 10},
    {IDC_VOLUME_SLIDER, 1, 20, QRect(454, 635, 69, 14), 186, 187, 200, 187, 10},
};

struct Tooltip {
  ControlId id;
  const char* text;
};
inline constexpr Tooltip kTooltips[] = {
    {IDC_SNAP, "Screen Capture"},   {IDC_PRINT, "Print"}, {IDC_INFO, "Infomation"}, {IDC_EXIT, "Program exit"},
    {IDC_OPEN, "Select directory"}, {IDC_PLAY, "Play"},   {IDC_PAUSE, "Pause"},     {IDC_SLOWER, "Slow"},
    {IDC_FASTER, "Fast"},           {IDC_STOP, "Stop"},
};

// The skin surfaces' bitmaps.
inline constexpr int kBackgroundBitmap = 142;
inline constexpr int kDecorationBitmaps[] = {191, 192, 193, 199};
inline constexpr int kFirstDigitBitmap = 151; // digits 0 to 9: 151 to 160
inline constexpr int kMarkBitmaps[] = {189, 203, 190};
inline constexpr int kIcon = 128;

} // namespace layout
