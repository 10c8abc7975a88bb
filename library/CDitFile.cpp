#include "library/CDitFile.h"

#include <array>
#include <charconv>
#include <cmath>
#include <fstream>

#include "library/CCardLocator.h"

namespace lumora {

namespace {

int Digits(const std::string& text, std::size_t pos) {
  if (text.size() < pos + 2) return 0;
  return (text[pos] - '0') * 10 + (text[pos + 1] - '0');
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool ParseDouble(std::string_view s, double* out) {
  s = Trim(s);
  if (s.empty()) return false;
  const char* end = s.data() + s.size();
  auto [ptr, ec] = std::from_chars(s.data(), end, *out);
  return ec == std::errc() && ptr == end && std::isfinite(*out);
}

bool ParseInt(std::string_view s, int* out) {
  s = Trim(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return false;
  const char* end = s.data() + s.size();
  auto [ptr, ec] = std::from_chars(s.data(), end, *out);
  return ec == std::errc() && ptr == end;
}

}  // namespace

int DitPoint::Hour() const { return Digits(m_strDateTime, 8); }
int DitPoint::Minute() const { return Digits(m_strDateTime, 10); }
int DitPoint::Second() const { return Digits(m_strDateTime, 12); }

double CDitFile::ToDegrees(double field) {
  const double v = field / 100.0;
  const double d = std::trunc(v);
  const double m = std::trunc((v - d) * 100.0);
  const double s = ((v - d) * 100.0 - m) * 60.0;
  return s / 3600.0 + m / 60.0 + d;
}

bool CDitFile::ParseLine(std::string_view line, DitPoint* point) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.size() > kMaxLine) return false;
  std::array<std::string_view, 5> fields;
  std::size_t count = 0;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = line.find(',', start);
    if (count == fields.size()) return false;  // a sixth field
    fields[count++] = line.substr(start, comma == std::string_view::npos ? line.npos : comma - start);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (count != fields.size()) return false;
  if (fields[0].size() != kDateTimeLength) return false;
  for (char c : fields[0]) {
    if (c < '0' || c > '9') return false;
  }
  DitPoint p;
  p.m_strDateTime.assign(fields[0]);
  if (!ParseDouble(fields[1], &p.m_dLatitude) || !ParseDouble(fields[2], &p.m_dLongitude) ||
      !ParseInt(fields[3], &p.m_nSpeed) || !ParseDouble(fields[4], &p.m_dTtc)) {
    return false;
  }
  if (p.m_dLatitude == 0.0 || p.m_dLongitude == 0.0) return false;
  p.m_dLatDeg = ToDegrees(p.m_dLatitude);
  p.m_dLonDeg = ToDegrees(p.m_dLongitude);
  // A position off the globe would turn the distance sums into overflows.
  if (!(std::fabs(p.m_dLatDeg) <= 90.0) || !(std::fabs(p.m_dLonDeg) <= 180.0)) return false;
  if (point) *point = std::move(p);
  return true;
}

bool CDitFile::ForEachLine(const std::filesystem::path& path,
                           const std::function<bool(std::string_view)>& onLine) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::array<char, 64 * 1024> block;
  std::string line;
  line.reserve(kMaxLine + 1);
  bool tooLong = false;
  while (in) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got == 0) break;
    for (std::size_t i = 0; i < got; ++i) {
      const char c = block[i];
      if (c == '\n') {
        if (!tooLong && !onLine(line)) return true;
        line.clear();
        tooLong = false;
      } else if (!tooLong) {
        if (line.size() > kMaxLine) {
          tooLong = true;
          line.clear();
        } else {
          line.push_back(c);
        }
      }
    }
  }
  if (!tooLong && !line.empty()) onLine(line);
  return true;
}

bool CDitFile::ForEachPoint(const std::filesystem::path& path,
                            const std::function<bool(const DitPoint&)>& onPoint) {
  return ForEachLine(path, [&](std::string_view line) {
    DitPoint p;
    if (!ParseLine(line, &p)) return true;
    return onPoint(p);
  });
}

bool CDitFile::Read(const std::filesystem::path& path, std::vector<DitPoint>* points) {
  points->clear();
  return ForEachPoint(path, [&](const DitPoint& p) {
    points->push_back(p);
    return true;
  });
}

bool CDitFile::IsValid(const std::filesystem::path& path) { return FirstPoint(path, nullptr); }

bool CDitFile::FirstPoint(const std::filesystem::path& path, DitPoint* point) {
  bool found = false;
  ForEachPoint(path, [&](const DitPoint& p) {
    if (point) *point = p;
    found = true;
    return false;
  });
  return found;
}

std::filesystem::path CDitFile::CaptureFolder(const std::filesystem::path& ditPath) {
  const std::filesystem::path base = ditPath.parent_path().parent_path().parent_path();
  if (auto found = CCardLocator::Resolve(base, "CAPTURE")) return *found;
  return base / "CAPTURE";
}

std::filesystem::path CDitFile::CaptureSubfolder(const std::filesystem::path& ditPath,
                                                 const DitPoint& first) {
  const std::filesystem::path capture = CaptureFolder(ditPath);
  return capture / (first.Date() + "_" + first.Time());
}

}  // namespace lumora
