#pragma once
// The integrity level that the named objects carrying the user's settings (the shared block with its
// recorded macros, and its mutex) are labelled with, so that processes below it, sandboxed programs of the
// same user among them, can neither read nor write them.
#include <cstdint>
#include <optional>

namespace kavo {

// Windows' integrity levels: the last part of their SIDs (S-1-16-N).
constexpr std::uint32_t kLowIntegrity = 0x1000, kMediumIntegrity = 0x2000, kHighIntegrity = 0x3000;

// The creator's own level, but never above medium: the configuration program runs with the user's ordinary
// rights and must still open what an elevated service made. Medium when the creator's level is unknown.
std::uint32_t SharedObjectLabelLevel(std::optional<std::uint32_t> creatorLevel);

}  // namespace kavo
