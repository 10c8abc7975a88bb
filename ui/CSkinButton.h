#pragma once
// An owner-drawn push button, check box or radio button painted from up to
// six skin bitmaps (normal, down, disabled, mask, over, focus).
//
// How the main window uses it: it creates one CSkinButton per control-bar
// button with the control id of the command table, gives it its images
// (SetSkin(kBmpPlay) or SetBitmaps), a tooltip from the string table, places
// it with setGeometry / SizeToBitmap, and connects Clicked(id) to its
// OnCommand(id). Check boxes (mute 1023, layout 1099/1100) and radio
// buttons report their state through GetCheck(); radio buttons with the same
// parent and group number uncheck each other.

#include "ui/SkinButtonState.h"

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <cstdint>

namespace lumora {

class CSkinButton : public QWidget {
  Q_OBJECT

 public:
  // The private uncheck message: the first private message plus 0x100.
  static constexpr int kUncheckEventType = 0x0400 + 0x100 + 1000;

  CSkinButton(QWidget* parent, int id, int kind = SkinButtonState::kPushButton);
  // Kind taken from a Windows button style (automatic check box / radio button).
  static CSkinButton* FromStyle(QWidget* parent, int id, std::uint32_t style);

  int Id() const { return id_; }
  int Kind() const { return state_.Kind(); }
  const SkinButtonState& State() const { return state_; }

  void SetBitmaps(const QPixmap& normal, const QPixmap& down = {}, const QPixmap& disabled = {},
                  const QPixmap& mask = {}, const QPixmap& over = {}, const QPixmap& focus = {});
  // The four skin images starting at `base` (res/SkinIds.h), and a mask id or 0.
  void SetSkin(int base, int mask_id = 0);
  // The base id SetSkin drew from last (0 when the bitmaps came otherwise).
  int SkinBase() const { return skin_base_; }
  // Resizes the button to its normal bitmap.
  void SizeToBitmap();

  void SetText(const QString& text);
  QString Text() const { return text_; }
  void SetToolTipText(const QString& text) { setToolTip(text); }
  void SetTextColor(const QColor& colour);
  void SetBorder(bool border);
  void SetDrawMode(int mode);  // SkinPaint::kCopy, kStretch (initial), kTile
  void SetFocusMargin(int margin);
  // Radio buttons with the same parent and group uncheck each other.
  void SetGroup(int group) { group_ = group; }
  int Group() const { return group_; }

  // Set-check / get-check messages.
  void SetCheck(bool checked);
  bool GetCheck() const { return state_.Checked(); }

 signals:
  void Clicked(int id);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void UncheckGroup();
  // Stamp of the moment this button was last checked; an uncheck message
  // posted before that moment is stale and ignored.
  std::uint64_t checked_serial_ = 0;
  void FinishRelease(const SkinButtonState::Release& release);
  QPixmap FacePixmap(SkinButtonState::Face face) const;
  void DrawFace(QPainter& painter, const QPixmap& face);

  int id_;
  SkinButtonState state_;
  QPixmap normal_, down_, disabled_, mask_, over_, focus_;
  QString text_;
  QColor text_colour_;
  bool border_ = false;
  int draw_mode_ = 1;
  std::int16_t focus_margin_ = 0;
  int group_ = 0;
  int skin_base_ = 0;
  bool space_down_ = false;
};

}  // namespace lumora
