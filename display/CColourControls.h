#pragma once
// Brightness, contrast and saturation of a display in 16.16 fixed point. The
// range reported for each control is made symmetric about its default, so that
// 50 percent always means "as recorded".

#include <cstdint>

namespace lumora {

struct ColourRange {
  std::int32_t upper = 0;
  std::int32_t lower = 0;
  std::int32_t current = 0;
  std::int32_t def = 0;
  int result = -1;  // negative: the control is not available
};

class CColourControls {
 public:
  static constexpr std::int32_t kOne = 0x10000;
  static constexpr std::int32_t kContrastFloor = 6553;  // 0.1

  // Ranges of our colour converter: brightness -100..100 levels around 0,
  // contrast and saturation 0..10 around 1.
  CColourControls();

  // Range (min, max, default) made symmetric about the default; current =
  // default.
  static ColourRange MakeSymmetric(std::int32_t min, std::int32_t max, std::int32_t def);

  void SetBrightness(int percent);
  void SetContrast(int percent);

  const ColourRange& Brightness() const { return brightness_; }
  const ColourRange& Contrast() const { return contrast_; }
  const ColourRange& Saturation() const { return saturation_; }

  // Values to apply: the current ones for video, the defaults for stills.
  struct Values {
    std::int32_t brightness;
    std::int32_t contrast;
    std::int32_t saturation;
  };
  Values ForVideo() const;
  Values ForStill() const;

 private:
  ColourRange brightness_;
  ColourRange contrast_;
  ColourRange saturation_;
};

}  // namespace lumora
