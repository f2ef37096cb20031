// The macro manager run for real over a macro library in a temporary program folder, with the program's
// pictures, on the test's main thread, and worked from a second thread with real X clicks and keys: sets
// chosen and deleted through the set menu, a first set named at once in an empty library, a macro named in
// place and recorded through the list editor, the timeline view's bars, and what OK and Cancel leave in
// "config\Kavo_sequence.dat".
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "artwork/macro_editor.h"
#include "artwork/macro_manager.h"
#include "artwork/set_name_dialog.h"
#include "option/macros/macro_library.h"
#include "option/macros/macro_manager.h"
#include "option/macros/win32/macro_editor_window.h"
#include "option/macros/win32/macro_manager_window.h"
#include "option/macros/win32/macro_timeline_view.h"
#include "settings/bounded_text.h"
#include "settings/ini_file.h"
#include "settings/win32/win32_file_system.h"
#include "platform/win32/win32_handles.h"
#include "skin/layout.h"
#include "tests/wine/timeline_picture.h"
#include "tests/wine/window_readback.h"
#include "tests/wine/temp_folder.h"
#include "tests/wine/x_session.h"

namespace kavo::wine_test {
namespace {

namespace art = artwork::macro_manager;
namespace timeline = wine_test::timeline;
namespace editor_art = artwork::macro_editor;
namespace name_art = artwork::set_name_dialog;
using option::Macro;
using option::MacroStore;
using option::MacroStoreLibrary;
using option::win32::MacroManagerOpening;
using option::win32::MacroTimelineView;

constexpr char kTitle[] = "Kavo Macro Manager";
constexpr int kDeviceA = 4, kDeviceB = 5;

MacroEvent Event(int key, int action, int delay) {
  return MacroEvent{static_cast<std::uint8_t>(key), static_cast<std::uint8_t>(action),
                    static_cast<std::uint16_t>(delay)};
}

struct MacroSpec {
  std::string name;
  std::vector<MacroEvent> events;
};
struct SetSpec {
  std::string name;
  std::vector<MacroSpec> macros;
};

bool Wait(const std::function<bool()>& condition, int timeoutMs = 5000) {
  for (int waited = 0; waited < timeoutMs; waited += 20) {
    if (condition()) return true;
    ::Sleep(20);
  }
  return condition();
}

HWND FindManager() {
  const HWND window = ::FindWindowA(MAKEINTATOM(32770), kTitle);
  return window != nullptr && ::IsWindowVisible(window) ? window : nullptr;
}

// The manager's own small dialog or message box in front of it; null while there is none.
HWND Popup(HWND manager) {
  const HWND popup = ::GetLastActivePopup(manager);
  return popup != manager && ::IsWindowVisible(popup) ? popup : nullptr;
}

POINT OnScreen(HWND window, const char* layout, int dx = 0, int dy = 0) {
  const skin::Rect bounds = skin::LayoutBounds(layout);
  POINT point{(bounds.left + bounds.right) / 2 + dx, (bounds.top + bounds.bottom) / 2 + dy};
  ::ClientToScreen(window, &point);
  return point;
}

// A control of the list editor, which stands at CHILD_POS inside the manager.
POINT InEditor(HWND manager, const char* layout) {
  const skin::Rect child = skin::LayoutBounds(art::kChildPos);
  return OnScreen(manager, layout, child.left, child.top);
}

void Click(POINT at) {
  EXPECT_TRUE(XSession::ClickAt(at.x, at.y));
  ::Sleep(250);
}

HWND MacroList(HWND manager) { return ::GetDlgItem(manager, option::win32::kMacroNameListId); }

BOOL CALLBACK FindEditorList(HWND window, LPARAM found) {
  if (::GetDlgCtrlID(window) == option::win32::kKeySequenceListId &&
      ::GetParent(window) != ::GetAncestor(window, GA_ROOT)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

// The key-sequence list of the list editor (the other list with the same id, one level down).
HWND EditorList(HWND manager) {
  HWND found = nullptr;
  ::EnumChildWindows(manager, FindEditorList, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Opens the set menu and chooses its entry'th command (separators do not count) with the keyboard.
void ChooseFromSetMenu(HWND manager, int entry) {
  Click(OnScreen(manager, art::kButtonComboxMacroSelect));
  std::string keys;
  for (int i = 0; i <= entry; ++i) keys += "key Down sleep 0.1 ";
  EXPECT_TRUE(XSession::XDo(keys + "key Return"));
  ::Sleep(300);
}

// "Edit Macro..." on a button that carries the macro.
MacroManagerOpening EditMacroOn(const char* set, const char* macro) {
  MacroManagerOpening opening;
  opening.newMacroMode = false;
  opening.preselectedSet = 0;
  opening.slot.function = kFunctionMacro;
  CopyBounded(opening.slot.macroSetName, set);
  CopyBounded(opening.slot.macroName, macro);
  return opening;
}

// What a worked manager gave, and whether act ended it: the close that ends a run act left open cancels,
// so a case that ends with a button expects closedByAct as well as the code.
struct ManagerRun {
  int code = 0;
  bool closedByAct = false;
};

class MacroManagerGuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.path().empty()) << "no temporary folder";
    folder_.Subfolder("config");
  }

  // Writes the sequence file as a saved library and loads it, as the program has it when the manager opens.
  void SaveAndLoad(const std::vector<SetSpec>& sets) {
    for (const SetSpec& spec : sets) {
      option::MacroSet& set = store_.AppendSet(spec.name);
      for (const MacroSpec& macroSpec : spec.macros) {
        auto macro = std::make_unique<Macro>();
        CopyBounded(macro->name, macroSpec.name);
        macro->repeatCount = 1;
        for (const MacroEvent& event : macroSpec.events) macro->events[macro->eventCount++] = event;
        set.macros.push_back(std::move(macro));
      }
    }
    ASSERT_TRUE(library_.SaveFile());
    library_.Reload();
  }

  // Runs the manager on this thread while act(manager) works it from another; whatever act leaves open is
  // closed (which cancels) so that the run ends.
  ManagerRun RunWorkedBy(const MacroManagerOpening& opening, const std::function<void(HWND)>& act) {
    ManagerRun run;
    std::thread user([&] {
      HWND manager = nullptr;
      Wait([&] { return (manager = FindManager()) != nullptr; });
      ::Sleep(300);
      if (manager != nullptr) {
        act(manager);
        run.closedByAct = WaitForWindowGone(manager);
      }
      while (manager != nullptr && ::IsWindow(manager)) {
        const HWND popup = Popup(manager);
        ::PostMessageA(popup != nullptr ? popup : manager, WM_CLOSE, 0, 0);
        ::Sleep(200);
      }
    });
    run.code = option::win32::RunMacroManager(::GetModuleHandleA(nullptr), nullptr, library_, menus_, opening);
    user.join();
    // As the program does after the dialog: OK saves the library, anything else reloads it.
    option::MacroStorePort& port = library_;
    option::FinishMacroManager(run.code, port);
    return run;
  }

  std::string Path() const { return library_.Path(); }

  std::vector<std::string> StoreSets() const {
    std::vector<std::string> sets;
    for (int s = 0; s < store_.SetCount(); ++s) {
      std::string text = store_.Set(s)->name + ":";
      for (const auto& macro : store_.Set(s)->macros) text += " " + FieldText(macro->name);
      sets.push_back(text);
    }
    return sets;
  }

  TempFolder folder_;
  win32::Win32FileSystem files_;
  IniFileAccess access_{files_};
  MacroStore store_;
  MacroStoreLibrary library_{store_, access_, folder_.path()};
  kavo::skin::MenuClickMemory menus_;
};

TEST_F(MacroManagerGuiTest, CancelAfterDeletingASetBringsItBack) {
  SaveAndLoad({{"World of Warcraft", {{"Heal", {}}, {"Mount", {}}}}, {"Raid", {{"Pull", {}}}}});
  std::vector<std::string> afterChoosing, afterDeleting;
  bool asked = false;
  const ManagerRun run = RunWorkedBy(MacroManagerOpening{}, [&](HWND manager) {
    ChooseFromSetMenu(manager, 0);  // World of Warcraft
    afterChoosing = ListRows(MacroList(manager));
    ChooseFromSetMenu(manager, 3);  // World of Warcraft, Raid, [+]Add, [x]Delete
    HWND question = nullptr;
    asked = Wait([&] { return (question = Popup(manager)) != nullptr; });
    if (!asked) return;
    ::Sleep(200);
    Click(OnScreen(question, "BUTTON_OK,72,170,56,24,"));
    Wait([&] { return ListRows(MacroList(manager)) == std::vector<std::string>{"Pull"}; });
    afterDeleting = ListRows(MacroList(manager));
    Click(OnScreen(manager, art::kButtonCancel));
  });
  EXPECT_EQ(run.code, option::kMacroManagerCancel);
  EXPECT_TRUE(run.closedByAct) << "Cancel left the manager open";
  EXPECT_EQ(afterChoosing, (std::vector<std::string>{"Heal", "Mount"}));
  EXPECT_TRUE(asked) << "no delete-set question";
  EXPECT_EQ(afterDeleting, (std::vector<std::string>{"Pull"}));
  EXPECT_EQ(StoreSets(), (std::vector<std::string>{"World of Warcraft: Heal Mount", "Raid: Pull"}));
  EXPECT_EQ(::GetPrivateProfileIntA("SetMacro", "number", -1, Path().c_str()), 2);
}

TEST_F(MacroManagerGuiTest, MacroMadeInAnEmptyLibraryIsInTheFileAfterOk) {
  std::vector<std::string> names, recorded;
  bool askedForSet = false;
  std::string screenshot;
  const ManagerRun run = RunWorkedBy(MacroManagerOpening{}, [&](HWND manager) {
    // An empty library asks for a first set at once.
    HWND nameDialog = nullptr;
    askedForSet = Wait([&] { return (nameDialog = Popup(manager)) != nullptr; });
    if (!askedForSet) return;
    ::Sleep(200);
    Click(OnScreen(nameDialog, name_art::kEditMacroSetName));
    EXPECT_TRUE(XSession::XDo("type --delay 60 Arena"));
    EXPECT_TRUE(XSession::XDo("key Return"));
    Wait([&] { return Popup(manager) == nullptr; });

    Click(OnScreen(manager, art::kButtonNew));
    EXPECT_TRUE(XSession::XDo("type --delay 60 Burst"));
    EXPECT_TRUE(XSession::XDo("key Return"));
    Wait([&] { return ListRows(MacroList(manager)) == std::vector<std::string>{"Burst"}; });
    names = ListRows(MacroList(manager));

    const HWND editorList = EditorList(manager);
    Click(InEditor(manager, editor_art::kButtonDelayOnOff));
    Click(InEditor(manager, editor_art::kButtonStartRecord));
    EXPECT_TRUE(XSession::XDo("keydown a sleep 0.3 keyup a"));
    Wait([&] { return ListRows(editorList).size() == 3; });
    Click(InEditor(manager, editor_art::kButtonStartRecord));
    recorded = ListRows(editorList);
    XSession::MoveTo(OnScreen(manager, art::kHeadingMacroSets).x, OnScreen(manager, art::kHeadingMacroSets).y);
    ::Sleep(300);
    screenshot = XSession::Screenshot("macro-manager-list");
    Click(OnScreen(manager, art::kButtonOk));
  });
  EXPECT_TRUE(askedForSet) << "no set name dialog";
  EXPECT_EQ(run.code, option::kMacroManagerOk);
  EXPECT_TRUE(run.closedByAct) << "OK left the manager open";
  EXPECT_EQ(names, std::vector<std::string>{"Burst"});
  ASSERT_EQ(recorded.size(), 3u);
  EXPECT_EQ(recorded[0], "A Press");
  EXPECT_EQ(recorded[2], "A Release");
  EXPECT_FALSE(screenshot.empty());

  const std::string file = Path();
  const char* path = file.c_str();
  EXPECT_EQ(::GetPrivateProfileIntA("SetMacro", "number", -1, path), 1);
  char setName[64] = {};
  ::GetPrivateProfileStringA("SetMacro", "0", "", setName, sizeof setName, path);
  EXPECT_STREQ(setName, "Arena");
  EXPECT_EQ(::GetPrivateProfileIntA("Arena", "number", -1, path), 1);
  Macro saved;
  std::memset(&saved, 0xCD, sizeof saved);
  ASSERT_TRUE(::GetPrivateProfileStructA("Arena", "0", &saved, sizeof saved, path));
  EXPECT_STREQ(saved.name, "Burst");
  ASSERT_EQ(saved.eventCount, 2);
  EXPECT_EQ(int{saved.events[0].key}, kDeviceA);
  EXPECT_EQ(int{saved.events[0].action}, 1);
  EXPECT_EQ(recorded[1], std::to_string(saved.events[0].delay) + " ms");  // the measured hold, as shown
  EXPECT_GE(int{saved.events[0].delay}, 250);
  EXPECT_EQ(int{saved.events[1].key}, kDeviceA);
  EXPECT_EQ(int{saved.events[1].action}, 2);
  EXPECT_EQ(int{saved.events[1].delay}, 0);
}

TEST_F(MacroManagerGuiTest, TimelineShowsTheButtonsMacroAsBars) {
  // A press, B press, A release, B release: two overlapping bars, A 0..300 ms and B 100..600 ms.
  const std::vector<MacroEvent> combo = {Event(kDeviceA, 1, 100), Event(kDeviceB, 1, 200), Event(kDeviceA, 2, 300),
                                         Event(kDeviceB, 2, 0)};
  SaveAndLoad({{"World of Warcraft", {{"Heal", {}}}}, {"Raid", {{"Other", {}}, {"Combo", combo}}}});
  // On a button that carries Raid's Combo, its set named in other letter case.
  const MacroManagerOpening opening = EditMacroOn("raid", "Combo");

  int selectedRow = -1;
  bool timelineShown = false, editorHidden = false;
  std::vector<std::vector<bool>> barAt;  // per row: at 50, 150, 400 and 800 ms
  std::string screenshot;
  const ManagerRun run = RunWorkedBy(opening, [&](HWND manager) {
    selectedRow = static_cast<int>(::SendMessageA(MacroList(manager), LB_GETCURSEL, 0, 0));
    Click(OnScreen(manager, art::kButtonSwitchEditor));
    const HWND view = ::FindWindowExA(manager, nullptr, "KavoMacroTimeline", nullptr);
    timelineShown = Wait([&] { return view != nullptr && ::IsWindowVisible(view); });
    editorHidden = !::IsWindowVisible(::GetParent(EditorList(manager)));
    if (!timelineShown) return;
    const ClientPicture pixels(view);
    for (int row = 0; row < 3; ++row) {
      std::vector<bool> shown;
      for (int time : {50, 150, 400, 800}) {
        shown.push_back(pixels.At(timeline::XOf(time), timeline::RowMiddle(row)) == timeline::kBarColour);
      }
      barAt.push_back(shown);
    }
    XSession::MoveTo(OnScreen(manager, art::kHeadingMacroSets).x, OnScreen(manager, art::kHeadingMacroSets).y);
    ::Sleep(300);
    screenshot = XSession::Screenshot("macro-manager-timeline");
    Click(OnScreen(manager, art::kButtonOk));
  });
  EXPECT_EQ(run.code, option::kMacroManagerOk);
  EXPECT_TRUE(run.closedByAct) << "OK left the manager open";
  EXPECT_EQ(selectedRow, 1);
  EXPECT_TRUE(timelineShown);
  EXPECT_TRUE(editorHidden);
  EXPECT_EQ(barAt, (std::vector<std::vector<bool>>{{true, true, false, false},  // A
                                                   {false, true, true, false},  // B
                                                   {false, false, false, false}}));
  EXPECT_FALSE(screenshot.empty());

  // OK wrote the unchanged bars back: the same four events with the same delays.
  Macro saved;
  std::memset(&saved, 0xCD, sizeof saved);
  ASSERT_TRUE(::GetPrivateProfileStructA("Raid", "1", &saved, sizeof saved, Path().c_str()));
  EXPECT_STREQ(saved.name, "Combo");
  ASSERT_EQ(saved.eventCount, 4);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(saved.events[i].key, combo[static_cast<std::size_t>(i)].key);
    EXPECT_EQ(saved.events[i].action, combo[static_cast<std::size_t>(i)].action);
    EXPECT_EQ(saved.events[i].delay, combo[static_cast<std::size_t>(i)].delay);
  }
}

TEST_F(MacroManagerGuiTest, TimelineShowsAMacroItsBarsCannotHoldWithANoticeAndOkLeavesItAsItWas) {
  // A key stroke, then a lone Left Button Down: the bars would drop the press.
  const std::vector<MacroEvent> unpaired = {Event(kDeviceA, 1, 600), Event(kDeviceA, 2, 0),
                                            Event(option::kMacroLeftButton, 1, 0)};
  SaveAndLoad({{"Raid", {{"Drag", unpaired}}}});
  std::string before, after;
  ASSERT_TRUE(files_.Read(Path(), before));
  const MacroManagerOpening opening = EditMacroOn("Raid", "Drag");

  int noticePixels = -1;
  bool strokeShown = false;
  std::string screenshot;
  const ManagerRun run = RunWorkedBy(opening, [&](HWND manager) {
    Click(OnScreen(manager, art::kButtonSwitchEditor));
    const HWND view = ::FindWindowExA(manager, nullptr, "KavoMacroTimeline", nullptr);
    if (!Wait([&] { return view != nullptr && ::IsWindowVisible(view); })) return;
    const ClientPicture pixels(view);
    noticePixels = timeline::NoticePixels(pixels);
    strokeShown = pixels.At(timeline::XOf(300), timeline::RowMiddle(0)) == timeline::kBarColour;
    XSession::MoveTo(OnScreen(manager, art::kHeadingMacroSets).x, OnScreen(manager, art::kHeadingMacroSets).y);
    ::Sleep(300);
    screenshot = XSession::Screenshot("macro-manager-timeline-view-only");
    // Back to the list, over to the timeline again, then OK: none of it may rewrite the macro.
    Click(OnScreen(manager, art::kButtonSwitchEditor));
    Click(OnScreen(manager, art::kButtonSwitchEditor));
    Click(OnScreen(manager, art::kButtonOk));
  });
  EXPECT_EQ(run.code, option::kMacroManagerOk);
  EXPECT_TRUE(run.closedByAct) << "OK left the manager open";
  EXPECT_GT(noticePixels, 20) << "no notice over a macro the bars cannot hold";
  EXPECT_TRUE(strokeShown) << "the stroke the bars can hold is shown";
  EXPECT_FALSE(screenshot.empty());
  ASSERT_TRUE(files_.Read(Path(), after));
  EXPECT_EQ(after, before) << "the sequence file changed";
}

TEST_F(MacroManagerGuiTest, NamesAreEditedInPlaceButNeverDuplicated) {
  SaveAndLoad({{"Raid", {{"Heal", {}}, {"Mount", {}}}}});
  MacroManagerOpening opening;
  opening.newMacroMode = false;
  opening.preselectedSet = 0;
  std::vector<std::string> afterDuplicateRename, afterDuplicateNew, afterRename;
  const ManagerRun run = RunWorkedBy(opening, [&](HWND manager) {
    const HWND list = MacroList(manager);
    const skin::Rect bounds = skin::LayoutBounds(art::kButtonListMacroName);
    POINT firstRow{bounds.left + 40, bounds.top + 10};
    ::ClientToScreen(manager, &firstRow);
    const auto rename = [&](const char* text) {
      EXPECT_TRUE(XSession::XDo("mousemove " + std::to_string(firstRow.x) + " " + std::to_string(firstRow.y) +
                                " sleep 0.2 click --repeat 2 --delay 80 1"));
      ::Sleep(400);
      EXPECT_TRUE(XSession::XDo(std::string("key ctrl+a type --delay 60 '") + text + "'"));
      EXPECT_TRUE(XSession::XDo("key Return"));
      ::Sleep(500);
    };
    rename("mount ");  // another macro's name in other letters: the old name stays
    afterDuplicateRename = ListRows(list);
    Click(OnScreen(manager, art::kButtonNew));
    EXPECT_TRUE(XSession::XDo("type --delay 60 HEAL"));
    EXPECT_TRUE(XSession::XDo("key Return"));
    ::Sleep(500);
    afterDuplicateNew = ListRows(list);
    rename("Big Heal");
    afterRename = ListRows(list);
    Click(OnScreen(manager, art::kButtonOk));
  });
  EXPECT_EQ(run.code, option::kMacroManagerOk);
  EXPECT_TRUE(run.closedByAct) << "OK left the manager open";
  EXPECT_EQ(afterDuplicateRename, (std::vector<std::string>{"Heal", "Mount"}));
  EXPECT_EQ(afterDuplicateNew, (std::vector<std::string>{"Heal", "Mount"}));
  EXPECT_EQ(afterRename, (std::vector<std::string>{"Big Heal", "Mount"}));
  EXPECT_EQ(StoreSets(), (std::vector<std::string>{"Raid: Big Heal Mount"}));
  Macro saved;
  std::memset(&saved, 0xCD, sizeof saved);
  ASSERT_TRUE(::GetPrivateProfileStructA("Raid", "0", &saved, sizeof saved, Path().c_str()));
  EXPECT_STREQ(saved.name, "Big Heal");
  EXPECT_EQ(::GetPrivateProfileIntA("Raid", "number", -1, Path().c_str()), 2);
}

}  // namespace
}  // namespace kavo::wine_test
