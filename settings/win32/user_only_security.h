#pragma once
// Security attributes that admit only the current user's processes (and the system), for named objects
// that carry the user's settings: never a null access list that lets any process of any user in.
#include <windows.h>

#include <memory>

namespace kavo::win32 {

class UserOnlySecurity {
 public:
  UserOnlySecurity();
  ~UserOnlySecurity();
  UserOnlySecurity(const UserOnlySecurity&) = delete;
  UserOnlySecurity& operator=(const UserOnlySecurity&) = delete;

  // Null when the user's identity could not be determined; the caller then refuses to create the object.
  SECURITY_ATTRIBUTES* get() { return descriptor_ ? &attributes_ : nullptr; }

 private:
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;  // from LocalAlloc
  SECURITY_ATTRIBUTES attributes_{};
};

}  // namespace kavo::win32
