#pragma once
// The drives the program may find a camera card on. On Windows these were the
// drive letters; here they are mounted file systems in mount-table order.
// Tests hand in their own list of folders.

#include <filesystem>
#include <string>
#include <vector>

namespace lumora {

struct DriveInfo {
  std::filesystem::path root;  // where the drive's files are reached
  bool removable = false;      // a card reader, USB stick or MMC slot
  bool system = false;         // the system's own file system (the C: of Windows)
  std::string device;          // block device or other source, for messages
  std::string fsType;
};

class IDriveEnumerator {
 public:
  virtual ~IDriveEnumerator() = default;
  // The drives in the order they should be tried.
  virtual std::vector<DriveInfo> GetDrives() const { return {}; }
};

// A fixed list of drives: an explicit card folder, or folders in tests.
class CFixedDriveEnumerator : public IDriveEnumerator {
 public:
  explicit CFixedDriveEnumerator(std::vector<DriveInfo> drives) : m_drives(std::move(drives)) {}
  std::vector<DriveInfo> GetDrives() const override { return m_drives; }

 private:
  std::vector<DriveInfo> m_drives;
};

}  // namespace lumora
