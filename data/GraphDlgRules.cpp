#include "data/GraphDlgRules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace lumora {
namespace {

int Trunc(double v) { return static_cast<int>(std::trunc(v)); }

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

int SpeedOf(const CDrivingTrack& track, int index, int speedUnit) {
  const AdasRecord* record = track.GetAdas(index);
  int v = record ? record->words[0] : 0;
  if (speedUnit == 1) v = v * 10 / 16;
  return std::min(v, 200);
}

}  // namespace

GraphLayout GraphDlgRules::Layout(bool compact) {
  if (!compact) return GraphLayout{};
  GraphLayout compactLayout{800, 540, 60, 700, 460, 21};
  compactLayout.buttonX = compactLayout.x0 + compactLayout.w - 40;
  compactLayout.buttonY = compactLayout.y0 + 10;
  return compactLayout;
}

double GraphDlgRules::PixelsPerSecond(std::int64_t duration, const GraphLayout& layout) {
  if (duration <= 0) return 20.0;
  return static_cast<double>(layout.w) / static_cast<double>(duration) * 1000.0;
}

std::vector<int> GraphDlgRules::SecondLineXs(std::int64_t duration, const GraphLayout& layout) {
  const std::int64_t s = std::max<std::int64_t>(0, duration / 1000);
  const double p = PixelsPerSecond(duration, layout);
  const std::int64_t last = s < 30 ? s - 1 : s;
  std::vector<int> xs;
  for (std::int64_t i = 0; i <= last; ++i) xs.push_back(layout.x0 + Trunc(i * p));
  return xs;
}

std::vector<GraphLine> GraphDlgRules::GridLines(std::int64_t duration, const GraphLayout& l) {
  std::vector<GraphLine> lines;
  const int top = l.y0 - 20 * l.r;
  for (int x : SecondLineXs(duration, l)) lines.push_back({x, top, x, l.y0, 1, kGridColour});
  lines.push_back({l.x0, l.y0, l.x0 + l.w, l.y0, 2, kGridColour});
  for (int k = 1; k <= 20; ++k) {
    const int y = l.y0 - k * l.r;
    lines.push_back({l.x0, y, l.x0 + l.w, y, 1, kGridColour});
  }
  lines.push_back({l.x0, top, l.x0, l.y0, 2, kGridColour});
  lines.push_back({l.x0 + l.w, top, l.x0 + l.w, l.y0, 2, kGridColour});
  lines.push_back({l.x0, top, l.x0 + l.w, top, 2, kGridColour});
  return lines;
}

std::vector<GraphText> GraphDlgRules::YLabels(int mode, int speedUnit, const GraphLayout& l) {
  std::vector<GraphText> labels;
  for (int k = 0; k <= 20; ++k) {
    std::string text;
    if (mode == 0)
      text = Format("%4.2fG", k / 5.0 - 2.0);
    else if (mode == 1)
      text = Format("%4.2fG", k / 10.0);
    else
      text = Format(speedUnit == 1 ? "%dmph" : "%dkph", k * 10);
    labels.push_back({l.x0 - 55, l.y0 - 7 - k * l.r, l.x0 - 5, l.y0 + 13, text, 0xFFFFFF});
  }
  return labels;
}

std::vector<GraphText> GraphDlgRules::Legend(int mode, const GraphLayout& l) {
  const int x = l.x0 + 750;
  const int y = 45;
  if (mode == 2) return {{x, y, x + 50, y + 16, "Speed", kZColour}};
  return {{x, y, x + 50, y + 16, "X axis", kXColour},
          {x, y, x + 100, y + 16, "Y axis", kYColour},
          {x, y, x + 150, y + 16, "Z axis", kZColour}};
}

std::vector<GraphLine> GraphDlgRules::Curves(const CDrivingTrack& track, int mode,
                                             std::int64_t duration, int speedUnit,
                                             const GraphLayout& l) {
  std::vector<GraphLine> lines;
  const int n = track.GetGSampleCount();
  if (mode == 0 || mode == 1) {
    if (n < 2) return lines;
    const double step = static_cast<double>(l.w) / n;
    const int base = mode == 0 ? l.y0 - 10 * l.r : l.y0;
    const double scale = mode == 0 ? 120.0 : 10.0 * l.r;
    for (int i = 0; i + 1 < n; ++i) {
      const GSensorSample& a = *track.GetSample(i);
      const GSensorSample& b = *track.GetSample(i + 1);
      const int xa = l.x0 + Trunc(i * step);
      const int xb = l.x0 + Trunc((i + 1) * step);
      const double va[3] = {mode == 0 ? a.ax : a.bx, mode == 0 ? a.ay : a.by,
                            mode == 0 ? a.az : a.bz};
      const double vb[3] = {mode == 0 ? b.ax : b.bx, mode == 0 ? b.ay : b.by,
                            mode == 0 ? b.az : b.bz};
      const std::uint32_t colours[3] = {kXColour, kYColour, kZColour};
      for (int axis = 0; axis < 3; ++axis) {
        lines.push_back({xa, base - Trunc(va[axis] * scale), xb, base - Trunc(vb[axis] * scale), 1,
                         colours[axis]});
      }
    }
    return lines;
  }
  if (mode != 2) return lines;
  const std::int64_t s = duration / 1000;
  const double p = PixelsPerSecond(duration, l);
  for (std::int64_t i = 0; i < s; ++i) {
    const double sd = static_cast<double>(s);
    const int c = Trunc(static_cast<double>(i) / sd * n);
    const int b = i == 0 ? c : Trunc(static_cast<double>(i - 1) / sd * n);
    lines.push_back({l.x0 + Trunc(i * p), l.y0 - Trunc(SpeedOf(track, b, speedUnit) * 2.4),
                     l.x0 + Trunc((i + 1) * p), l.y0 - Trunc(SpeedOf(track, c, speedUnit) * 2.4), 1,
                     kZColour});
  }
  return lines;
}

std::string GraphDlgRules::Readout(int mode, int y, int speedUnit) {
  const double t = (520.0 - y) / 480.0;
  if (mode == 0) return Format("%5.2f G", std::clamp(4.0 * t - 2.0, -2.0, 2.0));
  if (mode == 1) return Format("%5.2f G", std::clamp(2.0 * t, 0.0, 2.0));
  const int v = Trunc(std::clamp(200.0 * t, 0.0, 200.0));
  return Format(speedUnit == 1 ? "%03d mph" : "%03d kph", v);
}

std::pair<int, int> GraphDlgRules::ModeBitmaps(int mode) {
  if (mode == 1) return {404, 429};
  if (mode == 2) return {406, 431};
  return {405, 430};
}

}  // namespace lumora
