#include <gtest/gtest.h>

#include <fstream>

#include "library/CCardLocator.h"
#include "platform/CLinuxDriveEnumerator.h"
#include "platform/CMountTable.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

using test::TempFolder;

// Lines as the kernel writes them on this kind of machine (a virtual disk as
// the root file system, pseudo file systems around it).
const char* kServerTable =
    "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
    "23 27 0:22 / /sys rw,relatime - sysfs sysfs rw\n"
    "24 27 0:6 / /dev rw,relatime - devtmpfs devtmpfs "
    "rw,size=12334792k,nr_inodes=3083698,mode=755\n"
    "25 24 0:23 / /dev/shm rw,relatime - tmpfs tmpfs rw,size=24683784k\n"
    "26 24 0:24 / /dev/pts rw,relatime - devpts devpts rw,mode=600,ptmxmode=000\n"
    "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw,discard,resv_strict,resuid=65534,resgid=65534\n"
    "31 23 0:28 / /sys/fs/cgroup rw,relatime - tmpfs tmpfs rw,mode=755\n"
    "41 31 0:38 / /sys/fs/cgroup/unified rw,relatime - cgroup2 cgroup2 rw\n";

// A desktop with a card in a USB reader, an SD slot and a second fixed disk;
// optional fields before the separator, an escaped blank in a label.
const char* kDesktopTable =
    "26 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw,errors=remount-ro\n"
    "27 26 8:1 / /boot/efi rw,relatime shared:2 - vfat /dev/sda1 rw,fmask=0077\n"
    "60 26 8:3 / /home rw,relatime shared:30 - ext4 /dev/sda3 rw\n"
    "61 26 8:3 /srv/share /mnt/bind rw,relatime shared:30 - ext4 /dev/sda3 rw\n"
    "400 26 8:17 / /media/user/LUMORA\\040CARD rw,nosuid,nodev,relatime shared:200 master:7 - "
    "vfat /dev/sdb1 rw,uid=1000,gid=1000,fmask=0022,dmask=0022,codepage=437,errors=remount-ro\n"
    "401 26 179:1 / /media/user/SDSLOT rw,nosuid,nodev,relatime shared:201 - exfat /dev/mmcblk0p1 "
    "rw\n"
    "402 26 0:50 / /run/user/1000/gvfs rw,nosuid,nodev,relatime shared:202 - fuse.gvfsd-fuse "
    "gvfsd-fuse rw,user_id=1000\n"
    "garbage line\n"
    "403 26 x:y / /bad rw - ext4 /dev/sdz rw\n";

TEST(MountTable, ParsesTheKernelFormat) {
  const auto entries = CMountTable::Parse(kServerTable);
  ASSERT_EQ(entries.size(), 8u);
  const MountEntry& root = entries[5];
  EXPECT_EQ(root.mountId, 27);
  EXPECT_EQ(root.parentId, 1);
  EXPECT_EQ(root.major, 254u);
  EXPECT_EQ(root.minor, 0u);
  EXPECT_EQ(root.root, "/");
  EXPECT_EQ(root.mountPoint, "/");
  EXPECT_EQ(root.fsType, "ext4");
  EXPECT_EQ(root.source, "/dev/vda");
  EXPECT_EQ(entries[0].fsType, "proc");
}

TEST(MountTable, OptionalFieldsEscapesAndBadLines) {
  const auto entries = CMountTable::Parse(kDesktopTable);
  ASSERT_EQ(entries.size(), 7u);  // the two malformed lines are dropped
  EXPECT_EQ(entries[4].mountPoint, "/media/user/LUMORA CARD");
  EXPECT_EQ(entries[4].fsType, "vfat");
  EXPECT_EQ(entries[4].source, "/dev/sdb1");
  EXPECT_EQ(entries[4].major, 8u);
  EXPECT_EQ(entries[4].minor, 17u);
  EXPECT_EQ(entries[3].root, "/srv/share");
  EXPECT_EQ(CMountTable::Unescape("a\\134b\\011c\\0"), "a\\b\tc\\0");
  EXPECT_TRUE(CMountTable::Parse("").empty());
}

TEST(MountTable, TheRunningSystemsTableParses) {
  std::ifstream in("/proc/self/mountinfo");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto entries = CMountTable::Parse(text);
  ASSERT_FALSE(entries.empty());
  bool rootSeen = false;
  for (const auto& e : entries) rootSeen = rootSeen || e.mountPoint == "/";
  EXPECT_TRUE(rootSeen);
}

// A sysfs tree with the disks of kDesktopTable: sda fixed on SATA, sdb a USB
// reader whose flag says fixed, mmcblk0 an SD slot.
void MakeSysfs(const TempFolder& t) {
  const auto sys = t.path() / "sys";
  auto disk = [&](const std::string& devPath, const std::string& flag) {
    std::filesystem::create_directories(sys / devPath);
    std::ofstream(sys / devPath / "removable") << flag << "\n";
  };
  auto part = [&](const std::string& devPath, const std::string& majMin) {
    std::filesystem::create_directories(sys / devPath);
    std::ofstream(sys / devPath / "partition") << "1\n";
    std::filesystem::create_directories(sys / "dev/block");
    std::filesystem::create_directory_symlink(sys / devPath, sys / "dev/block" / majMin);
  };
  disk("devices/pci0000:00/0000:00:17.0/ata1/host0/block/sda", "0");
  part("devices/pci0000:00/0000:00:17.0/ata1/host0/block/sda/sda1", "8:1");
  part("devices/pci0000:00/0000:00:17.0/ata1/host0/block/sda/sda2", "8:2");
  part("devices/pci0000:00/0000:00:17.0/ata1/host0/block/sda/sda3", "8:3");
  disk("devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/block/sdb", "0");
  part("devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/block/sdb/sdb1", "8:17");
  disk("devices/platform/sdhci/mmc_host/mmc0/mmc0:0001/block/mmcblk0", "0");
  part("devices/platform/sdhci/mmc_host/mmc0/mmc0:0001/block/mmcblk0/mmcblk0p1", "179:1");
  // A whole disk with the flag set and no partition table.
  disk("devices/pci0000:00/0000:00:1f.2/ata3/host2/block/sdc", "1");
  std::filesystem::create_directory_symlink(
      sys / "devices/pci0000:00/0000:00:1f.2/ata3/host2/block/sdc", sys / "dev/block/8:32");
}

TEST(LinuxDriveEnumerator, DesktopDrivesInTableOrder) {
  TempFolder t;
  MakeSysfs(t);
  const auto table = t.File("mountinfo");
  std::ofstream(table) << kDesktopTable << "500 26 8:32 / /media/user/DISK rw - vfat /dev/sdc rw\n";
  CLinuxDriveEnumerator e(table, t.path() / "sys");
  const auto drives = e.GetDrives();
  ASSERT_EQ(drives.size(), 6u);
  EXPECT_EQ(drives[0].root, "/");
  EXPECT_TRUE(drives[0].system);
  EXPECT_FALSE(drives[0].removable);
  EXPECT_EQ(drives[1].root, "/boot/efi");
  EXPECT_TRUE(drives[1].system);
  EXPECT_EQ(drives[2].root, "/home");
  EXPECT_FALSE(drives[2].system);
  EXPECT_FALSE(drives[2].removable);
  EXPECT_EQ(drives[3].root, "/media/user/LUMORA CARD");
  EXPECT_TRUE(drives[3].removable);  // on USB
  EXPECT_EQ(drives[3].fsType, "vfat");
  EXPECT_EQ(drives[4].root, "/media/user/SDSLOT");
  EXPECT_TRUE(drives[4].removable);  // on MMC
  EXPECT_EQ(drives[5].root, "/media/user/DISK");
  EXPECT_TRUE(drives[5].removable);  // the flag
  EXPECT_FALSE(e.IsRemovable(9, 9));
}

TEST(LinuxDriveEnumerator, OvermountedPointKeepsTheLaterEntry) {
  TempFolder t;
  MakeSysfs(t);
  const auto table = t.File("mountinfo");
  std::ofstream(table) << "26 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
                       << "70 26 8:3 / /mnt/x rw - ext4 /dev/sda3 rw\n"
                       << "71 70 8:17 / /mnt/x rw - vfat /dev/sdb1 rw\n";
  CLinuxDriveEnumerator e(table, t.path() / "sys");
  const auto drives = e.GetDrives();
  ASSERT_EQ(drives.size(), 2u);
  EXPECT_EQ(drives[1].device, "/dev/sdb1");
  EXPECT_TRUE(drives[1].removable);
  CLinuxDriveEnumerator missing(t.path() / "none", t.path() / "sys");
  EXPECT_TRUE(missing.GetDrives().empty());
}

TEST(LinuxDriveEnumerator, FindsTheCardThroughTheMountTable) {
  TempFolder t;
  MakeSysfs(t);
  // Mount points are folders of the test; the card one holds NORMAL.
  const auto fixedDisk = t.Dir("mnt/data");
  const auto card = t.Dir("mnt/card");
  t.Dir("mnt/data/NORMAL");
  t.Dir("mnt/card/NORMAL");
  const auto table = t.File("mountinfo");
  std::ofstream(table) << "26 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
                       << "60 26 8:3 / " << fixedDisk.string() << " rw - ext4 /dev/sda3 rw\n"
                       << "61 26 8:17 / " << card.string() << " rw - vfat /dev/sdb1 rw\n";
  CLinuxDriveEnumerator e(table, t.path() / "sys");
  EXPECT_EQ(CCardLocator::FindCardRoot(e, CardSearch::AnyDrive), fixedDisk);
  EXPECT_EQ(CCardLocator::FindCardRoot(e, CardSearch::RemovableOnly), card);
}

}  // namespace
}  // namespace lumora
