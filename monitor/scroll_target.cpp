#include "monitor/scroll_target.h"

#include <algorithm>

#include "monitor/service_messages.h"

namespace kavo::monitor {
namespace {

constexpr std::string_view kScrollBarClass = "ScrollBar";
constexpr std::string_view kWebViewClass = "Internet Explorer_Server";
constexpr int kPaneBarSlack = 25;  // how far a pane's bar may reach beyond the pane's own edges
constexpr int kArrowInset = 5;     // a point inside the bar's end arrow
constexpr int kWebViewPixelsPerStep = 10;

bool IsScrollBarClass(std::string_view name) { return name == kScrollBarClass || name == "NUIScrollbar"; }

int BoundedCount(int count) { return std::clamp(count, 0, kMaxScrollCount); }

// Arrow-key messages as the keyboard would deliver them: repeat count 1, the key's scan code, extended.
struct ArrowKey {
  std::uintptr_t virtualKey;
  std::uint32_t down, up;
};
constexpr ArrowKey kLeftArrow{37, 0x014B0001u, 0xC14B0001u};
constexpr ArrowKey kRightArrow{39, 0x014D0001u, 0xC14D0001u};

}  // namespace

WindowKind KindOfClass(std::string_view className) {
  struct Entry {
    std::string_view name;
    WindowKind kind;
  };
  static constexpr Entry kKinds[] = {
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
  };
  for (const Entry& entry : kKinds) {
    if (entry.name == className) return entry.kind;
  }
  return WindowKind::Plain;
}

bool ScrollSearch::HasScrollBar(WindowHandle window, ScrollAxis axis) {
  const std::string name = tree_.ClassName(window);
  if (name == kWebViewClass) return true;
  if (!IsScrollBarClass(name)) {
    return (tree_.Style(window) & (axis == ScrollAxis::Horizontal ? kStyleHScroll : kStyleVScroll)) != 0;
  }
  // A bar control counts when it lies along the axis and reaches the pointer.
  const WindowRect rect = tree_.Rect(window);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (axis == ScrollAxis::Horizontal) return width > height && pointer_.x < rect.right;
  return height > width && pointer_.y > rect.top && pointer_.y < rect.bottom;
}

// Adobe's bar frames hold the real bar control as their first child.
WindowHandle ScrollSearch::AdobeBarChild(WindowHandle sibling, ScrollAxis axis) {
  const WindowHandle child = tree_.FirstChild(sibling);
  if (child == kNoWindow || tree_.ClassName(child) != kScrollBarClass) return kNoWindow;
  const std::uint32_t style = tree_.Style(child);
  const bool matches = axis == ScrollAxis::Horizontal ? (style & (kScrollBarVertical | kScrollBarSizeBox)) == 0
                                                      : (style & kScrollBarVertical) != 0;
  return matches ? child : kNoWindow;
}

WindowHandle ScrollSearch::FindSiblingScrollBar(WindowHandle window, ScrollAxis axis) {
  for (WindowHandle sibling = tree_.NextSibling(window); sibling != kNoWindow && Step();
       sibling = tree_.NextSibling(sibling)) {
    const std::string name = tree_.ClassName(sibling);
    if (name == "AVL_AVScrollBar") {
      if (const WindowHandle bar = AdobeBarChild(sibling, axis)) return bar;
    } else if (IsScrollBarClass(name) && HasScrollBar(sibling, axis)) {
      return sibling;
    }
  }
  for (WindowHandle sibling = tree_.PreviousSibling(window); sibling != kNoWindow && Step();
       sibling = tree_.PreviousSibling(sibling)) {
    const std::string name = tree_.ClassName(sibling);
    if (name == "AVL_AVScrollBar") {
      if (const WindowHandle bar = AdobeBarChild(sibling, axis)) return bar;
    } else if (name == kScrollBarClass) {
      if (HasScrollBar(sibling, axis)) return sibling;
    } else if (name == "AfxWnd70" || name == "AfxWnd42") {
      // MFC panes keep their bars inside.
      if (const WindowHandle bar = FindChildScrollBar(sibling, axis)) return bar;
    }
  }
  return kNoWindow;
}

WindowHandle ScrollSearch::FindChildScrollBar(WindowHandle window, ScrollAxis axis) {
  // Children and preceding panes call each other; a looping tree must not exhaust the stack.
  if (depth_ >= kMaxDepth || !Step()) return kNoWindow;
  const WindowHandle child = tree_.FirstChild(window);
  if (child == kNoWindow) return kNoWindow;
  if (HasScrollBar(child, axis)) return child;
  ++depth_;
  const WindowHandle bar = FindSiblingScrollBar(child, axis);
  --depth_;
  return bar;
}

bool ScrollSearch::IsDesktopOrItsIcons(WindowHandle window) {
  if (window == tree_.DesktopWindow()) return true;
  return tree_.ClassName(window) == "SysListView32" && tree_.HasAncestorOfClass(window, "Progman");
}

WindowHandle ScrollSearch::FindHorizontalTarget(WindowHandle window) {
  if (window == kNoWindow || IsDesktopOrItsIcons(window)) return kNoWindow;
  WindowHandle under = tree_.ChildAt(window, pointer_);
  if (under == kNoWindow) under = window;
  const std::string name = tree_.ClassName(under);

  // A browser's content window takes its keys through its frame.
  WindowHandle candidate = kNoWindow;
  if (name == "MozillaWindowClass") {
    candidate = tree_.Parent(under);
  } else if (HasScrollBar(under, ScrollAxis::Horizontal)) {
    candidate = under;
  }
  if (candidate != kNoWindow) return candidate;

  if (name != kScrollBarClass) {
    if (const WindowHandle bar = FindChildScrollBar(under, ScrollAxis::Horizontal)) return bar;
    if (const WindowHandle bar = FindSiblingScrollBar(under, ScrollAxis::Horizontal)) return bar;
  }
  if (name == "paneClassDC" || name == "VISIOG") return BarNearPane(under);
  return kNoWindow;
}

// Some drawing panes keep their bar anywhere below their parent; the one spanning the pane's width is theirs.
WindowHandle ScrollSearch::BarNearPane(WindowHandle pane) {
  const WindowHandle parent = tree_.Parent(pane);
  if (parent == kNoWindow) return kNoWindow;
  const WindowRect paneRect = tree_.Rect(pane);
  for (const WindowHandle window : tree_.Descendants(parent)) {
    if (!Step()) break;
    if (!IsScrollBarClass(tree_.ClassName(window)) || !HasScrollBar(window, ScrollAxis::Horizontal)) continue;
    const WindowRect rect = tree_.Rect(window);
    if (rect.left >= paneRect.left - kPaneBarSlack && rect.right <= paneRect.right + kPaneBarSlack) return window;
  }
  return kNoWindow;
}

void ScrollHorizontally(WindowTree& tree, ScrollOutput& output, int direction, int count) {
  if (direction == 0) return;
  const bool left = direction < 0;
  const ScreenPoint pointer = tree.PointerPosition();
  const WindowHandle window = tree.WindowAt(pointer);
  ScrollSearch search(tree, pointer);
  if (window == kNoWindow || search.IsDesktopOrItsIcons(window)) return;
  const std::string name = tree.ClassName(window);
  const WindowKind kind = KindOfClass(name);
  count = BoundedCount(count);
  const WindowHandle target = search.FindHorizontalTarget(window);
  if (target == kNoWindow) return;

  const std::uintptr_t line = left ? kLineLeft : kLineRight;
  switch (kind) {
    case WindowKind::ArrowClicks: {
      // Spreadsheets ignore scroll messages from outside; a click on the bar's end arrow works. With no
      // clicks to make, the pointer stays where it is.
      if (count == 0) return;
      const WindowRect rect = tree.Rect(target);
      const ScreenPoint arrow{left ? rect.left + kArrowInset : rect.right - kArrowInset, rect.top + kArrowInset};
      output.ClickAt(arrow, count, pointer);
      break;
    }
    case WindowKind::Document:
    case WindowKind::Pane:
    case WindowKind::Drawing:
    case WindowKind::PageEditor:
    case WindowKind::Grid: {
      // A bar control reports to its parent, naming itself.
      const WindowHandle parent = tree.Parent(target);
      if (parent == kNoWindow) return;
      for (int i = 0; i < count; ++i) output.Post(parent, kMsgHScroll, line, static_cast<std::intptr_t>(target));
      break;
    }
    case WindowKind::Browser: {
      const ArrowKey& key = left ? kLeftArrow : kRightArrow;
      for (int i = 0; i < count; ++i) {
        output.Post(target, kMsgKeyDown, key.virtualKey, static_cast<std::intptr_t>(key.down));
        output.Post(target, kMsgKeyUp, key.virtualKey, static_cast<std::intptr_t>(key.up));
      }
      break;
    }
    case WindowKind::Plain:
      if (name == kWebViewClass) {
        // Reaching the document takes a cross-process call; the tilt's handler returns first.
        output.PostToService(kMsgScrollWebView, static_cast<std::uintptr_t>(count), left ? 1 : 0);
        break;
      }
      for (int i = 0; i < count; ++i) {
        if (left) {
          output.Post(window, kMsgHScroll, kLineLeft, 0);
        } else {
          output.Send(window, kMsgHScroll, kLineRight, 0);
        }
      }
      break;
  }
}

void ScrollWebView(WindowTree& tree, WebDocuments& documents, ScrollOutput& output, int count, bool left) {
  const WindowHandle window = tree.WindowAt(tree.PointerPosition());
  if (window == kNoWindow || tree.ClassName(window) != kWebViewClass) return;
  count = BoundedCount(count);
  const int pixels = kWebViewPixelsPerStep * count;
  if (documents.ScrollBy(window, left ? -pixels : pixels) != WebScrollResult::Refused) return;
  for (int i = 0; i < count; ++i) output.Send(window, kMsgHScroll, left ? kLineLeft : kLineRight, 0);
}

}  // namespace kavo::monitor
