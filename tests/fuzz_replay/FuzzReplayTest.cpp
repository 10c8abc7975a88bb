// Every seed of every fuzz target's corpus (scripts/fuzz-seeds.sh, written
// from a generated card and the real test files) goes through that target's
// entry point, which traps (or a sanitizer reports) on a broken check.
#include <gtest/gtest.h>

#include "tests/support/Cli.h"

#define LUMORA_REPLAY_ENTRY(kind) \
  extern "C" int FuzzReplay_##kind(const std::uint8_t* data, std::size_t size);
LUMORA_REPLAY_ENTRY(riff)
LUMORA_REPLAY_ENTRY(userdata)
LUMORA_REPLAY_ENTRY(jpeg)
LUMORA_REPLAY_ENTRY(ini)
LUMORA_REPLAY_ENTRY(recname)
LUMORA_REPLAY_ENTRY(dit)
LUMORA_REPLAY_ENTRY(mapcalls)

namespace lumora {
namespace {

TEST(FuzzReplay, EverySeedOfEveryCorpusPassesItsTarget) {
  const test::TempFolder folder;
  const auto run = test::RunCommand(test::Quote(LUMORA_SOURCE_DIR "/scripts/fuzz-seeds.sh") + " " +
                                    test::Quote(LUMORA_BINARY_DIR) + " " +
                                    test::Quote((folder / "seeds").string()));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // A corpus that came out short would let this pass without checking much.
  const struct {
    const char* kind;
    int (*entry)(const std::uint8_t*, std::size_t);
    int minimumSeeds;
  } targets[] = {{"riff", FuzzReplay_riff, 10},       {"userdata", FuzzReplay_userdata, 5},
                 {"jpeg", FuzzReplay_jpeg, 2},        {"ini", FuzzReplay_ini, 2},
                 {"recname", FuzzReplay_recname, 10}, {"dit", FuzzReplay_dit, 1},
                 {"mapcalls", FuzzReplay_mapcalls, 3}};
  for (const auto& target : targets) {
    int seeds = 0;
    for (const auto& file : std::filesystem::directory_iterator(folder / "seeds" / target.kind)) {
      SCOPED_TRACE(file.path().string());
      const std::string bytes = test::ReadFile(file.path());
      EXPECT_EQ(target.entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
      ++seeds;
    }
    EXPECT_GE(seeds, target.minimumSeeds) << target.kind;
  }
}

}  // namespace
}  // namespace lumora
