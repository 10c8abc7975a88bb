// data_setup.cfg: the 220-byte record, where the file is found, how it is
// read and the exact bytes written back (a save that fails is checked
// through the window in tests/faults).

#include <gtest/gtest.h>

#include <random>

#include "settings/SetupFile.h"
#include "tests/settings/ExpectedLayout.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

// The text of `data` as the camera writes it: every section of the expected
// layout, each key "=%d " (signed for names starting with "s") with CR LF.
std::string ExpectedIni(const SetupData& data) {
  std::string out;
  for (const auto& [section, keys] : testing::kExpectedSetupLayout) {
    out += "[" + section + "]\r\n";
    for (const std::string& key : keys) {
      const SetupKeyInfo* info = FindSetupKey(section, key);
      if (!info) {
        ADD_FAILURE() << key;
        continue;
      }
      const std::uint16_t raw = data.Raw(info->offset);
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
  EXPECT_EQ(sizeof(SetupData), 220u);
  SetupData d;
  d.usDisplaySpeedUnit = 0x0201;
  d.sLdw_StepL = -3;
  d.tar_h = 0xBEEF;
  d.reserved3 = 0x1234;
  const auto bytes = d.ToBytes();
  const std::pair<std::size_t, std::uint8_t> expected[] = {
      {132, 0x01}, {133, 0x02}, {54, 0xFD}, {55, 0xFF}, {218, 0xEF}, {219, 0xBE}, {198, 0x34}};
  for (const auto& [offset, byte] : expected) EXPECT_EQ(bytes[offset], byte) << offset;
  EXPECT_EQ(SetupData::FromBytes(bytes).sLdw_StepL, -3);
  EXPECT_EQ(FindSetupKey("ldws", "SLDW_STEPL")->offset, 54u);
  EXPECT_EQ(FindSetupKey("KVX", "usMaxChannel")->offset, 200u);
  EXPECT_EQ(FindSetupKey("BB", "usMaxChannel"), nullptr);
  for (const auto& [section, keys] : testing::kExpectedSetupLayout) {
    std::vector<std::string> written;
    for (const SetupKeyInfo* k : SetupSectionWriteKeys(section)) written.push_back(k->key);
    EXPECT_EQ(written, keys) << section;
  }
  // BB still reads usMaxChannel (as its last key) but never writes it.
  const auto bbRead = SetupSectionReadKeys("BB");
  ASSERT_EQ(bbRead.size(), SetupSectionWriteKeys("BB").size() + 1);
  EXPECT_STREQ(bbRead.back()->key, "usMaxChannel");
}

TEST_F(SetupCard, FindSetupFilePrefersCfgAndIgnoresCase) {
  EXPECT_FALSE(FindSetupFile(root()).found);
  EXPECT_TRUE(FindSetupFile(root()).path.empty());
  test::WriteFile(root() / "data_setup.cfg", "[IO]\r\n");
  EXPECT_EQ(FindSetupFile(root()).path, root() / "data_setup.cfg");
  test::WriteFile(cfgFile(), "[IO]\r\n");
  EXPECT_EQ(FindSetupFile(root()).path, cfgFile());
  fs::remove_all(root() / "cfg");
  test::WriteFile(root() / "CFG" / "DATA_SETUP.CFG", "[IO]\r\n");
  EXPECT_EQ(FindSetupFile(root()).path, root() / "CFG" / "DATA_SETUP.CFG");
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
  EXPECT_EQ(
      BuildSetupFileText(SetupData{}, {})
          .rfind(
              "[IO]\r\nusIoTurnActive=0 \r\nusIoBrakeActive=0 \r\n[INSTALL]\r\nsDevicePosX=0 \r\n",
              0),
      0u);
  // The head comment stays first, every later comment (with a key line that
  // holds one) goes last; unknown sections and keys, and BB's usMaxChannel,
  // are dropped.
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

TEST_F(SetupCard, SaveGoesToTheFileFound) {
  std::string error;
  EXPECT_FALSE(SaveSetupFile(root(), SetupData{}, {}, &error));
  EXPECT_EQ(error, "Can't open a setup file.");
  EXPECT_EQ(test::CountEntries(root() / "cfg"), 0);
  EXPECT_FALSE(fs::exists(root() / "data_setup.cfg"));
  // Without cfg/data_setup.cfg the file at the root is written.
  test::WriteFile(root() / "data_setup.cfg", "[IO]\r\n");
  SetupData d;
  d.usIoBrakeActive = 1;
  ASSERT_TRUE(SaveSetupFile(root(), d, {}));
  EXPECT_EQ(test::ReadFile(root() / "data_setup.cfg"), ExpectedIni(d));
}

}  // namespace
}  // namespace lumora
