// The main window's model over fakes of its ports and the real settings files in memory: start-up, the
// commands of its controls, Apply and the service's messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "option/assign/button_assign_page.h"
#include "option/macros/macro_manager.h"
#include "option/macros/macro_merge_gate.h"
#include "option/main_window/main_window_model.h"
#include "settings/bounded_text.h"
#include "settings/ini_file.h"
#include "settings/settings_files.h"
#include "tests/support/fake_double_click_timer.h"
#include "tests/support/fake_keyboard_layouts.h"
#include "tests/support/fake_registry.h"
#include "tests/support/memory_file_system.h"
#include "tests/unit/option/assign/button_assign_test_support.h"

namespace kavo::option {
namespace {

constexpr char kFolder[] = "C:\\Kavo\\";
using Log = std::vector<std::string>;

std::unique_ptr<SettingsRecord> DefaultRecord() {
  auto record = std::make_unique<SettingsRecord>();
  ClearRecord(*record);
  ResetToDefaults(*record, 1);
  return record;
}

bool SameRecord(const SettingsRecord& a, const SettingsRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool FlagsAllZero(const SettingsRecord& record) {
  for (const auto& profile : record.ButtonChanged)
    for (auto flag : profile)
      if (flag != 0) return false;
  for (auto flag : record.SettingsChanged)
    if (flag != 0) return false;
  return record.CurrentProfileChanged == 0;
}

// The service's block: its record, and whether the mutex, the block and the copies work.
class FakeBlock final : public OpenableRecordBlock {
 public:
  explicit FakeBlock(Log& log) : record(DefaultRecord()), log_(log) {}
  bool OpenMutex() override {
    log_.push_back("block.OpenMutex");
    return open == BlockOpen::kOpened;
  }
  BlockOpen OpenBlock() override {
    log_.push_back("block.OpenBlock");
    return open;
  }
  bool Fetch(SettingsRecord& out) override {
    log_.push_back("block.Fetch");
    if (open != BlockOpen::kOpened || copiesFail) return false;
    out = *record;
    return true;
  }
  bool Publish(const SettingsRecord& in) override {
    log_.push_back("block.Publish");
    if (open != BlockOpen::kOpened || copiesFail) return false;
    *record = in;
    ++publishCount;
    return true;
  }
  BlockOpen open = BlockOpen::kOpened;
  bool copiesFail = false;
  int publishCount = 0;
  std::unique_ptr<SettingsRecord> record;

 private:
  Log& log_;
};

class FakeMacros final : public MacroLibrary {
 public:
  explicit FakeMacros(Log& log) : log_(log) {}
  void Load() override { log_.push_back("macros.Load"); }
  void MergeFromProfiles(const SettingsRecord& record) override {
    log_.push_back("macros.Merge");
    mergedCurrentProfile = record.CurrentProfile;
  }
  void Save() override { log_.push_back("macros.Save"); }
  int mergedCurrentProfile = -99;

 private:
  Log& log_;
};

class FakeHelp final : public LanguageHelp {
 public:
  explicit FakeHelp(Log& log) : log_(log) {}
  void Load(int language) override { log_.push_back("help.Load " + std::to_string(language)); }

 private:
  Log& log_;
};

struct Delivered {
  std::string kind, title;
  unsigned message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
  std::unique_ptr<SettingsRecord> blockAtDelivery;  // what the receiver would fetch
};

// The windows of the other programs; only those in `existing` receive anything.
class FakePeers final : public PeerWindows {
 public:
  FakePeers(Log& log, FakeBlock& block) : log_(log), block_(block) {}
  bool Send(const char* title, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
    return Deliver("send", title, message, wParam, lParam);
  }
  bool Post(const char* title, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
    return Deliver("post", title, message, wParam, lParam);
  }
  std::set<std::string> existing;
  std::vector<Delivered> delivered;

 private:
  bool Deliver(const char* kind, const char* title, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    log_.push_back(std::string(kind) + " " + title);
    if (!existing.count(title)) return false;
    delivered.push_back({kind, title, message, wParam, lParam, std::make_unique<SettingsRecord>(*block_.record)});
    return true;
  }
  Log& log_;
  FakeBlock& block_;
};

class FakePages final : public HostedPages {
 public:
  explicit FakePages(Log& log) : log_(log) {}
  void RefreshMainSettings() override { log_.push_back("pages.RefreshMain"); }
  void RefreshButtonAssign() override { log_.push_back("pages.RefreshButtons"); }
  void ReloadHelpTexts() override { log_.push_back("pages.ReloadHelpTexts"); }
  void SetVersions(const std::string& software, const std::string& firmware) override {
    log_.push_back("pages.SetVersions " + software + " " + firmware);
  }

 private:
  Log& log_;
};

class FakeDialogs final : public MainDialogs {
 public:
  explicit FakeDialogs(Log& log) : log_(log) {}
  bool EditProfile(SettingsRecord& record, bool newProfile) override {
    log_.push_back(newProfile ? "dialogs.EditProfile new" : "dialogs.EditProfile edit");
    if (editAccepts) CopyBounded(record.profiles[record.CurrentProfile].ProFileName, "Edited");
    return editAccepts;
  }
  bool ConfirmWindowsProfile() override {
    log_.push_back("dialogs.ConfirmWindowsProfile");
    return confirms;
  }
  int ChooseLanguage(int left, int top) override {
    log_.push_back("dialogs.ChooseLanguage " + std::to_string(left) + "," + std::to_string(top));
    return languageChoice;
  }
  std::optional<std::string> ChooseProfileFile(const ProfileFileDialog& dialog) override {
    log_.push_back("dialogs.ChooseProfileFile");
    asked.push_back(dialog);
    return fileChoice;
  }
  void ShowError(const std::string& text) override { log_.push_back("dialogs.ShowError " + text); }

  bool editAccepts = true;
  bool confirms = true;
  int languageChoice = -1;
  std::optional<std::string> fileChoice;
  std::vector<ProfileFileDialog> asked;

 private:
  Log& log_;
};

class FakeWindow final : public MainWindowShell {
 public:
  explicit FakeWindow(Log& log) : log_(log) {}
  void BeginWaitCursor() override { log_.push_back("window.BeginWait"); }
  void EndWaitCursor() override { log_.push_back("window.EndWait"); }
  void SetApplyEnabled(bool enabled) override { log_.push_back(enabled ? "window.Enable" : "window.Disable"); }
  void Redraw() override { log_.push_back("window.Redraw"); }
  void ReloadTooltips() override { log_.push_back("window.ReloadTooltips"); }
  void Minimise() override { log_.push_back("window.Minimise"); }
  void ReleaseCapture() override { log_.push_back("window.ReleaseCapture"); }
  void PostClose() override { log_.push_back("window.PostClose"); }

 private:
  Log& log_;
};

using test::FakeDoubleClickTimer;

class MainWindowModelTest : public testing::Test {
 protected:
  MainWindowModelTest() {
    // What the service holds: profile 2 active, English, Windows profile none.
    block_.record->CurrentProfile = 2;
    block_.record->QuickHelpLan = 4;
    block_.record->profiles[2].DbleClickSpeed = 321;
    block_.record->SettingsChanged[1] = 1;  // left by an earlier apply; never taken over
    peers_.existing = {kMonitorWindowTitle, "VELMAR Kavo Mouse Pop3", "VELMAR Kavo Mouse CPU RAM",
                       "VELMAR Kavo Mouse OSD SKYPE"};
  }

  void WithoutService() {
    block_.open = BlockOpen::kAbsent;
    peers_.existing = {};
  }

  // What the files hold: profile 1 active, Finnish, a renamed profile 4.
  void SaveFiles(int firmware = 141) {
    auto onDisk = DefaultRecord();
    onDisk->CurrentProfile = 1;
    onDisk->QuickHelpLan = 2;
    CopyBounded(onDisk->profiles[3].ProFileName, "From disk");
    files_.WriteAll(*onDisk);
    files_.WriteFirmwareVersion(firmware);
  }

  MainWindowModel& Start() {
    model_ = std::make_unique<MainWindowModel>(MainWindowPorts{block_, files_, registry_, macros_, help_, peers_,
                                                               pages_, dialogs_, window_, doubleClick_,
                                                               kFolder});
    model_->Initialise();
    log_.clear();
    return *model_;
  }

  std::unique_ptr<SettingsRecord> ReadFiles() {
    auto record = std::make_unique<SettingsRecord>();
    ClearRecord(*record);
    files_.ReadAll(*record);
    return record;
  }

  test::MemoryFileSystem disk_;
  IniFileAccess access_{disk_};
  test::FakeRegistry registry_;
  SettingsFiles files_{kFolder, access_, disk_, registry_};
  Log log_;
  FakeBlock block_{log_};
  FakeMacros macros_{log_};
  FakeHelp help_{log_};
  FakePeers peers_{log_, block_};
  FakePages pages_{log_};
  FakeDialogs dialogs_{log_};
  FakeWindow window_{log_};
  FakeDoubleClickTimer doubleClick_;
  std::unique_ptr<MainWindowModel> model_;
};

// --- start-up ---

TEST_F(MainWindowModelTest, StartTakesTheBlockInOrder) {
  SaveFiles(141);
  registry_.keys["Control Panel\\Mouse"]["DoubleClickSpeed"] = "654";
  model_ = std::make_unique<MainWindowModel>(
      MainWindowPorts{block_, files_, registry_, macros_, help_, peers_, pages_, dialogs_, window_, doubleClick_,
                      kFolder});
  model_->Initialise();

  const Log expected = {"block.OpenMutex", "pages.SetVersions 1.41 1.41", "block.OpenBlock", "block.Fetch",
                        "macros.Load",     "macros.Merge",                "macros.Save",     "pages.RefreshMain",
                        "pages.RefreshButtons", "help.Load 4", "window.ReloadTooltips", "pages.ReloadHelpTexts"};
  EXPECT_EQ(log_, expected);
  EXPECT_TRUE(model_->BlockPresent());
  EXPECT_EQ(model_->Snapshot().CurrentProfile, 2);
  EXPECT_TRUE(FlagsAllZero(model_->Snapshot()));
  // The live Windows value reaches the working record only; the snapshot stays the block's.
  EXPECT_EQ(model_->Working().profiles[2].DbleClickSpeed, 654);
  EXPECT_EQ(model_->Snapshot().profiles[2].DbleClickSpeed, 321);
  EXPECT_EQ(macros_.mergedCurrentProfile, 2);
  EXPECT_TRUE(model_->View().slots[2].pressed);
  EXPECT_EQ(model_->View().language.normal, 348);
}

TEST_F(MainWindowModelTest, StartWithoutTheBlockReadsTheFiles) {
  struct Case {
    const char* name;
    BlockOpen open;
    bool copiesFail;
    bool error;
  };
  const Case cases[] = {
      {"service not running", BlockOpen::kAbsent, false, false},
      {"view failed", BlockOpen::kViewFailed, false, true},
      {"block unreadable", BlockOpen::kOpened, true, false},
  };
  SaveFiles();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    block_.open = c.open;
    block_.copiesFail = c.copiesFail;
    log_.clear();
    model_ = std::make_unique<MainWindowModel>(
        MainWindowPorts{block_, files_, registry_, macros_, help_, peers_, pages_, dialogs_, window_, doubleClick_,
                        kFolder});
    model_->Initialise();
    const bool shown = std::find(log_.begin(), log_.end(), "dialogs.ShowError Could not map view of file.") != log_.end();
    EXPECT_EQ(shown, c.error);
    EXPECT_EQ(model_->Snapshot().CurrentProfile, 1);
    EXPECT_EQ(FieldText(model_->Working().profiles[3].ProFileName), "From disk");
    EXPECT_EQ(model_->View().slots[3].name, "From disk");
    EXPECT_TRUE(model_->View().slots[1].pressed);
    EXPECT_EQ(model_->View().language.normal, 342);
    EXPECT_NE(std::find(log_.begin(), log_.end(), "help.Load 2"), log_.end());
  }
}

TEST_F(MainWindowModelTest, FirmwareTextAtStart) {
  const std::pair<int, const char*> cases[] = {{141, "1.41"}, {99, "N/A"}, {501, "N/A"}, {500, "5.00"}};
  for (const auto& [firmware, text] : cases) {
    files_.WriteFirmwareVersion(firmware);
    Start();
    EXPECT_EQ(model_->View().firmwareVersion, text) << firmware;
    EXPECT_EQ(model_->View().softwareVersion, "1.41");
  }
}

// --- Apply, OK, Cancel ---

TEST_F(MainWindowModelTest, ApplyWithoutChangeSendsAllFlagsZero) {
  SaveFiles();
  Start();
  model_->Apply(kApplyChanges);

  const Log expected = {"window.BeginWait", "window.Disable", "block.Publish", "macros.Save",
                        "send VELMAR Kavo Mouse Monitor", "post VELMAR Kavo Mouse Pop3",
                        "post VELMAR Kavo Mouse CPU RAM", "post VELMAR Kavo Mouse OSD SKYPE", "window.EndWait",
                        "window.Enable"};
  EXPECT_EQ(log_, expected);
  ASSERT_EQ(peers_.delivered.size(), 4u);
  for (const auto& d : peers_.delivered) {
    SCOPED_TRACE(d.title);
    EXPECT_EQ(d.message, 1224u);
    EXPECT_EQ(d.wParam, 0u);
    EXPECT_EQ(d.lParam, 0);
    EXPECT_TRUE(FlagsAllZero(*d.blockAtDelivery));
  }
  EXPECT_EQ(peers_.delivered[0].kind, "send");
  EXPECT_EQ(ReadFiles()->CurrentProfile, 2);  // the block's record, now on disk
  EXPECT_TRUE(model_->View().applyEnabled);
}

TEST_F(MainWindowModelTest, ApplyFlagsWhatChangedThenMakesTheSnapshotEqual) {
  Start();
  SettingsRecord& working = model_->Working();
  working.CurrentProfile = 4;
  working.profiles[3].Cpi_X = 4;
  working.ButtonChanged[0][5] = 1;  // as the button page marks an edited entry
  model_->Apply(kApplyAfterReset);

  ASSERT_FALSE(peers_.delivered.empty());
  const Delivered& toService = peers_.delivered[0];
  EXPECT_EQ(toService.title, kMonitorWindowTitle);
  EXPECT_EQ(toService.wParam, 1u);
  const SettingsRecord& sent = *toService.blockAtDelivery;
  EXPECT_EQ(sent.CurrentProfileChanged, 1);
  const int expectedSettings[kProfileCount] = {0, 0, 0, 1, 0};
  for (int p = 0; p < kProfileCount; ++p) EXPECT_EQ(sent.SettingsChanged[p], expectedSettings[p]) << p;
  EXPECT_EQ(sent.ButtonChanged[0][5], 1);
  EXPECT_EQ(sent.profiles[3].Cpi_X, 4);
  for (std::size_t i = 1; i < peers_.delivered.size(); ++i) EXPECT_EQ(peers_.delivered[i].wParam, 0u);

  EXPECT_TRUE(FlagsAllZero(model_->Working()));
  EXPECT_TRUE(SameRecord(model_->Working(), model_->Snapshot()));
  EXPECT_EQ(ReadFiles()->CurrentProfile, 4);

  // Applied once, the same state is no change any more.
  peers_.delivered.clear();
  model_->Apply(kApplyChanges);
  ASSERT_FALSE(peers_.delivered.empty());
  EXPECT_TRUE(FlagsAllZero(*peers_.delivered[0].blockAtDelivery));
}

TEST_F(MainWindowModelTest, ApplyWithoutServiceWritesFilesOnly) {
  SaveFiles();
  WithoutService();
  Start();
  model_->Working().profiles[0].MouseSpeed = 17;
  model_->Working().WindowsProfile = 3;
  model_->Apply(kApplyChanges);

  EXPECT_TRUE(peers_.delivered.empty());
  EXPECT_EQ(block_.publishCount, 0);
  EXPECT_EQ(std::count(log_.begin(), log_.end(), "block.Publish"), 0);
  const auto onDisk = ReadFiles();
  EXPECT_EQ(onDisk->WindowsProfile, 3);
  EXPECT_EQ(onDisk->profiles[0].MouseSpeed, 17);
  EXPECT_NE(std::find(log_.begin(), log_.end(), "macros.Save"), log_.end());
}

// Started before the service: the block the service makes later is opened by the Apply that needs it.
TEST_F(MainWindowModelTest, ApplyOpensTheBlockTheServiceMadeAfterTheStart) {
  SaveFiles();
  WithoutService();
  Start();
  model_->Working().profiles[0].Cpi_X = 3;
  model_->Apply(kApplyChanges);
  EXPECT_FALSE(model_->BlockPresent());
  EXPECT_EQ(block_.publishCount, 0);

  block_.open = BlockOpen::kOpened;
  peers_.existing = {kMonitorWindowTitle};
  model_->Working().profiles[3].Cpi_X = 4;
  model_->Apply(kApplyChanges);
  EXPECT_TRUE(model_->BlockPresent());
  ASSERT_EQ(peers_.delivered.size(), 1u);
  const SettingsRecord& sent = *peers_.delivered[0].blockAtDelivery;
  EXPECT_EQ(sent.profiles[0].Cpi_X, 3);
  EXPECT_EQ(sent.profiles[3].Cpi_X, 4);
  EXPECT_EQ(sent.SettingsChanged[3], 1);
  EXPECT_EQ(sent.SettingsChanged[0], 0);  // already in the files the service started from
  const auto firstOpen = std::find(log_.begin(), log_.end(), "block.OpenBlock");
  EXPECT_LT(firstOpen - log_.begin(), std::find(log_.begin(), log_.end(), "block.Publish") - log_.begin());

  // Once open, the block is not opened again.
  log_.clear();
  model_->Apply(kApplyChanges);
  EXPECT_EQ(std::count(log_.begin(), log_.end(), "block.OpenBlock"), 0);
  EXPECT_EQ(std::count(log_.begin(), log_.end(), "block.OpenMutex"), 0);
  EXPECT_EQ(block_.publishCount, 2);
}

TEST_F(MainWindowModelTest, SlotThreeThenCancelChangesNothingWritten) {
  block_.record->CurrentProfile = 0;
  Start();
  files_.WriteAll(*block_.record);  // the files as the service left them
  const auto filesBefore = disk_.files;
  const auto registryBefore = registry_.keys;
  const auto blockBefore = std::make_unique<SettingsRecord>(*block_.record);

  model_->SelectSlot(2);
  EXPECT_EQ(model_->Working().CurrentProfile, 2);
  EXPECT_TRUE(model_->View().slots[2].pressed);
  EXPECT_EQ(model_->View().slots[2].nameColour, kActiveNameColour);
  model_->Cancel();

  EXPECT_EQ(log_.back(), "window.PostClose");
  EXPECT_NE(std::find(log_.begin(), log_.end(), "window.ReleaseCapture"), log_.end());
  EXPECT_EQ(disk_.files, filesBefore);
  EXPECT_EQ(registry_.keys, registryBefore);
  EXPECT_TRUE(SameRecord(*block_.record, *blockBefore));
  EXPECT_EQ(block_.publishCount, 0);
  EXPECT_TRUE(peers_.delivered.empty());
}

// The slider sets the system's double-click time at once; leaving without Apply puts back the time of the
// program's start or of the last Apply, and a profile the mouse switched to brings the time the service set.
TEST_F(MainWindowModelTest, LeavingWithoutApplyPutsTheDoubleClickTimeBack) {
  enum class Leave { kCancel, kOk, kClosedFromOutside };
  struct Case {
    const char* name;
    std::vector<int> sliderBeforeApply;  // none: no Apply
    int serviceAfterProfileButton;       // 0: no 1255
    std::vector<int> sliderAfter;
    Leave leave;
    int expected;
    int expectedSets;
  };
  const Case cases[] = {
      {"slider then Cancel", {}, 0, {300, 250}, Leave::kCancel, 500, 3},
      {"slider then the window closed from outside", {}, 0, {300}, Leave::kClosedFromOutside, 500, 2},
      {"Apply, slider, Cancel", {300}, 0, {250}, Leave::kCancel, 300, 3},
      {"slider then OK", {}, 0, {300}, Leave::kOk, 300, 1},
      {"nothing moved", {}, 0, {}, Leave::kCancel, 500, 0},
      {"slider, then the mouse's profile button", {}, 420, {}, Leave::kCancel, 420, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    doubleClick_.time = 500;
    Start();
    doubleClick_.sets = 0;
    for (int time : c.sliderBeforeApply) doubleClick_.SetDoubleClickTime(time);
    if (!c.sliderBeforeApply.empty()) model_->Apply(kApplyChanges);
    if (c.serviceAfterProfileButton != 0) {
      doubleClick_.SetDoubleClickTime(310);
      doubleClick_.time = c.serviceAfterProfileButton;  // the service's pointer settings, before it posts 1255
      model_->OnMessage(1255);
    }
    for (int time : c.sliderAfter) doubleClick_.SetDoubleClickTime(time);
    switch (c.leave) {
      case Leave::kCancel: model_->Cancel(); break;
      case Leave::kOk: model_->Ok(); break;
      case Leave::kClosedFromOutside: break;
    }
    model_->PutBackDoubleClickTime();  // as the window does when it goes, whatever closed it
    EXPECT_EQ(doubleClick_.time, c.expected);
    EXPECT_EQ(doubleClick_.sets, c.expectedSets);
  }
}

TEST_F(MainWindowModelTest, OkAppliesThenCloses) {
  Start();
  model_->SelectSlot(0);
  model_->Ok();
  ASSERT_GE(log_.size(), 2u);
  EXPECT_EQ(log_[log_.size() - 2], "window.Enable");
  EXPECT_EQ(log_.back(), "window.PostClose");
  EXPECT_EQ(block_.record->CurrentProfile, 0);
  EXPECT_EQ(ReadFiles()->CurrentProfile, 0);
}

// --- commands ---

TEST_F(MainWindowModelTest, SlotButtonsOutsideTheFiveAreIgnored) {
  Start();
  for (int slot : {-1, 5}) {
    model_->SelectSlot(slot);
    EXPECT_EQ(model_->Working().CurrentProfile, 2) << slot;
  }
  EXPECT_TRUE(log_.empty());
}

TEST_F(MainWindowModelTest, TabsShowOnePageAndIgnoreTheVisibleOne) {
  Start();
  EXPECT_FALSE(model_->SelectPage(Page::kMainSettings));
  EXPECT_TRUE(model_->SelectPage(Page::kUpdate));
  EXPECT_EQ(model_->View().visiblePage, Page::kUpdate);
  const std::array<bool, kPageCount> updatePressed = {false, false, false, true, false};
  EXPECT_EQ(model_->View().tabPressed, updatePressed);
  EXPECT_FALSE(model_->SelectPage(Page::kUpdate));
  EXPECT_TRUE(model_->SelectPage(Page::kButtonAssign));
  const std::array<bool, kPageCount> buttonsPressed = {false, true, false, false, false};
  EXPECT_EQ(model_->View().tabPressed, buttonsPressed);
}

TEST_F(MainWindowModelTest, WindowsProfileToggle) {
  struct Case {
    int windowsProfile, slot;
    bool confirms;
    int expected;
    bool asked;
  };
  const Case cases[] = {
      {2, 2, true, -1, false},  // already the Windows profile: cleared without asking
      {2, 2, false, -1, false},
      {-1, 0, true, 0, true},
      {-1, 0, false, -1, true},
      {1, 3, true, 3, true},
      {1, 3, false, 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "from " << c.windowsProfile << " slot " << c.slot);
    block_.record->WindowsProfile = c.windowsProfile;
    Start();
    dialogs_.confirms = c.confirms;
    model_->ToggleWindowsProfile(c.slot);
    EXPECT_EQ(model_->Working().WindowsProfile, c.expected);
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "dialogs.ConfirmWindowsProfile"), c.asked ? 1 : 0);
    for (int p = 0; p < kProfileCount; ++p) {
      EXPECT_EQ(model_->View().slots[p].markerVisible, p == c.expected) << p;
      EXPECT_EQ(model_->View().slots[p].plainButtonVisible, p != c.expected) << p;
    }
  }
}

TEST_F(MainWindowModelTest, CreateAndEditRunTheProfileDialog) {
  struct Case {
    void (MainWindowModel::*command)();
    const char* logged;
    bool accepts;
    const char* name;
  };
  const Case cases[] = {
      {&MainWindowModel::CreateProfile, "dialogs.EditProfile new", true, "Edited"},
      {&MainWindowModel::EditProfile, "dialogs.EditProfile edit", true, "Edited"},
      {&MainWindowModel::EditProfile, "dialogs.EditProfile edit", false, "Default3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.logged);
    Start();
    dialogs_.editAccepts = c.accepts;
    (model_.get()->*c.command)();
    EXPECT_EQ(log_, Log{c.logged});
    EXPECT_EQ(model_->View().slots[2].name, c.name);
  }
  // No active profile, nothing to edit.
  block_.record->CurrentProfile = -1;
  Start();
  model_->EditProfile();
  EXPECT_TRUE(log_.empty());
}

TEST_F(MainWindowModelTest, LoadImportsIntoTheActiveProfile) {
  // A profile file as another installation exported it.
  auto source = DefaultRecord();
  CopyBounded(source->profiles[0].ProFileName, "Shared");
  source->profiles[0].Sensitivity_X = 9;
  files_.WriteProfile(source->profiles[0], "D:\\Downloads\\shared.vmp");
  Start();

  dialogs_.fileChoice = std::nullopt;
  model_->LoadProfile();
  EXPECT_EQ(model_->View().slots[2].name, "Default3");

  dialogs_.fileChoice = "D:\\Downloads\\missing.vmp";
  model_->LoadProfile();
  EXPECT_EQ(model_->View().slots[2].name, "Default3");
  EXPECT_EQ(model_->Working().ButtonChanged[2][0], 0);

  dialogs_.fileChoice = "D:\\Downloads\\shared.vmp";
  model_->LoadProfile();
  EXPECT_EQ(model_->View().slots[2].name, "Shared");
  EXPECT_EQ(model_->Working().profiles[2].Sensitivity_X, 9);
  EXPECT_EQ(model_->Working().ButtonChanged[2][13], 1);
  EXPECT_EQ(model_->Working().ButtonChanged[1][0], 0);
  EXPECT_EQ(log_.back(), "pages.RefreshButtons");

  ASSERT_EQ(dialogs_.asked.size(), 3u);
  const ProfileFileDialog& asked = dialogs_.asked[0];
  EXPECT_EQ(asked.kind, FileDialogKind::kOpen);
  EXPECT_EQ(asked.defaultExtension, "*.vmp");
  EXPECT_EQ(asked.initialName, "C:\\Kavo\\config\\.vmp");
  EXPECT_EQ(asked.filter, "Velmar Mouse Profile(*.vmp)|*.vmp|");
  EXPECT_TRUE(asked.hideReadOnly && asked.overwritePrompt && asked.fileMustExist);
  EXPECT_FALSE(asked.allowMultiSelect);
}

TEST_F(MainWindowModelTest, SaveExportsTheActiveProfile) {
  Start();
  CopyBounded(model_->Working().profiles[2].ProFileName, "Mine");
  dialogs_.fileChoice = std::nullopt;
  model_->SaveProfile();
  EXPECT_EQ(disk_.files.count("E:\\mine.vmp"), 0u);

  dialogs_.fileChoice = "E:\\mine.vmp";
  model_->SaveProfile();
  ASSERT_EQ(disk_.files.count("E:\\mine.vmp"), 1u);
  auto readBack = DefaultRecord();
  files_.ReadProfile(readBack->profiles[0], "E:\\mine.vmp");
  EXPECT_EQ(FieldText(readBack->profiles[0].ProFileName), "Mine");

  const ProfileFileDialog& asked = dialogs_.asked.back();
  EXPECT_EQ(asked.kind, FileDialogKind::kSave);
  EXPECT_TRUE(asked.hideReadOnly && asked.overwritePrompt && asked.allowMultiSelect);
  EXPECT_FALSE(asked.fileMustExist);
}

TEST_F(MainWindowModelTest, SaveRefusesANameThatWouldOverwriteASlotFile) {
  Start();
  CopyBounded(model_->Working().profiles[2].ProFileName, "Mine");
  struct Case {
    const char* target;
    int slot;  // 1..5 as the message names it
  };
  // The slot file itself in any spelling, and a target elsewhere whose copy in "config\" would replace it.
  const Case refused[] = {
      {"C:\\Kavo\\config\\Default0.vmp", 1},
      {"C:\\Kavo\\config\\DEFAULT4.VMP", 5},
      {"C:\\Kavo\\config\\default2.vmp. ", 3},
      {"C:/Kavo/config/Default1.vmp", 2},
      {"E:\\elsewhere\\Default3.vmp", 4},
      {"E:\\elsewhere\\Default3.txt", 4},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(c.target);
    const auto filesBefore = disk_.files;
    log_.clear();
    dialogs_.fileChoice = c.target;
    model_->SaveProfile();
    EXPECT_TRUE(disk_.files == filesBefore) << "a file was written";
    ASSERT_EQ(log_.size(), 2u);
    EXPECT_EQ(log_[1].rfind("dialogs.ShowError ", 0), 0u) << log_[1];
    EXPECT_NE(log_[1].find("slot " + std::to_string(c.slot)), std::string::npos) << log_[1];
  }

  // Names that only look alike save as before, with their copy in "config\".
  for (const char* target : {"E:\\Default5.vmp", "E:\\Default.vmp", "E:\\MyDefault0.vmp", "E:\\Default0x.vmp"}) {
    SCOPED_TRACE(target);
    log_.clear();
    dialogs_.fileChoice = target;
    model_->SaveProfile();
    EXPECT_EQ(log_, Log{"dialogs.ChooseProfileFile"});
    EXPECT_EQ(disk_.files.count(target), 1u);
    EXPECT_EQ(disk_.files.count("C:\\Kavo\\config\\" + BaseNameWithoutExtension(target) + ".vmp"), 1u);
  }
}

TEST_F(MainWindowModelTest, LanguageChange) {
  Start();
  for (int noChoice : {-1, 10}) {
    log_.clear();
    dialogs_.languageChoice = noChoice;
    model_->ChangeLanguage();
    EXPECT_EQ(log_, Log{"dialogs.ChooseLanguage 12,393"}) << noChoice;
    EXPECT_EQ(model_->Working().QuickHelpLan, 4) << noChoice;
  }

  log_.clear();
  dialogs_.languageChoice = 9;
  model_->ChangeLanguage();
  const Log expected = {"dialogs.ChooseLanguage 12,393", "window.Redraw", "help.Load 9", "window.ReloadTooltips",
                        "pages.ReloadHelpTexts"};
  EXPECT_EQ(log_, expected);
  EXPECT_EQ(model_->Working().QuickHelpLan, 9);
  EXPECT_EQ(model_->View().language.normal, 365);
  EXPECT_EQ(model_->Snapshot().QuickHelpLan, 4);  // nothing applied until Apply
}

TEST_F(MainWindowModelTest, MinimiseAndCancelApplyNothing) {
  Start();
  model_->Minimise();
  model_->Cancel();
  const Log expected = {"window.Minimise", "window.ReleaseCapture", "window.PostClose"};
  EXPECT_EQ(log_, expected);
}

// --- the service's messages ---

TEST_F(MainWindowModelTest, ResolutionChangeMergesOnlyItsFiveFields) {
  Start();
  SettingsRecord& working = model_->Working();
  working.profiles[2].Sensitivity_X = 1;
  working.profiles[2].LightType = 0;       // an unapplied edit that must stay
  working.profiles[2].DbleClickSpeed = 900;
  working.WindowsProfile = 1;
  working.profiles[0].Cpi_X = 1;

  ProfileRecord& mouse = block_.record->profiles[2];
  mouse.Sensitivity_X = 8;
  mouse.Sensitivity_Y = 7;
  mouse.Cpi_X = 3;
  mouse.Cpi_Y = 3;
  mouse.PollingRate = 1;
  mouse.LightType = 5;
  mouse.Orientation = 1;
  mouse.DbleClickSpeed = 111;
  block_.record->profiles[0].Cpi_X = 4;

  EXPECT_TRUE(model_->OnMessage(1257));
  const ProfileRecord& merged = model_->Working().profiles[2];
  EXPECT_EQ(merged.Sensitivity_X, 8);
  EXPECT_EQ(merged.Sensitivity_Y, 7);
  EXPECT_EQ(merged.Cpi_X, 3);
  EXPECT_EQ(merged.Cpi_Y, 3);
  EXPECT_EQ(merged.PollingRate, 1);
  EXPECT_EQ(merged.LightType, 0);
  EXPECT_EQ(merged.Orientation, 0);
  EXPECT_EQ(merged.DbleClickSpeed, 900);
  EXPECT_EQ(model_->Working().WindowsProfile, 1);
  EXPECT_EQ(model_->Working().profiles[0].Cpi_X, 1);
  EXPECT_EQ(model_->Snapshot().profiles[2].LightType, 5);
  EXPECT_EQ(log_, (Log{"block.Fetch", "pages.RefreshMain"}));
}

TEST_F(MainWindowModelTest, ResolutionChangeWithoutAProfileCopiesNothing) {
  for (int current : {-1, 5, 7}) {
    SCOPED_TRACE(current);
    block_.record->CurrentProfile = 2;
    Start();
    model_->Working().profiles[2].Sensitivity_X = 1;
    const auto before = std::make_unique<SettingsRecord>(model_->Working());
    block_.record->CurrentProfile = current;
    for (auto& profile : block_.record->profiles) profile.Sensitivity_X = profile.Cpi_X = 4;
    EXPECT_TRUE(model_->OnMessage(1257));
    EXPECT_TRUE(SameRecord(model_->Working(), *before));
    EXPECT_EQ(model_->Snapshot().CurrentProfile, current);
  }
}

TEST_F(MainWindowModelTest, ProfileChangeDropsUnappliedEdits) {
  Start();
  model_->Working().profiles[1].Orientation = 1;
  model_->SelectSlot(0);
  block_.record->CurrentProfile = 3;
  log_.clear();
  EXPECT_TRUE(model_->OnMessage(1255));
  EXPECT_TRUE(SameRecord(model_->Working(), *block_.record));
  EXPECT_TRUE(model_->View().slots[3].pressed);
  EXPECT_EQ(log_, (Log{"block.Fetch", "pages.RefreshMain", "pages.RefreshButtons"}));
}

TEST_F(MainWindowModelTest, FreshDataRereadsFirmwareWithoutUpperLimit) {
  files_.WriteFirmwareVersion(501);
  Start();
  EXPECT_EQ(model_->View().firmwareVersion, "N/A");
  model_->Working().profiles[4].PollingRate = 0;
  block_.record->CurrentProfile = 1;
  block_.record->ButtonChanged[3][3] = 1;

  EXPECT_TRUE(model_->OnMessage(1254));
  EXPECT_EQ(model_->View().firmwareVersion, "5.01");
  EXPECT_TRUE(FlagsAllZero(model_->Working()));
  EXPECT_EQ(model_->Working().CurrentProfile, 1);
  EXPECT_EQ(model_->Working().profiles[4].PollingRate, block_.record->profiles[4].PollingRate);
  EXPECT_TRUE(SameRecord(model_->Working(), model_->Snapshot()));
  const Log expected = {"window.Redraw",        "block.Fetch",  "pages.RefreshMain",
                        "pages.RefreshButtons", "pages.SetVersions 1.41 5.01", "macros.Merge",
                        "macros.Save"};
  EXPECT_EQ(log_, expected);
  EXPECT_EQ(macros_.mergedCurrentProfile, 1);
}

TEST_F(MainWindowModelTest, MessagesWithoutTheBlockKeepTheEdits) {
  WithoutService();
  Start();
  model_->Working().profiles[2].Cpi_X = 1;
  const auto before = std::make_unique<SettingsRecord>(model_->Working());
  for (unsigned message : {1254u, 1255u, 1257u}) {
    EXPECT_TRUE(model_->OnMessage(message)) << message;
    EXPECT_TRUE(SameRecord(model_->Working(), *before)) << message;
  }
  EXPECT_EQ(std::count(log_.begin(), log_.end(), "macros.Merge"), 0);
}

TEST_F(MainWindowModelTest, EnableAndIgnoredMessages) {
  Start();
  model_->Apply(kApplyChanges);
  log_.clear();
  const auto before = std::make_unique<SettingsRecord>(model_->Working());
  EXPECT_TRUE(model_->OnMessage(1258));
  EXPECT_FALSE(model_->OnMessage(1224));
  EXPECT_FALSE(model_->OnMessage(1253));
  EXPECT_TRUE(log_.empty());
  EXPECT_TRUE(model_->OnMessage(1256));
  EXPECT_EQ(log_, Log{"window.Enable"});
  EXPECT_TRUE(model_->View().applyEnabled);
  EXPECT_TRUE(SameRecord(model_->Working(), *before));
}

}  // namespace
}  // namespace kavo::option

namespace kavo::option {
namespace {

// The macro manager runs from the button page; a fresh record from the service arrives while it is open.
class ManagerDialogs final : public ButtonAssignDialogs {
 public:
  std::optional<ShortcutChoice> AskShortcut(std::uint8_t, std::uint8_t) override { return std::nullopt; }
  std::optional<std::string> AskProgramPath(const std::string&) override { return std::nullopt; }
  int RunMacroManager(const MacroKeyInfo&, bool, int) override {
    if (whileOpen) whileOpen();
    return end;
  }
  std::optional<int> AskMediaPlayer(int) override { return std::nullopt; }

  std::function<void()> whileOpen;
  int end = kMacroManagerCancel;
};

class FreshDataUnderTheMacroManagerTest : public MainWindowModelTest {
 protected:
  MainWindowModel& StartGated() {
    model_ = std::make_unique<MainWindowModel>(MainWindowPorts{block_, files_, registry_, gate_, help_, peers_,
                                                               pages_, dialogs_, window_, doubleClick_, kFolder});
    model_->Initialise();
    page_ = std::make_unique<ButtonAssignPage>(model_->Working(), layout_, store_, managerDialogs_, &gate_);
    log_.clear();
    return *model_;
  }

  MacroMergeGate gate_{macros_};
  test::FakeKeyboardLayout layout_ = test::UsLayout();
  test::CountingStorePort store_;
  ManagerDialogs managerDialogs_;
  std::unique_ptr<ButtonAssignPage> page_;
};

TEST_F(FreshDataUnderTheMacroManagerTest, MergeWaitsUntilTheManagerHasClosed) {
  for (const int end : {kMacroManagerCancel, kMacroManagerOk}) {
    StartGated();
    block_.record->CurrentProfile = 3;
    Log whileOpen;
    int savesWhileOpen = -1;
    managerDialogs_.end = end;
    managerDialogs_.whileOpen = [&] {
      EXPECT_TRUE(model_->OnMessage(kMsgFreshData));
      whileOpen = log_;
      savesWhileOpen = store_.saves + store_.loads;
    };
    page_->OnMacroManager();
    // The record is taken at once; only the library waits.
    EXPECT_EQ(model_->Working().CurrentProfile, 3) << end;
    EXPECT_EQ(std::count(whileOpen.begin(), whileOpen.end(), "macros.Merge"), 0) << end;
    EXPECT_EQ(std::count(whileOpen.begin(), whileOpen.end(), "macros.Save"), 0) << end;
    EXPECT_EQ(savesWhileOpen, 0) << end;
    // Then, after the manager saved or reloaded the library, the held merge of the record and one save.
    const Log after(log_.begin() + static_cast<std::ptrdiff_t>(whileOpen.size()), log_.end());
    EXPECT_EQ(after, (Log{"macros.Merge", "macros.Save"})) << end;
    EXPECT_EQ(macros_.mergedCurrentProfile, 3) << end;
    EXPECT_EQ(store_.saves + store_.loads, 1) << end;

    // With the manager closed, a fresh record merges at once again.
    log_.clear();
    EXPECT_TRUE(model_->OnMessage(kMsgFreshData));
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "macros.Merge"), 1) << end;
    store_.saves = store_.clears = store_.loads = 0;
  }
}

}  // namespace
}  // namespace kavo::option
