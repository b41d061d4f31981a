// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>

// How a benchmark's child process ended and the processor time it used, user
// and system together. A pid of 0 or less (a failed fork) gives a failed run.
struct ChildExit {
  bool succeeded = false;
  double cpuMs = 0.0;
};

inline ChildExit WaitForChild(pid_t child) {
  ChildExit ended;
  if (child <= 0)
    return ended;
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child)
    return ended;
  const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
  ended.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  ended.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
  return ended;
}
