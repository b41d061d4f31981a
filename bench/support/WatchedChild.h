// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

// Another program run by a benchmark in a process group of its own, its
// standard output read line by line to learn when it reached a point (its
// standard error dropped). Ending it ends the whole group, helper processes
// included.
class WatchedChild {
public:
  using Clock = std::chrono::steady_clock;

  // `environment`: "NAME=value" entries added to this process's own.
  WatchedChild(std::vector<std::string> args, const std::vector<std::string>& environment) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
      return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    std::vector<std::string> variables = environment;
    for (char** variable = environ; *variable; ++variable) {
      if (!overridden(*variable, environment))
        variables.push_back(*variable);
    }
    const std::vector<char*> argv = pointers(args), envp = pointers(variables);
    if (posix_spawnp(&m_pid, argv[0], &actions, &attributes, argv.data(), envp.data()) != 0)
      m_pid = -1;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    m_output = fds[0];
  }
  ~WatchedChild() {
    Stop();
    if (m_output >= 0)
      close(m_output);
  }
  WatchedChild(const WatchedChild&) = delete;
  WatchedChild& operator=(const WatchedChild&) = delete;

  bool Started() const { return m_pid > 0; }
  pid_t Pid() const { return m_pid; }
  bool OutputEnded() const { return m_ended; }
  // Every line read so far, each ending in '\n'.
  const std::string& Output() const { return m_text; }

  // Reads until a line holding `text` comes (true), or the deadline passes or
  // the output ends (false). An empty text only reads until the deadline, so
  // that the child never waits on a full pipe.
  bool WaitForLine(const std::string& text, Clock::time_point deadline) {
    while (!m_ended) {
      if (!text.empty() && takeLine(text))
        return true;
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0)
        return false;
      pollfd ready{m_output, POLLIN, 0};
      if (poll(&ready, 1, int(left)) > 0)
        readSome();
    }
    return !text.empty() && takeLine(text);
  }

  // Ends the group (politely, then for good) and reaps the child; true when
  // it had ended by itself with status 0 before.
  bool Stop() {
    if (m_pid <= 0)
      return m_succeeded;
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
      m_succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
      kill(-m_pid, SIGKILL); // helpers left behind
    } else {
      kill(-m_pid, SIGTERM);
      reapWithin(std::chrono::seconds(5));
    }
    m_pid = -1;
    return m_succeeded;
  }

private:
  static bool overridden(const std::string& variable, const std::vector<std::string>& environment) {
    const std::string name = variable.substr(0, variable.find('=') + 1);
    for (const std::string& given : environment) {
      if (given.rfind(name, 0) == 0)
        return true;
    }
    return false;
  }

  static std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (std::string& text : texts)
      result.push_back(text.data());
    result.push_back(nullptr);
    return result;
  }

  // A whole line holding `text` after the last one taken; later waits look
  // past it.
  bool takeLine(const std::string& text) {
    const size_t at = m_text.find(text, m_searchedTo);
    const size_t end = at == std::string::npos ? at : m_text.find('\n', at);
    if (end == std::string::npos)
      return false;
    m_searchedTo = end + 1;
    return true;
  }

  void readSome() {
    char buffer[4096];
    const ssize_t got = read(m_output, buffer, sizeof buffer);
    if (got <= 0)
      m_ended = true;
    else
      m_text.append(buffer, size_t(got));
  }

  void reapWithin(std::chrono::seconds patience) {
    const Clock::time_point deadline = Clock::now() + patience;
    int status = 0;
    while (waitpid(m_pid, &status, WNOHANG) == 0) {
      if (Clock::now() > deadline) {
        kill(-m_pid, SIGKILL);
        waitpid(m_pid, &status, 0);
        return;
      }
      usleep(20000);
    }
  }

  pid_t m_pid = -1;
  int m_output = -1;
  bool m_ended = false;
  bool m_succeeded = false;
  std::string m_text;
  size_t m_searchedTo = 0;
};
