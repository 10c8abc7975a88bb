#include "engine/PictureBufferPool.h"

extern "C" {
#include <libavutil/buffer.h>
}

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>

namespace lumora {

namespace {

// Plane starts and line sizes are multiples of this (the widest SIMD loads
// of the codecs need no more).
constexpr std::size_t kAlign = 64;
// Bytes after each plane that SIMD code may read past its end.
constexpr std::size_t kPlanePadding = 64;

std::size_t AlignUp(std::size_t value) { return (value + kAlign - 1) / kAlign * kAlign; }

class Pools {
 public:
  ~Pools() {
    // Buffers still referenced are freed when their last reference goes.
    for (auto& entry : m_pools) av_buffer_pool_uninit(&entry.second);
  }
  AVBufferPool* Get(std::size_t size) {
    std::lock_guard guard(m_lock);
    AVBufferPool*& pool = m_pools[size];
    // Not zero-filled: the codec writes every byte of a picture it makes.
    if (pool == nullptr) pool = av_buffer_pool_init(size, av_buffer_alloc);
    return pool;
  }
  int Count() {
    std::lock_guard guard(m_lock);
    return static_cast<int>(m_pools.size());
  }

 private:
  std::mutex m_lock;
  std::map<std::size_t, AVBufferPool*> m_pools;
};

Pools& SharedPools() {
  static Pools pools;
  return pools;
}

}  // namespace

int PictureBufferPool::GetBuffer(AVCodecContext* codec, AVFrame* frame, int flags) {
  const auto format = static_cast<AVPixelFormat>(frame->format);
  if ((format != AV_PIX_FMT_YUV420P && format != AV_PIX_FMT_YUVJ420P) || frame->width <= 0 ||
      frame->height <= 0 || codec->codec == nullptr ||
      (codec->codec->capabilities & AV_CODEC_CAP_DR1) == 0)
    return avcodec_default_get_buffer2(codec, frame, flags);

  // The codec's own size rules (macroblock rounding, rows it writes past
  // the picture) and line alignment.
  int width = frame->width;
  int height = frame->height;
  int lineAlign[AV_NUM_DATA_POINTERS] = {};
  avcodec_align_dimensions2(codec, &width, &height, lineAlign);
  for (int a : lineAlign)
    if (a < 0 || static_cast<std::size_t>(a) > kAlign)
      return avcodec_default_get_buffer2(codec, frame, flags);

  const std::size_t lumaLine = AlignUp(static_cast<std::size_t>(width));
  const std::size_t chromaLine = AlignUp(static_cast<std::size_t>(width + 1) / 2);
  const std::size_t lumaBytes =
      AlignUp(lumaLine * static_cast<std::size_t>(height) + kPlanePadding);
  const std::size_t chromaBytes =
      AlignUp(chromaLine * static_cast<std::size_t>(height + 1) / 2 + kPlanePadding);
  // Room to move the start of the buffer to an aligned address.
  const std::size_t total = lumaBytes + 2 * chromaBytes + kAlign;

  AVBufferPool* pool = SharedPools().Get(total);
  if (pool == nullptr) return AVERROR(ENOMEM);
  frame->buf[0] = av_buffer_pool_get(pool);
  if (frame->buf[0] == nullptr) return AVERROR(ENOMEM);
  const auto address = reinterpret_cast<std::uintptr_t>(frame->buf[0]->data);
  std::uint8_t* base = frame->buf[0]->data + (AlignUp(address) - address);
  frame->data[0] = base;
  frame->data[1] = base + lumaBytes;
  frame->data[2] = base + lumaBytes + chromaBytes;
  frame->linesize[0] = static_cast<int>(lumaLine);
  frame->linesize[1] = static_cast<int>(chromaLine);
  frame->linesize[2] = static_cast<int>(chromaLine);
  frame->extended_data = frame->data;
  return 0;
}

int PictureBufferPool::PoolCount() { return SharedPools().Count(); }

}  // namespace lumora
