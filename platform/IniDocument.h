#pragma once
// In-memory INI text with the lookup and update rules of Windows private
// profiles (GetPrivateProfileString / WritePrivateProfileString):
//
// - 8-bit text; lines end in CR LF, LF or a lone CR. Every line keeps its own
//   ending, so untouched lines are written back byte for byte.
// - "[name]" opens a section: blanks before "[" are skipped, the name runs to
//   the last "]" of the line and is trimmed; text after that "]" is ignored.
//   A "[" line without "]" is an ordinary line.
// - "key=value" sets a key: the name before the first "=" and the value after
//   it are trimmed of blanks (space, tab, VT, FF, CR, Ctrl-Z). A line with no
//   "=" is a key without a value: it is found, but reads as the default.
// - Names compare without case (ASCII letters). Lines before the first
//   section belong to no section and are never found.
// - Only the FIRST section of a given name is searched, and within it the
//   first key of a given name; later duplicates are invisible.
// - There is no comment syntax: ";x=1" is simply a key named ";x", and a
//   trailing "# text" is part of the value.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

class IniDocument {
 public:
  IniDocument() = default;

  // Splits `text` into lines; never fails (any bytes are accepted).
  static IniDocument Parse(std::string_view text);

  // The trimmed raw value of `key` in the first section named `section`;
  // nullopt when the section or key is missing or the key has no "=".
  std::optional<std::string> FindValue(std::string_view section, std::string_view key) const;

  // WritePrivateProfileString: replaces the first matching key's line with
  // "key=value", else inserts "key=value" after the last non-blank line of
  // the first matching section, else appends "[section]" and "key=value" at
  // the end. New lines end in CR LF. `value` is stored verbatim (a trailing
  // blank stays in the file).
  void SetValue(std::string_view section, std::string_view key, std::string_view value);

  // The text: every line followed by its own ending.
  std::string Serialize() const;

  std::size_t LineCount() const { return lines_.size(); }

 private:
  enum class Kind { kBlank, kSection, kKey };
  struct Line {
    std::string text;  // without the line ending
    std::string eol;   // "\r\n", "\n", "\r" or "" (last line without ending)
    Kind kind = Kind::kBlank;
    std::string name;   // section or key name, trimmed
    std::string value;  // trimmed value (keys)
    bool hasEquals = false;
  };

  static Line ClassifyLine(std::string text, std::string eol);
  // Index of the first section header named `section`, or npos.
  std::size_t FindSection(std::string_view section) const;
  // Index of the first key line named `key` in the section at `header`.
  std::size_t FindKey(std::size_t header, std::string_view key) const;

  std::vector<Line> lines_;
};

// ASCII case-insensitive equality, as the profile functions compare names.
bool EqualsNoCase(std::string_view a, std::string_view b);

// Trims the profile blanks (space, tab, VT, FF, CR, LF, Ctrl-Z) at both ends.
std::string_view TrimProfileBlanks(std::string_view s);

}  // namespace lumora
