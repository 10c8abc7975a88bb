#pragma once
// What formatting the card asks of the desktop's disk service (udisks2 over
// D-Bus, or plain mount commands as root): unmount, format and mount one
// block device. Every call says how it went; tests hand in a stand-in.
#include <string>
#include <vector>

namespace lumora {

enum class DiskStatus {
  Ok,
  Busy,       // another program holds the file system
  Dismissed,  // the user closed the password prompt
  Failed,
};

struct DiskReply {
  DiskStatus status = DiskStatus::Failed;
  std::string detail;     // the service's own words, for the log
  std::string mountPath;  // Mount: where the file system was mounted
};

class IDiskService {
 public:
  virtual ~IDiskService() = default;
  // Whether the service can be reached at all.
  virtual bool Available() = 0;
  // Whether Format takes mkfs arguments (udisks2 2.10 and later).
  virtual bool OffersMkfsArguments() = 0;
  virtual DiskReply Unmount(const std::string& device) = 0;
  // A FAT file system with `label`; `mkfsArgs` go to mkfs.fat as they are.
  virtual DiskReply Format(const std::string& device, const std::string& label,
                           const std::vector<std::string>& mkfsArgs) = 0;
  virtual DiskReply Mount(const std::string& device) = 0;
};

}  // namespace lumora
