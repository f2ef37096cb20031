// Sideways scrolling against real windows of the test process: the pointer is put over them with
// SetCursorPos, and what each window then receives is recorded.
#include <gtest/gtest.h>
#include <windows.h>
#include <mshtml.h>
#include <objidl.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "monitor/scroll_target.h"
#include "monitor/service_messages.h"
#include "monitor/win32/win32_horizontal_scroller.h"
#include "monitor/win32/win32_window_tree.h"
#include "platform/win32/win32_handles.h"

namespace kavo::monitor::win32 {

using kavo::win32::UniqueWindow;

namespace {

struct Received {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const Received& other) const {
    return window == other.window && message == other.message && wParam == other.wParam && lParam == other.lParam;
  }
};

std::vector<Received>& Log() {
  static std::vector<Received> log;
  return log;
}

std::vector<Received> LogOf(HWND window, UINT message) {
  std::vector<Received> found;
  for (const Received& received : Log()) {
    if (received.window == window && received.message == message) found.push_back(received);
  }
  return found;
}

// The document a web view hands out, when it has one (set by the web-view tests).
IUnknown* g_webDocument = nullptr;
int g_documentRequests = 0;

using LresultFromObjectFunction = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  static const UINT getObject = ::RegisterWindowMessageA("WM_HTML_GETOBJECT");
  if (message == getObject) {
    ++g_documentRequests;
    if (g_webDocument == nullptr) return 0;
    const HMODULE oleacc = ::GetModuleHandleA("oleacc.dll");  // loaded by the caller for the request
    const auto lresultFromObject = reinterpret_cast<LresultFromObjectFunction>(
        reinterpret_cast<void*>(::GetProcAddress(oleacc, "LresultFromObject")));
    return lresultFromObject != nullptr ? lresultFromObject(__uuidof(IHTMLDocument2), wParam, g_webDocument) : 0;
  }
  if (message == WM_HSCROLL || message == WM_KEYDOWN || message == WM_KEYUP || message == kMsgScrollWebView) {
    Log().push_back({window, message, wParam, lParam});
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

void RegisterRecordingClass(const char* name) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = RecordingProc;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.lpszClassName = name;
  windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  ::RegisterClassA(&windowClass);  // fails harmlessly when an earlier test registered it
}

// A window of the test: top-level ones are topmost popups at screen coordinates, children are placed in their
// parent's client area.
UniqueWindow MakeWindow(const char* className, RECT rect, HWND parent = nullptr, DWORD style = 0) {
  RegisterRecordingClass(className);
  const DWORD kind = parent != nullptr ? WS_CHILD | WS_VISIBLE : WS_POPUP;
  UniqueWindow window(::CreateWindowExA(parent != nullptr ? 0 : WS_EX_TOPMOST, className, "", kind | style, rect.left,
                                        rect.top, rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                                        ::GetModuleHandleA(nullptr), nullptr));
  EXPECT_TRUE(window) << className;
  // Shown without activation: no window manager is asked to manage it, and none is waited for.
  if (parent == nullptr) {
    ::SetWindowPos(window.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  return window;
}

// A horizontal scroll-bar control, scrolled to the middle so that both arrows work.
UniqueWindow MakeBar(HWND parent, RECT rect) {
  UniqueWindow bar(::CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, rect.left, rect.top,
                                     rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                                     ::GetModuleHandleA(nullptr), nullptr));
  EXPECT_TRUE(bar);
  ::SetScrollRange(bar.get(), SB_CTL, 0, 100, TRUE);
  ::SetScrollPos(bar.get(), SB_CTL, 50, TRUE);
  return bar;
}

// Handles what arrives until done says so or the time is up.
void Pump(DWORD milliseconds, const std::function<bool()>& done = nullptr) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
    if ((done && done()) || ::GetTickCount() - start >= milliseconds) return;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

POINT Cursor() {
  POINT point{};
  ::GetCursorPos(&point);
  return point;
}

// The pointer over the middle of a window, with the windows' own reactions to their creation handled.
void PointAt(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  ::SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  Pump(100);
}

class ScrollWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Log().clear();
    g_webDocument = nullptr;
    g_documentRequests = 0;
  }
  void TearDown() override { ::SetCursorPos(1200, 1000); }

  UniqueWindow service_ = MakeWindow("KavoScrollService", {0, 0, 1, 1});
  Win32HorizontalScroller scroller_{service_.get()};
};

TEST_F(ScrollWineTest, TheTreeReadsTheRealWindows) {
  UniqueWindow owner = MakeWindow("KavoScrollOwner", {0, 0, 50, 50});
  RegisterRecordingClass("KavoScrollFrame");
  UniqueWindow frame(::CreateWindowExA(WS_EX_TOPMOST, "KavoScrollFrame", "", WS_POPUP | WS_HSCROLL, 100, 100, 400, 300,
                                       owner.get(), nullptr, ::GetModuleHandleA(nullptr), nullptr));
  ASSERT_TRUE(frame);
  ::SetWindowPos(frame.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  UniqueWindow a = MakeWindow("KavoScrollChildA", {0, 0, 100, 100}, frame.get());
  UniqueWindow b = MakeWindow("KavoScrollChildB", {100, 0, 200, 100}, frame.get());
  UniqueWindow c = MakeWindow("KavoScrollChildC", {200, 0, 300, 100}, frame.get());
  UniqueWindow inner = MakeWindow("KavoScrollInner", {0, 0, 50, 50}, c.get());
  Win32WindowTree tree;
  const auto h = [](const UniqueWindow& window) { return ToHandle(window.get()); };

  EXPECT_EQ(tree.ClassName(h(frame)), "KavoScrollFrame");
  EXPECT_NE(tree.Style(h(frame)) & kStyleHScroll, 0u);
  EXPECT_EQ(tree.Style(h(a)) & kStyleHScroll, 0u);
  const WindowRect rect = tree.Rect(h(b));
  EXPECT_EQ((std::vector<int>{rect.left, rect.top, rect.right, rect.bottom}), (std::vector<int>{200, 100, 300, 200}));

  EXPECT_EQ(tree.Parent(h(frame)), kNoWindow) << "an owner is no parent";
  EXPECT_EQ(tree.Parent(h(inner)), h(c));
  EXPECT_EQ(tree.DesktopWindow(), ToHandle(::GetDesktopWindow()));

  std::vector<WindowHandle> forward, backward;
  for (WindowHandle w = tree.FirstChild(h(frame)); w != kNoWindow && forward.size() < 10; w = tree.NextSibling(w)) {
    forward.push_back(w);
  }
  for (WindowHandle w = forward.back(); w != kNoWindow && backward.size() < 10; w = tree.PreviousSibling(w)) {
    backward.insert(backward.begin(), w);
  }
  EXPECT_EQ(std::set<WindowHandle>(forward.begin(), forward.end()), (std::set<WindowHandle>{h(a), h(b), h(c)}));
  EXPECT_EQ(backward, forward);
  EXPECT_EQ(tree.FirstChild(h(a)), kNoWindow);

  EXPECT_EQ(tree.ChildAt(h(frame), {250, 150}), h(b));
  EXPECT_EQ(tree.ChildAt(h(frame), {250, 350}), h(frame)) << "inside, below the children";
  EXPECT_EQ(tree.ChildAt(h(frame), {50, 50}), kNoWindow) << "outside";

  const std::vector<WindowHandle> all = tree.Descendants(h(frame));
  EXPECT_EQ(std::set<WindowHandle>(all.begin(), all.end()), (std::set<WindowHandle>{h(a), h(b), h(c), h(inner)}));
  EXPECT_EQ(all.size(), 4u);
  EXPECT_TRUE(tree.Descendants(kNoWindow).empty());

  EXPECT_TRUE(tree.HasAncestorOfClass(h(inner), "KavoScrollFrame"));
  EXPECT_TRUE(tree.HasAncestorOfClass(h(inner), "KavoScrollChildC"));
  EXPECT_FALSE(tree.HasAncestorOfClass(h(inner), "KavoScrollInner")) << "not itself";
  EXPECT_FALSE(tree.HasAncestorOfClass(h(frame), "KavoScrollOwner")) << "not its owner";

  ::SetCursorPos(370, 180);
  EXPECT_EQ(tree.PointerPosition(), (ScreenPoint{370, 180}));
  EXPECT_EQ(tree.WindowAt({370, 180}), h(c));
  EXPECT_EQ(tree.WindowAt({320, 130}), h(inner));
  EXPECT_EQ(tree.WindowAt({320, 380}), h(frame));
}

TEST_F(ScrollWineTest, APlainWindowIsPostedToTheLeftAndSentToTheRight) {
  UniqueWindow window = MakeWindow("KavoScrollPlain", {300, 300, 700, 600}, nullptr, WS_HSCROLL);
  PointAt(window.get());
  scroller_.Scroll(-1, 3);
  EXPECT_TRUE(LogOf(window.get(), WM_HSCROLL).empty()) << "posted, so not there before the queue is read";
  Pump(200);
  EXPECT_EQ(LogOf(window.get(), WM_HSCROLL),
            std::vector<Received>(3, Received{window.get(), WM_HSCROLL, SB_LINELEFT, 0}));

  Log().clear();
  scroller_.Scroll(1, 2);
  EXPECT_EQ(LogOf(window.get(), WM_HSCROLL),
            std::vector<Received>(2, Received{window.get(), WM_HSCROLL, SB_LINERIGHT, 0}))
      << "sent, so handled before the scroll returns";
}

TEST_F(ScrollWineTest, DocumentsAndBrowsersHearThroughTheirParentOrFrame) {
  struct Case {
    const char* viewClass;
    int direction;
    std::vector<UINT> messages;
    WPARAM wParam;
  };
  // The bar's own handle goes with the scroll messages; the keys carry their key data.
  const Case cases[] = {
      {"_WwG", 1, {WM_HSCROLL, WM_HSCROLL}, SB_LINERIGHT},
      {"VISIOG", -1, {WM_HSCROLL, WM_HSCROLL}, SB_LINELEFT},
      {"OGrid", 1, {WM_HSCROLL, WM_HSCROLL}, SB_LINERIGHT},
      {"MozillaWindowClass", -1, {WM_KEYDOWN, WM_KEYUP, WM_KEYDOWN, WM_KEYUP}, VK_LEFT},
      {"MozillaWindowClass", 1, {WM_KEYDOWN, WM_KEYUP, WM_KEYDOWN, WM_KEYUP}, VK_RIGHT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.viewClass) + " " + std::to_string(c.direction));
    Log().clear();
    UniqueWindow frame = MakeWindow("KavoScrollFrame", {200, 200, 700, 600});
    UniqueWindow view = MakeWindow(c.viewClass, {20, 20, 480, 350}, frame.get());
    UniqueWindow bar = MakeBar(frame.get(), {20, 370, 480, 387});
    PointAt(view.get());
    scroller_.Scroll(c.direction, 2);
    Pump(200);
    std::vector<Received> expected;
    for (const UINT message : c.messages) {
      LPARAM lParam = reinterpret_cast<LPARAM>(bar.get());
      if (message != WM_HSCROLL) {
        const LPARAM scan = c.wParam == VK_LEFT ? 0x014B0001 : 0x014D0001;
        lParam = message == WM_KEYDOWN ? scan : static_cast<LPARAM>(static_cast<DWORD>(scan | 0xC0000000));
      }
      expected.push_back({frame.get(), message, c.wParam, lParam});
    }
    EXPECT_EQ(Log(), expected);
  }
}

// Where a scroll-bar control was pressed, in its own coordinates.
std::vector<POINT> g_barDowns;
WNDPROC g_barProc = nullptr;
LRESULT CALLBACK PressRecordingBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
    g_barDowns.push_back({static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))});
  }
  return ::CallWindowProcA(g_barProc, window, message, wParam, lParam);
}

// The buttons as they were pressed, before any swap: what the low-level hook sees.
struct Press {
  WPARAM button;
  POINT at;
};
std::vector<Press> g_presses;
LRESULT CALLBACK PressRecordingHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam != WM_MOUSEMOVE) {
    g_presses.push_back({wParam, reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->pt});
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

struct HookRemover {
  void operator()(HHOOK hook) const { ::UnhookWindowsHookEx(hook); }
};

TEST_F(ScrollWineTest, ASpreadsheetIsScrolledByClicksOnItsBarsArrows) {
  struct Case {
    int direction;
    bool swapped;
  };
  for (const Case c : {Case{-1, false}, Case{1, false}, Case{1, true}}) {
    SCOPED_TRACE(std::to_string(c.direction) + (c.swapped ? " swapped" : ""));
    Log().clear();
    g_barDowns.clear();
    g_presses.clear();
    UniqueWindow frame = MakeWindow("KavoScrollFrame", {200, 200, 700, 600});
    UniqueWindow sheet = MakeWindow("EXCEL7", {20, 20, 480, 350}, frame.get());
    UniqueWindow bar = MakeBar(frame.get(), {20, 370, 480, 387});  // on screen 220..680, 570..587
    g_barProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(bar.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PressRecordingBarProc)));
    ::SwapMouseButton(c.swapped);
    PointAt(sheet.get());
    const POINT before = Cursor();
    const std::unique_ptr<std::remove_pointer_t<HHOOK>, HookRemover> hook(
        ::SetWindowsHookExA(WH_MOUSE_LL, PressRecordingHook, ::GetModuleHandleA(nullptr), 0));
    ASSERT_TRUE(hook);

    scroller_.Scroll(c.direction, 3);
    const WPARAM line = c.direction < 0 ? SB_LINELEFT : SB_LINERIGHT;
    const auto lines = [&] {
      std::size_t count = 0;
      for (const Received& r : LogOf(frame.get(), WM_HSCROLL)) count += LOWORD(r.wParam) == line;
      return count;
    };
    Pump(3000, [&] { return g_presses.size() >= 6 && (c.swapped || lines() >= 3); });
    Pump(100);
    ::SwapMouseButton(FALSE);

    const POINT arrow{c.direction < 0 ? 225 : 675, 575};
    const WPARAM down = c.swapped ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, up = c.swapped ? WM_RBUTTONUP : WM_LBUTTONUP;
    ASSERT_EQ(g_presses.size(), 6u);
    for (std::size_t i = 0; i < g_presses.size(); ++i) {
      EXPECT_EQ(g_presses[i].button, i % 2 == 0 ? down : up) << i;
      EXPECT_EQ(g_presses[i].at.x, arrow.x) << i;
      EXPECT_EQ(g_presses[i].at.y, arrow.y) << i;
    }
    const POINT after = Cursor();
    EXPECT_EQ(after.x, before.x);
    EXPECT_EQ(after.y, before.y);
    // Wine hands the physical button to windows even when swapped; there only the hook shows the swap.
    if (c.swapped) continue;
    EXPECT_EQ(lines(), 3u) << "the bar saw its arrow pressed";
    for (const Received& r : LogOf(frame.get(), WM_HSCROLL)) EXPECT_EQ(r.lParam, reinterpret_cast<LPARAM>(bar.get()));
    ASSERT_EQ(g_barDowns.size(), 3u);
    for (const POINT& at : g_barDowns) {
      EXPECT_EQ(at.x, arrow.x - 220);
      EXPECT_EQ(at.y, arrow.y - 570);
    }
  }
}

TEST_F(ScrollWineTest, NothingHappensOverTheDesktop) {
  UniqueWindow window = MakeWindow("KavoScrollPlain", {300, 300, 700, 600}, nullptr, WS_HSCROLL);
  ::SetCursorPos(1000, 150);
  Pump(100);
  ASSERT_EQ(::WindowFromPoint(POINT{1000, 150}), ::GetDesktopWindow());
  scroller_.Scroll(1, 3);
  scroller_.Scroll(-1, 3);
  Pump(200);
  EXPECT_TRUE(Log().empty());
  const POINT after = Cursor();
  EXPECT_EQ(after.x, 1000);
  EXPECT_EQ(after.y, 150);
}

TEST_F(ScrollWineTest, AWebViewIsLeftToTheServiceWindow) {
  UniqueWindow web = MakeWindow("Internet Explorer_Server", {300, 300, 700, 600});
  PointAt(web.get());
  scroller_.Scroll(-1, 3);
  scroller_.Scroll(1, 0);
  Pump(200);
  EXPECT_EQ(Log(), (std::vector<Received>{{service_.get(), kMsgScrollWebView, 3, 1},
                                          {service_.get(), kMsgScrollWebView, 0, 0}}));
  EXPECT_EQ(g_documentRequests, 0) << "the tilt itself does not reach for the document";
}

// A web document and its window object as COM objects laid out by hand. The adapter calls them through the
// published interfaces' tables, in which IHTMLDocument2's get_Script is slot 7 and IHTMLWindow2's scrollBy slot
// 70; only those and IUnknown's slots are filled, so any other call fails the test loudly.
struct FakeWebWindow {
  explicit FakeWebWindow(const void* const* slots) : table(slots) {}
  const void* const* table;  // first, where COM looks for it
  LONG references = 1;
  HRESULT scrollResult = S_OK;
  std::vector<std::pair<long, long>> scrolls;
};

class PointerMarshal;

struct FakeWebDocument {
  explicit FakeWebDocument(const void* const* slots) : table(slots) {}
  const void* const* table;
  LONG references = 1;
  FakeWebWindow* window = nullptr;
  PointerMarshal* marshal = nullptr;
};

template <typename Object>
ULONG STDMETHODCALLTYPE FakeAddRef(Object* self) {
  return static_cast<ULONG>(++self->references);
}
template <typename Object>
ULONG STDMETHODCALLTYPE FakeRelease(Object* self) {
  return static_cast<ULONG>(--self->references);
}

HRESULT STDMETHODCALLTYPE WindowQueryInterface(FakeWebWindow* self, REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IHTMLWindow2)) {
    *out = self;
    ++self->references;
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE WindowScrollBy(FakeWebWindow* self, long x, long y) {
  self->scrolls.emplace_back(x, y);
  return self->scrollResult;
}

HRESULT STDMETHODCALLTYPE DocumentGetScript(FakeWebDocument* self, IDispatch** script) {
  *script = reinterpret_cast<IDispatch*>(self->window);
  if (self->window == nullptr) return E_FAIL;
  ++self->window->references;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DocumentQueryInterface(FakeWebDocument* self, REFIID iid, void** out);

template <std::size_t size>
struct Table {
  const void* slots[size] = {};
};

const Table<71>& WindowTable() {
  static const Table<71> table = [] {
    Table<71> t;
    t.slots[0] = reinterpret_cast<const void*>(&WindowQueryInterface);
    t.slots[1] = reinterpret_cast<const void*>(&FakeAddRef<FakeWebWindow>);
    t.slots[2] = reinterpret_cast<const void*>(&FakeRelease<FakeWebWindow>);
    t.slots[70] = reinterpret_cast<const void*>(&WindowScrollBy);
    return t;
  }();
  return table;
}

const Table<8>& DocumentTable() {
  static const Table<8> table = [] {
    Table<8> t;
    t.slots[0] = reinterpret_cast<const void*>(&DocumentQueryInterface);
    t.slots[1] = reinterpret_cast<const void*>(&FakeAddRef<FakeWebDocument>);
    t.slots[2] = reinterpret_cast<const void*>(&FakeRelease<FakeWebDocument>);
    t.slots[7] = reinterpret_cast<const void*>(&DocumentGetScript);
    return t;
  }();
  return table;
}

// {5B0E2A61-7C3D-4F19-A8E4-2D6C9B1F0E37}: the class that unmarshals a PointerMarshal's data.
constexpr CLSID kPointerUnmarshalClass = {0x5b0e2a61, 0x7c3d, 0x4f19, {0xa8, 0xe4, 0x2d, 0x6c, 0x9b, 0x1f, 0x0e, 0x37}};

// Hands an object across the accessibility library's marshalling as its bare pointer: enough within one
// process, and it needs no proxy for the web interfaces, which a test prefix lacks.
class PointerMarshal final : public IMarshal {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IMarshal) {
      *out = static_cast<IMarshal*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetUnmarshalClass(REFIID, void*, DWORD, void*, DWORD, CLSID* unmarshaler) override {
    *unmarshaler = kPointerUnmarshalClass;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetMarshalSizeMax(REFIID, void*, DWORD, void*, DWORD, DWORD* size) override {
    *size = sizeof(void*);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE MarshalInterface(IStream* stream, REFIID, void* object, DWORD, void*, DWORD) override {
    static_cast<IUnknown*>(object)->AddRef();
    return stream->Write(&object, sizeof object, nullptr);
  }
  HRESULT STDMETHODCALLTYPE UnmarshalInterface(IStream* stream, REFIID iid, void** out) override {
    IUnknown* object = nullptr;
    const HRESULT read = stream->Read(&object, sizeof object, nullptr);
    if (FAILED(read) || object == nullptr) return E_FAIL;
    const HRESULT found = object->QueryInterface(iid, out);
    object->Release();
    return found;
  }
  HRESULT STDMETHODCALLTYPE ReleaseMarshalData(IStream* stream) override {
    IUnknown* object = nullptr;
    if (SUCCEEDED(stream->Read(&object, sizeof object, nullptr)) && object != nullptr) object->Release();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DisconnectObject(DWORD) override { return S_OK; }
};

class PointerUnmarshalFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return unmarshaler_.QueryInterface(iid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  PointerMarshal unmarshaler_;
};

HRESULT STDMETHODCALLTYPE DocumentQueryInterface(FakeWebDocument* self, REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IHTMLDocument2)) {
    *out = self;
    ++self->references;
    return S_OK;
  }
  if (iid == IID_IMarshal) {
    *out = static_cast<IMarshal*>(self->marshal);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

class WebViewScrollTest : public ScrollWineTest {
 protected:
  void SetUp() override {
    ScrollWineTest::SetUp();
    comStarted_ = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    ASSERT_EQ(::CoRegisterClassObject(kPointerUnmarshalClass, &factory_, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                      &registration_),
              S_OK);
  }
  void TearDown() override {
    g_webDocument = nullptr;
    ::CoRevokeClassObject(registration_);
    if (comStarted_) ::CoUninitialize();
    ScrollWineTest::TearDown();
  }

  PointerUnmarshalFactory factory_;
  PointerMarshal marshal_;
  DWORD registration_ = 0;
  bool comStarted_ = false;
};

TEST_F(WebViewScrollTest, TheDocumentScrollsItselfOrTheViewIsScrolledLineByLine) {
  struct Case {
    const char* name;
    bool document, documentWindow;
    HRESULT scrollResult;
    int count;
    bool left;
    std::vector<std::pair<long, long>> scrolls;
    std::vector<Received> lines;  // with the web view's handle filled in below
  };
  const Case cases[] = {
      {"to the left", true, true, S_OK, 3, true, {{-30, 0}}, {}},
      {"to the right", true, true, S_OK, 2, false, {{20, 0}}, {}},
      {"refused", true, true, E_ACCESSDENIED, 2, false, {{20, 0}},
       {{nullptr, WM_HSCROLL, SB_LINERIGHT, 0}, {nullptr, WM_HSCROLL, SB_LINERIGHT, 0}}},
      {"refused, to the left", true, true, E_FAIL, 1, true, {{-10, 0}}, {{nullptr, WM_HSCROLL, SB_LINELEFT, 0}}},
      {"no document", false, false, S_OK, 2, true, {}, {}},
      {"a document without its window object", true, false, S_OK, 2, true, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Log().clear();
    g_documentRequests = 0;
    FakeWebWindow window{WindowTable().slots};
    window.scrollResult = c.scrollResult;
    FakeWebDocument document{DocumentTable().slots};
    document.window = c.documentWindow ? &window : nullptr;
    document.marshal = &marshal_;
    g_webDocument = c.document ? reinterpret_cast<IUnknown*>(&document) : nullptr;

    UniqueWindow web = MakeWindow("Internet Explorer_Server", {300, 300, 700, 600});
    PointAt(web.get());
    scroller_.ScrollWebView(c.count, c.left);
    Pump(100);

    EXPECT_EQ(g_documentRequests, 1);
    EXPECT_EQ(window.scrolls, c.scrolls);
    std::vector<Received> lines = c.lines;
    for (Received& line : lines) line.window = web.get();
    EXPECT_EQ(Log(), lines);
    EXPECT_EQ(window.references, 1) << "every reference taken is given back";
    EXPECT_EQ(document.references, 1);
    EXPECT_EQ(::GetModuleHandleA("oleacc.dll"), nullptr) << "the library is unloaded again";
  }
}

TEST_F(WebViewScrollTest, OnlyTheWebViewUnderThePointerIsAsked) {
  FakeWebWindow window{WindowTable().slots};
  FakeWebDocument document{DocumentTable().slots};
  document.window = &window;
  document.marshal = &marshal_;
  g_webDocument = reinterpret_cast<IUnknown*>(&document);
  UniqueWindow web = MakeWindow("Internet Explorer_Server", {300, 300, 700, 600});
  UniqueWindow other = MakeWindow("KavoScrollPlain", {800, 300, 1000, 600}, nullptr, WS_HSCROLL);
  PointAt(other.get());
  scroller_.ScrollWebView(2, true);
  Pump(100);
  EXPECT_EQ(g_documentRequests, 0);
  EXPECT_TRUE(window.scrolls.empty());
  EXPECT_TRUE(Log().empty());
}

}  // namespace
}  // namespace kavo::monitor::win32
