#pragma once
// One GPS fix decoded from an NMEA RMC sentence.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

class CGPSData {
 public:
  // Longest sentence text that is parsed; longer text is cut.
  static constexpr std::size_t kMaxSentence = 1023;
  // The camera shows the time of day in its home zone: UTC plus nine hours.
  static constexpr int kHourOffset = 9;

  CGPSData() = default;
  // Parses an RMC sentence (id, time, status, latitude, N/S, longitude, E/W,
  // speed in knots, course, date). Fields that the sentence lacks stay zero.
  CGPSData(std::string_view sentence, std::uint32_t cts);

  // Splits at commas keeping empty fields ("a,,b" gives "a", "", "b"); commas
  // before the first field are skipped. Holds no state between calls.
  static std::vector<std::string> SplitFields(std::string_view sentence);

  // NMEA ddmm.mmmm / dddmm.mmmm values converted to decimal degrees.
  double GetLatitudeDegrees() const { return ToDegrees(m_dLatitude); }
  double GetLongitudeDegrees() const { return ToDegrees(m_dLongitude); }
  static double ToDegrees(double nmea);

  // Hour of the time field as the sentence gave it (UTC), 0-23.
  int GetUtcHour() const;
  // Four-digit year from the two-digit one: 70-99 are 1970-1999, 00-69 2000-2069.
  static int FullYear(int twoDigitYear);

  std::int32_t m_nYear = 0;
  std::int32_t m_nMonth = 0;
  std::int32_t m_nDay = 0;
  std::int32_t m_nHour = 0;  // UTC hour + 9; may exceed 23
  std::int32_t m_nMinute = 0;
  std::int32_t m_nSecond = 0;
  std::int32_t m_nValid = 0;
  double m_dLatitude = 0.0;   // ddmm.mmmm, negative south
  double m_dLongitude = 0.0;  // dddmm.mmmm, negative west
  char m_cNorthSouth = 0;
  char m_cEastWest = 0;
  double m_dSpeed = 0.0;         // km/h
  double m_dCourse = 0.0;        // degrees
  std::int64_t m_tTime = 0;      // local-time conversion of the fields above, seconds
  std::uint32_t m_uCts = 0;      // record time stamp, ms from the start of the recording
  bool m_bHasTimeField = false;  // the time field held at least hhmmss
  bool m_bHasDateField = false;  // the date field held ddmmyy
};

}  // namespace lumora
