#include "settings/LegacySetupRecord.h"

#include <cstring>
#include <string_view>

#include "platform/AtomicFile.h"
#include "settings/CardPath.h"

namespace lumora {
namespace {

using Record = std::array<std::uint8_t, kLegacySetupBytes>;

void PutText(Record& r, std::size_t offset, std::string_view text) {
  std::memcpy(r.data() + offset, text.data(), text.size());
}

void PutU32(Record& r, std::size_t offset, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) r[offset + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

LegacySetupValues LegacyResetValues() {
  LegacySetupValues v;
  v.pictureQuality = 3;
  v.voiceRecording = 1;
  return v;
}

std::array<std::uint8_t, kLegacySetupBytes> BuildLegacySetupRecord(const LegacySetupValues& v) {
  Record r{};
  PutText(r, 0, "Kestrelin");
  PutText(r, 16, "RovevUdi");
  PutText(r, 32, "Ver.1.0.0");
  PutText(r, 42, "00");
  PutU32(r, 48, v.pictureQuality);
  PutU32(r, 60, v.voiceRecording);
  PutU32(r, 72, 1);
  PutU32(r, 76, 1);
  PutU32(r, 80, 1);
  PutU32(r, 84, 8);
  PutText(r, 112, "00");
  PutU32(r, 328, v.brightness);
  PutU32(r, 336, v.contrast);
  PutU32(r, 340, v.sharpness);
  PutU32(r, 388, v.parkingQuality);
  PutU32(r, 396, v.eventDetection);
  PutU32(r, 432, v.frameRate);
  return r;
}

bool WriteLegacySetupFile(const std::filesystem::path& cardRoot, const LegacySetupValues& v,
                          std::string* error) {
  Record r = BuildLegacySetupRecord(v);
  std::string_view bytes(reinterpret_cast<const char*>(r.data()), r.size());
  const std::filesystem::path path = ResolveCardPath(cardRoot, {kLegacySetupFileName});
  // A write-protected file stays as it is: replacing it through a rename
  // would go around its read-only mark.
  std::error_code ec;
  if (std::filesystem::exists(path, ec) && !IsFileWritable(path)) {
    if (error) *error = "setup.cfg is read-only: " + path.string();
    return false;
  }
  return WriteFileAtomically(path, bytes, error);
}

}  // namespace lumora
