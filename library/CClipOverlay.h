#pragma once
// The overlay variant of the clip export: the range of consecutive
// recordings is decoded, the channels are set into one picture (rear in a
// corner of the front, side by side, or the front alone), the time of day,
// speed, position and a G-force bar are drawn in, and the result is encoded
// as H.264 (libx264) into an AVI with the sound kept.

#include <atomic>
#include <string>

#include "engine/CClipExport.h"

namespace lumora {

class CDrivingTrack;
struct GSensorSample;

enum class ClipLayout { kPip, kSide, kFront };

struct ClipOverlayOptions {
  ClipLayout layout = ClipLayout::kPip;
  // 0 km/h, 1 mph: the card's speed unit.
  int speedUnit = 0;
};

class CClipOverlay {
 public:
  static ClipExportResult Run(const ClipExportRequest& request, const ClipOverlayOptions& options,
                              const CClipExport::ProgressFn& progress,
                              const std::atomic<bool>& cancel);

  // The line drawn into the picture at play position p (ms) of a recording
  // with that track: "08:30:12  63 km/h  N 37.56652 E 126.97801  0.42 G".
  static std::string InfoText(const CDrivingTrack& track, std::int64_t p, int speedUnit);
  // Horizontal G force at p, in g.
  static double GForce(const CDrivingTrack& track, std::int64_t p);
  // The filter graph of a layout, from the labels [f] and [r] to [out].
  static std::string FilterGraph(ClipLayout layout, bool hasRear, int frontWidth, int frontHeight);
};

}  // namespace lumora
