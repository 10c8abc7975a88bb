#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace lumora {

struct EncodedPacket {
  std::vector<uint8_t> data;
  bool keyframe = false;
};

// H.264 through libavcodec's libx264 (preset ultrafast, no B-frames, one
// thread, so that the same pictures always give the same bytes).
class VideoEncoder {
 public:
  VideoEncoder();
  ~VideoEncoder();
  VideoEncoder(const VideoEncoder&) = delete;
  VideoEncoder& operator=(const VideoEncoder&) = delete;

  // global_header: put SPS/PPS into the extradata (MP4) instead of in-band (AVI).
  bool Open(int width, int height, int fps, int crf, bool global_header, std::string* error);
  // The picture to fill before Encode (planar YUV 4:2:0), made writable; null on failure.
  AVFrame* NextFrame();
  // Encodes frame() with the next time stamp; appends finished packets.
  bool Encode(std::vector<EncodedPacket>* out);
  // Drains the encoder at the end.
  bool Flush(std::vector<EncodedPacket>* out);
  const AVCodecContext* context() const { return ctx_; }

 private:
  bool Drain(std::vector<EncodedPacket>* out);

  AVCodecContext* ctx_ = nullptr;
  AVFrame* frame_ = nullptr;
  AVPacket* packet_ = nullptr;
  int64_t next_pts_ = 0;
};

}  // namespace lumora
