// lumora-bench realtime FILE: plays a whole recording at normal speed and
// counts the pictures shown, those shown late, sound underruns and CPU time.

#include <sys/resource.h>

#include <cmath>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>

#include "bench/BenchCommand.h"
#include "bench/HeadlessPlayer.h"

namespace {

// Later than this behind its place on the clock, a picture counts as late.
constexpr double kLateMs = 40.0;

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int RunRealtime(const std::string& file) {
  bench::HeadlessPlayer h;
  if (h.player.Open(file) != 1) {
    std::cerr << "realtime: the engine cannot open " << file << "\n";
    return bench::kBadInput;
  }
  const double duration = static_cast<double>(h.player.GetDuration()) / 1000.0;
  const double cpuBefore = CpuSeconds();
  const auto start = bench::Clock::now();
  h.player.Play();
  const bool ended = h.WaitForEnd(0, duration * 2.0 + 10.0);
  const auto wall = bench::Ms(start, bench::Clock::now()) / 1000.0;
  // Sound still in the ring at the end is not an underrun of playback.
  const long long underruns =
      h.player.IsSoundAvailable() ? h.player.Sound()->GetUnderrunCount() : -1;
  const double cpu = CpuSeconds() - cpuBefore;
  h.player.Stop();
  const auto frames = h.factory.Log()->Frames();
  h.player.Close();
  if (!ended || frames.empty()) {
    std::cerr << "realtime: playback did not finish\n";
    return 1;
  }
  // The clock starts on the first picture; each later one is due at its
  // time stamp's distance from it.
  const auto first = frames.front();
  long long late = 0;
  double worst = 0.0;
  for (const auto& f : frames) {
    const double due = (f.time - first.time) * 1000.0;
    const double lag = bench::Ms(first.shownAt, f.shownAt) - due;
    worst = std::max(worst, lag);
    if (lag > kLateMs) ++late;
  }
  // A stutter: a picture that follows the previous one of its channel more
  // than a frame later than their time stamps say.
  long long stutters = 0;
  std::map<int, lumora::FrameRecord> previous;
  for (const auto& f : frames) {
    auto it = previous.find(f.channel);
    if (it != previous.end()) {
      const double gap =
          bench::Ms(it->second.shownAt, f.shownAt) - (f.time - it->second.time) * 1000.0;
      if (gap > kLateMs) ++stutters;
    }
    previous[f.channel] = f;
  }
  nlohmann::json out;
  out["stutters"] = stutters;
  out["shown_frames"] = frames.size();
  out["late_frames"] = late;
  out["worst_lag_ms"] = std::round(worst * 10.0) / 10.0;
  out["audio_underruns"] = underruns;
  out["audio_blocks"] = h.player.GetSoundBlocksWritten();
  out["cpu_seconds"] = std::round(cpu * 1000.0) / 1000.0;
  out["wall_seconds"] = std::round(wall * 1000.0) / 1000.0;
  std::cout << out.dump() << "\n";
  return 0;
}

const bench::BenchCommand kRealtime(
    "realtime", "Real-time playback: late pictures, underruns, CPU",
    [](CLI::App& sub) -> bench::RunFn {
      auto file = std::make_shared<std::string>();
      sub.add_option("FILE", *file, "recording")->required()->check(CLI::ExistingFile);
      return [=] { return RunRealtime(*file); };
    });

}  // namespace
