#include <algorithm>
#include <memory>

#include "bench/BenchCommand.h"

namespace bench {

std::vector<CommandEntry>& Registry() {
  static std::vector<CommandEntry> entries;
  return entries;
}

BenchCommand::BenchCommand(std::string name, std::string help, SetupFn setup) {
  Registry().push_back({std::move(name), std::move(help), std::move(setup)});
}

}  // namespace bench

int main(int argc, char** argv) {
  CLI::App app{"lumora-bench: timing of the viewer's hot paths, one JSON object per run"};
  app.require_subcommand(1);

  auto& entries = bench::Registry();
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.name < b.name; });
  std::vector<std::pair<CLI::App*, bench::RunFn>> runs;
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
    return bench::kBadInput;
  }
  for (auto& [sub, run] : runs) {
    if (sub->parsed()) return run();
  }
  return bench::kBadInput;
}
