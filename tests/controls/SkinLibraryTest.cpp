// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/SkinLibrary.h"
#include "platform/ModulePath.h"

#include <QResource>
#include <QSet>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace {

struct Expected {
  int id;
  QSize size;
};

// Every picture the window uses, at the size its layout was made for.
const Expected kExpected[] = {
    {128, {32, 32}},  {140, {8, 9}},   {141, {348, 9}}, {142, {1010, 790}}, {149, {60, 20}},   {150, {60, 20}},
    {151, {15, 22}},  {152, {15, 22}}, {153, {15, 22}}, {154, {15, 22}},    {155, {15, 22}},   {156, {15, 22}},
    {157, {15, 22}},  {158, {15, 22}}, {159, {15, 22}}, {160, {15, 22}},    {161, {20, 20}},   {162, {20, 20}},
    {163, {20, 20}},  {164, {20, 20}}, {165, {20, 20}}, {166, {20, 20}},    {167, {20, 20}},   {168, {20, 20}},
    {169, {20, 20}},  {170, {20, 20}}, {171, {16, 16}}, {172, {16, 16}},    {174, {52, 23}},   {175, {52, 23}},
    {176, {52, 23}},  {177, {52, 23}}, {180, {52, 23}}, {181, {52, 23}},    {184, {79, 13}},   {185, {17, 10}},
    {186, {79, 13}},  {187, {17, 10}}, {189, {7, 9}},   {190, {7, 9}},      {191, {116, 118}}, {192, {346, 109}},
    {193, {640, 21}}, {194, {52, 23}}, {195, {52, 23}}, {196, {52, 23}},    {197, {52, 23}},   {199, {16, 14}},
    {200, {17, 10}},  {201, {17, 10}}, {203, {12, 21}}, {204, {20, 20}},    {205, {20, 20}},   {210, {15, 22}},
};

int distinctColours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      colours.insert(line[x]);
  }
  return colours.size();
}

bool isOpaque(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(image.pixel(x, y)) != 255)
        return false;
    }
  }
  return true;
}

QRgb rgb(const QImage& image, int x, int y) { return image.pixel(x, y) | 0xff000000u; }

QStringList& svgWarnings() {
  static QStringList warnings;
  return warnings;
}

void collectSvgWarnings(QtMsgType, const QMessageLogContext& context, const QString& message) {
  if (context.category && QByteArray(context.category).startsWith("qt.svg"))
    svgWarnings().append(message);
}

TEST(SkinLibrary, EveryPictureHasItsSizeAndIsReallyDrawn) {
  // A source that fails to parse renders as an empty, one-colour picture; one
  // with a broken reference loses its gradients with only a warning.
  svgWarnings().clear();
  const QtMessageHandler previous = qInstallMessageHandler(collectSvgWarnings);
  for (const Expected& expected : kExpected) {
    EXPECT_EQ(SkinLibrary::size(expected.id), expected.size) << expected.id;
    for (qreal ratio : {1.0, 2.0}) {
      const QImage image = SkinLibrary::image(expected.id, ratio);
      EXPECT_EQ(image.size(), expected.size * ratio) << expected.id << " at " << ratio;
      EXPECT_EQ(image.devicePixelRatio(), ratio) << expected.id;
      EXPECT_GE(distinctColours(image), 3) << expected.id << " at " << ratio;
    }
  }
  SkinLibrary::icon();
  qInstallMessageHandler(previous);
  EXPECT_TRUE(svgWarnings().isEmpty()) << svgWarnings().join('\n').toStdString();
}

TEST(SkinLibrary, PicturesCopiedOntoTheCanvasAreOpaque) {
  // These are copied block for block; a transparent pixel would punch a hole.
  const int copied[] = {142, 141, 184, 186, 189, 190, 191, 192, 193, 199, 203,
                        151, 152, 153, 154, 155, 156, 157, 158, 159, 160};
  for (int id : copied)
    EXPECT_TRUE(isOpaque(SkinLibrary::image(id))) << id;
}

TEST(SkinLibrary, BackgroundHoldsTheDashboardPiecesPixelForPixel) {
  // Restoring the graph, timeline, dial or speed digits from their own picture
  // must give back exactly the background's pixels.
  struct Piece {
    int id;
    QPoint at;
  };
  const Piece pieces[] = {{SkinLibrary::kTimeline, {19, 589}},     {SkinLibrary::kGraphPanel, {75, 659}},
                          {SkinLibrary::kCompassDial, {438, 654}}, {SkinLibrary::kDigit0, {587, 698}},
                          {SkinLibrary::kDigit0, {603, 698}},      {SkinLibrary::kDigit0, {619, 698}}};
  for (qreal ratio : {1.0, 2.0}) {
    const QImage background = SkinLibrary::image(SkinLibrary::kBackground, ratio);
    for (const Piece& piece : pieces) {
      const QImage image = SkinLibrary::image(piece.id, ratio);
      QImage region = background.copy(QRect(piece.at * ratio, image.size()));
      region.setDevicePixelRatio(ratio);
      EXPECT_EQ(region, image) << piece.id << " at " << ratio;
    }
  }
}

TEST(SkinLibrary, EventMarkAndDigitsBlendIntoWhatTheyCover) {
  const QImage mark = SkinLibrary::image(SkinLibrary::kEventMark);
  const QImage timeline = SkinLibrary::image(SkinLibrary::kTimeline);
  for (int y = 0; y < 21; ++y) {
    EXPECT_EQ(rgb(mark, 0, y), rgb(timeline, 305, y)) << "left edge, row " << y;
    EXPECT_EQ(rgb(mark, 11, y), rgb(timeline, 305, y)) << "right edge, row " << y;
  }
  // Digit cells and the gaps between them share the speed window's colour.
  const QImage background = SkinLibrary::image(SkinLibrary::kBackground);
  const QRgb cell = rgb(SkinLibrary::image(SkinLibrary::kDigit0 + 5), 0, 0);
  for (QPoint gap : {QPoint(585, 709), QPoint(602, 709), QPoint(618, 709), QPoint(636, 709), QPoint(610, 696)})
    EXPECT_EQ(rgb(background, gap.x(), gap.y()), cell) << gap.x() << "," << gap.y();
}

TEST(SkinLibrary, CompassFaceIsLightWhereTheBlackNeedleTurns) {
  // The needle is black, two pixels wide, from radius 5 to 25 around (59.5, 61).
  const QImage dial = SkinLibrary::image(SkinLibrary::kCompassDial);
  for (int step = 0; step < 60; ++step) {
    const double angle = (90 - 6 * step) * M_PI / 180;
    for (int radius = 6; radius <= 24; ++radius) {
      const int x = int(59.5 + radius * std::cos(angle));
      const int y = int(61 - radius * std::sin(angle));
      EXPECT_GT(qGray(dial.pixel(x, y)), 150) << "step " << step << " radius " << radius;
    }
  }
}

TEST(SkinLibrary, TextControlsSitOnTheirOwnBackgroundColours) {
  const QImage background = SkinLibrary::image(SkinLibrary::kBackground);
  // Played and total time: white on (65, 65, 65).
  for (QPoint at : {QPoint(18, 595), QPoint(56, 606), QPoint(624, 595), QPoint(660, 606)})
    EXPECT_EQ(rgb(background, at.x(), at.y()), qRgb(65, 65, 65)) << at.x() << "," << at.y();
  // The version text goes on the header right of the name, on (15, 20, 30).
  for (int y = 8; y < 60; ++y) {
    for (int x = 320; x < 960; ++x)
      ASSERT_EQ(rgb(background, x, y), qRgb(15, 20, 30)) << x << "," << y;
  }
}

TEST(SkinLibrary, NumbersOutsideTheSkinGiveNothing) {
  for (int id : {0, 143, 173, 206, 999}) {
    EXPECT_FALSE(SkinLibrary::contains(id)) << id;
    EXPECT_TRUE(SkinLibrary::size(id).isEmpty()) << id;
    EXPECT_TRUE(SkinLibrary::pixmap(id).isNull()) << id;
  }
}

} // namespace

namespace {

QString drawingsBesideTheTests() {
  return QString::fromStdString(platform::executableDir()) + QStringLiteral("/lumenark-skin.rcc");
}

} // namespace

// The build's drawings hold, byte for byte, what the library draws from the
// sources at ratios 1 and 2; a missing or unusable file is refused.
TEST(SkinLibrary, DrawingsMadeAheadAreThePicturesDrawnFromTheSources) {
  const QTemporaryDir dir;
  for (const QString& unusable : {dir.filePath(QStringLiteral("missing.rcc")), dir.path()})
    EXPECT_FALSE(SkinLibrary::useDrawnAhead(unusable)) << qPrintable(unusable);
  // Drawn before the drawings are in use: the library keeps what it made.
  QList<QImage> drawn;
  for (int id : SkinLibrary::ids()) {
    for (int ratio : {1, 2})
      drawn.append(SkinLibrary::image(id, ratio));
  }
  ASSERT_TRUE(SkinLibrary::useDrawnAhead(drawingsBesideTheTests()));
  auto picture = drawn.cbegin();
  for (int id : SkinLibrary::ids()) {
    for (int ratio : {1, 2}) {
      const QResource drawing(QStringLiteral(":/skin-drawn/") + SkinLibrary::drawnAheadName(id, ratio));
      const QByteArray expected(reinterpret_cast<const char*>(picture->constBits()), picture->sizeInBytes());
      EXPECT_EQ(drawing.uncompressedData(), expected) << id << " at " << ratio;
      ++picture;
    }
  }
}
