// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>

// Copies a block of `size` window pixels from the picture's top left corner
// to `at` on the canvas, replacing what was there. A picture smaller than the
// block gives only what it has; the rest of the block keeps the canvas.
void CopyPicture(QImage& canvas, const QPoint& at, const QImage& picture, const QSize& size);

// Copies the rectangle of the source picture, a surface of the canvas's size,
// to the same place of the canvas.
void CopyArea(QImage& canvas, const QImage& source, const QRect& rect);
