// The card pulled out while a recording plays: the drive watcher reports its
// mount point gone, the files vanish under the engine, and the window resets
// its controls and lists without a crash.

#include <gtest/gtest.h>

#include <QLabel>
#include <QSlider>

#include <fstream>

#include "FaultCard.h"
#include "app/AppIds.h"
#include "platform/qt/CDriveWatcher.h"
#include "res/StringTable.h"

namespace lumora::faults {
namespace {

// A mount table of our own in place of the system's, with the card or without.
void WriteMounts(const std::string& table, const std::string& card) {
  std::ofstream out(table, std::ios::trunc);
  out << "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n";
  if (!card.empty()) out << "40 22 179:1 / " << card << " rw shared:30 - vfat /dev/mmcblk0p1 rw\n";
}

TEST(CardRemoval, WhilePlayingResetsTheWindowWithoutACrash) {
  FaultCard card;
  card.Record(4, 9 * 60);  // front and rear with sound
  card.Record(4, 9 * 60 + 1);
  const std::string table = card.dir.path().toStdString() + "/mountinfo";
  WriteMounts(table, card.card);
  bool present = true;
  CDriveWatcher watcher(QString::fromStdString(table));
  watcher.Rescan();
  ASSERT_EQ(watcher.Mounts().back(), card.card);
  struct CloseFirst {  // the window goes before the watcher it holds
    FaultCard& c;
    ~CloseFirst() { c.window.reset(); }
  } closeFirst{card};
  CSamplePlayerDlg::Parts parts = RealParts(card.card);
  parts.findCard = [&] { return present ? card.card : std::string(); };
  parts.driveWatcher = &watcher;
  CSamplePlayerDlg& window = card.Open(std::move(parts));
  window.OnCommand(kIdSdOpen);
  ASSERT_EQ(window.List()->RowCount(), 2);
  ASSERT_TRUE(RunUntil([&] { return window.Position() > 300; }, 8000));
  window.Slider(kIdVolumeSlider)->setValue(20);
  window.OnHScroll(kIdVolumeSlider, 5);
  ASSERT_NE(window.OutputVolume(), 0x7FFF7FFFu);

  // Pulled out: the data under the open files goes away, then the folder.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(card.card))
    if (entry.is_regular_file()) std::filesystem::resize_file(entry.path(), 0);
  std::filesystem::remove_all(card.card);
  present = false;
  WriteMounts(table, "");
  watcher.Rescan();

  EXPECT_FALSE(window.IsTimerRunning(kTimerUpdate));
  EXPECT_EQ(window.List()->RowCount(), 0);
  EXPECT_TRUE(window.CardRoot().empty());
  EXPECT_EQ(window.Label(kIdPositionLabel)->text(), QStringLiteral("00:00:00"));
  EXPECT_EQ(window.Label(kIdDurationLabel)->text(), QStringLiteral("00:00:00"));
  EXPECT_EQ(window.Slider(kIdSeekSlider)->value(), 0);
  EXPECT_EQ(window.Slider(kIdVolumeSlider)->value(), 50);
  EXPECT_EQ(window.OutputVolume(), 0x7FFF7FFFu);
  EXPECT_EQ(window.Slider(kIdSpeedSlider)->value(), 5);
  EXPECT_FALSE(window.FrontStill()->isVisible());
  EXPECT_FALSE(window.RearStill()->isVisible());

  // The engine runs out of data on its own; the window keeps working.
  RunUntil([] { return false; }, 1500);
  for (int id : {kIdPlay, kIdNext, kIdPrevious, kIdStepForward, kIdStop, kIdPlay})
    EXPECT_TRUE(window.OnCommand(id));
  RunUntil([] { return false; }, 500);
  EXPECT_EQ(window.List()->RowCount(), 0);
  card.boxes.Clear();
  window.OnCommand(kIdSdOpen);
  ASSERT_EQ(card.boxes.Requests().size(), 1u);
  EXPECT_EQ(card.boxes.Requests()[0].text, StringTable::Instance().Load(kStrNoSdCard));
  window.OnCommand(kIdExit);
}

}  // namespace
}  // namespace lumora::faults
