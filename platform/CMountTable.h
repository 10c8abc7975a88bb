#pragma once
// Parser for the kernel's mount table (/proc/<pid>/mountinfo).

#include <string>
#include <string_view>
#include <vector>

namespace lumora {

struct MountEntry {
  int mountId = 0;
  int parentId = 0;
  unsigned major = 0;
  unsigned minor = 0;
  std::string root;        // folder of the file system that is mounted
  std::string mountPoint;  // where it is mounted
  std::string options;
  std::string fsType;
  std::string source;  // "/dev/sdb1", "proc", ...
};

class CMountTable {
 public:
  // One entry per well-formed line, in table order; malformed lines are skipped.
  static std::vector<MountEntry> Parse(std::string_view text);
  // Undoes the kernel's octal escapes ("\040" for a blank, "\134" for "\").
  static std::string Unescape(std::string_view field);
};

}  // namespace lumora
