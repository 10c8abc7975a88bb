#include "settings/OthersPageRules.h"

#include <cstdio>
#include <ctime>

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

TimeZoneAnswer SystemTimeZoneAnswer() {
  TimeZoneAnswer answer;
  std::time_t now = std::time(nullptr);
  std::tm local{};
  if (now == static_cast<std::time_t>(-1) || !localtime_r(&now, &local)) return answer;
  ::tzset();
  // `timezone` is the standard offset in seconds west of UTC.
  answer.bias = static_cast<long>(::timezone / 60);
  answer.standardBias = 0;
  long currentBias = -static_cast<long>(local.tm_gmtoff / 60);
  answer.daylightBias = currentBias - answer.bias;
  answer.kind = local.tm_isdst > 0 ? 2 : (::daylight ? 1 : 0);
  if (answer.kind != 2) answer.standardBias = currentBias - answer.bias;
  return answer;
}

int DitRadioIndex(std::uint16_t useDit) {
  if (useDit == 1) return 0;
  if (useDit == 0) return 1;
  return -1;
}

}  // namespace lumora
