#include "settings/AdasPageRules.h"

#include <algorithm>
#include <cstdio>

namespace lumora {
namespace {

struct SpeedRange {
  int lo;
  int hi;
};

SpeedRange Range(SpeedEdit edit, int unit) {
  if (unit == kSpeedUnitMph)
    return edit == SpeedEdit::kFcw ? SpeedRange{1, 50} : SpeedRange{25, 50};
  return edit == SpeedEdit::kFcw ? SpeedRange{1, 80} : SpeedRange{40, 80};
}

}  // namespace

std::uint16_t ToggleAdasCheck(std::uint16_t value) { return value != 0 ? 0 : 1; }

std::string SpeedUnitLabel(int unit) { return unit == kSpeedUnitMph ? "mph" : "km/h"; }

int SpeedEditDisplay(SpeedEdit edit, int storedKmh, int unit) {
  SpeedRange r = Range(edit, unit);
  if (unit == kSpeedUnitKmh) return std::clamp(storedKmh, r.lo, r.hi);
  if (unit == kSpeedUnitMph) return std::clamp(static_cast<int>(storedKmh / 1.6), r.lo, r.hi);
  return storedKmh;
}

bool ApplySpeedEdit(SetupData& data, SpeedEdit edit, int typed) {
  int unit = data.usDisplaySpeedUnit;
  if (unit != kSpeedUnitKmh && unit != kSpeedUnitMph) return false;
  SpeedRange r = Range(edit, unit);
  int kmh = 0;
  if (unit == kSpeedUnitKmh) {
    kmh = std::clamp((typed + 5) / 10 * 10, r.lo, r.hi);
  } else {
    kmh = static_cast<int>(std::clamp(typed, r.lo, r.hi) * 1.6);
  }
  auto hi = static_cast<std::uint16_t>(kmh);
  if (edit == SpeedEdit::kFcw) {
    data.usFcw_SpeedHi = hi;
    data.usFcw_SpeedLo = static_cast<std::uint16_t>(hi >= 6 ? hi - 5 : 0);
  } else {
    data.usLdw_SpeedHi = hi;
    data.usLdw_SpeedLo = static_cast<std::uint16_t>(hi - 5);
  }
  return true;
}

int LoadHmwLevel(SetupData& data) {
  data.usFcw1_TTCSense_Ms =
      static_cast<std::uint16_t>(std::clamp<int>(data.usFcw1_TTCSense_Ms, 100, 3000));
  if (data.usFcw_TTCSense <= 2) return data.usFcw_TTCSense;
  data.usFcw_TTCSense = 1;
  return 1;
}

void ApplyHmwLevel(SetupData& data, int index) {
  switch (index) {
    case 0:
      data.usFcw1_TTCSense_Ms = 1100;
      data.usFcw_TTCSense = 0;
      break;
    case 2:
      data.usFcw1_TTCSense_Ms = 700;
      data.usFcw_TTCSense = 2;
      break;
    default:
      data.usFcw1_TTCSense_Ms = 900;
      data.usFcw_TTCSense = 1;
      break;
  }
}

std::string HmwSecondsText(std::uint16_t milliseconds) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", (milliseconds / 100) / 10.0);
  return buf;
}

std::int16_t ClampWarningStep(int typed) {
  return static_cast<std::int16_t>(std::clamp(typed, 1, 9));
}

std::uint16_t AlarmTimingFromIndex(int index) {
  return static_cast<std::uint16_t>(std::clamp(index, 0, 5) * 1000);
}

int AlarmTimingIndex(std::uint16_t waitOutMs) {
  int index = waitOutMs / 1000;
  return index <= 5 ? index : -1;
}

}  // namespace lumora
