// Writes a picture of every page of the settings dialog in English, Japanese
// and Korean, and of the legacy and DIT setup dialogs, into a folder:
//   lumora-settings-shots OUTPUT_DIR
// The pages show the sample card's settings (tools/mkcard).

#include <QApplication>
#include <QDir>
#include <QTabWidget>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/qt/MessageBox.h"
#include "settings/qt/CDITSetupDlg.h"
#include "settings/qt/CNewSetupDlg.h"
#include "settings/qt/CSetupDlg.h"
#include "tools/mkcard/SettingsFiles.h"

namespace {

// The sample settings file with another menu and voice language.
std::string SetupTextInLanguage(int language) {
  std::string text = lumora::MakeSetupFileText();
  for (const std::string key : {"usMenuLanguage=", "usSndLanguage="}) {
    const std::size_t at = text.find(key);
    if (at == std::string::npos) continue;
    const std::size_t end = text.find(' ', at);
    text.replace(at + key.size(), end - at - key.size(), std::to_string(language));
  }
  return text;
}

bool Save(QWidget& widget, const QString& path) {
  if (!widget.grab().save(path, "PNG")) {
    std::fprintf(stderr, "lumora-settings-shots: cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: lumora-settings-shots OUTPUT_DIR\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out);
  std::random_device rd;
  const std::filesystem::path card =
      std::filesystem::temp_directory_path() / ("lumora_settings_shots_" + std::to_string(rd()));
  std::filesystem::create_directories(card / "cfg");
  { std::ofstream(card / "wifi.cfg", std::ios::binary) << lumora::MakeWifiFileText(7); }
  // Nothing is saved: every question is answered No.
  lumora::MessageBoxRecorder answers;
  for (int i = 0; i < 8; ++i) answers.QueueAnswer(lumora::kIdNo);

  const struct {
    int code;
    const char* name;
  } languages[] = {{1, "en"}, {0, "ja"}, {9, "ko"}};
  const char* tabs[] = {"adas", "dvr", "setup", "install", "others"};
  bool ok = true;
  for (const auto& language : languages) {
    std::ofstream(card / "cfg" / "data_setup.cfg", std::ios::binary)
        << SetupTextInLanguage(language.code);
    lumora::CNewSetupDlg dialog(card, language.code);
    dialog.show();
    for (int tab = 0; tab < 5; ++tab) {
      dialog.Tabs()->setCurrentIndex(tab);
      QApplication::processEvents();
      ok &= Save(dialog, QStringLiteral("%1/%2-%3.png")
                             .arg(out, QLatin1String(language.name), QLatin1String(tabs[tab])));
    }
    dialog.hide();
  }

  lumora::CSetupDlg legacy;
  legacy.SetCardRoot(card);
  legacy.ShowCentred();
  QApplication::processEvents();
  ok &= Save(legacy, out + QStringLiteral("/legacy-setup.png"));
  lumora::CDITSetupDlg dit(60);
  dit.show();
  QApplication::processEvents();
  ok &= Save(dit, out + QStringLiteral("/dit-setup.png"));

  std::error_code ec;
  std::filesystem::remove_all(card, ec);
  return ok ? 0 : 1;
}
