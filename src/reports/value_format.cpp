#include "reports/value_format.h"

#include <QLocale>
#include <QStringList>

namespace vantrel::reports {

std::optional<ValueFormat> ValueFormat::Parse(const QString& style) {
  ValueFormat format;
  QString s = style.trimmed();
  if (s.isEmpty() || s == QLatin1String("text")) return format;
  if (s == QLatin1String("amount")) {
    format.m_kind = Kind::kAmount;
    return format;
  }
  if (s == QLatin1String("amount-blank")) {
    format.m_kind = Kind::kAmountBlank;
    return format;
  }
  if (s == QLatin1String("integer")) {
    format.m_kind = Kind::kNumber;
    return format;
  }
  if (s.startsWith(QLatin1String("number:"))) {
    bool ok = false;
    int decimals = s.mid(7).toInt(&ok);
    if (!ok || decimals < 0 || decimals > 4) return std::nullopt;
    format.m_kind = Kind::kNumber;
    format.m_decimals = decimals;
    return format;
  }
  if (s == QLatin1String("date") || s.startsWith(QLatin1String("date:"))) {
    format.m_kind = Kind::kDate;
    format.m_datePattern = s.size() > 5 ? s.mid(5) : QStringLiteral("dd/MM/yyyy");
    return format;
  }
  return std::nullopt;
}

QString ValueFormat::apply(const Value& value) const {
  switch (m_kind) {
    case Kind::kText:
      return value.toText();
    case Kind::kAmount:
    case Kind::kAmountBlank:
    case Kind::kNumber: {
      if (value.type() == Value::Type::kBoolean || value.type() == Value::Type::kDate) {
        return value.toText();
      }
      if (value.type() == Value::Type::kText && value.text().trimmed().isEmpty()) {
        return m_kind == Kind::kAmountBlank ? QString() : value.text();
      }
      std::optional<Decimal> number = value.toNumber();
      if (!number) return value.toText();
      if (m_kind == Kind::kAmountBlank && number->rounded(2).isZero()) return QString();
      return number->toText(m_kind == Kind::kNumber ? m_decimals : 2);
    }
    case Kind::kDate: {
      QDate date =
          value.type() == Value::Type::kDate ? value.date() : ParseDayMonthYear(value.toText());
      if (!date.isValid()) return value.toText();
      // Month and day names in French whatever the machine's language.
      static const QLocale kFrench(QLocale::French, QLocale::France);
      return kFrench.toString(date, m_datePattern);
    }
  }
  return value.toText();
}

QDate ParseDayMonthYear(const QString& text) {
  QStringList parts = text.trimmed().split(QLatin1Char('/'));
  if (parts.size() != 3) return QDate();
  bool okDay = false, okMonth = false, okYear = false;
  int day = parts[0].toInt(&okDay);
  int month = parts[1].toInt(&okMonth);
  int year = parts[2].toInt(&okYear);
  if (!okDay || !okMonth || !okYear) return QDate();
  if (parts[2].size() <= 2) year += year < 50 ? 2000 : 1900;
  return QDate(year, month, day);
}

}  // namespace vantrel::reports
