#pragma once
// Writes a decoded driving-data track as JSON, CSV or GPX 1.1.

#include <string>

#include <nlohmann/json.hpp>

#include "data/CDrivingTrack.h"

namespace lumora {

class CTrackExport {
 public:
  // {"gsensor": [...], "gps": [...], "slots": N}
  static nlohmann::json ToJson(const CDrivingTrack& track);
  static nlohmann::json FixToJson(const CGPSData& fix);
  // One row per GPS fix after a header row.
  static std::string ToCsv(const CDrivingTrack& track);
  // One track segment of the valid fixes, with time (UTC as the sentences
  // gave it), speed and course. Empty when the XML writer failed.
  static std::string ToGpx(const CDrivingTrack& track, const std::string& name);

  // "YYYY-MM-DD" and "hh:mm:ss" of a fix (UTC); empty when the sentence
  // carried no such field.
  static std::string DateText(const CGPSData& fix);
  static std::string UtcTimeText(const CGPSData& fix);
  // Whether a fix gives a position that can be put on a map.
  static bool IsMappable(const CGPSData& fix);
};

}  // namespace lumora
