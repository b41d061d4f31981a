// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <csignal>
#include <functional>

class QSocketNotifier;

// Turns SIGTERM and SIGINT (a session logging out, Ctrl+C in a terminal) into
// a call on the UI thread, so that the program can close its window and end
// as after Exit instead of dying mid-write. One at a time; the signals'
// previous handling comes back when it is destroyed.
class TerminationSignal : public QObject {
public:
  static constexpr int kSignalCount = 2;

  explicit TerminationSignal(std::function<void()> onSignal);
  ~TerminationSignal() override;
  TerminationSignal(const TerminationSignal&) = delete;
  TerminationSignal& operator=(const TerminationSignal&) = delete;

private:
  static void Handle(int signal);
  void Deliver();

  std::function<void()> m_onSignal;
  QSocketNotifier* m_notifier = nullptr;
  int m_pipe[2] = {-1, -1};
  struct sigaction m_previous[kSignalCount] = {};
};
