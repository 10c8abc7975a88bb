#include "data/CGPSData.h"

#include <charconv>
#include <cmath>
#include <ctime>

namespace lumora {

namespace {

// Reads a leading integer as atoi does: blanks, optional sign, digits.
int LeadingInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 1000000000L) break;  // far beyond any field; avoids overflow
  }
  return static_cast<int>(negative ? -value : value);
}

// Reads a leading decimal number as atof does, independent of the C locale.
double LeadingDouble(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && text[i] == '+') ++i;
  double value = 0.0;
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
  if (ec != std::errc()) return 0.0;
  (void)ptr;
  if (!std::isfinite(value)) return 0.0;
  return value;
}

bool AllDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

std::vector<std::string> CGPSData::SplitFields(std::string_view sentence) {
  std::vector<std::string> fields;
  std::size_t pos = sentence.find_first_not_of(',');
  if (pos == std::string_view::npos) return fields;
  while (true) {
    std::size_t comma = sentence.find(',', pos);
    if (comma == std::string_view::npos) {
      fields.emplace_back(sentence.substr(pos));
      break;
    }
    fields.emplace_back(sentence.substr(pos, comma - pos));
    pos = comma + 1;
  }
  return fields;
}

double CGPSData::ToDegrees(double nmea) {
  double x = nmea * 0.01;
  double d = std::trunc(x);
  return (x - d) * 100.0 / 60.0 + d;
}

int CGPSData::GetUtcHour() const { return ((m_nHour - kHourOffset) % 24 + 24) % 24; }

int CGPSData::FullYear(int twoDigitYear) {
  return ((twoDigitYear + 30) % 100 + 100) % 100 + 70 + 1900;
}

CGPSData::CGPSData(std::string_view sentence, std::uint32_t cts) : m_uCts(cts) {
  std::size_t end = sentence.find('\0');
  if (end != std::string_view::npos) sentence = sentence.substr(0, end);
  if (sentence.size() > kMaxSentence) sentence = sentence.substr(0, kMaxSentence);
  const std::vector<std::string> tokens = SplitFields(sentence);
  const std::size_t n = tokens.size();

  if (n > 1) {
    const std::string& t = tokens[1];
    if (t.size() >= 2) m_nHour = LeadingInt(std::string_view(t).substr(0, 2)) + kHourOffset;
    if (t.size() >= 4) m_nMinute = LeadingInt(std::string_view(t).substr(2, 2));
    if (t.size() >= 6) m_nSecond = LeadingInt(std::string_view(t).substr(4, 2));
    m_bHasTimeField = t.size() >= 6 && AllDigits(std::string_view(t).substr(0, 6));
  }
  if (n > 2) m_nValid = (!tokens[2].empty() && tokens[2][0] == 'A') ? 1 : 0;
  if (n > 3) m_dLatitude = LeadingDouble(tokens[3]);
  if (n > 4) {
    m_cNorthSouth = tokens[4].empty() ? 0 : tokens[4][0];
    if (m_cNorthSouth != 'N') m_dLatitude *= -1;
  }
  if (n > 5) m_dLongitude = LeadingDouble(tokens[5]);
  if (n > 6) {
    m_cEastWest = tokens[6].empty() ? 0 : tokens[6][0];
    if (m_cEastWest != 'E') m_dLongitude *= -1;
  }
  // Both values go through single precision, as the camera's software keeps them.
  if (n > 7) m_dSpeed = static_cast<double>(static_cast<float>(LeadingDouble(tokens[7]) * 1.852));
  if (n > 8) m_dCourse = static_cast<double>(static_cast<float>(LeadingDouble(tokens[8])));
  if (n > 9) {
    std::string_view d = tokens[9];
    if (d.size() >= 2) m_nDay = LeadingInt(d.substr(0, 2));
    if (d.size() >= 4) m_nMonth = LeadingInt(d.substr(2, 2));
    if (d.size() >= 6) m_nYear = LeadingInt(d.substr(4, 2));
    m_bHasDateField = d.size() >= 6 && AllDigits(d.substr(0, 6)) && m_nMonth >= 1 &&
                      m_nMonth <= 12 && m_nDay >= 1 && m_nDay <= 31;
  }
  // The time value needs a real calendar date; an empty or malformed date
  // field would make the conversion invent one, so the time stays zero then.
  if (n >= 10 && m_bHasDateField) {
    std::tm tm{};
    tm.tm_year = ((m_nYear + 30) % 100) + 70;
    tm.tm_mon = m_nMonth - 1;
    tm.tm_mday = m_nDay;
    tm.tm_hour = m_nHour;
    tm.tm_min = m_nMinute;
    tm.tm_sec = m_nSecond;
    tm.tm_isdst = -1;  // let the system decide whether daylight saving applies
    std::time_t t = std::mktime(&tm);
    m_tTime = t == static_cast<std::time_t>(-1) ? 0 : static_cast<std::int64_t>(t);
  }
}

}  // namespace lumora
