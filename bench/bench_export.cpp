// lumora-bench export FILE --seconds S: the clip export of the first S
// seconds of a recording, lossless against `ffmpeg -c copy` of the same
// range, and with overlay (front only) against ffmpeg drawing a text line
// with drawtext and encoding with libx264 -preset veryfast.

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <random>
#include <string>

extern "C" {
#include <libavutil/log.h>
}

#include "bench/BenchCommand.h"
#include "bench/HeadlessPlayer.h"
#include "engine/CClipExport.h"
#include "library/CClipOverlay.h"

namespace {

struct Args {
  std::string file;
  int seconds = 60;
  int repeat = 3;
};

// Wall milliseconds of a shell command; negative when it failed.
double TimeCommand(const std::string& command) {
  const auto start = bench::Clock::now();
  if (std::system(command.c_str()) != 0) return -1.0;
  return bench::Ms(start, bench::Clock::now());
}

int RunExport(const Args& args) {
  av_log_set_level(AV_LOG_ERROR);
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() /
      ("lumora-bench-export-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(dir);
  lumora::ClipExportRequest request;
  request.inputs = {args.file};
  request.fromUs = 0;
  request.toUs = static_cast<std::int64_t>(args.seconds) * 1000000;
  request.output = dir / "lossless.avi";
  const std::atomic<bool> cancel{false};
  const std::string in = "'" + args.file + "'";
  const std::string range = " -t " + std::to_string(args.seconds);
  double lossless = 1e300, copy = 1e300;
  for (int i = 0; i < args.repeat; ++i) {
    const auto start = bench::Clock::now();
    const auto r = lumora::CClipExport::Run(request, {}, cancel);
    if (r.status != lumora::ClipExportResult::Status::kOk) {
      std::cerr << "export: " << r.message << "\n";
      return 1;
    }
    lossless = std::min(lossless, bench::Ms(start, bench::Clock::now()));
    const double ms =
        TimeCommand("ffmpeg -nostdin -v error -y -i " + in + range +
                    " -map 0:v -map 0:a -c copy '" + (dir / "copy.avi").string() + "'");
    if (ms < 0) {
      std::cerr << "export: the ffmpeg -c copy command failed\n";
      return 1;
    }
    copy = std::min(copy, ms);
  }
  request.output = dir / "overlay.avi";
  lumora::ClipOverlayOptions options;
  options.layout = lumora::ClipLayout::kFront;
  const auto start = bench::Clock::now();
  const auto r = lumora::CClipOverlay::Run(request, options, {}, cancel);
  if (r.status != lumora::ClipExportResult::Status::kOk) {
    std::cerr << "export: " << r.message << "\n";
    return 1;
  }
  const double overlay = bench::Ms(start, bench::Clock::now());
  const double drawtext = TimeCommand(
      "ffmpeg -nostdin -v error -y -i " + in + range +
      " -map 0:v:0 -map 0:a -vf \"drawtext=font=Sans:fontsize=45:fontcolor=white:box=1:"
      "boxcolor=black@0.55:x=34:y=29:text='%{pts\\:hms}'\" -c:v libx264 -preset veryfast -crf 23 "
      "-c:a copy '" +
      (dir / "drawtext.avi").string() + "'");
  std::filesystem::remove_all(dir);
  if (drawtext < 0) {
    std::cerr << "export: the ffmpeg drawtext command failed\n";
    return 1;
  }
  nlohmann::json out;
  out["seconds"] = args.seconds;
  out["lossless_ms"] = lossless;
  out["ffmpeg_copy_ms"] = copy;
  out["lossless_ratio"] = lossless / copy;
  out["overlay_ms"] = overlay;
  out["ffmpeg_overlay_ms"] = drawtext;
  out["overlay_ratio"] = overlay / drawtext;
  out["overlay_realtime"] = args.seconds * 1000.0 / overlay;
  std::cout << out.dump() << "\n";
  return 0;
}

const bench::BenchCommand kExport(
    "export", "Clip export (lossless, overlay) against the ffmpeg command line",
    [](CLI::App& sub) -> bench::RunFn {
      auto args = std::make_shared<Args>();
      sub.add_option("FILE", args->file, "recording")->required()->check(CLI::ExistingFile);
      sub.add_option("--seconds", args->seconds, "length of the range from the start")
          ->check(CLI::Range(1, 3600));
      sub.add_option("--repeat", args->repeat, "lossless runs; the best counts")
          ->check(CLI::Range(1, 20));
      return [args] { return RunExport(*args); };
    });

}  // namespace
