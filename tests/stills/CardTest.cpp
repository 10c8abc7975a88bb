// Formatting the card (which drive may be, how, the root helper's refusals, a
// real format checked by fsck.fat) and downloading a recording to the PC.
#include "library/CCardFormat.h"
#include "library/CDriveList.h"
#include "library/CFileDownload.h"
#include "tests/support/Cli.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

namespace lumora {
namespace {

namespace fs = std::filesystem;
constexpr double kMiB = 1048576.0;

TEST(CapacityClass, ThresholdsInMebibytes) {
  const struct {
    double mib;
    int cls;
  } rows[] = {{0, 0},      {1, 0},      {1.0001, 2},    {2047, 2},   {2048, 4},
              {4096, 8},   {7600, 8},   {8192, 16},     {15200, 16}, {16383.9, 16},
              {16384, 32}, {30500, 32}, {32768, 100000}};
  for (const auto& row : rows)
    EXPECT_EQ(CCardFormat::CapacityClass(row.mib * kMiB), row.cls) << row.mib << " MiB";
}

TEST(DriveList, DisksFirstInOrderThenTheCardAndNoOpticalDrive) {
  const CFixedDriveEnumerator drives({{"/c", false, true, "/dev/sda1", "ext4"},
                                      {"/d", false, false, "/dev/sda2", "ext4"},
                                      {"/cdrom", true, false, "/dev/sr0", "iso9660"},
                                      {"/card", true, false, "/dev/sdc1", "vfat"}});
  std::vector<std::string> texts;
  for (const auto& entry : CDriveList::Entries(drives)) texts.push_back(entry.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"/c HDD", "/d HDD", "/card SD CARD"}));
  EXPECT_EQ(CDriveList::Entries(drives)[2].root, "/card");
}

// The first drive with camera folders is the card; it is formatted only when
// removable, of known size under 32 GB and on no disk holding system folders.
TEST(FormatCheck, OnlyASmallRemovableCardOffNoSystemDisk) {
  test::TempFolder dir;
  dir.Dir("hdd/NORMAL");
  dir.Dir("card/normal");
  const DriveInfo card{dir / "card", true, false, "/dev/sdc1", "vfat"};
  const DriveInfo hdd{dir / "hdd", false, false, "/dev/sdb1", "ext4"};
  const DriveInfo empty{dir / "empty", true, false, "/dev/sdc1", "vfat"};
  const DriveInfo onRootDisk{card.root, true, false, "/dev/sda1", "vfat"};
  const DriveInfo onHomeDisk{card.root, true, false, "/dev/nvme0n1p1", "vfat"};
  const DriveInfo share{card.root, true, false, "server:/share", "nfs"};  // no block device
  const std::vector<MountEntry> mounts{{.mountPoint = "/", .source = "/dev/sda2"},
                                       {.mountPoint = "/home", .source = "/dev/nvme0n1p3"},
                                       {.mountPoint = card.root.string(), .source = "/dev/sdc1"}};
  const struct {
    const char* name;
    std::vector<DriveInfo> drives;
    double mib;  // negative: the size cannot be read
    FormatCheck check;
    int cls;
  } rows[] = {
      {"8 GB card", {card}, 7600, FormatCheck::Ready, 8},
      {"fixed disk first", {hdd, card}, 7600, FormatCheck::NoCard, 0},
      {"no camera folders", {empty}, 7600, FormatCheck::NoCard, 0},
      {"no drive", {}, 7600, FormatCheck::NoCard, 0},
      {"size unknown", {card}, -1, FormatCheck::NoCard, 0},
      {"32 GB card", {card}, 30500, FormatCheck::TooLarge, 32},
      {"on the root disk", {onRootDisk}, 7600, FormatCheck::UnsafeDevice, 8},
      {"on the home disk", {onHomeDisk}, 7600, FormatCheck::UnsafeDevice, 8},
      {"share", {share}, 7600, FormatCheck::UnsafeDevice, 8},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const double mib = row.mib;
    const FormatPlan plan =
        CCardFormat::Check(CFixedDriveEnumerator(row.drives), mounts, [mib](const fs::path&) {
          return mib < 0 ? std::optional<double>() : std::optional<double>(mib * kMiB);
        });
    EXPECT_EQ(plan.check, row.check);
    EXPECT_EQ(plan.capacityClass, row.cls);
  }
}

// Disk names of partitions, system folders, and mkfs.fat's arguments for 64
// KiB clusters whatever the sector size.
TEST(CardFormat, DiskNamesSystemFoldersAndMkfsArguments) {
  const std::pair<const char*, const char*> disks[] = {
      {"/dev/sdb1", "sdb"},        {"/dev/sdb", "sdb"},           {"/dev/mmcblk0p1", "mmcblk0"},
      {"/dev/mmcblk0", "mmcblk0"}, {"/dev/nvme0n1p3", "nvme0n1"}, {"/dev/loop7", "loop7"}};
  for (const auto& [device, disk] : disks) EXPECT_EQ(CCardFormat::DiskName(device), disk);
  EXPECT_TRUE(CCardFormat::IsSystemPath("/"));
  EXPECT_TRUE(CCardFormat::IsSystemPath("/home"));
  EXPECT_FALSE(CCardFormat::IsSystemPath("/media/user/CARD"));
  using Args = std::vector<std::string>;
  EXPECT_EQ(CCardFormat::MkfsArguments("/dev/sdc1", 512),
            (Args{"mkfs.fat", "-F", "32", "-s", "128", "-S", "512", "/dev/sdc1"}));
  EXPECT_EQ(CCardFormat::MkfsArguments("x", 4096)[4], "16");
  EXPECT_EQ(CCardFormat::MkfsArguments("/dev/sdc1", 512, "LUMORA"),
            (Args{"mkfs.fat", "-F", "32", "-s", "128", "-S", "512", "-n", "LUMORA", "/dev/sdc1"}));
}

TEST(CardFormat, HelperRefusesAllButAnUnmountedRemovableDevice) {
  const std::vector<MountEntry> mounts{
      {.mountPoint = "/", .source = "/dev/sda2"},
      {.major = 8, .minor = 33, .mountPoint = "/media/user/CARD", .source = "/dev/sdc1"}};
  const struct {
    std::string device;
    BlockDeviceFacts facts;
    std::string refusal;  // empty: formatted
  } rows[] = {
      {"/tmp/card.img", {false, 0, 0, false, false}, "/tmp/card.img is not a block device"},
      {"/dev/sdb1", {true, 8, 17, false, false}, "/dev/sdb1 is not on a removable device"},
      {"/dev/sda1", {true, 8, 1, true, false}, "/dev/sda1 holds system folders"},
      {"/dev/sdc1", {true, 8, 33, true, false}, "/dev/sdc1 is mounted on /media/user/CARD"},
      {"/dev/sdc", {true, 8, 32, true, false}, "/dev/sdc is mounted on /media/user/CARD"},
      {"/dev/sdd1", {true, 8, 49, true, true}, "/dev/sdd1 is in use"},
      {"/dev/sdd1", {true, 8, 49, true, false}, ""},
      {"/dev/loop3", {true, 7, 3, true, false}, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.device);
    EXPECT_EQ(CCardFormat::HelperRefusal(row.device, row.facts, mounts), row.refusal);
  }
}

// lumora-cli format-image on a sparse 300 MB file: FAT32 with 64 KiB clusters
// that fsck.fat accepts; no image file or one too small is refused.
TEST(FormatImage, RealFormatPassesFsckAndBadImagesAreRefused) {
  test::TempFolder dir;
  const fs::path image = dir.Write("card.img", "");
  fs::resize_file(image, 300ull * 1024 * 1024);
  ASSERT_EQ(test::RunCli("format-image " + test::Quote(image)).exitCode, 0);
  const std::string boot = test::ReadFile(image).substr(0, 512);
  const auto byte = [&](int i) { return static_cast<std::uint8_t>(boot[i]); };
  EXPECT_EQ((byte(11) | byte(12) << 8) * byte(13), 65536);  // bytes per sector * per cluster
  EXPECT_EQ(byte(22) | byte(23) << 8, 0);                   // the FAT12/16 FAT size is 0 on FAT32
  EXPECT_EQ(boot.substr(82, 8), "FAT32   ");
  EXPECT_EQ(byte(510), 0x55);
  EXPECT_EQ(byte(511), 0xAA);
  EXPECT_EQ(test::RunCommand("fsck.fat -n " + test::Quote(image)).exitCode, 0);
  EXPECT_EQ(test::RunCli("format-image " + test::Quote(dir.path())).exitCode, 2);
  EXPECT_EQ(test::RunCli("format-image " + test::Quote(dir / "none.img")).exitCode, 2);
  std::string error;
  EXPECT_FALSE(CCardFormat::FormatImage(dir.Write("tiny.img", std::string(4096, '\0')),
                                        CCardFormat::RunProcess, &error));
  EXPECT_NE(error.find("mkfs.fat"), std::string::npos);
}

// A download replaces an earlier copy only when complete; anything that stops
// it keeps that copy byte for byte (or no file) and leaves no temporary file.
std::string Pattern(std::size_t bytes) {
  std::string s(bytes, '\0');
  for (std::size_t i = 0; i < bytes; ++i) s[i] = static_cast<char>((i * 131 + 7) % 251);
  return s;
}

TEST(Download, CopiesOverAnEarlierCopyOrFailsWithAReason) {
  test::TempFolder dir;
  const std::string content = Pattern(3 * CFileDownload::kChunkBytes + 123);
  const fs::path source = dir.Write("card/NORMAL/20150102_030405_N1.avi", content);
  const fs::path target = CFileDownload::TargetPath(source, dir / "pc");
  EXPECT_EQ(target, dir / "pc/20150102_030405_N1.avi");
  dir.Write("pc/20150102_030405_N1.avi", "an older copy");
  std::vector<std::uint64_t> seen;
  std::string error;
  const auto progress = [&](std::uint64_t done, std::uint64_t total) {
    EXPECT_EQ(total, content.size());
    seen.push_back(done);
    return true;
  };
  ASSERT_EQ(CFileDownload::Copy(source, target, progress, &error), DownloadResult::Copied) << error;
  EXPECT_EQ(test::ReadFile(target), content);
  EXPECT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen.back(), content.size());
  EXPECT_EQ(test::CountEntries(dir / "pc"), 1);
  // An empty file copies as an empty file.
  const fs::path empty = dir.Write("card/empty.avi", "");
  EXPECT_EQ(CFileDownload::Copy(empty, dir / "pc/empty.avi", {}, &error), DownloadResult::Copied);
  EXPECT_EQ(fs::file_size(dir / "pc/empty.avi"), 0u);
  // A missing source or target folder fails; a file is never copied onto itself.
  for (const fs::path& from : {dir / "missing.avi", source}) {
    for (const fs::path& to : {dir / "no/folder/a.avi", source}) {
      SCOPED_TRACE(from.string() + " -> " + to.string());
      error.clear();
      EXPECT_EQ(CFileDownload::Copy(from, to, {}, &error), DownloadResult::Failed);
      EXPECT_FALSE(error.empty());
    }
  }
  EXPECT_EQ(test::ReadFile(source), content);
}

TEST(Download, InterruptedCopyKeepsTheOldTargetAndLeavesNoTemporaryFile) {
  enum Break { kCancel, kWriteRefused, kSourceShrinks };
  for (Break how : {kCancel, kWriteRefused, kSourceShrinks}) {
    for (bool earlier : {true, false}) {
      SCOPED_TRACE(std::to_string(how) + (earlier ? " over an earlier copy" : " to a new file"));
      test::TempFolder dir;
      const fs::path source =
          dir.Write("card/20150102_030405_N1.avi", Pattern(3 * CFileDownload::kChunkBytes + 17));
      const fs::path target = dir.Dir("pc") / "20150102_030405_N1.avi";
      if (earlier) test::WriteFile(target, "the earlier copy");
      rlimit old{};
      getrlimit(RLIMIT_FSIZE, &old);
      auto progress = [&](std::uint64_t done, std::uint64_t) {
        if (how == kSourceShrinks) fs::resize_file(source, 100);  // the card is pulled
        if (how == kWriteRefused) {  // the disk takes no more than is written now
          const rlimit full{static_cast<rlim_t>(done), old.rlim_max};
          setrlimit(RLIMIT_FSIZE, &full);
        }
        return how != kCancel;
      };
      const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
      std::string error;
      const DownloadResult result = CFileDownload::Copy(source, target, progress, &error);
      setrlimit(RLIMIT_FSIZE, &old);
      signal(SIGXFSZ, oldHandler);
      EXPECT_EQ(result, how == kCancel ? DownloadResult::Cancelled : DownloadResult::Failed);
      EXPECT_EQ(error.empty(), how == kCancel);
      EXPECT_EQ(test::ReadFile(target), earlier ? "the earlier copy" : "");
      EXPECT_EQ(fs::exists(target), earlier);
      EXPECT_EQ(test::CountEntries(dir / "pc"), earlier ? 1 : 0);
    }
  }
}

}  // namespace
}  // namespace lumora
