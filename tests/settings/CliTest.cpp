// lumora-cli settings and wifi on a card folder: the JSON printed, the bytes
// written, and bad input refused with exit code 2 and nothing changed.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/support/Cli.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

using test::CliResult;
using test::RunCli;

class CliCard : public ::testing::Test {
 protected:
  std::string quoted() const { return test::Quote(dir_.path().string()); }
  std::filesystem::path setupFile() const { return dir_ / "cfg" / "data_setup.cfg"; }
  test::TempFolder dir_;
};

TEST_F(CliCard, SettingsPrintsSetsAndRefusesBadInput) {
  test::WriteFile(setupFile(), "# top\r\n[LDWS]\r\nsLdw_StepL=-3 \r\n[KVX]\r\nusMaxChannel=2\r\n");
  // Section and key names without case.
  CliResult r = RunCli("settings " + quoted() + " --set bb.ustimezone=21");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["sections"].size(), 11u);
  EXPECT_EQ(j["sections"]["LDWS"]["sLdw_StepL"], -3);
  EXPECT_EQ(j["sections"]["KVX"]["usMaxChannel"], 2);
  EXPECT_FALSE(j["sections"]["BB"].contains("usMaxChannel"));
  EXPECT_EQ(j["sections"]["BB"]["usTimeZone"], 21);
  EXPECT_EQ(j["comments"]["head"][0], "# top");
  const std::string saved = test::ReadFile(setupFile());
  EXPECT_EQ(saved.rfind("# top\r\n[IO]\r\n", 0), 0u);
  EXPECT_NE(saved.find("\r\nusTimeZone=21 \r\n"), std::string::npos);
  // Bad input: exit code 2 and nothing changed.
  for (const char* set : {"IO.usIoTurnActive=70000", "IO.nokey=1", "IO.usIoTurnActive=x", "noDot=1",
                          "LDWS.sLdw_StepL=-40000", "BB.usMaxChannel=1"}) {
    EXPECT_EQ(RunCli("settings " + quoted() + " --set " + set).exitCode, 2) << set;
  }
  EXPECT_EQ(test::ReadFile(setupFile()), saved);
  r = RunCli("settings " + test::Quote((dir_ / "nowhere").string()));
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("not a folder"), std::string::npos);
  std::filesystem::remove(setupFile());
  r = RunCli("settings " + quoted());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("Can't open a setup file."), std::string::npos);
}

TEST_F(CliCard, WifiSetsAndPrints) {
  const auto file = dir_ / "wifi.cfg";
  CliResult r = RunCli("wifi " + quoted() + " --ssid cam --passphrase 1234567");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("The Wi-Fi password must be at least 8 characters long"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(file));
  r = RunCli("wifi " + quoted() + " --ssid 'My Cam' --passphrase 12345678");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(test::ReadFile(file),
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
  // A read-only file is not written: exit code 1.
  test::MakeReadOnly(file);
  EXPECT_EQ(RunCli("wifi " + quoted() + " --ssid b --passphrase 12345678").exitCode, 1);
}

}  // namespace
}  // namespace lumora
