#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "monitor/scroll_target.h"

namespace kavo::monitor {
namespace {

using EventLog = std::vector<std::string>;

// A window of a scripted tree: children in z-order, the first on top.
struct Win {
  std::string name, className;
  std::uint32_t style = 0;
  WindowRect rect{};
  std::vector<Win> children;
};

constexpr std::uint32_t kHScroll = 0x00100000, kVScroll = 0x00200000;  // window styles
constexpr std::uint32_t kBarVertical = 0x1, kBarSizeBox = 0x8;         // scroll-bar control styles

bool Contains(const WindowRect& rect, ScreenPoint point) {
  return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

// The screen as the tree's functions show it, with names for the logs. A window holds the points of its
// rectangle (left and top edges included); the window at a point is the deepest one there.
class ScriptedWindows final : public WindowTree {
 public:
  ScriptedWindows() { desktop_ = Add(kNoWindow, {"desktop", "#32769", 0, {0, 0, 1280, 1024}, {}}); }

  WindowHandle Add(WindowHandle parent, const Win& description) {
    const WindowHandle handle = 0x10000 + 4 * windows_.size();
    windows_[handle] = Node{description.name, description.className, description.style, description.rect, parent, {}};
    if (parent != kNoWindow) windows_.at(parent).children.push_back(handle);
    for (const Win& child : description.children) Add(handle, child);
    return handle;
  }
  WindowHandle AddTopLevel(const Win& description) { return Add(desktop_, description); }
  WindowHandle Named(const std::string& name) const {
    for (const auto& [handle, node] : windows_) {
      if (node.name == name) return handle;
    }
    ADD_FAILURE() << "no window " << name;
    return kNoWindow;
  }
  std::string NameOf(WindowHandle handle) const {
    if (handle == kNoWindow) return "none";
    const auto found = windows_.find(handle);
    return found == windows_.end() ? "?" : found->second.name;
  }
  bool Knows(WindowHandle handle) const { return windows_.count(handle) != 0; }
  // Makes a sibling chain loop, as a chain reordered during a walk can.
  void LinkNext(WindowHandle from, WindowHandle to) { nextLinks_[from] = to; }
  void LinkPrevious(WindowHandle from, WindowHandle to) { previousLinks_[from] = to; }

  ScreenPoint pointer{};
  int siblingSteps = 0, childSteps = 0;

  ScreenPoint PointerPosition() override { return pointer; }
  WindowHandle WindowAt(ScreenPoint point) override {
    WindowHandle window = desktop_;
    for (bool deeper = true; deeper;) {
      deeper = false;
      for (const WindowHandle child : windows_.at(window).children) {
        if (Contains(windows_.at(child).rect, point)) {
          window = child;
          deeper = true;
          break;
        }
      }
    }
    return window;
  }
  WindowHandle DesktopWindow() override { return desktop_; }
  std::string ClassName(WindowHandle window) override { return Knows(window) ? windows_.at(window).className : ""; }
  std::uint32_t Style(WindowHandle window) override { return Knows(window) ? windows_.at(window).style : 0; }
  WindowRect Rect(WindowHandle window) override { return Knows(window) ? windows_.at(window).rect : WindowRect{}; }
  WindowHandle Parent(WindowHandle window) override {
    if (!Knows(window)) return kNoWindow;
    const WindowHandle parent = windows_.at(window).parent;
    return parent == desktop_ ? kNoWindow : parent;  // a top-level window has no parent, only the desktop
  }
  WindowHandle FirstChild(WindowHandle window) override {
    ++childSteps;
    if (!Knows(window) || windows_.at(window).children.empty()) return kNoWindow;
    return windows_.at(window).children.front();
  }
  WindowHandle NextSibling(WindowHandle window) override {
    ++siblingSteps;
    if (nextLinks_.count(window)) return nextLinks_.at(window);
    return Sibling(window, +1);
  }
  WindowHandle PreviousSibling(WindowHandle window) override {
    ++siblingSteps;
    if (previousLinks_.count(window)) return previousLinks_.at(window);
    return Sibling(window, -1);
  }
  WindowHandle ChildAt(WindowHandle window, ScreenPoint point) override {
    if (!Knows(window) || !Contains(windows_.at(window).rect, point)) return kNoWindow;
    for (const WindowHandle child : windows_.at(window).children) {
      if (Contains(windows_.at(child).rect, point)) return child;
    }
    return window;
  }
  std::vector<WindowHandle> Descendants(WindowHandle window) override {
    std::vector<WindowHandle> all;
    if (!Knows(window)) return all;
    for (const WindowHandle child : windows_.at(window).children) {
      all.push_back(child);
      for (const WindowHandle below : Descendants(child)) all.push_back(below);
    }
    return all;
  }
  bool HasAncestorOfClass(WindowHandle window, std::string_view className) override {
    for (WindowHandle up = Knows(window) ? windows_.at(window).parent : kNoWindow; up != kNoWindow;
         up = windows_.at(up).parent) {
      if (windows_.at(up).className == className) return true;
    }
    return false;
  }

 private:
  struct Node {
    std::string name, className;
    std::uint32_t style;
    WindowRect rect;
    WindowHandle parent;
    std::vector<WindowHandle> children;
  };
  WindowHandle Sibling(WindowHandle window, int step) {
    if (!Knows(window) || windows_.at(window).parent == kNoWindow) return kNoWindow;
    const auto& siblings = windows_.at(windows_.at(window).parent).children;
    for (std::size_t i = 0; i < siblings.size(); ++i) {
      if (siblings[i] != window) continue;
      const std::size_t other = i + step;
      return other < siblings.size() ? siblings[other] : kNoWindow;
    }
    return kNoWindow;
  }

  std::map<WindowHandle, Node> windows_;
  std::map<WindowHandle, WindowHandle> nextLinks_, previousLinks_;
  WindowHandle desktop_ = kNoWindow;
};

// Everything the scroller does, by window name, message name and value.
class RecordingOutput final : public ScrollOutput, public WebDocuments {
 public:
  explicit RecordingOutput(const ScriptedWindows& windows) : windows_(windows) {}

  void ClickAt(ScreenPoint at, int count, ScreenPoint back) override {
    log.push_back("click " + Point(at) + " x" + std::to_string(count) + " back " + Point(back));
  }
  void Post(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
    log.push_back("post " + Message(window, message, wParam, lParam));
  }
  void Send(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
    log.push_back("send " + Message(window, message, wParam, lParam));
  }
  void PostToService(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
    log.push_back("service " + std::to_string(message) + " " + std::to_string(wParam) + " " + std::to_string(lParam));
  }
  WebScrollResult ScrollBy(WindowHandle window, int dx) override {
    log.push_back("scrollBy " + windows_.NameOf(window) + " " + std::to_string(dx));
    return webResult;
  }

  EventLog log;
  WebScrollResult webResult = WebScrollResult::Scrolled;

 private:
  static std::string Point(ScreenPoint point) { return std::to_string(point.x) + "," + std::to_string(point.y); }
  std::string Message(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) const {
    const std::map<unsigned, const char*> names = {
        {0x0114, "WM_HSCROLL"}, {0x0100, "WM_KEYDOWN"}, {0x0101, "WM_KEYUP"}};
    const std::string name = names.count(message) ? names.at(message) : std::to_string(message);
    std::string parameter;
    if (lParam != 0 && windows_.Knows(static_cast<WindowHandle>(lParam))) {
      parameter = windows_.NameOf(static_cast<WindowHandle>(lParam));
    } else {
      char hex[32];
      std::snprintf(hex, sizeof hex, "0x%llx", static_cast<unsigned long long>(static_cast<std::uintptr_t>(lParam)));
      parameter = hex;
    }
    return windows_.NameOf(window) + " " + name + " " + std::to_string(wParam) + " " + parameter;
  }
  const ScriptedWindows& windows_;
};

constexpr WindowRect kWide{100, 400, 300, 417};  // a horizontal bar control
constexpr WindowRect kTall{300, 100, 317, 500};  // a vertical one

TEST(WindowKindTest, ComesFromTheExactClassName) {
  const std::pair<const char*, WindowKind> cases[] = {
      {"_WwG", WindowKind::Document},
      {"AVL_AVView", WindowKind::Document},
      {"EXCEL7", WindowKind::ArrowClicks},
      {"paneClassDC", WindowKind::Pane},
      {"VISIOG", WindowKind::Drawing},
      {"PSViewC", WindowKind::Drawing},
      {"EditControl", WindowKind::Drawing},
      {"FrontPageEditorDocumentView", WindowKind::PageEditor},
      {"OGrid", WindowKind::Grid},
      {"OFormSub", WindowKind::Grid},
      {"OPrtPrevPage", WindowKind::Grid},
      {"MozillaWindowClass", WindowKind::Browser},
      {"excel7", WindowKind::Plain},
      {"EXCEL", WindowKind::Plain},
      {"EXCEL7 ", WindowKind::Plain},
      {"Internet Explorer_Server", WindowKind::Plain},
      {"", WindowKind::Plain},
  };
  for (const auto& [className, kind] : cases) {
    EXPECT_EQ(KindOfClass(className), kind) << '"' << className << '"';
  }
}

TEST(HasScrollBarTest, StylesForWindowsAndShapeAndPointerForBarControls) {
  struct Case {
    const char* name;
    Win window;
    ScreenPoint pointer;
    bool horizontal, vertical;
  };
  const Case cases[] = {
      {"web view without styles", {"w", "Internet Explorer_Server", 0, kWide, {}}, {0, 0}, true, true},
      {"plain window with WS_HSCROLL", {"w", "Edit", kHScroll, kTall, {}}, {0, 0}, true, false},
      {"plain window with WS_VSCROLL", {"w", "Edit", kVScroll, kWide, {}}, {0, 0}, false, true},
      {"plain window with both", {"w", "Edit", kHScroll | kVScroll, {}, {}}, {0, 0}, true, true},
      {"plain window with neither", {"w", "Edit", 0, kWide, {}}, {200, 405}, false, false},
      {"wide bar, pointer inside", {"w", "ScrollBar", 0, kWide, {}}, {200, 405}, true, false},
      {"wide bar, pointer left of it", {"w", "ScrollBar", 0, kWide, {}}, {5, 5}, true, false},
      {"wide bar, pointer on its right edge", {"w", "ScrollBar", 0, kWide, {}}, {300, 405}, false, false},
      {"wide bar, pointer right of it", {"w", "NUIScrollbar", 0, kWide, {}}, {301, 405}, false, false},
      {"wide bar's styles do not count", {"w", "ScrollBar", kVScroll, kWide, {}}, {200, 405}, true, false},
      {"tall bar, pointer level with it", {"w", "ScrollBar", 0, kTall, {}}, {0, 101}, false, true},
      {"tall bar, pointer on its top edge", {"w", "ScrollBar", 0, kTall, {}}, {0, 100}, false, false},
      {"tall bar, pointer on its bottom edge", {"w", "NUIScrollbar", 0, kTall, {}}, {0, 500}, false, false},
      {"tall bar's styles do not count", {"w", "NUIScrollbar", kHScroll, kTall, {}}, {0, 499}, false, true},
      {"square bar", {"w", "ScrollBar", 0, {0, 0, 17, 17}, {}}, {5, 5}, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedWindows windows;
    const WindowHandle window = windows.AddTopLevel(c.window);
    ScrollSearch search(windows, c.pointer);
    EXPECT_EQ(search.HasScrollBar(window, ScrollAxis::Horizontal), c.horizontal);
    EXPECT_EQ(search.HasScrollBar(window, ScrollAxis::Vertical), c.vertical);
  }
}

// An Adobe bar frame holding a bar control of the given style.
Win AdobeBar(const char* name, std::uint32_t barStyle, const char* barClass = "ScrollBar") {
  return {std::string(name) + " frame", "AVL_AVScrollBar", 0, kWide, {{name, barClass, barStyle, kWide, {}}}};
}
Win Bar(const char* name, const char* className = "ScrollBar", WindowRect rect = kWide) {
  return {name, className, 0, rect, {}};
}
Win Plain(const char* name, std::vector<Win> children = {}) { return {name, "Static", 0, {}, std::move(children)}; }

TEST(FindSiblingScrollBarTest, FollowingSiblingsFirstThenPrecedingOnes) {
  struct Case {
    const char* name;
    std::vector<Win> siblings;  // in z-order; "w" is where the search starts
    ScrollAxis axis;
    const char* found;
  };
  const Case cases[] = {
      {"no siblings", {Plain("w")}, ScrollAxis::Horizontal, "none"},
      {"following bar", {Plain("w"), Plain("x"), Bar("bar")}, ScrollAxis::Horizontal, "bar"},
      {"following NUI bar", {Plain("w"), Bar("bar", "NUIScrollbar")}, ScrollAxis::Horizontal, "bar"},
      {"following bar of the other axis", {Plain("w"), Bar("bar", "ScrollBar", kTall)}, ScrollAxis::Horizontal,
       "none"},
      {"vertical search", {Plain("w"), Bar("wide"), Bar("tall", "ScrollBar", kTall)}, ScrollAxis::Vertical, "tall"},
      {"following wins over preceding", {Bar("before"), Plain("w"), Bar("after")}, ScrollAxis::Horizontal, "after"},
      {"a vertical one after, the horizontal one before",
       {Bar("before"), Plain("w"), Bar("after", "ScrollBar", kTall)},
       ScrollAxis::Horizontal,
       "before"},
      {"nearest preceding bar first", {Bar("far"), Bar("near"), Plain("w")}, ScrollAxis::Horizontal, "near"},
      {"preceding NUI bar is not taken", {Bar("before", "NUIScrollbar"), Plain("w")}, ScrollAxis::Horizontal, "none"},
      {"a window with WS_HSCROLL beside is no bar",
       {Plain("w"), {"edit", "Edit", kHScroll, kWide, {}}},
       ScrollAxis::Horizontal,
       "none"},
      {"Adobe bar after", {Plain("w"), AdobeBar("inner", 0)}, ScrollAxis::Horizontal, "inner"},
      {"Adobe bar before", {AdobeBar("inner", 0), Plain("w")}, ScrollAxis::Horizontal, "inner"},
      {"Adobe bar's shape does not count",
       {Plain("w"), {"frame", "AVL_AVScrollBar", 0, kTall, {{"inner", "ScrollBar", 0, kTall, {}}}}},
       ScrollAxis::Horizontal,
       "inner"},
      {"vertical Adobe bar", {Plain("w"), AdobeBar("inner", kBarVertical)}, ScrollAxis::Horizontal, "none"},
      {"vertical Adobe bar, vertical search", {Plain("w"), AdobeBar("inner", kBarVertical)}, ScrollAxis::Vertical,
       "inner"},
      {"Adobe size box", {Plain("w"), AdobeBar("inner", kBarSizeBox)}, ScrollAxis::Horizontal, "none"},
      {"Adobe frame around another class", {Plain("w"), AdobeBar("inner", 0, "NUIScrollbar")},
       ScrollAxis::Horizontal, "none"},
      {"Adobe vertical, then a bar", {Plain("w"), AdobeBar("inner", kBarVertical), Bar("bar")},
       ScrollAxis::Horizontal, "bar"},
      {"MFC pane before holds the bar", {{"pane", "AfxWnd70", 0, {}, {Bar("bar")}}, Plain("w")},
       ScrollAxis::Horizontal, "bar"},
      {"older MFC pane before", {{"pane", "AfxWnd42", 0, {}, {Plain("first"), Bar("bar")}}, Plain("w")},
       ScrollAxis::Horizontal, "bar"},
      {"MFC pane after is not searched", {Plain("w"), {"pane", "AfxWnd70", 0, {}, {Bar("bar")}}},
       ScrollAxis::Horizontal, "none"},
      {"MFC pane's bar deeper down is not searched",
       {{"pane", "AfxWnd70", 0, {}, {Plain("first", {Bar("deep")})}}, Plain("w")},
       ScrollAxis::Horizontal,
       "none"},
      {"an empty MFC pane, then a bar before it",
       {Bar("bar"), {"pane", "AfxWnd42", 0, {}, {}}, Plain("w")},
       ScrollAxis::Horizontal,
       "bar"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedWindows windows;
    windows.AddTopLevel({"parent", "Parent", 0, {}, c.siblings});
    ScrollSearch search(windows, {200, 405});
    EXPECT_EQ(windows.NameOf(search.FindSiblingScrollBar(windows.Named("w"), c.axis)), c.found);
  }
}

TEST(FindChildScrollBarTest, FirstChildOrABarBesideIt) {
  struct Case {
    const char* name;
    std::vector<Win> children;
    const char* found;
  };
  const Case cases[] = {
      {"no children", {}, "none"},
      {"first child scrolls", {{"child", "Edit", kHScroll, {}, {}}, Bar("bar")}, "child"},
      {"first child is the bar", {Bar("bar"), Plain("other")}, "bar"},
      {"a bar beside the first child", {Plain("child"), Plain("other"), Bar("bar")}, "bar"},
      {"grandchildren are not searched", {Plain("child", {Bar("deep")})}, "none"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedWindows windows;
    const WindowHandle window = windows.AddTopLevel({"w", "Parent", 0, {}, c.children});
    ScrollSearch search(windows, {200, 405});
    EXPECT_EQ(windows.NameOf(search.FindChildScrollBar(window, ScrollAxis::Horizontal)), c.found);
  }
}

TEST(ScrollSearchTest, LoopingWindowChainsEndTheSearchSoon) {
  ScriptedWindows windows;
  windows.AddTopLevel({"parent", "Parent", 0, {}, {Plain("a"), Plain("b"), Plain("c")}});
  windows.LinkNext(windows.Named("c"), windows.Named("a"));
  ScrollSearch search(windows, {200, 405});
  EXPECT_EQ(search.FindSiblingScrollBar(windows.Named("b"), ScrollAxis::Horizontal), kNoWindow);
  EXPECT_LT(windows.siblingSteps, 100000) << "bounded";

  // An MFC pane whose child's preceding sibling is the pane again: the search recurses into itself.
  ScriptedWindows panes;
  panes.AddTopLevel({"parent", "Parent", 0, {}, {{"pane", "AfxWnd70", 0, {}, {Plain("inner")}}, Plain("w")}});
  panes.LinkPrevious(panes.Named("inner"), panes.Named("pane"));
  ScrollSearch paneSearch(panes, {200, 405});
  EXPECT_EQ(paneSearch.FindSiblingScrollBar(panes.Named("w"), ScrollAxis::Horizontal), kNoWindow);
  EXPECT_LT(panes.childSteps, 1000) << "each level of this recursion costs stack; it must stay shallow";
}

constexpr WindowRect kFrame{100, 100, 500, 500};
constexpr WindowRect kUnderPointer{150, 150, 350, 350};
constexpr ScreenPoint kPointer{200, 200};

// The search starts at "w", a window around the pointer at (200,200).
TEST(FindHorizontalTargetTest, TheWindowUnderThePointerOrTheBarThatScrollsIt) {
  struct Case {
    const char* name;
    Win topLevel;
    const char* found;
  };
  const Case cases[] = {
      {"scrolls itself", {"w", "Frame", kHScroll, kFrame, {}}, "w"},
      {"the child under the pointer scrolls",
       {"w", "Frame", kHScroll, kFrame, {{"c", "Edit", kHScroll, kUnderPointer, {}}}},
       "c"},
      {"a child elsewhere is not the one",
       {"w", "Frame", kHScroll, kFrame, {{"c", "Edit", kHScroll, {0, 0, 10, 10}, {}}}},
       "w"},
      {"only vertical", {"w", "Frame", kVScroll, kFrame, {}}, "none"},
      {"web view", {"w", "Internet Explorer_Server", 0, kFrame, {}}, "w"},
      {"browser content: its frame",
       {"frame", "Frame", 0, kFrame, {{"w", "MozillaWindowClass", 0, kUnderPointer, {}}}},
       "frame"},
      {"browser content at the top level has no frame", {"w", "MozillaWindowClass", kHScroll, kFrame, {}}, "none"},
      {"a bar inside the child under the pointer",
       {"w", "Frame", 0, kFrame, {{"c", "View", 0, kUnderPointer, {{"bar", "ScrollBar", 0, kWide, {}}}}}},
       "bar"},
      {"a bar beside the child under the pointer",
       {"w", "Frame", 0, kFrame, {{"c", "View", 0, kUnderPointer, {}}, Bar("bar")}},
       "bar"},
      {"inside before beside",
       {"w", "Frame", 0, kFrame, {{"c", "View", 0, kUnderPointer, {Bar("inside")}}, Bar("beside")}},
       "inside"},
      {"a vertical bar under the pointer looks no further",
       {"w", "Frame", 0, kFrame, {Bar("c", "ScrollBar", {190, 150, 210, 350}), Bar("beside")}},
       "none"},
      {"a horizontal bar under the pointer", {"w", "Frame", 0, kFrame, {Bar("c", "ScrollBar", {150, 190, 350, 210})}},
       "c"},
      {"a plain window with nothing around", {"w", "Frame", 0, kFrame, {{"c", "View", 0, kUnderPointer, {}}}}, "none"},
      {"desktop icon view",
       {"progman", "Progman", 0, kFrame,
        {{"view", "SHELLDLL_DefView", 0, kFrame, {{"w", "SysListView32", kHScroll, kFrame, {}}}}}},
       "none"},
      {"a list view elsewhere", {"w", "SysListView32", kHScroll, kFrame, {}}, "w"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedWindows windows;
    windows.AddTopLevel(c.topLevel);
    ScrollSearch search(windows, kPointer);
    EXPECT_EQ(windows.NameOf(search.FindHorizontalTarget(windows.Named("w"))), c.found);
  }
}

TEST(FindHorizontalTargetTest, NothingForNoWindowOrTheDesktop) {
  ScriptedWindows windows;
  ScrollSearch search(windows, kPointer);
  EXPECT_EQ(search.FindHorizontalTarget(kNoWindow), kNoWindow);
  EXPECT_EQ(search.FindHorizontalTarget(windows.DesktopWindow()), kNoWindow);
}

// Drawing panes whose bar lies elsewhere under their parent: it must span about the pane's width.
TEST(FindHorizontalTargetTest, PaneBarsWithin25PixelsOfThePane) {
  struct Case {
    const char* name;
    const char* paneClass;
    WindowRect bar;
    const char* found;
  };
  // The pane spans 150..350; its bar sits in a frame of its own beside it.
  const Case cases[] = {
      {"same width", "paneClassDC", {150, 400, 350, 417}, "bar"},
      {"25 wider on both sides", "VISIOG", {125, 400, 375, 417}, "bar"},
      {"26 further left", "paneClassDC", {124, 400, 350, 417}, "none"},
      {"26 further right", "VISIOG", {150, 400, 376, 417}, "none"},
      {"narrower", "VISIOG", {200, 400, 300, 417}, "bar"},
      {"other classes do not look", "PSViewC", {150, 400, 350, 417}, "none"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedWindows windows;
    windows.AddTopLevel({"w", "Frame", 0, kFrame,
                         {{"pane", c.paneClass, 0, kUnderPointer, {}},
                          Plain("ruler"),
                          Plain("holder", {{"bar", "ScrollBar", 0, c.bar, {}}})}});
    // The bar's own sibling search must not reach it: it lies one level down.
    ScrollSearch search(windows, kPointer);
    EXPECT_EQ(windows.NameOf(search.FindHorizontalTarget(windows.Named("w"))), c.found);
  }
}

TEST(FindHorizontalTargetTest, ThePaneTakesTheFirstFittingBarInTreeOrder) {
  ScriptedWindows windows;
  windows.AddTopLevel({"w", "Frame", 0, kFrame,
                       {{"pane", "paneClassDC", 0, kUnderPointer, {}},
                        Plain("holder", {Bar("tall", "ScrollBar", {150, 150, 167, 350}),
                                         Bar("far", "ScrollBar", {0, 400, 600, 417}), Bar("first", "NUIScrollbar",
                                                                                          {150, 400, 350, 417})}),
                        Bar("second", "ScrollBar", {150, 420, 350, 437})}});
  // "second" is the pane's sibling, found before the deeper one by the sibling search.
  ScrollSearch search(windows, kPointer);
  EXPECT_EQ(windows.NameOf(search.FindHorizontalTarget(windows.Named("w"))), "second");

  ScriptedWindows deeper;
  deeper.AddTopLevel({"w", "Frame", 0, kFrame,
                      {{"pane", "VISIOG", 0, kUnderPointer, {}},
                       Plain("holder", {Bar("tall", "ScrollBar", {150, 150, 167, 350}),
                                        Bar("far", "ScrollBar", {0, 400, 600, 417}),
                                        Bar("first", "NUIScrollbar", {150, 400, 350, 417}),
                                        Bar("second", "ScrollBar", {150, 420, 350, 437})})}});
  ScrollSearch deeperSearch(deeper, kPointer);
  EXPECT_EQ(deeper.NameOf(deeperSearch.FindHorizontalTarget(deeper.Named("w"))), "first");
}

// A tilt over a window at (100,100)-(500,500) with the pointer at (200,200).
class ScrollHorizontallyTest : public ::testing::Test {
 protected:
  EventLog Tilt(const Win& topLevel, int direction, int count) {
    windows.AddTopLevel(topLevel);
    windows.pointer = kPointer;
    ScrollHorizontally(windows, output, direction, count);
    return output.log;
  }
  ScriptedWindows windows;
  RecordingOutput output{windows};
};

// A program's view under the pointer, a horizontal bar control beside it at the bottom of the frame.
Win ViewBesideBar(const char* viewClass, std::uint32_t viewStyle = 0) {
  return {"frame", "Frame", 0, kFrame,
          {{"view", viewClass, viewStyle, kUnderPointer, {}}, {"bar", "ScrollBar", 0, {120, 480, 480, 497}, {}}}};
}

TEST_F(ScrollHorizontallyTest, DocumentKindsScrollThroughTheBarsParent) {
  for (const char* viewClass : {"_WwG", "AVL_AVView", "paneClassDC", "VISIOG", "PSViewC", "EditControl",
                                "FrontPageEditorDocumentView", "OGrid", "OFormSub", "OPrtPrevPage"}) {
    for (const auto& [direction, line] : {std::pair{1, "1"}, std::pair{-1, "0"}}) {
      SCOPED_TRACE(std::string(viewClass) + " " + line);
      ScriptedWindows fresh;
      RecordingOutput out(fresh);
      fresh.AddTopLevel(ViewBesideBar(viewClass));
      fresh.pointer = kPointer;
      ScrollHorizontally(fresh, out, direction, 2);
      const std::string message = std::string("post frame WM_HSCROLL ") + line + " bar";
      EXPECT_EQ(out.log, (EventLog{message, message}));
    }
  }
}

TEST_F(ScrollHorizontallyTest, ADocumentThatScrollsItselfIsDrivenThroughItsParent) {
  EXPECT_EQ(Tilt(ViewBesideBar("_WwG", kHScroll), -1, 1), (EventLog{"post frame WM_HSCROLL 0 view"}));
}

TEST_F(ScrollHorizontallyTest, ADocumentWithoutAParentIsLeftAlone) {
  EXPECT_EQ(Tilt({"w", "OGrid", kHScroll, kFrame, {}}, 1, 3), EventLog{});
}

TEST_F(ScrollHorizontallyTest, SpreadsheetsGetClicksOnTheBarsEndArrowsAndThePointerBack) {
  struct Case {
    int direction, count;
    EventLog effects;
  };
  const Case cases[] = {
      {-1, 3, {"click 125,485 x3 back 200,200"}},
      {1, 3, {"click 475,485 x3 back 200,200"}},
      {1, 1, {"click 475,485 x1 back 200,200"}},
      {1, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.direction) + " x" + std::to_string(c.count));
    ScriptedWindows fresh;
    RecordingOutput out(fresh);
    fresh.AddTopLevel(ViewBesideBar("EXCEL7"));
    fresh.pointer = kPointer;
    ScrollHorizontally(fresh, out, c.direction, c.count);
    EXPECT_EQ(out.log, c.effects);
  }
}

TEST_F(ScrollHorizontallyTest, BrowsersGetArrowKeysAtTheirFrame) {
  const Win browser{
      "frame", "MozillaWindowClass", 0, kFrame, {{"content", "MozillaWindowClass", 0, kUnderPointer, {}}}};
  const std::string down = "post frame WM_KEYDOWN 37 0x14b0001", up = "post frame WM_KEYUP 37 0xc14b0001";
  EXPECT_EQ(Tilt(browser, -1, 2), (EventLog{down, up, down, up}));
  output.log.clear();
  ScrollHorizontally(windows, output, 1, 1);
  EXPECT_EQ(output.log, (EventLog{"post frame WM_KEYDOWN 39 0x14d0001", "post frame WM_KEYUP 39 0xc14d0001"}));
}

TEST_F(ScrollHorizontallyTest, PlainWindowsArePostedToTheLeftAndSentToTheRight) {
  EXPECT_EQ(Tilt({"w", "Edit", kHScroll, kFrame, {}}, -1, 2),
            (EventLog{"post w WM_HSCROLL 0 0x0", "post w WM_HSCROLL 0 0x0"}));
  output.log.clear();
  ScrollHorizontally(windows, output, 1, 2);
  EXPECT_EQ(output.log, (EventLog{"send w WM_HSCROLL 1 0x0", "send w WM_HSCROLL 1 0x0"}));
}

TEST_F(ScrollHorizontallyTest, APlainWindowBesideABarIsScrolledItselfNotTheBar) {
  EXPECT_EQ(Tilt(ViewBesideBar("Static"), 1, 1), (EventLog{"send view WM_HSCROLL 1 0x0"}));
}

TEST_F(ScrollHorizontallyTest, WebViewsAreLeftToTheServiceWithCountAndSide) {
  EXPECT_EQ(Tilt({"w", "Internet Explorer_Server", 0, kFrame, {}}, -1, 4), (EventLog{"service 1238 4 1"}));
  output.log.clear();
  ScrollHorizontally(windows, output, 1, 4);
  EXPECT_EQ(output.log, (EventLog{"service 1238 4 0"}));
}

TEST_F(ScrollHorizontallyTest, CountZeroPostsNothingButAWebViewStillHearsOfIt) {
  const Win cases[] = {{"w", "Edit", kHScroll, kFrame, {}},
                       ViewBesideBar("_WwG"),
                       ViewBesideBar("VISIOG"),
                       {"frame", "MozillaWindowClass", 0, kFrame, {{"c", "MozillaWindowClass", 0, kUnderPointer, {}}}}};
  for (const Win& window : cases) {
    for (const int direction : {1, -1}) {
      SCOPED_TRACE(window.name + " " + std::to_string(direction));
      ScriptedWindows fresh;
      RecordingOutput out(fresh);
      fresh.AddTopLevel(window);
      fresh.pointer = kPointer;
      ScrollHorizontally(fresh, out, direction, 0);
      EXPECT_EQ(out.log, EventLog{});
    }
  }
  EXPECT_EQ(Tilt({"w", "Internet Explorer_Server", 0, kFrame, {}}, 1, 0), (EventLog{"service 1238 0 0"}));
}

TEST_F(ScrollHorizontallyTest, CountsOutsideTheSettingsRangeAreBounded) {
  EXPECT_EQ(Tilt({"w", "Internet Explorer_Server", 0, kFrame, {}}, 1, 5000), (EventLog{"service 1238 100 0"}));
  output.log.clear();
  ScrollHorizontally(windows, output, -1, -3);
  EXPECT_EQ(output.log, (EventLog{"service 1238 0 1"}));

  ScriptedWindows plain;
  RecordingOutput out(plain);
  plain.AddTopLevel({"w", "Edit", kHScroll, kFrame, {}});
  plain.pointer = kPointer;
  ScrollHorizontally(plain, out, -1, 1000000);
  EXPECT_EQ(out.log.size(), 100u);
}

TEST_F(ScrollHorizontallyTest, NothingHappensWhereThereIsNothingToScroll) {
  const std::pair<const char*, Win> cases[] = {
      {"desktop", {"far", "Edit", kHScroll, {900, 900, 1000, 1000}, {}}},
      {"desktop icons", {"progman", "Progman", 0, kFrame, {{"view", "SHELLDLL_DefView", 0, kFrame,
                                                              {{"icons", "SysListView32", kHScroll, kFrame, {}}}}}}},
      {"no bar anywhere", {"w", "Frame", 0, kFrame, {{"c", "View", 0, kUnderPointer, {}}}}},
      {"a spreadsheet without its bar", {"w", "Frame", 0, kFrame, {{"c", "EXCEL7", 0, kUnderPointer, {}}}}},
      {"a web view's neighbour", {"w", "Frame", 0, kFrame, {{"c", "Static", 0, kUnderPointer, {}},
                                                             {"web", "Internet Explorer_Server", 0, {}, {}}}}},
  };
  for (const auto& [name, window] : cases) {
    for (const int direction : {1, -1}) {
      SCOPED_TRACE(std::string(name) + " " + std::to_string(direction));
      ScriptedWindows fresh;
      RecordingOutput out(fresh);
      fresh.AddTopLevel(window);
      fresh.pointer = kPointer;
      ScrollHorizontally(fresh, out, direction, 3);
      EXPECT_EQ(out.log, EventLog{});
    }
  }
}

TEST_F(ScrollHorizontallyTest, NoDirectionNoScroll) {
  EXPECT_EQ(Tilt({"w", "Edit", kHScroll, kFrame, {}}, 0, 3), EventLog{});
}

TEST(ScrollWebViewTest, TheDocumentScrollsTenPixelsAStepOrTheWindowLineByLine) {
  struct Case {
    const char* name;
    const char* classUnderPointer;
    WebScrollResult result;
    int count;
    bool left;
    EventLog effects;
  };
  const Case cases[] = {
      {"right", "Internet Explorer_Server", WebScrollResult::Scrolled, 3, false, {"scrollBy w 30"}},
      {"left", "Internet Explorer_Server", WebScrollResult::Scrolled, 3, true, {"scrollBy w -30"}},
      {"refused, left", "Internet Explorer_Server", WebScrollResult::Refused, 2, true,
       {"scrollBy w -20", "send w WM_HSCROLL 0 0x0", "send w WM_HSCROLL 0 0x0"}},
      {"refused, right", "Internet Explorer_Server", WebScrollResult::Refused, 1, false,
       {"scrollBy w 10", "send w WM_HSCROLL 1 0x0"}},
      {"no document", "Internet Explorer_Server", WebScrollResult::NoDocument, 2, true, {"scrollBy w -20"}},
      {"count zero", "Internet Explorer_Server", WebScrollResult::Refused, 0, true, {"scrollBy w 0"}},
      {"count bounded", "Internet Explorer_Server", WebScrollResult::Scrolled, 999, false, {"scrollBy w 1000"}},
      {"the pointer has moved off the web view", "Edit", WebScrollResult::Refused, 2, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedWindows windows;
    RecordingOutput output(windows);
    windows.AddTopLevel({"w", c.classUnderPointer, kHScroll, kFrame, {}});
    windows.pointer = kPointer;
    output.webResult = c.result;
    ScrollWebView(windows, output, output, c.count, c.left);
    EXPECT_EQ(output.log, c.effects);
  }
}

}  // namespace
}  // namespace kavo::monitor
