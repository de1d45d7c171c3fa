#include "accounting/season.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/text_helpers.h"
#include "members/member_file.h"
#include "support/temp_folder.h"

namespace vantrel::accounting {
namespace {

namespace fs = std::filesystem;
using members::AccountLine;
using members::MemberRecord;
using testing::CrLfBytes;
using testing::ReadFile;
using testing::WriteFile;

const Lines kChart = {"5120;Banque;Bilan;V;2026-2027;", "5300;Caisse;Bilan;V;2026-2027;",
                      "7560;Cotisations;R\xe9sultat;C;2026-2027;",
                      "7561;Licences;R\xe9sultat;C;2026-2027;",
                      "7562;Jeunes;R\xe9sultat;Cx;2026-2027;"};

TEST(MemberListsTest, FollowTheChartAndKeepAmountsPerAccount) {
  const MemberLists lists = BuildMemberLists(kChart, {"7560;Ancien nom;5000;", "7560;Double;1;"});
  EXPECT_EQ((Lines{"7560;Cotisations;5000", "7561;Licences;0"}), lists.dues);
  EXPECT_EQ((Lines{"5120;Banque;", "5300;Caisse;"}), lists.payments);
}

class SeasonTest : public ::testing::Test {
 protected:
  fs::path folder() const { return m_program.exerciseFolder(); }
  void write(const std::string& name, const Lines& lines) {
    WriteFile(folder() / name, CrLfBytes(lines));
  }

  testing::ProgramFolder m_program;
};

TEST_F(SeasonTest, ListsAreRebuiltAfterALinkChange) {
  write("Plan_Comptable.dbp", kChart);
  write("Recette_Joueur.DBP", {"7560;Cotisations;5000"});
  MemberLists lists = RebuildMemberLists(folder());
  EXPECT_EQ((Lines{"7560;Cotisations;5000", "7561;Licences;0"}), lists.dues);
  EXPECT_EQ("7560;Cotisations;5000\r\n7561;Licences;0\r\n",
            ReadFile(folder() / "Recette_Joueur.DBP"));
  EXPECT_EQ("5120;Banque;\r\n5300;Caisse;\r\n", ReadFile(folder() / "Versement_Joueur.DBP"));

  Lines relinked = kChart;
  relinked[3] = "7561;Licences;R\xe9sultat;N;2026-2027;";
  relinked[1] = "5300;Caisse;Bilan;C;2026-2027;";
  write("Plan_Comptable.dbp", relinked);
  lists = RebuildMemberLists(folder());
  EXPECT_EQ((Lines{"5300;Caisse;0", "7560;Cotisations;5000"}), lists.dues);
  EXPECT_EQ((Lines{"5120;Banque;"}), lists.payments);
}

TEST_F(SeasonTest, RebuildNeedsTheChartAndTheDuesList) {
  write("Plan_Comptable.dbp", kChart);
  EXPECT_THROW(RebuildMemberLists(folder()), Error);
  EXPECT_FALSE(fs::exists(folder() / "Versement_Joueur.DBP"));
}

TEST_F(SeasonTest, DuesAmountChangesUnlessMinusOne) {
  Lines dues = {"7560;Cotisations;5000", "7561;Licences;0"};
  write("Recette_Joueur.DBP", dues);
  EXPECT_TRUE(SetDuesAmount(folder(), dues, 2, "3200"));
  EXPECT_EQ((Lines{"7560;Cotisations;5000", "7561;Licences;3200;"}), dues);
  EXPECT_EQ("7560;Cotisations;5000\r\n7561;Licences;3200;\r\n",
            ReadFile(folder() / "Recette_Joueur.DBP"));
  EXPECT_FALSE(SetDuesAmount(folder(), dues, 1, "-1"));
  EXPECT_THROW(SetDuesAmount(folder(), dues, 1, "50,00"), Error);
  EXPECT_EQ((Lines{"7560;Cotisations;5000", "7561;Licences;3200;"}), dues);
}

TEST_F(SeasonTest, SettingsAreStoredInOneRewrite) {
  Settings settings = m_program.settings();
  settings.entity = "Bridge Club de No\xebl";
  settings.shortName = "BCN";
  settings.exercise = "2027-2028";
  StoreSettings(settings);
  const Settings read = LoadSettings(m_program.path());
  EXPECT_EQ("Bridge Club de No\xebl", read.entity);
  EXPECT_EQ("BCN", read.shortName);
  EXPECT_EQ("2027-2028", read.exercise);
}

TEST_F(SeasonTest, NewExerciseHasTheFourFilesAndNoJournal) {
  write("Joueur.DBP", {"00123456;M.;DUPONT;Jean;"});
  write("Plan_Comptable.dbp", kChart);
  write("Recette_Joueur.DBP", {"7560;Cotisations;5000"});
  write("Versement_Joueur.DBP", {"5120;Banque;"});
  write("Journal.dbp", {"01/09/2026;x;"});
  write("7560.dbp", {"1;01/09/2026;x;;100;;100;-100;"});
  const fs::path created = m_program.path() / "2027-2028";
  CreateExercise(folder(), created);
  std::vector<std::string> names;
  for (const auto& item : fs::directory_iterator(created)) {
    names.push_back(item.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ((std::vector<std::string>{"Joueur.DBP", "Plan_Comptable.dbp", "Recette_Joueur.DBP",
                                      "Versement_Joueur.DBP"}),
            names);
  EXPECT_EQ(ReadFile(folder() / "Joueur.DBP"), ReadFile(created / "Joueur.DBP"));
  EXPECT_EQ(ReadFile(folder() / "Plan_Comptable.dbp"), ReadFile(created / "Plan_Comptable.dbp"));
  EXPECT_TRUE(HoldsChart(created));
}

TEST_F(SeasonTest, NewExerciseWithAMissingFileMakesNoFolder) {
  write("Joueur.DBP", {"00123456;M.;DUPONT;Jean;"});
  write("Plan_Comptable.dbp", kChart);
  write("Versement_Joueur.DBP", {"5120;Banque;"});
  const fs::path created = m_program.path() / "2027-2028";
  try {
    CreateExercise(folder(), created);
    FAIL() << "created";
  } catch (const Error& error) {
    EXPECT_EQ("Impossible d'ouvrir le fichier " + (folder() / "Recette_Joueur.DBP").string(),
              error.what());
  }
  EXPECT_FALSE(fs::exists(created));
}

TEST_F(SeasonTest, ExerciseNameOfAChosenFolder) {
  EXPECT_EQ("2027-2028", ExerciseNameOf(m_program.path() / "2027-2028", m_program.path()));
  // Folders below keep the system's own separator ("Anciens\2020-2021" on Windows).
  const std::string separator(1, static_cast<char>(fs::path::preferred_separator));
  EXPECT_EQ("Anciens" + separator + "2020-2021",
            ExerciseNameOf(m_program.path() / "Anciens" / "2020-2021", m_program.path()));
  EXPECT_EQ("", ExerciseNameOf(m_program.path(), m_program.path()));
  // Outside the program folder: the whole path, which the settings' exercise folder keeps.
  const fs::path outside = m_program.path().parent_path() / "Ailleurs" / "2019-2020";
  EXPECT_EQ(outside.string(), ExerciseNameOf(outside, m_program.path()));
  Settings settings = m_program.settings();
  settings.exercise = ExerciseNameOf(outside, m_program.path());
  EXPECT_EQ(outside, settings.exerciseFolder());
}

// A member line with dues and payment lines, a balance and field 69.
std::string Member(const std::vector<AccountLine>& dues, const std::vector<AccountLine>& payments,
                   const std::string& balance, const std::string& mail) {
  MemberRecord record;
  record.set(members::field::kLicence, "00123456");
  record.set(members::field::kLastName,
             "L\xc9"
             "CUYER");
  record.set(members::field::kLastDuesPosting, "12/09/2026");
  record.set(members::field::kSpare, "libre");
  for (int i = 0; i < members::kDuesLineCount; ++i) {
    record.setDuesLine(i, i < static_cast<int>(dues.size()) ? dues[i] : AccountLine{});
  }
  for (int i = 0; i < members::kPaymentLineCount; ++i) {
    record.setPaymentLine(i, i < static_cast<int>(payments.size()) ? payments[i] : AccountLine{});
  }
  record.set(members::field::kBalance, balance);
  record.set(members::field::kMailConvocations, mail);
  return record.ToLine();
}

TEST(ResetDuesTest, OwesTheCurrentAmountsOfLastSeasonsDues) {
  const Lines duesList = {"7560;Cotisations des membres;5000", "7561;Licences;3200;"};
  struct Case {
    std::string name;
    std::string member;
    std::string want;
  };
  const Case cases[] = {
      {"the example",
       Member({{"7560", "Cotisations", "4000", "V"}}, {{"5120", "Banque", "4000", "V"}}, "0",
              "NON"),
       Member({{"7560", "Cotisations des membres", "5000", "F"}}, {}, "-5000", "NON")},
      {"zero and empty amounts",
       Member({{"7560", "Cotisations", "0", "V"}, {"7561", "Licences", "", "F"}}, {}, "-12", "OUI"),
       Member({}, {}, "", "OUI")},
      {"two dues, one unknown account",
       Member({{"7561", "L", "100", "V"}, {"6110", "X", "500", "V"}, {"7560", "C", "1", "F"}}, {},
              "", ""),
       Member({{"7561", "Licences", "3200", "F"},
               {},
               {"7560", "Cotisations des membres", "5000", "F"}},
              {}, "-8200", "")},
      {"a dues account among the payments", Member({}, {{"7560", "C", "4000", "V"}}, "4000", "NON"),
       Member({}, {{"7560", "Cotisations des membres", "5000", "F"}}, "-5000", "NON")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Lines{c.want}, ResetDues({c.member}, duesList));
  }
}

TEST(ResetDuesTest, LeavesEverythingAfterFieldSixtyEightAsItIs) {
  const Lines duesList = {"7560;Cotisations;5000"};
  std::string member = Member({{"7560", "C", "4000", "V"}}, {}, "0", "NON");
  // A record written by "Ajouter" has no field 69 at all; another has more than seventy.
  const std::string noField69 = member.substr(0, member.size() - 4);
  const std::string extra = member + "tail;more";
  const Lines reset = ResetDues({member, noField69, extra}, duesList);
  EXPECT_EQ("NON", ExtractField(reset[0], 69));
  EXPECT_EQ(reset[0].substr(0, reset[0].size() - 4), reset[1]);
  EXPECT_TRUE(reset[1].ends_with(";-5000;"));
  EXPECT_EQ("OUI", ExtractField(reset[1], 69));
  EXPECT_TRUE(reset[2].ends_with(";-5000;NON;tail;more"));
  EXPECT_EQ(member.substr(0, member.find("7560")), reset[0].substr(0, reset[0].find("7560")));
}

TEST_F(SeasonTest, ResetWritesTheMemberFileWhole) {
  write("Joueur.DBP", {Member({{"7560", "Cotisations", "4000", "V"}}, {}, "0", "NON")});
  EXPECT_TRUE(ResetMemberDues(folder(), {"7560;Cotisations;5000"}));
  EXPECT_EQ(CrLfBytes({Member({{"7560", "Cotisations", "5000", "F"}}, {}, "-5000", "NON")}),
            ReadFile(folder() / "Joueur.DBP"));
  write("Joueur.DBP", {});
  EXPECT_FALSE(ResetMemberDues(folder(), {"7560;Cotisations;5000"}));
}

}  // namespace
}  // namespace vantrel::accounting
