#include "library/CClipOverlay.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

#include "data/CDrivingTrack.h"
#include "engine/CClipSource.h"
#include "engine/CClipTarget.h"
#include "engine/FFmpegHandles.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/opt.h>
}

namespace lumora {

namespace {

using Status = ClipExportResult::Status;
constexpr AVRational kMicroseconds{1, 1000000};
constexpr char kTextKey[] = "lumora.text";

struct OutputDeleter {
  void operator()(AVFormatContext* c) const {
    if (c->pb != nullptr) avio_closep(&c->pb);
    avformat_free_context(c);
  }
};
using OutputPtr = std::unique_ptr<AVFormatContext, OutputDeleter>;

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int n = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string text(static_cast<std::size_t>(std::max(n, 0)) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, again);
  va_end(again);
  text.resize(static_cast<std::size_t>(std::max(n, 0)));
  return text;
}

// Fills a rectangle of a YUV 4:2:0 picture with one colour.
void FillBox(AVFrame* f, int x, int y, int w, int h, std::uint8_t Y, std::uint8_t U,
             std::uint8_t V) {
  x = std::clamp(x, 0, f->width) & ~1;
  y = std::clamp(y, 0, f->height) & ~1;
  w = std::clamp(w, 0, f->width - x) & ~1;
  h = std::clamp(h, 0, f->height - y) & ~1;
  for (int row = y; row < y + h; ++row) std::memset(f->data[0] + row * f->linesize[0] + x, Y, w);
  for (int row = y / 2; row < (y + h) / 2; ++row) {
    std::memset(f->data[1] + row * f->linesize[1] + x / 2, U, w / 2);
    std::memset(f->data[2] + row * f->linesize[2] + x / 2, V, w / 2);
  }
}

// The G-force bar under the text line: a dark track, filled up to 1.5 g in
// green, yellow from 0.5 g, red from 1 g.
void DrawGBar(AVFrame* f, double g, int frontWidth, int frontHeight) {
  const int w = frontWidth / 4;
  const int h = std::max(6, frontHeight / 60);
  const int x = frontWidth / 60 + 2;
  const int y = frontHeight / 40 + 2 + std::max(10, frontHeight / 24) * 2;
  FillBox(f, x - 2, y - 2, w + 4, h + 4, 16, 128, 128);
  const int filled = static_cast<int>(std::clamp(g / 1.5, 0.0, 1.0) * w);
  if (g < 0.5) {
    FillBox(f, x, y, filled, h, 145, 54, 34);  // green
  } else if (g < 1.0) {
    FillBox(f, x, y, filled, h, 210, 16, 146);  // yellow
  } else {
    FillBox(f, x, y, filled, h, 81, 90, 240);  // red
  }
}

class OverlayJob {
 public:
  OverlayJob(const ClipExportRequest& request, const ClipOverlayOptions& options,
             const CClipExport::ProgressFn& progress, const std::atomic<bool>& cancel)
      : m_request(request), m_options(options), m_progress(progress), m_cancel(cancel) {}

  ClipExportResult Run(std::vector<CClipSource>& sources, const ClipPlan& plan);

 private:
  struct Channel {
    int stream = -1;
    CodecContextPtr decoder;
    AVFilterContext* source = nullptr;
  };

  bool Fail(Status status, std::string message) {
    m_result.status = status;
    m_result.message = std::move(message);
    return false;
  }
  bool Ffmpeg(int rc, const char* what) {
    if (rc >= 0) return true;
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(rc, text, sizeof text);
    return Fail(Status::kFailed, std::string(what) + ": " + text);
  }
  bool OpenGraph(const CClipSource& first);
  bool OpenOutput(const CClipSource& first, const std::string& path);
  bool OpenDecoder(const CClipSource& source, Channel& channel);
  bool CopyPiece(CClipSource& source, const ClipPiece& piece);
  bool Decode(Channel& channel, const AVPacket* packet, const CClipSource& source,
              const ClipPiece& piece, const CDrivingTrack& track, bool front);
  bool Feed(Channel& channel, AVFrame* frame, std::int64_t clipUs, const std::string* text);
  bool DrainGraph();
  bool Encode(AVFrame* frame);
  bool WriteSound(const CClipSource& source, const ClipPiece& piece, const AVPacket& packet);

  const ClipExportRequest& m_request;
  const ClipOverlayOptions& m_options;
  const CClipExport::ProgressFn& m_progress;
  const std::atomic<bool>& m_cancel;
  ClipExportResult m_result;
  FilterGraphPtr m_graph;
  AVFilterContext* m_sink = nullptr;
  Channel m_front;
  Channel m_rear;
  bool m_bRear = false;
  CodecContextPtr m_encoder;
  OutputPtr m_output;
  AVStream* m_videoOut = nullptr;
  AVStream* m_audioOut = nullptr;
  AVRational m_frameRate{30, 1};
  int m_nFrontWidth = 0;
  int m_nFrontHeight = 0;
  bool m_bPcm = false;
  int m_nBlockAlign = 0;
  int m_nSampleRate = 0;
  std::int64_t m_nSamplesWritten = 0;
  std::uint32_t m_nVideoPackets = 0;
  std::uint32_t m_nAudioPackets = 0;
  std::int64_t m_nClipUs = 1;
  int m_nLastPermille = -1;
  // G force of the last front picture, drawn as a bar after the graph.
  std::vector<std::pair<std::int64_t, double>> m_gForce;
};

bool OverlayJob::OpenDecoder(const CClipSource& source, Channel& channel) {
  const AVCodecParameters* par = source.Format()->streams[channel.stream]->codecpar;
  const AVCodec* codec = avcodec_find_decoder(par->codec_id);
  if (codec == nullptr) return Fail(Status::kBadInput, "no decoder for the video");
  channel.decoder.reset(avcodec_alloc_context3(codec));
  if (!channel.decoder) return Fail(Status::kFailed, "out of memory");
  channel.decoder->thread_count = 0;
  return Ffmpeg(avcodec_parameters_to_context(channel.decoder.get(), par), "decoder") &&
         Ffmpeg(avcodec_open2(channel.decoder.get(), codec, nullptr), "cannot open the decoder");
}

bool OverlayJob::OpenGraph(const CClipSource& first) {
  m_graph.reset(avfilter_graph_alloc());
  if (!m_graph) return Fail(Status::kFailed, "out of memory");
  const AVFormatContext* fmt = first.Format();
  auto source = [&](int stream, const char* name, AVFilterContext** ctx) {
    const AVCodecParameters* par = fmt->streams[stream]->codecpar;
    const std::string args =
        Printf("video_size=%dx%d:pix_fmt=%d:time_base=1/1000000:pixel_aspect=1/1", par->width,
               par->height, par->format >= 0 ? par->format : AV_PIX_FMT_YUV420P);
    return Ffmpeg(avfilter_graph_create_filter(ctx, avfilter_get_by_name("buffer"), name,
                                               args.c_str(), nullptr, m_graph.get()),
                  "video filter source");
  };
  if (!source(m_front.stream, "f", &m_front.source)) return false;
  if (m_bRear && !source(m_rear.stream, "r", &m_rear.source)) return false;
  if (!Ffmpeg(avfilter_graph_create_filter(&m_sink, avfilter_get_by_name("buffersink"), "out",
                                           nullptr, nullptr, m_graph.get()),
              "video filter sink")) {
    return false;
  }
  const AVCodecParameters* front = fmt->streams[m_front.stream]->codecpar;
  const std::string desc =
      CClipOverlay::FilterGraph(m_options.layout, m_bRear, front->width, front->height);
  AVFilterInOut* outputs = avfilter_inout_alloc();
  AVFilterInOut* inputs = avfilter_inout_alloc();
  outputs->name = av_strdup("f");
  outputs->filter_ctx = m_front.source;
  if (m_bRear) {
    outputs->next = avfilter_inout_alloc();
    outputs->next->name = av_strdup("r");
    outputs->next->filter_ctx = m_rear.source;
  }
  inputs->name = av_strdup("out");
  inputs->filter_ctx = m_sink;
  const int parsed =
      avfilter_graph_parse_ptr(m_graph.get(), desc.c_str(), &inputs, &outputs, nullptr);
  avfilter_inout_free(&inputs);
  avfilter_inout_free(&outputs);
  return Ffmpeg(parsed, "video filter graph") &&
         Ffmpeg(avfilter_graph_config(m_graph.get(), nullptr), "video filter graph");
}

bool OverlayJob::OpenOutput(const CClipSource& first, const std::string& path) {
  AVFormatContext* raw = nullptr;
  if (!Ffmpeg(avformat_alloc_output_context2(&raw, nullptr, "avi", path.c_str()), "AVI muxer")) {
    return false;
  }
  m_output.reset(raw);
  const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
  if (codec == nullptr) return Fail(Status::kFailed, "libavcodec has no libx264 encoder");
  m_encoder.reset(avcodec_alloc_context3(codec));
  if (!m_encoder) return Fail(Status::kFailed, "out of memory");
  m_encoder->width = av_buffersink_get_w(m_sink);
  m_encoder->height = av_buffersink_get_h(m_sink);
  m_encoder->pix_fmt = AV_PIX_FMT_YUV420P;
  m_encoder->time_base = av_inv_q(m_frameRate);
  m_encoder->framerate = m_frameRate;
  m_encoder->gop_size = std::max(1, m_frameRate.num / std::max(1, m_frameRate.den));
  m_encoder->max_b_frames = 0;
  m_encoder->thread_count = 0;
  av_opt_set(m_encoder->priv_data, "preset", "veryfast", 0);
  av_opt_set_double(m_encoder->priv_data, "crf", 23, 0);
  if (!Ffmpeg(avcodec_open2(m_encoder.get(), codec, nullptr), "cannot open the H.264 encoder")) {
    return false;
  }
  m_videoOut = avformat_new_stream(raw, nullptr);
  if (m_videoOut == nullptr) return Fail(Status::kFailed, "out of memory");
  m_videoOut->time_base = m_encoder->time_base;
  if (!Ffmpeg(avcodec_parameters_from_context(m_videoOut->codecpar, m_encoder.get()), "encoder")) {
    return false;
  }
  if (first.AudioStream() >= 0) {
    const AVCodecParameters* par = first.Format()->streams[first.AudioStream()]->codecpar;
    m_audioOut = avformat_new_stream(raw, nullptr);
    if (m_audioOut == nullptr || avcodec_parameters_copy(m_audioOut->codecpar, par) < 0) {
      return Fail(Status::kFailed, "out of memory");
    }
    m_audioOut->codecpar->codec_tag = 0;
    m_bPcm = std::strncmp(avcodec_get_name(par->codec_id), "pcm_", 4) == 0 && par->block_align > 0;
    m_nBlockAlign = par->block_align;
    m_nSampleRate = par->sample_rate;
    m_audioOut->time_base = m_bPcm ? AVRational{1, par->sample_rate}
                                   : first.Format()->streams[first.AudioStream()]->time_base;
  }
  return Ffmpeg(avio_open(&raw->pb, path.c_str(), AVIO_FLAG_WRITE), "cannot write the clip") &&
         Ffmpeg(avformat_write_header(raw, nullptr), "cannot write the clip");
}

bool OverlayJob::Encode(AVFrame* frame) {
  if (!Ffmpeg(avcodec_send_frame(m_encoder.get(), frame), "encoding")) return false;
  PacketPtr packet(av_packet_alloc());
  for (;;) {
    const int rc = avcodec_receive_packet(m_encoder.get(), packet.get());
    if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return true;
    if (!Ffmpeg(rc, "encoding")) return false;
    av_packet_rescale_ts(packet.get(), m_encoder->time_base, m_videoOut->time_base);
    packet->stream_index = m_videoOut->index;
    ++m_nVideoPackets;
    if (!Ffmpeg(av_interleaved_write_frame(m_output.get(), packet.get()), "writing the clip")) {
      return false;
    }
  }
}

bool OverlayJob::DrainGraph() {
  FramePtr frame(av_frame_alloc());
  for (;;) {
    const int rc = av_buffersink_get_frame(m_sink, frame.get());
    if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return true;
    if (!Ffmpeg(rc, "video filter")) return false;
    const std::int64_t us = frame->pts;
    double g = 0.0;
    for (const auto& [at, value] : m_gForce) {
      if (at <= us) g = value;
    }
    m_gForce.erase(std::remove_if(m_gForce.begin(), m_gForce.end(),
                                  [&](const auto& e) { return e.first < us; }),
                   m_gForce.end());
    if (!Ffmpeg(av_frame_make_writable(frame.get()), "video filter")) return false;
    DrawGBar(frame.get(), g, m_nFrontWidth, m_nFrontHeight);
    frame->pts = av_rescale_q(us, kMicroseconds, m_encoder->time_base);
    frame->pict_type = AV_PICTURE_TYPE_NONE;
    if (!Encode(frame.get())) return false;
    av_frame_unref(frame.get());
    if (m_progress) {
      const int permille =
          static_cast<int>(std::clamp<std::int64_t>(us * 1000 / m_nClipUs, 0, 1000));
      if (permille != m_nLastPermille) m_progress(permille / 1000.0);
      m_nLastPermille = permille;
    }
  }
}

bool OverlayJob::Feed(Channel& channel, AVFrame* frame, std::int64_t clipUs,
                      const std::string* text) {
  frame->pts = clipUs;
  if (text != nullptr) av_dict_set(&frame->metadata, kTextKey, text->c_str(), 0);
  return Ffmpeg(av_buffersrc_add_frame_flags(channel.source, frame, AV_BUFFERSRC_FLAG_KEEP_REF),
                "video filter") &&
         DrainGraph();
}

bool OverlayJob::Decode(Channel& channel, const AVPacket* packet, const CClipSource& source,
                        const ClipPiece& piece, const CDrivingTrack& track, bool front) {
  // A damaged picture is skipped, as the player does.
  if (avcodec_send_packet(channel.decoder.get(), packet) < 0 && packet != nullptr) return true;
  FramePtr frame(av_frame_alloc());
  const AVRational base = source.Format()->streams[channel.stream]->time_base;
  for (;;) {
    const int rc = avcodec_receive_frame(channel.decoder.get(), frame.get());
    if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return true;
    if (rc < 0) return true;
    const std::int64_t ts = frame->best_effort_timestamp;
    if (ts == AV_NOPTS_VALUE) continue;
    const std::int64_t us = av_rescale_q(ts, base, kMicroseconds);
    if (us < piece.startUs || us >= piece.endUs) {
      av_frame_unref(frame.get());
      continue;
    }
    const std::int64_t clipUs = piece.clipOffsetUs + us - piece.startUs;
    std::string text;
    if (front) {
      const std::int64_t p = us / 1000;
      text = CClipOverlay::InfoText(track, p, m_options.speedUnit);
      m_gForce.emplace_back(clipUs, CClipOverlay::GForce(track, p));
    }
    const bool fed = Feed(channel, frame.get(), clipUs, front ? &text : nullptr);
    av_frame_unref(frame.get());
    if (!fed) return false;
  }
}

bool OverlayJob::WriteSound(const CClipSource& source, const ClipPiece& piece,
                            const AVPacket& packet) {
  std::int64_t us = 0;
  if (!source.PacketTimeUs(packet, us)) return true;
  PacketPtr out(av_packet_alloc());
  if (!out) return Fail(Status::kFailed, "out of memory");
  if (!m_bPcm) {
    if (us < piece.startUs || us >= piece.endUs) return true;
    if (av_packet_ref(out.get(), &packet) < 0) return Fail(Status::kFailed, "out of memory");
    out->pts = out->dts =
        av_rescale_q(piece.clipOffsetUs + us - piece.startUs, kMicroseconds, m_audioOut->time_base);
  } else {
    const SoundCut cut = CClipPlan::CutSound(piece, m_nSampleRate, us, packet.size / m_nBlockAlign,
                                             m_nSamplesWritten);
    const std::int64_t samples = cut.silence + cut.count;
    if (samples == 0) return true;
    if (av_new_packet(out.get(), static_cast<int>(samples * m_nBlockAlign)) < 0) {
      return Fail(Status::kFailed, "out of memory");
    }
    std::memset(out->data, 0, static_cast<std::size_t>(cut.silence * m_nBlockAlign));
    std::memcpy(out->data + cut.silence * m_nBlockAlign, packet.data + cut.skip * m_nBlockAlign,
                static_cast<std::size_t>(cut.count * m_nBlockAlign));
    out->pts = out->dts = m_nSamplesWritten;
    out->duration = samples;
    m_nSamplesWritten += samples;
  }
  out->stream_index = m_audioOut->index;
  ++m_nAudioPackets;
  return Ffmpeg(av_interleaved_write_frame(m_output.get(), out.get()), "writing the clip");
}

bool OverlayJob::CopyPiece(CClipSource& source, const ClipPiece& piece) {
  if (!source.SeekBefore(piece.startUs)) {
    return Fail(Status::kFailed, "cannot read " + source.Path().string());
  }
  CDrivingTrack track;
  track.BeginLoad();
  for (const _TAG_USER_DATA& r : source.Records())
    track.DecodeUserData(r.data.data(), r.length, r.cts);
  track.SetDuration(static_cast<std::int32_t>(source.Timing().durationUs / 1000));
  track.ResampleGSensor();
  m_front.stream = source.VideoStreams()[0];
  if (!OpenDecoder(source, m_front)) return false;
  if (m_bRear) {
    m_rear.stream = source.VideoStreams()[1];
    if (!OpenDecoder(source, m_rear)) return false;
  }
  PacketPtr packet(av_packet_alloc());
  bool frontDone = false;
  while (!frontDone && av_read_frame(source.Format(), packet.get()) >= 0) {
    std::unique_ptr<AVPacket, decltype(&av_packet_unref)> unref(packet.get(), av_packet_unref);
    if (m_cancel.load()) return Fail(Status::kCancelled, "export cancelled");
    std::int64_t us = 0;
    if (!source.PacketTimeUs(*packet, us)) continue;
    const int index = packet->stream_index;
    if (index == m_front.stream) {
      if (us >= piece.endUs + 1000000) frontDone = true;
      if (!Decode(m_front, packet.get(), source, piece, track, true)) return false;
    } else if (m_bRear && index == m_rear.stream) {
      if (us < piece.endUs && !Decode(m_rear, packet.get(), source, piece, track, false)) {
        return false;
      }
    } else if (index == source.AudioStream() && m_audioOut != nullptr) {
      if (!WriteSound(source, piece, *packet)) return false;
    }
  }
  // The decoders hand out the pictures they still hold.
  return Decode(m_front, nullptr, source, piece, track, true) &&
         (!m_bRear || Decode(m_rear, nullptr, source, piece, track, false));
}

ClipExportResult OverlayJob::Run(std::vector<CClipSource>& sources, const ClipPlan& plan) {
  m_nClipUs = std::max<std::int64_t>(1, plan.endUs - plan.startUs);
  m_result.startUs = plan.startUs;
  m_result.endUs = plan.endUs;
  m_result.output = m_request.output;
  const CClipSource& first = sources.front();
  m_bRear = m_options.layout != ClipLayout::kFront && first.VideoStreams().size() > 1;
  m_front.stream = first.VideoStreams()[0];
  if (m_bRear) m_rear.stream = first.VideoStreams()[1];
  const AVStream* front = first.Format()->streams[m_front.stream];
  if (front->avg_frame_rate.num > 0 && front->avg_frame_rate.den > 0) {
    m_frameRate = front->avg_frame_rate;
  }
  m_nFrontWidth = front->codecpar->width;
  m_nFrontHeight = front->codecpar->height;
  CClipTarget target;
  bool badInput = false;
  if (!target.Create(m_request.output, m_request.inputs, CClipExport::BytesNeeded(sources, plan),
                     m_result.message, badInput)) {
    m_result.status = badInput ? Status::kBadInput : Status::kFailed;
    return m_result;
  }
  std::fclose(target.TakeFile());
  if (!OpenGraph(first) || !OpenOutput(first, target.TempPath().string())) return m_result;
  for (const ClipPiece& piece : plan.pieces) {
    if (!CopyPiece(sources[piece.source], piece)) return m_result;
  }
  if (!Ffmpeg(av_buffersrc_add_frame(m_front.source, nullptr), "video filter") ||
      (m_bRear && !Ffmpeg(av_buffersrc_add_frame(m_rear.source, nullptr), "video filter")) ||
      !DrainGraph() || !Encode(nullptr) ||
      !Ffmpeg(av_write_trailer(m_output.get()), "writing the clip") ||
      !Ffmpeg(avio_closep(&m_output->pb), "writing the clip")) {
    return m_result;
  }
  if (!target.Commit(m_result.message)) return m_result;
  m_result.streams.push_back({"video", "h264", m_nVideoPackets});
  if (m_audioOut != nullptr) {
    m_result.streams.push_back(
        {"audio", avcodec_get_name(m_audioOut->codecpar->codec_id), m_nAudioPackets});
  }
  if (m_progress) m_progress(1.0);
  m_result.status = Status::kOk;
  return m_result;
}

}  // namespace

std::string CClipOverlay::FilterGraph(ClipLayout layout, bool hasRear, int frontWidth,
                                      int frontHeight) {
  const int fontSize = std::max(10, frontHeight / 24);
  const std::string text = Printf(
      "drawtext=font=Sans:fontsize=%d:fontcolor=white:box=1:boxcolor=black@0.55:boxborderw=%d:"
      "x=%d:y=%d:text='%%{metadata\\:%s}'",
      fontSize, fontSize / 4, frontWidth / 60 + 2, frontHeight / 40 + 2, kTextKey);
  // A scale filter first takes pictures of any decoded format (it passes
  // yuv420p through untouched).
  const std::string front = "[f]scale,format=yuv420p," + text;
  if (!hasRear || layout == ClipLayout::kFront) return front + "[out]";
  if (layout == ClipLayout::kSide) {
    return Printf("[r]scale=-2:%d,format=yuv420p[rs];%s[ft];[ft][rs]hstack=inputs=2[out]",
                  frontHeight, front.c_str());
  }
  const int w = (frontWidth / 3) & ~1;
  return Printf(
      "[r]scale=%d:-2,format=yuv420p[rs];%s[ft];"
      "[ft][rs]overlay=x=main_w-overlay_w-%d:y=%d:eof_action=repeat:format=yuv420[out]",
      w, front.c_str(), frontWidth / 60 + 2, frontHeight / 40 + 2);
}

std::string CClipOverlay::InfoText(const CDrivingTrack& track, std::int64_t p, int speedUnit) {
  const std::int64_t d = track.GetDuration();
  const int sample = track.GetSampleIndex(p, d);
  const CGPSData* fix = track.FindFix(p);
  std::string time = "--:--:--";
  if (sample >= 0 && track.GetSample(sample)->time[0] != 0) {
    const GSensorSample& s = *track.GetSample(sample);
    time = Printf("%02d:%02d:%02d", s.time[3], s.time[4], s.time[5]);
  } else if (fix != nullptr && fix->m_tTime != 0) {
    const std::time_t t = static_cast<std::time_t>(fix->m_tTime);
    std::tm local{};
    localtime_r(&t, &local);
    time = Printf("%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
  }
  int kmh = -1;
  if (sample >= 0) {
    kmh = track.GetAdas(sample)->words[0];
  } else if (fix != nullptr && fix->m_nValid == 1) {
    kmh = static_cast<int>(std::lround(fix->m_dSpeed));
  }
  std::string speed = "--";
  if (kmh >= 0) speed = std::to_string(speedUnit == 1 ? kmh * 10 / 16 : kmh);
  speed += speedUnit == 1 ? " mph" : " km/h";
  std::string position = "no GPS";
  if (fix != nullptr && fix->m_nValid == 1) {
    const double lat = fix->GetLatitudeDegrees();
    const double lon = fix->GetLongitudeDegrees();
    position = Printf("%c %.5f %c %.5f", lat < 0 ? 'S' : 'N', std::fabs(lat), lon < 0 ? 'W' : 'E',
                      std::fabs(lon));
  }
  return time + "   " + speed + "   " + position + Printf("   %.2f G", GForce(track, p));
}

double CClipOverlay::GForce(const CDrivingTrack& track, std::int64_t p) {
  const std::int64_t d = track.GetDuration();
  const GSensorSample* s = nullptr;
  if (track.GetSlotCount() > 0) {
    s = track.GetResampled(track.GetResampledSlot(p, d));
  } else {
    const int i = track.GetSampleIndex(p, d);
    if (i >= 0) s = track.GetSample(i);
  }
  return s != nullptr ? std::hypot(s->ax, s->ay) : 0.0;
}

ClipExportResult CClipOverlay::Run(const ClipExportRequest& request,
                                   const ClipOverlayOptions& options,
                                   const CClipExport::ProgressFn& progress,
                                   const std::atomic<bool>& cancel) {
  ClipExportResult result;
  std::vector<CClipSource> sources;
  ClipPlan plan;
  if (!CClipExport::Prepare(request, sources, plan, result)) return result;
  return OverlayJob(request, options, progress, cancel).Run(sources, plan);
}

}  // namespace lumora
