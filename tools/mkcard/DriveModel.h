#pragma once

#include <cstdint>
#include <vector>

namespace lumora {

// The state of the simulated car at one moment.
struct DriveState {
  double lat_deg = 0;  // positive north
  double lon_deg = 0;  // positive east
  double speed_mps = 0;
  double course_deg = 0;  // 0 = north, 90 = east
  double accel_long = 0;  // m/s^2, forward positive
  double accel_lat = 0;   // m/s^2, to the right positive
  double distance_m = 0;  // driven since the start
  double steer = 0;       // -1..1, how hard the car turns
};

// A plausible drive from a seed: city speeds with stops, smooth turns, and
// positions integrated from speed and course, so that the GPS speed and
// course agree with the change of position. Positions use 110560 m per degree
// of latitude and 84800 m per degree of longitude, the metric the viewer uses.
class DriveModel {
 public:
  static constexpr double kStep = 0.1;  // seconds between stored states

  // parked: the car stands still for the whole time.
  DriveModel(uint32_t seed, bool parked, double seconds);
  // State at time t (seconds since the drive started), clamped to the range.
  DriveState At(double t) const;
  double seconds() const { return seconds_; }

 private:
  double seconds_;
  std::vector<DriveState> states_;
};

// A small deterministic generator (SplitMix64), so that the output depends only
// on the seed and not on the standard library's distributions.
class SeededRandom {
 public:
  explicit SeededRandom(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x1234567ull) {}
  uint64_t Next();
  double Uniform(double lo, double hi);  // [lo, hi)
  int Range(int lo, int hi);             // [lo, hi]

 private:
  uint64_t state_;
};

}  // namespace lumora
