#include "competitions/cup_ranking.h"

#include <gtest/gtest.h>

#include <functional>

#include "competitions/result_page_builder.h"
#include "core/error.h"
#include "support/error_of.h"
#include "support/temp_folder.h"

namespace vantrel::competitions {
namespace {

namespace fs = std::filesystem;
using testing::ErrorOf;
using testing::Fixture;
using testing::ProgramFolder;
using testing::W;
using testing::WriteFile;

// A result line of one member (player A) and a non-member.
std::string MemberLine(const std::string& name, const std::string& licence,
                       const std::string& index, const std::string& points) {
  return "1;" + name + ";X Y;" + licence + ";" + index + ";;;" + points + ";";
}

class CupRankingTest : public ::testing::Test {
 protected:
  void cupFile(const std::string& lines) {
    WriteFile(club.exerciseFolder() / "Challenge_1.dbp", lines);
  }
  void result(const std::string& name, const std::vector<std::string>& lines) {
    WriteFile(club.exerciseFolder() / name, testing::CrLfBytes(lines));
  }
  CupRanking compute() {
    CupRanking ranking;
    ComputeCupRanking(club.exerciseFolder(), 1, ranking);
    return ranking;
  }
  static std::vector<std::string> Licences(const CupRanking& ranking) {
    std::vector<std::string> licences;
    for (const auto& player : ranking.players) licences.push_back(player.licence);
    return licences;
  }
  static std::vector<std::int64_t> Totals(const CupRanking& ranking) {
    std::vector<std::int64_t> totals;
    for (const auto& player : ranking.players) totals.push_back(player.total);
    return totals;
  }

  ProgramFolder club;
};

TEST_F(CupRankingTest, CoefficientsRoundHalvesToEven) {
  cupFile("1;01/10/2026;T1;P;1;50;t1.chr;\r\n");
  result("t1.chr", {MemberLine("A", "1", "10", "12345"), MemberLine("B", "2", "10", "12355"),
                    MemberLine("C", "3", "10", "12347")});
  const CupRanking ranking = compute();
  EXPECT_EQ((std::vector<std::string>{"2", "3", "1"}), Licences(ranking));
  EXPECT_EQ((std::vector<std::int64_t>{6178, 6174, 6172}), Totals(ranking));
}

TEST_F(CupRankingTest, TournamentsOfOneColumnShowTheLaterAndAddBoth) {
  cupFile(
      "1;01/10/2026;Premier;P;1;100;a.chr;\r\n"
      "2;08/10/2026;Autre colonne;P;2;100;b.chr;\r\n"
      "3;15/10/2026;Second;P;1;100;c.chr;\r\n");
  result("a.chr", {MemberLine("Jean DUPONT", "7", "38", "500")});
  result("b.chr", {MemberLine("Anne MARTIN", "8", "12", "100")});
  result("c.chr", {MemberLine("Jean DUPONT", "7", "36", "300"),
                   MemberLine("Anne MARTIN", "8", "12", "200")});
  const CupRanking ranking = compute();
  EXPECT_EQ((std::vector<std::string>{"Premier", "Autre colonne"}), ranking.titles);
  EXPECT_EQ((std::vector<std::string>{"01/10/2026", "08/10/2026"}), ranking.dates);
  ASSERT_EQ(2u, ranking.players.size());
  const RankingPlayer& dupont = ranking.players[0];
  EXPECT_EQ(800, dupont.total);
  EXPECT_EQ((std::vector<std::optional<std::int64_t>>{300, std::nullopt}), dupont.columns);
  EXPECT_EQ("36", dupont.valueIndex) << "the later tournament's index";
  const std::vector<Contribution> breakdown = {{1, "Premier", "01/10/2026", "a.chr", 500, 100, 500},
                                               {1, "Second", "15/10/2026", "c.chr", 300, 100, 300}};
  EXPECT_EQ(breakdown, dupont.contributions);
  const std::vector<std::string> described = {
      "Jean DUPONT (licence 7, I.V. 36)",
      W("Journée 1 : Premier (01/10/2026), 5,00 points x 100 % = 5,00 (compté dans le total ; "
        "la colonne montre Second)"),
      W("Journée 1 : Second (15/10/2026), 3,00 points x 100 % = 3,00"), "Total : 8,00 points"};
  EXPECT_EQ(described, DescribeTotal(dupont));
  const RankingPlayer& martin = ranking.players[1];
  EXPECT_EQ(300, martin.total);
  EXPECT_EQ((std::vector<std::optional<std::int64_t>>{200, 100}), martin.columns);
}

TEST_F(CupRankingTest, ExchangeSortFixesTheOrderOfEqualTotalsAndRanksShareTheirPlace) {
  cupFile("1;01/10/2026;T;P;1;100;t.chr;\r\n");
  result("t.chr", {MemberLine("P1", "1", "10", "500"), MemberLine("P2", "2", "20", "900"),
                   MemberLine("P3", "3", "30", "500"), MemberLine("P4", "4", "40", "300")});
  const CupRanking ranking = compute();
  EXPECT_EQ((std::vector<std::string>{"2", "3", "1", "4"}), Licences(ranking));
  std::vector<std::string> ranks;
  for (const auto& entry : OpenRankingEntries(ranking)) ranks.push_back(entry.rank);
  EXPECT_EQ((std::vector<std::string>{"1", "2", "2", "4"}), ranks);
}

TEST_F(CupRankingTest, ZeroTotalsAndNonMembersLeaveTheRanking) {
  cupFile(
      "1;01/10/2026;T1;P;1;0;t1.chr;\r\n"
      "2;08/10/2026;T2;P;2;100;t2.chr;\r\n");
  result("t1.chr", {MemberLine("Zero", "1", "10", "900"), MemberLine("Both", "2", "10", "100")});
  result("t2.chr", {MemberLine("Both", "2", "10", "50"), "2;Nobody;X;;;;;700;",
                    "3;NoLicence;Y;;12;;;650;", "4;;Z;5;;;;600;"});
  const CupRanking ranking = compute();
  EXPECT_EQ((std::vector<std::string>{"2"}), Licences(ranking));
  EXPECT_EQ(
      (std::vector<std::string>{"Nombre de Tournoi de la Coupe 1: 2",
                                W("Traitement de la journée 1"), W("Traitement de la journée 2"),
                                "Classement", "Nettoyage des Joueurs hors du Club"}),
      ranking.progress);
  EXPECT_EQ(true, ranking.complete);
}

TEST_F(CupRankingTest, LimitedRankingRenumbersFromOne) {
  cupFile("1;01/10/2026;T;P;1;100;t.chr;\r\n");
  result("t.chr", {MemberLine("Fort", "1", "52", "900"), MemberLine("Moyen", "2", "40", "500"),
                   MemberLine("Autre", "3", "41", "500"), MemberLine("Faible", "4", "12", "500"),
                   MemberLine("Dernier", "5", "8", "100")});
  const CupRanking ranking = compute();
  std::vector<std::string> lines;
  for (const auto& e : LimitedRankingEntries(ranking, 40)) lines.push_back(e.rank + " " + e.name);
  EXPECT_EQ((std::vector<std::string>{"1 Faible", "1 Moyen", "3 Dernier"}), lines);
  lines.clear();
  for (const auto& e : OpenRankingEntries(ranking)) lines.push_back(e.rank + " " + e.name);
  EXPECT_EQ((std::vector<std::string>{"1 Fort", "2 Autre", "2 Faible", "2 Moyen", "5 Dernier"}),
            lines);
}

TEST_F(CupRankingTest, LimitedRankingRefusesAMissingValueIndex) {
  cupFile("1;01/10/2026;T;P;1;100;t.chr;\r\n");
  result("t.chr", {MemberLine("Sans", "1", "", "900")});
  const CupRanking ranking = compute();
  EXPECT_EQ(W("'' n'est pas une valeur entière correcte"),
            ErrorOf([&] { LimitedRankingEntries(ranking, 40); }));
}

TEST_F(CupRankingTest, CupWithoutCountingColumnsStopsAfterItsFirstLine) {
  cupFile("1;01/10/2026;T;P;0;100;t.chr;\r\n2;01/10/2026;U;P;-3;100;;\r\n");
  const CupRanking ranking = compute();
  EXPECT_EQ(std::vector<std::string>{"Nombre de Tournoi de la Coupe 1: 0"}, ranking.progress);
  EXPECT_EQ(0, ranking.columnCount);
  EXPECT_EQ(true, ranking.complete);
}

TEST_F(CupRankingTest, AnUnusedColumnStaysEmptyInTheReport) {
  cupFile(
      "1;01/10/2026;T1;P;1;100;t.chr;\r\n"
      "2;  /  /    ;Sans date;P;2;100;;\r\n"
      "3;05/11/2026;T5;P;5;100;t.chr;\r\n");
  result("t.chr", {MemberLine(W("Noël LÉCUYER"), "00456789", "19", "1234")});
  const CupRanking ranking = compute();
  EXPECT_EQ(5, ranking.columnCount);
  const RankingReport report = MakeRankingReport(ranking, "2026-2027", std::nullopt);
  struct Case {
    std::string name;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"Titre", "Classement Open pour la Coupe 1"},
      {"Saison", "2026-2027"},
      {"ClT01", "T1"},
      {"ClD01", "01/10"},
      {"ClT02", "Sans date"},
      {"ClD02", "  /  "},
      {"ClT03", ""},
      {"ClD03", ""},
      {"Pc03", ""},
      {"ClT05", "T5"},
      {"ClD05", "05/11"},
      {"ClT16", ""},
      {"Pc01", "12,34"},
      {"Pc02", ""},
      {"Pc05", "12,34"},
      {"ClGeCl", "1"},
      {"ClGeNom", W("Noël LÉCUYER")},
      {"ClGeInd", "00456789"},
      {"ClGeIv", "19"},
      {"ClGePc", "24,68"},
      {"ClT17", std::nullopt},
      {"Pc00", std::nullopt},
      {"clgecl", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.expected, RankingReportValue(report, c.name, 0)) << c.name;
  EXPECT_EQ(std::string(), RankingReportValue(report, "ClGeNom", 1));
}

TEST_F(CupRankingTest, FailuresStopWhereTheyStandWithTheirMessages) {
  EXPECT_EQ(W("La coupe 1 n'a pas encore été créée."), ErrorOf([&] { compute(); }));

  cupFile("1;01/10/2026;T1;P;1;100;t1.chr;\r\n2;08/10/2026;T2;P;2;100;absent.chr;\r\n");
  result("t1.chr", {MemberLine("A", "1", "10", "100")});
  CupRanking partial;
  EXPECT_EQ(W("Impossible d'ouvrir le fichier ") + (club.exerciseFolder() / "absent.chr").string(),
            ErrorOf([&] { ComputeCupRanking(club.exerciseFolder(), 1, partial); }));
  EXPECT_EQ(false, partial.complete);
  EXPECT_EQ(1u, partial.players.size()) << "the first column was computed";
  EXPECT_EQ(W("Traitement de la journée 2"), partial.progress.back());

  struct Case {
    std::string cup;
    std::string result;
    std::string message;
  };
  const Case cases[] = {
      {"1;d;T;P;un;100;t.chr;\r\n", MemberLine("A", "1", "10", "100"), "'un'"},
      {"1;d;T;P;1;50%;t.chr;\r\n", MemberLine("A", "1", "10", "100"), "'50%'"},
      {"1;d;T;P;1;100;t.chr;\r\n", MemberLine("A", "1", "10", "1,5"), "'1,5'"},
  };
  // Totals that would overflow: 2^31 - 1 points weighted 2^31 - 1 percent, many times over.
  std::string huge;
  for (int i = 1; i <= 250; ++i) huge += std::to_string(i) + ";d;T;P;1;2147483647;big.chr;\r\n";
  result("big.chr", {MemberLine("A", "1", "10", "2147483647")});
  cupFile(huge);
  EXPECT_EQ(W("'2147483647' n'est pas une valeur entière correcte"), ErrorOf([&] { compute(); }));

  for (const auto& c : cases) {
    cupFile(c.cup);
    result("t.chr", {c.result});
    EXPECT_EQ(W(c.message + " n'est pas une valeur entière correcte"), ErrorOf([&] { compute(); }))
        << c.cup;
  }
}

TEST_F(CupRankingTest, AColumnBeyondSixteenDoesNotCount) {
  cupFile("1;01/10/2026;Loin;P;2000000000;100;t.chr;\r\n2;01/10/2026;T;P;1;100;t.chr;\r\n");
  result("t.chr", {MemberLine("A", "1", "10", "100")});
  const CupRanking ranking = compute();
  EXPECT_EQ(1, ranking.columnCount);
  EXPECT_EQ(W("Tournoi Loin : colonne 2000000000 au-delà de 16, non compté"), ranking.progress[0]);
  EXPECT_EQ((std::vector<std::int64_t>{100}), Totals(ranking));
}

TEST_F(CupRankingTest, TheFixtureCupRanksItsMembers) {
  cupFile(
      W("1;14/10/2026;Open /2 du 14 octobre;P;1;100;open2_table.chr;\r\n"
        "2;28/10/2026;Open /2 du 28 octobre;P;2;50;open2_sans_table.chr;\r\n"));
  WriteFile(club.exerciseFolder() / "open2_table.chr", Fixture("open2_table.chr"));
  WriteFile(club.exerciseFolder() / "open2_sans_table.chr", Fixture("open2_sans_table.chr"));
  const CupRanking ranking = compute();
  std::vector<std::vector<std::string>> expected = {
      {"1", "Jean DUPONT", "00123456", "38", "16,73", "11,11", "5,62"},
      {"2", "Anne MARTIN", "00678901", "12", "14,21", "11,11", "3,10"},
      {"3", W("Benoît DURAND"), "00567890", "33", "11,84", "7,16", "4,68"},
      {"3", W("Bénédicte BERNARD"), "00789012", "45", "11,84", "7,16", "4,68"},
      {"5", "Jean de LA TOUR", "00234567", "25", "8,88", "4,20", "4,68"},
      {"6", W("Jérôme FAURE"), "00345678", "28", "7,77", "3,09", "4,68"},
      {"7", W("Noël LÉCUYER"), "00456789", "19", "6,19", "3,09", "3,10"},
  };
  for (auto& record : expected) record.resize(21);
  EXPECT_EQ(expected, RankingRecords(OpenRankingEntries(ranking)));
}

TEST(RankingTitleTest, OpenAndLimited) {
  EXPECT_EQ("Classement Open pour la Coupe 3", RankingTitle(3, std::nullopt));
  EXPECT_EQ("Classement pour la Coupe 2 des joueurs I.V. <= 40", RankingTitle(2, 40));
}

}  // namespace
}  // namespace vantrel::competitions
