// Writes a picture of every page of the settings dialog in English, Japanese
// and Korean, and of the legacy and DIT setup dialogs, into a folder:
//   lumora-settings-shots OUTPUT_DIR
// The pages show the sample card's settings (tools/mkcard).

#include <QApplication>
#include <QDir>
#include <QTabWidget>

#include <cstdio>

#include "platform/qt/MessageBox.h"
#include "settings/qt/CDITSetupDlg.h"
#include "settings/qt/CNewSetupDlg.h"
#include "settings/qt/CSetupDlg.h"
#include "tests/settings_qt/SettingsTestCard.h"

namespace {

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
  lumora::testing::TempCard card;
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
    // The sample settings with another menu and voice language.
    card.SetKey("usMenuLanguage", language.code);
    card.SetKey("usSndLanguage", language.code);
    lumora::CNewSetupDlg dialog(card.path(), language.code);
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
  legacy.SetCardRoot(card.path());
  legacy.ShowCentred();
  QApplication::processEvents();
  ok &= Save(legacy, out + QStringLiteral("/legacy-setup.png"));
  lumora::CDITSetupDlg dit(60);
  dit.show();
  QApplication::processEvents();
  ok &= Save(dit, out + QStringLiteral("/dit-setup.png"));
  return ok ? 0 : 1;
}
