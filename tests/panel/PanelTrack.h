#pragma once
// Builds driving-data tracks for the panel tests from real user-data
// payloads: G-sensor samples with their assistance words and RMC sentences.

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

inline void PutS16(std::vector<std::uint8_t>& p, std::size_t at, int v) {
  p[at] = static_cast<std::uint8_t>(v & 0xFF);
  p[at + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

inline void AddSample(CDrivingTrack& track, const SampleSpec& s, std::uint32_t cts = 0) {
  std::vector<std::uint8_t> p(CDrivingTrack::kGSensorPayloadSize, 0);
  p[0] = 'M';
  auto offset = [](double g) { return static_cast<int>(std::lround(g * 1024.0)) + 2048; };
  auto plain = [](double g) { return static_cast<int>(std::lround(g * 1024.0)); };
  PutS16(p, 1, offset(s.ay));
  PutS16(p, 3, offset(s.az));
  PutS16(p, 5, offset(s.ax));
  PutS16(p, 7, plain(s.by));
  PutS16(p, 9, plain(s.bz));
  PutS16(p, 11, plain(s.bx));
  if (s.hour >= 0) {
    p[13] = 1;
    p[16] = static_cast<std::uint8_t>(s.hour);
    p[17] = static_cast<std::uint8_t>(s.minute);
    p[18] = static_cast<std::uint8_t>(s.second);
  }
  PutS16(p, 19, s.speed);
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
