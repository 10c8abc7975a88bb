#include "library/CDitPictureList.h"

#include <algorithm>
#include <cstdlib>

namespace lumora {

namespace fs = std::filesystem;

int CDitPictureList::HourSecOfName(const std::string& name) {
  if (name.size() < 15 || name[8] != '_') return kNoTime;
  int value = 0;
  for (std::size_t i = 9; i < 13; ++i) {
    if (name[i] < '0' || name[i] > '9') return kNoTime;
    value = value * 10 + (name[i] - '0');
  }
  return value;
}

bool CDitPictureList::Matches(const DitPicture& picture, int minuteValue) {
  if (picture.m_nHourSec == kNoTime) return false;
  return std::abs(picture.m_nHourSec - minuteValue) <= kMatchDistance;
}

std::vector<DitPicture> CDitPictureList::List(const fs::path& folder) {
  std::vector<DitPicture> out;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    const std::string name = it->path().filename().string();
    if (name.size() < 4) continue;
    const std::string ext = name.substr(name.size() - 4);
    if (ext != ".jpg" && ext != ".JPG") continue;
    out.push_back({it->path(), HourSecOfName(name)});
  }
  std::sort(out.begin(), out.end(),
            [](const DitPicture& a, const DitPicture& b) { return a.m_path < b.m_path; });
  return out;
}

}  // namespace lumora
