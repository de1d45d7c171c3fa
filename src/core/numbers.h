#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vantrel {

// A whole number written in decimal: optional blanks, an optional sign, digits.
// Throws Error "'%s' n'est pas une valeur entière correcte" otherwise, or beyond 32 bits.
std::int32_t ParseInteger(const std::string& text);

// As ParseInteger, but nothing instead of the Error.
std::optional<std::int32_t> TryParseInteger(const std::string& text);

// As ParseInteger, but an empty text is 0 (empty amounts count as none).
std::int32_t ParseAmount(const std::string& text);

// Cents shown with two decimals, a decimal comma and no thousands separator:
// 1250 -> "12,50", -5 -> "-0,05", 0 -> "0,00".
std::string FormatCents(std::int64_t cents);

// A displayed amount ("12,5", "-3,25", "12.50", "7") back to cents, rounded to the nearest
// cent (halves away from zero). Throws Error "'%s' n'est pas une valeur en virgule flottante
// correcte" when the text is not a number.
std::int64_t ParseDisplayedAmount(const std::string& text);

// As ParseDisplayedAmount, but nothing instead of the Error.
std::optional<std::int64_t> TryParseDisplayedAmount(const std::string& text);

}  // namespace vantrel
