#include "platform/CLinuxDriveEnumerator.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace lumora {

namespace {

constexpr std::size_t kMaxMountInfoBytes = 4 * 1024 * 1024;

std::string ReadBounded(const std::filesystem::path& path, std::size_t limit) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::string text;
  char chunk[8192];
  while (text.size() < limit && in.read(chunk, sizeof chunk).gcount() > 0) {
    text.append(chunk, static_cast<std::size_t>(in.gcount()));
  }
  if (text.size() > limit) text.resize(limit);
  return text;
}

bool FlagSet(const std::filesystem::path& file) {
  const std::string text = ReadBounded(file, 16);
  return !text.empty() && text[0] == '1';
}

}  // namespace

CLinuxDriveEnumerator::CLinuxDriveEnumerator(std::filesystem::path mountInfo,
                                             std::filesystem::path sysRoot)
    : m_mountInfo(std::move(mountInfo)), m_sysRoot(std::move(sysRoot)) {}

std::vector<DriveInfo> CLinuxDriveEnumerator::GetDrives() const {
  return DrivesFromTable(CMountTable::Parse(ReadBounded(m_mountInfo, kMaxMountInfoBytes)));
}

bool CLinuxDriveEnumerator::IsSystemMountPoint(const std::string& mountPoint) {
  for (const char* p : {"/", "/boot", "/boot/efi", "/usr", "/var", "/opt", "/srv", "/tmp"}) {
    if (mountPoint == p) return true;
  }
  return false;
}

bool CLinuxDriveEnumerator::IsRemovable(unsigned major, unsigned minor) const {
  std::error_code ec;
  const std::filesystem::path link =
      m_sysRoot / "dev" / "block" / (std::to_string(major) + ":" + std::to_string(minor));
  const std::filesystem::path dev = std::filesystem::canonical(link, ec);
  if (ec) return false;
  const std::string where = dev.generic_string();
  if (where.find("/usb") != std::string::npos || where.find("/mmc") != std::string::npos) {
    return true;
  }
  // A partition carries no flag of its own; its disk is the folder above.
  if (std::filesystem::exists(dev / "partition", ec))
    return FlagSet(dev.parent_path() / "removable");
  return FlagSet(dev / "removable");
}

std::vector<DriveInfo> CLinuxDriveEnumerator::DrivesFromTable(
    const std::vector<MountEntry>& table) const {
  std::vector<DriveInfo> drives;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const MountEntry& e = table[i];
    if (e.root != "/" || e.source.rfind("/dev/", 0) != 0) continue;
    bool hidden = false;
    for (std::size_t j = i + 1; j < table.size() && !hidden; ++j) {
      hidden = table[j].mountPoint == e.mountPoint;
    }
    if (hidden) continue;
    DriveInfo d;
    d.root = e.mountPoint;
    d.removable = IsRemovable(e.major, e.minor);
    d.system = IsSystemMountPoint(e.mountPoint);
    d.device = e.source;
    d.fsType = e.fsType;
    drives.push_back(std::move(d));
  }
  return drives;
}

}  // namespace lumora
