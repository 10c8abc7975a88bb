#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "settings/AdasPageRules.h"
#include "settings/DvrPageRules.h"
#include "settings/InstallPageRules.h"
#include "settings/OthersPageRules.h"
#include "settings/SystemPageRules.h"

namespace lumora {
namespace {

TEST(AdasRules, FcwSpeedInKmh) {
  SetupData d;
  d.usDisplaySpeedUnit = 0;
  ASSERT_TRUE(ApplySpeedEdit(d, SpeedEdit::kFcw, 47));
  EXPECT_EQ(d.usFcw_SpeedHi, 50);
  EXPECT_EQ(d.usFcw_SpeedLo, 45);
  ASSERT_TRUE(ApplySpeedEdit(d, SpeedEdit::kFcw, 3));
  EXPECT_EQ(d.usFcw_SpeedHi, 1);
  EXPECT_EQ(d.usFcw_SpeedLo, 0);
  ApplySpeedEdit(d, SpeedEdit::kFcw, 44);  // rounds down to 40
  EXPECT_EQ(d.usFcw_SpeedHi, 40);
  EXPECT_EQ(d.usFcw_SpeedLo, 35);
  ApplySpeedEdit(d, SpeedEdit::kFcw, 200);
  EXPECT_EQ(d.usFcw_SpeedHi, 80);
  EXPECT_EQ(d.usFcw_SpeedLo, 75);
  ApplySpeedEdit(d, SpeedEdit::kFcw, 6);  // rounds to 10
  EXPECT_EQ(d.usFcw_SpeedHi, 10);
  EXPECT_EQ(d.usFcw_SpeedLo, 5);
  ApplySpeedEdit(d, SpeedEdit::kFcw, -20);
  EXPECT_EQ(d.usFcw_SpeedHi, 1);
  EXPECT_EQ(d.usLdw_SpeedHi, 0);  // the other edit is untouched
}

TEST(AdasRules, LdwSpeedInKmhAndMph) {
  SetupData d;
  ApplySpeedEdit(d, SpeedEdit::kLdw, 12);
  EXPECT_EQ(d.usLdw_SpeedHi, 40);
  EXPECT_EQ(d.usLdw_SpeedLo, 35);
  ApplySpeedEdit(d, SpeedEdit::kLdw, 65);
  EXPECT_EQ(d.usLdw_SpeedHi, 70);
  EXPECT_EQ(d.usLdw_SpeedLo, 65);
  d.usDisplaySpeedUnit = 1;
  ASSERT_TRUE(ApplySpeedEdit(d, SpeedEdit::kLdw, 30));
  EXPECT_EQ(d.usLdw_SpeedHi, 48);
  EXPECT_EQ(d.usLdw_SpeedLo, 43);
  ApplySpeedEdit(d, SpeedEdit::kLdw, 10);  // clamped to 25 mph first
  EXPECT_EQ(d.usLdw_SpeedHi, 40);
  ApplySpeedEdit(d, SpeedEdit::kFcw, 99);  // 50 mph
  EXPECT_EQ(d.usFcw_SpeedHi, 80);
  EXPECT_EQ(d.usFcw_SpeedLo, 75);
  ApplySpeedEdit(d, SpeedEdit::kFcw, 3);  // 4.8 -> 4, below 6
  EXPECT_EQ(d.usFcw_SpeedHi, 4);
  EXPECT_EQ(d.usFcw_SpeedLo, 0);
}

TEST(AdasRules, OtherUnitChangesNothing) {
  SetupData d;
  d.usDisplaySpeedUnit = 2;
  d.usFcw_SpeedHi = 33;
  EXPECT_FALSE(ApplySpeedEdit(d, SpeedEdit::kFcw, 50));
  EXPECT_EQ(d.usFcw_SpeedHi, 33);
  EXPECT_EQ(SpeedEditDisplay(SpeedEdit::kFcw, 33, 2), 33);
}

TEST(AdasRules, SpeedDisplay) {
  EXPECT_EQ(SpeedEditDisplay(SpeedEdit::kFcw, 0, 0), 1);
  EXPECT_EQ(SpeedEditDisplay(SpeedEdit::kFcw, 60, 0), 60);
  EXPECT_EQ(SpeedEditDisplay(SpeedEdit::kFcw, 90, 0), 80);
  EXPECT_EQ(SpeedEditDisplay(SpeedEdit::kLdw, 30, 0), 40);
  EXPECT_EQ(SpeedEditDisplay(SpeedEdit::kLdw, 48, 1), 30);
  EXPECT_EQ(SpeedEditDisplay(SpeedEdit::kLdw, 20, 1), 25);
  EXPECT_EQ(SpeedEditDisplay(SpeedEdit::kFcw, 50, 1), 31);
  EXPECT_EQ(SpeedEditDisplay(SpeedEdit::kFcw, 200, 1), 50);
  EXPECT_EQ(SpeedUnitLabel(0), "km/h");
  EXPECT_EQ(SpeedUnitLabel(1), "mph");
}

TEST(AdasRules, ChecksToggle) {
  EXPECT_EQ(ToggleAdasCheck(0), 1);
  EXPECT_EQ(ToggleAdasCheck(1), 0);
  EXPECT_EQ(ToggleAdasCheck(7), 0);
}

TEST(AdasRules, HmwLevel) {
  SetupData d;
  ApplyHmwLevel(d, 0);
  EXPECT_EQ(d.usFcw1_TTCSense_Ms, 1100);
  EXPECT_EQ(d.usFcw_TTCSense, 0);
  ApplyHmwLevel(d, 2);
  EXPECT_EQ(d.usFcw1_TTCSense_Ms, 700);
  EXPECT_EQ(d.usFcw_TTCSense, 2);
  ApplyHmwLevel(d, -1);
  EXPECT_EQ(d.usFcw1_TTCSense_Ms, 900);
  EXPECT_EQ(d.usFcw_TTCSense, 1);

  d.usFcw_TTCSense = 2;
  d.usFcw1_TTCSense_Ms = 50;
  EXPECT_EQ(LoadHmwLevel(d), 2);
  EXPECT_EQ(d.usFcw1_TTCSense_Ms, 100);
  d.usFcw_TTCSense = 7;
  d.usFcw1_TTCSense_Ms = 5000;
  EXPECT_EQ(LoadHmwLevel(d), 1);
  EXPECT_EQ(d.usFcw_TTCSense, 1);
  EXPECT_EQ(d.usFcw1_TTCSense_Ms, 3000);

  EXPECT_EQ(HmwSecondsText(1100), "1.1");
  EXPECT_EQ(HmwSecondsText(950), "0.9");
  EXPECT_EQ(HmwSecondsText(700), "0.7");
}

TEST(AdasRules, StepsAndAlarmTiming) {
  EXPECT_EQ(ClampWarningStep(-3), 1);
  EXPECT_EQ(ClampWarningStep(5), 5);
  EXPECT_EQ(ClampWarningStep(12), 9);
  EXPECT_EQ(AlarmTimingFromIndex(3), 3000);
  EXPECT_EQ(AlarmTimingIndex(3000), 3);
  EXPECT_EQ(AlarmTimingIndex(2500), 2);
  EXPECT_EQ(AlarmTimingIndex(9000), -1);
}

TEST(DvrRules, ImpactLevelsAndTriggers) {
  SetupData d;
  ApplyImpactLevel(d, 0);
  EXPECT_EQ(d.usAccSenseLevel, 0);
  EXPECT_EQ(d.usAccTriggerX, 50);
  EXPECT_EQ(d.usAccTriggerY, 50);
  EXPECT_EQ(d.usAccTriggerZ, 50);
  ApplyImpactLevel(d, 1);
  EXPECT_EQ(d.usAccTriggerZ, 70);
  ApplyImpactLevel(d, 2);
  EXPECT_EQ(d.usAccSenseLevel, 2);
  EXPECT_EQ(d.usAccTriggerX, 90);
  ApplyImpactLevel(d, -1);  // no selection: level only
  EXPECT_EQ(d.usAccSenseLevel, 1);
  EXPECT_EQ(d.usAccTriggerX, 90);

  d.usAccSenseLevel = 4;
  d.usMotionSenseLevel = 3;
  EXPECT_EQ(LoadImpactLevel(d), 1);
  EXPECT_EQ(d.usAccSenseLevel, 1);
  EXPECT_EQ(d.usMotionSenseLevel, 1);
  d.usAccSenseLevel = 2;
  d.usMotionSenseLevel = 0;
  EXPECT_EQ(LoadImpactLevel(d), 2);
  EXPECT_EQ(d.usMotionSenseLevel, 0);
}

TEST(DvrRules, TriggerSliders) {
  EXPECT_EQ(RoundTriggerPosition(10), 10);
  EXPECT_EQ(RoundTriggerPosition(74), 70);
  EXPECT_EQ(RoundTriggerPosition(75), 80);
  EXPECT_EQ(RoundTriggerPosition(200), 200);
  EXPECT_EQ(RoundTriggerPosition(3), 10);
  EXPECT_EQ(TriggerGText(70), "0.70");
  EXPECT_EQ(TriggerGText(200), "2.00");
}

TEST(DvrRules, Toggles) {
  EXPECT_EQ(ToggleOnOffCheck(1), 0);
  EXPECT_EQ(ToggleOnOffCheck(0), 1);
  EXPECT_EQ(ToggleOnOffCheck(5), 1);
}

TEST(DvrRules, VoltageListTexts) {
  auto car = VoltageListTexts(0);
  ASSERT_EQ(car.size(), 21u);
  EXPECT_EQ(car.front(), "11.5v");
  EXPECT_EQ(car[8], "12.3v");
  EXPECT_EQ(car.back(), "13.5v");
  for (std::uint16_t type : {2, 5}) {
    auto heavy = VoltageListTexts(type);
    ASSERT_EQ(heavy.size(), 42u);
    EXPECT_EQ(heavy[21], "23.5v");
    EXPECT_EQ(heavy.back(), "25.5v");
  }
  EXPECT_EQ(VoltageListTexts(1).size(), 21u);
  EXPECT_EQ(VoltageListTexts(3).size(), 21u);
}

TEST(DvrRules, VoltageSelection) {
  VoltageSelection s = SelectVoltage(118, 0);
  EXPECT_EQ(VoltageListTexts(0)[static_cast<std::size_t>(s.index)], "11.8v");
  EXPECT_EQ(s.value, 118);
  s = SelectVoltage(140, 0);
  EXPECT_EQ(VoltageListTexts(0)[static_cast<std::size_t>(s.index)], "12.3v");
  EXPECT_EQ(s.value, 123);
  s = SelectVoltage(140, 5);
  EXPECT_EQ(VoltageListTexts(5)[static_cast<std::size_t>(s.index)], "24.3v");
  EXPECT_EQ(s.value, 243);
  s = SelectVoltage(123, 2);  // the 12 V entries are in the Bus list too
  EXPECT_EQ(s.index, 8);
  EXPECT_EQ(s.value, 123);
  s = SelectVoltage(255, 2);
  EXPECT_EQ(VoltageListTexts(2)[static_cast<std::size_t>(s.index)], "25.5v");
  s = SelectVoltage(255, 0);
  EXPECT_EQ(s.value, 123);
  // Every entry maps back to itself.
  auto texts = VoltageListTexts(5);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    std::uint16_t v = VoltageFromText(texts[i]);
    EXPECT_EQ(SelectVoltage(v, 5).index, static_cast<int>(i)) << texts[i];
  }
  EXPECT_EQ(VoltageFromText("12.3v"), 123);
  EXPECT_EQ(VoltageFromText("24.0v"), 240);
}

TEST(SystemRules, LanguageRules) {
  EXPECT_EQ(DialogLanguageCode(5), 0);
  EXPECT_EQ(DialogLanguageCode(1), 1);
  EXPECT_EQ(DialogLanguageCode(9), 9);
  EXPECT_EQ(DialogLanguageCode(10), 0);
  EXPECT_EQ(StringTableLanguage(0), 1041);
  EXPECT_EQ(StringTableLanguage(1), 1033);
  EXPECT_EQ(StringTableLanguage(9), 1042);
  EXPECT_EQ(StringTableLanguage(DialogLanguageCode(5)), 1041);
  EXPECT_EQ(LanguageRadioIndex(5), 0);
  EXPECT_EQ(LanguageRadioIndex(9), 0);
  EXPECT_EQ(LanguageRadioIndex(1), 1);
  SetupData d;
  ApplyLanguageRadio(d, 1);
  EXPECT_EQ(d.usMenuLanguage, 1);
  EXPECT_EQ(d.usSndLanguage, 1);
  ApplyLanguageRadio(d, 0);
  EXPECT_EQ(d.usMenuLanguage, 0);
  EXPECT_EQ(d.usSndLanguage, 0);
  EXPECT_EQ(LanguageNameStringId(0), 699);
  EXPECT_EQ(LanguageNameStringId(1), 689);
  EXPECT_EQ(LanguageNameStringId(10), 689);
  EXPECT_EQ(LanguageNameStringId(9), 700);
  EXPECT_EQ(LanguageNameStringId(3), std::nullopt);
}

TEST(SystemRules, Volumes) {
  EXPECT_EQ(ClampVolume(-1), 0);
  EXPECT_EQ(ClampVolume(7), 7);
  EXPECT_EQ(ClampVolume(16), 15);
}

TEST(InstallRules, HeightAndWidthRounding) {
  EXPECT_EQ(CameraHeightFromMetres(1.34), 130);
  EXPECT_EQ(CameraHeightFromMetres(1.35), 140);
  EXPECT_EQ(CameraHeightFromMetres(0.5), 100);
  EXPECT_EQ(CameraHeightFromMetres(4.5), 400);
  EXPECT_EQ(CameraHeightFromMetres(2.0), 200);
  EXPECT_EQ(VehicleWidthFromMetres(3.7), 300);
  EXPECT_EQ(VehicleWidthFromMetres(1.86), 190);
  EXPECT_EQ(VehicleWidthFromMetres(std::numeric_limits<double>::quiet_NaN()), 100);
  EXPECT_DOUBLE_EQ(CentimetresToMetres(130), 1.3);
}

TEST(InstallRules, DevicePosition) {
  EXPECT_EQ(DevicePositionFromCentimetres(5.5), 55);
  EXPECT_EQ(DevicePositionFromCentimetres(25), 200);
  EXPECT_EQ(DevicePositionFromCentimetres(-4), 0);
  EXPECT_DOUBLE_EQ(DevicePositionCentimetres(55), 5.5);
  EXPECT_EQ(VehiclePulseFromTyped(1234), 1234);
  EXPECT_EQ(VehiclePulseFromTyped(70000), 70000 - 65536);
}

TEST(InstallRules, VehiclePresets) {
  struct Expect {
    int radio;
    std::uint16_t type, height, width;
  };
  for (Expect e : {Expect{0, 0, 130, 180}, Expect{1, 3, 130, 160}, Expect{2, 1, 150, 190},
                   Expect{3, 4, 170, 190}, Expect{4, 2, 160, 250}, Expect{5, 5, 250, 250}}) {
    SetupData d;
    ApplyVehiclePreset(d, e.radio);
    EXPECT_EQ(d.usInstall_CarType, e.type) << e.radio;
    EXPECT_EQ(d.usInstall_CamHeight, e.height) << e.radio;
    EXPECT_EQ(d.usInstall_CarWidth, e.width) << e.radio;
    EXPECT_EQ(VehicleRadioIndex(e.type), e.radio);
  }
  EXPECT_EQ(VehicleRadioIndex(9), 0);
  SetupData d;
  d.usInstall_CarType = 4;
  ApplyVehiclePreset(d, 6);
  EXPECT_EQ(d.usInstall_CarType, 4);
}

TEST(OthersRules, TimeZoneList) {
  auto texts = TimeZoneListTexts();
  ASSERT_EQ(texts.size(), 24u);
  EXPECT_EQ(texts.front(), "-11:00");
  EXPECT_EQ(texts[11], "+0:00");
  EXPECT_EQ(texts.back(), "+12:00");
  EXPECT_EQ(TimeZoneIndexFromValue(1), 0);
  EXPECT_EQ(TimeZoneIndexFromValue(24), 23);
  EXPECT_EQ(TimeZoneIndexFromValue(0), -1);
  EXPECT_EQ(TimeZoneIndexFromValue(25), -1);
  EXPECT_EQ(TimeZoneValueFromIndex(11), 12);
  EXPECT_EQ(TimeZoneValueFromIndex(-1), 0);
}

TEST(OthersRules, ApplyTimeZone) {
  SetupData d;
  // Tokyo: Bias -540, no daylight saving.
  EXPECT_EQ(ApplyTimeZone(d, {0, -540, 0, 0}), 20);
  EXPECT_EQ(d.usTimeZone, 21);
  // New York in summer: Bias 300, DaylightBias -60 -> -4.
  EXPECT_EQ(ApplyTimeZone(d, {2, 300, 0, -60}), 7);
  EXPECT_EQ(d.usTimeZone, 8);
  // India +5:30 truncates to +5; Newfoundland -3:30 to -3.
  ApplyTimeZone(d, {1, -330, 0, 0});
  EXPECT_EQ(d.usTimeZone, 17);
  ApplyTimeZone(d, {1, 210, 0, -60});
  EXPECT_EQ(d.usTimeZone, 9);
  // Kiritimati +14: outside the list, 0 stored.
  EXPECT_EQ(ApplyTimeZone(d, {0, -840, 0, 0}), -1);
  EXPECT_EQ(d.usTimeZone, 0);
  // A failed query changes nothing.
  d.usTimeZone = 5;
  EXPECT_EQ(ApplyTimeZone(d, {-1, 0, 0, 0}), std::nullopt);
  EXPECT_EQ(d.usTimeZone, 5);
}

TEST(OthersRules, SystemTimeZoneFollowsTz) {
  const char* old = std::getenv("TZ");
  std::string saved = old ? old : "";
  ::setenv("TZ", "JST-9", 1);
  ::tzset();
  TimeZoneAnswer a = SystemTimeZoneAnswer();
  EXPECT_EQ(a.kind, 0);
  EXPECT_EQ(TimeZoneHours(a), 9);
  ::setenv("TZ", "UTC0", 1);
  ::tzset();
  EXPECT_EQ(TimeZoneHours(SystemTimeZoneAnswer()), 0);
  if (old) {
    ::setenv("TZ", saved.c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
}

TEST(OthersRules, PassphraseAndDit) {
  EXPECT_TRUE(IsWifiPassphraseTooShort(""));
  EXPECT_TRUE(IsWifiPassphraseTooShort("1234567"));
  EXPECT_FALSE(IsWifiPassphraseTooShort("12345678"));
  EXPECT_STREQ(kWifiPassphraseTooShortMessage,
               "The Wi-Fi password must be at least 8 characters long");
  EXPECT_EQ(DitRadioIndex(1), 0);
  EXPECT_EQ(DitRadioIndex(0), 1);
  EXPECT_EQ(DitRadioIndex(2), -1);
}

}  // namespace
}  // namespace lumora
