#include "core/numbers.h"

#include <limits>

#include "core/error.h"
#include "core/text_helpers.h"

namespace vantrel {

std::optional<std::int32_t> TryParseInteger(const std::string& text) {
  const std::string trimmed = Trim(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < trimmed.size() && (trimmed[i] == '-' || trimmed[i] == '+')) {
    negative = trimmed[i] == '-';
    ++i;
  }
  if (i == trimmed.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < trimmed.size(); ++i) {
    const char c = trimmed[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::int32_t ParseInteger(const std::string& text) {
  const std::optional<std::int32_t> value = TryParseInteger(text);
  if (!value) throw NotAnInteger(text);
  return *value;
}

std::int32_t ParseAmount(const std::string& text) {
  if (text.empty()) return 0;
  return ParseInteger(text);
}

std::string FormatCents(std::int64_t cents) {
  const bool negative = cents < 0;
  const std::uint64_t magnitude =
      negative ? static_cast<std::uint64_t>(-(cents + 1)) + 1 : static_cast<std::uint64_t>(cents);
  std::string fraction = std::to_string(magnitude % 100);
  if (fraction.size() < 2) fraction.insert(0, "0");
  return (negative ? "-" : "") + std::to_string(magnitude / 100) + "," + fraction;
}

std::optional<std::int64_t> TryParseDisplayedAmount(const std::string& text) {
  // Room for the thousandths and the rounding of the largest whole part accepted.
  constexpr std::int64_t kLargestWhole = (std::numeric_limits<std::int64_t>::max() - 1004) / 1000;
  const std::string trimmed = Trim(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < trimmed.size() && (trimmed[i] == '-' || trimmed[i] == '+')) {
    negative = trimmed[i] == '-';
    ++i;
  }
  std::int64_t whole = 0;
  std::int64_t fraction = 0;  // thousandths
  int fractionDigits = 0;
  bool seenDigit = false;
  bool seenPoint = false;
  for (; i < trimmed.size(); ++i) {
    const char c = trimmed[i];
    if (c == ',' || c == '.') {
      if (seenPoint) return std::nullopt;
      seenPoint = true;
    } else if (c >= '0' && c <= '9') {
      seenDigit = true;
      if (!seenPoint) {
        whole = whole * 10 + (c - '0');
        if (whole > kLargestWhole) return std::nullopt;
      } else if (fractionDigits < 3) {
        fraction = fraction * 10 + (c - '0');
        ++fractionDigits;
      }
    } else {
      return std::nullopt;
    }
  }
  if (!seenDigit) return std::nullopt;
  while (fractionDigits < 3) {
    fraction *= 10;
    ++fractionDigits;
  }
  const std::int64_t thousandths = whole * 1000 + fraction;
  const std::int64_t cents = (thousandths + 5) / 10;
  return negative ? -cents : cents;
}

std::int64_t ParseDisplayedAmount(const std::string& text) {
  const std::optional<std::int64_t> cents = TryParseDisplayedAmount(text);
  if (!cents) throw NotAFloat(text);
  return *cents;
}

}  // namespace vantrel
