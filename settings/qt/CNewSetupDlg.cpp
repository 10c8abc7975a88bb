#include "settings/qt/CNewSetupDlg.h"

#include <QCloseEvent>
#include <QFont>
#include <QKeyEvent>
#include <QTabWidget>

#include "platform/qt/MessageBox.h"
#include "res/StringTable.h"
#include "settings/OthersPageRules.h"
#include "settings/SystemPageRules.h"
#include "settings/WifiFile.h"
#include "settings/qt/CTabFiveDlg.h"
#include "settings/qt/CTabFourEngDlg.h"
#include "settings/qt/CTabOneEngDlg.h"
#include "settings/qt/CTabThreeEngDlg.h"
#include "settings/qt/CTabTwoEngDlg.h"

namespace lumora {
namespace {

constexpr int kTabCaptionIds[] = {690, 691, 692, 693, 721};
constexpr int kDialogX = 260;
constexpr int kDialogY = 100;
constexpr int kDialogWidth = 480;
constexpr int kDialogHeight = 460;
constexpr int kTabMargin = 10;

}  // namespace

CNewSetupDlg::CNewSetupDlg(const std::filesystem::path& cardRoot, int language, QWidget* parent)
    : QDialog(parent),
      cardRoot_(cardRoot),
      languageCode_(DialogLanguageCode(static_cast<std::uint16_t>(language))) {
  setWindowTitle(QStringLiteral("Setup"));
  setModal(true);
  // The language is known from the card before anything is shown.
  ReadSettings();
  OnInitDialog();
}

CNewSetupDlg::~CNewSetupDlg() { SaveOnDestroy(); }

void CNewSetupDlg::ReadSettings() {
  const SetupFileLocation location = FindSetupFile(cardRoot_);
  if (location.found) LoadSetupFile(location.path, record_, comments_);
  languageCode_ = DialogLanguageCode(record_.usMenuLanguage);
  stringLanguage_ = StringTableLanguage(languageCode_);
}

void CNewSetupDlg::OnInitDialog() {
  // Font of all controls: 11 pixels high.
  font_ = std::make_unique<QFont>(font());
  font_->setPixelSize(11);
  setFont(*font_);

  // Placement relative to the main window's top-left corner.
  QPoint origin(0, 0);
  if (QWidget* owner = parentWidget()) origin = owner->window()->geometry().topLeft();
  setGeometry(origin.x() + kDialogX, origin.y() + kDialogY, kDialogWidth, kDialogHeight);
  tabs_ = new QTabWidget(this);
  tabs_->setGeometry(kTabMargin, kTabMargin, kDialogWidth - 2 * kTabMargin,
                     kDialogHeight - 2 * kTabMargin);

  adasPage_ = new CTabTwoEngDlg;
  dvrPage_ = new CTabThreeEngDlg;
  setupPage_ = new CTabFourEngDlg;
  installPage_ = new CTabOneEngDlg;
  othersPage_ = new CTabFiveDlg;

  // Settings and Wi-Fi as on the card now; the snapshot tells later whether
  // the record changed.
  record_ = SetupData{};
  comments_ = SetupComments{};
  ReadSettings();
  snapshot_ = record_;
  WifiSetup wifi;
  LoadWifiFile(cardRoot_, wifi);
  wifi_.loadedSsid = wifi.ssid;
  wifi_.loadedPassphrase = wifi.wpa_passphrase;
  wifi_.ssid = wifi.ssid;
  wifi_.passphrase = wifi.wpa_passphrase;
  wifi_.network = wifi.network;

  messageCaption_ = StringTable::Instance().Load(kMessageCaptionStringId, stringLanguage_);
  CSetupPage* pages[] = {adasPage_, dvrPage_, setupPage_, installPage_, othersPage_};
  for (int tab = 0; tab < 5; ++tab) {
    pages[tab]->SetLanguage(stringLanguage_);
    tabs_->addTab(pages[tab], StringTable::Instance().Load(kTabCaptionIds[tab], stringLanguage_));
  }
  othersPage_->Load(&record_);
  othersPage_->SetWifiStrings(wifi_.ssid, wifi_.passphrase);
  adasPage_->Load(&record_);
  dvrPage_->Load(&record_);
  setupPage_->Load(&record_);
  installPage_->Load(&record_);
  tabs_->setCurrentIndex(kTabAdas);
  connect(tabs_, &QTabWidget::currentChanged, this, &CNewSetupDlg::OnTabChanged);
}

CSetupPage* CNewSetupDlg::Page(int tab) const {
  switch (tab) {
    case kTabAdas:
      return adasPage_;
    case kTabDvr:
      return dvrPage_;
    case kTabSetup:
      return setupPage_;
    case kTabInstall:
      return installPage_;
    case kTabOthers:
      return othersPage_;
    default:
      return nullptr;
  }
}

void CNewSetupDlg::OnTabChanged(int index) {
  // The page shows what the other pages changed meanwhile.
  if (CSetupPage* page = Page(index)) page->Load(&record_);
}

bool CNewSetupDlg::ConfirmClose() {
  wifi_.ssid = othersPage_->Ssid();
  wifi_.passphrase = othersPage_->Passphrase();
  if (CheckClose(wifi_) == CloseCheck::kClose) return true;
  const int answer = ShowMessageBox(this, QString::fromLatin1(kWifiPassphraseTooShortMessage),
                                    messageCaption_, kMbOkCancel, kMbIconWarning);
  const PassphraseWarningResult result = AnswerPassphraseWarning(answer == kIdOk);
  cancelFlag_ = result.cancelFlag;
  return !result.stayOpen;
}

void CNewSetupDlg::closeEvent(QCloseEvent* event) {
  if (!ConfirmClose()) {
    event->ignore();
    return;
  }
  QDialog::reject();
  event->accept();
}

void CNewSetupDlg::reject() {
  if (ConfirmClose()) QDialog::reject();
}

void CNewSetupDlg::keyPressEvent(QKeyEvent* event) {
  if (IsSwallowedDialogKey(event->key())) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void CNewSetupDlg::SaveOnDestroy() {
  if (!othersPage_) return;
  wifi_.ssid = othersPage_->Ssid();
  wifi_.passphrase = othersPage_->Passphrase();
  const QString question = StringTable::Instance().Load(kSaveChangesStringId, stringLanguage_);
  lastSave_ = SaveSettingsOnClose(
      cardRoot_, record_, snapshot_, comments_, wifi_, cancelFlag_, [this, &question] {
        return ShowMessageBox(this, question, messageCaption_, kMbYesNo, kMbIconQuestion) == kIdYes;
      });
  if (SaveFailed(lastSave_)) {
    ShowMessageBox(this, StringTable::Instance().Load(kSaveFailedStringId, stringLanguage_),
                   messageCaption_, kMbOk, kMbIconError);
  }
  delete tabs_;
  tabs_ = nullptr;
  adasPage_ = nullptr;
  dvrPage_ = nullptr;
  setupPage_ = nullptr;
  installPage_ = nullptr;
  othersPage_ = nullptr;
}

}  // namespace lumora
