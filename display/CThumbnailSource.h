#pragma once
// The picture of one thumbnail: a recording's first key frame (FFmpeg) or a
// captured still decoded with our own JPEG decoder, fitted into a box. Any
// file that gives no picture yields nothing, so the page shows a placeholder.
#include <atomic>
#include <filesystem>
#include <optional>
#include <string>

#include "engine/CThumbnailDecoder.h"

namespace lumora {

class CThumbnailSource {
 public:
  // Stills larger than this are not read for a thumbnail.
  static constexpr std::uintmax_t kMaxStillBytes = 32u << 20;

  static std::optional<Thumbnail> Make(const std::filesystem::path& path, int boxWidth,
                                       int boxHeight, std::string* error,
                                       const std::atomic<bool>* cancel = nullptr);
  // A still through the JPEG decoder (its messages are kept in `error`).
  static std::optional<Thumbnail> FromStill(const std::filesystem::path& path, int boxWidth,
                                            int boxHeight, std::string* error);
  // Scales a top-down RGB picture into the box, keeping its shape.
  static std::optional<Thumbnail> Fit(const Thumbnail& source, int boxWidth, int boxHeight);
};

}  // namespace lumora
