// The map: call texts and the marker rule, then the page in Qt WebEngine
// (offscreen): calls reach the page's functions with their string arguments,
// the page reports what it shows. A page that cannot load fails the test: a
// map test must not pass unseen.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "data/MapMarkerRule.h"
#include "data/ScriptCall.h"
#include "data/qt/CMapView.h"
#include "tests/panel/PanelTrack.h"

namespace lumora {
namespace {

// The name, then the arguments split at every blank, comma, quote,
// parenthesis and semicolon; the prefix "javascript:" is optional.
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
  // The script looks the function up by name and passes quoted strings.
  const std::string js = ScriptCallParser::ToJavaScript({"DrawCurrent", {"1", "2"}});
  EXPECT_NE(js.find("window[\"DrawCurrent\"]"), std::string::npos);
  EXPECT_NE(js.find("[\"1\",\"2\"]"), std::string::npos);
  EXPECT_NE(js.find("typeof f!=='function'"), std::string::npos);
  EXPECT_EQ(ScriptCallParser::Quote("a\"b\\c\n</script>"), "\"a\\\"b\\\\c\\n\\x3c/script\\x3e\"");
}

// The marker follows the first fix at or after the position: longitude
// first, six decimals, south and west negative; no call for an invalid fix.
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

// The browser engine refuses to start its sandbox as root; as the viewer
// does, run without it then. Set before the engine first starts.
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

// Starts loading the page; Loaded() waits for it.
void Load(CMapView& view) {
  view.resize(326, 353);
  view.show();
  view.LoadMapPage();
}
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
double Current(CMapView& view, int i) {
  return State(view).value("current").toArray()[i].toDouble();
}
qsizetype Markers(CMapView& view) { return State(view).value("markers").toArray().size(); }

TEST(MapPage, CallsReachThePageFunctionsWithStringArguments) {
  CDrivingTrack track;
  CMapView view(&track);
  Load(view);
  // A call made before the page has loaded waits for it.
  view.CallScript(MapMarkerRule::IconMarkerCall(139.5, 35.5));
  ASSERT_TRUE(Loaded(view)) << "Qt WebEngine cannot load the map page";
  EXPECT_EQ(Markers(view), 1);
  Call(view, MapMarkerRule::DeleteOverlayCall());
  EXPECT_EQ(Markers(view), 0);
  // Longitude first; the page centres on the marker.
  Call(view, MapMarkerRule::DrawCurrentCall(139.774494, 35.684066));
  EXPECT_DOUBLE_EQ(Current(view, 0), 139.774494);
  EXPECT_DOUBLE_EQ(Current(view, 1), 35.684066);
  EXPECT_NEAR(State(view).value("centre").toArray()[0].toDouble(), 139.774494, 1e-4);
  // Without the "javascript:" prefix, and with other separators.
  Call(view, "IconMarker('139.71', '35.61')");
  Call(view, "javascript:IconMarker(\"139.72\";\"35.62\")");
  const QJsonArray markers = State(view).value("markers").toArray();
  ASSERT_EQ(markers.size(), 2);
  EXPECT_DOUBLE_EQ(markers[0].toArray()[0].toDouble(), 139.71);
  EXPECT_DOUBLE_EQ(markers[1].toArray()[1].toDouble(), 35.62);
  // An unknown function is ignored; an argument that looks like script is
  // passed as a plain string (and is no coordinate).
  bool has = true;
  Call(view, "javascript:NoSuchFunction('1', '2')", &has);
  EXPECT_FALSE(has);
  Call(view, "javascript:IconMarker('139.7', 'alert(1)')");
  EXPECT_EQ(Markers(view), 2);
  // Arguments arrive as the same text, backslashes and UTF-8 included; the
  // function's returned string comes back.
  EXPECT_EQ(Call(view, "javascript:String(a\\b</x>\xec\xa7\x80)", &has),
            QString::fromUtf8("a\\b</x>\xec\xa7\x80"));
  EXPECT_TRUE(has);
}

TEST(MapPage, RouteOfTheRecordingAndMarkerForThePosition) {
  CDrivingTrack track;
  const char* const fixes[] = {"$GPRMC,000001,A,3541.2345,N,13946.4696,E,010.0,000.0,010124,,*00",
                               "$GPRMC,000002,A,3541.3345,N,13946.5696,E,010.0,000.0,010124,,*00",
                               "$GPRMC,000003,V,3541.4345,N,13946.6696,E,010.0,000.0,010124,,*00"};
  for (int i = 0; i < 3; ++i) test::AddSentence(track, fixes[i], 1000 * (i + 1));
  CMapView view(&track);
  Load(view);
  ASSERT_TRUE(Loaded(view)) << "Qt WebEngine cannot load the map page";
  view.ShowRoute();
  view.MarkPosition(1500);
  EXPECT_TRUE(view.LastFix().valid);
  EXPECT_DOUBLE_EQ(view.LastFix().latitude, 3541.3345);
  EXPECT_EQ(State(view).value("route").toInt(), 2);
  EXPECT_NEAR(Current(view, 1), 35 + 41.3345 / 60, 1e-6);
  // An invalid fix moves nothing but is remembered as invalid.
  view.MarkPosition(2500);
  EXPECT_FALSE(view.LastFix().valid);
  EXPECT_NEAR(Current(view, 1), 35 + 41.3345 / 60, 1e-6);
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
