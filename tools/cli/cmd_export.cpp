// lumora-cli export FILE... --from S --to S -o OUT.avi [--overlay [--layout
// pip|side|front]]: cuts the range out of consecutive recordings into one AVI,
// by stream copy with the driving data of the range, or re-encoded with the
// driving data drawn in, and prints a JSON summary. Progress goes to stderr
// on a terminal; Ctrl+C cancels and leaves nothing behind.

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/log.h>
}

#include "engine/CClipExport.h"
#include "library/CClipOverlay.h"
#include "settings/CardSetupFiles.h"
#include "tools/cli/CliCommand.h"

namespace {

// Exit codes besides bad input: the clip could not be written; cancelled.
constexpr int kWriteFailed = 1;
constexpr int kCancelled = 130;

std::atomic<bool> g_cancel{false};

extern "C" void OnInterrupt(int) { g_cancel.store(true); }

struct ExportArgs {
  std::vector<std::string> files;
  double from = 0.0;
  double to = 0.0;
  std::string output;
  bool overlay = false;
  std::string layout = "pip";
};

// The speed unit of the card a recording lies on (CARD/NORMAL/FILE); km/h
// when the file is not on a camera card.
int CardSpeedUnit(const std::string& file) {
  const std::filesystem::path card = std::filesystem::absolute(file).parent_path().parent_path();
  if (!lumora::CheckFactoryFile(card)) return 0;
  return lumora::ReadSpeedUnit(card, 0) == 1 ? 1 : 0;
}

// "[#######.......]  45%  0:12 left" redrawn in place.
class ProgressBar {
 public:
  void Show(double fraction) {
    const auto now = std::chrono::steady_clock::now();
    const double elapsed = std::chrono::duration<double>(now - m_start).count();
    const int filled = static_cast<int>(fraction * kWidth);
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(kWidth - filled), '.');
    const int left = fraction > 0.01 ? static_cast<int>(elapsed * (1.0 - fraction) / fraction) : -1;
    char line[128];
    if (left >= 0) {
      std::snprintf(line, sizeof line, "\r[%s] %3d%%  %d:%02d left ", bar.c_str(),
                    static_cast<int>(fraction * 100), left / 60, left % 60);
    } else {
      std::snprintf(line, sizeof line, "\r[%s] %3d%%            ", bar.c_str(),
                    static_cast<int>(fraction * 100));
    }
    std::fputs(line, stderr);
  }
  void End() { std::fputs("\n", stderr); }

 private:
  static constexpr int kWidth = 40;
  std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

nlohmann::ordered_json Summary(const lumora::ClipExportResult& r) {
  nlohmann::ordered_json j;
  j["output"] = r.output.string();
  j["start"] = static_cast<double>(r.startUs) / 1e6;
  j["end"] = static_cast<double>(r.endUs) / 1e6;
  j["streams"] = nlohmann::ordered_json::array();
  for (const lumora::ClipStreamSummary& s : r.streams) {
    j["streams"].push_back({{"type", s.type}, {"codec", s.codec}, {"packets", s.packets}});
  }
  j["records"] = r.records;
  return j;
}

int RunExport(const ExportArgs& args) {
  lumora::ClipExportRequest request;
  for (const std::string& f : args.files) request.inputs.emplace_back(f);
  request.fromUs = std::llround(args.from * 1e6);
  request.toUs = std::llround(args.to * 1e6);
  request.output = args.output;
  av_log_set_level(AV_LOG_ERROR);
  g_cancel.store(false);
  auto previous = std::signal(SIGINT, OnInterrupt);
  // Past a file-size limit a write fails like on a full disk, instead of the
  // signal ending the program with the temporary file left behind.
  std::signal(SIGXFSZ, SIG_IGN);
  std::unique_ptr<ProgressBar> bar;
  if (isatty(STDERR_FILENO) != 0) bar = std::make_unique<ProgressBar>();
  const auto show = [&](double fraction) {
    if (bar) bar->Show(fraction);
  };
  lumora::ClipExportResult r;
  if (args.overlay) {
    lumora::ClipOverlayOptions options;
    options.layout = args.layout == "side"    ? lumora::ClipLayout::kSide
                     : args.layout == "front" ? lumora::ClipLayout::kFront
                                              : lumora::ClipLayout::kPip;
    options.speedUnit = CardSpeedUnit(args.files.front());
    r = lumora::CClipOverlay::Run(request, options, show, g_cancel);
  } else {
    r = lumora::CClipExport::Run(request, show, g_cancel);
  }
  std::signal(SIGINT, previous);
  if (bar) bar->End();
  using Status = lumora::ClipExportResult::Status;
  if (r.status != Status::kOk) {
    std::cerr << "export: " << r.message << "\n";
    if (r.status == Status::kCancelled) return kCancelled;
    return r.status == Status::kBadInput ? cli::kBadInput : kWriteFailed;
  }
  std::cerr << "export: the clip starts at " << static_cast<double>(r.startUs) / 1e6
            << " s (the key frame at or before " << args.from << " s)\n";
  std::cout << Summary(r).dump(2) << "\n";
  return 0;
}

const cli::CliCommand kExport(
    "export", "Cut a range of consecutive recordings into one AVI (lossless, or with --overlay)",
    [](CLI::App& sub) -> cli::RunFn {
      auto args = std::make_shared<ExportArgs>();
      sub.add_option("FILE", args->files, "Consecutive recordings of one drive")->required();
      sub.add_option("--from", args->from, "Start, seconds from the start of the first FILE")
          ->required()
          ->check(CLI::NonNegativeNumber);
      sub.add_option("--to", args->to, "End, seconds from the start of the first FILE")
          ->required()
          ->check(CLI::NonNegativeNumber);
      sub.add_option("-o,--output", args->output, "The AVI to write")->required();
      sub.add_flag("--overlay", args->overlay,
                   "Re-encode as H.264 with time, speed, position and G force drawn in");
      sub.add_option("--layout", args->layout,
                     "With --overlay: pip (rear in a corner), side (side by side) or front")
          ->check(CLI::IsMember({"pip", "side", "front"}));
      return [args] { return RunExport(*args); };
    });

}  // namespace
