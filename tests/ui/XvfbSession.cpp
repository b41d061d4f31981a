// SPDX-License-Identifier: GPL-3.0-or-later
#include "XvfbSession.h"

namespace {
constexpr int kStartTimeoutMs = 10000;
}

// The server picks a free display itself and writes its number to -displayfd.
XvfbSession::XvfbSession(int width, int height) {
  m_server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                          QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(width).arg(height),
                                          QStringLiteral("-nolisten"), QStringLiteral("tcp")});
  if (!m_server.waitForStarted(kStartTimeoutMs))
    return;
  QByteArray number;
  while (!number.contains('\n') && m_server.waitForReadyRead(kStartTimeoutMs))
    number += m_server.readAllStandardOutput();
  const QByteArray trimmed = number.trimmed();
  if (!trimmed.isEmpty())
    m_display = QStringLiteral(":") + QString::fromLatin1(trimmed);
}

XvfbSession::~XvfbSession() {
  if (m_server.state() == QProcess::NotRunning)
    return;
  m_server.terminate();
  if (!m_server.waitForFinished(kStartTimeoutMs))
    m_server.kill();
}

QProcessEnvironment XvfbSession::Environment() const {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("DISPLAY"), m_display);
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
  return environment;
}
