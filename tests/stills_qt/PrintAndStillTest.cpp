#include "display/qt/CPrintScreen.h"
#include "display/qt/CStillView.h"

#include <gtest/gtest.h>

#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

#include "TestSupport.h"
#include "platform/qt/MessageBox.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

// A window whose left half is red and right half blue.
class TwoColourWindow : public QWidget {
 public:
  TwoColourWindow() {
    resize(400, 300);
    move(40, 40);
    auto* left = new QWidget(this);
    left->setGeometry(0, 0, 200, 300);
    left->setAutoFillBackground(true);
    left->setPalette(QPalette(Qt::red));
    auto* right = new QWidget(this);
    right->setGeometry(200, 0, 200, 300);
    right->setAutoFillBackground(true);
    right->setPalette(QPalette(Qt::blue));
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::red);
    right->setPalette([] {
      QPalette b;
      b.setColor(QPalette::Window, Qt::blue);
      return b;
    }());
    left->setPalette([] {
      QPalette r;
      r.setColor(QPalette::Window, Qt::red);
      return r;
    }());
    show();
  }
};

QImage RenderPdf(const fs::path& pdf, const fs::path& dir) {
  const fs::path prefix = dir / "page";
  if (test::Run("pdftoppm -png -r 20 -singlefile '" + pdf.string() + "' '" + prefix.string() +
                "'") != 0) {
    return {};
  }
  return QImage(QString::fromStdString(prefix.string() + ".png"));
}

bool Near(QRgb c, int r, int g, int b) {
  return std::abs(qRed(c) - r) < 40 && std::abs(qGreen(c) - g) < 40 && std::abs(qBlue(c) - b) < 40;
}

TEST(PrintScreen, PrintsTheWindowScaledOntoAWhitePage) {
  test::TempFolder dir;
  MessageBoxRecorder boxes;
  TwoColourWindow window;
  const fs::path pdf = dir.path() / "print.pdf";
  CPrintScreen printer(QString(), QStringLiteral("QX-41a"));
  EXPECT_EQ(printer.FailMessage(), QStringLiteral("Print Fail"));
  QString docName;
  printer.SetDialog([&](QPrinter& p, QWidget*) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(QString::fromStdString(pdf.string()));
    p.setPageSize(QPageSize(QPageSize::A4));
    p.setPageOrientation(QPageLayout::Landscape);
    return true;
  });
  ASSERT_TRUE(printer.Print(CPrintScreen::kWindow, CPrintScreen::kPortrait, true, &window));
  EXPECT_TRUE(boxes.Requests().empty());
  const QImage page = RenderPdf(pdf, dir.path());
  ASSERT_FALSE(page.isNull());
  ASSERT_GT(page.width(), page.height());  // landscape
  // A 400 x 300 window against the 1024 x 768 reference on a landscape A4
  // page: about 37% of the page width and 39% of its height, at the top left.
  const int w = page.width();
  const int h = page.height();
  EXPECT_TRUE(Near(page.pixel(w * 5 / 100, h * 10 / 100), 255, 0, 0));
  EXPECT_TRUE(Near(page.pixel(w * 30 / 100, h * 30 / 100), 0, 0, 255));
  EXPECT_TRUE(Near(page.pixel(w * 60 / 100, h * 20 / 100), 255, 255, 255));
  EXPECT_TRUE(Near(page.pixel(w * 10 / 100, h * 70 / 100), 255, 255, 255));
  EXPECT_TRUE(Near(page.pixel(w * 90 / 100, h * 90 / 100), 255, 255, 255));
}

TEST(PrintScreen, CancelledDialogPrintsAndShowsNothing) {
  test::TempFolder dir;
  MessageBoxRecorder boxes;
  TwoColourWindow window;
  const fs::path pdf = dir.path() / "never.pdf";
  CPrintScreen printer;
  printer.SetDialog([&](QPrinter& p, QWidget*) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(QString::fromStdString(pdf.string()));
    return false;
  });
  EXPECT_FALSE(printer.Print(CPrintScreen::kWindow, CPrintScreen::kPortrait, true, &window));
  EXPECT_TRUE(boxes.Requests().empty());
  EXPECT_FALSE(fs::exists(pdf));
}

TEST(PrintScreen, NoPrinterShowsPrintFail) {
  if (!QPrinterInfo::defaultPrinterName().isEmpty()) GTEST_SKIP() << "a printer is installed";
  MessageBoxRecorder boxes;
  TwoColourWindow window;
  CPrintScreen printer(QString(), QStringLiteral("QX-41a"));
  EXPECT_FALSE(printer.Print(CPrintScreen::kClient, CPrintScreen::kLandscape, false, &window));
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(boxes.Requests()[0].text, QStringLiteral("Print Fail"));
  EXPECT_EQ(boxes.Requests()[0].caption, QStringLiteral("QX-41a"));
  EXPECT_EQ(boxes.Requests()[0].icon, kMbIconError);
}

TEST(StillView, ShowsTheDecodedPictureTopRowFirst) {
  test::TempFolder dir;
  MessageBoxRecorder boxes;
  const auto jpeg = test::MakeJpeg(dir.path(), 160, 120);
  ASSERT_FALSE(jpeg.empty());
  CStillView view(nullptr, QStringLiteral("QX-41a"));
  ASSERT_TRUE(view.LoadFile(dir.path() / "pic160x120.jpg"));
  EXPECT_TRUE(boxes.Requests().empty());
  const QImage picture = view.Picture();
  ASSERT_EQ(picture.size(), QSize(160, 120));
  // Top left: no red, no green; bottom right: red and green.
  EXPECT_LT(qRed(picture.pixel(2, 2)), 40);
  EXPECT_LT(qGreen(picture.pixel(2, 2)), 40);
  EXPECT_GT(qRed(picture.pixel(157, 117)), 215);
  EXPECT_GT(qGreen(picture.pixel(157, 117)), 215);
  // Drawn stretched to 320 x 240.
  view.resize(400, 300);
  const QImage shown = view.grab().toImage();
  EXPECT_GT(qRed(shown.pixel(315, 235)), 200);
  EXPECT_LT(qRed(shown.pixel(4, 4)), 50);
}

TEST(StillView, DecoderMessagesAreShownAndBadFilesLeaveItEmpty) {
  test::TempFolder dir;
  MessageBoxRecorder boxes;
  const auto progressive = test::MakeJpeg(dir.path(), 32, 32, "-progressive");
  ASSERT_FALSE(progressive.empty());
  CStillView view(nullptr, QStringLiteral("QX-41a"));
  EXPECT_FALSE(view.LoadMemory(progressive.data(), progressive.size()));
  ASSERT_EQ(boxes.Requests().size(), 2u);
  EXPECT_EQ(boxes.Requests()[0].text, QStringLiteral("Prog + Huff is not supported"));
  EXPECT_EQ(boxes.Requests()[1].text, QStringLiteral("Can not read the file header"));
  EXPECT_EQ(boxes.Requests()[1].caption, QStringLiteral("QX-41a"));
  EXPECT_TRUE(view.Picture().isNull());
  EXPECT_FALSE(view.LoadFile(dir.path() / "missing.jpg"));
  test::WriteText(dir.path() / "empty.jpg", "");
  EXPECT_FALSE(view.LoadFile(dir.path() / "empty.jpg"));
  EXPECT_TRUE(view.Bitmap().Empty());
}

}  // namespace
}  // namespace lumora
