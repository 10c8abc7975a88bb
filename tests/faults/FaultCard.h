#pragma once
// Shared pieces of the fault tests: the viewer's main window with the real
// engine, driving-data track and list window (a plain map pane), a card
// folder, and small generated recordings named as the camera names them.

#include <QTemporaryDir>

#include <filesystem>
#include <string>

#include "app/CSamplePlayerDlg.h"
#include "platform/qt/MessageBox.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowHarness.h"
#include "tools/mkcard/SampleRecording.h"

namespace lumora::faults {

using test::ReadFile;
using test::RunUntil;

CSamplePlayerDlg::Parts RealParts(const std::string& card);

// A card folder with NORMAL/, message boxes recorded, and the window on it.
struct FaultCard {
  QTemporaryDir dir;
  std::string card = dir.path().toStdString() + "/card";
  MessageBoxRecorder boxes;
  std::unique_ptr<CSamplePlayerDlg> window;

  FaultCard() { std::filesystem::create_directories(card + "/NORMAL"); }
  CSamplePlayerDlg& Open(CSamplePlayerDlg::Parts parts) {
    window = std::make_unique<CSamplePlayerDlg>(std::move(parts));
    window->OnInitDialog();
    window->show();
    return *window;
  }
  CSamplePlayerDlg& Open() { return Open(RealParts(card)); }
  // Writes a short, small recording starting at `minuteOfDay` into NORMAL/.
  std::filesystem::path Record(int seconds, int minuteOfDay,
                               void (*change)(RecordingOptions&) = nullptr);
};

}  // namespace lumora::faults
