// lumora-cli track FILE... [--format json|csv|gpx] [--output DIR]: decodes the
// user-data records of recordings into driving-data tracks and prints them,
// or writes one file per recording into DIR.

#include <algorithm>
#include <fstream>
#include <iostream>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <system_error>
#include <vector>

#include "data/CDrivingTrack.h"
#include "engine/CFileManager.h"
#include "tools/cli/CliCommand.h"
#include "tools/cli/export/CTrackExport.h"

namespace {

struct TrackArgs {
  std::vector<std::string> files;
  std::string format = "json";
  std::string output;
};

// Opens the recording and drains its records into `track` as the player's
// loader does. False when the file gave nothing usable.
bool LoadTrack(const std::filesystem::path& file, lumora::CDrivingTrack& track) {
  lumora::CFileManager reader;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return false;
  reader.Open(file);
  const std::int64_t duration = reader.GetDuration();
  track.SetDuration(static_cast<std::int32_t>(
      std::clamp<std::int64_t>(duration, 0, std::numeric_limits<std::int32_t>::max())));
  return track.Load(reader.GetUserDataCount(),
                    [&](std::uint8_t* buffer, std::uint32_t* length, std::uint32_t* cts) {
                      return reader.GetNextUserData(buffer, length, cts);
                    });
}

std::string Render(const lumora::CDrivingTrack& track, const std::string& format,
                   const std::string& name) {
  using lumora::CTrackExport;
  if (format == "csv") return CTrackExport::ToCsv(track);
  if (format == "gpx") return CTrackExport::ToGpx(track, name);
  return CTrackExport::ToJson(track).dump(2) + "\n";
}

int RunTrack(const TrackArgs& args) {
  if (args.output.empty() && args.files.size() != 1) {
    std::cerr << "track: give one FILE, or --output DIR for several\n";
    return cli::kBadInput;
  }
  std::error_code ec;
  if (!args.output.empty()) {
    std::filesystem::create_directories(args.output, ec);
    if (!std::filesystem::is_directory(args.output, ec)) {
      std::cerr << "track: cannot make the output folder " << args.output << "\n";
      return cli::kBadInput;
    }
  }
  int rc = 0;
  nlohmann::json written = nlohmann::json::array();
  for (const std::string& name : args.files) {
    const std::filesystem::path file = name;
    lumora::CDrivingTrack track;
    if (!LoadTrack(file, track)) {
      std::cerr << "Invalid File.\nFile name : " << name << "\n";
      rc = cli::kBadInput;
      continue;
    }
    const std::string text = Render(track, args.format, file.stem().string());
    if (text.empty()) {
      std::cerr << "track: could not write " << args.format << " for " << name << "\n";
      rc = cli::kBadInput;
      continue;
    }
    if (args.output.empty()) {
      std::cout << text;
      continue;
    }
    const std::filesystem::path out =
        std::filesystem::path(args.output) / (file.stem().string() + "." + args.format);
    std::ofstream stream(out, std::ios::binary);
    stream << text;
    stream.close();
    if (!stream) {
      std::cerr << "track: cannot write " << out.string() << "\n";
      rc = cli::kBadInput;
      continue;
    }
    written.push_back({{"file", name},
                       {"output", out.string()},
                       {"fixes", track.TextData().m_arrGPS.size()},
                       {"gsamples", track.GetGSampleCount()}});
  }
  if (!args.output.empty()) std::cout << written.dump(2) << "\n";
  return rc;
}

const cli::CliCommand kTrack("track", "Decode the driving data (G-sensor, GPS) of recordings",
                             [](CLI::App& sub) -> cli::RunFn {
                               auto args = std::make_shared<TrackArgs>();
                               sub.add_option("FILE", args->files, "Recording(s)")->required();
                               sub.add_option("--format", args->format, "json, csv or gpx")
                                   ->check(CLI::IsMember({"json", "csv", "gpx"}));
                               sub.add_option("--output", args->output,
                                              "Write one file per recording into this folder");
                               return [args] { return RunTrack(*args); };
                             });

}  // namespace
