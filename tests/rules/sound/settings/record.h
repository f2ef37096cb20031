#include <cstdint>
#include "settings/bounded_text.h"
