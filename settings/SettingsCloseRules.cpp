#include "settings/SettingsCloseRules.h"

#include "settings/OthersPageRules.h"

namespace lumora {

bool WifiChanged(const WifiEditState& wifi) {
  return wifi.ssid != wifi.loadedSsid || wifi.passphrase != wifi.loadedPassphrase;
}

CloseCheck CheckClose(const WifiEditState& wifi) {
  if (!WifiChanged(wifi)) return CloseCheck::kClose;
  return IsWifiPassphraseTooShort(wifi.passphrase) ? CloseCheck::kAskShortPassphrase
                                                   : CloseCheck::kClose;
}

PassphraseWarningResult AnswerPassphraseWarning(bool okPressed) {
  if (okPressed) return {true, 0};
  return {false, kWifiCancelled};
}

SavePlan DecideSave(bool recordChanged, bool wifiChanged, int cancelFlag,
                    const std::function<bool()>& ask) {
  SavePlan plan;
  if (recordChanged) {
    ++plan.questionsAsked;
    plan.answer = ask() ? SaveAnswer::kYes : SaveAnswer::kNo;
    plan.writeSetup = plan.answer == SaveAnswer::kYes;
  }
  if (wifiChanged && cancelFlag != kWifiCancelled) {
    if (plan.answer == SaveAnswer::kNotAsked) {
      ++plan.questionsAsked;
      plan.writeWifi = ask();
    } else {
      plan.writeWifi = plan.answer == SaveAnswer::kYes;
    }
  }
  return plan;
}

SaveOutcome SaveSettingsOnClose(const std::filesystem::path& cardRoot, const SetupData& record,
                                const SetupData& snapshot, const SetupComments& comments,
                                WifiEditState& wifi, int cancelFlag,
                                const std::function<bool()>& ask) {
  SaveOutcome outcome;
  bool recordChanged = !(record == snapshot);
  SavePlan plan = DecideSave(recordChanged, WifiChanged(wifi), cancelFlag, ask);
  outcome.plan = plan;
  if (plan.writeSetup) outcome.setupWritten = SaveSetupFile(cardRoot, record, comments);
  wifi.network = NormalizeWifiNetwork(wifi.network);
  if (plan.writeWifi) {
    WifiSetup setup{wifi.ssid, wifi.passphrase, wifi.network};
    outcome.wifiWritten = SaveWifiFile(cardRoot, setup);
  }
  return outcome;
}

bool SaveFailed(const SaveOutcome& outcome) {
  return (outcome.plan.writeSetup && !outcome.setupWritten) ||
         (outcome.plan.writeWifi && !outcome.wifiWritten);
}

}  // namespace lumora
