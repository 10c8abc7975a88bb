#pragma once
// The card folder of the settings subcommands: the given CARD_ROOT, or, when
// none is given, the first removable drive that holds the camera's NORMAL
// folder, as the viewer finds the card.

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "library/CCardLocator.h"
#include "platform/CLinuxDriveEnumerator.h"

namespace cli {

inline std::optional<std::filesystem::path> CardRootOrFind(const std::string& given,
                                                           const char* command) {
  if (!given.empty()) {
    std::error_code ec;
    if (std::filesystem::is_directory(given, ec)) return std::filesystem::path(given);
    std::cerr << command << ": not a folder: " << given << "\n";
    return std::nullopt;
  }
  lumora::CLinuxDriveEnumerator drives;
  auto root = lumora::CCardLocator::FindCardRoot(drives, lumora::CardSearch::RemovableOnly);
  if (!root) std::cerr << command << ": There is no device SD card.\n";
  return root;
}

}  // namespace cli
