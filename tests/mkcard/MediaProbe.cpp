#include "tests/mkcard/MediaProbe.h"

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace lumora::test {

Probe ProbeFile(const std::filesystem::path& file, bool decode) {
  Probe p;
  av_log_set_level(AV_LOG_FATAL);
  AVFormatContext* fmt = nullptr;
  if (avformat_open_input(&fmt, file.c_str(), nullptr, nullptr) < 0) return p;
  std::unique_ptr<AVFormatContext*, void (*)(AVFormatContext**)> guard(&fmt, avformat_close_input);
  if (avformat_find_stream_info(fmt, nullptr) < 0) return p;
  p.opened = true;
  p.format = fmt->iformat->name;
  p.duration_s = fmt->duration > 0 ? fmt->duration / static_cast<double>(AV_TIME_BASE) : 0;
  std::vector<AVCodecContext*> decoders(fmt->nb_streams, nullptr);
  for (unsigned i = 0; i < fmt->nb_streams; ++i) {
    const AVCodecParameters* par = fmt->streams[i]->codecpar;
    ProbedStream s;
    s.type = par->codec_type == AVMEDIA_TYPE_VIDEO   ? "video"
             : par->codec_type == AVMEDIA_TYPE_AUDIO ? "audio"
                                                     : "other";
    s.codec = avcodec_get_name(par->codec_id);
    s.width = par->width;
    s.height = par->height;
    s.sample_rate = par->sample_rate;
    s.channels = par->ch_layout.nb_channels;
    p.streams.push_back(s);
    if (decode && par->codec_type == AVMEDIA_TYPE_VIDEO) {
      const AVCodec* codec = avcodec_find_decoder(par->codec_id);
      AVCodecContext* ctx = codec ? avcodec_alloc_context3(codec) : nullptr;
      if (ctx && avcodec_parameters_to_context(ctx, par) >= 0) {
        ctx->thread_count = 1;
        ctx->err_recognition = AV_EF_EXPLODE;
        if (avcodec_open2(ctx, codec, nullptr) >= 0) {
          decoders[i] = ctx;
          continue;
        }
      }
      avcodec_free_context(&ctx);
      ++p.decode_errors;
    }
  }
  AVPacket* pkt = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  auto drain = [&](AVCodecContext* ctx) {
    for (;;) {
      const int r = avcodec_receive_frame(ctx, frame);
      if (r < 0) break;
      ++p.decoded_frames;
    }
  };
  while (av_read_frame(fmt, pkt) >= 0) {
    const int i = pkt->stream_index;
    if (i >= 0 && i < static_cast<int>(p.streams.size())) {
      ++p.streams[i].packets;
      if (decoders[i]) {
        if (avcodec_send_packet(decoders[i], pkt) < 0) ++p.decode_errors;
        drain(decoders[i]);
      }
    }
    av_packet_unref(pkt);
  }
  for (AVCodecContext*& ctx : decoders) {
    if (ctx) {
      avcodec_send_packet(ctx, nullptr);
      drain(ctx);
      avcodec_free_context(&ctx);
    }
  }
  av_frame_free(&frame);
  av_packet_free(&pkt);
  return p;
}

}  // namespace lumora::test
