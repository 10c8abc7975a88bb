// Damaged and unusual recordings played through the main window: each plays
// what it holds without a crash or hang, and the window moves on to the next
// recording of the list.

#include <gtest/gtest.h>

#include <QLabel>

#include <algorithm>
#include <cstring>

#include "FaultCard.h"
#include "app/AppIds.h"

namespace lumora::faults {
namespace {

namespace fs = std::filesystem;

void Cut(const fs::path& file, int percent) {
  fs::resize_file(file, fs::file_size(file) * static_cast<std::uintmax_t>(percent) / 100);
}

// Overwrites the middle third of every video chunk (00dc, 01dc) of the movi
// list (which holds no rec lists) with pseudo-random bytes; returns how many.
int CorruptVideo(const fs::path& file) {
  std::string b = ReadFile(file);
  int damaged = 0;
  std::uint32_t state = 7;
  for (std::size_t at = b.find("movi") + 4; at + 8 <= b.size();) {
    const std::string id = b.substr(at, 4);
    std::uint32_t size = 0;
    std::memcpy(&size, &b[at + 4], 4);
    if (id == "idx1" || at + 8 + size > b.size()) break;
    if ((id == "00dc" || id == "01dc") && size >= 12) {
      for (std::size_t k = at + 8 + size / 3; k < at + 8 + 2 * size / 3; ++k) {
        state = state * 1664525u + 1013904223u;
        b[k] = static_cast<char>(state >> 24);
      }
      ++damaged;
    }
    at += 8 + size + (size & 1);
  }
  test::WriteFile(file, b);
  return damaged;
}

struct Case {
  const char* name;
  int seconds;
  void (*change)(RecordingOptions&);
  void (*damage)(const fs::path&);
  std::int64_t minFurthest;  // of the damaged recording's play position
};

class PlaybackFault : public ::testing::TestWithParam<Case> {};

TEST_P(PlaybackFault, PlaysWhatItHoldsAndMovesOn) {
  const Case& c = GetParam();
  FaultCard card;
  const fs::path next = card.Record(2, 8 * 60);  // row 1: the list is newest first
  const fs::path file = card.Record(c.seconds, 9 * 60, c.change);
  if (c.damage != nullptr) c.damage(file);
  CSamplePlayerDlg& window = card.Open();
  window.OnCommand(kIdSdOpen);
  ASSERT_EQ(window.List()->RowCount(), 2);
  ASSERT_EQ(window.List()->RowPath(0), file.string());
  ASSERT_EQ(window.List()->RowPath(1), next.string());
  if (c.damage == nullptr) {
    EXPECT_EQ(window.Label(kIdDurationLabel)->text(), QStringLiteral("00:00:03"));
  }
  if (std::string(c.name) == "RearOnly") {
    EXPECT_EQ(window.FrontPlacement(), kPaneLarge);
    EXPECT_EQ(window.RearPlacement(), kPaneHidden);
  }
  // Row 0 plays until the window goes on to row 1 and plays that.
  std::int64_t furthest = -1;
  const bool movedOn = RunUntil(
      [&] {
        if (window.CurrentIndex() == 0) furthest = std::max(furthest, window.Position());
        return window.CurrentIndex() == 1 && window.Position() > 0;
      },
      15000);
  EXPECT_TRUE(movedOn) << "the window did not go on to the next recording";
  EXPECT_GE(furthest, c.minFurthest);
  if (c.damage == nullptr) {
    EXPECT_TRUE(card.boxes.Requests().empty());
  }
  window.OnCommand(kIdExit);
}

// A cut recording plays at least half of what the cut kept (the header and
// the missing index take a share of the bytes).
INSTANTIATE_TEST_SUITE_P(
    Faults, PlaybackFault,
    ::testing::Values(Case{"Cut10", 4, nullptr, [](const fs::path& f) { Cut(f, 10); }, -1},
                      Case{"Cut50", 4, nullptr, [](const fs::path& f) { Cut(f, 50); }, 1000},
                      Case{"Cut90", 4, nullptr, [](const fs::path& f) { Cut(f, 90); }, 1800},
                      Case{"CorruptVideo", 3, nullptr,
                           [](const fs::path& f) { ASSERT_GT(CorruptVideo(f), 20); }, 1},
                      Case{"NoSound", 3, [](RecordingOptions& r) { r.audio = false; }, nullptr,
                           1500},
                      Case{"RearOnly", 3,
                           [](RecordingOptions& r) {
                             r.channels = ChannelLayout::kRearOnly;
                             r.audio = false;
                           },
                           nullptr, 1500}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace lumora::faults
