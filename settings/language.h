#pragma once

namespace kavo {

// Languages of the user interface and the help, numbered as the settings store them.
enum LanguageNumber : int {
  kDanish = 0, kEnglish = 1, kFinnish = 2, kFrench = 3, kGerman = 4,
  kPolish = 5, kRussian = 6, kSpanish = 7, kSwedish = 8, kTurkish = 9,
};

// From a Windows language identifier (such as GetSystemDefaultLangID gives); English for any other.
int LanguageNumberFromLangId(int languageId);

}  // namespace kavo
