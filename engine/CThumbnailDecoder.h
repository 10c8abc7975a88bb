#pragma once
// A small RGB picture of a recording: the first key frame of its first video
// stream, decoded with FFmpeg and scaled to fit a box. Reading is bounded in
// time (a deadline checked by FFmpeg's interrupt hook and between packets), in
// packets read and in picture size, so a damaged or endless file fails with a
// message instead of holding the caller.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lumora {

struct Thumbnail {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // width * height * 3 bytes, R G B, top row first

  bool Empty() const { return width <= 0 || height <= 0; }
};

struct ThumbnailLimits {
  std::chrono::milliseconds timeout{3000};
  int maxPackets = 2000;     // packets read before giving up on a key frame
  int maxSourceEdge = 8192;  // larger coded pictures are refused
  // Set from another thread to abandon the decode at once.
  const std::atomic<bool>* cancel = nullptr;
};

class CThumbnailDecoder {
 public:
  // The picture size that fits `source` into the box keeping its shape;
  // never larger than the source, never below 1 x 1.
  static void FitSize(int sourceWidth, int sourceHeight, int boxWidth, int boxHeight, int* width,
                      int* height);
  // The first key frame of `path` fitted into boxWidth x boxHeight. Nothing
  // (and `error` set) when the file has no decodable video picture.
  static std::optional<Thumbnail> FirstKeyFrame(const std::filesystem::path& path, int boxWidth,
                                                int boxHeight, std::string* error,
                                                const ThumbnailLimits& limits = {});
};

}  // namespace lumora
