#include <memory>

#include "bench/BenchCommand.h"
#include "tools/SubcommandApp.h"

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
  return lumora::RunSubcommandApp(app, bench::Registry(), argc, argv, bench::kBadInput);
}
