#pragma once
// One G-sensor reading kept in the track's reading list: three axis values and
// the time of the reading in milliseconds.

#include <cstdint>

namespace lumora {

class CGSensorData {
 public:
  CGSensorData() = default;
  CGSensorData(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t time)
      : m_nX(x), m_nY(y), m_nZ(z), m_uTime(time) {}

  std::int32_t m_nX = 0;
  std::int32_t m_nY = 0;
  std::int32_t m_nZ = 0;
  std::uint32_t m_uTime = 0;
};

}  // namespace lumora
