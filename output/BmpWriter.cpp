// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/BmpWriter.h"

#include <QImage>
#include <cstdint>

namespace {

void put16(QByteArray& out, uint16_t value) {
  out.append(char(value & 0xFF));
  out.append(char(value >> 8));
}

void put32(QByteArray& out, uint32_t value) {
  put16(out, uint16_t(value & 0xFFFF));
  put16(out, uint16_t(value >> 16));
}

} // namespace

QByteArray BmpWriter::Encode(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  const int width = rgb.width();
  const int height = rgb.height();
  const uint32_t imageBytes = uint32_t(RowBytes(width)) * uint32_t(height);
  const uint32_t dataOffset = kFileHeaderBytes + kInfoHeaderBytes;

  QByteArray out;
  out.reserve(int(dataOffset + imageBytes));
  out.append("BM", 2);
  put32(out, dataOffset + imageBytes);
  put16(out, 0);
  put16(out, 0);
  put32(out, dataOffset);

  put32(out, kInfoHeaderBytes);
  put32(out, uint32_t(width));
  put32(out, uint32_t(height)); // positive: bottom row first
  put16(out, 1);
  put16(out, kBitsPerPixel);
  for (uint32_t field : {0u, imageBytes, 0u, 0u, 0u, 0u}) // compression, size, resolutions, colours
    put32(out, field);

  const int padding = RowBytes(width) - width * 3;
  for (int y = height - 1; y >= 0; --y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < width; ++x) {
      out.append(char(qBlue(row[x])));
      out.append(char(qGreen(row[x])));
      out.append(char(qRed(row[x])));
    }
    out.append(padding, '\0');
  }
  return out;
}
