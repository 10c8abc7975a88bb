#pragma once
// Picture memory for the video decoders, kept for reuse across recordings.
//
// Each decoder's codec would otherwise get a fresh pool of zero-filled
// picture buffers for every recording it opens, and playback keeps about 25
// pictures per channel alive at once (20 waiting to be shown plus the ones
// the codec refers to): at 1080p that is 80 MB to allocate, clear and fault
// in at every Open, and it made up a third of the time to the first picture.
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
