#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/mkcard/CivilTime.h"
#include "tools/mkcard/SampleRecording.h"

namespace lumora {

// Size of a G-sensor record: kind byte, two sets of three axes, the time block
// and 21 driver-assistance words.
constexpr size_t kGSensorPayloadSize = 61;

// Set A raw value of an acceleration in g (2048 = 0 g, 1024 per g).
int16_t GSetARaw(double g);
// Set B raw value of an acceleration in g (0 = 0 g, 1024 per g).
int16_t GSetBRaw(double g);

// Fills raw_a, raw_b, the time block (valid flag, month, day, hour, minute,
// second of local time) of `sample` from its accelerations and `local`.
void FillGSample(double ax_g, double ay_g, double az_g, const CivilTime& local,
                 GSampleTruth* sample);
// The 61-byte "M" record of a sample.
std::vector<uint8_t> MakeGSensorPayload(const GSampleTruth& sample);

// XOR of the characters between "$" and "*" (the body passed without them).
uint8_t NmeaChecksum(std::string_view body);
// Builds a "$GPRMC" sentence (without CR LF) for a fix at UTC time `utc`;
// fills every field of `fix` except cts_ms and record_index. With valid false
// the sentence has status "V" and empty position, speed and course fields.
std::string MakeRmcSentence(const CivilTime& utc, bool valid, double lat_deg, double lon_deg,
                            double speed_knots, double course_deg, GpsFixTruth* fix);

// Decimal degrees of an NMEA ddmm.mmmm value (sign kept).
double NmeaToDegrees(double v);

}  // namespace lumora
