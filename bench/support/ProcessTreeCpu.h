// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/types.h>
#include <unistd.h>
#include <vector>

// Processor time, user and system, of a running process and all its
// descendants as the kernel counts it now. A program made of several
// processes (a web engine's renderer and helpers) counts whole; the time of
// descendants that already ended and were reaped is in their parent's counts.
namespace process_tree {

struct Entry {
  pid_t parent = 0;
  double cpuSeconds = 0.0;
};

// One process's line of /proc/PID/stat; false when it is gone.
inline bool ReadEntry(pid_t pid, Entry& entry) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
  std::string text;
  if (!std::getline(file, text))
    return false;
  // The command name in parentheses may hold spaces; fields follow its end.
  const size_t nameEnd = text.rfind(')');
  if (nameEnd == std::string::npos)
    return false;
  std::istringstream fields(text.substr(nameEnd + 1));
  std::string state;
  long skipped = 0;
  double user = 0, system = 0, childrenUser = 0, childrenSystem = 0;
  fields >> state >> entry.parent;
  for (int field = 5; field <= 13; ++field)
    fields >> skipped;
  fields >> user >> system >> childrenUser >> childrenSystem;
  entry.cpuSeconds = (user + system + childrenUser + childrenSystem) / double(sysconf(_SC_CLK_TCK));
  return bool(fields);
}

inline std::map<pid_t, Entry> AllProcesses() {
  std::map<pid_t, Entry> all;
  DIR* proc = opendir("/proc");
  if (!proc)
    return all;
  while (const dirent* item = readdir(proc)) {
    const pid_t pid = pid_t(std::atol(item->d_name));
    Entry entry;
    if (pid > 0 && ReadEntry(pid, entry))
      all[pid] = entry;
  }
  closedir(proc);
  return all;
}

inline double CpuSeconds(pid_t root) {
  const std::map<pid_t, Entry> all = AllProcesses();
  std::map<pid_t, std::vector<pid_t>> children;
  for (const auto& [pid, entry] : all)
    children[entry.parent].push_back(pid);
  double total = 0.0;
  std::vector<pid_t> pending{root};
  while (!pending.empty()) {
    const pid_t pid = pending.back();
    pending.pop_back();
    if (const auto found = all.find(pid); found != all.end())
      total += found->second.cpuSeconds;
    for (pid_t child : children[pid])
      pending.push_back(child);
  }
  return total;
}

} // namespace process_tree
