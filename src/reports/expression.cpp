#include "reports/expression.h"

#include <QStringList>
#include <functional>

#include "reports/value_format.h"

namespace vantrel::reports {

enum class Function {
  kIif,
  kRound,
  kAbs,
  kInt,
  kUpper,
  kLower,
  kTrim,
  kLength,
  kCopy,
  kAmount,
  kAmountBlank,
  kFormat,
  kFormatDate,
  kStr,
  kNum,
  kIsEmpty,
  kMin,
  kMax
};

struct FunctionInfo {
  const char* name;
  Function function;
  int minArgs;
  int maxArgs;
};

constexpr FunctionInfo kFunctions[] = {
    {"ABS", Function::kAbs, 1, 1},
    {"AMOUNT", Function::kAmount, 1, 1},
    {"AMOUNTBLANK", Function::kAmountBlank, 1, 1},
    {"COPY", Function::kCopy, 2, 3},
    {"FORMAT", Function::kFormat, 2, 2},
    {"FORMATDATE", Function::kFormatDate, 2, 2},
    {"IIF", Function::kIif, 3, 3},
    {"INT", Function::kInt, 1, 1},
    {"ISEMPTY", Function::kIsEmpty, 1, 1},
    {"LENGTH", Function::kLength, 1, 1},
    {"LOWER", Function::kLower, 1, 1},
    {"MAX", Function::kMax, 2, 2},
    {"MIN", Function::kMin, 2, 2},
    {"NUM", Function::kNum, 1, 1},
    {"ROUND", Function::kRound, 1, 2},
    {"STR", Function::kStr, 1, 1},
    {"TRIM", Function::kTrim, 1, 1},
    {"UPPER", Function::kUpper, 1, 1},
};

enum class Op {
  kAdd,
  kSubtract,
  kMultiply,
  kDivide,
  kIntDivide,
  kModulo,
  kConcat,
  kEqual,
  kNotEqual,
  kLess,
  kLessEqual,
  kGreater,
  kGreaterEqual,
  kAnd,
  kOr,
  kNot,
  kNegate
};

struct ExprNode {
  enum class Kind { kLiteral, kName, kUnary, kBinary, kCall } kind = Kind::kLiteral;
  Value literal;
  QString name;
  Op op = Op::kAdd;
  Function function = Function::kAbs;
  std::vector<ExprNode> children;
};

namespace {

// ---------------------------------------------------------------------------------------
// Lexer

enum class Tok { kEnd, kNumber, kString, kName, kSymbol };

struct Token {
  Tok kind = Tok::kEnd;
  QString text;  // the symbol, the name, the string's content or the number's digits
  int position = 0;
};

class Lexer {
 public:
  Lexer(const QString& source, int start) : m_s(source), m_i(start) {}

  // False and *error when the text holds a character or string the language does not know.
  bool next(Token& token, QString* error) {
    while (m_i < m_s.size() && m_s[m_i].isSpace()) ++m_i;
    token.position = m_i;
    token.text.clear();
    if (m_i >= m_s.size()) {
      token.kind = Tok::kEnd;
      return true;
    }
    QChar c = m_s[m_i];
    if (c.isDigit()) {
      int start = m_i;
      while (m_i < m_s.size() && m_s[m_i].isDigit()) ++m_i;
      if (m_i + 1 < m_s.size() && m_s[m_i] == QLatin1Char('.') && m_s[m_i + 1].isDigit()) {
        ++m_i;
        while (m_i < m_s.size() && m_s[m_i].isDigit()) ++m_i;
      }
      token.kind = Tok::kNumber;
      token.text = m_s.mid(start, m_i - start);
      return true;
    }
    if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
      ++m_i;
      while (true) {
        if (m_i >= m_s.size()) {
          *error = QStringLiteral("texte entre guillemets non terminé (caractère %1)")
                       .arg(token.position + 1);
          return false;
        }
        if (m_s[m_i] == c) {
          if (m_i + 1 < m_s.size() && m_s[m_i + 1] == c) {
            token.text += c;
            m_i += 2;
            continue;
          }
          ++m_i;
          break;
        }
        token.text += m_s[m_i++];
      }
      token.kind = Tok::kString;
      return true;
    }
    if (c.isLetter() || c == QLatin1Char('_')) {
      int start = m_i;
      while (m_i < m_s.size() && (m_s[m_i].isLetterOrNumber() || m_s[m_i] == QLatin1Char('_'))) {
        ++m_i;
      }
      token.kind = Tok::kName;
      token.text = m_s.mid(start, m_i - start);
      return true;
    }
    static const char* const kTwo[] = {":=", "<=", ">=", "<>"};
    for (const char* two : kTwo) {
      if (m_s.mid(m_i, 2) == QLatin1String(two)) {
        token.kind = Tok::kSymbol;
        token.text = QLatin1String(two);
        m_i += 2;
        return true;
      }
    }
    if (QStringLiteral("+-*/&=<>(),;]").contains(c)) {
      token.kind = Tok::kSymbol;
      token.text = c;
      ++m_i;
      return true;
    }
    *error = QStringLiteral("caractère « %1 » inattendu (caractère %2)").arg(c).arg(m_i + 1);
    return false;
  }

 private:
  const QString& m_s;
  int m_i;
};

// ---------------------------------------------------------------------------------------
// Parser: recursive descent over the precedence levels, lowest first:
//   or; and; not; = <> < <= > >=; + - &; * / div mod; unary - +; primary

class Parser {
 public:
  Parser(const QString& source, int start) : m_lexer(source, start) {}

  bool start(QString* error) { return advance(error); }
  const Token& current() const { return m_token; }
  bool advance(QString* error) { return m_lexer.next(m_token, error); }

  bool isSymbol(const char* symbol) const {
    return m_token.kind == Tok::kSymbol && m_token.text == QLatin1String(symbol);
  }
  bool isKeyword(const char* word) const {
    return m_token.kind == Tok::kName &&
           m_token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
  }

  bool parseExpression(ExprNode& node, QString* error) { return parseOr(node, error); }

  QString unexpected() const {
    if (m_token.kind == Tok::kEnd) return QStringLiteral("expression incomplète");
    return QStringLiteral("« %1 » inattendu (caractère %2)")
        .arg(m_token.kind == Tok::kString ? QLatin1Char('\'') + m_token.text + QLatin1Char('\'')
                                         : m_token.text)
        .arg(m_token.position + 1);
  }

 private:
  static ExprNode Binary(Op op, ExprNode left, ExprNode right) {
    ExprNode node;
    node.kind = ExprNode::Kind::kBinary;
    node.op = op;
    node.children.push_back(std::move(left));
    node.children.push_back(std::move(right));
    return node;
  }

  bool parseOr(ExprNode& node, QString* error) {
    if (!parseAnd(node, error)) return false;
    while (isKeyword("or")) {
      if (!advance(error)) return false;
      ExprNode right;
      if (!parseAnd(right, error)) return false;
      node = Binary(Op::kOr, std::move(node), std::move(right));
    }
    return true;
  }

  bool parseAnd(ExprNode& node, QString* error) {
    if (!parseNot(node, error)) return false;
    while (isKeyword("and")) {
      if (!advance(error)) return false;
      ExprNode right;
      if (!parseNot(right, error)) return false;
      node = Binary(Op::kAnd, std::move(node), std::move(right));
    }
    return true;
  }

  bool parseNot(ExprNode& node, QString* error) {
    Depth depth(m_depth);
    if (tooDeep(error)) return false;
    if (isKeyword("not")) {
      if (!advance(error)) return false;
      ExprNode operand;
      if (!parseNot(operand, error)) return false;
      node = ExprNode();
      node.kind = ExprNode::Kind::kUnary;
      node.op = Op::kNot;
      node.children.push_back(std::move(operand));
      return true;
    }
    return parseComparison(node, error);
  }

  bool parseComparison(ExprNode& node, QString* error) {
    if (!parseAdditive(node, error)) return false;
    static const std::pair<const char*, Op> kOps[] = {{"=", Op::kEqual},   {"<>", Op::kNotEqual},
                                                      {"<", Op::kLess},    {"<=", Op::kLessEqual},
                                                      {">", Op::kGreater}, {">=", Op::kGreaterEqual}};
    for (const auto& [symbol, op] : kOps) {
      if (isSymbol(symbol)) {
        if (!advance(error)) return false;
        ExprNode right;
        if (!parseAdditive(right, error)) return false;
        node = Binary(op, std::move(node), std::move(right));
        return true;
      }
    }
    return true;
  }

  bool parseAdditive(ExprNode& node, QString* error) {
    if (!parseMultiplicative(node, error)) return false;
    while (true) {
      Op op;
      if (isSymbol("+"))
        op = Op::kAdd;
      else if (isSymbol("-"))
        op = Op::kSubtract;
      else if (isSymbol("&"))
        op = Op::kConcat;
      else
        return true;
      if (!advance(error)) return false;
      ExprNode right;
      if (!parseMultiplicative(right, error)) return false;
      node = Binary(op, std::move(node), std::move(right));
    }
  }

  bool parseMultiplicative(ExprNode& node, QString* error) {
    if (!parseUnary(node, error)) return false;
    while (true) {
      Op op;
      if (isSymbol("*"))
        op = Op::kMultiply;
      else if (isSymbol("/"))
        op = Op::kDivide;
      else if (isKeyword("div"))
        op = Op::kIntDivide;
      else if (isKeyword("mod"))
        op = Op::kModulo;
      else
        return true;
      if (!advance(error)) return false;
      ExprNode right;
      if (!parseUnary(right, error)) return false;
      node = Binary(op, std::move(node), std::move(right));
    }
  }

  // Guards the recursion of parenthesised, negated and "not" sub-expressions, so that a
  // template cannot exhaust the stack.
  struct Depth {
    explicit Depth(int& depth) : m_depth(depth) { ++m_depth; }
    ~Depth() { --m_depth; }
    int& m_depth;
  };
  bool tooDeep(QString* error) {
    if (m_depth <= kMaxDepth) return false;
    *error = QStringLiteral("expression trop imbriquée (caractère %1)").arg(m_token.position + 1);
    return true;
  }

  bool parseUnary(ExprNode& node, QString* error) {
    Depth depth(m_depth);
    if (tooDeep(error)) return false;
    if (isSymbol("-") || isSymbol("+")) {
      bool negate = isSymbol("-");
      if (!advance(error)) return false;
      ExprNode operand;
      if (!parseUnary(operand, error)) return false;
      if (!negate) {
        node = std::move(operand);
        return true;
      }
      node = ExprNode();
      node.kind = ExprNode::Kind::kUnary;
      node.op = Op::kNegate;
      node.children.push_back(std::move(operand));
      return true;
    }
    return parsePrimary(node, error);
  }

  bool parsePrimary(ExprNode& node, QString* error) {
    node = ExprNode();
    switch (m_token.kind) {
      case Tok::kNumber: {
        std::optional<Decimal> number = Decimal::Parse(m_token.text);
        if (!number) {
          *error = QStringLiteral("nombre trop grand « %1 » (caractère %2)")
                       .arg(m_token.text)
                       .arg(m_token.position + 1);
          return false;
        }
        node.literal = Value::FromNumber(*number);
        return advance(error);
      }
      case Tok::kString:
        node.literal = Value::FromText(m_token.text);
        return advance(error);
      case Tok::kName:
        return parseName(node, error);
      case Tok::kSymbol:
        if (isSymbol("(")) {
          if (!advance(error) || !parseExpression(node, error)) return false;
          if (!isSymbol(")")) {
            *error = QStringLiteral("« ) » attendu : ") + unexpected();
            return false;
          }
          return advance(error);
        }
        break;
      case Tok::kEnd:
        break;
    }
    *error = unexpected();
    return false;
  }

  bool parseName(ExprNode& node, QString* error) {
    QString name = m_token.text;
    int position = m_token.position;
    if (isKeyword("true") || isKeyword("false")) {
      node.literal = Value::FromBoolean(isKeyword("true"));
      return advance(error);
    }
    static const char* const kReserved[] = {"and", "or", "not", "div", "mod"};
    for (const char* word : kReserved) {
      if (isKeyword(word)) {
        *error = unexpected();
        return false;
      }
    }
    if (!advance(error)) return false;
    if (!isSymbol("(")) {
      node.kind = ExprNode::Kind::kName;
      node.name = name;
      return true;
    }
    const FunctionInfo* info = nullptr;
    for (const FunctionInfo& candidate : kFunctions) {
      if (name.compare(QLatin1String(candidate.name), Qt::CaseInsensitive) == 0) {
        info = &candidate;
      }
    }
    if (info == nullptr) {
      *error =
          QStringLiteral("fonction inconnue « %1 » (caractère %2)").arg(name).arg(position + 1);
      return false;
    }
    node.kind = ExprNode::Kind::kCall;
    node.function = info->function;
    if (!advance(error)) return false;
    if (!isSymbol(")")) {
      while (true) {
        ExprNode argument;
        if (!parseExpression(argument, error)) return false;
        node.children.push_back(std::move(argument));
        if (isSymbol(",")) {
          if (!advance(error)) return false;
          continue;
        }
        if (isSymbol(")")) break;
        *error = QStringLiteral("« , » ou « ) » attendu : ") + unexpected();
        return false;
      }
    }
    int count = static_cast<int>(node.children.size());
    if (count < info->minArgs || count > info->maxArgs) {
      QString expected = info->minArgs == info->maxArgs
                             ? QString::number(info->minArgs)
                             : QStringLiteral("%1 ou %2").arg(info->minArgs).arg(info->maxArgs);
      *error = QStringLiteral("la fonction %1 attend %2 argument(s), pas %3 (caractère %4)")
                   .arg(QLatin1String(info->name), expected)
                   .arg(count)
                   .arg(position + 1);
      return false;
    }
    return advance(error);
  }

  static constexpr int kMaxDepth = 400;  // two per level of parentheses
  Lexer m_lexer;
  Token m_token;
  int m_depth = 0;
};

// ---------------------------------------------------------------------------------------
// Evaluation

// Two values that both read as numbers are compared and added as numbers when one of them
// is a number, or when neither is blank: "12" + "3" is 15 and "" = 0 is true, but "" + ""
// stays "" and "0" = "" is false.
bool NumericPair(const Value& a, const Value& b) {
  return a.type() == Value::Type::kNumber || b.type() == Value::Type::kNumber ||
         (!a.isBlank() && !b.isBlank());
}

// Thrown inside the evaluator when the expression cannot go on (a text that is no number in
// arithmetic, a division by zero); the expression then gives an empty value.
struct Stopped {};

class Evaluator {
 public:
  Evaluator(EvalContext& context, const QString& source) : m_context(context), m_source(source) {}

  Value eval(const ExprNode& node) {
    switch (node.kind) {
      case ExprNode::Kind::kLiteral:
        return node.literal;
      case ExprNode::Kind::kName: {
        std::optional<Value> value = m_context.lookup(node.name);
        if (!value) {
          warn(QStringLiteral("nom inconnu « %1 »").arg(node.name));
          return Value();
        }
        return *value;
      }
      case ExprNode::Kind::kUnary:
        return unary(node);
      case ExprNode::Kind::kBinary:
        return binary(node);
      case ExprNode::Kind::kCall:
        return call(node);
    }
    return Value();
  }

 private:
  void warn(const QString& message) {
    m_context.warn(QStringLiteral("« %1 » : %2").arg(m_source, message));
  }

  [[noreturn]] void stop(const QString& message) {
    m_context.stopped(m_source, message);
    throw Stopped();
  }

  // A result that did not fit stops the expression rather than print a wrong number.
  Value checked(Decimal result) {
    if (result.isOutOfRange()) stop(QStringLiteral("résultat trop grand"));
    return Value::FromNumber(result);
  }

  // The value as a number; stops the expression when it is none.
  Decimal number(const Value& value) {
    std::optional<Decimal> n = value.toNumber();
    if (!n) stop(QStringLiteral("« %1 » n'est pas un nombre").arg(value.toText()));
    return *n;
  }

  Value unary(const ExprNode& node) {
    Value operand = eval(node.children[0]);
    if (node.op == Op::kNot) return Value::FromBoolean(!operand.toBoolean());
    return Value::FromNumber(-number(operand));
  }

  static int compare(const Value& a, const Value& b) {
    if (a.type() == Value::Type::kDate && b.type() == Value::Type::kDate) {
      return a.date() < b.date() ? -1 : (a.date() == b.date() ? 0 : 1);
    }
    if (a.type() == Value::Type::kBoolean && b.type() == Value::Type::kBoolean) {
      return int(a.toBoolean()) - int(b.toBoolean());
    }
    std::optional<Decimal> x = a.toNumber();
    std::optional<Decimal> y = b.toNumber();
    if (x && y && NumericPair(a, b)) return *x < *y ? -1 : (*x == *y ? 0 : 1);
    int c = a.toText().compare(b.toText());
    return c < 0 ? -1 : (c == 0 ? 0 : 1);
  }

  Value binary(const ExprNode& node) {
    if (node.op == Op::kAnd) {
      if (!eval(node.children[0]).toBoolean()) return Value::FromBoolean(false);
      return Value::FromBoolean(eval(node.children[1]).toBoolean());
    }
    if (node.op == Op::kOr) {
      if (eval(node.children[0]).toBoolean()) return Value::FromBoolean(true);
      return Value::FromBoolean(eval(node.children[1]).toBoolean());
    }
    Value a = eval(node.children[0]);
    Value b = eval(node.children[1]);
    switch (node.op) {
      case Op::kConcat:
        return Value::FromText(a.toText() + b.toText());
      case Op::kEqual:
        return Value::FromBoolean(compare(a, b) == 0);
      case Op::kNotEqual:
        return Value::FromBoolean(compare(a, b) != 0);
      case Op::kLess:
        return Value::FromBoolean(compare(a, b) < 0);
      case Op::kLessEqual:
        return Value::FromBoolean(compare(a, b) <= 0);
      case Op::kGreater:
        return Value::FromBoolean(compare(a, b) > 0);
      case Op::kGreaterEqual:
        return Value::FromBoolean(compare(a, b) >= 0);
      case Op::kAdd: {
        // Two numbers add up; two texts (or empty values) join; a number and a text that
        // is no number stop the expression.
        std::optional<Decimal> x = a.toNumber();
        std::optional<Decimal> y = b.toNumber();
        if (x && y && NumericPair(a, b)) return checked(*x + *y);
        auto joinable = [](const Value& v) {
          return v.type() == Value::Type::kText || v.type() == Value::Type::kEmpty;
        };
        if (joinable(a) && joinable(b)) return Value::FromText(a.toText() + b.toText());
        number(x ? b : a);
        return Value();
      }
      default:
        break;
    }
    Decimal x = number(a);
    Decimal y = number(b);
    std::optional<Decimal> result;
    switch (node.op) {
      case Op::kSubtract:
        return checked(x - y);
      case Op::kMultiply:
        return checked(x * y);
      case Op::kDivide:
        result = Decimal::Divide(x, y);
        break;
      case Op::kIntDivide:
        result = Decimal::IntegerDivide(x, y);
        break;
      case Op::kModulo:
        result = Decimal::Remainder(x, y);
        break;
      default:
        return Value();
    }
    if (!result) stop(QStringLiteral("division par zéro"));
    return checked(*result);
  }

  Value call(const ExprNode& node) {
    const std::vector<ExprNode>& args = node.children;
    if (node.function == Function::kIif) {
      return eval(args[0]).toBoolean() ? eval(args[1]) : eval(args[2]);
    }
    std::vector<Value> values;
    values.reserve(args.size());
    for (const ExprNode& arg : args) values.push_back(eval(arg));
    const Value& v = values[0];
    switch (node.function) {
      case Function::kIif:
        break;
      case Function::kRound: {
        Decimal n = number(v);
        int decimals = 0;
        if (values.size() > 1) {
          decimals = static_cast<int>(number(values[1]).truncated().units() / Decimal::kScale);
        }
        return Value::FromNumber(n.rounded(decimals));
      }
      case Function::kAbs:
        return Value::FromNumber(number(v).abs());
      case Function::kInt:
        return Value::FromNumber(number(v).truncated());
      case Function::kUpper:
        return Value::FromText(v.toText().toUpper());
      case Function::kLower:
        return Value::FromText(v.toText().toLower());
      case Function::kTrim:
        return Value::FromText(v.toText().trimmed());
      case Function::kLength:
        return Value::FromInteger(v.toText().size());
      case Function::kCopy: {
        qint64 start = number(values[1]).truncated().units() / Decimal::kScale;
        qint64 count = -1;
        if (values.size() > 2) {
          count = std::max<qint64>(0, number(values[2]).truncated().units() / Decimal::kScale);
        }
        QString text = v.toText();
        if (start < 1) start = 1;
        if (start > text.size()) return Value::FromText(QString());
        return Value::FromText(text.mid(start - 1, count));
      }
      case Function::kAmount:
        return Value::FromText(ValueFormat::Parse(QStringLiteral("amount"))->apply(v));
      case Function::kAmountBlank:
        return Value::FromText(ValueFormat::Parse(QStringLiteral("amount-blank"))->apply(v));
      case Function::kFormat:
      case Function::kFormatDate: {
        QString style = values[1].toText();
        if (node.function == Function::kFormatDate) style.prepend(QStringLiteral("date:"));
        std::optional<ValueFormat> format = ValueFormat::Parse(style);
        if (!format) {
          warn(QStringLiteral("format inconnu « %1 »").arg(values[1].toText()));
          return Value::FromText(v.toText());
        }
        return Value::FromText(format->apply(v));
      }
      case Function::kStr:
        return Value::FromText(v.toText());
      case Function::kNum:
        return Value::FromNumber(number(v));
      case Function::kIsEmpty:
        return Value::FromBoolean(v.isEmpty() ||
                                  (v.type() == Value::Type::kText && v.text().trimmed().isEmpty()));
      case Function::kMin:
      case Function::kMax: {
        int c = compare(values[0], values[1]);
        bool first = node.function == Function::kMin ? c <= 0 : c >= 0;
        return first ? values[0] : values[1];
      }
    }
    return Value();
  }

  EvalContext& m_context;
  const QString& m_source;
};

void CollectNames(const ExprNode& node, QSet<QString>& names) {
  if (node.kind == ExprNode::Kind::kName) names.insert(node.name);
  for (const ExprNode& child : node.children) CollectNames(child, names);
}

}  // namespace

Expression Expression::Parse(const QString& source, QString* error) {
  Expression expression;
  expression.m_source = source.trimmed();
  QString message;
  Parser parser(source, 0);
  auto root = std::make_shared<ExprNode>();
  if (!parser.start(&message) || !parser.parseExpression(*root, &message)) {
    *error = message;
    return expression;
  }
  if (parser.current().kind != Tok::kEnd) {
    *error = parser.unexpected();
    return expression;
  }
  expression.m_root = std::move(root);
  return expression;
}

void EvalContext::stopped(const QString& expression, const QString& reason) {
  warn(QStringLiteral("« %1 » : %2").arg(expression, reason));
}

Value Expression::evaluate(EvalContext& context) const {
  return tryEvaluate(context).value_or(Value());
}

std::optional<Value> Expression::tryEvaluate(EvalContext& context) const {
  if (!m_root) return Value();
  try {
    return Evaluator(context, m_source).eval(*m_root);
  } catch (const Stopped&) {
    return std::nullopt;
  }
}

void Expression::collectNames(QSet<QString>& names) const {
  if (m_root) CollectNames(*m_root, names);
}

bool Expression::uses(const QString& name) const {
  QSet<QString> names;
  collectNames(names);
  return names.contains(name);
}

Script Script::Parse(const QString& source, QString* error) {
  Script script;
  QString message;
  Parser parser(source, 0);
  if (!parser.start(&message)) {
    *error = message;
    script.m_valid = false;
    return script;
  }
  while (parser.current().kind != Tok::kEnd) {
    if (parser.isSymbol(";")) {
      if (!parser.advance(&message)) break;
      continue;
    }
    if (parser.current().kind != Tok::kName) {
      message = QStringLiteral("nom de variable attendu : ") + parser.unexpected();
      break;
    }
    Statement statement;
    statement.name = parser.current().text;
    int start = parser.current().position;
    if (!parser.advance(&message)) break;
    if (!parser.isSymbol(":=")) {
      message = QStringLiteral("« := » attendu : ") + parser.unexpected();
      break;
    }
    if (!parser.advance(&message)) break;
    int valueStart = parser.current().position;
    auto root = std::make_shared<ExprNode>();
    if (!parser.parseExpression(*root, &message)) break;
    int end = parser.current().kind == Tok::kEnd ? source.size() : parser.current().position;
    statement.value.m_root = std::move(root);
    statement.value.m_source = source.mid(valueStart, end - valueStart).trimmed();
    Q_UNUSED(start);
    script.m_statements.push_back(std::move(statement));
  }
  if (!message.isEmpty()) {
    *error = message;
    script.m_valid = false;
    script.m_statements.clear();
  }
  return script;
}

std::optional<QString> Script::run(EvalContext& context) const {
  for (const Statement& statement : m_statements) {
    std::optional<Value> value = statement.value.tryEvaluate(context);
    if (!value) return QStringLiteral("%1 := %2").arg(statement.name, statement.value.source());
    context.assign(statement.name, *value);
  }
  return std::nullopt;
}

void Script::collectNames(QSet<QString>& names) const {
  for (const Statement& statement : m_statements) {
    names.insert(statement.name);
    statement.value.collectNames(names);
  }
}

void Script::collectAssigned(QSet<QString>& names) const {
  for (const Statement& statement : m_statements) names.insert(statement.name);
}

TextTemplate TextTemplate::Parse(const QString& source, QString* error) {
  TextTemplate result;
  QString literal;
  int i = 0;
  while (i < source.size()) {
    QChar c = source[i];
    if (c == QLatin1Char('[') && i + 1 < source.size() && source[i + 1] == QLatin1Char('[')) {
      literal += c;
      i += 2;
      continue;
    }
    if (c != QLatin1Char('[')) {
      literal += c;
      ++i;
      continue;
    }
    QString message;
    Parser parser(source, i + 1);
    auto root = std::make_shared<ExprNode>();
    if (!parser.start(&message) || !parser.parseExpression(*root, &message)) {
      *error = message;
      result.m_valid = false;
      return result;
    }
    if (!parser.isSymbol("]")) {
      *error = QStringLiteral("« ] » attendu : ") + parser.unexpected();
      result.m_valid = false;
      return result;
    }
    if (!literal.isEmpty()) result.m_parts.push_back(Part{literal, Expression()});
    literal.clear();
    Part part;
    part.expression.m_root = std::move(root);
    part.expression.m_source = source.mid(i + 1, parser.current().position - i - 1).trimmed();
    result.m_parts.push_back(std::move(part));
    i = parser.current().position + 1;
  }
  if (!literal.isEmpty()) result.m_parts.push_back(Part{literal, Expression()});
  return result;
}

QString TextTemplate::evaluate(EvalContext& context) const {
  QString text;
  for (const Part& part : m_parts) {
    text += part.expression.isValid() ? part.expression.evaluate(context).toText() : part.literal;
  }
  return text;
}

void TextTemplate::collectNames(QSet<QString>& names) const {
  for (const Part& part : m_parts) part.expression.collectNames(names);
}

QStringList FunctionNames() {
  QStringList names;
  for (const FunctionInfo& info : kFunctions) names << QLatin1String(info.name);
  return names;
}

}  // namespace vantrel::reports
