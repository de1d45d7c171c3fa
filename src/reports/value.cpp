#include "reports/value.h"

namespace vantrel::reports {

Value Value::FromText(const QString& text) {
  Value v;
  v.m_type = Type::kText;
  v.m_text = text;
  return v;
}

Value Value::FromNumber(Decimal number) {
  Value v;
  v.m_type = Type::kNumber;
  v.m_number = number;
  return v;
}

Value Value::FromBoolean(bool flag) {
  Value v;
  v.m_type = Type::kBoolean;
  v.m_boolean = flag;
  return v;
}

Value Value::FromDate(const QDate& date) {
  Value v;
  v.m_type = Type::kDate;
  v.m_date = date;
  return v;
}

std::optional<Decimal> Value::toNumber() const {
  switch (m_type) {
    case Type::kEmpty:
      return Decimal();
    case Type::kNumber:
      return m_number;
    case Type::kText:
      if (m_text.trimmed().isEmpty()) return Decimal();
      return Decimal::Parse(m_text);
    case Type::kBoolean:
    case Type::kDate:
      return std::nullopt;
  }
  return std::nullopt;
}

QString Value::toText() const {
  switch (m_type) {
    case Type::kEmpty:
      return QString();
    case Type::kText:
      return m_text;
    case Type::kNumber:
      return m_number.toText();
    case Type::kBoolean:
      return m_boolean ? QStringLiteral("Vrai") : QStringLiteral("Faux");
    case Type::kDate:
      return m_date.toString(QStringLiteral("dd/MM/yyyy"));
  }
  return QString();
}

bool Value::isBlank() const {
  return m_type == Type::kEmpty || (m_type == Type::kText && m_text.trimmed().isEmpty());
}

bool Value::toBoolean() const {
  switch (m_type) {
    case Type::kEmpty:
      return false;
    case Type::kBoolean:
      return m_boolean;
    case Type::kNumber:
      return !m_number.isZero();
    case Type::kText:
      return !m_text.isEmpty();
    case Type::kDate:
      return true;
  }
  return false;
}

}  // namespace vantrel::reports
