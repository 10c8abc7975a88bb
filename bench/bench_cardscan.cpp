// lumora-bench cardscan [--files N] [--repeat N]: the card scan behind SDOPEN
// (folder walk, name classification, filter and date order) on a card of N
// recordings written into a temporary folder, against a plain walk of the
// same folders that only counts the files.

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <system_error>
#include <vector>

#include "bench/BenchCommand.h"
#include "bench/HeadlessPlayer.h"
#include "library/CRecordingList.h"

namespace {

namespace fs = std::filesystem;

// Recording names one minute apart from 2026-01-01 00:00, spread over the
// card's three recording folders as the camera would (mostly NORMAL).
void WriteCard(const fs::path& root, int files) {
  const char* folders[] = {"NORMAL", "EVENT", "PARKING"};
  const char* suffixes[] = {"_N1.avi", "_E1.avi", "_P1.avi"};
  for (const char* f : folders) fs::create_directories(root / f);
  for (int i = 0; i < files; ++i) {
    const long minutes = i;
    const int day = 1 + static_cast<int>(minutes / 1440);
    const int hour = static_cast<int>(minutes / 60 % 24);
    const int minute = static_cast<int>(minutes % 60);
    const int kind = i % 10 == 9 ? 1 : (i % 10 == 8 ? 2 : 0);
    char name[64];
    std::snprintf(name, sizeof name, "2026%02d%02d_%02d%02d00%s", 1 + (day - 1) / 28,
                  1 + (day - 1) % 28, hour, minute, suffixes[kind]);
    std::ofstream(root / folders[kind] / name);
  }
}

double MedianOf(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

int RunCardScan(int files, int repeat) {
  if (files < 1 || repeat < 1) {
    std::cerr << "cardscan: --files and --repeat must be at least 1\n";
    return bench::kBadInput;
  }
  std::error_code ec;
  const fs::path root =
      fs::temp_directory_path(ec) / ("lumora-cardscan-" + std::to_string(::getpid()));
  fs::remove_all(root, ec);
  WriteCard(root, files);
  std::vector<double> scans;
  std::vector<double> walks;
  int rows = 0;
  long counted = 0;
  for (int run = 0; run < repeat; ++run) {
    lumora::CRecordingList list;
    auto start = bench::Clock::now();
    rows = list.ScanCard(root);
    scans.push_back(bench::Ms(start, bench::Clock::now()));
    start = bench::Clock::now();
    counted = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root, ec))
      counted += entry.is_regular_file(ec) ? 1 : 0;
    walks.push_back(bench::Ms(start, bench::Clock::now()));
  }
  fs::remove_all(root, ec);
  if (rows != files || counted != files) {
    std::cerr << "cardscan: listed " << rows << " of " << files << " files\n";
    return 1;
  }
  nlohmann::ordered_json out;
  out["files"] = files;
  out["scan_ms"] = MedianOf(scans);
  out["plain_walk_ms"] = MedianOf(walks);
  out["ratio"] = MedianOf(scans) / std::max(1e-6, MedianOf(walks));
  out["repeat"] = repeat;
  std::cout << out.dump() << "\n";
  return 0;
}

const bench::BenchCommand kCardScan{
    "cardscan", "Time the card scan of a card with many recordings",
    [](CLI::App& sub) -> bench::RunFn {
      auto files = std::make_shared<int>(10000);
      auto repeat = std::make_shared<int>(5);
      sub.add_option("--files", *files, "recordings on the generated card");
      sub.add_option("--repeat", *repeat, "timed scans (the median is reported)");
      return [=] { return RunCardScan(*files, *repeat); };
    }};

}  // namespace
