#pragma once
// Value rules of the OTHERS page: time zone, DIT radios, Wi-Fi passphrase.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/SetupData.h"

namespace lumora {

// The message shown when the passphrase is too short (OK / Cancel).
inline constexpr char kWifiPassphraseTooShortMessage[] =
    "The Wi-Fi password must be at least 8 characters long";
inline constexpr std::size_t kMinWifiPassphraseLength = 8;

// True when `passphrase` is shorter than 8 characters.
bool IsWifiPassphraseTooShort(const std::string& passphrase);

// "Setting Time Zone" list: 24 entries "-11:00" .. "+0:00" .. "+12:00".
std::vector<std::string> TimeZoneListTexts();
// usTimeZone 1..24 selects entry value - 1; anything else no entry (-1).
int TimeZoneIndexFromValue(std::uint16_t value);
// Entry index 0..23 stores index + 1; no selection (-1) stores 0.
std::uint16_t TimeZoneValueFromIndex(int index);
// The entry for whole hours -11..+12 (hours + 11), else -1.
int TimeZoneIndexFromHours(int hours);

// The system's time-zone answer in the form the rule was written for:
// minutes with UTC = local time + bias.
struct TimeZoneAnswer {
  int kind = -1;  // 0 no daylight saving, 1 standard time, 2 daylight time, -1 failed
  long bias = 0;
  long standardBias = 0;
  long daylightBias = 0;
};

// Hours east of UTC: -(bias + standardBias) / 60 for kinds 0 and 1,
// -(bias + daylightBias) / 60 for kind 2, truncated towards zero; nullopt
// when the query failed (the selection then stays as it is).
std::optional<int> TimeZoneHours(const TimeZoneAnswer& answer);

// "Apply Current PC Timezone": stores the value for `answer` in usTimeZone
// (0 for a zone outside -11..+12) and returns the entry to select (-1 none).
// A failed query changes nothing and returns nullopt.
std::optional<int> ApplyTimeZone(SetupData& data, const TimeZoneAnswer& answer);

// DIT radios (disabled, display only): 1 shows ON (0), 0 shows OFF (1),
// anything else neither (-1).
int DitRadioIndex(std::uint16_t useDit);

}  // namespace lumora
