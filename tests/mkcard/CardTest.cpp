// The sample card lumora-mkcard writes, checked with ffprobe and plain parsing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "tests/mkcard/MediaCheck.h"
#include "tools/mkcard/SampleCard.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;
using test::Le16;

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
  std::set<std::string> want = {"DIT/GPS/20261205_083000.DIT",
                                "DIT/GPS/20261205_144700.DIT",
                                "EVENT/20261205_083008_E1.avi",
                                "NORMAL/20261205_083000_N1.avi",
                                "NORMAL/20261205_083002_N1.avi",
                                "NORMAL/20261205_083002_N2.avi",
                                "NORMAL/20261205_083004_N1.avi",
                                "NORMAL/20261205_083006_I1.avi",
                                "NORMAL/LUMORA^20261205_083010_F^1^2^NI.mp4",
                                "NORMAL/backup/20261205_083010_N1.avi",
                                "PARKING/20261205_073000_P1.avi",
                                "SETUP/data_factory.cfg",
                                "SETUP/data_setup.cfg",
                                "cfg/data_setup.cfg",
                                "wifi.cfg"};
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
  std::set<std::string> kinds;
  for (const CardRecording& r : card_.truth.recordings) {
    SCOPED_TRACE(r.path);
    const test::Probe p = test::ProbeFile(card_.root / r.path);
    ASSERT_FALSE(p.streams.empty());
    EXPECT_EQ(p.streams[0]["duration"], "2.000000");
    const bool rear = r.path.filename().string().find("_N2") != std::string::npos ||
                      r.path.parent_path().filename() == "backup";
    EXPECT_EQ(p.streams[0]["width"], rear ? 96 : 160);
    if (r.path.extension() == ".mp4") {
      EXPECT_NE(p.format.find("mp4"), std::string::npos);
      continue;
    }
    EXPECT_EQ(p.format, "avi");
    EXPECT_EQ(p.streams[0]["nb_read_packets"], "30");
    EXPECT_EQ(r.truth.duration_ms, 2000);
    EXPECT_EQ(r.truth.video_streams, p.streams[1]["codec_type"] == "video" ? 2 : 1);
    EXPECT_FALSE(r.truth.records.empty());
    kinds.insert(r.kind);
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
  EXPECT_EQ(kinds, (std::set<std::string>{"NORMAL", "EVENT", "PARKING"}));
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
    SCOPED_TRACE(rel);
    const std::vector<uint8_t> b = test::ReadAll(card_.root / rel);
    ASSERT_GT(b.size(), 4u);
    EXPECT_EQ(Le16(&b[0]) | (Le16(&b[b.size() - 2]) << 16), 0xD9FFD8FFu);
    std::string frame;
    for (size_t p = 2; p + 4 <= b.size() && b[p] == 0xFF && b[p + 1] != 0xDA;
         p += 2 + ((b[p + 2] << 8) | b[p + 3])) {
      EXPECT_NE(b[p + 1], 0xC2);  // never progressive
      EXPECT_NE(b[p + 1], 0xDD);  // no restart interval
      if (b[p + 1] == 0xC0) frame.assign(&b[p + 5], &b[p + 12]);
    }
    EXPECT_EQ(frame, std::string("\x01\x68\x02\x80\x03\x01\x22", 7));
  }
}

// Settings: INI text (CR LF, sections in the camera's order), binary record,
// factory and Wi-Fi files.
TEST_F(CardTest, SettingsFiles) {
  const std::string text = Text("cfg/data_setup.cfg");
  ASSERT_GT(text.size(), 2u);
  EXPECT_EQ(text[0], '#');
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
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
  EXPECT_GE(Text("SETUP/data_factory.cfg").size(), 66u);
  EXPECT_EQ(Text("SETUP/data_factory.cfg").substr(0, 3), "HVN");
  const std::string w = Text("wifi.cfg");
  EXPECT_EQ(w.rfind("[WIFI]\r\n", 0), 0u);
  for (const char* k : {"\r\nssid=LUMORA_", "\r\nwpa_passphrase=", "\r\nnetwork=192.168.20 \r\n"}) {
    EXPECT_NE(w.find(k), std::string::npos) << k;
  }
}

TEST_F(CardTest, SameSeedGivesTheSameCardAnotherSeedAnother) {
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
}

TEST_F(CardTest, CommandLineToolWritesACardAndRefusesBadInput) {
  const std::string tool =
      test::Quote(std::string(LUMORA_BINARY_DIR) + "/tools/mkcard/lumora-mkcard") + " ";
  const fs::path out = card_.dir / "cli";
  EXPECT_EQ(test::RunCommand(tool + "--seconds 1 --recordings 2 --front 128x72 --rear 64x36 " +
                             "--no-stills --no-mp4 --no-index " + test::Quote(out.string()))
                .exitCode,
            0);
  const std::set<std::string> files = FilesUnder(out);
  for (const char* f : {"NORMAL/20261205_083000_N1.avi", "NORMAL/20261205_083001_N1.avi",
                        "NORMAL/20261205_083001_N2.avi"}) {
    EXPECT_TRUE(files.count(f)) << f;
  }
  EXPECT_EQ(files.count("CAPTURE/20261205_083000/20261205_083001.jpg"), 0u);
  const test::AviLayout avi = test::ParseAvi(test::ReadAll(out / "NORMAL/20261205_083000_N1.avi"));
  EXPECT_TRUE(avi.ok);
  EXPECT_FALSE(avi.has_index);
  const test::CliResult bad =
      test::RunCommand(tool + "--front 12x7 " + test::Quote((card_.dir / "bad").string()));
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_FALSE(bad.err.empty());
}

}  // namespace
}  // namespace lumora
