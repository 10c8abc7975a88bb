#include <gtest/gtest.h>

#include "platform/AtomicFile.h"
#include "settings/CardSetupFiles.h"
#include "settings/LegacySetupRecord.h"
#include "settings/SetupFile.h"
#include "settings/WifiFile.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

TEST(WifiFile, LoadsTheThreeStrings) {
  test::TempFolder dir;
  test::WriteFile(dir.path() / "wifi.cfg",
                  "; camera\r\n[WIFI]\r\nssid = MyCam \r\nwpa_passphrase=\"secret pass\"\r\n"
                  "network=192.168.1 \r\n");
  WifiSetup w;
  ASSERT_TRUE(LoadWifiFile(dir.path(), w));
  EXPECT_EQ(w.ssid, "MyCam");
  EXPECT_EQ(w.wpa_passphrase, "secret pass");
  EXPECT_EQ(w.network, "192.168.1");
}

TEST(WifiFile, MissingKeysAndFile) {
  test::TempFolder dir;
  WifiSetup w{"a", "b", "c"};
  EXPECT_FALSE(LoadWifiFile(dir.path(), w));
  EXPECT_EQ(w.ssid, "");
  EXPECT_EQ(w.network, "");
  test::WriteFile(dir.path() / "WIFI.CFG", "[wifi]\nSSID=x\n");
  ASSERT_TRUE(LoadWifiFile(dir.path(), w));
  EXPECT_EQ(w.ssid, "x");
  EXPECT_EQ(w.wpa_passphrase, "");
  EXPECT_EQ(w.network, "");
}

TEST(WifiFile, LongValuesAreCutTo255) {
  test::TempFolder dir;
  test::WriteFile(dir.path() / "wifi.cfg", "[WIFI]\r\nssid=" + std::string(400, 's') + "\r\n");
  WifiSetup w;
  ASSERT_TRUE(LoadWifiFile(dir.path(), w));
  EXPECT_EQ(w.ssid.size(), 255u);
}

TEST(WifiFile, ReadOnlyFileIsNotReadNorWritten) {
  test::TempFolder dir;
  fs::path file = dir.path() / "wifi.cfg";
  test::WriteFile(file, "[WIFI]\r\nssid=cam\r\nwpa_passphrase=12345678\r\n");
  test::MakeReadOnly(file);
  WifiSetup w;
  EXPECT_FALSE(LoadWifiFile(dir.path(), w));
  EXPECT_EQ(w.ssid, "");
  EXPECT_EQ(w.wpa_passphrase, "");
  w.ssid = "new";
  EXPECT_FALSE(SaveWifiFile(dir.path(), w));
  EXPECT_EQ(test::ReadFile(file), "[WIFI]\r\nssid=cam\r\nwpa_passphrase=12345678\r\n");
}

TEST(WifiFile, SaveWritesExactBytesAndDefaultsTheNetwork) {
  test::TempFolder dir;
  fs::path file = dir.path() / "wifi.cfg";
  test::WriteFile(file, "# old comment\r\n[WIFI]\r\nssid=old\r\nnetwork=\r\n");
  WifiSetup w;
  ASSERT_TRUE(LoadWifiFile(dir.path(), w));
  EXPECT_EQ(w.network, "");
  w.ssid = "Cam 1";
  w.wpa_passphrase = "abcdefgh";
  ASSERT_TRUE(SaveWifiFile(dir.path(), w));
  EXPECT_EQ(w.network, "192.168.20");
  EXPECT_EQ(test::ReadFile(file),
            "[WIFI]\r\nssid=Cam 1 \r\nwpa_passphrase=abcdefgh \r\nnetwork=192.168.20 \r\n");
  WifiSetup back;
  ASSERT_TRUE(LoadWifiFile(dir.path(), back));
  EXPECT_EQ(back.network, "192.168.20");
  EXPECT_EQ(back.ssid, "Cam 1");
}

TEST(WifiFile, NetworkRule) {
  EXPECT_EQ(NormalizeWifiNetwork(""), "192.168.20");
  EXPECT_EQ(NormalizeWifiNetwork("1"), "192.168.20");
  EXPECT_EQ(NormalizeWifiNetwork("10"), "10");
}

TEST(WifiFile, SaveCreatesAMissingFileAndRefusesLineBreaks) {
  test::TempFolder dir;
  WifiSetup w{"a\r\n[X]", "p\nq", "10.0.0"};
  ASSERT_TRUE(SaveWifiFile(dir.path(), w));
  EXPECT_EQ(test::ReadFile(dir.path() / "wifi.cfg"),
            "[WIFI]\r\nssid=a[X] \r\nwpa_passphrase=pq \r\nnetwork=10.0.0 \r\n");
}

TEST(WifiFile, FailedSaveKeepsOldFile) {
  test::TempFolder dir;
  fs::path file = dir.path() / "wifi.cfg";
  test::WriteFile(file, "[WIFI]\r\nssid=keep\r\n");
  SetAtomicWriteFaultForTesting([](AtomicWriteStage s) { return s == AtomicWriteStage::kWrite; });
  WifiSetup w{"new", "12345678", ""};
  EXPECT_FALSE(SaveWifiFile(dir.path(), w));
  SetAtomicWriteFaultForTesting({});
  EXPECT_EQ(test::ReadFile(file), "[WIFI]\r\nssid=keep\r\n");
}

TEST(FactoryFile, MagicDecides) {
  test::TempFolder dir;
  EXPECT_FALSE(CheckFactoryFile(dir.path()));
  fs::create_directories(dir.path() / "SETUP");
  fs::path f = dir.path() / "SETUP" / "data_factory.cfg";
  test::WriteFile(f, "HV");
  EXPECT_FALSE(CheckFactoryFile(dir.path()));
  test::WriteFile(f, "HVX" + std::string(63, '\0'));
  EXPECT_FALSE(CheckFactoryFile(dir.path()));
  test::WriteFile(f, "hvn" + std::string(63, '\0'));
  EXPECT_FALSE(CheckFactoryFile(dir.path()));
  test::WriteFile(f, "HVN");
  EXPECT_TRUE(CheckFactoryFile(dir.path()));
  test::WriteFile(f, "HVN" + std::string(200, 'z'));
  EXPECT_TRUE(CheckFactoryFile(dir.path()));
}

class SpeedUnitCard : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_.path() / "SETUP");
    test::WriteFile(dir_.path() / "SETUP" / "data_factory.cfg", "HVN" + std::string(63, '\0'));
  }
  const fs::path& root() const { return dir_.path(); }
  test::TempFolder dir_;
};

TEST_F(SpeedUnitCard, BinaryRecordGivesTheUnit) {
  SetupData d;
  d.usDisplaySpeedUnit = 1;
  auto bytes = d.ToBytes();
  test::WriteFile(root() / "data_setup.cfg", std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(ReadSpeedUnit(root(), 0), 1);
  d.usDisplaySpeedUnit = 0;
  bytes = d.ToBytes();
  test::WriteFile(root() / "data_setup.cfg", std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(ReadSpeedUnit(root(), 1), 0);
}

TEST_F(SpeedUnitCard, SetupFolderIsTheFallback) {
  SetupData d;
  d.usDisplaySpeedUnit = 1;
  auto bytes = d.ToBytes();
  test::WriteFile(root() / "SETUP" / "data_setup.cfg", std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(ReadSpeedUnit(root(), 0), 1);
}

TEST_F(SpeedUnitCard, NoCardNoMagicNoFileShortFile) {
  EXPECT_EQ(ReadSpeedUnit(std::nullopt, 1), 0);
  EXPECT_EQ(ReadSpeedUnit(root(), 1), 1);  // no settings file: previous unit
  test::WriteFile(root() / "data_setup.cfg", std::string(100, '\0'));
  EXPECT_EQ(ReadSpeedUnit(root(), 1), 1);  // too short to hold the unit
  fs::remove(root() / "SETUP" / "data_factory.cfg");
  SetupData d;
  auto bytes = d.ToBytes();
  test::WriteFile(root() / "data_setup.cfg", std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(ReadSpeedUnit(root(), 1), 1);  // not a camera card: previous unit
}

// The INI text the settings dialog edits decides over the binary record,
// wherever FindSetupFile finds it; a file without the key is read as binary.
TEST_F(SpeedUnitCard, IniTextThatTheDialogEditsGivesTheUnit) {
  SetupData binary;
  const auto bytes = binary.ToBytes();  // km/h
  test::WriteFile(root() / "SETUP" / "data_setup.cfg", std::string(bytes.begin(), bytes.end()));
  fs::create_directories(root() / "cfg");
  test::WriteFile(root() / "cfg" / "data_setup.cfg", "# c\r\n[BB]\r\nusDisplaySpeedUnit=1 \r\n");
  EXPECT_EQ(ReadSpeedUnit(root(), 0), 1);
  test::WriteFile(root() / "cfg" / "data_setup.cfg", "[BB]\r\nusDisplaySpeedUnit=0 \r\n");
  EXPECT_EQ(ReadSpeedUnit(root(), 1), 0);
  fs::remove(root() / "cfg" / "data_setup.cfg");
  test::WriteFile(root() / "data_setup.cfg", "[BB]\r\nusDisplaySpeedUnit=1 \r\n");
  EXPECT_EQ(ReadSpeedUnit(root(), 0), 1);
  // INI text without the key: the binary view of its first bytes, which
  // here is too short to hold the unit, so the previous unit stays.
  test::WriteFile(root() / "data_setup.cfg", "[BB]\r\nusMenuLanguage=1 \r\n");
  EXPECT_EQ(ReadSpeedUnit(root(), 1), 1);
  EXPECT_EQ(ReadIniSpeedUnit(root()), std::nullopt);
}

std::uint32_t U32At(const std::array<std::uint8_t, kLegacySetupBytes>& r, std::size_t off) {
  return r[off] | (r[off + 1] << 8) | (r[off + 2] << 16) |
         (static_cast<std::uint32_t>(r[off + 3]) << 24);
}

TEST(LegacySetup, RecordLayout) {
  LegacySetupValues v;
  v.pictureQuality = 2;
  v.voiceRecording = 2;
  v.brightness = 4;
  v.contrast = 5;
  v.sharpness = 6;
  v.parkingQuality = 1;
  v.eventDetection = 2;
  v.frameRate = 3;
  auto r = BuildLegacySetupRecord(v);
  std::array<std::uint8_t, kLegacySetupBytes> expected{};
  auto text = [&](std::size_t off, const char* s) {
    for (std::size_t i = 0; s[i]; ++i) expected[off + i] = static_cast<std::uint8_t>(s[i]);
  };
  auto u32 = [&](std::size_t off, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) expected[off + i] = static_cast<std::uint8_t>(x >> (8 * i));
  };
  text(0, "Kestrelin");
  text(16, "RovevUdi");
  text(32, "Ver.1.0.0");
  text(42, "00");
  u32(48, 2);
  u32(60, 2);
  u32(72, 1);
  u32(76, 1);
  u32(80, 1);
  u32(84, 8);
  text(112, "00");
  u32(328, 4);
  u32(336, 5);
  u32(340, 6);
  u32(388, 1);
  u32(396, 2);
  u32(432, 3);
  EXPECT_EQ(r, expected);
  EXPECT_EQ(r[41], 0);  // version text NUL-terminated within its 10 bytes
}

TEST(LegacySetup, ResetRecordAndFile) {
  test::TempFolder dir;
  ASSERT_TRUE(WriteLegacySetupFile(dir.path(), LegacyResetValues()));
  std::string bytes = test::ReadFile(dir.path() / "setup.cfg");
  ASSERT_EQ(bytes.size(), kLegacySetupBytes);
  std::array<std::uint8_t, kLegacySetupBytes> r{};
  std::copy(bytes.begin(), bytes.end(), r.begin());
  EXPECT_EQ(U32At(r, 48), 3u);
  EXPECT_EQ(U32At(r, 60), 1u);
  for (std::size_t off : {328u, 336u, 340u, 388u, 396u, 432u}) EXPECT_EQ(U32At(r, off), 0u);
  EXPECT_EQ(U32At(r, 84), 8u);
  EXPECT_EQ(bytes.substr(0, 9), "Kestrelin");
  // A later save replaces the whole file.
  LegacySetupValues v;
  v.frameRate = 2;
  ASSERT_TRUE(WriteLegacySetupFile(dir.path(), v));
  bytes = test::ReadFile(dir.path() / "setup.cfg");
  ASSERT_EQ(bytes.size(), kLegacySetupBytes);
  EXPECT_EQ(static_cast<unsigned char>(bytes[432]), 2);
  EXPECT_EQ(static_cast<unsigned char>(bytes[48]), 0);
}

}  // namespace
}  // namespace lumora
