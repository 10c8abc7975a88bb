#pragma once
// The "Graph" window: the whole recording's acceleration (set A around the
// middle line, set B above the base line) or its speed against time, with
// the value under the mouse. Modal; the mode lives while the window is open.

#include <QDialog>
#include <QString>

#include <cstdint>

#include "data/CDrivingTrack.h"
#include "data/GraphDlgRules.h"

namespace lumora {

class CSkinButton;

class CGraphDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kTemplateId = 359;

  CGraphDlg(const CDrivingTrack* track, std::int64_t durationMs, int speedUnit, bool compact,
            QWidget* parent = nullptr);

  int Mode() const { return m_nMode; }
  std::int64_t Duration() const { return m_nDuration; }
  const GraphLayout& Layout() const { return m_layout; }
  const QString& ReadoutText() const { return m_strReadout; }
  CSkinButton* ModeButton() const { return m_pModeButton; }

  // The recording behind the window changed (playback went on to the next).
  void SetDuration(std::int64_t durationMs);
  // The mode button: 0 -> 1 -> 2 -> 0, new bitmap pair, repaint.
  void OnChangeMode();
  // The readout for the mouse at row y.
  void OnMouseRow(int y);
  // Renders the client area as the paint handler draws it.
  QImage Render();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void Paint(QPainter& dc);
  void ApplyModeBitmaps();

  const CDrivingTrack* m_pTrack;
  std::int64_t m_nDuration;
  int m_nSpeedUnit;
  GraphLayout m_layout;
  int m_nMode = 0;
  QString m_strReadout;
  CSkinButton* m_pModeButton = nullptr;
  CSkinButton* m_pHiddenButton = nullptr;
};

}  // namespace lumora
