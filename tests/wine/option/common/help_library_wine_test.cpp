// The help libraries as the configuration program finds and reads them: every language's library in
// "help\" beside the program, read as data, holding a text for every number a control reads, in its own
// language.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "option/common/help_library_loader.h"
#include "option/main_window/win32/option_ports.h"
#include "platform/win32/module_folder.h"
#include "platform/win32/win32_handles.h"

namespace kavo::option {
namespace {

using kavo::win32::UniqueModule;
using ProgramHelpFiles = kavo::option::win32::ModuleHelpFiles;

std::wstring ReadWideString(HMODULE module, int id) {
  wchar_t buffer[kHelpTextBuffer] = {};
  const int length = ::LoadStringW(module, static_cast<UINT>(id), buffer, static_cast<int>(kHelpTextBuffer));
  return std::wstring(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

// A text in the ANSI code page, as the program's narrow calls give it.
std::string Ansi(const std::wstring& text) {
  char buffer[kHelpTextBuffer] = {};
  const int length = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), buffer,
                                           static_cast<int>(sizeof buffer), nullptr, nullptr);
  return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

constexpr int kLanguages = 10;

TEST(HelpLibraries, EveryLanguageHoldsATextForEveryNumberAControlReads) {
  const std::string folder = kavo::win32::ModuleFolder();
  for (int language = 0; language < kLanguages; ++language) {
    const std::string path = HelpLibraryPath(folder, language);
    SCOPED_TRACE(path);
    // As data only: nothing of the file runs, and its strings are all there.
    UniqueModule data(::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(data) << "error " << ::GetLastError();
    for (int id : HelpStringIds()) {
      EXPECT_FALSE(ReadWideString(data.get(), id).empty()) << id;
    }
    // As the program loads it.
    ProgramHelpFiles files;
    const std::unique_ptr<HelpStrings> strings = files.Load(path);
    ASSERT_TRUE(strings);
    for (int id : HelpStringIds()) {
      EXPECT_FALSE(strings->Text(id).empty()) << id;
    }
  }
}

// A library loaded to run would be mapped as a module of the process, its entry point called; one read as
// data is not, so a library swapped for one with code does nothing.
TEST(HelpLibraries, TheProgramReadsALibraryAsDataWithoutMakingItAModule) {
  const std::string path = HelpLibraryPath(kavo::win32::ModuleFolder(), 1);
  ProgramHelpFiles files;
  const std::unique_ptr<HelpStrings> strings = files.Load(path);
  ASSERT_TRUE(strings);
  EXPECT_EQ(strings->Text(help_id::kLanguage), "Select language");
  EXPECT_EQ(::GetModuleHandleA(path.c_str()), nullptr);
  EXPECT_EQ(::GetModuleHandleA(HelpLibraryFileName(1).c_str()), nullptr);
}

TEST(HelpLibraries, EachLanguageSpeaksItsOwnLanguage) {
  const std::string folder = kavo::win32::ModuleFolder();
  std::set<std::wstring> languageButtonTexts;
  for (int language = 0; language < kLanguages; ++language) {
    UniqueModule data(::LoadLibraryExA(HelpLibraryPath(folder, language).c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(data) << language;
    languageButtonTexts.insert(ReadWideString(data.get(), help_id::kLanguage));
  }
  EXPECT_EQ(languageButtonTexts.size(), static_cast<std::size_t>(kLanguages));

  struct Case {
    int language, id;
    const wchar_t* text;
  };
  const Case cases[] = {
      {4, help_id::kOnlineHelp, L"Online-Hilfe \u00f6ffnen"},
      {4, help_id::kProfileSlot1 + 2, L"Hier klicken, um Profilplatz Nr. 3 zu aktivieren"},
      {3, help_id::kUpdate, L"T\u00e9l\u00e9charger le dernier pilote depuis le site d'assistance"},
      {6, help_id::kLanguage, L"\u0412\u044b\u0431\u0440\u0430\u0442\u044c \u044f\u0437\u044b\u043a"},
  };
  for (const Case& c : cases) {
    UniqueModule data(::LoadLibraryExA(HelpLibraryPath(folder, c.language).c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(data);
    EXPECT_EQ(ReadWideString(data.get(), c.id), c.text) << c.language << " " << c.id;
  }
}

TEST(HelpLibraries, TheProgramWideLibraryFollowsTheLanguageAndFallsBackToNothing) {
  ProgramHelpFiles files;
  CurrentHelpLibrary library(files, kavo::win32::ModuleFolder());
  library.Load(4);
  ASSERT_TRUE(library.loaded());
  EXPECT_EQ(library.Text(help_id::kLanguage), Ansi(L"Sprache w\u00e4hlen"));
  library.Load(42);  // no such language: English
  ASSERT_TRUE(library.loaded());
  EXPECT_EQ(library.Text(help_id::kLanguage), "Select language");
  EXPECT_EQ(library.Text(1012), "");  // a number no control reads

  CurrentHelpLibrary missing(files, kavo::win32::ModuleFolder() + "nowhere\\");
  missing.Load(1);
  EXPECT_FALSE(missing.loaded());
  EXPECT_EQ(missing.Text(help_id::kUpdate), "");
}

}  // namespace
}  // namespace kavo::option
