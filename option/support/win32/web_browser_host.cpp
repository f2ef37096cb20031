#include "option/support/win32/web_browser_host.h"

#include <new>

namespace kavo::option::win32 {

namespace {

// The system's web browser control.
constexpr CLSID kWebBrowserClass = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

RECT ToRect(const skin::Rect& area) { return RECT{area.left, area.top, area.right, area.bottom}; }

class UniqueBstr {
 public:
  explicit UniqueBstr(const std::wstring& text) : text_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~UniqueBstr() { ::SysFreeString(text_); }
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  BSTR get() const { return text_; }

 private:
  BSTR text_;
};

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

}  // namespace

// The container side the control talks to: where it lives (the parent window and the area), and a frame
// with no menus, tool space or status line. It holds no reference to the control, so no cycle forms.
class BrowserSite final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
 public:
  BrowserSite(HWND parent, const RECT& area) : parent_(parent), area_(area) {}

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
      *object = static_cast<IOleClientSite*>(this);
    } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) {
      *object = static_cast<IOleInPlaceSite*>(this);
    } else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) {
      *object = static_cast<IOleInPlaceFrame*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    if (moniker != nullptr) *moniker = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** container) override {
    if (container != nullptr) *container = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (both the in-place site and the frame answer with the parent)
  STDMETHODIMP GetWindow(HWND* window) override {
    if (window == nullptr) return E_POINTER;
    *window = parent_;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) override {
    if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr || frameInfo == nullptr) {
      return E_POINTER;
    }
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *document = nullptr;
    *position = area_;
    *clip = area_;
    frameInfo->fMDIApp = FALSE;
    frameInfo->hwndFrame = parent_;
    frameInfo->haccel = nullptr;
    frameInfo->cAccelEntries = 0;
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

  // IOleInPlaceUIWindow
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return OLE_E_INVALIDRECT; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }

  // IOleInPlaceFrame
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

 private:
  ~BrowserSite() = default;

  ULONG references_ = 1;  // the creator's
  HWND parent_;
  RECT area_;
};

WebBrowserHost::WebBrowserHost() = default;

WebBrowserHost::~WebBrowserHost() { Close(); }

bool WebBrowserHost::Create(const skin::Rect& area) {
  if (object_ || parent_ == nullptr) return false;
  ole_ = std::make_unique<OleThread>();
  if (!ole_->ready()) {
    Close();
    return false;
  }
  const RECT rect = ToRect(area);
  site_.attach(new (std::nothrow) BrowserSite(parent_, rect));
  if (!site_ ||
      FAILED(::CoCreateInstance(kWebBrowserClass, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                reinterpret_cast<void**>(object_.put()))) ||
      !object_) {
    Close();
    return false;
  }
  IOleClientSite* client = static_cast<IOleClientSite*>(site_.get());
  RECT place = rect;
  if (FAILED(object_->SetClientSite(client)) ||
      FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, client, 0, parent_, &place)) ||
      FAILED(object_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(browser_.put()))) || !browser_) {
    Close();
    return false;
  }
  ComRef<IOleInPlaceObject> inPlace;
  if (SUCCEEDED(object_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(inPlace.put()))) && inPlace) {
    inPlace->SetObjectRects(&rect, &rect);
  }
  return true;
}

void WebBrowserHost::Navigate(const std::string& address) {
  if (!browser_) return;
  const UniqueBstr url(Wide(address));
  if (url.get() == nullptr) return;
  VARIANT none;
  ::VariantInit(&none);
  browser_->Navigate(url.get(), &none, &none, &none, &none);
}

void WebBrowserHost::Close() {
  if (object_) {
    ComRef<IOleInPlaceObject> inPlace;
    if (SUCCEEDED(object_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(inPlace.put()))) &&
        inPlace) {
      inPlace->InPlaceDeactivate();
    }
    inPlace.reset();
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
  }
  browser_.reset();
  object_.reset();
  site_.reset();
  ole_.reset();
}

}  // namespace kavo::option::win32
