#pragma once
// Range arithmetic of a clip cut from consecutive recordings: the asked
// times run from the start of the first recording on across the following
// ones. The clip starts at the latest time at or before the asked start at
// which every video channel of that recording has a key frame, so that a
// stream copy decodes from its first picture.

#include <cstdint>
#include <string>
#include <vector>

namespace lumora {

// What the planner needs of one recording, in microseconds from its start.
struct ClipSourceTiming {
  std::int64_t durationUs = 0;
  // Per video channel, the times of its key frames in ascending order.
  std::vector<std::vector<std::int64_t>> keyTimesUs;
};

// The part of one recording that goes into the clip: [startUs, endUs) of
// its own time, placed at clipOffsetUs in the clip.
struct ClipPiece {
  std::size_t source = 0;
  std::int64_t startUs = 0;
  std::int64_t endUs = 0;
  std::int64_t clipOffsetUs = 0;
};

struct ClipPlan {
  std::vector<ClipPiece> pieces;
  // Real start and end counted like the asked times (from the start of the
  // first recording).
  std::int64_t startUs = 0;
  std::int64_t endUs = 0;
};

// How a block of PCM sound joins the clip, in samples: `silence` to insert
// before it, `skip` samples of it to leave out, then `count` to copy.
struct SoundCut {
  std::int64_t silence = 0;
  std::int64_t skip = 0;
  std::int64_t count = 0;
};

class CClipPlan {
 public:
  // False with a message when the range is empty or starts outside the
  // recordings; an end past the last recording is cut to it.
  static bool Make(const std::vector<ClipSourceTiming>& sources, std::int64_t fromUs,
                   std::int64_t toUs, ClipPlan& plan, std::string& error);
  // The latest time at or before t at which every channel that has a key
  // frame at or before t has one; t itself when no channel has.
  // The samples of a block starting at blockUs (own time of the piece's
  // recording) that lie inside the piece. Each piece's sound starts where its
  // pictures start in the clip: a shortfall of the sound written so far
  // (`written` samples) is filled with silence, a surplus is cut.
  static SoundCut CutSound(const ClipPiece& piece, int sampleRate, std::int64_t blockUs,
                           std::int64_t samples, std::int64_t written);
  static std::int64_t CommonKeyFrame(const std::vector<std::vector<std::int64_t>>& keyTimesUs,
                                     std::int64_t t);
};

}  // namespace lumora
