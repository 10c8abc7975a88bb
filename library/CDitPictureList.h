#pragma once
// The pictures captured during one drive: the ".jpg" / ".JPG" files of the
// drive's folder under CAPTURE, in name order, each with its "HourSec" value.

#include <filesystem>
#include <string>
#include <vector>

namespace lumora {

struct DitPicture {
  std::filesystem::path m_path;
  // Hour and minute of the picture (HHMM) from its name "YYYYMMDD_HHMMSS...",
  // the unit of the points' "Min" column it is compared with.
  int m_nHourSec = 0;
};

class CDitPictureList {
 public:
  // A picture matches a point when the two values differ by at most this.
  static constexpr int kMatchDistance = 10;
  // Given to pictures whose name carries no time: they never match.
  static constexpr int kNoTime = -1000000;

  // Lists the pictures of `folder`; empty when the folder is missing.
  static std::vector<DitPicture> List(const std::filesystem::path& folder);
  // HHMM from characters 9-12 of "YYYYMMDD_HHMMSS"; kNoTime otherwise.
  static int HourSecOfName(const std::string& name);
  static bool Matches(const DitPicture& picture, int minuteValue);
};

}  // namespace lumora
