#pragma once
// Runs lumora-cli and captures what it prints.

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace lumora::test {

struct CliResult {
  int exitCode = -1;
  std::string out;
};

inline std::string CliPath() { return std::string(LUMORA_BINARY_DIR) + "/tools/cli/lumora-cli"; }

// `args` is appended to the command line as it is (quote paths yourself).
inline CliResult RunCli(const std::string& args) {
  CliResult r;
  const std::string cmd = "'" + CliPath() + "' " + args + " 2>/dev/null";
  FILE* pipe = popen(cmd.c_str(), "r");
  if (pipe == nullptr) return r;
  std::array<char, 4096> buf{};
  std::size_t n = 0;
  while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) r.out.append(buf.data(), n);
  const int status = pclose(pipe);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

inline std::string Quote(const std::string& s) { return "'" + s + "'"; }

}  // namespace lumora::test
