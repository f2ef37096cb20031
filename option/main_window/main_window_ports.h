#pragma once
// What the main window's model needs of the world around it: the shared block (settings/record_block.h), the macro store, the help
// library, the peer programs' windows, the pages it hosts, the dialogs it runs and the window itself.
#include <cstdint>
#include <optional>
#include <string>

#include "option/common/help_library.h"
#include "settings/program_messages.h"
#include "settings/record_block.h"
#include "settings/settings_record.h"

namespace kavo::option {

constexpr char kMapViewFailedText[] = "Could not map view of file.";

// The macro store, as far as the main window drives it.
class MacroLibrary {
 public:
  virtual ~MacroLibrary() = default;
  virtual void Load() = 0;
  // Takes in every macro the profiles' buttons carry that the store lacks.
  virtual void MergeFromProfiles(const SettingsRecord& record) = 0;
  virtual void Save() = 0;
};


// Other programs' top-level windows, found by exact title. False when there is no such window.
class PeerWindows {
 public:
  virtual ~PeerWindows() = default;
  // Waits until the receiver has handled the message.
  virtual bool Send(const char* title, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  virtual bool Post(const char* title, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

// The pages in the page area, each showing the working record.
class HostedPages {
 public:
  virtual ~HostedPages() = default;
  virtual void RefreshMainSettings() = 0;
  virtual void RefreshButtonAssign() = 0;
  // The help texts of the main settings, button assignment and update pages from the loaded library.
  virtual void ReloadHelpTexts() = 0;
  virtual void SetVersions(const std::string& software, const std::string& firmware) = 0;
};

enum class FileDialogKind { kOpen, kSave };

// A standard file dialog as the Load and Save commands ask for it.
struct ProfileFileDialog {
  FileDialogKind kind;
  std::string defaultExtension;
  std::string initialName;
  std::string filter;
  bool hideReadOnly;
  bool overwritePrompt;
  bool fileMustExist;
  bool allowMultiSelect;
};

// The modal dialogs the main window runs.
class MainDialogs {
 public:
  virtual ~MainDialogs() = default;
  // The profile edit dialog on the record's active profile; true on OK, when it has changed the record.
  virtual bool EditProfile(SettingsRecord& record, bool newProfile) = 0;
  // The Windows-profile question; true on OK.
  virtual bool ConfirmWindowsProfile() = 0;
  // The language popup with its top-left corner at (left, top) in window pixels: 0..9, or -1 for no choice.
  virtual int ChooseLanguage(int left, int top) = 0;
  // The chosen path, or nothing when the dialog was cancelled.
  virtual std::optional<std::string> ChooseProfileFile(const ProfileFileDialog& dialog) = 0;
  virtual void ShowError(const std::string& text) = 0;
};

// The main window itself: what must happen at once, in the middle of a command.
class MainWindowShell {
 public:
  virtual ~MainWindowShell() = default;
  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;
  // Enables or disables OK and Apply and redraws them now.
  virtual void SetApplyEnabled(bool enabled) = 0;
  // Redraws the whole window from the model's view.
  virtual void Redraw() = 0;
  virtual void ReloadTooltips() = 0;
  virtual void Minimise() = 0;
  // Restores the arrow cursor and lets go of the mouse capture when the window holds it.
  virtual void ReleaseCapture() = 0;
  virtual void PostClose() = 0;
};

}  // namespace kavo::option
