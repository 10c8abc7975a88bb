#pragma once
// A temporary camera card holding the sample card's settings files
// (cfg/data_setup.cfg and wifi.cfg as the sample-card generator writes them).

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "tools/mkcard/SettingsFiles.h"

namespace lumora::testing {

inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

class TempCard {
 public:
  explicit TempCard(bool withWifi = true, bool withSetup = true) {
    std::random_device rd;
    root_ = std::filesystem::temp_directory_path() /
            ("lumora_settings_qt_" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(root_);
    if (withSetup) WriteAll(SetupPath(), MakeSetupFileText());
    if (withWifi) WriteAll(WifiPath(), MakeWifiFileText(7));
  }
  ~TempCard() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path SetupPath() const { return root_ / "cfg" / "data_setup.cfg"; }
  std::filesystem::path WifiPath() const { return root_ / "wifi.cfg"; }
  // Replaces "key=<old> " with "key=<value> " in data_setup.cfg.
  void SetKey(const std::string& key, int value) {
    std::string text = ReadAll(SetupPath());
    const std::size_t at = text.find("\n" + key + "=");
    if (at == std::string::npos) return;
    const std::size_t end = text.find(' ', at);
    text.replace(at + 1, end - at - 1, key + "=" + std::to_string(value));
    WriteAll(SetupPath(), text);
  }

 private:
  std::filesystem::path root_;
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
