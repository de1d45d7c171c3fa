#include "competitions/tournament_mail.h"

#include <gtest/gtest.h>

#include "competitions/registrant_pages.h"
#include "core/cp1252.h"
#include "support/temp_folder.h"

namespace vantrel::competitions {
namespace {

using testing::MemberLine;

constexpr char kHeader[] = "Seance;Date;Jour;Moment;Type;Table;Position;Licence;Nom;";

std::string CsvLine(const std::string& seance, const std::string& date, const std::string& day,
                    const std::string& part, const std::string& licence) {
  return seance + ";" + date + ";" + day + ";" + part + ";" + Utf8ToCp1252("Régularité") + ";1;N;" +
         licence + ";X;";
}

std::vector<std::string> Numbered(int count) {
  std::vector<std::string> addresses;
  for (int i = 1; i <= count; ++i) addresses.push_back("j" + std::to_string(i) + "@x.fr");
  return addresses;
}

TEST(SeanceListTest, AddsEveryNewKeyOnceWithoutRegardToCase) {
  std::vector<std::string> seances;
  AddSeances(seances, {kHeader, CsvLine("S14AM", "14/12/2018", "Vendredi", "AM", "1"),
                       CsvLine("S14AM", "14/12/2018", "Vendredi", "AM", "2"),
                       CsvLine("S15PM", "15/12/2018", "Samedi", "PM", "1"),
                       CsvLine("s14am", "14/12/2018", "Vendredi", "AM", "3")});
  EXPECT_EQ((std::vector<std::string>{"S14AM", "S15PM"}), seances);
  // A second file adds to the list; accented letters compare without case too.
  AddSeances(seances, {kHeader, CsvLine("S15pm", "15/12/2018", "Samedi", "PM", "1"),
                       CsvLine(Utf8ToCp1252("Séance É"), "", "", "", ""),
                       CsvLine(Utf8ToCp1252("SÉANCE é"), "", "", "", "")});
  EXPECT_EQ((std::vector<std::string>{"S14AM", "S15PM", Utf8ToCp1252("Séance É")}), seances);
  // Blank lines left by the spreadsheet are no séance.
  AddSeances(seances, {kHeader, "", ";;;;;;;;", "  ;x;"});
  EXPECT_EQ(3u, seances.size());
  // The header alone adds nothing.
  AddSeances(seances, {CsvLine("S99", "", "", "", "")});
  EXPECT_EQ(3u, seances.size());
}

TEST(SelectSeanceTest, WritesToAMemberOncePerLineAndShowsTheLastLine) {
  const Lines members = {MemberLine("00123456", "M.", "DUPONT", "Jean", "jean@x.fr"),
                         MemberLine("00234567", "Mme", "MARTIN", "Anne", "anne@x.fr"),
                         MemberLine("00345678", "M.", "DURAND", "Paul", "")};
  const Lines csv = {kHeader,
                     CsvLine("S1", "14/12/2018", "Vendredi", "Apres-Midi", "00123456"),
                     CsvLine("S1", "14/12/2018", "Vendredi", "Apres-Midi", "00234567"),
                     CsvLine("S2", "15/12/2018", "Samedi", "Soir", "00234567"),
                     CsvLine("S1", "14/12/2018", "Vendredi", "Apres-Midi", "00123456"),
                     CsvLine("S1", "14/12/2018", "Vendredi", "Apres-Midi", "00345678"),
                     CsvLine("S1", "21/12/2018", "Vendredi", "Soir", "00123456"),
                     CsvLine("S1", "21/12/2018", "Vendredi", "Soir", "99999999")};
  const SeanceSelection selection = SelectSeance(csv, "S1", members);
  EXPECT_EQ((std::vector<std::string>{"jean@x.fr", "anne@x.fr", "jean@x.fr", "jean@x.fr"}),
            selection.addresses);
  const std::array<std::string, 4> display = {"21/12/2018", "Vendredi", "Soir",
                                              Utf8ToCp1252("Régularité")};
  EXPECT_EQ(display, selection.display);
}

TEST(SelectSeanceTest, CasesOfKeysLicencesAndMemberFiles) {
  struct Case {
    const char* name;
    Lines csv;
    std::string seance;
    Lines members;
    std::vector<std::string> addresses;
    bool found;
  };
  const Lines two = {MemberLine("00123456", "M.", "DUPONT", "Jean", "jean@x.fr"),
                     MemberLine("", "M.", "SANSLICENCE", "Luc", "luc@x.fr")};
  const Case cases[] = {
      {"key written differently",
       {kHeader, CsvLine("s1", "", "", "", "00123456")},
       "S1",
       two,
       {},
       false},
      {"key written the same",
       {kHeader, CsvLine("S1", "", "", "", "00123456")},
       "S1",
       two,
       {"jean@x.fr"},
       true},
      {"a one-line member file",
       {kHeader, CsvLine("S1", "", "", "", "00123456")},
       "S1",
       {two[0]},
       {},
       true},
      {"leading zeros dropped by the spreadsheet",
       {kHeader, CsvLine("S1", "", "", "", "123456")},
       "S1",
       two,
       {"jean@x.fr"},
       true},
      {"licence with blanks around",
       {kHeader, CsvLine("S1", "", "", "", " 00123456 ")},
       "S1",
       two,
       {"jean@x.fr"},
       true},
      {"an empty licence matches nobody",
       {kHeader, CsvLine("S1", "", "", "", "")},
       "S1",
       two,
       {},
       true},
      {"another number", {kHeader, CsvLine("S1", "", "", "", "1234567")}, "S1", two, {}, true},
      // The card writes "00000000" for a member saved without a licence: a zero licence on
      // either side is nobody's, not every such member's.
      {"a licence 0 matches no card without licence",
       {kHeader, CsvLine("S1", "", "", "", "0"), CsvLine("S1", "", "", "", "00000000")},
       "S1",
       {two[0], MemberLine("00000000", "M.", "NOUVEAU", "Paul", "paul@x.fr"),
        MemberLine("00000000", "Mme", "NOUVELLE", "Eve", "eve@x.fr")},
       {},
       true},
      {"an empty licence in the file matches no licence 0",
       {kHeader, CsvLine("S1", "", "", "", " ")},
       "S1",
       {two[0], MemberLine("0", "M.", "ZERO", "Paul", "paul@x.fr")},
       {},
       true},
      {"only the header", {kHeader}, "S1", two, {}, false},
      {"the header is no player", {CsvLine("S1", "", "", "", "00123456")}, "S1", two, {}, false},
  };
  for (const Case& c : cases) {
    const SeanceSelection selection = SelectSeance(c.csv, c.seance, c.members);
    EXPECT_EQ(c.addresses, selection.addresses) << c.name;
    EXPECT_EQ(c.found, selection.display.has_value()) << c.name;
  }
}

TEST(AddressGroupsTest, FirstMessageHoldsFortyNineThenFiftyEachAndNoAddressIsLost) {
  struct Case {
    int count;
    std::vector<std::size_t> sizes;
  };
  const Case cases[] = {
      {0, {}},
      {1, {1}},
      {49, {49}},
      {50, {49, 1}},
      {99, {49, 50}},
      {100, {49, 50, 1}},
      {199, {49, 50, 50, 50}},
      {200, {49, 50, 50, 50, 1}},
      {230, {49, 50, 50, 50, 31}},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> addresses = Numbered(c.count);
    const auto groups = AddressGroups(addresses);
    std::vector<std::size_t> sizes;
    std::vector<std::string> all;
    for (const auto& group : groups) {
      sizes.push_back(group.size());
      all.insert(all.end(), group.begin(), group.end());
    }
    EXPECT_EQ(c.sizes, sizes) << c.count;
    EXPECT_EQ(addresses, all) << c.count;
  }
}

TEST(AddressGroupsTest, OneLinkPerMessage) {
  const auto links = TournamentMailLinks(Numbered(51));
  ASSERT_EQ(2u, links.size());
  EXPECT_EQ("mailto:j50@x.fr;j51@x.fr ?", links[1]);
  EXPECT_EQ(0u, links[0].find("mailto:j1@x.fr;j2@x.fr;"));
  EXPECT_EQ(std::string::npos, links[0].find("j50@"));
  EXPECT_EQ(std::vector<std::string>{}, TournamentMailLinks({}));
}

class TournamentCsvTest : public ::testing::Test {
 protected:
  testing::TempFolder m_folder;
};

TEST_F(TournamentCsvTest, ReadsWindows1252AndUtf8Files) {
  const auto path = m_folder.path() / "challenge.csv";
  testing::WriteFile(path, "h\r\nS1;14/12/2018;Vendredi;Apr\xE8s-Midi;R\xE9gularit\xE9\r\n");
  EXPECT_EQ(Utf8ToCp1252("S1;14/12/2018;Vendredi;Après-Midi;Régularité"),
            ReadTournamentCsv(path)[1]);
  testing::WriteFile(
      path, "\xEF\xBB\xBFh\nS1;14/12/2018;Vendredi;Apr\xC3\xA8s-Midi;R\xC3\xA9gularit\xC3\xA9");
  EXPECT_EQ(Utf8ToCp1252("S1;14/12/2018;Vendredi;Après-Midi;Régularité"),
            ReadTournamentCsv(path)[1]);
}

}  // namespace
}  // namespace vantrel::competitions
