#pragma once
// A temporary card with the sample card's settings files (cfg/data_setup.cfg
// and wifi.cfg), and the user's input on the dialogs' controls.

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <string>

#include "tests/support/TempFolder.h"
#include "tools/mkcard/SettingsFiles.h"

namespace lumora::testing {

class TempCard : public test::TempFolder {
 public:
  explicit TempCard(bool withFiles = true) {
    if (!withFiles) return;
    Write("cfg/data_setup.cfg", MakeSetupFileText());
    Write("wifi.cfg", MakeWifiFileText(7));
  }
  std::filesystem::path SetupPath() const { return *this / "cfg" / "data_setup.cfg"; }
  std::filesystem::path WifiPath() const { return *this / "wifi.cfg"; }
  // Replaces "key=<old> " with "key=<value> " in data_setup.cfg.
  void SetKey(const std::string& key, int value) {
    std::string text = test::ReadFile(SetupPath());
    const std::size_t at = text.find("\n" + key + "=");
    if (at == std::string::npos) return;
    text.replace(at + 1, text.find(' ', at) - at - 1, key + "=" + std::to_string(value));
    test::WriteFile(SetupPath(), text);
  }
};

// Types `text` into an edit as the user would: everything selected, then keys.
inline void TypeInto(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

// Chooses a list entry as the user does (selection, then the activation).
inline void Choose(QComboBox* list, int index) {
  list->setCurrentIndex(index);
  emit list->activated(index);
}

// Clicks a check box or radio button on its indicator, where the user does.
inline void ClickIndicator(QWidget* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

}  // namespace lumora::testing
