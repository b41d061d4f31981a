// SPDX-License-Identifier: GPL-3.0-or-later
// render-icon SVG SIZE PNG: the build's renderer of the desktop icon at the
// theme's pixel sizes, with the same SVG engine that draws the window's skin.

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: render-icon SVG SIZE PNG\n", stderr);
    return 2;
  }
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  const int side = QString::fromLatin1(argv[2]).toInt();
  if (!svg.isValid() || side <= 0) {
    std::fprintf(stderr, "render-icon: cannot render %s at %s pixels\n", argv[1], argv[2]);
    return 1;
  }
  QImage picture(side, side, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  svg.render(&painter);
  painter.end();
  if (!picture.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
    std::fprintf(stderr, "render-icon: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
