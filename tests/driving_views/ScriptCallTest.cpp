// The map's call texts: parsing, quoting and the marker rule.
#include <gtest/gtest.h>

#include "data/MapMarkerRule.h"
#include "data/ScriptCall.h"
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

}  // namespace
}  // namespace lumora
