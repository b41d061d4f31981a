// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/tools/SampleRecordings.h"

#include <filesystem>
#include <unistd.h>

void SampleRecordings::SetUp() {
  m_folder = ProcessRunner::TemporaryFolder();
  ASSERT_FALSE(m_folder.empty());
}

void SampleRecordings::TearDown() {
  for (auto mount = m_mounts.rbegin(); mount != m_mounts.rend(); ++mount)
    ProcessRunner::Run("umount '" + *mount + "'");
  std::filesystem::remove_all(m_folder);
}

bool SampleRecordings::Mount(const std::string& name, const std::string& options) {
  const std::string folder = m_folder + "/" + name;
  std::filesystem::create_directories(folder);
  if (geteuid() != 0 || ProcessRunner::Run("mount -t tmpfs -o " + options + " tmpfs '" + folder + "'").exitCode != 0)
    return false;
  m_mounts.push_back(folder);
  return true;
}

std::string SampleRecordings::MakeRecording(const std::string& name, int seconds, const std::string& options) {
  const std::string path = m_folder + "/" + name;
  const auto result = ProcessRunner::Run(ProcessRunner::Tool("make-sample-card") + " --recording '" + path +
                                         "' --width 64 --height 48 --fps " + std::to_string(kFps) + " --seconds " +
                                         std::to_string(seconds) + " " + options);
  EXPECT_EQ(result.exitCode, 0) << result.err;
  return path;
}

ProcessRunner::Result SampleRecordings::Telemetry(const std::string& arguments) {
  // The card index's cache stays in the test's folder.
  return ProcessRunner::Run("env XDG_CACHE_HOME='" + m_folder + "/cache' " + ProcessRunner::Tool("lumenark-telemetry") +
                                " " + arguments,
                            kTelemetryTimeoutSeconds);
}
