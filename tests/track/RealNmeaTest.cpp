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

}  // namespace
}  // namespace lumora
