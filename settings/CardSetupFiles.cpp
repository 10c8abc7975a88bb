#include "settings/CardSetupFiles.h"

#include <string>

#include "platform/AtomicFile.h"
#include "settings/CardPath.h"
#include "settings/SetupFile.h"

namespace lumora {

bool CheckFactoryFile(const std::filesystem::path& cardRoot) {
  std::string head;
  if (!ReadFileHead(ResolveCardPath(cardRoot, {"SETUP", kFactoryFileName}), kFactoryFileBytes,
                    head)) {
    return false;
  }
  return head.size() >= 3 && head.compare(0, 3, "HVN") == 0;
}

std::optional<std::uint16_t> ReadIniSpeedUnit(const std::filesystem::path& cardRoot) {
  const SetupFileLocation location = FindSetupFile(cardRoot);
  std::string text;
  if (!location.found || !ReadWholeFile(location.path, text)) return std::nullopt;
  const IniDocument doc = IniDocument::Parse(text);
  if (!doc.FindValue("BB", "usDisplaySpeedUnit")) return std::nullopt;
  SetupData data;
  ReadSetupSection(doc, "BB", data);
  return data.usDisplaySpeedUnit;
}

std::uint16_t ReadSpeedUnit(const std::optional<std::filesystem::path>& cardRoot,
                            std::uint16_t previous) {
  if (!cardRoot) return 0;
  if (!CheckFactoryFile(*cardRoot)) return previous;
  // The settings dialog edits the INI text; its unit wins over the binary
  // record of older cards, which the dialog never changes.
  if (const auto unit = ReadIniSpeedUnit(*cardRoot)) return *unit;
  std::string head;
  if (!ReadFileHead(ResolveCardPath(*cardRoot, {kSetupFileName}), kSpeedUnitHeadBytes, head) &&
      !ReadFileHead(ResolveCardPath(*cardRoot, {"SETUP", kSetupFileName}), kSpeedUnitHeadBytes,
                    head)) {
    return previous;
  }
  if (head.size() < kSpeedUnitOffset + 2) return previous;
  auto lo = static_cast<std::uint8_t>(head[kSpeedUnitOffset]);
  auto hi = static_cast<std::uint8_t>(head[kSpeedUnitOffset + 1]);
  return static_cast<std::uint16_t>(lo | (hi << 8));
}

}  // namespace lumora
