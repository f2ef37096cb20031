// The macro library's file against the Windows private-profile functions: what our Save writes, they read
// back the same, and a file they wrote loads through our Load.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "option/macros/sequence_file.h"
#include "settings/bounded_text.h"
#include "settings/ini_file.h"
#include "settings/win32/win32_file_system.h"
#include "tests/wine/temp_folder.h"

namespace kavo::option {
namespace {

struct MacroSpec {
  const char* name;
  int repeat;
  int count;
};
struct SetSpec {
  const char* name;
  std::vector<MacroSpec> macros;
};

const std::vector<SetSpec> kLibrary = {
    {"World of Warcraft", {{"Heal", 1, 4}, {"Shield", 3, 0}, {"Mount", 255, 500}}},
    {"  Blanks Around  ", {{"Inside", 2, 17}}},
    {"Empty", {}},
};

std::unique_ptr<Macro> MakeMacro(const MacroSpec& spec, int seed) {
  auto macro = std::make_unique<Macro>();
  std::memset(macro.get(), 0, sizeof *macro);
  CopyBounded(macro->name, spec.name);
  macro->repeatCount = spec.repeat;
  macro->eventCount = spec.count;
  for (int i = 0; i < kMaxMacroEvents; ++i) {
    macro->events[i] = MacroEvent{static_cast<std::uint8_t>(i * 7 + seed), static_cast<std::uint8_t>(1 + i % 2),
                                  static_cast<std::uint16_t>(65535 - i * 3 - seed)};
  }
  return macro;
}

void FillLibrary(MacroStore& store) {
  int seed = 0;
  for (const auto& set : kLibrary) {
    MacroSet& added = store.AppendSet(set.name);
    for (const auto& macro : set.macros) added.macros.push_back(MakeMacro(macro, ++seed));
  }
}

class SequenceFileWine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.path().empty()) << "no temporary folder";
    path_ = folder_.File("Kavo_sequence.dat");
  }

  wine_test::TempFolder folder_;
  std::string path_;
  win32::Win32FileSystem files_;
  IniFileAccess access_{files_};
  SequenceFile file_{access_};
};

TEST_F(SequenceFileWine, TheWindowsFunctionsReadWhatSaveWrote) {
  MacroStore store;
  FillLibrary(store);
  ASSERT_TRUE(file_.Save(store, path_));

  const char* path = path_.c_str();
  ASSERT_EQ(::GetPrivateProfileIntA("SetMacro", "number", -1, path), store.SetCount());
  for (int s = 0; s < store.SetCount(); ++s) {
    const MacroSet& set = *store.Set(s);
    SCOPED_TRACE(set.name);
    char name[2048] = {};
    ::GetPrivateProfileStringA("SetMacro", std::to_string(s).c_str(), "<none>", name, sizeof name, path);
    EXPECT_EQ(std::string(name), std::string(TrimmedName(set.name)));
    const std::string section(TrimmedName(set.name));
    ASSERT_EQ(::GetPrivateProfileIntA(section.c_str(), "number", -1, path), static_cast<int>(set.macros.size()));
    for (std::size_t m = 0; m < set.macros.size(); ++m) {
      Macro read;
      std::memset(&read, 0xCD, sizeof read);
      ASSERT_TRUE(::GetPrivateProfileStructA(section.c_str(), std::to_string(m).c_str(), &read, sizeof read, path))
          << "macro " << m;
      EXPECT_EQ(std::memcmp(&read, set.macros[m].get(), sizeof read), 0) << "macro " << m;
    }
  }
}

TEST_F(SequenceFileWine, LoadReadsWhatTheWindowsFunctionsWrote) {
  MacroStore expected;
  FillLibrary(expected);
  const char* path = path_.c_str();
  ASSERT_TRUE(::WritePrivateProfileStringA("SetMacro", "number", std::to_string(expected.SetCount()).c_str(), path));
  for (int s = 0; s < expected.SetCount(); ++s) {
    const MacroSet& set = *expected.Set(s);
    ::WritePrivateProfileStringA("SetMacro", std::to_string(s).c_str(), set.name.c_str(), path);
    const std::string section(TrimmedName(set.name));
    ::WritePrivateProfileStringA(section.c_str(), "number", std::to_string(set.macros.size()).c_str(), path);
    for (std::size_t m = 0; m < set.macros.size(); ++m) {
      ASSERT_TRUE(::WritePrivateProfileStructA(section.c_str(), std::to_string(m).c_str(), set.macros[m].get(),
                                               sizeof(Macro), path));
    }
  }

  MacroStore loaded;
  file_.Load(loaded, path_);
  ASSERT_EQ(loaded.SetCount(), expected.SetCount());
  for (int s = 0; s < expected.SetCount(); ++s) {
    SCOPED_TRACE(expected.Set(s)->name);
    EXPECT_EQ(loaded.Set(s)->name, std::string(TrimmedName(expected.Set(s)->name)));
    ASSERT_EQ(loaded.Set(s)->macros.size(), expected.Set(s)->macros.size());
    for (std::size_t m = 0; m < expected.Set(s)->macros.size(); ++m) {
      EXPECT_EQ(std::memcmp(loaded.Set(s)->macros[m].get(), expected.Set(s)->macros[m].get(), sizeof(Macro)), 0)
          << "macro " << m;
    }
  }
}

}  // namespace
}  // namespace kavo::option
