#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "tests/mkcard/AviInspect.h"
#include "tests/mkcard/MediaProbe.h"
#include "tests/support/Cli.h"
#include "tools/mkcard/SampleCard.h"

extern "C" {
#include <libavutil/log.h>
}

namespace lumora {
namespace {

namespace fs = std::filesystem;

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

// One small card shared by the cases of this suite (written once).
class CardTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    av_log_set_level(AV_LOG_ERROR);
    dir_ = new test::TempFolder;
    truth_ = new CardTruth;
    error_ = new std::string;
    ok_ = MakeCard(Card(), SmallCard(), error_, truth_);
  }
  static void TearDownTestSuite() {
    delete dir_;
    delete truth_;
    delete error_;
  }
  void SetUp() override { ASSERT_TRUE(ok_) << *error_; }

  static fs::path Card() { return *dir_ / "card"; }

  static inline test::TempFolder* dir_ = nullptr;
  static inline CardTruth* truth_ = nullptr;
  static inline std::string* error_ = nullptr;
  static inline bool ok_ = false;
};

std::set<std::string> FilesUnder(const fs::path& root) {
  std::set<std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) out.insert(fs::relative(e.path(), root).generic_string());
  }
  return out;
}

// The names the camera writes: recordings <start>_<channel><kind>.avi in
// NORMAL, EVENT and PARKING (a front/rear pair shares its stem), an MP4 of the
// phone app's naming, a backup sub-folder the scans skip, stills in a folder
// per recording, drive logs and the settings files.
TEST_F(CardTest, EveryFileHasTheCamerasName) {
  const std::set<std::string> want = {"CAPTURE/20261205_083000/20261205_083001.JPG",
                                      "CAPTURE/20261205_083000/20261205_083001.jpg",
                                      "CAPTURE/20261205_083002/20261205_083003.JPG",
                                      "CAPTURE/20261205_083002/20261205_083003.jpg",
                                      "CAPTURE/20261205_083004/20261205_083005.JPG",
                                      "CAPTURE/20261205_083004/20261205_083005.jpg",
                                      "CAPTURE/20261205_083006/20261205_083007.JPG",
                                      "CAPTURE/20261205_083006/20261205_083007.jpg",
                                      "DIT/GPS/20261205_083000.DIT",
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
  EXPECT_EQ(FilesUnder(Card()), want);
  for (const CardRecording& r : truth_->recordings) {
    EXPECT_EQ(r.skipped_by_scan, r.path.parent_path().filename() == "backup") << r.path;
  }
}

TEST_F(CardTest, EveryRecordingOpensWithItsStreamsAndDuration) {
  ASSERT_EQ(truth_->recordings.size(), 9u);
  for (const CardRecording& r : truth_->recordings) {
    const fs::path file = Card() / r.path;
    ASSERT_TRUE(fs::exists(file)) << r.path;
    const test::Probe p = test::ProbeFile(file, false);
    ASSERT_TRUE(p.opened) << r.path;
    int videos = 0;
    for (const auto& s : p.streams) videos += s.type == "video";
    if (r.path.extension() == ".mp4") {
      EXPECT_EQ(p.format.find("mp4") != std::string::npos, true);
      EXPECT_EQ(videos, 1);
      EXPECT_NEAR(p.duration_s, 2.0, 0.1);
      continue;
    }
    EXPECT_EQ(p.format, "avi");
    EXPECT_EQ(videos, r.truth.video_streams) << r.path;
    EXPECT_NEAR(p.duration_s * 1000, static_cast<double>(r.truth.duration_ms), 50) << r.path;
    EXPECT_FALSE(r.truth.records.empty()) << r.path;
    EXPECT_EQ(p.streams[0].packets, r.truth.video_frames);
    // Rear files (N2) and the backup copy carry the rear size.
    const bool rear = r.path.filename().string().find("_N2") != std::string::npos ||
                      r.path.parent_path().filename() == "backup";
    EXPECT_EQ(p.streams[0].width, rear ? 96 : 160) << r.path;
  }
}

TEST_F(CardTest, EventAndParkingRecordingsCarryTheirData) {
  bool event_seen = false, parking_seen = false;
  for (const CardRecording& r : truth_->recordings) {
    if (r.kind == "EVENT") {
      event_seen = true;
      bool marker = false;
      for (const GSampleTruth& g : r.truth.g_samples) marker = marker || g.words[12] == 2;
      EXPECT_TRUE(marker) << r.path;
    }
    if (r.kind == "PARKING") {
      parking_seen = true;
      for (const GpsFixTruth& f : r.truth.fixes) EXPECT_EQ(f.speed_knots, 0.0);
      for (const GSampleTruth& g : r.truth.g_samples) EXPECT_EQ(g.words[0], 0);
    }
  }
  EXPECT_TRUE(event_seen);
  EXPECT_TRUE(parking_seen);
}

std::vector<std::string> Lines(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<std::string> out;
  std::string line;
  while (std::getline(in, line)) out.push_back(line);
  return out;
}

TEST_F(CardTest, DriveLogsHaveValidPoints) {
  ASSERT_EQ(truth_->dit_files.size(), 2u);
  for (const fs::path& rel : truth_->dit_files) {
    const std::vector<std::string> lines = Lines(Card() / rel);
    ASSERT_GE(lines.size(), 60u);
    int moving = 0;
    for (const std::string& raw : lines) {
      ASSERT_FALSE(raw.empty());
      EXPECT_EQ(raw.back(), '\r');
      const std::string line = raw.substr(0, raw.size() - 1);
      EXPECT_EQ(line.find(','), 14u) << line;
      std::vector<std::string> f(1);
      for (char c : line) {
        if (c == ',') {
          f.emplace_back();
        } else {
          f.back().push_back(c);
        }
      }
      ASSERT_EQ(f.size(), 5u) << line;
      EXPECT_EQ(f[0].substr(0, 8), rel.filename().string().substr(0, 8));
      EXPECT_NE(std::strtod(f[1].c_str(), nullptr), 0.0);
      EXPECT_NE(std::strtod(f[2].c_str(), nullptr), 0.0);
      if (std::atoi(f[3].c_str()) > 0) ++moving;
    }
    EXPECT_GT(moving, 10);
  }
}

TEST_F(CardTest, StillsAreBaselineJpegsInPerRecordingFolders) {
  ASSERT_FALSE(truth_->stills.empty());
  int subsampled = 0;
  for (const fs::path& rel : truth_->stills) {
    const std::vector<uint8_t> b = test::ReadAll(Card() / rel);
    ASSERT_GT(b.size(), 4u);
    EXPECT_EQ(b[0], 0xFF);
    EXPECT_EQ(b[1], 0xD8);
    EXPECT_EQ(b[b.size() - 2], 0xFF);
    EXPECT_EQ(b[b.size() - 1], 0xD9);
    // Walk the markers to the frame header: baseline (SOF0), three components.
    size_t p = 2;
    bool sof0 = false;
    while (p + 4 <= b.size() && b[p] == 0xFF) {
      const uint8_t m = b[p + 1];
      const size_t len = (b[p + 2] << 8) | b[p + 3];
      EXPECT_NE(m, 0xC2);  // never progressive
      EXPECT_NE(m, 0xDD);  // no restart interval
      if (m == 0xC0) {
        sof0 = true;
        EXPECT_EQ((b[p + 5] << 8) | b[p + 6], 360);
        EXPECT_EQ((b[p + 7] << 8) | b[p + 8], 640);
        EXPECT_EQ(b[p + 9], 3);
        if (b[p + 11] == 0x22) ++subsampled;
      }
      if (m == 0xDA) break;
      p += 2 + len;
    }
    EXPECT_TRUE(sof0) << rel;
  }
  // 4:2:0: component 0 sampled 2x2, the layout the still decoder expects.
  EXPECT_EQ(subsampled, static_cast<int>(truth_->stills.size()));
}

TEST_F(CardTest, SettingsFiles) {
  const std::vector<uint8_t> cfg = test::ReadAll(Card() / "cfg" / "data_setup.cfg");
  const std::string text(cfg.begin(), cfg.end());
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text[0], '#');
  // CR LF line ends only.
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ASSERT_GT(i, 0u);
      EXPECT_EQ(text[i - 1], '\r');
    }
  }
  // Sections in the camera's order, each once.
  size_t last = 0;
  for (const char* s : {"[IO]", "[INSTALL]", "[LDWS]", "[BNW]", "[FCW]", "[PD]", "[VB]", "[BB]",
                        "[B2B]", "[DSP]", "[KVX]"}) {
    const size_t at = text.find(std::string(s) + "\r\n");
    ASSERT_NE(at, std::string::npos) << s;
    EXPECT_GT(at, last) << s;
    last = at;
  }
  for (const char* k : {"usIoTurnActive=1 \r\n", "sDevicePosX=-50 \r\n", "usoVssPulseC=",
                        "usLdw_On=1 \r\n", "usDisplaySpeedUnit=0 \r\n", "usMenuLanguage=1 \r\n",
                        "usTimeZone=21 \r\n", "usMaxChannel=2 \r\n", "tar_h=720 \r\n"}) {
    EXPECT_NE(text.find(k), std::string::npos) << k;
  }
  // usMaxChannel is written under KVX only.
  EXPECT_GT(text.find("usMaxChannel"), text.find("[KVX]"));
  // INSTALL writes pulse C before A and B.
  EXPECT_LT(text.find("usoVssPulseC"), text.find("usoVssPulseA"));
  EXPECT_LT(text.find("usoVssPulseA"), text.find("usoVssPulseB"));
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");

  const std::vector<uint8_t> record = test::ReadAll(Card() / "SETUP" / "data_setup.cfg");
  ASSERT_EQ(record.size(), 220u);
  EXPECT_EQ(test::Le16(&record[132]), 0);  // speed unit km/h
  EXPECT_EQ(test::Le16(&record[138]), 1);  // English menus
  EXPECT_EQ(static_cast<int16_t>(test::Le16(&record[10])), -50);
  EXPECT_EQ(test::Le16(&record[200]), 2);  // channels

  const std::vector<uint8_t> factory = test::ReadAll(Card() / "SETUP" / "data_factory.cfg");
  ASSERT_GE(factory.size(), 66u);
  EXPECT_EQ(std::string(factory.begin(), factory.begin() + 3), "HVN");

  const std::vector<uint8_t> wifi = test::ReadAll(Card() / "wifi.cfg");
  const std::string w(wifi.begin(), wifi.end());
  EXPECT_EQ(w.rfind("[WIFI]\r\n", 0), 0u);
  EXPECT_NE(w.find("\r\nssid=LUMORA_"), std::string::npos);
  EXPECT_NE(w.find("\r\nwpa_passphrase="), std::string::npos);
  EXPECT_NE(w.find("\r\nnetwork=192.168.20 \r\n"), std::string::npos);
}

TEST_F(CardTest, SameSeedGivesTheSameCard) {
  const fs::path again = *dir_ / "again";
  std::string error;
  ASSERT_TRUE(MakeCard(again, SmallCard(), &error)) << error;
  const std::set<std::string> a = FilesUnder(Card());
  const std::set<std::string> b = FilesUnder(again);
  ASSERT_EQ(a, b);
  for (const std::string& f : a) {
    EXPECT_EQ(test::ReadAll(Card() / f), test::ReadAll(again / f)) << f;
  }
  CardOptions other = SmallCard();
  other.seed = 5;
  other.recordings = 1;
  other.with_stills = false;
  other.with_mp4 = false;
  const fs::path third = *dir_ / "third";
  ASSERT_TRUE(MakeCard(third, other, &error)) << error;
  const std::set<std::string> c = FilesUnder(third);
  const std::string first = "NORMAL/20261205_083000_N1.avi";
  ASSERT_TRUE(c.count(first));
  EXPECT_NE(test::ReadAll(Card() / first), test::ReadAll(third / first));
}

TEST_F(CardTest, CommandLineToolWritesACardAndRefusesBadInput) {
  const std::string tool =
      test::Quote(std::string(LUMORA_BINARY_DIR) + "/tools/mkcard/lumora-mkcard") + " ";
  const fs::path out = *dir_ / "cli";
  EXPECT_EQ(test::RunCommand(tool + "--seconds 1 --recordings 2 --front 128x72 --rear 64x36 " +
                             "--no-stills --no-mp4 --no-index " + test::Quote(out.string()))
                .exitCode,
            0);
  const std::set<std::string> files = FilesUnder(out);
  EXPECT_TRUE(files.count("NORMAL/20261205_083000_N1.avi"));
  EXPECT_TRUE(files.count("NORMAL/20261205_083001_N1.avi"));
  EXPECT_TRUE(files.count("NORMAL/20261205_083001_N2.avi"));
  const test::AviLayout avi = test::ParseAvi(test::ReadAll(out / "NORMAL/20261205_083000_N1.avi"));
  EXPECT_TRUE(avi.ok);
  EXPECT_FALSE(avi.has_index);
  const test::CliResult bad =
      test::RunCommand(tool + "--front 12x7 " + test::Quote((*dir_ / "bad").string()));
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_FALSE(bad.err.empty());
}

}  // namespace
}  // namespace lumora
