#include "engine/CClipPlan.h"

#include <algorithm>
#include <cstdio>

namespace lumora {

namespace {

std::string Seconds(std::int64_t us) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", static_cast<double>(us) / 1e6);
  return text;
}

}  // namespace

std::int64_t CClipPlan::CommonKeyFrame(const std::vector<std::vector<std::int64_t>>& keyTimesUs,
                                       std::int64_t t) {
  // Each round moves t back to the earliest of the channels' key frames at
  // or before it; it stops once all of them lie at t. Every round either
  // stops or moves t to an earlier key frame, so it ends.
  for (;;) {
    std::int64_t earliest = t;
    for (const std::vector<std::int64_t>& keys : keyTimesUs) {
      const auto after = std::upper_bound(keys.begin(), keys.end(), t);
      if (after != keys.begin()) earliest = std::min(earliest, *(after - 1));
    }
    if (earliest == t) return t;
    t = earliest;
  }
}

SoundCut CClipPlan::CutSound(const ClipPiece& piece, int sampleRate, std::int64_t blockUs,
                             std::int64_t samples, std::int64_t written) {
  auto at = [&](std::int64_t us) { return (us * sampleRate + 500000) / 1000000; };
  const std::int64_t first = at(blockUs);
  const std::int64_t begin = at(piece.startUs);
  std::int64_t from = std::max(first, begin);
  const std::int64_t to = std::min(first + samples, at(piece.endUs));
  SoundCut cut;
  if (from >= to) return cut;
  const std::int64_t target = at(piece.clipOffsetUs) + from - begin;
  cut.silence = std::max<std::int64_t>(0, target - written);
  from += std::max<std::int64_t>(0, written - target);
  if (from >= to) return cut;
  cut.skip = from - first;
  cut.count = to - from;
  return cut;
}

bool CClipPlan::Make(const std::vector<ClipSourceTiming>& sources, std::int64_t fromUs,
                     std::int64_t toUs, ClipPlan& plan, std::string& error) {
  plan = ClipPlan{};
  if (fromUs < 0 || toUs <= fromUs) {
    error = "the end of the range must lie after its start (from " + Seconds(fromUs) + " s to " +
            Seconds(toUs) + " s)";
    return false;
  }
  std::int64_t total = 0;
  for (const ClipSourceTiming& s : sources) total += std::max<std::int64_t>(s.durationUs, 0);
  if (fromUs >= total) {
    error = "the range starts at " + Seconds(fromUs) + " s, after the end of the recordings (" +
            Seconds(total) + " s)";
    return false;
  }
  const std::int64_t to = std::min(toUs, total);
  std::int64_t offset = 0;
  for (std::size_t i = 0; i < sources.size(); ++i) {
    const std::int64_t duration = std::max<std::int64_t>(sources[i].durationUs, 0);
    const std::int64_t begin = offset;
    offset += duration;
    if (offset <= fromUs || begin >= to) continue;
    ClipPiece piece;
    piece.source = i;
    if (plan.pieces.empty()) {
      piece.startUs = CommonKeyFrame(sources[i].keyTimesUs, fromUs - begin);
      plan.startUs = begin + piece.startUs;
    }
    piece.endUs = std::min(duration, to - begin);
    piece.clipOffsetUs = begin + piece.startUs - plan.startUs;
    plan.pieces.push_back(piece);
  }
  plan.endUs = to;
  return true;
}

}  // namespace lumora
