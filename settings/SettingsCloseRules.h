#pragma once
// What the settings dialog does when it closes: the passphrase check that may
// keep it open, and the save decision table (what is asked, what is written).
//
// Save decision, for a record that changed or not (compared byte for byte
// with the snapshot taken at loading), Wi-Fi strings that changed or not, and
// the Wi-Fi cancel flag:
//
//   record  wifi     flag  question(s)        written
//   same    same     any   none               nothing
//   changed same     any   1 (save changes?)  Yes: data_setup.cfg
//   same    changed  0     1                  Yes: wifi.cfg
//   same    changed  -1    none               nothing
//   changed changed  0     1                  Yes: both; No: nothing
//   changed changed  -1    1                  Yes: data_setup.cfg only
//
// The question is string 628 "Do you want to save the changes?" with Yes and
// No, captioned with the message caption (string 710).

#include <filesystem>
#include <functional>
#include <string>

#include "settings/SetupData.h"
#include "settings/SetupFile.h"
#include "settings/WifiFile.h"

namespace lumora {

inline constexpr int kSaveChangesStringId = 628;
inline constexpr int kMessageCaptionStringId = 710;
// "The settings could not be saved to the SD card. ..." after a failed write.
inline constexpr int kSaveFailedStringId = 840;
// The Wi-Fi cancel flag after the user gave up an invalid passphrase.
inline constexpr int kWifiCancelled = -1;

// The Wi-Fi strings as loaded and as currently on the OTHERS page.
struct WifiEditState {
  std::string loadedSsid;
  std::string loadedPassphrase;
  std::string ssid;        // current
  std::string passphrase;  // current
  std::string network;
};

// True when the current SSID or passphrase differs from the loaded one.
bool WifiChanged(const WifiEditState& wifi);

enum class CloseCheck {
  kClose,               // close now
  kAskShortPassphrase,  // show kWifiPassphraseTooShortMessage with OK / Cancel
};

// Step one of closing: unchanged Wi-Fi strings close; a changed pair whose
// passphrase is shorter than 8 characters asks first.
CloseCheck CheckClose(const WifiEditState& wifi);

struct PassphraseWarningResult {
  bool stayOpen = false;
  int cancelFlag = 0;
};

// The answer to the passphrase warning: OK keeps the dialog open (flag 0),
// Cancel closes it with the cancel flag -1.
PassphraseWarningResult AnswerPassphraseWarning(bool okPressed);

enum class SaveAnswer { kNotAsked, kYes, kNo };

struct SavePlan {
  int questionsAsked = 0;
  SaveAnswer answer = SaveAnswer::kNotAsked;
  bool writeSetup = false;
  bool writeWifi = false;
};

// The decision table above. `ask` shows the save question and returns true
// for Yes; it is called at most once.
SavePlan DecideSave(bool recordChanged, bool wifiChanged, int cancelFlag,
                    const std::function<bool()>& ask);

struct SaveOutcome {
  SavePlan plan;
  bool setupWritten = false;
  bool wifiWritten = false;
};

// True when the outcome planned a write that did not happen.
bool SaveFailed(const SaveOutcome& outcome);

// Runs the save on closing: decides with DecideSave (record against
// snapshot, Wi-Fi current against loaded), normalizes the network ("192.168.20"
// when shorter than 2 characters), then rewrites data_setup.cfg and/or
// wifi.cfg on the card. A write that fails (a full or write-protected card)
// leaves the old file as it was and shows in the outcome; the dialog then
// tells the user (SaveFailed, string 840).
SaveOutcome SaveSettingsOnClose(const std::filesystem::path& cardRoot, const SetupData& record,
                                const SetupData& snapshot, const SetupComments& comments,
                                WifiEditState& wifi, int cancelFlag,
                                const std::function<bool()>& ask);

}  // namespace lumora
