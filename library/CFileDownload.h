#pragma once
// Copies a recording from the card to a folder on the PC. The copy goes to a
// temporary name in the target folder and is renamed over the target at the
// end, so a cancelled or failed copy leaves neither a partial file nor a
// damaged earlier copy behind.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace lumora {

enum class DownloadResult { Copied, Cancelled, Failed };

class CFileDownload {
 public:
  // Called after every chunk with the bytes copied so far and the total;
  // returning false cancels the copy.
  using ProgressFn = std::function<bool(std::uint64_t done, std::uint64_t total)>;

  static constexpr std::size_t kChunkBytes = 1 << 20;

  // Target path of `source` in `folder`: the folder and the file's name.
  static std::filesystem::path TargetPath(const std::filesystem::path& source,
                                          const std::filesystem::path& folder);
  // Copies `source` to `target`, replacing an existing file.
  static DownloadResult Copy(const std::filesystem::path& source,
                             const std::filesystem::path& target, const ProgressFn& progress,
                             std::string* error);
};

}  // namespace lumora
