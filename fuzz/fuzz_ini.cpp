// INI reader and writer: parse, look up, write a key back and parse the result.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/IniDocument.h"
#include "platform/PrivateProfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  lumora::IniDocument doc = lumora::IniDocument::Parse(text);
  // Section and key names taken from the input's first bytes as well.
  const std::string_view section = text.substr(0, std::min<std::size_t>(size, 8));
  const std::string_view key = text.substr(std::min<std::size_t>(size, 8), 6);
  for (std::string_view s : {std::string_view("SETTING"), section}) {
    for (std::string_view k : {std::string_view("VOLUME"), key}) {
      (void)doc.FindValue(s, k);
      (void)lumora::GetProfileString(doc, s, k, "def", 256);
      (void)lumora::GetProfileInt(doc, s, k, 7);
    }
  }
  // Serialising what was parsed gives the input back byte for byte.
  if (doc.Serialize() != text) __builtin_trap();
  doc.SetValue(section, key, "1");
  const lumora::IniDocument again = lumora::IniDocument::Parse(doc.Serialize());
  (void)again.FindValue(section, key);
  return 0;
}
