// lumora-bench latency FILE: from Open to the first picture shown, and from
// Seek to the first picture of the target, medians of 20 tries.

#include <algorithm>
#include <cmath>
#include <iostream>
#include <nlohmann/json.hpp>
#include <vector>

#include "bench/BenchCommand.h"
#include "bench/HeadlessPlayer.h"

namespace {

constexpr int kTries = 20;

double Median(std::vector<double> values) {
  if (values.empty()) return -1.0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// Waits for a picture shown at or after `since` whose time is at least
// `fromSeconds`; returns its wall time or `since` on timeout.
bench::Clock::time_point WaitForPicture(lumora::FrameLog& log, bench::Clock::time_point since,
                                        double fromSeconds, double limitSeconds) {
  const auto until = bench::Clock::now() + std::chrono::duration<double>(limitSeconds);
  while (bench::Clock::now() < until) {
    for (const auto& f : log.Frames())
      if (f.shownAt >= since && f.time >= fromSeconds - 0.0005) return f.shownAt;
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  return since;
}

int RunLatency(const std::string& file, double offset) {
  std::vector<double> starts;
  std::vector<double> seeks;
  std::vector<double> opens;
  std::vector<double> startCpu;
  std::vector<double> seekCpu;
  bench::HeadlessPlayer h;
  auto log = h.factory.Log();
  for (int i = 0; i < kTries; ++i) {
    log->Clear();
    const double cpuBegin = bench::CpuSeconds();
    const auto begin = bench::Clock::now();
    if (h.player.Open(file) != 1) {
      std::cerr << "latency: the engine cannot open " << file << "\n";
      return bench::kBadInput;
    }
    opens.push_back(bench::Ms(begin, bench::Clock::now()));
    h.player.Play();
    const auto first = WaitForPicture(*log, begin, 0.0, 10.0);
    if (first == begin) {
      std::cerr << "latency: no picture after Open\n";
      return 1;
    }
    starts.push_back(bench::Ms(begin, first));
    startCpu.push_back((bench::CpuSeconds() - cpuBegin) * 1000.0);

    // Seek to a whole second between 20 % and 80 % of the recording, plus
    // the offset: camera recordings have a key frame on every whole second,
    // so an offset of 0.5 s measures seeks between key frames.
    const double duration = static_cast<double>(h.player.GetDuration()) / 1000.0;
    const double target = std::floor(duration * (0.2 + 0.6 * i / kTries)) + offset;
    const double cpuAsked = bench::CpuSeconds();
    const auto asked = bench::Clock::now();
    h.player.Seek(static_cast<std::int32_t>(target * 1000.0));
    const auto shown = WaitForPicture(*log, asked, target, 10.0);
    if (shown == asked) {
      std::cerr << "latency: no picture after Seek to " << target << " s\n";
      return 1;
    }
    seeks.push_back(bench::Ms(asked, shown));
    seekCpu.push_back((bench::CpuSeconds() - cpuAsked) * 1000.0);
    h.player.Stop();
    h.player.Close();
  }
  nlohmann::json out;
  out["start_ms"] = Median(starts);
  out["seek_ms"] = Median(seeks);
  out["open_ms"] = Median(opens);
  // CPU milliseconds of the whole process (every thread) over the same
  // spans, measured when the picture was seen, so they include up to half a
  // millisecond of waiting by this loop; less sensitive to other load.
  out["start_cpu_ms"] = Median(startCpu);
  out["seek_cpu_ms"] = Median(seekCpu);
  out["tries"] = kTries;
  out["offset_s"] = offset;
  std::cout << out.dump() << "\n";
  return 0;
}

const bench::BenchCommand kLatency(
    "latency", "Start and seek latency, medians of 20", [](CLI::App& sub) -> bench::RunFn {
      auto file = std::make_shared<std::string>();
      auto offset = std::make_shared<double>(0.0);
      sub.add_option("FILE", *file, "recording")->required()->check(CLI::ExistingFile);
      sub.add_option("--offset", *offset, "seconds added to each whole-second seek target")
          ->check(CLI::Range(0.0, 0.999));
      return [=] { return RunLatency(*file, *offset); };
    });

}  // namespace
