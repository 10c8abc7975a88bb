#pragma once
// What the data panel shows in DIT mode, taken from the replay's current
// point: the date, the time of day, latitude and longitude in degrees,
// minutes and seconds (the speed curve and its labels are DataPanelRules').

#include <string>
#include <vector>

#include "library/CDitFile.h"

namespace lumora {

class CDitPanelText {
 public:
  // "%4d-%02d-%02d" of the point's date.
  static std::string DateLine(const DitPoint& p);
  // "%02d:%02d:%02d" of the point's time.
  static std::string TimeLine(const DitPoint& p);
  // "%03d %03d %3.1f" (latitude) and "%03d %03d %3.1f     " (longitude) of the
  // absolute degrees, minutes and seconds of the written value.
  static std::string LatitudeLine(const DitPoint& p);
  static std::string LongitudeLine(const DitPoint& p);

 private:
  static std::string DegreesLine(double value, const char* format);
};

}  // namespace lumora
