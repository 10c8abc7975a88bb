#pragma once
// Formats a checked card's device the way a desktop program does: unmount it
// through the disk service, create FAT32 with 64 KiB clusters with the
// privilege the desktop grants (the disk service's own Format where it takes
// mkfs arguments, else the format helper through pkexec; as root mkfs.fat
// itself), then mount it again and report the new mount path. A failed step
// ends the run: nothing after it is done.
#include <string>

#include "library/CCardFormat.h"
#include "platform/IDiskService.h"

namespace lumora {

enum class FormatStatus {
  Formatted,      // formatted and mounted again at mountPath
  Cancelled,      // the password prompt was closed: nothing changed
  Busy,           // the card could not be unmounted: another program holds it
  UnmountFailed,  // the card could not be unmounted for another reason
  FormatFailed,   // mkfs.fat (or the helper, or the service) failed
  MountFailed,    // formatted, but not mounted again
};

struct FormatResult {
  FormatStatus status = FormatStatus::UnmountFailed;
  std::string mountPath;  // where the card can be reached afterwards; empty when nowhere
  std::string error;      // what went wrong, for the log
};

class CCardFormatter {
 public:
  // pkexec's exit code when the user dismissed the password prompt.
  static constexpr int kPkexecDismissed = 126;

  enum class Method { Service, Helper, Direct };

  // `helperPath`: the installed format helper (absolute, as its polkit
  // policy names it). `asRoot`: mkfs.fat is run directly.
  CCardFormatter(IDiskService& disks, CCardFormat::Runner run, std::string helperPath, bool asRoot);

  Method FormatMethod();
  // `device` is the card's block device, `root` where it is mounted now.
  FormatResult Run(const std::string& device, const std::string& root);

 private:
  DiskReply FormatStep(const std::string& device);

  IDiskService& m_disks;
  CCardFormat::Runner m_run;
  std::string m_helper;
  bool m_asRoot;
};

}  // namespace lumora
