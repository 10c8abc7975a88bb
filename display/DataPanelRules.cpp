#include "display/DataPanelRules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace lumora {
namespace {

int Trunc(double v) { return static_cast<int>(std::trunc(v)); }

std::string Format(const char* format, auto... args) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

int AdasSpeed(const CDrivingTrack& track, int index) {
  const AdasRecord* record = track.GetAdas(index);
  return record ? record->words[0] : 0;
}

// One axis of set A or set B: clamped value to y.
void AddAxisCurve(std::vector<PanelLine>& lines, const CDrivingTrack& track, int n, double step,
                  int baseline, double scale, bool clampBelow, double GSensorSample::*axis,
                  std::uint32_t colour) {
  auto yOf = [&](int i) {
    double v = track.GetSample(i)->*axis;
    v = std::min(v, 2.0);
    if (clampBelow) v = std::max(v, -2.0);
    return baseline - Trunc(scale * v);
  };
  for (int i = 0; i + 1 < n; ++i) {
    lines.push_back({DataPanelRules::kCurveLeft + Trunc(i * step), yOf(i),
                     DataPanelRules::kCurveLeft + Trunc((i + 1) * step), yOf(i + 1), 1, colour});
  }
}

// Speed curve: one point per value at y = 640 - 0.5 x speed, joined from the
// previous point (the first joins itself).
std::vector<PanelLine> SpeedSegments(const std::vector<int>& speeds, int left, double step) {
  std::vector<PanelLine> lines;
  auto pointOf = [&](std::size_t i) {
    const int speed = std::min(speeds[i], 200);
    return PanelPoint{left + Trunc(static_cast<double>(i) * step), Trunc(640 - 0.5 * speed)};
  };
  for (std::size_t i = 0; i < speeds.size(); ++i) {
    const PanelPoint from = pointOf(i == 0 ? 0 : i - 1);
    const PanelPoint to = pointOf(i);
    lines.push_back({from.x, from.y, to.x, to.y, 1, DataPanelRules::kZColour});
  }
  return lines;
}

}  // namespace

int DataPanelRules::DisplaySpeed(int kmh, int speedUnit) {
  return speedUnit == 1 ? kmh * 10 / 16 : kmh;
}

std::vector<PanelLine> DataPanelRules::GridLines() {
  std::vector<PanelLine> lines;
  for (int y : {640, 560, 580, 600, 620, 640}) lines.push_back({0, y, 668, y, 1, kGridColour});
  return lines;
}

std::vector<PanelLine> DataPanelRules::Curves(const CDrivingTrack& track, int graphMode,
                                              std::int64_t duration, int speedUnit) {
  std::vector<PanelLine> lines;
  const int n = track.GetGSampleCount();
  if (graphMode == 0 || graphMode == 1) {
    if (n <= 1) return lines;
    const double step = static_cast<double>(kCurveWidth) / n;
    const bool setA = graphMode == 0;
    const int baseline = setA ? 602 : 640;
    const double scale = setA ? 23.0 : 46.0;
    AddAxisCurve(lines, track, n, step, baseline, scale, setA,
                 setA ? &GSensorSample::ax : &GSensorSample::bx, kXColour);
    AddAxisCurve(lines, track, n, step, baseline, scale, setA,
                 setA ? &GSensorSample::ay : &GSensorSample::by, kYColour);
    AddAxisCurve(lines, track, n, step, baseline, scale, setA,
                 setA ? &GSensorSample::az : &GSensorSample::bz, kZColour);
    return lines;
  }
  if (graphMode != 2 || track.TextData().m_arrGPS.empty()) return lines;
  const std::int64_t seconds = duration / 1000;
  if (seconds <= 0) return lines;
  std::vector<int> speeds;
  speeds.reserve(static_cast<std::size_t>(seconds));
  for (std::int64_t i = 0; i < seconds; ++i) {
    const int r = Trunc(static_cast<double>(i) / static_cast<double>(seconds) * n);
    speeds.push_back(DisplaySpeed(AdasSpeed(track, r), speedUnit));
  }
  return SpeedSegments(speeds, kCurveLeft, static_cast<double>(kCurveWidth) / seconds);
}

int DataPanelRules::CursorX(std::int64_t position, std::int64_t duration) {
  if (duration <= 0) return kCurveLeft;
  const double x =
      std::trunc(static_cast<double>(position) / static_cast<double>(duration) * kCurveWidth);
  return static_cast<int>(std::clamp(kCurveLeft + x, -1.0e6, static_cast<double>(kCursorMax)));
}

bool DataPanelRules::CursorShown(const CDrivingTrack& track, int graphMode) {
  return graphMode != 2 || !track.TextData().m_arrGPS.empty();
}

std::vector<std::string> DataPanelRules::AxisLabels(int graphMode, int speedUnit) {
  std::vector<std::string> labels;
  for (int i = 0; i < 5; ++i) {
    if (graphMode == 0)
      labels.push_back(Format("     %5.1fG ", 2.0 - i));
    else if (graphMode == 1)
      labels.push_back(Format("     %5.1fG ", 2.0 - i / 2.0));
    else
      labels.push_back(Format(speedUnit == 1 ? "      %dmph" : "      %dkph", 160 - 40 * i));
  }
  return labels;
}

int DataPanelRules::GaugeSpeed(const CDrivingTrack& track, std::int64_t position,
                               std::int64_t duration, int speedUnit) {
  const int index = track.GetSampleIndex(position, duration);
  const int speed =
      DisplaySpeed(index < 0 ? AdasSpeed(track, 0) : AdasSpeed(track, index), speedUnit);
  return std::clamp(speed, 0, kGaugeMaxSpeed);
}

int DataPanelRules::FoldedSpeed(int speed) { return speed <= 80 ? speed : 160 - speed; }

PanelPoint DataPanelRules::NeedleEnd(int speed) {
  const int folded = FoldedSpeed(speed);
  const double a = (folded * 1.6875 - 45.0) * std::numbers::pi / 180.0;
  const double dx = kNeedleRadius * std::cos(a);
  const double y = kNeedleCentreY - kNeedleRadius * std::sin(a);
  const double x = speed <= 80 ? kNeedleCentreX - dx : kNeedleCentreX + dx;
  return {Trunc(x), Trunc(y)};
}

PanelLine DataPanelRules::HeadingArrow(const HeadingEntry* heading, int foldedSpeed) {
  if (!heading || foldedSpeed < 2) return {kArrowX, kArrowY, kArrowX, kArrowY, 2, kNeedleColour};
  return {kArrowX, kArrowY, kArrowX + heading->dx, kArrowY - heading->dy, 2, kNeedleColour};
}

std::optional<std::string> DataPanelRules::TimeOfDayText(const GSensorSample* slot) {
  if (!slot || slot->time[0] == 0) return std::nullopt;
  return Format("%02d:%02d:%02d", slot->time[3], slot->time[4], slot->time[5]);
}

DataPanelRules::Dms DataPanelRules::SplitNmea(double nmea) {
  Dms dms;
  const double whole = std::trunc(nmea);
  dms.degrees = Trunc(nmea / 100.0);
  dms.minutes = static_cast<int>(static_cast<long long>(whole) % 100);
  dms.seconds = std::floor((nmea - whole) * 60.0 * 10.0 + 0.5) / 10.0;
  return dms;
}

std::string DataPanelRules::CoordinateText(double nmea, char hemisphere) {
  const Dms dms = SplitNmea(nmea);
  return Format("%03d %03d %3.1f %c   ", std::abs(dms.degrees), std::abs(dms.minutes),
                std::fabs(dms.seconds), hemisphere);
}

std::string DataPanelRules::BlankLine() { return std::string(24, ' '); }

std::vector<std::string> DataPanelRules::DitAxisLabels(int speedUnit) {
  std::vector<std::string> labels;
  for (int i = 0; i < 5; ++i)
    labels.push_back(Format(speedUnit == 1 ? "       %dmph" : "       %dkph", 160 - 40 * i));
  return labels;
}

std::vector<PanelLine> DataPanelRules::DitSpeedCurve(const std::vector<int>& kmh, int speedUnit) {
  if (kmh.empty()) return {};
  std::vector<int> speeds;
  speeds.reserve(kmh.size());
  for (int v : kmh) speeds.push_back(DisplaySpeed(v, speedUnit));
  return SpeedSegments(speeds, kDitCurveLeft, static_cast<double>(kCurveWidth) / kmh.size());
}

}  // namespace lumora
