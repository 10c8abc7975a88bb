#pragma once
// Distance and driving times of one drive, summed point by point.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "library/CDitFile.h"

namespace lumora {

class CDitStatistics {
 public:
  static constexpr int kDefaultLimit = 60;  // over-speed limit, km/h
  // A gap longer than this (or a clock going back) adds neither time nor distance.
  static constexpr int kMaxStepSeconds = 3600;

  explicit CDitStatistics(int limit = kDefaultLimit) : m_nLimit(limit) {}

  void Add(const DitPoint& point);

  static CDitStatistics Of(const std::vector<DitPoint>& points, int limit);
  // False when the file cannot be opened.
  static bool OfFile(const std::filesystem::path& path, int limit, CDitStatistics* out);

  int Points() const { return m_nPoints; }
  std::int64_t DistanceMetres() const { return m_nMetres; }
  std::int64_t MovingSeconds() const { return m_nMoving; }
  std::int64_t TotalSeconds() const { return m_nTotal; }
  std::int64_t OverspeedSeconds() const { return m_nOverspeed; }

  std::string DistanceText() const { return DistanceText(m_nMetres); }
  std::string MovingText() const { return TimeText(m_nMoving); }
  std::string TotalText() const { return TimeText(m_nTotal); }
  std::string OverspeedText() const { return TimeText(m_nOverspeed); }

  // "%0.2lf km" of the metres / 1000.
  static std::string DistanceText(std::int64_t metres);
  // "%02d:%02d:%02d" of whole seconds.
  static std::string TimeText(std::int64_t seconds);

 private:
  int m_nLimit;
  int m_nPoints = 0;
  std::int64_t m_nMetres = 0;
  std::int64_t m_nMoving = 0;
  std::int64_t m_nTotal = 0;
  std::int64_t m_nOverspeed = 0;
  bool m_bHasPrev = false;
  double m_dPrevX = 0.0;
  double m_dPrevY = 0.0;
  int m_nPrevT = 0;
};

}  // namespace lumora
