#include "library/CExportRange.h"

#include <algorithm>

#include "library/CRecordingName.h"

namespace lumora {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace

std::int64_t CExportRange::NameSeconds(const std::string& path) {
  const std::int64_t key = CRecordingName::SortKey(path);
  const std::int64_t date = key / 1000000;
  const std::int64_t time = key % 1000000;
  return DaysFromCivil(date / 10000, date / 100 % 100, date % 100) * 86400 + time / 10000 * 3600 +
         time / 100 % 100 * 60 + time % 100;
}

bool CExportRange::Consecutive(const ExportRecording& first, const ExportRecording& second) {
  const std::int64_t gap = (second.startSeconds - first.startSeconds) * 1000 - first.durationMs;
  return first.channels == second.channels && first.durationMs > 0 && gap >= -kJoinToleranceMs &&
         gap <= kJoinToleranceMs;
}

ExportSpan CExportRange::Span(const ExportRecording* previous, const ExportRecording& current,
                              const ExportRecording* next, std::int64_t inMs, std::int64_t outMs) {
  const bool before = inMs < 0 && previous != nullptr && Consecutive(*previous, current);
  const bool after = outMs > current.durationMs && next != nullptr && Consecutive(current, *next);
  ExportSpan span;
  std::int64_t base = 0;
  if (before) {
    span.files.push_back(previous->path);
    base = previous->durationMs;
  }
  span.files.push_back(current.path);
  if (after) span.files.push_back(next->path);
  const std::int64_t earliest = before ? -previous->durationMs : 0;
  const std::int64_t latest = current.durationMs + (after ? next->durationMs : 0);
  span.fromMs = base + std::clamp(inMs, earliest, latest);
  span.toMs = base + std::clamp(outMs, earliest, latest);
  return span;
}

}  // namespace lumora
