#pragma once
// wifi.cfg at the card root: section WIFI with ssid, wpa_passphrase and
// network (the address prefix of the camera's access point).

#include <cstddef>
#include <filesystem>
#include <string>

namespace lumora {

inline constexpr char kWifiFileName[] = "wifi.cfg";
inline constexpr char kDefaultWifiNetwork[] = "192.168.20";
// Each string is read into a buffer of this many characters (255 + NUL).
inline constexpr std::size_t kWifiValueBuffer = 256;

struct WifiSetup {
  std::string ssid;
  std::string wpa_passphrase;
  std::string network;
};

// `network` shorter than 2 characters becomes "192.168.20".
std::string NormalizeWifiNetwork(const std::string& network);

// Reads CARD/wifi.cfg only when it opens for reading and writing (a read-only
// file is not read). Missing keys read as "". Returns whether it was read; on
// false all three strings are empty.
bool LoadWifiFile(const std::filesystem::path& cardRoot, WifiSetup& wifi);

// The exact bytes a save produces: "[WIFI]", then ssid, wpa_passphrase and
// network, each value followed by one blank, CR LF line ends. Line breaks
// inside a value cannot be stored on one line and are left out.
std::string BuildWifiFileText(const WifiSetup& wifi);

// Normalizes `wifi.network`, then replaces CARD/wifi.cfg (through a temporary
// file and rename, so the old file survives a failure). Comments in the old
// file do not survive. False when the file is read-only or cannot be written.
bool SaveWifiFile(const std::filesystem::path& cardRoot, WifiSetup& wifi,
                  std::string* error = nullptr);

}  // namespace lumora
