#pragma once
// The camera settings record: 110 consecutive 16-bit little-endian fields,
// 220 bytes. The same layout is the binary form of older cameras'
// data_setup.cfg. Member names are the INI key names; names starting with
// "s" are signed. reserved0..2 (offsets 0-4) and reserved3 (offset 198) have
// no key and are carried unchanged.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

struct SetupData {
  std::uint16_t reserved0 = 0;                  // 0 reserved, carried unchanged
  std::uint16_t reserved1 = 0;                  // 2 reserved, carried unchanged
  std::uint16_t reserved2 = 0;                  // 4 reserved, carried unchanged
  std::uint16_t usIoTurnActive = 0;             // 6
  std::uint16_t usIoBrakeActive = 0;            // 8
  std::int16_t sDevicePosX = 0;                 // 10
  std::uint16_t usInstall_CarType = 0;          // 12
  std::uint16_t usInstall_CamHeight = 0;        // 14
  std::uint16_t usInstall_CarWidth = 0;         // 16
  std::uint16_t usInstall_BonnetLength = 0;     // 18
  std::uint16_t usInstall_AttachedPos = 0;      // 20
  std::int16_t sAutoVanish = 0;                 // 22
  std::int16_t sDeviceVanishX = 0;              // 24
  std::int16_t sDeviceVanishY = 0;              // 26
  std::int16_t sDeviceAngle = 0;                // 28
  std::uint16_t usoVssPulseA = 0;               // 30
  std::uint16_t usoVssPulseB = 0;               // 32
  std::uint16_t usoVssPulseC = 0;               // 34
  std::uint16_t usLdw_On = 0;                   // 36
  std::uint16_t usLdw_SndEffect = 0;            // 38
  std::uint16_t usLdw_SndVoice = 0;             // 40
  std::uint16_t usLdw_VibType = 0;              // 42
  std::uint16_t usLdw_Delay_Vib = 0;            // 44
  std::uint16_t usLdw_Delay_Warning = 0;        // 46
  std::uint16_t usLdw_Delay_Haptic = 0;         // 48
  std::uint16_t usLdw_SpeedHi = 0;              // 50
  std::uint16_t usLdw_SpeedLo = 0;              // 52
  std::int16_t sLdw_StepL = 0;                  // 54
  std::int16_t sLdw_StepR = 0;                  // 56
  std::uint16_t usBnw_On = 0;                   // 58
  std::uint16_t usBnw_SndEffect = 0;            // 60
  std::uint16_t usBnw_SndVoice = 0;             // 62
  std::uint16_t usBnw_VibType = 0;              // 64
  std::uint16_t usBnw_Delay_Vib = 0;            // 66
  std::uint16_t usBnw_WaitBegin = 0;            // 68
  std::uint16_t usBnw_WaitOut = 0;              // 70
  std::uint16_t usFcw_On = 0;                   // 72
  std::uint16_t usFcw_SndEffect = 0;            // 74
  std::uint16_t usFcw_SndVoice = 0;             // 76
  std::uint16_t usFcw_SndEffect2 = 0;           // 78
  std::uint16_t usFcw_VibType = 0;              // 80
  std::uint16_t usFcw_Delay_Vib = 0;            // 82
  std::uint16_t usFcw_Delay_Warning = 0;        // 84
  std::uint16_t usFcw_Delay_WiperOn = 0;        // 86
  std::uint16_t usFcw_Delay_WiperOff = 0;       // 88
  std::uint16_t usFcw_SpeedHi = 0;              // 90
  std::uint16_t usFcw_SpeedLo = 0;              // 92
  std::uint16_t usFcw_WarningStart = 0;         // 94
  std::uint16_t usFcw_TTCSense = 0;             // 96
  std::uint16_t usPd_On = 0;                    // 98
  std::uint16_t usPd_Speed = 0;                 // 100
  std::uint16_t usPd_Sense = 0;                 // 102
  std::uint16_t usVb_On = 0;                    // 104
  std::uint16_t usVb_Sense = 0;                 // 106
  std::uint16_t usInfiniteEnable = 0;           // 108
  std::uint16_t usMicInEnable = 0;              // 110
  std::uint16_t usAccTriggerX = 0;              // 112
  std::uint16_t usAccTriggerY = 0;              // 114
  std::uint16_t usAccTriggerZ = 0;              // 116
  std::uint16_t usAccCritical = 0;              // 118
  std::uint16_t usAccSenseLevel = 0;            // 120
  std::uint16_t usMotionSenseLevel = 0;         // 122
  std::uint16_t usResolution = 0;               // 124
  std::uint16_t usDisplayMethod = 0;            // 126
  std::uint16_t usLcdBacklightTime = 0;         // 128
  std::uint16_t usDisplaySpeedOnOff = 0;        // 130
  std::uint16_t usDisplaySpeedUnit = 0;         // 132
  std::uint16_t usDisplayTTCOnOff = 0;          // 134
  std::uint16_t usDisplayHorizenOnOff = 0;      // 136
  std::uint16_t usMenuLanguage = 0;             // 138
  std::uint16_t usSndLanguage = 0;              // 140
  std::uint16_t usEntireSndOn = 0;              // 142
  std::uint16_t usSoundVolume = 0;              // 144
  std::uint16_t usMicVolume = 0;                // 146
  std::uint16_t usfrontCameraRotate = 0;        // 148
  std::uint16_t usrearCameraRotate = 0;         // 150
  std::uint16_t usPoweroffVolt = 0;             // 152
  std::uint16_t usEvt_SndEffect = 0;            // 154
  std::uint16_t usEvt_SndVoice = 0;             // 156
  std::uint16_t usTimeZone = 0;                 // 158
  std::uint16_t usBrightness = 0;               // 160
  std::uint16_t usVssPriority = 0;              // 162
  std::uint16_t usFcw1_TTCSense_Ms = 0;         // 164
  std::uint16_t usFcw2_TTCSense_Ms = 0;         // 166
  std::uint16_t usB2BUseDit = 0;                // 168
  std::uint16_t usB2BUseTvOut = 0;              // 170
  std::uint16_t usB2BUseHub = 0;                // 172
  std::uint16_t usB2BUseIntroPcmUpdate = 0;     // 174
  std::uint16_t usB2BUseSetBrightness = 0;      // 176
  std::uint16_t usB2BUsePassword = 0;           // 178
  std::uint16_t usPassword = 0;                 // 180
  std::uint16_t usTurnSignalThresholdVolt = 0;  // 182
  std::uint16_t usBrakeThresholdVolt = 0;       // 184
  std::uint16_t usWakeUpTemperature = 0;        // 186
  std::uint16_t usWatchDogFireTime = 0;         // 188
  std::uint16_t usSDWriteLimit = 0;             // 190
  std::uint16_t usPwrInstallType = 0;           // 192
  std::uint16_t usEnableParking = 0;            // 194
  std::uint16_t usBaseVoltADC = 0;              // 196
  std::uint16_t reserved3 = 0;                  // 198 reserved, carried unchanged
  std::uint16_t usMaxChannel = 0;               // 200
  std::uint16_t usBplusThresholdVolt = 0;       // 202
  std::uint16_t usKvxVersion = 0;               // 204
  std::uint16_t usTempThreshold = 0;            // 206
  std::uint16_t roi_x = 0;                      // 208
  std::uint16_t roi_y = 0;                      // 210
  std::uint16_t roi_w = 0;                      // 212
  std::uint16_t roi_h = 0;                      // 214
  std::uint16_t tar_w = 0;                      // 216
  std::uint16_t tar_h = 0;                      // 218

  // The 16-bit field at byte offset `offset` (even, below 220).
  std::uint16_t Raw(std::size_t offset) const;
  void SetRaw(std::size_t offset, std::uint16_t value);

  // The binary form: 220 bytes, little-endian.
  std::array<std::uint8_t, 220> ToBytes() const;

  // Byte-for-byte comparison (the dialog's "changed since loading" test).
  bool operator==(const SetupData& other) const { return ToBytes() == other.ToBytes(); }
};

inline constexpr std::size_t kSetupDataBytes = 220;
inline constexpr std::size_t kSetupFieldCount = 110;

// One INI key of the record.
struct SetupKeyInfo {
  const char* section;
  const char* key;
  std::size_t offset;        // byte offset in the record's binary form
  std::size_t memberOffset;  // offsetof the member (checked against `offset`)
  bool isSigned;
};

// Every key, in record order (106 keys; the four reserved fields have none).
inline constexpr std::array<SetupKeyInfo, 106> kSetupKeys = {{
    {"IO", "usIoTurnActive", 6, offsetof(SetupData, usIoTurnActive), false},
    {"IO", "usIoBrakeActive", 8, offsetof(SetupData, usIoBrakeActive), false},
    {"INSTALL", "sDevicePosX", 10, offsetof(SetupData, sDevicePosX), true},
    {"INSTALL", "usInstall_CarType", 12, offsetof(SetupData, usInstall_CarType), false},
    {"INSTALL", "usInstall_CamHeight", 14, offsetof(SetupData, usInstall_CamHeight), false},
    {"INSTALL", "usInstall_CarWidth", 16, offsetof(SetupData, usInstall_CarWidth), false},
    {"INSTALL", "usInstall_BonnetLength", 18, offsetof(SetupData, usInstall_BonnetLength), false},
    {"INSTALL", "usInstall_AttachedPos", 20, offsetof(SetupData, usInstall_AttachedPos), false},
    {"INSTALL", "sAutoVanish", 22, offsetof(SetupData, sAutoVanish), true},
    {"INSTALL", "sDeviceVanishX", 24, offsetof(SetupData, sDeviceVanishX), true},
    {"INSTALL", "sDeviceVanishY", 26, offsetof(SetupData, sDeviceVanishY), true},
    {"INSTALL", "sDeviceAngle", 28, offsetof(SetupData, sDeviceAngle), true},
    {"INSTALL", "usoVssPulseA", 30, offsetof(SetupData, usoVssPulseA), false},
    {"INSTALL", "usoVssPulseB", 32, offsetof(SetupData, usoVssPulseB), false},
    {"INSTALL", "usoVssPulseC", 34, offsetof(SetupData, usoVssPulseC), false},
    {"LDWS", "usLdw_On", 36, offsetof(SetupData, usLdw_On), false},
    {"LDWS", "usLdw_SndEffect", 38, offsetof(SetupData, usLdw_SndEffect), false},
    {"LDWS", "usLdw_SndVoice", 40, offsetof(SetupData, usLdw_SndVoice), false},
    {"LDWS", "usLdw_VibType", 42, offsetof(SetupData, usLdw_VibType), false},
    {"LDWS", "usLdw_Delay_Vib", 44, offsetof(SetupData, usLdw_Delay_Vib), false},
    {"LDWS", "usLdw_Delay_Warning", 46, offsetof(SetupData, usLdw_Delay_Warning), false},
    {"LDWS", "usLdw_Delay_Haptic", 48, offsetof(SetupData, usLdw_Delay_Haptic), false},
    {"LDWS", "usLdw_SpeedHi", 50, offsetof(SetupData, usLdw_SpeedHi), false},
    {"LDWS", "usLdw_SpeedLo", 52, offsetof(SetupData, usLdw_SpeedLo), false},
    {"LDWS", "sLdw_StepL", 54, offsetof(SetupData, sLdw_StepL), true},
    {"LDWS", "sLdw_StepR", 56, offsetof(SetupData, sLdw_StepR), true},
    {"BNW", "usBnw_On", 58, offsetof(SetupData, usBnw_On), false},
    {"BNW", "usBnw_SndEffect", 60, offsetof(SetupData, usBnw_SndEffect), false},
    {"BNW", "usBnw_SndVoice", 62, offsetof(SetupData, usBnw_SndVoice), false},
    {"BNW", "usBnw_VibType", 64, offsetof(SetupData, usBnw_VibType), false},
    {"BNW", "usBnw_Delay_Vib", 66, offsetof(SetupData, usBnw_Delay_Vib), false},
    {"BNW", "usBnw_WaitBegin", 68, offsetof(SetupData, usBnw_WaitBegin), false},
    {"BNW", "usBnw_WaitOut", 70, offsetof(SetupData, usBnw_WaitOut), false},
    {"FCW", "usFcw_On", 72, offsetof(SetupData, usFcw_On), false},
    {"FCW", "usFcw_SndEffect", 74, offsetof(SetupData, usFcw_SndEffect), false},
    {"FCW", "usFcw_SndVoice", 76, offsetof(SetupData, usFcw_SndVoice), false},
    {"FCW", "usFcw_SndEffect2", 78, offsetof(SetupData, usFcw_SndEffect2), false},
    {"FCW", "usFcw_VibType", 80, offsetof(SetupData, usFcw_VibType), false},
    {"FCW", "usFcw_Delay_Vib", 82, offsetof(SetupData, usFcw_Delay_Vib), false},
    {"FCW", "usFcw_Delay_Warning", 84, offsetof(SetupData, usFcw_Delay_Warning), false},
    {"FCW", "usFcw_Delay_WiperOn", 86, offsetof(SetupData, usFcw_Delay_WiperOn), false},
    {"FCW", "usFcw_Delay_WiperOff", 88, offsetof(SetupData, usFcw_Delay_WiperOff), false},
    {"FCW", "usFcw_SpeedHi", 90, offsetof(SetupData, usFcw_SpeedHi), false},
    {"FCW", "usFcw_SpeedLo", 92, offsetof(SetupData, usFcw_SpeedLo), false},
    {"FCW", "usFcw_WarningStart", 94, offsetof(SetupData, usFcw_WarningStart), false},
    {"FCW", "usFcw_TTCSense", 96, offsetof(SetupData, usFcw_TTCSense), false},
    {"PD", "usPd_On", 98, offsetof(SetupData, usPd_On), false},
    {"PD", "usPd_Speed", 100, offsetof(SetupData, usPd_Speed), false},
    {"PD", "usPd_Sense", 102, offsetof(SetupData, usPd_Sense), false},
    {"VB", "usVb_On", 104, offsetof(SetupData, usVb_On), false},
    {"VB", "usVb_Sense", 106, offsetof(SetupData, usVb_Sense), false},
    {"BB", "usInfiniteEnable", 108, offsetof(SetupData, usInfiniteEnable), false},
    {"BB", "usMicInEnable", 110, offsetof(SetupData, usMicInEnable), false},
    {"BB", "usAccTriggerX", 112, offsetof(SetupData, usAccTriggerX), false},
    {"BB", "usAccTriggerY", 114, offsetof(SetupData, usAccTriggerY), false},
    {"BB", "usAccTriggerZ", 116, offsetof(SetupData, usAccTriggerZ), false},
    {"BB", "usAccCritical", 118, offsetof(SetupData, usAccCritical), false},
    {"BB", "usAccSenseLevel", 120, offsetof(SetupData, usAccSenseLevel), false},
    {"BB", "usMotionSenseLevel", 122, offsetof(SetupData, usMotionSenseLevel), false},
    {"BB", "usResolution", 124, offsetof(SetupData, usResolution), false},
    {"BB", "usDisplayMethod", 126, offsetof(SetupData, usDisplayMethod), false},
    {"BB", "usLcdBacklightTime", 128, offsetof(SetupData, usLcdBacklightTime), false},
    {"BB", "usDisplaySpeedOnOff", 130, offsetof(SetupData, usDisplaySpeedOnOff), false},
    {"BB", "usDisplaySpeedUnit", 132, offsetof(SetupData, usDisplaySpeedUnit), false},
    {"BB", "usDisplayTTCOnOff", 134, offsetof(SetupData, usDisplayTTCOnOff), false},
    {"BB", "usDisplayHorizenOnOff", 136, offsetof(SetupData, usDisplayHorizenOnOff), false},
    {"BB", "usMenuLanguage", 138, offsetof(SetupData, usMenuLanguage), false},
    {"BB", "usSndLanguage", 140, offsetof(SetupData, usSndLanguage), false},
    {"BB", "usEntireSndOn", 142, offsetof(SetupData, usEntireSndOn), false},
    {"BB", "usSoundVolume", 144, offsetof(SetupData, usSoundVolume), false},
    {"BB", "usMicVolume", 146, offsetof(SetupData, usMicVolume), false},
    {"BB", "usfrontCameraRotate", 148, offsetof(SetupData, usfrontCameraRotate), false},
    {"BB", "usrearCameraRotate", 150, offsetof(SetupData, usrearCameraRotate), false},
    {"BB", "usPoweroffVolt", 152, offsetof(SetupData, usPoweroffVolt), false},
    {"BB", "usEvt_SndEffect", 154, offsetof(SetupData, usEvt_SndEffect), false},
    {"BB", "usEvt_SndVoice", 156, offsetof(SetupData, usEvt_SndVoice), false},
    {"BB", "usTimeZone", 158, offsetof(SetupData, usTimeZone), false},
    {"BB", "usBrightness", 160, offsetof(SetupData, usBrightness), false},
    {"BB", "usVssPriority", 162, offsetof(SetupData, usVssPriority), false},
    {"B2B", "usFcw1_TTCSense_Ms", 164, offsetof(SetupData, usFcw1_TTCSense_Ms), false},
    {"B2B", "usFcw2_TTCSense_Ms", 166, offsetof(SetupData, usFcw2_TTCSense_Ms), false},
    {"B2B", "usB2BUseDit", 168, offsetof(SetupData, usB2BUseDit), false},
    {"B2B", "usB2BUseTvOut", 170, offsetof(SetupData, usB2BUseTvOut), false},
    {"B2B", "usB2BUseHub", 172, offsetof(SetupData, usB2BUseHub), false},
    {"B2B", "usB2BUseIntroPcmUpdate", 174, offsetof(SetupData, usB2BUseIntroPcmUpdate), false},
    {"B2B", "usB2BUseSetBrightness", 176, offsetof(SetupData, usB2BUseSetBrightness), false},
    {"B2B", "usB2BUsePassword", 178, offsetof(SetupData, usB2BUsePassword), false},
    {"B2B", "usPassword", 180, offsetof(SetupData, usPassword), false},
    {"DSP", "usTurnSignalThresholdVolt", 182, offsetof(SetupData, usTurnSignalThresholdVolt),
     false},
    {"DSP", "usBrakeThresholdVolt", 184, offsetof(SetupData, usBrakeThresholdVolt), false},
    {"DSP", "usWakeUpTemperature", 186, offsetof(SetupData, usWakeUpTemperature), false},
    {"DSP", "usWatchDogFireTime", 188, offsetof(SetupData, usWatchDogFireTime), false},
    {"DSP", "usSDWriteLimit", 190, offsetof(SetupData, usSDWriteLimit), false},
    {"DSP", "usPwrInstallType", 192, offsetof(SetupData, usPwrInstallType), false},
    {"DSP", "usEnableParking", 194, offsetof(SetupData, usEnableParking), false},
    {"DSP", "usBaseVoltADC", 196, offsetof(SetupData, usBaseVoltADC), false},
    {"KVX", "usMaxChannel", 200, offsetof(SetupData, usMaxChannel), false},
    {"KVX", "usBplusThresholdVolt", 202, offsetof(SetupData, usBplusThresholdVolt), false},
    {"KVX", "usKvxVersion", 204, offsetof(SetupData, usKvxVersion), false},
    {"KVX", "usTempThreshold", 206, offsetof(SetupData, usTempThreshold), false},
    {"KVX", "roi_x", 208, offsetof(SetupData, roi_x), false},
    {"KVX", "roi_y", 210, offsetof(SetupData, roi_y), false},
    {"KVX", "roi_w", 212, offsetof(SetupData, roi_w), false},
    {"KVX", "roi_h", 214, offsetof(SetupData, roi_h), false},
    {"KVX", "tar_w", 216, offsetof(SetupData, tar_w), false},
    {"KVX", "tar_h", 218, offsetof(SetupData, tar_h), false},
}};

// The sections in file order: IO, INSTALL, LDWS, BNW, FCW, PD, VB, BB, B2B, DSP, KVX.
inline constexpr std::array<const char*, 11> kSetupSections = {
    "IO", "INSTALL", "LDWS", "BNW", "FCW", "PD", "VB", "BB", "B2B", "DSP", "KVX"};

// The keys a section's reader reads, in reading order: record order, except
// that INSTALL reads usoVssPulseC before usoVssPulseA and usoVssPulseB, and
// BB also lists usMaxChannel (KVX, read later, decides its value).
std::vector<const SetupKeyInfo*> SetupSectionReadKeys(std::string_view section);

// The keys a section's writer writes, in writing order: record order, except
// that INSTALL writes usoVssPulseC, usoVssPulseA, usoVssPulseB after
// sDeviceAngle. usMaxChannel is written under KVX only.
std::vector<const SetupKeyInfo*> SetupSectionWriteKeys(std::string_view section);

// The key named `key` (compared without case) in `section`; nullptr if none.
const SetupKeyInfo* FindSetupKey(std::string_view section, std::string_view key);

// The field's value as the program sees it: signed fields sign-extended.
std::int32_t SetupFieldValue(const SetupData& data, const SetupKeyInfo& info);

}  // namespace lumora
