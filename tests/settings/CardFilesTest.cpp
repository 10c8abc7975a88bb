// The card's setup files against literal bytes: data_setup.cfg (a failed save
// is checked through the window in tests/faults), wifi.cfg, the factory magic,
// the speed unit and the legacy setup.cfg record.

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "platform/AtomicFile.h"
#include "settings/CardSetupFiles.h"
#include "settings/LegacySetupRecord.h"
#include "settings/SetupFile.h"
#include "settings/WifiFile.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

// The keys of a saved data_setup.cfg, section by section, in file order,
// written out by hand from the camera file format.
const std::vector<std::pair<std::string, std::vector<std::string>>> kExpectedSetupLayout = {
    {"IO", {"usIoTurnActive", "usIoBrakeActive"}},
    {"INSTALL",
     {"sDevicePosX", "usInstall_CarType", "usInstall_CamHeight", "usInstall_CarWidth",
      "usInstall_BonnetLength", "usInstall_AttachedPos", "sAutoVanish", "sDeviceVanishX",
      "sDeviceVanishY", "sDeviceAngle", "usoVssPulseC", "usoVssPulseA", "usoVssPulseB"}},
    {"LDWS",
     {"usLdw_On", "usLdw_SndEffect", "usLdw_SndVoice", "usLdw_VibType", "usLdw_Delay_Vib",
      "usLdw_Delay_Warning", "usLdw_Delay_Haptic", "usLdw_SpeedHi", "usLdw_SpeedLo", "sLdw_StepL",
      "sLdw_StepR"}},
    {"BNW",
     {"usBnw_On", "usBnw_SndEffect", "usBnw_SndVoice", "usBnw_VibType", "usBnw_Delay_Vib",
      "usBnw_WaitBegin", "usBnw_WaitOut"}},
    {"FCW",
     {"usFcw_On", "usFcw_SndEffect", "usFcw_SndVoice", "usFcw_SndEffect2", "usFcw_VibType",
      "usFcw_Delay_Vib", "usFcw_Delay_Warning", "usFcw_Delay_WiperOn", "usFcw_Delay_WiperOff",
      "usFcw_SpeedHi", "usFcw_SpeedLo", "usFcw_WarningStart", "usFcw_TTCSense"}},
    {"PD", {"usPd_On", "usPd_Speed", "usPd_Sense"}},
    {"VB", {"usVb_On", "usVb_Sense"}},
    {"BB",
     {"usInfiniteEnable",    "usMicInEnable",      "usAccTriggerX",         "usAccTriggerY",
      "usAccTriggerZ",       "usAccCritical",      "usAccSenseLevel",       "usMotionSenseLevel",
      "usResolution",        "usDisplayMethod",    "usLcdBacklightTime",    "usDisplaySpeedOnOff",
      "usDisplaySpeedUnit",  "usDisplayTTCOnOff",  "usDisplayHorizenOnOff", "usMenuLanguage",
      "usSndLanguage",       "usEntireSndOn",      "usSoundVolume",         "usMicVolume",
      "usfrontCameraRotate", "usrearCameraRotate", "usPoweroffVolt",        "usEvt_SndEffect",
      "usEvt_SndVoice",      "usTimeZone",         "usBrightness",          "usVssPriority"}},
    {"B2B",
     {"usFcw1_TTCSense_Ms", "usFcw2_TTCSense_Ms", "usB2BUseDit", "usB2BUseTvOut", "usB2BUseHub",
      "usB2BUseIntroPcmUpdate", "usB2BUseSetBrightness", "usB2BUsePassword", "usPassword"}},
    {"DSP",
     {"usTurnSignalThresholdVolt", "usBrakeThresholdVolt", "usWakeUpTemperature",
      "usWatchDogFireTime", "usSDWriteLimit", "usPwrInstallType", "usEnableParking",
      "usBaseVoltADC"}},
    {"KVX",
     {"usMaxChannel", "usBplusThresholdVolt", "usKvxVersion", "usTempThreshold", "roi_x", "roi_y",
      "roi_w", "roi_h", "tar_w", "tar_h"}},
};

// The text of `data` as the camera writes it: every section of the expected
// layout, each key "=%d " (signed for names starting with "s") with CR LF.
std::string ExpectedIni(const SetupData& data) {
  std::string out;
  for (const auto& [section, keys] : kExpectedSetupLayout) {
    out += "[" + section + "]\r\n";
    for (const std::string& key : keys) {
      const SetupKeyInfo* info = FindSetupKey(section, key);  // none: the layout test fails
      const std::uint16_t raw = info ? data.Raw(info->offset) : 0;
      const int value = key[0] == 's' ? static_cast<std::int16_t>(raw) : raw;
      out += key + "=" + std::to_string(value) + " \r\n";
    }
  }
  return out;
}

class SetupCard : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir_ / "cfg"); }
  const fs::path& root() const { return dir_.path(); }
  fs::path cfgFile() const { return dir_ / "cfg" / "data_setup.cfg"; }
  test::TempFolder dir_;
};

TEST(SetupDataLayout, OffsetsByteOrderAndKeyOrder) {
  SetupData d;
  d.usDisplaySpeedUnit = 0x0201;
  d.sLdw_StepL = -3;
  d.tar_h = 0xBEEF;
  d.reserved3 = 0x1234;
  const auto bytes = d.ToBytes();
  const std::pair<std::size_t, std::uint8_t> expected[] = {
      {132, 0x01}, {133, 0x02}, {54, 0xFD}, {55, 0xFF}, {218, 0xEF}, {219, 0xBE}, {198, 0x34}};
  for (const auto& [offset, byte] : expected) EXPECT_EQ(bytes[offset], byte) << offset;
  EXPECT_EQ(FindSetupKey("ldws", "SLDW_STEPL")->offset, 54u);
  EXPECT_EQ(FindSetupKey("KVX", "usMaxChannel")->offset, 200u);
  EXPECT_EQ(FindSetupKey("BB", "usMaxChannel"), nullptr);
  for (const auto& [section, keys] : kExpectedSetupLayout) {
    std::vector<std::string> written;
    for (const SetupKeyInfo* k : SetupSectionWriteKeys(section)) written.push_back(k->key);
    EXPECT_EQ(written, keys) << section;
  }
  // BB still reads usMaxChannel (as its last key) but never writes it.
  const auto bbRead = SetupSectionReadKeys("BB");
  ASSERT_EQ(bbRead.size(), SetupSectionWriteKeys("BB").size() + 1);
  EXPECT_STREQ(bbRead.back()->key, "usMaxChannel");
}

TEST_F(SetupCard, LoadReadsKeysWithWindowsRules) {
  test::WriteFile(cfgFile(),
                  "[io]\nUSIOTURNACTIVE = 1\n[LDWS]\r\nsLdw_StepL=-3 \r\nusLdw_SpeedHi=70000\r\n"
                  "usLdw_On=abc\r\n[FCW]\r\nusFcw_SpeedHi=60 # km/h\r\n");
  SetupData d;
  d.reserved0 = 7;
  d.usPd_On = 9;  // not in the file: becomes 0
  SetupComments c;
  ASSERT_TRUE(LoadSetupFile(cfgFile(), d, c));
  EXPECT_EQ(d.usIoTurnActive, 1);
  EXPECT_EQ(d.sLdw_StepL, -3);
  EXPECT_EQ(d.usLdw_SpeedHi, 70000 - 65536);
  EXPECT_EQ(d.usLdw_On, 0);
  EXPECT_EQ(d.usFcw_SpeedHi, 60);
  EXPECT_EQ(d.usPd_On, 0);
  EXPECT_EQ(d.reserved0, 7);  // reserved fields are never touched
  // A missing file: zeros and no comments.
  c = {"x\n", "y\n"};
  EXPECT_FALSE(LoadSetupFile(root() / "none.cfg", d, c));
  EXPECT_EQ(d.usIoTurnActive, 0);
  EXPECT_EQ(c.head + c.tail, "");
}

TEST(SetupComments, HeadAndTailBlocks) {
  // The first non-comment line ends the head block and is dropped, even blank.
  const struct {
    const char *text, *head, *tail;
  } rows[] = {{"# first\r\n#second\r\n[IO]\r\n# inner\r\nusIoTurnActive=1 # on\r\nx=1\n#last",
               "# first\n#second\n", "# inner\nusIoTurnActive=1 # on\n#last\n"},
              {"[IO]\r\n# a\r\n", "", "# a\n"},
              {"\r\n# a\r\n", "", "# a\n"}};
  for (const auto& r : rows) {
    const SetupComments c = ReadSetupComments(r.text);
    EXPECT_EQ(c.head, r.head) << r.text;
    EXPECT_EQ(c.tail, r.tail) << r.text;
  }
}

TEST_F(SetupCard, SaveRewritesEverySectionKeepingComments) {
  // The head comment stays first, later comment lines go last; unknown
  // sections and keys, and BB's usMaxChannel, are dropped.
  test::WriteFile(cfgFile(),
                  "# camera settings\r\n[BASIC]\r\nmodel=QX\r\n[IO]\r\nusIoTurnActive=1 \r\n"
                  "extra=5\r\n# between sections\r\n[LDWS]\r\nusLdw_On=1 # lane warning\r\n"
                  "sLdw_StepL=-3 \r\n[BB]\r\nusMaxChannel=4 \r\n[KVX]\r\nroi_x=3 \r\n");
  SetupData d;
  SetupComments c;
  ASSERT_TRUE(LoadSetupFile(cfgFile(), d, c));
  EXPECT_EQ(d.usMaxChannel, 0);
  ASSERT_TRUE(SaveSetupFile(root(), d, c));
  const std::string text = test::ReadFile(cfgFile());
  EXPECT_EQ(text, "# camera settings\r\n" + ExpectedIni(d) +
                      "# between sections\r\nusLdw_On=1 # lane warning\r\n");
  for (const char* line : {"\r\nusIoTurnActive=1 \r\n", "\r\nusLdw_On=1 \r\n",
                           "\r\nsLdw_StepL=-3 \r\n", "[KVX]\r\nusMaxChannel=0 \r\nusBplus"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
  EXPECT_EQ(text.find("usMaxChannel"), text.rfind("usMaxChannel"));
  // With usMaxChannel in KVX too, KVX decides.
  SetupData again;
  test::WriteFile(cfgFile(), "[BB]\r\nusMaxChannel=4 \r\n[KVX]\r\nusMaxChannel=2\r\n");
  ASSERT_TRUE(LoadSetupFile(cfgFile(), again, c));
  EXPECT_EQ(again.usMaxChannel, 2);
}

TEST_F(SetupCard, LoadSaveLoadKeepsEveryField) {
  std::mt19937 rng(99);
  SetupData d;
  for (std::size_t off = 6; off < kSetupDataBytes; off += 2) {
    if (off != 198) d.SetRaw(off, static_cast<std::uint16_t>(rng()));
  }
  test::WriteFile(cfgFile(), "# head\r\n" + ExpectedIni(d) + "# tail\r\n");
  SetupData loaded;
  SetupComments c;
  ASSERT_TRUE(LoadSetupFile(cfgFile(), loaded, c));
  EXPECT_EQ(loaded, d);
  ASSERT_TRUE(SaveSetupFile(root(), loaded, c));
  EXPECT_EQ(test::ReadFile(cfgFile()), "# head\r\n" + ExpectedIni(d) + "# tail\r\n");
}

TEST_F(SetupCard, FindAndSaveTheFile) {
  std::string error;
  EXPECT_FALSE(SaveSetupFile(root(), SetupData{}, {}, &error));
  EXPECT_EQ(error, "Can't open a setup file.");
  EXPECT_EQ(test::CountEntries(root() / "cfg"), 0);
  // Without cfg/data_setup.cfg the file at the root is found and written.
  test::WriteFile(root() / "data_setup.cfg", "[IO]\r\n");
  SetupData d;
  d.usIoBrakeActive = 1;
  ASSERT_TRUE(SaveSetupFile(root(), d, {}));
  EXPECT_EQ(test::ReadFile(root() / "data_setup.cfg"), ExpectedIni(d));
  test::WriteFile(cfgFile(), "[IO]\r\n");
  EXPECT_EQ(FindSetupFile(root()).path, cfgFile());
  fs::remove_all(root() / "cfg");  // names without case
  test::WriteFile(root() / "CFG" / "DATA_SETUP.CFG", "[IO]\r\n");
  EXPECT_EQ(FindSetupFile(root()).path, root() / "CFG" / "DATA_SETUP.CFG");
}

TEST(WifiFile, Load) {
  const struct {
    std::string text;  // empty: no file
    bool readOnly, loaded;
    std::string ssid;
    const char *passphrase, *network;
  } rows[] = {
      {"; camera\r\n[WIFI]\r\nssid = MyCam \r\nwpa_passphrase=\"secret pass\"\r\n"
       "network=192.168.1 \r\n",
       false, true, "MyCam", "secret pass", "192.168.1"},
      {"", false, false, "", "", ""},
      {"[WIFI]\r\nssid=" + std::string(400, 's') + "\r\n", false, true, std::string(255, 's'), "",
       ""},
      // A read-only file is not read (nor, below, written).
      {"[WIFI]\r\nssid=cam\r\nwpa_passphrase=12345678\r\n", true, false, "", "", ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.text);
    test::TempFolder dir;
    if (!r.text.empty()) dir.Write("wifi.cfg", r.text);
    if (r.readOnly) test::MakeReadOnly(dir / "wifi.cfg");
    WifiSetup w{"a", "b", "c"};
    EXPECT_EQ(LoadWifiFile(dir.path(), w), r.loaded);
    EXPECT_EQ(w.ssid, r.ssid);
    EXPECT_EQ(w.wpa_passphrase, r.passphrase);
    EXPECT_EQ(w.network, r.network);
  }
}

TEST(WifiFile, SaveWritesExactBytesOrKeepsTheOldFile) {
  // Comments go, line breaks too, a network under two characters is the default.
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

// A binary setup record: 220 bytes, the speed unit little-endian at 132.
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
  // Quality, voice, brightness, contrast, sharpness, parking, event, frame rate.
  const LegacySetupValues v{2, 2, 4, 5, 6, 1, 2, 3};
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
