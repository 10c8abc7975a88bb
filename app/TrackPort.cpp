#include "app/TrackPort.h"

#include "data/GSensorPlot.h"

namespace lumora {

void TrackPort::Finish(std::int32_t durationMs) {
  track_.SetDuration(durationMs);
  track_.ResampleGSensor();
  // The acceleration-graph window draws the track's reading list.
  track_.TextData().m_arrGSensor = GSensorPlot::ReadingsFrom(track_, durationMs);
}

const std::uint16_t* TrackPort::AdasWords(int row) const {
  const AdasRecord* record = track_.GetAdas(row);
  return record ? record->words : nullptr;
}

bool TrackPort::FixAt(std::int64_t positionMs, double* longitude, double* latitude) const {
  const CGPSData* fix = track_.FindFix(positionMs);
  if (!fix || !fix->m_nValid) return false;
  *longitude = fix->GetLongitudeDegrees();
  *latitude = fix->GetLatitudeDegrees();
  return true;
}

}  // namespace lumora
