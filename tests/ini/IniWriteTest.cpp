// Writing INI files as Windows does (one table of edits with the exact bytes),
// and the atomic file write under them: a failed write never loses the old file.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include "platform/AtomicFile.h"
#include "platform/PrivateProfile.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

TEST(IniWrite, EditsGiveExactBytes) {
  const struct {
    const char *before, *section, *key, *value, *after;
  } rows[] = {
      {"", "IO", "usIoTurnActive", "0 ", "[IO]\r\nusIoTurnActive=0 \r\n"},
      {"[IO]\r\na=1 \r\n", "IO", "b", "2 ", "[IO]\r\na=1 \r\nb=2 \r\n"},
      // A new section follows without a blank line.
      {"[IO]\r\na=1 \r\n", "INSTALL", "c", "-3 ", "[IO]\r\na=1 \r\n[INSTALL]\r\nc=-3 \r\n"},
      // A key is replaced in place (names without case), only its first copy.
      {"; top\r\n[A]\r\nk = old # c\r\nz=1\r\n", "a", "K", "new ",
       "; top\r\n[A]\r\nK=new \r\nz=1\r\n"},
      {"[A]\r\nk=1\r\nk=2\r\n", "A", "k", "9", "[A]\r\nk=9\r\nk=2\r\n"},
      // A new key goes after the section's last line, before blank lines.
      {"[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "A", "k", "5",
       "[A]\r\nx=1\r\nk=5\r\n\r\n[B]\r\ny=2\r\n"},
      {"[A]\r\n\r\n[B]\r\n", "A", "k", "5", "[A]\r\nk=5\r\n\r\n[B]\r\n"},
      {"[A]\r\nx=1\r\n[A]\r\ny=2\r\n", "A", "k", "5", "[A]\r\nx=1\r\nk=5\r\n[A]\r\ny=2\r\n"},
      // A last line without an ending gets one.
      {"[A]\r\nx=1", "A", "k", "5", "[A]\r\nx=1\r\nk=5\r\n"},
      {"[A]\r\nx=1", "B", "k", "5", "[A]\r\nx=1\r\n[B]\r\nk=5\r\n"},
      {"[A]\r\nx=1", "A", "x", "2", "[A]\r\nx=2\r\n"},
      // Untouched LF lines stay; a key without "=" gets a value.
      {"[A]\nx=1\ny=2\n", "A", "x", "3", "[A]\nx=3\ny=2\n"},
      {"[A]\r\nflag\r\n", "A", "flag", "1", "[A]\r\nflag=1\r\n"},
  };
  for (const auto& r : rows) {
    IniDocument doc = IniDocument::Parse(r.before);
    doc.SetValue(r.section, r.key, r.value);
    EXPECT_EQ(doc.Serialize(), r.after) << r.before << " [" << r.section << "] " << r.key;
  }
  // Numbers are written with a blank after them.
  const std::pair<int, const char*> numbers[] = {
      {5, "5 "}, {-3, "-3 "}, {65535, "65535 "}, {0, "0 "}};
  for (const auto& [value, text] : numbers) EXPECT_EQ(FormatProfileInt(value), text);
}

TEST(IniWrite, Files) {
  test::TempFolder dir;
  const auto file = dir / "wifi.cfg";
  ASSERT_TRUE(WritePrivateProfileString("WIFI", "ssid", "cam ", file));
  ASSERT_TRUE(WritePrivateProfileString("WIFI", "network", "192.168.20 ", file));
  ASSERT_TRUE(WritePrivateProfileString("wifi", "SSID", "car ", file));
  EXPECT_EQ(test::ReadFile(file), "[WIFI]\r\nSSID=car \r\nnetwork=192.168.20 \r\n");
  EXPECT_EQ(test::CountEntries(dir.path()), 1);  // no temporary file left
  // The permission bits survive the replacement.
  ::chmod(file.c_str(), 0600);
  ASSERT_TRUE(WritePrivateProfileString("A", "k", "1", file));
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  // Read-only: refused and unchanged; a missing folder fails.
  const auto ro = dir.Write("ro.cfg", "[WIFI]\r\nssid=a\r\n");
  test::MakeReadOnly(ro);
  EXPECT_FALSE(WritePrivateProfileString("WIFI", "ssid", "b ", ro));
  EXPECT_EQ(test::ReadFile(ro), "[WIFI]\r\nssid=a\r\n");
  EXPECT_FALSE(IsFileWritable(ro));
  EXPECT_FALSE(OpenableForReadWrite(ro));
  EXPECT_FALSE(WritePrivateProfileString("A", "k", "1", dir / "no" / "x.cfg"));
}

TEST(AtomicFile, FailureAtEachStageKeepsTheOldFile) {
  test::TempFolder dir;
  const auto file = dir.Write("data.cfg", "old contents\r\n");
  for (AtomicWriteStage stage : {AtomicWriteStage::kCreateTemp, AtomicWriteStage::kWrite,
                                 AtomicWriteStage::kSync, AtomicWriteStage::kRename}) {
    SCOPED_TRACE(static_cast<int>(stage));
    SetAtomicWriteFaultForTesting([stage](AtomicWriteStage s) { return s == stage; });
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(file, std::string(10000, 'n'), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(test::ReadFile(file), "old contents\r\n");
    EXPECT_EQ(test::CountEntries(dir.path()), 1);
  }
  SetAtomicWriteFaultForTesting({});
  EXPECT_TRUE(WriteFileAtomically(file, "new"));
  EXPECT_EQ(test::ReadFile(file), "new");
  // A full card: the system refuses to grow any file beyond 1 KiB.
  struct rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 1024;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool ok = WriteFileAtomically(file, std::string(8192, 'z'));
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(ok);
  EXPECT_EQ(test::ReadFile(file), "new");
  EXPECT_EQ(test::CountEntries(dir.path()), 1);
}

TEST(AtomicFile, ReadFileHeadBounds) {
  test::TempFolder dir;
  const auto file = dir.Write("f", "HVNabc");
  std::string out;
  ASSERT_TRUE(ReadFileHead(file, 3, out));
  EXPECT_EQ(out, "HVN");
  ASSERT_TRUE(ReadFileHead(file, 66, out));
  EXPECT_EQ(out, "HVNabc");
  EXPECT_FALSE(ReadFileHead(dir / "missing", 3, out));
  EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace lumora
