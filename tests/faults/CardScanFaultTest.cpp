// A card with 10 000 recordings: SDOPEN lists every one of them while the
// window's own timers keep running, and a card pulled out during the scan
// leaves the lists empty.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <fstream>

#include "FaultCard.h"
#include "app/AppIds.h"
#include "tools/mkcard/CivilTime.h"

namespace lumora::faults {
namespace {

constexpr int kRecordings = 10000;

// Empty files named as the camera names its recordings, one a minute.
void WriteNames(const std::string& folder) {
  for (int i = 0; i < kRecordings; ++i) {
    const CivilTime t = AddSeconds(CivilTime{2026, 1, 1, 0, 0, 0}, static_cast<int64_t>(i) * 60);
    char name[64];
    std::snprintf(name, sizeof name, "/%04d%02d%02d_%02d%02d%02d_N1.avi", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    std::ofstream(folder + name);
  }
}

TEST(CardScan, TenThousandRecordingsListWhileTheWindowKeepsRunning) {
  FaultCard card;
  WriteNames(card.card + "/NORMAL");
  CSamplePlayerDlg& window = card.Open();
  // A heartbeat on the window's thread beats only while it runs its event loop.
  int beats = 0;
  QTimer heartbeat;
  heartbeat.setTimerType(Qt::PreciseTimer);
  QObject::connect(&heartbeat, &QTimer::timeout, [&] { ++beats; });
  heartbeat.start(5);
  QElapsedTimer clock;
  clock.start();
  beats = 0;
  window.OnCommand(kIdSdOpen);
  ASSERT_TRUE(RunUntil([&] { return window.List()->RowCount() == kRecordings; }, 60000));
  std::printf("scan of %d names: %lld ms, %d heartbeats during it\n", kRecordings,
              static_cast<long long>(clock.elapsed()), beats);
  EXPECT_EQ(window.CardRoot(), card.card);
  EXPECT_GE(beats, 1);
  // Newest first.
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
  // Put back, the card lists again.
  window.OnCommand(kIdSdOpen);
  EXPECT_EQ(window.List()->RowCount(), kRecordings);
  window.OnCommand(kIdExit);
}

}  // namespace
}  // namespace lumora::faults
