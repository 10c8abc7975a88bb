// Printing a window (rendered to PDF and read back with pdftoppm) and the
// still window (the decoded picture drawn, the decoder's messages shown).
#include "display/qt/CPrintScreen.h"
#include "display/qt/CStillView.h"
#include "platform/qt/MessageBox.h"
#include "tests/support/Cli.h"
#include "tests/support/Pictures.h"

#include <gtest/gtest.h>

#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

namespace lumora {
namespace {

namespace fs = std::filesystem;

// A shown 400 x 300 window whose left half is red and right half blue.
class TwoColourWindow : public QWidget {
 public:
  TwoColourWindow() {
    resize(400, 300);
    for (const auto& [x, colour] : {std::pair{0, Qt::red}, std::pair{200, Qt::blue}}) {
      auto* half = new QWidget(this);
      half->setGeometry(x, 0, 200, 300);
      half->setAutoFillBackground(true);
      QPalette p;
      p.setColor(QPalette::Window, colour);
      half->setPalette(p);
    }
    show();
  }
};

bool Near(QRgb c, int r, int g, int b) {
  return std::abs(qRed(c) - r) < 40 && std::abs(qGreen(c) - g) < 40 && std::abs(qBlue(c) - b) < 40;
}

// The dialog answers with a landscape A4 PDF, or is cancelled.
std::function<bool(QPrinter&, QWidget*)> PdfDialog(const fs::path& pdf, bool accept) {
  return [pdf, accept](QPrinter& p, QWidget*) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(QString::fromStdString(pdf.string()));
    p.setPageSize(QPageSize(QPageSize::A4));
    p.setPageOrientation(QPageLayout::Landscape);
    return accept;
  };
}

// A 400 x 300 window against the 1024 x 768 reference on a landscape A4 page:
// about 37% of the page width and 39% of its height, at the top left.
TEST(PrintScreen, PrintsTheWindowScaledOntoAWhitePage) {
  test::TempFolder dir;
  MessageBoxRecorder boxes;
  TwoColourWindow window;
  CPrintScreen printer(QString(), QStringLiteral("QX-41a"));
  printer.SetDialog(PdfDialog(dir / "print.pdf", true));
  ASSERT_TRUE(printer.Print(CPrintScreen::kWindow, CPrintScreen::kPortrait, true, &window));
  EXPECT_TRUE(boxes.Requests().empty());
  ASSERT_EQ(test::RunCommand("pdftoppm -png -r 20 -singlefile " + test::Quote(dir / "print.pdf") +
                             " " + test::Quote(dir / "page"))
                .exitCode,
            0);
  const QImage page(QString::fromStdString((dir / "page.png").string()));
  ASSERT_GT(page.width(), page.height());
  const auto at = [&](int xPercent, int yPercent) {
    return page.pixel(page.width() * xPercent / 100, page.height() * yPercent / 100);
  };
  EXPECT_TRUE(Near(at(5, 10), 255, 0, 0));
  EXPECT_TRUE(Near(at(30, 30), 0, 0, 255));
  for (const auto& [x, y] : {std::pair{60, 20}, {10, 70}, {90, 90}})
    EXPECT_TRUE(Near(at(x, y), 255, 255, 255)) << x << "," << y;
}

TEST(PrintScreen, CancelledDialogPrintsAndShowsNothing) {
  test::TempFolder dir;
  MessageBoxRecorder boxes;
  TwoColourWindow window;
  CPrintScreen printer;
  printer.SetDialog(PdfDialog(dir / "never.pdf", false));
  EXPECT_FALSE(printer.Print(CPrintScreen::kWindow, CPrintScreen::kPortrait, true, &window));
  EXPECT_TRUE(boxes.Requests().empty());
  EXPECT_FALSE(fs::exists(dir / "never.pdf"));
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

// Top left of the test picture has no red or green, bottom right both; drawn
// stretched to 320 x 240.
TEST(StillView, ShowsTheDecodedPictureTopRowFirst) {
  test::TempFolder dir;
  MessageBoxRecorder boxes;
  ASSERT_FALSE(test::MakeJpeg(dir.path(), 160, 120).empty());
  CStillView view(nullptr, QStringLiteral("QX-41a"));
  ASSERT_TRUE(view.LoadFile(dir / "pic160x120.jpg"));
  EXPECT_TRUE(boxes.Requests().empty());
  const QImage picture = view.Picture();
  ASSERT_EQ(picture.size(), QSize(160, 120));
  EXPECT_LT(qRed(picture.pixel(2, 2)), 40);
  EXPECT_LT(qGreen(picture.pixel(2, 2)), 40);
  EXPECT_GT(qRed(picture.pixel(157, 117)), 215);
  EXPECT_GT(qGreen(picture.pixel(157, 117)), 215);
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
  EXPECT_FALSE(view.LoadFile(dir / "missing.jpg"));
  EXPECT_FALSE(view.LoadFile(dir.Write("empty.jpg", "")));
  EXPECT_TRUE(view.Bitmap().Empty());
}

}  // namespace
}  // namespace lumora
