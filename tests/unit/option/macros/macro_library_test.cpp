// The macro manager over the real macro library: the port's look-ups and edits on the store, and how the
// manager's end reaches the sequence file (OK saves, Cancel drops every edit by reloading it).
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "option/macros/macro_library.h"
#include "option/macros/macro_manager.h"
#include "option/macros/sequence_file.h"
#include "settings/bounded_text.h"
#include "settings/ini_file.h"
#include "tests/support/memory_file_system.h"

namespace kavo::option {
namespace {

constexpr char kFolder[] = "C:\\Kavo\\";
const std::string kPath = std::string(kFolder) + kSequenceFileName;

class MacroStorePortTest : public ::testing::Test {
 protected:
  // Sets as "name: macro, macro" for a whole store at a glance.
  static std::vector<std::string> Describe(const MacroStore& store) {
    std::vector<std::string> sets;
    for (int s = 0; s < store.SetCount(); ++s) {
      std::string text = store.Set(s)->name + ":";
      for (const auto& macro : store.Set(s)->macros) text += " " + FieldText(macro->name);
      sets.push_back(text);
    }
    return sets;
  }
  // What a fresh program start would load from the file.
  std::vector<std::string> OnDisk() {
    MacroStore fresh;
    MacroStoreLibrary other(fresh, access_, kFolder);
    other.Load();
    return Describe(fresh);
  }
  void SaveLibrary(const std::vector<std::pair<std::string, std::vector<std::string>>>& sets) {
    for (const auto& [name, macros] : sets) {
      MacroSet& set = store_.AppendSet(name);
      for (const std::string& macro : macros) {
        auto added = std::make_unique<Macro>();
        CopyBounded(added->name, macro);
        set.macros.push_back(std::move(added));
      }
    }
    ASSERT_TRUE(library_.SaveFile());
  }

  test::MemoryFileSystem files_;
  IniFileAccess access_{files_};
  MacroStore store_;
  MacroStoreLibrary library_{store_, access_, kFolder};
  MacroStorePort& port_ = library_;
};

TEST_F(MacroStorePortTest, FindsSetsByTrimmedNameWithoutRegardToCase) {
  store_.AppendSet("World of Warcraft");
  store_.AppendSet("  Raid  ");
  store_.AppendSet("raid");  // a file may hold the same name twice: the first one counts
  struct Case {
    const char* name;
    int index;
  };
  for (const Case& c : {Case{"World of Warcraft", 0}, Case{"WORLD OF WARCRAFT", 0}, Case{" raid\t", 1},
                        Case{"Raid", 1}, Case{"Rai", -1}, Case{"", -1}, Case{"Xfire", -1}}) {
    EXPECT_EQ(port_.FindSet(c.name), c.index) << '"' << c.name << '"';
  }
}

TEST_F(MacroStorePortTest, EditsTheStoreInPlace) {
  port_.AppendSet("First");
  port_.AppendSet("  Second ");
  ASSERT_EQ(port_.SetCount(), 2);
  EXPECT_EQ(port_.SetAt(1), store_.Set(1));
  EXPECT_EQ(port_.SetAt(1)->name, "Second");
  EXPECT_EQ(port_.SetAt(2), nullptr);
  EXPECT_EQ(port_.SetAt(-1), nullptr);

  // The manager checks names before it appends; the store still keeps a slip from making a duplicate.
  port_.AppendSet("second");
  port_.AppendSet("   ");
  EXPECT_EQ(Describe(store_), (std::vector<std::string>{"First:", "Second:"}));

  port_.DeleteSet(0);
  port_.DeleteSet(5);
  EXPECT_EQ(Describe(store_), (std::vector<std::string>{"Second:"}));
}

TEST_F(MacroStorePortTest, StoreHoldsAtMostTheLimitOfSets) {
  for (int i = 0; i < kMaxMacroSets + 3; ++i) port_.AppendSet("Set " + std::to_string(i));
  EXPECT_EQ(port_.SetCount(), kMaxMacroSets);
}

// The manager itself over the port, ended either way.
class ManagedLibraryTest : public MacroStorePortTest {
 protected:
  class Answers final : public MacroManagerDialogs {
   public:
    std::optional<std::string> AskSetName() override { return setName; }
    bool Confirm(MacroQuestion) override { return true; }
    void Notify(MacroNotice) override {}
    std::optional<std::string> setName;
  };
  class NoView final : public MacroManagerView {
   public:
    void ShowSetName(const std::string&) override {}
    void ShowMacroNames(const std::vector<std::string>&, int) override {}
    void SelectRow(int) override {}
    void BeginNewRow() override {}
    void SetRowText(int, const std::string&) override {}
    void RemoveRow(int) override {}
    void ShowSelection(int, int) override {}
    void WriteBackTimeline() override {}
    void ShowEditor(MacroEditorView) override {}
  };

  void SetUp() override {
    SaveLibrary({{"World of Warcraft", {"Heal", "Mount"}}, {"Raid", {"Pull"}}});
    manager_.Initialise();
  }
  // The edits a user makes before closing: a set deleted, a set added with a new macro, a rename.
  void Edit() {
    manager_.SelectSet(0);
    manager_.DeleteSet();
    answers_.setName = "  Arena ";
    manager_.AddSet();
    manager_.NewMacro();
    manager_.OnNewRowNamed(0, "Burst");
    manager_.SelectSet(0);
    manager_.OnRowRenamed(0, "Pull all");
  }

  Answers answers_;
  NoView view_;
  MacroKeyInfo slot_{};
  MacroManager manager_{port_, answers_, view_, slot_, false, -1};
};

TEST_F(ManagedLibraryTest, OkWritesEveryEditToTheFile) {
  Edit();
  const std::vector<std::string> edited = {"Raid: Pull all", "Arena: Burst"};
  ASSERT_EQ(Describe(store_), edited);
  FinishMacroManager(manager_.OnOk(), port_);
  EXPECT_EQ(Describe(store_), edited);
  EXPECT_EQ(OnDisk(), edited);
}

TEST_F(ManagedLibraryTest, CancelBringsBackTheFileAsItWas) {
  const std::vector<std::string> saved = {"World of Warcraft: Heal Mount", "Raid: Pull"};
  Edit();
  FinishMacroManager(manager_.OnCancel(), port_);
  EXPECT_EQ(Describe(store_), saved);  // reloaded, not appended to what was there
  EXPECT_EQ(OnDisk(), saved);
}

TEST_F(ManagedLibraryTest, CancelWithoutAFileLeavesAnEmptyStore) {
  files_.files.clear();
  FinishMacroManager(kMacroManagerCancel, port_);
  EXPECT_EQ(port_.SetCount(), 0);
}

}  // namespace
}  // namespace kavo::option
