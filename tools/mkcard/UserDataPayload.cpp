#include "tools/mkcard/UserDataPayload.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace lumora {
namespace {

void Put16(std::vector<uint8_t>* out, size_t at, uint16_t v) {
  (*out)[at] = static_cast<uint8_t>(v);
  (*out)[at + 1] = static_cast<uint8_t>(v >> 8);
}

// Splits |deg| into whole degrees and minutes in units of 1/10000 minute,
// rounding once so that 59.99995 minutes never prints as "60.0000".
void SplitDegrees(double deg, long long* whole, long long* minutes_e4) {
  const long long total = std::llround(std::fabs(deg) * 60.0 * 10000.0);
  *whole = total / 600000;
  *minutes_e4 = total % 600000;
}

}  // namespace

int16_t GSetARaw(double g) {
  return static_cast<int16_t>(std::clamp<long>(std::lround(2048.0 + g * 1024.0), 0, 4095));
}

int16_t GSetBRaw(double g) {
  return static_cast<int16_t>(std::clamp<long>(std::lround(g * 1024.0), -8192, 8191));
}

void FillGSample(double ax_g, double ay_g, double az_g, const CivilTime& local,
                 GSampleTruth* sample) {
  sample->ax_g = ax_g;
  sample->ay_g = ay_g;
  sample->az_g = az_g;
  sample->raw_a = {GSetARaw(ay_g), GSetARaw(az_g), GSetARaw(ax_g)};
  sample->raw_b = {GSetBRaw(ay_g), GSetBRaw(az_g), GSetBRaw(ax_g)};
  sample->time_block = {1,
                        static_cast<int8_t>(local.month),
                        static_cast<int8_t>(local.day),
                        static_cast<int8_t>(local.hour),
                        static_cast<int8_t>(local.minute),
                        static_cast<int8_t>(local.second)};
}

std::vector<uint8_t> MakeGSensorPayload(const GSampleTruth& s) {
  std::vector<uint8_t> p(kGSensorPayloadSize, 0);
  p[0] = 'M';
  for (int i = 0; i < 3; ++i) {
    Put16(&p, 1 + 2 * i, static_cast<uint16_t>(s.raw_a[i]));
    Put16(&p, 7 + 2 * i, static_cast<uint16_t>(s.raw_b[i]));
  }
  for (int i = 0; i < 6; ++i) p[13 + i] = static_cast<uint8_t>(s.time_block[i]);
  for (int i = 0; i < 21; ++i) Put16(&p, 19 + 2 * i, s.words[i]);
  return p;
}

uint8_t NmeaChecksum(std::string_view body) {
  uint8_t sum = 0;
  for (char c : body) sum ^= static_cast<uint8_t>(c);
  return sum;
}

double NmeaToDegrees(double v) {
  const double x = v * 0.01;
  const double d = std::trunc(x);
  return (x - d) * 100.0 / 60.0 + d;
}

std::string MakeRmcSentence(const CivilTime& utc, bool valid, double lat_deg, double lon_deg,
                            double speed_knots, double course_deg, GpsFixTruth* fix) {
  char time_text[16];
  std::snprintf(time_text, sizeof(time_text), "%02d%02d%02d.00", utc.hour, utc.minute, utc.second);
  char date_text[16];
  std::snprintf(date_text, sizeof(date_text), "%02d%02d%02d", utc.day, utc.month, utc.year % 100);
  std::string body;
  GpsFixTruth f;
  f.valid = valid;
  f.utc_hour = utc.hour;
  f.utc_minute = utc.minute;
  f.utc_second = utc.second;
  f.day = utc.day;
  f.month = utc.month;
  f.year2 = utc.year % 100;
  if (valid) {
    long long lat_whole, lat_min, lon_whole, lon_min;
    SplitDegrees(lat_deg, &lat_whole, &lat_min);
    SplitDegrees(lon_deg, &lon_whole, &lon_min);
    char lat_text[32], lon_text[32], speed_text[16], course_text[16];
    std::snprintf(lat_text, sizeof(lat_text), "%02lld%02lld.%04lld", lat_whole, lat_min / 10000,
                  lat_min % 10000);
    std::snprintf(lon_text, sizeof(lon_text), "%03lld%02lld.%04lld", lon_whole, lon_min / 10000,
                  lon_min % 10000);
    std::snprintf(speed_text, sizeof(speed_text), "%.1f", std::max(0.0, speed_knots));
    std::snprintf(course_text, sizeof(course_text), "%.1f", course_deg);
    body = std::string("GPRMC,") + time_text + ",A," + lat_text + (lat_deg < 0 ? ",S," : ",N,") +
           lon_text + (lon_deg < 0 ? ",W," : ",E,") + speed_text + "," + course_text + "," +
           date_text + ",,,A";
    f.lat_nmea = std::strtod(lat_text, nullptr) * (lat_deg < 0 ? -1.0 : 1.0);
    f.lon_nmea = std::strtod(lon_text, nullptr) * (lon_deg < 0 ? -1.0 : 1.0);
    f.lat_deg = NmeaToDegrees(f.lat_nmea);
    f.lon_deg = NmeaToDegrees(f.lon_nmea);
    f.speed_knots = std::strtod(speed_text, nullptr);
    f.speed_kmh = f.speed_knots * 1.852;
    f.course_deg = std::strtod(course_text, nullptr);
  } else {
    body = std::string("GPRMC,") + time_text + ",V,,,,,,," + date_text + ",,,N";
  }
  char tail[8];
  std::snprintf(tail, sizeof(tail), "*%02X", NmeaChecksum(body));
  f.sentence = "$" + body + tail;
  if (fix) *fix = f;
  return f.sentence;
}

}  // namespace lumora
