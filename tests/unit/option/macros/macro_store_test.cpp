// The macro library in memory: finding macros by names, taking in the macros the profiles' buttons carry,
// and the limits of the manager's edits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "option/macros/macro_store.h"
#include "settings/bounded_text.h"

namespace kavo::option {
namespace {

// Events told apart by a seed, so two macros with different seeds never compare equal.
std::vector<MacroEvent> Events(int count, int seed) {
  std::vector<MacroEvent> events;
  for (int i = 0; i < count; ++i) {
    events.push_back(MacroEvent{static_cast<std::uint8_t>(4 + (i + seed) % 90),
                                static_cast<std::uint8_t>(i % 2 ? kMacroRelease : kMacroPress),
                                static_cast<std::uint16_t>(seed * 100 + i)});
  }
  return events;
}

struct MacroSpec {
  std::string name;
  int repeat;
  std::vector<MacroEvent> events;
};

struct SetSpec {
  std::string name;
  std::vector<MacroSpec> macros;
};

// Builds sets as the file gives them: names exactly as written, no limits. Slots past the events hold
// stale data, which comparisons must never look at.
void Fill(MacroStore& store, const std::vector<SetSpec>& sets) {
  for (const auto& spec : sets) {
    MacroSet& set = store.AppendSet(spec.name);
    for (const auto& m : spec.macros) {
      auto macro = std::make_unique<Macro>();
      std::memset(macro.get(), 0xEE, sizeof *macro);
      CopyBounded(macro->name, m.name);
      macro->repeatCount = m.repeat;
      macro->eventCount = static_cast<std::int32_t>(m.events.size());
      std::copy(m.events.begin(), m.events.end(), macro->events);
      set.macros.push_back(std::move(macro));
    }
  }
}

struct Button {
  int profile;
  int slot;
  std::uint8_t function;
  std::string setName;
  std::string macroName;
  int repeat;
  std::vector<MacroEvent> events;
};

std::unique_ptr<SettingsRecord> RecordWith(const std::vector<Button>& buttons) {
  auto record = std::make_unique<SettingsRecord>();
  ClearRecord(*record);
  for (const auto& button : buttons) {
    MacroKeyInfo& entry = record->profiles[button.profile].buttons[button.slot];
    // Slots beyond the count carry leftovers from earlier edits.
    std::memset(entry.events, 0xAB, sizeof entry.events);
    entry.function = button.function;
    CopyBounded(entry.macroSetName, button.setName);
    CopyBounded(entry.macroName, button.macroName);
    entry.repeatCount = button.repeat;
    entry.eventCount = static_cast<std::uint16_t>(button.events.size());
    std::copy(button.events.begin(), button.events.end(), entry.events);
  }
  return record;
}

// The store's content as names, repeat counts and meaningful events, for comparison with a table.
std::vector<SetSpec> Contents(const MacroStore& store) {
  std::vector<SetSpec> sets;
  for (int s = 0; s < store.SetCount(); ++s) {
    SetSpec set{store.Set(s)->name, {}};
    for (const auto& macro : store.Set(s)->macros) {
      set.macros.push_back({FieldText(macro->name), macro->repeatCount,
                            std::vector<MacroEvent>(macro->events, macro->events + macro->eventCount)});
    }
    sets.push_back(set);
  }
  return sets;
}

bool operator==(const MacroSpec& a, const MacroSpec& b) {
  return a.name == b.name && a.repeat == b.repeat && a.events.size() == b.events.size() &&
         (a.events.empty() || std::memcmp(a.events.data(), b.events.data(), a.events.size() * sizeof(MacroEvent)) == 0);
}
bool operator==(const SetSpec& a, const SetSpec& b) { return a.name == b.name && a.macros == b.macros; }

void PrintTo(const SetSpec& set, std::ostream* out) {
  *out << "[" << set.name << ":";
  for (const auto& m : set.macros) *out << " " << m.name << "(x" << m.repeat << ", " << m.events.size() << " events)";
  *out << "]";
}

// ---- Find by names ----

struct FindCase {
  const char* name;
  const char* setName;
  const char* macroName;
  std::vector<MacroEvent> events;
  MacroMatch expected;
};

TEST(MacroStoreFind, MatchesTrimmedNamesWithoutRegardToCase) {
  MacroStore store;
  Fill(store, {{"Alpha", {{"One", 1, Events(3, 1)}, {"Two", 1, Events(0, 0)}, {"one", 1, Events(3, 9)}}},
               {"  Beta  ", {{" Three ", 2, Events(5, 3)}}},
               {"ALPHA", {{"Four", 1, Events(1, 4)}}}});
  const std::vector<FindCase> cases = {
      {"exact names, same events", "Alpha", "One", Events(3, 1), {0, 0, true}},
      {"other case and blanks on the query", " aLPHA\t", "  ONE ", Events(3, 1), {0, 0, true}},
      {"stored names with blanks", "beta", "three", Events(5, 3), {1, 0, true}},
      {"the first set and macro of a name win", "alpha", "ONE", Events(3, 9), {0, 0, false}},
      {"no events on either side", "Alpha", "Two", {}, {0, 1, true}},
      {"fewer events", "Alpha", "One", Events(2, 1), {0, 0, false}},
      {"more events", "Alpha", "One", Events(4, 1), {0, 0, false}},
      {"other events of the same count", "Alpha", "One", Events(3, 2), {0, 0, false}},
      {"macro missing in the found set", "Alpha", "Four", Events(1, 4), {0, -1, false}},
      {"set missing", "Gamma", "One", Events(3, 1), {-1, -1, false}},
      {"a name that only starts the same", "Alph", "One", Events(3, 1), {-1, -1, false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MacroMatch found = store.FindByNames(c.setName, c.macroName, c.events.data(), static_cast<int>(c.events.size()));
    EXPECT_EQ(found.setIndex, c.expected.setIndex);
    EXPECT_EQ(found.macroIndex, c.expected.macroIndex);
    EXPECT_EQ(found.equal, c.expected.equal);
  }
  EXPECT_TRUE(store.SetExists(" beta"));
  EXPECT_TRUE(store.SetExists("alpha"));
  EXPECT_FALSE(store.SetExists("Gamma"));
  EXPECT_FALSE(store.SetExists(""));
}

// ---- Merge from profiles ----

struct MergeCase {
  const char* name;
  std::vector<SetSpec> before;
  std::vector<Button> buttons;
  std::vector<SetSpec> after;
};

TEST(MacroStoreMerge, LeavesEveryMacroOfTheButtonsInTheStore) {
  const std::vector<MergeCase> cases = {
      {"a macro the file lacks is recreated with its set",
       {},
       {{2, 9, kFunctionMacro, "Games", "Jump", 7, Events(3, 1)}},
       {{"Games", {{"Jump", 7, Events(3, 1)}}}}},
      {"a macro missing from its set is appended to that set",
       {{"Other", {}}, {"Games", {{"Run", 1, Events(2, 5)}}}},
       {{0, 0, kFunctionMacro, " games ", "Jump", 3, Events(4, 2)}},
       {{"Other", {}}, {"Games", {{"Run", 1, Events(2, 5)}, {"Jump", 3, Events(4, 2)}}}}},
      {"differing events overwrite the store's macro",
       {{"Games", {{"Jump", 1, Events(5, 1)}}}},
       {{1, 3, kFunctionMacro, "GAMES", "jump", 12, Events(2, 8)}},
       {{"Games", {{"Jump", 12, Events(2, 8)}}}}},
      {"equal events leave the macro alone, repeat count included",
       {{"Games", {{"Jump", 4, Events(5, 1)}}}},
       {{1, 3, kFunctionMacro, "Games", "Jump", 9, Events(5, 1)}},
       {{"Games", {{"Jump", 4, Events(5, 1)}}}}},
      {"an empty or blank set name is never merged, even with the macro function",
       {},
       {{0, 1, kFunctionMacro, "", "Jump", 1, Events(1, 1)}, {0, 2, kFunctionMacro, "  ", "Run", 1, Events(1, 1)}},
       {}},
      {"a set named as the file's list of sets is never merged",
       {{"Games", {}}},
       {{0, 1, kFunctionMacro, "SetMacro", "Jump", 1, Events(1, 1)},
        {0, 2, kFunctionMacro, " setmacro\t", "Run", 1, Events(1, 1)},
        {0, 3, kFunctionMacro, "SetMacros", "Walk", 1, Events(1, 1)}},
       {{"Games", {}}, {"SetMacros", {{"Walk", 1, Events(1, 1)}}}}},
      {"buttons with other functions are skipped",
       {},
       {{0, 1, kFunctionKeyShortcut, "Games", "Jump", 1, Events(1, 1)},
        {0, 2, kFunctionQuicklaunch, "Games", "Run", 1, Events(1, 1)}},
       {}},
      {"the later profile wins for the same names",
       {},
       {{0, 13, kFunctionMacro, "Games", "Jump", 2, Events(3, 1)},
        {3, 0, kFunctionMacro, "Games", "Jump", 5, Events(6, 4)}},
       {{"Games", {{"Jump", 5, Events(6, 4)}}}}},
      {"several buttons fill several sets in profile and button order",
       {},
       {{0, 4, kFunctionMacro, "B", "second", 1, Events(1, 2)},
        {0, 1, kFunctionMacro, "A", "first", 1, Events(1, 1)},
        {4, 6, kFunctionMacro, "a", "third", 2, Events(500, 3)}},
       {{"A", {{"first", 1, Events(1, 1)}, {"third", 2, Events(500, 3)}}}, {"B", {{"second", 1, Events(1, 2)}}}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MacroStore store;
    Fill(store, c.before);
    store.MergeFromProfiles(*RecordWith(c.buttons));
    EXPECT_EQ(Contents(store), c.after);
  }
}

TEST(MacroStoreMerge, OutOfRangeCountsOfAnEntryAreBounded) {
  auto record = RecordWith({{0, 0, kFunctionMacro, "Set", "Macro", 0, {}}});
  MacroKeyInfo& entry = record->profiles[0].buttons[0];
  entry.eventCount = 60000;
  entry.repeatCount = 100000;
  MacroStore store;
  store.MergeFromProfiles(*record);
  ASSERT_NE(store.MacroAt(0, 0), nullptr);
  EXPECT_EQ(store.MacroAt(0, 0)->eventCount, kMaxMacroEvents);
  EXPECT_EQ(store.MacroAt(0, 0)->repeatCount, kMaxRepeatCount);
  EXPECT_EQ(std::memcmp(store.MacroAt(0, 0)->events, entry.events, sizeof entry.events), 0);
  // A second merge sees the same bounded macro and adds nothing.
  store.MergeFromProfiles(*record);
  EXPECT_EQ(store.Set(0)->macros.size(), 1u);
}

TEST(MacroStoreMerge, AddFromButtonEntryRefusesASetThatDoesNotExist) {
  auto record = RecordWith({{0, 0, kFunctionMacro, "Set", "Macro", 1, Events(2, 1)}});
  MacroStore store;
  Fill(store, {{"Only", {}}});
  EXPECT_FALSE(store.AddFromButtonEntry(record->profiles[0].buttons[0], 1));
  EXPECT_FALSE(store.AddFromButtonEntry(record->profiles[0].buttons[0], -2));
  EXPECT_TRUE(store.AddFromButtonEntry(record->profiles[0].buttons[0], 0));
  EXPECT_EQ(Contents(store), (std::vector<SetSpec>{{"Only", {{"Macro", 1, Events(2, 1)}}}}));

  // A new set may not take the name of the file's list of sets; an existing set takes the macro whatever
  // the entry's set name.
  auto listNamed = RecordWith({{0, 0, kFunctionMacro, " SETMACRO", "Macro", 1, Events(1, 3)}});
  EXPECT_FALSE(store.AddFromButtonEntry(listNamed->profiles[0].buttons[0], -1));
  EXPECT_TRUE(store.AddFromButtonEntry(listNamed->profiles[0].buttons[0], 0));
  EXPECT_EQ(store.SetCount(), 1);
  EXPECT_EQ(store.Set(0)->macros.size(), 2u);
}

// ---- Names ----

TEST(MacroStoreNames, CompareTrimmedAndCaseInsensitiveInAsciiOnly) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
    bool aStartsWithB;  // untrimmed
  };
  const Case cases[] = {
      {" World of WARCRAFT\t", "world of warcraft", true, false},
      {"World of WARCRAFT", "world", false, true},
      {"Xfire", "Xfire2", false, false},
      {"X fire", "Xfire", false, false},
      {"", "  ", true, false},
      {"alphabet", "ALPHA", false, true},
      {"anything", "", false, true},
      {"\xC4rger", "\xE4rger", false, false},  // Latin-1 letters: no case folding outside ASCII
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " / " + c.b);
    EXPECT_EQ(SameName(c.a, c.b), c.same);
    EXPECT_EQ(SameName(c.b, c.a), c.same);
    EXPECT_EQ(NameStartsWith(c.a, c.b), c.aStartsWithB);
  }
}

TEST(MacroStoreNames, NewSetNamesAreNeitherBlankNorTheListSection) {
  struct Case {
    const char* name;
    bool usable;
  };
  const Case cases[] = {{"SetMacro", false},  {" setmacro\t", false}, {"SETMACRO", false}, {"", false},
                        {" \t ", false},      {"SetMacros", true},    {"Set Macro", true}, {"Macro", true},
                        {"  Games ", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(UsableSetName(c.name), c.usable);
  }
}

TEST(MacroStoreNames, PresetSetsAreSetApartInMenus) {
  struct Case {
    const char* name;
    int index;
    int count;
    bool separator;
  };
  const Case cases[] = {
      {"World of Warcraft", 0, 3, true}, {" world of warcraft ", 2, 3, true}, {"Xfire", 1, 3, true},
      {"XFIRE", 2, 3, false},            {"Xfire", 0, 1, false},              {"Mine", 0, 3, false},
      {"World of Warcraft2", 0, 3, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.index) + " of " + std::to_string(c.count));
    EXPECT_EQ(SeparatorAfterSet(c.name, c.index, c.count), c.separator);
  }
}

// ---- The manager's edits ----

TEST(MacroStoreEdit, SetsAreLimitedAndNamedUniquely) {
  MacroStore store;
  for (int i = 0; i < kMaxMacroSets; ++i) ASSERT_EQ(store.AddSet("Set " + std::to_string(i)), i);
  EXPECT_EQ(store.AddSet("One more"), -1);
  EXPECT_EQ(store.SetCount(), kMaxMacroSets);

  ASSERT_TRUE(store.RemoveSet(0));
  EXPECT_EQ(store.Set(0)->name, "Set 1");
  struct Case {
    const char* name;
    int expected;
  };
  // "SetMacro" names the file's list of sets, whose section a set of that name would overwrite.
  const Case cases[] = {{"  set 5 ", -1},    {"SET 99", -1},        {"", -1},
                        {" \t ", -1},        {"SetMacro", -1},      {" setMACRO\t", -1},
                        {"  Fresh  ", kMaxMacroSets - 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(store.AddSet(c.name), c.expected);
  }
  EXPECT_EQ(store.Set(kMaxMacroSets - 1)->name, "Fresh");  // stored trimmed
  EXPECT_FALSE(store.RemoveSet(kMaxMacroSets));
  EXPECT_FALSE(store.RemoveSet(-1));
  EXPECT_EQ(store.Set(-1), nullptr);
  EXPECT_EQ(store.Set(kMaxMacroSets), nullptr);
}

TEST(MacroStoreEdit, MacrosAreLimitedAndNamedUniquelyWithinTheirSet) {
  MacroStore store;
  ASSERT_EQ(store.AddSet("A"), 0);
  ASSERT_EQ(store.AddSet("B"), 1);
  for (int i = 0; i < kMaxMacrosPerSet; ++i) ASSERT_EQ(store.AddMacro(0, "M" + std::to_string(i)), i);
  EXPECT_EQ(store.AddMacro(0, "One more"), -1);
  EXPECT_EQ(store.AddMacro(1, " m0 "), 0) << "names are unique per set only";
  EXPECT_EQ(store.AddMacro(1, "M0"), -1);
  EXPECT_EQ(store.AddMacro(1, ""), -1);
  EXPECT_EQ(store.AddMacro(2, "No set"), -1);

  const Macro* fresh = store.MacroAt(1, 0);
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(FieldText(fresh->name), "m0");
  EXPECT_EQ(fresh->repeatCount, 0);
  EXPECT_EQ(fresh->eventCount, 0);

  EXPECT_FALSE(store.RenameMacro(0, 3, " m7"));
  EXPECT_EQ(FieldText(store.MacroAt(0, 3)->name), "M3");
  EXPECT_TRUE(store.RenameMacro(0, 3, "m3 "));  // its own name in other case
  EXPECT_EQ(FieldText(store.MacroAt(0, 3)->name), "m3");
  EXPECT_TRUE(store.RenameMacro(0, 3, std::string(80, 'x')));
  EXPECT_EQ(FieldText(store.MacroAt(0, 3)->name), std::string(kMacroNameBytes - 1, 'x'));
  EXPECT_FALSE(store.RenameMacro(0, 3, "  "));

  ASSERT_TRUE(store.RemoveMacro(0, 0));
  EXPECT_EQ(FieldText(store.MacroAt(0, 0)->name), "M1");
  EXPECT_EQ(store.AddMacro(0, "Room again"), kMaxMacrosPerSet - 1);
  EXPECT_FALSE(store.RemoveMacro(0, kMaxMacrosPerSet));
  EXPECT_FALSE(store.RemoveMacro(5, 0));
  EXPECT_EQ(store.MacroAt(0, -1), nullptr);
  EXPECT_EQ(store.MacroAt(-1, 0), nullptr);

  store.Clear();
  EXPECT_EQ(store.SetCount(), 0);
  EXPECT_EQ(store.Set(0), nullptr);
}

}  // namespace
}  // namespace kavo::option
