#include <gtest/gtest.h>

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

TEST(IniRead, BasicCrLfAndLfAndLoneCr) {
  EXPECT_EQ(Str("[A]\r\nk=v\r\n", "A", "k"), "v");
  EXPECT_EQ(Str("[A]\nk=v\n", "A", "k"), "v");
  EXPECT_EQ(Str("[A]\rk=v\r", "A", "k"), "v");
  EXPECT_EQ(Str("[A]\r\nk=v", "A", "k"), "v");  // last line without an ending
  EXPECT_EQ(Str("[A]\r\n\r\n\r\nk=v\r\n", "A", "k"), "v");
}

TEST(IniRead, NamesCompareWithoutCase) {
  const std::string text = "[Wifi]\r\nSSID=cam\r\n";
  EXPECT_EQ(Str(text, "WIFI", "ssid"), "cam");
  EXPECT_EQ(Str(text, "wifi", "SsId"), "cam");
  EXPECT_EQ(Str(text, "wif", "ssid"), "DEF");
  EXPECT_EQ(Str(text, "WIFI", "ssi"), "DEF");
}

TEST(IniRead, BlanksAroundNamesAndValuesAreTrimmed) {
  const std::string text = "  [ IO ]  \r\n\t usIoTurnActive \t=  1  \r\nk2=a b  \r\n";
  EXPECT_EQ(Str(text, "IO", "usIoTurnActive"), "1");
  EXPECT_EQ(Str(text, "IO", "k2"), "a b");  // inner blanks kept
  EXPECT_EQ(Int(text, "IO", "usIoTurnActive"), 1u);
}

TEST(IniRead, QuotesStrippedOnlyWhenTheyEncloseTheWholeValue) {
  EXPECT_EQ(Str("[A]\nk=\"abc\"\n", "A", "k"), "abc");
  EXPECT_EQ(Str("[A]\nk='abc'\n", "A", "k"), "abc");
  EXPECT_EQ(Str("[A]\nk=\"abc\n", "A", "k"), "\"abc");
  EXPECT_EQ(Str("[A]\nk=abc\"\n", "A", "k"), "abc\"");
  EXPECT_EQ(Str("[A]\nk=\"abc'\n", "A", "k"), "\"abc'");
  EXPECT_EQ(Str("[A]\nk=\"\n", "A", "k"), "\"");
  EXPECT_EQ(Str("[A]\nk=\"\"\n", "A", "k"), "");
  EXPECT_EQ(Str("[A]\nk=\" a \"\n", "A", "k"), " a ");
  EXPECT_EQ(Str("[A]\nk=a\"b\"c\n", "A", "k"), "a\"b\"c");
  EXPECT_EQ(Int("[A]\nk=\"42\"\n", "A", "k"), 42u);
}

TEST(IniRead, KeyWithoutEqualsReadsAsDefault) {
  const std::string text = "[A]\r\nflag\r\nk=1\r\n";
  EXPECT_EQ(Str(text, "A", "flag"), "DEF");
  EXPECT_EQ(Int(text, "A", "flag"), 77u);
  EXPECT_EQ(Int(text, "A", "k"), 1u);
}

TEST(IniRead, EmptyValue) {
  const std::string text = "[A]\r\nk=\r\nb=   \r\n";
  EXPECT_EQ(Str(text, "A", "k"), "");  // found: the empty value, not the default
  EXPECT_EQ(Str(text, "A", "b"), "");
  EXPECT_EQ(Int(text, "A", "k"), 77u);  // integers: empty gives the default
  EXPECT_EQ(Int(text, "A", "b", 0), 0u);
}

TEST(IniRead, DuplicateSectionsAndKeysFirstWins) {
  const std::string text = "[A]\r\nk=1\r\nk=2\r\n[B]\r\nk=3\r\n[a]\r\nk=4\r\nonly=5\r\n";
  EXPECT_EQ(Int(text, "A", "k"), 1u);
  EXPECT_EQ(Int(text, "B", "k"), 3u);
  // Keys of a later section of the same name are not seen.
  EXPECT_EQ(Int(text, "A", "only"), 77u);
}

TEST(IniRead, NoCommentSyntax) {
  const std::string text = "; note\r\n[A]\r\n;k=9\r\nk=5 # five\r\n# k=6\r\nj=1;2\r\n";
  EXPECT_EQ(Str(text, "A", "k"), "5 # five");
  EXPECT_EQ(Int(text, "A", "k"), 5u);
  EXPECT_EQ(Str(text, "A", ";k"), "9");
  EXPECT_EQ(Str(text, "A", "# k"), "6");
  EXPECT_EQ(Str(text, "A", "j"), "1;2");
}

TEST(IniRead, LinesBeforeFirstSectionBelongToNoSection) {
  const std::string text = "k=1\r\n[A]\r\nx=2\r\n";
  EXPECT_EQ(Int(text, "A", "k"), 77u);
  EXPECT_EQ(Int(text, "", "k"), 77u);
  EXPECT_EQ(Int(text, "A", "x"), 2u);
}

TEST(IniRead, SectionHeaderForms) {
  EXPECT_EQ(Str("[A] trailing text\r\nk=1\r\n", "A", "k"), "1");
  EXPECT_EQ(Str("[A]b]\r\nk=1\r\n", "A]b", "k"), "1");  // name runs to the last ]
  EXPECT_EQ(Str("[A\r\nk=1\r\n", "A", "k"), "DEF");     // no ]: not a header
  EXPECT_EQ(Str("[A]\r\n[B]\r\nk=1\r\n", "A", "k"), "DEF");
}

TEST(IniRead, ValueWithEqualsSigns) { EXPECT_EQ(Str("[A]\r\nk = a=b =c\r\n", "A", "k"), "a=b =c"); }

TEST(IniRead, BufferSizeCutsTheValue) {
  const std::string text = "[A]\r\nk=abcdef\r\nq=\"abcdef\"\r\n";
  EXPECT_EQ(Str(text, "A", "k", "", 4), "abc");
  EXPECT_EQ(Str(text, "A", "k", "", 7), "abcdef");
  EXPECT_EQ(Str(text, "A", "k", "", 1), "");
  EXPECT_EQ(Str(text, "A", "k", "", 0), "");
  EXPECT_EQ(Str(text, "A", "q", "", 4), "abc");
  EXPECT_EQ(Str(text, "A", "missing", "default", 4), "def");
  std::string longValue(300, 'x');
  EXPECT_EQ(Str("[A]\r\nk=" + longValue + "\r\n", "A", "k", "", 256).size(), 255u);
}

TEST(IniRead, DefaultLosesTrailingBlanks) {
  EXPECT_EQ(Str("", "A", "k", "dflt  "), "dflt");
  EXPECT_EQ(Str("", "A", "k", "  dflt"), "  dflt");
}

TEST(IniRead, IntegersWithSignAndDefault) {
  const std::string text =
      "[N]\r\na=5\r\nb=-3\r\nc=+12\r\nd=abc\r\ne=12abc\r\nf=  7\r\ng=0x1F\r\nh=65536\r\n"
      "i=-32768\r\nj=4294967297\r\nk=- 4\r\nl=0b101\r\nm=0o17\r\nn=007\r\n";
  EXPECT_EQ(Int(text, "N", "a"), 5u);
  EXPECT_EQ(Int(text, "N", "b"), static_cast<std::uint32_t>(-3));
  EXPECT_EQ(static_cast<std::int16_t>(Int(text, "N", "b")), -3);
  EXPECT_EQ(Int(text, "N", "c"), 12u);
  EXPECT_EQ(Int(text, "N", "d"), 0u);  // present but not a number: 0, not the default
  EXPECT_EQ(Int(text, "N", "e"), 12u);
  EXPECT_EQ(Int(text, "N", "f"), 7u);
  EXPECT_EQ(Int(text, "N", "g"), 31u);
  EXPECT_EQ(Int(text, "N", "h"), 65536u);
  EXPECT_EQ(static_cast<std::uint16_t>(Int(text, "N", "h")), 0u);  // low 16 bits
  EXPECT_EQ(static_cast<std::int16_t>(Int(text, "N", "i")), -32768);
  EXPECT_EQ(Int(text, "N", "j"), 1u);  // wraps modulo 2^32
  EXPECT_EQ(Int(text, "N", "k"), 0u);
  EXPECT_EQ(Int(text, "N", "l"), 5u);
  EXPECT_EQ(Int(text, "N", "m"), 15u);
  EXPECT_EQ(Int(text, "N", "n"), 7u);
  EXPECT_EQ(Int(text, "N", "missing", -1), 0xFFFFFFFFu);
  EXPECT_EQ(Int(text, "Nope", "a", 9), 9u);
}

TEST(IniRead, StringToIntRules) {
  EXPECT_EQ(ProfileStringToInt(""), 0u);
  EXPECT_EQ(ProfileStringToInt("-"), 0u);
  EXPECT_EQ(ProfileStringToInt("0x"), 0u);
  EXPECT_EQ(ProfileStringToInt("0xg"), 0u);
  EXPECT_EQ(ProfileStringToInt("0"), 0u);
  EXPECT_EQ(ProfileStringToInt("-0x10"), static_cast<std::uint32_t>(-16));
  EXPECT_EQ(ProfileStringToInt("19 20"), 19u);
  EXPECT_EQ(ProfileStringToInt("1.5"), 1u);
}

TEST(IniRead, NumbersLongerThanTheIntBufferAreCut) {
  // Only the first 29 characters are looked at.
  std::string text = "[A]\r\nk=" + std::string(28, '0') + "12\r\n";
  EXPECT_EQ(Int(text, "A", "k"), 1u);
}

TEST(IniFileRead, MissingFileGivesDefaults) {
  test::TempFolder dir;
  auto file = dir.path() / "none.cfg";
  EXPECT_EQ(GetPrivateProfileInt("A", "k", 12, file), 12u);
  EXPECT_EQ(GetPrivateProfileString("A", "k", "x", 256, file), "x");
  IniDocument doc;
  EXPECT_FALSE(LoadProfileDocument(file, doc));
  EXPECT_FALSE(LoadProfileDocument(dir.path(), doc));  // a folder is not a file
}

TEST(IniFileRead, ReadOnlyFileIsStillRead) {
  test::TempFolder dir;
  auto file = dir.path() / "ro.cfg";
  test::WriteFile(file, "[A]\r\nk=3\r\n");
  test::MakeReadOnly(file);
  EXPECT_EQ(GetPrivateProfileInt("A", "k", 0, file), 3u);
}

TEST(IniFileRead, EightBitBytesPassThrough) {
  test::TempFolder dir;
  auto file = dir.path() / "b.cfg";
  test::WriteFile(file, std::string("[W]\r\nssid=caf\xe9\xff\x01z\r\n"));
  EXPECT_EQ(GetPrivateProfileString("W", "ssid", "", 256, file), std::string("caf\xe9\xff\x01z"));
}

TEST(IniRobustness, HugeLines) {
  std::string big(4 * 1024 * 1024, 'q');
  std::string text = "[A]\r\nk=" + big + "\r\n" + big + "\r\n[B]\r\nz=9\r\n";
  IniDocument doc = IniDocument::Parse(text);
  EXPECT_EQ(GetProfileString(doc, "A", "k", "", 256).size(), 255u);
  EXPECT_EQ(GetProfileInt(doc, "B", "z", 0), 9u);
  EXPECT_EQ(doc.Serialize().size(), text.size());
}

TEST(IniRobustness, TooLargeFileIsNotRead) {
  test::TempFolder dir;
  auto file = dir.path() / "big.cfg";
  test::WriteFile(file, "[A]\r\nk=1\r\n" + std::string(kMaxWholeFileBytes, ' '));
  EXPECT_EQ(GetPrivateProfileInt("A", "k", 4, file), 4u);
}

}  // namespace
}  // namespace lumora
