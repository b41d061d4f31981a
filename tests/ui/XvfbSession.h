// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QString>

// A private X server on a free display, for as long as the object lives.
class XvfbSession {
public:
  XvfbSession(int width, int height);
  ~XvfbSession();
  XvfbSession(const XvfbSession&) = delete;
  XvfbSession& operator=(const XvfbSession&) = delete;

  bool IsRunning() const { return !m_display.isEmpty(); }
  // ":n", empty when the server did not start.
  QString Display() const { return m_display; }
  // The process environment with DISPLAY set to this server and the X11
  // platform chosen.
  QProcessEnvironment Environment() const;

private:
  QProcess m_server;
  QString m_display;
};
