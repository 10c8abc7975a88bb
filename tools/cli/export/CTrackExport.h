#pragma once
// Writes a decoded driving-data track as JSON, CSV, GPX 1.1 or KML 2.2.

#include <cstdint>
#include <limits>
#include <string>

#include <nlohmann/json.hpp>

#include "data/CDrivingTrack.h"

namespace lumora {

// The part of a recording to write, in ms from its start (both ends
// included): fixes by their time stamp, G samples by their place in the
// recording (sample i of N lies at i * duration / N).
struct TrackRange {
  std::int64_t fromMs = 0;
  std::int64_t toMs = std::numeric_limits<std::int64_t>::max();
  bool Contains(std::int64_t ms) const { return ms >= fromMs && ms <= toMs; }
};

class CTrackExport {
 public:
  // {"gsensor": [...], "gps": [...], "slots": N}
  static nlohmann::json ToJson(const CDrivingTrack& track, const TrackRange& range = {});
  static nlohmann::json FixToJson(const CGPSData& fix);
  // One row per GPS fix after a header row.
  static std::string ToCsv(const CDrivingTrack& track, const TrackRange& range = {});
  // One track segment of the valid fixes, with time (UTC as the sentences
  // gave it), speed and course. Empty when the XML writer failed.
  static std::string ToGpx(const CDrivingTrack& track, const std::string& name,
                           const TrackRange& range = {});
  // One placemark with a gx:Track (a "when" and a "gx:coord" per valid fix
  // that has a date and time) and the speed and course of each point.
  // Empty when the XML writer failed.
  static std::string ToKml(const CDrivingTrack& track, const std::string& name,
                           const TrackRange& range = {});

  // "YYYY-MM-DD" and "hh:mm:ss" of a fix (UTC); empty when the sentence
  // carried no such field.
  static std::string DateText(const CGPSData& fix);
  static std::string UtcTimeText(const CGPSData& fix);
  // Whether a fix gives a position that can be put on a map.
  static bool IsMappable(const CGPSData& fix);
  // Time of G sample i in ms from the start of the recording.
  static std::int64_t SampleTimeMs(const CDrivingTrack& track, int i);
};

}  // namespace lumora
