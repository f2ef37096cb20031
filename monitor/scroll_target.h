#pragma once
// Sideways scrolling of the window under the pointer, also in programs that ignore horizontal wheel input:
// the search for the horizontal scroll bar or scrolling window there, and the means that drives each kind of
// window (scroll-bar messages to the parent, clicks on the bar's arrows, arrow keys, or the document of an
// embedded web view).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kavo::monitor {

// A window of the running system; 0 is none.
using WindowHandle = std::uintptr_t;
constexpr WindowHandle kNoWindow = 0;

struct ScreenPoint {
  int x = 0, y = 0;
  bool operator==(const ScreenPoint& other) const { return x == other.x && y == other.y; }
};

struct WindowRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// The windows on the screen, as the search reads them.
class WindowTree {
 public:
  virtual ~WindowTree() = default;
  virtual ScreenPoint PointerPosition() = 0;
  virtual WindowHandle WindowAt(ScreenPoint point) = 0;
  virtual WindowHandle DesktopWindow() = 0;
  virtual std::string ClassName(WindowHandle window) = 0;
  virtual std::uint32_t Style(WindowHandle window) = 0;
  virtual WindowRect Rect(WindowHandle window) = 0;  // screen coordinates
  virtual WindowHandle Parent(WindowHandle window) = 0;
  virtual WindowHandle FirstChild(WindowHandle window) = 0;
  virtual WindowHandle NextSibling(WindowHandle window) = 0;      // next in z-order
  virtual WindowHandle PreviousSibling(WindowHandle window) = 0;
  // The child of window at point, window itself when no child is there, none when point is outside it.
  virtual WindowHandle ChildAt(WindowHandle window, ScreenPoint point) = 0;
  virtual std::vector<WindowHandle> Descendants(WindowHandle window) = 0;  // every level, parents first
  virtual bool HasAncestorOfClass(WindowHandle window, std::string_view className) = 0;
};

// The means by which a found window is scrolled.
class ScrollOutput {
 public:
  virtual ~ScrollOutput() = default;
  // Puts the pointer at `at`, clicks the primary button there count times, then puts it at `back`.
  virtual void ClickAt(ScreenPoint at, int count, ScreenPoint back) = 0;
  virtual void Post(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  virtual void Send(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // To the service's own window, to be handled after the tilt's handler has returned.
  virtual void PostToService(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

// The document object of an embedded web view, which scrolls itself.
enum class WebScrollResult { Scrolled, Refused, NoDocument };
class WebDocuments {
 public:
  virtual ~WebDocuments() = default;
  // Scrolls the document shown in window by dx pixels; Refused when the document reports failure.
  virtual WebScrollResult ScrollBy(WindowHandle window, int dx) = 0;
};

constexpr unsigned kMsgHScroll = 0x0114;      // WM_HSCROLL
constexpr unsigned kMsgKeyDown = 0x0100, kMsgKeyUp = 0x0101;
constexpr std::uintptr_t kLineLeft = 0, kLineRight = 1;  // SB_LINELEFT, SB_LINERIGHT
constexpr std::uint32_t kStyleHScroll = 0x00100000, kStyleVScroll = 0x00200000;
constexpr std::uint32_t kScrollBarVertical = 0x1, kScrollBarSizeBox = 0x8;  // scroll-bar control styles
// A count from a file may lie far outside the settings page's 1..10; one tilt must not flood a window.
constexpr int kMaxScrollCount = 100;

// How a window is scrolled, from the class of the window under the pointer.
enum class WindowKind {
  Plain = 0,
  Document = 1,
  ArrowClicks = 2,  // a spreadsheet: clicks on its bar's arrows
  Pane = 3,
  Drawing = 4,
  PageEditor = 5,
  Grid = 6,
  Browser,  // arrow keys
};
WindowKind KindOfClass(std::string_view className);

enum class ScrollAxis { Horizontal = 1, Vertical = 2 };

// One search, for one tilt, around the pointer position it was made with.
class ScrollSearch {
 public:
  ScrollSearch(WindowTree& tree, ScreenPoint pointer) : tree_(tree), pointer_(pointer) {}

  bool HasScrollBar(WindowHandle window, ScrollAxis axis);
  WindowHandle FindChildScrollBar(WindowHandle window, ScrollAxis axis);
  WindowHandle FindSiblingScrollBar(WindowHandle window, ScrollAxis axis);
  // The window that takes the sideways scroll when window is under the pointer; none when there is none.
  WindowHandle FindHorizontalTarget(WindowHandle window);
  bool IsDesktopOrItsIcons(WindowHandle window);

 private:
  // Windows change while they are walked, and a sibling chain may then loop: every step is counted and a
  // search that has visited this many windows finds nothing more.
  static constexpr int kMaxSteps = 10000;
  static constexpr int kMaxDepth = 64;
  bool Step() { return ++steps_ <= kMaxSteps; }
  WindowHandle AdobeBarChild(WindowHandle sibling, ScrollAxis axis);
  WindowHandle BarNearPane(WindowHandle pane);

  WindowTree& tree_;
  ScreenPoint pointer_;
  int steps_ = 0;
  int depth_ = 0;
};

// One tilt: direction +1 scrolls the window under the pointer count steps to the right, -1 to the left.
void ScrollHorizontally(WindowTree& tree, ScrollOutput& output, int direction, int count);

// The service's deferred scroll of the web view now under the pointer, count steps.
void ScrollWebView(WindowTree& tree, WebDocuments& documents, ScrollOutput& output, int count, bool left);

}  // namespace kavo::monitor
