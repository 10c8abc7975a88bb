#include "platform/CMountTable.h"

#include <charconv>

namespace lumora {

namespace {

std::vector<std::string_view> SplitBlanks(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) out.push_back(line.substr(start, i - start));
  }
  return out;
}

template <typename T>
bool ParseNumber(std::string_view s, T& out) {
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && ptr == s.data() + s.size();
}

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

}  // namespace

std::string CMountTable::Unescape(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) &&
        IsOctal(field[i + 2]) && IsOctal(field[i + 3])) {
      out.push_back(static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                      (field[i + 3] - '0')));
      i += 3;
    } else {
      out.push_back(field[i]);
    }
  }
  return out;
}

std::vector<MountEntry> CMountTable::Parse(std::string_view text) {
  std::vector<MountEntry> entries;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t eol = text.find('\n', pos);
    if (eol == std::string_view::npos) eol = text.size();
    const std::string_view line = text.substr(pos, eol - pos);
    pos = eol + 1;
    const auto f = SplitBlanks(line);
    // id parent major:minor root mount-point options [optional...] - type source super
    if (f.size() < 10) continue;
    std::size_t dash = 6;
    while (dash < f.size() && f[dash] != "-") ++dash;
    if (dash + 2 >= f.size()) continue;
    MountEntry e;
    const std::size_t colon = f[2].find(':');
    if (colon == std::string_view::npos || !ParseNumber(f[0], e.mountId) ||
        !ParseNumber(f[1], e.parentId) || !ParseNumber(f[2].substr(0, colon), e.major) ||
        !ParseNumber(f[2].substr(colon + 1), e.minor)) {
      continue;
    }
    e.root = Unescape(f[3]);
    e.mountPoint = Unescape(f[4]);
    e.options = std::string(f[5]);
    e.fsType = Unescape(f[dash + 1]);
    e.source = Unescape(f[dash + 2]);
    entries.push_back(std::move(e));
  }
  return entries;
}

}  // namespace lumora
