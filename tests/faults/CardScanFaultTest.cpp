// A card with 10 000 recordings: SDOPEN lists every one of them while the
// window's own timers keep running (the scan does not freeze the window).

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "FaultCard.h"
#include "app/AppIds.h"
#include "platform/qt/MessageBox.h"
#include "tools/mkcard/CivilTime.h"

namespace lumora::faults {
namespace {

constexpr int kRecordings = 10000;

// Empty files named as the camera names its recordings, one a minute.
void WriteNames(const std::filesystem::path& folder, int count) {
  std::filesystem::create_directories(folder);
  for (int i = 0; i < count; ++i) {
    const CivilTime t = AddSeconds(CivilTime{2026, 1, 1, 0, 0, 0}, static_cast<int64_t>(i) * 60);
    char name[64];
    std::snprintf(name, sizeof name, "%04d%02d%02d_%02d%02d%02d_N1.avi", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    std::ofstream(folder / name);
  }
}

TEST(CardScan, TenThousandRecordingsListWhileTheWindowKeepsRunning) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string card = dir.path().toStdString() + "/card";
  WriteNames(card + "/NORMAL", kRecordings);
  MessageBoxRecorder boxes;
  CSamplePlayerDlg window(RealParts(card));
  window.OnInitDialog();
  window.show();

  // A heartbeat on the window's thread: it only beats while the thread runs
  // its event loop.
  int beatsWhileScanning = 0;
  bool scanning = false;
  QTimer heartbeat;
  heartbeat.setTimerType(Qt::PreciseTimer);
  QObject::connect(&heartbeat, &QTimer::timeout, [&] {
    if (scanning) ++beatsWhileScanning;
  });
  heartbeat.start(5);
  QElapsedTimer clock;
  clock.start();
  scanning = true;
  window.OnCommand(kIdSdOpen);
  ASSERT_TRUE(RunUntil([&] { return window.List()->RowCount() == kRecordings; }, 60000));
  scanning = false;
  std::printf("scan of %d names: %lld ms, %d heartbeats during it\n", kRecordings,
              static_cast<long long>(clock.elapsed()), beatsWhileScanning);
  EXPECT_EQ(window.CardRoot(), card);
  EXPECT_GE(beatsWhileScanning, 1);
  // Newest first.
  EXPECT_EQ(std::filesystem::path(window.List()->RowPath(0)).filename(), "20260107_223900_N1.avi");
  window.OnCommand(kIdExit);
}

TEST(CardScan, CardPulledOutDuringTheScanLeavesTheListsEmpty) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string card = dir.path().toStdString() + "/card";
  WriteNames(card + "/NORMAL", kRecordings);
  MessageBoxRecorder boxes;
  CSamplePlayerDlg window(RealParts(card));
  window.OnInitDialog();
  window.show();
  // The first heartbeat inside the scan reports the card gone.
  bool pulled = false;
  QTimer heartbeat;
  heartbeat.setTimerType(Qt::PreciseTimer);
  QObject::connect(&heartbeat, &QTimer::timeout, [&] {
    if (pulled || window.CardRoot().empty()) return;
    pulled = true;
    window.OnDriveRemoved(QString::fromStdString(card));
  });
  heartbeat.start(1);
  window.OnCommand(kIdSdOpen);
  heartbeat.stop();
  ASSERT_TRUE(pulled);
  RunFor(300, [] {});
  EXPECT_EQ(window.List()->RowCount(), 0);
  EXPECT_TRUE(window.CardRoot().empty());
  EXPECT_FALSE(window.IsTimerRunning(kTimerUpdate));
  // Put back, the card lists again.
  window.OnCommand(kIdSdOpen);
  EXPECT_EQ(window.List()->RowCount(), kRecordings);
  window.OnCommand(kIdExit);
}

}  // namespace
}  // namespace lumora::faults
