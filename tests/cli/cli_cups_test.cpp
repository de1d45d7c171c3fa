// vantrel-cli results, print classement and print dotation over the fixture pages, run as
// the program itself in a temporary program folder.

#include <gtest/gtest.h>

#include <filesystem>

#include "competitions/result_page_builder.h"
#include "support/command_run.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using testing::Fixture;
using testing::FixturePath;
using testing::ProgramFolder;
using testing::ReadFile;
using testing::TruncatedPage;
using testing::W;
using testing::WriteFile;

std::string Quote(const fs::path& path) { return testing::ShellQuoted(path.string()); }

class CliCupsTest : public ::testing::Test {
 protected:
  CliCupsTest() {
    WriteFile(club.exerciseFolder() / "Joueur.DBP", Fixture("Joueur.DBP"));
    for (const char* name : {"Classem_General.frf", "Dotation_paires.frf"}) {
      fs::copy_file(fs::path(VANTREL_TEMPLATES_DIR) / name, club.path() / name);
    }
  }

  // Runs vantrel-cli on the club with args (quoted by the caller); returns the exit status.
  int run(const std::string& args) {
    const fs::path err = club.path() / "stderr.txt";
    const fs::path runtime = club.path() / "run";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    const std::string command = "QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=" + Quote(runtime) +
                                " " + VANTREL_CLI + " --dossier " + Quote(club.path()) + " " +
                                args + " 2>" + Quote(err);
    const auto ran = testing::RunCommand(command);
    output = ran ? ran->output : std::string();
    errors = ReadFile(err);
    return ran ? ran->status : -1;
  }

  fs::path inExercise(const std::string& name) const { return club.exerciseFolder() / name; }

  void makeCup() {
    ASSERT_EQ(0, run("results " + Quote(FixturePath("open2_table.htm")) + " " +
                     Quote(inExercise("open2_table.chr"))));
    ASSERT_EQ(0, run("results " + Quote(FixturePath("open2_sans_table.htm")) + " " +
                     Quote(inExercise("open2_sans_table.chr"))));
    WriteFile(inExercise("Challenge_1.dbp"),
              "1;14/10/2026;Open /2 du 14 octobre;P;1;100;open2_table.chr;\r\n"
              "2;28/10/2026;Open /2 du 28 octobre;P;2;50;open2_sans_table.chr;\r\n");
  }

  ProgramFolder club;
  std::string output;
  std::string errors;
};

TEST_F(CliCupsTest, ResultsGiveTheResultFilesOfTheDomainTests) {
  for (const char* name : {"open2_table", "open2_sans_table"}) {
    const fs::path out = inExercise(std::string(name) + ".chr");
    EXPECT_EQ(0, run("results " + Quote(FixturePath(std::string(name) + ".htm")) + " " +
                     Quote(out) + " --k 100000"))
        << errors;
    EXPECT_EQ(Fixture(std::string(name) + ".chr"), ReadFile(out)) << name;
  }
  EXPECT_EQ("12 paires, 7 joueurs du club, 61,11 points\n", output);
}

TEST_F(CliCupsTest, APageThatIsNoResultPageFailsAndWritesNothing) {
  const fs::path other = club.path() / "autre.htm";
  WriteFile(other, "<html>\r\n<body><h1>Open /2 </h1></body>\r\n</html>\r\n");
  const fs::path out = inExercise("x.chr");
  EXPECT_EQ(1, run("results " + Quote(other) + " " + Quote(out)));
  EXPECT_EQ("Le fichier " + other.string() + " n'est pas une page de résultats d'un tournoi.\n",
            errors);
  EXPECT_EQ(false, fs::exists(out));
}

TEST_F(CliCupsTest, FailuresLeaveAnExistingResultFileAsItWas) {
  const fs::path out = inExercise("garde.chr");
  WriteFile(out, "ancien\r\n");
  const fs::path page = club.path() / "tronquee.htm";
  WriteFile(page, TruncatedPage(Fixture("open2_table.htm"), 120));
  EXPECT_EQ(1, run("results " + Quote(page) + " " + Quote(out)));
  EXPECT_EQ("La page " + page.string() +
                " s'arrête avant les noms de la paire classée 4 : elle est incomplète, aucun "
                "fichier n'est écrit.\n",
            errors);
  EXPECT_EQ(
      1, run("results " + Quote(FixturePath("open2_table.htm")) + " " + Quote(out) + " --k cent"));
  EXPECT_EQ("'cent' n'est pas une valeur entière correcte\n", errors);
  EXPECT_EQ(1, run("results " + Quote(club.path() / "absente.htm") + " " + Quote(out)));
  fs::remove(inExercise("Joueur.DBP"));
  EXPECT_EQ(1, run("results " + Quote(FixturePath("open2_table.htm")) + " " + Quote(out)));
  EXPECT_EQ("ancien\r\n", ReadFile(out));
  EXPECT_EQ(2, run("results " + Quote(FixturePath("open2_table.htm"))));
  EXPECT_EQ(2, run("results a b --coef 3"));
}

// The fixture page cut where a saved page may stop: inside a name, between two pairs, after
// the table but before the section's end marker, inside that marker. Each is refused.
TEST_F(CliCupsTest, APageCutInsideItsResultSectionFailsAndWritesNothing) {
  const std::string page = Fixture("open2_table.htm");
  const std::string marker = "        <!-- Simultanee only -->";
  const std::size_t inName = page.find("No\xC3\xABl L") + 5;
  const std::size_t betweenPairs = page.find("                    <tr", inName);
  const std::size_t afterTable = page.find("</tbody>") + 10;
  const std::size_t inMarker = page.find(marker) + 20;
  const fs::path out = inExercise("coupee.chr");
  for (const std::size_t offset : {inName, betweenPairs, afterTable, inMarker}) {
    const fs::path cut = club.path() / ("coupee-" + std::to_string(offset) + ".htm");
    WriteFile(cut, page.substr(0, offset));
    EXPECT_EQ(1, run("results " + Quote(cut) + " " + Quote(out))) << offset;
    EXPECT_EQ("La page " + cut.string() +
                  " s'arrête avant la fin de ses résultats : elle est incomplète, aucun fichier "
                  "n'est écrit.\n",
              errors)
        << offset;
    EXPECT_EQ("", output) << offset;
    EXPECT_EQ(false, fs::exists(out)) << offset;
  }
  // The whole page still gives its file.
  WriteFile(club.path() / "entiere.htm", page.substr(0, page.find(marker) + marker.size()));
  EXPECT_EQ(0, run("results " + Quote(club.path() / "entiere.htm") + " " + Quote(out))) << errors;
  EXPECT_EQ(Fixture("open2_table.chr"), ReadFile(out));
  EXPECT_EQ("10 paires, 7 joueurs du club, 46,92 points\n", output);
}

TEST_F(CliCupsTest, OnePairAndOneClubPlayerAreWrittenInTheSingular) {
  const fs::path page = club.path() / "une.htm";
  WriteFile(page, testing::MakeResultPage({{"1", "Jean DUPONT", "Paul ROBERT"}}, false));
  EXPECT_EQ(0, run("results " + Quote(page) + " " + Quote(inExercise("une.chr")))) << errors;
  EXPECT_EQ("1 paire, 1 joueur du club, 1,11 points\n", output);
}

TEST_F(CliCupsTest, PrintClassementGivesTheRankingOfTheResultFiles) {
  makeCup();
  const fs::path csv = club.path() / "classement.csv";
  ASSERT_EQ(0, run("print classement 1 " + Quote(csv))) << errors;
  const std::string empty14 = ";;;;;;;;;;;;;;";
  EXPECT_EQ(W("1;Jean DUPONT;00123456;38;16,73;11,11;5,62;" + empty14 + "\r\n" +
              "2;Anne MARTIN;00678901;12;14,21;11,11;3,10;" + empty14 + "\r\n" +
              "3;Benoît DURAND;00567890;33;11,84;7,16;4,68;" + empty14 + "\r\n" +
              "3;Bénédicte BERNARD;00789012;45;11,84;7,16;4,68;" + empty14 + "\r\n" +
              "5;Jean de LA TOUR;00234567;25;8,88;4,20;4,68;" + empty14 + "\r\n" +
              "6;Jérôme FAURE;00345678;28;7,77;3,09;4,68;" + empty14 + "\r\n" +
              "7;Noël LÉCUYER;00456789;19;6,19;3,09;3,10;" + empty14 + "\r\n"),
            ReadFile(csv));

  ASSERT_EQ(0, run("print classement 1 --limite 30 " + Quote(csv))) << errors;
  EXPECT_EQ(W("1;Anne MARTIN;00678901;12;14,21;11,11;3,10;" + empty14 + "\r\n" +
              "2;Jean de LA TOUR;00234567;25;8,88;4,20;4,68;" + empty14 + "\r\n" +
              "3;Jérôme FAURE;00345678;28;7,77;3,09;4,68;" + empty14 + "\r\n" +
              "4;Noël LÉCUYER;00456789;19;6,19;3,09;3,10;" + empty14 + "\r\n"),
            ReadFile(csv));

  const fs::path pdf = club.path() / "classement.pdf";
  ASSERT_EQ(0, run("print classement 1 " + Quote(pdf))) << errors;
  EXPECT_EQ("%PDF", ReadFile(pdf).substr(0, 4));
}

TEST_F(CliCupsTest, PrintClassementRefusesBadArgumentsAndMissingFiles) {
  EXPECT_EQ(2, run("print classement 5 " + Quote(club.path() / "c.csv")));
  EXPECT_EQ(2, run("print classement 1 --limite 10 " + Quote(club.path() / "c.csv")));
  EXPECT_EQ(2, run("print classement 1 " + Quote(club.path() / "c.txt")));
  EXPECT_EQ(1, run("print classement 2 " + Quote(club.path() / "c.csv")));
  EXPECT_EQ("La coupe 2 n'a pas encore été créée.\n", errors);
  EXPECT_EQ(false, fs::exists(club.path() / "c.csv"));
}

TEST_F(CliCupsTest, PrintDotationGivesThePrizeList) {
  makeCup();
  const fs::path csv = club.path() / "dotation.csv";
  ASSERT_EQ(0, run("print dotation " + Quote(inExercise("open2_table.chr")) + " " + Quote(csv)))
      << errors;
  const std::string text = ReadFile(csv);
  EXPECT_EQ(W("1;Jean DUPONT;Anne MARTIN;00123456;00678901;11,11;\r\n"
              "2;Paul ROBERT;Marc PETIT;;;9,01;\r\n"),
            text.substr(0, text.find("3;")));
  const fs::path pdf = club.path() / "dotation.pdf";
  ASSERT_EQ(0, run("print dotation " + Quote(inExercise("open2_table.chr")) + " " + Quote(pdf)))
      << errors;
  EXPECT_EQ("%PDF", ReadFile(pdf).substr(0, 4));
}

}  // namespace
}  // namespace vantrel
