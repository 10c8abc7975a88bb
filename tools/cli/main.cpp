#include "tools/cli/CliCommand.h"
#include "tools/SubcommandApp.h"

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
  return lumora::RunSubcommandApp(app, cli::Registry(), argc, argv, cli::kBadInput);
}
