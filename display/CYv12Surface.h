#pragma once
// A YV12 frame surface of fixed size 1920 x 1088 held in memory: the Y plane
// first, then the V plane, then the U plane, chroma rows half the luma pitch.
// Pictures are copied in with one of four flip modes; the overview inset gets
// its red frames written straight into the planes.

#include "engine/IVideoDisplay.h"

#include <cstdint>
#include <vector>

namespace lumora {

class CYv12Surface {
 public:
  static constexpr int kWidth = 1920;
  static constexpr int kHeight = 1088;
  static constexpr int kPitch = 1920;
  static constexpr int kChromaPitch = kPitch / 2;
  // Colour of the inset frames (red) and their thickness in luma pixels.
  static constexpr std::uint8_t kMarkY = 70;
  static constexpr std::uint8_t kMarkV = 236;
  static constexpr std::uint8_t kMarkU = 50;
  static constexpr int kMarkThickness = 8;

  CYv12Surface();

  // Whether a picture of w x h fits the surface.
  static bool Fits(int w, int h);

  // Copies a planar 4:2:0 picture (planes Y, U, V) of w x h. A height of
  // 1088 is copied as 1080 rows. mode: 0 as is, 1 upside down, 2 mirrored,
  // 3 turned by 180 degrees. Returns false (copying nothing) when the picture
  // does not fit or a plane or stride is missing.
  bool CopyFrame(const std::uint8_t* const planes[3], const int strides[3], int w, int h, int mode);

  // Red frames around `whole` and around `region` (frame pixels).
  void DrawInsetMarkings(const DisplayRect& whole, const DisplayRect& region);

  // Paints the rectangle (frame pixels) in the inset red.
  void FillMark(const DisplayRect& rect);

  std::uint8_t* Y() { return data_.data(); }
  std::uint8_t* V() { return data_.data() + kPitch * kHeight; }
  std::uint8_t* U() { return V() + kPitch * kHeight / 4; }
  const std::uint8_t* Y() const { return data_.data(); }
  const std::uint8_t* V() const { return data_.data() + kPitch * kHeight; }
  const std::uint8_t* U() const { return V() + kPitch * kHeight / 4; }
  const std::vector<std::uint8_t>& Bytes() const { return data_; }

  // Rows a copy of height h fills (1080 for 1088).
  static int CopiedRows(int h) { return h == 1088 ? 1080 : h; }

 private:
  std::vector<std::uint8_t> data_;
};

}  // namespace lumora
