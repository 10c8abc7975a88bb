// The keys of a saved data_setup.cfg, section by section, in file order.
// Written out by hand from the camera file format so that the writer is
// checked against an independent list.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace lumora::testing {

inline const std::vector<std::pair<std::string, std::vector<std::string>>> kExpectedSetupLayout = {
    {"IO", {"usIoTurnActive", "usIoBrakeActive"}},
    {"INSTALL",
     {"sDevicePosX", "usInstall_CarType", "usInstall_CamHeight", "usInstall_CarWidth",
      "usInstall_BonnetLength", "usInstall_AttachedPos", "sAutoVanish", "sDeviceVanishX",
      "sDeviceVanishY", "sDeviceAngle", "usoVssPulseC", "usoVssPulseA", "usoVssPulseB"}},
    {"LDWS",
     {"usLdw_On", "usLdw_SndEffect", "usLdw_SndVoice", "usLdw_VibType", "usLdw_Delay_Vib",
      "usLdw_Delay_Warning", "usLdw_Delay_Haptic", "usLdw_SpeedHi", "usLdw_SpeedLo", "sLdw_StepL",
      "sLdw_StepR"}},
    {"BNW",
     {"usBnw_On", "usBnw_SndEffect", "usBnw_SndVoice", "usBnw_VibType", "usBnw_Delay_Vib",
      "usBnw_WaitBegin", "usBnw_WaitOut"}},
    {"FCW",
     {"usFcw_On", "usFcw_SndEffect", "usFcw_SndVoice", "usFcw_SndEffect2", "usFcw_VibType",
      "usFcw_Delay_Vib", "usFcw_Delay_Warning", "usFcw_Delay_WiperOn", "usFcw_Delay_WiperOff",
      "usFcw_SpeedHi", "usFcw_SpeedLo", "usFcw_WarningStart", "usFcw_TTCSense"}},
    {"PD", {"usPd_On", "usPd_Speed", "usPd_Sense"}},
    {"VB", {"usVb_On", "usVb_Sense"}},
    {"BB",
     {"usInfiniteEnable",    "usMicInEnable",      "usAccTriggerX",         "usAccTriggerY",
      "usAccTriggerZ",       "usAccCritical",      "usAccSenseLevel",       "usMotionSenseLevel",
      "usResolution",        "usDisplayMethod",    "usLcdBacklightTime",    "usDisplaySpeedOnOff",
      "usDisplaySpeedUnit",  "usDisplayTTCOnOff",  "usDisplayHorizenOnOff", "usMenuLanguage",
      "usSndLanguage",       "usEntireSndOn",      "usSoundVolume",         "usMicVolume",
      "usfrontCameraRotate", "usrearCameraRotate", "usPoweroffVolt",        "usEvt_SndEffect",
      "usEvt_SndVoice",      "usTimeZone",         "usBrightness",          "usVssPriority"}},
    {"B2B",
     {"usFcw1_TTCSense_Ms", "usFcw2_TTCSense_Ms", "usB2BUseDit", "usB2BUseTvOut", "usB2BUseHub",
      "usB2BUseIntroPcmUpdate", "usB2BUseSetBrightness", "usB2BUsePassword", "usPassword"}},
    {"DSP",
     {"usTurnSignalThresholdVolt", "usBrakeThresholdVolt", "usWakeUpTemperature",
      "usWatchDogFireTime", "usSDWriteLimit", "usPwrInstallType", "usEnableParking",
      "usBaseVoltADC"}},
    {"KVX",
     {"usMaxChannel", "usBplusThresholdVolt", "usKvxVersion", "usTempThreshold", "roi_x", "roi_y",
      "roi_w", "roi_h", "tar_w", "tar_h"}},
};

}  // namespace lumora::testing
