// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

class QDateTime;
class QImage;
class QIRAAdap;
class QWidget;

// Saves the picture the player shows on channel 1 as a BMP file in the
// current folder. The engine's image is copied in one step and everything
// after works on the copy, so playback goes on undisturbed.
class FrameCapture {
public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;
  static constexpr int kBitmapBytes = kWidth * kHeight * 4;

  // Copies the engine's current image of channel 1 into the snapshot buffer;
  // nothing is copied while the engine holds no image yet.
  void CopyFrame(const QIRAAdap& adap);
  // Builds the bitmap from the copy and saves it under the time's name;
  // failures are shown in a message box over `parent`.
  void CaptureFrame(QWidget* parent);
  // The copy as a 640 x 480 picture; black where the copy is short.
  QImage Bitmap() const;
  int32_t FrameBytes() const { return m_nFrameBytes; }

  // "CAP2009-03-07_9-5-3.bmp" for 9:05:03 on 7 March 2009.
  static QString FileName(const QDateTime& time);
  // Writes the bitmap whole or not at all (an earlier file of that name stays
  // on failure); empty on success, otherwise the message that tells the user
  // why, naming the folder for a full disk, a read-only one or a missing
  // permission.
  static QString SaveBitmapFile(const QImage& bitmap, const QString& name);

private:
  std::vector<uint8_t> m_snapshot;
  int32_t m_nFrameBytes = 0;
};
