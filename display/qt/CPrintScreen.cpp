#include "display/qt/CPrintScreen.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QWidget>

#include "display/CPrintScale.h"
#include "platform/qt/MessageBox.h"

namespace lumora {

CPrintScreen::CPrintScreen(const QString& failMessage, const QString& caption)
    : m_failMessage(failMessage.isEmpty() ? QStringLiteral("Print Fail") : failMessage),
      m_caption(caption.isEmpty() ? QGuiApplication::applicationDisplayName() : caption) {}

void CPrintScreen::Fail(QWidget* parent) const {
  ShowMessageBox(parent, m_failMessage, m_caption, kMbOk, kMbIconError);
}

QImage CPrintScreen::Capture(int area, QWidget* window, QSize* screenSize) const {
  QScreen* screen =
      window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) return {};
  const QRect desktop = screen->geometry();
  *screenSize = desktop.size();
  if (area == kScreen || !window) return screen->grabWindow(0).toImage();
  // A window partly off the screen is first centred on the desktop.
  const QRect frame = window->frameGeometry();
  if (frame.left() < desktop.left() || frame.top() < desktop.top() ||
      frame.right() > desktop.right() || frame.bottom() > desktop.bottom()) {
    const QRect available = screen->availableGeometry();
    window->move(available.center() - QPoint(frame.width() / 2, frame.height() / 2));
    window->repaint();
  }
  // The window's own pixels; a frame drawn by the window manager is not part
  // of what the program can capture, so areas 1 and 2 both take the window.
  QImage picture = window->grab().toImage();
  const QRect onScreen = QRect(window->mapToGlobal(QPoint(0, 0)), picture.size()) & desktop;
  if (onScreen.isEmpty()) return picture;
  const QPoint offset = onScreen.topLeft() - window->mapToGlobal(QPoint(0, 0));
  return picture.copy(QRect(offset, onScreen.size()));
}

bool CPrintScreen::PrintImage(QPrinter& printer, const QImage& picture, int area,
                              QSize screenSize) {
  printer.setDocName(m_caption);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRect page = painter.viewport();
  painter.fillRect(page, Qt::white);
  const PrintSize size =
      CPrintScale::Compute(area, picture.width(), picture.height(), screenSize.width(),
                           screenSize.height(), page.width(), page.height());
  if (size.width > 0 && size.height > 0) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(0, 0, size.width, size.height), picture);
  }
  return painter.end();
}

bool CPrintScreen::Print(int area, int orientation, bool showDialog, QWidget* window) {
  if (!window) window = QApplication::activeWindow();
  QSize screenSize;
  const QImage picture = Capture(area, window, &screenSize);
  QPrinter printer(QPrinter::HighResolution);
  printer.setFromTo(1, 1);
  printer.setCopyCount(1);
  if (showDialog) {
    const bool accepted = m_dialog ? m_dialog(printer, window) : [&] {
      QPrintDialog dialog(&printer, window);
      return dialog.exec() == QDialog::Accepted;
    }();
    if (!accepted) return false;  // cancelled: nothing printed, nothing shown
  } else {
    printer.setPageOrientation(orientation == kLandscape ? QPageLayout::Landscape
                                                         : QPageLayout::Portrait);
  }
  const bool noPrinter = printer.outputFormat() == QPrinter::NativeFormat
                             ? printer.printerName().isEmpty()
                             : printer.outputFileName().isEmpty();
  if (picture.isNull() || noPrinter || !printer.isValid()) {
    Fail(window);
    return false;
  }
  if (!PrintImage(printer, picture, area, screenSize)) {
    Fail(window);
    return false;
  }
  return true;
}

}  // namespace lumora
