#include "FaultCard.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "app/EnginePlayerPort.h"
#include "app/TrackPort.h"
#include "display/qt/CDisplayFactory.h"
#include "engine/iMultiPlayer.h"

extern "C" {
#include <libavutil/log.h>
}

namespace lumora::faults {

// The encoder's statistics would bury the test output.
[[maybe_unused]] static const bool kQuietMedia = [] {
  av_log_set_level(AV_LOG_ERROR);
  return true;
}();

CSamplePlayerDlg::Parts RealParts(const std::string& card) {
  CSamplePlayerDlg::Parts parts;
  parts.player = std::make_unique<EnginePlayerPort>(
      std::unique_ptr<iMultiPlayer>(CreateMultiPlayer()), std::make_unique<CDisplayFactory>());
  parts.track = std::make_unique<TrackPort>();
  parts.map = std::make_unique<test::FakeMap>();
  parts.mapWidget = new QWidget;  // the window takes it as its child
  parts.findCard = [card] { return card; };
  parts.findRemovableCard = [card] { return card; };
  parts.languageProbe = [] { return 1; };
  parts.readSpeedUnit = [](int) { return 0; };
  parts.leftButtonHeld = [] { return false; };
  return parts;
}

std::filesystem::path FaultCard::Record(int seconds, int minuteOfDay,
                                        void (*change)(RecordingOptions&)) {
  RecordingOptions r;
  r.seconds = seconds;
  r.fps = 10;
  r.front_width = 160;
  r.front_height = 96;
  r.rear_width = 96;
  r.rear_height = 64;
  r.start = CivilTime{2026, 12, 5, minuteOfDay / 60, minuteOfDay % 60, 0};
  if (change != nullptr) change(r);
  char name[64];
  std::snprintf(name, sizeof name, "/NORMAL/20261205_%02d%02d00_N1.avi", r.start.hour,
                r.start.minute);
  const std::filesystem::path file = card + name;
  std::string error;
  EXPECT_TRUE(WriteRecording(file, r, &error)) << error;
  return file;
}

}  // namespace lumora::faults
