#include "settings/qt/CSetupPage.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLocale>
#include <QRadioButton>
#include <QRegularExpression>

#include <cstdlib>
#include <string>

#include "res/StringTable.h"

namespace lumora {

bool IsSwallowedDialogKey(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

CSetupPage::CSetupPage(QWidget* parent) : QWidget(parent) {}

void CSetupPage::Load(SetupData* record) {
  record_ = record;
  LoadCaptions();
  if (record_) LoadControls();
}

QString CSetupPage::Text(int id) const { return StringTable::Instance().Load(id, language_); }

void CSetupPage::keyPressEvent(QKeyEvent* event) {
  if (IsSwallowedDialogKey(event->key())) {
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

QWidget* CSetupPage::RadioRow(QWidget* parent, std::initializer_list<QRadioButton*> radios) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  for (QRadioButton* radio : radios) {
    radio->setParent(row);
    layout->addWidget(radio);
  }
  layout->addStretch(1);
  return row;
}

void CSetupPage::CheckRadio(const QList<QRadioButton*>& radios, int index) {
  for (int i = 0; i < radios.size(); ++i) {
    QRadioButton* radio = radios[i];
    radio->setAutoExclusive(false);
    radio->setChecked(i == index);
    radio->setAutoExclusive(true);
  }
}

long CSetupPage::EditInt(const QString& text) {
  const std::string s = text.toStdString();
  return std::strtol(s.c_str(), nullptr, 10);
}

double CSetupPage::EditDouble(const QString& text) {
  // The C locale's decimal point whatever the user's locale is.
  static const QRegularExpression number(QStringLiteral("^\\s*([+-]?(\\d+\\.?\\d*|\\.\\d+))"));
  const QRegularExpressionMatch match = number.match(text);
  if (!match.hasMatch()) return 0.0;
  QString digits = match.captured(1);
  if (digits.endsWith(QLatin1Char('.'))) digits.chop(1);
  return QLocale::c().toDouble(digits);
}

}  // namespace lumora
