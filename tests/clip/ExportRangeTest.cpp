#include <gtest/gtest.h>

#include "library/CExportRange.h"

namespace lumora {
namespace {

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
  struct Row {
    const ExportRecording* previous;
    const ExportRecording* next;
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
  for (const Row& r : rows) {
    SCOPED_TRACE(r.in);
    const ExportSpan span = CExportRange::Span(r.previous, cur, r.next, r.in, r.out);
    EXPECT_EQ(span.files, r.files);
    EXPECT_EQ(span.fromMs, r.from);
    EXPECT_EQ(span.toMs, r.to);
  }
}

}  // namespace
}  // namespace lumora
