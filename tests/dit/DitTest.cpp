// Drive logs: lines, files, panel texts, statistics, the drive list, lumora-cli
// dit and the replay.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <random>
#include <regex>

#include "library/CDitDriveList.h"
#include "library/CDitFile.h"
#include "library/CDitPanelText.h"
#include "library/CDitReplay.h"
#include "library/CDitStatistics.h"
#include "tests/dit/DitTestSupport.h"
#include "tests/support/Cli.h"

namespace lumora {
namespace {

using test::CliResult;
using test::DitLine;
using test::RecordingHost;
using test::RunCli;
using test::TempFolder;
using Calls = std::vector<std::string>;

// The point of one line (its line break left out).
DitPoint Point(const std::string& line) {
  DitPoint p;
  EXPECT_TRUE(CDitFile::ParseLine(line.substr(0, line.find('\n')), &p)) << line;
  return p;
}

// ddmm.mmmm: 41.2345 minutes are 41 minutes 14.07 seconds.
TEST(DitFile, LinesAndPoints) {
  const DitPoint p = Point("20261205083012,3541.2345,13946.4700,61,2.5\r");
  EXPECT_EQ(p.m_strDateTime + " " + p.Date() + " " + p.Time(), "20261205083012 20261205 083012");
  EXPECT_EQ(p.SecondsOfDay(), 8 * 3600 + 30 * 60 + 12);
  EXPECT_EQ(std::make_tuple(p.m_dLatitude, p.m_dLongitude, p.m_nSpeed, p.m_dTtc),
            std::make_tuple(3541.2345, 13946.47, 61, 2.5));
  EXPECT_NEAR(p.m_dLatDeg, 35.0 + 41.0 / 60.0 + 14.07 / 3600.0, 1e-9);
  EXPECT_NEAR(p.m_dLonDeg, 139.0 + 46.47 / 60.0, 1e-9);
  EXPECT_NEAR(CDitFile::ToDegrees(-3541.2345), -(35.0 + 41.2345 / 60.0), 1e-9);
  EXPECT_NEAR(CDitFile::ToDegrees(12700.0), 127.0, 1e-12);
  // Date-times of 13 and 15 characters or with a letter, zero coordinates,
  // four and six fields, fields that are not numbers, places off the globe.
  const char* const bad[] = {"2026120508301,3541.2345,13946.47,50,1.0",
                             "202612050830123,3541.2345,13946.47,50,1.0",
                             "2026120508301x,3541.2345,13946.47,50,1.0",
                             "20261205083012,0,13946.47,50,1.0",
                             "20261205083012,3541.2345,0.0,50,1.0",
                             "20261205083012,3541.2345,13946.47,50",
                             "20261205083012,3541.2345,13946.47,50,1.0,9",
                             "20261205083012,35x1,13946.47,50,1.0",
                             "20261205083012,3541.2,13946.47,fast,1.0",
                             "20261205083012,nan,13946.47,50,1.0",
                             "20261205083012,1e300,13946.47,50,1.0",
                             "20261205083012,9541.2,13946.47,50,1.0",
                             ""};
  for (const char* line : bad) EXPECT_FALSE(CDitFile::ParseLine(line, nullptr)) << line;
  EXPECT_FALSE(CDitFile::ParseLine(std::string(300, '1'), nullptr));
  // Blanks around numbers are tolerated.
  EXPECT_EQ(Point("20261205083012, 3541.2345 ,13946.47, 0 ,0.0").m_nSpeed, 0);
}

TEST(DitFile, ReadsEveryValidLineAndSkipsTheRest) {
  TempFolder dir;
  // 8 MiB without a break, a point running on, a last line without its break.
  const std::string text = std::string(8 * 1024 * 1024, '7') + "\n" +
                           DitLine(0, 3541.1, 13946.1, 10) + "garbage line\r\n" +
                           "20261205083010,3541.2345,13946.47,50,1.0" + std::string(100000, '0') +
                           "\n" + DitLine(1, 3541.2, 13946.2, 20) + DitLine(2, 3541.3, 13946.3, 30);
  const auto path = dir.Write("a.DIT", text.substr(0, text.size() - 2));
  std::vector<DitPoint> points;
  ASSERT_TRUE(CDitFile::Read(path, &points));
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0].m_nSpeed + points[1].m_nSpeed + points[2].m_nSpeed, 60);
  EXPECT_EQ(points[2].Time(), "083002");
  DitPoint first;
  ASSERT_TRUE(CDitFile::FirstPoint(path, &first));
  EXPECT_EQ(first.Time(), "083000");
  EXPECT_TRUE(CDitFile::IsValid(path));
  // Missing, empty and binary files have no points.
  EXPECT_FALSE(CDitFile::Read(dir / "missing.DIT", &points));
  EXPECT_FALSE(CDitFile::IsValid(dir / "missing.DIT"));
  EXPECT_TRUE(CDitFile::Read(dir.Write("empty.DIT", ""), &points));
  EXPECT_TRUE(points.empty());
  EXPECT_FALSE(CDitFile::IsValid(dir / "empty.DIT"));
  std::string binary(70000, '\0');
  std::mt19937 rng(7);
  for (char& c : binary) c = static_cast<char>(rng() & 0xFF);
  EXPECT_FALSE(CDitFile::IsValid(dir.Write("binary.DIT", binary)));
  // The capture folder is beside the DIT folder, in the case found there.
  dir.Dir("capture/20261205_083000");
  const auto ditPath = dir / "DIT" / "GPS" / "20261205_083000.DIT";
  EXPECT_EQ(CDitFile::CaptureFolder(ditPath), dir / "capture");
  EXPECT_EQ(CDitFile::CaptureSubfolder(ditPath, Point("20261205083000,3541.1,13946.1,0,0")),
            dir / "capture" / "20261205_083000");
  TempFolder other;
  EXPECT_EQ(CDitFile::CaptureFolder(other / "DIT" / "GPS" / "x.DIT"), other / "CAPTURE");
}

// Panel lines (0.2345 minutes are 14.1 seconds; south and west unsigned).
TEST(DitPanelText, LinesOfAPoint) {
  const DitPoint p = Point("20261205083012,3541.2345,13946.4700,61,2.5");
  const DitPoint south = Point("20261205083012,-3352.0500,-7038.0000,0,0");
  EXPECT_EQ(CDitPanelText::DateLine(p) + "|" + CDitPanelText::TimeLine(p), "2026-12-05|08:30:12");
  EXPECT_EQ(CDitPanelText::LatitudeLine(p) + "|" + CDitPanelText::LongitudeLine(p),
            "035 041 14.1|139 046 28.2     ");
  EXPECT_EQ(CDitPanelText::LatitudeLine(south) + "|" + CDitPanelText::LongitudeLine(south),
            "033 052 3.0|070 038 0.0     ");
}

// Statistics: whole metres from 110560 m per degree north, 84800 east; steps
// over an hour or back in time add nothing; moving > 0 km/h, over-speed > limit.
// A point: seconds after 08:00:00, minutes north and east of 35 41' 139 46'.
struct P {
  int s, north, east, speed;
};

TEST(DitStatistics, TableOfDrives) {
  struct Row {
    const char* name;
    std::vector<P> points;
    int limit;
    std::int64_t metres, total, moving, overspeed;
  };
  // One minute of latitude: 110560 / 60 = 1842.67 m; of longitude 1413.33 m.
  const Row rows[] = {
      {"north then east", {{0, 0, 0, 30}, {60, 1, 0, 30}, {120, 1, 1, 30}}, 60, 3255, 120, 120, 0},
      {"two hours gap", {{0, 0, 0, 50}, {7200, 10, 0, 50}}, 60, 0, 0, 0, 0},
      {"exactly one hour", {{0, 0, 0, 50}, {3600, 1, 0, 50}}, 60, 1842, 3600, 3600, 0},
      {"clock goes back", {{0, 0, 0, 50}, {-1, 1, 0, 50}}, 60, 0, 0, 0, 0},
      {"standing", {{0, 0, 0, 0}, {10, 0, 0, 0}, {15, 0, 0, 5}}, 60, 0, 15, 5, 0},
      {"at the limit", {{0, 0, 0, 60}, {7, 0, 0, 60}}, 60, 0, 7, 7, 0},
      {"above the limit", {{0, 0, 0, 60}, {10, 0, 0, 61}}, 60, 0, 10, 10, 10},
      {"limit 60 of three", {{0, 0, 0, 60}, {7, 0, 0, 60}, {10, 0, 0, 61}}, 60, 0, 10, 10, 3},
      {"limit 59 of three", {{0, 0, 0, 60}, {7, 0, 0, 60}, {10, 0, 0, 61}}, 59, 0, 10, 10, 10},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<DitPoint> points;
    for (const P& p : row.points) {
      points.push_back(Point(DitLine(p.s - 1800, 3541 + p.north, 13946 + p.east, p.speed)));
    }
    const CDitStatistics s = CDitStatistics::Of(points, row.limit);
    EXPECT_EQ(s.Points(), static_cast<int>(points.size()));
    EXPECT_EQ(std::vector<std::int64_t>(
                  {s.DistanceMetres(), s.TotalSeconds(), s.MovingSeconds(), s.OverspeedSeconds()}),
              std::vector<std::int64_t>({row.metres, row.total, row.moving, row.overspeed}));
  }
  EXPECT_EQ(CDitStatistics::DistanceText(0) + CDitStatistics::DistanceText(12345),
            "0.00 km12.35 km");
  EXPECT_EQ(CDitStatistics::TimeText(3 * 3600 + 4 * 60 + 5), "03:04:05");
  EXPECT_EQ(CDitStatistics::TimeText(100 * 3600), "100:00:00");
  TempFolder dir;
  const auto path = dir.Write(
      "d.DIT", DitLine(0, 3541.0, 13946.0, 40) + "bad\r\n" + DitLine(60, 3542.0, 13946.0, 70));
  CDitStatistics s;
  ASSERT_TRUE(CDitStatistics::OfFile(path, 60, &s));
  EXPECT_EQ(s.Points(), 2);
  EXPECT_EQ(s.DistanceText(), "1.84 km");
  EXPECT_EQ(s.TotalText() + s.MovingText() + s.OverspeedText(), "00:01:0000:01:0000:01:00");
  EXPECT_FALSE(CDitStatistics::OfFile(dir / "none.DIT", 60, &s));
  EXPECT_EQ(s.Points(), 0);
}

// The drive list: DIT/GPS scan, rows, one message naming every invalid log.
std::string Drive(int points, int speed) {
  std::string text;
  for (int s = 0; s < points; ++s) text += DitLine(s, 3541.0 + s * 0.01, 13946.0, speed);
  return text;
}

TEST(DitDriveList, ScanFillsRowsAndReportsInvalidFilesTogether) {
  TempFolder card;
  card.Write("dit/gps/20261205_083000.DIT", Drive(61, 70));
  card.Write("dit/gps/20261205_144700.dit", Drive(5, 0));
  card.Write("dit/gps/20261206_000000.DIT", "");
  card.Write("dit/gps/20261206_010000.DIT", std::string("\x01\x02\xff\0\n", 5));
  card.Write("dit/gps/notes.txt", Drive(5, 0));
  CDitDriveList list;
  list.ScanCard(card.path(), 60);
  ASSERT_EQ(list.Rows().size(), 2u);
  const DitDriveRow& r = list.Rows()[0];
  // 60 steps of 0.01 minute of latitude: 18 m each (18.43 truncated).
  EXPECT_EQ(r.m_strNo + " " + r.m_strDate + " " + r.m_strDistance + " " + r.m_strTime + " " +
                r.m_strOverspeed,
            "0001 2026-12-05 1.08 km 00:01:00 / 00:01:00 00:01:00");
  EXPECT_EQ(r.m_path.filename(), "20261205_083000.DIT");
  EXPECT_EQ(r.m_nPoints, 61);
  EXPECT_EQ(list.Rows()[1].m_strNo + " " + list.Rows()[1].m_strTime, "0002 00:00:00 / 00:00:04");
  EXPECT_EQ(list.LastPointCount(), 5);
  EXPECT_EQ(list.InvalidList(), "20261206_000000.DIT\n20261206_010000.DIT\n");
  EXPECT_EQ(list.InvalidMessage(),
            "Invalid DIT Files :\n20261206_000000.DIT\n20261206_010000.DIT\n");
  // A new limit recomputes the over-speed time in place.
  list.Recompute(80);
  EXPECT_EQ(list.Rows()[0].m_strOverspeed, "00:00:00");
  EXPECT_EQ(list.Rows()[0].m_strNo, "0001");
}

TEST(DitDriveList, CleanCardsNoCardAndOpenedFiles) {
  TempFolder card;
  card.Write("DIT/GPS/20261205_083000.DIT", Drive(3, 10));
  CDitDriveList list;
  list.ScanCard(card.path(), 60);
  EXPECT_EQ(list.Rows().size(), 1u);
  EXPECT_EQ(list.InvalidMessage(), "");
  TempFolder noDit;
  list.Clear();
  list.ScanCard(noDit.path(), 60);
  EXPECT_TRUE(list.Rows().empty());
  // No card (empty root) reads no folder, not even DIT/GPS under the working folder.
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(card.path());
  list.ScanCard({}, 60);
  std::filesystem::current_path(cwd);
  EXPECT_TRUE(list.Rows().empty());
  // Opened files need ".dit" (any case) and more than 10 KiB.
  TempFolder dir;
  const auto big = dir.Write("20261205_083000.DIT", Drive(400, 30));
  const auto small = dir.Write("20261205_090000.dit", Drive(3, 30));
  const auto other = dir.Write("20261205_100000.txt", Drive(400, 30));
  const auto junk = dir.Write("20261205_110000.Dit", std::string(20000, '\xff'));
  ASSERT_GT(std::filesystem::file_size(big), 10u * 1024u);
  list.Clear();
  list.AddOpened({small, other, big, junk, dir / "gone.dit"}, 60);
  ASSERT_EQ(list.Rows().size(), 1u);
  EXPECT_EQ(list.Rows()[0].m_path, big);
  EXPECT_EQ(list.InvalidMessage(), "Invalid DIT Files :\n20261205_110000.Dit\n");
  EXPECT_EQ(CDitDriveList::DateOfName("20261205_083000.DIT"), "2026-12-05");
  EXPECT_EQ(CDitDriveList::DateOfName("2026"), "2026--");
  EXPECT_EQ(CDitDriveList::DateOfName(""), "--");
}

// lumora-cli dit: statistics as JSON, GPX in UTC, errors for bad files.
TEST(DitCli, StatisticsGpxAndErrors) {
  TempFolder dir;
  const auto path = dir.Write("20261205_083000.DIT", DitLine(0, 3541.0, 13946.0, 0) +
                                                         DitLine(10, 3542.0, 13946.0, 61) +
                                                         DitLine(20, 3542.0, 13947.0, 72));
  CliResult o = RunCli("dit " + path.string());
  ASSERT_EQ(o.exitCode, 0) << o.out;
  EXPECT_EQ(nlohmann::json::parse(o.out),
            nlohmann::json::parse(R"({"points": 3, "distance": "3.25 km", "moving": "00:00:20",
                                      "total": "00:00:20", "overspeed": "00:00:20"})"));
  o = RunCli("dit --limit 70 " + path.string());
  EXPECT_EQ(nlohmann::json::parse(o.out)["overspeed"], "00:00:10");
  // 08:30 at UTC+9 is 23:30 UTC of the day before; 72 km/h are 20 m/s.
  dir.Write("20261205_083000.DIT",
            DitLine(0, 3541.0, 13946.0, 36) + "bad\r\n" + DitLine(1, 3541.5, 13946.5, 72));
  o = RunCli("dit --format gpx " + path.string());
  ASSERT_EQ(o.exitCode, 0) << o.out;
  for (const char* part :
       {"<gpx", "<name>20261205_083000</name>", "lat=\"35.683333333\" lon=\"139.766666667\"",
        "<time>2026-12-04T23:30:00Z</time>", "<time>2026-12-04T23:30:01Z</time>",
        "<gpxtpx:speed>20.000</gpxtpx:speed>"}) {
    EXPECT_NE(o.out.find(part), std::string::npos) << part << "\n" << o.out;
  }
  const std::regex point("<trkpt ");
  EXPECT_EQ(std::distance(std::sregex_iterator(o.out.begin(), o.out.end(), point), {}), 2);
  o = RunCli("dit " + dir.Write("empty.DIT", "").string());
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_EQ(o.err, "Invalid DIT Files :\nempty.DIT\n");
  o = RunCli("dit " + (dir / "missing.DIT").string());
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_NE(o.err.find("cannot open"), std::string::npos);
  EXPECT_EQ(RunCli("dit --limit -1 " + path.string()).exitCode, 2);
}

// The replay: map calls, timer, route markers, the marker point by point, the
// pictures at their time, pause, stop, seek, leaving.

constexpr int kPoints = 40;
const std::string kDelete = "javascript:DeleteOverlay()";
const std::string kRest = "javascript:DrawCurrent('139.774494', '35.684066')";

// The call for point i of the drive below: longitude first, six decimals.
std::string Call(const char* function, int i) {
  char text[96];
  std::snprintf(text, sizeof text, "javascript:%s('%.6f', '%.6f')", function,
                139 + (46 + i * 0.07) / 60, 35 + (41 + i * 0.05) / 60);
  return text;
}

// 40 points 30 s apart from 08:30:00; three pictures of the drive, one other.
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
  // Leaving at speed 8 sets 2: stop, rest, route markers gone.
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
  // 08:30:05 first; 08:45:00 once 08:41:00 (index 22) is over 10 from 0830.
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

// Pause and resume; speeds 1, 2, 4, 8, 1 (timer 100 ms / speed, not started
// while paused); a strip click seeks; Stop rewinds; past the end it stops.
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
  const auto other =
      card.dir.Write("DIT/GPS/20261205_090000.DIT", DitLine(1800, 3600.0, 12700.0, 10));
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
  // A drive of one point without pictures, and an empty one, stop cleanly.
  const std::size_t shown = card.host.pictures.size();
  card.replay.Play(other);
  EXPECT_EQ(card.replay.CaptureCount(), 0);
  card.replay.Update();
  card.replay.Update();
  EXPECT_EQ(card.replay.GetState(), CDitReplay::kStopped);
  EXPECT_EQ(card.host.pictures.size(), shown);
  card.replay.Play(card.dir.Write("DIT/GPS/20261205_100000.DIT", ""));
  card.replay.Update();
  EXPECT_EQ(card.replay.GetState(), CDitReplay::kStopped);
}

}  // namespace
}  // namespace lumora
