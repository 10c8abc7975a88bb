#pragma once
// The arithmetic of the data panel under the video: the G-sensor and speed
// curves of the graph strip, the play cursor, the axis labels, the needle of
// the speedometer and the heading arrow, and the texts of the text block.
// Everything is in main-window client pixels (the strip's curves in the
// coordinates of its off-screen bitmap) so that CDataView only paints.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/CDrivingTrack.h"
#include "data/PlotLine.h"

namespace lumora {

using PanelLine = PlotLine;

struct PanelPoint {
  int x = 0;
  int y = 0;
  bool operator==(const PanelPoint&) const = default;
};

// The GPS fix the map update found for the play position (NMEA ddmm.mmmm
// values, negative south / west, with their hemisphere letters).
struct PanelFix {
  bool valid = false;
  double latitude = 0.0;
  double longitude = 0.0;
  char northSouth = 'N';
  char eastWest = 'E';
  double speed = 0.0;
};

// What the panel reads besides the track; the main window keeps it current.
struct DataPanelInput {
  std::int64_t position = 0;  // ms
  std::int64_t duration = 0;  // ms
  bool fullScreen = false;
  int speedUnit = 0;  // 0 km/h, 1 mph
  int graphMode = 0;  // 0 set A, 1 set B, 2 speed
  std::string label;  // first column of the recording's list row
  PanelFix fix;
  // Drawn on the time-of-day line when not empty: why a recording that
  // plays shows no driving data ("No driving data" in the camera's language).
  std::string notice;
};

class DataPanelRules {
 public:
  // Colours.
  static constexpr std::uint32_t kGridColour = 0x5B4D1C;
  static constexpr std::uint32_t kCursorColour = 0x09A9FF;
  static constexpr std::uint32_t kNeedleColour = 0xCE981D;
  static constexpr std::uint32_t kXColour = 0xFFFFFF;
  static constexpr std::uint32_t kYColour = 0xFFFF00;
  static constexpr std::uint32_t kZColour = 0x00FF00;
  static constexpr std::uint32_t kTextBack = 0x323232;
  static constexpr std::uint32_t kLabelBack = 0x0C0C0C;
  static constexpr std::uint32_t kWhite = 0xFFFFFF;

  // Graph strip: off-screen bitmap, curve origin and width, copied block.
  static constexpr int kStripBitmapWidth = 1020;
  static constexpr int kStripBitmapHeight = 690;
  static constexpr int kCurveLeft = 255;
  static constexpr int kCurveWidth = 397;
  static constexpr int kCursorMax = kCurveLeft + kCurveWidth - 5;  // 647
  static constexpr int kCopySourceX = 216;
  static constexpr int kCopySourceY = 556;
  static constexpr int kCopyWidth = 431;
  static constexpr int kCopyHeight = 85;
  static constexpr int kCopyTargetX = 216;
  static constexpr int kCopyTargetY = 575;
  // DIT mode's speed curve starts a little further right.
  static constexpr int kDitCurveLeft = 260;

  // Gauges.
  static constexpr int kNeedleCentreX = 272;
  static constexpr int kNeedleCentreY = 511;
  static constexpr int kNeedleRadius = 45;
  static constexpr int kSpeedFaceX = 219;
  static constexpr int kSpeedFaceY = 459;
  static constexpr int kSpeedFaceWidth = 177;
  static constexpr int kSpeedFaceHeight = 178;
  static constexpr int kHeadingFaceX = 339;
  static constexpr int kHeadingFaceY = 466;
  static constexpr int kHeadingFaceWidth = 89;
  static constexpr int kHeadingFaceHeight = 92;
  static constexpr int kArrowX = 384;
  static constexpr int kArrowY = 510;
  static constexpr int kGaugeMaxSpeed = 160;

  // Text block: four lines of (500, y, 750, y + 20).
  static constexpr int kTextLeft = 500;
  static constexpr int kTextRight = 750;
  static constexpr int kTextLineHeight = 20;
  static constexpr int kLabelY = 465;
  static constexpr int kTimeY = 490;
  static constexpr int kLatitudeY = 515;
  static constexpr int kLongitudeY = 540;

  // km/h as shown in the unit setting: mph is km/h x 10 / 16 (integer).
  static int DisplaySpeed(int kmh, int speedUnit);

  // Grid of the strip (off-screen coordinates).
  static std::vector<PanelLine> GridLines();
  // The curves of a graph mode (off-screen coordinates).
  static std::vector<PanelLine> Curves(const CDrivingTrack& track, int graphMode,
                                       std::int64_t duration, int speedUnit);
  // x of the play cursor: 255 + trunc(p / D x 397), at most 647.
  static int CursorX(std::int64_t position, std::int64_t duration);
  // Whether the cursor is drawn (mode 2 needs GPS fixes).
  static bool CursorShown(const CDrivingTrack& track, int graphMode);
  // The five axis labels, top first.
  static std::vector<std::string> AxisLabels(int graphMode, int speedUnit);

  // Speed of the gauge: the assistance record of the position, in the unit,
  // at most 160.
  static int GaugeSpeed(const CDrivingTrack& track, std::int64_t position, std::int64_t duration,
                        int speedUnit);
  // Needle end point for a speed 0..160: 0 lower left, 80 up, 160 lower right.
  static PanelPoint NeedleEnd(int speed);
  // The value the needle angle is taken from (speed, or 160 - speed above 80).
  static int FoldedSpeed(int speed);
  // The heading arrow from (384, 510); a point when the folded speed is below 2
  // or the second has no heading entry.
  static PanelLine HeadingArrow(const HeadingEntry* heading, int foldedSpeed);

  // "%02d:%02d:%02d" of the sample's time bytes; nothing when byte 0 is zero.
  static std::optional<std::string> TimeOfDayText(const GSensorSample* slot);
  // "%03d %03d %3.1f %c   " of an NMEA ddmm.mmmm value.
  static std::string CoordinateText(double nmea, char hemisphere);
  // What blanks a coordinate line without a fix: 24 spaces.
  static std::string BlankLine();

  // DIT-mode variant: labels "       %dkph" / "       %dmph" and its speed
  // curve from one value per point (its four lines come from CDitPanelText).
  static std::vector<std::string> DitAxisLabels(int speedUnit);
  static std::vector<PanelLine> DitSpeedCurve(const std::vector<int>& kmh, int speedUnit);

  // Degrees, minutes and seconds of an NMEA value as the panel shows them.
  struct Dms {
    int degrees = 0;
    int minutes = 0;
    double seconds = 0.0;
  };
  static Dms SplitNmea(double nmea);
};

}  // namespace lumora
