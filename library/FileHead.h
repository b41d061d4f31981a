// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The first bytes of a regular file and the whole file's size. Whatever else
// may stand under the name (a folder, a FIFO, a device) is not read and never
// blocks the caller.
struct FileHead {
  QByteArray bytes;
  qint64 size = 0;

  // At most `maxBytes` from the start of the regular file at `path` (links
  // followed); nothing when it is not one or cannot be read.
  static std::optional<FileHead> Read(const QString& path, qint64 maxBytes);

  bool IsWhole() const { return bytes.size() >= size; }
};
