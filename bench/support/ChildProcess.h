// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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

// A program started as a child with `args` and, as its last argument, the
// number of a pipe's write end; the parent keeps the read end. A pid of -1
// when it could not start.
struct SelfChild {
  pid_t pid = -1;
  int readFd = -1;
};

inline SelfChild StartProgram(const std::string& program, std::vector<std::string> args, bool dropOutput = false) {
  int fds[2];
  if (pipe(fds) != 0)
    return {};
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    if (dropOutput && !freopen("/dev/null", "w", stdout))
      _exit(126);
    args.insert(args.begin(), program);
    args.push_back(std::to_string(fds[1]));
    std::vector<char*> argv;
    for (std::string& arg : args)
      argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(fds[1]);
  if (child < 0) {
    close(fds[0]);
    return {};
  }
  return {child, fds[0]};
}

// This program started again as a child, as StartProgram starts one.
inline SelfChild StartSelf(std::vector<std::string> args, bool dropOutput = false) {
  return StartProgram("/proc/self/exe", std::move(args), dropOutput);
}

// The child's side of a one-record report: 0 when it was written whole.
template <typename Report> int ReportToParent(int fd, const Report& report) {
  return write(fd, &report, sizeof report) == ssize_t(sizeof report) ? 0 : 1;
}

// This program started again with `args`, its output dropped, and the one
// record it reports through ReportToParent; false when it did not report it or
// failed.
template <typename Report> bool ReportFromSelf(const std::vector<std::string>& args, Report& report) {
  const SelfChild child = StartSelf(args, true);
  if (child.pid <= 0)
    return false;
  const bool reported = read(child.readFd, &report, sizeof report) == ssize_t(sizeof report);
  close(child.readFd);
  return WaitForChild(child.pid).succeeded && reported;
}
