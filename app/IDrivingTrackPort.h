#pragma once
// The driving-data track as the main window fills and reads it.

#include <cstddef>
#include <cstdint>

namespace lumora {

class CDrivingTrack;

class IDrivingTrackPort {
 public:
  virtual ~IDrivingTrackPort() = default;
  // Forgets the previous recording's samples and fixes.
  virtual void BeginLoad() = 0;
  virtual void DecodeUserData(const std::uint8_t* payload, std::size_t length,
                              std::uint32_t cts) = 0;
  // After the drain: the recording's duration, then the resampled curve.
  virtual void Finish(std::int32_t durationMs) = 0;
  virtual int GpsFixCount() const = 0;
  // Driver-assistance rows (one per G-sensor sample) and their 21 words.
  virtual int AdasRowCount() const = 0;
  virtual const std::uint16_t* AdasWords(int row) const = 0;
  // The first GPS fix at or after the play position, if it is valid, in
  // decimal degrees.
  virtual bool FixAt(std::int64_t positionMs, double* longitude, double* latitude) const = 0;
  // The whole track for the data panel and the graph windows; null when the
  // implementation keeps none.
  virtual CDrivingTrack* DrivingTrack() { return nullptr; }
};

}  // namespace lumora
