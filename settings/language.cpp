#include "settings/language.h"

namespace kavo {

int LanguageNumberFromLangId(int languageId) {
  // An identifier is the primary language in its low ten bits and the regional variant above them.
  // French, German and Spanish count a range of variants; the others only their main variant.
  const int primary = languageId & 0x3FF;
  const int sublanguage = languageId >> 10;
  switch (primary) {
    case 0x06: return languageId == 1030 ? kDanish : kEnglish;
    case 0x0B: return languageId == 1035 ? kFinnish : kEnglish;
    case 0x0C: return sublanguage >= 1 && sublanguage <= 5 ? kFrench : kEnglish;
    case 0x07: return sublanguage >= 1 && sublanguage <= 5 ? kGerman : kEnglish;
    case 0x15: return languageId == 1045 ? kPolish : kEnglish;
    case 0x19: return languageId == 1049 ? kRussian : kEnglish;
    case 0x0A: return sublanguage >= 1 && sublanguage <= 20 ? kSpanish : kEnglish;
    case 0x1D: return languageId == 1053 ? kSwedish : kEnglish;
    case 0x1F: return languageId == 1055 ? kTurkish : kEnglish;
    default: return kEnglish;
  }
}

}  // namespace kavo
