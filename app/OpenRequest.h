// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QMimeData;

// What a drop on the window or the command line asks to open: a recording
// folder, or one recording (an MP4 file) together with its folder. Anything
// else is refused with a reason fit to show the user.
class OpenRequest {
public:
  // Nothing to open, nothing refused.
  OpenRequest() = default;

  static OpenRequest FromPath(const QString& path);
  // Exactly one local file or folder is usable.
  static OpenRequest FromMimeData(const QMimeData& data);

  bool IsRefused() const { return !m_strRefusal.isEmpty(); }
  // Absolute, in the platform's form, as the folder browser gives it.
  const QString& Folder() const { return m_strFolder; }
  // The recording's path inside Folder(); empty when a folder was named.
  const QString& Recording() const { return m_strRecording; }
  const QString& Refusal() const { return m_strRefusal; }

private:
  static OpenRequest Refused(const QString& why);

  QString m_strFolder;
  QString m_strRecording;
  QString m_strRefusal;
};
