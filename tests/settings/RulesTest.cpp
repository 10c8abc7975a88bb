// The rules behind the settings pages and the close of the settings dialog,
// one table per rule set, every expected value a literal.

#include <gtest/gtest.h>

#include <limits>
#include <utility>
#include <vector>

#include "settings/AdasPageRules.h"
#include "settings/DvrPageRules.h"
#include "settings/InstallPageRules.h"
#include "settings/OthersPageRules.h"
#include "settings/SettingsCloseRules.h"
#include "settings/SystemPageRules.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

TEST(AdasRules, SpeedEdits) {
  // Typed speed in the display unit -> stored km/h pair (Hi, Lo = Hi - 5).
  const struct {
    std::uint16_t unit;
    SpeedEdit edit;
    int typed, hi, lo;
  } rows[] = {{0, SpeedEdit::kFcw, 47, 50, 45}, {0, SpeedEdit::kFcw, 44, 40, 35},
              {0, SpeedEdit::kFcw, 6, 10, 5},   {0, SpeedEdit::kFcw, 3, 1, 0},
              {0, SpeedEdit::kFcw, -20, 1, 0},  {0, SpeedEdit::kFcw, 200, 80, 75},
              {0, SpeedEdit::kLdw, 12, 40, 35}, {0, SpeedEdit::kLdw, 65, 70, 65},
              {1, SpeedEdit::kLdw, 30, 48, 43}, {1, SpeedEdit::kLdw, 10, 40, 35},
              {1, SpeedEdit::kFcw, 99, 80, 75}, {1, SpeedEdit::kFcw, 3, 4, 0}};
  for (const auto& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.unit << "/" << r.typed);
    SetupData d;
    d.usDisplaySpeedUnit = r.unit;
    d.usFcw_SpeedHi = d.usLdw_SpeedHi = 33;
    ASSERT_TRUE(ApplySpeedEdit(d, r.edit, r.typed));
    const bool fcw = r.edit == SpeedEdit::kFcw;
    EXPECT_EQ(fcw ? d.usFcw_SpeedHi : d.usLdw_SpeedHi, r.hi);
    EXPECT_EQ(fcw ? d.usFcw_SpeedLo : d.usLdw_SpeedLo, r.lo);
    EXPECT_EQ(fcw ? d.usLdw_SpeedHi : d.usFcw_SpeedHi, 33);  // the other edit is untouched
  }
  SetupData d;
  d.usDisplaySpeedUnit = 2;  // an unknown unit changes nothing
  d.usFcw_SpeedHi = 33;
  EXPECT_FALSE(ApplySpeedEdit(d, SpeedEdit::kFcw, 50));
  EXPECT_EQ(d.usFcw_SpeedHi, 33);
}

TEST(AdasRules, SpeedDisplay) {
  const struct {
    SpeedEdit edit;
    std::uint16_t stored, unit;
    int shown;
  } rows[] = {
      {SpeedEdit::kFcw, 0, 0, 1},   {SpeedEdit::kFcw, 60, 0, 60},  {SpeedEdit::kFcw, 90, 0, 80},
      {SpeedEdit::kLdw, 30, 0, 40}, {SpeedEdit::kLdw, 48, 1, 30},  {SpeedEdit::kLdw, 20, 1, 25},
      {SpeedEdit::kFcw, 50, 1, 31}, {SpeedEdit::kFcw, 200, 1, 50}, {SpeedEdit::kFcw, 33, 2, 33}};
  for (const auto& r : rows)
    EXPECT_EQ(SpeedEditDisplay(r.edit, r.stored, r.unit), r.shown) << r.stored << " " << r.unit;
}

TEST(AdasRules, HmwLevel) {
  const struct {
    int level;
    int ms, sense;
  } apply[] = {{0, 1100, 0}, {1, 900, 1}, {2, 700, 2}, {-1, 900, 1}};
  for (const auto& r : apply) {
    SetupData d;
    ApplyHmwLevel(d, r.level);
    EXPECT_EQ(d.usFcw1_TTCSense_Ms, r.ms) << r.level;
    EXPECT_EQ(d.usFcw_TTCSense, r.sense) << r.level;
  }
  // Loading: the level outside 0..2 becomes 1, the time is kept in 100..3000.
  const struct {
    std::uint16_t sense, ms;
    int level, msAfter;
  } load[] = {{2, 50, 2, 100}, {7, 5000, 1, 3000}, {0, 1500, 0, 1500}};
  for (const auto& r : load) {
    SetupData d;
    d.usFcw_TTCSense = r.sense;
    d.usFcw1_TTCSense_Ms = r.ms;
    EXPECT_EQ(LoadHmwLevel(d), r.level) << r.sense;
    EXPECT_EQ(d.usFcw_TTCSense, r.level) << r.sense;
    EXPECT_EQ(d.usFcw1_TTCSense_Ms, r.msAfter) << r.sense;
  }
  EXPECT_EQ(HmwSecondsText(950), "0.9");
}

// One row per rule: its inputs and their results.
#define RULE(f, T) #f, [](double x) { return static_cast<int>(f(static_cast<T>(x))); }
using U16 = std::uint16_t;

TEST(PageRules, SmallRules) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* rule;
    int (*call)(double);
    std::vector<std::pair<double, int>> cases;
  } rows[] = {
      {RULE(ToggleAdasCheck, U16), {{0, 1}, {1, 0}, {7, 0}}},
      {RULE(ToggleOnOffCheck, U16), {{1, 0}, {0, 1}, {5, 1}}},
      {RULE(ClampWarningStep, int), {{-3, 1}, {5, 5}, {12, 9}}},
      {RULE(AlarmTimingFromIndex, int), {{3, 3000}}},
      {RULE(AlarmTimingIndex, U16), {{3000, 3}, {2500, 2}, {9000, -1}}},
      {RULE(RoundTriggerPosition, int), {{3, 10}, {74, 70}, {75, 80}, {200, 200}}},
      {RULE(ClampVolume, int), {{-1, 0}, {7, 7}, {16, 15}}},
      {RULE(DialogLanguageCode, U16), {{5, 0}, {1, 1}, {9, 9}, {10, 0}}},
      {RULE(StringTableLanguage, int), {{0, 1041}, {1, 1033}, {9, 1042}}},
      {RULE(LanguageRadioIndex, U16), {{5, 0}, {9, 0}, {1, 1}}},
      {"LanguageNameStringId",
       [](double x) { return LanguageNameStringId(int(x)).value_or(-1); },
       {{0, 699}, {1, 689}, {10, 689}, {9, 700}, {3, -1}}},
      {RULE(CameraHeightFromMetres, double), {{1.34, 130}, {1.35, 140}, {0.5, 100}, {4.5, 400}}},
      {RULE(VehicleWidthFromMetres, double), {{3.7, 300}, {1.86, 190}, {nan, 100}}},
      {RULE(DevicePositionFromCentimetres, double), {{5.5, 55}, {25, 200}, {-4, 0}}},
      {RULE(VehiclePulseFromTyped, long), {{1234, 1234}, {70000, 4464}}},
      {RULE(VehicleRadioIndex, U16), {{9, 0}}},
      {RULE(TimeZoneIndexFromValue, U16), {{1, 0}, {24, 23}, {0, -1}, {25, -1}}},
      {RULE(TimeZoneValueFromIndex, int), {{11, 12}, {-1, 0}}},
      {RULE(DitRadioIndex, U16), {{1, 0}, {0, 1}, {2, -1}}}};
  for (const auto& r : rows) {
    for (const auto& [in, out] : r.cases) EXPECT_EQ(r.call(in), out) << r.rule << "(" << in << ")";
  }
  EXPECT_EQ(TriggerGText(70), "0.70");
  EXPECT_EQ(TriggerGText(200), "2.00");
  EXPECT_DOUBLE_EQ(CentimetresToMetres(130), 1.3);
  EXPECT_DOUBLE_EQ(DevicePositionCentimetres(55), 5.5);
  EXPECT_TRUE(IsWifiPassphraseTooShort("1234567"));
  EXPECT_FALSE(IsWifiPassphraseTooShort("12345678"));
  EXPECT_STREQ(kWifiPassphraseTooShortMessage,
               "The Wi-Fi password must be at least 8 characters long");
  // The language radio sets the menu and the voice language.
  for (const int radio : {1, 0}) {
    SetupData d;
    ApplyLanguageRadio(d, radio);
    EXPECT_EQ(d.usMenuLanguage, radio);
    EXPECT_EQ(d.usSndLanguage, radio);
  }
}

TEST(DvrRules, ImpactLevels) {
  // Level -> the three triggers; no selection (-1) changes the level only.
  const struct {
    int level;
    int sense, trigger;
  } apply[] = {{0, 0, 50}, {1, 1, 70}, {2, 2, 90}, {-1, 1, 33}};
  for (const auto& r : apply) {
    SetupData d;
    d.usAccTriggerX = d.usAccTriggerY = d.usAccTriggerZ = 33;
    ApplyImpactLevel(d, r.level);
    EXPECT_EQ(d.usAccSenseLevel, r.sense) << r.level;
    EXPECT_EQ(d.usAccTriggerX, r.trigger) << r.level;
    EXPECT_EQ(d.usAccTriggerY, r.trigger) << r.level;
    EXPECT_EQ(d.usAccTriggerZ, r.trigger) << r.level;
  }
  const struct {
    std::uint16_t acc, motion;
    int level, motionAfter;
  } load[] = {{4, 3, 1, 1}, {2, 0, 2, 0}};
  for (const auto& r : load) {
    SetupData d;
    d.usAccSenseLevel = r.acc;
    d.usMotionSenseLevel = r.motion;
    EXPECT_EQ(LoadImpactLevel(d), r.level);
    EXPECT_EQ(d.usAccSenseLevel, r.level);
    EXPECT_EQ(d.usMotionSenseLevel, r.motionAfter);
  }
}

TEST(DvrRules, Voltages) {
  // Cars: 11.5 .. 13.5 V in 0.1 steps; bus (2) and truck (5) add 23.5 .. 25.5 V.
  for (std::uint16_t type : {0, 1, 3, 2, 5}) {
    const auto texts = VoltageListTexts(type);
    const bool heavy = type == 2 || type == 5;
    ASSERT_EQ(texts.size(), heavy ? 42u : 21u) << type;
    EXPECT_EQ(texts[0], "11.5v");
    EXPECT_EQ(texts[8], "12.3v");
    EXPECT_EQ(texts[20], "13.5v");
    if (heavy) {
      EXPECT_EQ(texts[21], "23.5v");
      EXPECT_EQ(texts[41], "25.5v");
    }
  }
  // Stored value -> list index and value; unlisted: 12.3 V, heavy vehicles 24.3 V.
  const struct {
    std::uint16_t stored, type;
    int index, value;
  } rows[] = {{118, 0, 3, 118},  {140, 0, 8, 123},  {255, 0, 8, 123},  {123, 2, 8, 123},
              {140, 5, 29, 243}, {240, 5, 26, 240}, {255, 2, 41, 255}, {135, 5, 20, 135}};
  for (const auto& r : rows) {
    const VoltageSelection s = SelectVoltage(r.stored, r.type);
    EXPECT_EQ(s.index, r.index) << r.stored << " type " << r.type;
    EXPECT_EQ(s.value, r.value) << r.stored << " type " << r.type;
  }
  EXPECT_EQ(VoltageFromText("12.3v"), 123);
  EXPECT_EQ(VoltageFromText("24.0v"), 240);
}

TEST(InstallRules, VehiclePresets) {
  const struct {
    int radio;
    std::uint16_t type, height, width;
  } rows[] = {{0, 0, 130, 180}, {1, 3, 130, 160}, {2, 1, 150, 190},
              {3, 4, 170, 190}, {4, 2, 160, 250}, {5, 5, 250, 250}};
  for (const auto& r : rows) {
    SetupData d;
    ApplyVehiclePreset(d, r.radio);
    EXPECT_EQ(d.usInstall_CarType, r.type) << r.radio;
    EXPECT_EQ(d.usInstall_CamHeight, r.height) << r.radio;
    EXPECT_EQ(d.usInstall_CarWidth, r.width) << r.radio;
    EXPECT_EQ(VehicleRadioIndex(r.type), r.radio);
  }
  SetupData d;
  d.usInstall_CarType = 4;
  ApplyVehiclePreset(d, 6);  // no such radio
  EXPECT_EQ(d.usInstall_CarType, 4);
}

TEST(OthersRules, TimeZones) {
  const auto texts = TimeZoneListTexts();
  ASSERT_EQ(texts.size(), 24u);
  EXPECT_EQ(texts.front(), "-11:00");
  EXPECT_EQ(texts[11], "+0:00");
  EXPECT_EQ(texts.back(), "+12:00");
  // {kind, Bias, StandardBias, DaylightBias} -> list index and stored value.
  const struct {
    const char* place;
    TimeZoneAnswer answer;
    int index, stored;
  } rows[] = {{"Tokyo", {0, -540, 0, 0}, 20, 21},
              {"New York in summer", {2, 300, 0, -60}, 7, 8},
              {"India +5:30 truncated", {1, -330, 0, 0}, 16, 17},
              {"Newfoundland -3:30 truncated", {1, 210, 0, -60}, 8, 9},
              {"Kiritimati +14, outside", {0, -840, 0, 0}, -1, 0}};
  for (const auto& r : rows) {
    SetupData d;
    EXPECT_EQ(ApplyTimeZone(d, r.answer), r.index) << r.place;
    EXPECT_EQ(d.usTimeZone, r.stored) << r.place;
  }
  SetupData d;
  d.usTimeZone = 5;
  EXPECT_EQ(ApplyTimeZone(d, {-1, 0, 0, 0}), std::nullopt);  // a failed query changes nothing
  EXPECT_EQ(d.usTimeZone, 5);
}

TEST(SaveDecision, EveryRow) {
  const struct {
    bool record, wifi;
    int flag;
    bool yes;
    int questions;
    bool writeSetup, writeWifi;
  } rows[] = {
      {false, false, 0, true, 0, false, false}, {false, false, -1, true, 0, false, false},
      {true, false, 0, true, 1, true, false},   {true, false, 0, false, 1, false, false},
      {true, false, -1, true, 1, true, false},  {false, true, 0, true, 1, false, true},
      {false, true, 0, false, 1, false, false}, {false, true, -1, true, 0, false, false},
      {true, true, 0, true, 1, true, true},     {true, true, 0, false, 1, false, false},
      {true, true, -1, true, 1, true, false},   {true, true, -1, false, 1, false, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.record << r.wifi << r.flag << r.yes);
    int asked = 0;
    const SavePlan plan = DecideSave(r.record, r.wifi, r.flag, [&] {
      ++asked;
      return r.yes;
    });
    EXPECT_EQ(asked, r.questions);
    EXPECT_EQ(plan.questionsAsked, r.questions);
    EXPECT_EQ(plan.writeSetup, r.writeSetup);
    EXPECT_EQ(plan.writeWifi, r.writeWifi);
  }
}

// The OK/Cancel answers to the warning are checked through the dialog.
TEST(CloseCheck, ShortPassphraseAsksOnlyWhenTheStringsChanged) {
  // {loaded ssid, loaded passphrase, ssid, passphrase}
  EXPECT_EQ(CheckClose({"cam", "12345678", "cam2", "12345678", ""}), CloseCheck::kClose);
  EXPECT_EQ(CheckClose({"cam", "12345678", "cam", "1234567", ""}), CloseCheck::kAskShortPassphrase);
  EXPECT_EQ(CheckClose({"a", "short", "a", "short", ""}), CloseCheck::kClose);
}

// The files when only the Wi-Fi strings changed (other rows: tests/settings_qt).
TEST(SaveOnClose, OnlyTheChangedWifiFileIsWritten) {
  test::TempFolder card;
  const std::string setup = "[IO]\r\nusIoTurnActive=1 \r\n";
  card.Write("data_setup.cfg", setup);
  card.Write("wifi.cfg", "[WIFI]\r\nssid=cam \r\nwpa_passphrase=12345678 \r\n");
  SetupData record;
  WifiEditState edits{"cam", "12345678", "newcam", "12345678", ""};
  int asked = 0;
  const SaveOutcome out = SaveSettingsOnClose(card.path(), record, record, {}, edits, 0, [&] {
    ++asked;
    return true;
  });
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(out.setupWritten);
  EXPECT_TRUE(out.wifiWritten);
  EXPECT_EQ(test::ReadFile(card / "data_setup.cfg"), setup);
  EXPECT_EQ(test::ReadFile(card / "wifi.cfg"),
            "[WIFI]\r\nssid=newcam \r\nwpa_passphrase=12345678 \r\nnetwork=192.168.20 \r\n");
}

}  // namespace
}  // namespace lumora
