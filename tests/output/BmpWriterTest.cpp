// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/BmpWriter.h"

#include "OutputChecks.h"

#include <QBuffer>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

uint32_t field32(const QByteArray& file, int offset) {
  return qFromLittleEndian<uint32_t>(reinterpret_cast<const uchar*>(file.constData()) + offset);
}
uint16_t field16(const QByteArray& file, int offset) {
  return qFromLittleEndian<uint16_t>(reinterpret_cast<const uchar*>(file.constData()) + offset);
}

// Guards the fixed header layout that other programs rely on.
TEST(BmpWriter, HeadersOfTheSnapshotSize) {
  const QByteArray file = BmpWriter::Encode(output_checks::quarters(640, 480));
  ASSERT_EQ(file.size(), 921654);
  EXPECT_EQ(file.left(2), QByteArray("BM"));
  const struct {
    int offset;
    uint32_t value;
  } fields32[] = {{2, 921654}, {6, 0},       {10, 54}, {14, 40}, {18, 640}, {22, 480},
                  {30, 0},     {34, 921600}, {38, 0},  {42, 0},  {46, 0},   {50, 0}};
  for (const auto& field : fields32)
    EXPECT_EQ(field32(file, field.offset), field.value) << "offset " << field.offset;
  EXPECT_EQ(field16(file, 26), 1);
  EXPECT_EQ(field16(file, 28), 24);
}

// Guards row order, byte order and padding: the first stored row is the
// bottom one, blue first, and odd widths are padded with zeros.
TEST(BmpWriter, BottomRowFirstBlueGreenRedPadded) {
  QImage image(3, 2, QImage::Format_RGB32);
  image.fill(QColor(1, 2, 3));
  image.setPixelColor(0, 1, QColor(10, 20, 30));
  const QByteArray file = BmpWriter::Encode(image);
  ASSERT_EQ(BmpWriter::RowBytes(3), 12);
  ASSERT_EQ(file.size(), 54 + 2 * 12);
  const QByteArray bottom = file.mid(54, 12);
  EXPECT_EQ(bottom, QByteArray("\x1e\x14\x0a\x03\x02\x01\x03\x02\x01\0\0\0", 12));
  EXPECT_EQ(file.mid(66, 9), QByteArray("\x03\x02\x01\x03\x02\x01\x03\x02\x01", 9));
}

// A real decoder (Qt's own) reads back the same picture.
TEST(BmpWriter, QtReadsBackThePicture) {
  const QImage picture = output_checks::quarters(640, 480);
  QByteArray file = BmpWriter::Encode(picture);
  QBuffer buffer(&file);
  QImageReader reader(&buffer, "bmp");
  const QImage read = reader.read();
  ASSERT_FALSE(read.isNull()) << reader.errorString().toStdString();
  EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), picture);
}

// A second decoder, outside the program, agrees on format, size and depth.
TEST(BmpWriter, ImageMagickIdentifiesIt) {
  QTemporaryDir dir;
  const QString path = dir.filePath("picture.bmp");
  QFile out(path);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(BmpWriter::Encode(output_checks::quarters(640, 480)));
  out.close();
  const QString identified = output_checks::run("identify", {"-format", "%m %w %h %[channels] %z", path});
  EXPECT_EQ(identified.trimmed(), QStringLiteral("BMP3 640 480 srgb 8"));
  const QString corner = output_checks::run("convert", {path, "-format", "%[pixel:p{639,479}]", "info:"});
  EXPECT_EQ(corner.trimmed(), QStringLiteral("srgb(220,220,40)"));
}

} // namespace
