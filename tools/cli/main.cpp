#include "tools/cli/CliCommand.h"

#include <algorithm>
#include <iostream>
#include <memory>

namespace cli {

std::vector<CommandEntry>& Registry() {
  static std::vector<CommandEntry> entries;
  return entries;
}

CliCommand::CliCommand(std::string name, std::string help, SetupFn setup) {
  Registry().push_back({std::move(name), std::move(help), std::move(setup)});
}

}  // namespace cli

int main(int argc, char** argv) {
  CLI::App app{"lumora-cli: inspect dash camera recordings and cards"};
  app.require_subcommand(1);

  auto& entries = cli::Registry();
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.name < b.name; });
  std::vector<std::pair<CLI::App*, cli::RunFn>> runs;
  for (auto& e : entries) {
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
    return cli::kBadInput;
  }
  for (auto& [sub, run] : runs) {
    if (sub->parsed()) return run();
  }
  return cli::kBadInput;
}
