#pragma once
// The in and out marks of a clip export, drawn over the seek strip: a green
// line where the clip starts and a red one where it ends. It lets every
// mouse event through to the strip.

#include <QWidget>

#include <optional>

namespace lumora {

class ExportMarks : public QWidget {
 public:
  explicit ExportMarks(QWidget* strip);
  // Fractions of the strip's length; none hides a mark.
  void SetMarks(std::optional<double> in, std::optional<double> out);
  std::optional<double> In() const { return m_in; }
  std::optional<double> Out() const { return m_out; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<double> m_in;
  std::optional<double> m_out;
};

}  // namespace lumora
