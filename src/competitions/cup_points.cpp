#include "competitions/cup_points.h"

#include <cmath>
#include <limits>

#include "core/numbers.h"

namespace vantrel::competitions {

std::int64_t RoundHalfEven(double value) {
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  constexpr double kLimit = 9223372036854775808.0;
  if (std::isnan(value)) return 0;
  if (value >= kLimit) return std::numeric_limits<std::int64_t>::max();
  if (value <= -kLimit) return std::numeric_limits<std::int64_t>::min();
  const double floor = std::floor(value);
  const double fraction = value - floor;
  double rounded = floor;
  if (fraction > 0.5) {
    rounded = floor + 1;
  } else if (fraction == 0.5) {
    rounded = std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
  }
  if (rounded >= kLimit) return std::numeric_limits<std::int64_t>::max();
  return static_cast<std::int64_t>(rounded);
}

std::int64_t CupPoints(std::int64_t rank, std::int64_t pairCount, std::int64_t k) {
  const double n = static_cast<double>(pairCount);
  const double x = pairCount <= 1
                       ? 1.0
                       : static_cast<double>(pairCount - rank) / static_cast<double>(pairCount - 1);
  const double p = (x * x + 1.0 / 9.0) * n * static_cast<double>(k);
  return RoundHalfEven(p / 1000.0);
}

std::string FormatPoints(std::int64_t hundredths) { return FormatCents(hundredths); }

}  // namespace vantrel::competitions
