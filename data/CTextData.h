#pragma once
// The decoded driving data of the open recording that the views read: the
// G-sensor reading list, the GPS fix list in record order and two counters.

#include <cstdint>
#include <vector>

#include "data/CGPSData.h"
#include "data/CGSensorData.h"

namespace lumora {

class CTextData {
 public:
  // Empties both lists; the counters keep their values (the heading index is
  // only reset by the restart signal).
  void Clear() {
    m_arrGSensor.clear();
    m_arrGPS.clear();
  }

  std::vector<CGSensorData> m_arrGSensor;
  std::vector<CGPSData> m_arrGPS;
  std::int32_t m_nHeadingIndex = 0;
  std::int32_t m_nSentenceCount = 0;
};

}  // namespace lumora
