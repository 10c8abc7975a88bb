#include <gtest/gtest.h>

#include "library/CDitReplay.h"
#include "tests/dit/DitTestSupport.h"

namespace lumora {
namespace {

using test::DitLine;
using test::RecordingHost;
using test::TempFolder;

constexpr int kPoints = 40;

double Lat(int i) { return 3541.0 + i * 0.05; }
double Lon(int i) { return 13946.0 + i * 0.07; }

// A drive of 40 points, one every 30 s from 08:30:00, on a card with three
// pictures in CAPTURE/20261205_083000/ and one picture of another drive.
struct Card {
  Card() {
    std::string text;
    for (int i = 0; i < kPoints; ++i) text += DitLine(i * 30, Lat(i), Lon(i), 40 + i);
    dit = dir.Write("DIT/GPS/20261205_083000.DIT", text);
    dir.Write("CAPTURE/20261205_083000/20261205_083005.jpg", "jpeg");
    dir.Write("CAPTURE/20261205_083000/20261205_084500.JPG", "jpeg");
    dir.Write("CAPTURE/20261205_083000/20261205_084800.jpg", "jpeg");
    dir.Write("CAPTURE/20261205_083000/notes.txt", "text");
    dir.Write("CAPTURE/20261205_144700/20261205_083010.jpg", "jpeg");
  }
  TempFolder dir;
  std::filesystem::path dit;
};

std::string DrawCurrent(int i) {
  return CDitReplay::DrawCurrentCall(CDitFile::ToDegrees(Lon(i)), CDitFile::ToDegrees(Lat(i)));
}

TEST(DitReplay, CallTextsPutTheLongitudeFirst) {
  EXPECT_EQ(CDitReplay::DrawCurrentCall(139.774494, 35.684066),
            "javascript:DrawCurrent('139.774494', '35.684066')");
  EXPECT_EQ(CDitReplay::IconMarkerCall(127.5, 37.25),
            "javascript:IconMarker('127.500000', '37.250000')");
  EXPECT_EQ(CDitReplay::DeleteOverlayCall(), "javascript:DeleteOverlay()");
}

TEST(DitReplay, PointRowColumns) {
  DitPoint p;
  ASSERT_TRUE(CDitFile::ParseLine("20261205083012,3541.2345,13946.4700,61,2.5", &p));
  const auto row = CDitReplay::PointRow(p);
  ASSERT_EQ(row.size(), 6u);
  EXPECT_EQ(row[0], "083012");
  EXPECT_EQ(row[1], "0830");
  EXPECT_EQ(row[2], "35.687242");
  EXPECT_EQ(row[3], "139.774500");
  EXPECT_EQ(row[4], "61");
  EXPECT_EQ(row[5], "2.500000");
}

TEST(DitReplay, SpeedCycleAndTimerPeriods) {
  Card card;
  RecordingHost host;
  CDitReplay replay(&host);
  EXPECT_EQ(replay.TimerInterval(), 100);
  replay.Play(card.dit);
  ASSERT_EQ(host.periods, std::vector<int>({100}));
  replay.CycleSpeed();
  replay.CycleSpeed();
  replay.CycleSpeed();
  EXPECT_EQ(replay.Multiplier(), 8);
  // The replay at multiplier 8 ticks every 12 ms.
  EXPECT_EQ(replay.TimerInterval(), 12);
  EXPECT_EQ(host.periods, std::vector<int>({100, 50, 25, 12}));
  replay.CycleSpeed();
  EXPECT_EQ(replay.Multiplier(), 1);
  EXPECT_EQ(host.multipliers, std::vector<int>({2, 4, 8, 1}));
  // While paused the timer is not restarted.
  replay.Play(card.dit);
  EXPECT_EQ(replay.GetState(), CDitReplay::kPaused);
  replay.CycleSpeed();
  EXPECT_FALSE(host.timerRunning);
  EXPECT_EQ(host.periods.size(), 5u);
  replay.Play(card.dit);
  EXPECT_EQ(host.periods.back(), 50);
}

TEST(DitReplay, LeavingAtMultiplierEightSetsTwo) {
  RecordingHost host;
  CDitReplay replay(&host);
  replay.EnterMode({});
  EXPECT_TRUE(replay.HasBuffers());
  EXPECT_EQ(replay.Buffer(0).size(), CDitReplay::kLargeBuffer);
  EXPECT_EQ(replay.Buffer(2).size(), CDitReplay::kSmallBuffer);
  replay.SetMultiplier(8);
  replay.LeaveMode();
  EXPECT_EQ(replay.Multiplier(), 2);
  EXPECT_EQ(host.multipliers.back(), 2);
  EXPECT_FALSE(replay.HasBuffers());
  EXPECT_FALSE(replay.InMode());
  // The marker rests and the route markers go.
  ASSERT_GE(host.scripts.size(), 2u);
  EXPECT_EQ(host.scripts[host.scripts.size() - 2],
            "javascript:DrawCurrent('139.774494', '35.684066')");
  EXPECT_EQ(host.scripts.back(), "javascript:DeleteOverlay()");
  // Multipliers 1 and 2 stay.
  replay.EnterMode({});
  replay.SetMultiplier(1);
  replay.LeaveMode();
  EXPECT_EQ(replay.Multiplier(), 1);
}

TEST(DitReplay, EnteringShowsTheSelectedDrivesFirstPoint) {
  Card card;
  RecordingHost host;
  CDitReplay replay(&host);
  replay.EnterMode(card.dit);
  EXPECT_TRUE(replay.InMode());
  ASSERT_EQ(host.scripts.size(), 2u);
  EXPECT_EQ(host.scripts[0], "javascript:DrawCurrent('139.774494', '35.684066')");
  EXPECT_EQ(host.scripts[1], DrawCurrent(0));
  EXPECT_EQ(replay.CaptureCount(), 3);
  EXPECT_EQ(replay.Pictures()[0].m_nHourSec, 830);
  EXPECT_EQ(replay.Pictures()[1].m_nHourSec, 845);
}

TEST(DitReplay, FullReplayMarksTheRouteMovesTheMarkerAndShowsPictures) {
  Card card;
  RecordingHost host;
  CDitReplay replay(&host);
  replay.Play(card.dit);
  EXPECT_EQ(replay.GetState(), CDitReplay::kRunning);
  EXPECT_TRUE(host.timerRunning);
  EXPECT_TRUE(host.pauseLook);
  EXPECT_EQ(host.sliderMax, kPoints);
  EXPECT_EQ(replay.PointCount(), kPoints);
  // Route markers first: the old ones removed, then one per point in order.
  ASSERT_EQ(host.scripts.size(), 1u + kPoints);
  EXPECT_EQ(host.scripts[0], "javascript:DeleteOverlay()");
  for (int i = 0; i < kPoints; ++i) {
    EXPECT_EQ(host.scripts[1 + i],
              CDitReplay::IconMarkerCall(CDitFile::ToDegrees(Lon(i)), CDitFile::ToDegrees(Lat(i))));
  }
  host.scripts.clear();
  int ticks = 0;
  while (replay.GetState() == CDitReplay::kRunning && ticks < 1000) {
    replay.Update();
    ++ticks;
  }
  // One tick per point, and one more that finds the end and stops.
  EXPECT_EQ(ticks, kPoints + 1);
  ASSERT_EQ(host.scripts.size(), kPoints + 2u);
  for (int i = 0; i < kPoints; ++i) EXPECT_EQ(host.scripts[i], DrawCurrent(i)) << i;
  EXPECT_EQ(host.scripts[kPoints], "javascript:DeleteOverlay()");
  EXPECT_EQ(host.scripts[kPoints + 1], DrawCurrent(0));
  EXPECT_EQ(host.sharedDuration, kPoints);
  // 08:30:05 is within 10 of 0830 from the start; 08:45:00 takes over when
  // the point at 08:41:00 (index 22) no longer matches the first picture;
  // after the end the first picture is shown again.
  EXPECT_EQ(host.pictures, std::vector<std::string>({"20261205_083005.jpg", "20261205_084500.JPG",
                                                     "20261205_083005.jpg"}));
  ASSERT_EQ(host.pictureAtIndex.size(), 3u);
  EXPECT_EQ(host.pictureAtIndex[0], 0);
  EXPECT_EQ(host.pictureAtIndex[1], 22);
  EXPECT_EQ(replay.GetState(), CDitReplay::kStopped);
  EXPECT_FALSE(host.timerRunning);
  EXPECT_FALSE(host.pauseLook);
  EXPECT_EQ(replay.Index(), 0);
  EXPECT_EQ(host.lastSlider, 0);
}

TEST(DitReplay, PauseResumeAndStop) {
  Card card;
  RecordingHost host;
  CDitReplay replay(&host);
  replay.Play(card.dit);
  replay.Update();
  replay.Update();
  replay.Play(card.dit);
  EXPECT_EQ(replay.GetState(), CDitReplay::kPaused);
  EXPECT_FALSE(host.timerRunning);
  EXPECT_FALSE(host.pauseLook);
  EXPECT_EQ(host.playerPauses, 1);
  replay.Play(card.dit);
  EXPECT_EQ(replay.GetState(), CDitReplay::kRunning);
  EXPECT_EQ(replay.Index(), 2);  // resumes where it paused
  host.scripts.clear();
  replay.Stop();
  EXPECT_EQ(replay.GetState(), CDitReplay::kStopped);
  EXPECT_EQ(replay.Index(), 0);
  EXPECT_FALSE(host.timerRunning);
  ASSERT_EQ(host.scripts.size(), 2u);
  EXPECT_EQ(host.scripts[0], "javascript:DeleteOverlay()");
  EXPECT_EQ(host.scripts[1], DrawCurrent(0));
}

TEST(DitReplay, StopMovesTheMarkerToTheSelectedDrive) {
  Card card;
  const auto other = card.dir.Write("DIT/GPS/20261205_090000.DIT", DitLine(0, 3600.0, 12700.0, 10));
  RecordingHost host;
  CDitReplay replay(&host);
  replay.Play(card.dit);
  replay.Update();
  host.scripts.clear();
  replay.Stop(other);
  ASSERT_EQ(host.scripts.size(), 2u);
  EXPECT_EQ(host.scripts[1], "javascript:DrawCurrent('127.000000', '36.000000')");
  EXPECT_EQ(replay.Drive(), other);
}

TEST(DitReplay, SeekSetsTheIndexFromTheStripPosition) {
  Card card;
  RecordingHost host;
  CDitReplay replay(&host);
  replay.Play(card.dit);
  host.scripts.clear();
  replay.Seek(105 + 537 / 2, 105, 537);  // the middle of the strip
  EXPECT_EQ(host.sharedPosition, 19);
  EXPECT_EQ(host.scripts.back(), DrawCurrent(19));
  EXPECT_EQ(replay.Index(), 20);
  // Past the right end: the replay stops.
  replay.Seek(105 + 537, 105, 537);
  EXPECT_EQ(replay.GetState(), CDitReplay::kStopped);
  EXPECT_EQ(host.lastSlider, 0);
}

TEST(DitReplay, MarkersOffAndOn) {
  Card card;
  RecordingHost host;
  CDitReplay replay(&host);
  EXPECT_TRUE(replay.MarkersOn());
  replay.ToggleMarkers();
  EXPECT_FALSE(replay.MarkersOn());
  EXPECT_FALSE(host.markerLook);
  EXPECT_EQ(host.scripts, std::vector<std::string>({"javascript:DeleteOverlay()"}));
  host.scripts.clear();
  replay.Play(card.dit);
  EXPECT_EQ(host.Count("javascript:IconMarker"), 0);
  replay.ToggleMarkers();
  EXPECT_TRUE(host.markerLook);
  EXPECT_EQ(host.Count("javascript:IconMarker"), kPoints);
}

TEST(DitReplay, ClicksSelectOnlyWhileStopped) {
  Card card;
  RecordingHost host;
  CDitReplay replay(&host);
  EXPECT_TRUE(replay.SelectDrive(card.dit));
  EXPECT_EQ(host.scripts, std::vector<std::string>({"javascript:DeleteOverlay()", DrawCurrent(0)}));
  EXPECT_EQ(replay.CaptureCount(), 3);
  replay.Play(card.dit);
  EXPECT_FALSE(replay.SelectDrive(card.dit));
}

TEST(DitReplay, DrivesWithoutPointsOrPicturesStopCleanly) {
  TempFolder dir;
  const auto empty = dir.Write("DIT/GPS/20261205_083000.DIT", "");
  RecordingHost host;
  CDitReplay replay(&host);
  replay.Play(empty);
  replay.Update();
  EXPECT_EQ(replay.GetState(), CDitReplay::kStopped);
  const auto lone = dir.Write("DIT/GPS/20261205_090000.DIT", DitLine(0, 3541.0, 13946.0, 5));
  replay.Play(lone);
  EXPECT_EQ(replay.CaptureCount(), 0);
  replay.Update();
  replay.Update();
  EXPECT_EQ(replay.GetState(), CDitReplay::kStopped);
  EXPECT_TRUE(host.pictures.empty());
}

}  // namespace
}  // namespace lumora
