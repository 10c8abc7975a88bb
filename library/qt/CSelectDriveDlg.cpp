#include "library/qt/CSelectDriveDlg.h"

#include <QComboBox>
#include <QPushButton>

namespace lumora {

CSelectDriveDlg::CSelectDriveDlg(const IDriveEnumerator& drives, QWidget* parent)
    : QDialog(parent), m_entries(CDriveList::Entries(drives)) {
  setObjectName(QStringLiteral("dialog%1").arg(kTemplateId));
  setWindowTitle(QStringLiteral("Select Drive"));
  setFixedSize(320, 90);
  m_combo = new QComboBox(this);
  m_combo->setObjectName(QString::number(kIdDriveList));
  m_combo->setGeometry(12, 14, 296, 24);
  for (const DriveListEntry& e : m_entries) m_combo->addItem(QString::fromStdString(e.text));
  if (!m_entries.empty()) m_combo->setCurrentIndex(0);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setGeometry(124, 52, 72, 26);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
}

void CSelectDriveDlg::OnOK() {
  m_chosenIndex = m_combo->currentIndex();
  m_chosen = m_combo->currentText();
  accept();
}

std::filesystem::path CSelectDriveDlg::ChosenRoot() const {
  if (m_chosenIndex < 0 || m_chosenIndex >= static_cast<int>(m_entries.size())) return {};
  return m_entries[static_cast<std::size_t>(m_chosenIndex)].root;
}

std::optional<QString> CSelectDriveDlg::Run() {
  if (m_entries.empty()) return std::nullopt;  // nothing to choose: as if cancelled
  if (exec() != QDialog::Accepted || m_chosenIndex < 0) return std::nullopt;
  return m_chosen;
}

}  // namespace lumora
