#include "res/StringTable.h"
#include "platform/qt/MessageBox.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(StringTable, ParsesIdsEscapesAndComments) {
  auto table = StringTable::Parse(
      QStringLiteral("# comment\r\n627\tInvalid File.\\nFile name : %s\r\n"
                     "5\ta\\\\b\\tc\nbad line\n12\tfirst\n12\tsecond\n"));
  EXPECT_EQ(table.value(627), QStringLiteral("Invalid File.\nFile name : %s"));
  EXPECT_EQ(table.value(5), QStringLiteral("a\\b\tc"));
  EXPECT_EQ(table.value(12), QStringLiteral("first"));
  EXPECT_EQ(table.size(), 3);
}

TEST(StringTable, CameraCodesMapToLanguages) {
  EXPECT_EQ(LanguageForCameraCode(0), kLangJapanese);
  EXPECT_EQ(LanguageForCameraCode(1), kLangEnglish);
  EXPECT_EQ(LanguageForCameraCode(9), kLangKorean);
  EXPECT_EQ(LanguageForCameraCode(5), kLangJapanese);
  EXPECT_EQ(LanguageForCameraCode(-1), kLangJapanese);
}

TEST(StringTable, LoadsCompiledTablesWithEnglishFallback) {
  StringTable& table = StringTable::Instance();
  EXPECT_EQ(table.Load(710, kLangEnglish), QStringLiteral("QX-41a"));
  EXPECT_EQ(table.Load(710, kLangGerman), QStringLiteral("QX-41a"));
  EXPECT_TRUE(table.Load(999999, kLangEnglish).isEmpty());
}

TEST(MessageBox, RecorderCapturesAndAnswers) {
  MessageBoxRecorder recorder;
  recorder.QueueAnswer(kIdNo);
  EXPECT_EQ(ShowMessageBox(nullptr, QStringLiteral("Save?"), QStringLiteral("QX-41a"), kMbYesNo,
                           kMbIconQuestion),
            kIdNo);
  EXPECT_EQ(ShowMessageBox(nullptr, QStringLiteral("Done"), QStringLiteral("QX-41a")), kIdOk);
  ASSERT_EQ(recorder.Requests().size(), 2u);
  EXPECT_EQ(recorder.Requests()[0].text, QStringLiteral("Save?"));
  EXPECT_EQ(recorder.Requests()[0].buttons, kMbYesNo);
  EXPECT_EQ(recorder.Requests()[1].caption, QStringLiteral("QX-41a"));
}

}  // namespace
}  // namespace lumora
