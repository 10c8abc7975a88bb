#include "platform/IniDocument.h"

namespace lumora {
namespace {

bool IsProfileBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n' || c == 0x1a;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

std::string_view TrimProfileBlanks(std::string_view s) {
  while (!s.empty() && IsProfileBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsProfileBlank(s.back())) s.remove_suffix(1);
  return s;
}

IniDocument::Line IniDocument::ClassifyLine(std::string text, std::string eol) {
  Line line;
  line.text = std::move(text);
  line.eol = std::move(eol);
  std::string_view body = TrimProfileBlanks(line.text);
  if (body.empty()) return line;
  if (body.front() == '[') {
    std::size_t close = body.rfind(']');
    if (close != std::string_view::npos && close > 0) {
      line.kind = Kind::kSection;
      line.name = std::string(TrimProfileBlanks(body.substr(1, close - 1)));
      return line;
    }
  }
  line.kind = Kind::kKey;
  std::size_t eq = body.find('=');
  if (eq == std::string_view::npos) {
    line.name = std::string(body);
    return line;
  }
  line.hasEquals = true;
  line.name = std::string(TrimProfileBlanks(body.substr(0, eq)));
  line.value = std::string(TrimProfileBlanks(body.substr(eq + 1)));
  return line;
}

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument doc;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      doc.lines_.push_back(ClassifyLine(std::string(text.substr(pos)), ""));
      break;
    }
    std::size_t eolLen =
        (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
    doc.lines_.push_back(ClassifyLine(std::string(text.substr(pos, end - pos)),
                                      std::string(text.substr(end, eolLen))));
    pos = end + eolLen;
  }
  return doc;
}

std::size_t IniDocument::FindSection(std::string_view section) const {
  if (section.empty()) return std::string::npos;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Kind::kSection && EqualsNoCase(lines_[i].name, section)) return i;
  }
  return std::string::npos;
}

std::size_t IniDocument::FindKey(std::size_t header, std::string_view key) const {
  for (std::size_t i = header + 1; i < lines_.size(); ++i) {
    if (lines_[i].kind == Kind::kSection) break;
    if (lines_[i].kind == Kind::kKey && EqualsNoCase(lines_[i].name, key)) return i;
  }
  return std::string::npos;
}

std::optional<std::string> IniDocument::FindValue(std::string_view section,
                                                  std::string_view key) const {
  std::size_t header = FindSection(section);
  if (header == std::string::npos) return std::nullopt;
  std::size_t at = FindKey(header, key);
  if (at == std::string::npos || !lines_[at].hasEquals) return std::nullopt;
  return lines_[at].value;
}

void IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
  std::string text = std::string(key) + "=" + std::string(value);
  std::size_t header = FindSection(section);
  if (header != std::string::npos) {
    std::size_t at = FindKey(header, key);
    if (at != std::string::npos) {
      std::string eol = lines_[at].eol;
      lines_[at] = ClassifyLine(std::move(text), eol.empty() ? "\r\n" : eol);
      return;
    }
    // After the last non-blank line of the section, before trailing blanks.
    std::size_t last = header;
    for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != Kind::kSection; ++i) {
      if (lines_[i].kind != Kind::kBlank) last = i;
    }
    if (lines_[last].eol.empty()) lines_[last].eol = "\r\n";
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last + 1),
                  ClassifyLine(std::move(text), "\r\n"));
    return;
  }
  if (!lines_.empty() && lines_.back().eol.empty()) lines_.back().eol = "\r\n";
  lines_.push_back(ClassifyLine("[" + std::string(section) + "]", "\r\n"));
  lines_.push_back(ClassifyLine(std::move(text), "\r\n"));
}

std::string IniDocument::Serialize() const {
  std::string out;
  for (const Line& line : lines_) {
    out += line.text;
    out += line.eol;
  }
  return out;
}

}  // namespace lumora
