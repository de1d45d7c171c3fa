#pragma once

#include <cstdint>
#include <string>

namespace vantrel::competitions {

// Cup points are whole numbers of hundredths of a point everywhere in the competitions.

// value rounded to the nearest whole number, halves to the even one (6172.5 -> 6172,
// 6173.5 -> 6174). Values beyond the 64-bit range are held at its ends.
std::int64_t RoundHalfEven(double value);

// The points of the pair ranked `rank` among `pairCount` pairs with the coefficient k:
// x = (N - r) / (N - 1), points = (x * x + 1/9) * N * k / 1000, rounded halves to even. With
// N = 10 and k = 100000 the ranks 1 to 10 get 1111, 901, 716, 556, 420, 309, 222, 160, 123
// and 111. A single pair is its tournament's winner (x = 1). Precondition: pairCount >= 1.
std::int64_t CupPoints(std::int64_t rank, std::int64_t pairCount, std::int64_t k);

// Hundredths written with two decimals and a decimal comma: 1111 -> "11,11".
std::string FormatPoints(std::int64_t hundredths);

}  // namespace vantrel::competitions
