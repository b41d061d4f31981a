// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Volumes.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/statvfs.h>
#include <utility>

namespace platform {

namespace {

bool isOctal(char c) { return c >= '0' && c <= '7'; }

// mountinfo escapes blanks, tabs, line ends and backslashes as \ooo.
std::string unescapeOctal(const std::string& field) {
  std::string text;
  for (size_t i = 0; i < field.size(); ++i) {
    const bool octal = field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) && isOctal(field[i + 2]) &&
                       isOctal(field[i + 3]);
    if (octal) {
      text += char(std::stoi(field.substr(i + 1, 3), nullptr, 8));
      i += 3;
    } else {
      text += field[i];
    }
  }
  return text;
}

bool parseDevice(const std::string& field, unsigned& major, unsigned& minor) {
  char colon = 0;
  std::istringstream in(field);
  return bool(in >> major >> colon >> minor) && colon == ':';
}

bool readFlag(const std::filesystem::path& file) {
  std::ifstream in(file);
  int value = 0;
  return in >> value && value != 0;
}

uint64_t totalBytes(const std::string& mountPoint) {
  struct statvfs info {};
  if (statvfs(mountPoint.c_str(), &info) != 0)
    return 0;
  return uint64_t(info.f_blocks) * info.f_frsize;
}

std::string readFile(const char* path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

} // namespace

std::vector<BlockMount> parseMountInfo(const std::string& text) {
  std::vector<BlockMount> mounts;
  std::set<std::pair<unsigned, unsigned>> seen;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    std::string id, parent, device, root, mountPoint;
    if (!(fields >> id >> parent >> device >> root >> mountPoint))
      continue;
    BlockMount mount;
    // Major 0 is the kernel's own file systems (proc, tmpfs, overlay, ...).
    if (root != "/" || !parseDevice(device, mount.major, mount.minor) || mount.major == 0)
      continue;
    if (!seen.insert({mount.major, mount.minor}).second)
      continue;
    mount.mountPoint = unescapeOctal(mountPoint);
    mounts.push_back(std::move(mount));
  }
  return mounts;
}

bool isRemovableDevice(const std::string& sysRoot, unsigned major, unsigned minor) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path link = fs::path(sysRoot) / "dev/block" / (std::to_string(major) + ":" + std::to_string(minor));
  const fs::path device = fs::canonical(link, error);
  if (error)
    return false;
  const bool partition = fs::exists(device / "partition", error);
  return readFlag((partition ? device.parent_path() : device) / "removable");
}

std::string volumeRoot(const std::string& mountPoint) {
  if (!mountPoint.empty() && mountPoint.back() == '/')
    return mountPoint;
  return mountPoint + '/';
}

std::vector<Volume> listVolumes() {
  std::vector<Volume> volumes;
  for (const BlockMount& mount : parseMountInfo(readFile("/proc/self/mountinfo"))) {
    Volume volume;
    volume.root = volumeRoot(mount.mountPoint);
    volume.removable = isRemovableDevice("/sys", mount.major, mount.minor);
    volume.totalBytes = totalBytes(mount.mountPoint);
    volumes.push_back(std::move(volume));
  }
  return volumes;
}

} // namespace platform
