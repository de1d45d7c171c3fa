#include "utilities/calculator.h"

#include <limits>

#include "core/error.h"

namespace vantrel::utilities {

namespace {

using Wide = __int128;

constexpr std::int64_t kOne = 10000;  // ten-thousandths in a unit

Error Overflow() { return Error("D\xe9passement de capacit\xe9 de la calculette"); }

// numerator / denominator rounded half to even; denominator > 0.
Wide DivideHalfEven(Wide numerator, Wide denominator) {
  Wide quotient = numerator / denominator;
  Wide remainder = numerator % denominator;
  if (remainder < 0) {
    remainder += denominator;
    quotient -= 1;
  }
  const Wide twice = remainder * 2;
  if (twice > denominator || (twice == denominator && (quotient % 2 != 0))) quotient += 1;
  return quotient;
}

std::int64_t Narrow(Wide value) {
  if (value > std::numeric_limits<std::int64_t>::max() ||
      value < std::numeric_limits<std::int64_t>::min()) {
    throw Overflow();
  }
  return static_cast<std::int64_t>(value);
}

Wide Signed(Wide numerator, Wide denominator) {
  if (denominator < 0) return DivideHalfEven(-numerator, -denominator);
  return DivideHalfEven(numerator, denominator);
}

// Euros to francs and back, to four decimals or to the cent.
std::int64_t EuroToFranc(std::int64_t euros, Wide unit) {
  const Wide step = Calculator::kRateDenominator * unit;
  return Narrow(DivideHalfEven(Wide(euros) * Calculator::kRateNumerator, step) * unit);
}

std::int64_t FrancToEuro(std::int64_t francs, Wide unit) {
  const Wide step = Wide(Calculator::kRateNumerator) * unit;
  return Narrow(DivideHalfEven(Wide(francs) * Calculator::kRateDenominator, step) * unit);
}

}  // namespace

std::string FormatTenThousandths(std::int64_t value) {
  const bool negative = value < 0;
  const auto magnitude = negative ? -static_cast<unsigned __int128>(Wide(value))
                                  : static_cast<unsigned __int128>(Wide(value));
  const auto whole = static_cast<std::uint64_t>(magnitude / kOne);
  auto fraction = static_cast<std::uint32_t>(magnitude % kOne);
  std::string text = negative ? "-" : "";
  text += std::to_string(whole);
  if (fraction != 0) {
    std::string digits = std::to_string(fraction + kOne).substr(1);
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    text += "," + digits;
  }
  return text;
}

std::int64_t ParseTenThousandths(const std::string& text) {
  std::size_t at = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) at = 1;
  Wide whole = 0;
  Wide fraction = 0;
  Wide fractionScale = 1;
  bool inFraction = false;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (c == ',' && !inFraction) {
      inFraction = true;
    } else if (c >= '0' && c <= '9') {
      if (inFraction) {
        if (fractionScale > Wide(1000000000000000000)) throw NotAFloat(text);
        fraction = fraction * 10 + (c - '0');
        fractionScale *= 10;
      } else {
        whole = whole * 10 + (c - '0');
        if (whole > std::numeric_limits<std::int64_t>::max()) throw NotAFloat(text);
      }
    } else {
      throw NotAFloat(text);
    }
  }
  Wide value = whole * kOne + DivideHalfEven(fraction * kOne, fractionScale);
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int64_t>::max() ||
      value < std::numeric_limits<std::int64_t>::min()) {
    throw NotAFloat(text);
  }
  return static_cast<std::int64_t>(value);
}

std::int64_t RoundToCent(std::int64_t value) { return Narrow(DivideHalfEven(value, 100) * 100); }

void Calculator::showEntry() {
  const std::int64_t value = ParseTenThousandths(entry());
  const std::string shown = FormatTenThousandths(RoundToCent(value));
  const std::string other = FormatTenThousandths(
      m_currency == Currency::kEuro ? EuroToFranc(value, 100) : FrancToEuro(value, 100));
  entry() = shown;
  converted() = other;
}

void Calculator::digit(int d) {
  std::string& text = entry();
  const auto comma = text.find(',');
  if (comma != std::string::npos && text.size() - comma - 1 >= 2) return;
  const std::string before = text;
  const std::string otherBefore = converted();
  text.push_back(static_cast<char>('0' + d));
  if (d == 0 && before.back() == ',') return;
  try {
    showEntry();
  } catch (...) {
    entry() = before;
    converted() = otherBefore;
    throw;
  }
}

void Calculator::comma() {
  if (entry().find(',') == std::string::npos) entry().push_back(',');
}

void Calculator::backspace() {
  std::string& text = entry();
  if (text.size() <= 1) {
    text = "0";
  } else {
    text.pop_back();
  }
  showEntry();
}

void Calculator::negate() {
  std::string& text = entry();
  const std::string before = text;
  if (text.find('-') == std::string::npos) {
    text.insert(text.begin(), '-');
  } else {
    text.erase(0, 1);
  }
  try {
    showEntry();
  } catch (...) {
    entry() = before;
    throw;
  }
}

void Calculator::clear() {
  m_euro = "0";
  m_franc = "0";
}

void Calculator::applyPending() {
  const std::int64_t operand = ParseTenThousandths(entry());
  entry() = "0";
  showEntry();
  const Wide a = m_accumulator;
  switch (m_pending) {
    case '+':
      m_accumulator = Narrow(a + operand);
      break;
    case '-':
      m_accumulator = Narrow(a - operand);
      break;
    case '*':
      m_accumulator = Narrow(Signed(a * operand, kOne));
      break;
    case '/':
      if (operand == 0) throw Error("Division par z\xe9ro");
      m_accumulator = Narrow(Signed(a * kOne, operand));
      break;
    default:
      m_accumulator = operand;
      break;
  }
}

void Calculator::showAccumulator() {
  if (m_currency == Currency::kEuro) {
    const std::string franc = FormatTenThousandths(EuroToFranc(m_accumulator, 100));
    m_euro = FormatTenThousandths(RoundToCent(m_accumulator));
    m_franc = franc;
  } else {
    const std::string euro = FormatTenThousandths(FrancToEuro(m_accumulator, 100));
    m_franc = FormatTenThousandths(RoundToCent(m_accumulator));
    m_euro = euro;
  }
}

void Calculator::setOperator(char op) {
  runPending();
  m_pending = op;
}

void Calculator::equals() {
  runPending();
  try {
    showAccumulator();
  } catch (...) {
    m_pending = ' ';
    throw;
  }
  m_pending = ' ';
}

void Calculator::runPending() {
  try {
    applyPending();
  } catch (...) {
    // A failed operation is dropped: the next number starts a new calculation.
    m_pending = ' ';
    throw;
  }
}

void Calculator::toFranc() {
  if (m_currency == Currency::kFranc) return;
  m_accumulator = EuroToFranc(m_accumulator, 1);
  m_currency = Currency::kFranc;
}

void Calculator::toEuro() {
  if (m_currency == Currency::kEuro) return;
  m_accumulator = FrancToEuro(m_accumulator, 1);
  m_currency = Currency::kEuro;
}

}  // namespace vantrel::utilities
