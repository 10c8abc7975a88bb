#pragma once
// Finds the camera card among the drives and the card's logger and settings
// files. Folder and file names on the card match without regard to case, as
// on the card's FAT file system.

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/IDriveEnumerator.h"

namespace lumora {

enum class CardSearch {
  AnyDrive,       // every drive except the system's own, in order
  RemovableOnly,  // only drives reported as removable
};

class CCardLocator {
 public:
  static constexpr const char* kCardMarker = "NORMAL";
  static constexpr const char* kLoggerFolder = "DATA_LOGGER";
  static constexpr const char* kLoggerFile = "DATA_LOGGER.dir";
  static constexpr const char* kSetupFolder = "cfg";
  static constexpr const char* kSetupFile = "data_setup.cfg";

  // The root of the first drive that holds a NORMAL folder.
  static std::optional<std::filesystem::path> FindCardRoot(const IDriveEnumerator& drives,
                                                           CardSearch search);
  // Every drive that holds a NORMAL folder, in drive order.
  static std::vector<DriveInfo> FindCardDrives(const IDriveEnumerator& drives, CardSearch search);

  // The first drive (any but the system's) with DATA_LOGGER/DATA_LOGGER.dir:
  // its DATA_LOGGER folder (with a trailing separator) or the drive root.
  static std::optional<std::filesystem::path> FindLoggerFile(const IDriveEnumerator& drives,
                                                             bool wantFolder);

  // The settings file of the card (removable drives only): cfg/data_setup.cfg,
  // else data_setup.cfg in the root, whichever opens for reading. Empty when
  // neither does.
  static std::filesystem::path FindSetupFile(const IDriveEnumerator& drives);
  static std::filesystem::path FindSetupFileIn(const std::filesystem::path& root);

  // base/relative with every component matched without regard to case; the
  // path as it exists on disk, or nothing.
  static std::optional<std::filesystem::path> Resolve(const std::filesystem::path& base,
                                                      const std::filesystem::path& relative);
};

}  // namespace lumora
