#pragma once

#include <cstdint>

namespace lumora {

// A calendar date and time of day without a time zone (the camera writes local time).
struct CivilTime {
  int year = 2026;
  int month = 12;
  int day = 5;
  int hour = 8;
  int minute = 30;
  int second = 0;
};

// Seconds since 1970-01-01 00:00:00 of the same (zone-less) calendar.
int64_t CivilToSeconds(const CivilTime& t);
CivilTime SecondsToCivil(int64_t seconds);
CivilTime AddSeconds(const CivilTime& t, int64_t seconds);

}  // namespace lumora
