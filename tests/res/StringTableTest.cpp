// The string tables: format, camera-code languages, fallbacks, and every text
// in English, Japanese and Korean with the same placeholders and line breaks.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <vector>

#include "res/StringTable.h"

namespace lumora {
namespace {

QHash<int, QString> ReadTable(int language) {
  QFile file(QStringLiteral(":/strings/%1.txt").arg(language));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return StringTable::Parse(QString::fromUtf8(file.readAll()));
}

QStringList Placeholders(const QString& text) {
  static const QRegularExpression re(
      QStringLiteral("%(%|[-+ #0]*[0-9]*(\\.[0-9]+)?(hh|h|ll|l)?[diouxXeEfgGcsp])"));
  QStringList found;
  for (auto it = re.globalMatch(text); it.hasNext();) found << it.next().captured(0);
  return found;
}

TEST(StringTable, ParsesIdsEscapesAndComments) {
  const auto table =
      StringTable::Parse(QStringLiteral("# comment\r\n627\tInvalid File.\\nFile name : %s\r\n"
                                        "5\ta\\\\b\\tc\nbad line\n12\tfirst\n12\tsecond\n"));
  EXPECT_EQ(table.value(627), QStringLiteral("Invalid File.\nFile name : %s"));
  EXPECT_EQ(table.value(5), QStringLiteral("a\\b\tc"));
  EXPECT_EQ(table.value(12), QStringLiteral("first"));
  EXPECT_EQ(table.size(), 3);
  const std::pair<int, int> codes[] = {
      {0, kLangJapanese}, {1, kLangEnglish}, {9, kLangKorean}, {5, kLangJapanese}};
  for (auto [code, language] : codes) EXPECT_EQ(LanguageForCameraCode(code), language) << code;
}

TEST(StringTable, TextsAndFallbacks) {
  StringTable& table = StringTable::Instance();
  EXPECT_EQ(table.Load(627, kLangEnglish), QStringLiteral("Invalid File.\nFile name : %s"));
  EXPECT_EQ(table.Load(612, kLangEnglish), QStringLiteral("Stop"));
  EXPECT_EQ(table.Load(612, kLangJapanese), QStringLiteral("停止"));
  EXPECT_EQ(table.Load(612, kLangKorean), QStringLiteral("정지"));
  EXPECT_EQ(table.Load(612, kLangGerman), QStringLiteral("Stop"));
  EXPECT_EQ(table.Load(612, kLangNeutral), QStringLiteral("Stop"));
  EXPECT_EQ(table.Load(710, kLangKorean), QStringLiteral("QX-41a"));
  EXPECT_TRUE(table.Load(999999, kLangEnglish).isEmpty());
  // Every id the program loads has an English text: control-bar tooltips,
  // messages, settings pages, tab captions, language names and titles.
  const std::pair<int, int> ranges[] = {{600, 623}, {626, 628}, {630, 652}, {656, 687}, {689, 710},
                                        {712, 719}, {721, 721}, {723, 731}, {800, 804}, {860, 860}};
  const QHash<int, QString> english = ReadTable(kLangEnglish);
  for (auto [first, last] : ranges)
    for (int id = first; id <= last; ++id) EXPECT_FALSE(english.value(id).isEmpty()) << id;
}

TEST(StringTable, TranslationsKeepPlaceholdersAndLineBreaksInTheirOwnScript) {
  EXPECT_EQ(Placeholders(QStringLiteral("a %s b %c %d %02d %0.2lf %% 100%")),
            (QStringList{"%s", "%c", "%d", "%02d", "%0.2lf", "%%"}));
  // Abbreviations, units and names stay as they are in every language.
  const QSet<int> same = {634, 635, 646, 647, 648, 649, 650, 656, 678, 684, 690,
                          691, 694, 695, 696, 697, 698, 705, 707, 710, 716};
  const QHash<int, QString> english = ReadTable(kLangEnglish);
  ASSERT_GT(english.size(), 100);
  for (int language : {kLangJapanese, kLangKorean}) {
    const QHash<int, QString> translated = ReadTable(language);
    EXPECT_EQ(translated.size(), english.size()) << language;
    for (auto it = english.begin(); it != english.end(); ++it) {
      SCOPED_TRACE(testing::Message() << "language " << language << " id " << it.key());
      ASSERT_TRUE(translated.contains(it.key()));
      const QString text = translated.value(it.key());
      EXPECT_EQ(Placeholders(text), Placeholders(it.value()));
      EXPECT_EQ(text.count(QLatin1Char('\n')), it.value().count(QLatin1Char('\n')));
      const bool ownScript =
          std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x3000; });
      EXPECT_TRUE(ownScript || same.contains(it.key()));
    }
  }
}

}  // namespace
}  // namespace lumora
