#pragma once
// Value rules of the DVR settings page: recording checks, impact level and
// G-sensor triggers, the cut-off voltage list.

#include <cstdint>
#include <string>
#include <vector>

#include "settings/SetupData.h"

namespace lumora {

// DVR and SETUP page check boxes: 1 becomes 0, anything else becomes 1.
std::uint16_t ToggleOnOffCheck(std::uint16_t value);

// "Impact Level" list 0 "Sensitive", 1 "Normal", 2 "Insensitive".
// Loading: usAccSenseLevel 0..2 selects that entry, anything else entry 1
// and stores 1; usMotionSenseLevel outside 0..2 also becomes 1. Returns the
// entry to select.
int LoadImpactLevel(SetupData& data);

// Choosing entry `index`: level 0 with all three triggers 50, 1 with 70, 2
// with 90. No selection (-1 or anything else) stores level 1 only.
void ApplyImpactLevel(SetupData& data, int index);

// G-sensor trigger sliders (range 10..200, step 10): the position rounded to
// the nearest 10 ((pos + 5) / 10 * 10) within the range.
std::uint16_t RoundTriggerPosition(int position);
// The "G" box: value / 100 with two decimals ("0.70").
std::string TriggerGText(std::uint16_t hundredthsG);

// Vehicle types with the 24 V list (Bus 2, Truck 5).
bool IsHeavyVehicle(std::uint16_t carType);

// The "Voltage Level" entries: "11.5v" .. "13.5v" (21 entries), followed for
// Bus and Truck by "23.5v" .. "25.5v" (21 more). Made with a single-precision
// counter stepped by 0.1 and "%0.1fv", as the camera's tool does.
std::vector<std::string> VoltageListTexts(std::uint16_t carType);

struct VoltageSelection {
  int index = 0;            // entry to select
  std::uint16_t value = 0;  // usPoweroffVolt after loading
};

// Loading: the entry whose text equals value / 10 formatted "%.1fv"; when
// none matches, 24.3v / 243 for Bus and Truck, else 12.3v / 123.
VoltageSelection SelectVoltage(std::uint16_t poweroffVolt, std::uint16_t carType);

// Choosing an entry: its text without "." and "v", read as an integer
// ("12.3v" gives 123).
std::uint16_t VoltageFromText(const std::string& text);

}  // namespace lumora
