#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "platform/AtomicFile.h"
#include "platform/PrivateProfile.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

std::string Set(const std::string& text, const char* section, const char* key, const char* value) {
  IniDocument doc = IniDocument::Parse(text);
  doc.SetValue(section, key, value);
  return doc.Serialize();
}

TEST(IniWrite, NewFileGetsSectionAndKey) {
  EXPECT_EQ(Set("", "IO", "usIoTurnActive", "0 "), "[IO]\r\nusIoTurnActive=0 \r\n");
}

TEST(IniWrite, SecondSectionAppendedWithoutBlankLine) {
  std::string t = Set("", "IO", "a", "1 ");
  t = Set(t, "IO", "b", "2 ");
  t = Set(t, "INSTALL", "c", "-3 ");
  EXPECT_EQ(t, "[IO]\r\na=1 \r\nb=2 \r\n[INSTALL]\r\nc=-3 \r\n");
}

TEST(IniWrite, ExistingKeyReplacedInPlace) {
  EXPECT_EQ(Set("; top\r\n[A]\r\nk = old # c\r\nz=1\r\n", "a", "K", "new "),
            "; top\r\n[A]\r\nK=new \r\nz=1\r\n");
}

TEST(IniWrite, OnlyFirstDuplicateKeyReplaced) {
  EXPECT_EQ(Set("[A]\r\nk=1\r\nk=2\r\n", "A", "k", "9"), "[A]\r\nk=9\r\nk=2\r\n");
}

TEST(IniWrite, NewKeyGoesAfterLastLineOfSectionBeforeBlankLines) {
  EXPECT_EQ(Set("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "A", "k", "5"),
            "[A]\r\nx=1\r\nk=5\r\n\r\n[B]\r\ny=2\r\n");
  EXPECT_EQ(Set("[A]\r\n\r\n[B]\r\n", "A", "k", "5"), "[A]\r\nk=5\r\n\r\n[B]\r\n");
}

TEST(IniWrite, NewKeyInFirstOfDuplicateSections) {
  EXPECT_EQ(Set("[A]\r\nx=1\r\n[A]\r\ny=2\r\n", "A", "k", "5"),
            "[A]\r\nx=1\r\nk=5\r\n[A]\r\ny=2\r\n");
}

TEST(IniWrite, FileWithoutFinalLineEnding) {
  EXPECT_EQ(Set("[A]\r\nx=1", "A", "k", "5"), "[A]\r\nx=1\r\nk=5\r\n");
  EXPECT_EQ(Set("[A]\r\nx=1", "B", "k", "5"), "[A]\r\nx=1\r\n[B]\r\nk=5\r\n");
  EXPECT_EQ(Set("[A]\r\nx=1", "A", "x", "2"), "[A]\r\nx=2\r\n");
}

TEST(IniWrite, LfFileKeepsItsUntouchedLines) {
  EXPECT_EQ(Set("[A]\nx=1\ny=2\n", "A", "x", "3"), "[A]\nx=3\ny=2\n");
}

TEST(IniWrite, KeyWithoutEqualsGetsAValue) {
  std::string t = Set("[A]\r\nflag\r\n", "A", "flag", "1");
  EXPECT_EQ(t, "[A]\r\nflag=1\r\n");
}

TEST(IniWrite, TrailingBlankStaysInFileButNotInValue) {
  std::string t = Set("", "WIFI", "ssid", "cam ");
  EXPECT_NE(t.find("ssid=cam \r\n"), std::string::npos);
  EXPECT_EQ(GetProfileString(IniDocument::Parse(t), "WIFI", "ssid", "", 256), "cam");
}

TEST(IniWrite, FormatProfileInt) {
  EXPECT_EQ(FormatProfileInt(5), "5 ");
  EXPECT_EQ(FormatProfileInt(-3), "-3 ");
  EXPECT_EQ(FormatProfileInt(65535), "65535 ");
  EXPECT_EQ(FormatProfileInt(0), "0 ");
}

TEST(IniFileWrite, CreatesAndUpdatesFile) {
  test::TempFolder dir;
  auto file = dir.path() / "wifi.cfg";
  ASSERT_TRUE(WritePrivateProfileString("WIFI", "ssid", "cam ", file));
  ASSERT_TRUE(WritePrivateProfileString("WIFI", "network", "192.168.20 ", file));
  ASSERT_TRUE(WritePrivateProfileString("wifi", "SSID", "car ", file));
  EXPECT_EQ(test::ReadFile(file), "[WIFI]\r\nSSID=car \r\nnetwork=192.168.20 \r\n");
  EXPECT_EQ(test::CountEntries(dir.path()), 1);  // no temporary file left
}

TEST(IniFileWrite, ReadOnlyFileIsRefusedAndUnchanged) {
  test::TempFolder dir;
  auto file = dir.path() / "wifi.cfg";
  test::WriteFile(file, "[WIFI]\r\nssid=a\r\n");
  test::MakeReadOnly(file);
  EXPECT_FALSE(WritePrivateProfileString("WIFI", "ssid", "b ", file));
  EXPECT_EQ(test::ReadFile(file), "[WIFI]\r\nssid=a\r\n");
  EXPECT_FALSE(IsFileWritable(file));
  EXPECT_FALSE(OpenableForReadWrite(file));
}

TEST(IniFileWrite, KeepsPermissionBits) {
  test::TempFolder dir;
  auto file = dir.path() / "x.cfg";
  test::WriteFile(file, "[A]\r\n");
  ::chmod(file.c_str(), 0600);
  ASSERT_TRUE(WritePrivateProfileString("A", "k", "1", file));
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(IniFileWrite, MissingFolderFails) {
  test::TempFolder dir;
  EXPECT_FALSE(WritePrivateProfileString("A", "k", "1", dir.path() / "no" / "x.cfg"));
}

class AtomicFaultTest : public ::testing::TestWithParam<AtomicWriteStage> {
 protected:
  void TearDown() override { SetAtomicWriteFaultForTesting({}); }
};

TEST_P(AtomicFaultTest, FailureLeavesOldFileIntactAndNoTemporary) {
  test::TempFolder dir;
  auto file = dir.path() / "data.cfg";
  test::WriteFile(file, "old contents\r\n");
  AtomicWriteStage failing = GetParam();
  SetAtomicWriteFaultForTesting([failing](AtomicWriteStage s) { return s == failing; });
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(file, std::string(10000, 'n'), &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(test::ReadFile(file), "old contents\r\n");
  EXPECT_EQ(test::CountEntries(dir.path()), 1);
  SetAtomicWriteFaultForTesting({});
  EXPECT_TRUE(WriteFileAtomically(file, "new", &error));
  EXPECT_EQ(test::ReadFile(file), "new");
}

std::string StageName(const ::testing::TestParamInfo<AtomicWriteStage>& param) {
  static const char* const kNames[] = {"CreateTemp", "Write", "Sync", "Rename"};
  return kNames[static_cast<int>(param.param)];
}

INSTANTIATE_TEST_SUITE_P(Stages, AtomicFaultTest,
                         ::testing::Values(AtomicWriteStage::kCreateTemp, AtomicWriteStage::kWrite,
                                           AtomicWriteStage::kSync, AtomicWriteStage::kRename),
                         StageName);

TEST(AtomicFile, FullCardSimulatedByFileSizeLimit) {
  // The system refuses to grow any file beyond 1 KiB: a real short write.
  test::TempFolder dir;
  auto file = dir.path() / "data.cfg";
  test::WriteFile(file, "old\r\n");
  struct rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 1024;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string error;
  bool ok = WriteFileAtomically(file, std::string(8192, 'z'), &error);
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(ok);
  EXPECT_EQ(test::ReadFile(file), "old\r\n");
  EXPECT_EQ(test::CountEntries(dir.path()), 1);
}

TEST(AtomicFile, ReadFileHeadBounds) {
  test::TempFolder dir;
  auto file = dir.path() / "f";
  test::WriteFile(file, "HVNabc");
  std::string out;
  ASSERT_TRUE(ReadFileHead(file, 3, out));
  EXPECT_EQ(out, "HVN");
  ASSERT_TRUE(ReadFileHead(file, 66, out));
  EXPECT_EQ(out, "HVNabc");
  EXPECT_FALSE(ReadFileHead(dir.path() / "missing", 3, out));
  EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace lumora
