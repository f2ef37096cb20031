#pragma once
// The debugger output stream, where the service leaves its fixed-format traces.
namespace kavo::monitor {

class DebugOutput {
 public:
  virtual ~DebugOutput() = default;
  virtual void Write(const char* text) = 0;
};

}  // namespace kavo::monitor
