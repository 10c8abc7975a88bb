#include "app/SmartIndicator.h"

#include <cstdio>

namespace lumora {

int SmartIndicator::GroupState(const std::uint16_t* words, int active, int state, int zero) {
  if (!words || words[active] != 1) return 0;
  if (words[state] != 0 && words[zero] == 0) return 2;
  return 1;
}

SmartFrame SmartIndicator::Refresh(const RowFn& rows, int row, int rowCount, int speedKmh,
                                   bool mph) {
  const std::uint16_t* words = rows ? rows(row) : nullptr;
  const int first = GroupState(words, 4, 6, 2);
  const int second = GroupState(words, 5, 7, 3);
  const int t = (words && (words[9] == 1 || words[9] == 2)) ? words[9] : 0;
  if (first == 0 && second == 0)
    bitmap_ = 448 + t;
  else if (first == 1 && second == 1)
    bitmap_ = 451 + t;
  else if (first == 1 && second == 2)
    bitmap_ = 454 + t;
  else if (first == 2 && second == 1)
    bitmap_ = 457 + t;

  // An event marker near the current row restarts the alert. Rows past the
  // filled table read as empty.
  for (int r = row - 3; r <= row + 2 && rows; ++r) {
    if (r < 0 || r >= rowCount) continue;
    const std::uint16_t* near = rows(r);
    if (near && near[12] == 2) {
      alertDraws_ = 0;
      break;
    }
  }
  SmartFrame frame;
  frame.bitmap = bitmap_;
  if (alertDraws_ < kAlertDraws) {
    frame.drawAlert = true;
    ++alertDraws_;
  }
  const int shown = mph ? static_cast<int>(speedKmh / 1.6) : speedKmh;
  char text[32];
  std::snprintf(text, sizeof text, "%3d", shown);
  frame.speedText = text;
  frame.unitText = mph ? "mph" : "km/h";
  return frame;
}

}  // namespace lumora
