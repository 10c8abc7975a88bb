#pragma once
// One decoded frame slot: a planar YUV 4:2:0 picture of one channel or a mono
// 16-bit sound block, with its presentation time. Slots belong to a FramePool
// and are reused; their buffers only grow.

#include <cstdint>

#include "engine/FFmpegHandles.h"

namespace lumora {

inline constexpr int kDecKindVideo = 0;
inline constexpr int kDecKindAudio = 1;

struct _TAG_DEC_INFO {
  std::int32_t nKind = kDecKindVideo;
  AvBufferPtr pBuffer;
  // A picture that the codec already made as planar YUV 4:2:0 is not copied
  // into pBuffer: the slot holds a reference to it and data[] points into
  // it. The pool drops the reference when the slot leaves the ready list.
  FramePtr pFrame;
  std::int32_t nCapacity = 0;
  double dTime = 0.0;
  std::uint8_t* data[8] = {};
  std::int32_t size[8] = {};
  std::int32_t nPixelFormat = 0;
  std::int32_t nWidth = 0;
  std::int32_t nHeight = 0;
  std::int32_t nChannel = 0;
  std::int32_t nChannels = 0;
  std::int32_t nBitsPerSample = 0;
  std::int32_t nSampleRate = 0;

  // Makes the buffer hold at least `bytes`; the old content is not kept.
  // Returns false when the memory cannot be had.
  bool Reserve(std::int32_t bytes) {
    if (bytes <= nCapacity && pBuffer) return true;
    pBuffer.reset();
    nCapacity = 0;
    pBuffer.reset(static_cast<std::uint8_t*>(av_malloc(static_cast<std::size_t>(bytes))));
    if (!pBuffer) return false;
    nCapacity = bytes;
    return true;
  }
};

using DecInfo = _TAG_DEC_INFO;

}  // namespace lumora
