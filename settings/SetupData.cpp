#include "settings/SetupData.h"

#include <cstring>
#include <type_traits>

#include "platform/IniDocument.h"

namespace lumora {
namespace {

static_assert(std::is_standard_layout_v<SetupData>);
static_assert(std::is_trivially_copyable_v<SetupData>);
static_assert(sizeof(SetupData) == kSetupDataBytes);
static_assert(offsetof(SetupData, reserved0) == 0);
static_assert(offsetof(SetupData, reserved2) == 4);
static_assert(offsetof(SetupData, usDisplaySpeedUnit) == 132);
static_assert(offsetof(SetupData, reserved3) == 198);
static_assert(offsetof(SetupData, tar_h) == 218);

constexpr bool KeyTableMatchesLayout() {
  for (const SetupKeyInfo& k : kSetupKeys) {
    if (k.offset != k.memberOffset || k.offset % 2 != 0 || k.offset >= kSetupDataBytes) {
      return false;
    }
  }
  // Consecutive, with the reserved gaps at 0-4 and 198 only.
  std::size_t expected = 6;
  for (const SetupKeyInfo& k : kSetupKeys) {
    if (expected == 198) expected = 200;
    if (k.offset != expected) return false;
    expected += 2;
  }
  return expected == kSetupDataBytes;
}
static_assert(KeyTableMatchesLayout(), "key table and SetupData layout disagree");

bool IsKey(const SetupKeyInfo& k, const char* name) { return std::strcmp(k.key, name) == 0; }

}  // namespace

std::uint16_t SetupData::Raw(std::size_t offset) const {
  std::uint16_t v = 0;
  if (offset + 2 <= kSetupDataBytes) {
    std::memcpy(&v, reinterpret_cast<const unsigned char*>(this) + offset, 2);
  }
  return v;
}

void SetupData::SetRaw(std::size_t offset, std::uint16_t value) {
  if (offset + 2 <= kSetupDataBytes) {
    std::memcpy(reinterpret_cast<unsigned char*>(this) + offset, &value, 2);
  }
}

std::array<std::uint8_t, 220> SetupData::ToBytes() const {
  std::array<std::uint8_t, 220> out{};
  for (std::size_t off = 0; off < kSetupDataBytes; off += 2) {
    std::uint16_t v = Raw(off);
    out[off] = static_cast<std::uint8_t>(v & 0xff);
    out[off + 1] = static_cast<std::uint8_t>(v >> 8);
  }
  return out;
}

std::vector<const SetupKeyInfo*> SetupSectionWriteKeys(std::string_view section) {
  std::vector<const SetupKeyInfo*> keys;
  for (const SetupKeyInfo& k : kSetupKeys) {
    if (!EqualsNoCase(k.section, section)) continue;
    if (IsKey(k, "usoVssPulseA") || IsKey(k, "usoVssPulseB")) continue;
    if (IsKey(k, "usoVssPulseC")) {
      // The camera's files list pulse C first.
      keys.push_back(FindSetupKey("INSTALL", "usoVssPulseC"));
      keys.push_back(FindSetupKey("INSTALL", "usoVssPulseA"));
      keys.push_back(FindSetupKey("INSTALL", "usoVssPulseB"));
      continue;
    }
    keys.push_back(&k);
  }
  return keys;
}

std::vector<const SetupKeyInfo*> SetupSectionReadKeys(std::string_view section) {
  std::vector<const SetupKeyInfo*> keys = SetupSectionWriteKeys(section);
  if (EqualsNoCase(section, "BB")) keys.push_back(FindSetupKey("KVX", "usMaxChannel"));
  return keys;
}

const SetupKeyInfo* FindSetupKey(std::string_view section, std::string_view key) {
  for (const SetupKeyInfo& k : kSetupKeys) {
    if (EqualsNoCase(k.section, section) && EqualsNoCase(k.key, key)) return &k;
  }
  return nullptr;
}

std::int32_t SetupFieldValue(const SetupData& data, const SetupKeyInfo& info) {
  std::uint16_t raw = data.Raw(info.offset);
  return info.isSigned ? static_cast<std::int32_t>(static_cast<std::int16_t>(raw))
                       : static_cast<std::int32_t>(raw);
}

}  // namespace lumora
