#include "settings/win32/user_only_security.h"

#include <sddl.h>

#include <string>
#include <vector>

#include "settings/win32/win32_handles.h"

namespace kavo::win32 {
namespace {

// The current user's SID as text ("S-1-5-21-...").
std::string CurrentUserSid() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return "";
  UniqueKernelHandle owner(token);
  DWORD size = 0;
  ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  if (size == 0) return "";
  std::vector<unsigned char> buffer(size);
  if (!::GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) return "";
  char* text = nullptr;
  if (!::ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) return "";
  std::string sid(text);
  ::LocalFree(text);
  return sid;
}

}  // namespace

UserOnlySecurity::UserOnlySecurity() {
  const std::string sid = CurrentUserSid();
  if (sid.empty()) return;
  // Protected list: full access for the user and the system, nothing inherited, nobody else.
  const std::string sddl = "D:P(A;;GA;;;" + sid + ")(A;;GA;;;SY)";
  if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &descriptor_, nullptr)) {
    descriptor_ = nullptr;
    return;
  }
  attributes_.nLength = sizeof attributes_;
  attributes_.lpSecurityDescriptor = descriptor_;
  attributes_.bInheritHandle = TRUE;
}

UserOnlySecurity::~UserOnlySecurity() {
  if (descriptor_) ::LocalFree(descriptor_);
}

}  // namespace kavo::win32
