#pragma once
// What the data panel shows in DIT mode, taken from the replay's current
// point: the date, the time of day, latitude and longitude in degrees,
// minutes and seconds, the speed curve of the drive and its axis labels.

#include <string>
#include <vector>

#include "library/CDitFile.h"

namespace lumora {

class CDitPanelText {
 public:
  // Speed curve starts here instead of the video panel's 255.
  static constexpr int kCurveLeft = 260;
  static constexpr int kMaxCurveSpeed = 200;

  // "%4d-%02d-%02d" of the point's date.
  static std::string DateLine(const DitPoint& p);
  // "%02d:%02d:%02d" of the point's time.
  static std::string TimeLine(const DitPoint& p);
  // "%03d %03d %3.1f" (latitude) and "%03d %03d %3.1f     " (longitude) of the
  // absolute degrees, minutes and seconds of the written value.
  static std::string LatitudeLine(const DitPoint& p);
  static std::string LongitudeLine(const DitPoint& p);
  // One value per point, km/h or mph (x 10 / 16), at most kMaxCurveSpeed.
  static std::vector<int> SpeedCurve(const std::vector<DitPoint>& points, bool mph);
  // "       %dkph" / "       %dmph" of 160 - 40 i, i = 0..4.
  static std::string AxisLabel(int i, bool mph);

 private:
  static std::string DegreesLine(double value, const char* format);
};

}  // namespace lumora
