// The sample card and its recordings, checked from outside: ffprobe and
// ffmpeg, the test's own AVI parser, plain parsing of logs and settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

#include "tests/mkcard/MediaCheck.h"
#include "tools/mkcard/SampleCard.h"
#include "tools/mkcard/SampleRecording.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;
using test::Le16;
using test::Le32;
using Texts = std::vector<std::string>;

CardOptions SmallCard() {
  CardOptions o;
  o.seconds = 2;
  o.front_width = 160;
  o.front_height = 90;
  o.rear_width = 96;
  o.rear_height = 54;
  o.fps = 15;
  return o;
}

// One small card shared by the cases (written once).
struct Card {
  test::TempFolder dir;
  fs::path root = dir / "card";
  CardTruth truth;
  std::string error;
  bool ok = MakeCard(root, SmallCard(), &error, &truth);
};
const Card& TheCard() {
  static const Card card;
  return card;
}

class CardTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(card_.ok) << card_.error; }
  static std::string Text(const fs::path& rel) { return test::ReadFile(TheCard().root / rel); }
  const Card& card_ = TheCard();
};

std::set<std::string> FilesUnder(const fs::path& root) {
  std::set<std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) out.insert(fs::relative(e.path(), root).generic_string());
  }
  return out;
}

// The camera's names and folders; a front/rear pair shares its stem; backup/ is
// skipped by the scans.
TEST_F(CardTest, EveryFileHasTheCamerasName) {
  std::istringstream names(
      "DIT/GPS/20261205_083000.DIT DIT/GPS/20261205_144700.DIT EVENT/20261205_083008_E1.avi "
      "NORMAL/20261205_083000_N1.avi NORMAL/20261205_083002_N1.avi NORMAL/20261205_083002_N2.avi "
      "NORMAL/20261205_083004_N1.avi NORMAL/20261205_083006_I1.avi "
      "NORMAL/LUMORA^20261205_083010_F^1^2^NI.mp4 NORMAL/backup/20261205_083010_N1.avi "
      "PARKING/20261205_073000_P1.avi SETUP/data_factory.cfg SETUP/data_setup.cfg "
      "cfg/data_setup.cfg wifi.cfg");
  std::set<std::string> want{std::istream_iterator<std::string>(names), {}};
  for (int s = 0; s < 8; s += 2) {
    for (const char* ext : {".JPG", ".jpg"}) {
      want.insert("CAPTURE/20261205_08300" + std::to_string(s) + "/20261205_08300" +
                  std::to_string(s + 1) + ext);
    }
  }
  EXPECT_EQ(FilesUnder(card_.root), want);
  for (const CardRecording& r : card_.truth.recordings) {
    EXPECT_EQ(r.skipped_by_scan, r.path.parent_path().filename() == "backup") << r.path;
  }
}

// Streams, length and size of every recording (N2 and the backup copy are rear
// files); event ones carry the event marker, parking ones stand still.
TEST_F(CardTest, EveryRecordingOpensAndCarriesItsKindsData) {
  ASSERT_EQ(card_.truth.recordings.size(), 9u);
  for (const CardRecording& r : card_.truth.recordings) {
    SCOPED_TRACE(r.path);
    const test::Probe p = test::ProbeFile(card_.root / r.path);
    ASSERT_FALSE(p.streams.empty());
    // A field ffprobe left out reads as null (and fails the comparison).
    auto field = [&p](std::size_t stream, const char* key) {
      return stream < p.streams.size() ? p.streams[stream].value(key, nlohmann::json())
                                       : nlohmann::json();
    };
    EXPECT_EQ(field(0, "duration"), "2.000000");
    const bool rear = r.path.filename().string().find("_N2") != std::string::npos ||
                      r.path.parent_path().filename() == "backup";
    EXPECT_EQ(field(0, "width"), rear ? 96 : 160);
    if (r.path.extension() == ".mp4") {
      EXPECT_NE(p.format.find("mp4"), std::string::npos);
      continue;
    }
    EXPECT_EQ(p.format, "avi");
    EXPECT_EQ(field(0, "nb_read_packets"), "30");
    EXPECT_EQ(r.truth.video_streams, field(1, "codec_type") == "video" ? 2 : 1);
    EXPECT_FALSE(r.truth.records.empty());
    bool marker = false;
    int speed = 0;
    for (const GSampleTruth& g : r.truth.g_samples) {
      marker = marker || g.words[12] == 2;
      speed += g.words[0];
    }
    for (const GpsFixTruth& f : r.truth.fixes) speed += static_cast<int>(f.speed_knots * 10);
    EXPECT_TRUE(marker || r.kind != "EVENT");
    EXPECT_EQ(speed == 0, r.kind == "PARKING");
  }
}

// Drive logs: CR LF lines of date-time, latitude, longitude, speed, TTC.
TEST_F(CardTest, DriveLogsHaveValidPoints) {
  ASSERT_EQ(card_.truth.dit_files.size(), 2u);
  for (const fs::path& rel : card_.truth.dit_files) {
    SCOPED_TRACE(rel);
    const std::string text = Text(rel);
    int lines = 0, moving = 0;
    for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
      ASSERT_EQ(text[end - 1], '\r');
      const std::vector<std::string> f = test::Split(text.substr(at, end - 1 - at));
      ASSERT_EQ(f.size(), 5u) << lines;
      EXPECT_EQ(f[0].size(), 14u) << lines;
      EXPECT_EQ(f[0].substr(0, 8), rel.filename().string().substr(0, 8));
      EXPECT_NE(std::atof(f[1].c_str()) * std::atof(f[2].c_str()), 0.0) << lines;
      moving += std::atoi(f[3].c_str()) > 0;
      ++lines;
    }
    EXPECT_GE(lines, 60);
    EXPECT_GT(moving, 10);
  }
}

// Stills: baseline 640 x 360 4:2:0 JPEGs without restart interval.
TEST_F(CardTest, StillsAreBaselineJpegs) {
  ASSERT_EQ(card_.truth.stills.size(), 8u);
  for (const fs::path& rel : card_.truth.stills) {
    // Markers never occur inside the byte-stuffed scan data.
    const std::string b = Text(rel);
    EXPECT_EQ(b.substr(0, 2) + b.substr(b.size() - 2), "\xFF\xD8\xFF\xD9") << rel;
    EXPECT_EQ(b.find("\xFF\xC2"), std::string::npos) << rel;  // not progressive
    EXPECT_EQ(b.find("\xFF\xDD"), std::string::npos) << rel;  // no restart interval
    const size_t sof = b.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos) << rel;
    EXPECT_EQ(b.substr(sof + 5, 7), std::string("\x01\x68\x02\x80\x03\x01\x22", 7)) << rel;
  }
}

// Settings: INI text (CR LF, sections in the camera's order), binary record,
// factory and Wi-Fi files.
TEST_F(CardTest, SettingsFiles) {
  const std::string text = Text("cfg/data_setup.cfg");
  ASSERT_GT(text.size(), 2u);
  EXPECT_EQ(text.substr(0, 1) + text.substr(text.size() - 2), "#\r\n");
  for (size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1)) {
    ASSERT_EQ(text[i - 1], '\r') << "a line without CR at " << i;
  }
  size_t last = 0;
  for (const char* s : {"[IO]", "[INSTALL]", "[LDWS]", "[BNW]", "[FCW]", "[PD]", "[VB]", "[BB]",
                        "[B2B]", "[DSP]", "[KVX]", "usMaxChannel=2 \r\n"}) {
    const size_t at = text.find(s);
    ASSERT_NE(at, std::string::npos) << s;
    EXPECT_GT(at, last) << s;
    last = at;
  }
  for (const char* k : {"usIoTurnActive=1 \r\n", "sDevicePosX=-50 \r\n", "usLdw_On=1 \r\n",
                        "usDisplaySpeedUnit=0 \r\n", "usMenuLanguage=1 \r\n", "usTimeZone=21 \r\n",
                        "tar_h=720 \r\n"}) {
    EXPECT_NE(text.find(k), std::string::npos) << k;
  }
  // INSTALL writes pulse C before A and B.
  EXPECT_LT(text.find("usoVssPulseC="), text.find("usoVssPulseA="));
  EXPECT_LT(text.find("usoVssPulseA="), text.find("usoVssPulseB="));
  // Speed unit km/h, English menus, channels, device position.
  const std::vector<uint8_t> record = test::ReadAll(card_.root / "SETUP" / "data_setup.cfg");
  ASSERT_EQ(record.size(), 220u);
  EXPECT_EQ(std::vector<int>({Le16(&record[132]), Le16(&record[138]), Le16(&record[200])}),
            std::vector<int>({0, 1, 2}));
  EXPECT_EQ(static_cast<int16_t>(Le16(&record[10])), -50);
  EXPECT_EQ(Text("SETUP/data_factory.cfg").substr(0, 3), "HVN");
  const std::string w = Text("wifi.cfg");
  EXPECT_EQ(w.rfind("[WIFI]\r\n", 0), 0u);
  for (const char* k : {"\r\nssid=LUMORA_", "\r\nwpa_passphrase=", "\r\nnetwork=192.168.20 \r\n"}) {
    EXPECT_NE(w.find(k), std::string::npos) << k;
  }
}

// The same seed gives the same bytes, another seed others; the command line.
TEST_F(CardTest, SeedsAndTheCommandLineTool) {
  const fs::path again = card_.dir / "again";
  std::string error;
  ASSERT_TRUE(MakeCard(again, SmallCard(), &error)) << error;
  const std::set<std::string> files = FilesUnder(card_.root);
  ASSERT_EQ(FilesUnder(again), files);
  for (const std::string& f : files) EXPECT_EQ(Text(f), test::ReadFile(again / f)) << f;
  CardOptions other = SmallCard();
  other.seed = 5;
  other.recordings = 1;
  other.with_stills = false;
  other.with_mp4 = false;
  ASSERT_TRUE(MakeCard(card_.dir / "third", other, &error)) << error;
  const std::string first = "NORMAL/20261205_083000_N1.avi";
  EXPECT_NE(Text(first), test::ReadFile(card_.dir / "third" / first));
  const std::string tool =
      test::Quote(std::string(LUMORA_BINARY_DIR) + "/tools/mkcard/lumora-mkcard") + " ";
  const fs::path out = card_.dir / "cli";
  EXPECT_EQ(test::RunCommand(tool + "--seconds 1 --recordings 2 --front 128x72 --rear 64x36 " +
                             "--no-stills --no-mp4 --no-index " + test::Quote(out.string()))
                .exitCode,
            0);
  const std::set<std::string> written = FilesUnder(out);
  for (const char* f : {"NORMAL/20261205_083000_N1.avi", "NORMAL/20261205_083001_N1.avi",
                        "NORMAL/20261205_083001_N2.avi"}) {
    EXPECT_TRUE(written.count(f)) << f;
  }
  EXPECT_EQ(written.count("CAPTURE/20261205_083000/20261205_083001.jpg"), 0u);
  const test::AviLayout avi = test::ParseAvi(test::ReadAll(out / "NORMAL/20261205_083000_N1.avi"));
  EXPECT_TRUE(avi.ok);
  EXPECT_FALSE(avi.has_index);
  const test::CliResult bad =
      test::RunCommand(tool + "--front 12x7 " + test::Quote((card_.dir / "bad").string()));
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_FALSE(bad.err.empty());
}

class RecordingTest : public ::testing::Test {
 protected:
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
    std::string error;
    EXPECT_TRUE(WriteRecording(dir_ / name, o, &error, truth)) << error;
    return dir_ / name;
  }

  test::TempFolder dir_;
};

// The payload of a chunk whose header lies at `base` + `e.pos`.
std::vector<uint8_t> Payload(const std::vector<uint8_t>& bytes, uint64_t base,
                             const test::Chunk& e) {
  const auto at = static_cast<long>(base + e.pos + 8);
  if (static_cast<size_t>(at) + e.size > bytes.size()) return {};
  return {bytes.begin() + at, bytes.begin() + at + e.size};
}

// Per user-data layout: headers, chunk id, index base (movi type for XBLB),
// even top-level sizes (the camera's reader does not round up) and decoding.
// ffprobe: user data is no decodable stream; sound 8000 Hz mono, 800 a chunk.
TEST_F(RecordingTest, LayoutsStreamsAndIndex) {
  struct Row {
    UserDataLayout layout;
    uint32_t junk;
    std::string types, handlers;
    const char* id;
    bool fallback;
    int frames;
  };
  const Row rows[] = {
      {UserDataLayout::kXblb, 0, "vidsvidsaudstxts", "XBLB", "03tx", true, 180},
      {UserDataLayout::kXblb, 1001, "vidsvidsaudstxts", "XBLB", "03tx", true, 180},
      {UserDataLayout::kAdas, 0, "vidsaudstxts", "ADAS", "02tx", false, 90},
      {UserDataLayout::kTwoUser, 0, "vidsaudstxtstxts", "USERUSER", "09tx", true, 90},
  };
  uint64_t plain_movi = 0;
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.id) + " junk " + std::to_string(row.junk));
    RecordingOptions o = Small();
    o.user_data = row.layout;
    o.junk_bytes = row.junk;
    if (row.frames == 90) o.channels = ChannelLayout::kFrontOnly;
    RecordingTruth truth;
    const fs::path file = Write(o, &truth);
    const std::vector<uint8_t> bytes = test::ReadAll(file);
    const test::AviLayout avi = test::ParseAvi(bytes);
    ASSERT_TRUE(avi.ok);
    EXPECT_EQ(avi.riff_size, bytes.size() - 8);
    EXPECT_TRUE(avi.avih_flags & 0x10);
    EXPECT_EQ(avi.top, row.junk ? "LISTJUNKLISTidx1" : "LISTLISTidx1");
    EXPECT_FALSE(avi.odd_sizes);
    std::string types, handlers;
    for (const test::StreamHeader& s : avi.streams) {
      types += s.type;
      handlers += s.type == "txts" ? s.handler : "";
    }
    EXPECT_EQ(types + " " + handlers, row.types + " " + row.handlers);
    EXPECT_EQ(avi.streams.back().scale * 100 + avi.streams.back().rate, 111u);  // 11 a second
    EXPECT_EQ(truth.user_data_chunk_id, row.id);
    EXPECT_EQ(truth.fallback_reachable, row.fallback);
    if (plain_movi == 0 || row.layout != UserDataLayout::kXblb) plain_movi = avi.movi_type_pos;
    EXPECT_EQ(avi.movi_type_pos, plain_movi + (row.junk ? 8 + 1002 : 0));
    ASSERT_EQ(avi.index.size(), avi.movi.size());
    EXPECT_EQ(avi.movi[0].id, "00dc");
    const uint64_t base = row.layout == UserDataLayout::kXblb ? avi.movi_type_pos : 0;
    size_t k = 0;
    for (size_t i = 0; i < avi.index.size(); ++i) {
      EXPECT_EQ(avi.index[i].id, avi.movi[i].id);
      EXPECT_EQ(base + avi.index[i].pos, avi.movi[i].pos);
      if (avi.index[i].id != row.id) continue;
      ASSERT_LT(k, truth.records.size());
      EXPECT_EQ(Payload(bytes, base, avi.index[i]), truth.records[k++].payload);
    }
    EXPECT_EQ(k, truth.records.size());
    const test::Probe probe = test::ProbeFile(file);
    EXPECT_EQ(probe.decode_errors, 0);
    EXPECT_EQ(probe.decoded_frames, row.frames);
    if (&row != rows) continue;
    Texts streams;
    for (const auto& s : probe.streams) streams.push_back(test::Summary(s));
    EXPECT_EQ(streams, Texts({"video h264 192 108 1/30 90", "video h264 96 54 1/30 90",
                              "audio pcm_s16le 1/8000 8000 1 30", "1/11 33"}));
    EXPECT_EQ(probe.format + " " + std::string(probe.streams[0]["duration"]), "avi 3.000000");
    EXPECT_EQ(truth.stream_chunk_ids, Texts({"00dc", "01dc", "02wb", "03tx"}));
  }
}

// 11 records a second (one RMC, ten G); a G record: set A (2048 = 0 g, 1024
// per g), set B (0 = 0 g), time block, 21 words (0 speed, 12 event marker).
TEST_F(RecordingTest, RecordsAndTheGSensorLayout) {
  RecordingOptions o = Small();
  o.event_second = 1;
  RecordingTruth truth;
  Write(o, &truth);
  ASSERT_EQ(truth.records.size(), 33u);
  ASSERT_EQ(truth.fixes.size(), 3u);
  ASSERT_EQ(truth.g_samples.size(), 30u);
  EXPECT_EQ(truth.fixes[1].cts_ms, 1000u);
  bool event_marked = false;
  double min_ax = 0;
  for (size_t k = 0, g = 0; k < truth.records.size(); ++k) {
    SCOPED_TRACE(k);
    const UserRecordTruth& r = truth.records[k];
    EXPECT_EQ(r.cts_ms, k * 1000 / 11);
    ASSERT_EQ(r.payload[0], k % 11 == 0 ? '$' : 'M');
    if (k % 11 == 0) continue;
    ASSERT_EQ(r.payload.size(), 61u);
    const GSampleTruth& s = truth.g_samples[g++];
    ASSERT_EQ(s.cts_ms, r.cts_ms);
    const uint8_t* p = r.payload.data();
    const double yzx[3] = {s.ay_g, s.az_g, s.ax_g};
    for (int axis = 0; axis < 3; ++axis) {
      EXPECT_NEAR((static_cast<int16_t>(Le16(p + 1 + 2 * axis)) - 2048) / 1024.0, yzx[axis], 0.001);
      EXPECT_NEAR(static_cast<int16_t>(Le16(p + 7 + 2 * axis)) / 1024.0, yzx[axis], 0.001);
    }
    EXPECT_TRUE(s.az_g > 0.6 && s.az_g < 2.0) << s.az_g;  // gravity on Z while driving
    min_ax = std::min(min_ax, s.ax_g);
    const int second = static_cast<int>(r.cts_ms / 1000);
    EXPECT_EQ(std::vector<int>({p[13], p[16], p[17], p[18]}), std::vector<int>({1, 8, 30, second}));
    // The speed lies between the GPS speeds around it.
    const double a = truth.fixes[second].speed_kmh;
    const double b = second < 2 ? truth.fixes[second + 1].speed_kmh : a;
    const double slack = second < 2 ? 1.5 : 11.0;
    EXPECT_TRUE(Le16(p + 19) >= std::min(a, b) - slack && Le16(p + 19) <= std::max(a, b) + slack);
    for (int w = 0; w < 21; ++w) EXPECT_EQ(Le16(p + 19 + 2 * w), s.words[w]) << w;
    event_marked = event_marked || Le16(p + 19 + 2 * 12) == 2;
  }
  EXPECT_TRUE(event_marked);
  EXPECT_LT(min_ax, -0.8);  // the impact
}

// RMC: checksummed, UTC (08:30 at UTC+9), distance and bearing per second
// agreeing with speed and course; no fix gives status V and empty fields.
TEST_F(RecordingTest, RmcSentencesAreValidAndFollowTheDrive) {
  RecordingOptions o = Small();
  o.seconds = 12;
  o.front_width = 64;
  o.front_height = 36;
  o.rear_width = 32;
  o.rear_height = 18;
  o.fps = 10;
  o.drive_offset_s = 20;
  o.no_fix_seconds = 1;
  RecordingTruth truth;
  Write(o, &truth);
  ASSERT_EQ(truth.fixes.size(), 12u);
  EXPECT_FALSE(truth.fixes[0].valid);
  EXPECT_NE(truth.fixes[0].sentence.find(",V,,,,,,,"), std::string::npos);
  double prev_lat = 0, prev_lon = 0, prev_speed = 0;
  int moving_checks = 0;
  for (size_t i = 0; i < truth.fixes.size(); ++i) {
    SCOPED_TRACE(i);
    const std::vector<uint8_t>& payload = truth.records[truth.fixes[i].record_index].payload;
    const std::string s(payload.begin(), payload.end());
    ASSERT_EQ(s, truth.fixes[i].sentence + "\r\n");
    ASSERT_EQ(s.rfind("$GPRMC,", 0), 0u);
    const size_t star = s.find('*');
    ASSERT_EQ(star + 5, s.size());
    unsigned sum = 0;
    for (size_t c = 1; c < star; ++c) sum ^= static_cast<uint8_t>(s[c]);
    EXPECT_EQ(std::strtoul(s.substr(star + 1, 2).c_str(), nullptr, 16), sum);
    if (i == 0) continue;
    const Texts t = test::Split(s.substr(0, star));
    ASSERT_GE(t.size(), 10u);
    EXPECT_EQ(t[1].substr(0, 6), (i < 10 ? "23300" : "2330") + std::to_string(i));
    EXPECT_EQ(t[2] + t[4] + t[6] + t[9], "ANE041226");
    // ddmm.mmmm to degrees.
    const double lat = std::stoi(t[3].substr(0, 2)) + std::stod(t[3].substr(2)) / 60.0;
    const double lon = std::stoi(t[5].substr(0, 3)) + std::stod(t[5].substr(3)) / 60.0;
    EXPECT_NEAR(lat, truth.fixes[i].lat_deg, 1e-9);
    EXPECT_NEAR(lon, truth.fixes[i].lon_deg, 1e-9);
    const double speed = std::stod(t[7]) * 1852.0 / 3600.0;  // knots to m/s
    const double course = std::stod(t[8]);
    EXPECT_TRUE(lat > 33 && lat < 39 && lon > 124 && lon < 132 && course >= 0 && course < 360);
    const double dn = (lat - prev_lat) * 110560.0;
    const double de = (lon - prev_lon) * 84800.0;
    if (i > 1) {
      EXPECT_NEAR(std::hypot(dn, de), (speed + prev_speed) / 2, 1.5);
    }
    if (i > 1 && std::hypot(dn, de) > 3.0) {
      const double diff = std::fabs(std::fmod(std::atan2(de, dn) * 180 / M_PI + 360, 360) - course);
      EXPECT_LT(std::min(diff, 360.0 - diff), 20.0);
      ++moving_checks;
    }
    prev_lat = lat;
    prev_lon = lon;
    prev_speed = speed;
  }
  EXPECT_GT(moving_checks, 3);
}

// Without idx1 the records stay in movi order; a power cut leaves 70 % with
// the sizes and counts as first written (0) and the records wholly before it.
TEST_F(RecordingTest, WithoutIndexAndAfterAPowerCut) {
  RecordingOptions o = Small();
  o.with_index = false;
  RecordingTruth whole_truth;
  const fs::path whole_file = Write(o, &whole_truth, "whole.avi");
  const std::vector<uint8_t> whole = test::ReadAll(whole_file);
  const test::AviLayout full = test::ParseAvi(whole);
  EXPECT_EQ(full.top, "LISTLIST");
  EXPECT_FALSE(full.avih_flags & 0x10);
  EXPECT_EQ(full.riff_size, whole.size() - 8);
  EXPECT_TRUE(whole_truth.fallback_reachable);
  std::vector<std::vector<uint8_t>> records, written;
  for (const test::Chunk& c : full.movi) {
    if (c.id == "03tx") records.push_back(Payload(whole, 0, c));
  }
  for (const UserRecordTruth& r : whole_truth.records) written.push_back(r.payload);
  EXPECT_EQ(records, written);

  o.cut_at = 0.7;
  RecordingTruth truth;
  const std::vector<uint8_t> bytes = test::ReadAll(Write(o, &truth));
  EXPECT_EQ(bytes.size(), static_cast<size_t>(static_cast<double>(whole.size()) * 0.7));
  EXPECT_EQ(truth.cut_length, bytes.size());
  const auto movi = static_cast<long>(full.movi_type_pos);
  ASSERT_TRUE(std::equal(bytes.begin() + movi, bytes.end(), whole.begin() + movi));
  EXPECT_EQ(Le32(&bytes[4]), 0u);         // RIFF size
  EXPECT_EQ(Le32(&bytes[movi - 4]), 0u);  // movi size
  const test::AviLayout cut = test::ParseAvi(bytes);
  ASSERT_EQ(cut.streams.size(), full.streams.size());
  EXPECT_GT(full.streams[0].length, 0u);
  EXPECT_EQ(cut.streams[0].length, 0u);
  size_t kept = 0, cut_inside = 0;
  for (const test::Chunk& c : full.movi) {
    const uint64_t end = c.pos + 8 + c.size + (c.size & 1);
    kept += c.id == "03tx" && end <= bytes.size();
    cut_inside += c.pos < bytes.size() && end > bytes.size();
  }
  EXPECT_EQ(cut_inside, 1u);
  EXPECT_EQ(truth.records.size(), kept);
  ASSERT_FALSE(truth.fixes.empty());
  EXPECT_LT(truth.fixes.back().record_index, static_cast<int>(kept));
  EXPECT_LT(truth.fixes.size(), 3u);
}

TEST_F(RecordingTest, RearOnlyNoUserDataAndBadOptions) {
  RecordingOptions o = Small();
  o.channels = ChannelLayout::kRearOnly;
  RecordingTruth rear;
  const test::Probe p = test::ProbeFile(Write(o, &rear, "rear.avi"));
  EXPECT_EQ(test::Summary(p.streams[0]) + " | " + test::Summary(p.streams[1]),
            "video h264 96 54 1/30 90 | 1/11 33");
  EXPECT_EQ(rear.stream_chunk_ids, Texts({"00dc", "01tx"}));
  o.channels = ChannelLayout::kFrontOnly;
  o.user_data = UserDataLayout::kNone;
  RecordingTruth none;
  EXPECT_EQ(test::ParseAvi(test::ReadAll(Write(o, &none, "none.avi"))).streams.size(), 2u);
  EXPECT_TRUE(none.records.empty());
  // An odd width, no seconds, a missing folder, a cut at the very end.
  RecordingOptions bad[4] = {Small(), Small(), Small(), Small()};
  bad[0].front_width = 191;
  bad[1].seconds = 0;
  bad[3].cut_at = 1.0;
  for (int i = 0; i < 4; ++i) {
    std::string error;
    EXPECT_FALSE(WriteRecording(dir_ / (i == 2 ? "missing/x.avi" : "x.avi"), bad[i], &error)) << i;
    EXPECT_FALSE(error.empty()) << i;
  }
}

}  // namespace
}  // namespace lumora
