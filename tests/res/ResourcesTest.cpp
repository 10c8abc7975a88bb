// The string tables (format, languages, fallbacks, every text in English,
// Japanese and Korean alike) and the skin (button states, the sizes and looks
// the controls need, every skinned control mapped to images and its mask).
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <vector>

#include "res/SkinBitmaps.h"
#include "res/StringTable.h"
#include "ui/SkinCatalog.h"

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

TEST(StringTable, FormatLanguagesFallbacksAndEveryIdInUse) {
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
  // The compiled tables and their fallbacks.
  StringTable& strings = StringTable::Instance();
  EXPECT_EQ(strings.Load(627, kLangEnglish), QStringLiteral("Invalid File.\nFile name : %s"));
  EXPECT_EQ(strings.Load(612, kLangEnglish), QStringLiteral("Stop"));
  EXPECT_EQ(strings.Load(612, kLangJapanese), QStringLiteral("停止"));
  EXPECT_EQ(strings.Load(612, kLangKorean), QStringLiteral("정지"));
  EXPECT_EQ(strings.Load(612, kLangGerman), QStringLiteral("Stop"));
  EXPECT_EQ(strings.Load(612, kLangNeutral), QStringLiteral("Stop"));
  EXPECT_TRUE(strings.Load(999999, kLangEnglish).isEmpty());
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

TEST(SkinBitmaps, EveryButtonHasFourDistinctStatesOfOneSize) {
  for (int base = kBmpMinimize; base <= kBmpCategory; base += kButtonStateCount) {
    SCOPED_TRACE(base);
    const SkinButtonImages images = SkinButton(base);
    ASSERT_FALSE(images.normal.isNull());
    const QImage normal = images.normal.toImage();
    for (const QPixmap* state : {&images.down, &images.over, &images.disabled}) {
      EXPECT_EQ(state->size(), images.normal.size());
      EXPECT_NE(state->toImage(), normal);
    }
  }
  EXPECT_FALSE(HasSkinBitmap(12345));
  EXPECT_TRUE(SkinBitmap(12345).isNull());
}

TEST(SkinBitmaps, FixedPicturesHaveTheirControlSizesAndLooks) {
  // The background is the client area of window mode 1.
  std::vector<std::pair<int, QSize>> rows = {
      {kBmpBackground, {1020, 760}},      {kBmpThumbnailArea, {605, 250}},
      {kBmpEventAlert, {180, 165}},       {kBmpGraphModeA, {40, 39}},
      {kBmpGraphModeB, {40, 39}},         {kBmpGraphModeSpeed, {40, 39}},
      {kBmpGraphModeADown, {40, 39}},     {kBmpGraphModeBDown, {40, 39}},
      {kBmpGraphModeSpeedDown, {40, 39}}, {kBmpSeekFilled, {537, 20}},
      {kBmpSeekEmpty, {537, 20}},         {kBmpVolumeFilled, {92, 20}},
      {kBmpVolumeEmpty, {92, 20}},        {kBmpCategory, {60, 15}},
      {kBmpOrderBar, {256, 12}},          {kBmpListX, {25, 25}}};
  for (int id = kBmpIndicatorFirst; id <= kBmpIndicatorLast; ++id) rows.push_back({id, {180, 165}});
  for (const auto& [id, size] : rows) EXPECT_EQ(SkinImage(id).size(), size) << id;
  // Thumbs and the logo are strips of three frames.
  EXPECT_EQ(SkinImage(kBmpSeekThumb).width() % 3, 0);
  EXPECT_EQ(SkinImage(kBmpVolumeThumb).width() % 3, 0);
  EXPECT_EQ(SkinImage(kBmpLogo).width(), 3 * SkinImage(kBmpLogo).height());
  EXPECT_FALSE(SkinImage(kBmpAppIcon).isNull());
  for (int a = kBmpIndicatorFirst; a <= kBmpIndicatorLast; ++a)
    for (int b = a + 1; b <= kBmpIndicatorLast; ++b)
      EXPECT_NE(SkinImage(a), SkinImage(b)) << a << " " << b;
  const QImage alert = SkinImage(kBmpEventAlert).convertToFormat(QImage::Format_RGB32);
  for (QPoint p : {QPoint(0, 0), QPoint(179, 164), QPoint(90, 100)})
    EXPECT_EQ(alert.pixel(p), qRgb(255, 255, 255)) << p.x() << "," << p.y();
  EXPECT_NE(alert.pixel(45, 10), qRgb(255, 255, 255));  // the badge
  for (int id : {kBmpRoundMask, kBmpSquareMask}) {
    const QImage mask = SkinImage(id).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(mask.isNull()) << id;
    EXPECT_EQ(mask.pixel(mask.width() / 2, mask.height() / 2), qRgb(0, 0, 0)) << id;
  }
  EXPECT_EQ(SkinImage(kBmpRoundMask).convertToFormat(QImage::Format_RGB32).pixel(0, 0),
            qRgb(255, 255, 255));
}

TEST(SkinCatalog, EveryMappedControlHasItsImagesAndMask) {
  const int controls[] = {1000, 1001, 1005, 1006, 1007, 1008, 1009, 1010, 1011, 1012, 1016, 1017,
                          1018, 1020, 1023, 1025, 1041, 1097, 1098, 1099, 1100, 1101, 1121, 1137,
                          1150, 1151, 1152, 4153, 1154, 1155, 1156, 1157, 1158, 1193, 1194, 1195,
                          1196, 1197, 1198, 1199, 1202, 3021, 4200, 4201, 5019, 5206, 8200, 8201};
  for (int id : controls) {
    const int base = SkinCatalog::SkinForControl(id);
    ASSERT_NE(base, 0) << id;
    EXPECT_TRUE(HasSkinBitmap(base + kButtonStateCount - 1)) << id;  // all states
    if (const int mask = SkinCatalog::SkinMaskForControl(id)) {
      EXPECT_EQ(SkinImage(mask).size(), SkinImage(base).size()) << id;
    }
  }
  EXPECT_EQ(SkinCatalog::SkinForControl(1110), 0);
  EXPECT_EQ(SkinCatalog::SkinForControl(32771), 0);
  EXPECT_EQ(SkinCatalog::SkinMaskForControl(1194), kBmpSquareMask);
  EXPECT_EQ(SkinCatalog::SkinMaskForControl(1000), 0);  // 24 x 22 window button
  EXPECT_EQ(SkinCatalog::SkinMaskForControl(1006), kBmpRoundMask);
  const std::pair<int, int> looks[] = {{kBmpPlay, kBmpPause},        {kBmpSpeed1, kBmpSpeed2},
                                       {kBmpSpeed1, kBmpSpeed8},     {kBmpGMode0, kBmpGMode2},
                                       {kBmpMapLarge, kBmpMapSmall}, {kBmpListClosed, kBmpListOpen},
                                       {kBmpDit, kBmpDitActive}};
  for (auto [a, b] : looks) EXPECT_EQ(SkinImage(a).size(), SkinImage(b).size()) << a << " " << b;
}

}  // namespace
}  // namespace lumora
