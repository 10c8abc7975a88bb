#include "settings/OthersPageRules.h"

#include <cstdio>

namespace lumora {

bool IsWifiPassphraseTooShort(const std::string& passphrase) {
  return passphrase.size() < kMinWifiPassphraseLength;
}

std::vector<std::string> TimeZoneListTexts() {
  std::vector<std::string> texts;
  char buf[16];
  for (int hours = -11; hours <= 12; ++hours) {
    std::snprintf(buf, sizeof buf, "%+d:00", hours);
    texts.emplace_back(buf);
  }
  return texts;
}

int TimeZoneIndexFromValue(std::uint16_t value) {
  return (value >= 1 && value <= 24) ? value - 1 : -1;
}

std::uint16_t TimeZoneValueFromIndex(int index) {
  return static_cast<std::uint16_t>((index >= 0 && index <= 23) ? index + 1 : 0);
}

int TimeZoneIndexFromHours(int hours) { return (hours >= -11 && hours <= 12) ? hours + 11 : -1; }

std::optional<int> TimeZoneHours(const TimeZoneAnswer& answer) {
  if (answer.kind == 0 || answer.kind == 1) {
    return static_cast<int>(-(answer.bias + answer.standardBias) / 60);
  }
  if (answer.kind == 2) return static_cast<int>(-(answer.bias + answer.daylightBias) / 60);
  return std::nullopt;
}

std::optional<int> ApplyTimeZone(SetupData& data, const TimeZoneAnswer& answer) {
  std::optional<int> hours = TimeZoneHours(answer);
  if (!hours) return std::nullopt;
  int index = TimeZoneIndexFromHours(*hours);
  data.usTimeZone = TimeZoneValueFromIndex(index);
  return index;
}

int DitRadioIndex(std::uint16_t useDit) {
  if (useDit == 1) return 0;
  if (useDit == 0) return 1;
  return -1;
}

}  // namespace lumora
