#pragma once
// The help page's browser: the system's web browser control in-place active in an area of a window,
// hosted by a minimal OLE container (client site, in-place site and frame in one object). A control that
// cannot be made leaves no trace. User-interface thread only.
#include <windows.h>
#include <exdisp.h>
#include <ole2.h>

#include <memory>
#include <string>

#include "option/support/update_page_model.h"

namespace kavo::option::win32 {

// OleInitialize for the calling thread for as long as the object lives; balanced only when it succeeded.
// The program's entry holds one for its whole run, so that OLE never closes under a live control.
class OleThread {
 public:
  OleThread() : ready_(SUCCEEDED(::OleInitialize(nullptr))) {}
  ~OleThread() {
    if (ready_) ::OleUninitialize();
  }
  OleThread(const OleThread&) = delete;
  OleThread& operator=(const OleThread&) = delete;
  bool ready() const { return ready_; }

 private:
  bool ready_;
};

// One counted reference to a COM object.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() { reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  T* get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  // Where an API puts a reference it hands over; whatever was held is let go first.
  T** put() {
    reset();
    return &object_;
  }
  void reset() {
    if (object_ != nullptr) {
      T* held = object_;
      object_ = nullptr;
      held->Release();
    }
  }
  // Takes over a reference the caller owns.
  void attach(T* object) {
    reset();
    object_ = object;
  }

 private:
  T* object_ = nullptr;
};

class BrowserSite;

class WebBrowserHost : public HelpBrowser {
 public:
  WebBrowserHost();
  ~WebBrowserHost() override;
  WebBrowserHost(const WebBrowserHost&) = delete;
  WebBrowserHost& operator=(const WebBrowserHost&) = delete;

  // The window the control goes into; set before Create.
  void SetParent(HWND parent) { parent_ = parent; }

  // Once only: false when the control cannot be made or activated, and then nothing of it is kept.
  bool Create(const skin::Rect& area) override;
  void Navigate(const std::string& address) override;
  // Deactivates and closes the control and lets go of every reference; the parent must still exist.
  void Close();

  bool created() const { return static_cast<bool>(object_); }

 private:
  HWND parent_ = nullptr;
  std::unique_ptr<OleThread> ole_;
  ComRef<BrowserSite> site_;
  ComRef<IOleObject> object_;
  ComRef<IWebBrowser2> browser_;
};

}  // namespace kavo::option::win32
