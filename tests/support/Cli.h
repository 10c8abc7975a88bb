#pragma once
// The one command-line runner of the tests: a command (lumora-cli by default)
// run through the shell, with its output, error output and exit code.

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "tests/support/TempFolder.h"

namespace lumora::test {

struct CliResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline std::string Quote(const std::string& s) { return "'" + s + "'"; }

inline std::string CliPath() { return std::string(LUMORA_BINARY_DIR) + "/tools/cli/lumora-cli"; }

inline CliResult RunCommand(const std::string& command) {
  CliResult r;
  std::string errors = (std::filesystem::temp_directory_path() / "lumora-err-XXXXXX").string();
  const int fd = ::mkstemp(errors.data());
  if (fd < 0) return r;
  ::close(fd);
  FILE* pipe = ::popen((command + " 2>" + Quote(errors)).c_str(), "r");
  if (pipe != nullptr) {
    char buf[4096];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) r.out.append(buf, n);
    const int status = ::pclose(pipe);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  r.err = ReadFile(errors);
  std::remove(errors.c_str());
  return r;
}

// lumora-cli with `args` appended as they are (quote paths with Quote).
inline CliResult RunCli(const std::string& args) {
  return RunCommand(Quote(CliPath()) + " " + args);
}

}  // namespace lumora::test
