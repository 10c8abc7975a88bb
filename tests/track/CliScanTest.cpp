// lumora-cli scan: the recordings of a card folder, classified, newest first
// (the name rules themselves are the library's; this shows the command's output).

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/support/Cli.h"

namespace lumora {
namespace {

using test::Quote;
using test::RunCli;

TEST(CliScan, ListsRecordingsClassifiedNewestFirst) {
  test::TempFolder card;
  EXPECT_EQ(nlohmann::json::parse(RunCli("scan " + Quote(card.path().string())).out),
            nlohmann::json::array());
  card.File("NORMAL/20150102_030405_N1.avi", 2048);
  card.File("NORMAL/20150102_030405_N2.avi", 1024 * 1234);
  card.File("EVENT/20150102_030405_I1.avi", 1);
  card.File("EVENT/20160101_000000_E1.avi", 1);
  card.File("parking/20140101_000000_P1.AVI", 1);
  card.File("NORMAL/sub/20170101_000000_N1.avi", 1);  // not in a kind folder
  card.File("CAPTURE/20180101_000000_N1.avi", 1);
  card.File("NORMAL/20190101_000000_N1.txt", 1);
  const auto r = RunCli("scan " + Quote(card.path().string()));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  ASSERT_EQ(j.size(), 5u);
  EXPECT_EQ(j[0]["path"], (card / "EVENT/20160101_000000_E1.avi").string());
  EXPECT_EQ(j[0]["kind"], "EVENT");
  EXPECT_EQ(j[0]["date"], "2016-01-01");
  EXPECT_EQ(j[0]["time"], "00:00:00");
  EXPECT_EQ(j[0]["channel"], 1);
  // Same time: E < I < N, channel 1 before 2; the I suffix overrides the folder.
  EXPECT_EQ(j[1]["path"], (card / "EVENT/20150102_030405_I1.avi").string());
  EXPECT_EQ(j[1]["kind"], "NORMAL");
  EXPECT_EQ(j[2]["size_kib"], 2);
  EXPECT_EQ(j[3]["channel"], 2);
  EXPECT_EQ(j[3]["size_text"], "1,234");
  EXPECT_EQ(j[4]["kind"], "PARKING");
  EXPECT_EQ(RunCli("scan " + Quote((card / "missing").string())).exitCode, 2);
}

}  // namespace
}  // namespace lumora
