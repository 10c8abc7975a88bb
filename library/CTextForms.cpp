#include "library/CTextForms.h"

#include <cstdio>

namespace lumora {

std::string CTextForms::FileSizeText(std::uint64_t bytes) {
  const unsigned long long kib = bytes / 1024;
  char buf[48];
  if (kib >= 1000) {
    std::snprintf(buf, sizeof buf, "%llu,%03llu", kib / 1000, kib % 1000);
  } else {
    std::snprintf(buf, sizeof buf, "%llu", kib);
  }
  return buf;
}

std::string CTextForms::FileDateText(int year, int month, int day) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%02d", year % 2000, month, day);
  return buf;
}

std::string CTextForms::ClockText(int hours, int minutes, int seconds) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", hours, minutes, seconds);
  return buf;
}

}  // namespace lumora
