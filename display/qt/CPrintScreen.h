#pragma once
// Prints the screen, a window or a window's client area, scaled to the page.
#include <QImage>
#include <QString>
#include <functional>

class QPrinter;
class QWidget;

namespace lumora {

class CPrintScreen {
 public:
  enum Area { kScreen = 0, kWindow = 1, kClient = 2 };
  enum Orientation { kPortrait = 1, kLandscape = 2 };

  // Empty texts take the defaults: "Print Fail" and the application title.
  explicit CPrintScreen(const QString& failMessage = {}, const QString& caption = {});
  virtual ~CPrintScreen() = default;

  // Picks the printer: shows the print dialog and returns whether the user
  // accepted it. Tests replace it to print into a PDF file.
  using DialogFn = std::function<bool(QPrinter& printer, QWidget* parent)>;
  void SetDialog(DialogFn dialog) { m_dialog = std::move(dialog); }

  // Prints `area` of `window` (the active window when null). With the dialog
  // the user picks the printer and cancelling prints nothing and shows
  // nothing; without it the default printer is used in `orientation`.
  // Failures show the failure message. Returns whether a page was printed.
  bool Print(int area, int orientation, bool showDialog, QWidget* window = nullptr);
  // Prints a captured picture onto `printer` (page white, picture scaled).
  bool PrintImage(QPrinter& printer, const QImage& picture, int area, QSize screenSize);

  QString FailMessage() const { return m_failMessage; }
  QString Caption() const { return m_caption; }

 private:
  QImage Capture(int area, QWidget* window, QSize* screenSize) const;
  void Fail(QWidget* parent) const;

  QString m_failMessage;
  QString m_caption;
  DialogFn m_dialog;
};

}  // namespace lumora
