#include "library/CRecordingName.h"

#include <array>

namespace lumora {

namespace {

std::string_view Sub(std::string_view s, std::size_t pos, std::size_t len) {
  if (pos >= s.size()) return {};
  return s.substr(pos, len);
}

std::int64_t LeadingNumber(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  std::int64_t v = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    if (v > 100000000000000LL) break;
    v = v * 10 + (s[i] - '0');
  }
  return v;
}

void RemoveAll(std::string& s, std::string_view what) {
  for (std::size_t p = s.find(what); p != std::string::npos; p = s.find(what, p)) {
    s.erase(p, what.size());
  }
}

// Up to the next "^" (or the end); advances past it.
std::string NextField(std::string_view& rest) {
  const std::size_t caret = rest.find('^');
  std::string field(rest.substr(0, caret));
  rest = caret == std::string_view::npos ? std::string_view{} : rest.substr(caret + 1);
  return field;
}

constexpr std::array<std::string_view, 6> kTypeCodes = {"NI.mp4", "T1.mp4", "C.mp4",
                                                        "G.mp4",  "E.mp4",  "X.mp4"};

}  // namespace

std::string CRecordingName::Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string CRecordingName::KindFromSuffix(std::string_view name) {
  if (name.size() < 6) return {};
  const std::string_view suffix = name.substr(name.size() - 6);
  if (suffix == "N1.avi" || suffix == "N2.avi" || suffix == "I1.avi" || suffix == "I2.avi") {
    return "NORMAL";
  }
  if (suffix == "P1.avi" || suffix == "P2.avi") return "PARKING";
  return {};
}

std::optional<RecordingClass> CRecordingName::Classify(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  if (name.size() < 4) return std::nullopt;
  const std::string ext = Upper(std::string_view(name).substr(name.size() - 4));
  if (ext != ".AVI" && ext != ".MP4") return std::nullopt;
  const std::string folder = Upper(path.parent_path().filename().string());
  if (folder != "EVENT" && folder != "NORMAL" && folder != "PARKING") return std::nullopt;

  RecordingClass rc;
  rc.kind = folder;
  if (std::string bySuffix = KindFromSuffix(name); !bySuffix.empty()) rc.kind = bySuffix;
  // A "^" name carries its date and time in the block after the first "^";
  // plain names start with them.
  const std::vector<std::string> fields = ParseName(name);
  const std::string_view n = fields.empty() ? std::string_view(name) : std::string_view(fields[0]);
  rc.date =
      std::string(Sub(n, 0, 4)) + "-" + std::string(Sub(n, 4, 2)) + "-" + std::string(Sub(n, 6, 2));
  rc.time = std::string(Sub(n, 9, 2)) + ":" + std::string(Sub(n, 11, 2)) + ":" +
            std::string(Sub(n, 13, 2));
  rc.dateTime = rc.date + " " + rc.time;
  if (name.size() >= 6) {
    const char digit = name[name.size() - 5];
    if (digit == '1' || digit == '2') rc.channel = digit - '0';
  }
  return rc;
}

std::vector<std::string> CRecordingName::ParseName(std::string_view name) {
  if (name.find(".mp4") == std::string_view::npos && name.find(".avi") == std::string_view::npos) {
    return {};
  }
  const std::size_t first = name.find('^');
  if (first == std::string_view::npos) return {};
  std::string_view rest = name.substr(first + 1);
  std::vector<std::string> fields;
  fields.emplace_back(rest.substr(0, 15));
  rest = rest.substr(std::min<std::size_t>(15, rest.size()));
  fields.push_back(NextField(rest));
  fields.push_back(NextField(rest));
  fields.push_back(NextField(rest));
  bool known = false;
  for (std::string_view code : kTypeCodes)
    known = known || name.find(code) != std::string_view::npos;
  if (known || rest.size() <= 5) {
    fields.emplace_back();
  } else {
    fields.emplace_back(rest.substr(0, rest.size() - 5));
  }
  return fields;
}

std::string CRecordingName::OrderingForm(std::string_view name) {
  std::string s(name);
  RemoveAll(s, ".mp4");
  RemoveAll(s, "_I");
  RemoveAll(s, "_");
  return s;
}

bool CRecordingName::SortsBefore(std::string_view a, std::string_view b) {
  return OrderingForm(a).compare(OrderingForm(b)) < 0;
}

std::int64_t CRecordingName::SortKey(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  const std::string_view file = slash == std::string_view::npos ? path : path.substr(slash + 1);
  if (const auto fields = ParseName(file); !fields.empty()) {
    const std::string_view block = fields[0];
    return LeadingNumber(block.substr(0, 8)) * 1000000 + LeadingNumber(Sub(block, 9, 6));
  }
  std::string_view name = path.size() > 22 ? path.substr(path.size() - 22) : path;
  if (name.size() <= 7) return 0;
  name = name.substr(0, name.size() - 7);
  const std::int64_t date = LeadingNumber(name.substr(0, 8));
  const std::int64_t time = LeadingNumber(name.size() > 6 ? name.substr(name.size() - 6) : name);
  return date * 1000000 + time;
}

}  // namespace lumora
