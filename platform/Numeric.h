#pragma once
// The one conversion used wherever a float that may be NaN or infinite becomes
// an index, a pixel or a count: NaN gives 0, out-of-range values saturate.
#include <cmath>
#include <limits>

namespace platform {

template <typename Int = int>
[[nodiscard]] constexpr Int SaturatingCast(double value) {
  if (std::isnan(value)) return 0;
  if (value <= static_cast<double>(std::numeric_limits<Int>::min())) return std::numeric_limits<Int>::min();
  if (value >= static_cast<double>(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
  return static_cast<Int>(value);
}

}  // namespace platform
