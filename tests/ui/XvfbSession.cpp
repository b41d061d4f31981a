// SPDX-License-Identifier: GPL-3.0-or-later
#include "XvfbSession.h"

namespace {
constexpr int kStartTimeoutMs = 10000;
}

// The server picks a free display itself and writes its number to -displayfd.
// Without -noreset it resets whenever its last client leaves, and a program
// connecting during a reset (while a poller's short connections come and go)
// is refused.
XvfbSession::XvfbSession(int width, int height) {
  m_server.start(QStringLiteral("Xvfb"),
                 {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                  QStringLiteral("%1x%2x24").arg(width).arg(height), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                  QStringLiteral("-noreset")});
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

std::vector<std::pair<QString, QString>> XvfbSession::Variables() const {
  return {{QStringLiteral("DISPLAY"), m_display},
          {QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb")},
          {QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/dev/null/no-session-bus")}};
}

QProcessEnvironment XvfbSession::Environment() const {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const auto& [name, value] : Variables())
    environment.insert(name, value);
  environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
  return environment;
}

void XvfbSession::ExportToChildren() const {
  for (const auto& [name, value] : Variables())
    qputenv(name.toLocal8Bit().constData(), value.toLocal8Bit());
  qunsetenv("WAYLAND_DISPLAY");
}

QString XvfbSession::Messages() {
  m_server.waitForReadyRead(100);
  return QString::fromLocal8Bit(m_server.readAllStandardError());
}
