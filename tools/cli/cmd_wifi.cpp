// lumora-cli wifi [CARD_ROOT] [--ssid S] [--passphrase P]
// Prints the card's wifi.cfg as JSON; with --ssid / --passphrase, changes
// them and rewrites the file as the settings dialog does.

#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "settings/OthersPageRules.h"
#include "settings/SettingsCloseRules.h"
#include "settings/WifiFile.h"
#include "tools/cli/CardRootArg.h"
#include "tools/cli/CliCommand.h"

namespace {

using Json = nlohmann::ordered_json;

struct WifiOptions {
  std::string root;
  std::string ssid;
  std::string passphrase;
  bool hasSsid = false;
  bool hasPassphrase = false;
};

bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

int Run(const WifiOptions& opt) {
  std::optional<std::filesystem::path> root = cli::CardRootOrFind(opt.root, "wifi");
  if (!root) return cli::kBadInput;
  lumora::WifiSetup loaded;
  bool readable = lumora::LoadWifiFile(*root, loaded);
  lumora::WifiEditState edit{loaded.ssid, loaded.wpa_passphrase, loaded.ssid, loaded.wpa_passphrase,
                             loaded.network};
  if (opt.hasSsid) edit.ssid = opt.ssid;
  if (opt.hasPassphrase) edit.passphrase = opt.passphrase;
  if (HasLineBreak(edit.ssid) || HasLineBreak(edit.passphrase)) {
    std::cerr << "wifi: the SSID and passphrase must be one line\n";
    return cli::kBadInput;
  }
  bool written = false;
  lumora::WifiSetup result = loaded;
  if (lumora::WifiChanged(edit)) {
    if (lumora::CheckClose(edit) == lumora::CloseCheck::kAskShortPassphrase) {
      std::cerr << "wifi: " << lumora::kWifiPassphraseTooShortMessage << "\n";
      return cli::kBadInput;
    }
    result = {edit.ssid, edit.passphrase, edit.network};
    std::string error;
    if (!lumora::SaveWifiFile(*root, result, &error)) {
      std::cerr << "wifi: wifi.cfg was not written: " << error << "\n";
      return 1;
    }
    written = true;
  }
  Json out;
  out["readable"] = readable;
  out["written"] = written;
  out["ssid"] = result.ssid;
  out["wpa_passphrase"] = result.wpa_passphrase;
  out["network"] = result.network;
  std::cout << out.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
  return 0;
}

const cli::CliCommand kWifi(
    "wifi", "Print or change the Wi-Fi settings (wifi.cfg) of a card",
    [](CLI::App& sub) -> cli::RunFn {
      auto opt = std::make_shared<WifiOptions>();
      sub.add_option("CARD_ROOT", opt->root, "Folder of the camera card")->required();
      auto* ssid = sub.add_option("--ssid", opt->ssid, "New SSID");
      auto* pass =
          sub.add_option("--passphrase", opt->passphrase, "New WPA passphrase (8 or more)");
      return [opt, ssid, pass] {
        opt->hasSsid = ssid->count() > 0;
        opt->hasPassphrase = pass->count() > 0;
        return Run(*opt);
      };
    });

}  // namespace
