#pragma once

#include <QString>
#include <optional>

#include "reports/value.h"

namespace vantrel::reports {

// How a field prints its value. Written in templates as:
//   ""              the value as text (numbers with as few decimals as needed)
//   "amount"        two decimals, decimal comma, no thousands separator: "1234,50", "-0,05"
//   "amount-blank"  as "amount", but nothing at all when the value is zero or empty
//   "integer"       rounded to a whole number: "12"
//   "number:N"      N decimals (0 to 4): "number:1" gives "12,5"
//   "date"          "05/03/2015"; "date:PATTERN" with d, dd, ddd, dddd, M, MM, MMM, MMMM, yy,
//                   yyyy: "date:dddd d MMMM yyyy" gives "jeudi 5 mars 2015" (names in French
//                   whatever the machine's language)
class ValueFormat {
 public:
  ValueFormat() = default;
  // Nothing for an unknown format.
  static std::optional<ValueFormat> Parse(const QString& style);

  // Texts that are not numbers (or dates, for a date format) print as they are.
  QString apply(const Value& value) const;

 private:
  enum class Kind { kText, kAmount, kAmountBlank, kNumber, kDate };
  Kind m_kind = Kind::kText;
  int m_decimals = 0;
  QString m_datePattern;
};

// "05/03/2015" or "5/3/15" (two-digit years in 1950-2049); an invalid date otherwise.
QDate ParseDayMonthYear(const QString& text);

}  // namespace vantrel::reports
