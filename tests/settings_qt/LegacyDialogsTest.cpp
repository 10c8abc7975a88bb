// The legacy settings dialog (setup.cfg) and the DIT setup dialog.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include "settings/LegacySetupRecord.h"
#include "settings/qt/CDITSetupDlg.h"
#include "settings/qt/CSetupDlg.h"
#include "tests/settings_qt/SettingsTestCard.h"

namespace lumora {
namespace {

using testing::ReadAll;
using testing::TempCard;

template <typename T>
T* Find(QWidget& parent, const char* name) {
  T* widget = parent.findChild<T*>(QLatin1String(name));
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

std::string RecordText(const LegacySetupValues& values) {
  const auto bytes = BuildLegacySetupRecord(values);
  return std::string(bytes.begin(), bytes.end());
}

TEST(LegacySetupDialog, SavesRadiosAndSlidersAndKeepsRadiosForTheRun) {
  TempCard card(false, false);
  HeldLegacyRadioChoices() = {};
  {
    CSetupDlg dialog;
    dialog.SetCardRoot(card.Root());
    dialog.ShowCentred();
    EXPECT_EQ(Find<QSlider>(dialog, "qualitySlider")->value(), 1);
    EXPECT_EQ(Find<QSlider>(dialog, "brightnessSlider")->value(), 3);
    EXPECT_EQ(Find<QSlider>(dialog, "impactSlider")->value(), 5);
    EXPECT_EQ(Find<QSlider>(dialog, "motionSlider")->value(), 1);
    // No radio clicked yet: every held value is 0.
    EXPECT_EQ(dialog.CurrentValues().frameRate, 0u);
    QTest::mouseClick(Find<QRadioButton>(dialog, "frameFixed30"), Qt::LeftButton);
    QTest::mouseClick(Find<QRadioButton>(dialog, "voiceOff"), Qt::LeftButton);
    QTest::mouseClick(Find<QRadioButton>(dialog, "parkingHigh"), Qt::LeftButton);
    QTest::mouseClick(Find<QRadioButton>(dialog, "eventMotion"), Qt::LeftButton);
    Find<QSlider>(dialog, "qualitySlider")->setValue(2);
    Find<QSlider>(dialog, "brightnessSlider")->setValue(6);
    Find<QSlider>(dialog, "contrastSlider")->setValue(0);
    Find<QSlider>(dialog, "sharpnessSlider")->setValue(4);
    QTest::mouseClick(Find<QPushButton>(dialog, "saveButton"), Qt::LeftButton);
    EXPECT_TRUE(dialog.LastWriteOk());
    EXPECT_FALSE(dialog.isVisible());
  }
  LegacySetupValues expected;
  expected.frameRate = 3;
  expected.voiceRecording = 2;
  expected.parkingQuality = 1;
  expected.eventDetection = 2;
  expected.pictureQuality = 2;
  expected.brightness = 6;
  expected.contrast = 0;
  expected.sharpness = 4;
  const std::string written = ReadAll(card.Root() / "setup.cfg");
  ASSERT_EQ(written.size(), 508u);
  EXPECT_EQ(written, RecordText(expected));
  EXPECT_EQ(static_cast<unsigned char>(written[432]), 3);  // frame rate

  // A new dialog of the same run shows and writes the held radio values.
  CSetupDlg again;
  again.SetCardRoot(card.Root());
  EXPECT_TRUE(Find<QRadioButton>(again, "frameFixed30")->isChecked());
  EXPECT_EQ(again.CurrentValues().voiceRecording, 2u);
  EXPECT_EQ(again.CurrentValues().brightness, 3u);
  QTest::mouseClick(Find<QPushButton>(again, "resetButton"), Qt::LeftButton);
  EXPECT_EQ(ReadAll(card.Root() / "setup.cfg"), RecordText(LegacyResetValues()));
}

TEST(DitSetupDialog, PlacementLimitAndNegativeValues) {
  QWidget owner;
  owner.setGeometry(100, 50, 800, 600);
  CDITSetupDlg dialog(60, &owner);
  EXPECT_EQ(dialog.windowTitle(), "DIT Setup");
  EXPECT_EQ(dialog.geometry(), QRect(400, 400, 250, 100));
  EXPECT_EQ(dialog.LimitEdit()->text(), "60");
  dialog.show();
  dialog.LimitEdit()->selectAll();
  QTest::keyClicks(dialog.LimitEdit(), "85");
  EXPECT_EQ(dialog.Value(), 85);
  dialog.accept();
  EXPECT_EQ(dialog.Result(), 85);
  EXPECT_EQ(NextOverSpeedLimit(60, dialog.Result()), 85);
  EXPECT_EQ(NextOverSpeedLimit(60, 0), 0);
  EXPECT_EQ(NextOverSpeedLimit(60, -5), 60);

  CDITSetupDlg cancelled(70, &owner);
  cancelled.LimitEdit()->setText("-3");
  EXPECT_EQ(cancelled.Value(), -3);
  cancelled.reject();
  EXPECT_EQ(cancelled.Result(), 70);
}

}  // namespace
}  // namespace lumora
