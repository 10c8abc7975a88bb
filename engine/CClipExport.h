#pragma once
// Cuts a clip out of consecutive recordings into one AVI: a stream copy of
// every video channel and the sound, joined with continuous time stamps,
// that carries the user-data records of the range re-stamped from the
// clip's start in the camera's text-stream layout, so that the clip reads
// like a recording.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/CClipPlan.h"

namespace lumora {

class CClipSource;

struct ClipExportRequest {
  std::vector<std::filesystem::path> inputs;
  // Counted from the start of the first input, running on across the others.
  std::int64_t fromUs = 0;
  std::int64_t toUs = 0;
  std::filesystem::path output;
};

struct ClipStreamSummary {
  std::string type;   // "video", "audio", "data"
  std::string codec;  // "h264", "pcm_s16le", "user-data"
  std::uint32_t packets = 0;
};

struct ClipExportResult {
  enum class Status { kOk, kBadInput, kFailed, kCancelled };
  Status status = Status::kFailed;
  std::string message;
  std::filesystem::path output;
  // Real start and end, counted like the asked times.
  std::int64_t startUs = 0;
  std::int64_t endUs = 0;
  std::vector<ClipStreamSummary> streams;
  std::uint32_t records = 0;
};

class CClipExport {
 public:
  // Fraction done, 0..1.
  using ProgressFn = std::function<void(double)>;

  // Runs the export; a set `cancel` stops it and removes what was written.
  static ClipExportResult Run(const ClipExportRequest& request, const ProgressFn& progress,
                              const std::atomic<bool>& cancel);

  // Opens the inputs, checks that they join and plans the range; false with
  // the result's status and message set.
  static bool Prepare(const ClipExportRequest& request, std::vector<CClipSource>& sources,
                      ClipPlan& plan, ClipExportResult& result);
  // A generous guess of the clip's size: the planned share of each input.
  static std::uint64_t BytesNeeded(const std::vector<CClipSource>& sources, const ClipPlan& plan);
};

}  // namespace lumora
