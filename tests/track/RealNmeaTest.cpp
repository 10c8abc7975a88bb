// Sentences captured from real receivers (gpsd's regression logs), checked
// against gpsd's own decoding of the same lines.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "data/CDrivingTrack.h"

namespace lumora {
namespace {

// The shared folder sits beside the source tree; LUMORA_SHARED_DIR in the
// environment points elsewhere when it does not.
const std::string kDir = [] {
  const char* env = std::getenv("LUMORA_SHARED_DIR");
  return std::string(env != nullptr ? env : LUMORA_SHARED_DIR) + "/testdata/real/nmea/";
}();

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

bool IsRmc(const std::string& line) {
  return line.size() > 6 && line[0] == '$' && line.compare(3, 3, "RMC") == 0;
}

class RealNmea : public ::testing::TestWithParam<const char*> {};

// Every RMC line of the capture becomes one fix; everything else is ignored.
TEST_P(RealNmea, EveryRmcLineBecomesOneFix) {
  const auto lines = ReadLines(kDir + GetParam());
  ASSERT_FALSE(lines.empty());
  CDrivingTrack t;
  std::size_t rmc = 0;
  std::uint32_t cts = 0;
  for (const std::string& line : lines) {
    if (IsRmc(line)) ++rmc;
    t.DecodeUserData(reinterpret_cast<const std::uint8_t*>(line.data()), line.size(), cts);
    cts += 100;
  }
  EXPECT_GT(rmc, 0u);
  EXPECT_EQ(t.TextData().m_arrGPS.size(), rmc);
  EXPECT_EQ(t.GetGSampleCount(), 0);
}

// Each RMC line directly followed by gpsd's report of it must agree with it.
TEST_P(RealNmea, FixesAgreeWithGpsd) {
  const auto lines = ReadLines(kDir + std::string(GetParam()) + ".chk");
  int compared = 0;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    if (!IsRmc(lines[i]) || lines[i + 1].rfind("{\"class\":\"TPV\"", 0) != 0) continue;
    const auto tpv = nlohmann::json::parse(lines[i + 1]);
    if (!tpv.contains("lat") || !tpv.contains("track")) continue;
    CGPSData fix(lines[i], 0);
    SCOPED_TRACE(lines[i]);
    EXPECT_EQ(fix.m_nValid, 1);
    EXPECT_NEAR(fix.GetLatitudeDegrees(), tpv["lat"].get<double>(), 1e-8);
    EXPECT_NEAR(fix.GetLongitudeDegrees(), tpv["lon"].get<double>(), 1e-8);
    EXPECT_NEAR(fix.m_dCourse, tpv["track"].get<double>(), 1e-4);
    // gpsd reports metres per second to three decimals.
    EXPECT_NEAR(fix.m_dSpeed, tpv["speed"].get<double>() * 3.6, 0.0019 + 1e-5);
    // gpsd's date is shifted by its week-rollover logic; its time of day is not.
    const std::string time = tpv["time"].get<std::string>();
    EXPECT_EQ(fix.GetUtcHour(), std::stoi(time.substr(11, 2)));
    EXPECT_EQ(fix.m_nMinute, std::stoi(time.substr(14, 2)));
    EXPECT_EQ(fix.m_nSecond, std::stoi(time.substr(17, 2)));
    ++compared;
  }
  EXPECT_GT(compared, 0);
}

INSTANTIATE_TEST_SUITE_P(Captures, RealNmea,
                         ::testing::Values("bu353-glonass.log", "iTrek.log", "nl2008u.log",
                                           "tomtom-mkII.log"));

TEST(RealNmeaByHand, GlonassTalkerLine) {
  // $GNRMC with the NMEA 4.1 mode and navigation-status fields appended.
  CGPSData d("$GNRMC,091503.000,A,4813.0509,N,00824.8699,E,6.56,175.87,101015,,,A,V*0B", 7);
  EXPECT_EQ(d.m_nHour, 18);
  EXPECT_EQ(d.m_nMinute, 15);
  EXPECT_EQ(d.m_nSecond, 3);
  EXPECT_EQ(d.m_nDay, 10);
  EXPECT_EQ(d.m_nMonth, 10);
  EXPECT_EQ(d.m_nYear, 15);
  EXPECT_NEAR(d.GetLatitudeDegrees(), 48 + 13.0509 / 60, 1e-12);
  EXPECT_NEAR(d.GetLongitudeDegrees(), 8 + 24.8699 / 60, 1e-12);
  EXPECT_EQ(d.m_dSpeed, static_cast<double>(static_cast<float>(6.56 * 1.852)));  // 12.14912
  EXPECT_EQ(d.m_dCourse, static_cast<double>(175.87f));
}

TEST(RealNmeaByHand, GarminWholeSecondsAndVoidStatus) {
  CGPSData d("$GPRMC,120316,V,4221.4394,N,01321.9948,E,000.0,000.0,150305,001.4,E*63", 0);
  EXPECT_EQ(d.m_nValid, 0);
  EXPECT_EQ(d.m_nHour, 21);
  EXPECT_EQ(d.m_nDay, 15);
  EXPECT_EQ(d.m_nMonth, 3);
  EXPECT_EQ(d.m_nYear, 5);
  EXPECT_DOUBLE_EQ(d.m_dLatitude, 4221.4394);
  EXPECT_EQ(d.m_dSpeed, 0.0);
}

TEST(RealNmeaByHand, NoFixLineWithEmptyFields) {
  CGPSData d("$GPRMC,151605.053,V,,,,,,,260705,,*29", 0);
  EXPECT_EQ(d.m_nValid, 0);
  EXPECT_EQ(d.m_nHour, 24);
  EXPECT_EQ(d.m_nMinute, 16);
  EXPECT_EQ(d.m_nSecond, 5);
  EXPECT_EQ(d.m_dLatitude, 0.0);
  EXPECT_EQ(d.m_dLongitude, 0.0);
  EXPECT_EQ(d.m_nDay, 26);
  EXPECT_EQ(d.m_nYear, 5);
  EXPECT_NE(d.m_tTime, 0);
}

TEST(RealNmeaByHand, JunkBeforeTheDollarIsNotARecord) {
  CDrivingTrack t;
  const std::string line = "r$GPRMC,175736,A,5125.8714,N,00524.2350,E,3.1865,276.241,200610,,*2A";
  t.DecodeUserData(reinterpret_cast<const std::uint8_t*>(line.data()), line.size(), 0);
  EXPECT_TRUE(t.TextData().m_arrGPS.empty());
}

}  // namespace
}  // namespace lumora
