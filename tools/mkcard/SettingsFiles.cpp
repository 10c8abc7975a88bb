#include "tools/mkcard/SettingsFiles.h"

#include <cstdio>
#include <cstring>

namespace lumora {

const std::vector<SettingsKey>& SampleSettingsKeys() {
  static const std::vector<SettingsKey> keys = {
      {"IO", "usIoTurnActive", 1, 6},
      {"IO", "usIoBrakeActive", 1, 8},
      {"INSTALL", "sDevicePosX", -50, 10},
      {"INSTALL", "usInstall_CarType", 0, 12},
      {"INSTALL", "usInstall_CamHeight", 125, 14},
      {"INSTALL", "usInstall_CarWidth", 180, 16},
      {"INSTALL", "usInstall_BonnetLength", 90, 18},
      {"INSTALL", "usInstall_AttachedPos", 1, 20},
      {"INSTALL", "sAutoVanish", 1, 22},
      {"INSTALL", "sDeviceVanishX", 640, 24},
      {"INSTALL", "sDeviceVanishY", 330, 26},
      {"INSTALL", "sDeviceAngle", -2, 28},
      {"INSTALL", "usoVssPulseC", 0, 34},
      {"INSTALL", "usoVssPulseA", 637, 30},
      {"INSTALL", "usoVssPulseB", 4, 32},
      {"LDWS", "usLdw_On", 1, 36},
      {"LDWS", "usLdw_SndEffect", 1, 38},
      {"LDWS", "usLdw_SndVoice", 1, 40},
      {"LDWS", "usLdw_VibType", 0, 42},
      {"LDWS", "usLdw_Delay_Vib", 0, 44},
      {"LDWS", "usLdw_Delay_Warning", 500, 46},
      {"LDWS", "usLdw_Delay_Haptic", 0, 48},
      {"LDWS", "usLdw_SpeedHi", 60, 50},
      {"LDWS", "usLdw_SpeedLo", 30, 52},
      {"LDWS", "sLdw_StepL", 5, 54},
      {"LDWS", "sLdw_StepR", 5, 56},
      {"BNW", "usBnw_On", 1, 58},
      {"BNW", "usBnw_SndEffect", 1, 60},
      {"BNW", "usBnw_SndVoice", 1, 62},
      {"BNW", "usBnw_VibType", 0, 64},
      {"BNW", "usBnw_Delay_Vib", 0, 66},
      {"BNW", "usBnw_WaitBegin", 2000, 68},
      {"BNW", "usBnw_WaitOut", 1500, 70},
      {"FCW", "usFcw_On", 1, 72},
      {"FCW", "usFcw_SndEffect", 1, 74},
      {"FCW", "usFcw_SndVoice", 1, 76},
      {"FCW", "usFcw_SndEffect2", 2, 78},
      {"FCW", "usFcw_VibType", 0, 80},
      {"FCW", "usFcw_Delay_Vib", 0, 82},
      {"FCW", "usFcw_Delay_Warning", 300, 84},
      {"FCW", "usFcw_Delay_WiperOn", 500, 86},
      {"FCW", "usFcw_Delay_WiperOff", 300, 88},
      {"FCW", "usFcw_SpeedHi", 30, 90},
      {"FCW", "usFcw_SpeedLo", 10, 92},
      {"FCW", "usFcw_WarningStart", 1, 94},
      {"FCW", "usFcw_TTCSense", 1, 96},
      {"PD", "usPd_On", 1, 98},
      {"PD", "usPd_Speed", 30, 100},
      {"PD", "usPd_Sense", 1, 102},
      {"VB", "usVb_On", 0, 104},
      {"VB", "usVb_Sense", 1, 106},
      {"BB", "usInfiniteEnable", 1, 108},
      {"BB", "usMicInEnable", 1, 110},
      {"BB", "usAccTriggerX", 120, 112},
      {"BB", "usAccTriggerY", 120, 114},
      {"BB", "usAccTriggerZ", 150, 116},
      {"BB", "usAccCritical", 300, 118},
      {"BB", "usAccSenseLevel", 1, 120},
      {"BB", "usMotionSenseLevel", 1, 122},
      {"BB", "usResolution", 1, 124},
      {"BB", "usDisplayMethod", 2, 126},
      {"BB", "usLcdBacklightTime", 1, 128},
      {"BB", "usDisplaySpeedOnOff", 1, 130},
      {"BB", "usDisplaySpeedUnit", 0, 132},
      {"BB", "usDisplayTTCOnOff", 1, 134},
      {"BB", "usDisplayHorizenOnOff", 0, 136},
      {"BB", "usMenuLanguage", 1, 138},
      {"BB", "usSndLanguage", 1, 140},
      {"BB", "usEntireSndOn", 1, 142},
      {"BB", "usSoundVolume", 10, 144},
      {"BB", "usMicVolume", 8, 146},
      {"BB", "usfrontCameraRotate", 0, 148},
      {"BB", "usrearCameraRotate", 0, 150},
      {"BB", "usPoweroffVolt", 118, 152},
      {"BB", "usEvt_SndEffect", 1, 154},
      {"BB", "usEvt_SndVoice", 1, 156},
      {"BB", "usTimeZone", 21, 158},
      {"BB", "usBrightness", 3, 160},
      {"BB", "usVssPriority", 0, 162},
      {"B2B", "usFcw1_TTCSense_Ms", 900, 164},
      {"B2B", "usFcw2_TTCSense_Ms", 600, 166},
      {"B2B", "usB2BUseDit", 1, 168},
      {"B2B", "usB2BUseTvOut", 0, 170},
      {"B2B", "usB2BUseHub", 0, 172},
      {"B2B", "usB2BUseIntroPcmUpdate", 0, 174},
      {"B2B", "usB2BUseSetBrightness", 1, 176},
      {"B2B", "usB2BUsePassword", 0, 178},
      {"B2B", "usPassword", 1234, 180},
      {"DSP", "usTurnSignalThresholdVolt", 60, 182},
      {"DSP", "usBrakeThresholdVolt", 60, 184},
      {"DSP", "usWakeUpTemperature", 70, 186},
      {"DSP", "usWatchDogFireTime", 30, 188},
      {"DSP", "usSDWriteLimit", 90, 190},
      {"DSP", "usPwrInstallType", 0, 192},
      {"DSP", "usEnableParking", 1, 194},
      {"DSP", "usBaseVoltADC", 2048, 196},
      {"KVX", "usMaxChannel", 2, 200},
      {"KVX", "usBplusThresholdVolt", 118, 202},
      {"KVX", "usKvxVersion", 103, 204},
      {"KVX", "usTempThreshold", 85, 206},
      {"KVX", "roi_x", 320, 208},
      {"KVX", "roi_y", 180, 210},
      {"KVX", "roi_w", 640, 212},
      {"KVX", "roi_h", 360, 214},
      {"KVX", "tar_w", 1280, 216},
      {"KVX", "tar_h", 720, 218},
  };
  return keys;
}

std::string MakeSetupFileText() {
  std::string out;
  auto line = [&](const std::string& s) { out += s + "\r\n"; };
  line("# Lumora dash camera settings");
  line("# Edit with the Lumora Viewer; values are decimal numbers.");
  const char* section = "";
  for (const SettingsKey& k : SampleSettingsKeys()) {
    if (std::strcmp(section, k.section) != 0) {
      section = k.section;
      line(std::string("[") + section + "]");
    }
    line(std::string(k.key) + "=" + std::to_string(k.value) + " ");
  }
  line("# end of settings");
  return out;
}

std::vector<uint8_t> MakeSetupRecord() {
  std::vector<uint8_t> rec(220, 0);
  for (const SettingsKey& k : SampleSettingsKeys()) {
    const auto v = static_cast<uint16_t>(k.value);
    rec[k.offset] = static_cast<uint8_t>(v);
    rec[k.offset + 1] = static_cast<uint8_t>(v >> 8);
  }
  return rec;
}

std::string MakeWifiFileText(uint32_t seed) {
  char text[256];
  std::snprintf(text, sizeof(text),
                "[WIFI]\r\nssid=LUMORA_%04u \r\nwpa_passphrase=lumora%04u \r\nnetwork=192.168.20 "
                "\r\n",
                seed % 10000, (seed * 7u + 1234u) % 10000);
  return text;
}

std::vector<uint8_t> MakeFactoryFile(uint32_t seed) {
  std::vector<uint8_t> f(128, 0);
  const char* magic = "HVN";
  std::memcpy(f.data(), magic, 3);
  f[3] = 1;  // record version
  const char* model = "LUMORA DC-2CH";
  std::memcpy(f.data() + 4, model, std::strlen(model));
  const char* firmware = "FW 2.31.07";
  std::memcpy(f.data() + 20, firmware, std::strlen(firmware));
  char serial[17];
  std::snprintf(serial, sizeof(serial), "LMR%08u", seed % 100000000u);
  std::memcpy(f.data() + 36, serial, std::strlen(serial));
  return f;
}

}  // namespace lumora
