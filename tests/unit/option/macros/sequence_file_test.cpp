// The macro library's file: what Save writes, what Load makes of it and of damaged or hostile files, and
// the library object the main window and the macro manager use.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "option/macros/macro_library.h"
#include "option/macros/sequence_file.h"
#include "settings/bounded_text.h"
#include "settings/ini_file.h"
#include "settings/ini_text.h"
#include "tests/support/memory_file_system.h"

namespace kavo::option {
namespace {

constexpr char kFolder[] = "C:\\Kavo\\";
const std::string kPath = std::string(kFolder) + "config\\Kavo_sequence.dat";

std::unique_ptr<Macro> MakeMacro(const std::string& name, int repeat, int count, int seed) {
  auto macro = std::make_unique<Macro>();
  std::memset(macro.get(), 0, sizeof *macro);
  CopyBounded(macro->name, name);
  macro->repeatCount = repeat;
  macro->eventCount = count;
  for (int i = 0; i < kMaxMacroEvents; ++i) {  // slots past the count are stored too
    macro->events[i] = MacroEvent{static_cast<std::uint8_t>(i + seed), static_cast<std::uint8_t>(1 + i % 2),
                                  static_cast<std::uint16_t>(i * 131 + seed)};
  }
  return macro;
}

void AddMacro(MacroStore& store, int set, std::unique_ptr<Macro> macro) {
  store.Set(set)->macros.push_back(std::move(macro));
}

class SequenceFileTest : public ::testing::Test {
 protected:
  std::string Value(const std::string& section, const std::string& key) {
    const IniText text = IniText::Parse(files_.files[kPath]);
    const std::string* value = text.Find(section, key);
    return value ? *value : "<missing>";
  }
  // Writes a file by hand, key by key, as a damaged or foreign file would hold it.
  void WriteFile(const std::function<void(PrivateProfileFile&)>& write) {
    auto file = access_.OpenEmpty(kPath);
    write(*file);
    ASSERT_TRUE(file->Commit());
  }
  void ExpectSameMacros(const MacroStore& loaded, const MacroStore& saved) {
    ASSERT_EQ(loaded.SetCount(), saved.SetCount());
    for (int s = 0; s < saved.SetCount(); ++s) {
      SCOPED_TRACE("set " + std::to_string(s));
      EXPECT_EQ(loaded.Set(s)->name, std::string(TrimmedName(saved.Set(s)->name)));
      ASSERT_EQ(loaded.Set(s)->macros.size(), saved.Set(s)->macros.size());
      for (std::size_t m = 0; m < saved.Set(s)->macros.size(); ++m) {
        EXPECT_EQ(std::memcmp(loaded.Set(s)->macros[m].get(), saved.Set(s)->macros[m].get(), sizeof(Macro)), 0)
            << "macro " << m << " differs";
      }
    }
  }

  test::MemoryFileSystem files_;
  IniFileAccess access_{files_};
  SequenceFile file_{access_};
};

TEST_F(SequenceFileTest, AnEmptyStoreWritesOnlyTheSetCount) {
  MacroStore store;
  ASSERT_TRUE(file_.Save(store, kPath));
  EXPECT_EQ(files_.files[kPath], "[SetMacro]\r\nnumber=0\r\n");

  MacroStore loaded;
  file_.Load(loaded, kPath);
  EXPECT_EQ(loaded.SetCount(), 0);
}

struct RoundTrip {
  const char* name;
  std::function<void(MacroStore&)> fill;
};

TEST_F(SequenceFileTest, WhatIsSavedLoadsBackByteForByte) {
  const std::vector<RoundTrip> cases = {
      {"one set without macros", [](MacroStore& s) { s.AppendSet("Lonely"); }},
      {"500 events with the longest delays",
       [](MacroStore& s) {
         s.AppendSet("Long");
         auto macro = MakeMacro("Full", 255, kMaxMacroEvents, 7);
         for (auto& event : macro->events) event.delay = 65535;
         AddMacro(s, 0, std::move(macro));
       }},
      {"two sets, several macros, in order",
       [](MacroStore& s) {
         s.AppendSet("World of Warcraft");
         s.AppendSet("Mine");
         AddMacro(s, 0, MakeMacro("Heal", 1, 4, 1));
         AddMacro(s, 0, MakeMacro("Shield", 3, 0, 2));
         AddMacro(s, 0, MakeMacro("Mount", 0, 17, 3));
         AddMacro(s, 1, MakeMacro("Copy", 2, 2, 4));
         AddMacro(s, 1, MakeMacro("Paste", 2, 2, 5));
       }},
      {"a set name with blanks around it",
       [](MacroStore& s) {
         s.AppendSet("  Padded Set \t");
         AddMacro(s, 0, MakeMacro("Inside", 1, 3, 9));
       }},
      {"a name of the longest length", [](MacroStore& s) {
         s.AppendSet(std::string(kMacroSetNameBytes - 1, 'n'));
         AddMacro(s, 0, MakeMacro(std::string(kMacroNameBytes - 1, 'm'), 1, 1, 1));
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MacroStore saved;
    c.fill(saved);
    ASSERT_TRUE(file_.Save(saved, kPath));
    MacroStore loaded;
    file_.Load(loaded, kPath);
    ExpectSameMacros(loaded, saved);
  }
}

// The private-profile writer itself drops the blanks around a listed value; what matters is that the
// set's section carries the trimmed name, so that loading finds the macros again.
TEST_F(SequenceFileTest, ASetIsKeptUnderItsTrimmedName) {
  MacroStore store;
  store.AppendSet("  Padded Set \t");
  store.AppendSet("Plain");
  AddMacro(store, 0, MakeMacro("Inside", 1, 3, 9));
  ASSERT_TRUE(file_.Save(store, kPath));
  EXPECT_NE(files_.files[kPath].find("[Padded Set]\r\nnumber=1\r\n0="), std::string::npos) << files_.files[kPath];
  EXPECT_EQ(Value("Padded Set", "number"), "1");
  EXPECT_EQ(Value("Plain", "number"), "0");
  EXPECT_EQ(Value("SetMacro", "1"), "Plain");
}

TEST_F(SequenceFileTest, AFailedSaveLeavesThePreviousFileWhole) {
  MacroStore before;
  before.AppendSet("Kept");
  AddMacro(before, 0, MakeMacro("Old", 1, 2, 1));
  ASSERT_TRUE(file_.Save(before, kPath));
  const std::string previous = files_.files[kPath];

  MacroStore after;
  after.AppendSet("Lost");
  files_.FailWritesTo(kPath);
  EXPECT_FALSE(file_.Save(after, kPath));
  EXPECT_EQ(files_.files[kPath], previous);

  MacroStore loaded;
  file_.Load(loaded, kPath);
  ExpectSameMacros(loaded, before);
}

struct Damage {
  const char* name;
  std::function<void(PrivateProfileFile&, const std::string& intact)> write;  // writes key "1" of "Set"
};

TEST_F(SequenceFileTest, AMacroThatCannotBeReadLoadsEmptyInItsPlace) {
  const std::vector<Damage> cases = {
      {"missing key", [](PrivateProfileFile&, const std::string&) {}},
      {"bad checksum",
       [](PrivateProfileFile& f, const std::string& intact) {
         std::string text = intact;
         text.back() = text.back() == '0' ? '1' : '0';
         f.WriteString("Set", "1", text);
       }},
      {"one byte short",
       [](PrivateProfileFile& f, const std::string& intact) { f.WriteString("Set", "1", intact.substr(2)); }},
      {"struct of another size",
       [](PrivateProfileFile& f, const std::string&) {
         const std::vector<std::uint8_t> small(100, 0x33);
         f.WriteStruct("Set", "1", small.data(), small.size());
       }},
      {"not hexadecimal", [](PrivateProfileFile& f, const std::string& intact) {
         f.WriteString("Set", "1", std::string(intact.size(), 'Z'));
       }},
  };
  const auto good = MakeMacro("Good", 1, 3, 1);
  const auto damaged = MakeMacro("Damaged", 2, 4, 2);
  const std::string intact = EncodeProfileStruct(damaged.get(), sizeof(Macro));
  Macro zero;
  std::memset(&zero, 0, sizeof zero);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile([&](PrivateProfileFile& f) {
      f.WriteInt("SetMacro", "number", 1);
      f.WriteString("SetMacro", "0", "Set");
      f.WriteInt("Set", "number", 3);
      f.WriteStruct("Set", "0", good.get(), sizeof(Macro));
      c.write(f, intact);
      f.WriteStruct("Set", "2", good.get(), sizeof(Macro));
    });
    MacroStore loaded;
    file_.Load(loaded, kPath);
    ASSERT_EQ(loaded.SetCount(), 1);
    ASSERT_EQ(loaded.Set(0)->macros.size(), 3u);
    EXPECT_EQ(std::memcmp(loaded.MacroAt(0, 0), good.get(), sizeof(Macro)), 0);
    EXPECT_EQ(std::memcmp(loaded.MacroAt(0, 1), &zero, sizeof(Macro)), 0);
    EXPECT_EQ(std::memcmp(loaded.MacroAt(0, 2), good.get(), sizeof(Macro)), 0);
  }
}

TEST_F(SequenceFileTest, MissingPartsGiveEmptySetsOrNone) {
  struct Case {
    const char* name;
    std::function<void(PrivateProfileFile&)> write;
    std::vector<std::string> setNames;
  };
  const std::vector<Case> cases = {
      {"no number", [](PrivateProfileFile& f) { f.WriteString("SetMacro", "0", "Orphan"); }, {}},
      {"negative number", [](PrivateProfileFile& f) { f.WriteInt("SetMacro", "number", -1); }, {}},
      {"number that is no number", [](PrivateProfileFile& f) { f.WriteString("SetMacro", "number", "many"); }, {}},
      {"set without its section",
       [](PrivateProfileFile& f) {
         f.WriteInt("SetMacro", "number", 2);
         f.WriteString("SetMacro", "0", "A");
         f.WriteString("SetMacro", "1", "B");
         f.WriteInt("B", "number", 0);
       },
       {"A", "B"}},
      {"a set name missing from the list",
       [](PrivateProfileFile& f) {
         f.WriteInt("SetMacro", "number", 2);
         f.WriteString("SetMacro", "1", "B");
       },
       {"", "B"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(c.write);
    MacroStore loaded;
    file_.Load(loaded, kPath);
    ASSERT_EQ(loaded.SetCount(), static_cast<int>(c.setNames.size()));
    for (int s = 0; s < loaded.SetCount(); ++s) {
      EXPECT_EQ(loaded.Set(s)->name, c.setNames[static_cast<std::size_t>(s)]);
      EXPECT_TRUE(loaded.Set(s)->macros.empty());
    }
  }
  files_.files.erase(kPath);
  MacroStore loaded;
  file_.Load(loaded, kPath);
  EXPECT_EQ(loaded.SetCount(), 0);
}

// Found by the fuzz target: a set whose name is missing would take its macros from the file's unheaded
// start ("0=..." lines before the first section) and lose them on the next save and load.
TEST_F(SequenceFileTest, ASetWithoutANameHasNoMacrosAndSavesNone) {
  files_.files[kPath] = "number=1\r\n0=00\r\n[SetMacro]\r\nnumber=2\r\n0=A\r\n1=  \r\n[A]\r\nnumber=0\r\n";
  MacroStore loaded;
  file_.Load(loaded, kPath);
  ASSERT_EQ(loaded.SetCount(), 2);
  EXPECT_TRUE(loaded.Set(1)->macros.empty()) << "macros read from the file's unheaded start";

  AddMacro(loaded, 1, MakeMacro("Lost", 1, 3, 7));
  ASSERT_TRUE(file_.Save(loaded, kPath));
  EXPECT_EQ(Value("", "number"), "<missing>") << "nothing written where no section is";
  MacroStore again;
  file_.Load(again, kPath);
  ASSERT_EQ(again.SetCount(), 2);
  EXPECT_TRUE(again.Set(1)->macros.empty());
}

// A set named as the list section would read its macros from the list and, saved, write its section over
// the list: every other set would be gone on the next load.
TEST_F(SequenceFileTest, ASetNamedAsTheListOfSetsIsLeftOut) {
  const auto macro = MakeMacro("Jump", 1, 3, 4);
  for (const char* listName : {"SetMacro", " setmacro ", "SETMACRO"}) {
    SCOPED_TRACE(listName);
    WriteFile([&](PrivateProfileFile& f) {
      f.WriteInt("SetMacro", "number", 3);
      f.WriteString("SetMacro", "0", "Games");
      f.WriteString("SetMacro", "1", listName);
      f.WriteString("SetMacro", "2", "Office");
      f.WriteInt("Games", "number", 1);
      f.WriteStruct("Games", "0", macro.get(), sizeof(Macro));
      f.WriteInt("Office", "number", 0);
    });
    MacroStore loaded;
    file_.Load(loaded, kPath);
    ASSERT_EQ(loaded.SetCount(), 2);
    EXPECT_EQ(loaded.Set(0)->name, "Games");
    EXPECT_EQ(loaded.Set(1)->name, "Office");
    ASSERT_EQ(loaded.Set(0)->macros.size(), 1u);
    EXPECT_EQ(std::memcmp(loaded.MacroAt(0, 0), macro.get(), sizeof(Macro)), 0);

    ASSERT_TRUE(file_.Save(loaded, kPath));
    EXPECT_EQ(Value("SetMacro", "number"), "2");
    MacroStore again;
    file_.Load(again, kPath);
    ExpectSameMacros(again, loaded);
  }
}

TEST_F(SequenceFileTest, HostileCountsAndTextsAreBounded) {
  struct Case {
    const char* name;
    std::int32_t eventCount;
    std::int32_t repeatCount;
    std::int32_t loadedEvents;
    std::int32_t loadedRepeat;
  };
  const Case cases[] = {
      {"in range", 500, 255, 500, 255},         {"event count too high", 501, 1, 500, 1},
      {"event count negative", -1, 1, 0, 1},    {"huge event count", 0x7FFFFFFF, 1, 500, 1},
      {"repeat count too high", 3, 256, 3, 255}, {"repeat count negative", 3, -2147483647 - 1, 3, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto macro = MakeMacro("", 0, 0, 3);
    std::memset(macro->name, 'q', sizeof macro->name);  // no terminator
    macro->eventCount = c.eventCount;
    macro->repeatCount = c.repeatCount;
    WriteFile([&](PrivateProfileFile& f) {
      f.WriteInt("SetMacro", "number", 1);
      f.WriteString("SetMacro", "0", std::string(300, 's'));
      f.WriteInt(std::string(kMacroSetNameBytes - 1, 's'), "number", 1);
      f.WriteStruct(std::string(kMacroSetNameBytes - 1, 's'), "0", macro.get(), sizeof(Macro));
    });
    MacroStore loaded;
    file_.Load(loaded, kPath);
    ASSERT_EQ(loaded.SetCount(), 1);
    EXPECT_EQ(loaded.Set(0)->name, std::string(kMacroSetNameBytes - 1, 's'));
    const Macro* read = loaded.MacroAt(0, 0);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->eventCount, c.loadedEvents);
    EXPECT_EQ(read->repeatCount, c.loadedRepeat);
    EXPECT_EQ(FieldText(read->name), std::string(kMacroNameBytes - 1, 'q'));
    EXPECT_EQ(std::memcmp(read->events, macro->events, sizeof read->events), 0);
  }
}

TEST_F(SequenceFileTest, HugeSetAndMacroCountsAreCut) {
  WriteFile([](PrivateProfileFile& f) {
    f.WriteInt("SetMacro", "number", 2147483647);
    f.WriteString("SetMacro", "0", "Big");
    f.WriteInt("Big", "number", 2147483647);
  });
  MacroStore loaded;
  file_.Load(loaded, kPath);
  ASSERT_EQ(loaded.SetCount(), kMaxLoadedSets);
  EXPECT_EQ(loaded.Set(0)->name, "Big");
  EXPECT_EQ(loaded.Set(0)->macros.size(), static_cast<std::size_t>(kMaxLoadedMacros));
  EXPECT_GE(kMaxLoadedSets, kMaxMacroSets + kProfileCount * kButtonSlotCount);
}

// ---- The library the program uses ----

TEST_F(SequenceFileTest, LibraryKeepsTheStoreInTheProgramFolder) {
  MacroStore store;
  MacroStoreLibrary library(store, access_, kFolder);
  EXPECT_EQ(library.Path(), kPath);

  library.Load();  // no file yet
  EXPECT_EQ(store.SetCount(), 0);
  EXPECT_FALSE(files_.IsReadable(kPath));

  ASSERT_EQ(store.AddSet("Saved"), 0);
  ASSERT_EQ(store.AddMacro(0, "Kept"), 0);
  ASSERT_TRUE(library.SaveFile());

  // The manager's edits, then Cancel: everything since the save is gone.
  ASSERT_EQ(store.AddSet("Unsaved"), 1);
  ASSERT_TRUE(store.RemoveMacro(0, 0));
  library.Reload();
  ASSERT_EQ(store.SetCount(), 1);
  EXPECT_EQ(store.Set(0)->name, "Saved");
  ASSERT_EQ(store.Set(0)->macros.size(), 1u);
  EXPECT_EQ(FieldText(store.MacroAt(0, 0)->name), "Kept");

  // A profile's macro the file lacks is merged in and reaches the file with the next save.
  auto record = std::make_unique<SettingsRecord>();
  ClearRecord(*record);
  MacroKeyInfo& entry = record->profiles[1].buttons[5];
  entry.function = kFunctionMacro;
  CopyBounded(entry.macroSetName, "From profile");
  CopyBounded(entry.macroName, "Jump");
  entry.repeatCount = 2;
  entry.eventCount = 1;
  entry.events[0] = MacroEvent{44, kMacroPress, 30};
  library.MergeFromProfiles(*record);
  library.Save();
  library.Clear();
  EXPECT_EQ(store.SetCount(), 0);
  library.Load();
  ASSERT_EQ(store.SetCount(), 2);
  EXPECT_EQ(store.Set(1)->name, "From profile");
  const Macro* jump = store.MacroAt(1, 0);
  ASSERT_NE(jump, nullptr);
  EXPECT_EQ(jump->repeatCount, 2);
  ASSERT_EQ(jump->eventCount, 1);
  EXPECT_EQ(jump->events[0].key, 44);
  EXPECT_EQ(jump->events[0].delay, 30);

  files_.FailAllWrites(true);
  EXPECT_FALSE(library.SaveFile());
}

}  // namespace
}  // namespace kavo::option
