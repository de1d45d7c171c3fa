// The row of a result page that the demonstration club and the tests' pages share: the lines
// the result page reader counts from the rank.

#include "demo/demo_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantrel::demo {
namespace {

std::string Trimmed(const std::string& line) { return line.substr(line.find_first_not_of(' ')); }

TEST(ResultRowLinesTest, NamesLieTenAndFourteenLinesBelowTheRankOrTwelveAndSixteenWithATable) {
  const ResultRow plain{"3", 0, 61, "Jérôme LÉCUYER", "Noël BENOÎT"};
  const std::vector<std::string> lines = ResultRowLines(plain);
  ASSERT_EQ(21u, lines.size());
  EXPECT_EQ(R"(<td class="text-center">)", Trimmed(lines[1]));
  EXPECT_EQ("3", Trimmed(lines[2]));
  EXPECT_EQ("61,00 %", Trimmed(lines[5]));
  EXPECT_EQ(R"(<!----><span class="name"><!----><span>Jérôme LÉCUYER</span>)", Trimmed(lines[12]));
  EXPECT_EQ(R"(<!----><span class="name"><!----><span>Noël BENOÎT</span>)", Trimmed(lines[16]));
  EXPECT_EQ("</tr>", Trimmed(lines.back()));

  ResultRow withTable = plain;
  withTable.rank = "12";
  withTable.table = 7;
  const std::vector<std::string> tabled = ResultRowLines(withTable);
  ASSERT_EQ(23u, tabled.size());
  EXPECT_EQ("12", Trimmed(tabled[2]));
  EXPECT_EQ("7</td>", Trimmed(tabled[5]));
  EXPECT_NE(std::string::npos, tabled[14].find("<span>Jérôme LÉCUYER</span>"));
  EXPECT_NE(std::string::npos, tabled[18].find("<span>Noël BENOÎT</span>"));
  // Apart from the table's two lines, the same row.
  std::vector<std::string> withoutTable = tabled;
  withoutTable.erase(withoutTable.begin() + 4, withoutTable.begin() + 6);
  withoutTable[2] = lines[2];
  EXPECT_EQ(lines, withoutTable);
}

}  // namespace
}  // namespace vantrel::demo
