#include "app/CAboutSoftwareDlg.h"

#include <QLabel>
#include <QPushButton>

#include "res/SkinBitmaps.h"
#include "ui/CBitWnd.h"

namespace lumora {

QString CAboutSoftwareDlg::TitleLine() { return QString::asprintf("%s  v%s", kProgram, kVersion); }

CAboutSoftwareDlg::CAboutSoftwareDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("CAboutSoftwareDlg"));
  setWindowTitle(QString::fromUtf8(kProgram));
  setFixedSize(320, 120);
  auto* logo = new CBitWnd(this);
  logo->SetStrip(SkinBitmap(kBmpLogo), 3);
  logo->move(16, 16);
  auto* title = new QLabel(TitleLine(), this);
  title->setObjectName(QStringLiteral("title"));
  title->setGeometry(80, 18, 230, 20);
  auto* address = new QLabel(QString::fromLatin1(kWebAddress), this);
  address->setObjectName(QStringLiteral("address"));
  address->setGeometry(80, 42, 230, 20);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setGeometry(230, 84, 75, 24);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace lumora
