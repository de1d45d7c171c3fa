#include "members/listing.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "members/member_file.h"

namespace vantrel::members {
namespace {

Date Day(int day, int month, int year) { return *Date::FromYmd(year, month, day); }

// A member record from a few fields; the others empty (field 69 missing reads "OUI").
std::string Member(const std::map<int, std::string>& fields) {
  MemberRecord record;
  for (const auto& [k, value] : fields) record.set(k, value);
  return record.ToLine();
}

TEST(ListingBoundsTest, EmptyFileKeepsTheStartingBounds) {
  const ListingBounds bounds = ScanMembers({});
  EXPECT_EQ('Z', bounds.minLetter);
  EXPECT_EQ('A', bounds.maxLetter);
  EXPECT_EQ(100, bounds.minIndex);
  EXPECT_EQ(20, bounds.maxIndex);
  EXPECT_EQ(200, bounds.minAge);
  EXPECT_EQ(0, bounds.maxAge);
  EXPECT_EQ(10000, BalanceUnits(bounds.minBalance));
  EXPECT_EQ(-10000, BalanceUnits(bounds.maxBalance));
  EXPECT_EQ(std::vector<std::string>{}, bounds.licenceKinds);
  EXPECT_EQ(Day(1, 1, 1900), bounds.end);
  EXPECT_EQ(Day(1, 1, 2100), bounds.start);
}

TEST(ListingBoundsTest, ScanFindsTheLowestAndHighestValues) {
  const Lines members = {
      Member({{2, "MARTIN"},
              {4, "45"},
              {17, "67"},
              {68, "-2550"},
              {16, "Licence"},
              {18, "12/09/2026"}}),
      Member({{2, "DUPONT"}, {4, ""}, {17, ""}, {68, ""}, {16, "Club"}, {18, ""}}),
      Member({{2, ""}, {4, "71"}, {17, "12"}, {68, "12000"}, {16, "Licence"}, {18, "03/10/2025"}}),
      Member({{2, "\xc9TIENNE"}, {4, "33"}, {17, "91"}, {68, "199"}, {16, ""}, {18, "bad"}}),
  };
  const ListingBounds bounds = ScanMembers(members);
  EXPECT_EQ('D', bounds.minLetter);
  EXPECT_EQ(0xC9, bounds.maxLetter);
  EXPECT_EQ(20, bounds.minIndex);  // the empty index
  EXPECT_EQ(71, bounds.maxIndex);
  EXPECT_EQ(0, bounds.minAge);  // the empty age
  EXPECT_EQ(91, bounds.maxAge);
  EXPECT_EQ(-2550, bounds.minBalance);
  EXPECT_EQ(12000, bounds.maxBalance);
  EXPECT_EQ((std::vector<std::string>{"Licence", "Club"}), bounds.licenceKinds);
  EXPECT_EQ(Day(3, 10, 2025), bounds.start);
  EXPECT_EQ(Day(12, 9, 2026), bounds.end);
}

TEST(ListingCriteriaTest, NoCriterionSelectsNothing) {
  const Lines members = {Member({{2, "MARTIN"}}), Member({{2, "DUPONT"}})};
  EXPECT_EQ(std::vector<int>{}, SelectMembers(members, ListingCriteria{}));
}

TEST(ListingCriteriaTest, NameWithTheActivationBoundsSelectsEveryNamedMember) {
  const Lines members = {Member({{2, "MARTIN"}}), Member({{2, ""}}), Member({{2, "DUPONT"}}),
                         Member({{2, "ZOLA"}})};
  const ListingBounds bounds = ScanMembers(members);
  ListingCriteria criteria;
  criteria.byName = true;
  criteria.minLetter = bounds.minLetter;
  criteria.maxLetter = bounds.maxLetter;
  EXPECT_EQ((std::vector<int>{0, 2, 3}), SelectMembers(members, criteria));
  criteria.maxLetter = 'M';
  EXPECT_EQ((std::vector<int>{0, 2}), SelectMembers(members, criteria));
}

struct CriterionCase {
  const char* what;
  std::map<int, std::string> fields;
  bool passes;
};

void Check(const ListingCriteria& criteria, const std::vector<CriterionCase>& cases) {
  for (const CriterionCase& c : cases) {
    EXPECT_EQ(c.passes, PassesCriteria(Member(c.fields), criteria)) << c.what;
  }
}

TEST(ListingCriteriaTest, BalanceDropsTheFractionTowardZero) {
  ListingCriteria criteria;
  criteria.byBalance = true;
  criteria.minBalance = -1;
  criteria.maxBalance = -1;
  Check(criteria, {{"-150 cents counts as -1", {{68, "-150"}}, true},
                   {"-199 counts as -1", {{68, "-199"}}, true},
                   {"-200 counts as -2", {{68, "-200"}}, false},
                   {"-99 counts as 0", {{68, "-99"}}, false},
                   {"not a number", {{68, "abc"}}, false}});
  criteria.minBalance = 1;
  criteria.maxBalance = 1;
  Check(criteria,
        {{"199 counts as 1", {{68, "199"}}, true}, {"99 counts as 0", {{68, "99"}}, false}});
  criteria.minBalance = 0;
  criteria.maxBalance = 0;
  Check(criteria, {{"empty counts as 0", {}, true}});
}

TEST(ListingCriteriaTest, PaymentDatesIncludeBothEndsAndPassAnEmptyDate) {
  ListingCriteria criteria;
  criteria.byPayment = true;
  criteria.start = Day(1, 9, 2026);
  criteria.end = Day(30, 9, 2026);
  Check(criteria, {{"no payment date", {}, true},
                   {"on the start date", {{18, "01/09/2026"}}, true},
                   {"on the end date", {{18, "30/09/2026"}}, true},
                   {"the day before", {{18, "31/08/2026"}}, false},
                   {"the day after", {{18, "01/10/2026"}}, false},
                   {"not a date", {{18, "32/09/2026"}}, false}});
  criteria.start = Day(1, 1, 2100);  // the activation's dates, start after end
  criteria.end = Day(1, 1, 1900);
  Check(criteria, {{"no payment date, any dates", {}, true},
                   {"any date fails when start is after end", {{18, "01/09/2026"}}, false}});
}

TEST(ListingCriteriaTest, IndexAgeKindMailChoiceAndSex) {
  ListingCriteria index;
  index.byIndex = true;
  index.minIndex = 20;
  index.maxIndex = 30;
  Check(index, {{"20", {{4, "20"}}, true},
                {"30", {{4, "30"}}, true},
                {"31", {{4, "31"}}, false},
                {"empty reads 20", {}, true},
                {"not a number", {{4, "x"}}, false}});
  ListingCriteria age;
  age.byAge = true;
  age.minAge = 60;
  age.maxAge = 70;
  Check(age,
        {{"60", {{17, "60"}}, true}, {"71", {{17, "71"}}, false}, {"empty reads 0", {}, false}});
  ListingCriteria kind;
  kind.byLicenceKind = true;
  kind.licenceKinds = {"Licence"};
  Check(kind, {{"checked", {{16, "Licence"}}, true},
               {"unchecked", {{16, "Club"}}, false},
               {"empty", {}, false}});
  ListingCriteria mail;
  mail.byMailChoice = true;
  mail.mailYes = true;
  Check(mail, {{"missing reads OUI", {}, true},
               {"NON unchecked", {{69, "NON"}}, false},
               {"other text", {{69, "oui"}}, false}});
  ListingCriteria sex;
  sex.bySex = true;
  sex.women = true;
  Check(sex, {{"Mme", {{1, "Mme"}}, true}, {"M.", {{1, "M."}}, false}, {"blank title", {}, false}});
  ListingCriteria both = sex;
  both.byMailChoice = true;
  both.mailNo = true;
  Check(both, {{"Mme, NON", {{1, "Mme"}, {69, "NON"}}, true}, {"Mme, OUI", {{1, "Mme"}}, false}});
}

TEST(ListingStatisticsTest, SeriesAndBracketLimits) {
  const std::pair<int, int> series[] = {{0, 0},  {20, 0}, {21, 1}, {30, 1},  {31, 2},   {40, 2},
                                        {41, 3}, {60, 3}, {61, 4}, {100, 4}, {101, -1}, {-1, -1}};
  for (const auto& [index, expected] : series) EXPECT_EQ(expected, SeriesOf(index)) << index;
  const std::pair<int, int> brackets[] = {{10, -1}, {11, 0},  {15, 0}, {16, 1},
                                          {88, 15}, {90, 15}, {91, -1}};
  for (const auto& [ageValue, expected] : brackets)
    EXPECT_EQ(expected, BracketOf(ageValue)) << ageValue;
}

TEST(ListingStatisticsTest, AgesOutsideTheBracketsStillCountInTheAverage) {
  const Lines members = {Member({{4, "20"}, {17, "10"}}), Member({{4, "21"}, {17, "91"}}),
                         Member({{4, "60"}, {17, "40"}}), Member({{4, "101"}, {17, "40"}})};
  const ListingStatistics stats = ComputeStatistics(members, {0, 1, 2, 3});
  EXPECT_EQ((std::array<int, kSeriesCount>{1, 1, 0, 1, 0}), stats.series);
  EXPECT_EQ(181, stats.ageSum);
  EXPECT_EQ("L'age moyen est de 45,25 Ans", stats.averageAgeTitle());
  EXPECT_EQ((std::vector<PyramidBar>{{"38", 2}}), stats.pyramid());
}

TEST(ListingStatisticsTest, PyramidRunsFromTheFirstToTheLastFilledBracket) {
  const Lines members = {Member({{17, "31"}}), Member({{17, "45"}}), Member({{17, "44"}}),
                         Member({{17, "36"}})};
  const ListingStatistics stats = ComputeStatistics(members, {0, 1, 2});
  EXPECT_EQ((std::vector<PyramidBar>{{"33", 1}, {"38", 0}, {"43", 2}}), stats.pyramid());
  EXPECT_EQ("L'age moyen est de 40,00 Ans", stats.averageAgeTitle());

  const ListingStatistics all = ComputeStatistics(members, {0, 1, 2, 3});
  EXPECT_EQ((std::vector<PyramidBar>{{"33", 1}, {"38", 1}, {"43", 2}}), all.pyramid());
  EXPECT_EQ("L'age moyen est de 39,00 Ans", all.averageAgeTitle());
}

TEST(ListingStatisticsTest, EmptySelectionDrawsOneEmptyBarAndNoTitle) {
  const ListingStatistics stats = ComputeStatistics({}, {});
  EXPECT_EQ((std::vector<PyramidBar>{{"13", 0}}), stats.pyramid());
  EXPECT_EQ("", stats.averageAgeTitle());
  const Lines old = {Member({{17, "95"}})};
  EXPECT_EQ((std::vector<PyramidBar>{{"13", 0}}), ComputeStatistics(old, {0}).pyramid());
}

TEST(ListingStatisticsTest, AverageRoundsToTwoDecimals) {
  const Lines members = {Member({{17, "40"}}), Member({{17, "40"}}), Member({{17, "41"}})};
  EXPECT_EQ("L'age moyen est de 40,33 Ans",
            ComputeStatistics(members, {0, 1, 2}).averageAgeTitle());
  const Lines two = {Member({{17, "40"}}), Member({{17, "41"}}), Member({{17, "41"}})};
  EXPECT_EQ("L'age moyen est de 40,67 Ans", ComputeStatistics(two, {0, 1, 2}).averageAgeTitle());
}

}  // namespace
}  // namespace vantrel::members
