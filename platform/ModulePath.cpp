// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ModulePath.h"

#include <cctype>
#include <filesystem>

namespace platform {

namespace {

bool endsWithIgnoringCase(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size())
    return false;
  for (size_t i = 0; i < suffix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[text.size() - suffix.size() + i])) != suffix[i])
      return false;
  }
  return true;
}

} // namespace

std::string executableDir() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string(".") : exe.parent_path().string();
}

std::string resolveModulePath(const std::string& name) {
  if (name.find('/') != std::string::npos)
    return name;
#ifdef _WIN32
  return name;
#else
  std::string base = name;
  if (endsWithIgnoringCase(base, ".dll"))
    base.resize(base.size() - 4);
  return executableDir() + "/lib" + base + ".so";
#endif
}

} // namespace platform
