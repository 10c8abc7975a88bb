// lumora-bench step FILE: one-picture steps while paused, forward (the next
// picture of every channel) and back (a seek to the key frame before and
// decoding forward), from the request until every channel shows its new
// picture; medians and maxima over steps at four places of the recording.

#include <algorithm>
#include <cmath>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <vector>

#include "bench/BenchCommand.h"
#include "bench/HeadlessPlayer.h"

namespace {

constexpr int kStepsPerPlace = 5;
constexpr double kLimitSeconds = 5.0;

double Median(std::vector<double> v) {
  if (v.empty()) return -1.0;
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2.0;
}

// The time of the last picture each channel showed.
std::map<int, double> Shown(lumora::FrameLog& log) {
  std::map<int, double> last;
  for (const auto& f : log.Frames()) last[f.channel] = f.time;
  return last;
}

// Waits until every channel shows a picture later (forward) or earlier
// (back) than before the request; milliseconds, or -1 on timeout.
double WaitForStep(lumora::FrameLog& log, const std::map<int, double>& before, int direction,
                   bench::Clock::time_point asked) {
  const auto until = asked + std::chrono::duration<double>(kLimitSeconds);
  while (bench::Clock::now() < until) {
    std::map<int, bench::Clock::time_point> moved;
    for (const auto& f : log.Frames()) {
      auto it = before.find(f.channel);
      if (f.shownAt < asked || it == before.end() || moved.count(f.channel)) continue;
      if (direction > 0 ? f.time > it->second + 1e-6 : f.time < it->second - 1e-6)
        moved[f.channel] = f.shownAt;
    }
    if (moved.size() == before.size()) {
      auto last = asked;
      for (const auto& [channel, at] : moved) last = std::max(last, at);
      return bench::Ms(asked, last);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  return -1.0;
}

int RunStep(const std::string& file) {
  bench::HeadlessPlayer h;
  auto log = h.factory.Log();
  if (h.player.Open(file) != 1) {
    std::cerr << "step: the engine cannot open " << file << "\n";
    return bench::kBadInput;
  }
  h.player.Play();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  h.player.Pause();
  const double duration = static_cast<double>(h.player.GetDuration()) / 1000.0;
  std::vector<double> forward, back;
  int width = 0, height = 0;
  for (double place : {0.2, 0.4, 0.6, 0.8}) {
    // Half a second past a whole second: between the camera's key frames.
    h.player.Seek(static_cast<std::int32_t>((std::floor(duration * place) + 0.5) * 1000.0));
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    for (int direction : {1, -1}) {
      for (int i = 0; i < kStepsPerPlace; ++i) {
        // What every channel shows now (the paused player repeats it).
        std::map<int, double> before;
        for (int wait = 0; wait < 50 && before.size() < 2; ++wait) {
          log->Clear();
          std::this_thread::sleep_for(std::chrono::milliseconds(100));
          before = Shown(*log);
          if (before.size() == 1 && h.player.GetVideoStreamCount() == 1) break;
        }
        if (before.empty()) {
          std::cerr << "step: no picture while paused\n";
          return 1;
        }
        const auto asked = bench::Clock::now();
        h.player.StepPicture(direction);
        const double ms = WaitForStep(*log, before, direction, asked);
        if (ms < 0) {
          std::cerr << "step: no new picture " << (direction > 0 ? "forward" : "back") << "\n";
          return 1;
        }
        (direction > 0 ? forward : back).push_back(ms);
        for (const auto& f : log->FramesOf(0)) width = f.width, height = f.height;
      }
    }
  }
  nlohmann::json out;
  out["forward_ms"] = Median(forward);
  out["forward_max_ms"] = *std::max_element(forward.begin(), forward.end());
  out["back_ms"] = Median(back);
  out["back_max_ms"] = *std::max_element(back.begin(), back.end());
  out["steps"] = forward.size() + back.size();
  out["front_size"] = std::to_string(width) + "x" + std::to_string(height);
  std::cout << out.dump() << "\n";
  h.player.Stop();
  h.player.Close();
  return 0;
}

const bench::BenchCommand kStep(
    "step", "One-picture steps while paused, forward and back", [](CLI::App& sub) -> bench::RunFn {
      auto file = std::make_shared<std::string>();
      sub.add_option("FILE", *file, "recording")->required()->check(CLI::ExistingFile);
      return [=] { return RunStep(*file); };
    });

}  // namespace
