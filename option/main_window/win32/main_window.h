#pragma once
// MainWindow: the configuration program's one main window, a skinned dialog whose every decision the
// portable MainWindowModel makes; this class only builds the controls, draws what the model's view says
// and carries the model's requests to the real API.
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "option/common/help_library_loader.h"
#include "option/assign/button_assign_page.h"
#include "option/macros/macro_library.h"
#include "option/macros/macro_merge_gate.h"
#include "option/macros/macro_store.h"
#include "option/main_settings/main_settings_page.h"
#include "option/main_window/main_window_model.h"
#include "option/assign/win32/button_assign_page_window.h"
#include "option/main_settings/win32/main_settings_ports_win32.h"
#include "option/main_settings/win32/main_settings_window.h"
#include "option/main_window/win32/option_ports.h"
#include "option/common/win32/option_windows.h"
#include "option/support/win32/support_pages.h"
#include "settings/win32/shared_record_block.h"
#include "settings/win32/win32_keyboard_layout.h"
#include "settings/win32/win32_settings.h"
#include "skin/menu_click_memory.h"
#include "skin/win32/skin_dialog.h"

namespace kavo::option::win32 {

constexpr int kMainWindowTemplate = skin::win32::kMainWindowTemplate;

class MainWindow : public skin::win32::SkinDialog,
                   private HostedPages,
                   private MainDialogs,
                   private MainWindowShell,
                   private MainWindowActions {
 public:
  explicit MainWindow(HINSTANCE instance);
  ~MainWindow() override;

 protected:
  void OnBuild() override;
  void PaintTexts(HDC dc) override;
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroy() override;

 private:
  // HostedPages.
  void RefreshMainSettings() override;
  void RefreshButtonAssign() override;
  void ReloadHelpTexts() override;
  void SetVersions(const std::string& software, const std::string& firmware) override;
  // MainWindowActions, for the main settings page's Reset.
  void RefreshAll() override;
  void ReloadHelp() override;
  void Apply(int request) override;
  // MainDialogs.
  bool EditProfile(SettingsRecord& record, bool newProfile) override;
  bool ConfirmWindowsProfile() override;
  int ChooseLanguage(int left, int top) override;
  std::optional<std::string> ChooseProfileFile(const ProfileFileDialog& dialog) override;
  void ShowError(const std::string& text) override;
  // MainWindowShell.
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  void SetApplyEnabled(bool enabled) override;
  void Redraw() override;
  void ReloadTooltips() override;
  void Minimise() override;
  void ReleaseCapture() override;
  void PostClose() override;

  void BuildControls();
  void BuildPages();
  // Brings every control in line with the model's view.
  void ShowView();
  void ShowLanguagePictures(int languageNumber);
  void InvalidateLayout(const char* layout);

  kavo::win32::Win32Settings settings_;
  std::string programFolder_;
  MacroStore macroStore_;
  MacroStoreLibrary macros_{macroStore_, settings_.profiles, programFolder_};
  MacroMergeGate macroMerges_{macros_};  // what the main window merges and saves through
  kavo::win32::Win32KeyboardLayout keyboardLayout_;
  kavo::win32::SharedRecordBlock block_;
  Win32PeerWindows peers_;
  ModuleHelpFiles helpFiles_;
  CurrentHelpLibrary help_;
  std::unique_ptr<MainWindowModel> model_;

  struct Tooltip {
    skin::win32::BitmapButton* button;
    const char* layout;
    int helpId;
  };
  std::vector<Tooltip> tooltips_;
  // The profile names are painted, not controls: the window itself puts their help texts in the help line.
  void ShowNameHelp(int name);
  std::array<std::string, kProfileCount> nameHelp_;
  int hoveredName_ = -1;
  std::array<skin::win32::BitmapButton*, kPageCount> tabs_{};
  std::array<skin::win32::BitmapButton*, kProfileCount> slots_{};
  std::array<skin::win32::BitmapButton*, kProfileCount> windowsButtons_{};
  std::array<skin::win32::BitmapButton*, kProfileCount> markers_{};
  skin::win32::BitmapButton* language_ = nullptr;
  int languageShown_ = -1;
  skin::win32::BitmapButton* ok_ = nullptr;
  skin::win32::BitmapButton* apply_ = nullptr;
  Win32SystemLanguage systemLanguage_;
  Win32DoubleClickTimer doubleClickTimer_;
  SkinConfirmation confirmation_;
  ShellAddresses shell_;
  std::unique_ptr<MainSettingsPage> mainSettingsModel_;
  // One memory for every menu opened from the assignment page and its dialogs: a click that closes one
  // of them over a button is known wherever the menu came from.
  skin::MenuClickMemory assignMenus_;
  std::unique_ptr<Win32ButtonAssignDialogs> assignDialogs_;
  std::unique_ptr<ButtonAssignPage> buttonAssignModel_;
  std::array<std::unique_ptr<skin::win32::SkinDialog>, kPageCount> pages_;
  MainSettingsWindow* mainSettings_ = nullptr;
  ButtonAssignPageWindow* buttonAssign_ = nullptr;
  UpdatePageWindow* update_ = nullptr;
  kavo::win32::UniqueBitmap badge_;
  kavo::win32::UniqueFont nameFont_;
  kavo::win32::UniqueFont versionFont_;
};

}  // namespace kavo::option::win32
