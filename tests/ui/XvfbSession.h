// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QString>
#include <utility>
#include <vector>

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
  // What a program needs to run on this server: DISPLAY, the X11 platform,
  // and no session bus. Without a bus address libdbus forks to start one
  // (for Qt's accessibility bridge), and a fork from a sanitized program
  // whose other threads hold locks can hang the child and the program.
  std::vector<std::pair<QString, QString>> Variables() const;
  // The process environment with Variables() set.
  QProcessEnvironment Environment() const;
  // Sets Variables() in this process, for every child it starts.
  void ExportToChildren() const;
  // What the server has said on its error output so far, for a failure's report.
  QString Messages();

private:
  QProcess m_server;
  QString m_display;
};
