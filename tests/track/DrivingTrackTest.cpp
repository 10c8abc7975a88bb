// The driving-data track: G-sensor records, RMC sentences, the heading table,
// the resampled G curve and the record loader.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "data/CDrivingTrack.h"

namespace lumora {
namespace {

// A 61-byte G-sensor record: kind, set A (Y, Z, X), set B, six time bytes,
// 21 ADAS words, all little-endian.
std::vector<std::uint8_t> GRecord(std::vector<std::int16_t> words, char kind = 'M') {
  std::vector<std::uint8_t> out(61, 0);
  out[0] = static_cast<std::uint8_t>(kind);
  for (std::size_t i = 0; i < words.size(); ++i) {
    out[1 + 2 * i] = static_cast<std::uint8_t>(words[i] & 0xFF);
    out[2 + 2 * i] = static_cast<std::uint8_t>((words[i] >> 8) & 0xFF);
  }
  return out;
}

void Feed(CDrivingTrack& t, const std::vector<std::uint8_t>& bytes, std::uint32_t cts = 0) {
  EXPECT_EQ(t.DecodeUserData(bytes.data(), bytes.size(), cts), 0);
}

void Feed(CDrivingTrack& t, const std::string& text, std::uint32_t cts = 0) {
  Feed(t, std::vector<std::uint8_t>(text.begin(), text.end()), cts);
}

// An RMC sentence at ddmm.mmmm / dddmm.mmmm positions, negative south / west.
std::string Rmc(double lat, double lon) {
  char buf[128];
  std::snprintf(buf, sizeof buf, "$GPRMC,120000,A,%.4f,%c,%.4f,%c,10.0,90.0,010120,,*00",
                std::fabs(lat), lat < 0 ? 'S' : 'N', std::fabs(lon), lon < 0 ? 'W' : 'E');
  return buf;
}

TEST(DrivingTrack, GSensorRecordsAreScaledAndKept) {
  CDrivingTrack t;
  // Set A 2048 + 1024 per g, set B 1024 per g; the time bytes are signed.
  auto bytes = GRecord({2048, 3072, 1024, 1024, -1024, 512, 0x0001, 0x0D00, -2 * 256 + 45});
  for (int i = 0; i < 21; ++i) {
    bytes[19 + 2 * i] = static_cast<std::uint8_t>(i);
    bytes[20 + 2 * i] = 0x80;
  }
  Feed(t, bytes);
  Feed(t, GRecord({2048, 2048, 3072}, 'A'));            // kind A is decoded like M
  Feed(t, std::vector<std::uint8_t>{'M', 0x00, 0x0C});  // short: the rest reads as zeros
  for (const std::string other : {"m-record", "hello", ""}) Feed(t, other);
  EXPECT_EQ(t.DecodeUserData(nullptr, 10, 0), 0);
  ASSERT_EQ(t.GetGSampleCount(), 3);
  EXPECT_TRUE(t.HasGSensor());
  const GSensorSample* s = t.GetSample(0);
  EXPECT_EQ((std::vector<double>{s->ay, s->az, s->ax, s->by, s->bz, s->bx}),
            (std::vector<double>{0.0, 1.0, -1.0, 1.0, -1.0, 0.5}));
  EXPECT_EQ((std::vector<int>(s->time, s->time + 6)), (std::vector<int>{1, 0, 0, 13, 45, -2}));
  EXPECT_EQ(t.GetAdas(0)->words[0], 0x8000);
  EXPECT_EQ(t.GetAdas(0)->words[20], 0x8014);
  EXPECT_EQ(t.GetSample(1)->ax, 1.0);
  EXPECT_EQ(t.GetSample(2)->ay, 1.0);
  EXPECT_EQ(t.GetSample(2)->az, -2.0);
  EXPECT_EQ(t.GetSample(3), nullptr);
  EXPECT_EQ(t.GetAdas(-1), nullptr);
  // The table keeps the first 18000 samples; opening a recording empties it.
  for (int i = 3; i < 18100; ++i) Feed(t, GRecord({static_cast<std::int16_t>(i)}));
  EXPECT_EQ(t.GetGSampleCount(), 18000);
  EXPECT_EQ(t.GetSample(17999)->ay, (17999 - 2048) / 1024.0);
  EXPECT_EQ(t.GetAdas(18000), nullptr);
  t.BeginLoad();
  EXPECT_EQ(t.GetGSampleCount(), 0);
  EXPECT_FALSE(t.HasGSensor());
}

TEST(DrivingTrack, OnlyRmcSentencesOfAnyTalkerBecomeFixes) {
  CDrivingTrack t;
  const std::string body = ",123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A";
  std::string cut = "$GPRMC,123519,A,4807.038,N";
  cut.push_back('\0');  // the sentence ends at the first zero byte
  cut += ",01131.000,E";
  // Accepted by the sentence type at bytes 3-5 (RMC) after a '$'.
  const std::string lines[] = {
      "$GPRMC" + body, "$GNRMC" + body, "$GLRMC" + body,  cut,  "$GPGGA" + body, "$GPVTG" + body,
      "$GPRMB" + body, "GPRMC" + body,  "r$GPRMC" + body, "$GP"};
  std::uint32_t cts = 0;
  for (const std::string& line : lines) Feed(t, line, ++cts);
  const auto& fixes = t.TextData().m_arrGPS;
  ASSERT_EQ(fixes.size(), 4u);
  for (std::uint32_t i = 0; i < 4; ++i) EXPECT_EQ(fixes[i].m_uCts, i + 1);
  EXPECT_EQ(fixes[3].m_dLongitude, 0.0);
  EXPECT_EQ(t.TextData().m_nSentenceCount, 4);
  EXPECT_EQ(t.TextData().m_nHeadingIndex, 4);
  EXPECT_FALSE(t.HasGSensor());
  // Lookup by time stamp: the first fix at or after the position.
  EXPECT_EQ(t.FindFix(0)->m_uCts, 1u);
  EXPECT_EQ(t.FindFix(2)->m_uCts, 2u);
  EXPECT_EQ(t.FindFix(5), nullptr);
}

// Metres of a position as an independent formula: degrees and minutes.
double Metres(double nmea, double perDegree) {
  const double v = std::fabs(nmea);
  return std::copysign(perDegree * (std::floor(v / 100) + std::fmod(v, 100) / 60), nmea);
}

TEST(DrivingTrack, HeadingIsAVectorOfLength23TowardsTheLastStep) {
  struct Step {
    double lat, lon;
    int dx, dy;
  };
  // One minute north is 1842.67 m, one minute east 1413.33 m: a diagonal of
  // length 23 is (23 cos a, 23 sin a) with tan a = 1842.67 / 1413.33, (13.99, 18.25).
  const std::vector<Step> routes[] = {
      {{3500, 13500, 0, 0},
       {3500, 13501, 23, 0},     // east
       {3501, 13501, 0, 23},     // north
       {3501, 13501, 0, 23},     // no move: the last vector again
       {3500, 13501, 0, -23},    // south
       {3500, 13500, -23, 0},    // west
       {3501, 13501, 13, 18},    // north-east
       {3500, 13500, -13, -18},  // south-west
       {0, 0, 0, 0}},            // no position
      {{-3300, -7000, 0, 0},
       {-3300, -7001, -23, 0},  // further west
       {-3301, -7001, 0, -23}}  // further south
  };
  for (const auto& route : routes) {
    CDrivingTrack t;
    for (std::size_t i = 0; i < route.size(); ++i) {
      const Step& s = route[i];
      SCOPED_TRACE(::testing::Message() << s.lat << " " << s.lon);
      Feed(t, Rmc(s.lat, s.lon), static_cast<std::uint32_t>(1000 * i));
      const HeadingEntry& e = t.GetHeadingEntry(i);
      EXPECT_EQ(e.dx, s.dx);
      EXPECT_EQ(e.dy, s.dy);
      EXPECT_NEAR(e.north, Metres(s.lat, 110560.0), 1e-5);
      EXPECT_NEAR(e.east, Metres(s.lon, 84800.0), 1e-5);
    }
    // Lookup by whole seconds of play position.
    EXPECT_EQ(t.GetHeading(1999), &t.GetHeadingEntry(1));
    EXPECT_EQ(t.GetHeading(-1), nullptr);
    EXPECT_EQ(t.GetHeading(2000 * 1000), nullptr);
  }
  // A full table keeps its entries; the restart signal brings it back.
  CDrivingTrack t;
  for (int i = 0; i < 2500; ++i) Feed(t, Rmc(3500.0 + i * 0.001, 13500.0));
  EXPECT_EQ(t.TextData().m_arrGPS.size(), 2500u);
  EXPECT_EQ(t.TextData().m_nHeadingIndex, static_cast<int>(kHeadingCapacity));
  EXPECT_EQ(t.GetHeadingEntry(kHeadingCapacity - 1).dy, 23);
  EXPECT_NEAR(t.GetHeadingEntry(kHeadingCapacity - 1).north,
              110560.0 * (35.0 + 1999 * 0.001 / 60.0), 1e-3);
  // The signal takes effect after the next sentence, which still lands in
  // the old place; the one after it starts the table again without a vector.
  t.SetRestartSignal();
  EXPECT_TRUE(t.GetRestartSignal());
  Feed(t, Rmc(3600.0, 13500.0));
  EXPECT_FALSE(t.GetRestartSignal());
  EXPECT_EQ(t.TextData().m_nHeadingIndex, 0);
  Feed(t, Rmc(3601.0, 13500.0));
  EXPECT_NEAR(t.GetHeadingEntry(0).north, 110560.0 * (36 + 1 / 60.0), 1e-6);
  EXPECT_EQ(t.GetHeadingEntry(0).dy, 0);
  EXPECT_EQ(t.TextData().m_nHeadingIndex, 1);
  // Opening a recording keeps the heading index.
  t.BeginLoad();
  EXPECT_EQ(t.TextData().m_nHeadingIndex, 1);
  EXPECT_TRUE(t.TextData().m_arrGPS.empty());
}

// Samples of X = f(i) g (exact in the 1/1024 g coding) and a wobbling Y.
void AddSamples(CDrivingTrack& t, int n, double (*f)(int)) {
  for (int i = 0; i < n; ++i) {
    const auto x = static_cast<std::int16_t>(std::lround(2048 + f(i) * 1024));
    Feed(t, GRecord({static_cast<std::int16_t>(2048 + i % 7), 2048, x}));
  }
}

double Ramp(int i) { return i / 256.0; }
double Parabola(int i) { return (i - 25) * (i - 25) / 1024.0; }

TEST(DrivingTrack, ResampledCurveFollowsTheSamples) {
  // 600 samples over 60 s: 50 slots a second, sample i whole in slot 5 i.
  CDrivingTrack t;
  AddSamples(t, 600, Ramp);
  t.SetDuration(60000);
  t.ResampleGSensor();
  EXPECT_EQ(t.GetSlotCount(), 2995u);
  for (int i : {0, 1, 100, 598}) {
    EXPECT_EQ(t.GetResampled(static_cast<std::uint32_t>(5 * i))->ax, Ramp(i)) << i;
    EXPECT_EQ(t.GetResampled(static_cast<std::uint32_t>(5 * i))->ay, (i % 7) / 1024.0) << i;
  }
  EXPECT_NEAR(t.GetResampled(2994)->ax, Ramp(598) + 0.8 / 256.0, 1e-9);  // the last stretch
  EXPECT_EQ(t.GetResampled(2995)->ax, 0.0);
  EXPECT_EQ(t.GetResampled(502)->bx, 0.0);  // only set A is interpolated
  struct Lookup {
    std::int64_t position, duration;
    std::uint32_t slot;
    int sample;
  };
  for (const Lookup& l :
       {Lookup{0, 60000, 0, 0}, Lookup{30000, 60000, 1497, 300}, Lookup{59999, 60000, 2994, 599},
        Lookup{90000, 60000, 2994, 599}, Lookup{1000, 0, 20, -1}, Lookup{1000, -5, 20, -1}}) {
    SCOPED_TRACE(::testing::Message() << l.position << " of " << l.duration);
    EXPECT_EQ(t.GetResampledSlot(l.position, l.duration), l.slot);
    EXPECT_EQ(t.GetSampleIndex(l.position, l.duration), l.sample);
  }
  // Between samples of a parabola every slot lies on the same parabola.
  CDrivingTrack p;
  AddSamples(p, 50, Parabola);
  p.SetDuration(10000);  // 500 slots, step 10
  p.ResampleGSensor();
  ASSERT_EQ(p.GetSlotCount(), 490u);
  for (std::uint32_t s = 0; s < 490; ++s) {
    const double at = s / 10.0 - 25.0;
    EXPECT_NEAR(p.GetResampled(s)->ax, at * at / 1024.0, 1e-9) << s;
  }
}

TEST(DrivingTrack, ResampleLimits) {
  struct Row {
    int samples;
    std::int64_t duration;
    std::uint32_t slots;
  };
  const Row rows[] = {
      {2, 60000, 0},          // too few samples
      {10, 0, 0},             // no duration
      {10, -1000, 0},         // negative duration
      {10, 100, 4},           // more samples than slots
      {7200, 720000, 17997},  // 36000 slots squeezed into 18000: step 2.5
      {3000, 300000, 14995},
      {10, 2000000000, 16200},  // a slot count past 32 bits is clamped too
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.samples << " samples, " << row.duration << " ms");
    CDrivingTrack t;
    AddSamples(t, row.samples, Ramp);
    t.SetDuration(row.duration);
    t.ResampleGSensor();
    EXPECT_EQ(t.GetSlotCount(), row.slots);
    if (row.slots == 0) {
      EXPECT_EQ(t.GetResampledSlot(30000, 60000), 0u);
    }
    if (row.duration < 300000) continue;
    // Lookups past four minutes do not wrap (a 32-bit count * position would).
    EXPECT_EQ(t.GetResampledSlot(row.duration, row.duration), row.slots - 1);
    EXPECT_EQ(t.GetResampledSlot(row.duration / 2, row.duration), row.slots / 2);
    const std::int64_t late = row.duration * 29 / 30;
    EXPECT_EQ(t.GetResampledSlot(late, row.duration),
              std::floor(static_cast<double>(row.slots) * late / row.duration));
  }
  EXPECT_EQ(CDrivingTrack().GetResampled(kResampleCapacity), nullptr);
}

TEST(DrivingTrack, LoaderDrainsDecodesAndResamples) {
  std::vector<std::vector<std::uint8_t>> records(150, GRecord({}));
  const std::string s = Rmc(3500.0, 13500.0);
  records.emplace_back(s.begin(), s.end());
  std::size_t cursor = 0;
  int calls = 0;
  // A record source like the container reader: the records in turn at 100 ms
  // steps (one larger than the buffer is lost with E_FAIL), then 38.
  const auto next = [&](std::uint8_t* b, std::uint32_t* l, std::uint32_t* cts) -> std::int32_t {
    ++calls;
    if (cursor >= records.size()) return CDrivingTrack::kEndOfRecords;
    const auto& r = records[cursor];
    *cts = static_cast<std::uint32_t>(100 * cursor++);
    if (r.size() > *l) return static_cast<std::int32_t>(0x80004005u);
    std::memcpy(b, r.data(), r.size());
    *l = static_cast<std::uint32_t>(r.size());
    return 0;
  };
  CDrivingTrack t;
  t.SetDuration(15000);
  EXPECT_TRUE(t.Load(200, next));
  EXPECT_EQ(calls, 152);
  EXPECT_EQ(t.GetGSampleCount(), 150);
  ASSERT_EQ(t.TextData().m_arrGPS.size(), 1u);
  EXPECT_EQ(t.TextData().m_arrGPS[0].m_uCts, 15000u);
  EXPECT_EQ(t.GetSlotCount(), 745u);  // 750 slots, step 5
  // Loading again starts from an empty track; counts outside 1..17999 read nothing.
  cursor = 0;
  calls = 0;
  EXPECT_FALSE(t.Load(0, next));
  EXPECT_FALSE(t.Load(18000, next));
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(t.GetGSampleCount(), 0);
  EXPECT_TRUE(t.TextData().m_arrGPS.empty());
  // No more than `count` records are read.
  EXPECT_TRUE(t.Load(7, next));
  EXPECT_EQ(calls, 7);
  EXPECT_EQ(t.GetGSampleCount(), 7);
  // A record too large for the buffer ends the drain (7 and 8 are read, 9 is not).
  records[9].assign(2000, 'M');
  EXPECT_TRUE(t.Load(5, next));
  EXPECT_EQ(t.GetGSampleCount(), 2);
  // Nothing usable: reported as nothing decoded.
  records.assign(3, {'X'});
  cursor = 0;
  EXPECT_FALSE(t.Load(3, next));
}

}  // namespace
}  // namespace lumora
