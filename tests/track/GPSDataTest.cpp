#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "data/CGPSData.h"

namespace lumora {
namespace {

// Sets a fixed zone for the local-time conversion and restores it afterwards.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* tz) {
    const char* old = std::getenv("TZ");
    m_hadOld = old != nullptr;
    if (m_hadOld) m_old = old;
    setenv("TZ", tz, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (m_hadOld) {
      setenv("TZ", m_old.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  bool m_hadOld = false;
  std::string m_old;
};

const char* kExample = "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A";

TEST(GPSData, DefaultIsAllZero) {
  CGPSData d;
  EXPECT_EQ(d.m_nYear, 0);
  EXPECT_EQ(d.m_nHour, 0);
  EXPECT_EQ(d.m_nValid, 0);
  EXPECT_EQ(d.m_dLatitude, 0.0);
  EXPECT_EQ(d.m_dSpeed, 0.0);
  EXPECT_EQ(d.m_cNorthSouth, 0);
  EXPECT_EQ(d.m_tTime, 0);
  EXPECT_EQ(d.m_uCts, 0u);
}

TEST(GPSData, ParsesTheTextbookSentence) {
  CGPSData d(kExample, 4200);
  EXPECT_EQ(d.m_uCts, 4200u);
  EXPECT_EQ(d.m_nHour, 21);  // 12 UTC + 9
  EXPECT_EQ(d.m_nMinute, 35);
  EXPECT_EQ(d.m_nSecond, 19);
  EXPECT_EQ(d.GetUtcHour(), 12);
  EXPECT_EQ(d.m_nValid, 1);
  EXPECT_DOUBLE_EQ(d.m_dLatitude, 4807.038);
  EXPECT_DOUBLE_EQ(d.m_dLongitude, 1131.0);
  EXPECT_EQ(d.m_cNorthSouth, 'N');
  EXPECT_EQ(d.m_cEastWest, 'E');
  EXPECT_NEAR(d.GetLatitudeDegrees(), 48.1173, 1e-9);
  EXPECT_NEAR(d.GetLongitudeDegrees(), 11.5 + 1.0 / 60.0, 1e-9);
  // 22.4 knots * 1.852 rounded through single precision.
  EXPECT_EQ(d.m_dSpeed, static_cast<double>(static_cast<float>(22.4 * 1.852)));
  EXPECT_NE(d.m_dSpeed, 22.4 * 1.852);
  EXPECT_NEAR(d.m_dSpeed, 41.4848, 1e-5);
  EXPECT_EQ(d.m_dCourse, static_cast<double>(84.4f));
  EXPECT_EQ(d.m_nDay, 23);
  EXPECT_EQ(d.m_nMonth, 3);
  EXPECT_EQ(d.m_nYear, 94);
  EXPECT_EQ(CGPSData::FullYear(d.m_nYear), 1994);
}

TEST(GPSData, TimeIsTheLocalConversionOfTheShiftedFields) {
  {
    ScopedTimeZone tz("UTC0");
    CGPSData d(kExample, 0);
    EXPECT_EQ(d.m_tTime, 764458519);  // 1994-03-23 21:35:19 read as UTC
  }
  {
    // In the camera's home zone the shifted hour gives back the true instant.
    ScopedTimeZone tz("KST-9");
    CGPSData d(kExample, 0);
    EXPECT_EQ(d.m_tTime, 764426119);  // 1994-03-23 12:35:19 UTC
  }
}

TEST(GPSData, YearWindow) {
  EXPECT_EQ(CGPSData::FullYear(70), 1970);
  EXPECT_EQ(CGPSData::FullYear(99), 1999);
  EXPECT_EQ(CGPSData::FullYear(0), 2000);
  EXPECT_EQ(CGPSData::FullYear(69), 2069);
  ScopedTimeZone tz("UTC0");
  CGPSData d("$GPRMC,000000,A,0000.000,N,00000.000,E,0,0,010169,,", 0);
  EXPECT_EQ(d.m_tTime, 3124224000 + 9 * 3600);  // 2069-01-01 09:00:00
  CGPSData e("$GPRMC,000000,A,0000.000,N,00000.000,E,0,0,010170,,", 0);
  EXPECT_EQ(e.m_tTime, 9 * 3600);  // 1970-01-01 09:00:00
}

TEST(GPSData, HourMayPassMidnight) {
  ScopedTimeZone tz("UTC0");
  CGPSData d("$GPRMC,201500,A,3000.0,N,12000.0,E,0,0,311299,,", 0);
  EXPECT_EQ(d.m_nHour, 29);
  EXPECT_EQ(d.GetUtcHour(), 20);
  EXPECT_EQ(d.m_tTime, 946684800 + 5 * 3600 + 15 * 60);  // 2000-01-01 05:15 after the carry
}

TEST(GPSData, SplitterKeepsEmptyFieldsAndSkipsLeadingCommas) {
  using V = std::vector<std::string>;
  EXPECT_EQ(CGPSData::SplitFields("a,,b,"), (V{"a", "", "b", ""}));
  EXPECT_EQ(CGPSData::SplitFields(",,a,b"), (V{"a", "b"}));
  EXPECT_EQ(CGPSData::SplitFields(""), V{});
  EXPECT_EQ(CGPSData::SplitFields(",,,"), V{});
  EXPECT_EQ(CGPSData::SplitFields("$GPRMC"), V{"$GPRMC"});
  // No hidden position: splitting one text in the middle of another changes nothing.
  V first = CGPSData::SplitFields("x,y,z");
  V second = CGPSData::SplitFields("1,2");
  EXPECT_EQ(first, (V{"x", "y", "z"}));
  EXPECT_EQ(second, (V{"1", "2"}));
}

TEST(GPSData, AllEmptyFieldsGiveAnEmptyFix) {
  CGPSData d("$GPRMC,,,,,,,,,,,", 10);
  EXPECT_EQ(d.m_nValid, 0);
  EXPECT_EQ(d.m_dLatitude, 0.0);
  EXPECT_EQ(d.m_dLongitude, 0.0);
  EXPECT_EQ(d.m_nHour, 0);
  EXPECT_EQ(d.m_nDay, 0);
  EXPECT_EQ(d.m_cNorthSouth, 0);
  EXPECT_FALSE(d.m_bHasTimeField);
  EXPECT_FALSE(d.m_bHasDateField);
  EXPECT_EQ(d.m_tTime, 0);  // no date: no invented calendar time
  EXPECT_EQ(d.m_uCts, 10u);
}

TEST(GPSData, SouthernAndWesternHemispheresAreNegative) {
  CGPSData d("$GPRMC,010203,A,3352.1234,S,15112.5000,W,1.0,180.0,050607,,", 0);
  EXPECT_DOUBLE_EQ(d.m_dLatitude, -3352.1234);
  EXPECT_DOUBLE_EQ(d.m_dLongitude, -15112.5);
  EXPECT_EQ(d.m_cNorthSouth, 'S');
  EXPECT_EQ(d.m_cEastWest, 'W');
  // Truncation toward zero keeps the minutes on the same side.
  EXPECT_NEAR(d.GetLatitudeDegrees(), -(33 + 52.1234 / 60.0), 1e-9);
  EXPECT_NEAR(d.GetLongitudeDegrees(), -(151 + 12.5 / 60.0), 1e-9);
  // A hemisphere other than N/E (even empty) counts as south / west.
  CGPSData e("$GPRMC,010203,A,1000.0,x,02000.0,,1.0,0,050607,,", 0);
  EXPECT_LT(e.m_dLatitude, 0.0);
  EXPECT_LT(e.m_dLongitude, 0.0);
}

TEST(GPSData, ShortSentencesKeepWhatWasRead) {
  CGPSData a("$GPRMC,123519,A,4807.038", 0);
  EXPECT_EQ(a.m_nHour, 21);
  EXPECT_EQ(a.m_nValid, 1);
  EXPECT_DOUBLE_EQ(a.m_dLatitude, 4807.038);  // no hemisphere field: not negated
  EXPECT_EQ(a.m_dLongitude, 0.0);
  EXPECT_EQ(a.m_tTime, 0);
  CGPSData b("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4", 0);
  EXPECT_NEAR(b.m_dCourse, 84.4, 1e-5);
  EXPECT_EQ(b.m_nDay, 0);
  EXPECT_EQ(b.m_tTime, 0);
  CGPSData c("$GPRMC,12", 0);
  EXPECT_EQ(c.m_nHour, 21);
  EXPECT_EQ(c.m_nMinute, 0);
  CGPSData d("$GPRMC", 0);
  EXPECT_EQ(d.m_nHour, 0);
}

TEST(GPSData, FractionalSecondsAreDroppedAndLongTextIsCut) {
  CGPSData d("$GPRMC,235959.999,V,,,,,,,311299,,", 0);
  EXPECT_EQ(d.m_nHour, 32);
  EXPECT_EQ(d.m_nSecond, 59);
  EXPECT_EQ(d.m_nValid, 0);
  std::string longText = std::string(kExample) + std::string(5000, ',');
  CGPSData e(longText, 0);
  EXPECT_EQ(e.m_nHour, 21);
  EXPECT_EQ(e.m_nYear, 94);
  // A number too large for a double reads as zero instead of infinity.
  CGPSData f("$GPRMC,010203,A," + std::string(400, '9') + ",N", 0);
  EXPECT_EQ(f.m_dLatitude, 0.0);
}

}  // namespace
}  // namespace lumora
