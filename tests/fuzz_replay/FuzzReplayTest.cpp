// Every seed of every fuzz target's corpus goes through that target's entry
// point. A target traps (or a sanitizer reports) on a broken check, so this
// program ends abnormally on a seed that fails.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

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

namespace fs = std::filesystem;
using Entry = int (*)(const std::uint8_t*, std::size_t);

// The corpora, written once for the whole program.
const fs::path& Seeds() {
  static test::TempFolder folder;
  static const fs::path seeds = [] {
    const fs::path out = folder.path() / "seeds";
    const std::string command = std::string("'" LUMORA_SOURCE_DIR "/scripts/fuzz-seeds.sh' '") +
                                LUMORA_BINARY_DIR + "' '" + out.string() + "' >/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return out;
  }();
  return seeds;
}

struct Target {
  const char* kind;
  Entry entry;
  std::size_t minimumSeeds;
};

class FuzzReplay : public testing::TestWithParam<Target> {};

TEST_P(FuzzReplay, EverySeedPassesTheTarget) {
  const Target& target = GetParam();
  const fs::path dir = Seeds() / target.kind;
  std::size_t seeds = 0;
  for (const auto& file : fs::directory_iterator(dir)) {
    std::ifstream in(file.path(), std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    SCOPED_TRACE(file.path().string());
    EXPECT_EQ(target.entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
    ++seeds;
  }
  // A corpus that came out empty would make this test pass without checking anything.
  EXPECT_GE(seeds, target.minimumSeeds) << dir;
}

INSTANTIATE_TEST_SUITE_P(
    Corpora, FuzzReplay,
    testing::Values(Target{"riff", FuzzReplay_riff, 10}, Target{"userdata", FuzzReplay_userdata, 5},
                    Target{"jpeg", FuzzReplay_jpeg, 2}, Target{"ini", FuzzReplay_ini, 2},
                    Target{"recname", FuzzReplay_recname, 10}, Target{"dit", FuzzReplay_dit, 1},
                    Target{"mapcalls", FuzzReplay_mapcalls, 3}),
    [](const testing::TestParamInfo<Target>& param) { return std::string(param.param.kind); });

}  // namespace
}  // namespace lumora
