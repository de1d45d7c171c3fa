#include "reports/render_data.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace vantrel::reports {
namespace {

// JSON numbers arrive as doubles. One within the range of Decimal becomes that number,
// rounded to four decimals (12.345 stays 12,345); a larger one is kept as the text of its
// digits ("1000000000000000", "1e+300"), which prints whole and is refused by arithmetic.
std::optional<Value> ToValue(const QJsonValue& json) {
  switch (json.type()) {
    case QJsonValue::String:
      return Value::FromText(json.toString());
    case QJsonValue::Double: {
      double d = json.toDouble();
      if (std::abs(d) < 1e14) {
        std::optional<Decimal> number = Decimal::Parse(QString::number(d, 'f', 6));
        if (number) return Value::FromNumber(*number);
      }
      if (std::abs(d) < 1e18 && d == std::trunc(d)) {
        return Value::FromText(QString::number(static_cast<qint64>(d)));
      }
      return Value::FromText(QString::number(d, 'g', QLocale::FloatingPointShortest));
    }
    case QJsonValue::Bool:
      return Value::FromBoolean(json.toBool());
    case QJsonValue::Null:
      return Value();
    default:
      return std::nullopt;
  }
}

bool ReadObject(const QJsonObject& object, QHash<QString, Value>& out, const QString& where,
                QString* error) {
  for (auto it = object.begin(); it != object.end(); ++it) {
    std::optional<Value> value = ToValue(it.value());
    if (!value) {
      *error =
          QStringLiteral("%1 : la valeur de « %2 » doit être un texte, un nombre ou un booléen")
              .arg(where, it.key());
      return false;
    }
    if (!value->isEmpty()) out.insert(it.key(), *value);
  }
  return true;
}

}  // namespace

Value RenderData::answer(const QString& name, int record) const {
  if (record >= 0 && record < static_cast<int>(records.size())) {
    auto it = records[record].constFind(name);
    if (it != records[record].constEnd()) return *it;
  }
  return values.value(name);
}

std::optional<RenderData> ParseRenderData(const QByteArray& json, QString* error) {
  QJsonParseError parseError;
  QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
  if (document.isNull()) {
    *error = QStringLiteral("JSON incorrect à l'octet %1 : %2")
                 .arg(parseError.offset)
                 .arg(parseError.errorString());
    return std::nullopt;
  }
  if (!document.isObject()) {
    *error = QStringLiteral("Le JSON doit être un objet { \"title\": ..., \"records\": [...] }");
    return std::nullopt;
  }
  QJsonObject root = document.object();
  RenderData data;
  data.title = root.value(QStringLiteral("title")).toString();
  QJsonObject variables = root.value(QStringLiteral("variables")).toObject();
  for (auto it = variables.begin(); it != variables.end(); ++it) {
    std::optional<Value> value = ToValue(it.value());
    if (!value || value->type() != Value::Type::kNumber) {
      *error = QStringLiteral("variables : « %1 » doit être un nombre").arg(it.key());
      return std::nullopt;
    }
    data.variables.emplace_back(it.key(), value->number());
  }
  if (!ReadObject(root.value(QStringLiteral("values")).toObject(), data.values,
                  QStringLiteral("values"), error)) {
    return std::nullopt;
  }
  const QJsonArray records = root.value(QStringLiteral("records")).toArray();
  for (int i = 0; i < records.size(); ++i) {
    if (!records[i].isObject()) {
      *error = QStringLiteral("records[%1] doit être un objet").arg(i);
      return std::nullopt;
    }
    QHash<QString, Value> record;
    if (!ReadObject(records[i].toObject(), record, QStringLiteral("records[%1]").arg(i), error)) {
      return std::nullopt;
    }
    data.records.push_back(std::move(record));
  }
  return data;
}

}  // namespace vantrel::reports
