#pragma once
// Where the camera keeps the stills captured during a recording: the CAPTURE
// folder beside the recording folders, with one sub-folder per recording
// whose name starts with the recording's date (its first eight characters).
// Names are matched without regard to case, as on the card's FAT file system.
#include <filesystem>
#include <string>
#include <vector>

namespace lumora {

class CCaptureFolder {
 public:
  static constexpr const char* kFolderName = "CAPTURE";

  // The CAPTURE folder of a recording: two path components up, then
  // CAPTURE (the folder as it exists on the card when its case differs).
  static std::filesystem::path FolderOf(const std::filesystem::path& recording);
  // The first eight characters of the recording's file name.
  static std::string KeyOf(const std::filesystem::path& recording);
  // The pictures of a recording: files ending in ".jpg" (any case) directly
  // inside every CAPTURE sub-folder whose name starts with the key. Sorted.
  static std::vector<std::filesystem::path> FindPictures(const std::filesystem::path& recording);
  // Every picture below `captureFolder` (all depths) inside a sub-folder
  // whose name starts with `key`. Sorted.
  static std::vector<std::filesystem::path> FindPicturesBelow(
      const std::filesystem::path& captureFolder, const std::string& key);
  static bool IsPictureName(const std::string& name);
  static bool StartsWithNoCase(const std::string& text, const std::string& prefix);
};

}  // namespace lumora
