#include "utilities/calculator.h"

#include <gtest/gtest.h>

#include "core/error.h"

namespace vantrel::utilities {
namespace {

// Plays keys on a calculator: digits, ",", "+-*/", "=", "B" backspace, "N" (-), "C" Suppr,
// "F" Frs, "E" €.
void Play(Calculator& calculator, const std::string& keys) {
  for (char key : keys) {
    if (key >= '0' && key <= '9')
      calculator.digit(key - '0');
    else if (key == ',')
      calculator.comma();
    else if (key == '=')
      calculator.equals();
    else if (key == 'B')
      calculator.backspace();
    else if (key == 'N')
      calculator.negate();
    else if (key == 'C')
      calculator.clear();
    else if (key == 'F')
      calculator.toFranc();
    else if (key == 'E')
      calculator.toEuro();
    else
      calculator.setOperator(key);
  }
}

TEST(CalculatorTest, ShowsBothCurrencies) {
  struct Case {
    const char* keys;
    const char* euro;
    const char* franc;
    std::int64_t accumulator;
  };
  const Case cases[] = {
      {"", "0", "0", 0},
      {"10", "10", "65,6", 0},
      {"1,0", "1,0", "6,56", 0},
      {"1,05", "1,05", "6,89", 0},
      {"1,057", "1,05", "6,89", 0},
      {"1,", "1,", "6,56", 0},
      {"1,,5", "1,5", "9,84", 0},
      {"5+3=", "8", "52,48", 80000},
      {"10/3=", "3,33", "21,87", 33333},
      {"1/8=", "0,12", "0,82", 1250},
      {"1,35/10=", "0,14", "0,89", 1350},
      {"2+C3=", "5", "32,8", 50000},
      {"N", "0", "0", 0},
      {"5N", "-5", "-32,8", 0},
      {"5NN", "5", "32,8", 0},
      {"12B", "1", "6,56", 0},
      {"5NB", "0", "0", 0},
      {"7B", "0", "0", 0},
      {"2*3,5=", "7", "45,92", 70000},
      {"2-3,5=", "-1,5", "-9,84", -15000},
      {"5+3=2", "82", "537,88", 80000},
      {"1+2+3=", "6", "39,36", 60000},
      {"0,05", "0,05", "0,33", 0},
  };
  for (const Case& c : cases) {
    Calculator calculator;
    Play(calculator, c.keys);
    EXPECT_EQ(c.euro, calculator.euroDisplay()) << c.keys;
    EXPECT_EQ(c.franc, calculator.francDisplay()) << c.keys;
    EXPECT_EQ(c.accumulator, calculator.accumulator()) << c.keys;
  }
}

TEST(CalculatorTest, FrancModeConvertsTheAccumulator) {
  Calculator calculator;
  Play(calculator, "10=F");
  EXPECT_EQ(Calculator::Currency::kFranc, calculator.currency());
  EXPECT_EQ(655957, calculator.accumulator());
  EXPECT_EQ("10", calculator.euroDisplay());  // switching changes neither display
  Play(calculator, "1");                      // appended to the franc display, which holds 65,6
  EXPECT_EQ("65,61", calculator.francDisplay());
  Play(calculator, "C100");
  EXPECT_EQ("100", calculator.francDisplay());
  EXPECT_EQ("15,24", calculator.euroDisplay());  // 15,2449...
  Play(calculator, "=E");
  EXPECT_EQ(152449, calculator.accumulator());
  EXPECT_EQ("15,24", calculator.euroDisplay());
  Play(calculator, "E");
  EXPECT_EQ(152449, calculator.accumulator());
}

TEST(CalculatorTest, DivisionByZeroKeepsTheAccumulator) {
  Calculator calculator;
  Play(calculator, "7/");
  try {
    Play(calculator, "0=");
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(std::string("Division par z\xe9ro"), error.what());
  }
  EXPECT_EQ(70000, calculator.accumulator());
  EXPECT_EQ("0", calculator.euroDisplay());
  EXPECT_EQ(' ', calculator.pendingOperator());
}

// After a failed operation the next number starts afresh: the failed division is not
// applied to it.
TEST(CalculatorTest, FailedOperationClearsThePendingOperator) {
  struct Case {
    const char* before;  // keys up to the failing one
    const char* failing;
    const char* after;
    const char* euro;
  };
  for (const Case& c : {Case{"1/", "0=", "C2+3=", "5"}, Case{"1/0", "+", "C2+3=", "5"},
                        Case{"99999999999999*", "99999999999999=", "C2+3=", "5"},
                        Case{"99999999999999*99999999999999", "-", "C4*2=", "8"}}) {
    Calculator calculator;
    Play(calculator, c.before);
    EXPECT_THROW(Play(calculator, c.failing), Error) << c.before << c.failing;
    EXPECT_EQ(' ', calculator.pendingOperator()) << c.before << c.failing;
    Play(calculator, c.after);
    EXPECT_EQ(c.euro, calculator.euroDisplay()) << c.before << c.failing << c.after;
  }
}

TEST(CalculatorTest, RefusesDigitsBeyondTheRange) {
  Calculator calculator;
  Play(calculator, "99999999999999");
  EXPECT_THROW(calculator.digit(9), Error);  // its francs no longer fit in 64 bits
  EXPECT_EQ("99999999999999", calculator.euroDisplay());
  Play(calculator, "*");
  EXPECT_THROW(Play(calculator, "99999999999999="), Error);
  EXPECT_EQ(999999999999990000, calculator.accumulator());
}

TEST(DecimalTest, FormatsAndParsesTenThousandths) {
  struct Case {
    std::int64_t value;
    const char* text;
  };
  for (const Case& c :
       {Case{0, "0"}, Case{125000, "12,5"}, Case{-32500, "-3,25"}, Case{1, "0,0001"},
        Case{INT64_MIN, "-922337203685477,5808"}, Case{INT64_MAX, "922337203685477,5807"}}) {
    EXPECT_EQ(c.text, FormatTenThousandths(c.value)) << c.value;
    EXPECT_EQ(c.value, ParseTenThousandths(c.text)) << c.text;
  }
  EXPECT_EQ(0, ParseTenThousandths("-"));
  EXPECT_EQ(12346, ParseTenThousandths("1,23455"));  // half to even
  EXPECT_EQ(12344, ParseTenThousandths("1,23445"));
  EXPECT_THROW(ParseTenThousandths("1.5"), Error);
  EXPECT_THROW(ParseTenThousandths("922337203685477,5808"), Error);
  EXPECT_EQ(1200, RoundToCent(1250));
  EXPECT_EQ(1400, RoundToCent(1350));
  EXPECT_EQ(-1200, RoundToCent(-1250));
}

}  // namespace
}  // namespace vantrel::utilities
