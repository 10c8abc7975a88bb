#include "tools/mkcard/DriveModel.h"

#include <algorithm>
#include <cmath>

namespace lumora {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMetresPerDegLat = 110560.0;
constexpr double kMetresPerDegLon = 84800.0;

struct Origin {
  double lat;
  double lon;
  double course;
};

// Start points in Korean cities (the camera keeps Korean time).
constexpr Origin kOrigins[] = {
    {37.5665, 126.9780, 40.0},   // Seoul
    {35.1796, 129.0756, 120.0},  // Busan
    {35.8714, 128.6014, 300.0},  // Daegu
    {37.4563, 126.7052, 200.0},  // Incheon
};

}  // namespace

uint64_t SeededRandom::Next() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double SeededRandom::Uniform(double lo, double hi) {
  return lo + (hi - lo) * (static_cast<double>(Next() >> 11) / 9007199254740992.0);
}

int SeededRandom::Range(int lo, int hi) {
  if (hi <= lo) return lo;
  return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1));
}

DriveModel::DriveModel(uint32_t seed, bool parked, double seconds)
    : seconds_(std::max(seconds, 0.0)) {
  SeededRandom rnd(seed);
  const Origin& o = kOrigins[seed % (sizeof(kOrigins) / sizeof(kOrigins[0]))];
  DriveState s;
  s.lat_deg = o.lat + rnd.Uniform(-0.01, 0.01);
  s.lon_deg = o.lon + rnd.Uniform(-0.01, 0.01);
  s.course_deg = std::fmod(o.course + rnd.Uniform(0.0, 60.0), 360.0);
  // A moving drive starts rolling; parked cars stay at 0.
  s.speed_mps = parked ? 0.0 : rnd.Uniform(6.0, 12.0);

  const size_t steps = static_cast<size_t>(std::ceil(seconds_ / kStep)) + 2;
  states_.reserve(steps);
  double target_speed = s.speed_mps;
  double segment_left = 0;
  double yaw_rate = 0;  // degrees per second
  double turn_left = 0;
  double straight_left = rnd.Uniform(6.0, 15.0);
  for (size_t i = 0; i < steps; ++i) {
    states_.push_back(s);
    if (parked) continue;
    // New speed target every few seconds: mostly cruising, sometimes a stop.
    segment_left -= kStep;
    if (segment_left <= 0) {
      segment_left = rnd.Uniform(6.0, 14.0);
      target_speed = rnd.Range(0, 5) == 0 ? 0.0 : rnd.Uniform(8.0, 22.0);
    }
    // Turns happen on straight stretches at moderate speed.
    if (turn_left > 0) {
      turn_left -= kStep;
      if (turn_left <= 0) yaw_rate = 0;
    } else {
      straight_left -= kStep;
      if (straight_left <= 0 && s.speed_mps > 2.0) {
        const double angle = rnd.Uniform(30.0, 90.0) * (rnd.Range(0, 1) ? 1.0 : -1.0);
        turn_left = rnd.Uniform(4.0, 8.0);
        yaw_rate = angle / turn_left;
        straight_left = rnd.Uniform(8.0, 20.0);
      }
    }
    // Gentle first-order approach to the target, limited to +2 / -3 m/s^2.
    const double wanted = (target_speed - s.speed_mps) * 0.5;
    const double accel = std::clamp(wanted, -3.0, 2.0);
    const double v0 = s.speed_mps;
    const double v1 = std::max(0.0, v0 + accel * kStep);
    const double yaw = v1 > 0.5 ? yaw_rate : 0.0;
    const double c0 = s.course_deg;
    const double c1 = c0 + yaw * kStep;
    const double mid = (c0 + c1) / 2 * kPi / 180.0;
    const double d = (v0 + v1) / 2 * kStep;
    s.lat_deg += d * std::cos(mid) / kMetresPerDegLat;
    s.lon_deg += d * std::sin(mid) / kMetresPerDegLon;
    s.course_deg = std::fmod(c1 + 360.0, 360.0);
    s.speed_mps = v1;
    s.accel_long = (v1 - v0) / kStep;
    s.accel_lat = v1 * yaw * kPi / 180.0;
    s.distance_m += d;
    s.steer = std::clamp(yaw / 15.0, -1.0, 1.0);
  }
}

DriveState DriveModel::At(double t) const {
  if (states_.empty()) return DriveState{};
  const double x = std::clamp(t, 0.0, seconds_) / kStep;
  const size_t i = std::min(static_cast<size_t>(x), states_.size() - 1);
  const size_t j = std::min(i + 1, states_.size() - 1);
  const double f = std::clamp(x - static_cast<double>(i), 0.0, 1.0);
  const DriveState& a = states_[i];
  const DriveState& b = states_[j];
  DriveState s = a;
  s.lat_deg = a.lat_deg + (b.lat_deg - a.lat_deg) * f;
  s.lon_deg = a.lon_deg + (b.lon_deg - a.lon_deg) * f;
  s.speed_mps = a.speed_mps + (b.speed_mps - a.speed_mps) * f;
  s.distance_m = a.distance_m + (b.distance_m - a.distance_m) * f;
  s.accel_long = b.accel_long;
  s.accel_lat = b.accel_lat;
  s.steer = b.steer;
  double dc = b.course_deg - a.course_deg;
  if (dc > 180) dc -= 360;
  if (dc < -180) dc += 360;
  s.course_deg = std::fmod(a.course_deg + dc * f + 360.0, 360.0);
  return s;
}

}  // namespace lumora
