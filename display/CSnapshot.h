#pragma once
// Snapshots: the pictures of a recording at one moment, front and rear as
// separate full-resolution PNG files named
// "<recording name without extension>_<hh-mm-ss.mmm>_F.png" (and "_R.png"),
// each carrying the driving data of that moment as text chunks. Both files
// are written under temporary names and renamed together, so a failure
// leaves nothing half-written.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "display/PngWriter.h"

namespace lumora {

class CDrivingTrack;

// The driving data of a moment as text; empty where the recording has none.
struct SnapshotMoment {
  std::string timeOfDay;  // hh:mm:ss, the camera's time of day
  std::string latitude;   // decimal degrees, negative south
  std::string longitude;  // decimal degrees, negative west
  std::string speed;      // km/h
  std::string heading;    // degrees clockwise from north

  // The fix the data panel shows at `positionMs`.
  static SnapshotMoment FromTrack(const CDrivingTrack& track, std::int64_t positionMs);
  // The same from the recording's own records.
  static SnapshotMoment FromRecording(const std::filesystem::path& recording,
                                      std::int64_t positionMs);
  PngWriter::TextChunks Texts() const;
};

class CSnapshot {
 public:
  static constexpr int kFront = 0;
  static constexpr int kRear = 1;

  struct Result {
    std::vector<std::filesystem::path> written;
    // Empty on success; `unwritable` tells a folder problem from a picture one.
    std::string error;
    bool unwritable = false;
  };

  static std::string FileName(const std::filesystem::path& recording, std::int64_t positionMs,
                              int channel);
  // Writes the pictures of `channels` at `seconds` into `folder` (made when
  // missing). Channels the recording lacks are left out; none left is an error.
  static Result Save(const std::filesystem::path& recording, double seconds,
                     const std::vector<int>& channels, const std::filesystem::path& folder,
                     const SnapshotMoment& moment);
};

}  // namespace lumora
