#include "competitions/convocation.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "competitions/registrant_pages.h"
#include "core/cp1252.h"

namespace vantrel::competitions {

void PrintTo(const ConvocationEntry& entry, std::ostream* out) {
  *out << "{" << ::testing::PrintToString(entry.rank) << ", "
       << ::testing::PrintToString(entry.club) << ", " << ::testing::PrintToString(entry.index)
       << ", " << ::testing::PrintToString(entry.players) << "}";
}

void PrintTo(const PlayerHalves& halves, std::ostream* out) {
  *out << "{" << ::testing::PrintToString(halves.first) << ", "
       << ::testing::PrintToString(halves.second) << "}";
}

namespace {

using testing::MemberLine;
using testing::PageEntry;
using testing::PageOptions;
using testing::PagePlayer;
using testing::RegistrantPageLines;
using testing::SampleMembers;
using testing::SamplePairs;
using testing::SampleTeams;

// The registrant lines that extraction keeps from a built page.
Lines Registrants(ListKind kind, ConvocationMode mode, const std::vector<PageEntry>& entries,
                  const PageOptions& options = {}) {
  return ExtractRegistrants(RegistrantPageLines(kind, mode, entries, options), kind);
}

ConvocationScan Scan(ListKind kind, ConvocationMode mode, const std::vector<PageEntry>& entries,
                     const Lines& members, bool membersOnly = false,
                     const PageOptions& options = {}) {
  return ScanRegistrants(Registrants(kind, mode, entries, options), kind, {mode, membersOnly},
                         members);
}

std::vector<std::string> Ranks(const ConvocationScan& scan) {
  std::vector<std::string> ranks;
  for (const auto& entry : scan.entries) ranks.push_back(entry.rank);
  return ranks;
}

// Teams named "E1", "E2", ... of four players from elsewhere, index 100 + n.
std::vector<PageEntry> NumberedTeams(int count) {
  std::vector<PageEntry> teams;
  for (int n = 1; n <= count; ++n) {
    const std::string s = std::to_string(n);
    teams.push_back({"E" + s,
                     "CLUB " + s,
                     {{"M.", "Albert A" + s, 20},
                      {"M.", "Bernard B" + s, 21},
                      {"Mme", "Carole C" + s, 22},
                      {"Mme", "Denise D" + s, 23}},
                     100 + n});
  }
  return teams;
}

TEST(LineReductionTest, ReducesLinesAsTheScanReadsThem) {
  struct Case {
    std::string line;
    std::string number;
    std::string tag;
    std::string squeezed;
    std::string name;
  };
  const Case cases[] = {
      {"            12. DUPONT", "12", "", "12. DUPONT", ""},
      {"  1 2 . Equipe A.B", "1 2 ", "", "12. Equipe A.B", ""},
      {"<td class=\"a\">Jean <b>DUPONT</b></td>", "<td class=\"a\">Jean <b>DUPONT</b></td>",
       "Jean DUPONT", "<tdclass=\"a\">Jean<b>DUPONT</b></td>", ""},
      {"      M. Jean DUPONT 12", "M", "", "M. Jean DUPONT 12", "Jean DUPONT 12"},
      {"      Mme Anne MARTIN 8", "Mme Anne MARTIN 8", "", "MmeAnneMARTIN8", "Anne MARTIN 8"},
      {"<br class=\"x\">Mme Anne", "<br class=\"x\">Mme Anne", "Mme Anne", "<brclass=\"x\">MmeAnne",
       "Anne"},
      {"text>after", "text>after", "after", "text>after", ""},
      {"M.DUPONT", "M", "", "M.DUPONT", ""},
      {"</div>", "</div>", "", "</div>", ""},
      {"   ", "", "", "", ""},
      {"", "", "", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.number, NumberPart(c.line)) << c.line;
    EXPECT_EQ(c.tag, TagText(c.line)) << c.line;
    EXPECT_EQ(c.squeezed, SqueezedLabel(c.line)) << c.line;
    EXPECT_EQ(c.name, NameAfterCivility(c.line)) << c.line;
  }
}

TEST(ScanRegistrantsTest, ReadsEveryTeamOfAGroupWithItsValues) {
  const ConvocationScan scan =
      Scan(ListKind::kGroup, ConvocationMode::kTeams, SampleTeams(), SampleMembers());
  const std::vector<ConvocationEntry> expected = {
      {"1. DUPONT", "BRIDGE CLUB ARDEVANNE", "96",
       Utf8ToCp1252("Jean DUPONT 24Anne MARTIN 31Paul DURAND 19Léa PETIT 22")},
      {"2. ROUSSEL", "BC DE LA VALLEE", "140",
       "Luc ROUSSEL 35Marc BLANC 28Sophie ROUX 26Henri FAURE 30Odile MOREL 21"},
      {Utf8ToCp1252("3. LÉCUYER"), "BRIDGE CLUB ARDEVANNE", "109",
       Utf8ToCp1252("Jérôme LÉCUYER 27Noëlle BENOÎT 25Jean DUPONT 24François GARNIER 33")},
      {"4. CHEVALIER", "CERCLE DU PORT", "185",
       "Yves CHEVALIER 40Claire LEMAIRE 36Alain GIRARD 29Bruno ANDRE 31Agathe NOEL 27Pierre "
       "LEGRAND 22"},
  };
  EXPECT_TRUE(scan.ran);
  EXPECT_EQ(expected, scan.entries);
  EXPECT_EQ(std::nullopt, scan.truncatedAt);
  // Jean DUPONT plays in two teams and is written to twice; François GARNIER answered "NON";
  // Noëlle BENOÎT has no address.
  const std::vector<std::string> mail = {"jean.dupont@example.fr", "anne.martin@example.fr",
                                         "jerome.lecuyer@example.fr", "jean.dupont@example.fr"};
  EXPECT_EQ(mail, scan.mail);
}

TEST(ScanRegistrantsTest, ReadsEachKindAndMode) {
  struct Case {
    ListKind kind;
    ConvocationMode mode;
    std::vector<PageEntry> entries;
    ConvocationEntry first;
    ConvocationEntry third;
  };
  const Case cases[] = {
      {ListKind::kGroup,
       ConvocationMode::kPairs,
       SamplePairs(),
       {"1 - Jean DUPONT 24", "", "55", "Jean DUPONT 24Anne MARTIN 31"},
       {Utf8ToCp1252("3 - Jérôme LÉCUYER 27"), "", "52",
        Utf8ToCp1252("Jérôme LÉCUYER 27Noëlle BENOÎT 25")}},
      {ListKind::kCompetition,
       ConvocationMode::kTeams,
       SampleTeams(),
       {"1. DUPONT", "BRIDGE CLUB ARDEVANNE", "96",
        Utf8ToCp1252("Jean DUPONT 24Anne MARTIN 31Paul DURAND 19Léa PETIT 22")},
       {Utf8ToCp1252("3. LÉCUYER"), "BRIDGE CLUB ARDEVANNE", "109",
        Utf8ToCp1252("Jérôme LÉCUYER 27Noëlle BENOÎT 25Jean DUPONT 24François GARNIER 33")}},
      {ListKind::kCompetition,
       ConvocationMode::kPairs,
       SamplePairs(),
       {"1 - Jean DUPONT", "", "55", "Jean DUPONT 24 Mme Anne MARTIN 31"},
       {Utf8ToCp1252("3 - Jérôme LÉCUYER"), "", "52",
        Utf8ToCp1252("Jérôme LÉCUYER 27 Mme Noëlle BENOÎT 25")}},
  };
  for (const Case& c : cases) {
    const ConvocationScan scan = Scan(c.kind, c.mode, c.entries, SampleMembers());
    const auto label = ::testing::Message() << "kind " << static_cast<int>(c.kind) << " mode "
                                            << static_cast<int>(c.mode);
    ASSERT_EQ(4u, scan.entries.size()) << label;
    EXPECT_EQ(c.first, scan.entries[0]) << label;
    EXPECT_EQ(c.third, scan.entries[2]) << label;
    EXPECT_EQ((std::vector<std::string>{"jean.dupont@example.fr", "anne.martin@example.fr",
                                        "jerome.lecuyer@example.fr"}),
              std::vector<std::string>(scan.mail.begin(), scan.mail.begin() + 3))
        << label;
  }
}

TEST(ScanRegistrantsTest, WaitsForAMissingEntryNumberToTheEnd) {
  for (ListKind kind : {ListKind::kGroup, ListKind::kCompetition}) {
    PageOptions options;
    options.missingNumbers = {7};
    const ConvocationScan scan =
        Scan(kind, ConvocationMode::kTeams, NumberedTeams(9), {}, false, options);
    EXPECT_EQ((std::vector<std::string>{"1. E1", "2. E2", "3. E3", "4. E4", "5. E5", "6. E6"}),
              Ranks(scan))
        << static_cast<int>(kind);
  }
}

TEST(ScanRegistrantsTest, MembersOnlyKeepsTheTeamsWithAMemberAndSkippedOnesUseTheirNumber) {
  const ConvocationScan all =
      Scan(ListKind::kGroup, ConvocationMode::kTeams, SampleTeams(), SampleMembers(), false);
  EXPECT_EQ((std::vector<std::string>{"1. DUPONT", "2. ROUSSEL", Utf8ToCp1252("3. LÉCUYER"),
                                      "4. CHEVALIER"}),
            Ranks(all));
  const ConvocationScan members =
      Scan(ListKind::kGroup, ConvocationMode::kTeams, SampleTeams(), SampleMembers(), true);
  EXPECT_EQ((std::vector<std::string>{"1. DUPONT", Utf8ToCp1252("3. LÉCUYER")}), Ranks(members));
  EXPECT_EQ(all.mail, members.mail);
}

TEST(ScanRegistrantsTest, AMemberAnsweringNonIsPrintedButNotMailed) {
  const std::vector<PageEntry> teams = {
      {"GARNIER",
       "BRIDGE CLUB ARDEVANNE",
       {{"M.", "Fran\xC3\xA7ois GARNIER", 33},
        {"M.", "Paul DURAND", 19},
        {"M.", "Luc ROUX", 20},
        {"Mme", "Lea PETIT", 22}},
       94},
      {"AUTRES", "AILLEURS", {{"M.", "Yves A", 20}, {"M.", "Marc B", 20}}, 40},
  };
  const Lines members = {
      MemberLine("1", "M.", "GARNIER", Utf8ToCp1252("François"), "f.garnier@example.fr", "NON")};
  for (ListKind kind : {ListKind::kGroup, ListKind::kCompetition}) {
    const ConvocationScan scan = Scan(kind, ConvocationMode::kTeams, teams, members, true);
    EXPECT_EQ(std::vector<std::string>{"1. GARNIER"}, Ranks(scan)) << static_cast<int>(kind);
    EXPECT_EQ(std::vector<std::string>{}, scan.mail) << static_cast<int>(kind);
  }
}

TEST(ScanRegistrantsTest, MatchesMembersByContainmentWithoutAccentsOrCase) {
  struct Case {
    const char* name;
    std::string player;  // UTF-8, as on the page
    Lines members;       // Windows-1252
    std::vector<std::string> mail;
    bool kept;  // the team counts for "Des  Licenciés"
  };
  const Case cases[] = {
      {"a longer name on the page",
       "Jean DUPONTEL",
       {MemberLine("1", "M.", "DUPONT", "Jean", "dupont@x.fr")},
       {"dupont@x.fr"},
       true},
      {"the closest of two members",
       "Jean DUPONTEL",
       {MemberLine("1", "M.", "DUPONT", "Jean", "dupont@x.fr"),
        MemberLine("2", "M.", "DUPONTEL", "Jean", "dupontel@x.fr")},
       {"dupontel@x.fr"},
       true},
      {"accents on the page only",
       "J\xC3\xA9r\xC3\xB4me L\xC3\x89"
       "CUYER",
       {MemberLine("1", "M.", "LECUYER", "Jerome", "jl@x.fr")},
       {"jl@x.fr"},
       true},
      {"accents and small letters in the file",
       "JEROME LECUYER",
       {MemberLine("1", "M.", Utf8ToCp1252("Lécuyer"), Utf8ToCp1252("jérôme"), "jl@x.fr")},
       {"jl@x.fr"},
       true},
      {"letters the federation page shows but no partial decoder kept",
       "No\xC3\xABlle BENO\xC3\x8eT \xC3\x80 \xC3\xB4",
       {MemberLine("1", "Mme", Utf8ToCp1252("BENOÎT"), Utf8ToCp1252("Noëlle"), "nb@x.fr")},
       {"nb@x.fr"},
       true},
      {"first and last name the other way round",
       "DUPONT Jean",
       {MemberLine("1", "M.", "DUPONT", "Jean", "dupont@x.fr")},
       {},
       false},
      {"a member without a name matches nobody",
       "Jean DUPONT",
       {MemberLine("1", "M.", "", "", "vide@x.fr")},
       {},
       false},
      {"a member without an address",
       "Jean DUPONT",
       {MemberLine("1", "M.", "DUPONT", "Jean", "")},
       {},
       true},
      {"field 69 missing reads yes",
       "Jean DUPONT",
       {MemberLine("1", "M.", "DUPONT", "Jean", "d@x.fr", "")},
       {"d@x.fr"},
       true},
  };
  for (const Case& c : cases) {
    const std::vector<PageEntry> teams = {
        {"T", "C", {{"M.", c.player, 20}, {"M.", "Paul DURAND", 19}}, 39}};
    for (ListKind kind : {ListKind::kGroup, ListKind::kCompetition}) {
      const ConvocationScan scan = Scan(kind, ConvocationMode::kTeams, teams, c.members, true);
      EXPECT_EQ(c.mail, scan.mail) << c.name << " / kind " << static_cast<int>(kind);
      EXPECT_EQ(c.kept ? 1u : 0u, scan.entries.size())
          << c.name << " / kind " << static_cast<int>(kind);
    }
  }
}

TEST(ScanRegistrantsTest, FindsNothingWithoutKindOrWithFewerThanTwentyLines) {
  const Lines lines = Registrants(ListKind::kGroup, ConvocationMode::kTeams, SampleTeams());
  const ScanOptions options{ConvocationMode::kTeams, false};
  EXPECT_FALSE(ScanRegistrants(lines, std::nullopt, options, SampleMembers()).ran);
  const Lines short19(lines.begin(), lines.begin() + 19);
  const ConvocationScan few = ScanRegistrants(short19, ListKind::kGroup, options, SampleMembers());
  EXPECT_FALSE(few.ran);
  EXPECT_EQ(0u, few.entries.size());
  const Lines noEntry(20, "<p>rien</p>");
  const ConvocationScan none = ScanRegistrants(noEntry, ListKind::kGroup, options, {});
  EXPECT_TRUE(none.ran);
  EXPECT_EQ(0u, none.entries.size());
}

// Every length of every kind of page, cut anywhere: the scan keeps the entries read before
// the cut and never reads past the last line (the sanitizers of the fuzz build watch that).
TEST(ScanRegistrantsTest, APageCutAnywhereKeepsTheEntriesBeforeTheCut) {
  struct Case {
    ListKind kind;
    ConvocationMode mode;
    std::vector<PageEntry> entries;
  };
  const Case cases[] = {
      {ListKind::kGroup, ConvocationMode::kTeams, SampleTeams()},
      {ListKind::kGroup, ConvocationMode::kPairs, SamplePairs()},
      {ListKind::kCompetition, ConvocationMode::kTeams, SampleTeams()},
      {ListKind::kCompetition, ConvocationMode::kPairs, SamplePairs()},
  };
  for (const Case& c : cases) {
    const Lines whole = Registrants(c.kind, c.mode, c.entries);
    const ScanOptions options{c.mode, false};
    const ConvocationScan full = ScanRegistrants(whole, c.kind, options, SampleMembers());
    ASSERT_EQ(c.entries.size(), full.entries.size());
    for (std::size_t length = 20; length <= whole.size(); ++length) {
      const Lines cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
      const ConvocationScan scan = ScanRegistrants(cut, c.kind, options, SampleMembers());
      const auto label = ::testing::Message() << "kind " << static_cast<int>(c.kind) << " mode "
                                              << static_cast<int>(c.mode) << " length " << length;
      ASSERT_LE(scan.entries.size(), full.entries.size()) << label;
      EXPECT_EQ(std::vector<ConvocationEntry>(full.entries.begin(),
                                              full.entries.begin() + scan.entries.size()),
                scan.entries)
          << label;
      // The scan ends on the first entry it could not read whole, if its first line is kept.
      const int next = static_cast<int>(scan.entries.size()) + 1;
      const auto start = std::find_if(cut.begin(), cut.end(), [&](const std::string& line) {
        return NumberPart(line) == std::to_string(next);
      });
      EXPECT_EQ(start == cut.end() ? std::nullopt : std::optional<int>(next), scan.truncatedAt)
          << label;
    }
  }
}

TEST(ScanRegistrantsTest, ACompetitionTeamWithoutItsClubCellEndsTheScan) {
  Lines lines = Registrants(ListKind::kCompetition, ConvocationMode::kTeams, NumberedTeams(3));
  // The club cells of entries 2 and 3.
  int seen = 0;
  for (std::string& line : lines) {
    if (NumberPart(line) == "<td class=\"text-center ng-binding\">" && ++seen >= 2) {
      line = "<td class=\"text-center\">";
    }
  }
  const ConvocationScan scan =
      ScanRegistrants(lines, ListKind::kCompetition, {ConvocationMode::kTeams, false}, {});
  EXPECT_EQ(std::vector<std::string>{"1. E1"}, Ranks(scan));
  EXPECT_EQ(std::optional<int>(2), scan.truncatedAt);
}

TEST(SplitPlayersTest, CutsThePlayersTextAfterHalfItsNumbers) {
  struct Case {
    std::string players;
    PlayerHalves expected;
  };
  const Case cases[] = {
      {"Jean DUPONT 12 Anne MARTIN 8 Paul DURAND 15 Lea PETIT 20",
       {"Jean DUPONT 12\r\n Anne MARTIN 8\r\n", " Paul DURAND 15\r\n Lea PETIT 20"}},
      {"Jean DUPONT 24Anne MARTIN 31", {"Jean DUPONT 24\r\n", "Anne MARTIN 31"}},
      {"A 1B 2C 3D 4E 5F 6", {"A 1\r\nB 2\r\nC 3\r\n", "D 4\r\nE 5\r\nF 6"}},
      {"A 1B 2C 3D 4E 5", {"A 1\r\nB 2\r\nC 3\r\n", "D 4\r\nE 5"}},
      {"A 1 ", {"A 1\r\n", " "}},
      {"12", {"12", ""}},
      {"sans indice", {"sans indice", ""}},
      {"", {"", ""}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, SplitPlayers(c.players)) << c.players;
}

TEST(MailBatchesTest, CutsTheListIntoMessagesOfTheCount) {
  std::vector<std::string> twelve;
  for (int i = 1; i <= 12; ++i) twelve.push_back("j" + std::to_string(i) + "@x.fr");
  EXPECT_EQ(
      (std::vector<std::string>{"j1@x.fr;j2@x.fr;j3@x.fr;j4@x.fr;j5@x.fr;",
                                "j6@x.fr;j7@x.fr;j8@x.fr;j9@x.fr;j10@x.fr;", "j11@x.fr;j12@x.fr;"}),
      MailBatches(twelve, 5));
  EXPECT_EQ(1u, MailBatches(twelve, 50).size());
  EXPECT_EQ(2u, MailBatches(twelve, 6).size());
  EXPECT_EQ(12u, MailBatches(twelve, 1).size());
  EXPECT_EQ(12u, MailBatches(twelve, 0).size());
  EXPECT_EQ(std::vector<std::string>{}, MailBatches({}, 5));
}

TEST(MailBatchesTest, LinksKeepTheLastSeparator) {
  EXPECT_EQ("mailto: ? &bcc=a@x.fr;b@x.fr;", ConvocationMailLink("a@x.fr;b@x.fr;", true));
  EXPECT_EQ("mailto:a@x.fr;b@x.fr; ?", ConvocationMailLink("a@x.fr;b@x.fr;", false));
}

// The header fields answer the whole report, each entry its record; the players' halves
// print one per line, and what the screen does not print in a mode is not answered.
TEST(ConvocationReportTest, HeaderForTheReportEntriesForTheirRecords) {
  EventData header;
  header[0] = "2026-2027";
  header[3] = "  Coupe de France par quatre ";
  header[11] = Utf8ToCp1252("Noël MARTIN");
  const std::vector<ConvocationEntry> entries = {
      {"1", "BRIDGE CLUB ARDEVANNE", "212",
       Utf8ToCp1252("Jérôme LÉCUYER 58 Benoît FRANÇOIS 61 Anne MARTIN 46 Paul ROBERT 47")},
      {Utf8ToCp1252("2. LÉCUYER"), "", "119", "Jean DUPONT 24Anne MARTIN 31"}};

  const ReportRequest teams = ConvocationReport(ConvocationMode::kTeams, header, entries);
  EXPECT_EQ("quatre.frf", teams.templateFile);
  EXPECT_EQ("Convocation - Coupe de France par quatre", teams.title);
  EXPECT_TRUE(teams.zeroVariables.empty());
  ASSERT_EQ(std::size_t{2}, teams.records.size());
  EXPECT_EQ(Utf8ToCp1252("1;BRIDGE CLUB ARDEVANNE;212;Jérôme LÉCUYER 58 Benoît FRANÇOIS 61 "
                         "Anne MARTIN 46 Paul ROBERT 47;"),
            teams.records[0]);
  EXPECT_EQ(ReportValue::Text(Utf8ToCp1252("Jérôme LÉCUYER 58\n Benoît FRANÇOIS 61")),
            teams.value("nom2", 0));
  EXPECT_EQ(ReportValue::Text(" Anne MARTIN 46\n Paul ROBERT 47"), teams.value("joueur2", 0));
  EXPECT_EQ(ReportValue::Text("BRIDGE CLUB ARDEVANNE"), teams.value("club2", 0));
  EXPECT_EQ(ReportValue::Text(Utf8ToCp1252("2. LÉCUYER")), teams.value("classement2", 1));
  EXPECT_EQ(ReportValue::Text("Jean DUPONT 24"), teams.value("nom2", 1));
  EXPECT_EQ(ReportValue::Text(Utf8ToCp1252("Noël MARTIN")), teams.value("arbitre", 2));
  EXPECT_EQ(ReportValue::Text("  Coupe de France par quatre "), teams.value("epreuve", 0));
  EXPECT_EQ(ReportValue::Text(""), teams.value("pied2", 0));
  EXPECT_EQ(ReportValue(), teams.value("indice2", 2));  // the summary
  EXPECT_EQ(ReportValue(), teams.value("inconnu", 0));

  const ReportRequest pairs = ConvocationReport(ConvocationMode::kPairs, header, entries);
  EXPECT_EQ("paires.frf", pairs.templateFile);
  EXPECT_EQ(ReportValue(), pairs.value("club2", 0));
  EXPECT_EQ(ReportValue::Text("119"), pairs.value("indice2", 1));

  header[3] = " \t ";
  EXPECT_EQ("Convocation", ConvocationReport(ConvocationMode::kPairs, header, {}).title);
  EXPECT_EQ(Lines{}, ConvocationReport(ConvocationMode::kPairs, header, {}).records);
}

}  // namespace
}  // namespace vantrel::competitions
