#include "settings/win32/user_only_security.h"

#include <sddl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/integrity_label.h"
#include "platform/win32/win32_handles.h"

namespace kavo::win32 {
namespace {

// One kind of information about this process's token; empty when it has none.
std::vector<unsigned char> TokenInformation(TOKEN_INFORMATION_CLASS kind) {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  UniqueKernelHandle owner(token);
  DWORD size = 0;
  ::GetTokenInformation(token, kind, nullptr, 0, &size);
  if (size == 0) return {};
  std::vector<unsigned char> buffer(size);
  if (!::GetTokenInformation(token, kind, buffer.data(), size, &size)) return {};
  return buffer;
}

// The current user's SID as text ("S-1-5-21-...").
std::string CurrentUserSid() {
  const auto user = TokenInformation(TokenUser);
  if (user.empty()) return "";
  char* text = nullptr;
  if (!::ConvertSidToStringSidA(reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid, &text)) return "";
  std::string sid(text);
  ::LocalFree(text);
  return sid;
}

// This process's integrity level; none on systems without them.
std::optional<std::uint32_t> OwnIntegrityLevel() {
  const auto label = TokenInformation(TokenIntegrityLevel);
  if (label.empty()) return std::nullopt;
  const PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(label.data())->Label.Sid;
  if (!::IsValidSid(sid) || *::GetSidSubAuthorityCount(sid) == 0) return std::nullopt;
  return *::GetSidSubAuthority(sid, *::GetSidSubAuthorityCount(sid) - 1u);
}

}  // namespace

UserOnlySecurity::UserOnlySecurity(Label label) {
  const std::string sid = CurrentUserSid();
  if (sid.empty()) return;
  // Protected list: full access for the user and the system, nothing inherited, nobody else.
  std::string sddl = "D:P(A;;GA;;;" + sid + ")(A;;GA;;;SY)";
  if (label == Label::LowerIntegrityRefused) {
    // Mandatory label: processes below its level may neither write (NW) nor read (NR) the object.
    sddl += "S:(ML;;NWNR;;;S-1-16-" + std::to_string(SharedObjectLabelLevel(OwnIntegrityLevel())) + ")";
  }
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
