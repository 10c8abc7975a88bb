// Closing the settings dialog: the short-passphrase check, the save decision
// table (questions asked, files written) and what reaches the card's files.

#include <gtest/gtest.h>

#include "settings/SettingsCloseRules.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

// A scripted Yes/No that counts how often it was asked.
struct Asker {
  bool answer = true;
  int asked = 0;
  std::function<bool()> fn() {
    return [this] {
      ++asked;
      return answer;
    };
  }
};

TEST(SaveDecision, EveryRow) {
  const struct {
    bool record, wifi;
    int flag;
    bool yes;
    int questions;
    bool writeSetup, writeWifi;
  } rows[] = {
      {false, false, 0, true, 0, false, false}, {false, false, -1, true, 0, false, false},
      {true, false, 0, true, 1, true, false},   {true, false, 0, false, 1, false, false},
      {true, false, -1, true, 1, true, false},  {false, true, 0, true, 1, false, true},
      {false, true, 0, false, 1, false, false}, {false, true, -1, true, 0, false, false},
      {true, true, 0, true, 1, true, true},     {true, true, 0, false, 1, false, false},
      {true, true, -1, true, 1, true, false},   {true, true, -1, false, 1, false, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.record << r.wifi << r.flag << r.yes);
    Asker ask{r.yes};
    const SavePlan plan = DecideSave(r.record, r.wifi, r.flag, ask.fn());
    EXPECT_EQ(ask.asked, r.questions);
    EXPECT_EQ(plan.questionsAsked, r.questions);
    EXPECT_EQ(plan.writeSetup, r.writeSetup);
    EXPECT_EQ(plan.writeWifi, r.writeWifi);
  }
}

TEST(CloseCheck, ShortPassphraseAsksOnlyWhenTheStringsChanged) {
  // {loaded ssid, loaded passphrase, ssid, passphrase}
  EXPECT_EQ(CheckClose({"cam", "12345678", "cam", "12345678", ""}), CloseCheck::kClose);
  EXPECT_EQ(CheckClose({"cam", "12345678", "cam2", "12345678", ""}), CloseCheck::kClose);
  EXPECT_EQ(CheckClose({"cam", "12345678", "cam2", "1234567", ""}),
            CloseCheck::kAskShortPassphrase);
  EXPECT_EQ(CheckClose({"a", "short", "a", "short", ""}), CloseCheck::kClose);
  const PassphraseWarningResult ok = AnswerPassphraseWarning(true);
  EXPECT_TRUE(ok.stayOpen);
  EXPECT_EQ(ok.cancelFlag, 0);
  const PassphraseWarningResult cancel = AnswerPassphraseWarning(false);
  EXPECT_FALSE(cancel.stayOpen);
  EXPECT_EQ(cancel.cancelFlag, -1);
}

TEST(SaveOnClose, WritesWhatThePlanAllows) {
  const std::string setup = "[IO]\r\nusIoTurnActive=1 \r\n";
  const std::string wifi = "[WIFI]\r\nssid=cam \r\nwpa_passphrase=12345678 \r\n";
  const struct {
    const char* why;
    bool recordChanged;
    const char *ssid, *passphrase;
    int flag;
    bool yes;
    int asked;
    const char* wifiAfter;  // nullptr: unchanged
  } rows[] = {
      {"only the SSID", false, "newcam", "12345678", 0, true, 1,
       "[WIFI]\r\nssid=newcam \r\nwpa_passphrase=12345678 \r\nnetwork=192.168.20 \r\n"},
      {"No to both", true, "newcam", "12345678", 0, false, 1, nullptr},
      {"short passphrase given up", true, "cam", "1234567", -1, true, 1, nullptr},
      {"Yes to both", true, "other", "12345678", 0, true, 1,
       "[WIFI]\r\nssid=other \r\nwpa_passphrase=12345678 \r\nnetwork=192.168.20 \r\n"},
      {"nothing changed", false, "cam", "12345678", 0, true, 0, nullptr},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.why);
    test::TempFolder card;
    card.Write("data_setup.cfg", setup);
    card.Write("wifi.cfg", wifi);
    SetupData record;
    SetupComments comments;
    ASSERT_TRUE(LoadSetupFile(card / "data_setup.cfg", record, comments));
    const SetupData snapshot = record;
    if (r.recordChanged) record.usIoTurnActive = 0;
    WifiEditState edits{"cam", "12345678", r.ssid, r.passphrase, ""};
    Asker ask{r.yes};
    const SaveOutcome out =
        SaveSettingsOnClose(card.path(), record, snapshot, {}, edits, r.flag, ask.fn());
    EXPECT_EQ(ask.asked, r.asked);
    const bool setupWritten = r.recordChanged && r.yes;
    EXPECT_EQ(out.setupWritten, setupWritten);
    EXPECT_EQ(test::ReadFile(card / "data_setup.cfg").find("usIoTurnActive=0 \r\n") !=
                  std::string::npos,
              setupWritten);
    EXPECT_EQ(out.wifiWritten, r.wifiAfter != nullptr);
    EXPECT_EQ(test::ReadFile(card / "wifi.cfg"), r.wifiAfter ? r.wifiAfter : wifi);
  }
  // A missing wifi.cfg is created, with the default network.
  test::TempFolder card;
  card.Write("data_setup.cfg", setup);
  WifiEditState edits{"", "", "abc", "abcdefgh", ""};
  Asker ask{true};
  EXPECT_TRUE(SaveSettingsOnClose(card.path(), {}, {}, {}, edits, 0, ask.fn()).wifiWritten);
  EXPECT_EQ(edits.network, "192.168.20");
  EXPECT_EQ(test::ReadFile(card / "wifi.cfg"),
            "[WIFI]\r\nssid=abc \r\nwpa_passphrase=abcdefgh \r\nnetwork=192.168.20 \r\n");
}

}  // namespace
}  // namespace lumora
