// SPDX-License-Identifier: GPL-3.0-or-later
#include "OutputChecks.h"

#include <QPainter>
#include <QProcess>
#include <cstdlib>

namespace output_checks {

QString run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
    return {};
  return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QImage quarters(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  QPainter painter(&image);
  const int halfWidth = width / 2;
  const int halfHeight = height / 2;
  painter.fillRect(0, 0, halfWidth, halfHeight, kTopLeft);
  painter.fillRect(halfWidth, 0, width - halfWidth, halfHeight, kTopRight);
  painter.fillRect(0, halfHeight, halfWidth, height - halfHeight, kBottomLeft);
  painter.fillRect(halfWidth, halfHeight, width - halfWidth, height - halfHeight, kBottomRight);
  return image;
}

bool near(QColor a, QColor b, int tolerance) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace output_checks
