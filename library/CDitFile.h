#pragma once
// Driving-information (".DIT") files: one GPS point a line, five comma-separated
// fields "YYYYMMDDHHMMSS,ddmm.mmmm,dddmm.mmmm,speed,ttc". Reading is streamed in
// fixed-size blocks, so huge lines, binary bytes and empty files cost no more
// than the file's size and never stop the program.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

struct DitPoint {
  std::string m_strDateTime;  // exactly 14 digits
  double m_dLatitude = 0.0;   // as written (degrees and minutes times 100)
  double m_dLongitude = 0.0;
  int m_nSpeed = 0;     // km/h
  double m_dTtc = 0.0;  // time-to-collision value
  double m_dLatDeg = 0.0;  // decimal degrees
  double m_dLonDeg = 0.0;

  std::string Date() const { return m_strDateTime.substr(0, 8); }  // YYYYMMDD
  std::string Time() const { return m_strDateTime.substr(8, 6); }  // HHMMSS
  int Hour() const;
  int Minute() const;
  int Second() const;
  int SecondsOfDay() const { return Hour() * 3600 + Minute() * 60 + Second(); }
};

class CDitFile {
 public:
  // Lines longer than this are not points; they are skipped whole.
  static constexpr std::size_t kMaxLine = 256;
  static constexpr std::size_t kDateTimeLength = 14;

  // One line (without its line break; a trailing CR is ignored). False when it
  // is not a valid point: wrong field count, a date-time field that is not 14
  // digits, a number that does not parse, a zero latitude or longitude, or a
  // position off the globe.
  static bool ParseLine(std::string_view line, DitPoint* point);

  // Degrees-and-minutes times 100 to decimal degrees.
  static double ToDegrees(double field);

  // Calls `onLine` for every line of at most kMaxLine bytes until it returns
  // false. False when the file cannot be opened.
  static bool ForEachLine(const std::filesystem::path& path,
                          const std::function<bool(std::string_view)>& onLine);
  // Calls `onPoint` for every valid point until it returns false.
  static bool ForEachPoint(const std::filesystem::path& path,
                           const std::function<bool(const DitPoint&)>& onPoint);

  // Every valid point in file order. False when the file cannot be opened.
  static bool Read(const std::filesystem::path& path, std::vector<DitPoint>* points);
  // At least one valid line.
  static bool IsValid(const std::filesystem::path& path);
  // The first valid point; false when there is none.
  static bool FirstPoint(const std::filesystem::path& path, DitPoint* point);

  // The CAPTURE folder of a drive: two levels above the DIT file.
  static std::filesystem::path CaptureFolder(const std::filesystem::path& ditPath);
  // The drive's own picture folder in it: "<date>_<time>" of its first point.
  static std::filesystem::path CaptureSubfolder(const std::filesystem::path& ditPath,
                                                const DitPoint& first);
};

}  // namespace lumora
