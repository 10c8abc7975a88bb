#include "engine/CFFMpegDecoder.h"

#include "engine/PictureBufferPool.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace lumora {

namespace {

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::chrono::microseconds Ms(int ms) { return std::chrono::milliseconds(ms); }

double ToSeconds(std::int64_t ticks, AVRational timeBase) {
  return static_cast<double>(ticks) * av_q2d(timeBase);
}

// Pictures wider or taller than this are refused rather than allocated.
constexpr int kMaxPictureSide = 16384;
// A picture this little before a seek target still counts as at the target.
constexpr double kEarlyTolerance = 0.0005;

}  // namespace

CFFMpegDecoder::SeekWindow CFFMpegDecoder::ComputeSeekWindow(double seconds, AVRational timeBase,
                                                             std::int64_t duration) {
  SeekWindow w;
  std::int64_t micros = static_cast<std::int64_t>((seconds - kSeekLeadIn) * 1000000.0);
  if (micros < 0) micros = 0;
  w.target = av_rescale_q(micros, AVRational{1, AV_TIME_BASE}, timeBase);
  if (duration > 0 && w.target > duration - 1) w.target = duration - 1;
  if (w.target < 0) w.target = 0;
  w.min = std::max<std::int64_t>(0, w.target - kSeekWindowTicks);
  w.max = w.target + kSeekWindowTicks;
  if (duration > 0 && w.max > duration - 1) w.max = duration - 1;
  if (w.max < w.target) w.max = w.target;
  return w;
}

int CFFMpegDecoder::VideoPoolSlots(int width, int height) {
  const double pictureBytes = 1.5 * std::max(1, width) * std::max(1, height);
  const int fit = static_cast<int>(kVideoPoolBytes / pictureBytes);
  return std::clamp(fit, kMinVideoPoolSlots, kPoolSlots);
}

bool CFFMpegDecoder::HeadersDescribeStreams(const AVFormatContext* format) {
  bool anyVideo = false;
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    const AVCodecParameters* p = format->streams[i]->codecpar;
    if (p->codec_type == AVMEDIA_TYPE_VIDEO) {
      if (p->codec_id == AV_CODEC_ID_NONE || p->width <= 0 || p->height <= 0) return false;
      anyVideo = true;
    } else if (p->codec_type == AVMEDIA_TYPE_AUDIO) {
      if (p->codec_id == AV_CODEC_ID_NONE || p->sample_rate <= 0 || p->ch_layout.nb_channels <= 0)
        return false;
    }
  }
  return anyVideo;
}

CFFMpegDecoder::~CFFMpegDecoder() {
  Close();
  av_channel_layout_uninit(&m_audioLayout);
}

int CFFMpegDecoder::Init(int channelIndex, const std::filesystem::path& path) {
  m_nChannelIndex = channelIndex;
  std::fill(std::begin(m_nStreamIndex), std::end(m_nStreamIndex), -1);
  if (path.empty()) return -1;
  m_strPath = path.string();
  return 0;
}

void CFFMpegDecoder::Uninit() { m_strPath.clear(); }

int CFFMpegDecoder::Open() {
  Close();
  if (m_strPath.empty()) return -1;
  AVFormatContext* raw = nullptr;
  if (avformat_open_input(&raw, m_strPath.c_str(), nullptr, nullptr) < 0) {
    Close();
    return -1;
  }
  m_pFormat.reset(raw);
  // The camera's driving-data stream has no codec. Left as of unknown type,
  // the stream probe keeps reading in hope of finding one, up to 5 MB of the
  // file (several seconds of a recording) for every decoder that opens it;
  // as a plain data stream it needs no parameters and the probe stops once
  // the pictures and sound are known.
  for (unsigned i = 0; i < m_pFormat->nb_streams; ++i) {
    AVCodecParameters* parameters = m_pFormat->streams[i]->codecpar;
    if (parameters->codec_type == AVMEDIA_TYPE_UNKNOWN && parameters->codec_id == AV_CODEC_ID_NONE)
      parameters->codec_type = AVMEDIA_TYPE_DATA;
  }
  // AVI and MP4 headers name the codecs, the picture sizes and the sound
  // format; only files whose headers leave one out are probed further (the
  // probe decodes the first pictures of every stream with codecs of its own,
  // which cost as much as the first pictures of playback itself).
  if (!HeadersDescribeStreams(m_pFormat.get()) &&
      avformat_find_stream_info(m_pFormat.get(), nullptr) < 0) {
    Close();
    return -1;
  }
  av_format_inject_global_side_data(m_pFormat.get());

  int wanted = -1;
  int ordinal = 0;
  for (unsigned i = 0; i < m_pFormat->nb_streams; ++i) {
    if (m_pFormat->streams[i]->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) continue;
    if (ordinal++ == m_nChannelIndex) wanted = static_cast<int>(i);
  }
  const int video =
      av_find_best_stream(m_pFormat.get(), AVMEDIA_TYPE_VIDEO, wanted, -1, nullptr, 0);
  if (video < 0) {
    Close();
    return -1;
  }
  const int audio = av_find_best_stream(m_pFormat.get(), AVMEDIA_TYPE_AUDIO, -1, video, nullptr, 0);

  bool audioOpened = false;
  if (audio >= 0 && m_nChannelIndex == kAudioChannelIndex && OpenComponent(audio) == 0) {
    audioOpened = true;
    m_nGraphStatus = BuildAudioFilter();
  }
  const int result = OpenComponent(video);
  if (result != 0) {
    Close();
    return result;
  }
  m_nAudioState = audioOpened ? 0 : -1;
  m_dDeliverFrom = 0.0;
  m_decodeTimes.clear();
  m_bVideoFlushSent = false;
  m_bVideoDrained = false;
  m_nVideoInputEnded = 0;
  m_nDecodeState = 0;
  return 0;
}

int CFFMpegDecoder::OpenComponent(int streamIndex) {
  if (!m_pFormat || streamIndex < 0 || streamIndex >= static_cast<int>(m_pFormat->nb_streams))
    return -1;
  AVStream* stream = m_pFormat->streams[streamIndex];
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  if (codec == nullptr) return -1;
  CodecContextPtr context(avcodec_alloc_context3(codec));
  if (!context || avcodec_parameters_to_context(context.get(), stream->codecpar) < 0) return -1;
  context->pkt_timebase = stream->time_base;
  const bool isVideo = context->codec_type == AVMEDIA_TYPE_VIDEO;
  if (isVideo) {
    context->flags2 |= AV_CODEC_FLAG2_FAST;
    context->get_buffer2 = PictureBufferPool::GetBuffer;
    // One thread per channel decodes (the channels run side by side); frame
    // threading is not asked for, which also keeps the library from warning
    // that the buffer callback might not be thread-safe (it is).
    context->thread_count = 1;
    context->thread_type = FF_THREAD_SLICE;
  }
  if (avcodec_open2(context.get(), codec, nullptr) < 0) return -1;
  stream->discard = AVDISCARD_DEFAULT;

  const double timeBase = av_q2d(stream->time_base);
  if (isVideo) {
    m_nStreamIndex[0] = streamIndex;
    m_pVideoStream = stream;
    m_videoQueue.Init(PacketQueue::kModeDuration, kQueueMaxCount, kQueueLimitSeconds, timeBase);
    m_videoQueue.Flush();
    m_nDecodeState = 0;
    m_nWidth = context->width;
    m_nHeight = context->height;
    m_videoPool.Init(kDecKindVideo, VideoPoolSlots(context->width, context->height));
    m_videoPool.SetWakeSignals(nullptr, &m_decodeWake);
    m_pVideoCodec = std::move(context);
  } else if (context->codec_type == AVMEDIA_TYPE_AUDIO) {
    m_nStreamIndex[1] = streamIndex;
    m_nAudioSampleRate = context->sample_rate;
    m_nAudioChannels = context->ch_layout.nb_channels;
    av_channel_layout_uninit(&m_audioLayout);
    if (av_channel_layout_copy(&m_audioLayout, &context->ch_layout) < 0) return -1;
    m_pAudioStream = stream;
    m_audioQueue.Init(PacketQueue::kModeDuration, kQueueMaxCount, kQueueLimitSeconds, timeBase);
    m_audioQueue.Flush();
    m_audioPool.Init(kDecKindAudio, kPoolSlots);
    m_audioPool.SetWakeSignals(nullptr, &m_decodeWake);
    m_pAudioCodec = std::move(context);
  } else {
    return -1;
  }
  return 0;
}

void CFFMpegDecoder::CloseComponent(int streamIndex) {
  if (!m_pFormat || streamIndex < 0 || streamIndex >= static_cast<int>(m_pFormat->nb_streams))
    return;
  m_pFormat->streams[streamIndex]->discard = AVDISCARD_ALL;
  if (streamIndex == m_nStreamIndex[0]) {
    m_videoQueue.Flush();
    m_videoPool.Free();
    m_nDecodeState = -1;
    m_pVideoStream = nullptr;
    m_nStreamIndex[0] = -1;
    m_pVideoCodec.reset();
    m_pScaler.reset();
    m_nScalerFormat = -1;
  } else if (streamIndex == m_nStreamIndex[1]) {
    m_audioQueue.Flush();
    m_audioPool.Free();
    m_pAudioStream = nullptr;
    m_nStreamIndex[1] = -1;
    m_nAudioState = -1;
    m_pAudioCodec.reset();
  }
}

void CFFMpegDecoder::Close() {
  Stop();
  CloseComponent(m_nStreamIndex[1]);
  CloseComponent(m_nStreamIndex[0]);
  FreeAudioFilter();
  m_pFormat.reset();
}

int CFFMpegDecoder::BuildAudioFilter() {
  FreeAudioFilter();
  FilterGraphPtr graph(avfilter_graph_alloc());
  if (!graph || !m_pAudioCodec) return -1;
  AVCodecContext* codec = m_pAudioCodec.get();

  AVChannelLayout layout{};
  if (codec->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || codec->ch_layout.nb_channels <= 0)
    av_channel_layout_default(&layout, std::max(1, codec->ch_layout.nb_channels));
  else if (av_channel_layout_copy(&layout, &codec->ch_layout) < 0)
    return -1;
  char layoutText[128] = {};
  const int described = av_channel_layout_describe(&layout, layoutText, sizeof layoutText);
  av_channel_layout_uninit(&layout);
  const char* sampleFormat = av_get_sample_fmt_name(codec->sample_fmt);
  if (described < 0 || sampleFormat == nullptr || codec->sample_rate <= 0) return -1;

  AVFilterContext* src =
      avfilter_graph_alloc_filter(graph.get(), avfilter_get_by_name("abuffer"), "src");
  if (src == nullptr) return -1;
  char rate[32];
  std::snprintf(rate, sizeof rate, "%d", codec->sample_rate);
  char timeBase[48];
  std::snprintf(timeBase, sizeof timeBase, "1/%d", codec->sample_rate);
  if (av_opt_set(src, "channel_layout", layoutText, AV_OPT_SEARCH_CHILDREN) < 0 ||
      av_opt_set(src, "sample_fmt", sampleFormat, AV_OPT_SEARCH_CHILDREN) < 0 ||
      av_opt_set(src, "time_base", timeBase, AV_OPT_SEARCH_CHILDREN) < 0 ||
      av_opt_set(src, "sample_rate", rate, AV_OPT_SEARCH_CHILDREN) < 0 ||
      avfilter_init_str(src, nullptr) < 0)
    return -1;

  AVFilterContext* volume =
      avfilter_graph_alloc_filter(graph.get(), avfilter_get_by_name("volume"), "volume");
  char gain[32];
  std::snprintf(gain, sizeof gain, "%3.3f", m_dVolume);
  AVDictionary* options = nullptr;
  av_dict_set(&options, "volume", gain, 0);
  const int volumeResult = volume ? avfilter_init_dict(volume, &options) : -1;
  av_dict_free(&options);
  if (volumeResult < 0) return -1;

  AVFilterContext* format =
      avfilter_graph_alloc_filter(graph.get(), avfilter_get_by_name("aformat"), "aformat");
  char formatArgs[128];
  std::snprintf(formatArgs, sizeof formatArgs,
                "sample_fmts=%s:sample_rates=%d:channel_layouts=mono",
                av_get_sample_fmt_name(AV_SAMPLE_FMT_S16), codec->sample_rate);
  if (format == nullptr || avfilter_init_str(format, formatArgs) < 0) return -1;

  AVFilterContext* sink =
      avfilter_graph_alloc_filter(graph.get(), avfilter_get_by_name("abuffersink"), "sink");
  if (sink == nullptr || avfilter_init_str(sink, nullptr) < 0) return -1;

  if (avfilter_link(src, 0, volume, 0) < 0 || avfilter_link(volume, 0, format, 0) < 0 ||
      avfilter_link(format, 0, sink, 0) < 0 || avfilter_graph_config(graph.get(), nullptr) < 0)
    return -1;
  m_pGraph = std::move(graph);
  m_pBufferSrc = src;
  m_pBufferSink = sink;
  return 0;
}

void CFFMpegDecoder::FreeAudioFilter() {
  m_pGraph.reset();
  m_pBufferSrc = nullptr;
  m_pBufferSink = nullptr;
  m_nGraphStatus = -1;
}

double CFFMpegDecoder::GetDuration() {
  if (m_pVideoStream == nullptr) return 0.0;
  if (m_pVideoStream->duration > 0)
    return ToSeconds(m_pVideoStream->duration, m_pVideoStream->time_base);
  if (m_pFormat && m_pFormat->duration > 0)
    return static_cast<double>(m_pFormat->duration) / AV_TIME_BASE;
  return 0.0;
}

int CFFMpegDecoder::Start() {
  if (!m_pFormat || m_pVideoStream == nullptr) return -1;
  if (m_demuxThread.joinable() || m_decodeThread.joinable()) return 0;
  m_bDemuxRun = true;
  m_demuxThread = std::thread(&CFFMpegDecoder::DemuxLoop, this);
  m_bDecodeRun = true;
  m_decodeThread = std::thread(&CFFMpegDecoder::DecodeLoop, this);
  return 0;
}

void CFFMpegDecoder::Stop() {
  m_bDecodeRun = false;
  m_decodeWake.Notify();
  if (m_decodeThread.joinable()) m_decodeThread.join();
  m_bDemuxRun = false;
  m_demuxWake.Notify();
  if (m_demuxThread.joinable()) m_demuxThread.join();
}

void CFFMpegDecoder::Seek(double seconds) {
  m_dSeekTarget = seconds;
  m_nSeekHold = 1;
  m_nSeekRequest = 1;
  m_decodeWake.Notify();
  m_demuxWake.Notify();
}

int CFFMpegDecoder::IsSeeking() { return m_nSeekRequest.load(); }

void CFFMpegDecoder::SetVolume(double gain) { m_dVolume = gain; }

// ---- demultiplexing thread ----

void CFFMpegDecoder::DemuxLoop() {
  PacketPtr packet(av_packet_alloc());
  if (!packet) return;
  bool waitForKey = true;
  while (m_bDemuxRun) {
    if (m_nSeekRequest) {
      if (m_nSeekHold) {
        m_demuxWake.WaitFor(Ms(1));
        continue;
      }
      if (!TrySeek(&waitForKey)) {
        // A seek that fails is retried, but not in a tight loop.
        SleepMs(5);
        continue;
      }
    }
    if (!HasRoom()) {
      m_demuxWake.WaitFor(Ms(5));
      continue;
    }
    const int read = av_read_frame(m_pFormat.get(), packet.get());
    if (read == AVERROR(EAGAIN)) {
      SleepMs(1);
      continue;
    }
    if (read < 0) {
      // End of file, and also a file that broke or vanished: either way no
      // more input will come, so playback can run out instead of spinning.
      if (m_nAudioState != -1) m_nAudioState = 1;
      m_nVideoInputEnded = 1;
      m_decodeWake.Notify();
      m_demuxWake.WaitFor(Ms(33));
      continue;
    }
    RoutePacket(packet.get(), &waitForKey);
    av_packet_unref(packet.get());
    m_decodeWake.Notify();
    std::this_thread::yield();
  }
}

bool CFFMpegDecoder::TrySeek(bool* waitForKey) {
  m_nVideoInputEnded = 0;
  if (m_nAudioState != -1) m_nAudioState = 0;
  // The decoding thread emptied the queues when it acknowledged the request;
  // whatever this thread put in since was read at the old place.
  m_videoQueue.Flush();
  m_audioQueue.Flush();
  SeekWindow w =
      ComputeSeekWindow(m_dSeekTarget, m_pVideoStream->time_base, m_pVideoStream->duration);
  // With an index, reading starts at the last key frame at or before the
  // target: never further back than the lead-in window (which lands on a key
  // frame at or after its own start), often a second or more closer, and
  // every picture decoded before the target is decoded only to be dropped.
  const std::int64_t key = KeyFrameBefore(m_dSeekTarget);
  if (key != AV_NOPTS_VALUE && key >= w.min) w.min = w.target = w.max = key;
  if (avformat_seek_file(m_pFormat.get(), m_nStreamIndex[0], w.min, w.target, w.max, 0) < 0)
    return false;
  m_nSeekRequest = 0;
  *waitForKey = true;
  m_decodeWake.Notify();
  return true;
}

std::int64_t CFFMpegDecoder::KeyFrameBefore(double seconds) const {
  const AVStream* stream = m_pVideoStream;
  if (stream == nullptr || seconds < 0.0 || !m_pFormat) return AV_NOPTS_VALUE;
  const std::int64_t start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
  // Index times are decoding times; a picture is shown up to the codec's
  // reordering delay after it is decoded, so the key frame is looked for
  // that much earlier.
  const std::int64_t target = start +
                              av_rescale_q(static_cast<std::int64_t>(seconds * 1000000.0),
                                           AVRational{1, AV_TIME_BASE}, stream->time_base) -
                              std::max(0, stream->codecpar->video_delay);
  // Called on the demultiplexing thread, the one that reads (and may add to)
  // the index.
  const int found = av_index_search_timestamp(m_pVideoStream, target, AVSEEK_FLAG_BACKWARD);
  if (found < 0) return AV_NOPTS_VALUE;
  const AVIndexEntry* entry = avformat_index_get_entry(m_pVideoStream, found);
  if (entry == nullptr || (entry->flags & AVINDEX_KEYFRAME) == 0 || entry->timestamp > target)
    return AV_NOPTS_VALUE;
  return entry->timestamp;
}

bool CFFMpegDecoder::HasRoom() {
  const bool videoFull = m_videoQueue.Fullness() == 1;
  if (m_pAudioStream == nullptr) return !videoFull;
  // Sound and pictures may be interleaved loosely, so reading stops only when
  // both queues are full, or when the pictures are full and no sound will
  // come any more (else a recording whose sound ends early would be read
  // into memory whole).
  const bool audioFull = m_audioQueue.Fullness() == 1 || m_nAudioState == 1;
  return !(videoFull && audioFull);
}

void CFFMpegDecoder::RoutePacket(AVPacket* packet, bool* waitForKey) {
  if (packet->stream_index == m_nStreamIndex[0] && m_pVideoStream != nullptr) {
    if (*waitForKey) {
      if ((packet->flags & AV_PKT_FLAG_KEY) == 0) return;
      *waitForKey = false;
    }
    const std::int64_t duration = m_pVideoStream->duration;
    const std::int64_t start =
        m_pVideoStream->start_time == AV_NOPTS_VALUE ? 0 : m_pVideoStream->start_time;
    if (duration > 0 && packet->dts != AV_NOPTS_VALUE && packet->dts - start >= duration) {
      m_nVideoInputEnded = 1;
      return;
    }
    m_videoQueue.PutMoved(packet);
  } else if (packet->stream_index == m_nStreamIndex[1] && m_pAudioStream != nullptr) {
    // The stream's own length (in the same ticks as dts) marks its end; a
    // stream of unknown length runs until the file ends.
    const std::int64_t duration = m_pAudioStream->duration;
    if (duration > 0 && packet->dts != AV_NOPTS_VALUE && packet->dts >= duration) {
      m_nAudioState = 1;
      return;
    }
    m_audioQueue.PutMoved(packet);
  }
}

// ---- decoding thread ----

void CFFMpegDecoder::DecodeLoop() {
  FramePtr frame(av_frame_alloc());
  FramePtr filtered(av_frame_alloc());
  if (!frame || !filtered) return;
  while (m_bDecodeRun) {
    if (m_nSeekHold) {
      AcknowledgeSeek();
      continue;
    }
    // Until the demultiplexer has moved to the new place, what waits in the
    // queues is from the old one.
    if (m_nSeekRequest) {
      m_decodeWake.WaitFor(Ms(1));
      continue;
    }
    if (m_nVideoInputEnded && m_nDecodeState == 0 && m_bVideoDrained && m_videoQueue.Count() == 0)
      m_nDecodeState = 2;

    std::int64_t audioDts = 0;
    const bool hasAudio =
        m_pAudioStream != nullptr && m_audioPool.Fullness() != 1 && m_audioQueue.PeekDts(&audioDts);
    // Sound goes first whenever its pool has room: a sound block costs next
    // to nothing to decode, and the player starts (and restarts after a
    // seek) only once ten blocks are waiting, so taking the packets in time
    // order would make it wait until a second of pictures (at most a full
    // pool) had been decoded. The sound pool's 20 slots bound how far sound
    // runs ahead of the pictures.
    if (hasAudio) {
      PacketPtr packet = m_audioQueue.Get();
      m_demuxWake.Notify();
      if (packet) DecodeAudioPacket(packet.get(), frame.get(), filtered.get());
      continue;
    }
    if (m_pVideoStream == nullptr || m_videoPool.Fullness() == 1 || !StepVideo(frame.get()))
      m_decodeWake.WaitFor(Ms(1));
  }
}

bool CFFMpegDecoder::StepVideo(AVFrame* frame) {
  AVCodecContext* codec = m_pVideoCodec.get();
  // Pictures the codec holds come out first; one at a time, since each needs
  // a free slot.
  const int received = avcodec_receive_frame(codec, frame);
  if (received >= 0) {
    DeliverPicture(frame, PictureTime(frame));
    av_frame_unref(frame);
    return true;
  }
  if (received == AVERROR_EOF) {
    m_bVideoDrained = true;
    return false;
  }
  if (PacketPtr packet = m_videoQueue.Get()) {
    m_demuxWake.Notify();
    if (avcodec_send_packet(codec, packet.get()) >= 0) m_decodeTimes.push_back(packet->dts);
    return true;
  }
  // At the end of the input the codec gives up the pictures it holds back
  // for reordering.
  if (m_nVideoInputEnded && !m_bVideoFlushSent) {
    m_bVideoFlushSent = true;
    avcodec_send_packet(codec, nullptr);
    return true;
  }
  return false;
}

double CFFMpegDecoder::PictureTime(const AVFrame* frame) {
  const AVRational timeBase = m_pVideoStream->time_base;
  // Pictures leave the codec in presentation order; a container without
  // presentation times (AVI) stores pictures in decoding order with one
  // decoding time each, so the n-th picture out is shown at the n-th
  // decoding time in. Entries of packets that made no picture would shift
  // the rest: no more than the codec's reordering delay plus one are kept.
  const std::size_t held = static_cast<std::size_t>(std::max(0, m_pVideoCodec->has_b_frames)) + 1;
  while (m_decodeTimes.size() > held && !m_bVideoFlushSent) m_decodeTimes.pop_front();
  std::int64_t ticks = frame->pts;
  if (!m_decodeTimes.empty()) {
    if (ticks == AV_NOPTS_VALUE) ticks = m_decodeTimes.front();
    m_decodeTimes.pop_front();
  }
  if (ticks == AV_NOPTS_VALUE) ticks = frame->best_effort_timestamp;
  return ticks == AV_NOPTS_VALUE ? 0.0 : ToSeconds(ticks, timeBase);
}

void CFFMpegDecoder::AcknowledgeSeek() {
  m_videoQueue.Flush();
  m_audioQueue.Flush();
  m_dDeliverFrom = m_dSeekTarget;
  m_nDroppedSinceSeek = 0;
  if (m_pVideoCodec) avcodec_flush_buffers(m_pVideoCodec.get());
  m_decodeTimes.clear();
  m_bVideoFlushSent = false;
  m_bVideoDrained = false;
  if (m_pAudioCodec) avcodec_flush_buffers(m_pAudioCodec.get());
  // Emptied here, on the thread that fills them: nothing of the old place
  // can be committed after this, and nothing of the new place came yet.
  m_videoPool.Clear();
  m_audioPool.Clear();
  m_nSeekHold = 0;
  m_nDecodeState = 0;
  m_demuxWake.Notify();
}

void CFFMpegDecoder::DecodeAudioPacket(AVPacket* packet, AVFrame* frame, AVFrame* filtered) {
  DecInfo* slot = m_audioPool.GetFreeSlot();
  if (slot == nullptr) return;
  slot->dTime =
      packet->dts == AV_NOPTS_VALUE ? 0.0 : ToSeconds(packet->dts, m_pAudioStream->time_base);

  // Every sample the packet yields goes into one block.
  std::vector<std::uint8_t> samples;
  if (avcodec_send_packet(m_pAudioCodec.get(), packet) >= 0) {
    while (avcodec_receive_frame(m_pAudioCodec.get(), frame) >= 0) {
      if (m_nGraphStatus == 0 &&
          av_buffersrc_add_frame_flags(m_pBufferSrc, frame, AV_BUFFERSRC_FLAG_KEEP_REF) >= 0) {
        while (av_buffersink_get_frame(m_pBufferSink, filtered) >= 0) {
          const std::size_t bytes = static_cast<std::size_t>(filtered->nb_samples) * 2;
          const std::uint8_t* from = filtered->data[0];
          samples.insert(samples.end(), from, from + bytes);
          av_frame_unref(filtered);
        }
      }
      av_frame_unref(frame);
    }
  }
  const auto bytes = static_cast<std::int32_t>(samples.size());
  if (!slot->Reserve(std::max<std::int32_t>(bytes, 1))) return;
  if (bytes > 0) std::memcpy(slot->pBuffer.get(), samples.data(), samples.size());
  slot->data[0] = slot->pBuffer.get();
  slot->size[0] = bytes;
  slot->nChannels = 1;
  slot->nBitsPerSample = 16;
  slot->nSampleRate = m_nAudioSampleRate;
  if (m_nSeekHold) return;
  m_audioPool.Commit(slot);
}

void CFFMpegDecoder::DeliverPicture(AVFrame* frame, double time) {
  const int width = frame->width;
  const int height = frame->height;
  if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide) return;
  if (time < m_dDeliverFrom - kEarlyTolerance) {
    ++m_nDroppedSinceSeek;
    return;
  }
  DecInfo* slot = m_videoPool.GetFreeSlot();
  // A seek asked for since this picture's packet was taken: it belongs to
  // the old place (the player clears the pools after asking).
  if (slot == nullptr || m_nSeekHold) return;
  m_nWidth = width;
  m_nHeight = height;
  std::uint8_t* planes[4] = {};
  int strides[4] = {};

  const auto format = static_cast<AVPixelFormat>(frame->format);
  if ((format == AV_PIX_FMT_YUV420P || format == AV_PIX_FMT_YUVJ420P) && frame->buf[0] != nullptr) {
    // Already in the wanted layout: the slot takes the codec's picture over
    // instead of copying its planes (3 MB for a 1080p picture, a fifth of
    // the cost of decoding it).
    if (!slot->pFrame) slot->pFrame.reset(av_frame_alloc());
    if (!slot->pFrame) return;
    av_frame_unref(slot->pFrame.get());
    av_frame_move_ref(slot->pFrame.get(), frame);
    for (int i = 0; i < 3; ++i) {
      planes[i] = slot->pFrame->data[i];
      strides[i] = slot->pFrame->linesize[i];
    }
  } else if (!ConvertPicture(frame, slot, planes, strides)) {
    return;
  }
  for (int i = 0; i < 8; ++i) {
    slot->data[i] = i < 3 ? planes[i] : nullptr;
    slot->size[i] = i < 3 ? strides[i] : 0;
  }
  slot->dTime = time;
  slot->nPixelFormat = AV_PIX_FMT_YUV420P;
  slot->nWidth = width;
  slot->nHeight = height;
  slot->nChannel = m_nChannelIndex;
  m_videoPool.Commit(slot);
}

bool CFFMpegDecoder::ConvertPicture(const AVFrame* frame, DecInfo* slot, std::uint8_t* planes[4],
                                    int strides[4]) {
  const int width = frame->width;
  const int height = frame->height;
  constexpr int kAlign = 32;
  const int needed = av_image_get_buffer_size(AV_PIX_FMT_YUV420P, width, height, kAlign);
  if (needed < 0 || !slot->Reserve(std::max(needed, width * height * 4))) return false;
  if (av_image_fill_arrays(planes, strides, slot->pBuffer.get(), AV_PIX_FMT_YUV420P, width, height,
                           kAlign) < 0)
    return false;
  const auto format = static_cast<AVPixelFormat>(frame->format);
  if (format == AV_PIX_FMT_YUV420P || format == AV_PIX_FMT_YUVJ420P) {
    av_image_copy(planes, strides, const_cast<const std::uint8_t**>(frame->data), frame->linesize,
                  AV_PIX_FMT_YUV420P, width, height);
    return true;
  }
  if (!m_pScaler || m_nScalerWidth != width || m_nScalerHeight != height ||
      m_nScalerFormat != format) {
    m_pScaler.reset(sws_getContext(width, height, format, width, height, AV_PIX_FMT_YUV420P,
                                   SWS_BICUBIC, nullptr, nullptr, nullptr));
    m_nScalerWidth = width;
    m_nScalerHeight = height;
    m_nScalerFormat = format;
  }
  if (!m_pScaler) return false;
  sws_scale(m_pScaler.get(), frame->data, frame->linesize, 0, height, planes, strides);
  return true;
}

}  // namespace lumora
