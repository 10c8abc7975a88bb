#pragma once
// A map call text such as "javascript:DrawCurrent('139.774494', '35.684066')"
// taken apart into the function name and its string arguments, and the
// JavaScript that runs it on our page.

#include <optional>
#include <string>
#include <vector>

namespace lumora {

struct ScriptCall {
  std::string name;
  std::vector<std::string> args;
  bool operator==(const ScriptCall&) const = default;
};

class ScriptCallParser {
 public:
  // Empty text gives nothing. Everything up to and including "javascript:"
  // goes; the name is the text before the first "(" without surrounding
  // blanks; the rest splits at blank, comma, apostrophe, double quote, tab,
  // parentheses and semicolon into the non-empty arguments.
  static std::optional<ScriptCall> Parse(const std::string& text);

  // A JavaScript string literal of `text`: quotes, backslashes, control
  // characters and angle brackets escaped; UTF-8 text passes unchanged.
  static std::string Quote(const std::string& text);

  // Script that calls the page's function of that name with the arguments as
  // strings when the page has such a function, and returns its result as a
  // string; null when there is no such function.
  static std::string ToJavaScript(const ScriptCall& call);
};

}  // namespace lumora
