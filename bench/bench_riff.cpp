// lumora-bench riff FILE [--repeat N]: time of the container reader's RIFF
// walk (stream headers, index and every user-data record) of a recording.

#include <time.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <system_error>
#include <vector>

#include "bench/BenchCommand.h"
#include "engine/CFileTypeN.h"

namespace {

// CPU time of the process in milliseconds: unlike the wall clock it does not
// count the time the walk waited for a busy machine.
double CpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

struct Options {
  std::string file;
  int repeat = 5;
};

int RunRiff(const Options& options) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(options.file, ec);
  if (ec || !std::filesystem::is_regular_file(options.file, ec)) {
    std::cerr << "riff: not a readable file: " << options.file << "\n";
    return bench::kBadInput;
  }
  if (options.repeat < 1) {
    std::cerr << "riff: --repeat must be at least 1\n";
    return bench::kBadInput;
  }
  std::vector<double> times;
  std::vector<double> cpuTimes;
  int records = 0;
  for (int run = 0; run < options.repeat; ++run) {
    lumora::CFileTypeN reader;
    reader.SetFileName(options.file);
    const double cpuStart = CpuMs();
    const auto start = std::chrono::steady_clock::now();
    reader.ScanUserData();
    const auto stop = std::chrono::steady_clock::now();
    cpuTimes.push_back(CpuMs() - cpuStart);
    times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    records = reader.GetUserDataCount();
  }
  std::sort(times.begin(), times.end());
  std::sort(cpuTimes.begin(), cpuTimes.end());
  nlohmann::ordered_json out;
  out["riff_walk_ms"] = times[times.size() / 2];  // median of the runs
  out["riff_walk_min_ms"] = times.front();
  out["riff_walk_max_ms"] = times.back();
  out["riff_walk_cpu_ms"] = cpuTimes[cpuTimes.size() / 2];  // median CPU time
  out["repeat"] = options.repeat;
  out["records"] = records;
  out["file_mb"] = static_cast<double>(size) / (1024.0 * 1024.0);
  std::cout << out.dump() << "\n";
  return 0;
}

const bench::BenchCommand kRiff{
    "riff", "Time the RIFF walk that collects a recording's user-data records",
    [](CLI::App& sub) -> bench::RunFn {
      auto options = std::make_shared<Options>();
      sub.add_option("FILE", options->file, "AVI recording")->required();
      sub.add_option("--repeat", options->repeat, "Number of timed walks (median is reported)");
      return [options] { return RunRiff(*options); };
    }};

}  // namespace
