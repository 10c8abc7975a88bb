#pragma once
// Entries of the drive-selection list: every removable drive as
// "<mount path> SD CARD" and every fixed disk as "<mount path> HDD", in the
// drive enumerator's order. Other kinds of drive are not listed.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/IDriveEnumerator.h"

namespace lumora {

struct DriveListEntry {
  std::string text;
  std::filesystem::path root;
};

class CDriveList {
 public:
  static std::vector<DriveListEntry> Entries(const IDriveEnumerator& drives);
  // Whether a file system type is one of a disk (not an optical disc, a
  // network share or a pseudo file system).
  static bool IsDiskFileSystem(const std::string& fsType);
};

}  // namespace lumora
