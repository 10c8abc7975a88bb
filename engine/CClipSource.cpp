#include "engine/CClipSource.h"

#include <algorithm>
#include <system_error>

#include "engine/CFileManager.h"

extern "C" {
#include <libavutil/dict.h>
}

namespace lumora {

namespace {

constexpr AVRational kMicroseconds{1, 1000000};

bool SameRational(AVRational a, AVRational b) { return av_cmp_q(a, b) == 0; }

}  // namespace

bool CClipSource::Open(const std::filesystem::path& path, std::string& error) {
  m_path = path;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    error = "not a readable file: " + path.string();
    return false;
  }
  m_nFileSize = std::filesystem::file_size(path, ec);
  if (!OpenFormat(error)) return false;
  if (!ReadTiming()) {
    error = "no video pictures in " + path.string();
    return false;
  }
  LoadRecords();
  return true;
}

bool CClipSource::OpenFormat(std::string& error) {
  m_format.reset();
  m_video.clear();
  m_audio = -1;
  m_textBase = AVRational{0, 1};
  // Only the file protocol: a recording name must never be taken for a URL.
  AVDictionary* options = nullptr;
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  const std::string url = "file:" + m_path.string();
  AVFormatContext* raw = nullptr;
  const int opened = avformat_open_input(&raw, url.c_str(), nullptr, &options);
  av_dict_free(&options);
  if (opened < 0) {
    error = "cannot read " + m_path.string();
    return false;
  }
  m_format.reset(raw);
  for (unsigned i = 0; i < raw->nb_streams; ++i) {
    const AVStream* st = raw->streams[i];
    const AVMediaType type = st->codecpar->codec_type;
    if (type == AVMEDIA_TYPE_VIDEO && (st->disposition & AV_DISPOSITION_ATTACHED_PIC) == 0) {
      m_video.push_back(static_cast<int>(i));
    } else if (type == AVMEDIA_TYPE_AUDIO) {
      if (m_audio < 0) m_audio = static_cast<int>(i);
    } else {
      // The camera's text streams; the reader takes its records from the
      // last one, as it does here.
      m_textBase = st->time_base;
    }
  }
  if (m_video.empty()) {
    error = "no video channel in " + m_path.string();
    return false;
  }
  return true;
}

bool CClipSource::Rewind(std::string& error) { return OpenFormat(error); }

bool CClipSource::SeekBefore(std::int64_t t) {
  std::string error;
  const AVStream* front = m_format->streams[m_video.front()];
  if (t <= 0 || avformat_index_get_entries_count(front) == 0) return Rewind(error);
  const std::int64_t ts = av_rescale_q(t, kMicroseconds, front->time_base);
  if (av_seek_frame(m_format.get(), m_video.front(), ts, AVSEEK_FLAG_BACKWARD) >= 0) return true;
  return Rewind(error);
}

bool CClipSource::PacketTimeUs(const AVPacket& packet, std::int64_t& us) const {
  const std::int64_t ts = packet.dts != AV_NOPTS_VALUE ? packet.dts : packet.pts;
  if (ts == AV_NOPTS_VALUE) return false;
  us = av_rescale_q(ts, m_format->streams[packet.stream_index]->time_base, kMicroseconds);
  return true;
}

bool CClipSource::ReadTiming() {
  m_timing = ClipSourceTiming{};
  m_timing.keyTimesUs.resize(m_video.size());
  std::vector<std::int64_t> last(m_video.size(), AV_NOPTS_VALUE);
  bool indexed = true;
  for (int index : m_video) {
    indexed = indexed && avformat_index_get_entries_count(m_format->streams[index]) > 0;
  }
  if (indexed) {
    for (std::size_t v = 0; v < m_video.size(); ++v) {
      AVStream* st = m_format->streams[m_video[v]];
      const int n = avformat_index_get_entries_count(st);
      for (int i = 0; i < n; ++i) {
        const AVIndexEntry* e = avformat_index_get_entry(st, i);
        last[v] = last[v] == AV_NOPTS_VALUE ? e->timestamp : std::max(last[v], e->timestamp);
        if ((e->flags & AVINDEX_KEYFRAME) != 0) {
          m_timing.keyTimesUs[v].push_back(
              av_rescale_q(e->timestamp, st->time_base, kMicroseconds));
        }
      }
    }
  } else {
    // No index: one pass over the packets finds what the file holds.
    PacketPtr packet(av_packet_alloc());
    while (packet && av_read_frame(m_format.get(), packet.get()) >= 0) {
      const auto it = std::find(m_video.begin(), m_video.end(), packet->stream_index);
      std::int64_t us = 0;
      if (it != m_video.end() && PacketTimeUs(*packet, us)) {
        const std::size_t v = static_cast<std::size_t>(it - m_video.begin());
        const std::int64_t ts = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
        last[v] = last[v] == AV_NOPTS_VALUE ? ts : std::max(last[v], ts);
        if ((packet->flags & AV_PKT_FLAG_KEY) != 0) m_timing.keyTimesUs[v].push_back(us);
      }
      av_packet_unref(packet.get());
    }
    std::string error;
    if (!Rewind(error)) return false;
  }
  for (auto& keys : m_timing.keyTimesUs) {
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  }
  if (last.front() == AV_NOPTS_VALUE) return false;
  // The front channel ends one picture after its last one.
  const AVStream* front = m_format->streams[m_video.front()];
  std::int64_t ticks = 1;
  if (front->avg_frame_rate.num > 0 && front->avg_frame_rate.den > 0) {
    ticks = std::max<std::int64_t>(
        1, av_rescale_q(1, av_inv_q(front->avg_frame_rate), front->time_base));
  }
  m_timing.durationUs = av_rescale_q(last.front() + ticks, front->time_base, kMicroseconds);
  return true;
}

void CClipSource::LoadRecords() {
  m_records.clear();
  CFileManager reader;
  if (reader.Open(m_path) != 1) return;
  std::vector<std::uint8_t> buffer(std::max<std::uint32_t>(reader.GetLargestUserDataLength(), 1));
  for (;;) {
    std::uint32_t length = static_cast<std::uint32_t>(buffer.size());
    std::uint32_t cts = 0;
    if (reader.GetNextUserData(buffer.data(), &length, &cts) != kS_OK) break;
    _TAG_USER_DATA record;
    record.data.assign(buffer.begin(), buffer.begin() + length);
    record.length = length;
    record.cts = cts;
    m_records.push_back(std::move(record));
  }
  if (m_textBase.num == 0 && !m_records.empty()) m_textBase = AVRational{1, 1000};
}

std::string CClipSource::Mismatch(const CClipSource& other) const {
  if (other.m_video.size() != m_video.size()) {
    return "it has " + std::to_string(other.m_video.size()) + " video channel(s), not " +
           std::to_string(m_video.size());
  }
  for (std::size_t v = 0; v < m_video.size(); ++v) {
    const AVStream* a = m_format->streams[m_video[v]];
    const AVStream* b = other.m_format->streams[other.m_video[v]];
    if (a->codecpar->codec_id != b->codecpar->codec_id ||
        a->codecpar->width != b->codecpar->width || a->codecpar->height != b->codecpar->height ||
        !SameRational(a->time_base, b->time_base)) {
      return "its video channel " + std::to_string(v + 1) +
             " differs in codec, picture size or frame rate";
    }
  }
  if ((m_audio < 0) != (other.m_audio < 0)) return "one of the recordings has no sound";
  if (m_audio >= 0) {
    const AVCodecParameters* a = m_format->streams[m_audio]->codecpar;
    const AVCodecParameters* b = other.m_format->streams[other.m_audio]->codecpar;
    if (a->codec_id != b->codec_id || a->sample_rate != b->sample_rate ||
        a->ch_layout.nb_channels != b->ch_layout.nb_channels || a->block_align != b->block_align) {
      return "its sound differs in codec, rate or channels";
    }
  }
  if (!m_records.empty() && !other.m_records.empty() &&
      !SameRational(m_textBase, other.m_textBase)) {
    return "its driving data is stamped at another rate";
  }
  return {};
}

}  // namespace lumora
