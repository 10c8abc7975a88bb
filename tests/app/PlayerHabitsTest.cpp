// The keyboard (every key of the table reaches its command from the main
// window and from the list window; the DIT mode column; what the keys' own
// commands do to the player), dropped files and the window's snapshot.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

#include "app/AppIds.h"
#include "app/CSamplePlayerDlg.h"
#include "app/DropRules.h"
#include "app/KeyTable.h"
#include "platform/qt/MessageBox.h"
#include "res/StringTable.h"
#include "tests/support/FakeParts.h"
#include "tests/support/WindowHarness.h"

namespace lumora {
namespace {

struct KeyRow {
  int key;
  int video;  // command in video-player mode
  int dit;    // command in DIT mode, 0: none
};

const KeyRow kKeys[] = {
    {Qt::Key_Space, 1006, 1006}, {Qt::Key_Left, 1009, 40011},  {Qt::Key_Right, 1010, 40012},
    {Qt::Key_Home, 40001, 0},    {Qt::Key_PageUp, 1005, 1005}, {Qt::Key_PageDown, 1008, 40013},
    {Qt::Key_Comma, 40002, 0},   {Qt::Key_Period, 40003, 0},   {Qt::Key_Up, 40004, 0},
    {Qt::Key_Down, 40005, 0},    {Qt::Key_M, 40006, 0},        {Qt::Key_F, 1018, 0},
    {Qt::Key_F11, 1018, 0},      {Qt::Key_Escape, 1025, 0},    {Qt::Key_Plus, 40007, 0},
    {Qt::Key_Minus, 40008, 0},   {Qt::Key_X, 5206, 5206},      {Qt::Key_G, 1196, 0},
    {Qt::Key_L, 1193, 0},        {Qt::Key_F1, 40010, 40010},   {Qt::Key_E, 8210, 0},
    {Qt::Key_I, 8211, 0},        {Qt::Key_O, 8212, 0},
};

TEST(KeyTableTest, EachKeyNamesItsCommandInBothModes) {
  const KeyTable keys;
  for (const KeyRow& row : kKeys) {
    SCOPED_TRACE(row.key);
    EXPECT_EQ(keys.CommandFor(row.key, Qt::NoModifier, false), row.video);
    EXPECT_EQ(keys.CommandFor(row.key, Qt::NoModifier, true), row.dit);
    EXPECT_EQ(keys.CommandFor(row.key, Qt::ControlModifier, false), 0);
    EXPECT_EQ(keys.CommandFor(row.key, Qt::AltModifier, false), 0);
  }
  EXPECT_EQ(keys.CommandFor(Qt::Key_Plus, Qt::ShiftModifier | Qt::KeypadModifier, false), 40007);
  // F8, F9 and F10 stay the accelerators' (which do nothing).
  for (int key : {Qt::Key_F8, Qt::Key_F9, Qt::Key_F10})
    EXPECT_EQ(keys.CommandFor(key, Qt::NoModifier, false), 0);
  // Every key has its line in the key list, in English at least.
  for (const KeyBinding& b : keys.Bindings())
    EXPECT_FALSE(StringTable::Instance().Load(b.helpString, kLangEnglish).isEmpty()) << b.key;
}

class HabitsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::FakeWindowParts fake;
    player_ = fake.player;
    fake.parts.languageProbe = [] { return 1; };
    window_ = std::make_unique<CSamplePlayerDlg>(std::move(fake.parts));
    window_->OnInitDialog();
    window_->SetCommandObserver([this](int id) { commands_.push_back(id); });
  }

  // A key press as the window system delivers it to `target`.
  void Press(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
  }

  void Play() {
    const std::string path = dir_.path().toStdString() + "/20240101_120000_N1.avi";
    std::ofstream(path) << std::string(20 * 1024, 'x');
    window_->OpenFiles({path});
    commands_.clear();
  }

  QTemporaryDir dir_;
  MessageBoxRecorder boxes_;
  test::FakePlayer* player_ = nullptr;
  std::unique_ptr<CSamplePlayerDlg> window_;
  std::vector<int> commands_;
};

TEST_F(HabitsTest, KeysReachTheirCommandsFromTheMainAndTheListWindow) {
  QWidget* listWindow = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != window_.get() && w->parentWidget() == window_.get()) listWindow = w;
  ASSERT_NE(listWindow, nullptr);
  for (const KeyRow& row : kKeys) {
    if (row.key == Qt::Key_F1 || row.key == Qt::Key_G) continue;  // they open windows
    for (QWidget* target : {static_cast<QWidget*>(window_.get()), listWindow}) {
      commands_.clear();
      Press(target, row.key);
      EXPECT_EQ(commands_, std::vector<int>{row.video}) << row.key;
    }
  }
  // A text field keeps its keys.
  auto* field = new QLineEdit(window_.get());
  field->show();
  window_->show();
  QApplication::setActiveWindow(window_.get());
  field->setFocus();
  commands_.clear();
  Press(field, Qt::Key_Space);
  EXPECT_TRUE(commands_.empty());
}

TEST_F(HabitsTest, PictureStepsPauseFirstAndAskThePlayer) {
  Play();
  ASSERT_EQ(player_->state, kStatePlaying);
  window_->OnKey(Qt::Key_Period, 0);
  EXPECT_EQ(player_->state, kStatePaused);
  EXPECT_EQ(window_->ButtonText(kIdPlay), QStringLiteral("Play"));
  EXPECT_EQ(player_->calls.back(), "Step1");
  window_->OnKey(Qt::Key_Comma, 0);
  EXPECT_EQ(player_->calls.back(), "Step-1");
  // Home while paused rests on the first picture instead of moving on.
  const auto opened = player_->opened.size();
  window_->OnKey(Qt::Key_Home, 0);
  EXPECT_EQ(player_->seeks.back(), 0);
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(player_->opened.size(), opened);
  EXPECT_EQ(player_->state, kStatePaused);
}

TEST_F(HabitsTest, VolumeKeysStepByFiveAndMuteToggles) {
  Play();
  QSlider* volume = window_->Slider(kIdVolumeSlider);
  window_->OnKey(Qt::Key_M, 0);
  EXPECT_TRUE(window_->IsChecked(kIdMute));
  EXPECT_EQ(player_->volumes.back(), 0u);
  window_->OnKey(Qt::Key_Up, 0);  // unmutes
  EXPECT_EQ(volume->value(), 55);
  EXPECT_FALSE(window_->IsChecked(kIdMute));
  EXPECT_EQ(player_->volumes.back(), 36044u + (36044u << 16));  // 55 x 655.35
  for (int i = 0; i < 12; ++i) window_->OnKey(Qt::Key_Down, 0);
  EXPECT_EQ(volume->value(), 0);
  EXPECT_TRUE(window_->IsChecked(kIdMute));
  window_->OnKey(Qt::Key_M, 0);
  EXPECT_FALSE(window_->IsChecked(kIdMute));
}

TEST_F(HabitsTest, ZoomKeysActOnTheLargePaneOnly) {
  Play();
  window_->OnKey(Qt::Key_Plus, 0);
  EXPECT_EQ(player_->calls.back(), "ZoomIn0");
  window_->OnCommand(kIdChangeScreen);
  window_->OnKey(Qt::Key_Minus, 0);
  EXPECT_EQ(player_->calls.back(), "ZoomOut1");
}

TEST_F(HabitsTest, KeyListNamesEveryKeyInTheCameraLanguage) {
  window_->ApplyLanguage(9);  // Korean
  window_->OnKey(Qt::Key_F1, 0);
  QWidget* list = window_->KeyListWindow();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->windowTitle(), QString::fromUtf8("키 조작"));
  QStringList texts;
  for (auto* label : list->findChildren<QLabel*>()) texts << label->text();
  EXPECT_TRUE(texts.contains(QStringLiteral("F, F11")));
  EXPECT_TRUE(texts.contains(QString::fromUtf8("한 장면 앞으로")));
  EXPECT_TRUE(texts.contains(QString::fromUtf8("클립 내보내기")));
  EXPECT_EQ(texts.size(), 2 * 23 + 1);
}

TEST(DropRulesTest, RecordingsFoldersAndDitFilesByMode) {
  QTemporaryDir dir;
  const std::string root = dir.path().toStdString();
  for (const char* name : {"/a.avi", "/B.MP4", "/drive.DIT", "/notes.txt"})
    std::ofstream(root + name) << "x";
  std::filesystem::create_directories(root + "/card");
  std::filesystem::create_directories(root + "/card2");
  const std::string avi = root + "/a.avi", mp4 = root + "/B.MP4", dit = root + "/drive.DIT",
                    txt = root + "/notes.txt", card = root + "/card", card2 = root + "/card2",
                    gone = root + "/gone.avi";
  struct Row {
    std::vector<std::string> dropped;
    bool dit;
    DropAction action;
    std::vector<std::string> opened;
    std::vector<std::string> ignored;
    bool ditOutsideDit;
  };
  const Row rows[] = {
      {{avi, mp4}, false, DropAction::kOpenRecordings, {avi, mp4}, {}, false},
      {{card, avi}, false, DropAction::kOpenRecordings, {avi}, {card}, false},
      {{card, card2}, false, DropAction::kOpenCard, {card}, {card2}, false},
      {{dit, txt}, false, DropAction::kNone, {}, {txt, dit}, true},
      {{dit, avi}, true, DropAction::kOpenDitFiles, {dit}, {avi}, false},
      {{txt, gone}, false, DropAction::kNone, {}, {txt, gone}, false},
      {{card}, true, DropAction::kNone, {}, {card}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.dropped.front() + (row.dit ? " in DIT mode" : ""));
    const DropPlan plan = DropRules::Plan(row.dropped, row.dit);
    EXPECT_EQ(plan.action, row.action);
    EXPECT_EQ(plan.paths, row.opened);
    EXPECT_EQ(plan.ignored, row.ignored);
    EXPECT_EQ(plan.ditOutsideDit, row.ditOutsideDit);
  }
}

TEST_F(HabitsTest, DropsOpenRecordingsAndNameWhatTheyIgnore) {
  const std::string path = dir_.path().toStdString() + "/20240101_130000_N1.avi";
  std::ofstream(path) << std::string(20 * 1024, 'x');
  window_->OnDrop({path, dir_.path().toStdString() + "/readme.txt"});
  ASSERT_FALSE(player_->opened.empty());
  EXPECT_EQ(player_->opened.back(), path);
  EXPECT_EQ(player_->state, kStatePlaying);
  EXPECT_TRUE(window_->StatusText().contains(QStringLiteral("readme.txt")));
  EXPECT_TRUE(boxes_.Requests().empty());
}

TEST_F(HabitsTest, SnapshotSaysWhyItSavesNothing) {
  window_->OnKey(Qt::Key_S, 0);
  EXPECT_EQ(window_->StatusText(), QStringLiteral("No picture to save: no recording is open."));
  // A pictures folder that cannot be made: a clear message, no file.
  const QByteArray home = qgetenv("HOME");
  qputenv("HOME", dir_.path().toUtf8());
  qunsetenv("XDG_CONFIG_HOME");
  std::ofstream(dir_.path().toStdString() + "/Pictures") << "a file, not a folder";
  Play();
  window_->OnCommand(kIdSnapshot);
  qputenv("HOME", home);
  ASSERT_EQ(boxes_.Requests().size(), 1u);
  EXPECT_EQ(boxes_.Requests()[0].text,
            QStringLiteral("Cannot save the pictures: %1/Pictures/Lumora cannot be written.")
                .arg(dir_.path()));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path().toStdString()), {}), 2);
}

}  // namespace
}  // namespace lumora
