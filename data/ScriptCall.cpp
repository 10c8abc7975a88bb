#include "data/ScriptCall.h"

#include <cstdio>
#include <string_view>

namespace lumora {
namespace {

constexpr std::string_view kPrefix = "javascript:";
constexpr std::string_view kSeparators = " ,'\"\t();";

std::string Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t\r\n");
  return std::string(s.substr(first, last - first + 1));
}

}  // namespace

std::optional<ScriptCall> ScriptCallParser::Parse(const std::string& text) {
  if (text.empty()) return std::nullopt;
  std::string_view rest(text);
  if (const auto at = rest.find(kPrefix); at != std::string_view::npos)
    rest = rest.substr(at + kPrefix.size());
  ScriptCall call;
  const auto open = rest.find('(');
  call.name = Trim(rest.substr(0, open));
  if (open == std::string_view::npos) return call;
  std::string_view args = rest.substr(open + 1);
  std::size_t pos = 0;
  while (pos < args.size()) {
    const auto start = args.find_first_not_of(kSeparators, pos);
    if (start == std::string_view::npos) break;
    const auto end = args.find_first_of(kSeparators, start);
    call.args.emplace_back(args.substr(start, end - start));
    if (end == std::string_view::npos) break;
    pos = end;
  }
  return call;
}

std::string ScriptCallParser::Quote(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7F || c == '<' || c == '>' || c == '\'') {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\x%02x", c);
          out += buffer;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += "\"";
  return out;
}

std::string ScriptCallParser::ToJavaScript(const ScriptCall& call) {
  std::string args = "[";
  for (std::size_t i = 0; i < call.args.size(); ++i) {
    if (i) args += ",";
    args += Quote(call.args[i]);
  }
  args += "]";
  const std::string name = Quote(call.name);
  return "(function(){var f=window[" + name +
         "];if(typeof f!=='function')return null;var r=f.apply(window," + args +
         ");return r===undefined||r===null?null:String(r);})()";
}

}  // namespace lumora
