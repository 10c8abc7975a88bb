#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "tests/support/Cli.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

using test::CliResult;
using test::RunCli;

class CliCard : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(root() / "cfg"); }
  fs::path root() const { return dir_.path(); }
  std::string quoted() const { return "'" + root().string() + "'"; }
  test::TempFolder dir_;
};

TEST_F(CliCard, PrintsEverySectionAndKey) {
  test::WriteFile(root() / "cfg" / "data_setup.cfg",
                  "# top\r\n[LDWS]\r\nsLdw_StepL=-3 \r\n[KVX]\r\nusMaxChannel=2\r\n");
  CliResult r = RunCli("settings " + quoted());
  ASSERT_EQ(r.exitCode, 0) << r.out;
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["sections"].size(), 11u);
  EXPECT_EQ(j["sections"]["LDWS"]["sLdw_StepL"], -3);
  EXPECT_EQ(j["sections"]["KVX"]["usMaxChannel"], 2);
  EXPECT_FALSE(j["sections"]["BB"].contains("usMaxChannel"));
  std::size_t keys = 0;
  for (auto& [name, section] : j["sections"].items()) keys += section.size();
  EXPECT_EQ(keys, 106u);
  EXPECT_EQ(j["comments"]["head"][0], "# top");
}

TEST_F(CliCard, SetChangesValuesAndSavesWithComments) {
  fs::path file = root() / "cfg" / "data_setup.cfg";
  test::WriteFile(file, "# top\r\n[IO]\r\nusIoTurnActive=1 \r\n[BASIC]\r\nx=1\r\n");
  CliResult r = RunCli("settings " + quoted() + " --set bb.ustimezone=21 LDWS.sLdw_StepR=-2");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["sections"]["BB"]["usTimeZone"], 21);
  EXPECT_EQ(j["sections"]["IO"]["usIoTurnActive"], 1);
  std::string text = test::ReadFile(file);
  EXPECT_EQ(text.rfind("# top\r\n[IO]\r\nusIoTurnActive=1 \r\n", 0), 0u);
  EXPECT_NE(text.find("\r\nusTimeZone=21 \r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nsLdw_StepR=-2 \r\n"), std::string::npos);
  EXPECT_EQ(text.find("BASIC"), std::string::npos);
}

TEST_F(CliCard, BadInputExitsWithTwoAndChangesNothing) {
  fs::path file = root() / "cfg" / "data_setup.cfg";
  test::WriteFile(file, "[IO]\r\nusIoTurnActive=1\r\n");
  for (const char* set : {"IO.usIoTurnActive=70000", "IO.nokey=1", "IO.usIoTurnActive=x", "noDot=1",
                          "LDWS.sLdw_StepL=-40000", "BB.usMaxChannel=1"}) {
    CliResult r = RunCli("settings " + quoted() + " --set " + set);
    EXPECT_EQ(r.exitCode, 2) << set << ": " << r.out;
  }
  EXPECT_EQ(test::ReadFile(file), "[IO]\r\nusIoTurnActive=1\r\n");
  CliResult missing = RunCli("settings '" + (root() / "nowhere").string() + "'");
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_NE(missing.err.find("not a folder"), std::string::npos);
  fs::remove(file);
  CliResult r = RunCli("settings " + quoted());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("Can't open a setup file."), std::string::npos);
}

TEST_F(CliCard, WifiShortPassphraseRefused) {
  CliResult r = RunCli("wifi " + quoted() + " --ssid cam --passphrase 1234567");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("The Wi-Fi password must be at least 8 characters long"), std::string::npos);
  EXPECT_FALSE(fs::exists(root() / "wifi.cfg"));
}

TEST_F(CliCard, WifiSetAndPrint) {
  CliResult r = RunCli("wifi " + quoted() + " --ssid 'My Cam' --passphrase 12345678");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(test::ReadFile(root() / "wifi.cfg"),
            "[WIFI]\r\nssid=My Cam \r\nwpa_passphrase=12345678 \r\nnetwork=192.168.20 \r\n");
  r = RunCli("wifi " + quoted());
  ASSERT_EQ(r.exitCode, 0) << r.out;
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["ssid"], "My Cam");
  EXPECT_EQ(j["network"], "192.168.20");
  EXPECT_EQ(j["written"], false);
  // Only the SSID: the stored passphrase is long enough.
  r = RunCli("wifi " + quoted() + " --ssid car");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(nlohmann::json::parse(r.out)["wpa_passphrase"], "12345678");
}

TEST_F(CliCard, WifiReadOnlyFileIsNotWritten) {
  test::WriteFile(root() / "wifi.cfg", "[WIFI]\r\nssid=a\r\n");
  test::MakeReadOnly(root() / "wifi.cfg");
  CliResult r = RunCli("wifi " + quoted() + " --ssid b --passphrase 12345678");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(test::ReadFile(root() / "wifi.cfg"), "[WIFI]\r\nssid=a\r\n");
}

}  // namespace
}  // namespace lumora
