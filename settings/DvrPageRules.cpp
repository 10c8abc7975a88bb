#include "settings/DvrPageRules.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace lumora {
namespace {

void AppendVoltages(std::vector<std::string>& out, float from, float stopBefore) {
  char buf[32];
  for (float v = from; v < stopBefore; v += 0.1f) {
    std::snprintf(buf, sizeof buf, "%0.1fv", static_cast<double>(v));
    out.emplace_back(buf);
  }
}

}  // namespace

std::uint16_t ToggleOnOffCheck(std::uint16_t value) { return value == 1 ? 0 : 1; }

int LoadImpactLevel(SetupData& data) {
  if (data.usMotionSenseLevel > 2) data.usMotionSenseLevel = 1;
  if (data.usAccSenseLevel <= 2) return data.usAccSenseLevel;
  data.usAccSenseLevel = 1;
  return 1;
}

void ApplyImpactLevel(SetupData& data, int index) {
  if (index < 0 || index > 2) {
    data.usAccSenseLevel = 1;
    return;
  }
  static constexpr std::uint16_t kTriggers[] = {50, 70, 90};
  data.usAccSenseLevel = static_cast<std::uint16_t>(index);
  data.usAccTriggerX = data.usAccTriggerY = data.usAccTriggerZ = kTriggers[index];
}

std::uint16_t RoundTriggerPosition(int position) {
  return static_cast<std::uint16_t>(std::clamp((position + 5) / 10 * 10, 10, 200));
}

std::string TriggerGText(std::uint16_t hundredthsG) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0.2f", hundredthsG / 100.0);
  return buf;
}

bool IsHeavyVehicle(std::uint16_t carType) { return carType == 2 || carType == 5; }

std::vector<std::string> VoltageListTexts(std::uint16_t carType) {
  std::vector<std::string> texts;
  AppendVoltages(texts, 11.5f, 13.6f);
  if (IsHeavyVehicle(carType)) AppendVoltages(texts, 23.5f, 25.6f);
  return texts;
}

VoltageSelection SelectVoltage(std::uint16_t poweroffVolt, std::uint16_t carType) {
  std::vector<std::string> texts = VoltageListTexts(carType);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1fv", poweroffVolt / 10.0);
  auto it = std::find(texts.begin(), texts.end(), buf);
  if (it != texts.end()) return {static_cast<int>(it - texts.begin()), poweroffVolt};
  const std::string fallback = IsHeavyVehicle(carType) ? "24.3v" : "12.3v";
  it = std::find(texts.begin(), texts.end(), fallback);
  return {static_cast<int>(it - texts.begin()), VoltageFromText(fallback)};
}

std::uint16_t VoltageFromText(const std::string& text) {
  std::string digits;
  for (char c : text) {
    if (c != '.' && c != 'v') digits += c;
  }
  return static_cast<std::uint16_t>(std::atoi(digits.c_str()));
}

}  // namespace lumora
