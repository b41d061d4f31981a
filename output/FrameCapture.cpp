// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/FrameCapture.h"

#include "engine/QIRAAdap.h"
#include "output/BmpWriter.h"

#include <QDateTime>
#include <QImage>
#include <QMessageBox>
#include <QSaveFile>
#include <algorithm>
#include <cstring>

namespace {

void showMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Lumenark"), text, QMessageBox::Ok, parent);
  box.exec();
}

} // namespace

void FrameCapture::CopyFrame(const QIRAAdap& adap) {
  // Bytes past the bitmap are never used, so a larger report costs no memory.
  m_nFrameBytes = std::clamp(adap.m_nFrameBytes.load(), 0, kBitmapBytes);
  if (m_snapshot.size() < size_t(m_nFrameBytes))
    m_snapshot.resize(size_t(m_nFrameBytes));
  const uint8_t* image = adap.m_pFrame1.load();
  if (image && m_nFrameBytes > 0)
    std::memcpy(m_snapshot.data(), image, size_t(m_nFrameBytes));
}

QImage FrameCapture::Bitmap() const {
  QImage bitmap(kWidth, kHeight, QImage::Format_RGB32);
  if (bitmap.isNull())
    return bitmap;
  bitmap.fill(Qt::black);
  // Blue, green, red, unused per pixel, top row first: the picture's own layout.
  if (m_nFrameBytes > 0)
    std::memcpy(bitmap.bits(), m_snapshot.data(), size_t(m_nFrameBytes));
  return bitmap;
}

void FrameCapture::CaptureFrame(QWidget* parent) {
  const QImage bitmap = Bitmap();
  const QString name = FileName(QDateTime::currentDateTime());
  if (bitmap.isNull()) {
    showMessage(parent, QStringLiteral("failure"));
    return;
  }
  const QString error = SaveBitmapFile(bitmap, name);
  if (!error.isEmpty())
    showMessage(parent, QStringLiteral("Could not save the picture as %1:\n%2").arg(name, error));
}

QString FrameCapture::FileName(const QDateTime& time) {
  const QDate date = time.date();
  const QTime clock = time.time();
  return QString::asprintf("CAP%d-%02d-%02d_%d-%d-%d.bmp", date.year(), date.month(), date.day(), clock.hour(),
                           clock.minute(), clock.second());
}

QString FrameCapture::SaveBitmapFile(const QImage& bitmap, const QString& name) {
  QSaveFile file(name);
  if (!file.open(QIODevice::WriteOnly))
    return file.errorString();
  const QByteArray bytes = BmpWriter::Encode(bitmap);
  if (file.write(bytes) != bytes.size() || !file.commit())
    return file.errorString();
  return {};
}
