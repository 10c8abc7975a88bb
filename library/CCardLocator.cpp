#include "library/CCardLocator.h"

#include <fstream>
#include <system_error>

#include "library/CRecordingName.h"

namespace lumora {

namespace {

std::optional<std::filesystem::path> FindChild(const std::filesystem::path& dir,
                                               const std::string& name) {
  std::error_code ec;
  std::filesystem::path exact = dir / name;
  if (std::filesystem::exists(exact, ec)) return exact;
  const std::string wanted = CRecordingName::Upper(name);
  std::filesystem::directory_iterator it(dir, ec);
  if (ec) return std::nullopt;
  for (const auto& entry : it) {
    if (CRecordingName::Upper(entry.path().filename().string()) == wanted) return entry.path();
  }
  return std::nullopt;
}

bool Readable(const std::filesystem::path& p) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(p, ec)) return false;
  std::ifstream in(p, std::ios::binary);
  return static_cast<bool>(in);
}

}  // namespace

std::optional<std::filesystem::path> CCardLocator::Resolve(const std::filesystem::path& base,
                                                           const std::filesystem::path& relative) {
  std::filesystem::path current = base;
  for (const auto& part : relative) {
    if (part.empty() || part == ".") continue;
    auto next = FindChild(current, part.string());
    if (!next) return std::nullopt;
    current = *next;
  }
  return current;
}

std::optional<std::filesystem::path> CCardLocator::FindCardRoot(const IDriveEnumerator& drives,
                                                                CardSearch search) {
  for (const DriveInfo& d : drives.GetDrives()) {
    if (search == CardSearch::AnyDrive && d.system) continue;
    if (search == CardSearch::RemovableOnly && !d.removable) continue;
    if (Resolve(d.root, kCardMarker)) return d.root;
  }
  return std::nullopt;
}

std::vector<DriveInfo> CCardLocator::FindCardDrives(const IDriveEnumerator& drives,
                                                    CardSearch search) {
  std::vector<DriveInfo> found;
  for (const DriveInfo& d : drives.GetDrives()) {
    if (search == CardSearch::AnyDrive && d.system) continue;
    if (search == CardSearch::RemovableOnly && !d.removable) continue;
    if (Resolve(d.root, kCardMarker)) found.push_back(d);
  }
  return found;
}

std::optional<std::filesystem::path> CCardLocator::FindLoggerFile(const IDriveEnumerator& drives,
                                                                  bool wantFolder) {
  for (const DriveInfo& d : drives.GetDrives()) {
    if (d.system) continue;
    auto file = Resolve(d.root, std::filesystem::path(kLoggerFolder) / kLoggerFile);
    if (!file) continue;
    if (!wantFolder) return d.root;
    return file->parent_path() / "";
  }
  return std::nullopt;
}

std::filesystem::path CCardLocator::FindSetupFileIn(const std::filesystem::path& root) {
  auto inCfg = Resolve(root, std::filesystem::path(kSetupFolder) / kSetupFile);
  if (inCfg && Readable(*inCfg)) return *inCfg;
  auto inRoot = Resolve(root, kSetupFile);
  if (inRoot && Readable(*inRoot)) return *inRoot;
  return {};
}

std::filesystem::path CCardLocator::FindSetupFile(const IDriveEnumerator& drives) {
  auto root = FindCardRoot(drives, CardSearch::RemovableOnly);
  if (!root) return {};
  return FindSetupFileIn(*root);
}

}  // namespace lumora
