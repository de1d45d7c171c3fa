#include "competitions/tournament_result.h"

#include <gtest/gtest.h>

#include "competitions/result_page_builder.h"
#include "core/error.h"
#include "core/text_helpers.h"
#include "core/transaction.h"
#include "support/error_of.h"
#include "support/temp_folder.h"

namespace vantrel::competitions {
namespace {

namespace fs = std::filesystem;
using testing::ErrorOf;
using testing::Fixture;
using testing::FixturePath;
using testing::MakeResultPage;
using testing::PageRow;
using testing::ProgramFolder;
using testing::ReadFile;
using testing::W;
using testing::WriteFile;

// A member record of the fields the results read: licence, last name, first name, value
// index (Windows-1252).
std::string Member(const std::string& licence, const std::string& last, const std::string& first,
                   const std::string& index) {
  return licence + ";M.;" + last + ";" + first + ";" + index + ";";
}

Lines FixtureMembers() { return SplitLines(Fixture("Joueur.DBP")); }

class TournamentResultsTest : public ::testing::Test {
 protected:
  fs::path page(const std::string& name, const std::string& bytes) {
    const fs::path path = club.path() / name;
    WriteFile(path, bytes);
    return path;
  }

  ProgramFolder club;
  TournamentResults results;
};

TEST_F(TournamentResultsTest, TenPairsWithTheTableNumberColumnGiveTheExpectedResultFile) {
  ASSERT_EQ(PageKind::kResults, results.extractPage(FixturePath("open2_table.htm")).kind);
  results.calculate(FixtureMembers(), kDefaultCoefficient);
  const fs::path out = club.exerciseFolder() / "open2.chr";
  results.save(out);
  EXPECT_EQ(Fixture("open2_table.chr"), ReadFile(out));
  // Members: both players of pairs 1, 3 and 6, player A of pair 5.
  EXPECT_EQ(2 * 1111 + 2 * 716 + 420 + 2 * 309, results.total());
}

TEST_F(TournamentResultsTest, TwelvePairsWithoutTheColumnGiveTheExpectedResultFile) {
  ASSERT_EQ(PageKind::kResults, results.extractPage(FixturePath("open2_sans_table.htm")).kind);
  results.calculate(FixtureMembers(), kDefaultCoefficient);
  const fs::path out = club.exerciseFolder() / "open2b.chr";
  results.save(out);
  EXPECT_EQ(Fixture("open2_sans_table.chr"), ReadFile(out));
}

TEST_F(TournamentResultsTest, NamesAreFoundInBothFormsWithAccentsAndCaseFolded) {
  struct Case {
    std::string pageName;
    std::string member;  // a member file of one line
    std::string expectedLicence;
  };
  const Case cases[] = {
      {"Jean de LA TOUR", Member("00234567", "LA TOUR", "Jean", "25"), "00234567"},
      {"Jean LA TOUR", Member("00234567", "LA TOUR", "Jean", "25"), "00234567"},
      {"Jean DE LA TOUR", Member("00234567", "LA TOUR", "Jean", "25"), "00234567"},
      {"Jean de la Tour", Member("00234567", "LATOUR", "Jean", "25"), "00234567"},
      {"Jérôme FAURE", Member("00345678", "FAURE", W("Jérôme"), "28"), "00345678"},
      {"Jérôme FAURE", Member("00345678", "FAURE", W("JÉRÔME"), "28"), "00345678"},
      {"JÉRÔME FAURE", Member("00345678", "FAURE", W("Jérôme"), "28"), "00345678"},
      {"Jerome FAURE", Member("00345678", "FAURE", W("Jérôme"), "28"), "00345678"},
      {"Noël LÉCUYER", Member("00456789", W("LECUYER"), W("Noël"), "19"), "00456789"},
      {"Noël LÉCUYER", Member("00456789", W("LÉCUYER"), W("NOËL"), "19"), "00456789"},
      {"J&#233;r&ocirc;me FAURE", Member("00345678", "FAURE", W("Jérôme"), "28"), "00345678"},
      {"Jean DUPONT", Member("00234567", "DUPONTE", "Jean", "25"), ""},
      {"FAURE Jérôme", Member("00345678", "FAURE", W("Jérôme"), "28"), ""},
      {"", Member("00999999", "", "", "25"), ""},
  };
  for (const auto& c : cases) {
    const fs::path path = page("page.htm", MakeResultPage({{"1", c.pageName, "X Y"}}, false));
    ASSERT_EQ(PageKind::kResults, results.extractPage(path).kind);
    results.calculate({c.member}, kDefaultCoefficient);
    ASSERT_EQ(1u, results.resultLines().size()) << c.pageName;
    EXPECT_EQ(c.expectedLicence, FieldAt(results.resultLines()[0], result_field::kLicenceA))
        << c.pageName << " / " << c.member;
  }
}

TEST_F(TournamentResultsTest, NamesStayWholeInTheResultFile) {
  const fs::path path = page(
      "page.htm", MakeResultPage({{"1", "Noël LÉCUYER", "Zoé CŒUR"}, {"2", "A B", "C D"}}, true));
  ASSERT_EQ(PageKind::kResults, results.extractPage(path).kind);
  results.calculate({Member("00456789", W("LÉCUYER"), W("Noël"), "19")}, kDefaultCoefficient);
  EXPECT_EQ(W("1;Noël LÉCUYER;Zoé CŒUR;00456789;19;;;222;"), results.resultLines()[0])
      << "a member and a non-member qualify for no series remark";
}

TEST_F(TournamentResultsTest, NonMembersGetPointsButAddNothingToTheTotal) {
  const fs::path path =
      page("page.htm", MakeResultPage({{"1", "A B", "C D"}, {"2", "Jean DUPONT", "E F"}}, false));
  ASSERT_EQ(PageKind::kResults, results.extractPage(path).kind);
  results.calculate({Member("00123456", "DUPONT", "Jean", "38")}, kDefaultCoefficient);
  const Lines expected = {"1;A B;C D;;;;;222;", W("2;Jean DUPONT;E F;00123456;38;;;22;")};
  EXPECT_EQ(expected, results.resultLines());
  results.save(club.exerciseFolder() / "r.chr");
  EXPECT_EQ(22, results.total());
}

TEST_F(TournamentResultsTest, SeriesRemarksGoToTheFirstQualifyingPairs) {
  struct Case {
    std::vector<std::pair<int, int>> indexes;  // value indexes of A and B per pair, 0 for none
    std::vector<std::string> remarks;          // fields 8 and after, per pair
  };
  const std::string two = W("Sans Deuxième série;");
  const std::string three = W("Sans Troisième série;");
  const Case cases[] = {
      {{{25, 28}}, {two + three}},
      {{{35, 38}, {25, 28}}, {two, three}},
      {{{0, 12}, {41, 12}, {40, 1}, {30, 30}}, {"", "", two, three}},
      {{{31, 30}, {0, 0}}, {two, ""}},
      {{{45, 50}, {99, 1}}, {"", ""}},
  };
  for (const auto& c : cases) {
    std::vector<PageRow> rows;
    Lines members;
    for (std::size_t i = 0; i < c.indexes.size(); ++i) {
      const std::string a = "A" + std::to_string(i);
      const std::string b = "B" + std::to_string(i);
      rows.push_back({std::to_string(i + 1), "P " + a, "P " + b});
      const auto [ia, ib] = c.indexes[i];
      if (ia) members.push_back(Member("1" + std::to_string(i), a, "P", std::to_string(ia)));
      if (ib) members.push_back(Member("2" + std::to_string(i), b, "P", std::to_string(ib)));
    }
    ASSERT_EQ(PageKind::kResults,
              results.extractPage(page("p.htm", MakeResultPage(rows, false))).kind);
    results.calculate(members, kDefaultCoefficient);
    std::vector<std::string> remarks;
    for (const auto& line : results.resultLines()) {
      std::size_t position = 0;
      for (int f = 0; f < 8; ++f) position = line.find(';', position) + 1;
      remarks.push_back(line.substr(position));
    }
    EXPECT_EQ(c.remarks, remarks) << c.indexes.size() << " pairs, first " << c.indexes[0].first
                                  << "/" << c.indexes[0].second;
  }
}

TEST_F(TournamentResultsTest, ASinglePairGetsTheWinnersPoints) {
  ASSERT_EQ(PageKind::kResults,
            results.extractPage(page("p.htm", MakeResultPage({{"1", "A B", "C D"}}, true))).kind);
  results.calculate({}, kDefaultCoefficient);
  EXPECT_EQ(Lines{"1;A B;C D;;;;;111;"}, results.resultLines());
}

TEST_F(TournamentResultsTest, CalculatingAgainWithoutPageLinesRecomputesInsteadOfAppending) {
  const fs::path file = club.exerciseFolder() / "old.chr";
  WriteFile(file, W("1;Jean DUPONT;C D;;;;;5;\r\n2;A B;Jérôme FAURE;;;;;3;\r\n"));
  results.open(file);
  const Lines members = {Member("00123456", "DUPONT", "Jean", "38"),
                         Member("00345678", "FAURE", W("Jérôme"), "28")};
  results.calculate(members, "50000");
  const Lines expected = {W("1;Jean DUPONT;C D;00123456;38;;;111;"),
                          W("2;A B;Jérôme FAURE;;;00345678;28;11;")};
  EXPECT_EQ(expected, results.resultLines());
  results.calculate(members, "50000");
  EXPECT_EQ(expected, results.resultLines());
}

TEST_F(TournamentResultsTest, ABadCoefficientOrRankChangesNothing) {
  const fs::path good =
      page("good.htm", MakeResultPage({{"1", "A B", "C D"}, {"2", "E F", "G H"}}, false));
  ASSERT_EQ(PageKind::kResults, results.extractPage(good).kind);
  results.calculate({}, kDefaultCoefficient);
  const Lines before = results.resultLines();

  EXPECT_EQ(W("'12a' n'est pas une valeur entière correcte"),
            ErrorOf([&] { results.calculate({}, "12a"); }));
  EXPECT_EQ(before, results.resultLines());
  EXPECT_EQ(W("'' n'est pas une valeur entière correcte"),
            ErrorOf([&] { results.calculate({}, ""); }));
  EXPECT_EQ(W("'99999999999' n'est pas une valeur entière correcte"),
            ErrorOf([&] { results.calculate({}, "99999999999"); }));

  const fs::path bad =
      page("bad.htm", MakeResultPage({{"1", "A B", "C D"}, {"2er", "E F", "G H"}}, false));
  ASSERT_EQ(PageKind::kResults, results.extractPage(bad).kind);
  EXPECT_EQ(W("'2er' n'est pas une valeur entière correcte"),
            ErrorOf([&] { results.calculate({}, kDefaultCoefficient); }));
  EXPECT_EQ(before, results.resultLines());
}

TEST_F(TournamentResultsTest, APageThatIsNoResultPageLeavesNoPageLines) {
  ASSERT_EQ(PageKind::kResults, results.extractPage(FixturePath("open2_table.htm")).kind);
  EXPECT_EQ(PageKind::kNotResults,
            results.extractPage(page("other.htm", "<html>\r\n<body>x</body>\r\n</html>\r\n")).kind);
  EXPECT_EQ(Lines{}, results.pageLines());
  EXPECT_EQ(W("Impossible d'ouvrir le fichier ") + (club.path() / "none.htm").string(),
            ErrorOf([&] { results.extractPage(club.path() / "none.htm"); }));
}

TEST_F(TournamentResultsTest, ExtractIsWrittenWithCrLfAndReadBack) {
  ASSERT_EQ(PageKind::kResults, results.extractPage(FixturePath("open2_table.htm")).kind);
  const fs::path extract = club.exerciseFolder() / "open2.chi";
  results.writeExtract(extract);
  const Lines written = SplitLines(ReadFile(extract));
  ASSERT_LE(2u, written.size());
  EXPECT_EQ("<!DOCTYPE html>", written[0]);
  EXPECT_EQ("        <div class=\"container-table columns\">", written[1]);
  EXPECT_EQ(LinesToBytes(results.pageLines()), ReadFile(extract));
  TournamentResults again;
  again.openExtract(extract);
  EXPECT_EQ(results.pageLines(), again.pageLines());
  again.calculate(FixtureMembers(), kDefaultCoefficient);
  EXPECT_EQ(SplitLines(Fixture("open2_table.chr")), again.resultLines());
}

std::vector<PageRow> TenPairs() {
  std::vector<PageRow> rows;
  for (int i = 1; i <= 10; ++i) {
    rows.push_back({std::to_string(i), "Jean DUPONT" + std::to_string(i), "Anne MARTIN"});
  }
  rows[4].nameA = "Jean DUPONT";  // a club member
  return rows;
}

// Wherever a page is cut inside its result section (the saved page stopped mid-download, in a
// name, between two pairs, in the end marker), it gives no result line: never a shorter
// tournament with other points. The tournament computed before it is not left to be saved
// in its place either.
TEST_F(TournamentResultsTest, APageCutAtAnyByteOfItsResultSectionGivesNoResult) {
  const Lines members = {Member("00123456", "DUPONT", "Jean", "38")};
  for (const bool tableNumber : {false, true}) {
    const std::string page = MakeResultPage(TenPairs(), tableNumber);
    const std::string start = "        <div class=\"container-table columns\">";
    const std::string end = "        <!-- Simultanee only -->";
    const std::size_t first = page.find(start);
    const std::size_t last = page.find(end) + end.size();  // the end marker complete
    ASSERT_NE(std::string::npos, first);
    const fs::path whole = this->page("whole.htm", page);
    ASSERT_EQ(PageKind::kResults, results.extractPage(whole).kind);
    results.calculate(members, kDefaultCoefficient);
    ASSERT_EQ(10u, results.resultLines().size());

    for (std::size_t offset = first; offset < last; ++offset) {
      const PageExtraction extraction = results.extractPageBytes(page.substr(0, offset));
      if (offset >= first + start.size()) {
        // Once the section has started: refused, and the tournament before it dropped.
        ASSERT_EQ(PageKind::kCut, extraction.kind) << offset;
        ASSERT_EQ(true, extraction.reading.truncated) << offset;
        ASSERT_EQ(Lines{}, results.pageLines()) << offset;
        ASSERT_EQ(Lines{}, results.resultLines()) << offset;
      }
      results.calculate(members, kDefaultCoefficient);
      ASSERT_EQ(Lines{}, results.resultLines()) << offset;
      ASSERT_EQ(0, results.total()) << offset;
    }
    // The same page whole once more.
    ASSERT_EQ(PageKind::kResults, results.extractPageBytes(page.substr(0, last)).kind);
    results.calculate(members, kDefaultCoefficient);
    EXPECT_EQ(10u, results.resultLines().size());
  }
}

// A page extract (".chi") has no end marker: cut anywhere in its table, it never reads as a
// whole table of pairs, and "Calculer" gives nothing.
TEST_F(TournamentResultsTest, AnExtractCutAtAnyByteOfItsTableGivesNoResult) {
  ASSERT_EQ(PageKind::kResults, results.extractPageBytes(MakeResultPage(TenPairs(), true)).kind);
  const fs::path whole = club.exerciseFolder() / "whole.chi";
  results.writeExtract(whole);
  const std::string extract = ReadFile(whole);
  const std::size_t first = extract.find("                <tbody>");
  const std::string closing = "                </tbody>";
  const std::size_t last = extract.find(closing) + closing.size();
  for (std::size_t offset = first; offset < last; ++offset) {
    const PageReading reading = ReadPairs(SplitLines(extract.substr(0, offset)));
    ASSERT_EQ(true, reading.truncated || reading.pairs.empty()) << offset;
  }
  EXPECT_EQ(false, ReadPairs(SplitLines(extract.substr(0, last))).truncated);

  // Cut inside the name of the seventh pair's player B.
  const fs::path cut = club.exerciseFolder() / "cut.chi";
  WriteFile(cut, extract.substr(0, extract.find("Anne MAR", extract.find("Jean DUPONT7"))));
  results.openExtract(cut);
  const PageReading reading = results.calculate({}, kDefaultCoefficient);
  EXPECT_EQ(true, reading.truncated);
  EXPECT_EQ(7u, reading.pairs.size());
  EXPECT_EQ(Lines{}, results.resultLines());
  results.openExtract(whole);
  EXPECT_EQ(false, results.calculate({}, kDefaultCoefficient).truncated);
  EXPECT_EQ(10u, results.resultLines().size());
}

TEST(WhereThePageStopsTest, NamesTheRankWithoutNamesOrTheEndOfTheResults) {
  PageReading reading;
  reading.truncated = true;
  EXPECT_EQ(W("s'arrête avant la fin de ses résultats"), WhereThePageStops(reading));
  reading.truncatedRank = "4";
  EXPECT_EQ(W("s'arrête avant les noms de la paire classée 4"), WhereThePageStops(reading));
}

TEST(PairsAndClubPlayersTest, SingularBelowTwo) {
  const std::pair<Lines, const char*> cases[] = {
      {{}, "0 paire, 0 joueur du club"},
      {{"1;A;B;1;10;;;100;"}, "1 paire, 1 joueur du club"},
      {{"1;A;B;1;10;2;20;100;", "2;A;B;;;;;50;"}, "2 paires, 2 joueurs du club"},
      {{"1;A;B;;;;;100;", "2;A;B;;;;;50;", "3;A;B;;;3;9;5;"}, "3 paires, 1 joueur du club"},
  };
  for (const auto& [lines, expected] : cases) {
    EXPECT_EQ(expected, PairsAndClubPlayers(lines)) << lines.size();
  }
}

TEST(ResultTotalTest, PointsCountOncePerMember) {
  const Lines lines = {"1;A;B;1;10;2;20;100;", "2;A;B;1;10;;;50;", "3;A;B;;;2;20;30;",
                       "4;A;B;;;;;1000;", "5;A;B;1;;2;;;"};
  EXPECT_EQ(200 + 50 + 30, ResultTotal(lines));
  EXPECT_EQ(W("'x' n'est pas une valeur entière correcte"),
            ErrorOf([] { ResultTotal({"1;A;B;1;1;;;x;"}); }));
}

TEST(ResultGridTest, ShowsRankNamesLicencesAndPoints) {
  const std::vector<ResultRow> expected = {
      {"4", "Jean DUPONT", "Anne MARTIN", "0123456", "", "556"}};
  EXPECT_EQ(expected, ResultGrid({"4;Jean DUPONT;Anne MARTIN;0123456;38;;;556;"}));
}

TEST(PrizeListTest, ValuesOfTheTemplate) {
  PrizeList list;
  list.season = "Ardevanne : 2026-2027";
  list.event = PrizeListEvent(std::string(kSavedCaption) + "open2.chr");
  list.total = 5383;
  list.resultLines = {
      W("1;Jean DUPONT;Anne MARTIN;00123456;38;00678901;12;1111;Sans Deuxième série;"),
      "2;Paul ROBERT;Marc PETIT;;;;;901;"};
  struct Case {
    std::string name;
    int record;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"Saison1", 0, "Ardevanne : 2026-2027"},
      {"Epreuve1", 1, " open2.chr"},
      {"Total_Pc", 2, "53,83"},
      {"Classement1", 1, "2"},
      {"Nom1", 0, "Jean DUPONT"},
      {"Nom2", 0, "Anne MARTIN"},
      {"Licence1", 0, "00123456"},
      {"Licence2", 0, "00678901"},
      {"Licence2", 1, ""},
      {"Pc1", 0, "11,11"},
      {"Pc1", 1, "9,01"},
      {"Pc1", 2, ""},
      {"nom1", 0, std::nullopt},
      {"Page", 0, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, PrizeListValue(list, c.name, c.record)) << c.name << " " << c.record;
  }
}

TEST(PrizeListTest, EventIsTheCaptionFromItsThirtySeventhCharacter) {
  EXPECT_EQ("", PrizeListEvent(kResultsCaption));
  EXPECT_EQ(" open2.chr", PrizeListEvent(std::string(kOpenedCaption) + "open2.chr"));
  EXPECT_EQ(" " + std::string(39, 'n'),
            PrizeListEvent(std::string(kSavedCaption) + std::string(60, 'n')));
}

}  // namespace
}  // namespace vantrel::competitions
