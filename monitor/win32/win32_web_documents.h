#pragma once
// The document of an embedded web view (class "Internet Explorer_Server"), reached through the
// accessibility library, scrolled by its own window object.
#include "monitor/scroll_target.h"

namespace kavo::monitor::win32 {

class Win32WebDocuments final : public WebDocuments {
 public:
  // Loads "OLEACC.DLL" from the system folder for the call and unloads it after; NoDocument when it, the
  // document or its window object cannot be had.
  WebScrollResult ScrollBy(WindowHandle window, int dx) override;
};

}  // namespace kavo::monitor::win32
