// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TerminationSignal.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>

namespace {

constexpr int kSignals[TerminationSignal::kSignalCount] = {SIGTERM, SIGINT};

// The write end the handler uses: a handler may only do async-signal-safe
// work, so it writes one byte and the UI thread does the rest.
volatile std::sig_atomic_t g_writeEnd = -1;

} // namespace

TerminationSignal::TerminationSignal(std::function<void()> onSignal) : m_onSignal(std::move(onSignal)) {
  if (pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
    return;
  g_writeEnd = m_pipe[1];
  m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignal::Deliver);
  struct sigaction action = {};
  action.sa_handler = &TerminationSignal::Handle;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (size_t i = 0; i < std::size(kSignals); ++i)
    sigaction(kSignals[i], &action, &m_previous[i]);
}

TerminationSignal::~TerminationSignal() {
  if (m_notifier)
    for (size_t i = 0; i < std::size(kSignals); ++i)
      sigaction(kSignals[i], &m_previous[i], nullptr);
  g_writeEnd = -1;
  delete m_notifier;
  for (const int end : m_pipe)
    if (end >= 0)
      close(end);
}

// A full pipe already holds a wake-up, so a failed write loses nothing.
void TerminationSignal::Handle(int) {
  const int savedErrno = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = g_writeEnd >= 0 ? write(g_writeEnd, &byte, 1) : 0;
  errno = savedErrno;
}

void TerminationSignal::Deliver() {
  char bytes[16];
  while (read(m_pipe[0], bytes, sizeof bytes) > 0) {
  }
  m_onSignal();
}
