// lumora-cli scan on a sample card from the card generator: every recording
// the generator wrote is listed with its kind, newest first.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <random>
#include <set>

#include "CliSupport.h"
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
  for (std::size_t i = 1; i < j.size(); ++i) {
    EXPECT_GE(j[i - 1]["date"].get<std::string>() + j[i - 1]["time"].get<std::string>(),
              j[i]["date"].get<std::string>() + j[i]["time"].get<std::string>());
  }
}

}  // namespace
}  // namespace lumora
