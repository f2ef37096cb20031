#pragma once
// Which names the Save command must not write: a slot's own file in "config\" is what the service loads as
// that slot, and the export always leaves a copy as "config\<base name>.vmp", so a target whose base name is
// a slot file's would overwrite that slot wherever the target itself lies.
#include <optional>
#include <string>
#include <string_view>

namespace kavo::option {

// The slot index (0..4) whose file a save to targetPath would overwrite; nothing for any other name.
std::optional<int> SlotOverwrittenBySave(std::string_view targetPath);

// The message shown instead of saving over that slot's file.
std::string SlotFileRefusalText(int slotIndex);

}  // namespace kavo::option
