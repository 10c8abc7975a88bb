#pragma once
// The data panel under the video: the text block (recording label, time of
// day, latitude, longitude), the graph strip with its play cursor and axis
// labels, and the speedometer and heading gauges. Drawn straight into the
// main window at fixed skin coordinates; the values come from the track and
// from the window's shared panel input.

#include "data/CDrivingTrack.h"
#include "display/DataPanelRules.h"
#include "display/DitPanelValues.h"

#include <string>

class QPainter;

namespace lumora {

class CDataView {
 public:
  CDataView(CDrivingTrack* track, const DataPanelInput* input) : m_pTrack(track), m_pInput(input) {}

  // The four text lines; also raises the track's heading-restart signal,
  // even in full screen, where nothing is drawn.
  void DrawDataText(QPainter& dc);
  // Grid, curves of the graph mode and play cursor drawn off-screen, copied
  // in one block, then the axis labels.
  void DrawGraphStrip(QPainter& dc);
  // Speedometer face and needle, heading face and arrow.
  void DrawGauges(QPainter& dc);

  // The three in the window's order: graph strip, text block, gauges.
  void DrawAll(QPainter& dc);

  // DIT mode's variant of the whole panel: the same grid and gauge faces, the
  // speed curve of the drive from x = 260, its axis labels, the needle of the
  // current point's speed and the four text lines.
  static void DrawDitPanel(QPainter& dc, const DitPanelValues& values);

 private:
  // The speedometer face with its needle at SPEED (display units), then the
  // heading face; both panels draw them the same way.
  static void DrawFacesAndNeedle(QPainter& dc, int speed);

  CDrivingTrack* m_pTrack;
  const DataPanelInput* m_pInput;
  // The time-of-day line keeps its last text while the slots in between
  // carry no time; the window repaints it from here (for this recording).
  std::string m_timeText;
  std::string m_timeLabel;
};

}  // namespace lumora
