// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/tools/ProcessRunner.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <vector>

std::string ProcessRunner::Tool(const std::string& name) {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

std::string ProcessRunner::TemporaryFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lumenark-tools-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  const char* made = mkdtemp(buffer.data());
  return made ? made : "";
}

std::string ProcessRunner::ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

ProcessRunner::Result ProcessRunner::Run(const std::string& command, int timeoutSeconds) {
  const std::string errPath = TemporaryFolder() + "/stderr";
  const std::string limit = timeoutSeconds > 0 ? "timeout -k 5 " + std::to_string(timeoutSeconds) + " " : "";
  Result result;
  std::FILE* pipe = popen((limit + command + " 2>'" + errPath + "'").c_str(), "r");
  if (!pipe)
    return result;
  std::array<char, 65536> chunk;
  size_t count;
  while ((count = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
    result.out.append(chunk.data(), count);
  const int status = pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.err = ReadFile(errPath);
  std::filesystem::remove_all(std::filesystem::path(errPath).parent_path());
  return result;
}
