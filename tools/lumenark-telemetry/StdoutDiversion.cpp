// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/lumenark-telemetry/StdoutDiversion.h"

#include <fcntl.h>
#include <unistd.h>

StdoutDiversion::StdoutDiversion(const char* target) {
  std::fflush(stdout);
  m_savedFd = dup(STDOUT_FILENO);
  const int targetFd = target ? open(target, O_WRONLY) : dup(STDERR_FILENO);
  if (m_savedFd < 0 || targetFd < 0) {
    // Nothing diverted: the data still goes to standard output.
    if (targetFd >= 0)
      close(targetFd);
    return;
  }
  dup2(targetFd, STDOUT_FILENO);
  close(targetFd);
  if (std::FILE* output = fdopen(dup(m_savedFd), "w"))
    m_output = output;
}

StdoutDiversion::~StdoutDiversion() {
  if (m_output != stdout)
    std::fclose(m_output);
  if (m_savedFd < 0)
    return;
  std::fflush(stdout);
  dup2(m_savedFd, STDOUT_FILENO);
  close(m_savedFd);
}
