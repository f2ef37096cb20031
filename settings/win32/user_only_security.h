#pragma once
// Security attributes that admit only the current user's processes (and the system), for named objects
// that carry the user's settings: never a null access list that lets any process of any user in. Labelled
// besides, where Windows takes the label, so that the user's processes of lower integrity are refused too.
#include <windows.h>

#include <memory>

namespace kavo::win32 {

class UserOnlySecurity {
 public:
  enum class Label { LowerIntegrityRefused, None };

  explicit UserOnlySecurity(Label label);
  ~UserOnlySecurity();
  UserOnlySecurity(const UserOnlySecurity&) = delete;
  UserOnlySecurity& operator=(const UserOnlySecurity&) = delete;

  // Null when the user's identity could not be determined or the descriptor not built; the caller then
  // refuses to create the object.
  SECURITY_ATTRIBUTES* get() { return descriptor_ ? &attributes_ : nullptr; }

 private:
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;  // from LocalAlloc
  SECURITY_ATTRIBUTES attributes_{};
};

// Creates a named object for the current user only: labelled first, and where the system refuses the
// label, without it, since the block must work either way. create makes the object with the attributes it
// is given and returns its handle, null when that failed. Null when neither way gave one.
template <typename Create>
HANDLE CreateForCurrentUser(Create create) {
  for (const auto label : {UserOnlySecurity::Label::LowerIntegrityRefused, UserOnlySecurity::Label::None}) {
    UserOnlySecurity security(label);
    if (!security.get()) continue;
    if (HANDLE created = create(security.get())) return created;
  }
  return nullptr;
}

}  // namespace kavo::win32
