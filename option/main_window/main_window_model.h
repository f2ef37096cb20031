#pragma once
// The configuration program's main window without its window: the working record the pages edit, the
// snapshot last applied, start-up, the commands of its controls, Apply and the service's messages.
#include <memory>
#include <string>

#include "option/main_settings/main_settings_ports.h"
#include "option/main_window/main_window_ports.h"
#include "option/main_window/main_window_view.h"
#include "settings/registry.h"
#include "settings/settings_files.h"
#include "settings/settings_record.h"

namespace kavo::option {

struct MainWindowPorts {
  OpenableRecordBlock& block;
  SettingsFiles& files;
  Registry& registry;
  MacroLibrary& macros;
  LanguageHelp& help;
  PeerWindows& peers;
  HostedPages& pages;
  MainDialogs& dialogs;
  MainWindowShell& window;
  DoubleClickTimer& doubleClick;
  std::string programFolder;  // ends in a backslash
};

// wParam of the apply message: 0 for OK and Apply, 1 after every profile was reset to its defaults.
enum ApplyRequest : int { kApplyChanges = 0, kApplyAfterReset = 1 };

class MainWindowModel {
 public:
  explicit MainWindowModel(MainWindowPorts ports);
  MainWindowModel(const MainWindowModel&) = delete;
  MainWindowModel& operator=(const MainWindowModel&) = delete;

  // Once the window exists: the records, versions, macro store and help library, then the first Refresh.
  void Initialise();

  const MainWindowView& View() const { return view_; }
  SettingsRecord& Working() { return *working_; }
  const SettingsRecord& Working() const { return *working_; }
  const SettingsRecord& Snapshot() const { return *snapshot_; }
  OSDSetting& Osd() { return osd_; }
  const OSDSetting& Osd() const { return osd_; }
  bool BlockPresent() const { return blockPresent_; }

  // After every reload of the working record: the view, then the two pages that show it.
  void Refresh();

  // False, and nothing changes, when the page is already visible.
  bool SelectPage(Page page);
  // slotIndex 0..4; others are ignored. Nothing is applied until Apply.
  void SelectSlot(int slotIndex);
  void CreateProfile();
  void EditProfile();
  void LoadProfile();
  void SaveProfile();
  void ToggleWindowsProfile(int slotIndex);
  void ChangeLanguage();
  void Minimise();
  // Exit, Cancel: close without applying.
  void Cancel();
  void Ok();
  void Apply(int request);
  // The main settings page's slider sets the system's double-click time at once, so the test area can be
  // tried; leaving without Apply puts back the time of the program's start, of the last Apply or of the
  // profile the mouse last switched to. The window calls this whenever it goes, whatever closed it.
  void PutBackDoubleClickTime();

  // The service's messages 1254 to 1258; false for any other.
  bool OnMessage(unsigned message);

  // The help library of the working record's language, then every help text and tooltip from it.
  void LoadLanguage();

 private:
  void RunProfileEdit(bool newProfile);
  void OnFreshData();
  void OnProfileChanged();
  void OnResolutionChanged();
  void SetApplyEnabled(bool enabled);
  // Opens the block when it is not open yet; true when it is open.
  bool BlockReady();

  MainWindowPorts ports_;
  // Whole records are too big for the stack of a window procedure.
  std::unique_ptr<SettingsRecord> working_;
  std::unique_ptr<SettingsRecord> snapshot_;
  OSDSetting osd_{};
  bool blockPresent_ = false;
  int keptDoubleClickTime_ = 0;
  MainWindowView view_{};
};

}  // namespace kavo::option
