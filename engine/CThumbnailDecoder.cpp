#include "engine/CThumbnailDecoder.h"

#include <algorithm>

#include "engine/FFmpegHandles.h"

extern "C" {
#include <libavutil/imgutils.h>
}

namespace lumora {

namespace {

using Clock = std::chrono::steady_clock;

struct Deadline {
  Clock::time_point end;
  const std::atomic<bool>* cancel = nullptr;

  bool Passed() const {
    return Clock::now() >= end || (cancel && cancel->load(std::memory_order_relaxed));
  }
};

int InterruptHook(void* opaque) { return static_cast<const Deadline*>(opaque)->Passed() ? 1 : 0; }

bool Fail(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

// Scales a decoded picture into RGB24 at the thumbnail size.
bool ToRgb(const AVFrame& frame, int width, int height, Thumbnail* out, std::string* error) {
  const auto format = static_cast<AVPixelFormat>(frame.format);
  SwsContextPtr sws(sws_getContext(frame.width, frame.height, format, width, height,
                                   AV_PIX_FMT_RGB24, SWS_BICUBIC, nullptr, nullptr, nullptr));
  if (!sws) return Fail(error, "the picture format cannot be converted");
  out->width = width;
  out->height = height;
  out->rgb.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, 0);
  std::uint8_t* planes[4] = {out->rgb.data(), nullptr, nullptr, nullptr};
  int strides[4] = {width * 3, 0, 0, 0};
  const int rows =
      sws_scale(sws.get(), frame.data, frame.linesize, 0, frame.height, planes, strides);
  if (rows != height) return Fail(error, "the picture could not be scaled");
  return true;
}

}  // namespace

void CThumbnailDecoder::FitSize(int sourceWidth, int sourceHeight, int boxWidth, int boxHeight,
                                int* width, int* height) {
  sourceWidth = std::max(sourceWidth, 1);
  sourceHeight = std::max(sourceHeight, 1);
  boxWidth = std::max(boxWidth, 1);
  boxHeight = std::max(boxHeight, 1);
  if (sourceWidth <= boxWidth && sourceHeight <= boxHeight) {
    *width = sourceWidth;
    *height = sourceHeight;
    return;
  }
  // Compare the shapes in 64-bit integers: width / height against the box's.
  const std::int64_t byWidth = static_cast<std::int64_t>(sourceHeight) * boxWidth;
  const std::int64_t byHeight = static_cast<std::int64_t>(sourceWidth) * boxHeight;
  if (byHeight >= byWidth) {  // wider than the box: full box width
    *width = boxWidth;
    *height = static_cast<int>((byWidth + sourceWidth / 2) / sourceWidth);
  } else {
    *height = boxHeight;
    *width = static_cast<int>((byHeight + sourceHeight / 2) / sourceHeight);
  }
  *width = std::clamp(*width, 1, boxWidth);
  *height = std::clamp(*height, 1, boxHeight);
}

std::optional<Thumbnail> CThumbnailDecoder::FirstKeyFrame(const std::filesystem::path& path,
                                                          int boxWidth, int boxHeight,
                                                          std::string* error,
                                                          const ThumbnailLimits& limits) {
  if (boxWidth <= 0 || boxHeight <= 0) {
    Fail(error, "empty thumbnail box");
    return std::nullopt;
  }
  Deadline deadline{Clock::now() + limits.timeout, limits.cancel};

  AVFormatContext* raw = avformat_alloc_context();
  if (!raw) {
    Fail(error, "out of memory");
    return std::nullopt;
  }
  raw->interrupt_callback.callback = InterruptHook;
  raw->interrupt_callback.opaque = &deadline;
  // Bounded probing: a few MiB and one second of stream are plenty for a
  // dash-camera recording.
  raw->probesize = 8 << 20;
  raw->max_analyze_duration = AV_TIME_BASE;
  if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) {
    // avformat_open_input frees the context on failure.
    Fail(error, deadline.Passed() ? "timed out opening the file" : "not a readable recording");
    return std::nullopt;
  }
  FormatContextPtr format(raw);
  // AVI and MP4 headers name the codec and the picture size; only files whose
  // headers do not are probed further (probing also reads the data streams).
  int stream = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (stream < 0 || format->streams[stream]->codecpar->codec_id == AV_CODEC_ID_NONE ||
      format->streams[stream]->codecpar->width <= 0) {
    if (avformat_find_stream_info(format.get(), nullptr) < 0) {
      Fail(error, "the recording's streams cannot be read");
      return std::nullopt;
    }
    stream = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  }
  if (stream < 0) {
    Fail(error, "the file has no video stream");
    return std::nullopt;
  }
  const AVCodecParameters* params = format->streams[stream]->codecpar;
  if (params->width <= 0 || params->height <= 0 || params->width > limits.maxSourceEdge ||
      params->height > limits.maxSourceEdge) {
    Fail(error, "the video picture size is not usable");
    return std::nullopt;
  }
  const AVCodec* codec = avcodec_find_decoder(params->codec_id);
  if (!codec) {
    Fail(error, "no decoder for the video stream");
    return std::nullopt;
  }
  CodecContextPtr decoder(avcodec_alloc_context3(codec));
  if (!decoder || avcodec_parameters_to_context(decoder.get(), params) < 0) {
    Fail(error, "the video decoder cannot be set up");
    return std::nullopt;
  }
  decoder->thread_count = 1;  // one small picture: no decoder threads
  if (avcodec_open2(decoder.get(), codec, nullptr) < 0) {
    Fail(error, "the video decoder cannot be opened");
    return std::nullopt;
  }
  // Discard the other streams so that reading skips their data quickly.
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    if (static_cast<int>(i) != stream) format->streams[i]->discard = AVDISCARD_ALL;
  }

  PacketPtr packet(av_packet_alloc());
  FramePtr frame(av_frame_alloc());
  if (!packet || !frame) {
    Fail(error, "out of memory");
    return std::nullopt;
  }
  bool keySeen = false;
  bool gotFrame = false;
  bool flushed = false;
  int packets = 0;
  while (!gotFrame && !deadline.Passed()) {
    if (!flushed) {
      const int read = av_read_frame(format.get(), packet.get());
      if (read < 0) {
        if (!keySeen) break;                          // the file ended before any key frame
        avcodec_send_packet(decoder.get(), nullptr);  // drain what is buffered
        flushed = true;
      } else {
        const bool ours = packet->stream_index == stream;
        if (ours && !keySeen && (packet->flags & AV_PKT_FLAG_KEY)) keySeen = true;
        if (ours && keySeen) {
          const int sent = avcodec_send_packet(decoder.get(), packet.get());
          if (sent < 0 && sent != AVERROR(EAGAIN)) {
            // A damaged packet: the next key frame may still decode.
            avcodec_flush_buffers(decoder.get());
            keySeen = false;
          }
        }
        av_packet_unref(packet.get());
        if (++packets > limits.maxPackets) break;
      }
    }
    const int received = avcodec_receive_frame(decoder.get(), frame.get());
    if (received == 0) {
      gotFrame = frame->width > 0 && frame->height > 0 && frame->width <= limits.maxSourceEdge &&
                 frame->height <= limits.maxSourceEdge;
      if (!gotFrame) av_frame_unref(frame.get());
    } else if (flushed && received == AVERROR_EOF) {
      break;
    } else if (flushed && received != AVERROR(EAGAIN)) {
      break;
    }
  }
  if (!gotFrame) {
    Fail(error,
         deadline.Passed() ? "timed out looking for a picture" : "no key frame could be decoded");
    return std::nullopt;
  }
  int width = 0;
  int height = 0;
  FitSize(frame->width, frame->height, boxWidth, boxHeight, &width, &height);
  Thumbnail out;
  if (!ToRgb(*frame, width, height, &out, error)) return std::nullopt;
  return out;
}

}  // namespace lumora
