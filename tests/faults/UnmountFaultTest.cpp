// The card pulled out while a recording plays: the drive watcher reports its
// mount point gone, the files vanish under the engine, and the window resets
// its controls and lists without a crash.

#include <gtest/gtest.h>

#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

#include "FaultCard.h"
#include "app/AppIds.h"
#include "platform/qt/CDriveWatcher.h"
#include "platform/qt/MessageBox.h"
#include "res/StringTable.h"

namespace lumora::faults {
namespace {

std::string MountTable(const std::string& card) {
  std::string table =
      "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
      "25 22 0:5 / /proc rw - proc proc rw\n";
  if (!card.empty())
    table += "40 22 179:1 / " + card + " rw,nosuid shared:30 - vfat /dev/mmcblk0p1 rw\n";
  return table;
}

TEST(CardRemoval, WhilePlayingResetsTheWindowWithoutACrash) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string card = dir.path().toStdString() + "/card";
  std::filesystem::create_directories(card + "/NORMAL");
  for (int i = 0; i < 2; ++i) {
    RecordingOptions r = SmallRecording(4, 9 * 60 + i);
    r.channels = ChannelLayout::kFrontAndRear;
    std::string error;
    ASSERT_TRUE(WriteRecording(card / NormalName(r), r, &error)) << error;
  }
  MessageBoxRecorder boxes;
  // The watcher reads a mount table of our own in place of the system's.
  const std::string table = dir.path().toStdString() + "/mountinfo";
  std::ofstream(table, std::ios::trunc) << MountTable(card);
  CDriveWatcher watcher(QString::fromStdString(table));
  watcher.Rescan();
  ASSERT_EQ(watcher.Mounts().back(), card);
  bool present = true;
  CSamplePlayerDlg::Parts parts = RealParts(card);
  parts.findCard = [&] { return present ? card : std::string(); };
  parts.driveWatcher = &watcher;
  CSamplePlayerDlg window(std::move(parts));
  window.OnInitDialog();
  window.show();
  window.OnCommand(kIdSdOpen);
  ASSERT_EQ(window.List()->RowCount(), 2);
  ASSERT_TRUE(RunUntil([&] { return window.Position() > 300; }, 8000));
  window.Slider(kIdVolumeSlider)->setValue(20);
  window.OnHScroll(kIdVolumeSlider, 5);
  ASSERT_NE(window.OutputVolume(), 0x7FFF7FFFu);

  // Pulled out: the data under the open files goes away, then the folder.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(card))
    if (entry.is_regular_file()) std::filesystem::resize_file(entry.path(), 0);
  std::filesystem::remove_all(card);
  present = false;
  std::ofstream(table, std::ios::trunc) << MountTable(std::string());
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
  RunFor(1500, [] {});
  for (int id : {kIdPlay, kIdNext, kIdPrevious, kIdStepForward, kIdStop, kIdPlay})
    EXPECT_TRUE(window.OnCommand(id));
  RunFor(500, [] {});
  EXPECT_EQ(window.List()->RowCount(), 0);
  boxes.Clear();
  window.OnCommand(kIdSdOpen);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(boxes.Requests()[0].text, StringTable::Instance().Load(kStrNoSdCard));
  window.OnCommand(kIdExit);
}

}  // namespace
}  // namespace lumora::faults
