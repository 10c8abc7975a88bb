// lumora-cli probe FILE: what the container reader reports for a recording.

#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <system_error>

#include "engine/CFileManager.h"
#include "tools/cli/CliCommand.h"

namespace {

int RunProbe(const std::string& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) {
    std::cerr << "probe: not a readable file: " << file << "\n";
    return cli::kBadInput;
  }
  lumora::CFileManager manager;
  if (manager.Open(file) != 1) {
    std::cerr << "probe: cannot open " << file << "\n";
    return cli::kBadInput;
  }
  nlohmann::ordered_json out;
  out["video_streams"] = manager.GetVideoStreamCount();
  out["duration_ms"] = manager.GetDuration();
  out["user_data_records"] = manager.GetUserDataCount();
  std::cout << out.dump() << "\n";
  return 0;
}

const cli::CliCommand kProbe{
    "probe", "Print the video stream count, duration and user-data record count of a recording",
    [](CLI::App& sub) -> cli::RunFn {
      auto file = std::make_shared<std::string>();
      sub.add_option("FILE", *file, "Recording (AVI or MP4)")->required();
      return [file] { return RunProbe(*file); };
    }};

}  // namespace
