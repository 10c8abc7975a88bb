#include "tools/mkcard/TestPicture.h"

#include <algorithm>
#include <cmath>
#include <cstring>

extern "C" {
#include <libavutil/frame.h>
}

namespace lumora {
namespace {

// 5 x 7 glyphs, one byte per row, low 5 bits used (bit 4 = left column).
struct Glyph {
  char c;
  uint8_t rows[7];
};

constexpr Glyph kGlyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'/', {0x01, 0x01, 0x02, 0x04, 0x08, 0x10, 0x10}},
    {'k', {0x10, 0x10, 0x12, 0x14, 0x18, 0x14, 0x12}},
    {'m', {0x00, 0x00, 0x1A, 0x15, 0x15, 0x11, 0x11}},
    {'h', {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x11}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
};

const Glyph* FindGlyph(char c) {
  for (const Glyph& g : kGlyphs) {
    if (g.c == c) return &g;
  }
  return nullptr;
}

struct Planes {
  uint8_t* y;
  uint8_t* u;
  uint8_t* v;
  int ys, us, vs;
  int w, h;
};

void FillRect(const Planes& p, int x0, int y0, int x1, int y1, uint8_t yv, uint8_t uv, uint8_t vv) {
  x0 = std::clamp(x0, 0, p.w);
  x1 = std::clamp(x1, 0, p.w);
  y0 = std::clamp(y0, 0, p.h);
  y1 = std::clamp(y1, 0, p.h);
  if (x0 >= x1 || y0 >= y1) return;
  for (int y = y0; y < y1; ++y) std::memset(p.y + y * p.ys + x0, yv, x1 - x0);
  for (int y = y0 / 2; y < (y1 + 1) / 2; ++y) {
    std::memset(p.u + y * p.us + x0 / 2, uv, (x1 + 1) / 2 - x0 / 2);
    std::memset(p.v + y * p.vs + x0 / 2, vv, (x1 + 1) / 2 - x0 / 2);
  }
}

void DrawText(const Planes& p, int x, int y, int scale, const std::string& text) {
  for (char c : text) {
    const Glyph* g = FindGlyph(c);
    if (g) {
      for (int row = 0; row < 7; ++row) {
        for (int col = 0; col < 5; ++col) {
          if (g->rows[row] & (0x10 >> col)) {
            FillRect(p, x + col * scale, y + row * scale, x + (col + 1) * scale,
                     y + (row + 1) * scale, 235, 128, 128);
          }
        }
      }
    }
    x += 6 * scale;
  }
}

}  // namespace

void TestPicture::Render(const SceneState& scene, AVFrame* frame) const {
  const Planes p{frame->data[0],     frame->data[1],     frame->data[2], frame->linesize[0],
                 frame->linesize[1], frame->linesize[2], frame->width,   frame->height};
  const int horizon = p.h * 9 / 20;
  // Sky: a vertical gradient, bluish in front, orange-grey in the rear view.
  for (int y = 0; y < horizon; ++y) {
    std::memset(p.y + y * p.ys, 170 - 50 * y / std::max(horizon, 1), p.w);
  }
  for (int y = 0; y < horizon / 2; ++y) {
    std::memset(p.u + y * p.us, rear_ ? 110 : 150, (p.w + 1) / 2);
    std::memset(p.v + y * p.vs, rear_ ? 150 : 112, (p.w + 1) / 2);
  }
  // Ground and road: the road narrows toward the horizon and shifts in turns.
  const double shift = scene.steer * p.w * 0.15;
  for (int y = horizon; y < p.h; ++y) {
    const double depth = static_cast<double>(y - horizon + 1) / (p.h - horizon);
    const int half = static_cast<int>(p.w * (0.04 + 0.46 * depth));
    const int centre = static_cast<int>(p.w / 2 + shift * (1.0 - depth));
    uint8_t* row = p.y + y * p.ys;
    std::memset(row, 96, p.w);
    const int l = std::clamp(centre - half, 0, p.w);
    const int r = std::clamp(centre + half, 0, p.w);
    if (r > l) std::memset(row + l, 64, r - l);
    // Lane marks move toward the viewer with the distance driven.
    const double z = 1.0 / depth;
    const bool mark = std::fmod(z * 4.0 + scene.road_phase_m * 0.25, 2.0) < 1.0;
    const int mw = std::max(1, static_cast<int>(p.w * 0.006 * depth));
    if (mark) {
      for (int x = std::max(0, centre - mw); x < std::min(p.w, centre + mw); ++x) row[x] = 220;
    }
  }
  for (int y = horizon / 2; y < (p.h + 1) / 2; ++y) {
    std::memset(p.u + y * p.us, rear_ ? 124 : 120, (p.w + 1) / 2);
    std::memset(p.v + y * p.vs, rear_ ? 130 : 126, (p.w + 1) / 2);
  }
  // A car ahead (behind, for the rear view) with two lights.
  const int car_w = p.w / 8;
  const int car_h = p.h / 10;
  const int car_x =
      static_cast<int>(p.w / 2 - car_w / 2 + shift * 0.5 + std::sin(scene.time_s * 0.7) * p.w / 20);
  const int car_y = horizon + (p.h - horizon) / 4;
  FillRect(p, car_x, car_y, car_x + car_w, car_y + car_h, rear_ ? 200 : 40, 128, 128);
  const int light = std::max(2, car_w / 8);
  FillRect(p, car_x + light / 2, car_y + car_h / 2, car_x + light * 3 / 2,
           car_y + car_h / 2 + light, rear_ ? 235 : 82, rear_ ? 128 : 90, rear_ ? 128 : 240);
  FillRect(p, car_x + car_w - light * 3 / 2, car_y + car_h / 2, car_x + car_w - light / 2,
           car_y + car_h / 2 + light, rear_ ? 235 : 82, rear_ ? 128 : 90, rear_ ? 128 : 240);
  // A marker that bounces across the sky: a plain sign that time moves.
  const int box = std::max(4, p.h / 16);
  const double phase = std::fmod(scene.time_s * 0.25, 2.0);
  const double frac = phase < 1.0 ? phase : 2.0 - phase;
  const int bx = static_cast<int>(frac * (p.w - box));
  FillRect(p, bx, box, bx + box, 2 * box, 210, 16, 146);
  // Caption: channel letter, date and time, speed.
  const int scale = std::max(1, p.h / 180);
  const std::string text = std::string(rear_ ? "R " : "F ") + scene.caption + " " +
                           std::to_string(scene.speed_kmh) + "km/h";
  FillRect(p, 0, p.h - 11 * scale, p.w, p.h, 16, 128, 128);
  DrawText(p, 2 * scale, p.h - 9 * scale, scale, text);
}

}  // namespace lumora
