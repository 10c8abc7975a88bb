// The kernel's mount table and the drives made of it: which are the system's,
// which are removable (on USB or MMC, or flagged), which mount is hidden by a
// later one, and the card found through them.
#include <gtest/gtest.h>

#include <algorithm>

#include "library/CCardLocator.h"
#include "platform/CLinuxDriveEnumerator.h"
#include "platform/CMountTable.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

using test::TempFolder;

// A desktop with a card in a USB reader, an SD slot and a second fixed disk:
// optional fields before the separator, an escaped blank, pseudo file systems
// and two malformed lines.
const char* kDesktopTable =
    "22 1 0:21 / /proc rw,relatime - proc proc rw\n"
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
    "403 26 x:y / /bad rw - ext4 /dev/sdz rw\n"
    "500 26 8:32 / /media/user/DISK rw - vfat /dev/sdc rw\n";

TEST(MountTable, ParsesTheKernelFormat) {
  const auto entries = CMountTable::Parse(kDesktopTable);
  ASSERT_EQ(entries.size(), 9u);  // the two malformed lines are dropped
  const MountEntry& card = entries[5];
  EXPECT_EQ(card.mountId, 400);
  EXPECT_EQ(card.parentId, 26);
  EXPECT_EQ(card.major, 8u);
  EXPECT_EQ(card.minor, 17u);
  EXPECT_EQ(card.root, "/");
  EXPECT_EQ(card.mountPoint, "/media/user/LUMORA CARD");
  EXPECT_EQ(card.fsType, "vfat");
  EXPECT_EQ(card.source, "/dev/sdb1");
  EXPECT_EQ(entries[4].root, "/srv/share");
  EXPECT_EQ(entries[0].fsType, "proc");
  EXPECT_EQ(CMountTable::Unescape("a\\134b\\011c\\0"), "a\\b\tc\\0");
  EXPECT_TRUE(CMountTable::Parse("").empty());
  // The running system's own table parses and holds the root.
  const auto own = CMountTable::Parse(test::ReadFile("/proc/self/mountinfo"));
  EXPECT_TRUE(
      std::any_of(own.begin(), own.end(), [](const auto& e) { return e.mountPoint == "/"; }));
}

// A sysfs tree with the disks of kDesktopTable: sda fixed on SATA, sdb a USB
// reader whose flag says fixed, mmcblk0 an SD slot, sdc a whole disk flagged
// removable.
void MakeSysfs(const TempFolder& t) {
  const auto sys = t / "sys";
  std::filesystem::create_directories(sys / "dev/block");
  auto disk = [&](const std::string& devPath, const char* flag) {
    t.Write("sys/" + devPath + "/removable", flag);
  };
  auto part = [&](const std::string& devPath, const std::string& majMin) {
    t.Write("sys/" + devPath + "/partition", "1\n");
    std::filesystem::create_directory_symlink(sys / devPath, sys / "dev/block" / majMin);
  };
  const std::string sata = "devices/pci0000:00/0000:00:17.0/ata1/host0/block/sda";
  disk(sata, "0\n");
  for (const char* p : {"1", "2", "3"}) part(sata + "/sda" + p, std::string("8:") + p);
  const std::string usb = "devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/block/sdb";
  disk(usb, "0\n");
  part(usb + "/sdb1", "8:17");
  const std::string mmc = "devices/platform/sdhci/mmc_host/mmc0/mmc0:0001/block/mmcblk0";
  disk(mmc, "0\n");
  part(mmc + "/mmcblk0p1", "179:1");
  const std::string flagged = "devices/pci0000:00/0000:00:1f.2/ata3/host2/block/sdc";
  disk(flagged, "1\n");
  std::filesystem::create_directory_symlink(sys / flagged, sys / "dev/block/8:32");
}

TEST(LinuxDriveEnumerator, DrivesOfTheTableWithTheirFlags) {
  TempFolder t;
  MakeSysfs(t);
  CLinuxDriveEnumerator e(t.Write("mountinfo", kDesktopTable), t / "sys");
  const struct {
    const char* root;
    bool system;
    bool removable;
  } expected[] = {{"/", true, false},
                  {"/boot/efi", true, false},
                  {"/home", false, false},
                  {"/media/user/LUMORA CARD", false, true},  // on USB
                  {"/media/user/SDSLOT", false, true},       // on MMC
                  {"/media/user/DISK", false, true}};        // the flag
  const auto drives = e.GetDrives();
  ASSERT_EQ(drives.size(), std::size(expected));
  for (std::size_t i = 0; i < drives.size(); ++i) {
    SCOPED_TRACE(expected[i].root);
    EXPECT_EQ(drives[i].root, expected[i].root);
    EXPECT_EQ(drives[i].system, expected[i].system);
    EXPECT_EQ(drives[i].removable, expected[i].removable);
  }
  EXPECT_EQ(drives[3].fsType, "vfat");
  EXPECT_EQ(drives[3].device, "/dev/sdb1");
  EXPECT_FALSE(e.IsRemovable(9, 9));
  EXPECT_TRUE(CLinuxDriveEnumerator(t / "none", t / "sys").GetDrives().empty());
}

TEST(LinuxDriveEnumerator, OvermountedPointKeepsTheLaterEntryAndTheCardIsFound) {
  TempFolder t;
  MakeSysfs(t);
  const auto data = t.Dir("mnt/data/NORMAL").parent_path();
  const auto card = t.Dir("mnt/card/NORMAL").parent_path();
  const std::string table =
      "26 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
      "60 26 8:3 / " +
      data.string() +
      " rw - ext4 /dev/sda3 rw\n"
      "70 26 8:2 / " +
      card.string() +
      " rw - ext4 /dev/sda2 rw\n"
      "71 70 8:17 / " +
      card.string() + " rw - vfat /dev/sdb1 rw\n";
  CLinuxDriveEnumerator e(t.Write("mountinfo", table), t / "sys");
  const auto drives = e.GetDrives();
  ASSERT_EQ(drives.size(), 3u);
  EXPECT_EQ(drives[2].device, "/dev/sdb1");
  EXPECT_EQ(CCardLocator::FindCardRoot(e, CardSearch::AnyDrive), data);
  EXPECT_EQ(CCardLocator::FindCardRoot(e, CardSearch::RemovableOnly), card);
}

}  // namespace
}  // namespace lumora
