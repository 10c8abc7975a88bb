// The main window's keyboard: the key table's commands that have no button
// of their own (to the start, one-picture steps, volume, mute, zoom of the
// large pane, the key list, the DIT replay's seek and next drive) and the
// routing of key presses from this window and the list window to the table.
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTextEdit>

#include <algorithm>

#include "app/AppIds.h"
#include "app/CSamplePlayerDlg.h"
#include "app/ListDlgPort.h"
#include "library/CDitReplay.h"
#include "library/qt/CDitMode.h"
#include "library/qt/CListDlg.h"
#include "res/StringTable.h"
#include "ui/CSkinButton.h"

namespace lumora {

namespace {

constexpr int kVolumeStep = 5;
constexpr int kDitSeekPoints = 5;  // points of a drive log are a second apart

bool IsTextField(const QWidget* w) {
  if (!w) return false;
  if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QTextEdit*>(w) ||
      qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w))
    return true;
  const auto* combo = qobject_cast<const QComboBox*>(w);
  return combo && combo->isEditable();
}

}  // namespace

void CSamplePlayerDlg::InstallKeyCommands() {
  commands_[kIdSeekStart] = [this] { SeekStart(); };
  commands_[kIdPictureBack] = [this] { StepPicture(-1); };
  commands_[kIdPictureForward] = [this] { StepPicture(1); };
  commands_[kIdVolumeUp] = [this] { ChangeVolume(kVolumeStep); };
  commands_[kIdVolumeDown] = [this] { ChangeVolume(-kVolumeStep); };
  commands_[kIdMuteToggle] = [this] { ToggleMute(); };
  commands_[kIdPaneZoomIn] = [this] { ZoomLargePane(true); };
  commands_[kIdPaneZoomOut] = [this] { ZoomLargePane(false); };
  commands_[kIdKeyList] = [this] { ShowKeyList(); };
  commands_[kIdDitSeekBack] = [this] { DitSeekBy(-kDitSeekPoints); };
  commands_[kIdDitSeekForward] = [this] { DitSeekBy(kDitSeekPoints); };
  commands_[kIdDitNextDrive] = [this] {
    if (ditMode_) dit_->Next();
  };
  commands_[kIdSnapshot] = [this] { TakeSnapshot(); };
  // Keys reach the window wherever its focus is, and from the list window.
  qApp->installEventFilter(this);
}

QWidget* CSamplePlayerDlg::ListWindow() const {
  if (parts_.listWidget) return parts_.listWidget;
  if (auto* port = dynamic_cast<ListDlgPort*>(list_)) return port->Dialog();
  return nullptr;
}

bool CSamplePlayerDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
    return QWidget::eventFilter(watched, event);
  const QWidget* top = static_cast<QWidget*>(watched)->window();
  const QWidget* list = ListWindow();
  if (top != this && (!list || top != list->window())) return false;
  if (IsTextField(QApplication::focusWidget())) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  return OnKey(key->key(), static_cast<int>(key->modifiers()));
}

bool CSamplePlayerDlg::OnKey(int key, int modifiers) {
  const int command = keys_.CommandFor(key, modifiers, ditMode_);
  if (command == 0) return false;
  OnCommand(command);
  return true;
}

void CSamplePlayerDlg::StepPicture(int direction) {
  if (player_->GetState() == kStatePlaying) PlayPause();
  if (player_->GetState() != kStatePaused) return;
  player_->StepPicture(direction);
}

void CSamplePlayerDlg::SeekStart() {
  const int state = player_->GetState();
  if (state != kStatePlaying && state != kStatePaused) return;
  SeekTo(0);
  Update();
}

void CSamplePlayerDlg::ChangeVolume(int delta) {
  QSlider* volume = sliders_[kIdVolumeSlider];
  volume->setSliderPosition(
      std::clamp(volume->sliderPosition() + delta, volume->minimum(), volume->maximum()));
  // The volume slider's own rule: above 0 unmutes and is kept, 0 mutes.
  OnHScroll(kIdVolumeSlider, 4);
}

void CSamplePlayerDlg::ToggleMute() {
  mute_->SetCheck(!mute_->GetCheck());
  SetMute(mute_->GetCheck());
}

void CSamplePlayerDlg::ZoomLargePane(bool in) {
  int channel = -1;
  if (frontPlacement_ == kPaneLarge) channel = 0;
  if (rearPlacement_ == kPaneLarge) channel = 1;
  if (channel < 0) return;
  if (in)
    player_->ZoomIn(channel);
  else
    player_->ZoomOut(channel);
}

void CSamplePlayerDlg::DitSeekBy(int points) {
  if (!ditMode_) return;
  const int count = dit_->Replay().PointCount();
  if (count <= 0) return;
  dit_->Seek(std::clamp(dit_->Replay().Index() + points, 0, count - 1), 0, count);
}

void CSamplePlayerDlg::ShowKeyList() {
  // Rebuilt each time: the camera's language may have changed.
  if (keyList_) keyList_->deleteLater();
  StringTable& strings = StringTable::Instance();
  auto* dialog = new QDialog(this, Qt::Dialog);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle(strings.Load(kStrKeyListTitle));
  auto* grid = new QGridLayout(dialog);
  // One line per description: keys that share it are named together.
  std::vector<std::pair<QString, int>> lines;
  for (const KeyBinding& b : keys_.Bindings()) {
    const QString name = QKeySequence(b.key).toString(QKeySequence::NativeText);
    auto it = std::find_if(lines.begin(), lines.end(),
                           [&](const auto& line) { return line.second == b.helpString; });
    if (it == lines.end())
      lines.emplace_back(name, b.helpString);
    else
      it->first += QStringLiteral(", ") + name;
  }
  int row = 0;
  for (const auto& [names, help] : lines) {
    auto* key = new QLabel(names, dialog);
    key->setStyleSheet(QStringLiteral("font-weight: bold"));
    grid->addWidget(key, row, 0);
    grid->addWidget(new QLabel(strings.Load(help), dialog), row, 1);
    ++row;
  }
  auto* note = new QLabel(strings.Load(kStrKeyDitNote), dialog);
  note->setWordWrap(true);
  grid->addWidget(note, row, 0, 1, 2);
  // The dialog takes the height its wrapped note needs at the width of the
  // key lines (without this the note's last lines are cut off).
  grid->setSizeConstraint(QLayout::SetFixedSize);
  keyList_ = dialog;
  dialog->show();
}

}  // namespace lumora
