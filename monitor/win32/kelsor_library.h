#pragma once
// "Kelsor.dll", loaded by full path and bound by name at run time.
#include <windows.h>

#include <string>

#include "monitor/device_link.h"
#include "platform/win32/win32_handles.h"

namespace kavo::monitor::win32 {

class KelsorLibrary final : public DeviceLink {
 public:
  // Without the library, or with an entry point missing, every call fails as if no mouse were attached.
  explicit KelsorLibrary(const std::string& path);
  ~KelsorLibrary() override = default;
  KelsorLibrary(const KelsorLibrary&) = delete;
  KelsorLibrary& operator=(const KelsorLibrary&) = delete;

  bool IsLoaded() const { return bound_; }

  void OpenDevMonitor(std::uintptr_t window, unsigned eventMessage, unsigned presenceMessage) override;
  void CloseDevMonitor() override;
  bool OpenFeatureDevice() override;
  void CloseFeatureDevice() override;
  bool SetFeature(const std::uint8_t* report, std::size_t length) override;
  bool GetFeature(std::uint8_t* report, std::size_t length) override;
  int GetMousePID() override;

 private:
  using OpenDevMonitorFn = int(__cdecl*)(HWND, UINT, UINT);
  using VoidFn = void(__cdecl*)();
  using IntFn = int(__cdecl*)();
  using FeatureFn = int(__cdecl*)(unsigned char*, int);

  kavo::win32::UniqueModule module_;
  bool bound_ = false;
  OpenDevMonitorFn openDevMonitor_ = nullptr;
  VoidFn closeDevMonitor_ = nullptr;
  IntFn openFeatureDevice_ = nullptr;
  VoidFn closeFeatureDevice_ = nullptr;
  FeatureFn setFeature_ = nullptr;
  FeatureFn getFeature_ = nullptr;
  IntFn getMousePid_ = nullptr;
};

}  // namespace kavo::monitor::win32
