#pragma once
// Value rules of the ADAS settings page (FCW, LDW, FCDA). Pure functions on
// the settings record, called by the page's control handlers and by tests.

#include <cstdint>
#include <string>

#include "settings/SetupData.h"

namespace lumora {

// Speed units of usDisplaySpeedUnit.
inline constexpr int kSpeedUnitKmh = 0;
inline constexpr int kSpeedUnitMph = 1;

// Which speed edit: they differ in their clamp ranges.
enum class SpeedEdit { kFcw, kLdw };

// ADAS check boxes (FCW, LDW, FCDA): non-zero becomes 0, 0 becomes 1.
std::uint16_t ToggleAdasCheck(std::uint16_t value);

// "km/h" for unit 0, "mph" for 1 (and "km/h" for anything else).
std::string SpeedUnitLabel(int unit);

// The number a speed edit shows for a stored km/h value:
//   km/h: stored, clamped FCW 1..80, LDW 40..80;
//   mph: truncate(stored / 1.6), clamped FCW 1..50, LDW 25..50;
//   other unit: the stored value unchanged.
int SpeedEditDisplay(SpeedEdit edit, int storedKmh, int unit);

// The user typed `typed` into a speed edit: stores usFcw_SpeedHi or
// usLdw_SpeedHi and the matching SpeedLo.
//   km/h: (typed + 5) / 10 * 10 (integer), then clamped as above;
//   mph: clamped as above, then truncate(x * 1.6);
//   usFcw_SpeedLo = SpeedHi - 5 when SpeedHi >= 6, else 0;
//   usLdw_SpeedLo = SpeedHi - 5;
//   other unit: nothing changes. Returns whether the record changed.
bool ApplySpeedEdit(SetupData& data, SpeedEdit edit, int typed);

// "HMW Warning Level" list entries: 0 "Sensitive", 1 "Normal", 2 "Insensitive".
// Loading: usFcw_TTCSense 0..2 selects that entry; anything else selects 1
// and stores usFcw_TTCSense = 1. usFcw1_TTCSense_Ms is clamped to 100..3000.
// Returns the entry to select.
int LoadHmwLevel(SetupData& data);

// Choosing entry `index` (-1 for no selection): 0 stores 1100 ms and level 0,
// 1 (and no selection) 900 ms and level 1, 2 700 ms and level 2.
void ApplyHmwLevel(SetupData& data, int index);

// The read-only seconds box: the value truncated to 100 ms, in seconds,
// "%.1f" (1100 gives "1.1", 950 gives "0.9").
std::string HmwSecondsText(std::uint16_t milliseconds);

// "Warning Level(L)/(R)": typed value clamped to 1..9.
std::int16_t ClampWarningStep(int typed);

// FCDA "Alarm Timing" list "0".."5" seconds: entry index x 1000 is stored;
// the entry shown is value / 1000, or -1 (no selection) beyond 5.
std::uint16_t AlarmTimingFromIndex(int index);
int AlarmTimingIndex(std::uint16_t waitOutMs);

}  // namespace lumora
