// lumora-cli snapshot FILE --at SECONDS [--channel front|rear|both] [-o DIR]:
// writes the pictures of a recording at that time as the viewer's snapshot
// does (full-resolution PNG files with the driving data of the moment) and
// prints their paths as JSON.
#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "display/CPictureGrabber.h"
#include "display/CSnapshot.h"
#include "tools/cli/CliCommand.h"

namespace {

struct SnapshotArgs {
  std::string file;
  double at = 0.0;
  std::string channel = "both";
  std::string output = ".";
};

int RunSnapshot(const SnapshotArgs& args) {
  using lumora::CSnapshot;
  lumora::CPictureGrabber probe;
  std::string error;
  if (!probe.Open(args.file, &error)) {
    std::cerr << "snapshot: " << error << "\n";
    return cli::kBadInput;
  }
  const double duration = probe.Duration();
  if (args.at < 0.0 || args.at > duration) {
    std::cerr << "snapshot: " << args.at << " s is outside the recording (0 to " << duration
              << " s)\n";
    return cli::kBadInput;
  }
  std::vector<int> channels;
  if (args.channel != "rear") channels.push_back(CSnapshot::kFront);
  if (args.channel != "front") channels.push_back(CSnapshot::kRear);
  const auto positionMs = static_cast<std::int64_t>(args.at * 1000.0);
  const CSnapshot::Result result =
      CSnapshot::Save(args.file, args.at, channels, args.output,
                      lumora::SnapshotMoment::FromRecording(args.file, positionMs));
  if (!result.error.empty()) {
    if (result.unwritable)
      std::cerr << "snapshot: cannot write into " << result.error << "\n";
    else
      std::cerr << "snapshot: " << result.error << "\n";
    return cli::kBadInput;
  }
  nlohmann::json out = nlohmann::json::array();
  for (const auto& path : result.written) out.push_back(path.string());
  std::cout << out.dump() << "\n";
  return 0;
}

cli::CliCommand command(
    "snapshot", "Write the pictures of a recording at a time as PNG files",
    [](CLI::App& sub) -> cli::RunFn {
      auto args = std::make_shared<SnapshotArgs>();
      sub.add_option("FILE", args->file, "recording")->required();
      sub.add_option("--at", args->at, "seconds from the start of the recording")->required();
      sub.add_option("--channel", args->channel, "front, rear or both")
          ->check(CLI::IsMember({"front", "rear", "both"}));
      sub.add_option("-o,--output", args->output, "folder for the pictures (default: here)");
      return [args] { return RunSnapshot(*args); };
    });

}  // namespace
