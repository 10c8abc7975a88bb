#include "res/StringTable.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(StringTable, ParsesIdsEscapesAndComments) {
  auto table =
      StringTable::Parse(QStringLiteral("# comment\r\n627\tInvalid File.\\nFile name : %s\r\n"
                                        "5\ta\\\\b\\tc\nbad line\n12\tfirst\n12\tsecond\n"));
  EXPECT_EQ(table.value(627), QStringLiteral("Invalid File.\nFile name : %s"));
  EXPECT_EQ(table.value(5), QStringLiteral("a\\b\tc"));
  EXPECT_EQ(table.value(12), QStringLiteral("first"));
  EXPECT_EQ(table.size(), 3);
}

TEST(StringTable, CameraCodesMapToLanguages) {
  const std::pair<int, int> rows[] = {{0, kLangJapanese},
                                      {1, kLangEnglish},
                                      {9, kLangKorean},
                                      {5, kLangJapanese},
                                      {-1, kLangJapanese}};
  for (auto [code, language] : rows) EXPECT_EQ(LanguageForCameraCode(code), language) << code;
}

TEST(StringTable, LoadsCompiledTablesWithEnglishFallback) {
  StringTable& table = StringTable::Instance();
  EXPECT_EQ(table.Load(710, kLangEnglish), QStringLiteral("QX-41a"));
  EXPECT_EQ(table.Load(710, kLangGerman), QStringLiteral("QX-41a"));
  EXPECT_TRUE(table.Load(999999, kLangEnglish).isEmpty());
}

}  // namespace
}  // namespace lumora
