#include "display/CPictureGrabber.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include "engine/CFFMpegDecoder.h"

namespace lumora {

namespace {

// A picture this little before the asked time still counts as at it.
constexpr double kEarlyTolerance = 0.0005;
constexpr int kMaxPictureSide = 16384;

}  // namespace

bool CPictureGrabber::Open(const std::filesystem::path& path, std::string* error) {
  format_.reset();
  videoStreams_.clear();
  AVFormatContext* raw = nullptr;
  if (avformat_open_input(&raw, path.string().c_str(), nullptr, nullptr) < 0) {
    *error = "cannot read " + path.string();
    return false;
  }
  format_.reset(raw);
  // The driving-data stream has no codec: as a plain data stream it does not
  // keep the probe reading.
  for (unsigned i = 0; i < format_->nb_streams; ++i) {
    AVCodecParameters* p = format_->streams[i]->codecpar;
    if (p->codec_type == AVMEDIA_TYPE_UNKNOWN && p->codec_id == AV_CODEC_ID_NONE)
      p->codec_type = AVMEDIA_TYPE_DATA;
  }
  if (!CFFMpegDecoder::HeadersDescribeStreams(format_.get()) &&
      avformat_find_stream_info(format_.get(), nullptr) < 0) {
    *error = "cannot read the streams of " + path.string();
    format_.reset();
    return false;
  }
  for (unsigned i = 0; i < format_->nb_streams; ++i) {
    if (format_->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
      videoStreams_.push_back(static_cast<int>(i));
  }
  if (videoStreams_.empty()) {
    *error = path.string() + " holds no video";
    format_.reset();
    return false;
  }
  return true;
}

double CPictureGrabber::Duration() const {
  if (!format_) return 0.0;
  if (format_->duration > 0) return static_cast<double>(format_->duration) / AV_TIME_BASE;
  const AVStream* s = format_->streams[videoStreams_.front()];
  return s->duration > 0 ? static_cast<double>(s->duration) * av_q2d(s->time_base) : 0.0;
}

bool CPictureGrabber::Grab(int channel, double seconds, RgbPicture* out, std::string* error) {
  if (!format_ || channel < 0 || channel >= ChannelCount()) {
    *error = "the recording has no channel " + std::to_string(channel);
    return false;
  }
  const double duration = Duration();
  if (seconds < 0.0 || (duration > 0.0 && seconds > duration)) {
    *error = "the time is outside the recording";
    return false;
  }
  const int index = videoStreams_[static_cast<std::size_t>(channel)];
  AVStream* stream = format_->streams[index];
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  CodecContextPtr context(codec ? avcodec_alloc_context3(codec) : nullptr);
  if (!context || avcodec_parameters_to_context(context.get(), stream->codecpar) < 0 ||
      avcodec_open2(context.get(), codec, nullptr) < 0) {
    *error = "cannot decode the pictures of channel " + std::to_string(channel);
    return false;
  }
  for (unsigned i = 0; i < format_->nb_streams; ++i)
    format_->streams[i]->discard = static_cast<int>(i) == index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;

  // Times count from the start of the file, as ffmpeg's -ss does.
  const double fileStart = format_->start_time == AV_NOPTS_VALUE
                               ? 0.0
                               : static_cast<double>(format_->start_time) / AV_TIME_BASE;
  const std::int64_t target =
      static_cast<std::int64_t>((fileStart + seconds) / av_q2d(stream->time_base));
  // Backward: the key frame at or before the target.
  if (avformat_seek_file(format_.get(), index, INT64_MIN, target, target, 0) < 0)
    avformat_seek_file(format_.get(), index, INT64_MIN, 0, 0, 0);

  PacketPtr packet(av_packet_alloc());
  FramePtr frame(av_frame_alloc());
  bool draining = false;
  while (packet && frame) {
    if (!draining) {
      const int read = av_read_frame(format_.get(), packet.get());
      if (read < 0) {
        draining = true;
        avcodec_send_packet(context.get(), nullptr);
      } else {
        if (packet->stream_index == index) avcodec_send_packet(context.get(), packet.get());
        av_packet_unref(packet.get());
      }
    }
    int got = 0;
    while ((got = avcodec_receive_frame(context.get(), frame.get())) >= 0) {
      const std::int64_t stamp = frame->best_effort_timestamp;
      const double time =
          stamp == AV_NOPTS_VALUE ? 0.0 : stamp * av_q2d(stream->time_base) - fileStart;
      if (time >= seconds - kEarlyTolerance) {
        const bool converted = ToRgb(frame.get(), out);
        if (!converted) *error = "cannot convert the picture";
        return converted;
      }
      av_frame_unref(frame.get());
    }
    if (draining && got == AVERROR_EOF) break;
  }
  *error = "no picture at that time";
  return false;
}

bool CPictureGrabber::ToRgb(const AVFrame* frame, RgbPicture* out) {
  const int w = frame->width;
  const int h = frame->height;
  if (w <= 0 || h <= 0 || w > kMaxPictureSide || h > kMaxPictureSide) return false;
  const auto format = static_cast<AVPixelFormat>(frame->format);
  SwsContextPtr scaler(
      sws_getContext(w, h, format, w, h, AV_PIX_FMT_RGB24, SWS_BICUBIC, nullptr, nullptr, nullptr));
  if (!scaler) return false;
  // The stream's own matrix and range, as ffmpeg's scale filter takes them.
  const int space = frame->colorspace == AVCOL_SPC_UNSPECIFIED ? SWS_CS_DEFAULT : frame->colorspace;
  const bool fullRange = frame->color_range == AVCOL_RANGE_JPEG || format == AV_PIX_FMT_YUVJ420P ||
                         format == AV_PIX_FMT_YUVJ422P || format == AV_PIX_FMT_YUVJ444P;
  const int* table = sws_getCoefficients(space);
  sws_setColorspaceDetails(scaler.get(), table, fullRange ? 1 : 0,
                           sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
  out->width = w;
  out->height = h;
  out->rgb.assign(static_cast<std::size_t>(w) * h * 3, 0);
  std::uint8_t* planes[4] = {out->rgb.data(), nullptr, nullptr, nullptr};
  const int strides[4] = {w * 3, 0, 0, 0};
  sws_scale(scaler.get(), frame->data, frame->linesize, 0, h, planes, strides);
  return true;
}

}  // namespace lumora
