#include "members/federation_import.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/text_helpers.h"
#include "members/member_file.h"
#include "support/temp_folder.h"

namespace vantrel::members {
namespace {

namespace fs = std::filesystem;

Date Day(int day, int month, int year) { return *Date::FromYmd(year, month, day); }

constexpr char kHeader[] =
    "Num_licence;Civilite;Nom;Prenom;Naissance;Adresse1;Adresse2;CP;Ville;Pays;Tel;Portable;"
    "Email;Categorie;Licence;Statut;Club;IV";

// A player line of the extraction (UTF-8) from its positions; the others are empty.
std::string Player(const std::map<int, std::string>& positions) {
  std::vector<std::string> fields(20);
  for (const auto& [p, value] : positions) fields[static_cast<std::size_t>(p)] = value;
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i)
    line += fields[i] + (i + 1 < fields.size() ? ";" : "");
  return line;
}

// A typical player: licence, name and first name given, the rest filled with plain data.
std::string TypicalPlayer(const std::string& licence, const std::string& name,
                          const std::string& firstName) {
  return Player({{0, licence},
                 {1, "M."},
                 {2, name},
                 {3, firstName},
                 {4, "1958-06-21"},
                 {5, "2 rue Haute"},
                 {7, "75001"},
                 {8, "Paris"},
                 {10, "0102030405"},
                 {11, "0607080910"},
                 {12, "x@example.fr"},
                 {13, "Senior"},
                 {14, "Licence"},
                 {16, "Bridge Club"},
                 {17, "45"}});
}

// The member record TypicalPlayer gives, as the import stores it (age on 09/12/2026).
std::string TypicalMember(const std::string& licence, const std::string& name,
                          const std::string& firstName) {
  MemberRecord record;
  record.set(field::kLicence, licence);
  record.set(field::kTitle, "M.");
  record.set(field::kLastName, name);
  record.set(field::kFirstName, firstName);
  record.set(field::kValueIndex, "45");
  record.set(field::kClub, "BRIDGE CLUB");
  record.set(field::kAddress1, "2 rue Haute");
  record.set(field::kPostalCode, "75001");
  record.set(field::kTown, "Paris");
  record.set(field::kHomePhone, "01 02 03 04 05");
  record.set(field::kMobilePhone, "06 07 08 09 10");
  record.set(field::kMail, "x@example.fr");
  record.set(field::kBirthDate, "21/06/1958");
  record.set(field::kLicenceKind, "Licence Senior");
  record.set(field::kAge, "68");
  record.set(field::kLastDuesPosting, "12/09/2026");
  record.set(field::kSpare, "libre");
  for (int i = 0; i < kDuesLineCount; ++i) record.setDuesLine(i, {});
  for (int i = 0; i < kPaymentLineCount; ++i) record.setPaymentLine(i, {});
  record.set(field::kBalance, "-2550");
  record.set(field::kMailConvocations, "NON");
  return record.ToLine();
}

Lines WithHeader(const Lines& players, int titleLines = 0) {
  Lines lines;
  for (int i = 0; i < titleLines; ++i) lines.push_back("Extraction du " + std::to_string(i));
  lines.emplace_back(kHeader);
  lines.insert(lines.end(), players.begin(), players.end());
  return lines;
}

// Records every question and answers from a script (then "&Oui").
struct Questions {
  std::vector<std::string> asked;
  std::vector<QuestionKind> kinds;
  std::vector<bool> answers;
  ImportQuestion function() {
    return [this](QuestionKind kind, const std::string& text) {
      kinds.push_back(kind);
      asked.push_back(text);
      if (asked.size() <= answers.size()) return static_cast<bool>(answers[asked.size() - 1]);
      return true;
    };
  }
};

ImportQuestion NoQuestion() {
  return [](QuestionKind, const std::string& text) -> bool {
    ADD_FAILURE() << "unexpected question: " << text;
    return false;
  };
}

ImportOptions Options(MergeChoice add, MergeChoice modify) {
  return {add, modify, Day(9, 12, 2026)};
}

// --- Reading the extraction -------------------------------------------------------------

TEST(ReadExtractionTest, CountsThePlayersAfterTheHeaderWhereverItStands) {
  Lines players;
  for (int i = 0; i < 120; ++i)
    players.push_back(TypicalPlayer(std::to_string(1000 + i), "A", "b"));
  struct Case {
    const char* what;
    Lines lines;
    int expected;
  };
  const Case cases[] = {
      {"header on line 1", WithHeader(players), 120},
      {"header on line 3", WithHeader(players, 2), 120},
      {"two lines, the first a header", WithHeader({players[0]}), -1},
      {"a title, the header and one player", Lines{"Extraction", kHeader, players[0]}, 1},
      {"no header", Lines{"12345;M.;A", "12346;M.;B", "12347;M.;C"}, -1},
      {"byte-order mark before the header",
       Lines{"\xEF\xBB\xBF" + std::string(kHeader), players[0], players[1]}, 2},
      {"blank lines are no players", Lines{kHeader, players[0], "", players[1], " "}, 2},
      {"short lines before the header", Lines{"a", "abcd", kHeader, players[0]}, 1},
      {"lines of separators alone are blank",
       Lines{kHeader, players[0], std::string(33, ';'), players[1], " ;\t; ", ";"}, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, ExtractionCount(ReadExtractionLines(c.lines))) << c.what;
  }
}

TEST(ReadExtractionTest, ReadsAFileWithAnyLineEnds) {
  testing::TempFolder folder;
  const auto path = folder.path() / "extraction.csv";
  testing::WriteFile(path, std::string(kHeader) + "\n" + TypicalPlayer("1", "A", "b") + "\r\n" +
                               TypicalPlayer("2", "B", "c") + "\r");
  const Extraction extraction = ReadExtraction(path);
  EXPECT_EQ(2, ExtractionCount(extraction));
  EXPECT_EQ(TypicalPlayer("2", "B", "c"), extraction.players[1]);
  EXPECT_THROW(ReadExtraction(folder.path() / "absent.csv"), Error);
}

// --- Helpers ------------------------------------------------------------------------------

TEST(FederationHelpersTest, IsoDateToFrench) {
  const std::pair<const char*, const char*> cases[] = {
      {"1958-06-21", "21/06/1958"},       {"", "//"},
      {"1958-06-21-extra", "21/06/1958"}, {"1958-06", "/06/1958"},
      {"2001-1-5", "5/1/2001"},
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(expected, IsoDateToFrench(input)) << input;
}

TEST(FederationHelpersTest, GroupDigitPairs) {
  const std::pair<const char*, const char*> cases[] = {
      {"0102030405", "01 02 03 04 05"},
      {"123", "12 3"},
      {"", ""},
      {"1", "1"},
      {"12", "12"},
      {"01 02", "01  0 2"},  // already grouped: extra blanks
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(expected, GroupDigitPairs(input)) << input;
}

TEST(FederationHelpersTest, KeepsFrenchNamesWholeAndRaisesAccentedCapitals) {
  struct Case {
    const char* utf8Name;
    const char* utf8FirstName;
    const char* name;       // field 2, Windows-1252
    const char* firstName;  // field 3, Windows-1252
  };
  const Case cases[] = {
      {"Lécuyer", "Jérôme",
       "L\xc9"
       "CUYER",
       "J\xe9r\xf4me"},
      {"Noël", "Benoît", "NO\xcbL", "Beno\xeet"},
      {"Sacré-Cœur", "Zoé",
       "SACR\xc9-C\x8c"
       "UR",
       "Zo\xe9"},
      {"Ångström", "Ŵyn", "\xc5NGSTR\xd6M", "?yn"},    // a letter Windows-1252 lacks becomes "?"
      {"D\xe9sir\xe9", "Ana", "D\xc9SIR\xc9", "Ana"},  // not UTF-8: taken as Windows-1252
  };
  for (const Case& c : cases) {
    const auto fields = MemberFieldsOfPlayer(
        DecodePlayerLine(Player({{0, "1"}, {2, c.utf8Name}, {3, c.utf8FirstName}})));
    EXPECT_EQ(c.name, fields[field::kLastName]) << c.utf8Name;
    EXPECT_EQ(c.firstName, fields[field::kFirstName]) << c.utf8FirstName;
  }
}

TEST(FederationHelpersTest, MapsThePositionsToMemberFields) {
  const auto fields =
      MemberFieldsOfPlayer(DecodePlayerLine(TypicalPlayer("12345", "Dupont", "Jean")));
  const std::vector<std::string> expected = {"12345",
                                             "M.",
                                             "DUPONT",
                                             "Jean",
                                             "45",
                                             "BRIDGE CLUB",
                                             "2 rue Haute",
                                             "",
                                             "",
                                             "75001",
                                             "Paris",
                                             "01 02 03 04 05",
                                             "",
                                             "06 07 08 09 10",
                                             "x@example.fr",
                                             "21/06/1958",
                                             "Licence Senior"};
  EXPECT_EQ(expected, fields);
}

TEST(FederationHelpersTest, NeverImportsTheFederationsOwnMailDomain) {
  EXPECT_EQ("ffbridge.fr", FederationMailDomain());
  const std::pair<const char*, const char*> cases[] = {
      {"jean.dupont@ffbridge.fr", ""},
      {"JEAN@FFBRIDGE.FR", ""},
      {"jean@ffbridge.fr.example.com", ""},  // "contains" the domain
      {"jean@example.fr", "jean@example.fr"},
      {"ffbridge.fr@example.fr", "ffbridge.fr@example.fr"},  // no "@" before the domain
  };
  for (const auto& [mail, expected] : cases) {
    const auto fields = MemberFieldsOfPlayer(DecodePlayerLine(Player({{0, "1"}, {12, mail}})));
    EXPECT_EQ(expected, fields[field::kMail]) << mail;
  }
}

TEST(FederationHelpersTest, FindMemberComparesLicencesAsIntegersLastOneWinning) {
  const Lines members = {TypicalMember("00012345", "A", "a"), TypicalMember("777", "B", "b"),
                         TypicalMember("12345", "C", "c")};
  EXPECT_EQ(2, FindMember(members, "12345"));
  EXPECT_EQ(1, FindMember(members, "0777"));
  EXPECT_EQ(-1, FindMember(members, "778"));
  EXPECT_THROW(FindMember(members, "12A"), Error);
  EXPECT_THROW(FindMember({TypicalMember("", "A", "a")}, "1"), Error);
}

// --- MergeField -----------------------------------------------------------------------------

TEST(MergeFieldTest, FollowsTheChoiceAndAsksOnlyWhenValuesDiffer) {
  std::vector<std::string> stored(kMemberFieldCount);
  stored[field::kTitle] = "Mme";
  stored[field::kLastName] = "MARTIN";
  stored[field::kFirstName] = "Claire";
  stored[field::kMobilePhone] = "06 07 08 09 10";
  stored[field::kAddress3] = "B\xe2timent B";
  const std::string newMobile = "06 11 22 33 44";

  EXPECT_EQ(newMobile,
            MergeField(stored, field::kMobilePhone, newMobile, MergeChoice::kAlways, NoQuestion()));
  EXPECT_EQ(stored[field::kMobilePhone],
            MergeField(stored, field::kMobilePhone, newMobile, MergeChoice::kNever, NoQuestion()));
  EXPECT_EQ(stored[field::kMobilePhone],
            MergeField(stored, field::kMobilePhone, stored[field::kMobilePhone],
                       MergeChoice::kAfterConsent, NoQuestion()));
  // Address line 3 and the office telephone have no source: the card's are kept without a
  // question, whatever the choice.
  for (const MergeChoice choice :
       {MergeChoice::kAlways, MergeChoice::kAfterConsent, MergeChoice::kNever}) {
    EXPECT_EQ("B\xe2timent B", MergeField(stored, field::kAddress3, "", choice, NoQuestion()))
        << static_cast<int>(choice);
    EXPECT_EQ("", MergeField(stored, field::kOfficePhone, "", choice, NoQuestion()))
        << static_cast<int>(choice);
  }

  Questions questions;
  questions.answers = {false, true};
  const ImportQuestion ask = questions.function();
  EXPECT_EQ(stored[field::kMobilePhone],
            MergeField(stored, field::kMobilePhone, newMobile, MergeChoice::kAfterConsent, ask));
  EXPECT_EQ(newMobile,
            MergeField(stored, field::kMobilePhone, newMobile, MergeChoice::kAfterConsent, ask));
  const std::string expected =
      "Pour la fiche : Mme MARTIN Claire\rModifier : 06 07 08 09 10\rPar : 06 11 22 33 44";
  EXPECT_EQ((std::vector<std::string>{expected, expected}), questions.asked);
  EXPECT_EQ((std::vector<QuestionKind>{QuestionKind::kReplaceValue, QuestionKind::kReplaceValue}),
            questions.kinds);
}

// --- The merge ------------------------------------------------------------------------------

TEST(MergeExtractionTest, EqualDataAsksNothingAndChangesOnlyTheAge) {
  MemberRecord stored = MemberRecord::FromLine(TypicalMember("12345", "DUPONT", "Jean"));
  stored.set(field::kAddress3, "Escalier C");
  stored.set(field::kOfficePhone, "01 99 99 99 99");
  stored.set(field::kAge, "3");
  Lines members = {stored.ToLine()};
  const ImportCounts counts = MergeExtraction(
      members, {TypicalPlayer("12345", "Dupont", "Jean")},
      Options(MergeChoice::kAfterConsent, MergeChoice::kAfterConsent), NoQuestion());
  EXPECT_EQ((ImportCounts{0, 1, 0, 0}), counts);
  stored.set(field::kAge, "68");
  EXPECT_EQ(stored.ToLine(), members[0]);

  // Run again: now byte-identical.
  const ImportCounts again = MergeExtraction(
      members, {TypicalPlayer("12345", "Dupont", "Jean")},
      Options(MergeChoice::kAfterConsent, MergeChoice::kAfterConsent), NoQuestion());
  EXPECT_EQ((ImportCounts{0, 0, 1, 0}), again);
}

TEST(MergeExtractionTest, AfterConsentShowsBothNumbersGroupedInPairsAndNoKeepsTheStoredOne) {
  Lines members = {TypicalMember("12345", "DUPONT", "Jean")};
  std::string player = Player({{0, "12345"},
                               {1, "M."},
                               {2, "Dupont"},
                               {3, "Jean"},
                               {4, "1958-06-21"},
                               {5, "2 rue Haute"},
                               {7, "75001"},
                               {8, "Paris"},
                               {10, "0102030405"},
                               {11, "0611223344"},
                               {12, "x@example.fr"},
                               {13, "Senior"},
                               {14, "Licence"},
                               {16, "Bridge Club"},
                               {17, "45"}});
  Questions questions;
  questions.answers = {false};
  MergeExtraction(members, {player}, Options(MergeChoice::kAlways, MergeChoice::kAfterConsent),
                  questions.function());
  EXPECT_EQ((std::vector<std::string>{"Pour la fiche : M. DUPONT Jean\rModifier : 06 07 08 09 10"
                                      "\rPar : 06 11 22 33 44"}),
            questions.asked);
  EXPECT_EQ(TypicalMember("12345", "DUPONT", "Jean"), members[0]);
}

TEST(MergeExtractionTest, AsksInFieldOrderAndComparesTheLicenceAsText) {
  MemberRecord stored = MemberRecord::FromLine(TypicalMember("00012345", "DUPONT", "Jean"));
  stored.set(field::kTown, "Lyon");
  stored.set(field::kValueIndex, "30");
  Lines members = {stored.ToLine()};
  Questions questions;
  MergeExtraction(members, {TypicalPlayer("12345", "Dupont", "Jean")},
                  Options(MergeChoice::kAlways, MergeChoice::kAfterConsent), questions.function());
  ASSERT_EQ(3u, questions.asked.size());
  EXPECT_EQ("Pour la fiche : M. DUPONT Jean\rModifier : 00012345\rPar : 12345", questions.asked[0]);
  EXPECT_EQ("Pour la fiche : M. DUPONT Jean\rModifier : 30\rPar : 45", questions.asked[1]);
  EXPECT_EQ("Pour la fiche : M. DUPONT Jean\rModifier : Lyon\rPar : Paris", questions.asked[2]);
  EXPECT_EQ(TypicalMember("12345", "DUPONT", "Jean"), members[0]);
}

TEST(MergeExtractionTest, AddsNewPlayersByTheChoiceAndSortsByNameThenFirstName) {
  const Lines players = {TypicalPlayer("3", "Martin", "Paul"),
                         TypicalPlayer("4", "Lécuyer", "Noël"),
                         TypicalPlayer("5", "Martin", "Anne")};
  struct Case {
    MergeChoice add;
    std::vector<bool> answers;
    ImportCounts counts;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {MergeChoice::kAlways,
       {},
       {3, 0, 1, 0},
       {"DUPONT",
        "L\xc9"
        "CUYER",
        "MARTIN", "MARTIN"}},
      {MergeChoice::kNever, {}, {0, 0, 1, 3}, {"DUPONT"}},
      {MergeChoice::kAfterConsent,
       {true, false, true},
       {2, 0, 1, 1},
       {"DUPONT", "MARTIN", "MARTIN"}},
  };
  for (const Case& c : cases) {
    Lines members = {TypicalMember("1", "DUPONT", "Jean")};
    Lines all = players;
    all.push_back(TypicalPlayer("1", "Dupont", "Jean"));
    Questions questions;
    questions.answers = c.answers;
    const ImportCounts counts =
        MergeExtraction(members, all, Options(c.add, MergeChoice::kAlways), questions.function());
    EXPECT_EQ(c.counts, counts) << static_cast<int>(c.add);
    std::vector<std::string> names;
    for (const auto& m : members) names.push_back(FieldAt(m, field::kLastName));
    EXPECT_EQ(c.names, names) << static_cast<int>(c.add);
    if (c.add == MergeChoice::kAfterConsent) {
      EXPECT_EQ("Ajout de : M. MARTIN Paul", questions.asked[0]);
      EXPECT_EQ(QuestionKind::kAddPlayer, questions.kinds[0]);
      EXPECT_EQ(
          "Ajout de : M. L\xc9"
          "CUYER No\xebl",
          questions.asked[1]);
    }
    if (c.add == MergeChoice::kAlways) {
      EXPECT_EQ("Anne", FieldAt(members[2], field::kFirstName));
      EXPECT_EQ("Paul", FieldAt(members[3], field::kFirstName));
    }
  }
}

TEST(MergeExtractionTest, BuildsTheNewMemberRecord) {
  Lines members;
  std::string player = TypicalPlayer("12345", "Lécuyer", "Jérôme");
  player = Player({{0, "12345"},
                   {1, "M."},
                   {2, "Lécuyer"},
                   {3, "Jérôme"},
                   {4, "1958-06-21"},
                   {5, "Place du Sacré-Cœur"},
                   {7, "75018"},
                   {8, "Paris"},
                   {10, "0102030405"},
                   {12, "jerome@ffbridge.fr"},
                   {13, "Senior"},
                   {14, "Licence"},
                   {16, "Bridge Club"},
                   {17, "45"}});
  MergeExtraction(members, {player}, Options(MergeChoice::kAlways, MergeChoice::kAlways),
                  NoQuestion());
  ASSERT_EQ(1u, members.size());
  EXPECT_EQ(
      "12345;M.;L\xc9"
      "CUYER;J\xe9r\xf4me;45;BRIDGE CLUB;Place du Sacr\xe9-C\x9cur;;;75018;Paris;"
      "01 02 03 04 05;;;;21/06/1958;Licence Senior;68;01/01/1900;libre;"
      ";;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;OUI;",
      members[0]);
}

TEST(MergeExtractionTest, TheAgeFollowsTheMergedBirthDateAndFieldsFromEighteenOnAreKept) {
  MemberRecord stored = MemberRecord::FromLine(TypicalMember("12345", "DUPONT", "Jean"));
  stored.set(field::kBirthDate, "01/01/2000");
  stored.set(field::kAge, "0");
  std::string player = TypicalPlayer("12345", "Dupont", "Jean");
  player.replace(player.find("1958-06-21"), 10, "1960-01-02");
  struct Case {
    MergeChoice modify;
    const char* birthDate;
    const char* age;
  };
  const Case cases[] = {
      {MergeChoice::kAlways, "02/01/1960", "67"},  // not 27, the age of the old date
      {MergeChoice::kNever, "01/01/2000", "27"},
  };
  for (const Case& c : cases) {
    Lines members = {stored.ToLine()};
    MergeExtraction(members, {player}, Options(MergeChoice::kAlways, c.modify), NoQuestion());
    const MemberRecord merged = MemberRecord::FromLine(members[0]);
    EXPECT_EQ(c.birthDate, merged.get(field::kBirthDate)) << static_cast<int>(c.modify);
    EXPECT_EQ(c.age, merged.get(field::kAge)) << static_cast<int>(c.modify);
    EXPECT_EQ("-2550", merged.get(field::kBalance));
    EXPECT_EQ("NON", merged.get(field::kMailConvocations));
    EXPECT_EQ("12/09/2026", merged.get(field::kLastDuesPosting));
  }
  // The birth date taken after "&Oui" is the one the age is computed from.
  Questions questions;
  Lines members = {stored.ToLine()};
  MergeExtraction(members, {player}, Options(MergeChoice::kAlways, MergeChoice::kAfterConsent),
                  questions.function());
  EXPECT_EQ("67", MemberRecord::FromLine(members[0]).get(field::kAge));
}

TEST(MergeExtractionTest, KeepsAddressLineThreeAndOfficePhoneWhateverTheChoice) {
  MemberRecord stored = MemberRecord::FromLine(TypicalMember("12345", "DUPONT", "Jean"));
  stored.set(field::kAddress3, "Escalier C, porte 12");
  stored.set(field::kOfficePhone, "01 40 50 60 70");
  stored.set(field::kTown, "Lyon");
  std::string moved = TypicalPlayer("12345", "Dupont", "Jean");
  for (const MergeChoice choice : {MergeChoice::kAlways, MergeChoice::kNever}) {
    Lines members = {stored.ToLine()};
    MergeExtraction(members, {moved, TypicalPlayer("777", "Petit", "Luc")},
                    Options(MergeChoice::kAlways, choice), NoQuestion());
    ASSERT_EQ(2u, members.size());
    MemberRecord expected = stored;
    if (choice == MergeChoice::kAlways) expected.set(field::kTown, "Paris");
    expected.set(field::kAge, "68");
    EXPECT_EQ(expected.ToLine(), members[0]) << static_cast<int>(choice);
    // A new member has neither: the extraction does not carry them.
    const MemberRecord added = MemberRecord::FromLine(members[1]);
    EXPECT_EQ("", added.get(field::kAddress3)) << static_cast<int>(choice);
    EXPECT_EQ("", added.get(field::kOfficePhone)) << static_cast<int>(choice);
  }
}

TEST(MergeExtractionTest, AnUnchangedMemberKeepsHisLineByteForByteButTheAge) {
  // Records as the card and older files leave them: the card's "Ajouter" stops after field
  // 68, an older writer left field 69 empty, a hand-edited line has a field beyond 69.
  MemberRecord record = MemberRecord::FromLine(TypicalMember("12345", "DUPONT", "Jean"));
  record.set(field::kAge, "12");
  const std::string full = record.ToLine();                 // ends "...;-2550;NON;"
  const std::string cut = full.substr(0, full.size() - 4);  // ends "...;-2550;"
  for (const std::string& line : {full, cut, cut + ";", full + "note;"}) {
    Lines members = {line};
    const ImportCounts counts =
        MergeExtraction(members, {TypicalPlayer("12345", "Dupont", "Jean")},
                        Options(MergeChoice::kAlways, MergeChoice::kAlways), NoQuestion());
    std::string expected = line;
    expected.replace(expected.find(";12;"), 4, ";68;");
    EXPECT_EQ(expected, members[0]) << line;
    EXPECT_EQ((ImportCounts{0, 1, 0, 0}), counts) << line;
  }
}

TEST(MergeExtractionTest, EmptyMemberRecordsAreNobody) {
  Lines members = {TypicalMember("1", "DUPONT", "Jean"), "", std::string(69, ';'), " "};
  const ImportCounts counts = MergeExtraction(
      members, {TypicalPlayer("1", "Dupont", "Jean"), TypicalPlayer("2", "Martin", "Anne")},
      Options(MergeChoice::kAlways, MergeChoice::kAlways), NoQuestion());
  EXPECT_EQ((ImportCounts{1, 0, 1, 0}), counts);
  ASSERT_EQ(2u, members.size());
  EXPECT_EQ("DUPONT", FieldAt(members[0], field::kLastName));
  EXPECT_EQ("MARTIN", FieldAt(members[1], field::kLastName));
}

TEST(MergeExtractionTest, CountMergeFollowsTheChoices) {
  const Lines members = {TypicalMember("1", "DUPONT", "Jean")};
  std::string moved = TypicalPlayer("1", "Dupont", "Jean");
  moved.replace(moved.find("Paris"), 5, "Lyon");
  // A new player whose birth date cannot be read: only "Jamais" can skip him.
  const Lines players = {moved, Player({{0, "2"}, {2, "Roux"}, {4, "1958-13-45"}}),
                         TypicalPlayer("3", "Petit", "Luc")};
  struct Case {
    MergeChoice add;
    MergeChoice modify;
    ImportCounts counts;
  };
  const Case cases[] = {
      {MergeChoice::kNever, MergeChoice::kAlways, {0, 1, 0, 2}},
      {MergeChoice::kNever, MergeChoice::kNever, {0, 0, 1, 2}},
      {MergeChoice::kNever, MergeChoice::kAfterConsent, {0, 1, 0, 2}},  // the most
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.counts, CountMerge(members, players, Options(c.add, c.modify)))
        << static_cast<int>(c.add) << " " << static_cast<int>(c.modify);
  }
  for (const MergeChoice add : {MergeChoice::kAlways, MergeChoice::kAfterConsent}) {
    try {
      CountMerge(members, players, Options(add, MergeChoice::kNever));
      ADD_FAILURE() << "no error for " << static_cast<int>(add);
    } catch (const Error& error) {
      EXPECT_EQ(std::string("'45/13/1958' n'est pas une date correcte"), error.what());
    }
  }
}

TEST(MergeExtractionTest, MovesTheProgressEveryTenPlayers) {
  Lines players;
  for (int i = 0; i < 25; ++i) players.push_back(TypicalPlayer(std::to_string(i + 1), "A", "a"));
  Lines members;
  std::vector<int> seen;
  MergeExtraction(members, players, Options(MergeChoice::kAlways, MergeChoice::kAlways),
                  NoQuestion(), [&](int k) { seen.push_back(k); });
  EXPECT_EQ((std::vector<int>{0, 10, 20}), seen);
}

TEST(MergeExtractionTest, CountMergeWritesNothingAndAnswersYes) {
  const Lines members = {TypicalMember("1", "DUPONT", "Jean"),
                         TypicalMember("2", "MARTIN", "Anne")};
  const Lines players = {
      TypicalPlayer("1", "Dupont", "Jean"),
      Player({{0, "2"}, {1, "Mme"}, {2, "Martin"}, {3, "Anne"}, {4, "1958-06-21"}}),
      TypicalPlayer("3", "Petit", "Luc")};
  const Lines before = members;
  EXPECT_EQ((ImportCounts{1, 1, 1, 0}),
            CountMerge(members, players,
                       Options(MergeChoice::kAfterConsent, MergeChoice::kAfterConsent)));
  EXPECT_EQ(before, members);
}

// --- The whole import, through the file -----------------------------------------------------

class ImportExtractionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteMemberFile(m_folder.exerciseFolder(),
                    {TypicalMember("1", "DUPONT", "Jean"), TypicalMember("2", "MARTIN", "Anne")});
    m_before = testing::ReadFile(MemberFilePath(m_folder.exerciseFolder()));
  }
  std::string memberFile() const {
    return testing::ReadFile(MemberFilePath(m_folder.exerciseFolder()));
  }

  testing::ProgramFolder m_folder;
  std::string m_before;
};

TEST_F(ImportExtractionTest, StoppedImportLeavesTheFileByteIdentical) {
  struct Case {
    const char* what;
    Lines players;
  };
  const Case cases[] = {
      {"licence not a number on the second line",
       {TypicalPlayer("3", "Petit", "Luc"), TypicalPlayer("12X", "Roux", "Eve")}},
      {"new player with a birth date that cannot be read",
       {TypicalPlayer("3", "Petit", "Luc"), Player({{0, "4"}, {2, "Roux"}, {4, "1958-13-45"}})}},
  };
  for (const Case& c : cases) {
    EXPECT_THROW(
        ImportExtraction(m_folder.exerciseFolder(), c.players,
                         Options(MergeChoice::kAlways, MergeChoice::kAlways), NoQuestion(), false),
        Error)
        << c.what;
    EXPECT_EQ(m_before, memberFile()) << c.what;
  }
}

// A spreadsheet saved the extraction again (33 ";" for an empty row) and the member file
// ends with an empty line: both are blank, and the import runs.
TEST_F(ImportExtractionTest, SeparatorLinesAndAnEmptyMemberRecordAreSkipped) {
  const fs::path file = MemberFilePath(m_folder.exerciseFolder());
  testing::WriteFile(file, m_before + "\r\n");
  ASSERT_EQ(3u, ReadMemberFile(m_folder.exerciseFolder()).size());
  const fs::path csv = m_folder.path() / "ffb.csv";
  testing::WriteFile(csv, std::string(kHeader) + "\r\n" + TypicalPlayer("3", "Petit", "Luc") +
                              "\r\n" + std::string(33, ';') + "\r\n" +
                              TypicalPlayer("1", "Dupont", "Jean") + "\r\n" + std::string(33, ';') +
                              "\r\n");
  const Extraction extraction = ReadExtraction(csv);
  ASSERT_EQ(2, ExtractionCount(extraction));
  const ImportOptions options = Options(MergeChoice::kAlways, MergeChoice::kAlways);
  EXPECT_EQ((ImportCounts{1, 0, 1, 0}),
            ImportExtraction(m_folder.exerciseFolder(), extraction.players, options, NoQuestion(),
                             false));
  const Lines after = ReadMemberFile(m_folder.exerciseFolder());
  ASSERT_EQ(3u, after.size());
  EXPECT_EQ("DUPONT", FieldAt(after[0], field::kLastName));
  EXPECT_EQ("MARTIN", FieldAt(after[1], field::kLastName));
  EXPECT_EQ("PETIT", FieldAt(after[2], field::kLastName));
}

TEST_F(ImportExtractionTest, WritesOnceAndTheTrialRunWritesNothing) {
  const Lines players = {TypicalPlayer("3", "Petit", "Luc"), TypicalPlayer("1", "Dupont", "Jean")};
  const ImportOptions options = Options(MergeChoice::kAlways, MergeChoice::kAlways);
  EXPECT_EQ((ImportCounts{1, 0, 1, 0}),
            ImportExtraction(m_folder.exerciseFolder(), players, options, NoQuestion(), true));
  EXPECT_EQ(m_before, memberFile());
  EXPECT_EQ((ImportCounts{1, 0, 1, 0}),
            ImportExtraction(m_folder.exerciseFolder(), players, options, NoQuestion(), false));
  const Lines after = ReadMemberFile(m_folder.exerciseFolder());
  ASSERT_EQ(3u, after.size());
  EXPECT_EQ("PETIT", FieldAt(after[2], field::kLastName));
}

}  // namespace
}  // namespace vantrel::members
