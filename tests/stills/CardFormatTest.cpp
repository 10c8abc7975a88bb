#include "library/CCardFormat.h"
#include "library/CDriveList.h"

#include <gtest/gtest.h>

#include <fstream>

#include "TestSupport.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;
constexpr double kMiB = 1048576.0;

TEST(CapacityClass, ThresholdsInMebibytes) {
  EXPECT_EQ(CCardFormat::CapacityClass(0), 0);
  EXPECT_EQ(CCardFormat::CapacityClass(kMiB), 0);
  EXPECT_EQ(CCardFormat::CapacityClass(kMiB + 1), 2);
  EXPECT_EQ(CCardFormat::CapacityClass(2047 * kMiB), 2);
  EXPECT_EQ(CCardFormat::CapacityClass(2048 * kMiB), 4);
  EXPECT_EQ(CCardFormat::CapacityClass(4096 * kMiB), 8);
  EXPECT_EQ(CCardFormat::CapacityClass(7600 * kMiB), 8);  // an 8 GB card
  EXPECT_EQ(CCardFormat::CapacityClass(8192 * kMiB), 16);
  EXPECT_EQ(CCardFormat::CapacityClass(15200 * kMiB), 16);  // a 16 GB card
  EXPECT_EQ(CCardFormat::CapacityClass(16383.9 * kMiB), 16);
  EXPECT_EQ(CCardFormat::CapacityClass(16384 * kMiB), 32);
  EXPECT_EQ(CCardFormat::CapacityClass(30500 * kMiB), 32);  // a 32 GB card
  EXPECT_EQ(CCardFormat::CapacityClass(32768 * kMiB), 100000);
}

TEST(CapacityClass, OfARealFolderUsesItsFileSystem) {
  const auto cls = CCardFormat::CapacityClassOf(fs::temp_directory_path());
  ASSERT_TRUE(cls.has_value());
  const auto size = CCardFormat::DriveSize(fs::temp_directory_path());
  ASSERT_TRUE(size.has_value());
  EXPECT_EQ(*cls, CCardFormat::CapacityClass(*size));
  EXPECT_FALSE(CCardFormat::DriveSize("/no/such/folder/anywhere").has_value());
}

TEST(DriveList, DisksFirstInOrderThenTheCardAndNoOpticalDrive) {
  test::ScratchDir dir;
  CFixedDriveEnumerator drives({
      {dir.path() / "c", false, true, "/dev/sda1", "ext4"},
      {dir.path() / "d", false, false, "/dev/sda2", "ext4"},
      {dir.path() / "cdrom", true, false, "/dev/sr0", "iso9660"},
      {dir.path() / "card", true, false, "/dev/sdc1", "vfat"},
  });
  const auto entries = CDriveList::Entries(drives);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].text, (dir.path() / "c").string() + " HDD");
  EXPECT_EQ(entries[1].text, (dir.path() / "d").string() + " HDD");
  EXPECT_EQ(entries[2].text, (dir.path() / "card").string() + " SD CARD");
  EXPECT_EQ(entries[2].root, dir.path() / "card");
  EXPECT_TRUE(CDriveList::Entries(CFixedDriveEnumerator({})).empty());
}

class FormatCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir.path() / "hdd" / "NORMAL");
    fs::create_directories(dir.path() / "card" / "normal");
    fs::create_directories(dir.path() / "empty");
  }
  CCardFormat::SizeFn SizeOf(double mib) {
    return [mib](const fs::path&) { return std::optional<double>(mib * kMiB); };
  }
  DriveInfo Card(const std::string& device = "/dev/sdc1") {
    return {dir.path() / "card", true, false, device, "vfat"};
  }
  std::vector<MountEntry> Mounts() {
    MountEntry root;
    root.source = "/dev/sda2";
    root.mountPoint = "/";
    MountEntry home;
    home.source = "/dev/nvme0n1p3";
    home.mountPoint = "/home";
    MountEntry card;
    card.source = "/dev/sdc1";
    card.mountPoint = (dir.path() / "card").string();
    return {root, home, card};
  }
  test::ScratchDir dir;
};

TEST_F(FormatCheckTest, ReadyForASmallRemovableCard) {
  const auto plan = CCardFormat::Check(CFixedDriveEnumerator({Card()}), Mounts(), SizeOf(7600));
  EXPECT_EQ(plan.check, FormatCheck::Ready);
  EXPECT_EQ(plan.capacityClass, 8);
  EXPECT_EQ(plan.drive.device, "/dev/sdc1");
  EXPECT_EQ(CCardFormat::Check(CFixedDriveEnumerator({Card()}), Mounts(), SizeOf(15200)).check,
            FormatCheck::Ready);
}

TEST_F(FormatCheckTest, FixedDiskIsNoCard) {
  // The first drive with NORMAL is a fixed disk: refused even though a card follows.
  CFixedDriveEnumerator drives({{dir.path() / "hdd", false, false, "/dev/sdb1", "ext4"}, Card()});
  EXPECT_EQ(CCardFormat::Check(drives, Mounts(), SizeOf(7600)).check, FormatCheck::NoCard);
}

TEST_F(FormatCheckTest, MissingCardIsNoCard) {
  CFixedDriveEnumerator drives({{dir.path() / "empty", true, false, "/dev/sdc1", "vfat"}});
  EXPECT_EQ(CCardFormat::Check(drives, Mounts(), SizeOf(7600)).check, FormatCheck::NoCard);
  EXPECT_EQ(CCardFormat::Check(CFixedDriveEnumerator({}), Mounts(), SizeOf(7600)).check,
            FormatCheck::NoCard);
  // A card whose size cannot be read is not formatted either.
  auto unknown = [](const fs::path&) { return std::optional<double>(); };
  EXPECT_EQ(CCardFormat::Check(CFixedDriveEnumerator({Card()}), Mounts(), unknown).check,
            FormatCheck::NoCard);
}

TEST_F(FormatCheckTest, LargeCardIsRefused) {
  const auto plan = CCardFormat::Check(CFixedDriveEnumerator({Card()}), Mounts(), SizeOf(30500));
  EXPECT_EQ(plan.check, FormatCheck::TooLarge);
  EXPECT_EQ(plan.capacityClass, 32);
  EXPECT_EQ(CCardFormat::Check(CFixedDriveEnumerator({Card()}), Mounts(), SizeOf(60000)).check,
            FormatCheck::TooLarge);
}

TEST_F(FormatCheckTest, DeviceHoldingSystemFoldersIsNeverFormatted) {
  // A removable disk that also carries the root file system.
  EXPECT_EQ(
      CCardFormat::Check(CFixedDriveEnumerator({Card("/dev/sda1")}), Mounts(), SizeOf(7600)).check,
      FormatCheck::UnsafeDevice);
  EXPECT_EQ(
      CCardFormat::Check(CFixedDriveEnumerator({Card("/dev/nvme0n1p1")}), Mounts(), SizeOf(7600))
          .check,
      FormatCheck::UnsafeDevice);
  // No block device at all (a bind mount or a network share).
  EXPECT_EQ(
      CCardFormat::Check(CFixedDriveEnumerator({Card("server:/share")}), Mounts(), SizeOf(7600))
          .check,
      FormatCheck::UnsafeDevice);
}

TEST(CardFormat, DiskNamesOfPartitions) {
  EXPECT_EQ(CCardFormat::DiskName("/dev/sdb1"), "sdb");
  EXPECT_EQ(CCardFormat::DiskName("/dev/sdb"), "sdb");
  EXPECT_EQ(CCardFormat::DiskName("/dev/mmcblk0p1"), "mmcblk0");
  EXPECT_EQ(CCardFormat::DiskName("/dev/mmcblk0"), "mmcblk0");
  EXPECT_EQ(CCardFormat::DiskName("/dev/nvme0n1p3"), "nvme0n1");
  EXPECT_EQ(CCardFormat::DiskName("/dev/loop7"), "loop7");
  EXPECT_TRUE(CCardFormat::IsSystemPath("/"));
  EXPECT_TRUE(CCardFormat::IsSystemPath("/home"));
  EXPECT_FALSE(CCardFormat::IsSystemPath("/media/user/CARD"));
}

TEST(CardFormat, MkfsArgumentsGive64KiBClusters) {
  const auto args = CCardFormat::MkfsArguments("/dev/sdc1", 512);
  const std::vector<std::string> expected{"mkfs.fat", "-F", "32",  "-s",
                                          "128",      "-S", "512", "/dev/sdc1"};
  EXPECT_EQ(args, expected);
  EXPECT_EQ(CCardFormat::MkfsArguments("x", 4096)[4], "16");
  const std::vector<std::string> labelled{"mkfs.fat", "-F",  "32", "-s",     "128",
                                          "-S",       "512", "-n", "LUMORA", "/dev/sdc1"};
  EXPECT_EQ(CCardFormat::MkfsArguments("/dev/sdc1", 512, "LUMORA"), labelled);
  EXPECT_EQ(CCardFormat::SectorsPerCluster(4096) * 4096, 65536);
}

TEST(CardFormat, HelperRefusesAllButAnUnmountedRemovableDevice) {
  MountEntry root;  // the system disk: sda2 holds /
  root.source = "/dev/sda2";
  root.mountPoint = "/";
  MountEntry card;  // sdc1 (8:33) is mounted
  card.source = "/dev/sdc1";
  card.mountPoint = "/media/user/CARD";
  card.major = 8;
  card.minor = 33;
  const std::vector<MountEntry> mounts{root, card};
  const BlockDeviceFacts free{true, 8, 49, true, false};  // sdd1, unmounted
  const struct {
    std::string device;
    BlockDeviceFacts facts;
    std::string refusal;  // empty: formatted
  } rows[] = {
      {"/tmp/card.img", {false, 0, 0, false, false}, "/tmp/card.img is not a block device"},
      {"/dev/null", {false, 0, 0, false, false}, "/dev/null is not a block device"},
      {"/dev/sdb1", {true, 8, 17, false, false}, "/dev/sdb1 is not on a removable device"},
      {"/dev/sda1", {true, 8, 1, true, false}, "/dev/sda1 holds system folders"},
      {"/dev/sdc1", {true, 8, 33, true, false}, "/dev/sdc1 is mounted on /media/user/CARD"},
      {"/dev/sdc", {true, 8, 32, true, false}, "/dev/sdc is mounted on /media/user/CARD"},
      {"/dev/sdd1", {true, 8, 49, true, true}, "/dev/sdd1 is in use"},
      {"/dev/sdd1", free, ""},
      {"/dev/loop3", {true, 7, 3, true, false}, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.device);
    EXPECT_EQ(CCardFormat::HelperRefusal(row.device, row.facts, mounts), row.refusal);
  }
}

bool HaveMkfs() { return CCardFormat::HaveProgram("mkfs.fat"); }

TEST(FormatImage, RealFormatIsFat32With64KiBClustersAndPassesFsck) {
  if (!HaveMkfs()) GTEST_SKIP() << "mkfs.fat (dosfstools) is not installed";
  test::ScratchDir dir;
  const fs::path image = dir.path() / "card.img";
  { std::ofstream(image, std::ios::binary) << ""; }
  fs::resize_file(image, 300ull * 1024 * 1024);  // sparse
  const std::string cli = std::string(LUMORA_BINARY_DIR) + "/tools/cli/lumora-cli";
  ASSERT_EQ(test::Run("'" + cli + "' format-image '" + image.string() + "'"), 0);

  std::ifstream in(image, std::ios::binary);
  std::vector<unsigned char> boot(512);
  in.read(reinterpret_cast<char*>(boot.data()), 512);
  ASSERT_EQ(in.gcount(), 512);
  const int bytesPerSector = boot[11] | (boot[12] << 8);
  const int sectorsPerCluster = boot[13];
  EXPECT_EQ(bytesPerSector * sectorsPerCluster, 65536);
  EXPECT_EQ(boot[22] | (boot[23] << 8), 0);  // FAT12/16 FAT size is 0 on FAT32
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&boot[82]), 8), "FAT32   ");
  EXPECT_EQ(boot[510], 0x55);
  EXPECT_EQ(boot[511], 0xAA);
  EXPECT_EQ(test::Run("fsck.fat -n '" + image.string() + "' >/dev/null 2>&1"), 0);
}

TEST(FormatImage, RefusesWhatIsNoImageFile) {
  test::ScratchDir dir;
  const std::string cli = std::string(LUMORA_BINARY_DIR) + "/tools/cli/lumora-cli";
  EXPECT_EQ(test::Run("'" + cli + "' format-image '" + dir.path().string() + "' 2>/dev/null"), 2);
  EXPECT_EQ(test::Run("'" + cli + "' format-image '" + (dir.path() / "none.img").string() +
                      "' 2>/dev/null"),
            2);
  // mkfs.fat fails on a file far too small for FAT32: the exit code decides.
  std::vector<std::vector<std::string>> calls;
  const fs::path tiny = dir.path() / "tiny.img";
  test::WriteText(tiny, std::string(4096, '\0'));
  std::string error;
  EXPECT_FALSE(CCardFormat::FormatImage(tiny, CCardFormat::RunProcess, &error));
  EXPECT_NE(error.find("mkfs.fat"), std::string::npos);
}

}  // namespace
}  // namespace lumora
