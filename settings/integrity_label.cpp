#include "settings/integrity_label.h"

#include <algorithm>

namespace kavo {

std::uint32_t SharedObjectLabelLevel(std::optional<std::uint32_t> creatorLevel) {
  return std::min(creatorLevel.value_or(kMediumIntegrity), kMediumIntegrity);
}

}  // namespace kavo
