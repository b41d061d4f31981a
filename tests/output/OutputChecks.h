// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

namespace output_checks {

// Runs a program of the system and returns its standard output; empty when it
// could not run or failed.
QString run(const QString& program, const QStringList& arguments);

// A picture in four coloured quarters, so that a corner tells which part of it landed there.
QImage quarters(int width, int height);
inline const QColor kTopLeft(200, 30, 30);
inline const QColor kTopRight(30, 200, 30);
inline const QColor kBottomLeft(30, 30, 200);
inline const QColor kBottomRight(220, 220, 40);

// Whether two colours differ by at most `tolerance` in each component.
bool near(QColor a, QColor b, int tolerance = 12);

} // namespace output_checks
