#pragma once
// The application's driving-data track behind the window's track interface.

#include "app/IDrivingTrackPort.h"
#include "data/CDrivingTrack.h"

namespace lumora {

class TrackPort : public IDrivingTrackPort {
 public:
  void BeginLoad() override { track_.BeginLoad(); }
  void DecodeUserData(const std::uint8_t* payload, std::size_t length, std::uint32_t cts) override {
    track_.DecodeUserData(payload, length, cts);
  }
  void Finish(std::int32_t durationMs) override;
  int GpsFixCount() const override { return static_cast<int>(track_.TextData().m_arrGPS.size()); }
  int AdasRowCount() const override { return track_.GetGSampleCount(); }
  const std::uint16_t* AdasWords(int row) const override;
  bool FixAt(std::int64_t positionMs, double* longitude, double* latitude) const override;

  CDrivingTrack& Track() { return track_; }
  CDrivingTrack* DrivingTrack() override { return &track_; }

 private:
  CDrivingTrack track_;
};

}  // namespace lumora
