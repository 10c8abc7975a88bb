#pragma once
// The shared entry of lumora-cli and lumora-bench: each registers subcommands
// (name, help, setup) in a list; this builds the CLI11 app from the list,
// parses the arguments and runs the chosen subcommand.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace lumora {

// Entry needs `name`, `help` and `setup` (CLI::App& -> function returning the
// exit code). Bad arguments give `badInput` after CLI11 printed its message.
template <typename Entry>
int RunSubcommandApp(CLI::App& app, std::vector<Entry>& entries, int argc, char** argv,
                     int badInput) {
  app.require_subcommand(1);
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return a.name < b.name; });
  std::vector<std::pair<CLI::App*, std::function<int()>>> runs;
  for (Entry& e : entries) {
    CLI::App* sub = app.add_subcommand(e.name, e.help);
    runs.emplace_back(sub, e.setup(*sub));
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return badInput;
  }
  for (auto& [sub, run] : runs) {
    if (sub->parsed()) return run();
  }
  return badInput;
}

}  // namespace lumora
