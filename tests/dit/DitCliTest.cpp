#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/dit/DitTestSupport.h"
#include "tests/support/Cli.h"
#include "tests/support/TestCard.h"

namespace lumora {
namespace {

using test::CliResult;
using test::DitLine;
using test::RunCli;
using test::TempFolder;

TEST(DitCli, PrintsTheStatistics) {
  TempFolder dir;
  const auto path = dir.Write("20261205_083000.DIT", DitLine(0, 3541.0, 13946.0, 0) +
                                                         DitLine(10, 3542.0, 13946.0, 61) +
                                                         DitLine(20, 3542.0, 13947.0, 60));
  CliResult o = RunCli("dit " + path.string());
  ASSERT_EQ(o.exitCode, 0) << o.out;
  auto j = nlohmann::json::parse(o.out);
  EXPECT_EQ(j["points"], 3);
  EXPECT_EQ(j["distance"], "3.25 km");
  EXPECT_EQ(j["moving"], "00:00:20");
  EXPECT_EQ(j["total"], "00:00:20");
  EXPECT_EQ(j["overspeed"], "00:00:10");
  o = RunCli("dit --limit 30 " + path.string());
  ASSERT_EQ(o.exitCode, 0) << o.out;
  EXPECT_EQ(nlohmann::json::parse(o.out)["overspeed"], "00:00:20");
}

TEST(DitCli, ExportsTheDriveAsGpxInUtc) {
  TempFolder dir;
  const auto path = dir.Write("20261205_083000.DIT", DitLine(0, 3541.0, 13946.0, 36) + "bad\r\n" +
                                                         DitLine(1, 3541.5, 13946.5, 72));
  const CliResult o = RunCli("dit --format gpx " + path.string());
  ASSERT_EQ(o.exitCode, 0) << o.out;
  EXPECT_NE(o.out.find("<gpx"), std::string::npos);
  EXPECT_NE(o.out.find("<name>20261205_083000</name>"), std::string::npos);
  EXPECT_NE(o.out.find("lat=\"35.683333333\" lon=\"139.766666667\""), std::string::npos) << o.out;
  // 08:30 at UTC+9 is 23:30 UTC of the day before.
  EXPECT_NE(o.out.find("<time>2026-12-04T23:30:00Z</time>"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("<time>2026-12-04T23:30:01Z</time>"), std::string::npos);
  EXPECT_NE(o.out.find("<gpxtpx:speed>20.000</gpxtpx:speed>"), std::string::npos);
  std::size_t points = 0;
  for (std::size_t at = o.out.find("<trkpt"); at != std::string::npos;
       at = o.out.find("<trkpt", at + 1)) {
    ++points;
  }
  EXPECT_EQ(points, 2u);
}

TEST(DitCli, BadFilesAreReported) {
  TempFolder dir;
  const auto empty = dir.Write("empty.DIT", "");
  CliResult o = RunCli("dit " + empty.string());
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_EQ(o.err, "Invalid DIT Files :\nempty.DIT\n");
  o = RunCli("dit " + (dir.path() / "missing.DIT").string());
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_NE(o.err.find("cannot open"), std::string::npos);
  const auto good = dir.Write("good.DIT", DitLine(0, 3541.0, 13946.0, 0));
  o = RunCli("dit --limit -1 " + good.string());
  EXPECT_EQ(o.exitCode, 2);
}

// The sample card's drive logs are accepted, and the first drive's pictures
// sit in its CAPTURE folder.
TEST(DitCli, SampleCardDrives) {
  TempFolder dir;
  CardOptions options = test::SmallCard(3);
  options.fps = 5;
  CardTruth truth;
  std::string error;
  ASSERT_TRUE(MakeCard(dir.path(), options, &error, &truth)) << error;
  ASSERT_EQ(truth.dit_files.size(), 2u);
  for (const auto& rel : truth.dit_files) {
    const CliResult o = RunCli("dit " + (dir.path() / rel).string());
    ASSERT_EQ(o.exitCode, 0) << o.out;
    const auto j = nlohmann::json::parse(o.out);
    EXPECT_GE(j["points"].get<int>(), 60);
    EXPECT_NE(j["distance"], "0.00 km");
  }
}

}  // namespace
}  // namespace lumora
