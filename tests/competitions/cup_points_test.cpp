#include "competitions/cup_points.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantrel::competitions {
namespace {

TEST(CupPointsTest, TenPairsWithTheDefaultCoefficient) {
  const std::vector<std::int64_t> expected = {1111, 901, 716, 556, 420, 309, 222, 160, 123, 111};
  std::vector<std::int64_t> actual;
  for (int rank = 1; rank <= 10; ++rank) actual.push_back(CupPoints(rank, 10, 100000));
  EXPECT_EQ(expected, actual);
}

TEST(CupPointsTest, ScaleWithTheNumberOfPairsAndTheCoefficient) {
  struct Case {
    std::int64_t rank, pairs, k, expected;
  };
  const Case cases[] = {
      {1, 12, 100000, 1333}, {2, 12, 100000, 1125}, {3, 12, 100000, 937}, {9, 12, 100000, 223},
      {10, 12, 100000, 173}, {12, 12, 100000, 133}, {1, 10, 50000, 556},  {10, 10, 0, 0},
      {1, 60, 100000, 6667}, {60, 60, 100000, 667},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, CupPoints(c.rank, c.pairs, c.k))
        << "rank " << c.rank << " of " << c.pairs << ", K " << c.k;
  }
}

TEST(CupPointsTest, ASinglePairIsItsTournamentsWinner) {
  // (1 + 1/9) x 1 x 100000 / 1000 = 111.11
  EXPECT_EQ(111, CupPoints(1, 1, 100000));
}

TEST(RoundHalfEvenTest, HalvesGoToTheEvenNeighbour) {
  struct Case {
    double value;
    std::int64_t expected;
  };
  const Case cases[] = {{6172.5, 6172}, {6173.5, 6174}, {6177.5, 6178},     {0.5, 0},
                        {1.5, 2},       {-0.5, 0},      {-1.5, -2},         {2.4999, 2},
                        {2.5001, 3},    {-2.6, -3},     {1e300, INT64_MAX}, {-1e300, INT64_MIN}};
  for (const auto& c : cases) EXPECT_EQ(c.expected, RoundHalfEven(c.value)) << c.value;
}

TEST(FormatPointsTest, TwoDecimalsWithAComma) {
  EXPECT_EQ("11,11", FormatPoints(1111));
  EXPECT_EQ("0,00", FormatPoints(0));
  EXPECT_EQ("61,72", FormatPoints(6172));
  EXPECT_EQ("-1,05", FormatPoints(-105));
}

}  // namespace
}  // namespace vantrel::competitions
