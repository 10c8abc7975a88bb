#pragma once
// Value rules of the SETUP page (volumes, voice alarms, screen, unit,
// language) and the dialog-language rules shared by the settings dialog and
// the main window.

#include <cstdint>
#include <optional>

#include "settings/SetupData.h"

namespace lumora {

// Camera language codes and their string-table languages.
inline constexpr int kLanguageJapanese = 0;  // string table 1041
inline constexpr int kLanguageEnglish = 1;   // string table 1033
inline constexpr int kLanguageKorean = 9;    // string table 1042

// The dialog language from usMenuLanguage: 0, 1 or 9; anything else is 0.
int DialogLanguageCode(std::uint16_t menuLanguage);

// The string-table language of a code: 0 -> 1041, 1 -> 1033, 9 -> 1042
// (any other code as 0).
int StringTableLanguage(int languageCode);

// "Speaker :" / "Mic :" volume edits: clamped to 0..15.
std::uint16_t ClampVolume(int typed);

// The language radios: usMenuLanguage 1 selects the second radio (index 1),
// anything else the first (index 0).
int LanguageRadioIndex(std::uint16_t menuLanguage);

// Choosing radio 0 or 1 stores that value in both usMenuLanguage and
// usSndLanguage.
void ApplyLanguageRadio(SetupData& data, int radioIndex);

// The string id naming a language code: 0 -> 699 "Japanese", 1 or 10 ->
// 689 "English", 9 -> 700 "Korea"; nullopt for any other code.
std::optional<int> LanguageNameStringId(int languageCode);

}  // namespace lumora
