#include "monitor/win32/win32_web_documents.h"

#include <windows.h>
#include <mshtml.h>
#include <oleacc.h>

#include "monitor/win32/system_library.h"
#include "monitor/win32/win32_window_tree.h"
#include "platform/win32/win32_handles.h"

namespace kavo::monitor::win32 {

using kavo::win32::UniqueModule;

namespace {

// Owns one reference of a COM interface.
template <typename Interface>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  Interface** out() { return &pointer_; }
  void** outVoid() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

// COM for this call when the thread has not started it; the service's window thread has.
class ComScope {
 public:
  ComScope() : started_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (started_) ::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool started_;
};

WebScrollResult ScrollDocument(LPFNOBJECTFROMLRESULT objectFromLresult, HWND window, int dx) {
  const UINT getObject = ::RegisterWindowMessageA("WM_HTML_GETOBJECT");
  if (getObject == 0) return WebScrollResult::NoDocument;
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutA(window, getObject, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) || result == 0) {
    return WebScrollResult::NoDocument;
  }
  ComRef<IHTMLDocument2> document;
  if (FAILED(objectFromLresult(static_cast<LRESULT>(result), __uuidof(IHTMLDocument2), 0, document.outVoid())) ||
      document.get() == nullptr) {
    return WebScrollResult::NoDocument;
  }
  // The document's script object is its window.
  ComRef<IDispatch> script;
  if (FAILED(document->get_Script(script.out())) || script.get() == nullptr) return WebScrollResult::NoDocument;
  ComRef<IHTMLWindow2> documentWindow;
  if (FAILED(script->QueryInterface(__uuidof(IHTMLWindow2), documentWindow.outVoid())) ||
      documentWindow.get() == nullptr) {
    return WebScrollResult::NoDocument;
  }
  return SUCCEEDED(documentWindow->scrollBy(dx, 0)) ? WebScrollResult::Scrolled : WebScrollResult::Refused;
}

}  // namespace

WebScrollResult Win32WebDocuments::ScrollBy(WindowHandle window, int dx) {
  const UniqueModule library(LoadSystemLibrary("OLEACC.DLL"));
  if (!library) return WebScrollResult::NoDocument;
  const auto objectFromLresult = reinterpret_cast<LPFNOBJECTFROMLRESULT>(
      reinterpret_cast<void*>(::GetProcAddress(library.get(), "ObjectFromLresult")));
  if (objectFromLresult == nullptr) return WebScrollResult::NoDocument;
  const ComScope com;
  // Every interface is released here, before the library goes.
  return ScrollDocument(objectFromLresult, ToHwnd(window), dx);
}

}  // namespace kavo::monitor::win32
