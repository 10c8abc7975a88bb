// lumora-bench rss FILE [--seconds S]: peak resident memory of the engine
// while it plays a recording (front and rear channel with sound) at normal
// speed into headless displays, against the ffmpeg command line decoding the
// same file's video and sound on one thread.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "bench/BenchCommand.h"
#include "bench/HeadlessPlayer.h"

extern char** environ;

namespace {

// Resident memory now, in MiB (VmRSS of /proc/self/status).
double RssNowMb() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      double kb = 0;
      status >> kb;
      return kb / 1024.0;
    }
  }
  return -1.0;
}

double PeakRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Peak resident memory of ffmpeg decoding the file, in MiB; -1 on failure.
double FfmpegPeakMb(const std::string& file) {
  const char* argv[] = {"ffmpeg", "-nostdin",   "-v",   "error", "-threads", "1",
                        "-i",     file.c_str(), "-map", "0:v",   "-map",     "0:a?",
                        "-f",     "null",       "-",    nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, "ffmpeg", &actions, nullptr, const_cast<char**>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return -1.0;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return -1.0;
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

int RunRss(const std::string& file, double seconds) {
  const double before = RssNowMb();
  // The anchor runs first: a process started from this one may keep this
  // one's peak as its own starting mark, so it is measured while that peak is
  // still small (the size before any playback).
  const double ffmpeg = FfmpegPeakMb(file);
  if (ffmpeg <= 0) {
    std::cerr << "rss: the ffmpeg command failed\n";
    return 1;
  }
  double peakSampled = before;
  int streams = 0;
  {
    bench::HeadlessPlayer h;
    if (h.player.Open(file) != 1) {
      std::cerr << "rss: the engine cannot open " << file << "\n";
      return bench::kBadInput;
    }
    streams = h.player.GetVideoStreamCount();
    const double duration = static_cast<double>(h.player.GetDuration()) / 1000.0;
    const double limit = seconds > 0 ? std::min(seconds, duration) : duration;
    h.player.Play();
    const auto until = bench::Clock::now() + std::chrono::duration<double>(limit);
    while (bench::Clock::now() < until && h.owner.Count() == 0) {
      peakSampled = std::max(peakSampled, RssNowMb());
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    h.player.Stop();
    h.player.Close();
  }
  const double peak = std::max(PeakRssMb(), peakSampled);
  nlohmann::ordered_json out;
  out["peak_rss_mb"] = peak;
  out["rss_before_open_mb"] = before;
  out["ffmpeg_peak_rss_mb"] = ffmpeg;
  out["ratio"] = peak / ffmpeg;
  out["video_streams"] = streams;
  std::cout << out.dump() << "\n";
  return 0;
}

const bench::BenchCommand kRss{
    "rss", "Peak resident memory while playing a recording, against ffmpeg",
    [](CLI::App& sub) -> bench::RunFn {
      auto file = std::make_shared<std::string>();
      auto seconds = std::make_shared<double>(0.0);
      sub.add_option("FILE", *file, "recording")->required()->check(CLI::ExistingFile);
      sub.add_option("--seconds", *seconds, "play at most this long (default: all of it)");
      return [=] { return RunRss(*file, *seconds); };
    }};

}  // namespace
