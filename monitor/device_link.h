#pragma once
// The device library's seven entry points, as the service uses them.
#include <cstddef>
#include <cstdint>

namespace kavo::monitor {

class DeviceLink {
 public:
  virtual ~DeviceLink() = default;
  // From now on the library posts eventMessage (class in wParam, data in lParam) and presenceMessage
  // (wParam 1 arrival, 0 removal) to the window.
  virtual void OpenDevMonitor(std::uintptr_t window, unsigned eventMessage, unsigned presenceMessage) = 0;
  virtual void CloseDevMonitor() = 0;
  // The presence test: true when the mouse is attached and its feature channel open.
  virtual bool OpenFeatureDevice() = 0;
  virtual void CloseFeatureDevice() = 0;
  // Byte 0 is the report id; lengths are exact.
  virtual bool SetFeature(const std::uint8_t* report, std::size_t length) = 0;
  virtual bool GetFeature(std::uint8_t* report, std::size_t length) = 0;
  virtual int GetMousePID() = 0;
};

}  // namespace kavo::monitor
