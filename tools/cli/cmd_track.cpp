// lumora-cli track FILE... [--format json|csv|gpx|kml] [--from S] [--to S]
// [--output DIR]: decodes the user-data records of recordings into
// driving-data tracks and prints them (the part between --from and --to
// seconds only), or writes one file per recording into DIR.

#include <algorithm>
#include <cmath>
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
  double from = 0.0;
  double to = -1.0;  // below zero: the end of the recording
};

enum class Loaded { kTrack, kNoDrivingData, kUnreadable };

// Opens the recording and drains its records into `track` as the player's
// loader does. A video without usable records (an MP4, an AVI without its
// text stream) has no driving data: its track is empty, as the viewer shows.
Loaded LoadTrack(const std::filesystem::path& file, lumora::CDrivingTrack& track) {
  lumora::CFileManager reader;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return Loaded::kUnreadable;
  reader.Open(file);
  const std::int64_t duration = reader.GetDuration();
  const auto clamped = static_cast<std::int32_t>(
      std::clamp<std::int64_t>(duration, 0, std::numeric_limits<std::int32_t>::max()));
  track.SetDuration(clamped);
  if (track.Load(reader.GetUserDataCount(),
                 [&](std::uint8_t* buffer, std::uint32_t* length, std::uint32_t* cts) {
                   return reader.GetNextUserData(buffer, length, cts);
                 }))
    return Loaded::kTrack;
  if (reader.GetVideoStreamCount() <= 0) return Loaded::kUnreadable;
  track.BeginLoad();
  track.SetDuration(clamped);
  return Loaded::kNoDrivingData;
}

std::string Render(const lumora::CDrivingTrack& track, const std::string& format,
                   const std::string& name, const lumora::TrackRange& range) {
  using lumora::CTrackExport;
  if (format == "csv") return CTrackExport::ToCsv(track, range);
  if (format == "gpx") return CTrackExport::ToGpx(track, name, range);
  if (format == "kml") return CTrackExport::ToKml(track, name, range);
  return CTrackExport::ToJson(track, range).dump(2) + "\n";
}

// The asked part in ms; false (with a message) when it lies outside the
// recording or is empty.
bool MakeRange(const TrackArgs& args, std::int64_t durationMs, const std::string& name,
               lumora::TrackRange& range) {
  range.fromMs = std::llround(args.from * 1000.0);
  if (args.to >= 0.0) range.toMs = std::llround(args.to * 1000.0);
  if (args.to >= 0.0 && range.toMs <= range.fromMs) {
    std::cerr << "track: --to must lie after --from\n";
    return false;
  }
  if (range.fromMs > 0 && range.fromMs >= durationMs) {
    std::cerr << "track: --from " << args.from << " s lies outside " << name << " ("
              << durationMs / 1000.0 << " s)\n";
    return false;
  }
  return true;
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
    const Loaded loaded = LoadTrack(file, track);
    if (loaded == Loaded::kUnreadable) {
      std::cerr << "Invalid File.\nFile name : " << name << "\n";
      rc = cli::kBadInput;
      continue;
    }
    if (loaded == Loaded::kNoDrivingData) std::cerr << "track: " << name << ": No driving data\n";
    lumora::TrackRange range;
    if (!MakeRange(args, track.GetDuration(), name, range)) {
      rc = cli::kBadInput;
      continue;
    }
    const std::string text = Render(track, args.format, file.stem().string(), range);
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
                               sub.add_option("--format", args->format, "json, csv, gpx or kml")
                                   ->check(CLI::IsMember({"json", "csv", "gpx", "kml"}));
                               sub.add_option("--from", args->from,
                                              "Start of the part to write, seconds")
                                   ->check(CLI::NonNegativeNumber);
                               sub.add_option("--to", args->to, "End of the part to write, seconds")
                                   ->check(CLI::NonNegativeNumber);
                               sub.add_option("--output", args->output,
                                              "Write one file per recording into this folder");
                               return [args] { return RunTrack(*args); };
                             });

}  // namespace
