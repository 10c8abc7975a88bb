#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "data/CDrivingTrack.h"

namespace lumora {
namespace {

struct GPayload {
  char kind = 'M';
  std::int16_t a[3] = {2048, 2048, 2048};  // Y, Z, X as stored
  std::int16_t b[3] = {0, 0, 0};
  std::int8_t time[6] = {};
  std::uint16_t adas[21] = {};

  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> out(61, 0);
    out[0] = static_cast<std::uint8_t>(kind);
    auto put = [&](std::size_t at, std::uint16_t v) {
      out[at] = static_cast<std::uint8_t>(v & 0xFF);
      out[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    for (int i = 0; i < 3; ++i) put(1 + 2 * i, static_cast<std::uint16_t>(a[i]));
    for (int i = 0; i < 3; ++i) put(7 + 2 * i, static_cast<std::uint16_t>(b[i]));
    for (int i = 0; i < 6; ++i) out[13 + i] = static_cast<std::uint8_t>(time[i]);
    for (int i = 0; i < 21; ++i) put(19 + 2 * i, adas[i]);
    return out;
  }
};

void Decode(CDrivingTrack& t, const std::vector<std::uint8_t>& bytes, std::uint32_t cts = 0) {
  EXPECT_EQ(t.DecodeUserData(bytes.data(), bytes.size(), cts), 0);
}

void Decode(CDrivingTrack& t, const std::string& text, std::uint32_t cts = 0) {
  EXPECT_EQ(t.DecodeUserData(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), cts),
            0);
}

std::string Rmc(double lat, char ns, double lon, char ew) {
  char buf[128];
  std::snprintf(buf, sizeof buf, "$GPRMC,120000,A,%.4f,%c,%.4f,%c,10.0,90.0,010120,,*00", lat, ns,
                lon, ew);
  return buf;
}

void AddSamples(CDrivingTrack& t, int n, double (*f)(int)) {
  for (int i = 0; i < n; ++i) {
    GPayload g;
    g.a[2] = static_cast<std::int16_t>(std::lround(2048 + f(i) * 1024));  // X
    g.a[0] = static_cast<std::int16_t>(2048 + i % 7);                     // Y
    Decode(t, g.Bytes());
  }
}

TEST(DrivingTrack, GSensorScales) {
  CDrivingTrack t;
  GPayload g;
  g.a[0] = 2048;  // Y
  g.a[1] = 3072;  // Z
  g.a[2] = 1024;  // X
  g.b[0] = 1024;
  g.b[1] = -1024;  // 0xFC00
  g.b[2] = 512;
  g.time[0] = 1;
  g.time[3] = 13;
  g.time[4] = 45;
  g.time[5] = -2;
  for (int i = 0; i < 21; ++i) g.adas[i] = static_cast<std::uint16_t>(1000 + i);
  g.adas[20] = 0xFFFF;
  Decode(t, g.Bytes());
  ASSERT_EQ(t.GetGSampleCount(), 1);
  EXPECT_TRUE(t.HasGSensor());
  const GSensorSample* s = t.GetSample(0);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->ay, 0.0);
  EXPECT_EQ(s->az, 1.0);
  EXPECT_EQ(s->ax, -1.0);
  EXPECT_EQ(s->by, 1.0);
  EXPECT_EQ(s->bz, -1.0);
  EXPECT_EQ(s->bx, 0.5);
  EXPECT_EQ(s->time[0], 1);
  EXPECT_EQ(s->time[3], 13);
  EXPECT_EQ(s->time[4], 45);
  EXPECT_EQ(s->time[5], -2);
  const AdasRecord* a = t.GetAdas(0);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->words[0], 1000);
  EXPECT_EQ(a->words[19], 1019);
  EXPECT_EQ(a->words[20], 0xFFFF);
  EXPECT_EQ(t.GetSample(1), nullptr);
  EXPECT_EQ(t.GetAdas(-1), nullptr);
}

TEST(DrivingTrack, KindAIsDecodedLikeMAndOthersAreIgnored) {
  CDrivingTrack t;
  GPayload g;
  g.kind = 'A';
  g.a[2] = 3072;
  Decode(t, g.Bytes());
  EXPECT_EQ(t.GetGSampleCount(), 1);
  EXPECT_EQ(t.GetSample(0)->ax, 1.0);
  g.kind = 'm';
  Decode(t, g.Bytes());
  Decode(t, std::string("hello"));
  Decode(t, std::vector<std::uint8_t>{});
  EXPECT_EQ(t.DecodeUserData(nullptr, 10, 0), 0);
  EXPECT_EQ(t.GetGSampleCount(), 1);
  EXPECT_TRUE(t.TextData().m_arrGPS.empty());
}

TEST(DrivingTrack, ShortGSensorPayloadReadsZeros) {
  CDrivingTrack t;
  std::vector<std::uint8_t> bytes = {'M', 0x00, 0x0C};  // Y = 3072, rest missing
  Decode(t, bytes);
  ASSERT_EQ(t.GetGSampleCount(), 1);
  EXPECT_EQ(t.GetSample(0)->ay, 1.0);
  EXPECT_EQ(t.GetSample(0)->az, -2.0);  // raw 0 -> (0 - 2048) / 1024
  EXPECT_EQ(t.GetSample(0)->by, 0.0);
  EXPECT_EQ(t.GetAdas(0)->words[20], 0);
}

TEST(DrivingTrack, SentenceAcceptance) {
  CDrivingTrack t;
  const std::string body = ",123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A";
  Decode(t, "$GPRMC" + body, 1);
  Decode(t, "$GNRMC" + body, 2);
  Decode(t, "$GLRMC" + body, 3);
  Decode(t, "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", 4);
  Decode(t, "$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48", 5);
  Decode(t, "$GPRMB,A,0.66,L,003,004,4917.24,N,12309.57,W,001.3,052.5,000.5,V*20", 6);
  Decode(t, "GPRMC" + body, 7);
  Decode(t, std::string("$GP"), 8);
  const auto& fixes = t.TextData().m_arrGPS;
  ASSERT_EQ(fixes.size(), 3u);
  EXPECT_EQ(fixes[0].m_uCts, 1u);
  EXPECT_EQ(fixes[1].m_uCts, 2u);
  EXPECT_EQ(fixes[2].m_uCts, 3u);
  EXPECT_EQ(t.TextData().m_nSentenceCount, 3);
  EXPECT_EQ(t.TextData().m_nHeadingIndex, 3);
  EXPECT_FALSE(t.HasGSensor());
}

TEST(DrivingTrack, SentenceStopsAtTheFirstZeroByte) {
  CDrivingTrack t;
  std::string text = "$GPRMC,123519,A,4807.038,N";
  text.push_back('\0');
  text += ",01131.000,E";
  Decode(t, text);
  ASSERT_EQ(t.TextData().m_arrGPS.size(), 1u);
  EXPECT_EQ(t.TextData().m_arrGPS[0].m_dLongitude, 0.0);
}

TEST(DrivingTrack, HeadingVectors) {
  CDrivingTrack t;
  Decode(t, Rmc(3500.0, 'N', 13500.0, 'E'));  // entry 0
  Decode(t, Rmc(3500.0, 'N', 13501.0, 'E'));  // due east
  Decode(t, Rmc(3501.0, 'N', 13501.0, 'E'));  // due north
  Decode(t, Rmc(3501.0, 'N', 13501.0, 'E'));  // same place: repeat
  Decode(t, Rmc(3500.0, 'N', 13501.0, 'E'));  // due south
  Decode(t, Rmc(3500.0, 'N', 13500.0, 'E'));  // due west
  Decode(t, Rmc(3501.0, 'N', 13501.0, 'E'));  // north-east
  Decode(t, Rmc(3500.0, 'N', 13500.0, 'E'));  // south-west
  Decode(t, "$GPRMC,,,,,,,,,,,");             // no position
  const int expected[][2] = {{0, 0},   {23, 0}, {0, 23}, {0, 23}, {0, -23},
                             {-23, 0}, {0, 0},  {0, 0},  {0, 0}};
  ASSERT_EQ(t.TextData().m_nHeadingIndex, 9);
  for (int i = 0; i < 9; ++i) {
    const HeadingEntry& e = t.GetHeadingEntry(static_cast<std::size_t>(i));
    if (i == 6 || i == 7) continue;
    EXPECT_EQ(e.dx, expected[i][0]) << i;
    EXPECT_EQ(e.dy, expected[i][1]) << i;
  }
  // A diagonal step of one minute each way: 1842.67 m north by 1413.33 m east,
  // a vector of length 23 at that slope is (13.998, 18.250).
  EXPECT_EQ(t.GetHeadingEntry(6).dx, 13);
  EXPECT_EQ(t.GetHeadingEntry(6).dy, 18);
  EXPECT_EQ(t.GetHeadingEntry(7).dx, -13);
  EXPECT_EQ(t.GetHeadingEntry(7).dy, -18);
  EXPECT_NEAR(t.GetHeadingEntry(0).north, 3869600.0, 1e-6);
  EXPECT_NEAR(t.GetHeadingEntry(1).east, 11449413.333333, 1e-5);
  // Lookup by whole seconds of play position.
  EXPECT_EQ(t.GetHeading(1999)->dx, 23);
  EXPECT_EQ(t.GetHeading(2000)->dy, 23);
  EXPECT_EQ(t.GetHeading(-1), nullptr);
  EXPECT_EQ(t.GetHeading(2000 * 1000), nullptr);
}

TEST(DrivingTrack, WesternSouthernHeadingUsesSignedPositions) {
  CDrivingTrack t;
  Decode(t, Rmc(3300.0, 'S', 7000.0, 'W'));
  Decode(t, Rmc(3300.0, 'S', 7001.0, 'W'));  // further west
  Decode(t, Rmc(3301.0, 'S', 7001.0, 'W'));  // further south
  EXPECT_EQ(t.GetHeadingEntry(1).dx, -23);
  EXPECT_EQ(t.GetHeadingEntry(1).dy, 0);
  EXPECT_EQ(t.GetHeadingEntry(2).dx, 0);
  EXPECT_EQ(t.GetHeadingEntry(2).dy, -23);
  EXPECT_LT(t.GetHeadingEntry(0).north, 0.0);
}

TEST(DrivingTrack, RestartSignalRestartsAfterTheNextSentence) {
  CDrivingTrack t;
  Decode(t, Rmc(3500.0, 'N', 13500.0, 'E'));
  Decode(t, Rmc(3500.0, 'N', 13501.0, 'E'));
  t.SetRestartSignal();
  EXPECT_TRUE(t.GetRestartSignal());
  Decode(t, Rmc(3501.0, 'N', 13501.0, 'E'));  // still lands in entry 2
  EXPECT_FALSE(t.GetRestartSignal());
  EXPECT_EQ(t.TextData().m_nHeadingIndex, 0);
  EXPECT_EQ(t.TextData().m_nSentenceCount, 3);
  EXPECT_EQ(t.GetHeadingEntry(2).dy, 23);
  Decode(t, Rmc(3502.0, 'N', 13501.0, 'E'));  // entry 0 again: no vector
  EXPECT_EQ(t.GetHeadingEntry(0).dx, 0);
  EXPECT_EQ(t.GetHeadingEntry(0).dy, 0);
  EXPECT_EQ(t.TextData().m_nHeadingIndex, 1);
  // Opening a recording keeps the heading index.
  t.BeginLoad();
  EXPECT_EQ(t.TextData().m_nHeadingIndex, 1);
  EXPECT_TRUE(t.TextData().m_arrGPS.empty());
}

TEST(DrivingTrack, HeadingTableNeverOverflows) {
  CDrivingTrack t;
  for (int i = 0; i < 2500; ++i) Decode(t, Rmc(3500.0 + i * 0.001, 'N', 13500.0, 'E'));
  EXPECT_EQ(t.TextData().m_arrGPS.size(), 2500u);
  EXPECT_EQ(t.TextData().m_nSentenceCount, 2500);
  EXPECT_EQ(t.TextData().m_nHeadingIndex, static_cast<int>(kHeadingCapacity));
  EXPECT_EQ(t.GetHeadingEntry(kHeadingCapacity - 1).dy, 23);
  EXPECT_NEAR(t.GetHeadingEntry(kHeadingCapacity - 1).north,
              110560.0 * (35.0 + 1999 * 0.001 / 60.0), 1e-3);
  // The restart signal brings the table back into use.
  t.SetRestartSignal();
  Decode(t, Rmc(3600.0, 'N', 13500.0, 'E'));
  EXPECT_EQ(t.TextData().m_nHeadingIndex, 0);
  Decode(t, Rmc(3600.0, 'N', 13500.0, 'E'));
  EXPECT_NEAR(t.GetHeadingEntry(0).north, 110560.0 * 36.0, 1e-6);
}

TEST(DrivingTrack, SampleTableKeepsTheFirst18000) {
  CDrivingTrack t;
  for (int i = 0; i < 18100; ++i) {
    GPayload g;
    g.adas[0] = static_cast<std::uint16_t>(i);
    Decode(t, g.Bytes());
  }
  EXPECT_EQ(t.GetGSampleCount(), static_cast<int>(kGSensorCapacity));
  EXPECT_EQ(t.GetAdas(17999)->words[0], 17999);
  EXPECT_EQ(t.GetAdas(18000), nullptr);
  t.BeginLoad();
  EXPECT_EQ(t.GetGSampleCount(), 0);
  EXPECT_FALSE(t.HasGSensor());
}

double Ramp(int i) { return i / 256.0; }  // exact in the 1/1024 g coding
double Parabola(int i) { return (i - 25) * (i - 25) / 1024.0; }

TEST(DrivingTrack, ResampleSixtySecondsOfSixHundredSamples) {
  CDrivingTrack t;
  AddSamples(t, 600, Ramp);
  t.SetDuration(60000);
  t.ResampleGSensor();
  EXPECT_EQ(t.GetSlotCount(), 2995u);
  // Sample i lands whole in slot 5 i; the slots between follow the curve.
  for (int i : {0, 1, 100, 598}) {
    const GSensorSample* slot = t.GetResampled(static_cast<std::uint32_t>(5 * i));
    EXPECT_EQ(slot->ax, t.GetSample(i)->ax) << i;
    EXPECT_EQ(slot->ay, t.GetSample(i)->ay) << i;
  }
  // A straight ramp stays straight between samples.
  EXPECT_NEAR(t.GetResampled(502)->ax, Ramp(100) + 0.4 / 256.0, 1e-9);
  EXPECT_NEAR(t.GetResampled(2994)->ax, Ramp(598) + 0.8 / 256.0, 1e-9);
  EXPECT_EQ(t.GetResampled(2995)->ax, 0.0);
  EXPECT_EQ(t.GetResampled(502)->bx, 0.0);  // only set A is interpolated
  // Lookups.
  EXPECT_EQ(t.GetResampledSlot(30000, 60000), 1497u);
  EXPECT_EQ(t.GetResampledSlot(0, 60000), 0u);
  EXPECT_EQ(t.GetResampledSlot(60000, 60000), 2994u);
  EXPECT_EQ(t.GetResampledSlot(90000, 60000), 2994u);
  EXPECT_EQ(t.GetResampledSlot(1000, 0), 20u);
  EXPECT_EQ(t.GetResampledSlot(1000, -5), 20u);
  EXPECT_EQ(t.GetSampleIndex(30000, 60000), 300);
  EXPECT_EQ(t.GetSampleIndex(59999, 60000), 599);
  EXPECT_EQ(t.GetSampleIndex(60000, 60000), 599);
  EXPECT_EQ(t.GetSampleIndex(100, 0), -1);
}

TEST(DrivingTrack, ResampleFollowsAQuadraticExactly) {
  // Samples on the parabola ((i - 25)^2) / 1024 g are exact in the 1/1024 g
  // coding, so every slot between them lies on the same parabola.
  CDrivingTrack t;
  AddSamples(t, 50, Parabola);
  t.SetDuration(10000);  // 500 slots, step 10
  t.ResampleGSensor();
  ASSERT_EQ(t.GetSlotCount(), 490u);
  for (std::uint32_t s = 0; s < 490; ++s) {
    const double at = s / 10.0 - 25.0;
    EXPECT_NEAR(t.GetResampled(s)->ax, at * at / 1024.0, 1e-9) << s;
  }
}

TEST(DrivingTrack, ResampleNeedsThreeSamplesAndAPositiveDuration) {
  CDrivingTrack t;
  AddSamples(t, 2, Ramp);
  t.SetDuration(60000);
  t.ResampleGSensor();
  EXPECT_EQ(t.GetSlotCount(), 0u);
  EXPECT_EQ(t.GetResampledSlot(30000, 60000), 0u);
  AddSamples(t, 8, Ramp);
  t.SetDuration(0);
  t.ResampleGSensor();
  EXPECT_EQ(t.GetSlotCount(), 0u);
  t.SetDuration(-1000);
  t.ResampleGSensor();
  EXPECT_EQ(t.GetSlotCount(), 0u);
  // More samples than slots: every write stays inside the slots.
  t.SetDuration(100);  // 5 slots for 10 samples
  t.ResampleGSensor();
  EXPECT_EQ(t.GetSlotCount(), 4u);
}

TEST(DrivingTrack, LongRecordingIsSqueezedIntoTheTable) {
  CDrivingTrack t;
  AddSamples(t, 7200, Ramp);
  t.SetDuration(720000);  // twelve minutes would need 36000 slots
  t.ResampleGSensor();
  // 18000 slots over 7200 samples: step 2.5.
  EXPECT_EQ(t.GetSlotCount(), static_cast<std::uint32_t>(std::trunc(7199 * 2.5)));
  EXPECT_LT(t.GetSlotCount(), kResampleCapacity);
  EXPECT_EQ(t.GetResampled(5)->ax, t.GetSample(2)->ax);
  EXPECT_EQ(t.GetResampled(kResampleCapacity), nullptr);
  // The lookup at the end of the recording lands on the last slot, and half
  // way through on the middle one (no 32-bit wrap of count * position).
  EXPECT_EQ(t.GetResampledSlot(720000, 720000), t.GetSlotCount() - 1);
  EXPECT_EQ(t.GetResampledSlot(360000, 720000), t.GetSlotCount() / 2);
  // Durations whose slot count overflows 32 bits are clamped too.
  t.SetDuration(2000000000);
  t.ResampleGSensor();
  EXPECT_LT(t.GetSlotCount(), kResampleCapacity);
}

TEST(DrivingTrack, SlotLookupBeyondFourMinutes) {
  CDrivingTrack t;
  AddSamples(t, 3000, Ramp);
  t.SetDuration(300000);  // 15000 slots
  t.ResampleGSensor();
  const std::uint32_t count = t.GetSlotCount();
  // 15000 * 290000 passes 2^32; the slot still tracks the position.
  EXPECT_EQ(t.GetResampledSlot(290000, 300000),
            static_cast<std::uint32_t>(static_cast<std::uint64_t>(count) * 290000 / 300000));
  EXPECT_GT(t.GetResampledSlot(290000, 300000), t.GetResampledSlot(200000, 300000));
}

TEST(DrivingTrack, FixLookupByTimeStamp) {
  CDrivingTrack t;
  Decode(t, Rmc(3500.0, 'N', 13500.0, 'E'), 0);
  Decode(t, Rmc(3500.0, 'N', 13501.0, 'E'), 1000);
  Decode(t, Rmc(3500.0, 'N', 13502.0, 'E'), 2000);
  ASSERT_NE(t.FindFix(0), nullptr);
  EXPECT_EQ(t.FindFix(0)->m_uCts, 0u);
  EXPECT_EQ(t.FindFix(1)->m_uCts, 1000u);
  EXPECT_EQ(t.FindFix(1000)->m_uCts, 1000u);
  EXPECT_EQ(t.FindFix(2000)->m_uCts, 2000u);
  EXPECT_EQ(t.FindFix(2001), nullptr);
}

// A record source like the container reader: hands out records, then 38.
struct FakeSource {
  std::vector<std::vector<std::uint8_t>> records;
  std::size_t cursor = 0;
  std::int32_t endCode = CDrivingTrack::kEndOfRecords;
  int calls = 0;
  std::int32_t operator()(std::uint8_t* buffer, std::uint32_t* length, std::uint32_t* cts) {
    ++calls;
    if (cursor >= records.size()) return endCode;
    const auto& r = records[cursor];
    if (r.size() > *length) {
      *length = static_cast<std::uint32_t>(r.size()) - *length;
      ++cursor;
      return static_cast<std::int32_t>(0x80004005u);
    }
    std::memcpy(buffer, r.data(), r.size());
    *length = static_cast<std::uint32_t>(r.size());
    *cts = static_cast<std::uint32_t>(cursor * 100);
    ++cursor;
    return 0;
  }
};

TEST(DrivingTrack, LoaderDrainsDecodesAndResamples) {
  FakeSource src;
  for (int i = 0; i < 150; ++i) src.records.push_back(GPayload().Bytes());
  const std::string s = Rmc(3500.0, 'N', 13500.0, 'E');
  src.records.emplace_back(s.begin(), s.end());
  CDrivingTrack t;
  t.SetDuration(15000);
  EXPECT_TRUE(
      t.Load(static_cast<int>(src.records.size()),
             [&](std::uint8_t* b, std::uint32_t* l, std::uint32_t* c) { return src(b, l, c); }));
  EXPECT_EQ(t.GetGSampleCount(), 150);
  ASSERT_EQ(t.TextData().m_arrGPS.size(), 1u);
  EXPECT_EQ(t.TextData().m_arrGPS[0].m_uCts, 15000u);
  EXPECT_EQ(t.GetSlotCount(), static_cast<std::uint32_t>(149 * 5.0));
  // Loading again starts from an empty track.
  src.cursor = 0;
  src.records.resize(3);
  EXPECT_TRUE(
      t.Load(3, [&](std::uint8_t* b, std::uint32_t* l, std::uint32_t* c) { return src(b, l, c); }));
  EXPECT_EQ(t.GetGSampleCount(), 3);
  EXPECT_TRUE(t.TextData().m_arrGPS.empty());
}

TEST(DrivingTrack, LoaderRefusesCountsOutsideOneTo17999AndStopsOnErrors) {
  FakeSource src;
  src.records.assign(5, GPayload().Bytes());
  auto next = [&](std::uint8_t* b, std::uint32_t* l, std::uint32_t* c) { return src(b, l, c); };
  CDrivingTrack t;
  t.SetDuration(1000);
  EXPECT_FALSE(t.Load(0, next));
  EXPECT_FALSE(t.Load(18000, next));
  EXPECT_EQ(src.calls, 0);
  EXPECT_EQ(t.GetGSampleCount(), 0);
  // An oversized record ends the drain with an error.
  src.records[2].assign(2000, 'M');
  EXPECT_TRUE(t.Load(5, next));
  EXPECT_EQ(t.GetGSampleCount(), 2);
  // A source that never ends is read at most `count` times.
  int calls = 0;
  EXPECT_TRUE(t.Load(7, [&](std::uint8_t* b, std::uint32_t* l, std::uint32_t*) {
    ++calls;
    b[0] = 'M';
    *l = 61;
    return 0;
  }));
  EXPECT_EQ(calls, 7);
  // Nothing usable: reported as nothing decoded.
  EXPECT_FALSE(t.Load(2, [&](std::uint8_t* b, std::uint32_t* l, std::uint32_t*) {
    b[0] = 'X';
    *l = 1;
    return 0;
  }));
}

}  // namespace
}  // namespace lumora
