// User-data decoder: the input is split into records at each 0xFF 0xFE pair
// and every record is decoded as a payload (G-sensor sample or NMEA sentence).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "data/CDrivingTrack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The track's tables are large; one track serves every input, reset the way
  // opening a recording resets it (and the heading table restarted).
  static lumora::CDrivingTrack track;
  track.BeginLoad();
  track.SetRestartSignal();
  std::size_t start = 0;
  std::uint32_t cts = 0;
  for (std::size_t i = 0; i <= size; ++i) {
    const bool end = i == size;
    if (!end && !(data[i] == 0xFF && i + 1 < size && data[i + 1] == 0xFE)) continue;
    // Copy into a buffer of exactly the record's size so reads past it are caught.
    std::vector<std::uint8_t> record(data + start, data + i);
    track.DecodeUserData(record.data(), record.size(), cts);
    cts += 100;
    start = i + 2;
    ++i;
  }
  track.SetDuration(static_cast<std::int32_t>(cts));
  track.ResampleGSensor();
  return 0;
}
