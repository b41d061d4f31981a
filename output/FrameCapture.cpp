// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/FrameCapture.h"

#include "engine/QIRAAdap.h"
#include "output/BmpWriter.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// Failures the user can act on, said in words that name the folder.
constexpr struct {
  int error;
  const char* reason;
} kReasons[] = {
    {ENOSPC, "The disk is full"},
    {EDQUOT, "The disk quota is used up"},
    {EROFS, "The disk is read-only"},
    {EACCES, "No permission to write in the folder"},
    {EPERM, "No permission to write in the folder"},
};

QString failureText(int error, const QString& name) {
  const QFileInfo file(name);
  for (const auto& known : kReasons)
    if (known.error == error)
      return QStringLiteral("%1: cannot save %2 in %3")
          .arg(QLatin1String(known.reason), file.fileName(), QDir::toNativeSeparators(file.absolutePath()));
  return QStringLiteral("Could not save the picture as %1:\n%2")
      .arg(file.fileName(), QString::fromLocal8Bit(std::strerror(error)));
}

void showMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Lumenark"), text, QMessageBox::Ok, parent);
  box.exec();
}

} // namespace

// The copy is made while the player keeps the picture untouched.
void FrameCapture::CopyFrame(const QIRAAdap& adap) {
  adap.UseLastPicture([this](const uint8_t* image, int32_t bytes) {
    // Bytes past the bitmap are never used, so a larger report costs no memory.
    m_nFrameBytes = std::clamp(bytes, 0, kBitmapBytes);
    if (m_snapshot.size() < size_t(m_nFrameBytes))
      m_snapshot.resize(size_t(m_nFrameBytes));
    if (image && m_nFrameBytes > 0)
      std::memcpy(m_snapshot.data(), image, size_t(m_nFrameBytes));
  });
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
  const QString failure = SaveBitmapFile(bitmap, name);
  if (!failure.isEmpty())
    showMessage(parent, failure);
}

QString FrameCapture::FileName(const QDateTime& time) {
  const QDate date = time.date();
  const QTime clock = time.time();
  return QString::asprintf("CAP%d-%02d-%02d_%d-%d-%d.bmp", date.year(), date.month(), date.day(), clock.hour(),
                           clock.minute(), clock.second());
}

QString FrameCapture::SaveBitmapFile(const QImage& bitmap, const QString& name) {
  const int error = BmpWriter::Save(bitmap, name);
  return error == 0 ? QString() : failureText(error, name);
}
