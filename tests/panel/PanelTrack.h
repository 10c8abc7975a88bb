#pragma once
// Driving-data tracks built from real user-data payloads.

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "data/CDrivingTrack.h"

namespace lumora::test {

struct SampleSpec {
  double ax = 0, ay = 0, az = 0;          // set A, g
  double bx = 0, by = 0, bz = 0;          // set B, g
  int speed = 0;                          // assistance word 0, km/h
  int hour = -1, minute = 0, second = 0;  // time of day; -1: none
};

// One 61-byte G-sensor record: set A (Y, Z, X; 2048 = 0 g, 1024 per g), set B
// (0 = 0 g), the time block and assistance word 0.
inline void AddSample(CDrivingTrack& track, const SampleSpec& s, std::uint32_t cts = 0) {
  std::vector<std::uint8_t> p(CDrivingTrack::kGSensorPayloadSize, 0);
  p[0] = 'M';
  const double g[] = {s.ay, s.az, s.ax, s.by, s.bz, s.bx};
  const long words[] = {std::lround(g[0] * 1024) + 2048, std::lround(g[1] * 1024) + 2048,
                        std::lround(g[2] * 1024) + 2048, std::lround(g[3] * 1024),
                        std::lround(g[4] * 1024),        std::lround(g[5] * 1024)};
  for (int i = 0; i < 6; ++i) {
    p[1 + 2 * i] = static_cast<std::uint8_t>(words[i] & 0xFF);
    p[2 + 2 * i] = static_cast<std::uint8_t>((words[i] >> 8) & 0xFF);
  }
  p[19] = static_cast<std::uint8_t>(s.speed & 0xFF);
  p[20] = static_cast<std::uint8_t>((s.speed >> 8) & 0xFF);
  if (s.hour >= 0) {
    p[13] = 1;
    p[16] = static_cast<std::uint8_t>(s.hour);
    p[17] = static_cast<std::uint8_t>(s.minute);
    p[18] = static_cast<std::uint8_t>(s.second);
  }
  track.DecodeUserData(p.data(), p.size(), cts);
}

inline void AddSentence(CDrivingTrack& track, const std::string& sentence, std::uint32_t cts) {
  track.DecodeUserData(reinterpret_cast<const std::uint8_t*>(sentence.data()), sentence.size(),
                       cts);
}

// A track of `count` equal samples, finished for a duration.
inline void FillTrack(CDrivingTrack& track, int count, const SampleSpec& s,
                      std::int32_t durationMs) {
  track.BeginLoad();
  for (int i = 0; i < count; ++i) AddSample(track, s, static_cast<std::uint32_t>(i * 100));
  track.SetDuration(durationMs);
  track.ResampleGSensor();
}

}  // namespace lumora::test
