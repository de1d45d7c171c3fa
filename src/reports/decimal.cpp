#include "reports/decimal.h"

#include <cmath>
#include <limits>

namespace vantrel::reports {
namespace {

using Wide = __int128;

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = -kMax;

std::int64_t Clamp(Wide value) {
  if (value > kMax) return kMax;
  if (value < kMin) return kMin;
  return static_cast<std::int64_t>(value);
}

// numerator / denominator rounded to the nearest whole number, halves away from zero.
Wide DivideRounded(Wide numerator, Wide denominator) {
  bool negative = (numerator < 0) != (denominator < 0);
  Wide n = numerator < 0 ? -numerator : numerator;
  Wide d = denominator < 0 ? -denominator : denominator;
  Wide q = (n + d / 2) / d;
  return negative ? -q : q;
}

constexpr std::int64_t kPowers[] = {1, 10, 100, 1000, 10000};

}  // namespace

Decimal Decimal::FromDouble(double value) {
  if (std::isnan(value)) return Decimal();
  double scaled = std::round(value * kScale);
  if (scaled >= static_cast<double>(kMax)) return Decimal(kMax);
  if (scaled <= static_cast<double>(kMin)) return Decimal(kMin);
  return Decimal(static_cast<std::int64_t>(scaled));
}

std::optional<Decimal> Decimal::Parse(const QString& text) {
  QString t = text.trimmed();
  if (t.isEmpty()) return std::nullopt;
  int i = 0;
  bool negative = false;
  if (t[0] == QLatin1Char('-') || t[0] == QLatin1Char('+')) {
    negative = t[0] == QLatin1Char('-');
    ++i;
  }
  Wide whole = 0;
  int wholeDigits = 0;
  while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) {
    whole = whole * 10 + (t[i].unicode() - '0');
    if (whole > Wide(kMax)) return std::nullopt;
    ++wholeDigits;
    ++i;
  }
  Wide fraction = 0;  // in units of 10^-fractionDigits
  int fractionDigits = 0;
  if (i < t.size() && (t[i] == QLatin1Char(',') || t[i] == QLatin1Char('.'))) {
    ++i;
    while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) {
      if (fractionDigits < 18) {
        fraction = fraction * 10 + (t[i].unicode() - '0');
        ++fractionDigits;
      }
      ++i;
    }
  }
  if (i != t.size() || (wholeDigits == 0 && fractionDigits == 0)) return std::nullopt;
  Wide units = whole * kScale;
  if (fractionDigits <= 4) {
    units += fraction * kPowers[4 - fractionDigits];
  } else {
    Wide divisor = 1;
    for (int k = 4; k < fractionDigits; ++k) divisor *= 10;
    units += DivideRounded(fraction, divisor);
  }
  if (units > Wide(kMax)) return std::nullopt;
  return Decimal(negative ? -Clamp(units) : Clamp(units));
}

Decimal operator+(Decimal a, Decimal b) { return Decimal(Clamp(Wide(a.m_units) + b.m_units)); }

Decimal operator-(Decimal a, Decimal b) { return Decimal(Clamp(Wide(a.m_units) - b.m_units)); }

Decimal operator*(Decimal a, Decimal b) {
  return Decimal(Clamp(DivideRounded(Wide(a.m_units) * b.m_units, Decimal::kScale)));
}

std::optional<Decimal> Decimal::Divide(Decimal dividend, Decimal divisor) {
  if (divisor.m_units == 0) return std::nullopt;
  return Decimal(Clamp(DivideRounded(Wide(dividend.m_units) * kScale, divisor.m_units)));
}

std::optional<Decimal> Decimal::IntegerDivide(Decimal dividend, Decimal divisor) {
  if (divisor.m_units == 0) return std::nullopt;
  return Decimal(Clamp(Wide(dividend.m_units) / divisor.m_units * kScale));
}

std::optional<Decimal> Decimal::Remainder(Decimal dividend, Decimal divisor) {
  if (divisor.m_units == 0) return std::nullopt;
  return Decimal(dividend.m_units % divisor.m_units);
}

Decimal Decimal::rounded(int decimals) const {
  if (decimals >= 4) return *this;
  if (decimals < 0) decimals = 0;
  std::int64_t step = kPowers[4 - decimals];
  return Decimal(Clamp(DivideRounded(m_units, step) * step));
}

Decimal Decimal::truncated() const { return Decimal(m_units / kScale * kScale); }

QString Decimal::toText(int decimals) const {
  Decimal value = decimals >= 0 ? rounded(decimals) : *this;
  std::int64_t units = value.m_units;
  bool negative = units < 0;
  std::uint64_t magnitude = negative ? static_cast<std::uint64_t>(-units) : units;
  QString text = QString::number(magnitude / kScale);
  QString fraction = QString::number(magnitude % kScale).rightJustified(4, QLatin1Char('0'));
  if (decimals >= 0) {
    fraction.truncate(std::min(decimals, 4));
    while (fraction.size() < decimals) fraction += QLatin1Char('0');
  } else {
    while (!fraction.isEmpty() && fraction.endsWith(QLatin1Char('0'))) fraction.chop(1);
  }
  if (!fraction.isEmpty()) text += QLatin1Char(',') + fraction;
  if (negative && magnitude != 0) text.prepend(QLatin1Char('-'));
  return text;
}

}  // namespace vantrel::reports
