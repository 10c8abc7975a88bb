#pragma once
// Rules for the camera's recording file names: which files are recordings,
// their kind, date and time, the "^"-separated name form, ordering and the
// sort key of the recording lists.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

struct RecordingClass {
  std::string kind;      // "NORMAL", "EVENT" or "PARKING"
  std::string date;      // "YYYY-MM-DD" from the name
  std::string time;      // "HH:MM:SS" from the name
  std::string dateTime;  // "YYYY-MM-DD HH:MM:SS"
  int channel = 0;       // 1 front, 2 rear, 0 when the suffix has no channel digit
};

class CRecordingName {
 public:
  // Kind of a recording in a scan: the folder it lies in, overridden by the
  // suffix (N1, N2, I1, I2 -> NORMAL; P1, P2 -> PARKING). Date and time come
  // from the name's first 15 characters, or from the block after the first
  // "^" of a "^" name. Nothing when the
  // file is not ".avi"/".mp4" or lies outside EVENT, NORMAL and PARKING.
  static std::optional<RecordingClass> Classify(const std::filesystem::path& path);

  // Kind from the last six characters of the name alone (case included);
  // empty when the suffix is not one of the six known codes.
  static std::string KindFromSuffix(std::string_view name);

  // Fields of a "^"-separated name: the 15-character date-time block, the
  // text after it up to the next "^", the next two fields and the last field
  // without its final five characters (empty when the name holds one of the
  // known type codes). Empty when the name has neither ".mp4" nor ".avi", or
  // no "^".
  static std::vector<std::string> ParseName(std::string_view name);

  // Whether name a sorts strictly before b once ".mp4", "_I" and "_" are
  // removed from both (byte order).
  static bool SortsBefore(std::string_view a, std::string_view b);
  static std::string OrderingForm(std::string_view name);

  // YYYYMMDD * 1,000,000 + HHMMSS from the last 22 characters of the path
  // (from the date-time block of a "^" name).
  static std::int64_t SortKey(std::string_view path);

  static std::string Upper(std::string_view text);
};

}  // namespace lumora
