// Finding the card among the drives and paths on it (names in any case),
// collecting the files below a folder, and the drives made of the kernel's
// mount table: the system's, the removable ones, hidden mounts.
#include <gtest/gtest.h>

#include <tuple>

#include "library/CCardLocator.h"
#include "library/CFileCollector.h"
#include "platform/CLinuxDriveEnumerator.h"
#include "platform/CMountTable.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

using test::TempFolder;

class CardLocator : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* dir :
         {"none", "card/NORMAL", "card2/NORMAL", "fixed/NORMAL", "sys/NORMAL", "lower/Normal"})
      t_.Dir(dir);
  }
  // Drives by folder name: "fixed" and "sys" are fixed disks, "sys" the system's own.
  CFixedDriveEnumerator Drives(const std::vector<std::string>& names) const {
    std::vector<DriveInfo> list;
    for (const std::string& name : names) {
      DriveInfo d;
      d.root = t_ / name;
      d.removable = name != "fixed" && name != "sys";
      d.system = name == "sys";
      list.push_back(d);
    }
    return CFixedDriveEnumerator(list);
  }
  TempFolder t_;
};

TEST_F(CardLocator, CardDrivesInDriveOrder) {
  using Names = std::vector<std::string>;
  const struct {
    Names drives, any, removable;
  } rows[] = {
      {{"none", "card", "card2"}, {"card", "card2"}, {"card", "card2"}},
      {{"sys", "fixed", "lower"}, {"fixed", "lower"}, {"lower"}},
      {{"none", "missing"}, {}, {}},
      {{}, {}, {}},
  };
  for (const auto& r : rows) {
    const CFixedDriveEnumerator drives = Drives(r.drives);
    for (auto [search, expected] : {std::pair(CardSearch::AnyDrive, r.any),
                                    std::pair(CardSearch::RemovableOnly, r.removable)}) {
      SCOPED_TRACE(testing::Message() << r.drives.size() << " drives, search " << int(search));
      Names found;
      for (const DriveInfo& d : CCardLocator::FindCardDrives(drives, search))
        found.push_back(d.root.filename());
      EXPECT_EQ(found, expected);
      EXPECT_EQ(CCardLocator::FindCardRoot(drives, search),
                expected.empty() ? std::nullopt : std::optional(t_ / expected[0]));
    }
  }  // Card paths resolve in any case, component by component.
  t_.Dir("lower/Dit/gps");
  EXPECT_EQ(CCardLocator::Resolve(t_ / "lower", "DIT/GPS"), t_ / "lower/Dit/gps");
  EXPECT_EQ(CCardLocator::Resolve(t_ / "lower", "EVENT"), std::nullopt);
}

TEST(FileCollector, EveryFileBelowAFolderSortedWithoutFollowingLinks) {
  TempFolder t;
  for (const char* name :
       {"NORMAL/b.avi", "NORMAL/a.avi", "NORMAL/sub/deeper/d.avi", "NORMAL/sub/c.avi"})
    t.File(name);
  t.Dir("NORMAL/empty");
  std::filesystem::create_directory_symlink(t / "NORMAL", t / "NORMAL/sub/loop");
  const std::vector<std::filesystem::path> expected = {t / "NORMAL/a.avi", t / "NORMAL/b.avi",
                                                       t / "NORMAL/sub/c.avi",
                                                       t / "NORMAL/sub/deeper/d.avi"};
  EXPECT_EQ(CFileCollector::Collect(t / "NORMAL"), expected);
  EXPECT_TRUE(CFileCollector::Collect(t / "missing").empty());
}

// A desktop with a card in a USB reader, an SD slot and a second fixed disk:
// optional fields, an escaped blank, pseudo file systems, two malformed lines
// and a mount hidden by a later one on the same point.
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
    "garbage line\n"
    "403 26 x:y / /bad rw - ext4 /dev/sdz rw\n"
    "500 26 8:32 / /media/user/DISK rw - vfat /dev/sdc rw\n"
    "70 26 8:3 / /mnt/x rw - ext4 /dev/sda3 rw\n"
    "71 70 8:17 / /mnt/x rw - vfat /dev/sdb1 rw\n";

// A sysfs tree with the disks of kDesktopTable: sda fixed on SATA, sdb a USB
// reader whose flag says fixed, mmcblk0 an SD slot, sdc a whole disk flagged
// removable. Each partition's link names its disk's folder.
void MakeSysfs(const TempFolder& t) {
  // Disk folder, removable flag, partitions with their major:minor.
  using Parts = std::vector<std::pair<std::string, std::string>>;
  const std::tuple<std::string, const char*, Parts> disks[] = {
      {"pci/ata1/block/sda", "0", {{"sda1", "8:1"}, {"sda2", "8:2"}, {"sda3", "8:3"}}},
      {"pci/usb2/2-1/block/sdb", "0", {{"sdb1", "8:17"}}},
      {"platform/sdhci/mmc_host/mmc0/mmc0:0001/block/mmcblk0", "0", {{"mmcblk0p1", "179:1"}}},
      {"pci/ata3/block/sdc", "1", {{"", "8:32"}}},
  };
  t.Dir("sys/dev/block");
  for (const auto& [folder, flag, parts] : disks) {
    const std::string disk = "sys/devices/" + folder;
    t.Write(disk + "/removable", std::string(flag) + "\n");
    for (const auto& [name, majMin] : parts) {
      if (!name.empty()) t.Write(disk + "/" + name + "/partition", "1\n");
      std::filesystem::create_directory_symlink(t / disk / name, t / "sys/dev/block" / majMin);
    }
  }
}

TEST(LinuxDriveEnumerator, DrivesOfTheTableWithTheirFlags) {
  TempFolder t;
  MakeSysfs(t);
  CLinuxDriveEnumerator e(t.Write("mountinfo", kDesktopTable), t / "sys");
  using Drive = std::tuple<std::string, bool, bool, std::string>;  // root, system, removable
  const std::vector<Drive> expected = {
      {"/", true, false, "/dev/sda2"},
      {"/boot/efi", true, false, "/dev/sda1"},
      {"/home", false, false, "/dev/sda3"},
      {"/media/user/LUMORA CARD", false, true, "/dev/sdb1"},  // on USB
      {"/media/user/SDSLOT", false, true, "/dev/mmcblk0p1"},  // on MMC
      {"/media/user/DISK", false, true, "/dev/sdc"},          // the flag
      {"/mnt/x", false, true, "/dev/sdb1"}};
  std::vector<Drive> drives;
  for (const DriveInfo& d : e.GetDrives())
    drives.emplace_back(d.root, d.system, d.removable, d.device);
  EXPECT_EQ(drives, expected);
  EXPECT_EQ(e.GetDrives()[3].fsType, "vfat");
  EXPECT_EQ(CMountTable::Parse(kDesktopTable).size(), 10u);  // the malformed lines are dropped
  EXPECT_EQ(CMountTable::Unescape("a\\134b\\011c\\0"), "a\\b\tc\\0");
  EXPECT_TRUE(CLinuxDriveEnumerator(t / "none", t / "sys").GetDrives().empty());
}

}  // namespace
}  // namespace lumora
