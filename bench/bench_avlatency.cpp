// lumora-bench avlatency FILE: the anchor of the latency figures. Plain
// libavformat/libavcodec on the first video stream: from opening the file to
// the first decoded picture, and from a seek request to the first decoded
// picture at the target, medians of 20 tries over the same targets as
// `latency` (whole seconds between 20 % and 80 % of the recording).

#include <algorithm>
#include <cmath>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

#include "bench/BenchCommand.h"
#include "bench/HeadlessPlayer.h"

namespace {

constexpr int kTries = 20;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? -1.0 : v[v.size() / 2];
}

struct Demuxer {
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  int stream = -1;

  ~Demuxer() {
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    av_packet_free(&packet);
    av_frame_free(&frame);
  }
  bool Open(const std::string& file) {
    if (avformat_open_input(&format, file.c_str(), nullptr, nullptr) < 0) return false;
    if (avformat_find_stream_info(format, nullptr) < 0) return false;
    stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (stream < 0) return false;
    const AVCodec* decoder = avcodec_find_decoder(format->streams[stream]->codecpar->codec_id);
    if (!decoder) return false;
    codec = avcodec_alloc_context3(decoder);
    codec->thread_count = 1;
    return avcodec_parameters_to_context(codec, format->streams[stream]->codecpar) >= 0 &&
           avcodec_open2(codec, decoder, nullptr) >= 0;
  }
  // Decodes until a picture at or after `fromSeconds`; false at the end.
  bool DecodeUntil(double fromSeconds) {
    const AVRational tb = format->streams[stream]->time_base;
    while (av_read_frame(format, packet) >= 0) {
      if (packet->stream_index != stream) {
        av_packet_unref(packet);
        continue;
      }
      avcodec_send_packet(codec, packet);
      av_packet_unref(packet);
      while (avcodec_receive_frame(codec, frame) >= 0) {
        const std::int64_t ts = frame->best_effort_timestamp;
        if (ts == AV_NOPTS_VALUE || ts * av_q2d(tb) >= fromSeconds - 0.0005) return true;
      }
    }
    return false;
  }
};

int RunAvLatency(const std::string& file) {
  av_log_set_level(AV_LOG_ERROR);
  std::vector<double> starts;
  std::vector<double> seeks;
  for (int i = 0; i < kTries; ++i) {
    Demuxer d;
    const auto begin = bench::Clock::now();
    if (!d.Open(file) || !d.DecodeUntil(0.0)) {
      std::cerr << "avlatency: cannot decode " << file << "\n";
      return bench::kBadInput;
    }
    starts.push_back(bench::Ms(begin, bench::Clock::now()));
    const double duration = static_cast<double>(d.format->duration) / AV_TIME_BASE;
    const double target = std::floor(duration * (0.2 + 0.6 * i / kTries));
    const AVRational tb = d.format->streams[d.stream]->time_base;
    const auto asked = bench::Clock::now();
    const std::int64_t ts = static_cast<std::int64_t>(target / av_q2d(tb));
    if (av_seek_frame(d.format, d.stream, ts, AVSEEK_FLAG_BACKWARD) < 0) {
      std::cerr << "avlatency: cannot seek to " << target << " s\n";
      return 1;
    }
    avcodec_flush_buffers(d.codec);
    if (!d.DecodeUntil(target)) {
      std::cerr << "avlatency: no picture at " << target << " s\n";
      return 1;
    }
    seeks.push_back(bench::Ms(asked, bench::Clock::now()));
  }
  nlohmann::ordered_json out;
  out["start_ms"] = Median(starts);
  out["seek_ms"] = Median(seeks);
  out["tries"] = kTries;
  std::cout << out.dump() << "\n";
  return 0;
}

const bench::BenchCommand kAvLatency{
    "avlatency", "First picture after open and after seek with plain FFmpeg (latency anchor)",
    [](CLI::App& sub) -> bench::RunFn {
      auto file = std::make_shared<std::string>();
      sub.add_option("FILE", *file, "recording")->required()->check(CLI::ExistingFile);
      return [=] { return RunAvLatency(*file); };
    }};

}  // namespace
