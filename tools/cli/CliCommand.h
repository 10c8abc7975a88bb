#pragma once
// Subcommands of lumora-cli register themselves here. Each cmd_*.cpp file
// defines one static CliCommand; main() builds the CLI11 app from the list.

#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <vector>

namespace cli {

// Exit code for bad input: the command prints a clear message to stderr.
inline constexpr int kBadInput = 2;

// setup() adds options to the subcommand and returns the function that runs
// it after parsing; that function returns the process exit code.
using RunFn = std::function<int()>;
using SetupFn = std::function<RunFn(CLI::App& sub)>;

struct CliCommand {
  CliCommand(std::string name, std::string help, SetupFn setup);
};

struct CommandEntry {
  std::string name;
  std::string help;
  SetupFn setup;
};

std::vector<CommandEntry>& Registry();

}  // namespace cli
