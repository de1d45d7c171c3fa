#include "reports/value.h"

namespace vantrel::reports {

Value Value::FromText(const QString& text) {
  Value v;
  v.m_type = Type::Text;
  v.m_text = text;
  return v;
}

Value Value::FromNumber(Decimal number) {
  Value v;
  v.m_type = Type::Number;
  v.m_number = number;
  return v;
}

Value Value::FromBoolean(bool flag) {
  Value v;
  v.m_type = Type::Boolean;
  v.m_boolean = flag;
  return v;
}

Value Value::FromDate(const QDate& date) {
  Value v;
  v.m_type = Type::Date;
  v.m_date = date;
  return v;
}

std::optional<Decimal> Value::toNumber() const {
  switch (m_type) {
    case Type::Empty:
      return Decimal();
    case Type::Number:
      return m_number;
    case Type::Text:
      if (m_text.trimmed().isEmpty()) return Decimal();
      return Decimal::Parse(m_text);
    case Type::Boolean:
    case Type::Date:
      return std::nullopt;
  }
  return std::nullopt;
}

QString Value::toText() const {
  switch (m_type) {
    case Type::Empty:
      return QString();
    case Type::Text:
      return m_text;
    case Type::Number:
      return m_number.toText();
    case Type::Boolean:
      return m_boolean ? QStringLiteral("Vrai") : QStringLiteral("Faux");
    case Type::Date:
      return m_date.toString(QStringLiteral("dd/MM/yyyy"));
  }
  return QString();
}

bool Value::isBlank() const {
  return m_type == Type::Empty || (m_type == Type::Text && m_text.trimmed().isEmpty());
}

bool Value::toBoolean() const {
  switch (m_type) {
    case Type::Empty:
      return false;
    case Type::Boolean:
      return m_boolean;
    case Type::Number:
      return !m_number.isZero();
    case Type::Text:
      return !m_text.isEmpty();
    case Type::Date:
      return true;
  }
  return false;
}

}  // namespace vantrel::reports
