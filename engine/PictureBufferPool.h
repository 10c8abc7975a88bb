#pragma once
// Picture memory for the video decoders, kept for reuse across recordings.
//
// Each decoder's codec would otherwise get a fresh pool of zero-filled
// picture buffers for every recording it opens (and the stream probe one
// more): memory to allocate, clear and fault in before the first picture.
// Buffers are handed out from one process-wide pool per buffer size and go
// back to it when the last reference to a picture is dropped.

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace lumora {

class PictureBufferPool {
 public:
  // A get_buffer2 callback for video codecs: planar YUV 4:2:0 pictures of
  // codecs that let the caller place them come from the shared pools; any
  // other picture goes to the library's own allocator.
  static int GetBuffer(AVCodecContext* codec, AVFrame* frame, int flags);

  // Number of distinct buffer sizes pooled so far (for tests).
  static int PoolCount();
};

}  // namespace lumora
