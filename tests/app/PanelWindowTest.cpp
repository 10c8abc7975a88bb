// The main window's data panel, graph windows and map commands.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QSlider>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

#include "app/AppIds.h"
#include "app/CSamplePlayerDlg.h"
#include "app/MainLayout.h"
#include "data/qt/CGSensorDlg.h"
#include "data/qt/CGraphDlg.h"
#include "platform/qt/MessageBox.h"
#include "res/SkinIds.h"
#include "tests/support/WindowHarness.h"
#include "ui/CSkinButton.h"

namespace lumora {
namespace {

using test::FakeMap;
using test::FakePlayer;
using test::FakeTrack;

class PanelWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

  void MakeWindow() {
    test::FakeWindowParts fake;
    player_ = fake.player;
    map_ = fake.map;
    CSamplePlayerDlg::Parts parts = std::move(fake.parts);
    parts.languageProbe = [] { return 1; };
    window_ = std::make_unique<CSamplePlayerDlg>(std::move(parts));
    window_->OnInitDialog();
  }

  // Lists `count` recordings and plays the first.
  void OpenOne(int count = 1) {
    const std::string folder = dir_.path().toStdString() + "/card/NORMAL";
    std::filesystem::create_directories(folder);
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
      paths.push_back(folder + "/20240101_12000" + std::to_string(i) + "_N1.avi");
      std::ofstream(paths.back(), std::ios::binary) << std::string(20 * 1024, 'x');
    }
    window_->OpenFiles(paths);
  }

  QTemporaryDir dir_;
  MessageBoxRecorder boxes_;
  FakePlayer* player_ = nullptr;
  FakeMap* map_ = nullptr;
  std::unique_ptr<CSamplePlayerDlg> window_;
};

TEST_F(PanelWindowTest, GraphModeButtonCyclesAndOpeningResetsIt) {
  MakeWindow();
  EXPECT_EQ(window_->GraphMode(), 0);
  const int skins[] = {kBmpGMode1, kBmpGMode2, kBmpGMode0};
  for (int mode : {1, 2, 0}) {
    window_->OnCommand(kIdGraphMode);
    EXPECT_EQ(window_->GraphMode(), mode);
    EXPECT_EQ(window_->Button(kIdGraphMode)->SkinBase(), skins[(mode + 2) % 3]);
  }
  window_->OnCommand(kIdGraphMode);
  OpenOne();
  EXPECT_EQ(window_->GraphMode(), 0);
  EXPECT_EQ(window_->Button(kIdGraphMode)->SkinBase(), kBmpGMode0);
  EXPECT_EQ(window_->PanelInput().label, "20240101_120000_N1.avi");
}

TEST_F(PanelWindowTest, WindowPaintsThePanelInNormalMode) {
  MakeWindow();
  OpenOne();
  const QImage image = window_->GrabClient();
  // Grid line of the strip (off-screen y 640 copied to 659) and the label column.
  EXPECT_EQ(image.pixel(600, 659), qRgb(28, 77, 91));
  EXPECT_EQ(image.pixel(500, 659), qRgb(28, 77, 91));
  // The play cursor of position 0 sits at x 255 (off-screen rows 550..640).
  EXPECT_EQ(image.pixel(255, 600), qRgb(255, 169, 9));
  // The panel's input follows the window.
  EXPECT_EQ(window_->PanelInput().duration, 60000);
  EXPECT_FALSE(window_->PanelInput().fullScreen);
  EXPECT_FALSE(window_->PanelInput().fix.valid);
}

TEST_F(PanelWindowTest, GraphWindowIsModalAndPlaybackGoesOnBehindIt) {
  MakeWindow();
  window_->OnCommand(kIdGraph);
  EXPECT_EQ(boxes_.Requests().size(), 1u);  // nothing listed
  EXPECT_EQ(window_->GraphDialog(), nullptr);
  OpenOne(2);
  ASSERT_TRUE(window_->IsTimerRunning(kTimerUpdate));
  window_->OnCommand(kIdGraph);
  CGraphDlg* graph = window_->GraphDialog();
  ASSERT_NE(graph, nullptr);
  EXPECT_TRUE(graph->isModal());
  EXPECT_EQ(graph->Mode(), 0);
  EXPECT_TRUE(window_->IsTimerRunning(kTimerUpdate));
  player_->position = 9000;
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(window_->Slider(kIdSeekSlider)->value(), 9000);
  // The next recording opened behind it redraws it for its own duration.
  player_->defaults.duration = 20000;
  window_->PostEndOfRecording();
  QApplication::processEvents();
  window_->OnTimer(kTimerUpdate);
  ASSERT_EQ(window_->GraphDialog(), graph);
  EXPECT_EQ(graph->Duration(), 20000);
  graph->reject();
  EXPECT_EQ(window_->GraphDialog(), nullptr);
  EXPECT_TRUE(window_->IsTimerRunning(kTimerUpdate));
}

TEST_F(PanelWindowTest, AccelerationGraphIsCreatedOnceAndHiddenByStop) {
  MakeWindow();
  EXPECT_EQ(window_->GSensorDialog(), nullptr);
  window_->OnCommand(kIdAccelGraph);
  CGSensorDlg* first = window_->GSensorDialog();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->isVisible());
  EXPECT_FALSE(first->isModal());
  window_->OnCommand(kIdStop);
  EXPECT_FALSE(first->isVisible());
  window_->OnCommand(kIdAccelGraph);
  EXPECT_EQ(window_->GSensorDialog(), first);
  EXPECT_TRUE(first->isVisible());
  // Its cursor follows the play position.
  OpenOne();
  player_->position = 12000;
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(first->Position(), 12000);
}

TEST_F(PanelWindowTest, HidingTheMapStopsMarkerCalls) {
  MakeWindow();
  OpenOne();
  ASSERT_EQ(player_->GetState(), kStatePlaying);
  player_->position = 5000;
  window_->OnTimer(kTimerUpdate);
  ASSERT_EQ(map_->marks.size(), 1u);
  window_->OnCommand(kIdMapToggle);
  EXPECT_EQ(window_->MapWidget()->pos(), QPoint(5000, 5000));
  player_->position = 6000;
  window_->OnTimer(kTimerUpdate);
  player_->Pause();
  player_->position = 7000;
  window_->OnTimer(kTimerUpdate);  // paused: the marker is not moved either
  EXPECT_EQ(map_->marks.size(), 1u);
  window_->OnCommand(kIdMapToggle);
  EXPECT_EQ(window_->MapWidget()->geometry(), QRect(680, 354, 326, 353));
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(map_->marks.size(), 2u);
  EXPECT_EQ(map_->marks.back(), 7000);
}

TEST_F(PanelWindowTest, MapSizeWithOneChannelChangesNothing) {
  MakeWindow();
  player_->defaults.channels = 1;
  OpenOne();
  const int front = window_->FrontPlacement();
  const int rear = window_->RearPlacement();
  const int state = window_->MapState();
  const QString caption = window_->Button(kIdMapSize)->Text();
  window_->OnCommand(kIdMapSize);
  EXPECT_EQ(window_->FrontPlacement(), front);
  EXPECT_EQ(window_->RearPlacement(), rear);
  EXPECT_EQ(window_->MapState(), state);
  EXPECT_EQ(window_->Button(kIdMapSize)->Text(), caption);
  // Two channels: state 4 puts front large and rear small and stays 4; then
  // the map grows (state 1) and its caption becomes "show map small".
  MakeWindow();
  OpenOne();
  window_->OnCommand(kIdMapSize);
  EXPECT_EQ(window_->MapState(), 4);
  EXPECT_EQ(window_->FrontPlacement(), kPaneLarge);
  EXPECT_EQ(window_->RearPlacement(), kPaneSmall);
}

TEST_F(PanelWindowTest, StopSendsTheRestingPosition) {
  MakeWindow();
  OpenOne();
  window_->OnCommand(kIdStop);
  ASSERT_FALSE(map_->scripts.empty());
  EXPECT_EQ(map_->scripts.back(), "javascript:DrawCurrent('139.774494', '35.684066')");
}

}  // namespace
}  // namespace lumora
