#pragma once
// The main window on fake parts, with a card folder of filler recordings, for
// the window tests of this folder.

#include <gtest/gtest.h>

#include <QLabel>

#include "app/AppIds.h"
#include "app/CSamplePlayerDlg.h"
#include "platform/qt/MessageBox.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowHarness.h"

namespace lumora::test {

inline const std::string kRestCall = "javascript:DrawCurrent('139.774494', '35.684066')";

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_.Dir("card/NORMAL"); }

  // Builds and initialises the window; languageCode < 0: no language probe.
  void MakeWindow(int languageCode = 1) {
    FakeWindowParts fake;
    player_ = fake.player;
    track_ = fake.track;
    map_ = fake.map;
    if (languageCode >= 0) fake.parts.languageProbe = [languageCode] { return languageCode; };
    fake.parts.findCard = [this] { return cardFound_ ? Card() : std::string(); };
    fake.parts.leftButtonHeld = [this] { return buttonHeld_; };
    if (adjustParts_) adjustParts_(fake.parts);
    window_ = std::make_unique<CSamplePlayerDlg>(std::move(fake.parts));
    window_->OnInitDialog();
  }

  std::string Card() const { return (dir_ / "card").string(); }
  std::string MakeRecording(const std::string& name) const {
    return dir_.File("card/NORMAL/" + name).string();
  }
  // COUNT recordings (newest last) opened as from the open dialog; row 0 plays.
  std::vector<std::string> OpenRecordings(int count = 3) {
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i)
      paths.push_back(MakeRecording("20240101_120" + std::to_string(i) + "00_N1.avi"));
    window_->OpenFiles(paths);
    return paths;
  }
  QString LabelText(int id) const { return window_->Label(id)->text(); }

  TempFolder dir_;
  std::function<void(CSamplePlayerDlg::Parts&)> adjustParts_;
  bool cardFound_ = true;
  bool buttonHeld_ = false;
  MessageBoxRecorder boxes_;
  FakePlayer* player_ = nullptr;
  FakeTrack* track_ = nullptr;
  FakeMap* map_ = nullptr;
  std::unique_ptr<CSamplePlayerDlg> window_;
};

}  // namespace lumora::test
