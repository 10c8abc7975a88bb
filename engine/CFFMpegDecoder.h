#pragma once
// Decodes one camera channel of a recording with the FFmpeg libraries: a
// demultiplexing thread fills two packet queues, a decoding thread turns the
// packets into YUV 4:2:0 pictures and mono 16-bit sound blocks in two pools.

#include <atomic>
#include <cstdint>
#include <deque>
#include <string>
#include <thread>

#include "engine/FFmpegHandles.h"
#include "engine/FramePool.h"
#include "engine/IDecoder.h"
#include "engine/PacketQueue.h"
#include "engine/WakeSignal.h"

namespace lumora {

class CFFMpegDecoder : public IDecoder {
 public:
  static constexpr int kPoolSlots = 20;
  // Pictures waiting to be shown are held to about this many bytes per
  // channel (20 pictures of 1080p would be 60 MB), but never fewer than the
  // player's five to start on plus a few to play on.
  static constexpr double kVideoPoolBytes = 24.0 * 1024 * 1024;
  static constexpr int kMinVideoPoolSlots = 8;
  static int VideoPoolSlots(int width, int height);
  static constexpr int kQueueMaxCount = 20;
  static constexpr double kQueueLimitSeconds = 1.0;
  static constexpr double kSeekLeadIn = 1.5;
  static constexpr std::int64_t kSeekWindowTicks = 15;
  static constexpr int kAudioChannelIndex = 0;

  // Where the demultiplexer seeks for a request of `seconds`, in ticks of the
  // video stream's time base: 1.5 s early, never before 0 and never past the
  // last tick of a stream of `duration` ticks (0 or less: unknown).
  struct SeekWindow {
    std::int64_t min = 0;
    std::int64_t target = 0;
    std::int64_t max = 0;
  };
  static SeekWindow ComputeSeekWindow(double seconds, AVRational timeBase, std::int64_t duration);

  // True when the container's headers give codec, picture size and sound
  // format of every picture and sound stream (and there is a picture
  // stream), so that the streams need not be probed by decoding.
  static bool HeadersDescribeStreams(const AVFormatContext* format);

  CFFMpegDecoder() = default;
  CFFMpegDecoder(const CFFMpegDecoder&) = delete;
  CFFMpegDecoder& operator=(const CFFMpegDecoder&) = delete;

  int Init(int channelIndex, const std::filesystem::path& path) override;
  void Uninit() override;
  int Open() override;
  void Close() override;
  double GetDuration() override;
  int Start() override;
  void Stop() override;
  void Seek(double seconds) override;
  int IsSeeking() override;
  void SetVolume(double gain) override;
  ~CFFMpegDecoder() override;

  FramePool* VideoPool() override { return &m_videoPool; }
  FramePool* AudioPool() override { return &m_audioPool; }
  int VideoInputEnded() override { return m_nVideoInputEnded.load(); }
  int DecodeState() override { return m_nDecodeState.load(); }
  int AudioState() override { return m_nAudioState.load(); }
  int PendingAudioPackets() override { return m_audioQueue.Count(); }

  int ChannelIndex() const { return m_nChannelIndex; }
  int VideoStreamIndex() const { return m_nStreamIndex[0]; }
  int AudioStreamIndex() const { return m_nStreamIndex[1]; }
  int Width() const { return m_nWidth.load(); }
  int Height() const { return m_nHeight.load(); }
  int AudioSampleRate() const { return m_nAudioSampleRate; }
  int AudioChannelCount() const { return m_nAudioChannels; }
  int FilterStatus() const { return m_nGraphStatus; }
  double Volume() const { return m_dVolume; }
  // Pictures decoded since the last seek only because later ones depend on
  // them (they precede the seek target): the cost of reaching the target.
  int DroppedSinceSeek() const { return m_nDroppedSinceSeek.load(); }

 private:
  int OpenComponent(int streamIndex);
  void CloseComponent(int streamIndex);
  int BuildAudioFilter();
  void FreeAudioFilter();

  void DemuxLoop();
  bool TrySeek(bool* waitForKey);
  // Decoding time (video stream ticks) of the last indexed key frame whose
  // picture is not after `seconds`, or AV_NOPTS_VALUE when the index has none.
  std::int64_t KeyFrameBefore(double seconds) const;
  bool HasRoom();
  void RoutePacket(AVPacket* packet, bool* waitForKey);
  void DecodeLoop();
  void AcknowledgeSeek();
  void DecodeAudioPacket(AVPacket* packet, AVFrame* frame, AVFrame* filtered);
  // One step of the video codec: a picture out, a packet in or, at the end
  // of the input, the request for the pictures still held; false when there
  // was nothing to do.
  bool StepVideo(AVFrame* frame);
  double PictureTime(const AVFrame* frame);
  void DeliverPicture(AVFrame* frame, double time);
  // Converts (or copies) `frame` into the slot's own buffer as planar YUV
  // 4:2:0; false when memory or a scaler cannot be had.
  bool ConvertPicture(const AVFrame* frame, DecInfo* slot, std::uint8_t* planes[4], int strides[4]);

  int m_nChannelIndex = 0;
  std::string m_strPath;
  FormatContextPtr m_pFormat;
  int m_nStreamIndex[5] = {-1, -1, -1, -1, -1};
  AVStream* m_pVideoStream = nullptr;
  AVStream* m_pAudioStream = nullptr;
  CodecContextPtr m_pVideoCodec;
  CodecContextPtr m_pAudioCodec;
  std::atomic<int> m_nWidth{0};
  std::atomic<int> m_nHeight{0};
  int m_nAudioSampleRate = 0;
  int m_nAudioChannels = 0;
  AVChannelLayout m_audioLayout{};
  double m_dVolume = 12.0;

  std::atomic<int> m_nVideoInputEnded{0};
  std::atomic<int> m_nDecodeState{-1};
  std::atomic<int> m_nAudioState{-1};
  std::atomic<double> m_dSeekTarget{0.0};
  std::atomic<int> m_nSeekRequest{0};
  std::atomic<int> m_nSeekHold{0};
  // Pictures before this time (the last seek's target) are decoded, since
  // later ones depend on them, but not delivered: nobody shows them.
  double m_dDeliverFrom = 0.0;
  std::atomic<int> m_nDroppedSinceSeek{0};
  // Decoding thread only: decoding times of the packets given to the video
  // codec whose pictures have not come out yet, and the end-of-input state.
  std::deque<std::int64_t> m_decodeTimes;
  bool m_bVideoFlushSent = false;
  bool m_bVideoDrained = false;

  FilterGraphPtr m_pGraph;
  AVFilterContext* m_pBufferSrc = nullptr;
  AVFilterContext* m_pBufferSink = nullptr;
  int m_nGraphStatus = -1;

  PacketQueue m_videoQueue;
  PacketQueue m_audioQueue;
  FramePool m_videoPool;
  FramePool m_audioPool;

  // Kept between pictures of the same size and format.
  SwsContextPtr m_pScaler;
  int m_nScalerWidth = 0;
  int m_nScalerHeight = 0;
  int m_nScalerFormat = -1;

  // Wake the decoding thread (packets queued, slots freed, seek steps,
  // end of input) and the demultiplexer (packets taken, seek acknowledged)
  // before their poll runs out.
  WakeSignal m_decodeWake;
  WakeSignal m_demuxWake;
  std::thread m_demuxThread;
  std::thread m_decodeThread;
  std::atomic<bool> m_bDemuxRun{false};
  std::atomic<bool> m_bDecodeRun{false};
};

}  // namespace lumora
