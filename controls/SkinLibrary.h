// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QSize>
#include <QString>

// The window's artwork, addressed by its resource number. Every picture is
// drawn from a vector source at the requested device pixel ratio, so the
// skin stays sharp on scaled displays, or copied as drawn ahead by the build
// (below); results are cached per size and ratio.
// Images may be asked for on any thread; pixmaps and the icon on the GUI
// thread only.
class SkinLibrary {
public:
  // Resource numbers of the skin. Pressed looks follow their normal look
  // except for the "Time" button, whose numbers run the other way.
  enum Id : int {
    kIcon = 128,
    kPositionThumb = 140,
    kPositionChannel = 141,
    kBackground = 142,
    kOpenNormal = 149,
    kOpenPressed = 150,
    kDigit0 = 151, // digits 0 to 9 are kDigit0 + n
    kDigit9 = 160,
    kInfoNormal = 161,
    kInfoPressed = 162,
    kSaveNormal = 163,
    kSavePressed = 164,
    kPrintNormal = 165,
    kPrintPressed = 166,
    kSnapNormal = 167,
    kSnapPressed = 168,
    kSetupNormal = 169,
    kSetupPressed = 170,
    kExitNormal = 171,
    kExitPressed = 172,
    kPlayNormal = 174,
    kPlayPressed = 175,
    kPauseNormal = 176,
    kPausePressed = 177,
    kSlowerNormal = 180,
    kSlowerPressed = 181,
    kBrightnessChannel = 184,
    kBrightnessThumb = 185,
    kVolumeChannel = 186,
    kVolumeThumb = 187,
    kSmallMark1 = 189,  // timeline start pointer
    kSmallMark3 = 190,  // timeline end pointer
    kCompassDial = 191, // decoration 1
    kGraphPanel = 192,  // decoration 2
    kTimeline = 193,    // decoration 3
    kStopNormal = 194,
    kStopPressed = 195,
    kFasterNormal = 196,
    kFasterPressed = 197,
    kCameraBadge = 199, // decoration 4
    kVolumeDragThumb = 200,
    kBrightnessDragThumb = 201,
    kEventMark = 203, // small mark 2
    kTimePressed = 204,
    kTimeNormal = 205,
    kDigitDash = 210, // the speed's place when a recording has no telemetry
  };

  // Whether the number names a picture of the skin.
  static bool contains(int id);

  // The picture's size in pixels at a ratio of 1; empty for unknown numbers.
  static QSize size(int id);

  // The picture at its own size; a null pixmap for unknown numbers.
  static QPixmap pixmap(int id, qreal devicePixelRatio = 1.0);

  // The picture stretched to a logical size (drawn at that size, not scaled
  // up from the small one).
  static QPixmap pixmap(int id, const QSize& logicalSize, qreal devicePixelRatio);

  // The picture as an image at its own size, for surfaces that are drawn on.
  static QImage image(int id, qreal devicePixelRatio = 1.0);

  // The window icon at the usual icon sizes.
  static QIcon icon();

  // Every picture's number.
  static QList<int> ids();
  // Drawing the skin takes tens of milliseconds, most of them the
  // background's text. Once a resource file of drawings made ahead (the
  // build's render-skin) is in use, pictures at their own size and a ratio
  // of 1 or 2 are copied from it: raw premultiplied ARGB32 pixels under
  // ":/skin-drawn/<drawnAheadName>". Call before the first picture is asked for.
  static bool useDrawnAhead(const QString& resourceFile);
  static QString drawnAheadName(int id, int devicePixelRatio);
};
