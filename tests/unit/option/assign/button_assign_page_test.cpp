// The button assignment page over a working record: which slots open a menu, what each command writes into
// the slot after its dialog, the change flags, the Altlayer layer seen through the labels, the macro
// manager's save or reload, the orientation and the hover picture.
#include "option/assign/button_assign_page.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/bounded_text.h"
#include "option/macros/macro_manager.h"
#include "option/macros/macro_merge_gate.h"
#include "tests/support/fake_keyboard_layouts.h"
#include "tests/support/macro_event_printing.h"
#include "tests/unit/option/assign/button_assign_test_support.h"

namespace kavo::option {
namespace {

constexpr int kProfile = 2;
constexpr std::uint8_t kKeyA = 4, kKeyF5 = 62;

class FakeDialogs final : public ButtonAssignDialogs {
 public:
  std::optional<ShortcutChoice> AskShortcut(std::uint8_t keyCode, std::uint8_t mask) override {
    shortcutAsked.push_back({keyCode, mask});
    WhileOpen();
    return shortcut;
  }
  std::optional<std::string> AskProgramPath(const std::string& initialPath) override {
    pathAsked.push_back(initialPath);
    WhileOpen();
    return path;
  }
  int RunMacroManager(const MacroKeyInfo& scratch, bool newMacroMode, int preselectedSet) override {
    managerRuns.push_back({FieldText(scratch.macroName), newMacroMode, preselectedSet});
    if (duringManager) duringManager();
    return managerEnd;
  }
  std::optional<int> AskMediaPlayer(int current) override {
    playerAsked.push_back(current);
    WhileOpen();
    return player;
  }
  // What the program's other messages do while a dialog runs its own message loop.
  void WhileOpen() {
    if (whileOpen) whileOpen();
  }
  std::function<void()> whileOpen;

  struct ManagerRun {
    std::string scratchMacro;
    bool newMacroMode;
    int preselectedSet;
  };
  std::optional<ShortcutChoice> shortcut;
  std::optional<std::string> path;
  int managerEnd = 2;
  std::function<void()> duringManager;  // what the user does in the manager before it ends
  std::optional<int> player;
  std::vector<ShortcutChoice> shortcutAsked;
  std::vector<std::string> pathAsked;
  std::vector<ManagerRun> managerRuns;
  std::vector<int> playerAsked;
};

class ButtonAssignPageTest : public ::testing::Test {
 protected:
  ButtonAssignPageTest() : record_(std::make_unique<SettingsRecord>()) {
    ClearRecord(*record_);
    ResetToDefaults(*record_, 0);
    record_->CurrentProfile = kProfile;
    store_.AddSet("World of Warcraft", {"Heal", "Buff"});
    store_.AddSet("Raid", {"Pull", "Long name"});
    Macro& pull = *store_.store.MacroAt(1, 0);
    pull.repeatCount = 7;
    pull.eventCount = 2;
    pull.events[0] = {kKeyA, kMacroPress, 30};
    pull.events[1] = {kKeyA, kMacroRelease, 40};
    pull.events[kMaxMacroEvents - 1] = {99, 1, 1};  // stale beyond the count, copied all the same
    page_.Refresh();
  }

  ProfileRecord& Profile() { return record_->profiles[kProfile]; }
  MacroKeyInfo& Slot(int slot) { return Profile().buttons[slot]; }
  // The menu of slot, then command.
  void Choose(int slot, int command) {
    ASSERT_FALSE(page_.OpenMenu(slot).empty()) << "slot " << slot;
    page_.OnCommand(command);
  }
  std::vector<int> ChangedSlots() const {
    std::vector<int> slots;
    for (int slot = 0; slot < kButtonSlotCount; ++slot) {
      if (record_->ButtonChanged[kProfile][slot] != 0) slots.push_back(slot);
    }
    return slots;
  }
  bool OtherProfilesUnflagged() const {
    for (int p = 0; p < kProfileCount; ++p) {
      for (int slot = 0; slot < kButtonSlotCount; ++slot) {
        if (p != kProfile && record_->ButtonChanged[p][slot] != 0) return false;
      }
    }
    return true;
  }
  std::string Label(int slot) const { return page_.View().slots[static_cast<std::size_t>(slot)].label; }
  void GiveMacro(int slot) {
    MacroKeyInfo& entry = Slot(slot);
    entry.function = kFunctionMacro;
    CopyBounded(entry.macroSetName, "Raid");
    CopyBounded(entry.macroName, "Pull");
    CopyBounded(entry.programPath, "C:\\keep.exe");
    entry.repeatCount = 3;
    entry.eventCount = 2;
    entry.events[0] = {kKeyA, kMacroPress, 5};
    entry.events[1] = {kKeyA, kMacroRelease, 5};
  }

  std::unique_ptr<SettingsRecord> record_;
  test::FakeKeyboardLayout layout_ = test::UsLayout();
  test::CountingStorePort store_;
  FakeDialogs dialogs_;
  ButtonAssignPage page_{*record_, layout_, store_, dialogs_};
};

TEST_F(ButtonAssignPageTest, RefreshShowsTheEditedProfile) {
  const char* labels[] = {"Click", "Menu", "Universal scrolling", "Altlayer[+]", "Disabled", "Scroll Up",
                          "Scroll Down", "IE Backward", "IE Forward", "Windows Mute", "Disabled",
                          "Disabled", "Windows Volume Up", "Windows Volume Down"};
  for (int slot = 0; slot < kButtonSlotCount; ++slot) {
    EXPECT_EQ(Label(slot), labels[slot]) << slot;
    EXPECT_EQ(page_.View().slots[static_cast<std::size_t>(slot)].active, slot >= 2 && slot != 10) << slot;
  }
  // Another profile's entry shows after a switch and a refresh.
  record_->profiles[4].buttons[5].function = 36;
  record_->CurrentProfile = 4;
  page_.Refresh();
  EXPECT_EQ(Label(5), "Stop");
}

TEST_F(ButtonAssignPageTest, OnlySlotsFromTheWheelOnWithAFunctionOpenAMenu) {
  for (int slot = -1; slot <= kButtonSlotCount; ++slot) {
    const bool expected = slot >= 2 && slot < kButtonSlotCount && slot != 10;
    EXPECT_EQ(page_.HasMenu(slot), expected) << slot;
    EXPECT_EQ(page_.OpenMenu(slot).empty(), !expected) << slot;
  }
  // A slot without a menu is not the target of the next command.
  page_.OpenMenu(5);
  page_.OpenMenu(1);
  page_.OnCommand(1036);
  EXPECT_EQ(Slot(1).function, 2);
  EXPECT_EQ(Slot(5).function, 36);
}

TEST_F(ButtonAssignPageTest, FunctionCommandsSetCodeAndFlagOnlyTheirSlot) {
  struct Case { int slot; int command; int code; const char* label; };
  const Case cases[] = {
      {2, 1001, 1, "Click"}, {5, 1004, 4, "Double-click"}, {6, 1010, 10, "Tilt Right"},
      {7, 1014, 14, "Scroll Down"}, {8, 1017, 17, "Profile Up"}, {9, 1022, 22, "DPI Down"},
      {12, 1033, 33, "Previous Track"}, {13, 1039, 39, "Windows Volume Down"},
      {4, 1027, 68, "Dualwheel DPI"}, {2, 1003, 3, "Universal scrolling"},  // the same code again
  };
  for (const Case& c : cases) {
    std::memset(record_->ButtonChanged, 0, sizeof(record_->ButtonChanged));
    Choose(c.slot, c.command);
    EXPECT_EQ(Slot(c.slot).function, c.code) << c.command;
    EXPECT_EQ(Label(c.slot), c.label) << c.command;
    EXPECT_EQ(ChangedSlots(), std::vector<int>{c.slot}) << c.command;
    EXPECT_TRUE(OtherProfilesUnflagged());
  }
}

TEST_F(ButtonAssignPageTest, StopOnAMacroSlotClearsTheMacroButNotTheProgramPath) {
  GiveMacro(5);
  Choose(5, 1036);
  const MacroKeyInfo& entry = Slot(5);
  EXPECT_EQ(entry.function, 36);
  EXPECT_EQ(FieldText(entry.macroSetName), "");
  EXPECT_EQ(FieldText(entry.macroName), "");
  EXPECT_EQ(entry.repeatCount, 0);
  EXPECT_EQ(entry.eventCount, 0);
  const MacroKeyInfo zero{};
  EXPECT_EQ(std::memcmp(entry.events, zero.events, sizeof(zero.events)), 0);
  EXPECT_EQ(FieldText(entry.programPath), "C:\\keep.exe");
  EXPECT_EQ(entry.slot, 5);
  EXPECT_EQ(Label(5), "Stop");
}

TEST_F(ButtonAssignPageTest, MacroCommandCopiesTheMacroAndItsSet) {
  Choose(6, 1200);  // set 1, macro 0
  const MacroKeyInfo& entry = Slot(6);
  const Macro& pull = *store_.store.MacroAt(1, 0);
  EXPECT_EQ(entry.function, kFunctionMacro);
  EXPECT_EQ(FieldText(entry.macroSetName), "Raid");
  EXPECT_EQ(FieldText(entry.macroName), "Pull");
  EXPECT_EQ(entry.repeatCount, 7);
  EXPECT_EQ(entry.eventCount, 2);
  EXPECT_EQ(std::memcmp(entry.events, pull.events, sizeof(entry.events)), 0);
  EXPECT_EQ(Label(6), "Pull");
  EXPECT_EQ(ChangedSlots(), std::vector<int>{6});

  // A second macro replaces the first one's names whole.
  Choose(6, 1101);
  EXPECT_EQ(FieldText(Slot(6).macroSetName), "World of Warcraft");
  EXPECT_EQ(FieldText(Slot(6).macroName), "Buff");
  EXPECT_EQ(Slot(6).eventCount, 0);
  EXPECT_EQ(Slot(6).events[0].key, 0);
}

TEST_F(ButtonAssignPageTest, MacroNamesAreCutToTheirFields) {
  const int set = store_.AddSet(std::string(120, 's'), {std::string(51, 'm')});
  Choose(5, 1100 + 100 * set);
  EXPECT_EQ(FieldText(Slot(5).macroSetName), std::string(49, 's'));
  EXPECT_EQ(FieldText(Slot(5).macroName), std::string(49, 'm'));
}

TEST_F(ButtonAssignPageTest, MacroCommandForAMacroNotInTheStoreChangesNothing) {
  GiveMacro(5);
  const MacroKeyInfo before = Slot(5);
  for (int command : {1102, 1400, 11099}) {
    Choose(5, command);
    EXPECT_EQ(std::memcmp(&Slot(5), &before, sizeof(before)), 0) << command;
  }
  EXPECT_TRUE(ChangedSlots().empty());
}

TEST_F(ButtonAssignPageTest, ShortcutStartsFromTheSlotAndOkStoresIt) {
  GiveMacro(5);
  Slot(5).function = kFunctionKeyShortcut;
  Slot(5).events[0] = {kKeyF5, 0x08, 0};
  dialogs_.shortcut = ShortcutChoice{kKeyA, 0x06};
  Choose(5, 1005);
  ASSERT_EQ(dialogs_.shortcutAsked.size(), 1u);
  EXPECT_EQ(dialogs_.shortcutAsked[0].keyCode, kKeyF5);
  EXPECT_EQ(dialogs_.shortcutAsked[0].mask, 0x08);

  const MacroKeyInfo& entry = Slot(5);
  EXPECT_EQ(entry.function, kFunctionKeyShortcut);
  EXPECT_EQ(entry.eventCount, 1);
  EXPECT_EQ(entry.events[0].key, kKeyA);
  EXPECT_EQ(entry.events[0].action, 0x06);
  EXPECT_EQ(FieldText(entry.macroSetName), "");
  EXPECT_EQ(FieldText(entry.macroName), "");
  EXPECT_EQ(Label(5), "Ctrl+Shift+A");
  EXPECT_EQ(ChangedSlots(), std::vector<int>{5});
}

TEST_F(ButtonAssignPageTest, CancelledDialogsLeaveTheSlotAndItsFlagAlone) {
  GiveMacro(5);
  page_.Refresh();
  const MacroKeyInfo before = Slot(5);
  for (int command : {1005, 1015, 1040}) {
    Choose(5, command);
    EXPECT_EQ(std::memcmp(&Slot(5), &before, sizeof(before)), 0) << command;
  }
  EXPECT_EQ(Profile().MediaOption, 0);
  EXPECT_TRUE(ChangedSlots().empty());
  EXPECT_EQ(Label(5), "Pull");
}

TEST_F(ButtonAssignPageTest, QuicklaunchStartsFromTheSlotsOwnProgramOnly) {
  GiveMacro(5);  // a path left over from earlier is not offered for a macro slot
  dialogs_.path = "C:\\Games\\Quake\\quake.exe";
  Choose(5, 1015);
  dialogs_.path = "D:\\other.exe";
  Choose(5, 1015);
  EXPECT_EQ(dialogs_.pathAsked, (std::vector<std::string>{"", "C:\\Games\\Quake\\quake.exe"}));

  const MacroKeyInfo& entry = Slot(5);
  EXPECT_EQ(entry.function, kFunctionQuicklaunch);
  EXPECT_EQ(FieldText(entry.programPath), "D:\\other.exe");
  EXPECT_EQ(FieldText(entry.macroName), "");
  EXPECT_EQ(entry.eventCount, 0);
  EXPECT_EQ(Label(5), "other.exe");
  EXPECT_EQ(page_.View().slots[5].tooltip, "D:\\other.exe");
  EXPECT_EQ(page_.View().slots[6].tooltip, "");
}

TEST_F(ButtonAssignPageTest, OverlongProgramPathIsCutAndTerminated) {
  dialogs_.path = std::string(400, 'p');
  Choose(5, 1015);
  EXPECT_EQ(FieldText(Slot(5).programPath), std::string(261, 'p'));
}

TEST_F(ButtonAssignPageTest, MacroManagerSavesOnOkAndReloadsOtherwiseWithoutTouchingTheSlot) {
  GiveMacro(6);
  const MacroKeyInfo before = Slot(6);
  struct Case { int command; int end; bool newMode; int set; int saves; int reloads; };
  const Case cases[] = {
      {1030, 1, true, -1, 1, 0}, {1030, 2, true, -1, 1, 1},
      {11101, 1, false, 1, 2, 1}, {11100, 2, false, 0, 2, 2},
  };
  for (const Case& c : cases) {
    dialogs_.managerEnd = c.end;
    Choose(6, c.command);
    ASSERT_FALSE(dialogs_.managerRuns.empty());
    EXPECT_EQ(dialogs_.managerRuns.back().scratchMacro, "Pull") << c.command;
    EXPECT_EQ(dialogs_.managerRuns.back().newMacroMode, c.newMode) << c.command;
    EXPECT_EQ(dialogs_.managerRuns.back().preselectedSet, c.set) << c.command;
    EXPECT_EQ(store_.saves, c.saves) << c.command;
    EXPECT_EQ(store_.clears, c.reloads) << c.command;
    EXPECT_EQ(store_.loads, c.reloads) << c.command;
  }
  EXPECT_EQ(std::memcmp(&Slot(6), &before, sizeof(before)), 0);
  EXPECT_TRUE(ChangedSlots().empty());

  // The page's own button: new-macro mode, no set.
  dialogs_.managerEnd = 1;
  page_.OnMacroManager();
  EXPECT_TRUE(dialogs_.managerRuns.back().newMacroMode);
  EXPECT_EQ(dialogs_.managerRuns.back().preselectedSet, -1);
  EXPECT_EQ(store_.saves, 3);
}

// Buttons in several profiles carry library macros; the user edits "Raid"/"Pull" in the manager.
class MacroEditReachesButtonsTest : public ButtonAssignPageTest {
 protected:
  MacroEditReachesButtonsTest() {
    GiveMacro(6);                            // the edited profile
    record_->profiles[0].buttons[9] = Slot(6);
    // Names as another version of the program may have spelt them: the same macro all the same.
    CopyBounded(record_->profiles[0].buttons[9].macroSetName, " raid");
    CopyBounded(record_->profiles[0].buttons[9].macroName, "PULL ");
    record_->profiles[4].buttons[7] = Slot(6);
    CopyBounded(record_->profiles[4].buttons[7].macroName, "Long name");  // a macro not edited
    untouched_ = record_->profiles[4].buttons[7];
  }

  void EditPull() {
    Macro& pull = *store_.store.MacroAt(1, 0);
    pull.repeatCount = 9;
    pull.eventCount = 3;
    pull.events[0] = {kKeyF5, kMacroPress, 11};
    pull.events[1] = {kKeyF5, kMacroRelease, 12};
    pull.events[2] = {kKeyA, kMacroPress, 0};
  }

  static bool CarriesEditedPull(const MacroKeyInfo& entry) {
    const std::vector<MacroEvent> events(entry.events, entry.events + entry.eventCount);
    return entry.repeatCount == 9 &&
           events == (std::vector<MacroEvent>{{kKeyF5, kMacroPress, 11}, {kKeyF5, kMacroRelease, 12},
                                              {kKeyA, kMacroPress, 0}});
  }

  std::vector<std::pair<int, int>> FlaggedButtons() const {
    std::vector<std::pair<int, int>> flagged;
    for (int p = 0; p < kProfileCount; ++p) {
      for (int slot = 0; slot < kButtonSlotCount; ++slot) {
        if (record_->ButtonChanged[p][slot] != 0) flagged.emplace_back(p, slot);
      }
    }
    return flagged;
  }

  MacroKeyInfo untouched_{};
};

TEST_F(MacroEditReachesButtonsTest, OkGivesEveryButtonCarryingTheMacroTheNewEventsAndFlagsIt) {
  dialogs_.managerEnd = kMacroManagerOk;
  dialogs_.duringManager = [this] { EditPull(); };
  Choose(6, 11101);  // Edit Macro... in "Raid"
  EXPECT_TRUE(CarriesEditedPull(Slot(6)));
  EXPECT_TRUE(CarriesEditedPull(record_->profiles[0].buttons[9]));
  EXPECT_EQ(FlaggedButtons(), (std::vector<std::pair<int, int>>{{0, 9}, {kProfile, 6}}));
  // What identifies the button and what the macro does not carry stay as they were.
  EXPECT_EQ(FieldText(record_->profiles[0].buttons[9].macroName), "PULL ");
  EXPECT_EQ(FieldText(Slot(6).programPath), "C:\\keep.exe");
  EXPECT_EQ(std::memcmp(&record_->profiles[4].buttons[7], &untouched_, sizeof(untouched_)), 0);
  EXPECT_EQ(store_.saves, 1);
  // The next start's merge from the profiles finds the library's macro equal to each button's copy.
  for (const MacroKeyInfo* entry : {&Slot(6), &record_->profiles[0].buttons[9]}) {
    const MacroMatch match = store_.store.FindByNames(FieldText(entry->macroSetName), FieldText(entry->macroName),
                                                      entry->events, entry->eventCount);
    EXPECT_EQ(match.macroIndex, 0);
    EXPECT_TRUE(match.equal);
  }
}

TEST_F(MacroEditReachesButtonsTest, CancelOrAnOkWithoutEditsLeavesTheButtons) {
  // The buttons' copies differ from the library already; only an edit in the manager replaces them.
  struct Case { int end; bool edit; };
  for (const Case c : {Case{kMacroManagerCancel, true}, Case{kMacroManagerOk, false}}) {
    const MacroKeyInfo before = Slot(6);
    dialogs_.managerEnd = c.end;
    dialogs_.duringManager = [this, c] { if (c.edit) EditPull(); };
    Choose(6, 11101);
    EXPECT_EQ(std::memcmp(&Slot(6), &before, sizeof(before)), 0) << c.end;
    EXPECT_TRUE(FlaggedButtons().empty()) << c.end;
  }
}

// The library the main window merges into, here the page's own store.
class StoreLibrary final : public MacroLibrary {
 public:
  explicit StoreLibrary(MacroStore& store) : store_(store) {}
  void Load() override {}
  void MergeFromProfiles(const SettingsRecord& record) override { store_.MergeFromProfiles(record); }
  void Save() override { ++saves; }
  int saves = 0;

 private:
  MacroStore& store_;
};

TEST_F(MacroEditReachesButtonsTest, FreshRecordUnderTheManagerDoesNotUndoItsEdit) {
  StoreLibrary library(store_.store);
  MacroMergeGate gate(library);
  ButtonAssignPage page(*record_, layout_, store_, dialogs_, &gate);
  dialogs_.managerEnd = kMacroManagerOk;
  dialogs_.duringManager = [&] {
    EditPull();
    // The service's fresh record still carries the buttons' old copy of the macro.
    gate.MergeFromProfiles(*record_);
    gate.Save();
    EXPECT_EQ(library.saves, 0);
    EXPECT_EQ(store_.store.MacroAt(1, 0)->repeatCount, 9);
  };
  page.OnMacroManager();
  EXPECT_TRUE(CarriesEditedPull(Slot(6)));
  const Macro& pull = *store_.store.MacroAt(1, 0);
  EXPECT_EQ(pull.repeatCount, 9);
  EXPECT_EQ(pull.eventCount, 3);
  EXPECT_EQ(pull.events[0], (MacroEvent{kKeyF5, kMacroPress, 11}));
  EXPECT_EQ(library.saves, 1);
}

TEST_F(ButtonAssignPageTest, SelectPlayerStoresTheChoiceOnOk) {
  Profile().MediaOption = 2;
  dialogs_.player = 3;
  Choose(12, 1040);
  EXPECT_EQ(dialogs_.playerAsked, std::vector<int>{2});
  EXPECT_EQ(Profile().MediaOption, 3);
  EXPECT_EQ(Slot(12).function, 38);
  EXPECT_TRUE(ChangedSlots().empty());
}

TEST_F(ButtonAssignPageTest, ReplacingAltlayerFlagsAndBlanksTheLayerThenBringsItBack) {
  Slot(11).function = 33;
  Choose(3, 1001);
  EXPECT_EQ(ChangedSlots(), (std::vector<int>{3, 7, 8, 9, 11, 12, 13}));
  for (int slot = 7; slot < kButtonSlotCount; ++slot) {
    EXPECT_EQ(Slot(slot).function, 0) << slot;
    EXPECT_FALSE(page_.View().slots[static_cast<std::size_t>(slot)].active) << slot;
    EXPECT_FALSE(page_.HasMenu(slot)) << slot;
  }

  std::memset(record_->ButtonChanged, 0, sizeof(record_->ButtonChanged));
  Choose(3, 1024);
  EXPECT_EQ(ChangedSlots(), (std::vector<int>{3, 7, 8, 9, 11, 12, 13}));
  EXPECT_EQ(Label(7), "IE Backward");
  EXPECT_EQ(Label(11), "Previous Track");
  EXPECT_EQ(Slot(10).function, 0);
}

TEST_F(ButtonAssignPageTest, SecondAltlayerButtonBlocksBothCopies) {
  Slot(11).function = 34;
  Choose(4, 1024);
  EXPECT_EQ(ChangedSlots(), (std::vector<int>{4, 11}));
  EXPECT_EQ(Slot(10).function, 0);
  EXPECT_EQ(Slot(11).function, 0);
  EXPECT_EQ(page_.altlayer().Saved(11), 34);
  EXPECT_FALSE(page_.HasMenu(11));
}

TEST_F(ButtonAssignPageTest, CommandsReachOnlyTheEditedProfile) {
  record_->CurrentProfile = 0;
  page_.Refresh();
  Choose(5, 1013);
  EXPECT_EQ(record_->profiles[0].buttons[5].function, 13);
  EXPECT_EQ(Slot(5).function, 13);  // profile 2's default, untouched
  EXPECT_EQ(record_->ButtonChanged[0][5], 1);
  EXPECT_TRUE(ChangedSlots().empty());

  // No profile known: nothing opens and nothing is written.
  record_->CurrentProfile = -1;
  EXPECT_FALSE(page_.HasMenu(5));
  page_.OnCommand(1001);
  EXPECT_EQ(record_->profiles[0].buttons[5].function, 13);
}

// The mouse's profile button brings a new record (1254 or 1255) while a dialog is open or while the menu's
// command is still on its way: the edit and its flag land in the profile whose menu was opened.
enum class SwitchAt { kInDialog, kBeforeCommand };

TEST_F(ButtonAssignPageTest, ProfileSwitchDuringACommandKeepsTheEditAndItsFlagTogether) {
  struct Case {
    const char* name;
    int command;
    SwitchAt at;
    int newProfile;
    int code;
  };
  const Case cases[] = {
      {"shortcut dialog, another profile", 1005, SwitchAt::kInDialog, 3, kFunctionKeyShortcut},
      {"shortcut dialog, no profile", 1005, SwitchAt::kInDialog, -1, kFunctionKeyShortcut},
      {"program dialog, another profile", 1015, SwitchAt::kInDialog, 3, kFunctionQuicklaunch},
      {"shortcut command in the queue, another profile", 1005, SwitchAt::kBeforeCommand, 3, kFunctionKeyShortcut},
      {"function command in the queue, another profile", 1001, SwitchAt::kBeforeCommand, 3, 1},
      {"function command in the queue, no profile", 1001, SwitchAt::kBeforeCommand, -1, 1},
  };
  constexpr int kSlot = 5;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClearRecord(*record_);
    ResetToDefaults(*record_, 0);
    record_->CurrentProfile = kProfile;
    Slot(kSlot).function = kFunctionKeyShortcut;
    Slot(kSlot).events[0] = {kKeyF5, 0x08, 0};
    record_->profiles[3].buttons[kSlot].events[0] = {kKeyA, 0x01, 0};
    page_.Refresh();
    dialogs_.shortcutAsked.clear();
    dialogs_.shortcut = ShortcutChoice{kKeyA, 0x06};
    dialogs_.path = "C:\\Games\\quake.exe";
    auto untouched = std::make_unique<SettingsRecord>();
    const auto switchProfile = [&] {
      record_->CurrentProfile = c.newProfile;
      *untouched = *record_;
    };
    dialogs_.whileOpen = c.at == SwitchAt::kInDialog ? std::function<void()>(switchProfile) : nullptr;

    ASSERT_FALSE(page_.OpenMenu(kSlot).empty());
    if (c.at == SwitchAt::kBeforeCommand) switchProfile();
    page_.OnCommand(c.command);
    dialogs_.whileOpen = nullptr;

    EXPECT_EQ(Slot(kSlot).function, c.code);
    EXPECT_EQ(ChangedSlots(), std::vector<int>{kSlot});
    if (c.command == 1005) {
      ASSERT_EQ(dialogs_.shortcutAsked.size(), 1u);
      EXPECT_EQ(dialogs_.shortcutAsked[0].keyCode, kKeyF5);  // from the menu's own slot
      EXPECT_EQ(Slot(kSlot).events[0].action, 0x06);
    }
    // Nothing else in the record moved: no other profile, no flag outside the edited profile's.
    std::memcpy(&untouched->profiles[kProfile], &record_->profiles[kProfile], sizeof(ProfileRecord));
    std::memcpy(untouched->ButtonChanged[kProfile], record_->ButtonChanged[kProfile],
                sizeof(record_->ButtonChanged[kProfile]));
    EXPECT_EQ(std::memcmp(untouched.get(), record_.get(), sizeof(SettingsRecord)), 0);
    EXPECT_EQ(record_->CurrentProfile, c.newProfile);
  }
}

TEST_F(ButtonAssignPageTest, ProfileSwitchDuringSelectPlayerKeepsTheChoiceInItsProfile) {
  const std::pair<SwitchAt, int> cases[] = {
      {SwitchAt::kInDialog, 3}, {SwitchAt::kInDialog, -1}, {SwitchAt::kBeforeCommand, 3},
      {SwitchAt::kBeforeCommand, -1}};
  for (const auto& [at, newProfile] : cases) {
    SCOPED_TRACE(newProfile);
    record_->CurrentProfile = kProfile;
    Profile().MediaOption = 2;
    record_->profiles[3].MediaOption = 1;
    dialogs_.playerAsked.clear();
    dialogs_.player = 3;
    const auto switchProfile = [&, newProfile = newProfile] { record_->CurrentProfile = newProfile; };
    dialogs_.whileOpen = at == SwitchAt::kInDialog ? std::function<void()>(switchProfile) : nullptr;

    ASSERT_FALSE(page_.OpenMenu(12).empty());
    if (at == SwitchAt::kBeforeCommand) switchProfile();
    page_.OnCommand(1040);
    dialogs_.whileOpen = nullptr;

    EXPECT_EQ(dialogs_.playerAsked, std::vector<int>{2});
    EXPECT_EQ(Profile().MediaOption, 3);
    EXPECT_EQ(record_->profiles[3].MediaOption, 1);
  }
}

TEST_F(ButtonAssignPageTest, OrientationPressesItsButtonAndPicksItsBackground) {
  page_.OnOrientation(1);
  EXPECT_EQ(Profile().Orientation, 1);
  EXPECT_TRUE(page_.View().leftPressed);
  EXPECT_FALSE(page_.View().rightPressed);
  EXPECT_EQ(page_.View().background, 1);
  page_.OnOrientation(0);
  EXPECT_EQ(Profile().Orientation, 0);
  EXPECT_TRUE(page_.View().rightPressed);
  EXPECT_FALSE(page_.View().leftPressed);
  EXPECT_EQ(page_.View().background, 0);
}

TEST_F(ButtonAssignPageTest, HoverShowsAndHidesThePictureOfTheButton) {
  page_.OnHoverNotify(true, 203);
  EXPECT_EQ(page_.View().hoverPicture, 3);
  page_.OnHoverNotify(true, 208);  // Altlayer on input 4
  EXPECT_EQ(page_.View().hoverPicture, 15);
  page_.OnHoverNotify(false, 203);  // a late leave of the first button
  EXPECT_EQ(page_.View().hoverPicture, 15);
  page_.OnHoverNotify(false, 208);
  EXPECT_EQ(page_.View().hoverPicture, -1);

  page_.OnHoverNotify(true, 206);
  page_.OnHoverNotify(true, 199);
  page_.OnHoverNotify(true, 214);
  EXPECT_EQ(page_.View().hoverPicture, 6);
  page_.Refresh();
  EXPECT_EQ(page_.View().hoverPicture, -1);

  page_.OnOrientation(1);
  page_.OnHoverNotify(true, 200);
  EXPECT_EQ(page_.View().hoverPicture, 7);
}

}  // namespace
}  // namespace kavo::option
