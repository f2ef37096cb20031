#include "monitor/win32/kelsor_library.h"

#include <vector>

namespace kavo::monitor::win32 {
namespace {

template <typename Function>
bool Bind(HMODULE module, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
  return function != nullptr;
}

}  // namespace

KelsorLibrary::KelsorLibrary(const std::string& path) {
  module_.reset(::LoadLibraryA(path.c_str()));
  if (!module_) return;
  const HMODULE module = module_.get();
  bound_ = Bind(module, "Open_DevMonitor", openDevMonitor_) & Bind(module, "Close_DevMonitor", closeDevMonitor_) &
           Bind(module, "Open_FeatureDevice", openFeatureDevice_) &
           Bind(module, "Close_FeatureDevice", closeFeatureDevice_) & Bind(module, "SetFeature", setFeature_) &
           Bind(module, "GetFeature", getFeature_) & Bind(module, "GetMousePID", getMousePid_);
}

void KelsorLibrary::OpenDevMonitor(std::uintptr_t window, unsigned eventMessage, unsigned presenceMessage) {
  if (bound_) openDevMonitor_(reinterpret_cast<HWND>(window), eventMessage, presenceMessage);
}

void KelsorLibrary::CloseDevMonitor() {
  if (bound_) closeDevMonitor_();
}

bool KelsorLibrary::OpenFeatureDevice() { return bound_ && openFeatureDevice_() != 0; }

void KelsorLibrary::CloseFeatureDevice() {
  if (bound_) closeFeatureDevice_();
}

bool KelsorLibrary::SetFeature(const std::uint8_t* report, std::size_t length) {
  if (!bound_) return false;
  // The library takes a writable buffer; it gets a copy so the caller's report stays as it was.
  std::vector<unsigned char> buffer(report, report + length);
  return setFeature_(buffer.data(), static_cast<int>(length)) != 0;
}

bool KelsorLibrary::GetFeature(std::uint8_t* report, std::size_t length) {
  return bound_ && getFeature_(report, static_cast<int>(length)) != 0;
}

int KelsorLibrary::GetMousePID() { return bound_ ? getMousePid_() : 0; }

}  // namespace kavo::monitor::win32
