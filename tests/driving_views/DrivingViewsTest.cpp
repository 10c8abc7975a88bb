// The graph windows' arithmetic and pictures; the map's calls and its page.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "data/GSensorPlot.h"
#include "data/GraphDlgRules.h"
#include "data/MapMarkerRule.h"
#include "data/ScriptCall.h"
#include "data/qt/CGSensorDlg.h"
#include "data/qt/CGraphDlg.h"
#include "data/qt/CMapView.h"
#include "res/SkinBitmaps.h"
#include "tests/panel/PanelTrack.h"
#include "tests/support/ViewerRun.h"
#include "ui/CSkinButton.h"

namespace lumora {
namespace {

using R = GraphDlgRules;
using test::FillTrack;
using test::SampleSpec;

// Second lines from x 60: 20 px apart, 900 / seconds over 45 s; frame of 24.
TEST(GraphDlgRules, SecondLinesAndLayouts) {
  const GraphLayout l = R::Layout(false);
  auto lines = [](int count, int step) {
    std::vector<int> xs;
    for (int i = 0; i < count; ++i) xs.push_back(60 + i * step);
    return xs;
  };
  EXPECT_EQ(R::SecondLineXs(60000, l), lines(61, 15));
  EXPECT_EQ(R::SecondLineXs(20000, l), lines(20, 45));
  EXPECT_TRUE(R::SecondLineXs(0, l).empty());
  EXPECT_EQ(std::make_pair(R::PixelsPerSecond(60000, l), R::PixelsPerSecond(0, l)),
            std::make_pair(15.0, 20.0));
  EXPECT_EQ(R::GridLines(0, l).size(), 24u);
  const GraphLayout c = R::Layout(true);
  EXPECT_EQ(std::vector<int>({c.windowWidth, c.windowHeight, c.w, c.y0, c.r}),
            std::vector<int>({800, 540, 700, 460, 21}));
  EXPECT_EQ(std::vector<int>({c.buttonX, c.buttonY, l.buttonX, l.buttonY}),
            std::vector<int>({720, 470, 920, 530}));
  EXPECT_EQ(R::GridLines(0, c)[0], (GraphLine{60, 460, 760, 460, 2, 0x5B4D1C}));
  EXPECT_EQ(R::GridLines(0, c).back(), (GraphLine{60, 460 - 420, 760, 460 - 420, 2, 0x5B4D1C}));
}

TEST(GraphDlgRules, ReadoutsLabelsLegendAndModes) {
  const GraphLayout l = R::Layout(false);
  std::vector<std::string> texts;
  for (auto [mode, y, unit] : {std::tuple{0, 280, 0},
                               {0, 40, 0},
                               {0, 0, 0},
                               {0, 600, 0},
                               {1, 580, 0},
                               {1, 280, 0},
                               {2, 280, 0},
                               {2, 520, 1},
                               {2, 10, 0}}) {
    texts.push_back(R::Readout(mode, y, unit));
  }
  EXPECT_EQ(texts, std::vector<std::string>({" 0.00 G", " 2.00 G", " 2.00 G", "-2.00 G", " 0.00 G",
                                             " 1.00 G", "100 kph", "000 mph", "200 kph"}));
  const auto g = R::YLabels(0, 0, l);
  ASSERT_EQ(g.size(), 21u);
  EXPECT_EQ(g[0].text + " " + g[10].text + " " + g[20].text, "-2.00G 0.00G 2.00G");
  EXPECT_EQ(std::make_pair(g[20].left, g[20].top), std::make_pair(5, 520 - 7 - 480));
  EXPECT_EQ(R::YLabels(1, 0, l)[5].text + " " + R::YLabels(2, 0, l)[20].text + " " +
                R::YLabels(2, 1, l)[3].text,
            "0.50G 200kph 30mph");
  EXPECT_EQ(R::Legend(0, l).size(), 3u);
  EXPECT_EQ(R::Legend(1, l)[2].text + " " + R::Legend(2, l)[0].text, "Z axis Speed");
  EXPECT_EQ(std::make_pair(R::NextMode(0), R::NextMode(2)), std::make_pair(1, 0));
  EXPECT_EQ(R::ModeBitmaps(0), std::make_pair(405, 430));
  EXPECT_EQ(R::ModeBitmaps(1), std::make_pair(404, 429));
  EXPECT_EQ(R::ModeBitmaps(2), std::make_pair(406, 431));
}

// Curves: set A around y 280 at 120 px per g, set B from 520, speed from 520
// at 2.4 px per km/h up to 200 (mph v * 10 / 16).
TEST(GraphDlgRules, CurvesOfTheThreeModes) {
  const GraphLayout l = R::Layout(false);
  CDrivingTrack track;
  FillTrack(track, 10, SampleSpec{.speed = 50}, 0);
  EXPECT_TRUE(R::Curves(track, 2, 0, 0, l).empty());
  FillTrack(track, 4, SampleSpec{.ax = 1.0, .ay = -0.5, .az = 0.25, .bx = 0.5, .speed = 250}, 4000);
  const auto a = R::Curves(track, 0, 4000, 0, l);
  ASSERT_EQ(a.size(), 9u);
  EXPECT_EQ(a[0], (GraphLine{60, 280 - 120, 285, 280 - 120, 1, 0xFFFFFF}));
  EXPECT_EQ(a[1], (GraphLine{60, 280 + 60, 285, 280 + 60, 1, 0xFFFF00}));
  EXPECT_EQ(a[2], (GraphLine{60, 280 - 30, 285, 280 - 30, 1, 0x00FF00}));
  EXPECT_EQ(R::Curves(track, 1, 4000, 0, l)[0].y1, 520 - 120);
  const auto s = R::Curves(track, 2, 4000, 0, l);
  ASSERT_EQ(s.size(), 4u);
  EXPECT_EQ(s[0], (GraphLine{60, 40, 285, 40, 1, 0x00FF00}));  // 250 drawn as 200: y0 - 20 r
  EXPECT_EQ(s[3].x2, 960);
  // 250 km/h in mph is 156: 520 - trunc(374.4).
  EXPECT_EQ(R::Curves(track, 2, 4000, 1, l)[1].y2, 146);
}

// The acceleration plot: a minute in 460 x 160, 64 units (1 g) 40 px.
TEST(GSensorPlot, MinutesScaledIntoThePlot) {
  const std::vector<CGSensorData> readings = {
      {0, 0, 0, 0}, {64, -64, 128, 30000}, {10, 10, 10, 60000}, {5, 5, 5, 60001}};
  const auto lines = GSensorPlot::Make(readings);
  ASSERT_EQ(lines.x.size(), 3u);
  EXPECT_EQ(lines.x[0], (PlotPoint{0, 80}));
  EXPECT_EQ(lines.x[1], (PlotPoint{230, 40}));
  EXPECT_EQ(lines.y[1], (PlotPoint{230, 120}));
  EXPECT_EQ(lines.z[1], (PlotPoint{230, 0}));
  EXPECT_EQ(lines.x[2].x, 460);
  EXPECT_TRUE(GSensorPlot::Make({}).x.empty());
  // The second minute, for a position inside it.
  EXPECT_EQ(GSensorPlot::MinuteStart(75000), 60000u);
  EXPECT_EQ(GSensorPlot::CursorX(75000), 115);
  const auto second = GSensorPlot::Make(readings, 460, 160, 60000);
  ASSERT_EQ(second.x.size(), 2u);
  EXPECT_EQ(second.x[0], (PlotPoint{0, 74}));
  EXPECT_EQ(second.x[1].x, 0);
  // Readings from the track: 64 units per g, at most 128.
  CDrivingTrack track;
  FillTrack(track, 4, SampleSpec{.ax = 1.0, .ay = -0.5, .az = 3.0}, 40000);
  const auto read = GSensorPlot::ReadingsFrom(track, 40000);
  ASSERT_EQ(read.size(), 4u);
  EXPECT_EQ(std::vector<int>({read[0].m_nX, read[0].m_nY, read[0].m_nZ}),
            std::vector<int>({64, -32, 128}));
  EXPECT_EQ(read[1].m_uTime, 10000u);
  EXPECT_EQ(read[3].m_uTime, 30000u);
  EXPECT_TRUE(GSensorPlot::ReadingsFrom(CDrivingTrack{}, 40000).empty());
}

const QRgb kGrid = qRgb(28, 77, 91);

// Vertical grid lines crossing row y (a two-pixel border counts once).
int LinesOnRow(const QImage& image, int y) {
  int n = 0;
  for (int x = 0; x < image.width(); ++x) {
    n += image.pixel(x, y) == kGrid && (x == 0 || image.pixel(x - 1, y) != kGrid);
  }
  return n;
}

// The windows draw what the rules say: 61 second lines for 60 s, each mode's
// curve, the readout, the acceleration plot (its green is transparent).
TEST(GraphWindows, LinesCurvesReadoutAndPlot) {
  CDrivingTrack track;
  test::FillTrack(track, 10, test::SampleSpec{.ax = 1.0, .bx = 0.5, .speed = 100}, 10000);
  test::AddSentence(track, "$GPRMC,000001,A,3541.2345,N,13946.4696,E,010.0,000.0,010124,,*00", 0);
  CGraphDlg minute(&track, 60000, 0, false);
  EXPECT_EQ(minute.size(), QSize(990, 600));
  EXPECT_EQ(minute.windowTitle(), QStringLiteral("Graph"));
  EXPECT_EQ(LinesOnRow(minute.Render(), 520 - 24 * 3 - 12), 61);
  EXPECT_EQ(CGraphDlg(&track, 20000, 0, true).size(), QSize(800, 540));
  CGraphDlg dlg(&track, 10000, 0, false);
  EXPECT_EQ(dlg.ModeButton()->size(), SkinBitmap(405).size());
  // Mode 0: X at +1 g; mode 1: set B 0.5 g; mode 2: 100 km/h; then mode 0.
  const std::pair<QPoint, QRgb> shown[] = {{{500, 160}, qRgb(255, 255, 255)},
                                           {{500, 400}, qRgb(255, 255, 255)},
                                           {{500, 280}, qRgb(0, 255, 0)}};
  for (int mode = 0; mode < 3; ++mode) {
    EXPECT_EQ(dlg.Mode(), mode);
    EXPECT_EQ(dlg.Render().pixel(shown[mode].first), shown[mode].second) << mode;
    dlg.OnChangeMode();
  }
  EXPECT_EQ(dlg.Mode(), 0);
  dlg.OnMouseRow(40);
  EXPECT_EQ(dlg.ReadoutText(), QStringLiteral(" 2.00 G"));
  const auto bright = [](QRgb p) { return qGray(p) > 160; };
  EXPECT_GT(test::CountPixels(dlg.Render(), QRect(60, 10, 70, 18), bright).pixels, 15);
  CTextData text;
  CGSensorDlg plot(&text);
  EXPECT_EQ(plot.size(), QSize(521, 249));
  EXPECT_EQ(plot.Render().pixel(100, 60), qRgb(0, 0, 0));
  text.m_arrGSensor = {{64, 0, 0, 0}, {64, 0, 0, 60000}};
  EXPECT_EQ(plot.Render().pixel(46 + 200, 31 + 40), qRgb(0, 254, 0));
}

// Call texts: the name, then arguments split at blanks, commas, quotes,
// parentheses and semicolons; "javascript:" optional.
TEST(ScriptCallParser, NameAndArguments) {
  const std::pair<std::string, ScriptCall> rows[] = {
      {"javascript:DrawCurrent('139.774494', '35.684066')",
       {"DrawCurrent", {"139.774494", "35.684066"}}},
      {"javascript:  Fn (a b,c'd\"e\tf(g)h;i ,, '' )",
       {"Fn", {"a", "b", "c", "d", "e", "f", "g", "h", "i"}}},
      {"IconMarker('1.5', '2.5')", {"IconMarker", {"1.5", "2.5"}}},
      {"javascript:DeleteOverlay()", {"DeleteOverlay", {}}},
      {"javascript:Refresh", {"Refresh", {}}},
  };
  for (const auto& [text, call] : rows) {
    const auto parsed = ScriptCallParser::Parse(text);
    ASSERT_TRUE(parsed) << text;
    EXPECT_EQ(*parsed, call) << text;
  }
  EXPECT_FALSE(ScriptCallParser::Parse("").has_value());
}

// The marker: first fix at or after the position, longitude first; none for
// an invalid fix.
TEST(MapMarkerRule, FirstFixAtOrAfterThePosition) {
  CDrivingTrack track;
  EXPECT_FALSE(MapMarkerRule::ForPosition(track, 0).has_value());
  test::AddSentence(track, "$GPRMC,000001,A,3541.2345,N,13946.4696,E,010.0,000.0,010124,,*00",
                    1000);
  test::AddSentence(track, "$GPRMC,000002,V,3541.3000,N,13946.5000,E,010.0,000.0,010124,,*00",
                    2000);
  test::AddSentence(track, "$GPRMC,000003,A,3352.5000,S,15112.0000,E,020.0,000.0,010124,,*00",
                    3000);
  const auto first = MapMarkerRule::ForPosition(track, 500);
  ASSERT_TRUE(first);
  EXPECT_TRUE(first->fix.valid);
  EXPECT_EQ(first->fix.northSouth, 'N');
  EXPECT_DOUBLE_EQ(first->fix.latitude, 3541.2345);
  EXPECT_EQ(first->call, "javascript:DrawCurrent('139.774493', '35.687242')");
  const auto invalid = MapMarkerRule::ForPosition(track, 1500);
  ASSERT_TRUE(invalid);
  EXPECT_FALSE(invalid->fix.valid);
  EXPECT_TRUE(invalid->call.empty());
  const auto south = MapMarkerRule::ForPosition(track, 3000);
  ASSERT_TRUE(south);
  EXPECT_EQ(south->call, "javascript:DrawCurrent('151.200000', '-33.875000')");
  EXPECT_FALSE(MapMarkerRule::ForPosition(track, 3001).has_value());
  EXPECT_EQ(MapMarkerRule::DrawRouteCall(track),
            "javascript:DrawRoute('139.774493', '35.687242', '151.200000', '-33.875000')");
  EXPECT_EQ(MapMarkerRule::IconMarkerCall(1, 2), "javascript:IconMarker('1.000000', '2.000000')");
  EXPECT_EQ(
      MapMarkerRule::DrawCurrentCall(MapMarkerRule::kRestLongitude, MapMarkerRule::kRestLatitude),
      "javascript:DrawCurrent('139.774494', '35.684066')");
}

// The map page in Qt WebEngine; a page that cannot load fails the test. As
// root the engine runs without its sandbox, as the viewer does.
const bool kSandboxChoice = [] {
  if (::geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  return true;
}();

// Runs the event loop until `done` or `ms` pass.
template <typename Done>
bool Wait(Done done, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < ms)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

// Waits for the page started with LoadMapPage().
bool Loaded(CMapView& view) {
  return Wait([&] { return view.IsPageLoaded() || view.LoadFailed(); }, 60000) &&
         view.IsPageLoaded();
}

// Runs a call text and waits for its result.
QString Call(CMapView& view, const std::string& text, bool* hasResult = nullptr) {
  QString out;
  bool done = false;
  bool has = false;
  view.CallScript(text, [&](const QString& result, bool present) {
    out = result;
    has = present;
    done = true;
  });
  Wait([&] { return done; }, 20000);
  if (hasResult) *hasResult = has;
  return out;
}

QJsonObject State(CMapView& view) {
  return QJsonDocument::fromJson(Call(view, "javascript:MapState()").toUtf8()).object();
}
// Value i of the page's "current" or "centre" pair; -1 when there is none.
double At(CMapView& view, const char* pair, int i) {
  const QJsonArray values = State(view).value(pair).toArray();
  return i < values.size() ? values[i].toDouble() : -1;
}
qsizetype Markers(CMapView& view) { return State(view).value("markers").toArray().size(); }

TEST(MapPage, CallsRouteAndMarker) {
  CDrivingTrack track;
  const char* const fixes[] = {"$GPRMC,000001,A,3541.2345,N,13946.4696,E,010.0,000.0,010124,,*00",
                               "$GPRMC,000002,A,3541.3345,N,13946.5696,E,010.0,000.0,010124,,*00",
                               "$GPRMC,000003,V,3541.4345,N,13946.6696,E,010.0,000.0,010124,,*00"};
  for (int i = 0; i < 3; ++i) test::AddSentence(track, fixes[i], 1000 * (i + 1));
  CMapView view(&track);
  view.LoadMapPage();
  // A call made before the page has loaded waits for it.
  view.CallScript(MapMarkerRule::IconMarkerCall(139.5, 35.5));
  ASSERT_TRUE(Loaded(view)) << "Qt WebEngine cannot load the map page";
  EXPECT_EQ(Markers(view), 1);
  Call(view, MapMarkerRule::DeleteOverlayCall());
  EXPECT_EQ(Markers(view), 0);
  // Longitude first; the page centres on the marker.
  Call(view, MapMarkerRule::DrawCurrentCall(139.774494, 35.684066));
  EXPECT_DOUBLE_EQ(At(view, "current", 0), 139.774494);
  EXPECT_DOUBLE_EQ(At(view, "current", 1), 35.684066);
  EXPECT_NEAR(At(view, "centre", 0), 139.774494, 1e-4);
  // Without the "javascript:" prefix, and with other separators.
  Call(view, "IconMarker('139.71', '35.61')");
  Call(view, "javascript:IconMarker(\"139.72\";\"35.62\")");
  const QJsonArray markers = State(view).value("markers").toArray();
  ASSERT_EQ(markers.size(), 2);
  EXPECT_DOUBLE_EQ(markers[0].toArray()[0].toDouble(), 139.71);
  EXPECT_DOUBLE_EQ(markers[1].toArray()[1].toDouble(), 35.62);
  // Unknown functions are ignored; script-like arguments stay plain strings.
  bool has = true;
  Call(view, "javascript:NoSuchFunction('1', '2')", &has);
  EXPECT_FALSE(has);
  Call(view, "javascript:IconMarker('139.7', 'alert(1)')");
  EXPECT_EQ(Markers(view), 2);
  // Arguments arrive unchanged (backslashes, UTF-8); the result comes back.
  EXPECT_EQ(Call(view, "javascript:String(a\\b</x>\xec\xa7\x80)", &has),
            QString::fromUtf8("a\\b</x>\xec\xa7\x80"));
  EXPECT_TRUE(has);
  // The recording's route (valid fixes only) and the marker of a position.
  view.ShowRoute();
  view.MarkPosition(1500);
  EXPECT_TRUE(view.LastFix().valid);
  EXPECT_DOUBLE_EQ(view.LastFix().latitude, 3541.3345);
  EXPECT_EQ(State(view).value("route").toInt(), 2);
  EXPECT_NEAR(At(view, "current", 1), 35 + 41.3345 / 60, 1e-6);
  // An invalid fix moves nothing but is remembered as invalid.
  view.MarkPosition(2500);
  EXPECT_FALSE(view.LastFix().valid);
  EXPECT_NEAR(At(view, "current", 1), 35 + 41.3345 / 60, 1e-6);
  // Past the last fix: no call at all.
  const std::size_t calls = view.CallLog().size();
  view.MarkPosition(5000);
  EXPECT_EQ(view.CallLog().size(), calls);
  // The next recording (here without GPS) starts without the last position.
  view.MarkPosition(1500);
  track.BeginLoad();
  view.ShowRoute();
  EXPECT_FALSE(view.LastFix().valid);
  EXPECT_EQ(view.LastFix().latitude, 0.0);
}

}  // namespace
}  // namespace lumora
