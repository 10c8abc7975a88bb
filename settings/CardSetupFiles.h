#pragma once
// Card files read without the INI reader: the factory file that marks a
// camera card, and the speed unit taken from the binary view of
// data_setup.cfg.

#include <cstdint>
#include <filesystem>
#include <optional>

namespace lumora {

inline constexpr char kFactoryFileName[] = "data_factory.cfg";
inline constexpr std::size_t kFactoryFileBytes = 66;
// Offset of usDisplaySpeedUnit in the record's binary form.
inline constexpr std::size_t kSpeedUnitOffset = 132;
inline constexpr std::size_t kSpeedUnitHeadBytes = 200;

// True when CARD/SETUP/data_factory.cfg opens and starts with "HVN".
bool CheckFactoryFile(const std::filesystem::path& cardRoot);

// usDisplaySpeedUnit of section BB in the INI-text data_setup.cfg that the
// settings dialog edits (FindSetupFile); nothing when there is no such file
// or it holds no such key (an older card's binary record).
std::optional<std::uint16_t> ReadIniSpeedUnit(const std::filesystem::path& cardRoot);

// The display speed unit (0 km/h, 1 mph) read from the card:
// - no card (nullopt): 0;
// - factory magic missing: `previous`;
// - the unit of the INI-text settings file (ReadIniSpeedUnit) when it has one;
// - else the 16-bit little-endian value at offset 132 of the first 200 bytes of
//   CARD/data_setup.cfg, else of CARD/SETUP/data_setup.cfg;
// - neither opens, or the file is shorter than 134 bytes: `previous`.
std::uint16_t ReadSpeedUnit(const std::optional<std::filesystem::path>& cardRoot,
                            std::uint16_t previous);

}  // namespace lumora
