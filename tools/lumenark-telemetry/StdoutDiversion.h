// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>

// Points the process's standard output at another file while it lives, so
// that the engine's diagnostic lines cannot mix into the data the command
// writes; the data goes to Output(), the original standard output.
class StdoutDiversion {
public:
  // `target` is a path such as "/dev/null" or nullptr for standard error.
  explicit StdoutDiversion(const char* target);
  ~StdoutDiversion();
  StdoutDiversion(const StdoutDiversion&) = delete;
  StdoutDiversion& operator=(const StdoutDiversion&) = delete;

  std::FILE* Output() const { return m_output; }

private:
  int m_savedFd = -1;
  std::FILE* m_output = stdout;
};
