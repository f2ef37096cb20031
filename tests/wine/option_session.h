#pragma once
// The whole system as a user runs it: KavoMonitor.exe with the simulated mouse, and the real KavoOption.exe
// beside it, driven by real clicks and keys through the X server. The fixture prepares the five profiles in
// the files and in the mouse alike, starts both programs, knows where the main window is on the screen and
// reads back what the mouse holds.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "artwork/main_settings_page.h"
#include "artwork/main_window.h"
#include "option/main_window/main_window_view.h"
#include "settings/bounded_text.h"
#include "settings/settings_record.h"
#include "skin/slider_math.h"
#include "tests/wine/option_screen.h"
#include "tests/wine/program_dialogs.h"
#include "tests/wine/programs.h"
#include "tests/wine/service_session.h"
#include "tests/wine/x_session.h"

namespace kavo::wine_test {

constexpr DWORD kOptionReactionMs = 8000;
inline const char* const kSessionProfileNames[kProfileCount] = {"Alpha", "Bravo", "Charlie", "Delta", "Echo"};
inline const char* const kSlotNameLayouts[kProfileCount] = {
    artwork::main_window::kProfile1Name, artwork::main_window::kProfile2Name, artwork::main_window::kProfile3Name,
    artwork::main_window::kProfile4Name, artwork::main_window::kProfile5Name};
inline const char* const kSlotLayouts[kProfileCount] = {
    artwork::main_window::kProfile1, artwork::main_window::kProfile2, artwork::main_window::kProfile3,
    artwork::main_window::kProfile4, artwork::main_window::kProfile5};

// The numbers after a prefix in one line of kavo-sim's dump ("profile 0 settings", "profile 0 buttons").
inline std::vector<int> DumpNumbers(const std::vector<std::string>& dump, const std::string& prefix) {
  for (const std::string& line : dump) {
    if (line.compare(0, prefix.size(), prefix) != 0) continue;
    std::vector<int> values;
    const char* rest = line.c_str() + prefix.size();
    int value = 0, used = 0;
    while (std::sscanf(rest, "%d%n", &value, &used) == 1) {
      values.push_back(value);
      rest += used;
    }
    return values;
  }
  return {};
}

class OptionSessionTest : public ServiceSessionTest {
 protected:
  void TearDown() override {
    if (option_.Running()) {
      ::PostMessageA(window_, WM_CLOSE, 0, 0);
      // A dialog left open by a failed step holds the close back.
      if (!option_.WaitForExit(5000)) {
        ADD_FAILURE() << "KavoOption.exe did not end on WM_CLOSE";
        ::TerminateProcess(option_.handle.get(), 1);
        option_.WaitForExit(5000);
      }
    }
    ServiceSessionTest::TearDown();
  }

  // A program folder with the real configuration program. Each profile starts from its defaults, named
  // after kSessionProfileNames, and is then changed by edit; the profile files and the mouse's memory agree
  // on every button's function.
  void PrepareProfiles(const std::function<void(int, ProfileRecord&)>& edit) {
    MakeFolder(false);
    ASSERT_TRUE(folder().InstallConfigurationProgram());
    auto record = NewRecord();
    for (int p = 0; p < kProfileCount; ++p) {
      ProfileRecord& profile = record->profiles[p];
      ResetProfile(profile, p);
      CopyBounded(profile.ProFileName, kSessionProfileNames[p]);
      if (edit) edit(p, profile);
      ASSERT_EQ(folder().settings().WriteProfile(profile, folder().settings().SlotPath(p)), 1);
    }
    ChangeMouse([&](sim::MouseMemory& memory) {
      memory.activeProfile = 0;
      for (int p = 0; p < kProfileCount; ++p) {
        memory.profiles[p].settings[sim::kSensitivityX] =
            static_cast<std::uint8_t>(record->profiles[p].Sensitivity_X);
        memory.profiles[p].settings[sim::kSensitivityY] =
            static_cast<std::uint8_t>(record->profiles[p].Sensitivity_Y);
        for (int b = 0; b < kButtonSlotCount; ++b) {
          memory.profiles[p].buttons[b] = record->profiles[p].buttons[b].function;
        }
      }
    });
  }

  // The five slots named, plain clicks on every button but profile 1's first, the same sensitivity in every
  // profile.
  void PrepareFolder(std::uint8_t profileOneFirstButton = kFunctionClick, int sensitivity = 5) {
    PrepareProfiles([&](int p, ProfileRecord& profile) {
      for (auto& entry : profile.buttons) entry.function = kFunctionClick;
      if (p == 0) profile.buttons[0].function = profileOneFirstButton;
      profile.Sensitivity_X = profile.Sensitivity_Y = sensitivity;
    });
  }

  bool ShowsActiveSlot(int slot) const {
    const OptionScreen shown = screen();
    for (int p = 0; p < kProfileCount; ++p) {
      const bool active = p == slot;
      const int picture = active ? artwork::main_window::kPressedPicture : artwork::main_window::kNormalPicture;
      if (!shown.ShowsPicture(picture, kSlotLayouts[p])) return false;
      if (!shown.ShowsName(kSlotNameLayouts[p], kSessionProfileNames[p],
                           active ? option::kActiveNameColour : option::kInactiveNameColour)) {
        return false;
      }
    }
    return true;
  }

  // The service, once it has read the mouse, then the configuration program with its first paint shown.
  void StartSystem() {
    ASSERT_NO_FATAL_FAILURE(StartService());
    ASSERT_TRUE(WaitForHostActive(1)) << "the service did not finish reading the mouse";
    program_ = win32::UniqueModule(
        ::LoadLibraryExA(folder().File("KavoOption.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(program_);
    ASSERT_NO_FATAL_FAILURE(StartOption());
  }

  void StartOption() {
    option_ = StartProgram(folder().File("KavoOption.exe"), "", folder().program());
    ASSERT_TRUE(option_.handle);
    ASSERT_TRUE(WaitFor([&] { return !TopLevelWindows(option_.id, kOptionTitle).empty(); }, 10000));
    window_ = TopLevelWindows(option_.id, kOptionTitle).front();
    RECT bounds{};
    ::GetWindowRect(window_, &bounds);
    origin_ = POINT{bounds.left, bounds.top};
    // Shown once its first paint is on the screen, the page's controls included.
    const skin::Rect reset = LayoutRect(artwork::main_settings_page::kButtonReset);
    ASSERT_TRUE(WaitFor(
        [&] {
          return screen().ShowsPicture(artwork::main_window::kNormalPicture, artwork::main_window::kHeadingProfiles) &&
                 screen().PageShows(artwork::main_settings_page::kNormalPicture, reset);
        },
        kOptionReactionMs));
    ASSERT_TRUE(screen().MovePointerAway());
  }

  OptionScreen screen() const { return OptionScreen(program_.get(), origin_); }

  // Clicks a layout's control of the main window and lets the pointer rest where it shows no hover picture.
  void Click(const char* layout) {
    ASSERT_TRUE(screen().Click(layout));
    ASSERT_TRUE(screen().MovePointerAway());
  }

  void CloseWith(const char* layout) {
    ASSERT_NO_FATAL_FAILURE(Click(layout));
    ASSERT_TRUE(option_.WaitForExit(kOptionReactionMs)) << "KavoOption.exe did not end";
  }

  // A dialog the configuration program shows over its main window (and the windows known), waited for.
  HWND WaitForDialog(std::initializer_list<HWND> known = {}) {
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = OtherDialog(option_.id, window_, known)) != nullptr; }, kOptionReactionMs);
    return dialog;
  }
  bool WaitForNoDialog() {
    return WaitFor([&] { return OtherDialog(option_.id, window_) == nullptr; }, kOptionReactionMs);
  }

  std::vector<int> MouseSettings(int profile) {
    return DumpNumbers(folder().Dump(), "profile " + std::to_string(profile) + " settings");
  }
  std::vector<int> MouseButtons(int profile) {
    return DumpNumbers(folder().Dump(), "profile " + std::to_string(profile) + " buttons");
  }

  int MouseSensitivity(int profile) {
    const auto values = MouseSettings(profile);
    return values.size() > sim::kSensitivityY && values[sim::kSensitivityX] == values[sim::kSensitivityY]
               ? values[sim::kSensitivityX]
               : -1;
  }

  // Clicks the track of a page slider where it means value.
  void ClickSlider(const char* layout, int value, int minimum, int maximum) {
    const skin::Rect track = LayoutRect(layout);
    const int x = track.left + ((value - minimum) * track.Width() + (maximum - minimum) / 2) / (maximum - minimum);
    ASSERT_EQ(skin::TrackClickValue(x, track.left, track.right, skin::SliderRange(minimum, maximum), true), value);
    const skin::Rect page = LayoutRect(artwork::main_window::kPagePosition);
    ASSERT_TRUE(XSession::ClickAt(origin_.x + page.left + x, origin_.y + page.top + (track.top + track.bottom) / 2));
  }

  win32::UniqueModule program_;
  ChildProcess option_;
  HWND window_ = nullptr;
  POINT origin_{};
};

}  // namespace kavo::wine_test
