// Track export: GPX read back with libxml2 (a document that is not
// well-formed does not parse), KML, JSON and CSV, and the time range.

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <memory>
#include <sstream>
#include <string>

#include "tools/cli/export/CTrackExport.h"

namespace lumora {
namespace {

void Feed(CDrivingTrack& t, const std::string& text, std::uint32_t cts) {
  t.DecodeUserData(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), cts);
}

// Five fixes (valid, void, south-west, empty, off the map) and two G samples
// (the second without a time) over 4 s.
CDrivingTrack MakeTrack() {
  CDrivingTrack t;
  Feed(t, "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A", 0);
  Feed(t, "$GPRMC,123520,V,,,,,,,230394,,*00", 1000);
  Feed(t, "$GNRMC,235959,A,3352.1234,S,15112.5000,W,1.0,359.9,311299,,*00", 2000);
  Feed(t, "$GPRMC,,,,,,,,,,,", 3000);
  Feed(t, "$GPRMC,000001,A,9999.000,N,01131.000,E,0,0,230394,,*00", 4000);
  // Y = 1 g in bytes 1-2, a time 07:08:09 in bytes 13-18, speed 88 in byte 19.
  std::vector<std::uint8_t> g = {'M', 0, 0x0C, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 7, 8, 9, 88};
  g.resize(61);
  t.DecodeUserData(g.data(), g.size(), 0);
  g[13] = 0;
  t.DecodeUserData(g.data(), g.size(), 0);
  t.SetDuration(4000);
  return t;
}

using Doc = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;

Doc Parse(const std::string& xml) {
  return Doc(
      xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "t.gpx", nullptr, XML_PARSE_NONET),
      xmlFreeDoc);
}

// The texts an XPath selects, with the GPX namespaces bound to "g" and "x".
std::vector<std::string> Select(xmlDoc* doc, const char* path) {
  std::vector<std::string> out;
  xmlXPathContext* ctx = xmlXPathNewContext(doc);
  xmlXPathRegisterNs(ctx, BAD_CAST "g", BAD_CAST "http://www.topografix.com/GPX/1/1");
  xmlXPathRegisterNs(ctx, BAD_CAST "x",
                     BAD_CAST "http://www.garmin.com/xmlschemas/TrackPointExtension/v2");
  xmlXPathObject* obj = xmlXPathEvalExpression(BAD_CAST path, ctx);
  for (int i = 0; obj != nullptr && obj->nodesetval != nullptr && i < obj->nodesetval->nodeNr;
       ++i) {
    xmlChar* s = xmlNodeGetContent(obj->nodesetval->nodeTab[i]);
    out.emplace_back(s != nullptr ? reinterpret_cast<const char*>(s) : "");
    xmlFree(s);
  }
  xmlXPathFreeObject(obj);
  xmlXPathFreeContext(ctx);
  return out;
}

std::size_t Count(const std::string& text, const std::string& tag) {
  std::size_t n = 0;
  for (auto at = text.find(tag); at != std::string::npos; at = text.find(tag, at + 1)) ++n;
  return n;
}

TEST(TrackExport, GpxHasOneSegmentOfTheMappableFixes) {
  const Doc doc = Parse(CTrackExport::ToGpx(MakeTrack(), "20150102_030405_N1 <&> \"x\""));
  ASSERT_NE(doc, nullptr);
  using V = std::vector<std::string>;
  EXPECT_EQ(Select(doc.get(), "/g:gpx/@version"), V{"1.1"});
  EXPECT_EQ(Select(doc.get(), "/g:gpx/g:trk/g:name"), V{"20150102_030405_N1 <&> \"x\""});
  EXPECT_EQ(Select(doc.get(), "/g:gpx/g:trk/g:trkseg").size(), 1u);
  EXPECT_EQ(Select(doc.get(), "//g:trkpt/@*"),  // lat and lon of each point
            (V{"48.117300000", "11.516666667", "-33.868723333", "-151.208333333"}));
  EXPECT_EQ(Select(doc.get(), "//g:trkpt/g:time"),
            (V{"1994-03-23T12:35:19Z", "1999-12-31T23:59:59Z"}));
  EXPECT_EQ(Select(doc.get(), "//x:TrackPointExtension/x:speed"), (V{"11.524", "0.514"}));  // m/s
  EXPECT_EQ(Select(doc.get(), "//x:TrackPointExtension/x:course"), (V{"84.40", "359.90"}));
  // Control bytes and broken UTF-8 in the name still give a well-formed file;
  // an empty track gives an empty segment.
  EXPECT_NE(Parse(CTrackExport::ToGpx(MakeTrack(), "bad\x01\xff\xc3name")), nullptr);
  const Doc empty = Parse(CTrackExport::ToGpx(CDrivingTrack(), "x"));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(Select(empty.get(), "//g:trkseg").size(), 1u);
  EXPECT_TRUE(Select(empty.get(), "//g:trkpt").empty());
}

TEST(TrackExport, KmlJsonAndCsv) {
  const CDrivingTrack t = MakeTrack();
  const std::string kml = CTrackExport::ToKml(t, "n");
  EXPECT_EQ(Count(kml, "<when>"), 2u);
  EXPECT_EQ(Count(kml, "<gx:coord>"), 2u);
  EXPECT_NE(kml.find("<when>1994-03-23T12:35:19Z</when>"), std::string::npos);
  EXPECT_NE(kml.find("<gx:coord>11.516666667 48.117300000 0</gx:coord>"), std::string::npos);
  EXPECT_NE(kml.find("<gx:value>41.4848</gx:value>"), std::string::npos);

  const auto j = CTrackExport::ToJson(t);
  ASSERT_EQ(j["gps"].size(), 5u);
  // Dates and times as text, null when the sentence had none (the values
  // of the fixes are compared with a generated card by the command tests).
  EXPECT_EQ(j["gps"][0]["date"], "1994-03-23");
  EXPECT_EQ(j["gps"][0]["time"], "12:35:19");
  EXPECT_TRUE(j["gps"][3]["date"].is_null());
  EXPECT_TRUE(j["gps"][3]["time"].is_null());
  ASSERT_EQ(j["gsensor"].size(), 2u);
  EXPECT_EQ(j["gsensor"][0]["time"], "07:08:09");
  EXPECT_TRUE(j["gsensor"][1]["time"].is_null());
  ASSERT_EQ(j["gsensor"][0]["adas"].size(), 21u);
  EXPECT_EQ(j["gsensor"][0]["adas"][0], 88);
  EXPECT_EQ(j["slots"], 0);  // two samples are too few to resample

  std::istringstream in(CTrackExport::ToCsv(t));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "cts,valid,lat,lon,lat_deg,lon_deg,speed_kmh,course,date,time");
  EXPECT_EQ(lines[1],
            "0,1,4807.038000,1131.000000,48.117300000,11.516666667,41.4848,84.40,1994-03-23,"
            "12:35:19");
  EXPECT_EQ(lines[4].substr(0, 7), "3000,0,");
  EXPECT_EQ(lines[4].substr(lines[4].size() - 2), ",,");
}

// 1 s to 3 s keeps the fixes stamped 1000 to 3000 ms (one of them mappable)
// and the second G sample (at 2 s of 4) in every format.
TEST(TrackExport, RangeKeepsWhatLiesInsideInEveryFormat) {
  const CDrivingTrack t = MakeTrack();
  const TrackRange range{1000, 3000};
  const auto j = CTrackExport::ToJson(t, range);
  ASSERT_EQ(j["gps"].size(), 3u);
  EXPECT_EQ(j["gps"][0]["cts"], 1000);
  ASSERT_EQ(j["gsensor"].size(), 1u);
  EXPECT_EQ(j["gsensor"][0]["index"], 1);
  EXPECT_EQ(Count(CTrackExport::ToCsv(t, range), "\n"), 4u);
  EXPECT_EQ(Count(CTrackExport::ToGpx(t, "n", range), "<trkpt "), 1u);
  const std::string kml = CTrackExport::ToKml(t, "n", range);
  EXPECT_EQ(Count(kml, "<gx:coord>"), 1u);
  EXPECT_EQ(kml.find("12:35:19"), std::string::npos);
}

}  // namespace
}  // namespace lumora
