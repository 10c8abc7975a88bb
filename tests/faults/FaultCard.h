#pragma once
// Shared pieces of the fault tests: a card of generated recordings in a
// temporary folder, ways to damage a recording, and the real main window
// (engine, driving-data track, list window) without the web map.

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/CSamplePlayerDlg.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowHarness.h"
#include "tools/mkcard/SampleRecording.h"

namespace lumora::faults {

using test::RunUntil;

// Runs the event loop for `ms` while calling `each` on every turn.
template <typename Each>
void RunFor(int ms, Each each) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    each();
    QThread::msleep(5);
  }
}

using test::ReadFile;

// A short, small recording: quick to write and to play.
inline RecordingOptions SmallRecording(int seconds, int minuteOfDay) {
  RecordingOptions r;
  r.seconds = seconds;
  r.fps = 10;
  r.front_width = 160;
  r.front_height = 96;
  r.rear_width = 96;
  r.rear_height = 64;
  r.start = CivilTime{2026, 12, 5, minuteOfDay / 60, minuteOfDay % 60, 0};
  return r;
}

// "NORMAL/20261205_HHMM00_N1.avi" for the recording's start.
inline std::filesystem::path NormalName(const RecordingOptions& r) {
  char name[64];
  std::snprintf(name, sizeof name, "NORMAL/%04d%02d%02d_%02d%02d%02d_N1.avi", r.start.year,
                r.start.month, r.start.day, r.start.hour, r.start.minute, r.start.second);
  return name;
}

// Cuts a file down to `percent` of its size.
inline void Truncate(const std::filesystem::path& file, int percent) {
  const auto size = std::filesystem::file_size(file);
  std::filesystem::resize_file(file, size * static_cast<std::uintmax_t>(percent) / 100);
}

// Offsets and sizes of the chunks with id `id` ("00dc") found by walking the
// movi list of an AVI file.
struct Chunk {
  std::size_t offset = 0;  // of the chunk body
  std::uint32_t size = 0;
};
std::vector<Chunk> FindChunks(const std::string& bytes, const char* id);

// Overwrites the middle third of every video chunk (front 00dc, rear 01dc)
// after the first `keepFirst` of each stream with pseudo-random bytes.
// Returns the number damaged.
int CorruptVideoChunks(const std::filesystem::path& file, int keepFirst, std::uint32_t seed);

// The viewer's main window with the real engine, track and list window. The
// map pane is the plain one (no web browser).
CSamplePlayerDlg::Parts RealParts(const std::string& card);

}  // namespace lumora::faults
