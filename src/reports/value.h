#pragma once

#include <QDate>
#include <QString>
#include <optional>

#include "reports/decimal.h"

namespace vantrel::reports {

// A value of the report language: empty (nothing answered, or no value), a boolean, a text,
// an exact decimal number or a date.
class Value {
 public:
  enum class Type { kEmpty, kBoolean, kText, kNumber, kDate };

  Value() = default;
  static Value FromText(const QString& text);
  static Value FromNumber(Decimal number);
  static Value FromInteger(qint64 number) { return FromNumber(Decimal::FromInteger(number)); }
  static Value FromBoolean(bool flag);
  static Value FromDate(const QDate& date);

  Type type() const { return m_type; }
  bool isEmpty() const { return m_type == Type::kEmpty; }
  // Empty, or a text of blanks only.
  bool isBlank() const;

  // A number, a text that reads as one (Decimal::Parse), or an empty value or blank text
  // (0); nothing for other texts, booleans and dates.
  std::optional<Decimal> toNumber() const;
  // As printed: numbers with as few decimals as needed and a decimal comma, dates as
  // "05/03/2015", booleans as "Vrai"/"Faux", empty as "".
  QString toText() const;
  // True for a true boolean, a non-zero number, a non-empty text, any date.
  bool toBoolean() const;
  QDate date() const { return m_date; }
  const QString& text() const { return m_text; }
  Decimal number() const { return m_number; }

  friend bool operator==(const Value&, const Value&) = default;

 private:
  Type m_type = Type::kEmpty;
  QString m_text;
  Decimal m_number;
  bool m_boolean = false;
  QDate m_date;
};

}  // namespace vantrel::reports
