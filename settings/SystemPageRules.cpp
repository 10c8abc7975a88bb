#include "settings/SystemPageRules.h"

#include <algorithm>

namespace lumora {

int DialogLanguageCode(std::uint16_t menuLanguage) {
  return (menuLanguage == kLanguageEnglish || menuLanguage == kLanguageKorean) ? menuLanguage
                                                                               : kLanguageJapanese;
}

int StringTableLanguage(int languageCode) {
  switch (languageCode) {
    case kLanguageEnglish:
      return 1033;
    case kLanguageKorean:
      return 1042;
    default:
      return 1041;
  }
}

std::uint16_t ClampVolume(int typed) {
  return static_cast<std::uint16_t>(std::clamp(typed, 0, 15));
}

int LanguageRadioIndex(std::uint16_t menuLanguage) { return menuLanguage == 1 ? 1 : 0; }

void ApplyLanguageRadio(SetupData& data, int radioIndex) {
  auto v = static_cast<std::uint16_t>(radioIndex == 1 ? 1 : 0);
  data.usMenuLanguage = v;
  data.usSndLanguage = v;
}

std::optional<int> LanguageNameStringId(int languageCode) {
  switch (languageCode) {
    case 0:
      return 699;
    case 1:
    case 10:
      return 689;
    case 9:
      return 700;
    default:
      return std::nullopt;
  }
}

}  // namespace lumora
