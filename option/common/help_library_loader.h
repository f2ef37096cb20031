#pragma once
// The help libraries: one string library per language in the folder "help\" beside the program, from
// which every page takes the help texts and tooltips of its controls. One library is held program-wide.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "option/common/help_library.h"

namespace kavo::option {

// Where each control's help text lives in a help library.
namespace help_id {
constexpr int kMinimize = 1001;
constexpr int kExit = 1002;
constexpr int kMainTab = 1003;
constexpr int kSensitivitySlider = 1004;
constexpr int kSensitivityValue = 1005;
constexpr int kResolutionButtons = 1006;
constexpr int kScrollSpeed = 1007;      // the slider and "not one page"
constexpr int kScrollOnePage = 1008;
constexpr int kPointerSpeed = 1009;
constexpr int kAcceleration = 1010;
constexpr int kTiltSpeed = 1011;
constexpr int kDoubleClickSpeed = 1013;
constexpr int kReset = 1014;
constexpr int kCreate = 1016;
constexpr int kLoad = 1017;
constexpr int kSave = 1018;
constexpr int kEdit = 1019;
constexpr int kProfileSlot1 = 1020;      // slots 1..5: 1020..1024
constexpr int kProfileName1 = 1025;      // name labels 1..5: 1025..1029
constexpr int kWindowsProfile = 1030;
constexpr int kWindowsProfileMarker = 1031;
constexpr int kOk = 1032;
constexpr int kApply = 1033;
constexpr int kCancel = 1034;
constexpr int kButtonSlot = 1035;
constexpr int kAltlayerSlot = 1036;
constexpr int kRightHanded = 1038;
constexpr int kLeftHanded = 1039;
constexpr int kMacroManager = 1041;
constexpr int kUpdate = 1042;
constexpr int kEmailRequest = 1043;
constexpr int kOnlineHelp = 1044;
constexpr int kSupportForm = 1045;
constexpr int kSupportMail = 1046;
constexpr int kButtonAssignTab = 1047;
constexpr int kUpdateTab = 1048;
constexpr int kLanguage = 1049;
}  // namespace help_id

// Every id some control takes its text from, ascending: what each help library must hold.
const std::vector<int>& HelpStringIds();

// A help text is read into a buffer of this many characters, terminator included.
constexpr std::size_t kHelpTextBuffer = 500;

// "English_help.dll" and the like; a number outside the language table gives English.
std::string HelpLibraryFileName(int language);
// programFolder ends in a backslash, as the module folder always does.
std::string HelpLibraryPath(std::string_view programFolder, int language);

// One loaded library.
class HelpStrings {
 public:
  virtual ~HelpStrings() = default;
  // The string with this id; empty when the library has none.
  virtual std::string Text(int id) const = 0;
};

// Loading libraries by path.
class HelpLibraryFiles {
 public:
  virtual ~HelpLibraryFiles() = default;
  // Null when the file is missing or is no library; freed by destroying it.
  virtual std::unique_ptr<HelpStrings> Load(const std::string& path) = 0;
};

// The program-wide help library and the language it was loaded for: the main window loads it on every
// language change, the pages read their texts from it.
class CurrentHelpLibrary : public HelpLibrary, public LanguageHelp {
 public:
  CurrentHelpLibrary(HelpLibraryFiles& files, std::string programFolder)
      : files_(files), folder_(std::move(programFolder)) {}

  // Loads the library of the language (any number outside the table loads English) and keeps it; a
  // missing library leaves none held. A library already held is freed first.
  void Load(int language) override;
  void Free();
  bool loaded() const { return strings_ != nullptr; }
  int language() const { return language_; }

  // The text of id, cut to what the buffer holds; empty without a library or without that string.
  std::string Text(int id) const override;

 private:
  HelpLibraryFiles& files_;
  std::string folder_;
  std::unique_ptr<HelpStrings> strings_;
  int language_ = 1;
};

}  // namespace kavo::option
