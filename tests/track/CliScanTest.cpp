#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>

#include "tests/support/Cli.h"

namespace lumora {
namespace {

using test::Quote;
using test::RunCli;

class CliScan : public ::testing::Test {
 protected:
  void SetUp() override {
    m_root = std::filesystem::temp_directory_path() /
             ("lumora-scan-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(m_root);
  }
  void TearDown() override { std::filesystem::remove_all(m_root); }
  void File(const std::string& rel, std::size_t bytes) {
    const auto p = m_root / rel;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << std::string(bytes, 'x');
  }
  std::filesystem::path m_root;
};

TEST_F(CliScan, ListsRecordingsClassifiedNewestFirst) {
  File("NORMAL/20150102_030405_N1.avi", 2048);
  File("NORMAL/20150102_030405_N2.avi", 1024 * 1234);
  File("EVENT/20150102_030405_I1.avi", 1);
  File("EVENT/20160101_000000_E1.avi", 1);
  File("parking/20140101_000000_P1.AVI", 1);
  File("NORMAL/sub/20170101_000000_N1.avi", 1);  // not in a kind folder
  File("CAPTURE/20180101_000000_N1.avi", 1);
  File("NORMAL/20190101_000000_N1.txt", 1);
  const auto r = RunCli("scan " + Quote(m_root.string()));
  ASSERT_EQ(r.exitCode, 0) << r.out;
  const auto j = nlohmann::json::parse(r.out);
  ASSERT_EQ(j.size(), 5u);
  EXPECT_EQ(j[0]["path"], (m_root / "EVENT/20160101_000000_E1.avi").string());
  EXPECT_EQ(j[0]["kind"], "EVENT");
  EXPECT_EQ(j[0]["date"], "2016-01-01");
  EXPECT_EQ(j[0]["time"], "00:00:00");
  EXPECT_EQ(j[0]["channel"], 1);
  // Same time: the ordering test decides (E < I < N), channel 1 before 2.
  EXPECT_EQ(std::filesystem::path(j[1]["path"].get<std::string>()).filename(),
            "20150102_030405_I1.avi");
  EXPECT_EQ(j[1]["kind"], "NORMAL");  // the suffix overrides the EVENT folder
  EXPECT_EQ(std::filesystem::path(j[2]["path"].get<std::string>()).filename(),
            "20150102_030405_N1.avi");
  EXPECT_EQ(j[2]["size_kib"], 2);
  EXPECT_EQ(j[3]["channel"], 2);
  EXPECT_EQ(j[3]["size_kib"], 1234);
  EXPECT_EQ(j[3]["size_text"], "1,234");
  EXPECT_EQ(j[4]["kind"], "PARKING");
  EXPECT_EQ(j[4]["date"], "2014-01-01");
}

TEST_F(CliScan, BadRootIsBadInput) {
  EXPECT_EQ(RunCli("scan " + Quote((m_root / "missing").string())).exitCode, 2);
  const auto r = RunCli("scan " + Quote(m_root.string()));
  ASSERT_EQ(r.exitCode, 0);
  EXPECT_EQ(nlohmann::json::parse(r.out), nlohmann::json::array());
}

}  // namespace
}  // namespace lumora
