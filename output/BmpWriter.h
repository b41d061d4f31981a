// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

class QImage;
class QString;

// Uncompressed 24-bit Windows bitmaps, byte for byte: 14-byte file header,
// 40-byte information header, no colour table, rows bottom first in blue,
// green, red, each padded with zeros to a multiple of 4 bytes.
class BmpWriter {
public:
  static constexpr int kFileHeaderBytes = 14;
  static constexpr int kInfoHeaderBytes = 40;
  static constexpr int kBitsPerPixel = 24;

  static int RowBytes(int width) { return (kBitsPerPixel * width + 31) / 32 * 4; }
  // The whole file for `image` (any format; alpha is dropped).
  static QByteArray Encode(const QImage& image);
  // Writes the file for `image` to `path` whole or not at all: through a new
  // file beside it that replaces `path` only once complete and on the disk,
  // so a failure leaves an earlier file of that name and nothing partial.
  // 0 on success, otherwise the system's error number.
  static int Save(const QImage& image, const QString& path);
};
