#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/mkcard/AviInspect.h"
#include "tests/mkcard/MediaProbe.h"
#include "tests/support/TempFolder.h"
#include "tools/mkcard/SampleRecording.h"

extern "C" {
#include <libavutil/log.h>
}

namespace lumora {
namespace {

namespace fs = std::filesystem;
using test::Le16;
using test::Le32;

class RecordingTest : public ::testing::Test {
 protected:
  void SetUp() override { av_log_set_level(AV_LOG_ERROR); }

  static RecordingOptions Small() {
    RecordingOptions o;
    o.seconds = 3;
    o.front_width = 192;
    o.front_height = 108;
    o.rear_width = 96;
    o.rear_height = 54;
    return o;
  }

  fs::path Write(const RecordingOptions& o, RecordingTruth* truth, const char* name = "r.avi") {
    const fs::path file = dir_ / name;
    std::string error;
    EXPECT_TRUE(WriteRecording(file, o, &error, truth)) << error;
    return file;
  }

  test::TempFolder dir_;
};

// The payload of an indexed chunk, read as the container reader reads it.
std::vector<uint8_t> IndexedPayload(const std::vector<uint8_t>& bytes, uint64_t base,
                                    const test::IndexEntry& e) {
  const uint64_t at = base + e.offset + 8;
  if (at + e.size > bytes.size()) return {};
  return std::vector<uint8_t>(bytes.begin() + at, bytes.begin() + at + e.size);
}

TEST_F(RecordingTest, TwoChannelFileHasStreamsInCameraOrderAndPlays) {
  RecordingTruth truth;
  const fs::path file = Write(Small(), &truth);
  const test::Probe probe = test::ProbeFile(file, true);
  ASSERT_TRUE(probe.opened);
  EXPECT_EQ(probe.format, "avi");
  ASSERT_EQ(probe.streams.size(), 4u);
  EXPECT_EQ(probe.streams[0].type, "video");
  EXPECT_EQ(probe.streams[0].codec, "h264");
  EXPECT_EQ(probe.streams[0].width, 192);
  EXPECT_EQ(probe.streams[0].height, 108);
  EXPECT_EQ(probe.streams[1].type, "video");
  EXPECT_EQ(probe.streams[1].width, 96);
  EXPECT_EQ(probe.streams[1].height, 54);
  EXPECT_EQ(probe.streams[2].type, "audio");
  EXPECT_EQ(probe.streams[2].codec, "pcm_s16le");
  EXPECT_EQ(probe.streams[2].sample_rate, 8000);
  EXPECT_EQ(probe.streams[2].channels, 1);
  // The user-data stream must not turn into a decodable stream (FFmpeg would
  // otherwise probe its bytes and might take them for audio).
  EXPECT_EQ(probe.streams[3].type, "other");
  EXPECT_EQ(probe.streams[3].codec, "none");
  EXPECT_NEAR(probe.duration_s, 3.0, 0.05);
  EXPECT_EQ(probe.streams[0].packets, 90);
  EXPECT_EQ(probe.streams[1].packets, 90);
  EXPECT_EQ(probe.decode_errors, 0);
  EXPECT_EQ(probe.decoded_frames, 180);
  EXPECT_EQ(truth.video_streams, 2);
  EXPECT_EQ(truth.duration_ms, 3000);
  EXPECT_EQ(truth.stream_chunk_ids, (std::vector<std::string>{"00dc", "01dc", "02wb", "03tx"}));
}

TEST_F(RecordingTest, RiffLayoutAndXblbIndexRelativeToMoviType) {
  RecordingTruth truth;
  const fs::path file = Write(Small(), &truth);
  const std::vector<uint8_t> bytes = test::ReadAll(file);
  const test::AviLayout avi = test::ParseAvi(bytes);
  ASSERT_TRUE(avi.ok);
  EXPECT_EQ(avi.riff_size, bytes.size() - 8);
  EXPECT_TRUE(avi.avih_flags & 0x10);
  ASSERT_EQ(avi.streams.size(), 4u);
  EXPECT_EQ(avi.streams[0].type, "vids");
  EXPECT_EQ(avi.streams[1].type, "vids");
  EXPECT_EQ(avi.streams[2].type, "auds");
  const test::StreamHeader& text = avi.streams[3];
  EXPECT_EQ(text.type, "txts");
  EXPECT_EQ(text.handler, "XBLB");
  EXPECT_EQ(text.scale, 1u);
  EXPECT_EQ(text.rate, 11u);
  EXPECT_EQ(text.length, 33u);
  // Top-level chunks have even sizes, so a walk that adds sizes without
  // rounding them up (as the camera's reader does) still lands on idx1.
  {
    size_t pos = 12;
    std::vector<std::string> ids;
    while (pos + 8 <= bytes.size()) {
      ids.emplace_back(bytes.begin() + pos, bytes.begin() + pos + 4);
      const uint32_t size = Le32(&bytes[pos + 4]);
      EXPECT_EQ(size % 2, 0u) << ids.back();
      pos += 8 + size;
    }
    EXPECT_EQ(pos, bytes.size());
    EXPECT_EQ(ids, (std::vector<std::string>{"LIST", "LIST", "idx1"}));
  }
  // The first chunk of movi is the first front picture.
  ASSERT_FALSE(avi.movi.empty());
  EXPECT_EQ(avi.movi[0].id, "00dc");
  ASSERT_TRUE(avi.has_index);
  ASSERT_EQ(avi.index.size(), avi.movi.size());
  std::vector<std::vector<uint8_t>> records;
  for (size_t i = 0; i < avi.index.size(); ++i) {
    const test::IndexEntry& e = avi.index[i];
    EXPECT_EQ(e.id, avi.movi[i].id);
    EXPECT_EQ(avi.movi_type_pos + e.offset, avi.movi[i].pos);
    if (e.id == "03tx") records.push_back(IndexedPayload(bytes, avi.movi_type_pos, e));
  }
  ASSERT_EQ(records.size(), truth.records.size());
  ASSERT_EQ(records.size(), 33u);
  for (size_t k = 0; k < records.size(); ++k) {
    EXPECT_EQ(records[k], truth.records[k].payload) << k;
    EXPECT_EQ(truth.records[k].cts_ms, static_cast<uint32_t>(k * 1000 / 11)) << k;
  }
  // One RMC sentence then ten G records each second.
  EXPECT_EQ(records[0][0], '$');
  EXPECT_EQ(records[1][0], 'M');
  EXPECT_EQ(records[11][0], '$');
  EXPECT_EQ(truth.fixes.size(), 3u);
  EXPECT_EQ(truth.g_samples.size(), 30u);
  EXPECT_EQ(truth.fixes[1].cts_ms, 1000u);
}

TEST_F(RecordingTest, GSensorRecordLayout) {
  RecordingOptions o = Small();
  o.event_second = 1;
  RecordingTruth truth;
  Write(o, &truth);
  bool event_marked = false;
  double min_ax = 0;
  for (const UserRecordTruth& r : truth.records) {
    if (r.payload[0] != 'M') continue;
    ASSERT_EQ(r.payload.size(), 61u);
    const uint8_t* p = r.payload.data();
    const GSampleTruth* g = nullptr;
    for (const GSampleTruth& s : truth.g_samples) {
      if (s.cts_ms == r.cts_ms) g = &s;
    }
    ASSERT_NE(g, nullptr);
    // Set A: Y, Z, X with 2048 = 0 g and 1024 per g.
    const double ay = (static_cast<int16_t>(Le16(p + 1)) - 2048) / 1024.0;
    const double az = (static_cast<int16_t>(Le16(p + 3)) - 2048) / 1024.0;
    const double ax = (static_cast<int16_t>(Le16(p + 5)) - 2048) / 1024.0;
    EXPECT_NEAR(ay, g->ay_g, 0.001);
    EXPECT_NEAR(az, g->az_g, 0.001);
    EXPECT_NEAR(ax, g->ax_g, 0.001);
    // Set B: same axes, 0 = 0 g.
    EXPECT_NEAR(static_cast<int16_t>(Le16(p + 7)) / 1024.0, g->ay_g, 0.001);
    EXPECT_NEAR(static_cast<int16_t>(Le16(p + 9)) / 1024.0, g->az_g, 0.001);
    EXPECT_NEAR(static_cast<int16_t>(Le16(p + 11)) / 1024.0, g->ax_g, 0.001);
    // Gravity on Z while driving.
    EXPECT_GT(az, 0.6);
    EXPECT_LT(az, 2.0);
    min_ax = std::min(min_ax, ax);
    // Time block: valid flag and local time of day.
    EXPECT_EQ(p[13], 1);
    const int second_of_recording = static_cast<int>(r.cts_ms / 1000);
    EXPECT_EQ(p[16], 8);
    EXPECT_EQ(p[17], 30);
    EXPECT_EQ(p[18], second_of_recording);
    // Driver-assistance words: word 0 is the speed, near the GPS speed of that second.
    const uint16_t speed = Le16(p + 19);
    const GpsFixTruth& fix = truth.fixes[second_of_recording];
    if (static_cast<size_t>(second_of_recording + 1) < truth.fixes.size()) {
      const GpsFixTruth& next = truth.fixes[second_of_recording + 1];
      EXPECT_GE(speed, std::min(fix.speed_kmh, next.speed_kmh) - 1.5);
      EXPECT_LE(speed, std::max(fix.speed_kmh, next.speed_kmh) + 1.5);
    } else {
      EXPECT_NEAR(speed, fix.speed_kmh, 11.0);
    }
    for (int w = 0; w < 21; ++w) EXPECT_EQ(Le16(p + 19 + 2 * w), g->words[w]) << w;
    if (Le16(p + 19 + 2 * 12) == 2) event_marked = true;
  }
  EXPECT_TRUE(event_marked);
  EXPECT_LT(min_ax, -0.8);  // the impact
}

uint8_t Checksum(const std::string& s) {
  uint8_t sum = 0;
  for (size_t i = 1; i < s.size() && s[i] != '*'; ++i) sum ^= static_cast<uint8_t>(s[i]);
  return sum;
}

std::vector<std::string> Split(const std::string& s) {
  std::vector<std::string> out(1);
  for (char c : s) {
    if (c == ',') {
      out.emplace_back();
    } else {
      out.back() += c;
    }
  }
  return out;
}

double ToDegrees(const std::string& v) {
  const double x = std::strtod(v.c_str(), nullptr) / 100.0;
  const double d = std::trunc(x);
  return d + (x - d) * 100.0 / 60.0;
}

TEST_F(RecordingTest, RmcSentencesAreValidAndFollowTheDrive) {
  RecordingOptions o = Small();
  o.seconds = 12;
  o.front_width = 64;
  o.front_height = 36;
  o.rear_width = 32;
  o.rear_height = 18;
  o.fps = 10;
  o.drive_offset_s = 20;
  RecordingTruth truth;
  Write(o, &truth);
  ASSERT_EQ(truth.fixes.size(), 12u);
  double prev_lat = 0, prev_lon = 0, prev_speed = 0;
  int moving_checks = 0;
  for (size_t i = 0; i < truth.fixes.size(); ++i) {
    const GpsFixTruth& f = truth.fixes[i];
    const std::vector<uint8_t>& payload = truth.records[f.record_index].payload;
    const std::string text(payload.begin(), payload.end());
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    const std::string s = text.substr(0, text.size() - 2);
    EXPECT_EQ(s, f.sentence);
    ASSERT_EQ(s.rfind("$GPRMC,", 0), 0u);
    const size_t star = s.find('*');
    ASSERT_NE(star, std::string::npos);
    ASSERT_EQ(star + 3, s.size());
    EXPECT_EQ(std::strtoul(s.substr(star + 1).c_str(), nullptr, 16), Checksum(s)) << s;
    const std::vector<std::string> t = Split(s.substr(0, star));
    ASSERT_GE(t.size(), 10u);
    // Time is UTC: local 08:30:ss is 23:30:ss of the day before.
    EXPECT_EQ(t[1].substr(0, 6), "2330" + std::string(i < 10 ? "0" : "") + std::to_string(i));
    EXPECT_EQ(t[2], "A");
    EXPECT_EQ(t[4], "N");
    EXPECT_EQ(t[6], "E");
    EXPECT_EQ(t[9], "041226");
    const double lat = ToDegrees(t[3]);
    const double lon = ToDegrees(t[5]);
    EXPECT_NEAR(lat, f.lat_deg, 1e-9);
    EXPECT_NEAR(lon, f.lon_deg, 1e-9);
    EXPECT_GT(lat, 33.0);
    EXPECT_LT(lat, 39.0);
    EXPECT_GT(lon, 124.0);
    EXPECT_LT(lon, 132.0);
    const double speed = std::strtod(t[7].c_str(), nullptr) * 1852.0 / 3600.0;  // m/s
    const double course = std::strtod(t[8].c_str(), nullptr);
    EXPECT_GE(course, 0.0);
    EXPECT_LT(course, 360.0);
    if (i > 0) {
      const double dn = (lat - prev_lat) * 110560.0;
      const double de = (lon - prev_lon) * 84800.0;
      const double dist = std::hypot(dn, de);
      // Distance in one second agrees with the speeds at both ends.
      EXPECT_NEAR(dist, (speed + prev_speed) / 2, 1.5) << i;
      if (dist > 3.0) {
        const double bearing = std::fmod(std::atan2(de, dn) * 180.0 / M_PI + 360.0, 360.0);
        double diff = std::fabs(bearing - course);
        diff = std::min(diff, 360.0 - diff);
        EXPECT_LT(diff, 20.0) << i;
        ++moving_checks;
      }
    }
    prev_lat = lat;
    prev_lon = lon;
    prev_speed = speed;
  }
  EXPECT_GT(moving_checks, 3);
}

// Without the index the records stay in movi order and the file plays; a
// power cut leaves that file cut at 70 % with the RIFF and movi sizes as first
// written (0), and the truth keeps the records whose chunks lie wholly before
// the cut.
TEST_F(RecordingTest, WithoutIndexAndAfterAPowerCut) {
  RecordingOptions o = Small();
  o.with_index = false;
  RecordingTruth whole_truth;
  const fs::path whole_file = Write(o, &whole_truth, "whole.avi");
  const std::vector<uint8_t> whole = test::ReadAll(whole_file);
  const test::AviLayout full = test::ParseAvi(whole);
  ASSERT_TRUE(full.ok);
  EXPECT_FALSE(full.has_index);
  EXPECT_FALSE(full.avih_flags & 0x10);
  EXPECT_EQ(full.riff_size, whole.size() - 8);
  EXPECT_TRUE(whole_truth.fallback_reachable);
  size_t k = 0;
  for (const test::Chunk& c : full.movi) {
    if (c.id != "03tx") continue;
    ASSERT_LT(k, whole_truth.records.size());
    EXPECT_EQ(std::vector<uint8_t>(whole.begin() + c.pos + 8, whole.begin() + c.pos + 8 + c.size),
              whole_truth.records[k++].payload);
  }
  EXPECT_EQ(k, whole_truth.records.size());
  const test::Probe probe = test::ProbeFile(whole_file, true);
  EXPECT_NEAR(probe.duration_s, 3.0, 0.05);
  EXPECT_EQ(probe.decode_errors, 0);
  EXPECT_EQ(probe.decoded_frames, 180);

  o.cut_at = 0.7;
  RecordingTruth truth;
  const std::vector<uint8_t> bytes = test::ReadAll(Write(o, &truth));
  EXPECT_EQ(bytes.size(), static_cast<size_t>(static_cast<double>(whole.size()) * 0.7));
  EXPECT_EQ(truth.cut_length, bytes.size());
  ASSERT_TRUE(std::equal(bytes.begin() + static_cast<long>(full.movi_type_pos), bytes.end(),
                         whole.begin() + static_cast<long>(full.movi_type_pos)));
  EXPECT_EQ(Le32(&bytes[4]), 0u);                       // RIFF size
  EXPECT_EQ(Le32(&bytes[full.movi_type_pos - 4]), 0u);  // movi size
  const test::AviLayout cut = test::ParseAvi(bytes);
  ASSERT_EQ(cut.streams.size(), full.streams.size());
  EXPECT_GT(full.streams[0].length, 0u);
  EXPECT_EQ(cut.streams[0].length, 0u);  // header counts never written
  size_t kept = 0, cut_inside = 0;
  for (const test::Chunk& c : full.movi) {
    const uint64_t end = c.pos + 8 + c.size + (c.size & 1);
    if (c.id == "03tx" && end <= bytes.size()) ++kept;
    if (c.pos < bytes.size() && end > bytes.size()) ++cut_inside;
  }
  EXPECT_EQ(cut_inside, 1u);
  EXPECT_EQ(truth.records.size(), kept);
  ASSERT_FALSE(truth.fixes.empty());
  EXPECT_LT(truth.fixes.back().record_index, static_cast<int>(kept));
  EXPECT_LT(truth.fixes.size(), 3u);
  o.cut_at = 1.0;
  EXPECT_FALSE(WriteRecording(dir_ / "x.avi", o, nullptr));
}

// Each user-data layout: its stream headers, its chunk id and the base its
// index offsets count from; the indexed payloads are the records written and
// the pictures decode.
TEST_F(RecordingTest, UserDataLayoutsAndTheirIndexBase) {
  const RecordingOptions plain = Small();
  const uint64_t plain_movi =
      test::ParseAvi(test::ReadAll(Write(plain, nullptr, "p.avi"))).movi_type_pos;
  struct Row {
    UserDataLayout layout;
    uint32_t junk;
    size_t streams;
    std::vector<std::string> handlers;  // of the last streams
    const char* id;
    bool relative;  // index offsets from the movi type instead of the file start
    bool fallback;
    int frames;
  };
  const Row rows[] = {
      {UserDataLayout::kAdas, 0, 3, {"ADAS"}, "02tx", false, false, 90},
      {UserDataLayout::kTwoUser, 0, 4, {"USER", "USER"}, "09tx", false, true, 90},
      {UserDataLayout::kXblb, 1001, 4, {"XBLB"}, "03tx", true, true, 180},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    RecordingOptions o = Small();
    o.user_data = row.layout;
    o.junk_bytes = row.junk;
    if (row.frames == 90) o.channels = ChannelLayout::kFrontOnly;
    RecordingTruth truth;
    const fs::path file = Write(o, &truth, "layout.avi");
    const std::vector<uint8_t> bytes = test::ReadAll(file);
    const test::AviLayout avi = test::ParseAvi(bytes);
    ASSERT_TRUE(avi.ok);
    ASSERT_EQ(avi.streams.size(), row.streams);
    for (size_t i = 0; i < row.handlers.size(); ++i) {
      EXPECT_EQ(avi.streams[row.streams - row.handlers.size() + i].handler, row.handlers[i]);
    }
    EXPECT_EQ(avi.streams.back().rate, 11u);
    EXPECT_EQ(truth.user_data_chunk_id, row.id);
    EXPECT_EQ(truth.fallback_reachable, row.fallback);
    if (row.junk != 0) {
      // An odd size is rounded up to keep chunks on even positions.
      EXPECT_EQ(avi.movi_type_pos, plain_movi + 8 + 1002);
      EXPECT_EQ(std::string(bytes.begin() + plain_movi - 8, bytes.begin() + plain_movi - 4),
                "JUNK");
    }
    size_t k = 0;
    for (const test::IndexEntry& e : avi.index) {
      if (e.id != row.id) continue;
      ASSERT_LT(k, truth.records.size());
      EXPECT_EQ(IndexedPayload(bytes, row.relative ? avi.movi_type_pos : 0, e),
                truth.records[k++].payload);
    }
    EXPECT_EQ(k, truth.records.size());
    const test::Probe probe = test::ProbeFile(file, true);
    ASSERT_TRUE(probe.opened);
    EXPECT_EQ(probe.decode_errors, 0);
    EXPECT_EQ(probe.decoded_frames, row.frames);
  }
}

TEST_F(RecordingTest, RearOnlyAndNoUserData) {
  RecordingOptions o = Small();
  o.channels = ChannelLayout::kRearOnly;
  RecordingTruth rear;
  const test::Probe p = test::ProbeFile(Write(o, &rear, "rear.avi"), false);
  ASSERT_TRUE(p.opened);
  ASSERT_EQ(p.streams.size(), 2u);
  EXPECT_EQ(p.streams[0].width, 96);
  EXPECT_EQ(rear.stream_chunk_ids, (std::vector<std::string>{"00dc", "01tx"}));

  o.channels = ChannelLayout::kFrontOnly;
  o.user_data = UserDataLayout::kNone;
  RecordingTruth none;
  const fs::path file = Write(o, &none, "none.avi");
  EXPECT_TRUE(none.records.empty());
  EXPECT_EQ(test::ParseAvi(test::ReadAll(file)).streams.size(), 2u);
}

TEST_F(RecordingTest, NoFixSecondsWriteVoidSentences) {
  RecordingOptions o = Small();
  o.no_fix_seconds = 2;
  RecordingTruth truth;
  Write(o, &truth);
  ASSERT_EQ(truth.fixes.size(), 3u);
  EXPECT_FALSE(truth.fixes[0].valid);
  EXPECT_NE(truth.fixes[0].sentence.find(",V,,,,,,,"), std::string::npos);
  EXPECT_EQ(
      Checksum(truth.fixes[0].sentence),
      std::strtoul(truth.fixes[0].sentence.substr(truth.fixes[0].sentence.find('*') + 1).c_str(),
                   nullptr, 16));
  EXPECT_TRUE(truth.fixes[2].valid);
}

TEST_F(RecordingTest, BadOptionsAreRefused) {
  RecordingOptions o = Small();
  o.front_width = 191;
  std::string error;
  EXPECT_FALSE(WriteRecording(dir_ / "x.avi", o, &error));
  EXPECT_FALSE(error.empty());
  o = Small();
  o.seconds = 0;
  EXPECT_FALSE(WriteRecording(dir_ / "x.avi", o, &error));
  o = Small();
  EXPECT_FALSE(WriteRecording(dir_ / "missing" / "x.avi", o, &error));
}

}  // namespace
}  // namespace lumora
