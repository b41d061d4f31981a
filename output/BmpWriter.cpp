// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/BmpWriter.h"

#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

void put16(QByteArray& out, uint16_t value) {
  out.append(char(value & 0xFF));
  out.append(char(value >> 8));
}

void put32(QByteArray& out, uint32_t value) {
  put16(out, uint16_t(value & 0xFFFF));
  put16(out, uint16_t(value >> 16));
}

// A new file beside `target`, made with the ordinary permissions; -1 with
// errno set when none can be made.
int createBeside(const QByteArray& target, QByteArray& created) {
  constexpr int kAttempts = 16;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    created = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
    const int fd = open(created.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST)
      return fd;
  }
  return -1;
}

// 0 once all of `bytes` is written, otherwise the error number.
int writeAll(int fd, const QByteArray& bytes) {
  for (qsizetype done = 0; done < bytes.size();) {
    const ssize_t count = write(fd, bytes.constData() + done, size_t(bytes.size() - done));
    if (count < 0 && errno == EINTR)
      continue;
    if (count <= 0)
      return count < 0 ? errno : EIO;
    done += count;
  }
  return 0;
}

} // namespace

int BmpWriter::Save(const QImage& image, const QString& path) {
  const QByteArray target = QFile::encodeName(path);
  QByteArray temporary;
  const int fd = createBeside(target, temporary);
  if (fd < 0)
    return errno;
  int error = writeAll(fd, Encode(image));
  // A disk may tell that it is full only when the data reaches it.
  if (error == 0 && fsync(fd) != 0)
    error = errno;
  if (close(fd) != 0 && error == 0)
    error = errno;
  if (error == 0 && std::rename(temporary.constData(), target.constData()) != 0)
    error = errno;
  if (error != 0)
    unlink(temporary.constData());
  return error;
}

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
