#pragma once
// The arithmetic of a video display: where a picture of w x h goes in a view,
// which part of the frame is shown while zoomed, where the overview inset and
// the captions sit. Integer arithmetic throughout, so that every presenter
// puts the same pixels in the same places.

#include "engine/IVideoDisplay.h"

#include <string>

namespace lumora {

// Zoom factors are in 1/256 units: 256 shows the whole picture.
inline constexpr int kZoomUnit = 256;
inline constexpr int kZoomMax = 4096;

// Geometry of one view, kept between frames.
struct ViewGeometry {
  DisplayRect view;         // client coordinates
  DisplayRect source;       // frame pixels
  DisplayRect insetSource;  // frame pixels
  DisplayRect picture;      // client coordinates
  DisplayPoint zoomPoint;   // relative to the picture rectangle
  DisplayPoint zoomCentre;  // frame pixels
  int zoom = kZoomUnit;
  int requestedZoom = kZoomUnit;
  bool zoomChanged = false;
  DisplayPoint drag;  // client pixels, accumulated since the last frame
};

// One text to draw: top-left (left aligned) or top-right (right aligned)
// anchor, and the pixel height of its font.
struct CaptionItem {
  bool visible = false;
  std::string text;
  int x = 0;
  int y = 0;
  bool rightAligned = false;
  int fontHeight = 0;
};

struct CaptionLayout {
  CaptionItem caption;
  CaptionItem zoomLabel;  // "%dX" while zoomed
};

class CDisplayGeometry {
 public:
  // The largest rectangle of the picture's aspect ratio centred in `view`.
  static DisplayRect FitRect(const DisplayRect& view, int w, int h);

  // One step of the zoom table up or down, clamped to [256, 4096].
  static int ZoomInStep(int factor);
  static int ZoomOutStep(int factor);

  // What ZoomIn does to a view: next factor, zoom point at the middle of
  // the picture rectangle, changed flag set.
  static void ApplyZoomIn(ViewGeometry& g);
  static void ApplyZoomOut(ViewGeometry& g);

  // Lays out one frame of w x h in the client rectangle: fitted or
  // stretched rectangle, pending zoom change, source rectangle with the
  // accumulated drag. Updates g.view, g.picture, g.source, g.zoom,
  // g.zoomCentre and clears g.drag.
  static void LayoutFrame(ViewGeometry& g, const DisplayRect& client, int w, int h, bool stretch);

  // The overview inset inside the picture rectangle; side 0 = left, 1 = right.
  static DisplayRect InsetRect(const DisplayRect& picture, int side);

  // Caption and "%dX" label positions for a presentation.
  static CaptionLayout LayoutCaption(const DisplayRect& picture, int fontHeight,
                                     const std::string& text, bool video, int zoom,
                                     bool insetVisible, int insetSide);

  // The "%dX" text for a zoom factor.
  static std::string ZoomLabel(int zoom);
};

}  // namespace lumora
