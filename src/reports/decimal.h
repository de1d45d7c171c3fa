#pragma once

#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

namespace vantrel::reports {

// An exact decimal number of the report language: a signed count of ten-thousandths held in
// 64 bits, so sums of amounts to the cent stay exact and "Solde = 0" is a true comparison.
// Results that do not fit are clamped to the largest representable magnitude.
class Decimal {
 public:
  static constexpr std::int64_t kScale = 10000;

  constexpr Decimal() = default;
  static constexpr Decimal FromUnits(std::int64_t units) { return Decimal(units); }
  static constexpr Decimal FromInteger(std::int64_t value) { return Decimal(value * kScale); }
  static constexpr Decimal FromCents(std::int64_t cents) { return Decimal(cents * 100); }
  // Rounded to the nearest ten-thousandth, halves away from zero.
  static Decimal FromDouble(double value);
  // "12", "-3,5", "+0.25", " 7 " (blanks around, one decimal point or comma, no exponent and
  // no thousands separator); more than four decimals are rounded. Nothing for other texts.
  static std::optional<Decimal> Parse(const QString& text);

  constexpr std::int64_t units() const { return m_units; }
  double toDouble() const { return static_cast<double>(m_units) / kScale; }
  bool isZero() const { return m_units == 0; }
  bool isInteger() const { return m_units % kScale == 0; }
  // True for the clamped magnitude a result takes when it does not fit.
  bool isOutOfRange() const {
    return m_units == INT64_MAX || m_units == -INT64_MAX || m_units == INT64_MIN;
  }

  Decimal operator-() const { return Decimal(-m_units); }
  friend Decimal operator+(Decimal a, Decimal b);
  friend Decimal operator-(Decimal a, Decimal b);
  // Product rounded to the nearest ten-thousandth, halves away from zero.
  friend Decimal operator*(Decimal a, Decimal b);
  // Quotient rounded likewise; nothing when divisor is zero.
  static std::optional<Decimal> Divide(Decimal dividend, Decimal divisor);
  // Whole quotient (truncated toward zero) and remainder; nothing when divisor is zero.
  static std::optional<Decimal> IntegerDivide(Decimal dividend, Decimal divisor);
  static std::optional<Decimal> Remainder(Decimal dividend, Decimal divisor);

  // Rounded to that many decimals (0 to 4), halves away from zero.
  Decimal rounded(int decimals) const;
  // Whole part, truncated toward zero.
  Decimal truncated() const;
  Decimal abs() const { return Decimal(m_units < 0 ? -m_units : m_units); }

  // Decimal comma, no thousands separator: exactly `decimals` decimals when decimals >= 0
  // (rounded), otherwise as few as needed ("12,5", "3", "-0,0625").
  QString toText(int decimals = -1) const;

  friend constexpr auto operator<=>(Decimal, Decimal) = default;

 private:
  explicit constexpr Decimal(std::int64_t units) : m_units(units) {}
  std::int64_t m_units = 0;
};

}  // namespace vantrel::reports
