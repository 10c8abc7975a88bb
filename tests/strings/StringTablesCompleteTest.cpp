// The compiled string tables: every text the program loads exists in
// English, Japanese and Korean, and the translations keep the printf
// placeholders of the English text in the same order.
#include "res/StringTable.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <vector>

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

// Ids the program loads: control-bar tooltips, messages, settings pages,
// tab captions, language names, product caption and window title.
std::vector<int> IdsInUse() {
  std::vector<int> ids;
  for (int id = 600; id <= 623; ++id) ids.push_back(id);
  for (int id : {626, 627, 628}) ids.push_back(id);
  for (int id = 630; id <= 652; ++id) ids.push_back(id);
  for (int id = 656; id <= 687; ++id) ids.push_back(id);
  for (int id = 689; id <= 710; ++id) ids.push_back(id);
  for (int id = 712; id <= 719; ++id) ids.push_back(id);
  for (int id : {721, 723}) ids.push_back(id);
  for (int id = 724; id <= 731; ++id) ids.push_back(id);
  for (int id : {800, 801, 802, 803, 804, 860}) ids.push_back(id);
  return ids;
}

TEST(StringTables, EveryIdInUseHasAnEnglishText) {
  const QHash<int, QString> english = ReadTable(kLangEnglish);
  for (int id : IdsInUse()) {
    EXPECT_FALSE(english.value(id).isEmpty()) << "id " << id;
  }
}

TEST(StringTables, EnglishTextsOfMessagesAreExact) {
  StringTable& table = StringTable::Instance();
  EXPECT_EQ(table.Load(626, kLangEnglish), QStringLiteral("File is not selected."));
  EXPECT_EQ(table.Load(627, kLangEnglish), QStringLiteral("Invalid File.\nFile name : %s"));
  EXPECT_EQ(table.Load(860, kLangEnglish), QStringLiteral("No driving data"));
  EXPECT_EQ(table.Load(618, kLangEnglish),
            QStringLiteral("Do you want to format the drive %c of LUMORA SD Card?"));
  EXPECT_EQ(table.Load(623, kLangEnglish), QStringLiteral("There is no device SD card."));
  EXPECT_EQ(table.Load(731, kLangEnglish),
            QStringLiteral("password must include eight or\nmore alphanumeric characters"));
  EXPECT_EQ(table.Load(617, kLangEnglish), QStringLiteral("Google Map <-> Naver Map"));
  EXPECT_EQ(table.Load(710, kLangJapanese), QStringLiteral("QX-41a"));
  EXPECT_EQ(table.Load(710, kLangKorean), QStringLiteral("QX-41a"));
}

TEST(StringTables, TranslationsCoverEveryEnglishIdWithTheSamePlaceholders) {
  const QHash<int, QString> english = ReadTable(kLangEnglish);
  ASSERT_GT(english.size(), 100);
  for (int language : {kLangJapanese, kLangKorean}) {
    const QHash<int, QString> translated = ReadTable(language);
    EXPECT_EQ(translated.size(), english.size()) << "language " << language;
    for (auto it = english.begin(); it != english.end(); ++it) {
      ASSERT_TRUE(translated.contains(it.key())) << "language " << language << " id " << it.key();
      EXPECT_EQ(Placeholders(translated.value(it.key())), Placeholders(it.value()))
          << "language " << language << " id " << it.key();
      EXPECT_EQ(translated.value(it.key()).count(QLatin1Char('\n')),
                it.value().count(QLatin1Char('\n')))
          << "line breaks, language " << language << " id " << it.key();
    }
  }
}

TEST(StringTables, TranslationsAreWrittenInTheirOwnScript) {
  // Abbreviations, units and names stay as they are in every language.
  const QSet<int> same = {634, 635, 646, 647, 648, 649, 650, 656, 678, 684, 690,
                          691, 694, 695, 696, 697, 698, 705, 707, 710, 716};
  const QHash<int, QString> english = ReadTable(kLangEnglish);
  for (int language : {kLangJapanese, kLangKorean}) {
    const QHash<int, QString> translated = ReadTable(language);
    for (auto it = english.begin(); it != english.end(); ++it) {
      if (same.contains(it.key())) continue;
      const QString text = translated.value(it.key());
      const bool hasNonLatin =
          std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x3000; });
      EXPECT_TRUE(hasNonLatin) << "language " << language << " id " << it.key();
    }
  }
}

TEST(StringTables, PlaceholderScannerFindsFormats) {
  EXPECT_EQ(Placeholders(QStringLiteral("a %s b %c %d %02d %0.2lf %%")),
            (QStringList{"%s", "%c", "%d", "%02d", "%0.2lf", "%%"}));
  EXPECT_TRUE(Placeholders(QStringLiteral("full at 100%")).isEmpty());
}

TEST(StringTables, GermanAndNeutralFallBackToEnglish) {
  StringTable& table = StringTable::Instance();
  EXPECT_EQ(table.Load(612, kLangGerman), table.Load(612, kLangEnglish));
  EXPECT_EQ(table.Load(612, kLangNeutral), QStringLiteral("Stop"));
  EXPECT_EQ(table.Load(612, kLangJapanese), QStringLiteral("停止"));
  EXPECT_EQ(table.Load(612, kLangKorean), QStringLiteral("정지"));
}

}  // namespace
}  // namespace lumora
