// The camera's INI files read and written with the Windows profile rules, and
// the atomic write under them (a failed write never loses the old file).

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include "platform/AtomicFile.h"
#include "platform/PrivateProfile.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

std::string Str(const std::string& text, const char* section, const char* key,
                const char* def = "DEF", std::size_t size = 256) {
  return GetProfileString(IniDocument::Parse(text), section, key, def, size);
}

std::uint32_t Int(const std::string& text, const char* section, const char* key, int def = 77) {
  return GetProfileInt(IniDocument::Parse(text), section, key, def);
}

TEST(IniRead, KeysAsStringAndInteger) {
  // {text, section, key, string read (default "DEF"), integer read (default 77)}
  const std::string dup = "[A]\r\nk=1\r\nk=2\r\n[B]\r\nk=3\r\n[a]\r\nk=4\r\nonly=5\r\n";
  const std::string noted = "; note\r\n[A]\r\n;k=9\r\nk=5 # five\r\n# k=6\r\nj=1;2\r\n";
  const std::string blanks = "  [ IO ]  \r\n\t usIoTurnActive \t=  1  \r\nk2=a b  \r\n";
  const std::string number = std::string(28, '0') + "12";
  const struct {
    std::string text;
    const char *section, *key, *str;
    std::int64_t num;
  } rows[] = {
      // Line endings CR LF, LF, lone CR, none at the end, blank lines.
      {"[A]\r\nk=v\r\n", "A", "k", "v", 0},
      {"[A]\nk=v\n", "A", "k", "v", 0},
      {"[A]\rk=v\r", "A", "k", "v", 0},
      {"[A]\r\nk=v", "A", "k", "v", 0},
      {"[A]\r\n\r\n\r\nk=v\r\n", "A", "k", "v", 0},
      // Names compare without case, but whole.
      {"[Wifi]\r\nSSID=cam\r\n", "wifi", "SsId", "cam", 0},
      {"[Wifi]\r\nSSID=cam\r\n", "wif", "ssid", "DEF", 77},
      {"[Wifi]\r\nSSID=cam\r\n", "WIFI", "ssi", "DEF", 77},
      // Blanks around names and values go, inner blanks stay.
      {blanks, "IO", "usIoTurnActive", "1", 1},
      {blanks, "IO", "k2", "a b", 0},
      // One pair of quotes enclosing the whole value goes.
      {"[A]\nk=\"abc\"\n", "A", "k", "abc", 0},
      {"[A]\nk='abc'\n", "A", "k", "abc", 0},
      {"[A]\nk=\"abc\n", "A", "k", "\"abc", 0},
      {"[A]\nk=abc\"\n", "A", "k", "abc\"", 0},
      {"[A]\nk=\"abc'\n", "A", "k", "\"abc'", 0},
      {"[A]\nk=\"\n", "A", "k", "\"", 0},
      {"[A]\nk=\"\"\n", "A", "k", "", 77},
      {"[A]\nk=\" a \"\n", "A", "k", " a ", 0},
      {"[A]\nk=a\"b\"c\n", "A", "k", "a\"b\"c", 0},
      {"[A]\nk=\"42\"\n", "A", "k", "42", 42},
      // A key without "=" is not a key; an empty value is found (integers: the default).
      {"[A]\r\nflag\r\nk=1\r\n", "A", "flag", "DEF", 77},
      {"[A]\r\nk=\r\nb=   \r\n", "A", "k", "", 77},
      {"[A]\r\nk=\r\nb=   \r\n", "A", "b", "", 77},
      // The first of duplicate keys and sections wins.
      {dup, "A", "k", "1", 1},
      {dup, "B", "k", "3", 3},
      {dup, "A", "only", "DEF", 77},
      // No comment syntax at all.
      {noted, "A", "k", "5 # five", 5},
      {noted, "A", ";k", "9", 9},
      {noted, "A", "# k", "6", 6},
      {noted, "A", "j", "1;2", 1},
      // Lines before the first section belong to none.
      {"k=1\r\n[A]\r\nx=2\r\n", "A", "k", "DEF", 77},
      {"k=1\r\n[A]\r\nx=2\r\n", "", "k", "DEF", 77},
      // Section headers: text after "]" ignored, the name runs to the last "]".
      {"[A] trailing text\r\nk=1\r\n", "A", "k", "1", 1},
      {"[A]b]\r\nk=1\r\n", "A]b", "k", "1", 1},
      {"[A\r\nk=1\r\n", "A", "k", "DEF", 77},
      {"[A]\r\n[B]\r\nk=1\r\n", "A", "k", "DEF", 77},
      {"[A]\r\nk = a=b =c\r\n", "A", "k", "a=b =c", 0},
      {"[W]\r\nssid=caf\xe9\xff\x01z\r\n", "W", "ssid", "caf\xe9\xff\x01z", 0},
      // An integer looks at its first 29 characters only.
      {"[A]\r\nk=" + number + "\r\n", "A", "k", number.c_str(), 1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.text << " [" << r.section << "] " << r.key);
    EXPECT_EQ(Str(r.text, r.section, r.key), r.str);
    EXPECT_EQ(Int(r.text, r.section, r.key), static_cast<std::uint32_t>(r.num));
  }
  EXPECT_EQ(Int("", "A", "k", -1), 0xFFFFFFFFu);
}

TEST(IniRead, IntegerRule) {
  const struct {
    const char* text;
    std::int64_t value;
  } rows[] = {{"5", 5},      {"-3", -3},   {"+12", 12},      {"abc", 0},         {"12abc", 12},
              {"  7", 7},    {"0x1F", 31}, {"65536", 65536}, {"-32768", -32768}, {"4294967297", 1},
              {"- 4", 0},    {"0b101", 5}, {"0o17", 15},     {"007", 7},         {"", 0},
              {"-", 0},      {"0x", 0},    {"0xg", 0},       {"0", 0},           {"-0x10", -16},
              {"19 20", 19}, {"1.5", 1}};
  for (const auto& r : rows)
    EXPECT_EQ(ProfileStringToInt(r.text), static_cast<std::uint32_t>(r.value)) << r.text;
}

TEST(IniRead, BufferSizeCutsValueAndDefault) {
  const std::string text = "[A]\r\nk=abcdef\r\nq=\"abcdef\"\r\n";
  EXPECT_EQ(Str(text, "A", "k", "", 4), "abc");
  EXPECT_EQ(Str(text, "A", "k", "", 7), "abcdef");
  EXPECT_EQ(Str(text, "A", "k", "", 1), "");
  EXPECT_EQ(Str(text, "A", "k", "", 0), "");
  EXPECT_EQ(Str(text, "A", "q", "", 4), "abc");
  EXPECT_EQ(Str(text, "A", "missing", "default", 4), "def");
  // The default loses its trailing blanks only.
  EXPECT_EQ(Str("", "A", "k", "dflt  "), "dflt");
  EXPECT_EQ(Str("", "A", "k", "  dflt"), "  dflt");
}

TEST(IniRead, Files) {
  test::TempFolder dir;
  IniDocument doc;
  EXPECT_FALSE(LoadProfileDocument(dir / "none.cfg", doc));
  EXPECT_FALSE(LoadProfileDocument(dir.path(), doc));  // a folder is not a file
  EXPECT_FALSE(
      LoadProfileDocument(dir.Write("big.cfg", std::string(kMaxWholeFileBytes + 1, ' ')), doc));
  ASSERT_TRUE(LoadProfileDocument(dir.Write("ok.cfg", "[A]\r\nk=3\r\n"), doc));
  EXPECT_EQ(GetProfileInt(doc, "A", "k", 0), 3u);
}

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

TEST(AtomicFile, ReplacesTheWholeFileOrNothing) {
  test::TempFolder dir;
  const auto file = dir.Write("data.cfg", "old contents\r\n");
  ::chmod(file.c_str(), 0600);
  for (AtomicWriteStage stage : {AtomicWriteStage::kCreateTemp, AtomicWriteStage::kWrite,
                                 AtomicWriteStage::kSync, AtomicWriteStage::kRename}) {
    SCOPED_TRACE(static_cast<int>(stage));
    SetAtomicWriteFaultForTesting([stage](AtomicWriteStage s) { return s == stage; });
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(file, std::string(10000, 'n'), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(test::ReadFile(file), "old contents\r\n");
    EXPECT_EQ(test::CountEntries(dir.path()), 1);  // no temporary file left
  }
  SetAtomicWriteFaultForTesting({});
  EXPECT_TRUE(WriteFileAtomically(file, "new"));
  EXPECT_EQ(test::ReadFile(file), "new");
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);  // the permission bits survive
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
  // A read-only file is reported so; a missing folder fails.
  test::MakeReadOnly(file);
  EXPECT_FALSE(IsFileWritable(file));
  EXPECT_FALSE(OpenableForReadWrite(file));
  EXPECT_FALSE(WriteFileAtomically(dir / "no" / "x.cfg", "x"));
}

}  // namespace
}  // namespace lumora
