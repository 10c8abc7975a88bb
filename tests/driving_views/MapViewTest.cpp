// The map page in Qt WebEngine (offscreen): calls reach the page's functions
// with their string arguments, the page reports what it shows.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QWebEngineView>

#include "data/MapMarkerRule.h"
#include "data/qt/CMapView.h"
#include "tests/panel/PanelTrack.h"

#include <unistd.h>

namespace lumora {
namespace {

// The browser engine refuses to start its sandbox as root; as the viewer
// does, run without it then. Set before the engine first starts.
const bool kSandboxChoice = [] {
  if (::geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  return true;
}();

// Waits for the page; false when the browser engine cannot load it here.
bool LoadPage(CMapView& view) {
  view.resize(326, 353);
  view.show();
  view.LoadMapPage();
  QElapsedTimer timer;
  timer.start();
  while (!view.IsPageLoaded() && !view.LoadFailed() && timer.elapsed() < 60000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  return view.IsPageLoaded();
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
  QElapsedTimer timer;
  timer.start();
  while (!done && timer.elapsed() < 20000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  if (hasResult) *hasResult = has;
  return out;
}

QJsonObject State(CMapView& view) {
  return QJsonDocument::fromJson(Call(view, "javascript:MapState()").toUtf8()).object();
}

// A page that cannot load fails the test: a map test must not pass unseen.
#define REQUIRE_PAGE(view) ASSERT_TRUE(LoadPage(view)) << "Qt WebEngine cannot load the map page"

TEST(MapPage, MarkersAfterDrawCurrentIconMarkersAndDeleteOverlay) {
  CDrivingTrack track;
  CMapView view(&track);
  REQUIRE_PAGE(view);
  Call(view,
       MapMarkerRule::DrawCurrentCall(MapMarkerRule::kRestLongitude, MapMarkerRule::kRestLatitude));
  QJsonObject state = State(view);
  ASSERT_TRUE(state.value("current").isArray());
  EXPECT_DOUBLE_EQ(state.value("current").toArray()[0].toDouble(), 139.774494);
  EXPECT_DOUBLE_EQ(state.value("current").toArray()[1].toDouble(), 35.684066);
  EXPECT_NEAR(state.value("centre").toArray()[0].toDouble(), 139.774494, 1e-4);

  Call(view, MapMarkerRule::IconMarkerCall(139.70, 35.60));
  Call(view, "IconMarker('139.71', '35.61')");  // no "javascript:" prefix
  Call(view, "javascript:IconMarker(\"139.72\";\"35.62\")");
  state = State(view);
  const QJsonArray markers = state.value("markers").toArray();
  ASSERT_EQ(markers.size(), 3);
  EXPECT_DOUBLE_EQ(markers[1].toArray()[0].toDouble(), 139.71);
  EXPECT_DOUBLE_EQ(markers[2].toArray()[1].toDouble(), 35.62);

  Call(view, MapMarkerRule::DeleteOverlayCall());
  state = State(view);
  EXPECT_EQ(state.value("markers").toArray().size(), 0);
  EXPECT_DOUBLE_EQ(state.value("current").toArray()[0].toDouble(), 139.774494);
}

TEST(MapPage, UnknownFunctionIsIgnoredAndArgumentsStayStrings) {
  CDrivingTrack track;
  CMapView view(&track);
  REQUIRE_PAGE(view);
  bool has = true;
  Call(view, "javascript:NoSuchFunction('1', '2')", &has);
  EXPECT_FALSE(has);
  // An argument that looks like script is passed as a plain string.
  Call(view, "javascript:IconMarker('139.7', 'alert(1)')");
  EXPECT_EQ(State(view).value("markers").toArray().size(), 0);
  // Arguments arrive as the same text, backslashes and UTF-8 included; the
  // function's returned string comes back.
  EXPECT_EQ(Call(view, "javascript:String(a\\b</x>\xec\xa7\x80)", &has),
            QString::fromUtf8("a\\b</x>\xec\xa7\x80"));
  EXPECT_TRUE(has);
}

TEST(MapPage, RouteOfTheRecordingAndMarkerForThePosition) {
  CDrivingTrack track;
  test::AddSentence(track, "$GPRMC,000001,A,3541.2345,N,13946.4696,E,010.0,000.0,010124,,*00",
                    1000);
  test::AddSentence(track, "$GPRMC,000002,A,3541.3345,N,13946.5696,E,010.0,000.0,010124,,*00",
                    2000);
  test::AddSentence(track, "$GPRMC,000003,V,3541.4345,N,13946.6696,E,010.0,000.0,010124,,*00",
                    3000);
  CMapView view(&track);
  REQUIRE_PAGE(view);
  view.ShowRoute();
  view.MarkPosition(1500);
  EXPECT_TRUE(view.LastFix().valid);
  EXPECT_DOUBLE_EQ(view.LastFix().latitude, 3541.3345);
  QJsonObject state = State(view);
  EXPECT_EQ(state.value("route").toInt(), 2);
  EXPECT_NEAR(state.value("current").toArray()[1].toDouble(), 35 + 41.3345 / 60, 1e-6);
  // An invalid fix moves nothing but is remembered as invalid.
  view.MarkPosition(2500);
  EXPECT_FALSE(view.LastFix().valid);
  EXPECT_NEAR(State(view).value("current").toArray()[1].toDouble(), 35 + 41.3345 / 60, 1e-6);
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

TEST(MapPage, CallsBeforeThePageHasLoadedWaitForIt) {
  CDrivingTrack track;
  CMapView view(&track);
  view.resize(326, 353);
  view.LoadMapPage();
  view.CallScript(MapMarkerRule::IconMarkerCall(139.5, 35.5));
  QElapsedTimer timer;
  timer.start();
  while (!view.IsPageLoaded() && !view.LoadFailed() && timer.elapsed() < 60000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  ASSERT_TRUE(view.IsPageLoaded()) << "Qt WebEngine cannot load the map page";
  EXPECT_EQ(State(view).value("markers").toArray().size(), 1);
}

}  // namespace
}  // namespace lumora
