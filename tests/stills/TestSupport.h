#pragma once
// The cjpeg pictures and an older name of WriteFile, for the app's stills test.
#include "tests/support/Pictures.h"

namespace lumora::test {

inline void WriteText(const std::filesystem::path& p, const std::string& text) {
  WriteFile(p, text);
}

}  // namespace lumora::test
