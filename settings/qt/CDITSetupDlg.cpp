#include "settings/qt/CDITSetupDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <cstdlib>
#include <string>

namespace lumora {

CDITSetupDlg::CDITSetupDlg(int currentLimit, QWidget* parent)
    : QDialog(parent), initial_(currentLimit) {
  setWindowTitle(QStringLiteral("DIT Setup"));
  QPoint origin(0, 0);
  if (parent) origin = parent->window()->geometry().topLeft();
  setGeometry(origin.x() + 300, origin.y() + 350, 250, 100);
  auto* layout = new QGridLayout(this);
  edit_ = new QLineEdit(QString::number(currentLimit), this);
  edit_->setObjectName(QStringLiteral("overSpeedEdit"));
  layout->addWidget(new QLabel(QStringLiteral("Over speed limit :"), this), 0, 0);
  layout->addWidget(edit_, 0, 1);
  layout->addWidget(new QLabel(QStringLiteral("km/h"), this), 0, 2);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addWidget(buttons, 1, 0, 1, 3);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

int CDITSetupDlg::Value() const {
  const std::string text = edit_->text().toStdString();
  return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

int CDITSetupDlg::Result() const { return result() == QDialog::Accepted ? Value() : initial_; }

}  // namespace lumora
