#pragma once

#include <cstdint>
#include <string>

namespace vantrel::utilities {

// Amounts of the calculator: a signed 64-bit count of ten-thousandths (12,5 is 125000).
// All arithmetic is exact decimal arithmetic on these counts; results are rounded half to
// even.

// The number with a decimal comma, no thousands separator and no trailing zeros:
// 125000 -> "12,5", -32500 -> "-3,25", 0 -> "0".
std::string FormatTenThousandths(std::int64_t value);

// Reads a display: an optional "-", digits, an optional "," and digits; "" and "-" read 0;
// more than four decimals are rounded half to even. Throws Error "'%s' n'est pas une valeur
// en virgule flottante correcte" for any other text or a value beyond 64 bits.
std::int64_t ParseTenThousandths(const std::string& text);

// value rounded to the cent (two decimals), half to even; still in ten-thousandths.
std::int64_t RoundToCent(std::int64_t value);

// The calculator of francs and euros at 6,55957 francs for one euro. Both displays show
// every amount; the entry currency's display takes the keys. Operations throw Error for a
// division by zero ("Division par zéro") and for values beyond the 64-bit range
// ("Dépassement de capacité de la calculette"). A failed digit, "(-)" or currency key
// leaves the state as it was before the key; a failed operator or "=" keeps the
// accumulator and clears the pending operator, so that the next number starts afresh.
class Calculator {
 public:
  enum class Currency { kEuro, kFranc };

  // Francs per euro in ten-thousandths of ten: 6,55957 = 655957 / 100000.
  static constexpr std::int64_t kRateNumerator = 655957;
  static constexpr std::int64_t kRateDenominator = 100000;

  // The keys of the screen.
  void digit(int d);  // "0" to "9"
  void comma();       // ","
  void backspace();   // "<---"
  void negate();      // "(-)"
  void clear();       // "Suppr"
  // "+", "-", "*" ("X") or "/": applies the pending operator, then makes this one pending.
  void setOperator(char op);
  void equals();   // "="
  void toFranc();  // "Frs"
  void toEuro();   // "€"

  Currency currency() const { return m_currency; }
  const std::string& euroDisplay() const { return m_euro; }
  const std::string& francDisplay() const { return m_franc; }
  std::int64_t accumulator() const { return m_accumulator; }
  char pendingOperator() const { return m_pending; }

 private:
  std::string& entry() { return m_currency == Currency::kEuro ? m_euro : m_franc; }
  std::string& converted() { return m_currency == Currency::kEuro ? m_franc : m_euro; }
  // Rewrites the entry to the cent and the other display converted to the cent.
  void showEntry();
  void applyPending();
  // applyPending, clearing the pending operator when it fails.
  void runPending();
  void showAccumulator();

  Currency m_currency = Currency::kEuro;
  std::string m_euro = "0";
  std::string m_franc = "0";
  std::int64_t m_accumulator = 0;
  char m_pending = ' ';
};

}  // namespace vantrel::utilities
