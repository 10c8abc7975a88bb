#pragma once
// The in and out points of an evidence clip taken in the viewer. They count
// from the start of the recording being played and may reach past its ends
// (the default is 30 s either side of the position); past an end the clip
// spills into the previous or next recording of the list when that one is
// consecutive, that is, starts where the other ends; otherwise it stops at
// the recording's end. Recordings join only with the same number of
// video channels.

#include <cstdint>
#include <string>
#include <vector>

namespace lumora {

struct ExportRecording {
  std::string path;
  // Start time from the file name, seconds on a civil-time scale.
  std::int64_t startSeconds = 0;
  std::int64_t durationMs = 0;
  // Video channels; recordings with different counts do not join.
  int channels = 1;
};

struct ExportSpan {
  std::vector<std::string> files;
  // Counted from the start of the first file.
  std::int64_t fromMs = 0;
  std::int64_t toMs = 0;
};

class CExportRange {
 public:
  static constexpr std::int64_t kDefaultMarginMs = 30000;
  // How far apart the end of one recording and the start of the next may
  // lie (names count whole seconds) for the two to join.
  static constexpr std::int64_t kJoinToleranceMs = 2000;

  // Start time of a recording from its name (YYYYMMDD_HHMMSS...), seconds.
  static std::int64_t NameSeconds(const std::string& path);
  static bool Consecutive(const ExportRecording& first, const ExportRecording& second);
  // previous and next may be null.
  static ExportSpan Span(const ExportRecording* previous, const ExportRecording& current,
                         const ExportRecording* next, std::int64_t inMs, std::int64_t outMs);
};

}  // namespace lumora
