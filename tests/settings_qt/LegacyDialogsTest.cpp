// The legacy settings dialog (setup.cfg) and the DIT setup dialog.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include "settings/qt/CDITSetupDlg.h"
#include "settings/qt/CSetupDlg.h"
#include "tests/settings_qt/SettingsTestCard.h"

namespace lumora {
namespace {

using testing::ReadFile;
using testing::TempCard;

template <typename T>
T* Find(QWidget& parent, const char* name) {
  T* widget = parent.findChild<T*>(QLatin1String(name));
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

// The value fields of setup.cfg (32-bit little-endian) by byte offset.
struct Expected {
  std::size_t offset;
  int value;
};
void ExpectRecord(const std::string& bytes, std::initializer_list<Expected> fields) {
  ASSERT_EQ(bytes.size(), 508u);
  for (const Expected& f : fields) {
    EXPECT_EQ(static_cast<unsigned char>(bytes[f.offset]), f.value) << f.offset;
  }
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
    for (const char* radio : {"frameFixed30", "voiceOff", "parkingHigh", "eventMotion"})
      QTest::mouseClick(Find<QRadioButton>(dialog, radio), Qt::LeftButton);
    Find<QSlider>(dialog, "qualitySlider")->setValue(2);
    Find<QSlider>(dialog, "brightnessSlider")->setValue(6);
    Find<QSlider>(dialog, "contrastSlider")->setValue(0);
    Find<QSlider>(dialog, "sharpnessSlider")->setValue(4);
    QTest::mouseClick(Find<QPushButton>(dialog, "saveButton"), Qt::LeftButton);
    EXPECT_TRUE(dialog.LastWriteOk());
    EXPECT_FALSE(dialog.isVisible());
  }
  ExpectRecord(ReadFile(card.Root() / "setup.cfg"),
               {{48, 2}, {60, 2}, {328, 6}, {336, 0}, {340, 4}, {388, 1}, {396, 2}, {432, 3}});

  // A new dialog of the same run shows and writes the held radio values;
  // reset writes picture quality 3, voice 1 and zeros.
  CSetupDlg again;
  again.SetCardRoot(card.Root());
  EXPECT_TRUE(Find<QRadioButton>(again, "frameFixed30")->isChecked());
  QTest::mouseClick(Find<QPushButton>(again, "resetButton"), Qt::LeftButton);
  ExpectRecord(ReadFile(card.Root() / "setup.cfg"),
               {{48, 3}, {60, 1}, {328, 0}, {336, 0}, {340, 0}, {388, 0}, {396, 0}, {432, 0}});
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
