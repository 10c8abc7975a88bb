#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <random>

#include "platform/AtomicFile.h"
#include "settings/CardSetupFiles.h"
#include "settings/SetupFile.h"
#include "tests/settings/ExpectedLayout.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

// The INI text of `data` written as the camera's files are: every section of
// the expected layout, each key "=%d " with CR LF.
std::string ExpectedIni(const SetupData& data) {
  std::string out;
  for (const auto& [section, keys] : testing::kExpectedSetupLayout) {
    out += "[" + section + "]\r\n";
    for (const std::string& key : keys) {
      const SetupKeyInfo* info = FindSetupKey(section, key);
      EXPECT_NE(info, nullptr) << key;
      if (!info) continue;
      out += key + "=" + std::to_string(SetupFieldValue(data, *info)) + " \r\n";
    }
  }
  return out;
}

class SetupCard : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(root() / "cfg"); }
  void TearDown() override { SetAtomicWriteFaultForTesting({}); }
  const fs::path& root() const { return dir_.path(); }
  fs::path cfgFile() const { return root() / "cfg" / "data_setup.cfg"; }
  test::TempFolder dir_;
};

TEST(SetupDataLayout, SizeOffsetsAndByteOrder) {
  EXPECT_EQ(sizeof(SetupData), 220u);
  EXPECT_EQ(kSetupKeys.size() + 4, kSetupFieldCount);
  SetupData d;
  d.usDisplaySpeedUnit = 0x0201;
  d.sLdw_StepL = -3;
  d.tar_h = 0xBEEF;
  d.reserved3 = 0x1234;
  auto bytes = d.ToBytes();
  EXPECT_EQ(bytes[132], 0x01);
  EXPECT_EQ(bytes[133], 0x02);
  EXPECT_EQ(bytes[54], 0xFD);
  EXPECT_EQ(bytes[55], 0xFF);
  EXPECT_EQ(bytes[218], 0xEF);
  EXPECT_EQ(bytes[219], 0xBE);
  EXPECT_EQ(bytes[198], 0x34);
  SetupData back = SetupData::FromBytes(bytes);
  EXPECT_EQ(back, d);
  EXPECT_EQ(back.sLdw_StepL, -3);
  EXPECT_EQ(FindSetupKey("ldws", "SLDW_STEPL")->offset, 54u);
  EXPECT_EQ(FindSetupKey("KVX", "usMaxChannel")->offset, 200u);
  EXPECT_EQ(FindSetupKey("BB", "usMaxChannel"), nullptr);
}

TEST(SetupDataLayout, SectionKeyOrders) {
  for (const auto& [section, keys] : testing::kExpectedSetupLayout) {
    std::vector<std::string> written;
    for (const SetupKeyInfo* k : SetupSectionWriteKeys(section)) written.push_back(k->key);
    EXPECT_EQ(written, keys) << section;
  }
  auto bbRead = SetupSectionReadKeys("BB");
  auto bbWrite = SetupSectionWriteKeys("BB");
  ASSERT_EQ(bbRead.size(), bbWrite.size() + 1);
  EXPECT_STREQ(bbRead.back()->key, "usMaxChannel");
  std::size_t total = 0;
  for (const char* s : kSetupSections) total += SetupSectionWriteKeys(s).size();
  EXPECT_EQ(total, 106u);
}

TEST_F(SetupCard, FindSetupFilePrefersCfgFolder) {
  EXPECT_FALSE(FindSetupFile(root()).found);
  EXPECT_TRUE(FindSetupFile(root()).path.empty());
  test::WriteFile(root() / "data_setup.cfg", "[IO]\r\n");
  EXPECT_EQ(FindSetupFile(root()).path, root() / "data_setup.cfg");
  test::WriteFile(cfgFile(), "[IO]\r\n");
  EXPECT_EQ(FindSetupFile(root()).path, cfgFile());
}

TEST_F(SetupCard, FindSetupFileIgnoresCase) {
  fs::create_directories(root() / "CFG2");
  fs::remove(root() / "cfg");
  fs::rename(root() / "CFG2", root() / "CFG");
  test::WriteFile(root() / "CFG" / "DATA_SETUP.CFG", "[IO]\r\n");
  SetupFileLocation where = FindSetupFile(root());
  ASSERT_TRUE(where.found);
  EXPECT_EQ(where.path, root() / "CFG" / "DATA_SETUP.CFG");
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
  EXPECT_EQ(d.usLdw_SpeedHi, 70000 & 0xFFFF);
  EXPECT_EQ(d.usLdw_On, 0);
  EXPECT_EQ(d.usFcw_SpeedHi, 60);
  EXPECT_EQ(d.usPd_On, 0);
  EXPECT_EQ(d.reserved0, 7);  // reserved fields are never touched
}

TEST_F(SetupCard, LoadOfMissingFileGivesZerosAndNoComments) {
  SetupData d;
  d.usFcw_On = 1;
  SetupComments c{"x\n", "y\n"};
  EXPECT_FALSE(LoadSetupFile(root() / "none.cfg", d, c));
  EXPECT_EQ(d.usFcw_On, 0);
  EXPECT_TRUE(c.head.empty());
  EXPECT_TRUE(c.tail.empty());
}

TEST(SetupComments, HeadAndTailBlocks) {
  SetupComments c = ReadSetupComments(
      "# first\r\n#second\r\n[IO]\r\n# inner\r\nusIoTurnActive=1 # on\r\nx=1\n#last");
  EXPECT_EQ(c.head, "# first\n#second\n");
  EXPECT_EQ(c.tail, "# inner\nusIoTurnActive=1 # on\n#last\n");
  // A file starting with a non-comment line has no head block.
  c = ReadSetupComments("[IO]\r\n# a\r\n");
  EXPECT_EQ(c.head, "");
  EXPECT_EQ(c.tail, "# a\n");
  // The line that ends the head phase is dropped even if it is blank.
  c = ReadSetupComments("\r\n# a\r\n");
  EXPECT_EQ(c.head, "");
  EXPECT_EQ(c.tail, "# a\n");
}

TEST(SetupText, ZeroRecordHasEverySectionInOrder) {
  SetupData d;
  EXPECT_EQ(BuildSetupFileText(d, {}), ExpectedIni(d));
  std::string text = BuildSetupFileText(d, {});
  EXPECT_EQ(text.rfind("[IO]\r\nusIoTurnActive=0 \r\nusIoBrakeActive=0 \r\n[INSTALL]\r\n", 0), 0u);
  EXPECT_NE(text.find("sDeviceAngle=0 \r\nusoVssPulseC=0 \r\nusoVssPulseA=0 \r\nusoVssPulseB=0 \r\n"
                      "[LDWS]\r\n"),
            std::string::npos);
  EXPECT_EQ(text.find("usMaxChannel"), text.rfind("usMaxChannel"));
}

TEST_F(SetupCard, FirstCommentStaysFirstOtherCommentGoesLast) {
  test::WriteFile(cfgFile(),
                  "# camera settings\r\n[IO]\r\nusIoTurnActive=1 \r\n# between sections\r\n"
                  "[INSTALL]\r\nusInstall_CarType=2 \r\n");
  SetupData d;
  SetupComments c;
  ASSERT_TRUE(LoadSetupFile(cfgFile(), d, c));
  ASSERT_TRUE(SaveSetupFile(root(), d, c));
  std::string expected = "# camera settings\r\n" + ExpectedIni(d) + "# between sections\r\n";
  EXPECT_EQ(test::ReadFile(cfgFile()), expected);
  EXPECT_EQ(d.usIoTurnActive, 1);
  EXPECT_EQ(d.usInstall_CarType, 2);
}

TEST_F(SetupCard, KeyLineWithTrailingCommentIsRewrittenAndKeptAtEnd) {
  test::WriteFile(cfgFile(), "[LDWS]\r\nusLdw_On=1 # lane warning\r\n");
  SetupData d;
  SetupComments c;
  ASSERT_TRUE(LoadSetupFile(cfgFile(), d, c));
  EXPECT_EQ(d.usLdw_On, 1);
  ASSERT_TRUE(SaveSetupFile(root(), d, c));
  std::string text = test::ReadFile(cfgFile());
  EXPECT_EQ(text, ExpectedIni(d) + "usLdw_On=1 # lane warning\r\n");
  EXPECT_NE(text.find("\r\nusLdw_On=1 \r\n"), std::string::npos);
  // Loading the saved file again still gives 1 (the first key wins).
  SetupData again;
  ASSERT_TRUE(LoadSetupFile(cfgFile(), again, c));
  EXPECT_EQ(again.usLdw_On, 1);
}

TEST_F(SetupCard, UnknownSectionsAndKeysAreDropped) {
  test::WriteFile(cfgFile(),
                  "[BASIC]\r\nmodel=QX\r\n[IO]\r\nusIoBrakeActive=1 \r\nextra=5\r\n"
                  "[PRODUCT]\r\nserial=123\r\n");
  SetupData d;
  SetupComments c;
  ASSERT_TRUE(LoadSetupFile(cfgFile(), d, c));
  ASSERT_TRUE(SaveSetupFile(root(), d, c));
  std::string text = test::ReadFile(cfgFile());
  EXPECT_EQ(text, ExpectedIni(d));
  EXPECT_EQ(text.find("BASIC"), std::string::npos);
  EXPECT_EQ(text.find("PRODUCT"), std::string::npos);
  EXPECT_EQ(text.find("extra"), std::string::npos);
}

TEST_F(SetupCard, MaxChannelInBbOnlyReadsZeroAndIsWrittenUnderKvx) {
  test::WriteFile(cfgFile(), "[BB]\r\nusMaxChannel=4 \r\n[KVX]\r\nroi_x=3 \r\n");
  SetupData d;
  SetupComments c;
  ASSERT_TRUE(LoadSetupFile(cfgFile(), d, c));
  EXPECT_EQ(d.usMaxChannel, 0);
  ASSERT_TRUE(SaveSetupFile(root(), d, c));
  std::string text = test::ReadFile(cfgFile());
  std::size_t kvx = text.find("[KVX]\r\n");
  ASSERT_NE(kvx, std::string::npos);
  EXPECT_EQ(text.find("usMaxChannel=0 \r\n"), kvx + 7);
  EXPECT_EQ(text.find("usMaxChannel"), text.rfind("usMaxChannel"));
  // With the key in KVX as well, KVX decides.
  test::WriteFile(cfgFile(), "[BB]\r\nusMaxChannel=4 \r\n[KVX]\r\nusMaxChannel=2\r\n");
  ASSERT_TRUE(LoadSetupFile(cfgFile(), d, c));
  EXPECT_EQ(d.usMaxChannel, 2);
}

TEST_F(SetupCard, NegativeStepIsReadAndWrittenBack) {
  test::WriteFile(cfgFile(), "[LDWS]\r\nsLdw_StepL=-3 \r\n");
  SetupData d;
  SetupComments c;
  ASSERT_TRUE(LoadSetupFile(cfgFile(), d, c));
  EXPECT_EQ(d.sLdw_StepL, -3);
  ASSERT_TRUE(SaveSetupFile(root(), d, c));
  EXPECT_NE(test::ReadFile(cfgFile()).find("\r\nsLdw_StepL=-3 \r\n"), std::string::npos);
}

TEST_F(SetupCard, LoadSaveLoadKeepsEveryField) {
  std::mt19937 rng(99);
  SetupData d;
  for (std::size_t off = 0; off < kSetupDataBytes; off += 2) {
    d.SetRaw(off, static_cast<std::uint16_t>(rng()));
  }
  test::WriteFile(cfgFile(), "# head\r\n" + BuildSetupFileText(d, {}) + "# tail\r\n");
  SetupData loaded;
  loaded.reserved0 = d.reserved0;
  loaded.reserved1 = d.reserved1;
  loaded.reserved2 = d.reserved2;
  loaded.reserved3 = d.reserved3;
  SetupComments c;
  ASSERT_TRUE(LoadSetupFile(cfgFile(), loaded, c));
  EXPECT_EQ(loaded, d);
  ASSERT_TRUE(SaveSetupFile(root(), loaded, c));
  SetupData again = loaded;
  ASSERT_TRUE(LoadSetupFile(cfgFile(), again, c));
  EXPECT_EQ(again, d);
  EXPECT_EQ(c.head, "# head\n");
  EXPECT_EQ(c.tail, "# tail\n");
  EXPECT_EQ(test::ReadFile(cfgFile()), "# head\r\n" + ExpectedIni(d) + "# tail\r\n");
}

TEST_F(SetupCard, SaveWithoutFileWritesNothing) {
  SetupData d;
  std::string error;
  EXPECT_FALSE(SaveSetupFile(root(), d, {}, &error));
  EXPECT_EQ(error, "Can't open a setup file.");
  EXPECT_FALSE(fs::exists(cfgFile()));
  EXPECT_FALSE(fs::exists(root() / "data_setup.cfg"));
}

TEST_F(SetupCard, SaveGoesToRootFileWhenNoCfgFolderFile) {
  test::WriteFile(root() / "data_setup.cfg", "[IO]\r\n");
  SetupData d;
  d.usIoBrakeActive = 1;
  ASSERT_TRUE(SaveSetupFile(root(), d, {}));
  EXPECT_EQ(test::ReadFile(root() / "data_setup.cfg"), ExpectedIni(d));
}

TEST_F(SetupCard, ReadOnlySetupFileIsNotChanged) {
  test::WriteFile(cfgFile(), "[IO]\r\nusIoTurnActive=1\r\n");
  test::MakeReadOnly(cfgFile());
  SetupData d;
  EXPECT_FALSE(SaveSetupFile(root(), d, {}));
  EXPECT_EQ(test::ReadFile(cfgFile()), "[IO]\r\nusIoTurnActive=1\r\n");
}

TEST_F(SetupCard, FailureInTheMiddleOfASaveKeepsTheOldFile) {
  const std::string old = "# keep me\r\n[IO]\r\nusIoTurnActive=1 \r\n";
  test::WriteFile(cfgFile(), old);
  SetupData d;
  d.usIoTurnActive = 0;
  for (AtomicWriteStage stage : {AtomicWriteStage::kCreateTemp, AtomicWriteStage::kWrite,
                                 AtomicWriteStage::kSync, AtomicWriteStage::kRename}) {
    SetAtomicWriteFaultForTesting([stage](AtomicWriteStage s) { return s == stage; });
    std::string error;
    EXPECT_FALSE(SaveSetupFile(root(), d, {"# keep me\n", ""}, &error));
    EXPECT_EQ(test::ReadFile(cfgFile()), old);
    EXPECT_EQ(test::CountEntries(root() / "cfg"), 1);
  }
  SetAtomicWriteFaultForTesting({});
  ASSERT_TRUE(SaveSetupFile(root(), d, {"# keep me\n", ""}));
  EXPECT_EQ(test::ReadFile(cfgFile()), "# keep me\r\n" + ExpectedIni(d));
}

TEST_F(SetupCard, FullCardDuringSaveKeepsTheOldFile) {
  const std::string old = "[IO]\r\nusIoTurnActive=1 \r\n";
  test::WriteFile(cfgFile(), old);
  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 512;  // the new text (about 3 KiB) cannot be written
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  bool ok = SaveSetupFile(root(), SetupData{}, {});
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(ok);
  EXPECT_EQ(test::ReadFile(cfgFile()), old);
  EXPECT_EQ(test::CountEntries(root() / "cfg"), 1);
}

}  // namespace
}  // namespace lumora
