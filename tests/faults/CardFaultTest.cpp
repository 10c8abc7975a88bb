// The card under the window: 10 000 recordings list while the window's own
// timers keep running; a card pulled out during the scan or while a
// recording plays leaves empty lists and a working window, without a crash.

#include <gtest/gtest.h>

#include <QTimer>

#include <cstdio>
#include <fstream>

#include "FaultCard.h"
#include "app/AppIds.h"
#include "platform/qt/CDriveWatcher.h"
#include "res/StringTable.h"
#include "tools/mkcard/CivilTime.h"

namespace lumora::faults {
namespace {

TEST(CardScan, TenThousandRecordingsListWhileTheWindowKeepsRunning) {
  const int kRecordings = 10000;
  FaultCard card;
  for (int i = 0; i < kRecordings; ++i) {  // empty files named as the camera does, a minute apart
    const CivilTime t = AddSeconds(CivilTime{2026, 1, 1, 0, 0, 0}, static_cast<int64_t>(i) * 60);
    char name[64];
    std::snprintf(name, sizeof name, "/NORMAL/%04d%02d%02d_%02d%02d%02d_N1.avi", t.year, t.month,
                  t.day, t.hour, t.minute, t.second);
    std::ofstream(card.card + name);
  }
  CSamplePlayerDlg& window = card.Open();
  // A heartbeat on the window's thread beats only while it runs its event loop.
  int beats = 0;
  QTimer heartbeat;
  heartbeat.setTimerType(Qt::PreciseTimer);
  QObject::connect(&heartbeat, &QTimer::timeout, [&] { ++beats; });
  heartbeat.start(5);
  window.OnCommand(kIdSdOpen);
  ASSERT_TRUE(RunUntil([&] { return window.List()->RowCount() == kRecordings; }, 60000));
  EXPECT_EQ(window.CardRoot(), card.card);
  EXPECT_GE(beats, 1);
  EXPECT_EQ(std::filesystem::path(window.List()->RowPath(0)).filename(), "20260107_223900_N1.avi");

  // Scanned again, the card is pulled out at the first heartbeat of the scan.
  bool pulled = false;
  QObject::connect(&heartbeat, &QTimer::timeout, [&] {
    if (pulled || window.CardRoot().empty()) return;
    pulled = true;
    window.OnDriveRemoved(QString::fromStdString(card.card));
  });
  heartbeat.start(1);
  window.OnDriveRemoved(QString::fromStdString(card.card));
  window.OnCommand(kIdSdOpen);
  heartbeat.stop();
  ASSERT_TRUE(pulled);
  RunUntil([] { return false; }, 300);
  EXPECT_EQ(window.List()->RowCount(), 0);
  EXPECT_TRUE(window.CardRoot().empty());
  EXPECT_FALSE(window.IsTimerRunning(kTimerUpdate));
  window.OnCommand(kIdSdOpen);  // put back, the card lists again
  EXPECT_EQ(window.List()->RowCount(), kRecordings);
  window.OnCommand(kIdExit);
}

// A mount table of our own in place of the system's, with the card or without.
void WriteMounts(const std::string& table, const std::string& card) {
  std::ofstream out(table, std::ios::trunc);
  out << "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n";
  if (!card.empty()) out << "40 22 179:1 / " << card << " rw shared:30 - vfat /dev/mmcblk0p1 rw\n";
}

// The drive watcher reports the mount point gone and the files vanish under
// the playing engine. (The reset of each control is the window tests' part.)
TEST(CardRemoval, WhilePlayingResetsTheWindowWithoutACrash) {
  FaultCard card;
  card.Record(4, 9 * 60);
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

  for (const auto& entry : std::filesystem::recursive_directory_iterator(card.card))
    if (entry.is_regular_file()) std::filesystem::resize_file(entry.path(), 0);
  std::filesystem::remove_all(card.card);
  present = false;
  WriteMounts(table, "");
  watcher.Rescan();
  EXPECT_FALSE(window.IsTimerRunning(kTimerUpdate));
  EXPECT_EQ(window.List()->RowCount(), 0);
  EXPECT_TRUE(window.CardRoot().empty());

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
