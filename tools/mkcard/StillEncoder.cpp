#include "tools/mkcard/StillEncoder.h"

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libswscale/swscale.h>
}

namespace lumora {
namespace {

struct CodecDeleter {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameDeleter {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketDeleter {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};

}  // namespace

bool StillEncoder::Encode(int width, int height, bool full_chroma, bool rear,
                          const SceneState& scene, std::vector<uint8_t>* jpeg, std::string* error) {
  auto fail = [&](const char* what) {
    if (error) *error = what;
    return false;
  };
  if (width < 16 || height < 16 || width % 2 || height % 2) return fail("bad still size");
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
  if (!codec) return fail("libavcodec has no JPEG encoder");
  std::unique_ptr<AVCodecContext, CodecDeleter> ctx(avcodec_alloc_context3(codec));
  std::unique_ptr<AVFrame, FrameDeleter> src(av_frame_alloc());
  std::unique_ptr<AVFrame, FrameDeleter> dst(av_frame_alloc());
  std::unique_ptr<AVPacket, PacketDeleter> pkt(av_packet_alloc());
  if (!ctx || !src || !dst || !pkt) return fail("out of memory");
  const AVPixelFormat fmt = full_chroma ? AV_PIX_FMT_YUVJ444P : AV_PIX_FMT_YUVJ420P;
  ctx->width = width;
  ctx->height = height;
  ctx->pix_fmt = fmt;
  ctx->time_base = AVRational{1, 25};
  ctx->color_range = AVCOL_RANGE_JPEG;
  ctx->flags |= AV_CODEC_FLAG_QSCALE | AV_CODEC_FLAG_BITEXACT;
  ctx->global_quality = FF_QP2LAMBDA * 4;
  ctx->thread_count = 1;
  if (avcodec_open2(ctx.get(), codec, nullptr) < 0) return fail("cannot open the JPEG encoder");

  // The scene is drawn in limited-range 4:2:0 and converted to the full-range
  // layout the encoder wants.
  src->format = AV_PIX_FMT_YUV420P;
  src->width = width;
  src->height = height;
  dst->format = fmt;
  dst->width = width;
  dst->height = height;
  if (av_frame_get_buffer(src.get(), 0) < 0 || av_frame_get_buffer(dst.get(), 0) < 0) {
    return fail("out of memory");
  }
  TestPicture(rear).Render(scene, src.get());
  SwsContext* sws =
      sws_getContext(width, height, AV_PIX_FMT_YUV420P, width, height, fmt,
                     SWS_BICUBIC | SWS_BITEXACT | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
  if (!sws) return fail("cannot convert the still picture");
  sws_scale(sws, src->data, src->linesize, 0, height, dst->data, dst->linesize);
  sws_freeContext(sws);
  dst->pts = 0;
  if (avcodec_send_frame(ctx.get(), dst.get()) < 0 || avcodec_send_frame(ctx.get(), nullptr) < 0) {
    return fail("JPEG encoding failed");
  }
  if (avcodec_receive_packet(ctx.get(), pkt.get()) < 0) return fail("JPEG encoding failed");
  jpeg->assign(pkt->data, pkt->data + pkt->size);
  return true;
}

}  // namespace lumora
