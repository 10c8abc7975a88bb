#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "tools/mkcard/AviWriter.h"
#include "tools/mkcard/DriveModel.h"
#include "tools/mkcard/SampleRecording.h"
#include "tools/mkcard/TestPicture.h"
#include "tools/mkcard/UserDataPayload.h"
#include "tools/mkcard/VideoEncoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace lumora {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kAudioRate = 8000;
constexpr int kAudioChunk = 800;                    // samples per chunk: 0.1 s
constexpr int kGPerSecond = 10;                     // G-sensor records per second
constexpr int kRecordsPerSecond = kGPerSecond + 1;  // plus one RMC sentence
constexpr int kUtcOffsetHours = 9;                  // the camera keeps Korean time

bool Fail(std::string* error, const std::string& what) {
  if (error) *error = what;
  return false;
}

bool CheckOptions(const RecordingOptions& o, std::string* error) {
  if (o.seconds < 1 || o.seconds > 3600) return Fail(error, "seconds must be 1..3600");
  if (o.fps < 1 || o.fps > 120) return Fail(error, "fps must be 1..120");
  auto size_ok = [](int w, int h) {
    return w >= 16 && h >= 16 && w <= 4096 && h <= 2304 && w % 2 == 0 && h % 2 == 0;
  };
  if (o.channels != ChannelLayout::kRearOnly && !size_ok(o.front_width, o.front_height)) {
    return Fail(error, "front picture size must be even, 16x16 .. 4096x2304");
  }
  if (o.channels != ChannelLayout::kFrontOnly && !size_ok(o.rear_width, o.rear_height)) {
    return Fail(error, "rear picture size must be even, 16x16 .. 4096x2304");
  }
  if (o.crf < 0 || o.crf > 51) return Fail(error, "crf must be 0..51");
  if (o.cut_at != 0 && !(o.cut_at > 0 && o.cut_at < 1)) {
    return Fail(error, "the cut must lie between 0 and 1");
  }
  return true;
}

std::string ChunkId(int n, const char* suffix) {
  char id[8];
  std::snprintf(id, sizeof(id), "%02d%s", n, suffix);
  return id;
}

std::vector<uint8_t> BitmapInfo(int w, int h) {
  std::vector<uint8_t> b(40, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  put32(0, 40);
  put32(4, static_cast<uint32_t>(w));
  put32(8, static_cast<uint32_t>(h));
  b[12] = 1;              // planes
  b[14] = 24;             // bit count
  put32(16, 0x34363248);  // "H264"
  put32(20, static_cast<uint32_t>(w * h * 3));
  return b;
}

std::vector<uint8_t> WaveFormat() {
  // WAVEFORMATEX: PCM, mono, 8000 Hz, 16000 bytes/s, block 2, 16 bits, cbSize 0.
  return {1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x80, 0x3E, 0, 0, 2, 0, 16, 0, 0, 0};
}

std::string Caption(const CivilTime& t) {
  char text[32];
  std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

// Stable per-second pseudo-random value for warning states.
uint32_t Hash(uint32_t seed, int64_t n) {
  uint64_t z = (static_cast<uint64_t>(seed) << 32) ^ static_cast<uint64_t>(n);
  z = (z ^ (z >> 33)) * 0xFF51AFD7ED558CCDull;
  z = (z ^ (z >> 33)) * 0xC4CEB9FE1A85EC53ull;
  return static_cast<uint32_t>(z ^ (z >> 33));
}

// Everything that one recording's data streams are made of.
class RecordingPlan {
 public:
  RecordingPlan(const RecordingOptions& o)
      : o_(o),
        drive_(o.seed, o.parked, o.drive_offset_s + o.seconds + 1.0),
        noise_(o.seed * 7919u + static_cast<uint32_t>(o.drive_offset_s * 10.0)) {}

  DriveState DriveAt(double t) const { return drive_.At(o_.drive_offset_s + t); }
  CivilTime LocalAt(double t) const {
    return AddSeconds(o_.start, static_cast<int64_t>(std::floor(t)));
  }

  // Record k of the user-data stream: one RMC sentence, then ten G records.
  std::vector<uint8_t> MakeRecord(int k, uint32_t cts, RecordingTruth* truth) {
    const int second = k / kRecordsPerSecond;
    const int slot = k % kRecordsPerSecond;
    const double t = second + static_cast<double>(slot) / kRecordsPerSecond;
    const DriveState s = DriveAt(t);
    if (slot == 0) {
      GpsFixTruth fix;
      const CivilTime utc = AddSeconds(o_.start, second - kUtcOffsetHours * 3600);
      const bool valid = second >= o_.no_fix_seconds;
      MakeRmcSentence(utc, valid, s.lat_deg, s.lon_deg, s.speed_mps * 3600.0 / 1852.0, s.course_deg,
                      &fix);
      fix.cts_ms = cts;
      fix.record_index = k;
      std::vector<uint8_t> payload(fix.sentence.begin(), fix.sentence.end());
      payload.push_back('\r');
      payload.push_back('\n');
      truth->fixes.push_back(std::move(fix));
      return payload;
    }
    GSampleTruth g;
    double ax = s.accel_long / 9.81 + noise_.Uniform(-0.02, 0.02);
    double ay = s.accel_lat / 9.81 + noise_.Uniform(-0.02, 0.02);
    double az = 1.0 + noise_.Uniform(-0.03, 0.03) +
                (s.speed_mps > 1.0 ? 0.04 * std::sin(t * 7.3 + o_.seed) : 0.0);
    bool event = false;
    if (o_.event_second >= 0) {
      const double since = t - o_.event_second;
      if (since >= 0 && since < 0.5) {
        const double decay = std::exp(-since * 8.0);
        ax -= 1.6 * decay;
        ay += 0.7 * decay;
        az += 0.9 * decay;
      }
      event = since >= 0 && since < 1.0;
    }
    FillGSample(ax, ay, az, LocalAt(t), &g);
    FillAssistWords(s, second, event, &g);
    g.cts_ms = cts;
    g.record_index = k;
    std::vector<uint8_t> payload = MakeGSensorPayload(g);
    truth->g_samples.push_back(g);
    return payload;
  }

  // 0.1 s of engine hum whose pitch follows the speed, with a beep while a
  // lane-departure warning is on.
  void MakeAudio(int chunk, std::vector<uint8_t>* out) {
    out->resize(kAudioChunk * 2);
    for (int i = 0; i < kAudioChunk; ++i) {
      const double t = (chunk * kAudioChunk + i) / static_cast<double>(kAudioRate);
      if (i % 80 == 0) {
        const DriveState s = DriveAt(t);
        hum_hz_ = 55.0 + s.speed_mps * 3.6 * 1.2;
        beep_ = LaneWarning(s, static_cast<int>(t)) != 0;
      }
      hum_phase_ += 2 * kPi * hum_hz_ / kAudioRate;
      beep_phase_ += 2 * kPi * 1000.0 / kAudioRate;
      double v = 2500.0 * std::sin(hum_phase_) + 900.0 * std::sin(2 * hum_phase_ + 0.3);
      if (beep_ && std::fmod(t, 0.5) < 0.15) v += 4000.0 * std::sin(beep_phase_);
      const auto s = static_cast<int16_t>(std::lround(std::clamp(v, -32768.0, 32767.0)));
      (*out)[2 * i] = static_cast<uint8_t>(s & 0xFF);
      (*out)[2 * i + 1] = static_cast<uint8_t>((s >> 8) & 0xFF);
    }
  }

 private:
  // 0 none, 1 left, 2 right. Lane keeping works above 30 km/h.
  int LaneWarning(const DriveState& s, int second) const {
    if (s.speed_mps * 3.6 < 30.0) return 0;
    const uint32_t h = Hash(o_.seed, static_cast<int64_t>(o_.drive_offset_s) + second) % 7;
    return h == 0 ? 1 : (h == 1 ? 2 : 0);
  }

  void FillAssistWords(const DriveState& s, int second, bool event, GSampleTruth* g) const {
    const double kmh = s.speed_mps * 3.6;
    auto& w = g->words;
    w[0] = static_cast<uint16_t>(std::lround(kmh));
    const bool active = kmh >= 30.0;
    const int lane = LaneWarning(s, second);
    w[4] = active ? 1 : 0;  // left lane-keeping group active
    w[5] = active ? 1 : 0;  // right group active
    w[6] = lane == 1 ? 1 : 0;
    w[7] = lane == 2 ? 1 : 0;
    w[2] = 0;
    w[3] = 0;
    // Distance to the car ahead in millimetres, and the collision warning
    // level it causes while moving.
    const double t = o_.drive_offset_s + second;
    const double dist_m = s.speed_mps > 0.5 ? 22.0 + 16.0 * std::sin(t * 0.31 + o_.seed) : 0.0;
    w[10] = static_cast<uint16_t>(std::lround(dist_m * 1000.0));
    w[9] = 0;
    if (s.speed_mps > 3.0 && dist_m > 0) w[9] = dist_m < 8.0 ? 2 : (dist_m < 14.0 ? 1 : 0);
    w[12] = event ? 2 : 0;
  }

  const RecordingOptions& o_;
  DriveModel drive_;
  SeededRandom noise_;
  double hum_phase_ = 0, beep_phase_ = 0, hum_hz_ = 60;
  bool beep_ = false;
};

// Drops from the truth the records whose chunks a cut at `length` lost.
void KeepRecordsBefore(uint64_t length, const std::vector<uint64_t>& record_ends,
                       RecordingTruth* tr) {
  const auto kept = static_cast<int>(
      std::upper_bound(record_ends.begin(), record_ends.end(), length) - record_ends.begin());
  tr->records.resize(std::min<size_t>(tr->records.size(), static_cast<size_t>(kept)));
  std::erase_if(tr->fixes, [&](const GpsFixTruth& f) { return f.record_index >= kept; });
  std::erase_if(tr->g_samples, [&](const GSampleTruth& g) { return g.record_index >= kept; });
}

struct Layout {
  std::vector<AviStream> streams;
  int front = -1, rear = -1, audio = -1, text = -1, text_first = -1;
};

Layout MakeLayout(const RecordingOptions& o) {
  Layout l;
  auto add = [&](AviStream s, const char* suffix) {
    const int n = static_cast<int>(l.streams.size());
    if (s.chunk_id.empty()) s.chunk_id = ChunkId(n, suffix);
    l.streams.push_back(std::move(s));
    return n;
  };
  auto video = [&](int w, int h) {
    AviStream s;
    s.type = "vids";
    s.handler = "H264";
    s.scale = 1;
    s.rate = static_cast<uint32_t>(o.fps);
    s.width = static_cast<int16_t>(w);
    s.height = static_cast<int16_t>(h);
    s.format = BitmapInfo(w, h);
    return s;
  };
  if (o.channels != ChannelLayout::kRearOnly)
    l.front = add(video(o.front_width, o.front_height), "dc");
  if (o.channels != ChannelLayout::kFrontOnly)
    l.rear = add(video(o.rear_width, o.rear_height), "dc");
  if (o.audio && o.channels != ChannelLayout::kRearOnly) {
    AviStream a;
    a.type = "auds";
    a.scale = 1;
    a.rate = kAudioRate;
    a.sample_size = 2;
    a.format = WaveFormat();
    l.audio = add(a, "wb");
  }
  auto text = [&](const char* handler, uint32_t rate, const std::string& id) {
    AviStream t;
    t.type = "txts";
    t.handler = handler;
    t.scale = 1;
    t.rate = rate;
    t.chunk_id = id;
    return t;
  };
  switch (o.user_data) {
    case UserDataLayout::kXblb:
      l.text = add(text("XBLB", kRecordsPerSecond, ""), "tx");
      break;
    case UserDataLayout::kAdas:
      l.text = add(text("ADAS", kRecordsPerSecond, ""), "tx");
      break;
    case UserDataLayout::kTwoUser:
      l.text_first = add(text("USER", 1, ""), "tx");
      // The second "USER" stream is always stored under "09tx".
      l.text = add(text("USER", kRecordsPerSecond, "09tx"), "tx");
      break;
    case UserDataLayout::kNone:
      break;
  }
  return l;
}

}  // namespace

bool WriteRecording(const std::filesystem::path& file, const RecordingOptions& options,
                    std::string* error, RecordingTruth* truth) {
  if (!CheckOptions(options, error)) return false;
  RecordingTruth local_truth;
  RecordingTruth& tr = truth ? *truth : local_truth;
  tr = RecordingTruth{};
  Layout layout = MakeLayout(options);
  for (const AviStream& s : layout.streams) tr.stream_chunk_ids.push_back(s.chunk_id);
  const bool two_channels = layout.front >= 0 && layout.rear >= 0;
  tr.video_streams = two_channels ? 2 : 1;
  tr.video_frames = options.seconds * options.fps;
  tr.duration_ms = static_cast<int64_t>(tr.video_frames) * 1000 / options.fps;
  if (layout.text >= 0) {
    const AviStream& t = layout.streams[layout.text];
    tr.user_data_chunk_id = t.chunk_id;
    tr.text_scale = t.scale;
    tr.text_rate = t.rate;
    tr.fallback_reachable = t.chunk_id == "03tx" || t.chunk_id == "04tx" || t.chunk_id == "09tx";
  }

  VideoEncoder front_enc, rear_enc;
  if (layout.front >= 0 && !front_enc.Open(options.front_width, options.front_height, options.fps,
                                           options.crf, false, error)) {
    return false;
  }
  if (layout.rear >= 0 && !rear_enc.Open(options.rear_width, options.rear_height, options.fps,
                                         options.crf, false, error)) {
    return false;
  }
  const int main_w = layout.front >= 0 ? options.front_width : options.rear_width;
  const int main_h = layout.front >= 0 ? options.front_height : options.rear_height;
  AviWriter avi;
  if (!avi.Open(file, layout.streams, static_cast<uint32_t>(1000000 / options.fps),
                static_cast<uint32_t>(main_w), static_cast<uint32_t>(main_h), options.junk_bytes,
                error)) {
    return false;
  }

  RecordingPlan plan(options);
  const TestPicture front_pic(false), rear_pic(true);
  const int total_records = options.seconds * kRecordsPerSecond;
  const int total_audio = options.seconds * kAudioRate / kAudioChunk;
  int next_record = 0, next_first_text = 0, next_audio = 0;
  std::vector<uint64_t> record_ends;  // file position after each collected record's chunk
  std::vector<uint8_t> buffer;
  std::vector<EncodedPacket> packets;

  auto write_packets = [&](int stream) {
    for (const EncodedPacket& p : packets) {
      if (!avi.AddChunk(stream, p.data.data(), p.data.size(), p.keyframe)) return false;
    }
    packets.clear();
    return true;
  };
  auto encode = [&](VideoEncoder& enc, const TestPicture& pic, int stream, int f, bool rear) {
    AVFrame* frame = enc.NextFrame();
    if (!frame) return false;
    const double t = static_cast<double>(f) / options.fps;
    const DriveState s = plan.DriveAt(t);
    SceneState scene;
    scene.time_s = t;
    scene.road_phase_m = rear ? -s.distance_m : s.distance_m;
    scene.steer = rear ? -s.steer : s.steer;
    scene.speed_kmh = static_cast<int>(std::lround(s.speed_mps * 3.6));
    scene.caption = Caption(plan.LocalAt(t));
    pic.Render(scene, frame);
    return enc.Encode(&packets) && write_packets(stream);
  };
  // Sound and user data whose time lies before `until` seconds.
  auto write_side_chunks = [&](double until) {
    while (layout.audio >= 0 && next_audio < total_audio &&
           next_audio * static_cast<double>(kAudioChunk) / kAudioRate < until) {
      plan.MakeAudio(next_audio++, &buffer);
      if (!avi.AddChunk(layout.audio, buffer.data(), buffer.size(), true)) return false;
    }
    while (layout.text_first >= 0 && next_first_text < options.seconds && next_first_text < until) {
      // The first "USER" stream repeats the second's RMC sentence once a second.
      RecordingTruth scratch;
      std::vector<uint8_t> p = plan.MakeRecord(next_first_text * kRecordsPerSecond, 0, &scratch);
      // MakeRecord advanced no state for an RMC record, so the main stream is unchanged.
      if (!avi.AddChunk(layout.text_first, p.data(), p.size(), true)) return false;
      ++next_first_text;
    }
    while (layout.text >= 0 && next_record < total_records &&
           static_cast<double>(next_record) / kRecordsPerSecond < until) {
      const uint32_t cts = static_cast<uint32_t>(static_cast<uint64_t>(next_record) *
                                                 tr.text_scale * 1000 / tr.text_rate);
      std::vector<uint8_t> p = plan.MakeRecord(next_record, cts, &tr);
      if (!avi.AddChunk(layout.text, p.data(), p.size(), true)) return false;
      record_ends.push_back(avi.position());
      tr.records.push_back(UserRecordTruth{cts, std::move(p)});
      ++next_record;
    }
    return true;
  };

  for (int f = 0; f < tr.video_frames; ++f) {
    if (layout.front >= 0 && !encode(front_enc, front_pic, layout.front, f, false)) {
      return Fail(error, "encoding or writing the front video failed");
    }
    if (layout.rear >= 0 && !encode(rear_enc, rear_pic, layout.rear, f, true)) {
      return Fail(error, "encoding or writing the rear video failed");
    }
    if (!write_side_chunks(static_cast<double>(f + 1) / options.fps)) {
      return Fail(error, "writing sound or user data failed");
    }
  }
  if ((layout.front >= 0 && !(front_enc.Flush(&packets) && write_packets(layout.front))) ||
      (layout.rear >= 0 && !(rear_enc.Flush(&packets) && write_packets(layout.rear))) ||
      !write_side_chunks(options.seconds + 1.0)) {
    return Fail(error, "finishing the streams failed");
  }
  tr.audio_samples = layout.audio >= 0 ? next_audio * kAudioChunk : 0;
  if (options.cut_at > 0) {
    if (!avi.CutOff(options.cut_at, &tr.cut_length, error)) return false;
    KeepRecordsBefore(tr.cut_length, record_ends, &tr);
    return true;
  }
  const bool relative = options.user_data == UserDataLayout::kXblb;
  return avi.Finish(options.with_index, relative, error);
}

bool WriteMp4Recording(const std::filesystem::path& file, const RecordingOptions& options,
                       std::string* error) {
  if (!CheckOptions(options, error)) return false;
  VideoEncoder enc;
  if (!enc.Open(options.front_width, options.front_height, options.fps, options.crf, true, error)) {
    return false;
  }
  AVFormatContext* fmt = nullptr;
  if (avformat_alloc_output_context2(&fmt, nullptr, "mp4", file.c_str()) < 0 || !fmt) {
    return Fail(error, "cannot create an MP4 muxer");
  }
  std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> guard(fmt, [](AVFormatContext* c) {
    if (c->pb) avio_closep(&c->pb);
    avformat_free_context(c);
  });
  fmt->flags |= AVFMT_FLAG_BITEXACT;
  AVStream* st = avformat_new_stream(fmt, nullptr);
  if (!st || avcodec_parameters_from_context(st->codecpar, enc.context()) < 0) {
    return Fail(error, "cannot add the MP4 video stream");
  }
  st->time_base = AVRational{1, options.fps};
  if (avio_open(&fmt->pb, file.c_str(), AVIO_FLAG_WRITE) < 0) {
    return Fail(error, "cannot create " + file.string());
  }
  if (avformat_write_header(fmt, nullptr) < 0) return Fail(error, "cannot write the MP4 header");
  AVPacket* pkt = av_packet_alloc();
  std::unique_ptr<AVPacket, void (*)(AVPacket*)> pkt_guard(pkt,
                                                           [](AVPacket* p) { av_packet_free(&p); });
  int64_t pts = 0;
  std::vector<EncodedPacket> packets;
  auto mux = [&]() {
    for (const EncodedPacket& p : packets) {
      if (av_new_packet(pkt, static_cast<int>(p.data.size())) < 0) return false;
      std::copy(p.data.begin(), p.data.end(), pkt->data);
      pkt->stream_index = st->index;
      pkt->pts = pkt->dts = av_rescale_q(pts++, AVRational{1, options.fps}, st->time_base);
      pkt->duration = av_rescale_q(1, AVRational{1, options.fps}, st->time_base);
      if (p.keyframe) pkt->flags |= AV_PKT_FLAG_KEY;
      if (av_interleaved_write_frame(fmt, pkt) < 0) return false;
    }
    packets.clear();
    return true;
  };
  DriveModel drive(options.seed, options.parked, options.drive_offset_s + options.seconds + 1.0);
  const TestPicture pic(false);
  const int frames = options.seconds * options.fps;
  for (int f = 0; f < frames; ++f) {
    AVFrame* frame = enc.NextFrame();
    if (!frame) return Fail(error, "out of memory");
    const double t = static_cast<double>(f) / options.fps;
    const DriveState s = drive.At(options.drive_offset_s + t);
    SceneState scene;
    scene.time_s = t;
    scene.road_phase_m = s.distance_m;
    scene.steer = s.steer;
    scene.speed_kmh = static_cast<int>(std::lround(s.speed_mps * 3.6));
    scene.caption = Caption(AddSeconds(options.start, f / options.fps));
    pic.Render(scene, frame);
    if (!enc.Encode(&packets) || !mux()) return Fail(error, "encoding the MP4 video failed");
  }
  if (!enc.Flush(&packets) || !mux()) return Fail(error, "encoding the MP4 video failed");
  if (av_write_trailer(fmt) < 0) return Fail(error, "cannot finish the MP4 file");
  return true;
}

}  // namespace lumora
