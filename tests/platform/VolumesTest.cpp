// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Volumes.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Guards against kernel file systems, bind mounts of a part of a file system
// and second mounts of one device showing up as drives, and against escaped
// blanks in mount points.
TEST(Volumes, MountInfoKeepsWholeBlockDevicesOnce) {
  const std::string mountInfo = "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                                "23 22 0:21 / /proc rw,nosuid shared:12 - proc proc rw\n"
                                "24 22 0:5 / /dev/shm rw shared:3 - tmpfs tmpfs rw\n"
                                "40 22 179:1 / /media/me/CAM\\040CARD rw,nosuid - vfat /dev/mmcblk0p1 rw\n"
                                "41 22 8:1 /var/lib/hosts /etc/hosts rw - ext4 /dev/sda1 rw\n"
                                "42 22 8:17 / /mnt/usb rw - vfat /dev/sdb1 rw\n"
                                "43 22 8:17 / /mnt/again rw - vfat /dev/sdb1 rw\n"
                                "garbage line\n";
  const std::vector<platform::BlockMount> mounts = platform::parseMountInfo(mountInfo);
  ASSERT_EQ(mounts.size(), 3u);
  EXPECT_EQ(mounts[0].mountPoint, "/");
  EXPECT_EQ(mounts[1].mountPoint, "/media/me/CAM CARD");
  EXPECT_EQ(mounts[1].major, 179u);
  EXPECT_EQ(mounts[1].minor, 1u);
  EXPECT_EQ(mounts[2].mountPoint, "/mnt/usb");
}

// A partition asks the disk it belongs to; a device unknown to /sys is fixed.
TEST(Volumes, RemovableFlagOfDiskOrParentDisk) {
  const fs::path sys = fs::temp_directory_path() / ("volumes-sys-" + std::to_string(getpid()));
  const auto disk = [&](const std::string& name, const char* removable) {
    fs::create_directories(sys / "devices" / name);
    std::ofstream(sys / "devices" / name / "removable") << removable << "\n";
  };
  const auto link = [&](const std::string& number, const fs::path& target) {
    fs::create_directories(sys / "dev/block");
    fs::create_symlink(sys / "devices" / target, sys / "dev/block" / number);
  };
  disk("sdb", "1");
  fs::create_directories(sys / "devices/sdb/sdb1");
  std::ofstream(sys / "devices/sdb/sdb1/partition") << "1\n";
  disk("sda", "0");
  link("8:16", "sdb");
  link("8:17", "sdb/sdb1");
  link("8:0", "sda");

  const struct {
    unsigned major, minor;
    bool removable;
  } cases[] = {{8, 16, true}, {8, 17, true}, {8, 0, false}, {9, 9, false}};
  for (const auto& c : cases)
    EXPECT_EQ(platform::isRemovableDevice(sys.string(), c.major, c.minor), c.removable) << c.major << ":" << c.minor;
  fs::remove_all(sys);
}

TEST(Volumes, RootEndsWithOneSeparatorAndTheSystemListIsSane) {
  EXPECT_EQ(platform::volumeRoot("/media/card"), "/media/card/");
  EXPECT_EQ(platform::volumeRoot("/"), "/");
  for (const platform::Volume& volume : platform::listVolumes()) {
    EXPECT_EQ(volume.root.back(), '/');
    EXPECT_TRUE(fs::is_directory(volume.root)) << volume.root;
  }
}

} // namespace
