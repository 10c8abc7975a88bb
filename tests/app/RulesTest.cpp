// The main window's rule classes (places, strips, playback, seek queue, SMART
// indicator, keys, drops, command line, mount table), over literal tables.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "app/AppIds.h"
#include "app/CSamplePlayerApp.h"
#include "app/CThumbnailView.h"
#include "app/DitLayout.h"
#include "app/DropRules.h"
#include "app/KeyTable.h"
#include "app/MainLayout.h"
#include "app/PlaybackRules.h"
#include "app/SeekQueue.h"
#include "app/SmartIndicator.h"
#include "platform/qt/CDriveWatcher.h"
#include "res/StringTable.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

TEST(MainLayout, PanesByModePlacementAndChannels) {
  const PaneGeometry large{true, {16, 37, 640, 360}}, small{true, {684, 37, 320, 240}}, none{};
  const PaneGeometry full{true, {18, 50, 1920 - 36, 1080 - 129}};
  const struct {
    int mode, front, rear, channels;
    PaneGeometry frontPane, rearPane;
  } rows[] = {
      {kModeNormal, kPaneLarge, kPaneSmall, 2, large, small},
      {kModeNormal, kPaneSmall, kPaneLarge, 2, small, large},
      {kModeNormal, kPaneHidden, kPaneSmall, 2, none, small},
      {kModeNormal, kPaneLarge, kPaneSmall, 1, large, none},
      {kModeNormal, kPaneLarge, kPaneSmall, 0, large, none},
      {kModeNormal, kPaneLarge, kPaneSmall, -1, large, none},
      {kModeEnlarged, kPaneLarge, kPaneSmall, 2, full, none},
      {kModeEnlarged, kPaneSmall, kPaneLarge, 2, none, full},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.mode << " " << r.front << r.rear << " " << r.channels);
    const PaneLayout layout = MainLayout::LayPanes(r.mode, r.front, r.rear, r.channels, 1920, 1080);
    EXPECT_EQ(layout.front.visible, r.frontPane.visible);
    EXPECT_EQ(layout.rear.visible, r.rearPane.visible);
    EXPECT_EQ(layout.front.visible ? layout.front.rect : LayoutRect{}, r.frontPane.rect);
    EXPECT_EQ(layout.rear.visible ? layout.rear.rect : LayoutRect{}, r.rearPane.rect);
  }
  EXPECT_EQ(MainLayout::EnlargedVideoRect(20, 100), (LayoutRect{18, 50, 0, 0}));
  EXPECT_EQ(MainLayout::MapSizeCaption(1), "지도 작게보기");
  for (int state : {0, 2, 4}) EXPECT_EQ(MainLayout::MapSizeCaption(state), "지도 크게보기");
}

TEST(MainLayout, ProgressAndDragStrips) {
  const struct {
    int mode, height, x, y;
    bool strip, drag;
  } rows[] = {
      {kModeNormal, 720, 105, 415, true, false},     {kModeNormal, 720, 642, 445, true, false},
      {kModeNormal, 720, 104, 430, false, false},    {kModeNormal, 720, 643, 430, false, false},
      {kModeNormal, 720, 300, 446, false, false},    {kModeNormal, 720, 0, 0, false, true},
      {kModeNormal, 720, 1023, 32, false, true},     {kModeNormal, 720, 1024, 10, false, false},
      {kModeNormal, 720, 10, 33, false, false},      {kModeEnlarged, 1000, 25, 930, true, false},
      {kModeEnlarged, 1000, 562, 950, true, false},  {kModeEnlarged, 1000, 300, 951, false, false},
      {kModeEnlarged, 1000, 300, 430, false, false}, {kModeEnlarged, 1000, 10, 10, false, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.mode << " at " << r.x << "," << r.y);
    EXPECT_EQ(MainLayout::InProgressStrip(r.mode, r.height, r.x, r.y), r.strip);
    EXPECT_EQ(MainLayout::InDragStrip(r.mode, r.height, r.x, r.y), r.drag);
  }
  // The place under a click on the 537 pixels of the strip; 64-bit for long
  // recordings.
  const struct {
    std::int64_t total;
    int mode, x;
    std::int64_t target;
  } targets[] = {
      {60000, kModeNormal, 105, 0},     {60000, kModeNormal, 642, 60000},
      {60000, kModeNormal, 373, 29944}, {1000, kModeEnlarged, 562, 1000},
      {1000, kModeEnlarged, 293, 499},  {4'000'000'000LL, kModeNormal, 642, 4'000'000'000LL},
  };
  for (const auto& t : targets)
    EXPECT_EQ(MainLayout::StripTarget(t.total, t.mode, t.x), t.target) << t.x;
}

bool Overlap(const LayoutRect& a, const LayoutRect& b) {
  return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

bool Inside(const LayoutRect& inner, const LayoutRect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.Right() <= outer.Right() &&
         inner.Bottom() <= outer.Bottom();
}

// Every control inside the client, clear of the drawn AREAS and of each other.
void ExpectClearPlaces(const std::vector<PlacedControl>& placed, const LayoutRect& client,
                       const std::vector<LayoutRect>& areas) {
  for (std::size_t i = 0; i < placed.size(); ++i) {
    EXPECT_TRUE(Inside(placed[i].rect, client)) << placed[i].id;
    for (const LayoutRect& area : areas)
      EXPECT_FALSE(Overlap(placed[i].rect, area)) << placed[i].id;
    for (std::size_t j = i + 1; j < placed.size(); ++j)
      EXPECT_FALSE(Overlap(placed[i].rect, placed[j].rect)) << placed[i].id << "/" << placed[j].id;
  }
}

const int kTransportIds[] = {kIdPrevious,     kIdPlay,        kIdStop,   kIdNext,
                             kIdStepBack,     kIdStepForward, kIdSpeed,  kIdFullScreen,
                             kIdChangeScreen, kIdZoomIn,      kIdZoomOut};

TEST(ControlPlaces, NormalModePlacesEveryActiveControlClearOfTheDrawing) {
  // Buttons without an action (FPS, capture, 1110/1111, the compact layout's
  // categories, the second thumbnail button, previous size) have no place.
  const std::set<int> placed = {1000, 1001, 1002, 1004, 1005, 1006, 1007, 1008,  1009, 1010,
                                1012, 1014, 1015, 1016, 1018, 1020, 1023, 1027,  1041, 1097,
                                1098, 1099, 1100, 1101, 1121, 1137, 1154, 1155,  1157, 1158,
                                1193, 1194, 1195, 1196, 1197, 1198, 1199, 1202,  3021, 4200,
                                4201, 5005, 5019, 5206, 8200, 8201, 8210, 40009, 40100};
  const auto all = ControlPlaces::All(kModeNormal, 1020, 760);
  std::set<int> ids;
  for (const PlacedControl& c : all) ids.insert(c.id);
  EXPECT_EQ(ids, placed);
  EXPECT_EQ(all.size(), placed.size());
  LayoutRect rect;
  for (int id : {kIdFps, kIdCapture, kIdCheck1110, kIdCheck1111, kIdPreviousSize, kIdThumbFile,
                 kIdCategoryEvent, 9999})
    EXPECT_FALSE(ControlPlaces::Place(id, kModeNormal, 1020, 760, &rect)) << id;
  ASSERT_TRUE(ControlPlaces::Place(kIdSeekSlider, kModeNormal, 1020, 760, &rect));
  EXPECT_EQ(rect, (LayoutRect{105, 420, 537, 20}));  // on the progress strip
  // Clear of the panes, the data panel's gauges, text block, graph strip with
  // its axis labels, and the map (which ends at y 707).
  ExpectClearPlaces(all, {0, 0, 1020, 760},
                    {{16, 37, 640, 360},
                     {684, 37, 320, 240},
                     {219, 459, 177, 178},
                     {339, 466, 89, 92},
                     {500, 465, 250, 95},
                     {216, 575, 431, 85},
                     {216, 575, 39, 112},
                     {680, 354, 326, 353}});
}

TEST(ControlPlaces, TransportRowAndTheBandUnderTheEnlargedVideo) {
  for (auto [mode, w, h] :
       {std::tuple{kModeNormal, 1020, 760}, std::tuple{kModeEnlarged, 1280, 720},
        std::tuple{kModeEnlarged, 1920, 1080}, std::tuple{kModeEnlarged, 1024, 768},
        std::tuple{kModeEnlarged, 2560, 1440}}) {
    SCOPED_TRACE(::testing::Message() << mode << ": " << w << "x" << h);
    LayoutRect first, rect;
    ASSERT_TRUE(ControlPlaces::Place(kTransportIds[0], mode, w, h, &first));
    int lastRight = first.x;
    for (int id : kTransportIds) {  // one row, left to right in table order, close together
      ASSERT_TRUE(ControlPlaces::Place(id, mode, w, h, &rect)) << id;
      EXPECT_EQ(rect.y, first.y) << id;
      EXPECT_GE(rect.x, lastRight) << id;
      EXPECT_LE(rect.x - lastRight, 16) << id;
      lastRight = rect.Right();
    }
    if (mode == kModeNormal) continue;
    const LayoutRect band{0, h - 79, w, 79};
    const LayoutRect video{18, 50, w - 36, h - 129};
    EXPECT_EQ(MainLayout::EnlargedVideoRect(w, h), video);
    ExpectClearPlaces(ControlPlaces::All(mode, w, h), {0, 0, w, h}, {video});
    // The seek slider on the clickable strip x 25..562, y h-70..h-50.
    ASSERT_TRUE(ControlPlaces::Place(kIdSeekSlider, mode, w, h, &rect));
    EXPECT_TRUE(Inside(rect, {25, h - 70, 537, 20}));
    for (int id : kTransportIds) {
      ASSERT_TRUE(ControlPlaces::Place(id, mode, w, h, &rect));
      EXPECT_TRUE(Inside(rect, band)) << id;
    }
    for (int id : {kIdSnapshot, kIdExport, kIdPreviousSize}) {
      ASSERT_TRUE(ControlPlaces::Place(id, mode, w, h, &rect)) << id;
      EXPECT_TRUE(Inside(rect, band)) << id;
    }
    EXPECT_GT(rect.x, w / 2);
    // Window buttons at the top right above the video; card, map and
    // indicator controls hidden.
    for (int id : {kIdExit, kIdMinimise, kIdWindowSize, kIdSettings}) {
      ASSERT_TRUE(ControlPlaces::Place(id, mode, w, h, &rect)) << id;
      EXPECT_LE(rect.Bottom(), 50) << id;
      EXPECT_GT(rect.x, w - 200) << id;
    }
    ASSERT_TRUE(ControlPlaces::Place(kIdExit, mode, w, h, &rect));
    EXPECT_GE(rect.Right(), w - 16);
    for (int id : {kIdSdOpen, kIdOpen, kIdMapToggle, kIdSmart, kIdDit, kIdFileNameLabel})
      EXPECT_FALSE(ControlPlaces::Place(id, mode, w, h, &rect)) << id;
  }
}

TEST(PlaybackRules, TimesVolumeRowsHeldPlayerAndWheel) {
  const std::pair<std::int64_t, const char*> times[] = {
      {0, "00:00:00"}, {59999, "00:00:59"}, {3723000, "01:02:03"}, {-5, "00:00:00"}};
  for (const auto& [ms, text] : times) EXPECT_EQ(PlaybackRules::TimeText(ms), text);
  // Both 16-bit halves carry slider x 655.35, cut to a whole number.
  const std::pair<int, std::uint32_t> volumes[] = {{0, 0u},           {1, 0x028F028Fu},
                                                   {30, 0x4CCC4CCCu}, {50, 0x7FFF7FFFu},
                                                   {55, 0x8CCC8CCCu}, {99, 0xFD6FFD6Fu}};
  for (const auto& [slider, word] : volumes) EXPECT_EQ(PlaybackRules::VolumeWord(slider), word);
  // The seek slider's tooltip: the time, or in DIT mode the share of the drive.
  EXPECT_EQ(PlaybackRules::SeekTooltip(false, 23500, 30000), "00:00:23");
  EXPECT_EQ(PlaybackRules::SeekTooltip(true, 150, 600), "25%");
  EXPECT_EQ(PlaybackRules::SeekTooltip(true, 5, 0), "0%");
  EXPECT_EQ(PlaybackRules::NextSpeed(1), 2);
  EXPECT_EQ(PlaybackRules::NextSpeed(2), 1);
  EXPECT_EQ(PlaybackRules::RowAt(30000, 60000, 600), 300);
  EXPECT_EQ(PlaybackRules::RowAt(59999, 60000, 600), 599);
  EXPECT_EQ(PlaybackRules::RowAt(100, 0, 600), 0);
  EXPECT_EQ(PlaybackRules::RowAt(100, 60000, 0), 0);
  EXPECT_EQ(PlaybackRules::DrawCurrentCall(139.774494, 35.684066),
            "javascript:DrawCurrent('139.774494', '35.684066')");
  for (auto [records, usable] : {std::pair{0, false}, {1, true}, {17999, true}, {18000, false}})
    EXPECT_EQ(PlaybackRules::UsableRecordCount(records), usable) << records;
  // A held player moves on only at the end; the wheel steps 5 s a notch.
  using Step = PlaybackRules::HeldStep;
  const struct {
    std::int64_t position;
    bool endReached;
    Step step;
  } rows[] = {
      {0, false, Step::kHold},  // paused while priming, or stepped back to 0:00
      {0, true, Step::kNext},   // stopped by the end notice
      {1, false, Step::kFollow},   {59999, true, Step::kFollow},
      {60000, false, Step::kHold},  // at the end, the notice not yet served
      {60000, true, Step::kNext},
  };
  for (const auto& r : rows)
    EXPECT_EQ(PlaybackRules::StepWhileHeld(r.position, 60000, r.endReached), r.step) << r.position;
  EXPECT_EQ(PlaybackRules::WheelTarget(10000, 60000, 1), 15000);
  EXPECT_EQ(PlaybackRules::WheelTarget(10000, 60000, -3), 0);
  EXPECT_EQ(PlaybackRules::WheelTarget(58000, 60000, 2), 60000);
  EXPECT_EQ(PlaybackRules::WheelTarget(0, -1, 1), 0);
}

TEST(SeekQueue, KeepsOnlyTheNewestTargetWhileOneRuns) {
  SeekQueue q;
  EXPECT_EQ(q.Ask(1000, false), std::optional<std::int64_t>(1000));
  EXPECT_TRUE(q.Busy(true));
  EXPECT_EQ(q.Shown(0, true), 1000);  // the target, not the old position
  EXPECT_EQ(q.Ask(2000, true), std::nullopt);
  EXPECT_EQ(q.Ask(3000, true), std::nullopt);
  EXPECT_EQ(q.Shown(0, true), 3000);
  EXPECT_EQ(q.Next(true), std::nullopt);  // the first still runs
  EXPECT_EQ(q.Next(false), std::optional<std::int64_t>(3000));
  EXPECT_EQ(q.Ask(4000, true), std::nullopt);  // waits behind the running 3000
  EXPECT_EQ(q.Next(false), std::optional<std::int64_t>(4000));
  EXPECT_EQ(q.Next(false), std::nullopt);
  EXPECT_FALSE(q.Busy(false));
  EXPECT_EQ(q.Shown(4321, false), 4321);
  q.Ask(5000, false);  // running: Clear forgets it too
  q.Clear();
  EXPECT_FALSE(q.Busy(true));
  EXPECT_EQ(q.Shown(7, true), 7);
}

std::vector<std::uint16_t> Row(std::initializer_list<std::pair<int, int>> words) {
  std::vector<std::uint16_t> row(SmartIndicator::kWordCount, 0);
  for (auto [index, value] : words) row[index] = static_cast<std::uint16_t>(value);
  return row;
}

TEST(SmartIndicator, BitmapSpeedTextAndEventAlert) {
  std::vector<std::vector<std::uint16_t>> rows;
  auto source = [&rows](int r) -> const std::uint16_t* {
    return r >= 0 && r < static_cast<int>(rows.size()) ? rows[r].data() : nullptr;
  };
  const struct {
    std::vector<std::uint16_t> row;
    int bitmap;
  } cases[] = {
      {Row({}), 448},
      {Row({{4, 1}, {5, 1}, {9, 2}}), 453},
      {Row({{4, 1}, {5, 1}, {7, 3}}), 454},          // second group warns: (1, 2)
      {Row({{4, 1}, {6, 1}, {5, 1}, {9, 1}}), 458},  // (2, 1), t = 1
      {Row({{4, 1}, {6, 1}, {5, 1}, {7, 1}}), 458},  // (2, 2) has no bitmap: the last stays
      {Row({{4, 1}, {6, 1}, {2, 1}, {5, 1}}), 451},  // word 2 keeps the first group at 1
      {Row({{9, 3}}), 448},                          // word 9 other than 1, 2 is off
  };
  SmartIndicator indicator;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    rows = {cases[i].row};
    EXPECT_EQ(indicator.Refresh(source, 0, 1, 0, false).bitmap, cases[i].bitmap) << "case " << i;
  }
  for (auto [kmh, mph, text, unit] :
       {std::tuple{88, false, " 88", "km/h"}, std::tuple{100, true, " 62", "mph"},
        std::tuple{7, false, "  7", "km/h"}}) {
    const SmartFrame frame = indicator.Refresh(nullptr, 0, 0, kmh, mph);
    EXPECT_EQ(frame.speedText, text);
    EXPECT_EQ(frame.unitText, unit);
  }
  // The event alert draws six times after the last marker near the row.
  rows.assign(20, Row({}));
  rows[10] = Row({{12, 2}});
  indicator = SmartIndicator();
  EXPECT_FALSE(indicator.Refresh(source, 3, 20, 0, false).drawAlert);
  // Rows 7..12 see the marker (i - 3 .. i + 2 includes 10).
  EXPECT_FALSE(indicator.Refresh(source, 6, 20, 0, false).drawAlert);
  EXPECT_TRUE(indicator.Refresh(source, 8, 20, 0, false).drawAlert);
  int draws = 0;  // away from the marker, until six draws are done
  for (int i = 0; i < 10; ++i) draws += indicator.Refresh(source, 17, 20, 0, false).drawAlert;
  EXPECT_EQ(draws, 5);
  EXPECT_FALSE(indicator.Refresh(source, 14, 20, 0, false).drawAlert);
  EXPECT_TRUE(indicator.Refresh(source, 12, 20, 0, false).drawAlert);
}

TEST(KeyTable, EachKeyNamesItsCommandInBothModes) {
  const struct {
    int key, video, dit;  // dit 0: none
  } rows[] = {
      {Qt::Key_Space, 1006, 1006}, {Qt::Key_Left, 1009, 40011},  {Qt::Key_Right, 1010, 40012},
      {Qt::Key_Home, 40001, 0},    {Qt::Key_PageUp, 1005, 1005}, {Qt::Key_PageDown, 1008, 40013},
      {Qt::Key_Comma, 40002, 0},   {Qt::Key_Period, 40003, 0},   {Qt::Key_Up, 40004, 0},
      {Qt::Key_Down, 40005, 0},    {Qt::Key_M, 40006, 0},        {Qt::Key_F, 1018, 0},
      {Qt::Key_F11, 1018, 0},      {Qt::Key_Escape, 1025, 0},    {Qt::Key_Plus, 40007, 0},
      {Qt::Key_Minus, 40008, 0},   {Qt::Key_X, 5206, 5206},      {Qt::Key_G, 1196, 0},
      {Qt::Key_L, 1193, 0},        {Qt::Key_S, 40009, 0},        {Qt::Key_F1, 40010, 40010},
      {Qt::Key_F8, 0, 0},          {Qt::Key_F9, 0, 0},           {Qt::Key_F10, 0, 0},
      {Qt::Key_E, 8210, 0},        {Qt::Key_I, 8211, 0},         {Qt::Key_O, 8212, 0},
  };
  const KeyTable keys;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.key);
    EXPECT_EQ(keys.CommandFor(r.key, Qt::NoModifier, false), r.video);
    EXPECT_EQ(keys.CommandFor(r.key, Qt::NoModifier, true), r.dit);
    EXPECT_EQ(keys.CommandFor(r.key, Qt::ControlModifier, false), 0);
    EXPECT_EQ(keys.CommandFor(r.key, Qt::AltModifier, false), 0);
  }
  EXPECT_EQ(keys.CommandFor(Qt::Key_Plus, Qt::ShiftModifier | Qt::KeypadModifier, false), 40007);
  EXPECT_EQ(keys.Bindings().size(), 24u);
  for (const KeyBinding& b : keys.Bindings())  // each has its line in the key list
    EXPECT_FALSE(StringTable::Instance().Load(b.helpString, kLangEnglish).isEmpty()) << b.key;
}

TEST(DropRules, RecordingsFoldersAndDitFilesByMode) {
  test::TempFolder dir;
  const std::string avi = dir.File("a.avi", 1), mp4 = dir.File("B.MP4", 1),
                    dit = dir.File("drive.DIT", 1), txt = dir.File("notes.txt", 1),
                    card = dir.Dir("card"), card2 = dir.Dir("card2"), gone = dir / "gone.avi";
  const struct {
    std::vector<std::string> dropped;
    bool dit;
    DropAction action;
    std::vector<std::string> opened, ignored;
    bool ditOutsideDit;
  } rows[] = {
      {{avi, mp4}, false, DropAction::kOpenRecordings, {avi, mp4}, {}, false},
      {{card, avi}, false, DropAction::kOpenRecordings, {avi}, {card}, false},
      {{card, card2}, false, DropAction::kOpenCard, {card}, {card2}, false},
      {{dit, txt}, false, DropAction::kNone, {}, {txt, dit}, true},
      {{dit, avi}, true, DropAction::kOpenDitFiles, {dit}, {avi}, false},
      {{txt, gone}, false, DropAction::kNone, {}, {txt, gone}, false},
      {{card}, true, DropAction::kNone, {}, {card}, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.dropped.front() + (r.dit ? " in DIT mode" : ""));
    const DropPlan plan = DropRules::Plan(r.dropped, r.dit);
    EXPECT_EQ(plan.action, r.action);
    EXPECT_EQ(plan.paths, r.opened);
    EXPECT_EQ(plan.ignored, r.ignored);
    EXPECT_EQ(plan.ditOutsideDit, r.ditOutsideDit);
  }
}

TEST(DitLayout, SpeedBitmaps) {
  for (auto [multiplier, bitmap] : {std::pair{1, 912}, {2, 916}, {4, 920}, {8, 924}, {3, 912}})
    EXPECT_EQ(DitLayout::SpeedBitmap(multiplier), bitmap) << multiplier;
}

TEST(CSamplePlayerApp, ParsesItsArguments) {
  CSamplePlayerApp::Options options;
  std::string error;
  ASSERT_TRUE(
      CSamplePlayerApp::ParseArguments({"--card", "/media/card", "a.avi", "--screenshot", "out.png",
                                        "--after", "2.5", "b.avi", "--commands", "8200,1006"},
                                       &options, &error));
  EXPECT_EQ(options.card, "/media/card");
  EXPECT_EQ(options.files, (std::vector<std::string>{"a.avi", "b.avi"}));
  EXPECT_EQ(options.screenshot, QStringLiteral("out.png"));
  EXPECT_DOUBLE_EQ(options.after, 2.5);
  EXPECT_EQ(options.commands, (std::vector<int>{8200, 1006}));
  EXPECT_FALSE(options.reportStart);
  CSamplePlayerApp::Options report;
  ASSERT_TRUE(CSamplePlayerApp::ParseArguments({"--report-start", "--card", "c"}, &report, &error));
  EXPECT_TRUE(report.reportStart);
  EXPECT_EQ(report.card, "c");
  // Refused, with the option named: arguments separated by blanks.
  for (const char* line : {"--card", "--after soon", "--after -1", "--bogus", "--commands",
                           "--commands ", "--commands 8200,", "--commands ,1006", "--commands DIT",
                           "--commands 8200;1006", "--commands -5", "--commands 99999999"}) {
    std::vector<std::string> args;
    for (const QString& arg : QString::fromUtf8(line).split(QLatin1Char(' ')))
      args.push_back(arg.toStdString());
    CSamplePlayerApp::Options o;
    EXPECT_FALSE(CSamplePlayerApp::ParseArguments(args, &o, &error)) << line;
    EXPECT_NE(error.find(args.front()), std::string::npos) << error;
  }
}

TEST(CDriveWatcher, ReadsMountPoints) {
  const std::string table =
      "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
      "25 22 0:5 / /proc rw - proc proc rw\n"
      "40 22 179:1 / /media/user/SD\\040CARD rw,nosuid shared:30 - vfat /dev/mmcblk0p1 rw\n";
  EXPECT_EQ(CDriveWatcher::MountPoints(table),
            (std::vector<std::string>{"/", "/proc", "/media/user/SD CARD"}));
  // Malformed lines are skipped; a trailing backslash does not read past the field.
  for (const char* junk : {"", "garbage\n1 2 3\n\n", "22 1 8:1 / /mnt rw no-separator-here\n"})
    EXPECT_TRUE(CDriveWatcher::MountPoints(junk).empty()) << junk;
  EXPECT_EQ(CDriveWatcher::MountPoints("1 1 0:1 / /x\\04 rw - t s rw\n"),
            std::vector<std::string>{"/x\\04"});
  const auto changes = CDriveWatcher::Compare({"/", "/a", "/b"}, {"/", "/b", "/c"});
  EXPECT_EQ(changes.added, std::vector<std::string>{"/c"});
  EXPECT_EQ(changes.removed, std::vector<std::string>{"/a"});
  // By default the system's own mount table.
  CDriveWatcher system;
  system.Start();
  EXPECT_FALSE(system.Mounts().empty());
}

TEST(ThumbnailView, NamesFitTheirCellOrEndInAnEllipsis) {
  QFont font;
  font.setPixelSize(10);
  const QFontMetrics metrics(font);
  const QString name = QStringLiteral("20261205_083004_N1.avi");
  EXPECT_EQ(CThumbnailView::ShownName(name, metrics, 1000), name);
  const int stem = metrics.horizontalAdvance(QStringLiteral("20261205_083004_N1"));
  EXPECT_EQ(CThumbnailView::ShownName(name, metrics, stem), QStringLiteral("20261205_083004_N1"));
  const QString tight = CThumbnailView::ShownName(name, metrics, stem / 2);
  EXPECT_LE(metrics.horizontalAdvance(tight), stem / 2);
  EXPECT_TRUE(tight.contains(QChar(0x2026)));
}

}  // namespace
}  // namespace lumora
