#include <gtest/gtest.h>

#include "settings/SettingsCloseRules.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

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
  struct Row {
    bool record, wifi;
    int flag;
    bool yes;
    int questions;
    bool writeSetup, writeWifi;
  };
  const Row rows[] = {
      {false, false, 0, true, 0, false, false}, {false, false, -1, true, 0, false, false},
      {true, false, 0, true, 1, true, false},   {true, false, 0, false, 1, false, false},
      {true, false, -1, true, 1, true, false},  {false, true, 0, true, 1, false, true},
      {false, true, 0, false, 1, false, false}, {false, true, -1, true, 0, false, false},
      {true, true, 0, true, 1, true, true},     {true, true, 0, false, 1, false, false},
      {true, true, -1, true, 1, true, false},   {true, true, -1, false, 1, false, false},
  };
  for (const Row& r : rows) {
    Asker ask{r.yes};
    SavePlan plan = DecideSave(r.record, r.wifi, r.flag, ask.fn());
    SCOPED_TRACE(::testing::Message() << r.record << r.wifi << r.flag << r.yes);
    EXPECT_EQ(ask.asked, r.questions);
    EXPECT_EQ(plan.questionsAsked, r.questions);
    EXPECT_EQ(plan.writeSetup, r.writeSetup);
    EXPECT_EQ(plan.writeWifi, r.writeWifi);
  }
}

TEST(CloseCheck, PassphraseRule) {
  WifiEditState w{"cam", "12345678", "cam", "12345678", ""};
  EXPECT_EQ(CheckClose(w), CloseCheck::kClose);
  w.ssid = "cam2";
  EXPECT_EQ(CheckClose(w), CloseCheck::kClose);
  w.passphrase = "1234567";
  EXPECT_EQ(CheckClose(w), CloseCheck::kAskShortPassphrase);
  // Unchanged strings close even with a short loaded passphrase.
  WifiEditState unchanged{"a", "short", "a", "short", ""};
  EXPECT_EQ(CheckClose(unchanged), CloseCheck::kClose);
  PassphraseWarningResult ok = AnswerPassphraseWarning(true);
  EXPECT_TRUE(ok.stayOpen);
  EXPECT_EQ(ok.cancelFlag, 0);
  PassphraseWarningResult cancel = AnswerPassphraseWarning(false);
  EXPECT_FALSE(cancel.stayOpen);
  EXPECT_EQ(cancel.cancelFlag, -1);
}

class CloseCard : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteFile(root() / "data_setup.cfg", kSetup);
    test::WriteFile(root() / "wifi.cfg", kWifi);
    SetupComments c;
    ASSERT_TRUE(LoadSetupFile(root() / "data_setup.cfg", record, c));
    snapshot = record;
    wifi = {"cam", "12345678", "cam", "12345678", "192.168.20"};
  }
  const fs::path& root() const { return dir_.path(); }
  static constexpr const char* kSetup = "[IO]\r\nusIoTurnActive=1 \r\n";
  static constexpr const char* kWifi = "[WIFI]\r\nssid=cam \r\nwpa_passphrase=12345678 \r\n";
  test::TempFolder dir_;
  SetupData record, snapshot;
  WifiEditState wifi;
};

TEST_F(CloseCard, OnlySsidChangedAsksOnceAndWritesOnlyWifi) {
  wifi.ssid = "newcam";
  Asker ask{true};
  SaveOutcome out = SaveSettingsOnClose(root(), record, snapshot, {}, wifi, 0, ask.fn());
  EXPECT_EQ(ask.asked, 1);
  EXPECT_TRUE(out.wifiWritten);
  EXPECT_FALSE(out.setupWritten);
  EXPECT_EQ(test::ReadFile(root() / "data_setup.cfg"), kSetup);
  EXPECT_EQ(test::ReadFile(root() / "wifi.cfg"),
            "[WIFI]\r\nssid=newcam \r\nwpa_passphrase=12345678 \r\nnetwork=192.168.20 \r\n");
}

TEST_F(CloseCard, NoToSettingsWithChangedSsidWritesNothing) {
  record.usIoTurnActive = 0;
  wifi.ssid = "newcam";
  Asker ask{false};
  SaveOutcome out = SaveSettingsOnClose(root(), record, snapshot, {}, wifi, 0, ask.fn());
  EXPECT_EQ(ask.asked, 1);
  EXPECT_FALSE(out.setupWritten);
  EXPECT_FALSE(out.wifiWritten);
  EXPECT_EQ(test::ReadFile(root() / "data_setup.cfg"), kSetup);
  EXPECT_EQ(test::ReadFile(root() / "wifi.cfg"), kWifi);
}

TEST_F(CloseCard, ShortPassphraseCancelledStillAsksForSettingsButKeepsWifi) {
  record.usIoTurnActive = 0;
  wifi.passphrase = "1234567";
  ASSERT_EQ(CheckClose(wifi), CloseCheck::kAskShortPassphrase);
  PassphraseWarningResult r = AnswerPassphraseWarning(false);
  Asker ask{true};
  SaveOutcome out = SaveSettingsOnClose(root(), record, snapshot, {}, wifi, r.cancelFlag, ask.fn());
  EXPECT_EQ(ask.asked, 1);
  EXPECT_TRUE(out.setupWritten);
  EXPECT_FALSE(out.wifiWritten);
  EXPECT_NE(test::ReadFile(root() / "data_setup.cfg").find("usIoTurnActive=0 \r\n"),
            std::string::npos);
  EXPECT_EQ(test::ReadFile(root() / "wifi.cfg"), kWifi);
}

TEST_F(CloseCard, YesWritesBothWithoutASecondQuestion) {
  record.usIoTurnActive = 0;
  wifi.ssid = "other";
  wifi.network = "";
  Asker ask{true};
  SaveOutcome out = SaveSettingsOnClose(root(), record, snapshot, {}, wifi, 0, ask.fn());
  EXPECT_EQ(ask.asked, 1);
  EXPECT_TRUE(out.setupWritten);
  EXPECT_TRUE(out.wifiWritten);
  EXPECT_EQ(wifi.network, "192.168.20");
  EXPECT_NE(test::ReadFile(root() / "wifi.cfg").find("ssid=other \r\n"), std::string::npos);
}

TEST_F(CloseCard, NothingChangedAsksNothing) {
  Asker ask{true};
  SaveOutcome out = SaveSettingsOnClose(root(), record, snapshot, {}, wifi, 0, ask.fn());
  EXPECT_EQ(ask.asked, 0);
  EXPECT_FALSE(out.setupWritten);
  EXPECT_FALSE(out.wifiWritten);
  EXPECT_EQ(test::ReadFile(root() / "wifi.cfg"), kWifi);
}

TEST_F(CloseCard, MissingWifiFileIsCreatedOnYes) {
  fs::remove(root() / "wifi.cfg");
  wifi = {"", "", "abc", "abcdefgh", ""};
  Asker ask{true};
  SaveOutcome out = SaveSettingsOnClose(root(), record, snapshot, {}, wifi, 0, ask.fn());
  EXPECT_TRUE(out.wifiWritten);
  EXPECT_EQ(test::ReadFile(root() / "wifi.cfg"),
            "[WIFI]\r\nssid=abc \r\nwpa_passphrase=abcdefgh \r\nnetwork=192.168.20 \r\n");
}

}  // namespace
}  // namespace lumora
