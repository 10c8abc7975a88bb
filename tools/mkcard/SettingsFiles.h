#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumora {

// One settings key of the camera with the value the sample card uses.
struct SettingsKey {
  const char* section;
  const char* key;
  int value;
  int offset;  // byte offset of the 16-bit field in the binary settings record
};

// Every key of data_setup.cfg in file order (sections IO, INSTALL, LDWS, BNW,
// FCW, PD, VB, BB, B2B, DSP, KVX), with realistic values.
const std::vector<SettingsKey>& SampleSettingsKeys();

// data_setup.cfg as the camera writes it: comment lines on top, the sections,
// a closing comment; CR LF line ends; each value followed by one blank.
std::string MakeSetupFileText();
// The 220-byte binary settings record of the same values (older cards).
std::vector<uint8_t> MakeSetupRecord();
// wifi.cfg: section WIFI with ssid, wpa_passphrase and network.
std::string MakeWifiFileText(uint32_t seed);
// SETUP/data_factory.cfg: the "HVN" magic, model, firmware and serial number.
std::vector<uint8_t> MakeFactoryFile(uint32_t seed);

}  // namespace lumora
