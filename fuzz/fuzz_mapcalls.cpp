// Map script-call parser: parse the text and build the page script from it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "data/ScriptCall.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (const auto call = lumora::ScriptCallParser::Parse(text)) {
    (void)lumora::ScriptCallParser::ToJavaScript(*call);
  }
  (void)lumora::ScriptCallParser::Quote(text);
  return 0;
}
