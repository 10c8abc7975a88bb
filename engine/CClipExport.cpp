#include "engine/CClipExport.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <memory>

#include "engine/CAviClipWriter.h"
#include "engine/CClipPlan.h"
#include "engine/CClipSource.h"
#include "engine/CClipTarget.h"

namespace lumora {

namespace {

using Status = ClipExportResult::Status;

constexpr std::uint64_t kHeaderRoom = 1 << 20;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutExtradata(std::vector<std::uint8_t>& out, const AVCodecParameters* p) {
  if (p->extradata != nullptr && p->extradata_size > 0) {
    out.insert(out.end(), p->extradata, p->extradata + p->extradata_size);
  }
}

// BITMAPINFOHEADER of a picture stream.
std::vector<std::uint8_t> BitmapInfo(const AVCodecParameters* p, std::uint32_t compression) {
  std::vector<std::uint8_t> b;
  Put32(b, 40);
  Put32(b, static_cast<std::uint32_t>(p->width));
  Put32(b, static_cast<std::uint32_t>(p->height));
  Put16(b, 1);   // planes
  Put16(b, 24);  // bits per pixel
  Put32(b, compression);
  Put32(b, static_cast<std::uint32_t>(p->width * p->height * 3));
  for (int i = 0; i < 4; ++i) Put32(b, 0);
  PutExtradata(b, p);
  return b;
}

bool IsPcm(const AVCodecParameters* p) {
  return std::strncmp(avcodec_get_name(p->codec_id), "pcm_", 4) == 0 && p->block_align > 0;
}

// WAVEFORMATEX of a sound stream.
std::vector<std::uint8_t> WaveFormat(const AVCodecParameters* p) {
  std::vector<std::uint8_t> w;
  const auto rate = static_cast<std::uint32_t>(p->sample_rate);
  Put16(w, p->codec_tag != 0 ? p->codec_tag : 1);
  Put16(w, static_cast<std::uint32_t>(p->ch_layout.nb_channels));
  Put32(w, rate);
  Put32(w, IsPcm(p) ? rate * static_cast<std::uint32_t>(p->block_align)
                    : static_cast<std::uint32_t>(p->bit_rate / 8));
  Put16(w, static_cast<std::uint32_t>(p->block_align));
  Put16(w, static_cast<std::uint32_t>(p->bits_per_coded_sample));
  Put16(w, static_cast<std::uint32_t>(p->extradata_size > 0 ? p->extradata_size : 0));
  PutExtradata(w, p);
  return w;
}

// The stream copy. Output streams: the video channels in their order, then
// the sound, then the user data.
class LosslessJob {
 public:
  LosslessJob(const ClipExportRequest& request, const CClipExport::ProgressFn& progress,
              const std::atomic<bool>& cancel)
      : m_request(request), m_progress(progress), m_cancel(cancel) {}

  ClipExportResult Run(std::vector<CClipSource>& sources, const ClipPlan& plan);

 private:
  bool Fail(Status status, std::string message) {
    m_result.status = status;
    m_result.message = std::move(message);
    return false;
  }
  std::vector<AviClipStream> MakeStreams(const CClipSource& first);
  bool CopyPiece(CClipSource& source, const ClipPiece& piece);
  bool WritePacket(CClipSource& source, const ClipPiece& piece, const AVPacket& packet,
                   std::int64_t us, std::size_t out);
  bool WriteSound(CClipSource& source, const ClipPiece& piece, const AVPacket& packet);
  bool WriteRecordsUntil(std::int64_t clipUs);
  void QueueRecords(const CClipSource& source, const ClipPiece& piece);
  bool Write(std::size_t out, const std::uint8_t* data, std::size_t size, bool key);
  void Report(std::int64_t clipUs);

  const ClipExportRequest& m_request;
  const CClipExport::ProgressFn& m_progress;
  const std::atomic<bool>& m_cancel;
  ClipExportResult m_result;
  CAviClipWriter m_writer;
  std::size_t m_nVideo = 0;
  int m_nAudioOut = -1;
  int m_nTextOut = -1;
  AVRational m_textBase{0, 1};
  bool m_bPcm = false;
  int m_nBlockAlign = 0;
  int m_nSampleRate = 0;
  std::int64_t m_nSamplesWritten = 0;
  std::uint64_t m_nRecordsWritten = 0;
  // Records of the piece being copied, with their time in the clip.
  std::deque<std::pair<std::int64_t, const _TAG_USER_DATA*>> m_pending;
  std::int64_t m_nClipUs = 1;
  int m_nLastPermille = -1;
};

std::vector<AviClipStream> LosslessJob::MakeStreams(const CClipSource& first) {
  std::vector<AviClipStream> streams;
  const AVFormatContext* fmt = first.Format();
  for (int index : first.VideoStreams()) {
    const AVStream* st = fmt->streams[index];
    AviClipStream s;
    s.fccType = CAviClipWriter::Fcc("vids");
    s.fccHandler = st->codecpar->codec_tag;
    if (s.fccHandler == 0 && st->codecpar->codec_id == AV_CODEC_ID_H264) {
      s.fccHandler = CAviClipWriter::Fcc("H264");
    }
    // One picture per chunk at the channel's frame rate.
    AVRational frame = st->time_base;
    if (st->avg_frame_rate.num > 0 && st->avg_frame_rate.den > 0) {
      frame = av_inv_q(st->avg_frame_rate);
    }
    s.scale = static_cast<std::uint32_t>(frame.num);
    s.rate = static_cast<std::uint32_t>(frame.den);
    s.width = static_cast<std::uint16_t>(st->codecpar->width);
    s.height = static_cast<std::uint16_t>(st->codecpar->height);
    s.format = BitmapInfo(st->codecpar, s.fccHandler);
    s.chunkId = CAviClipWriter::ChunkId(static_cast<int>(streams.size()), "dc");
    streams.push_back(std::move(s));
  }
  m_nVideo = streams.size();
  if (first.AudioStream() >= 0) {
    const AVStream* st = fmt->streams[first.AudioStream()];
    const AVCodecParameters* p = st->codecpar;
    AviClipStream s;
    s.fccType = CAviClipWriter::Fcc("auds");
    m_bPcm = IsPcm(p);
    m_nBlockAlign = p->block_align;
    m_nSampleRate = p->sample_rate;
    if (m_bPcm) {
      s.scale = static_cast<std::uint32_t>(p->block_align);
      s.rate = static_cast<std::uint32_t>(p->sample_rate * p->block_align);
      s.sampleSize = static_cast<std::uint32_t>(p->block_align);
    } else {
      s.scale = static_cast<std::uint32_t>(st->time_base.num);
      s.rate = static_cast<std::uint32_t>(st->time_base.den);
    }
    s.format = WaveFormat(p);
    s.chunkId = CAviClipWriter::ChunkId(static_cast<int>(streams.size()), "wb");
    m_nAudioOut = static_cast<int>(streams.size());
    streams.push_back(std::move(s));
  }
  if (first.TextTimeBase().num > 0) {
    // The camera's usual text stream: handler "XBLB", records stamped k *
    // scale / rate, index offsets from the movi list.
    m_textBase = first.TextTimeBase();
    AviClipStream s;
    s.fccType = CAviClipWriter::Fcc("txts");
    s.fccHandler = CAviClipWriter::Fcc("XBLB");
    s.scale = static_cast<std::uint32_t>(m_textBase.num);
    s.rate = static_cast<std::uint32_t>(m_textBase.den);
    s.chunkId = CAviClipWriter::ChunkId(static_cast<int>(streams.size()), "tx");
    m_nTextOut = static_cast<int>(streams.size());
    streams.push_back(std::move(s));
  }
  return streams;
}

bool LosslessJob::Write(std::size_t out, const std::uint8_t* data, std::size_t size, bool key) {
  if (m_writer.AddChunk(out, data, size, key)) return true;
  return Fail(Status::kFailed,
              "writing the clip failed: " +
                  std::string(errno != 0 ? std::strerror(errno) : "file too large"));
}

void LosslessJob::Report(std::int64_t clipUs) {
  if (!m_progress) return;
  const int permille =
      static_cast<int>(std::clamp<std::int64_t>(clipUs * 1000 / m_nClipUs, 0, 1000));
  if (permille == m_nLastPermille) return;
  m_nLastPermille = permille;
  m_progress(permille / 1000.0);
}

void LosslessJob::QueueRecords(const CClipSource& source, const ClipPiece& piece) {
  if (m_nTextOut < 0) return;
  for (const _TAG_USER_DATA& record : source.Records()) {
    const std::int64_t us = static_cast<std::int64_t>(record.cts) * 1000;
    if (us < piece.startUs || us >= piece.endUs) continue;
    m_pending.emplace_back(piece.clipOffsetUs + us - piece.startUs, &record);
  }
}

bool LosslessJob::WriteRecordsUntil(std::int64_t clipUs) {
  while (!m_pending.empty() && m_pending.front().first <= clipUs) {
    const auto [at, record] = m_pending.front();
    m_pending.pop_front();
    // The reader stamps record k at k * scale / rate. Where the recording
    // before held fewer records than its length, empty records (which the
    // track ignores) keep the following ones at their time.
    const std::int64_t period = av_rescale_q(1, m_textBase, AVRational{1, 1000000});
    const std::int64_t slot = period > 0 ? (at + period / 2) / period : 0;
    while (static_cast<std::int64_t>(m_nRecordsWritten) < slot) {
      if (!Write(static_cast<std::size_t>(m_nTextOut), nullptr, 0, true)) return false;
      ++m_nRecordsWritten;
    }
    if (!Write(static_cast<std::size_t>(m_nTextOut), record->data.data(), record->data.size(),
               true)) {
      return false;
    }
    ++m_nRecordsWritten;
    ++m_result.records;
  }
  return true;
}

bool LosslessJob::WriteSound(CClipSource& source, const ClipPiece& piece, const AVPacket& packet) {
  const std::size_t out = static_cast<std::size_t>(m_nAudioOut);
  std::int64_t us = 0;
  if (!source.PacketTimeUs(packet, us)) return true;
  if (!m_bPcm) {
    if (us < piece.startUs || us >= piece.endUs) return true;
    return Write(out, packet.data, static_cast<std::size_t>(packet.size), true);
  }
  const SoundCut cut =
      CClipPlan::CutSound(piece, m_nSampleRate, us, packet.size / m_nBlockAlign, m_nSamplesWritten);
  if (cut.silence > 0) {
    const std::vector<std::uint8_t> silence(static_cast<std::size_t>(cut.silence * m_nBlockAlign),
                                            0);
    if (!Write(out, silence.data(), silence.size(), true)) return false;
    m_nSamplesWritten += cut.silence;
  }
  if (cut.count == 0) return true;
  if (!Write(out, packet.data + cut.skip * m_nBlockAlign,
             static_cast<std::size_t>(cut.count * m_nBlockAlign), true)) {
    return false;
  }
  m_nSamplesWritten += cut.count;
  return true;
}

bool LosslessJob::WritePacket(CClipSource& source, const ClipPiece& piece, const AVPacket& packet,
                              std::int64_t us, std::size_t out) {
  const std::int64_t clipUs = piece.clipOffsetUs + us - piece.startUs;
  if (!WriteRecordsUntil(clipUs)) return false;
  Report(clipUs);
  if (static_cast<int>(out) == m_nAudioOut) return WriteSound(source, piece, packet);
  return Write(out, packet.data, static_cast<std::size_t>(packet.size),
               (packet.flags & AV_PKT_FLAG_KEY) != 0);
}

bool LosslessJob::CopyPiece(CClipSource& source, const ClipPiece& piece) {
  if (!source.SeekBefore(piece.startUs)) {
    return Fail(Status::kFailed, "cannot read " + source.Path().string());
  }
  QueueRecords(source, piece);
  // Output stream of each input stream; -1 for streams that are not copied.
  std::vector<int> map(source.Format()->nb_streams, -1);
  for (std::size_t v = 0; v < source.VideoStreams().size(); ++v) {
    map[static_cast<std::size_t>(source.VideoStreams()[v])] = static_cast<int>(v);
  }
  if (source.AudioStream() >= 0 && m_nAudioOut >= 0) {
    map[static_cast<std::size_t>(source.AudioStream())] = m_nAudioOut;
  }
  std::vector<bool> done(map.size(), false);
  std::size_t open = m_nVideo + (m_nAudioOut >= 0 ? 1 : 0);
  PacketPtr packet(av_packet_alloc());
  if (!packet) return Fail(Status::kFailed, "out of memory");
  while (open > 0 && av_read_frame(source.Format(), packet.get()) >= 0) {
    std::unique_ptr<AVPacket, decltype(&av_packet_unref)> unref(packet.get(), av_packet_unref);
    if (m_cancel.load()) return Fail(Status::kCancelled, "export cancelled");
    const auto index = static_cast<std::size_t>(packet->stream_index);
    std::int64_t us = 0;
    if (index >= map.size() || map[index] < 0 || done[index]) continue;
    if (!source.PacketTimeUs(*packet, us)) continue;
    if (us >= piece.endUs) {
      done[index] = true;
      --open;
      continue;
    }
    // Sound packets may start before the cut and still hold samples after it.
    const bool sound = map[index] == m_nAudioOut;
    if (us < piece.startUs && !sound) continue;
    if (!WritePacket(source, piece, *packet, std::max(us, piece.startUs),
                     static_cast<std::size_t>(map[index]))) {
      return false;
    }
  }
  return WriteRecordsUntil(piece.clipOffsetUs + piece.endUs - piece.startUs);
}

ClipExportResult LosslessJob::Run(std::vector<CClipSource>& sources, const ClipPlan& plan) {
  m_nClipUs = std::max<std::int64_t>(1, plan.endUs - plan.startUs);
  m_result.startUs = plan.startUs;
  m_result.endUs = plan.endUs;
  m_result.output = m_request.output;
  const std::uint64_t needed = CClipExport::BytesNeeded(sources, plan);
  CClipTarget target;
  bool badInput = false;
  if (!target.Create(m_request.output, m_request.inputs, needed, m_result.message, badInput)) {
    m_result.status = badInput ? Status::kBadInput : Status::kFailed;
    return m_result;
  }
  const CClipSource& first = sources.front();
  const AVStream* front = first.Format()->streams[first.VideoStreams().front()];
  const AVRational rate = front->avg_frame_rate.num > 0 ? front->avg_frame_rate : AVRational{30, 1};
  errno = 0;
  if (!m_writer.Start(target.TakeFile(), MakeStreams(first),
                      static_cast<std::uint32_t>(av_rescale(1000000, rate.den, rate.num)),
                      static_cast<std::uint32_t>(front->codecpar->width),
                      static_cast<std::uint32_t>(front->codecpar->height))) {
    Fail(Status::kFailed, "cannot write " + target.TempPath().string());
    return m_result;
  }
  for (const ClipPiece& piece : plan.pieces) {
    if (!CopyPiece(sources[piece.source], piece)) return m_result;
  }
  if (!m_writer.Finish()) {
    Fail(Status::kFailed, "writing the clip failed: " + std::string(std::strerror(errno)));
    return m_result;
  }
  if (!target.Commit(m_result.message)) return m_result;
  for (std::size_t v = 0; v < m_nVideo; ++v) {
    const AVStream* st = first.Format()->streams[first.VideoStreams()[v]];
    m_result.streams.push_back(
        {"video", avcodec_get_name(st->codecpar->codec_id), m_writer.ChunkCount(v)});
  }
  if (m_nAudioOut >= 0) {
    const AVStream* st = first.Format()->streams[first.AudioStream()];
    m_result.streams.push_back({"audio", avcodec_get_name(st->codecpar->codec_id),
                                m_writer.ChunkCount(static_cast<std::size_t>(m_nAudioOut))});
  }
  if (m_nTextOut >= 0) {
    m_result.streams.push_back(
        {"data", "user-data", m_writer.ChunkCount(static_cast<std::size_t>(m_nTextOut))});
  }
  if (m_progress) m_progress(1.0);
  m_result.status = Status::kOk;
  return m_result;
}

}  // namespace

bool CClipExport::Prepare(const ClipExportRequest& request, std::vector<CClipSource>& sources,
                          ClipPlan& plan, ClipExportResult& result) {
  result.status = Status::kBadInput;
  if (request.inputs.empty()) {
    result.message = "no recording given";
    return false;
  }
  sources = std::vector<CClipSource>(request.inputs.size());
  for (std::size_t i = 0; i < sources.size(); ++i) {
    if (!sources[i].Open(request.inputs[i], result.message)) return false;
    if (i == 0) continue;
    const std::string why = sources.front().Mismatch(sources[i]);
    if (!why.empty()) {
      result.message = request.inputs[i].string() + " does not fit behind " +
                       request.inputs[i - 1].string() + ": " + why;
      return false;
    }
  }
  std::vector<ClipSourceTiming> timings;
  for (const CClipSource& s : sources) timings.push_back(s.Timing());
  return CClipPlan::Make(timings, request.fromUs, request.toUs, plan, result.message);
}

std::uint64_t CClipExport::BytesNeeded(const std::vector<CClipSource>& sources,
                                       const ClipPlan& plan) {
  std::uint64_t needed = kHeaderRoom;
  for (const ClipPiece& piece : plan.pieces) {
    const CClipSource& s = sources[piece.source];
    const double share = static_cast<double>(piece.endUs - piece.startUs) /
                         static_cast<double>(std::max<std::int64_t>(1, s.Timing().durationUs));
    needed += static_cast<std::uint64_t>(static_cast<double>(s.FileSize()) * std::min(1.0, share));
  }
  return needed;
}

ClipExportResult CClipExport::Run(const ClipExportRequest& request, const ProgressFn& progress,
                                  const std::atomic<bool>& cancel) {
  ClipExportResult result;
  std::vector<CClipSource> sources;
  ClipPlan plan;
  if (!Prepare(request, sources, plan, result)) return result;
  return LosslessJob(request, progress, cancel).Run(sources, plan);
}

}  // namespace lumora
