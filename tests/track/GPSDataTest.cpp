// RMC sentences to fixes: one table row a sentence, and the captures of real
// receivers (gpsd's regression logs) against gpsd's own decoding of them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "data/CDrivingTrack.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

// Sets TZ for the local-time conversion; the old value comes back afterwards.
struct ScopedTimeZone {
  explicit ScopedTimeZone(const char* tz) : old(std::getenv("TZ") ? std::getenv("TZ") : "") {
    setenv("TZ", tz, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    old.empty() ? unsetenv("TZ") : setenv("TZ", old.c_str(), 1);
    tzset();
  }
  std::string old;
};

const std::string kExample = "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A";

// A fix as one line: time (hour + 9), status, ddmm.mmmm latitude and longitude, km/h,
// course, ddmmyy, whole time and date fields, degrees, the fields as UTC calendar time.
std::string Describe(const CGPSData& d) {
  char buf[256];
  std::snprintf(
      buf, sizeof buf, "%02d:%02d:%02d %c %.4f %.4f %.4f %.2f %02d%02d%02d %c%c %.7f %.7f %lld",
      d.m_nHour, d.m_nMinute, d.m_nSecond, d.m_nValid == 1 ? 'A' : 'V', d.m_dLatitude + 0.0,
      d.m_dLongitude + 0.0, d.m_dSpeed, d.m_dCourse, d.m_nDay, d.m_nMonth, d.m_nYear,
      d.m_bHasTimeField ? 'T' : '-', d.m_bHasDateField ? 'D' : '-', d.GetLatitudeDegrees() + 0.0,
      d.GetLongitudeDegrees() + 0.0, static_cast<long long>(d.m_tTime));
  return buf;
}

TEST(GPSData, SentencesToFields) {
  const std::pair<std::string, const char*> rows[] = {
      {kExample,
       "21:35:19 A 4807.0380 1131.0000 41.4848 84.40 230394 TD 48.1173000 11.5166667 764458519"},
      // Text past 1023 characters is cut.
      {kExample + std::string(5000, ','),
       "21:35:19 A 4807.0380 1131.0000 41.4848 84.40 230394 TD 48.1173000 11.5166667 764458519"},
      {"$GPRMC,010203,A,3352.1234,S,15112.5000,W,1.0,180.0,050607,,",
       "10:02:03 A -3352.1234 -15112.5000 1.8520 180.00 050607 TD -33.8687233 -151.2083333 "
       "1181037723"},
      // A hemisphere other than N / E, even an empty one, counts as south / west.
      {"$GPRMC,010203,A,1000.0,x,02000.0,,1.0,0,050607,,",
       "10:02:03 A -1000.0000 -2000.0000 1.8520 0.00 050607 TD -10.0000000 -20.0000000 1181037723"},
      {"$GPRMC,,,,,,,,,,,", "00:00:00 V 0.0000 0.0000 0.0000 0.00 000000 -- 0.0000000 0.0000000 0"},
      {"$GPRMC", "00:00:00 V 0.0000 0.0000 0.0000 0.00 000000 -- 0.0000000 0.0000000 0"},
      {"$GPRMC,12", "21:00:00 V 0.0000 0.0000 0.0000 0.00 000000 -- 0.0000000 0.0000000 0"},
      // Without a hemisphere field the latitude is not negated.
      {"$GPRMC,123519,A,4807.038",
       "21:35:19 A 4807.0380 0.0000 0.0000 0.00 000000 T- 48.1173000 0.0000000 0"},
      {"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4",
       "21:35:19 A 4807.0380 1131.0000 41.4848 84.40 000000 T- 48.1173000 11.5166667 0"},
      // Fractions of a second are dropped; the hour may pass midnight.
      {"$GPRMC,235959.999,V,,,,,,,311299,,",
       "32:59:59 V 0.0000 0.0000 0.0000 0.00 311299 TD 0.0000000 0.0000000 946717199"},
      {"$GPRMC,201500,A,3000.0,N,12000.0,E,0,0,311299,,",
       "29:15:00 A 3000.0000 12000.0000 0.0000 0.00 311299 TD 30.0000000 120.0000000 946703700"},
      // Two-digit years 70-99 are 1970-1999, 00-69 2000-2069.
      {"$GPRMC,000000,A,0000.000,N,00000.000,E,0,0,010169,,",
       "09:00:00 A 0.0000 0.0000 0.0000 0.00 010169 TD 0.0000000 0.0000000 3124256400"},
      {"$GPRMC,000000,A,0000.000,N,00000.000,E,0,0,010170,,",
       "09:00:00 A 0.0000 0.0000 0.0000 0.00 010170 TD 0.0000000 0.0000000 32400"},
      // A number too large for a double reads as zero, not infinity.
      {"$GPRMC,010203,A," + std::string(400, '9') + ",N",
       "10:02:03 A 0.0000 0.0000 0.0000 0.00 000000 T- 0.0000000 0.0000000 0"},
      // Real receivers: an NMEA 4.1 GLONASS line, a Garmin void fix, a no-fix line.
      {"$GNRMC,091503.000,A,4813.0509,N,00824.8699,E,6.56,175.87,101015,,,A,V*0B",
       "18:15:03 A 4813.0509 824.8699 12.1491 175.87 101015 TD 48.2175150 8.4144983 1444500903"},
      {"$GPRMC,120316,V,4221.4394,N,01321.9948,E,000.0,000.0,150305,001.4,E*63",
       "21:03:16 V 4221.4394 1321.9948 0.0000 0.00 150305 TD 42.3573233 13.3665800 1110920596"},
      {"$GPRMC,151605.053,V,,,,,,,260705,,*29",
       "24:16:05 V 0.0000 0.0000 0.0000 0.00 260705 TD 0.0000000 0.0000000 1122423365"},
  };
  ScopedTimeZone tz("UTC0");
  for (const auto& [text, expected] : rows) {
    const CGPSData d(text, 4200);
    EXPECT_EQ(Describe(d), expected) << text.substr(0, 80);
    EXPECT_EQ(d.m_uCts, 4200u);
  }
  const CGPSData d(kExample, 0);
  EXPECT_EQ(std::string({d.m_cNorthSouth, d.m_cEastWest}), "NE");
  EXPECT_EQ(d.GetUtcHour(), 12);
  // Speed and course go through single precision, as the camera keeps them.
  EXPECT_EQ(d.m_dSpeed, static_cast<double>(static_cast<float>(22.4 * 1.852)));
  EXPECT_NE(d.m_dSpeed, 22.4 * 1.852);
  EXPECT_EQ(d.m_dCourse, static_cast<double>(84.4f));
  // In the camera's home zone the shifted hour gives back the true instant.
  ScopedTimeZone home("KST-9");
  EXPECT_EQ(CGPSData(kExample, 0).m_tTime, 764426119);  // 1994-03-23 12:35:19 UTC
}

TEST(GPSData, YearWindowAndFieldSplitter) {
  const std::pair<int, int> years[] = {{70, 1970}, {99, 1999}, {0, 2000}, {69, 2069}};
  for (const auto& [twoDigits, year] : years) EXPECT_EQ(CGPSData::FullYear(twoDigits), year);
  using V = std::vector<std::string>;
  EXPECT_EQ(CGPSData::SplitFields("a,,b,"), (V{"a", "", "b", ""}));
  EXPECT_EQ(CGPSData::SplitFields(",,a,b"), (V{"a", "b"}));
  EXPECT_EQ(CGPSData::SplitFields(""), V{});
  EXPECT_EQ(CGPSData::SplitFields(",,,"), V{});
}

// The shared folder sits beside the source tree; LUMORA_SHARED_DIR in the
// environment points elsewhere when it does not.
std::vector<std::string> ReadLines(const std::string& name) {
  const char* env = std::getenv("LUMORA_SHARED_DIR");
  std::istringstream in(test::ReadFile(std::string(env != nullptr ? env : LUMORA_SHARED_DIR) +
                                       "/testdata/real/nmea/" + name));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool IsRmc(const std::string& line) {
  return line.size() > 6 && line[0] == '$' && line.compare(3, 3, "RMC") == 0;
}

class RealNmea : public ::testing::TestWithParam<const char*> {};

// Each RMC line directly followed by gpsd's report of it must agree with it;
// through the track every RMC line becomes one fix and nothing else does.
TEST_P(RealNmea, FixesAgreeWithGpsd) {
  const auto lines = ReadLines(std::string(GetParam()) + ".chk");
  CDrivingTrack track;
  std::size_t rmc = 0;
  int compared = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    track.DecodeUserData(reinterpret_cast<const std::uint8_t*>(lines[i].data()), lines[i].size(),
                         0);
    if (IsRmc(lines[i])) ++rmc;
    if (!IsRmc(lines[i]) || i + 1 == lines.size() ||
        lines[i + 1].rfind("{\"class\":\"TPV\"", 0) != 0) {
      continue;
    }
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
  EXPECT_EQ(track.TextData().m_arrGPS.size(), rmc);
  EXPECT_EQ(track.GetGSampleCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Captures, RealNmea,
                         ::testing::Values("bu353-glonass.log", "iTrek.log", "nl2008u.log",
                                           "tomtom-mkII.log"));

}  // namespace
}  // namespace lumora
