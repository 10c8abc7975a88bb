#pragma once
// Subcommands of lumora-bench register themselves here. Each bench_*.cpp file
// defines one static BenchCommand; main() builds the CLI11 app from the list.
// Every subcommand prints exactly one JSON object on stdout.

#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <vector>

namespace bench {

// Exit code for bad input: the command prints a clear message to stderr.
inline constexpr int kBadInput = 2;

// setup() adds options to the subcommand and returns the function that runs
// it after parsing; that function returns the process exit code.
using RunFn = std::function<int()>;
using SetupFn = std::function<RunFn(CLI::App& sub)>;

struct BenchCommand {
  BenchCommand(std::string name, std::string help, SetupFn setup);
};

struct CommandEntry {
  std::string name;
  std::string help;
  SetupFn setup;
};

std::vector<CommandEntry>& Registry();

}  // namespace bench
