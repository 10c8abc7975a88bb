// lumora-cli dit: the statistics as JSON, the drive as GPX in UTC, and clear
// errors for bad files.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/dit/DitTestSupport.h"
#include "tests/support/Cli.h"

namespace lumora {
namespace {

using test::CliResult;
using test::DitLine;
using test::RunCli;

TEST(DitCli, PrintsTheStatistics) {
  test::TempFolder dir;
  const auto path = dir.Write("20261205_083000.DIT", DitLine(0, 3541.0, 13946.0, 0) +
                                                         DitLine(10, 3542.0, 13946.0, 61) +
                                                         DitLine(20, 3542.0, 13947.0, 60));
  CliResult o = RunCli("dit " + path.string());
  ASSERT_EQ(o.exitCode, 0) << o.out;
  EXPECT_EQ(nlohmann::json::parse(o.out),
            nlohmann::json::parse(R"({"points": 3, "distance": "3.25 km", "moving": "00:00:20",
                                      "total": "00:00:20", "overspeed": "00:00:10"})"));
  o = RunCli("dit --limit 30 " + path.string());
  ASSERT_EQ(o.exitCode, 0) << o.out;
  EXPECT_EQ(nlohmann::json::parse(o.out)["overspeed"], "00:00:20");
}

TEST(DitCli, ExportsTheDriveAsGpxInUtc) {
  test::TempFolder dir;
  const auto path = dir.Write("20261205_083000.DIT", DitLine(0, 3541.0, 13946.0, 36) + "bad\r\n" +
                                                         DitLine(1, 3541.5, 13946.5, 72));
  const CliResult o = RunCli("dit --format gpx " + path.string());
  ASSERT_EQ(o.exitCode, 0) << o.out;
  // 08:30 at UTC+9 is 23:30 UTC of the day before; 72 km/h are 20 m/s.
  for (const char* part :
       {"<gpx", "<name>20261205_083000</name>", "lat=\"35.683333333\" lon=\"139.766666667\"",
        "<time>2026-12-04T23:30:00Z</time>", "<time>2026-12-04T23:30:01Z</time>",
        "<gpxtpx:speed>20.000</gpxtpx:speed>"}) {
    EXPECT_NE(o.out.find(part), std::string::npos) << part << "\n" << o.out;
  }
  int points = 0;
  for (size_t at = o.out.find("<trkpt"); at != std::string::npos; at = o.out.find("<trkpt", at + 1))
    ++points;
  EXPECT_EQ(points, 2);
}

TEST(DitCli, BadFilesAreReported) {
  test::TempFolder dir;
  CliResult o = RunCli("dit " + dir.Write("empty.DIT", "").string());
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_EQ(o.err, "Invalid DIT Files :\nempty.DIT\n");
  o = RunCli("dit " + (dir / "missing.DIT").string());
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_NE(o.err.find("cannot open"), std::string::npos);
  o = RunCli("dit --limit -1 " + dir.Write("good.DIT", DitLine(0, 3541.0, 13946.0, 0)).string());
  EXPECT_EQ(o.exitCode, 2);
}

}  // namespace
}  // namespace lumora
