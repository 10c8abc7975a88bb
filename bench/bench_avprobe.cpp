// lumora-bench avprobe FILE [--repeat N]: the anchor of the RIFF walk figure.
// What a general demuxer spends to learn a recording's streams: FFmpeg's
// avformat_open_input and avformat_find_stream_info on the same file (median
// wall time of N runs).

#include <algorithm>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

#include "bench/BenchCommand.h"
#include "bench/HeadlessPlayer.h"

namespace {

int RunAvProbe(const std::string& file, int repeat) {
  if (repeat < 1) {
    std::cerr << "avprobe: --repeat must be at least 1\n";
    return bench::kBadInput;
  }
  av_log_set_level(AV_LOG_ERROR);
  std::vector<double> times;
  int streams = 0;
  for (int run = 0; run < repeat; ++run) {
    AVFormatContext* format = nullptr;
    const auto start = bench::Clock::now();
    const bool ok = avformat_open_input(&format, file.c_str(), nullptr, nullptr) >= 0 &&
                    avformat_find_stream_info(format, nullptr) >= 0;
    times.push_back(bench::Ms(start, bench::Clock::now()));
    if (ok) streams = static_cast<int>(format->nb_streams);
    avformat_close_input(&format);
    if (!ok) {
      std::cerr << "avprobe: FFmpeg cannot read " << file << "\n";
      return bench::kBadInput;
    }
  }
  std::sort(times.begin(), times.end());
  nlohmann::ordered_json out;
  out["probe_ms"] = times[times.size() / 2];
  out["streams"] = streams;
  out["repeat"] = repeat;
  std::cout << out.dump() << "\n";
  return 0;
}

const bench::BenchCommand kAvProbe{
    "avprobe", "FFmpeg's open and stream probe of a recording (RIFF walk anchor)",
    [](CLI::App& sub) -> bench::RunFn {
      auto file = std::make_shared<std::string>();
      auto repeat = std::make_shared<int>(5);
      sub.add_option("FILE", *file, "recording")->required()->check(CLI::ExistingFile);
      sub.add_option("--repeat", *repeat, "timed runs (the median is reported)");
      return [=] { return RunAvProbe(*file, *repeat); };
    }};

}  // namespace
