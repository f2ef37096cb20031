// KavoOption.exe as a user meets it, without the service: started from a fresh program folder with settings
// files of the test, driven through the X server with real pointer moves and clicks (xdotool), what it shows
// compared with its own pictures, what it leaves in config.ini read back, and screenshots kept under
// build/<preset>/artifacts/ for looking at.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "artwork/button_assign_page.h"
#include "artwork/language_popup.h"
#include "artwork/main_settings_page.h"
#include "artwork/main_window.h"
#include "artwork/update_page.h"
#include "artwork/windows_profile_dialog.h"
#include "option/common/help_library_loader.h"
#include "settings/ini_file.h"
#include "settings/settings_files.h"
#include "settings/settings_record.h"
#include "platform/win32/module_folder.h"
#include "settings/win32/shared_block.h"
#include "settings/win32/win32_file_system.h"
#include "platform/win32/win32_handles.h"
#include "settings/win32/win32_registry.h"
#include "skin/layout.h"
#include "skin/win32/picture_resources.h"
#include "tests/wine/control_panel_backup.h"
#include "tests/wine/option_screen.h"
#include "tests/wine/program_dialogs.h"
#include "tests/wine/programs.h"
#include "tests/wine/temp_folder.h"
#include "tests/wine/x_session.h"

namespace kavo::wine_test {
namespace {

namespace art = artwork::main_window;
constexpr char kOptionTitle[] = "VELMAR Kavo Mouse Option";
constexpr DWORD kReactionMs = 5000;
constexpr int kLanguages = 10;
constexpr int kStartLanguage = 1;

class OptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.path().empty());
    const std::string built = win32::ModuleFolder();
    ASSERT_TRUE(::CopyFileA((built + "KavoOption.exe").c_str(), folder_.File("KavoOption.exe").c_str(), FALSE));
    folder_.Subfolder("config");
    folder_.Subfolder("help");
    for (int language = 0; language < kLanguages; ++language) {
      ASSERT_TRUE(::CopyFileA(option::HelpLibraryPath(built, language).c_str(),
                              option::HelpLibraryPath(folder_.path(), language).c_str(), FALSE))
          << option::HelpLibraryPath(built, language);
    }
    // The settings a user left: slot 1 active, English, every slot named.
    auto record = std::make_unique<SettingsRecord>();
    ClearRecord(*record);
    ResetToDefaults(*record, kStartLanguage);
    record->CurrentProfile = 0;
    record->WindowsProfile = -1;
    record->QuickHelpLan = kStartLanguage;
    for (int p = 0; p < kProfileCount; ++p) {
      std::snprintf(record->profiles[p].ProFileName, sizeof record->profiles[p].ProFileName, "Slot name %d", p + 1);
      record->profiles[p].DbleClickSpeed = DoubleClickOf(p);
    }
    ASSERT_EQ(settings_.WriteAll(*record), 1);
    program_ = win32::UniqueModule(
        ::LoadLibraryExA(folder_.File("KavoOption.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(program_);
    ASSERT_NO_FATAL_FAILURE(Start());
  }
  void TearDown() override {
    if (!option_.Running()) return;
    // A close request ends the program, as the service's does when the mouse goes.
    ::PostMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(option_.WaitForExit(5000)) << "KavoOption.exe did not end on WM_CLOSE";
    if (option_.Running()) {
      ::TerminateProcess(option_.handle.get(), 1);
      option_.WaitForExit(5000);
    }
  }

  std::string ExitCode() const {
    DWORD code = 0;
    ::GetExitCodeProcess(option_.handle.get(), &code);
    char text[16] = {};
    std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(code));
    return text;
  }

  void Start() {
    option_ = StartProgram(folder_.File("KavoOption.exe"), "", folder_.path());
    ASSERT_TRUE(option_.handle) << "KavoOption.exe did not start";
    ASSERT_TRUE(WaitFor([&] { return !TopLevelWindows(option_.id, kOptionTitle).empty(); }, 10000))
        << "no main window; the program " << (option_.Running() ? "still runs" : "ended with " + ExitCode());
    window_ = TopLevelWindows(option_.id, kOptionTitle).front();
    RECT bounds{};
    ::GetWindowRect(window_, &bounds);
    origin_ = POINT{bounds.left, bounds.top};
    ASSERT_EQ(bounds.right - bounds.left, art::kWidth);
    ASSERT_EQ(bounds.bottom - bounds.top, art::kHeight);
    // Shown once its first paint is on the screen, the page's controls included.
    const skin::Rect reset = LayoutRect(artwork::main_settings_page::kButtonReset);
    ASSERT_TRUE(WaitFor([&] { return ShowsPicture(art::kNormalPicture, art::kHeadingProfiles) &&
                                     PageShows(artwork::main_settings_page::kNormalPicture, reset); }, kReactionMs));
    ASSERT_TRUE(XSession::MoveTo(origin_.x + 300, origin_.y + 40));
  }

  OptionScreen screen() const { return OptionScreen(program_.get(), origin_); }
  Pixels PicturePixels(int id, const skin::Rect& r) const { return screen().PicturePixels(id, r); }
  bool ShowsPicture(int id, const char* layout) const { return screen().ShowsPicture(id, layout); }
  bool ShowsButtonPicture(int id, const char* layout) const { return screen().ShowsButtonPicture(id, layout); }
  bool PageShows(int id, const skin::Rect& r) const { return screen().PageShows(id, r); }
  POINT Centre(const char* layout) const { return screen().Centre(layout); }
  static bool ClickAt(POINT p) { return XSession::ClickAt(p.x, p.y); }

  // A shown top-level window of the program other than the main one of this size, or null.
  HWND OtherWindow(int width = artwork::language_popup::kWidth, int height = artwork::language_popup::kHeight) const {
    for (HWND w : TopLevelWindows(option_.id, "")) {
      if (w != window_ && ::IsWindowVisible(w)) {
        RECT r{};
        ::GetWindowRect(w, &r);
        if (r.right - r.left == width && r.bottom - r.top == height) return w;
      }
    }
    return nullptr;
  }
  HWND Question() const {
    return OtherWindow(artwork::windows_profile_dialog::kWidth, artwork::windows_profile_dialog::kHeight);
  }
  // Clicks a button of the shown Windows-profile question.
  bool Answer(const char* layout) const {
    const HWND question = Question();
    RECT bounds{};
    if (question == nullptr || !::GetWindowRect(question, &bounds)) return false;
    const skin::Rect r = LayoutRect(layout);
    return ClickAt(POINT{bounds.left + (r.left + r.right) / 2, bounds.top + (r.top + r.bottom) / 2});
  }
  bool MovePointerAway() const { return screen().MovePointerAway(); }

  int ConfigInt(const char* key) { return profiles_.Open(settings_.ConfigPath())->ReadInt("Setting", key, -99); }

  // A slot's own double-click time, so that the registry tells which profile was written there.
  static int DoubleClickOf(int slot) { return 410 + 20 * slot; }

  ControlPanelBackup registryBackup_;  // first made, last undone
  TempFolder folder_;
  win32::Win32FileSystem files_;
  win32::Win32Registry registry_;
  IniFileAccess profiles_{files_};
  SettingsFiles settings_{folder_.path(), profiles_, files_, registry_};
  win32::UniqueModule program_;
  ChildProcess option_;
  HWND window_ = nullptr;
  POINT origin_{};
};

TEST_F(OptionTest, ShowsItsPicturesAndKeepsAScreenshot) {
  EXPECT_TRUE(ShowsPicture(art::kNormalPicture, art::kHeadingFirmware));
  // Slot 1 is active: its toggle shows pressed, slot 2 released.
  EXPECT_TRUE(ShowsPicture(art::kPressedPicture, art::kProfile1));
  EXPECT_TRUE(ShowsPicture(art::kNormalPicture, art::kProfile2));
  EXPECT_NE(PicturePixels(art::kPressedPicture, LayoutRect(art::kProfile1)),
            PicturePixels(art::kNormalPicture, LayoutRect(art::kProfile1)))
      << "the pressed picture must differ from the normal one for the check above to mean anything";
  EXPECT_TRUE(ShowsButtonPicture(art::kLanguage1Normal, art::kButtonLanguage)) << "English's language button";
  EXPECT_TRUE(PageShows(artwork::main_settings_page::kBackgroundPicture,
                        LayoutRect(artwork::main_settings_page::kHeadingSensitivity)));
  EXPECT_FALSE(XSession::Screenshot("option-main").empty());
}

// An icon drawn at its size on white, as the title strip, the task bar and Alt+Tab show it.
std::vector<COLORREF> IconPixels(HICON icon, int size) {
  const win32::UniqueDC canvas(::CreateCompatibleDC(nullptr));
  const win32::UniqueBitmap bitmap(::CreateBitmap(size, size, 1, 32, nullptr));
  if (!canvas || !bitmap) return {};
  const win32::SelectedObject selected(canvas.get(), bitmap.get());
  RECT all{0, 0, size, size};
  ::FillRect(canvas.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  if (!::DrawIconEx(canvas.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL)) return {};
  std::vector<COLORREF> pixels;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) pixels.push_back(::GetPixel(canvas.get(), x, y));
  }
  return pixels;
}

// The program file's icon, as the shell reads it for the task bar, Alt+Tab and Explorer. (The icon the
// window itself is given cannot be asked from another process under Wine: WM_GETICON answers nothing there.)
TEST_F(OptionTest, TheProgramFileCarriesAnIconOfItsOwnAtBothSizes) {
  const HICON standard = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  for (const int metric : {SM_CXICON, SM_CXSMICON}) {
    const int size = ::GetSystemMetrics(metric);
    SCOPED_TRACE(size);
    const win32::UniqueIcon own(static_cast<HICON>(
        ::LoadImageA(program_.get(), MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0)));
    ASSERT_TRUE(own) << "KavoOption.exe carries no icon";
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(own.get(), &info));
    const win32::UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bits{};
    ASSERT_TRUE(::GetObjectA(colour.get(), sizeof bits, &bits));
    EXPECT_EQ(bits.bmWidth, size) << "an image made for this size, not one scaled";
    const std::vector<COLORREF> pixels = IconPixels(own.get(), size);
    ASSERT_FALSE(pixels.empty());
    EXPECT_NE(pixels, IconPixels(standard, size)) << "an icon of its own, not the standard one";
  }
}

TEST_F(OptionTest, ASecondInstanceEndsAtOnceWithoutAWindow) {
  ChildProcess second = StartProgram(folder_.File("KavoOption.exe"), "", folder_.path());
  ASSERT_TRUE(second.handle);
  ASSERT_TRUE(second.WaitForExit(kReactionMs)) << "the second KavoOption.exe still runs";
  EXPECT_TRUE(TopLevelWindows(second.id, kOptionTitle).empty());
  EXPECT_TRUE(::IsWindowVisible(window_)) << "the first one stays";
}

TEST_F(OptionTest, ASlotChosenIsWrittenByOkOnlyNotByCancelOrExit) {
  struct Case {
    const char* close;
    int savedProfile;
  };
  for (const Case& c : {Case{art::kCancel, 0}, Case{art::kExit, 0}, Case{art::kOk, 2}}) {
    SCOPED_TRACE(c.close);
    if (!option_.Running()) {
      ASSERT_NO_FATAL_FAILURE(Start());
    }
    ASSERT_TRUE(ClickAt(Centre(art::kProfile3)));
    ASSERT_TRUE(WaitFor([&] { return ShowsPicture(art::kPressedPicture, art::kProfile3); }, kReactionMs))
        << "slot 3 shows pressed after its click";
    ASSERT_TRUE(MovePointerAway());
    EXPECT_TRUE(WaitFor([&] { return ShowsPicture(art::kNormalPicture, art::kProfile1); }, kReactionMs))
        << "slot 1 is released";
    ASSERT_TRUE(ClickAt(Centre(c.close)));
    ASSERT_TRUE(option_.WaitForExit(kReactionMs)) << "the program did not end";
    EXPECT_EQ(ConfigInt("CurrentProfile"), c.savedProfile);
  }
}

// The system's double-click time as a process started now sees it; 0 when the probe could not run.
UINT SystemDoubleClickTime() {
  const std::string folder = win32::ModuleFolder();
  const ChildProcess probe = StartProgram(folder + "kavo-double-click-probe.exe", "", folder);
  return probe.WaitForExit(kReactionMs) ? static_cast<UINT>(probe.ExitCode()) : 0;
}

TEST_F(OptionTest, TheDoubleClickTimeTriedOnTheSliderGoesBackUnlessOkKeepsIt) {
  const UINT system = SystemDoubleClickTime();
  ASSERT_NE(system, 0u) << "the probe did not run";
  struct Case {
    const char* name;
    std::function<bool()> close;
    bool keeps;
  };
  const Case cases[] = {
      {"Cancel", [&] { return ClickAt(Centre(art::kCancel)); }, false},
      {"close mark", [&] { return ClickAt(Centre(art::kExit)); }, false},
      {"Alt+F4", [&] { return XSession::XDo("key alt+F4"); }, false},
      // The service's close request, when the mouse goes or the service ends.
      {"WM_CLOSE from outside", [&] { return ::PostMessageA(window_, WM_CLOSE, 0, 0) != 0; }, false},
      {"OK", [&] { return ClickAt(Centre(art::kOk)); }, true},
  };
  const skin::Rect slider = LayoutRect(artwork::main_settings_page::kDoubleClickSpeed);
  const POINT sliderCentre = screen().PageCentre(artwork::main_settings_page::kDoubleClickSpeed);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ::SetDoubleClickTime(system);
    if (!option_.Running()) {
      ASSERT_NO_FATAL_FAILURE(Start());
    }
    const UINT opened = SystemDoubleClickTime();
    // A click near the track's slow end moves the thumb there and tries that time at once.
    ASSERT_TRUE(ClickAt(POINT{sliderCentre.x - (slider.right - slider.left) / 2 + 4, sliderCentre.y}));
    ASSERT_TRUE(WaitFor([&] { return SystemDoubleClickTime() != opened; }, kReactionMs)) << "the slider tried nothing";
    const UINT tried = SystemDoubleClickTime();
    ASSERT_TRUE(MovePointerAway());
    ASSERT_TRUE(c.close());
    ASSERT_TRUE(option_.WaitForExit(kReactionMs)) << "the program did not end";
    EXPECT_EQ(SystemDoubleClickTime(), c.keeps ? tried : opened);
  }
  ::SetDoubleClickTime(system);
}

TEST_F(OptionTest, ATabShowsItsPageAndOnlyThatOne) {
  const skin::Rect updateHeading = LayoutRect(artwork::update_page::kHeadingUpdate);
  const skin::Rect mainHeading = LayoutRect(artwork::main_settings_page::kHeadingSensitivity);
  ASSERT_FALSE(PageShows(artwork::update_page::kBackgroundPicture, updateHeading));
  ASSERT_TRUE(ClickAt(Centre(art::kUpdate)));
  EXPECT_TRUE(WaitFor([&] { return PageShows(artwork::update_page::kBackgroundPicture, updateHeading); }, kReactionMs));
  EXPECT_FALSE(PageShows(artwork::main_settings_page::kBackgroundPicture, mainHeading));
  ASSERT_TRUE(XSession::MoveTo(origin_.x + 300, origin_.y + 40));
  EXPECT_TRUE(WaitFor([&] { return ShowsPicture(art::kPressedPicture, art::kUpdate); }, kReactionMs))
      << "the visible page's tab shows pressed";
  EXPECT_FALSE(XSession::Screenshot("option-update-tab").empty());
  EXPECT_TRUE(ShowsPicture(art::kNormalPicture, art::kMain));
  ASSERT_TRUE(ClickAt(Centre(art::kButtonAssign)));
  const skin::Rect assignHeading = LayoutRect(artwork::button_assign_page::kHeadingNormal);
  EXPECT_TRUE(WaitFor([&] { return PageShows(artwork::button_assign_page::kBackgroundPicture, assignHeading); },
                      kReactionMs));
  ASSERT_TRUE(MovePointerAway());
  EXPECT_FALSE(XSession::Screenshot("option-button-assign-tab").empty());
  ASSERT_TRUE(ClickAt(Centre(art::kMain)));
  EXPECT_TRUE(WaitFor([&] { return PageShows(artwork::main_settings_page::kBackgroundPicture, mainHeading); }, kReactionMs));
}

// A string of a language's help library, as the program loads it.
std::string HelpString(const std::string& folder, int language, int id) {
  const win32::UniqueModule library(::LoadLibraryExA(option::HelpLibraryPath(folder, language).c_str(), nullptr,
                                                     LOAD_LIBRARY_AS_DATAFILE));
  char text[option::kHelpTextBuffer] = {};
  if (library) ::LoadStringA(library.get(), static_cast<UINT>(id), text, sizeof text);
  return text;
}

TEST_F(OptionTest, TheHelpLineShowsTheTextOfTheControlUnderThePointer) {
  const skin::Rect line = OptionScreen::kHelpLine;
  const Pixels empty = PicturePixels(art::kNormalPicture, line);
  // The pointer may have rested on a control while the window came up; it has left it since.
  ASSERT_TRUE(WaitFor([&] { return screen().Shown(line) == empty; }, kReactionMs)) << "nothing in the help line";
  struct Case {
    const char* layout;
    int helpId;
  };
  // A button, and the profile names, which are painted on the window rather than being controls.
  const Case cases[] = {
      {art::kLoad, option::help_id::kLoad},
      {art::kProfile1Name, option::help_id::kProfileName1},
      {art::kProfile4Name, option::help_id::kProfileName1 + 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layout);
    const std::string text = HelpString(folder_.path(), kStartLanguage, c.helpId);
    ASSERT_FALSE(text.empty());
    ASSERT_TRUE(XSession::MoveTo(Centre(c.layout).x, Centre(c.layout).y));
    EXPECT_TRUE(WaitFor([&] { return screen().ShowsHelp(text); }, kReactionMs))
        << "the English text appears while the pointer rests there: " << text;
    ASSERT_TRUE(MovePointerAway());
    EXPECT_TRUE(WaitFor([&] { return screen().Shown(line) == empty; }, kReactionMs))
        << "and goes when the pointer leaves";
  }
}

TEST_F(OptionTest, GermanChosenInThePopupShowsTheGermanHelpTexts) {
  constexpr int kGerman = 4;
  const std::string german = HelpString(folder_.path(), kGerman, option::help_id::kLoad);
  ASSERT_FALSE(german.empty());
  ASSERT_NE(german, HelpString(folder_.path(), kStartLanguage, option::help_id::kLoad));
  ASSERT_TRUE(ClickAt(Centre(art::kButtonLanguage)));
  HWND shown = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (shown = OtherWindow()) != nullptr; }, kReactionMs));
  RECT bounds{};
  ::GetWindowRect(shown, &bounds);
  const skin::Rect entry = LayoutRect(artwork::language_popup::kL5);
  const POINT onEntry{bounds.left + (entry.left + entry.right) / 2, bounds.top + (entry.top + entry.bottom) / 2};
  ASSERT_TRUE(XSession::MoveTo(onEntry.x, onEntry.y));
  ::Sleep(200);
  ASSERT_TRUE(ClickAt(onEntry));
  ASSERT_TRUE(WaitFor([&] { return OtherWindow() == nullptr; }, kReactionMs));
  ASSERT_TRUE(XSession::MoveTo(Centre(art::kLoad).x, Centre(art::kLoad).y));
  EXPECT_TRUE(WaitFor([&] { return screen().ShowsHelp(german); }, kReactionMs)) << "expected: " << german;
  EXPECT_FALSE(XSession::Screenshot("option-german-help").empty());
  ASSERT_TRUE(MovePointerAway());
  ASSERT_TRUE(ClickAt(Centre(art::kOk)));
  ASSERT_TRUE(option_.WaitForExit(kReactionMs));
  EXPECT_EQ(profiles_.Open(settings_.ConfigPath())->ReadInt("Setting", "QuickHelpLan", -1), kGerman)
      << "the language is kept by OK";
}

TEST_F(OptionTest, TheLanguagePopupClosesOnAClickOutsideAndChangesTheLanguageOnAnEntry) {
  namespace popup = artwork::language_popup;
  ASSERT_TRUE(ClickAt(Centre(art::kButtonLanguage)));
  HWND shown = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (shown = OtherWindow()) != nullptr; }, kReactionMs));
  RECT bounds{};
  ::GetWindowRect(shown, &bounds);
  const skin::Rect button = LayoutRect(art::kButtonLanguage);
  EXPECT_EQ(bounds.left, origin_.x + button.left);
  EXPECT_EQ(bounds.top, origin_.y + button.top - popup::kHeight);
  EXPECT_EQ(bounds.bottom - bounds.top, popup::kHeight);
  ::Sleep(300);
  EXPECT_FALSE(XSession::Screenshot("option-language-popup").empty());

  // A click on the main window's background, outside the popup: no choice.
  ASSERT_TRUE(ClickAt(POINT{origin_.x + 400, origin_.y + 40}));
  ASSERT_TRUE(WaitFor([&] { return OtherWindow() == nullptr; }, kReactionMs)) << "the popup did not close";
  ASSERT_TRUE(XSession::MoveTo(origin_.x + 300, origin_.y + 40));
  EXPECT_TRUE(WaitFor([&] { return ShowsButtonPicture(art::kLanguage1Normal, art::kButtonLanguage); }, kReactionMs));

  // Entry L3 chooses language 2.
  ASSERT_TRUE(ClickAt(Centre(art::kButtonLanguage)));
  ASSERT_TRUE(WaitFor([&] { return (shown = OtherWindow()) != nullptr; }, kReactionMs));
  ::GetWindowRect(shown, &bounds);
  const skin::Rect entry = LayoutRect(popup::kL3);
  const POINT onEntry{bounds.left + (entry.left + entry.right) / 2, bounds.top + (entry.top + entry.bottom) / 2};
  ASSERT_TRUE(XSession::MoveTo(onEntry.x, onEntry.y));
  ::Sleep(200);
  ASSERT_TRUE(ClickAt(onEntry));
  ASSERT_TRUE(WaitFor([&] { return OtherWindow() == nullptr; }, kReactionMs));
  EXPECT_TRUE(WaitFor([&] { return ShowsButtonPicture(art::kLanguage2Normal, art::kButtonLanguage); }, kReactionMs));
}

TEST_F(OptionTest, TheWindowsProfileIsChosenAfterTheQuestionAndClearedWithoutIt) {
  namespace question = artwork::windows_profile_dialog;
  // Cancel and Exit of the question change nothing.
  for (const char* refuse : {question::kButtonCancel, question::kButtonExit}) {
    SCOPED_TRACE(refuse);
    ASSERT_TRUE(ClickAt(Centre(art::kWindowsProfile2)));
    ASSERT_TRUE(WaitFor([&] { return Question() != nullptr; }, kReactionMs)) << "no question";
    ::Sleep(200);
    ASSERT_TRUE(Answer(refuse));
    ASSERT_TRUE(WaitFor([&] { return Question() == nullptr; }, kReactionMs));
    ASSERT_TRUE(MovePointerAway());
    EXPECT_TRUE(WaitFor([&] { return ShowsPicture(art::kNormalPicture, art::kWindowsProfile2); }, kReactionMs))
        << "the plain button stays";
  }
  // OK makes slot 2 the Windows profile: its marker replaces the plain button.
  ASSERT_TRUE(ClickAt(Centre(art::kWindowsProfile2)));
  ASSERT_TRUE(WaitFor([&] { return Question() != nullptr; }, kReactionMs));
  ::Sleep(200);
  EXPECT_FALSE(XSession::Screenshot("option-windows-profile-question").empty());
  ASSERT_TRUE(Answer(question::kButtonOk));
  ASSERT_TRUE(WaitFor([&] { return Question() == nullptr; }, kReactionMs));
  ASSERT_TRUE(MovePointerAway());
  EXPECT_TRUE(WaitFor([&] { return ShowsButtonPicture(art::kWindowsMarkerNormal, art::kWindowsProfile2); }, kReactionMs));
  EXPECT_TRUE(ShowsPicture(art::kNormalPicture, art::kWindowsProfile1)) << "the other slots keep their plain button";
  EXPECT_NE(PicturePixels(art::kNormalPicture, LayoutRect(art::kWindowsProfile2)),
            PicturePixels(art::kWindowsMarkerNormal, skin::Rect{0, 0, 22, 22}))
      << "the marker must look different from the plain button for the checks to mean anything";
  // The marker clicked clears the choice at once, without asking.
  ASSERT_TRUE(ClickAt(Centre(art::kWindowsProfile2)));
  ASSERT_TRUE(MovePointerAway());
  EXPECT_TRUE(WaitFor([&] { return ShowsPicture(art::kNormalPicture, art::kWindowsProfile2); }, kReactionMs));
  ::Sleep(300);
  EXPECT_EQ(Question(), nullptr);
  // Slot 4 chosen and applied with OK reaches config.ini.
  ASSERT_TRUE(ClickAt(Centre(art::kWindowsProfile4)));
  ASSERT_TRUE(WaitFor([&] { return Question() != nullptr; }, kReactionMs));
  ::Sleep(200);
  ASSERT_TRUE(Answer(question::kButtonOk));
  ASSERT_TRUE(WaitFor([&] { return Question() == nullptr; }, kReactionMs));
  ASSERT_TRUE(ClickAt(Centre(art::kOk)));
  ASSERT_TRUE(option_.WaitForExit(kReactionMs));
  EXPECT_EQ(ConfigInt("WindowsProfile"), 3);
}

std::string RegistryText(const char* key, const char* name) {
  char value[64] = {};
  DWORD size = sizeof value;
  if (::RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) return {};
  return value;
}

// The text of a message box: its one static control with text.
BOOL CALLBACK FindBoxText(HWND child, LPARAM text) {
  char name[16] = {};
  ::GetClassNameA(child, name, sizeof name);
  char shown[512] = {};
  ::GetWindowTextA(child, shown, sizeof shown);
  if (std::string(name) != "Static" || shown[0] == '\0') return TRUE;
  *reinterpret_cast<std::string*>(text) = shown;
  return FALSE;
}

TEST_F(OptionTest, SavingOverASlotsOwnFileIsRefusedWithAMessageNamingTheSlot) {
  const std::string slotFile = settings_.SlotPath(2);
  std::string before;
  ASSERT_TRUE(files_.Read(slotFile, before));
  ASSERT_TRUE(ClickAt(Centre(art::kSave)));
  HWND fileDialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (fileDialog = OtherDialog(option_.id, window_)) != nullptr; }, kReactionMs))
      << "no file dialog";
  ASSERT_TRUE(ChooseFile(fileDialog, slotFile));
  // The file dialog asks first whether to replace the file there; the program refuses after the yes.
  HWND prompt = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (prompt = OtherDialog(option_.id, window_, {fileDialog})) != nullptr; },
                      kReactionMs))
      << "no question whether to replace the file";
  ASSERT_TRUE(::PostMessageA(prompt, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0));
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(fileDialog); }, kReactionMs)) << "the file dialog stayed";
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = OtherDialog(option_.id, window_)) != nullptr; }, kReactionMs))
      << "no message";
  std::string text;
  ::EnumChildWindows(box, FindBoxText, reinterpret_cast<LPARAM>(&text));
  EXPECT_NE(text.find("Default2.vmp"), std::string::npos) << text;
  EXPECT_NE(text.find("slot 3"), std::string::npos) << text;
  ::Sleep(200);
  EXPECT_FALSE(XSession::Screenshot("option-save-over-slot-refused").empty());
  ASSERT_TRUE(::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0));
  ASSERT_TRUE(WaitFor([&] { return OtherDialog(option_.id, window_) == nullptr; }, kReactionMs));
  std::string after;
  ASSERT_TRUE(files_.Read(slotFile, after));
  EXPECT_EQ(after, before) << "the slot file stays as it was";

  // Another name in the same folder saves.
  const std::string other = folder_.File("config\\Mine.vmp");
  ASSERT_TRUE(ClickAt(Centre(art::kSave)));
  ASSERT_TRUE(WaitFor([&] { return (fileDialog = OtherDialog(option_.id, window_)) != nullptr; }, kReactionMs));
  ASSERT_TRUE(ChooseFile(fileDialog, other));
  EXPECT_TRUE(WaitFor([&] { return files_.IsReadable(other); }, kReactionMs)) << "nothing saved";
  EXPECT_TRUE(WaitFor([&] { return OtherDialog(option_.id, window_) == nullptr; }, kReactionMs)) << "no message";
}

TEST_F(OptionTest, WithoutTheServiceApplyWritesTheFilesAndTheRegistryAndKeepsTheProgramOpen) {
  ASSERT_FALSE(win32::UniqueKernelHandle(::OpenFileMappingA(FILE_MAP_READ, FALSE, win32::kSharedBlockName)))
      << "a shared block exists: is a service running?";
  ASSERT_EQ(RegistryText("Control Panel\\Mouse", "DoubleClickSpeed"), std::to_string(DoubleClickOf(0)));
  ASSERT_TRUE(ClickAt(Centre(art::kProfile3)));
  ASSERT_TRUE(MovePointerAway());
  ASSERT_TRUE(ClickAt(Centre(art::kApply)));
  ASSERT_TRUE(MovePointerAway());
  EXPECT_TRUE(WaitFor([&] { return ConfigInt("CurrentProfile") == 2; }, kReactionMs)) << "config.ini";
  EXPECT_TRUE(WaitFor(
      [&] { return RegistryText("Control Panel\\Mouse", "DoubleClickSpeed") == std::to_string(DoubleClickOf(2)); },
      kReactionMs))
      << "the registry carries slot 3's pointer settings";
  EXPECT_TRUE(option_.Running()) << "Apply leaves the program open";
  EXPECT_TRUE(WaitFor([&] { return ShowsPicture(art::kNormalPicture, art::kApply); }, kReactionMs))
      << "Apply is enabled again afterwards";
}

TEST_F(OptionTest, AMacroThatOnlyAProfileCarriesIsPutIntoTheSequenceFileAtStart) {
  ASSERT_TRUE(ClickAt(Centre(art::kCancel)));
  ASSERT_TRUE(option_.WaitForExit(kReactionMs));
  auto record = std::make_unique<SettingsRecord>();
  ClearRecord(*record);
  ASSERT_EQ(settings_.ReadProfile(record->profiles[1], settings_.SlotPath(1)), 1);
  MacroKeyInfo& entry = record->profiles[1].buttons[3];
  entry.function = kFunctionMacro;
  std::snprintf(entry.macroSetName, sizeof entry.macroSetName, "Games");
  std::snprintf(entry.macroName, sizeof entry.macroName, "Combo");
  entry.repeatCount = 2;
  entry.eventCount = 2;
  entry.events[0] = MacroEvent{0x04, kMacroPress, 40};
  entry.events[1] = MacroEvent{0x04, kMacroRelease, 0};
  ASSERT_EQ(settings_.WriteProfile(record->profiles[1], settings_.SlotPath(1)), 1);
  const std::string sequence = folder_.File("config\\Kavo_sequence.dat");
  ::DeleteFileA(sequence.c_str());

  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(WaitFor([&] { return ::GetFileAttributesA(sequence.c_str()) != INVALID_FILE_ATTRIBUTES; }, kReactionMs))
      << "no sequence file";
  EXPECT_EQ(::GetPrivateProfileIntA("SetMacro", "number", -1, sequence.c_str()), 1);
  char name[64] = {};
  ::GetPrivateProfileStringA("SetMacro", "0", "", name, sizeof name, sequence.c_str());
  EXPECT_STREQ(name, "Games");
  EXPECT_EQ(::GetPrivateProfileIntA("Games", "number", -1, sequence.c_str()), 1);
  unsigned char macro[2060] = {};
  ASSERT_TRUE(::GetPrivateProfileStructA("Games", "0", macro, sizeof macro, sequence.c_str()));
  EXPECT_STREQ(reinterpret_cast<const char*>(macro), "Combo");
  EXPECT_EQ(macro[52], 2) << "repeat count";
  EXPECT_EQ(macro[56], 2) << "event count";
  EXPECT_EQ(macro[60], 0x04);
  EXPECT_EQ(macro[61], kMacroPress);
  EXPECT_EQ(macro[62], 40) << "the first event's delay";
}

}  // namespace
}  // namespace kavo::wine_test
