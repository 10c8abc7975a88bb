// lumora-bench thumbs [--front WxH] [--files N]: how long the thumbnail page
// takes. Writes N recordings with the sample-card code (2 s, the given front
// size), then times each first-key-frame thumbnail, a whole page through the
// background worker, and the call that starts it (the only part the window's
// thread waits for).
#ifdef LUMORA_HAVE_MKCARD

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchCommand.h"
#include "display/CThumbnailSource.h"
#include "engine/CThumbnailWorker.h"
#include "tools/mkcard/SampleRecording.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

int RunThumbs(const std::string& front, int files) {
  int width = 0;
  int height = 0;
  if (std::sscanf(front.c_str(), "%dx%d", &width, &height) != 2 || width < 16 || height < 16 ||
      width > 4096 || height > 4096 || files < 1 || files > 50) {
    std::cerr << "thumbs: --front WxH (16..4096) and --files 1..50\n";
    return bench::kBadInput;
  }
  std::random_device rd;
  const fs::path dir = fs::temp_directory_path() / ("lumora-bench-thumbs-" + std::to_string(rd()));
  fs::create_directories(dir);
  std::vector<fs::path> paths;
  for (int i = 0; i < files; ++i) {
    lumora::RecordingOptions options;
    options.seed = static_cast<uint32_t>(i + 1);
    options.seconds = 2;
    options.front_width = width;
    options.front_height = height;
    options.rear_width = std::max(16, width / 4);
    options.rear_height = std::max(16, height / 4);
    char name[40];
    std::snprintf(name, sizeof name, "20240101_12%02d00_N1.avi", i);
    std::string error;
    if (!lumora::WriteRecording(dir / name, options, &error)) {
      std::cerr << "thumbs: " << error << "\n";
      fs::remove_all(dir);
      return bench::kBadInput;
    }
    paths.push_back(dir / name);
  }

  std::vector<double> each;
  for (const fs::path& p : paths) {
    std::string error;
    const auto start = Clock::now();
    const auto thumb = lumora::CThumbnailSource::Make(p, 112, 84, &error);
    each.push_back(MsSince(start));
    if (!thumb) {
      std::cerr << "thumbs: " << p << ": " << error << "\n";
      fs::remove_all(dir);
      return bench::kBadInput;
    }
  }

  std::mutex mutex;
  std::condition_variable done;
  int results = 0;
  lumora::CThumbnailWorker worker(
      [](const fs::path& p, const std::atomic<bool>& cancel) {
        std::string error;
        return lumora::CThumbnailSource::Make(p, 112, 84, &error, &cancel);
      },
      [&](std::uint64_t, int, std::optional<lumora::Thumbnail>) {
        std::lock_guard<std::mutex> lock(mutex);
        ++results;
        done.notify_all();
      });
  const auto pageStart = Clock::now();
  worker.Start(paths);
  const double startCallMs = MsSince(pageStart);
  {
    std::unique_lock<std::mutex> lock(mutex);
    done.wait(lock, [&] { return results == files; });
  }
  const double pageMs = MsSince(pageStart);
  fs::remove_all(dir);

  double sum = 0;
  for (double v : each) sum += v;
  nlohmann::json out;
  out["front"] = front;
  out["files"] = files;
  out["thumbnail_ms_mean"] = sum / static_cast<double>(each.size());
  out["thumbnail_ms_max"] = *std::max_element(each.begin(), each.end());
  out["page_ms"] = pageMs;
  out["start_call_ms"] = startCallMs;
  std::cout << out.dump() << "\n";
  return 0;
}

bench::BenchCommand command("thumbs", "Thumbnail page: first-key-frame pictures of N recordings",
                            [](CLI::App& sub) -> bench::RunFn {
                              auto front = std::make_shared<std::string>("1920x1080");
                              auto files = std::make_shared<int>(10);
                              sub.add_option("--front", *front, "front picture size WxH");
                              sub.add_option("--files", *files, "recordings on the page");
                              return [front, files] { return RunThumbs(*front, *files); };
                            });

}  // namespace

#endif  // LUMORA_HAVE_MKCARD
