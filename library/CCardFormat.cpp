#include "library/CCardFormat.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include "library/CCardLocator.h"
#include "platform/CLinuxDriveEnumerator.h"

extern char** environ;

namespace lumora {

namespace {

std::string BaseName(const std::string& device) {
  const auto slash = device.rfind('/');
  return slash == std::string::npos ? device : device.substr(slash + 1);
}

bool EndsWithDigit(const std::string& s) {
  return !s.empty() && std::isdigit(static_cast<unsigned char>(s.back()));
}

}  // namespace

int CCardFormat::CapacityClass(double sizeBytes) {
  if (!(sizeBytes > 1048576.0)) return 0;
  const double mib = sizeBytes / 1048576.0;
  if (mib < 2048) return 2;
  if (mib < 4096) return 4;
  if (mib < 8192) return 8;
  if (mib < 16384) return 16;
  if (mib < 32768) return 32;
  return 100000;
}

std::optional<double> CCardFormat::DriveSize(const std::filesystem::path& root) {
  struct statvfs info {};
  if (statvfs(root.c_str(), &info) != 0) return std::nullopt;
  return static_cast<double>(info.f_blocks) * static_cast<double>(info.f_frsize);
}

bool CCardFormat::IsSystemPath(const std::string& mountPoint) {
  static const char* const kSystem[] = {"/",     "/boot", "/boot/efi", "/usr",      "/home",
                                        "/var",  "/opt",  "/srv",      "/tmp",      "/etc",
                                        "/root", "/bin",  "/sbin",     "/lib",      "/lib64",
                                        "/nix",  "/snap", "/var/log",  "/usr/local"};
  for (const char* p : kSystem) {
    if (mountPoint == p) return true;
  }
  return false;
}

std::string CCardFormat::DiskName(const std::string& device) {
  std::string name = BaseName(device);
  // Disks whose own name ends in a digit number their partitions with "p".
  for (const char* prefix : {"mmcblk", "nvme", "loop", "nbd", "md"}) {
    if (name.rfind(prefix, 0) == 0) {
      const auto p = name.rfind('p');
      if (p != std::string::npos && p > 0 && p + 1 < name.size() &&
          std::isdigit(static_cast<unsigned char>(name[p - 1]))) {
        bool digits = true;
        for (std::size_t i = p + 1; i < name.size(); ++i) {
          digits = digits && std::isdigit(static_cast<unsigned char>(name[i]));
        }
        if (digits) return name.substr(0, p);
      }
      return name;
    }
  }
  while (EndsWithDigit(name)) name.pop_back();
  return name;
}

bool CCardFormat::HoldsSystemPath(const std::string& device,
                                  const std::vector<MountEntry>& mounts) {
  if (device.empty() || device[0] != '/') return true;  // no real device: never format it
  const std::string disk = DiskName(device);
  for (const MountEntry& e : mounts) {
    if (e.source.empty() || e.source[0] != '/') continue;
    if (DiskName(e.source) != disk) continue;
    if (IsSystemPath(e.mountPoint)) return true;
  }
  return false;
}

FormatPlan CCardFormat::Check(const IDriveEnumerator& drives, const std::vector<MountEntry>& mounts,
                              const SizeFn& size) {
  FormatPlan plan;
  const auto root = CCardLocator::FindCardRoot(drives, CardSearch::AnyDrive);
  if (!root) return plan;
  bool found = false;
  for (const DriveInfo& d : drives.GetDrives()) {
    if (d.root == *root) {
      plan.drive = d;
      found = true;
      break;
    }
  }
  if (!found || !plan.drive.removable) return plan;
  const auto bytes = size(plan.drive.root);
  if (!bytes) return plan;
  plan.capacityClass = CapacityClass(*bytes);
  if (plan.capacityClass >= 32) {
    plan.check = FormatCheck::TooLarge;
    return plan;
  }
  if (plan.drive.system || IsSystemPath(plan.drive.root.string())) {
    plan.check = FormatCheck::UnsafeDevice;
    plan.reason = plan.drive.root.string() + " is a system folder";
    return plan;
  }
  if (HoldsSystemPath(plan.drive.device, mounts)) {
    plan.check = FormatCheck::UnsafeDevice;
    plan.reason = plan.drive.device + " holds system folders";
    return plan;
  }
  plan.check = FormatCheck::Ready;
  return plan;
}

std::vector<std::string> CCardFormat::MkfsArguments(const std::string& target, int sectorBytes,
                                                    const std::string& label) {
  std::vector<std::string> args{"mkfs.fat",
                                "-F",
                                "32",
                                "-s",
                                std::to_string(SectorsPerCluster(sectorBytes)),
                                "-S",
                                std::to_string(sectorBytes)};
  if (!label.empty()) args.insert(args.end(), {"-n", label});
  args.push_back(target);
  return args;
}

std::string CCardFormat::HelperRefusal(const std::string& device, const BlockDeviceFacts& facts,
                                       const std::vector<MountEntry>& mounts) {
  if (device.rfind("/dev/", 0) != 0 || !facts.blockDevice) {
    return device + " is not a block device";
  }
  if (!facts.removable) return device + " is not on a removable device";
  if (HoldsSystemPath(device, mounts)) return device + " holds system folders";
  const std::string name = BaseName(device);
  for (const MountEntry& e : mounts) {
    // The device itself, or a partition of it when it is a whole disk.
    const bool same = e.major == facts.major && e.minor == facts.minor;
    const bool part = e.source.rfind("/dev/", 0) == 0 && DiskName(e.source) == name;
    if (same || part) return device + " is mounted on " + e.mountPoint;
  }
  if (facts.inUse) return device + " is in use";
  return {};
}

BlockDeviceFacts CCardFormat::ReadFacts(const std::string& device) {
  BlockDeviceFacts facts;
  struct stat st {};
  if (stat(device.c_str(), &st) != 0 || !S_ISBLK(st.st_mode)) return facts;
  facts.blockDevice = true;
  facts.major = major(st.st_rdev);
  facts.minor = minor(st.st_rdev);
  constexpr unsigned kLoopMajor = 7;  // an attached disk image
  facts.removable =
      facts.major == kLoopMajor || CLinuxDriveEnumerator().IsRemovable(facts.major, facts.minor);
  // The kernel refuses an exclusive open of a mounted or otherwise held device.
  const int fd = open(device.c_str(), O_RDONLY | O_EXCL | O_CLOEXEC);
  if (fd < 0) {
    facts.inUse = errno == EBUSY;
  } else {
    close(fd);
  }
  return facts;
}

int CCardFormat::LogicalSectorSize(const std::string& device) {
  const std::string name = BaseName(device);
  for (const std::string& rel :
       {name + "/queue/logical_block_size", name + "/../queue/logical_block_size"}) {
    std::ifstream in("/sys/class/block/" + rel);
    int bytes = 0;
    if (in >> bytes && bytes >= 512 && bytes <= kClusterBytes && (bytes & (bytes - 1)) == 0) {
      return bytes;
    }
  }
  return 512;
}

int CCardFormat::RunProcess(const std::vector<std::string>& argv) {
  if (argv.empty()) return -1;
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // The tools' chatter goes nowhere; their errors stay on stderr.
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return -1;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (!WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

bool CCardFormat::FormatImage(const std::filesystem::path& image, const Runner& run,
                              std::string* error) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(image, ec)) {
    if (error) *error = image.string() + " is not a disk-image file";
    return false;
  }
  const int rc = run(MkfsArguments(image.string(), 512));
  if (rc != 0) {
    if (error) *error = "mkfs.fat ended with code " + std::to_string(rc);
    return false;
  }
  return true;
}

}  // namespace lumora
