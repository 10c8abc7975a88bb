#pragma once
// The driver-assistance and speed indicator of the "SMART" control (5005):
// which bitmap shows, whether the event alert is drawn over it and the speed
// text. Holds the two pieces of state that carry from one refresh to the next
// (the bitmap shown before and the alert's draw count).

#include <cstdint>
#include <functional>
#include <string>

namespace lumora {

struct SmartFrame {
  int bitmap = 448;        // 448..459
  bool drawAlert = false;  // bitmap 491 over the indicator, white transparent
  std::string speedText;   // "%3d"
  std::string unitText;    // "km/h" or "mph"
};

class SmartIndicator {
 public:
  static constexpr int kWidth = 180;
  static constexpr int kHeight = 165;
  static constexpr int kFirstBitmap = 448;
  static constexpr int kAlertBitmap = 491;
  static constexpr int kAlertDraws = 6;
  static constexpr int kWordCount = 21;

  // Row r of the driver-assistance table: its 21 words, or null outside it.
  using RowFn = std::function<const std::uint16_t*(int row)>;

  // The state of one indicator group from its activation, state and zero
  // words: 0 inactive, 2 when state is set and zero is clear, else 1.
  static int GroupState(const std::uint16_t* words, int active, int state, int zero);

  // One refresh for row `row` of a table of `rowCount` rows. `speedKmh` is
  // the speed to show; `mph` selects the mph unit (km/h / 1.6, truncated).
  SmartFrame Refresh(const RowFn& rows, int row, int rowCount, int speedKmh, bool mph);

  int Bitmap() const { return bitmap_; }
  int AlertDraws() const { return alertDraws_; }

 private:
  int bitmap_ = kFirstBitmap;
  int alertDraws_ = kAlertDraws;
};

}  // namespace lumora
