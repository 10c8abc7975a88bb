#include <gtest/gtest.h>

#include "display/CSnapshot.h"

namespace lumora {
namespace {

TEST(SnapshotName, StemPositionAndChannel) {
  struct Row {
    const char* recording;
    std::int64_t positionMs;
    int channel;
    const char* name;
  };
  const Row rows[] = {
      {"/card/NORMAL/20261205_083000_N1.avi", 2500, 0, "20261205_083000_N1_00-00-02.500_F.png"},
      {"/card/NORMAL/20261205_083000_N1.avi", 0, 1, "20261205_083000_N1_00-00-00.000_R.png"},
      {"LUMORA^20261205_083004_F^1^2^NI.MP4", 3723004, 1,
       "LUMORA^20261205_083004_F^1^2^NI_01-02-03.004_R.png"},
      {"clip.avi", -40, 0, "clip_00-00-00.000_F.png"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(CSnapshot::FileName(row.recording, row.positionMs, row.channel), row.name);
}

}  // namespace
}  // namespace lumora
