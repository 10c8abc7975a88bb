// The card's other setup files: wifi.cfg, the factory magic, the speed unit
// read from the setup file (binary record or INI text) and the legacy
// setup.cfg record (its reset through the dialog in tests/settings_qt), all
// checked against literal bytes.

#include <gtest/gtest.h>

#include <cstring>

#include "platform/AtomicFile.h"
#include "settings/CardSetupFiles.h"
#include "settings/LegacySetupRecord.h"
#include "settings/WifiFile.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

TEST(WifiFile, Load) {
  const struct {
    const char* name;
    std::string text;  // empty: no file
    bool readOnly, loaded;
    std::string ssid;
    const char *passphrase, *network;
  } rows[] = {
      {"wifi.cfg",
       "; camera\r\n[WIFI]\r\nssid = MyCam \r\nwpa_passphrase=\"secret pass\"\r\n"
       "network=192.168.1 \r\n",
       false, true, "MyCam", "secret pass", "192.168.1"},
      {"wifi.cfg", "", false, false, "", "", ""},
      {"WIFI.CFG", "[wifi]\nSSID=x\n", false, true, "x", "", ""},
      {"wifi.cfg", "[WIFI]\r\nssid=" + std::string(400, 's') + "\r\n", false, true,
       std::string(255, 's'), "", ""},
      // A read-only file is not read (nor, below, written).
      {"wifi.cfg", "[WIFI]\r\nssid=cam\r\nwpa_passphrase=12345678\r\n", true, false, "", "", ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.text);
    test::TempFolder dir;
    if (!r.text.empty()) dir.Write(r.name, r.text);
    if (r.readOnly) test::MakeReadOnly(dir / r.name);
    WifiSetup w{"a", "b", "c"};
    EXPECT_EQ(LoadWifiFile(dir.path(), w), r.loaded);
    EXPECT_EQ(w.ssid, r.ssid);
    EXPECT_EQ(w.wpa_passphrase, r.passphrase);
    EXPECT_EQ(w.network, r.network);
  }
}

TEST(WifiFile, SaveWritesExactBytesOrKeepsTheOldFile) {
  // Comments go, line breaks are left out of the values, a network shorter
  // than two characters becomes the default.
  test::TempFolder dir;
  const fs::path file = dir.Write("wifi.cfg", "# old comment\r\n[WIFI]\r\nssid=old\r\n");
  WifiSetup w{"a\r\n[X]", "p\nq", "1"};
  ASSERT_TRUE(SaveWifiFile(dir.path(), w));
  EXPECT_EQ(w.network, "192.168.20");
  const std::string saved = "[WIFI]\r\nssid=a[X] \r\nwpa_passphrase=pq \r\nnetwork=192.168.20 \r\n";
  EXPECT_EQ(test::ReadFile(file), saved);
  EXPECT_EQ(NormalizeWifiNetwork("10"), "10");
  // A failed write and a read-only file keep the old bytes.
  w = {"new", "12345678", ""};
  SetAtomicWriteFaultForTesting([](AtomicWriteStage s) { return s == AtomicWriteStage::kWrite; });
  EXPECT_FALSE(SaveWifiFile(dir.path(), w));
  SetAtomicWriteFaultForTesting({});
  EXPECT_EQ(test::ReadFile(file), saved);
  test::MakeReadOnly(file);
  EXPECT_FALSE(SaveWifiFile(dir.path(), w));
  EXPECT_EQ(test::ReadFile(file), saved);
}

TEST(FactoryFile, MagicDecides) {
  const std::string nul(63, '\0');
  const std::pair<std::string, bool> rows[] = {
      {"HV", false}, {"HVX" + nul, false}, {"hvn" + nul, false},
      {"HVN", true}, {"HVN" + nul, true},  {"HVN" + std::string(200, 'z'), true}};
  test::TempFolder dir;
  EXPECT_FALSE(CheckFactoryFile(dir.path()));
  for (const auto& [text, camera] : rows) {
    dir.Write("SETUP/data_factory.cfg", text);
    EXPECT_EQ(CheckFactoryFile(dir.path()), camera) << text;
  }
}

// A binary setup record of 220 zero bytes with the speed unit, little-endian,
// at bytes 132 and 133.
std::string Record(char low, char high = 0) {
  std::string bytes(220, '\0');
  bytes[132] = low;
  bytes[133] = high;
  return bytes;
}

TEST(SpeedUnit, FromTheSetupFileOfACameraCard) {
  const struct {
    const char* why;
    std::vector<std::pair<const char*, std::string>> files;
    int previous, unit;
  } rows[] = {
      {"record at the root", {{"data_setup.cfg", Record(1)}}, 0, 1},
      {"record, km/h", {{"data_setup.cfg", Record(0)}}, 1, 0},
      {"byte order", {{"data_setup.cfg", Record(2, 1)}}, 0, 0x0102},
      {"SETUP folder as fallback", {{"SETUP/data_setup.cfg", Record(1)}}, 0, 1},
      {"no setup file", {}, 1, 1},
      {"too short for the unit", {{"data_setup.cfg", std::string(100, '\0')}}, 1, 1},
      // The INI text the settings dialog edits decides over the record.
      {"cfg INI over record",
       {{"SETUP/data_setup.cfg", Record(0)},
        {"cfg/data_setup.cfg", "# c\r\n[BB]\r\nusDisplaySpeedUnit=1 \r\n"}},
       0,
       1},
      {"cfg INI km/h", {{"cfg/data_setup.cfg", "[BB]\r\nusDisplaySpeedUnit=0 \r\n"}}, 1, 0},
      {"root INI", {{"data_setup.cfg", "[BB]\r\nusDisplaySpeedUnit=1 \r\n"}}, 0, 1},
      // INI text without the key is read as a record, too short here.
      {"INI without the key", {{"data_setup.cfg", "[BB]\r\nusMenuLanguage=1 \r\n"}}, 1, 1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.why);
    test::TempFolder card;
    card.Write("SETUP/data_factory.cfg", "HVN" + std::string(63, '\0'));
    for (const auto& [name, bytes] : r.files) card.Write(name, bytes);
    EXPECT_EQ(ReadSpeedUnit(card.path(), r.previous), r.unit);
    // Without the factory magic it is not a camera card: the previous unit.
    fs::remove(card / "SETUP" / "data_factory.cfg");
    EXPECT_EQ(ReadSpeedUnit(card.path(), 7), 7);
  }
  EXPECT_EQ(ReadSpeedUnit(std::nullopt, 1), 0);
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
  std::array<std::uint8_t, kLegacySetupBytes> expected{};
  const std::pair<std::size_t, const char*> texts[] = {
      {0, "Kestrelin"}, {16, "RovevUdi"}, {32, "Ver.1.0.0"}, {42, "00"}, {112, "00"}};
  for (const auto& [offset, text] : texts)
    std::copy(text, text + std::strlen(text), expected.begin() + offset);
  // 32-bit little-endian values below 256: one byte each.
  const std::pair<std::size_t, std::uint8_t> values[] = {{48, 2},  {60, 2},  {72, 1},  {76, 1},
                                                         {80, 1},  {84, 8},  {328, 4}, {336, 5},
                                                         {340, 6}, {388, 1}, {396, 2}, {432, 3}};
  for (const auto& [offset, value] : values) expected[offset] = value;
  EXPECT_EQ(BuildLegacySetupRecord(v), expected);
}

}  // namespace
}  // namespace lumora
