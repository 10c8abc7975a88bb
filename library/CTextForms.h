#pragma once
// The text forms in which the lists show sizes, dates and times.

#include <cstdint>
#include <string>

namespace lumora {

class CTextForms {
 public:
  // Size in KiB: "1234,567" from 1000 KiB up, else "11".
  static std::string FileSizeText(std::uint64_t bytes);
  // Files opened by hand are listed only above 10 KiB.
  static bool IsListableSize(std::uint64_t bytes) { return bytes / 1024 > 10; }
  // "YY.MM.DD" of a file's last-write date.
  static std::string FileDateText(int year, int month, int day);
  // "HH:MM:SS".
  static std::string ClockText(int hours, int minutes, int seconds);
};

}  // namespace lumora
