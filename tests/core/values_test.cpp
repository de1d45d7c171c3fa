#include <gtest/gtest.h>

#include "core/cp1252.h"
#include "core/date.h"
#include "core/error.h"
#include "core/numbers.h"

namespace vantrel {
namespace {

TEST(NumbersTest, ParsesIntegersOrFailsWithTheFrenchMessage) {
  EXPECT_EQ(1500, ParseInteger("1500"));
  EXPECT_EQ(-1500, ParseInteger("-1500"));
  EXPECT_EQ(42, ParseInteger(" 42"));
  EXPECT_EQ(2147483647, ParseInteger("2147483647"));
  EXPECT_EQ(-2147483647 - 1, ParseInteger("-2147483648"));
  EXPECT_EQ(0, ParseAmount(""));
  for (const char* bad : {"", "12,5", "abc", "2147483648", "-", "1 2"}) {
    try {
      ParseInteger(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const Error& error) {
      EXPECT_EQ(std::string("'") + bad + "' n'est pas une valeur enti\xe8re correcte",
                std::string(error.what()));
    }
  }
}

TEST(NumbersTest, ShowsCentsWithTwoDecimalsAndAComma) {
  EXPECT_EQ("12,50", FormatCents(1250));
  EXPECT_EQ("-0,05", FormatCents(-5));
  EXPECT_EQ("0,00", FormatCents(0));
  EXPECT_EQ("-1500,00", FormatCents(-150000));
  EXPECT_EQ("21474836,47", FormatCents(2147483647));
}

TEST(NumbersTest, ReadsDisplayedAmountsBackToCents) {
  EXPECT_EQ(1250, ParseDisplayedAmount("12,5"));
  EXPECT_EQ(-325, ParseDisplayedAmount("-3,25"));
  EXPECT_EQ(1250, ParseDisplayedAmount("12.50"));
  EXPECT_EQ(700, ParseDisplayedAmount("7"));
  EXPECT_EQ(13, ParseDisplayedAmount("0,125"));
  EXPECT_THROW(ParseDisplayedAmount("1,2,3"), Error);
  EXPECT_THROW(ParseDisplayedAmount("douze"), Error);
}

// The optional parsers answer exactly where the throwing ones succeed, and nothing where they
// throw, including at the edges of the range.
TEST(NumbersTest, OptionalParsersMissWhereTheThrowingOnesFail) {
  for (const char* text : {"0", " 7", "+12", "-2147483648", "2147483647", "", "-", "+", "12,5",
                           "1 2", "2147483648", "-2147483649", "99999999999999999999"}) {
    const std::optional<std::int32_t> tried = TryParseInteger(text);
    try {
      EXPECT_EQ(std::optional<std::int32_t>(ParseInteger(text)), tried) << "'" << text << "'";
    } catch (const Error&) {
      EXPECT_EQ(std::nullopt, tried) << "'" << text << "'";
    }
  }
  for (const char* text : {"0", "0,00", "-0,004", "12,5", ".5", "5.", "1,2,3", "", "-", ",",
                           "douze", "9223372036854775,999", "9223372036854776"}) {
    const std::optional<std::int64_t> tried = TryParseDisplayedAmount(text);
    try {
      EXPECT_EQ(std::optional<std::int64_t>(ParseDisplayedAmount(text)), tried)
          << "'" << text << "'";
    } catch (const Error&) {
      EXPECT_EQ(std::nullopt, tried) << "'" << text << "'";
    }
  }
  EXPECT_EQ(std::optional<std::int64_t>(0), TryParseDisplayedAmount("-0,004"));
  // The largest whole part accepted still leaves room for its thousandths and the rounding.
  EXPECT_EQ(std::optional<std::int64_t>(922337203685477100),
            TryParseDisplayedAmount("9223372036854770,999"));
  EXPECT_EQ(std::nullopt, TryParseDisplayedAmount("9223372036854775,999"));
}

TEST(DateTest, ParsesAndFormatsDayMonthYear) {
  EXPECT_EQ("05/03/2015", FormatDate(ParseDate("5/3/2015")));
  EXPECT_EQ("29/02/2024", FormatDate(ParseDate("29/02/2024")));
  EXPECT_EQ("01/01/2019", FormatDate(ParseDate("01/01/19")));
  EXPECT_EQ("30/12/1899", FormatDate(Date{}));
  for (const char* bad : {"", "31/02/2023", "29/02/2023", "12/13/2020", "1/1", "aa/bb/cccc",
                          "1/1/2020/1", "00/01/2020"}) {
    try {
      ParseDate(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const Error& error) {
      EXPECT_EQ(std::string("'") + bad + "' n'est pas une date correcte",
                std::string(error.what()));
    }
  }
}

TEST(DateTest, AgeRoundsDaysOverYearLength) {
  const Date born = ParseDate("01/01/2000");
  EXPECT_EQ(19, AgeInYears(born, ParseDate("01/07/2019")));  // 7121 days: 19.496
  EXPECT_EQ(20, AgeInYears(born, ParseDate("03/07/2019")));  // 7123 days: 19.502
  EXPECT_EQ(20, AgeInYears(ParseDate("03/07/2019"), born));  // without sign
  EXPECT_EQ(0, AgeInYears(born, born));
  EXPECT_EQ(7121, ParseDate("01/07/2019").Serial() - born.Serial());
}

TEST(Cp1252Test, ConvertsTheWholeCodePage) {
  EXPECT_EQ("\xe2\x82\xac \xc5\x93 \xc3\xa9", Cp1252ToUtf8("\x80 \x9c \xe9"));
  EXPECT_EQ("\x80 \x9c \xe9", Utf8ToCp1252("\xe2\x82\xac \xc5\x93 \xc3\xa9"));
  EXPECT_EQ("?", Utf8ToCp1252("\xe4\xb8\xad"));  // a character the code page lacks
  EXPECT_EQ("?a", Utf8ToCp1252("\xc3"
                               "a"));  // a broken sequence
  for (int byte = 0; byte < 256; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    EXPECT_EQ(one, Utf8ToCp1252(Cp1252ToUtf8(one))) << "byte " << byte;
  }
}

}  // namespace
}  // namespace vantrel
