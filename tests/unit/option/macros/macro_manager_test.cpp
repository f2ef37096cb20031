// The macro manager's decisions: the first selection, the set menu, adding and deleting sets and
// macros, renaming, the timeline's write-back before another macro shows, and how the dialog ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "option/macros/macro_manager.h"
#include "option/macros/macro_store.h"
#include "settings/bounded_text.h"

namespace kavo::option {
namespace {

class FakeStore : public MacroStorePort {
 public:
  std::vector<std::unique_ptr<MacroSet>> sets;
  std::vector<std::string> calls;  // Save, Clear, Load

  void Add(const std::string& name, std::vector<std::string> macros) {
    auto set = std::make_unique<MacroSet>();
    set->name = name;
    for (const std::string& macroName : macros) {
      auto macro = std::make_unique<Macro>();
      CopyBounded(macro->name, macroName);
      macro->repeatCount = 3;
      set->macros.push_back(std::move(macro));
    }
    sets.push_back(std::move(set));
  }
  std::vector<std::string> SetNames() const {
    std::vector<std::string> names;
    for (const auto& set : sets) names.push_back(set->name);
    return names;
  }
  std::vector<std::string> MacroNames(int set) const {
    std::vector<std::string> names;
    for (const auto& macro : sets[static_cast<std::size_t>(set)]->macros) names.push_back(FieldText(macro->name));
    return names;
  }

  int SetCount() const override { return static_cast<int>(sets.size()); }
  MacroSet* SetAt(int index) override {
    return index >= 0 && index < SetCount() ? sets[static_cast<std::size_t>(index)].get() : nullptr;
  }
  int FindSet(std::string_view name) const override {
    for (std::size_t i = 0; i < sets.size(); ++i) {
      if (SameName(sets[i]->name, name)) return static_cast<int>(i);
    }
    return -1;
  }
  void AppendSet(std::string_view name) override {
    sets.push_back(std::make_unique<MacroSet>());
    sets.back()->name = std::string(name);
  }
  void DeleteSet(int index) override { sets.erase(sets.begin() + index); }
  void Save() override { calls.push_back("Save"); }
  void Clear() override { calls.push_back("Clear"); }
  void Load() override { calls.push_back("Load"); }
};

class FakeDialogs : public MacroManagerDialogs {
 public:
  std::deque<std::optional<std::string>> names;
  bool confirm = true;
  std::vector<MacroQuestion> questions;
  std::vector<MacroNotice> notices;

  std::optional<std::string> AskSetName() override {
    if (names.empty()) return std::nullopt;
    auto name = names.front();
    names.pop_front();
    return name;
  }
  bool Confirm(MacroQuestion question) override {
    questions.push_back(question);
    return confirm;
  }
  void Notify(MacroNotice notice) override { notices.push_back(notice); }
};

// Notes every call as text, in order, so tests see what the window was told and when.
class RecordingView : public MacroManagerView {
 public:
  std::vector<std::string> log;
  std::string setName;
  std::vector<std::string> rows;
  int selectedRow = -2;

  void ShowSetName(const std::string& name) override { setName = name; }
  void ShowMacroNames(const std::vector<std::string>& names, int row) override {
    rows = names;
    selectedRow = row;
  }
  void SelectRow(int row) override {
    selectedRow = row;
    log.push_back("row " + std::to_string(row));
  }
  void BeginNewRow() override { log.push_back("new row"); }
  void SetRowText(int row, const std::string& text) override {
    log.push_back("text " + std::to_string(row) + " " + text);
  }
  void RemoveRow(int row) override { log.push_back("remove " + std::to_string(row)); }
  void ShowSelection(int set, int macro) override {
    log.push_back("show " + std::to_string(set) + "," + std::to_string(macro));
  }
  void WriteBackTimeline() override { log.push_back("write back"); }
  void ShowEditor(MacroEditorView view) override {
    log.push_back(view == MacroEditorView::kTimeline ? "timeline" : "list");
  }
};

MacroKeyInfo Slot(int function, const char* set, const char* macro) {
  MacroKeyInfo slot{};
  slot.function = static_cast<std::uint8_t>(function);
  CopyBounded(slot.macroSetName, set);
  CopyBounded(slot.macroName, macro);
  return slot;
}

struct Fixture {
  FakeStore store;
  FakeDialogs dialogs;
  RecordingView view;
  MacroKeyInfo slot{};
  std::unique_ptr<MacroManager> manager;

  MacroManager& Open(bool newMacroMode = false, int preselected = -1, bool* timer = nullptr) {
    manager = std::make_unique<MacroManager>(store, dialogs, view, slot, newMacroMode, preselected);
    const bool started = manager->Initialise();
    if (timer) *timer = started;
    view.log.clear();
    return *manager;
  }
};

// ---- first selection ----

struct OpenCase {
  const char* name;
  bool newMacroMode;
  int preselected;
  int function;
  const char* slotSet;
  const char* slotMacro;
  int set;
  int macro;
};

class ManagerOpenTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(ManagerOpenTest, ChoosesSetAndMacro) {
  const OpenCase& c = GetParam();
  Fixture f;
  f.store.Add("World of Warcraft", {"Pull", "Heal"});
  f.store.Add("Office", {"Alpha", "Beta", "alphabet"});
  f.store.Add("Empty", {});
  f.slot = Slot(c.function, c.slotSet, c.slotMacro);
  bool timer = true;
  MacroManager& manager = f.Open(c.newMacroMode, c.preselected, &timer);
  EXPECT_FALSE(timer);
  EXPECT_EQ(manager.selectedSet(), c.set);
  EXPECT_EQ(manager.selectedMacro(), c.macro);
  EXPECT_EQ(f.view.selectedRow, c.macro);
  EXPECT_EQ(f.view.setName, c.set >= 0 ? f.store.SetNames()[static_cast<std::size_t>(c.set)] : "");
  EXPECT_EQ(f.view.rows, c.set >= 0 ? f.store.MacroNames(c.set) : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ManagerOpenTest,
    ::testing::Values(
        OpenCase{"NewMacroModeSelectsNothing", true, 1, 48, "Office", "Beta", -1, -1},
        OpenCase{"SlotSetWinsOverPreselected", false, 0, 48, " office ", "Beta", 1, 1},
        OpenCase{"SlotSetFoundWithoutMacroFunction", false, 0, 5, "Office", "Beta", 1, 0},
        OpenCase{"UnknownSlotSetTakesPreselected", false, 0, 48, "Gone", "Beta", 0, 0},
        OpenCase{"PreselectedOutOfRange", false, 7, 0, "", "", -1, -1},
        OpenCase{"NoPreselection", false, -1, 0, "", "", -1, -1},
        // The list's prefix search starts after the first row: "alpha" finds "alphabet" before "Alpha".
        OpenCase{"PrefixSearchStartsAfterFirstRow", false, -1, 48, "Office", "ALPHA", 1, 2},
        OpenCase{"MacroNotInSetSelectsFirst", false, -1, 48, "Office", "Gamma", 1, 0},
        OpenCase{"SetWithoutMacros", false, -1, 48, "Empty", "x", 2, -1}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(ManagerOpen, PrefixSearchReachesTheFirstRowLast) {
  Fixture f;
  f.store.Add("Office", {"Gamma", "Beta", "Alpha"});
  f.slot = Slot(48, "Office", "gam");
  MacroManager& manager = f.Open();
  EXPECT_EQ(manager.selectedMacro(), 0);
  f.slot = Slot(48, "Office", "al");
  EXPECT_EQ(f.Open().selectedMacro(), 2);
}

TEST(ManagerOpen, EmptyLibraryAsksForAFirstSetAndCancelLeavesNone) {
  Fixture f;
  bool timer = false;
  MacroManager& manager = f.Open(false, 3, &timer);
  EXPECT_TRUE(timer);
  EXPECT_EQ(manager.selectedSet(), -1);
  manager.OnFirstSetTimer();  // the user cancels the set name dialog
  EXPECT_EQ(manager.selectedSet(), -1);
  EXPECT_EQ(f.store.SetCount(), 0);

  f.dialogs.names.push_back("Games");
  manager.OnFirstSetTimer();
  EXPECT_EQ(f.store.SetNames(), std::vector<std::string>{"Games"});
  EXPECT_EQ(manager.selectedSet(), 0);
  EXPECT_EQ(manager.selectedMacro(), -1);
  EXPECT_EQ(f.view.log, std::vector<std::string>{"show 0,-1"});
}

// ---- set menu ----

std::string Describe(const std::vector<MacroSetMenuEntry>& menu) {
  std::string text;
  for (const auto& entry : menu) {
    if (entry.separator) {
      text += "|-";
    } else {
      text += "|" + std::to_string(entry.id) + " " + entry.text + (entry.highlighted ? "*" : "");
    }
  }
  return text;
}

TEST(ManagerSetMenu, PresetSetsAreSetApartAndTheSlotSetHighlighted) {
  Fixture f;
  f.store.Add("World of Warcraft", {});
  f.store.Add("Xfire", {});
  f.store.Add("Mine", {});
  f.slot = Slot(48, "MINE ", "x");
  MacroManager& manager = f.Open();
  EXPECT_EQ(Describe(manager.SetMenu()),
            "|2000 World of Warcraft|-|2001 Xfire|-|2002 Mine*|-|2998 [+]Add Macro Set|2999 [x]Delete Macro Set");

  f.slot = Slot(15, "Mine", "x");  // not a macro: nothing highlighted
  EXPECT_EQ(Describe(manager.SetMenu()),
            "|2000 World of Warcraft|-|2001 Xfire|-|2002 Mine|-|2998 [+]Add Macro Set|2999 [x]Delete Macro Set");
}

TEST(ManagerSetMenu, XfireAsLastSetGetsOnlyTheClosingSeparator) {
  Fixture f;
  f.store.Add("Mine", {});
  f.store.Add("xfire", {});
  EXPECT_EQ(Describe(f.Open().SetMenu()), "|2000 Mine|2001 xfire|-|2998 [+]Add Macro Set|2999 [x]Delete Macro Set");
}

TEST(ManagerSetMenu, CommandsSelectAddAndDelete) {
  Fixture f;
  f.store.Add("One", {"a"});
  f.store.Add("Two", {"b", "c"});
  MacroManager& manager = f.Open(true);
  manager.OnSetMenuCommand(2001);
  EXPECT_EQ(manager.selectedSet(), 1);
  EXPECT_EQ(f.view.rows, (std::vector<std::string>{"b", "c"}));
  manager.OnSetMenuCommand(2002);  // no such set
  EXPECT_EQ(manager.selectedSet(), 1);
  f.dialogs.names.push_back("Three");
  manager.OnSetMenuCommand(kAddMacroSetCommand);
  EXPECT_EQ(manager.selectedSet(), 2);
  manager.OnSetMenuCommand(kDeleteMacroSetCommand);
  EXPECT_EQ(f.store.SetNames(), (std::vector<std::string>{"One", "Two"}));
  EXPECT_EQ(manager.selectedSet(), 1);
}

// ---- sets ----

struct AddSetCase {
  const char* name;
  std::optional<std::string> answer;
  int existing;  // sets in the library before, named Set0, Set1, ...
  std::vector<std::string> added;  // names of the sets after the existing ones
  int selected;
};

class ManagerAddSetTest : public ::testing::TestWithParam<AddSetCase> {};

TEST_P(ManagerAddSetTest, AddsOnlyNewNamesBelowTheLimit) {
  const AddSetCase& c = GetParam();
  Fixture f;
  for (int i = 0; i < c.existing; ++i) f.store.Add("Set" + std::to_string(i), {});
  MacroManager& manager = f.Open(false, 0);
  f.dialogs.names.push_back(c.answer);
  manager.AddSet();
  std::vector<std::string> names = f.store.SetNames();
  names.erase(names.begin(), names.begin() + c.existing);
  EXPECT_EQ(names, c.added);
  EXPECT_EQ(manager.selectedSet(), c.selected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ManagerAddSetTest,
    ::testing::Values(AddSetCase{"Cancelled", std::nullopt, 2, {}, 0},
                      AddSetCase{"TrimmedAndSelected", std::string("  Racing\t"), 2, {"Racing"}, 2},
                      AddSetCase{"DuplicateInOtherCase", std::string("SET1"), 2, {}, 0},
                      AddSetCase{"NameOfTheFilesSetList", std::string(" setmacro "), 2, {}, 0},
                      AddSetCase{"NearTheFilesSetList", std::string("SetMacros"), 2, {"SetMacros"}, 2},
                      AddSetCase{"OnlyBlanks", std::string("   "), 2, {}, 0},
                      AddSetCase{"FullLibrary", std::string("Racing"), 100, {}, 0},
                      AddSetCase{"LastPlace", std::string("Racing"), 99, {"Racing"}, 99}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(ManagerDeleteSet, SelectionStaysInRangeAndEmptyLibraryHasNone) {
  Fixture f;
  f.store.Add("One", {"a"});
  f.store.Add("Two", {"b"});
  f.store.Add("Three", {"c"});
  MacroManager& manager = f.Open(false, 2);

  f.dialogs.confirm = false;
  manager.DeleteSet();
  EXPECT_EQ(f.store.SetCount(), 3);
  EXPECT_EQ(f.dialogs.questions, std::vector<MacroQuestion>{MacroQuestion::kDeleteSet});

  f.dialogs.confirm = true;
  manager.DeleteSet();  // the last set: the one before it becomes selected
  EXPECT_EQ(f.store.SetNames(), (std::vector<std::string>{"One", "Two"}));
  EXPECT_EQ(manager.selectedSet(), 1);
  EXPECT_EQ(f.view.rows, std::vector<std::string>{"b"});

  manager.SelectSet(0);
  manager.DeleteSet();  // the first set: the next one moves into its place
  EXPECT_EQ(manager.selectedSet(), 0);
  EXPECT_EQ(f.view.setName, "Two");

  manager.DeleteSet();
  EXPECT_EQ(f.store.SetCount(), 0);
  EXPECT_EQ(manager.selectedSet(), -1);
  EXPECT_EQ(manager.selectedMacro(), -1);
  EXPECT_TRUE(f.view.rows.empty());
  EXPECT_EQ(f.view.setName, "");
  EXPECT_EQ(f.view.log.back(), "show -1,-1");

  manager.DeleteSet();  // nothing selected: a notice, no question
  EXPECT_EQ(f.dialogs.notices, std::vector<MacroNotice>{MacroNotice::kNoSet});
  EXPECT_EQ(f.dialogs.questions.size(), 4u);
}

// ---- macros ----

TEST(ManagerNewMacro, NeedsASetAndRoomInTheList) {
  Fixture f;
  std::vector<std::string> hundred;
  for (int i = 0; i < kMaxMacrosPerSet; ++i) hundred.push_back("m" + std::to_string(i));
  f.store.Add("Full", hundred);
  f.store.Add("Small", {"a"});
  MacroManager& manager = f.Open(true);

  manager.NewMacro();
  EXPECT_EQ(f.dialogs.notices, std::vector<MacroNotice>{MacroNotice::kNoSet});
  EXPECT_TRUE(f.view.log.empty());

  manager.SelectSet(0);
  f.view.log.clear();
  manager.NewMacro();
  EXPECT_TRUE(f.view.log.empty());

  manager.SelectSet(1);
  f.view.log.clear();
  manager.NewMacro();
  EXPECT_EQ(f.view.log, std::vector<std::string>{"new row"});
}

TEST(ManagerNewMacro, NamedRowAppendsAZeroFilledMacroAndSelectsIt) {
  Fixture f;
  f.store.Add("Office", {"Alpha", "Beta"});
  MacroManager& manager = f.Open(false, 0);
  manager.NewMacro();
  manager.OnNewRowNamed(2, "Gamma");
  EXPECT_EQ(f.store.MacroNames(0), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
  const Macro& added = *f.store.sets[0]->macros[2];
  EXPECT_EQ(added.repeatCount, 0);
  EXPECT_EQ(added.eventCount, 0);
  Macro expected{};
  CopyBounded(expected.name, "Gamma");
  EXPECT_EQ(std::memcmp(&added, &expected, sizeof(Macro)), 0);
  EXPECT_EQ(manager.selectedMacro(), 2);
  EXPECT_EQ(f.view.log, (std::vector<std::string>{"new row", "show 0,2"}));
}

TEST(ManagerNewMacro, DuplicateNameRemovesTheRowAndKeepsTheSelection) {
  Fixture f;
  f.store.Add("Office", {"Alpha", "Beta"});
  MacroManager& manager = f.Open(false, 0);
  manager.OnListSelection(1);
  manager.NewMacro();
  f.view.log.clear();
  manager.OnNewRowNamed(2, " beta");
  EXPECT_EQ(f.store.MacroNames(0), (std::vector<std::string>{"Alpha", "Beta"}));
  EXPECT_EQ(manager.selectedMacro(), 1);
  EXPECT_EQ(f.view.log, (std::vector<std::string>{"remove 2", "show 0,1", "row 1"}));
}

struct RenameCase {
  const char* name;
  int row;
  const char* text;
  std::vector<std::string> after;
  std::vector<std::string> log;
};

class ManagerRenameTest : public ::testing::TestWithParam<RenameCase> {};

TEST_P(ManagerRenameTest, RenamesUnlessAnotherRowHasTheName) {
  const RenameCase& c = GetParam();
  Fixture f;
  f.store.Add("Office", {"Alpha", "Beta", "Gamma"});
  MacroManager& manager = f.Open(false, 0);
  manager.OnListSelection(2);
  f.view.log.clear();
  manager.OnRowRenamed(c.row, c.text);
  EXPECT_EQ(f.store.MacroNames(0), c.after);
  EXPECT_EQ(f.view.log, c.log);
  EXPECT_EQ(manager.selectedMacro(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ManagerRenameTest,
    ::testing::Values(RenameCase{"NewName", 1, "Delta", {"Alpha", "Delta", "Gamma"}, {}},
                      RenameCase{"OwnNameInOtherCase", 1, "BETA", {"Alpha", "BETA", "Gamma"}, {}},
                      RenameCase{"OtherRowsName", 1, "alpha", {"Alpha", "Beta", "Gamma"}, {"text 1 Beta", "row 2"}},
                      RenameCase{"RowOutOfRange", 3, "Delta", {"Alpha", "Beta", "Gamma"}, {}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(ManagerRename, LongNameIsCutToTheRecord) {
  Fixture f;
  f.store.Add("Office", {"Alpha"});
  MacroManager& manager = f.Open(false, 0);
  manager.OnRowRenamed(0, std::string(80, 'x'));
  EXPECT_EQ(f.store.MacroNames(0), std::vector<std::string>{std::string(kMacroNameBytes - 1, 'x')});
}

TEST(ManagerDeleteMacro, AsksAndKeepsTheSelectionInTheList) {
  Fixture f;
  f.store.Add("Office", {"Alpha", "Beta"});
  f.store.Add("Empty", {});
  MacroManager& manager = f.Open(false, 0);
  manager.OnListSelection(1);

  f.dialogs.confirm = false;
  manager.DeleteMacro();
  EXPECT_EQ(f.store.MacroNames(0).size(), 2u);

  f.dialogs.confirm = true;
  f.view.log.clear();
  manager.DeleteMacro();
  EXPECT_EQ(f.store.MacroNames(0), std::vector<std::string>{"Alpha"});
  EXPECT_EQ(manager.selectedMacro(), 0);
  EXPECT_EQ(f.view.rows, std::vector<std::string>{"Alpha"});
  EXPECT_EQ(f.view.log, std::vector<std::string>{"show 0,0"});

  manager.DeleteMacro();
  EXPECT_EQ(manager.selectedMacro(), -1);
  EXPECT_TRUE(f.view.rows.empty());
  EXPECT_EQ(f.dialogs.questions.size(), 3u);

  manager.DeleteMacro();  // no row left
  manager.SelectSet(1);
  manager.DeleteMacro();
  EXPECT_EQ(f.dialogs.notices, (std::vector<MacroNotice>{MacroNotice::kNoSelection, MacroNotice::kNoSelection}));
  EXPECT_EQ(f.dialogs.questions.size(), 3u);
}

// ---- editor views and ending ----

TEST(ManagerEditors, TimelineWritesBackBeforeAnotherMacroShows) {
  Fixture f;
  f.store.Add("Office", {"Alpha", "Beta"});
  f.store.Add("Games", {"Jump"});
  MacroManager& manager = f.Open(false, 0);

  manager.OnListSelection(1);  // the list editor keeps its changes itself
  EXPECT_EQ(f.view.log, std::vector<std::string>{"show 0,1"});

  f.view.log.clear();
  manager.SwitchEditor();
  EXPECT_EQ(manager.editor(), MacroEditorView::kTimeline);
  EXPECT_EQ(f.view.log, (std::vector<std::string>{"timeline", "show 0,1"}));

  f.view.log.clear();
  manager.OnListSelection(0);
  manager.OnSetMenuCommand(2001);
  manager.SwitchEditor();
  EXPECT_EQ(f.view.log, (std::vector<std::string>{"write back", "show 0,0", "write back", "show 1,0", "write back",
                                                  "list", "show 1,0"}));
  EXPECT_EQ(manager.editor(), MacroEditorView::kList);
}

TEST(ManagerEditors, DeletingUnderTheTimelineWritesNothingBack) {
  Fixture f;
  f.store.Add("Office", {"Alpha", "Beta"});
  MacroManager& manager = f.Open(false, 0);
  manager.SwitchEditor();
  f.view.log.clear();
  manager.DeleteMacro();
  manager.DeleteSet();
  EXPECT_EQ(std::count(f.view.log.begin(), f.view.log.end(), "write back"), 0);
}

TEST(ManagerEnd, OkWritesTheTimelineBackAndSavesCancelReloads) {
  Fixture f;
  f.store.Add("Office", {"Alpha"});
  MacroManager& manager = f.Open(false, 0);
  EXPECT_EQ(manager.OnOk(), kMacroManagerOk);
  EXPECT_TRUE(f.view.log.empty());
  manager.SwitchEditor();
  f.view.log.clear();
  EXPECT_EQ(manager.OnOk(), 1);
  EXPECT_EQ(f.view.log, std::vector<std::string>{"write back"});
  EXPECT_EQ(manager.OnCancel(), 2);

  FinishMacroManager(kMacroManagerOk, f.store);
  EXPECT_EQ(f.store.calls, std::vector<std::string>{"Save"});
  f.store.calls.clear();
  FinishMacroManager(kMacroManagerCancel, f.store);
  EXPECT_EQ(f.store.calls, (std::vector<std::string>{"Clear", "Load"}));
}

TEST(MacroNames, CompareTrimmedAndCaseInsensitive) {
  EXPECT_TRUE(SameName(" World of WARCRAFT\t", "world of warcraft"));
  EXPECT_FALSE(SameName("Xfire", "Xfire2"));
  EXPECT_FALSE(SameName("X fire", "Xfire"));
  EXPECT_TRUE(SameName("", "  "));
}

}  // namespace
}  // namespace kavo::option
