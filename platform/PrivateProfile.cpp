#include "platform/PrivateProfile.h"

#include <cstdio>

#include "platform/AtomicFile.h"

namespace lumora {
namespace {

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

}  // namespace

std::uint32_t ProfileStringToInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  unsigned base = 10;
  if (i + 1 < text.size() && text[i] == '0') {
    char p = text[i + 1];
    if (p == 'x' || p == 'X') base = 16;
    if (p == 'o' || p == 'O') base = 8;
    if (p == 'b' || p == 'B') base = 2;
    if (base != 10) i += 2;
  }
  std::uint32_t value = 0;
  for (; i < text.size(); ++i) {
    int d = DigitValue(text[i]);
    if (d < 0 || static_cast<unsigned>(d) >= base) break;
    value = value * base + static_cast<std::uint32_t>(d);
  }
  return negative ? 0u - value : value;
}

std::string ProfileCopyValue(std::string_view value, std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  if (value.size() > bufferSize - 1) value = value.substr(0, bufferSize - 1);
  return std::string(value);
}

std::string GetProfileString(const IniDocument& doc, std::string_view section, std::string_view key,
                             std::string_view def, std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  std::optional<std::string> found = doc.FindValue(section, key);
  if (found) return ProfileCopyValue(*found, bufferSize);
  while (!def.empty() && (def.back() == ' ' || def.back() == '\t')) def.remove_suffix(1);
  if (def.size() > bufferSize - 1) def = def.substr(0, bufferSize - 1);
  return std::string(def);
}

std::uint32_t GetProfileInt(const IniDocument& doc, std::string_view section, std::string_view key,
                            std::int32_t def) {
  std::string text = GetProfileString(doc, section, key, "", kProfileIntBufferChars);
  if (text.empty()) return static_cast<std::uint32_t>(def);
  return ProfileStringToInt(text);
}

bool LoadProfileDocument(const std::filesystem::path& file, IniDocument& doc) {
  std::string text;
  if (!ReadWholeFile(file, text)) {
    doc = IniDocument();
    return false;
  }
  doc = IniDocument::Parse(text);
  return true;
}

std::string FormatProfileInt(std::int32_t value) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%d ", static_cast<int>(value));
  return buf;
}

}  // namespace lumora
