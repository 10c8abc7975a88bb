#include "FaultCard.h"

#include <QWidget>

#include <cstring>

#include "app/EnginePlayerPort.h"
#include "app/TrackPort.h"
#include "display/qt/CDisplayFactory.h"
#include "engine/iMultiPlayer.h"
#include "tests/support/FakeParts.h"

extern "C" {
#include <libavutil/log.h>
}

namespace lumora::faults {

namespace {

// The encoder's statistics would bury the test output.
[[maybe_unused]] const bool kQuietMedia = [] {
  av_log_set_level(AV_LOG_ERROR);
  return true;
}();

std::uint32_t Le32(const std::string& b, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

}  // namespace

std::vector<Chunk> FindChunks(const std::string& bytes, const char* id) {
  std::vector<Chunk> chunks;
  const std::size_t movi = bytes.find("movi");
  if (movi == std::string::npos) return chunks;
  std::size_t at = movi + 4;
  while (at + 8 <= bytes.size()) {
    const std::uint32_t size = Le32(bytes, at + 4);
    if (std::memcmp(bytes.data() + at, "LIST", 4) == 0) {
      at += 12;  // step into rec lists
      continue;
    }
    if (std::memcmp(bytes.data() + at, "idx1", 4) == 0) break;
    if (at + 8 + size > bytes.size()) break;
    if (std::memcmp(bytes.data() + at, id, 4) == 0) chunks.push_back({at + 8, size});
    at += 8 + size + (size & 1);
  }
  return chunks;
}

int CorruptVideoChunks(const std::filesystem::path& file, int keepFirst, std::uint32_t seed) {
  std::string bytes = ReadFile(file);
  int damaged = 0;
  std::uint32_t state = seed;
  for (const char* id : {"00dc", "01dc"}) {
    const std::vector<Chunk> chunks = FindChunks(bytes, id);
    for (std::size_t i = static_cast<std::size_t>(keepFirst); i < chunks.size(); ++i) {
      const Chunk& c = chunks[i];
      if (c.size < 12) continue;
      for (std::size_t k = c.offset + c.size / 3; k < c.offset + 2 * c.size / 3; ++k) {
        state = state * 1664525u + 1013904223u;
        bytes[k] = static_cast<char>(state >> 24);
      }
      ++damaged;
    }
  }
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  return damaged;
}

CSamplePlayerDlg::Parts RealParts(const std::string& card) {
  CSamplePlayerDlg::Parts parts;
  parts.player = std::make_unique<EnginePlayerPort>(
      std::unique_ptr<iMultiPlayer>(CreateMultiPlayer()), std::make_unique<CDisplayFactory>());
  parts.track = std::make_unique<TrackPort>();
  parts.map = std::make_unique<test::FakeMap>();
  parts.mapWidget = new QWidget;  // the window takes it as its child
  parts.findCard = [card] { return card; };
  parts.findRemovableCard = [card] { return card; };
  parts.languageProbe = [] { return 1; };
  parts.readSpeedUnit = [](int) { return 0; };
  parts.leftButtonHeld = [] { return false; };
  return parts;
}

}  // namespace lumora::faults
