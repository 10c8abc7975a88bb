// lumora-cli track on a generated sample card: every recording gives back the
// track the generator wrote; the written files are read by xmllint and
// gpsbabel. lumora-cli scan lists a card folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <nlohmann/json.hpp>

#include "tests/support/Cli.h"
#include "tests/support/TestCard.h"

namespace lumora {
namespace {

using test::Quote;
using test::RunCli;
using test::RunCommand;

class CliCard : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = std::make_unique<test::TempFolder>();
    CardOptions o = test::SmallCard(2, 3);
    o.seed = 7;
    o.with_mp4 = true;  // a recording without driving data
    o.with_stills = false;
    o.cut_at = 0.7;  // and one recording a power cut left (no idx1, sizes 0)
    std::string error;
    s_ok = MakeCard(s_dir->path(), o, &error, &s_truth);
    if (!s_ok) ADD_FAILURE() << error;
  }
  static void TearDownTestSuite() { s_dir.reset(); }
  static std::string File(const CardRecording& rec) { return Quote((*s_dir / rec.path).string()); }

  static inline std::unique_ptr<test::TempFolder> s_dir;
  static inline CardTruth s_truth;
  static inline bool s_ok = false;
};

TEST_F(CliCard, EverySampleRecordingGivesBackTheWrittenTrack) {
  ASSERT_TRUE(s_ok);
  int withData = 0, cut = 0;
  for (const CardRecording& rec : s_truth.recordings) {
    SCOPED_TRACE(rec.path.string());
    const auto r = RunCli("track " + File(rec));
    const RecordingTruth& truth = rec.truth;
    if (truth.fixes.empty() && truth.g_samples.empty()) {
      // A video without records (the card's MP4) has an empty track.
      ASSERT_EQ(r.exitCode, 0) << r.err;
      EXPECT_NE(r.err.find("No driving data"), std::string::npos);
      EXPECT_EQ(nlohmann::json::parse(r.out)["gps"].size(), 0u);
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
      EXPECT_EQ(g["b"][2].get<double>(), s.raw_b[1] / 1024.0);           // Z
      EXPECT_EQ(g["adas"][20].get<int>(), s.words[20]);
    }
    if (truth.cut_length != 0) {
      // Its length comes from the frames left: some 55 to 75 % of them.
      ++cut;
      const auto probe = nlohmann::json::parse(RunCli("probe " + File(rec)).out);
      EXPECT_GT(probe["duration_ms"].get<double>(), truth.duration_ms * 0.5);
      EXPECT_LT(probe["duration_ms"].get<double>(), truth.duration_ms * 0.8);
      continue;
    }
    // 50 slots a second spread over the samples; the curve ends at the last one.
    if (truth.g_samples.size() >= 3) {
      const double step =
          static_cast<double>(truth.duration_ms * 50 / 1000) / truth.g_samples.size();
      EXPECT_EQ(j["slots"].get<std::int64_t>(),
                static_cast<std::int64_t>((truth.g_samples.size() - 1) * step));
    }
  }
  EXPECT_GT(withData, 0);
  EXPECT_EQ(cut, 1);
}

TEST_F(CliCard, WrittenFilesAreReadByXmlToolsAndRangesAreChecked) {
  ASSERT_TRUE(s_ok);
  std::string files;
  std::size_t expected = 0;
  const CardRecording* first = nullptr;
  for (const CardRecording& rec : s_truth.recordings) {
    if (rec.truth.fixes.empty()) continue;
    if (first == nullptr) first = &rec;
    files += " " + File(rec);
    ++expected;
  }
  ASSERT_NE(first, nullptr);
  // Several recordings: one GPX file each in the output folder.
  const auto r = RunCli("track --format gpx --output " + Quote((*s_dir / "gpx").string()) + files);
  ASSERT_EQ(r.exitCode, 0);
  const auto written = nlohmann::json::parse(r.out);
  ASSERT_EQ(written.size(), expected);
  for (const auto& w : written) {
    const std::string path = Quote(w["output"].get<std::string>());
    EXPECT_EQ(RunCommand("xmllint --noout " + path).exitCode, 0) << path;
  }
  // gpsbabel reads one track point per fix of the KML.
  const std::string kml = Quote((*s_dir / "track.kml").string());
  ASSERT_EQ(RunCli("track --format kml " + File(*first) + " > " + kml).exitCode, 0);
  const auto points = RunCommand("gpsbabel -t -i kml -f " + kml + " -o unicsv -F -");
  ASSERT_EQ(points.exitCode, 0) << points.err;
  EXPECT_EQ(static_cast<std::size_t>(std::count(points.out.begin(), points.out.end(), '\n')),
            first->truth.fixes.size() + 1);
  // --from/--to keep the fixes stamped inside the range (seconds).
  std::size_t inside = 0;
  for (const GpsFixTruth& f : first->truth.fixes) inside += f.cts_ms >= 1000 && f.cts_ms <= 2000;
  const auto range = RunCli("track --from 1 --to 2 " + File(*first));
  ASSERT_EQ(range.exitCode, 0);
  EXPECT_EQ(nlohmann::json::parse(range.out)["gps"].size(), inside);
  EXPECT_EQ(RunCli("track --from 2 --to 1 " + File(*first)).exitCode, 2);
  EXPECT_EQ(RunCli("track --from 99 " + File(*first)).exitCode, 2);
  EXPECT_EQ(RunCli("track " + Quote((*s_dir / "missing.avi").string())).exitCode, 2);
}

// The name rules are the library's; this is the command's output of them.
TEST(CliScan, ListsRecordingsClassifiedNewestFirst) {
  test::TempFolder card;
  card.File("NORMAL/20150102_030405_N1.avi", 2048);
  card.File("NORMAL/20150102_030405_N2.avi", 1024 * 1234);
  card.File("EVENT/20160101_000000_E1.avi", 1);
  card.File("parking/20140101_000000_P1.AVI", 1);
  card.File("NORMAL/sub/20170101_000000_N1.avi", 1);  // not in a kind folder
  card.File("NORMAL/20190101_000000_N1.txt", 1);
  const auto r = RunCli("scan " + Quote(card.path().string()));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  ASSERT_EQ(j.size(), 4u);
  EXPECT_EQ(j[0]["path"], (card / "EVENT/20160101_000000_E1.avi").string());
  EXPECT_EQ(j[0]["kind"], "EVENT");
  EXPECT_EQ(j[0]["date"], "2016-01-01");
  EXPECT_EQ(j[0]["time"], "00:00:00");
  EXPECT_EQ(j[1]["channel"], 1);
  EXPECT_EQ(j[1]["size_kib"], 2);
  EXPECT_EQ(j[2]["channel"], 2);
  EXPECT_EQ(j[2]["size_text"], "1,234");
  EXPECT_EQ(j[3]["kind"], "PARKING");
  EXPECT_EQ(RunCli("scan " + Quote((card / "missing").string())).exitCode, 2);
}

}  // namespace
}  // namespace lumora
