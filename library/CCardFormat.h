#pragma once
// Formatting the camera card: the capacity class of a drive, the checks made
// before a format and again by the format helper, the mkfs.fat arguments for
// FAT32 with 64 KiB clusters, and the format of a disk-image file.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/CMountTable.h"
#include "platform/IDriveEnumerator.h"

namespace lumora {

enum class FormatCheck {
  Ready,         // the card may be formatted
  NoCard,        // no card, or the card is not on a removable device
  TooLarge,      // capacity class 32 or more: the camera formats it itself
  UnsafeDevice,  // the device holds a system folder or is no block device
};

// What the format helper learns of a device path before it formats it.
struct BlockDeviceFacts {
  bool blockDevice = false;
  unsigned major = 0;
  unsigned minor = 0;
  bool removable = false;  // its disk is removable, on USB or MMC, or a loop device
  bool inUse = false;      // an exclusive open was refused (mounted or held)
};

struct FormatPlan {
  FormatCheck check = FormatCheck::NoCard;
  DriveInfo drive;
  int capacityClass = 0;
  std::string reason;  // why an unsafe device was refused
};

class CCardFormat {
 public:
  static constexpr int kClusterBytes = 64 * 1024;
  // The volume label of a freshly formatted card.
  static constexpr const char* kVolumeLabel = "LUMORA";

  // Runs a program (argv[0] looked up in PATH) and returns its exit code;
  // -1 when it could not be started or did not end normally.
  using Runner = std::function<int(const std::vector<std::string>& argv)>;
  using SizeFn = std::function<std::optional<double>(const std::filesystem::path& root)>;

  // Class of a drive of `sizeBytes` bytes: 0, 2, 4, 8, 16, 32 or 100000.
  static int CapacityClass(double sizeBytes);
  // Size of the file system mounted at `root` (statvfs), in bytes.
  static std::optional<double> DriveSize(const std::filesystem::path& root);

  // The checks before a format: the card found through its NORMAL folder on
  // any drive but the system's, on a removable device, below class 32, and
  // on a device that holds none of the system's mounted folders.
  static FormatPlan Check(const IDriveEnumerator& drives, const std::vector<MountEntry>& mounts,
                          const SizeFn& size = DriveSize);

  // Whether any partition of the disk that holds `device` is mounted on a
  // system folder (/, /boot, /usr, /home, ...).
  static bool HoldsSystemPath(const std::string& device, const std::vector<MountEntry>& mounts);
  static bool IsSystemPath(const std::string& mountPoint);
  // "sdb1" -> "sdb", "mmcblk0p1" -> "mmcblk0", "nvme0n1p2" -> "nvme0n1".
  static std::string DiskName(const std::string& device);

  // mkfs.fat arguments for FAT32 with 64 KiB clusters on `target`, with a
  // volume label unless `label` is empty.
  static std::vector<std::string> MkfsArguments(const std::string& target, int sectorBytes,
                                                const std::string& label = {});
  static int SectorsPerCluster(int sectorBytes) { return kClusterBytes / sectorBytes; }
  // Logical sector size of a block device from sysfs; 512 when unknown.
  static int LogicalSectorSize(const std::string& device);

  // The format helper's checks: a block device under /dev on a removable
  // disk, holding no system folder, not mounted and not held. Empty when it
  // may be formatted, else why not.
  static std::string HelperRefusal(const std::string& device, const BlockDeviceFacts& facts,
                                   const std::vector<MountEntry>& mounts);
  // The facts of a device path on the running system (sysfs, an exclusive open).
  static BlockDeviceFacts ReadFacts(const std::string& device);
  // Formats a disk-image file exactly as a card's device (512-byte sectors).
  static bool FormatImage(const std::filesystem::path& image, const Runner& run,
                          std::string* error);

  static int RunProcess(const std::vector<std::string>& argv);
};

}  // namespace lumora
