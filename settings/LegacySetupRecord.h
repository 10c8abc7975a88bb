#pragma once
// setup.cfg: the 508-byte binary settings record of older cameras, written
// whole at the card root by the legacy settings dialog.
//
// Layout (little-endian): "Kestrelin" (16 bytes, NUL-padded) at 0,
// "RovevUdi" (16) at 16, "Ver.1.0.0" (10) at 32, "00" at 42, picture quality
// (u32) at 48, voice recording at 60, the constants 1, 1, 1, 8 (u32) at 72,
// "00" (100 bytes, NUL-padded) at 112, then 49 u32 values from 312 of which
// brightness (328), contrast (336), sharpness (340), parking quality (388),
// event detection (396) and frame rate (432) are used. All else is zero.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace lumora {

inline constexpr std::size_t kLegacySetupBytes = 508;
inline constexpr char kLegacySetupFileName[] = "setup.cfg";

struct LegacySetupValues {
  std::uint32_t pictureQuality = 0;  // slider 0..2
  std::uint32_t voiceRecording = 0;  // 1 on, 2 off
  std::uint32_t brightness = 0;      // slider 0..6
  std::uint32_t contrast = 0;        // slider 0..6
  std::uint32_t sharpness = 0;       // slider 0..6
  std::uint32_t parkingQuality = 0;  // 1 high, 2 low
  std::uint32_t eventDetection = 0;  // 1 impact, 2 motion
  std::uint32_t frameRate = 0;       // 1 variable, 2 fixed 15, 3 fixed 30
};

// The values the reset command writes: all 0 except picture quality 3 and
// voice recording 1.
LegacySetupValues LegacyResetValues();

// The 508 bytes of the record.
std::array<std::uint8_t, kLegacySetupBytes> BuildLegacySetupRecord(const LegacySetupValues& v);

// Writes CARD/setup.cfg anew (temporary file and rename). False on failure.
bool WriteLegacySetupFile(const std::filesystem::path& cardRoot, const LegacySetupValues& v,
                          std::string* error = nullptr);

}  // namespace lumora
