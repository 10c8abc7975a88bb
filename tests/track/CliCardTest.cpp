// lumora-cli track and scan on a sample card from the card generator: the
// decoded tracks give back what the generator wrote, and every recording is
// listed with its kind, newest first.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <random>
#include <set>

#include "tests/support/Cli.h"
#include "tools/mkcard/SampleCard.h"

namespace lumora {
namespace {

using test::Quote;
using test::RunCli;

class CliCard : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = new std::filesystem::path(std::filesystem::temp_directory_path() /
                                      ("lumora-card-" + std::to_string(std::random_device{}())));
    CardOptions o;
    o.seed = 7;
    o.seconds = 3;
    o.fps = 10;
    o.front_width = 160;
    o.front_height = 90;
    o.rear_width = 96;
    o.rear_height = 54;
    o.with_stills = false;
    s_truth = new CardTruth;
    std::string error;
    s_ok = MakeCard(*s_dir, o, &error, s_truth);
    if (!s_ok) ADD_FAILURE() << error;
  }
  static void TearDownTestSuite() {
    std::filesystem::remove_all(*s_dir);
    delete s_dir;
    delete s_truth;
  }
  static inline std::filesystem::path* s_dir = nullptr;
  static inline CardTruth* s_truth = nullptr;
  static inline bool s_ok = false;
};

TEST_F(CliCard, EverySampleRecordingGivesBackTheWrittenTrack) {
  ASSERT_TRUE(s_ok);
  int withData = 0;
  for (const CardRecording& rec : s_truth->recordings) {
    SCOPED_TRACE(rec.path.string());
    const auto r = RunCli("track " + Quote((*s_dir / rec.path).string()));
    const RecordingTruth& truth = rec.truth;
    if (truth.fixes.empty() && truth.g_samples.empty()) {
      EXPECT_EQ(r.exitCode, 2);  // nothing usable: "Invalid File."
      continue;
    }
    ASSERT_EQ(r.exitCode, 0);
    ++withData;
    const auto j = nlohmann::json::parse(r.out);
    ASSERT_EQ(j["gps"].size(), truth.fixes.size());
    for (std::size_t i = 0; i < truth.fixes.size(); ++i) {
      const GpsFixTruth& f = truth.fixes[i];
      const auto& g = j["gps"][i];
      EXPECT_EQ(g["cts"].get<std::uint32_t>(), f.cts_ms);
      EXPECT_EQ(g["valid"].get<int>(), f.valid ? 1 : 0);
      if (!f.valid) continue;
      EXPECT_NEAR(g["lat"].get<double>(), f.lat_nmea, 1e-9);
      EXPECT_NEAR(g["lon"].get<double>(), f.lon_nmea, 1e-9);
      // ddmm.mmmm keeps about 2e-6 degrees.
      EXPECT_NEAR(g["lat_deg"].get<double>(), f.lat_deg, 2e-6);
      EXPECT_NEAR(g["lon_deg"].get<double>(), f.lon_deg, 2e-6);
      EXPECT_NEAR(g["speed_kmh"].get<double>(), f.speed_kmh, 1e-4);
      EXPECT_NEAR(g["course"].get<double>(), f.course_deg, 1e-4);
      char time[16];
      std::snprintf(time, sizeof time, "%02d:%02d:%02d", f.utc_hour, f.utc_minute, f.utc_second);
      EXPECT_EQ(g["time"], time);
    }
    ASSERT_EQ(j["gsensor"].size(), truth.g_samples.size());
    for (std::size_t i = 0; i < truth.g_samples.size(); ++i) {
      const GSampleTruth& s = truth.g_samples[i];
      const auto& g = j["gsensor"][i];
      EXPECT_EQ(g["a"][0].get<double>(), (s.raw_a[2] - 2048) / 1024.0);  // X
      EXPECT_EQ(g["a"][1].get<double>(), (s.raw_a[0] - 2048) / 1024.0);  // Y
      EXPECT_EQ(g["b"][2].get<double>(), s.raw_b[1] / 1024.0);           // Z
      EXPECT_EQ(g["adas"][0].get<int>(), s.words[0]);
      EXPECT_EQ(g["adas"][20].get<int>(), s.words[20]);
    }
    // Enough samples over the recording give the resampled curve.
    if (truth.g_samples.size() >= 3) {
      const auto slots = truth.duration_ms * 50 / 1000;
      const double step = static_cast<double>(slots) / truth.g_samples.size();
      EXPECT_EQ(j["slots"].get<std::int64_t>(),
                static_cast<std::int64_t>((truth.g_samples.size() - 1) * step));
    }
  }
  EXPECT_GT(withData, 0);
}

TEST_F(CliCard, BatchGpxExportIsWellFormed) {
  ASSERT_TRUE(s_ok);
  const auto out = *s_dir / "gpx";
  std::string files;
  std::size_t expected = 0;
  for (const CardRecording& rec : s_truth->recordings) {
    if (rec.truth.fixes.empty()) continue;
    files += " " + Quote((*s_dir / rec.path).string());
    ++expected;
  }
  ASSERT_GT(expected, 0u);
  const auto r = RunCli("track --format gpx --output " + Quote(out.string()) + files);
  ASSERT_EQ(r.exitCode, 0);
  const auto j = nlohmann::json::parse(r.out);
  ASSERT_EQ(j.size(), expected);
  for (const auto& w : j) {
    const std::string path = w["output"].get<std::string>();
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::system(("xmllint --noout " + Quote(path) + " 2>/dev/null").c_str()), 0) << path;
  }
  // CSV of one recording: a header and one row per fix.
  for (const CardRecording& rec : s_truth->recordings) {
    if (rec.truth.fixes.empty()) continue;
    const auto csv = RunCli("track --format csv " + Quote((*s_dir / rec.path).string()));
    ASSERT_EQ(csv.exitCode, 0);
    EXPECT_EQ(static_cast<std::size_t>(std::count(csv.out.begin(), csv.out.end(), '\n')),
              rec.truth.fixes.size() + 1);
    break;
  }
}

TEST_F(CliCard, KmlIsReadByGpsbabelAndRangesLimitEveryFormat) {
  ASSERT_TRUE(s_ok);
  const CardRecording* rec = nullptr;
  for (const CardRecording& r : s_truth->recordings) {
    if (!r.truth.fixes.empty() && rec == nullptr) rec = &r;
  }
  ASSERT_NE(rec, nullptr);
  const std::string file = Quote((*s_dir / rec->path).string());
  const auto kmlFile = *s_dir / "track.kml";
  const auto kml = RunCli("track --format kml " + file + " > " + Quote(kmlFile.string()));
  ASSERT_EQ(kml.exitCode, 0);
  EXPECT_EQ(std::system(("xmllint --noout " + Quote(kmlFile.string()) + " 2>/dev/null").c_str()),
            0);
  // gpsbabel reads one track point per fix.
  const std::string count = "gpsbabel -t -i kml -f " + Quote(kmlFile.string()) +
                            " -o unicsv -F - 2>/dev/null | tail -n +2 | wc -l";
  FILE* pipe = popen(count.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char line[64] = {};
  ASSERT_NE(std::fgets(line, sizeof line, pipe), nullptr);
  pclose(pipe);
  EXPECT_EQ(std::stoul(line), rec->truth.fixes.size());
  // --from/--to keep the fixes stamped inside the range, in every format.
  const auto& fixes = rec->truth.fixes;
  std::size_t inside = 0;
  for (const GpsFixTruth& f : fixes) inside += f.cts_ms >= 1000 && f.cts_ms <= 2000 ? 1 : 0;
  const std::string range = " --from 1 --to 2 " + file;
  const auto json = RunCli("track" + range);
  ASSERT_EQ(json.exitCode, 0);
  const auto gps = nlohmann::json::parse(json.out)["gps"];
  ASSERT_EQ(gps.size(), inside);
  EXPECT_EQ(gps[0]["cts"], 1000);
  const auto csv = RunCli("track --format csv" + range);
  EXPECT_EQ(static_cast<std::size_t>(std::count(csv.out.begin(), csv.out.end(), '\n')), inside + 1);
  for (const char* format : {"gpx", "kml"}) {
    const auto out = RunCli(std::string("track --format ") + format + range);
    const std::string tag = format == std::string("gpx") ? "<trkpt " : "<gx:coord>";
    std::size_t n = 0;
    for (auto at = out.out.find(tag); at != std::string::npos; at = out.out.find(tag, at + 1)) ++n;
    EXPECT_EQ(n, inside) << format;
  }
  EXPECT_EQ(RunCli("track --from 2 --to 1 " + file).exitCode, 2);
  EXPECT_EQ(RunCli("track --from 99 " + file).exitCode, 2);
}

TEST_F(CliCard, ScanListsTheCardsRecordings) {
  ASSERT_TRUE(s_ok);
  const auto r = RunCli("scan " + Quote(s_dir->string()));
  ASSERT_EQ(r.exitCode, 0);
  const auto j = nlohmann::json::parse(r.out);
  std::set<std::string> listed;
  for (const auto& e : j) {
    listed.insert(std::filesystem::relative(e["path"].get<std::string>(), *s_dir).string());
  }
  std::size_t expected = 0;
  for (const CardRecording& rec : s_truth->recordings) {
    EXPECT_EQ(listed.count(rec.path.string()), rec.skipped_by_scan ? 0u : 1u) << rec.path;
    if (rec.skipped_by_scan) continue;
    ++expected;
    for (const auto& e : j) {
      if (std::filesystem::relative(e["path"].get<std::string>(), *s_dir) == rec.path) {
        EXPECT_EQ(e["kind"], rec.kind) << rec.path;
      }
    }
  }
  EXPECT_EQ(j.size(), expected);
  // A missing FILE is bad input.
  EXPECT_EQ(RunCli("track " + Quote((*s_dir / "missing.avi").string())).exitCode, 2);
  for (std::size_t i = 1; i < j.size(); ++i) {
    EXPECT_GE(j[i - 1]["date"].get<std::string>() + j[i - 1]["time"].get<std::string>(),
              j[i]["date"].get<std::string>() + j[i]["time"].get<std::string>());
  }
}

}  // namespace
}  // namespace lumora
