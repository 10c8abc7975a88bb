#include "tools/mkcard/VideoEncoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/opt.h>
}

namespace lumora {

VideoEncoder::VideoEncoder() = default;

VideoEncoder::~VideoEncoder() {
  av_packet_free(&packet_);
  av_frame_free(&frame_);
  avcodec_free_context(&ctx_);
}

bool VideoEncoder::Open(int width, int height, int fps, int crf, bool global_header,
                        std::string* error) {
  auto fail = [&](const std::string& what) {
    if (error) *error = what;
    return false;
  };
  if (width < 16 || height < 16 || width % 2 || height % 2 || fps < 1 || fps > 120) {
    return fail("unsupported picture size or frame rate");
  }
  const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
  if (!codec) return fail("libavcodec has no libx264 encoder");
  ctx_ = avcodec_alloc_context3(codec);
  frame_ = av_frame_alloc();
  packet_ = av_packet_alloc();
  if (!ctx_ || !frame_ || !packet_) return fail("out of memory");
  ctx_->width = width;
  ctx_->height = height;
  ctx_->pix_fmt = AV_PIX_FMT_YUV420P;
  ctx_->time_base = AVRational{1, fps};
  ctx_->framerate = AVRational{fps, 1};
  ctx_->gop_size = fps;  // a key frame every second keeps seeking quick
  ctx_->max_b_frames = 0;
  ctx_->thread_count = 1;
  if (global_header) ctx_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  av_opt_set(ctx_->priv_data, "preset", "ultrafast", 0);
  av_opt_set(ctx_->priv_data, "tune", "zerolatency", 0);
  av_opt_set_double(ctx_->priv_data, "crf", crf, 0);
  if (avcodec_open2(ctx_, codec, nullptr) < 0) return fail("cannot open the H.264 encoder");
  frame_->format = AV_PIX_FMT_YUV420P;
  frame_->width = width;
  frame_->height = height;
  if (av_frame_get_buffer(frame_, 0) < 0) return fail("out of memory");
  return true;
}

bool VideoEncoder::Drain(std::vector<EncodedPacket>* out) {
  for (;;) {
    const int r = avcodec_receive_packet(ctx_, packet_);
    if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
    if (r < 0) return false;
    EncodedPacket p;
    p.data.assign(packet_->data, packet_->data + packet_->size);
    p.keyframe = (packet_->flags & AV_PKT_FLAG_KEY) != 0;
    out->push_back(std::move(p));
    av_packet_unref(packet_);
  }
}

AVFrame* VideoEncoder::NextFrame() {
  if (!frame_ || av_frame_make_writable(frame_) < 0) return nullptr;
  return frame_;
}

bool VideoEncoder::Encode(std::vector<EncodedPacket>* out) {
  if (!ctx_) return false;
  frame_->pts = next_pts_++;
  if (avcodec_send_frame(ctx_, frame_) < 0) return false;
  return Drain(out);
}

bool VideoEncoder::Flush(std::vector<EncodedPacket>* out) {
  if (!ctx_) return false;
  if (avcodec_send_frame(ctx_, nullptr) < 0) return false;
  return Drain(out);
}

}  // namespace lumora
