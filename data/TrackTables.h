#pragma once
// Row layouts and capacities of the driving-data tables.

#include <cstddef>
#include <cstdint>

namespace lumora {

inline constexpr std::size_t kGSensorCapacity = 18000;   // samples and assistance records
inline constexpr std::size_t kResampleCapacity = 18000;  // 360 s at 50 slots per second
inline constexpr std::size_t kHeadingCapacity = 2000;
inline constexpr std::size_t kAdasWords = 21;
inline constexpr std::size_t kTimeBytes = 6;
inline constexpr int kSlotsPerSecond = 50;

// One G-sensor sample: set A (offset-coded) and set B (plain), in g, then the
// time-of-day block (byte 0 non-zero = valid; bytes 3, 4, 5 hour, minute, second).
struct GSensorSample {
  double ax = 0.0;
  double ay = 0.0;
  double az = 0.0;
  double bx = 0.0;
  double by = 0.0;
  double bz = 0.0;
  std::int8_t time[kTimeBytes] = {};
};

// The driver-assistance words that travel with one G-sensor sample.
struct AdasRecord {
  std::uint16_t words[kAdasWords] = {};
};

// Position of one fix in local metres and the heading vector that ends there.
struct HeadingEntry {
  double east = 0.0;
  double north = 0.0;
  std::int32_t dx = 0;
  std::int32_t dy = 0;
};

}  // namespace lumora
