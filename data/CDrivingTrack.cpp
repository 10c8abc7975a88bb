#include "data/CDrivingTrack.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace lumora {

namespace {

constexpr double kScale = 0.0009765625;  // 1 / 1024 g per count
constexpr double kMetresPerLatDegree = 110560.0;
constexpr double kMetresPerLonDegree = 84800.0;

std::int16_t ReadS16(const std::uint8_t* p) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

std::uint16_t ReadU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// NMEA value to degrees as the heading table computes it.
double HeadingDegrees(double v) {
  double x = v / 100.0;
  double d = std::trunc(x);
  return (x - d) * 10.0 / 6.0 + d;
}

// Newton's quadratic through three samples of one axis.
struct Quadratic {
  double y0 = 0.0, t0 = 0.0, t1 = 0.0, f1 = 0.0, f2 = 0.0;
  Quadratic() = default;
  Quadratic(double ta, double tb, double tc, double ya, double yb, double yc)
      : y0(ya), t0(ta), t1(tb) {
    f1 = (yb - ya) / (tb - ta);
    f2 = ((yc - yb) / (tc - tb) - f1) / (tc - ta);
  }
  double At(double s) const { return (s - t0) * f1 + y0 + (s - t0) * f2 * (s - t1); }
};

}  // namespace

CDrivingTrack::CDrivingTrack()
    : m_samples(kGSensorCapacity),
      m_adas(kGSensorCapacity),
      m_resampled(kResampleCapacity),
      m_heading(kHeadingCapacity) {}

void CDrivingTrack::BeginLoad() {
  m_nGSampleCount = 0;
  m_bHasGSensor = false;
  m_text.Clear();
}

int CDrivingTrack::DecodeUserData(const std::uint8_t* payload, std::size_t length,
                                  std::uint32_t cts) {
  // Work on a zero-filled copy with a terminator so that short payloads read
  // as zeros and a sentence always ends inside the buffer.
  std::uint8_t buffer[kRecordBufferSize + 1] = {};
  if (payload == nullptr) length = 0;
  length = std::min<std::size_t>(length, kRecordBufferSize);
  if (length > 0) std::memcpy(buffer, payload, length);

  if (buffer[0] == 'M' || buffer[0] == 'A') {
    DecodeGSensor(buffer);
  } else if (buffer[0] == '$') {
    DecodeSentence(reinterpret_cast<const char*>(buffer), cts);
  }
  return 0;
}

void CDrivingTrack::DecodeGSensor(const std::uint8_t* p) {
  m_bHasGSensor = true;
  // A full table keeps the first samples; later ones are dropped.
  if (m_nGSampleCount >= static_cast<int>(kGSensorCapacity)) return;
  GSensorSample& s = m_samples[m_nGSampleCount];
  s.ay = (ReadS16(p + 1) - 2048) * kScale;
  s.az = (ReadS16(p + 3) - 2048) * kScale;
  s.ax = (ReadS16(p + 5) - 2048) * kScale;
  s.by = ReadS16(p + 7) * kScale;
  s.bz = ReadS16(p + 9) * kScale;
  s.bx = ReadS16(p + 11) * kScale;
  for (std::size_t i = 0; i < kTimeBytes; ++i) s.time[i] = static_cast<std::int8_t>(p[13 + i]);
  AdasRecord& a = m_adas[m_nGSampleCount];
  for (std::size_t w = 0; w < kAdasWords; ++w) a.words[w] = ReadU16(p + 19 + 2 * w);
  ++m_nGSampleCount;
}

void CDrivingTrack::DecodeSentence(const char* c, std::uint32_t cts) {
  // Any talker id; the checksum is not verified.
  const bool r = c[3] == 'R' || c[3] == 'N' || c[2] == 'r' || c[2] == 'n';
  const bool m = c[4] == 'M' || c[2] == 'm';
  const bool k = c[5] == 'C' || c[2] == 'c';
  if (!(r && m && k)) return;

  m_text.m_arrGPS.emplace_back(std::string_view(c), cts);
  UpdateHeading(m_text.m_arrGPS.back());
  ++m_text.m_nSentenceCount;
  if (m_bRestart) {
    m_text.m_nHeadingIndex = 0;
    m_bRestart = false;
  }
}

void CDrivingTrack::UpdateHeading(const CGPSData& fix) {
  const std::int32_t h = m_text.m_nHeadingIndex;
  // Past the end of the table the fix keeps no heading; the index stays put
  // until the restart signal brings it back to 0.
  if (h < 0 || h >= static_cast<std::int32_t>(kHeadingCapacity)) return;
  HeadingEntry& e = m_heading[h];
  e.north = kMetresPerLatDegree * HeadingDegrees(fix.m_dLatitude);
  e.east = kMetresPerLonDegree * HeadingDegrees(fix.m_dLongitude);
  e.dx = 0;
  e.dy = 0;
  if (h > 0) {
    const HeadingEntry& prev = m_heading[h - 1];
    const double len = kHeadingLength;
    double dx = 0.0;
    double dy = 0.0;
    if (fix.m_dLongitude == 0.0) {
      // no position in this fix
    } else if (e.east == prev.east) {
      if (e.north == prev.north) {
        dx = prev.dx;
        dy = prev.dy;
      } else {
        dy = e.north < prev.north ? -len : len;
      }
    } else {
      const double s = std::fabs((e.north - prev.north) / (e.east - prev.east));
      dx = std::sqrt(len * len / (s * s + 1.0));
      dy = dx * s;
      if (e.east < prev.east) dx = -dx;
      if (e.north < prev.north) dy = -dy;
    }
    e.dx = static_cast<std::int32_t>(std::trunc(dx));
    e.dy = static_cast<std::int32_t>(std::trunc(dy));
  }
  ++m_text.m_nHeadingIndex;
}

void CDrivingTrack::ResampleGSensor() {
  std::fill(m_resampled.begin(), m_resampled.end(), GSensorSample{});
  m_uSlotCount = 0;
  // Slots for the whole recording; a recording longer than the table holds is
  // squeezed into the table so that lookups by position still span it.
  std::int64_t slots = static_cast<std::int64_t>(m_nDuration) * kSlotsPerSecond / 1000;
  slots = std::min<std::int64_t>(slots, static_cast<std::int64_t>(kResampleCapacity));
  const int n = m_nGSampleCount;
  if (n < 3 || slots <= 0) return;
  const double step = static_cast<double>(slots) / n;
  const auto slotIndex = [](double t) {
    const auto i = static_cast<std::int64_t>(std::trunc(t));
    return std::clamp<std::int64_t>(i, 0, static_cast<std::int64_t>(kResampleCapacity) - 1);
  };
  Quadratic qx, qy, qz;
  const auto fill = [&](std::int64_t from, std::int64_t to) {
    for (std::int64_t s = from; s < to && s < static_cast<std::int64_t>(kResampleCapacity); ++s) {
      GSensorSample& out = m_resampled[s];
      const double sd = static_cast<double>(s);
      out.ax = qx.At(sd);
      out.ay = qy.At(sd);
      out.az = qz.At(sd);
    }
  };
  for (int i = 0; i <= n - 3; ++i) {
    const double t0 = i * step;
    const double t1 = (i + 1) * step;
    const double t2 = (i + 2) * step;
    const GSensorSample& a = m_samples[i];
    const GSensorSample& b = m_samples[i + 1];
    const GSensorSample& c = m_samples[i + 2];
    qx = Quadratic(t0, t1, t2, a.ax, b.ax, c.ax);
    qy = Quadratic(t0, t1, t2, a.ay, b.ay, c.ay);
    qz = Quadratic(t0, t1, t2, a.az, b.az, c.az);
    m_resampled[slotIndex(t0)] = a;
    fill(slotIndex(t0) + 1, static_cast<std::int64_t>(std::trunc(t1)));
  }
  const double tLast = (n - 2) * step;
  const double tEnd = (n - 1) * step;
  m_resampled[slotIndex(tLast)] = m_samples[n - 2];
  fill(slotIndex(tLast) + 1, static_cast<std::int64_t>(std::trunc(tEnd)));
  m_uSlotCount = static_cast<std::uint32_t>(std::trunc(tEnd));
}

bool CDrivingTrack::Load(int recordCount, const NextRecordFn& next) {
  BeginLoad();
  if (recordCount < 1 || recordCount >= static_cast<int>(kGSensorCapacity)) return false;
  for (int i = 0; i < recordCount; ++i) {
    std::uint8_t buffer[kRecordBufferSize] = {};
    std::uint32_t length = kRecordBufferSize;
    std::uint32_t cts = 0;
    if (next(buffer, &length, &cts) != kRecordOk) break;
    DecodeUserData(buffer, std::min(length, kRecordBufferSize), cts);
  }
  ResampleGSensor();
  return m_nGSampleCount > 0 || !m_text.m_arrGPS.empty();
}

std::uint32_t CDrivingTrack::GetResampledSlot(std::int64_t p, std::int64_t d) const {
  const std::int64_t pos =
      std::clamp<std::int64_t>(p, 0, std::numeric_limits<std::uint32_t>::max());
  if (d <= 0) {
    return static_cast<std::uint32_t>(
        std::min<std::int64_t>(pos / 50, static_cast<std::int64_t>(kResampleCapacity) - 1));
  }
  if (m_uSlotCount == 0) return 0;
  const std::uint64_t dur = static_cast<std::uint64_t>(
      std::min<std::int64_t>(d, std::numeric_limits<std::uint32_t>::max()));
  // 64-bit product: the 32-bit one wraps for positions past about four minutes.
  const std::uint64_t slot =
      static_cast<std::uint64_t>(m_uSlotCount) * static_cast<std::uint64_t>(pos) / dur;
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(slot, m_uSlotCount - 1));
}

int CDrivingTrack::GetSampleIndex(std::int64_t p, std::int64_t d) const {
  if (d <= 0 || m_nGSampleCount == 0) return -1;
  const double x = std::trunc(static_cast<double>(p) / static_cast<double>(d) * m_nGSampleCount);
  if (!(x >= 0.0)) return p < 0 ? -1 : 0;
  if (x >= m_nGSampleCount) return m_nGSampleCount - 1;
  return static_cast<int>(x);
}

const CGPSData* CDrivingTrack::FindFix(std::int64_t p) const {
  for (const CGPSData& fix : m_text.m_arrGPS) {
    if (static_cast<std::int64_t>(fix.m_uCts) >= p) return &fix;
  }
  return nullptr;
}

const HeadingEntry* CDrivingTrack::GetHeading(std::int64_t p) const {
  if (p < 0) return nullptr;
  const std::int64_t i = p / 1000;
  if (i >= static_cast<std::int64_t>(kHeadingCapacity)) return nullptr;
  return &m_heading[static_cast<std::size_t>(i)];
}

const GSensorSample* CDrivingTrack::GetSample(int i) const {
  if (i < 0 || i >= m_nGSampleCount) return nullptr;
  return &m_samples[i];
}

const AdasRecord* CDrivingTrack::GetAdas(int i) const {
  if (i < 0 || i >= m_nGSampleCount) return nullptr;
  return &m_adas[i];
}

const GSensorSample* CDrivingTrack::GetResampled(std::uint32_t slot) const {
  if (slot >= kResampleCapacity) return nullptr;
  return &m_resampled[slot];
}

}  // namespace lumora
