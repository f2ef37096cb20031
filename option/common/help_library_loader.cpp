#include "option/common/help_library_loader.h"

namespace kavo::option {

namespace {
constexpr const char* kLibraryNames[] = {
    "Danish_help.dll",  "English_help.dll", "Finnish_help.dll", "French_help.dll",  "German_help.dll",
    "Polish_help.dll",  "Russian_help.dll", "Spanish_help.dll", "Swedish_help.dll", "Turkish_help.dll",
};
constexpr int kLanguageCount = static_cast<int>(sizeof(kLibraryNames) / sizeof(kLibraryNames[0]));
constexpr int kEnglish = 1;
}  // namespace

const std::vector<int>& HelpStringIds() {
  using namespace help_id;
  static const std::vector<int> ids = [] {
    std::vector<int> all = {kMinimize, kExit, kMainTab, kSensitivitySlider, kSensitivityValue,
                            kResolutionButtons, kScrollSpeed, kScrollOnePage, kPointerSpeed, kAcceleration,
                            kTiltSpeed, kDoubleClickSpeed, kReset, kCreate, kLoad, kSave, kEdit};
    for (int slot = 0; slot < 5; ++slot) all.push_back(kProfileSlot1 + slot);
    for (int slot = 0; slot < 5; ++slot) all.push_back(kProfileName1 + slot);
    for (int id : {kWindowsProfile, kWindowsProfileMarker, kOk, kApply, kCancel, kButtonSlot, kAltlayerSlot,
                   kRightHanded, kLeftHanded, kMacroManager, kUpdate, kEmailRequest, kOnlineHelp,
                   kSupportForm, kSupportMail, kButtonAssignTab, kUpdateTab, kLanguage}) {
      all.push_back(id);
    }
    return all;
  }();
  return ids;
}

std::string HelpLibraryFileName(int language) {
  if (language < 0 || language >= kLanguageCount) language = kEnglish;
  return kLibraryNames[language];
}

std::string HelpLibraryPath(std::string_view programFolder, int language) {
  return std::string(programFolder) + "help\\" + HelpLibraryFileName(language);
}

void CurrentHelpLibrary::Load(int language) {
  Free();
  language_ = language >= 0 && language < kLanguageCount ? language : kEnglish;
  strings_ = files_.Load(HelpLibraryPath(folder_, language_));
}

void CurrentHelpLibrary::Free() { strings_.reset(); }

std::string CurrentHelpLibrary::Text(int id) const {
  if (!strings_) return {};
  std::string text = strings_->Text(id);
  if (text.size() > kHelpTextBuffer - 1) text.resize(kHelpTextBuffer - 1);
  return text;
}

}  // namespace kavo::option
