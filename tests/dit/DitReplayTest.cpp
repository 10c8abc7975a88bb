// The DIT replay: its map calls, its timer at each speed, the route markers,
// the marker moving point by point, the pictures of the drive at their time,
// pause, stop, seek and leaving the mode.
#include <gtest/gtest.h>

#include "library/CDitReplay.h"
#include "tests/dit/DitTestSupport.h"

namespace lumora {
namespace {

using test::DitLine;
using test::RecordingHost;
using test::TempFolder;
using Calls = std::vector<std::string>;

constexpr int kPoints = 40;
const std::string kDelete = "javascript:DeleteOverlay()";
const std::string kRest = "javascript:DrawCurrent('139.774494', '35.684066')";

// The call for point i of the drive below: longitude first, both in degrees
// with six decimals.
std::string Call(const char* function, int i) {
  char text[96];
  std::snprintf(text, sizeof text, "javascript:%s('%.6f', '%.6f')", function,
                139 + (46 + i * 0.07) / 60, 35 + (41 + i * 0.05) / 60);
  return text;
}

// A drive of 40 points, one every 30 s from 08:30:00, on a card with three
// pictures in CAPTURE/20261205_083000/ and one picture of another drive.
struct Card {
  Card() {
    std::string text;
    for (int i = 0; i < kPoints; ++i)
      text += DitLine(i * 30, 3541 + i * 0.05, 13946 + i * 0.07, 40 + i);
    dit = dir.Write("DIT/GPS/20261205_083000.DIT", text);
    for (const char* name :
         {"083000/20261205_083005.jpg", "083000/20261205_084500.JPG", "083000/20261205_084800.jpg",
          "083000/notes.txt", "144700/20261205_083010.jpg"})
      dir.Write(std::string("CAPTURE/20261205_") + name, "jpeg");
  }
  TempFolder dir;
  std::filesystem::path dit;
  RecordingHost host;
  CDitReplay replay{&host};
};

TEST(DitReplay, CallTextsAndPointRow) {
  EXPECT_EQ(CDitReplay::DrawCurrentCall(139.774494, 35.684066), kRest);
  EXPECT_EQ(CDitReplay::IconMarkerCall(127.5, 37.25),
            "javascript:IconMarker('127.500000', '37.250000')");
  EXPECT_EQ(CDitReplay::DeleteOverlayCall(), kDelete);
  DitPoint p;
  ASSERT_TRUE(CDitFile::ParseLine("20261205083012,3541.2345,13946.4700,61,2.5", &p));
  EXPECT_EQ(CDitReplay::PointRow(p),
            Calls({"083012", "0830", "35.687242", "139.774500", "61", "2.500000"}));
}

TEST(DitReplay, EnteringAndLeavingTheMode) {
  Card card;
  card.replay.EnterMode(card.dit);
  EXPECT_TRUE(card.replay.InMode());
  EXPECT_EQ(card.replay.Buffer(0).size(), 6220800u);
  EXPECT_EQ(card.replay.Buffer(2).size(), 2073600u);
  // The marker rests, then shows the selected drive's first point.
  EXPECT_EQ(card.host.scripts, Calls({kRest, Call("DrawCurrent", 0)}));
  ASSERT_EQ(card.replay.CaptureCount(), 3);
  EXPECT_EQ(card.replay.Pictures()[0].m_nHourSec, 830);
  EXPECT_EQ(card.replay.Pictures()[1].m_nHourSec, 845);
  // Leaving at multiplier 8 sets 2; the replay stops, then the marker rests
  // and the route markers go.
  card.replay.SetMultiplier(8);
  card.host.scripts.clear();
  card.replay.LeaveMode();
  EXPECT_EQ(card.replay.Multiplier(), 2);
  EXPECT_EQ(card.host.multipliers.back(), 2);
  EXPECT_FALSE(card.replay.HasBuffers());
  EXPECT_FALSE(card.replay.InMode());
  EXPECT_EQ(card.host.scripts, Calls({Call("DrawCurrent", 0), kRest, kDelete}));
  // Multipliers 1 and 2 stay.
  card.replay.EnterMode({});
  card.replay.SetMultiplier(1);
  card.replay.LeaveMode();
  EXPECT_EQ(card.replay.Multiplier(), 1);
}

TEST(DitReplay, FullReplayMarksTheRouteMovesTheMarkerAndShowsPictures) {
  Card card;
  card.replay.Play(card.dit);
  EXPECT_EQ(card.replay.GetState(), CDitReplay::kRunning);
  EXPECT_TRUE(card.host.timerRunning);
  EXPECT_TRUE(card.host.pauseLook);
  EXPECT_EQ(card.host.sliderMax, kPoints);
  EXPECT_EQ(card.replay.TimerInterval(), 100);
  EXPECT_EQ(card.host.periods, std::vector<int>({100}));
  // Route markers first: the old ones removed, then one per point in order.
  Calls expected = {kDelete};
  for (int i = 0; i < kPoints; ++i) expected.push_back(Call("IconMarker", i));
  EXPECT_EQ(card.host.scripts, expected);
  card.host.scripts.clear();
  int ticks = 0;
  for (; card.replay.GetState() == CDitReplay::kRunning && ticks < 1000; ++ticks)
    card.replay.Update();
  // One tick per point, and one more that finds the end, stops and rewinds.
  EXPECT_EQ(ticks, kPoints + 1);
  expected.clear();
  for (int i = 0; i < kPoints; ++i) expected.push_back(Call("DrawCurrent", i));
  expected.push_back(kDelete);
  expected.push_back(Call("DrawCurrent", 0));
  EXPECT_EQ(card.host.scripts, expected);
  EXPECT_EQ(card.host.sharedDuration, kPoints);
  // 08:30:05 is within 10 of 0830 from the start; 08:45:00 takes over when
  // the point at 08:41:00 (index 22) no longer matches the first picture;
  // after the end the first picture is shown again.
  EXPECT_EQ(card.host.pictures,
            Calls({"20261205_083005.jpg", "20261205_084500.JPG", "20261205_083005.jpg"}));
  ASSERT_EQ(card.host.pictureAtIndex.size(), 3u);
  EXPECT_EQ(card.host.pictureAtIndex[1], 22);
  EXPECT_EQ(card.replay.GetState(), CDitReplay::kStopped);
  EXPECT_FALSE(card.host.timerRunning);
  EXPECT_FALSE(card.host.pauseLook);
  EXPECT_EQ(card.replay.Index(), 0);
  EXPECT_EQ(card.host.lastSlider, 0);
}

// Play pauses and resumes where it paused; each speed step halves the timer
// period (1, 2, 4, 8 and back to 1), not restarting it while paused; a click
// on the strip seeks; Stop rewinds; past the strip's end the replay stops.
TEST(DitReplay, PauseSpeedSeekAndStop) {
  Card card;
  card.replay.Play(card.dit);
  card.replay.Update();
  card.replay.Update();
  card.replay.Play(card.dit);
  EXPECT_EQ(card.replay.GetState(), CDitReplay::kPaused);
  EXPECT_FALSE(card.host.timerRunning);
  EXPECT_FALSE(card.host.pauseLook);
  EXPECT_EQ(card.host.playerPauses, 1);
  card.replay.CycleSpeed();
  EXPECT_FALSE(card.host.timerRunning);
  card.replay.Play(card.dit);
  EXPECT_EQ(card.replay.GetState(), CDitReplay::kRunning);
  EXPECT_EQ(card.replay.Index(), 2);
  for (int i = 0; i < 4; ++i) card.replay.CycleSpeed();
  EXPECT_EQ(card.host.periods, std::vector<int>({100, 50, 25, 12, 100, 50}));
  EXPECT_EQ(card.host.multipliers, std::vector<int>({2, 4, 8, 1, 2}));
  EXPECT_EQ(card.replay.TimerInterval(), 50);
  // The middle of a strip at x 105, 537 wide: point 19, the index after it.
  card.host.scripts.clear();
  card.replay.Seek(105 + 537 / 2, 105, 537);
  EXPECT_EQ(card.host.sharedPosition, 19);
  EXPECT_EQ(card.host.scripts, Calls({Call("DrawCurrent", 19)}));
  EXPECT_EQ(card.replay.Index(), 20);
  card.host.scripts.clear();
  card.replay.Stop();
  EXPECT_EQ(card.replay.GetState(), CDitReplay::kStopped);
  EXPECT_EQ(card.replay.Index(), 0);
  EXPECT_FALSE(card.host.timerRunning);
  EXPECT_EQ(card.host.scripts, Calls({kDelete, Call("DrawCurrent", 0)}));
  card.replay.Play(card.dit);
  card.replay.Seek(105 + 537, 105, 537);
  EXPECT_EQ(card.replay.GetState(), CDitReplay::kStopped);
  EXPECT_EQ(card.host.lastSlider, 0);
}

// A drive is selected only while stopped; Stop with a drive moves the marker
// there. Markers off: the route markers go and a replay draws none.
TEST(DitReplay, SelectingDrivesAndMarkers) {
  Card card;
  const auto other = card.dir.Write("DIT/GPS/20261205_090000.DIT", DitLine(0, 3600.0, 12700.0, 10));
  EXPECT_TRUE(card.replay.SelectDrive(card.dit));
  EXPECT_EQ(card.host.scripts, Calls({kDelete, Call("DrawCurrent", 0)}));
  EXPECT_EQ(card.replay.CaptureCount(), 3);
  card.replay.ToggleMarkers();
  EXPECT_FALSE(card.host.markerLook);
  EXPECT_EQ(card.host.scripts.back(), kDelete);
  card.replay.Play(card.dit);
  EXPECT_EQ(card.host.Count("javascript:IconMarker"), 0);
  card.replay.ToggleMarkers();
  EXPECT_TRUE(card.host.markerLook);
  EXPECT_EQ(card.host.Count("javascript:IconMarker"), kPoints);
  EXPECT_FALSE(card.replay.SelectDrive(other));
  card.host.scripts.clear();
  card.replay.Stop(other);
  EXPECT_EQ(card.host.scripts,
            Calls({kDelete, "javascript:DrawCurrent('127.000000', '36.000000')"}));
  EXPECT_EQ(card.replay.Drive(), other);
}

TEST(DitReplay, DrivesWithoutPointsOrPicturesStopCleanly) {
  TempFolder dir;
  RecordingHost host;
  CDitReplay replay(&host);
  replay.Play(dir.Write("DIT/GPS/20261205_083000.DIT", ""));
  replay.Update();
  EXPECT_EQ(replay.GetState(), CDitReplay::kStopped);
  replay.Play(dir.Write("DIT/GPS/20261205_090000.DIT", DitLine(0, 3541.0, 13946.0, 5)));
  EXPECT_EQ(replay.CaptureCount(), 0);
  replay.Update();
  replay.Update();
  EXPECT_EQ(replay.GetState(), CDitReplay::kStopped);
  EXPECT_TRUE(host.pictures.empty());
}

}  // namespace
}  // namespace lumora
