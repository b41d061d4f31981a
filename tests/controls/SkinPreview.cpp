// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a picture of the skinned window as the layout assembles it, with
// sample telemetry, for reviewing the artwork: skin_preview OUT.png [RATIO].
#include "controls/SkinLibrary.h"

#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

struct Placed {
  int id;
  QRect rect;
};

constexpr int kWidth = 1010;
constexpr int kHeight = 790;

const Placed kControls[] = {
    {SkinLibrary::kOpenNormal, {920, 121, 60, 20}},
    {SkinLibrary::kSnapNormal, {18, 78, 20, 20}},
    {SkinLibrary::kPrintNormal, {48, 78, 20, 20}},
    {SkinLibrary::kExitNormal, {968, 26, 16, 16}},
    {SkinLibrary::kInfoNormal, {78, 78, 20, 20}},
    {SkinLibrary::kPlayPressed, {34, 624, 52, 23}},
    {SkinLibrary::kPauseNormal, {90, 624, 52, 23}},
    {SkinLibrary::kStopNormal, {146, 624, 52, 23}},
    {SkinLibrary::kSlowerNormal, {202, 624, 52, 23}},
    {SkinLibrary::kFasterNormal, {258, 624, 52, 23}},
    {SkinLibrary::kPositionChannel, {18, 610, 638, 12}},
    {SkinLibrary::kPositionThumb, {228, 612, 8, 9}},
    {SkinLibrary::kVolumeChannel, {454, 635, 69, 14}},
    {SkinLibrary::kVolumeThumb, {480, 637, 17, 10}},
    {SkinLibrary::kBrightnessChannel, {572, 635, 69, 14}},
    {SkinLibrary::kBrightnessDragThumb, {582, 637, 17, 10}},
    {SkinLibrary::kEventMark, {240, 589, 12, 21}},
    {SkinLibrary::kEventMark, {420, 589, 12, 21}},
    {153 - 2, {587, 698, 15, 22}},
    {158, {603, 698, 15, 22}},
    {153, {619, 698, 15, 22}},
};

void drawText(QPainter& p, const QRect& r, const QString& text, const QColor& fg, const QColor& bg, int flags) {
  p.setPen(fg);
  if (bg.isValid())
    p.fillRect(p.fontMetrics().boundingRect(r, flags, text), bg);
  p.drawText(r, flags, text);
}

void drawSampleContent(QPainter& p) {
  QFont font("DejaVu Sans");
  font.setPixelSize(12);
  p.setFont(font);
  p.fillRect(QRect(20, 110, 640, 480), QColor(40, 48, 56));
  p.fillRect(QRect(673, 502, 316, 268), QColor(222, 226, 216));
  p.fillRect(QRect(678, 169, 300, 316), Qt::black);
  p.fillRect(QRect(680, 123, 232, 16), Qt::black);
  drawText(p, {680, 123, 232, 16}, "/media/card/DCIM", Qt::white, {}, Qt::AlignLeft | Qt::AlignVCenter);
  for (int i = 0; i < 6; ++i)
    drawText(p, {680, 170 + i * 15, 296, 15},
             QString("drf0_20261207_1412%1.mp4    48 MB   Normal").arg(i * 7 % 60, 2, 10, QChar('0')), Qt::white, {},
             Qt::AlignLeft | Qt::AlignVCenter);
  drawText(p, {18, 594, 54, 14}, "00:42", Qt::white, QColor(65, 65, 65), Qt::AlignLeft | Qt::AlignVCenter);
  drawText(p, {624, 594, 54, 14}, "02:05", Qt::white, QColor(65, 65, 65), Qt::AlignLeft | Qt::AlignVCenter);
  drawText(p, {888, 27, 70, 14}, "Ver 1.05", Qt::white, QColor(15, 20, 30), Qt::AlignRight | Qt::AlignVCenter);
  drawText(p, {317, 629, 39, 14}, "x1", Qt::white, {}, Qt::AlignCenter);
  const QColor colours[] = {QColor(255, 0, 110), QColor(135, 255, 0), QColor(0, 255, 255)};
  for (int t = 0; t < 3; ++t) {
    p.setPen(colours[t]);
    QPoint last(79, 712);
    for (int i = 1; i < 40; ++i) {
      QPoint next(79 + 6 * i, 712 - int(20 * std::sin(i * 0.3 + t * 2.0) * (t + 1) / 3));
      p.drawLine(last, next);
      last = next;
    }
  }
  QFont bold("Times New Roman");
  bold.setPixelSize(11);
  bold.setBold(true);
  p.setFont(bold);
  p.setPen(colours[0]);
  p.drawText(QPoint(81, 755 + 10), "X : 0.125");
  p.setPen(colours[1]);
  p.drawText(QPoint(199, 755 + 10), "Y : -0.031");
  p.setPen(QColor(0, 225, 255));
  p.drawText(QPoint(316, 755 + 10), "Z : 0.982");
  p.setPen(QPen(Qt::black, 2));
  p.drawLine(QPointF(497.5 + 5 * 0.6, 715 - 5 * 0.8), QPointF(497.5 + 25 * 0.6, 715 - 25 * 0.8));
}

// Every small picture side by side, for checking pressed and dragged looks.
QImage contactSheet(qreal ratio) {
  QImage sheet(QSize(700, 240) * ratio, QImage::Format_ARGB32_Premultiplied);
  sheet.setDevicePixelRatio(ratio);
  sheet.fill(QColor(0x14, 0x1b, 0x27));
  QPainter painter(&sheet);
  QPoint at(8, 8);
  int rowHeight = 0;
  for (int id = 128; id <= 205; ++id) {
    const QSize size = SkinLibrary::size(id);
    if (size.isEmpty() || id == SkinLibrary::kBackground)
      continue;
    if (at.x() + size.width() > 692) {
      at = QPoint(8, at.y() + rowHeight + 8);
      rowHeight = 0;
    }
    painter.drawPixmap(at, SkinLibrary::pixmap(id, ratio));
    at.rx() += size.width() + 8;
    rowHeight = std::max(rowHeight, size.height());
  }
  return sheet;
}

} // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: skin_preview OUT.png [RATIO] [--bare | --sheet]\n");
    return 2;
  }
  const qreal ratio = argc > 2 ? QString(argv[2]).toDouble() : 1.0;
  const QString mode = argc > 3 ? QString(argv[3]) : QString();
  if (mode == QLatin1String("--sheet"))
    return contactSheet(ratio).save(argv[1]) ? 0 : 1;
  const bool bare = mode == QLatin1String("--bare");
  QImage window(QSize(kWidth, kHeight) * ratio, QImage::Format_ARGB32_Premultiplied);
  window.setDevicePixelRatio(ratio);
  QPainter painter(&window);
  painter.drawImage(0, 0, SkinLibrary::image(SkinLibrary::kBackground, ratio));
  if (!bare) {
    drawSampleContent(painter);
    for (const Placed& control : kControls)
      painter.drawPixmap(control.rect.topLeft(), SkinLibrary::pixmap(control.id, control.rect.size(), ratio));
  }
  painter.end();
  return window.save(argv[1]) ? 0 : 1;
}
