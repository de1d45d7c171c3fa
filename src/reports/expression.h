#pragma once

#include <QSet>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "reports/value.h"

namespace vantrel::reports {

// What an expression reads and writes while it is evaluated.
class EvalContext {
 public:
  virtual ~EvalContext() = default;
  // The value of a name, or nothing when nobody knows it (evaluation then warns and uses an
  // empty value).
  virtual std::optional<Value> lookup(const QString& name) = 0;
  // A script's assignment "name := value".
  virtual void assign(const QString& name, const Value& value) = 0;
  // A problem met while evaluating (unknown name, division by zero, text that is no number);
  // the message is French and names the expression.
  virtual void warn(const QString& message) = 0;
  // The expression cannot go on (reason: "« abc » n'est pas un nombre", "résultat trop
  // grand"); it gives an empty value. By default a warning naming the expression.
  virtual void stopped(const QString& expression, const QString& reason);
};

struct ExprNode;

// One expression of the report language, parsed once into a tree:
//   Solde1 + Solde2 * 2        IIF(Typ = '1', Solde1, 0)        Nom & ' ' & Prenom
// Errors are French and give the character position (counted from 1).
class Expression {
 public:
  Expression() = default;  // evaluates to an empty value
  // An invalid expression and the message in *error when source is not an expression.
  static Expression Parse(const QString& source, QString* error);

  bool isValid() const { return m_root != nullptr; }
  const QString& source() const { return m_source; }
  Value evaluate(EvalContext& context) const;
  // As evaluate, but nothing when the expression stopped (a text that is no number in
  // arithmetic, a division by zero, a result too large), rather than an empty value.
  std::optional<Value> tryEvaluate(EvalContext& context) const;
  // Every name the expression reads.
  void collectNames(QSet<QString>& names) const;
  bool uses(const QString& name) const;

 private:
  friend class Script;
  friend class TextTemplate;
  std::shared_ptr<const ExprNode> m_root;
  QString m_source;
};

// The assignments of a band: "Debit := Debit + Debit1J; Credit := Credit + Credit1J".
// Statements are separated by ";" or line breaks.
class Script {
 public:
  Script() = default;
  static Script Parse(const QString& source, QString* error);

  bool isValid() const { return m_valid; }
  bool isEmpty() const { return m_statements.empty(); }
  // Runs the assignments in order. A statement whose expression stops ends the run there,
  // unassigned: the result is that statement as written ("Tot := Tot + Montant"), the
  // assignments before it stay made. Nothing when every statement ran.
  std::optional<QString> run(EvalContext& context) const;
  void collectNames(QSet<QString>& names) const;
  // The names the script assigns.
  void collectAssigned(QSet<QString>& names) const;

 private:
  struct Statement {
    QString name;
    Expression value;
  };
  std::vector<Statement> m_statements;
  bool m_valid = true;
};

// A text with inserted expressions in brackets: "Page [Page] / [NbPages]". "[[" prints "[".
class TextTemplate {
 public:
  TextTemplate() = default;
  static TextTemplate Parse(const QString& source, QString* error);

  bool isValid() const { return m_valid; }
  QString evaluate(EvalContext& context) const;
  void collectNames(QSet<QString>& names) const;

 private:
  struct Part {
    QString literal;
    Expression expression;  // used when valid
  };
  std::vector<Part> m_parts;
  bool m_valid = true;
};

// The names of the functions the language knows, for help texts: "ABS", "AMOUNT", ...
QStringList FunctionNames();

}  // namespace vantrel::reports
