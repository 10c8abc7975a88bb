#include "library/CDriveList.h"

namespace lumora {

bool CDriveList::IsDiskFileSystem(const std::string& fsType) {
  for (const char* other : {"iso9660", "udf", "nfs", "nfs4", "cifs", "smb3", "sshfs", "fuse.sshfs",
                            "squashfs", "tmpfs", "overlay", "proc", "sysfs"}) {
    if (fsType == other) return false;
  }
  return true;
}

std::vector<DriveListEntry> CDriveList::Entries(const IDriveEnumerator& drives) {
  std::vector<DriveListEntry> entries;
  for (const DriveInfo& d : drives.GetDrives()) {
    if (!IsDiskFileSystem(d.fsType)) continue;
    const std::string root = d.root.string();
    entries.push_back({root + (d.removable ? " SD CARD" : " HDD"), d.root});
  }
  return entries;
}

}  // namespace lumora
