#pragma once
// Drives on Linux: the block-device file systems of the mount table, in table
// order. A drive is removable when its disk reports the removable flag or sits
// on a USB or MMC bus.

#include <filesystem>
#include <string>

#include "platform/CMountTable.h"
#include "platform/IDriveEnumerator.h"

namespace lumora {

class CLinuxDriveEnumerator : public IDriveEnumerator {
 public:
  // The defaults read the running system; tests point both at their own files.
  explicit CLinuxDriveEnumerator(std::filesystem::path mountInfo = "/proc/self/mountinfo",
                                 std::filesystem::path sysRoot = "/sys");

  std::vector<DriveInfo> GetDrives() const override;

  // The drives of a parsed mount table: whole file systems ("/" as root) that
  // come from a block device; a mount point mounted again later keeps only
  // the later entry (it hides the earlier one).
  std::vector<DriveInfo> DrivesFromTable(const std::vector<MountEntry>& table) const;

  // Whether the block device major:minor is removable, looked up in sysfs.
  bool IsRemovable(unsigned major, unsigned minor) const;

  // Mount points that belong to the running system and never hold a card.
  static bool IsSystemMountPoint(const std::string& mountPoint);

 private:
  std::filesystem::path m_mountInfo;
  std::filesystem::path m_sysRoot;
};

}  // namespace lumora
