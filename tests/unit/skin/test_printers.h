#pragma once
// Readable failure messages for the shared screen geometry (the skin's, also the notice's).
#include <ostream>

#include "skin/geometry.h"

namespace kavo::skin {

inline void PrintTo(const Rect& r, std::ostream* out) {
  *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
inline void PrintTo(const Point& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }
inline void PrintTo(const Extent& e, std::ostream* out) { *out << e.width << "x" << e.height; }

}  // namespace kavo::skin
