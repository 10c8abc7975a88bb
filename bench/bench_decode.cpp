// lumora-bench decode FILE: every video stream of a recording through the
// engine's decoders into headless displays as fast as they go, against the
// ffmpeg command line decoding the same streams on one thread.

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>

extern "C" {
#include <libavformat/avformat.h>
}

#include "bench/BenchCommand.h"
#include "bench/HeadlessPlayer.h"

namespace {

// Video packets in the file: the pictures either decoder has to make.
long long CountVideoPackets(const std::string& file) {
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, file.c_str(), nullptr, nullptr) < 0) return -1;
  long long count = 0;
  if (avformat_find_stream_info(format, nullptr) >= 0) {
    AVPacket* packet = av_packet_alloc();
    while (packet != nullptr && av_read_frame(format, packet) >= 0) {
      if (format->streams[packet->stream_index]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
        ++count;
      av_packet_unref(packet);
    }
    av_packet_free(&packet);
  }
  avformat_close_input(&format);
  return count;
}

// Wall seconds of the ffmpeg run; its CPU seconds go to *cpuSeconds.
double TimeFfmpeg(const std::string& file, double* cpuSeconds) {
  const std::string command =
      "ffmpeg -nostdin -v error -threads 1 -i '" + file + "' -map 0:v -f null - >/dev/null 2>&1";
  const double cpuBefore = bench::CpuSeconds(RUSAGE_CHILDREN);
  const auto start = bench::Clock::now();
  if (std::system(command.c_str()) != 0) return -1.0;
  const double wall = bench::Ms(start, bench::Clock::now()) / 1000.0;
  *cpuSeconds = bench::CpuSeconds(RUSAGE_CHILDREN) - cpuBefore;
  return wall;
}

int RunDecode(const std::string& file) {
  const long long pictures = CountVideoPackets(file);
  if (pictures <= 0) {
    std::cerr << "decode: no video in " << file << "\n";
    return bench::kBadInput;
  }
  bench::HeadlessPlayer h;
  if (h.player.Open(file) != 1) {
    std::cerr << "decode: the engine cannot open " << file << "\n";
    return bench::kBadInput;
  }
  // At a very high speed the clock is always ahead, so every picture is
  // shown as soon as it is decoded (the clock waits, pictures are not skipped).
  h.player.SetSpeed(1000.0f);
  const double cpuBefore = bench::CpuSeconds();
  const auto start = bench::Clock::now();
  h.player.Play();
  const bool ended = h.WaitForEnd(0, 600.0);
  const double engineCpu = bench::CpuSeconds() - cpuBefore;
  const auto frames = h.factory.Log()->Frames();
  const double engineSeconds =
      frames.empty() ? 0.0 : bench::Ms(start, frames.back().shownAt) / 1000.0;
  h.player.Stop();
  h.player.Close();
  if (!ended || frames.empty()) {
    std::cerr << "decode: playback did not finish\n";
    return 1;
  }
  double ffmpegCpu = 0.0;
  const double ffmpegSeconds = TimeFfmpeg(file, &ffmpegCpu);
  if (ffmpegSeconds <= 0.0) {
    std::cerr << "decode: the ffmpeg command failed\n";
    return 1;
  }
  const double engineFps = static_cast<double>(frames.size()) / engineSeconds;
  const double ffmpegFps = static_cast<double>(pictures) / ffmpegSeconds;
  nlohmann::json out;
  out["engine_fps"] = engineFps;
  out["ffmpeg_fps"] = ffmpegFps;
  out["ratio"] = engineFps / ffmpegFps;
  // CPU seconds include every thread: the engine's decoders run side by
  // side, so on an idle machine its wall time can beat ffmpeg's single
  // thread while using more CPU. cpu_ratio compares work per picture.
  out["engine_cpu_s"] = engineCpu;
  out["ffmpeg_cpu_s"] = ffmpegCpu;
  out["cpu_ratio"] = engineCpu > 0.0 && pictures > 0
                         ? (ffmpegCpu / static_cast<double>(pictures)) /
                               (engineCpu / static_cast<double>(frames.size()))
                         : 0.0;
  out["engine_frames"] = frames.size();
  out["ffmpeg_frames"] = pictures;
  std::cout << out.dump() << "\n";
  return 0;
}

const bench::BenchCommand kDecode(
    "decode", "Engine decoding speed against ffmpeg -threads 1", [](CLI::App& sub) -> bench::RunFn {
      auto file = std::make_shared<std::string>();
      sub.add_option("FILE", *file, "recording")->required()->check(CLI::ExistingFile);
      return [=] { return RunDecode(*file); };
    });

}  // namespace
