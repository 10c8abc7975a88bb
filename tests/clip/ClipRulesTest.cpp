// The clip's arithmetic: the common key frame it starts on, the pieces of
// consecutive recordings it takes, the sound cut to the sample, and the
// default range of an export spilling into consecutive neighbours.
#include <gtest/gtest.h>

#include "engine/CClipPlan.h"
#include "library/CExportRange.h"

namespace lumora {
namespace {

constexpr std::int64_t kS = 1000000;

TEST(ClipPlan, CommonKeyFrameIsTheLatestSharedOneAtOrBeforeTheTime) {
  const struct {
    std::vector<std::vector<std::int64_t>> keys;
    std::int64_t t, expected;
  } rows[] = {
      {{{0, 1, 2, 3}, {0, 1, 2, 3}}, 2, 2},  // on a shared key frame
      {{{0, 10}, {0, 10}}, 9, 0},            // between: the one before
      {{{0, 10, 20}, {0, 10, 20}}, 25, 20},  // aligned channels
      {{{0, 10, 20}, {0, 15}}, 25, 0},       // never aligned after 0
      {{{0, 10, 20, 30}, {0, 20}}, 35, 20},  // sparser rear channel
      {{{5, 10}}, 3, 3},                     // no key frame before: the time itself
      {{{0, 10}, {}}, 12, 10},               // a channel without key frames
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.t);
    EXPECT_EQ(CClipPlan::CommonKeyFrame(r.keys, r.t), r.expected);
  }
}

TEST(ClipPlan, RangesAcrossConsecutiveRecordings) {
  // Two 10 s recordings with a key frame every second in both channels.
  std::vector<ClipSourceTiming> two(2);
  for (ClipSourceTiming& t : two) {
    t.durationUs = 10 * kS;
    t.keyTimesUs.assign(2, {});
    for (int s = 0; s < 10; ++s) {
      t.keyTimesUs[0].push_back(s * kS);
      t.keyTimesUs[1].push_back(s * kS);
    }
  }
  const struct {
    double from, to, realStart, realEnd;
    std::vector<ClipPiece> pieces;  // source, start, end, offset
  } rows[] = {
      {0, 20, 0, 20, {{0, 0, 10 * kS, 0}, {1, 0, 10 * kS, 10 * kS}}},
      {2.5, 5, 2, 5, {{0, 2 * kS, 5 * kS, 0}}},
      {9.5, 12, 9, 12, {{0, 9 * kS, 10 * kS, 0}, {1, 0, 2 * kS, 1 * kS}}},
      {10, 11, 10, 11, {{1, 0, 1 * kS, 0}}},
      {15.2, 30, 15, 20, {{1, 5 * kS, 10 * kS, 0}}},  // end cut to the recordings
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.from);
    ClipPlan plan;
    std::string error;
    ASSERT_TRUE(CClipPlan::Make(two, static_cast<std::int64_t>(r.from * kS),
                                static_cast<std::int64_t>(r.to * kS), plan, error));
    EXPECT_EQ(plan.startUs, static_cast<std::int64_t>(r.realStart * kS));
    EXPECT_EQ(plan.endUs, static_cast<std::int64_t>(r.realEnd * kS));
    ASSERT_EQ(plan.pieces.size(), r.pieces.size());
    for (std::size_t i = 0; i < r.pieces.size(); ++i) {
      const ClipPiece& p = plan.pieces[i];
      const ClipPiece& e = r.pieces[i];
      EXPECT_EQ(std::tuple(p.source, p.startUs, p.endUs, p.clipOffsetUs),
                std::tuple(e.source, e.startUs, e.endUs, e.clipOffsetUs));
    }
  }
  // Empty, reversed and outside ranges are refused with a message.
  for (auto [from, to] : {std::pair{5.0, 5.0}, {6.0, 4.0}, {20.0, 25.0}, {-1.0, 3.0}}) {
    ClipPlan plan;
    std::string error;
    EXPECT_FALSE(CClipPlan::Make(two, static_cast<std::int64_t>(from * kS),
                                 static_cast<std::int64_t>(to * kS), plan, error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(ClipPlan, SoundIsCutToTheSampleAndJoinsWherePicturesJoin) {
  const ClipPiece first{0, 2 * kS, 5 * kS, 0};
  const ClipPiece second{1, 0, 1 * kS, 3 * kS};
  const struct {
    ClipPiece piece;
    double blockSeconds;
    std::int64_t samples, written;
    SoundCut expected;  // silence, skip, count at 8000 samples a second
  } rows[] = {
      {first, 1.9, 1600, 0, {0, 800, 800}},      // straddles the start
      {first, 4.95, 800, 23600, {0, 0, 400}},    // straddles the end
      {first, 5.0, 800, 24000, {0, 0, 0}},       // after the end
      {second, 0.0, 800, 23900, {100, 0, 800}},  // the first ran short: silence
      {second, 0.0, 800, 24100, {0, 100, 700}},  // the first ran long: cut
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.blockSeconds);
    const SoundCut cut = CClipPlan::CutSound(
        r.piece, 8000, static_cast<std::int64_t>(r.blockSeconds * kS), r.samples, r.written);
    EXPECT_EQ(std::tuple(cut.silence, cut.skip, cut.count),
              std::tuple(r.expected.silence, r.expected.skip, r.expected.count));
  }
}

TEST(ExportRange, DefaultMarginsSpillIntoConsecutiveNeighboursOnly) {
  const std::int64_t t0 = CExportRange::NameSeconds("NORMAL/20261205_083000_N1.avi");
  EXPECT_EQ(CExportRange::NameSeconds("NORMAL/20261205_083100_N1.avi") - t0, 60);
  EXPECT_EQ(CExportRange::NameSeconds("NORMAL/20261206_000000_N1.avi") -
                CExportRange::NameSeconds("NORMAL/20261205_235959_N1.avi"),
            1);
  const ExportRecording prev{"p.avi", t0 - 60, 60000};
  const ExportRecording cur{"c.avi", t0, 60000};
  const ExportRecording next{"n.avi", t0 + 61, 60000};       // 1 s late: still joins
  const ExportRecording later{"l.avi", t0 + 300, 60000};     // a gap: a different drive
  const ExportRecording single{"s.avi", t0 + 60, 60000, 2};  // other channels
  const struct {
    const ExportRecording *previous, *next;
    std::int64_t in, out;
    std::vector<std::string> files;
    std::int64_t from, to;
  } rows[] = {
      {&prev, &next, -10000, 70000, {"p.avi", "c.avi", "n.avi"}, 50000, 130000},
      {&prev, &next, 20000, 50000, {"c.avi"}, 20000, 50000},
      {nullptr, &later, -30000, 90000, {"c.avi"}, 0, 60000},
      {nullptr, &single, 0, 90000, {"c.avi"}, 0, 60000},
      {&prev, nullptr, -90000, 30000, {"p.avi", "c.avi"}, 0, 90000},  // clamped to prev's start
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.in);
    const ExportSpan span = CExportRange::Span(r.previous, cur, r.next, r.in, r.out);
    EXPECT_EQ(span.files, r.files);
    EXPECT_EQ(std::pair(span.fromMs, span.toMs), std::pair(r.from, r.to));
  }
}

}  // namespace
}  // namespace lumora
