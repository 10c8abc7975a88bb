#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/mkcard/SampleRecording.h"

namespace lumora {

struct CardOptions {
  uint32_t seed = 1;   // same seed, same bytes
  int seconds = 10;    // length of each recording
  int recordings = 6;  // recordings in NORMAL, EVENT and PARKING (a front+rear pair counts once)
  int fps = 30;
  int front_width = 1280;
  int front_height = 720;
  int rear_width = 640;
  int rear_height = 360;
  int channels = 2;         // 2: front and rear channels, 1: front channel only
  bool with_index = true;   // write idx1 in every AVI
  bool with_mp4 = true;     // add one MP4 recording to NORMAL
  bool with_stills = true;  // CAPTURE folder with JPEG stills
  // 0 < cut_at < 1: one more NORMAL recording, the one a power cut leaves
  // behind at this fraction of its length (RecordingOptions::cut_at).
  double cut_at = 0;
  CivilTime start{2026, 12, 5, 8, 30, 0};  // local time of the first recording
};

// One recording file written to the card.
struct CardRecording {
  std::filesystem::path path;    // relative to the card root, e.g. "NORMAL/20261205_083000_N1.avi"
  std::string kind;              // "NORMAL", "EVENT" or "PARKING" (by the file name rules)
  bool skipped_by_scan = false;  // lies in a sub-folder that card scans skip
  RecordingTruth truth;          // empty for the MP4 recording
};

struct CardTruth {
  std::vector<CardRecording> recordings;
  std::vector<std::filesystem::path> dit_files;  // relative to the card root
  std::vector<std::filesystem::path> stills;     // relative to the card root
};

// Writes a complete sample card into `dir` (created when missing):
//   NORMAL/ EVENT/ PARKING/ recordings (two-channel ..._N1.avi, front-only with
//   a separate rear ..._N2.avi, ..._I1.avi, ..._E1.avi, ..._P1.avi, one MP4 and
//   a sub-folder that card scans skip), DIT/GPS/*.DIT drive logs, CAPTURE/
//   JPEG stills in per-recording sub-folders, cfg/data_setup.cfg (INI text),
//   SETUP/data_setup.cfg (binary settings record), wifi.cfg and
//   SETUP/data_factory.cfg. Returns false with a message on failure.
bool MakeCard(const std::filesystem::path& dir, const CardOptions& options, std::string* error,
              CardTruth* truth = nullptr);

}  // namespace lumora
