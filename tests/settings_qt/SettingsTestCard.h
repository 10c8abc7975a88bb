#pragma once
// A temporary camera card holding the sample card's settings files
// (cfg/data_setup.cfg and wifi.cfg as the sample-card generator writes them).

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <filesystem>
#include <string>

#include "tests/support/TempFolder.h"
#include "tools/mkcard/SettingsFiles.h"

namespace lumora::testing {

using test::ReadFile;

class TempCard {
 public:
  explicit TempCard(bool withWifi = true, bool withSetup = true) {
    if (withSetup) folder_.Write("cfg/data_setup.cfg", MakeSetupFileText());
    if (withWifi) folder_.Write("wifi.cfg", MakeWifiFileText(7));
  }
  const std::filesystem::path& Root() const { return folder_.path(); }
  std::filesystem::path SetupPath() const { return folder_ / "cfg" / "data_setup.cfg"; }
  std::filesystem::path WifiPath() const { return folder_ / "wifi.cfg"; }
  // Replaces "key=<old> " with "key=<value> " in data_setup.cfg.
  void SetKey(const std::string& key, int value) {
    std::string text = ReadFile(SetupPath());
    const std::size_t at = text.find("\n" + key + "=");
    if (at == std::string::npos) return;
    const std::size_t end = text.find(' ', at);
    text.replace(at + 1, end - at - 1, key + "=" + std::to_string(value));
    test::WriteFile(SetupPath(), text);
  }

 private:
  test::TempFolder folder_;
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

}  // namespace lumora::testing
