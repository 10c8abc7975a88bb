#pragma once
// Older names of shared test helpers, kept for the app and thumbnail tests.
#include <sys/wait.h>

#include <cstdlib>

#include "tests/support/Pictures.h"

namespace lumora::test {

using ScratchDir = TempFolder;

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& p) {
  const std::string bytes = ReadFile(p);
  return {bytes.begin(), bytes.end()};
}

inline void WriteText(const std::filesystem::path& p, const std::string& text) {
  WriteFile(p, text);
}

inline int Run(const std::string& command) {
  const int rc = std::system(command.c_str());
  return rc == -1 ? -1 : WEXITSTATUS(rc);
}

}  // namespace lumora::test
