#include "settings/WifiFile.h"

#include "platform/AtomicFile.h"
#include "platform/PrivateProfile.h"
#include "settings/CardPath.h"

namespace lumora {
namespace {

std::string OneLine(const std::string& value) {
  std::string out;
  for (char c : value) {
    if (c != '\r' && c != '\n') out += c;
  }
  return out;
}

}  // namespace

std::string NormalizeWifiNetwork(const std::string& network) {
  return network.size() < 2 ? std::string(kDefaultWifiNetwork) : network;
}

bool LoadWifiFile(const std::filesystem::path& cardRoot, WifiSetup& wifi) {
  wifi = WifiSetup{};
  std::filesystem::path path = ResolveCardPath(cardRoot, {kWifiFileName});
  IniDocument doc;
  if (!OpenableForReadWrite(path) || !LoadProfileDocument(path, doc)) return false;
  wifi.ssid = GetProfileString(doc, "WIFI", "ssid", "", kWifiValueBuffer);
  wifi.wpa_passphrase = GetProfileString(doc, "WIFI", "wpa_passphrase", "", kWifiValueBuffer);
  wifi.network = GetProfileString(doc, "WIFI", "network", "", kWifiValueBuffer);
  return true;
}

std::string BuildWifiFileText(const WifiSetup& wifi) {
  IniDocument doc;
  doc.SetValue("WIFI", "ssid", OneLine(wifi.ssid) + " ");
  doc.SetValue("WIFI", "wpa_passphrase", OneLine(wifi.wpa_passphrase) + " ");
  doc.SetValue("WIFI", "network", OneLine(wifi.network) + " ");
  return doc.Serialize();
}

bool SaveWifiFile(const std::filesystem::path& cardRoot, WifiSetup& wifi, std::string* error) {
  wifi.network = NormalizeWifiNetwork(wifi.network);
  std::filesystem::path path = ResolveCardPath(cardRoot, {kWifiFileName});
  std::error_code ec;
  if (std::filesystem::exists(path, ec) && !IsFileWritable(path)) {
    if (error) *error = "wifi.cfg is read-only: " + path.string();
    return false;
  }
  return WriteFileAtomically(path, BuildWifiFileText(wifi), error);
}

}  // namespace lumora
