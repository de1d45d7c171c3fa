#include "members/member_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/text_helpers.h"
#include "support/temp_folder.h"

namespace vantrel::members {
namespace {

Date Day(int day, int month, int year) { return *Date::FromYmd(year, month, day); }

// A member line with a licence, a last name and a first name, the other fields empty.
std::string Member(const std::string& licence, const std::string& name,
                   const std::string& firstName) {
  MemberRecord record;
  record.set(field::kLicence, licence);
  record.set(field::kLastName, name);
  record.set(field::kFirstName, firstName);
  return record.ToLine();
}

std::string Describe(const Lines& lines) {
  std::string text;
  for (const auto& line : lines) {
    text += "[" + FieldAt(line, 0) + " " + FieldAt(line, 2) + " " + FieldAt(line, 3) + "] ";
  }
  return text;
}

// The exchange sort written out literally, as the reference for the fast one.
int ReferenceSort(Lines& members, int keyField, SortVariant variant, int current) {
  for (std::size_t i = 0; i < members.size(); ++i) {
    for (std::size_t j = i + 1; j < members.size(); ++j) {
      const std::string keyI = ExtractField(members[i], keyField);
      const std::string keyJ = ExtractField(members[j], keyField);
      bool exchange = keyI > keyJ;
      if (keyI == keyJ && variant != SortVariant::kMemberCard) {
        exchange = ExtractField(members[i], field::kFirstName) >
                   ExtractField(members[j], field::kFirstName);
      }
      if (!exchange) continue;
      std::swap(members[i], members[j]);
      if (current == static_cast<int>(i)) {
        current = static_cast<int>(j);
      } else if (current == static_cast<int>(j)) {
        current = static_cast<int>(i);
      }
    }
  }
  return current;
}

struct SortCase {
  const char* name;
  Lines input;
  int keyField;
  SortVariant variant;
  int current;
  Lines expected;
  int expectedCurrent;
};

TEST(SortMembersTest, FollowsTheExchangeSortOnEqualNames) {
  const std::string albert = Member("3", "ALBERT", "Paul");
  const std::string anne = Member("1", "DUPONT", "Anne");
  const std::string jean = Member("2", "DUPONT", "Jean");
  const SortCase cases[] = {
      // The card does not break ties: moving ALBERT to the front carries Anne behind Jean.
      {"card swaps equal names",
       {anne, jean, albert},
       field::kLastName,
       SortVariant::kMemberCard,
       0,
       {albert, jean, anne},
       2},
      {"card keeps already sorted equals",
       {albert, anne, jean},
       field::kLastName,
       SortVariant::kMemberCard,
       1,
       {albert, anne, jean},
       1},
      {"consultation breaks ties on first name",
       {anne, jean, albert},
       field::kLastName,
       SortVariant::kConsultation,
       0,
       {albert, anne, jean},
       1},
      {"import breaks ties on first name",
       {jean, anne, albert},
       field::kLastName,
       SortVariant::kImport,
       -1,
       {albert, anne, jean},
       -1},
      {"card on licence",
       {albert, jean, anne},
       field::kLicence,
       SortVariant::kMemberCard,
       2,
       {anne, jean, albert},
       0},
  };
  for (const auto& c : cases) {
    Lines members = c.input;
    const int current = SortMembers(members, c.keyField, c.variant, c.current);
    EXPECT_EQ(Describe(c.expected), Describe(members)) << c.name;
    EXPECT_EQ(c.expectedCurrent, current) << c.name;
  }
}

TEST(SortMembersTest, ComparesWindows1252BytesWithPrefixesFirst) {
  Lines members = {Member("1", "alain", ""),    Member("2", "\xc9MILE", ""),
                   Member("3", "DUPONTEL", ""), Member("4", "Zo\xe9", ""),
                   Member("5", "DUPONT", ""),   Member("6", "", ""),
                   Member("7", "zo", "")};
  SortMembers(members, field::kLastName, SortVariant::kMemberCard);
  Lines names;
  for (const auto& line : members) names.push_back(FieldAt(line, field::kLastName));
  EXPECT_EQ((Lines{"", "DUPONT", "DUPONTEL", "Zo\xe9", "alain", "zo", "\xc9MILE"}), names);
}

TEST(SortMembersTest, LicencesSortAsTextNotNumbers) {
  Lines members = {Member("9", "A", ""), Member("00000010", "B", ""), Member("10", "C", "")};
  SortMembers(members, field::kLicence, SortVariant::kConsultation);
  EXPECT_EQ(Describe({Member("00000010", "B", ""), Member("10", "C", ""), Member("9", "A", "")}),
            Describe(members));
}

TEST(SortMembersTest, ShortAndEmptyListsAreLeftAlone) {
  Lines none;
  EXPECT_EQ(-1, SortMembers(none, field::kLastName, SortVariant::kMemberCard));
  EXPECT_EQ(Lines{}, none);
  Lines one = {"only"};
  EXPECT_EQ(0, SortMembers(one, field::kLastName, SortVariant::kMemberCard, 0));
  EXPECT_EQ(Lines{"only"}, one);
}

// Records cut short, names made of few letters so that many are equal, every variant and key:
// the result and the followed record must be exactly those of the literal procedure.
TEST(SortMembersTest, MatchesTheLiteralExchangeSortOnRandomFiles) {
  std::mt19937 random(20260704);
  const std::vector<std::string> names = {"", "A", "AB", "B", "b", "\xc9", "AB"};
  const std::vector<std::string> firsts = {"", "x", "y", "X"};
  for (int round = 0; round < 400; ++round) {
    // Every fourth file is longer and uses only two or three names, so that groups of equal
    // names meet many smaller and larger records.
    const bool longFile = round % 4 == 3;
    const int size = static_cast<int>(longFile ? 60 + random() % 140 : random() % 40);
    const std::size_t nameCount = longFile ? 2 + round % 2 : names.size();
    Lines input;
    for (int i = 0; i < size; ++i) {
      const std::string licence = std::to_string(random() % 6);
      const std::string name = names[random() % nameCount];
      const std::string first = firsts[random() % firsts.size()];
      input.push_back(random() % 5 == 0 ? licence + ";x;" + name : Member(licence, name, first));
    }
    for (SortVariant variant :
         {SortVariant::kMemberCard, SortVariant::kConsultation, SortVariant::kImport}) {
      for (int key : {field::kLicence, field::kLastName}) {
        const int current = size == 0 ? -1 : static_cast<int>(random() % size);
        Lines expected = input;
        const int expectedCurrent = ReferenceSort(expected, key, variant, current);
        Lines actual = input;
        const int actualCurrent = SortMembers(actual, key, variant, current);
        ASSERT_EQ(expected, actual)
            << "round " << round << " key " << key << " input " << Describe(input);
        ASSERT_EQ(expectedCurrent, actualCurrent) << "round " << round;
      }
    }
  }
}

struct AgeCase {
  std::string birth;
  Date today;
  std::string expected;
};

TEST(MemberAgeTest, RoundsDaysOverYearsToTheNearest) {
  const AgeCase cases[] = {
      {"01/01/2000", Day(1, 7, 2019), "19"},  // 7121 days: 19.496
      {"01/01/2000", Day(3, 7, 2019), "20"},  // 7123 days: 19.502
      {"1/1/2000", Day(1, 1, 2000), "0"},    {"21/06/1958", Day(9, 12, 2026), "68"},
      {"01/01/2030", Day(1, 1, 2020), "10"},  // a birth date after today counts without sign
      {"29/02/2004", Day(28, 2, 2005), "1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, MemberAge(c.birth, c.today)) << c.birth << " on " << FormatDate(c.today);
  }
}

TEST(MemberAgeTest, RejectsWhatIsNoDate) {
  for (const std::string birth : {"", "31/02/2000", "01-01-2000", "abc"}) {
    try {
      MemberAge(birth, Day(1, 1, 2020));
      ADD_FAILURE() << "no error for '" << birth << "'";
    } catch (const Error& error) {
      EXPECT_EQ("'" + birth + "' n'est pas une date correcte", std::string(error.what()));
    }
  }
}

TEST(NewMemberLineTest, IsTheCardRecordWithoutFieldSixtyNine) {
  const std::string line = NewMemberLine(Day(5, 3, 2026));
  EXPECT_EQ(
      ";;;;20;;   ;;;;;;;;;01/01/2000;;0;05/03/2026;libre;"
      ";;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;",
      line);
  EXPECT_EQ(69, std::count(line.begin(), line.end(), ';'));
  EXPECT_EQ("OUI", ExtractField(line, field::kMailConvocations));
  EXPECT_EQ("OUI", MemberRecord::FromLine(line).mailConvocations());
  EXPECT_EQ("F", ExtractField(line, PaymentField(3, LinePart::kMark)));
}

TEST(ImportedMemberLineTest, AddsAgeMarksAndConvocations) {
  const std::vector<std::string> federation = {"1234567",
                                               "Mme",
                                               "L\xc9GER",
                                               "L\xe9"
                                               "a",
                                               "12",
                                               "CLUB; DU PORT",
                                               "1 rue Basse",
                                               "",
                                               "",
                                               "75001",
                                               "PARIS",
                                               "01 02 03 04 05",
                                               "",
                                               "06 07 08 09 10",
                                               "lea@example.fr",
                                               "01/01/2000",
                                               "Licence Senior"};
  const std::string line = ImportedMemberLine(federation, Day(3, 7, 2019));
  EXPECT_EQ(
      "1234567;Mme;L\xc9GER;L\xe9"
      "a;12;CLUB, DU PORT;1 rue Basse;;;75001;PARIS;01 02 03 04 05;;"
      "06 07 08 09 10;lea@example.fr;01/01/2000;Licence Senior;20;01/01/1900;libre;"
      ";;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;;;F;;OUI;",
      line);
  EXPECT_EQ(70, std::count(line.begin(), line.end(), ';'));
}

TEST(ImportedMemberLineTest, MissingFederationFieldsReadEmptyButTheBirthDateMustBeThere) {
  std::vector<std::string> federation(16);
  federation[field::kLastName] = "MARTIN";
  federation[field::kBirthDate] = "15/08/1950";
  const MemberRecord record =
      MemberRecord::FromLine(ImportedMemberLine(federation, Day(15, 8, 2026)));
  EXPECT_EQ("", record.get(field::kLicenceKind));
  EXPECT_EQ("76", record.get(field::kAge));
  EXPECT_THROW(ImportedMemberLine({"1", "M.", "X"}, Day(1, 1, 2020)), Error);
}

TEST(MemberRecordTest, ReadsShortLinesAndWritesSeventyClosedFields) {
  const MemberRecord record = MemberRecord::FromLine("00000001;M.;DUPONT");
  EXPECT_EQ("DUPONT", record.lastName());
  EXPECT_EQ("", record.firstName());
  EXPECT_EQ("OUI", record.mailConvocations());
  EXPECT_EQ("00000001;M.;DUPONT;" + std::string(67, ';'), record.ToLine());
}

TEST(MemberRecordTest, ConvocationChoiceReadsOuiUnlessStored) {
  const std::string upTo68(69, ';');
  const std::pair<std::string, std::string> cases[] = {
      {upTo68, "OUI"}, {upTo68 + ";", "OUI"}, {upTo68 + "NON;", "NON"}, {upTo68 + "OUI;", "OUI"}};
  for (const auto& [line, expected] : cases) {
    EXPECT_EQ(expected, MemberRecord::FromLine(line).mailConvocations()) << line;
    EXPECT_EQ(expected, ExtractField(line, field::kMailConvocations)) << line;
  }
}

TEST(MemberRecordTest, DuesAndPaymentLinesSitAtTheirFields) {
  MemberRecord record;
  record.setDuesLine(0, {"7560", "Cotisations", "4000", "V"});
  record.setDuesLine(7, {"7561", "Licences", "", "F"});
  record.setPaymentLine(0, {"5120", "Banque", "4000", "V"});
  record.setPaymentLine(3, {"5300", "Caisse", "-500", "F"});
  record.set(field::kBalance, "0");
  const std::string line = record.ToLine();
  EXPECT_EQ((std::vector<std::string>{"7560", "Cotisations", "4000", "V"}),
            (std::vector<std::string>{FieldAt(line, 20), FieldAt(line, 21), FieldAt(line, 22),
                                      FieldAt(line, 23)}));
  EXPECT_EQ("7561", FieldAt(line, 48));
  EXPECT_EQ("F", FieldAt(line, 51));
  EXPECT_EQ("5120", FieldAt(line, 52));
  EXPECT_EQ("5300", FieldAt(line, 64));
  EXPECT_EQ("-500", FieldAt(line, 66));
  EXPECT_EQ("0", FieldAt(line, 68));
  const MemberRecord back = MemberRecord::FromLine(line);
  EXPECT_EQ((AccountLine{"5300", "Caisse", "-500", "F"}), back.paymentLine(3));
  EXPECT_TRUE(back.duesLine(0).posted());
  EXPECT_EQ((AccountLine{"", "", "", ""}), back.duesLine(3));
}

TEST(MemberRecordTest, CleansSeparatorsOutOfFields) {
  MemberRecord record;
  record.set(field::kAddress1, "Bat. A; 2\r\ne \xe9tage");
  const std::string line = record.ToLine();
  EXPECT_EQ(70, std::count(line.begin(), line.end(), ';'));
  EXPECT_EQ("Bat. A, 2  e \xe9tage", FieldAt(line, field::kAddress1));
}

class MemberFileTest : public ::testing::Test {
 protected:
  testing::ProgramFolder m_program;
};

TEST_F(MemberFileTest, WritesAndReadsTheFileUnderAnyLetterCase) {
  const auto folder = m_program.exerciseFolder();
  testing::WriteFile(folder / "joueur.dbp", "old;\r\n");
  const Lines members = {Member("1", "DUPONT", "Jean"), NewMemberLine(Day(1, 9, 2026))};
  WriteMemberFile(folder, members);
  EXPECT_EQ(folder / "joueur.dbp", MemberFilePath(folder));
  EXPECT_EQ(members[0] + "\r\n" + members[1] + "\r\n", testing::ReadFile(folder / "joueur.dbp"));
  EXPECT_EQ(members, ReadMemberFile(folder));
  EXPECT_EQ(std::vector<std::string>{"joueur.dbp"}, testing::NamesIn(folder));
}

TEST_F(MemberFileTest, EmptyFileHasNoMemberAndMissingFileFails) {
  const auto folder = m_program.exerciseFolder();
  testing::WriteFile(folder / "Joueur.DBP", "");
  EXPECT_EQ(Lines{}, ReadMemberFile(folder));
  std::filesystem::remove(folder / "Joueur.DBP");
  try {
    ReadMemberFile(folder);
    ADD_FAILURE() << "a missing member file was read";
  } catch (const Error& error) {
    EXPECT_EQ("Impossible d'ouvrir le fichier " + (folder / "Joueur.DBP").string(),
              std::string(error.what()));
  }
}

TEST(ResetMemberFileTest, EmptiesTheFileAndKeepsTheOldOneBesideIt) {
  testing::TempFolder folder;
  const auto exercise = folder.path() / "2026-2027";
  testing::WriteFile(exercise / "joueur.dbp",
                     "00000001;M.;L\xc9"
                     "CUYER;Beno\xeet;\r\n");
  testing::WriteFile(exercise / "Joueur.DBP.bak", "an older copy\r\n");
  ResetMemberFile(exercise);
  EXPECT_EQ("", testing::ReadFile(exercise / "joueur.dbp"));  // its own letter case
  EXPECT_EQ((std::vector<std::string>{"Joueur.DBP.bak", "joueur.dbp"}),
            testing::NamesIn(exercise));
  EXPECT_EQ(
      "00000001;M.;L\xc9"
      "CUYER;Beno\xeet;\r\n",
      testing::ReadFile(exercise / "Joueur.DBP.bak"));
  // A second reset in a row finds an empty file: the copy keeps the last members.
  ResetMemberFile(exercise);
  EXPECT_EQ("", testing::ReadFile(exercise / "joueur.dbp"));
  EXPECT_EQ(
      "00000001;M.;L\xc9"
      "CUYER;Beno\xeet;\r\n",
      testing::ReadFile(exercise / "Joueur.DBP.bak"));
  // Blank lines are no member either; members typed since replace the copy again.
  testing::WriteFile(exercise / "joueur.dbp", "\r\n  \r\n");
  ResetMemberFile(exercise);
  EXPECT_EQ(
      "00000001;M.;L\xc9"
      "CUYER;Beno\xeet;\r\n",
      testing::ReadFile(exercise / "Joueur.DBP.bak"));
  testing::WriteFile(exercise / "joueur.dbp",
                     "00000002;Mme;NO\xcbL;Ma\xef"
                     "a;\r\n");
  ResetMemberFile(exercise);
  EXPECT_EQ(
      "00000002;Mme;NO\xcbL;Ma\xef"
      "a;\r\n",
      testing::ReadFile(exercise / "Joueur.DBP.bak"));
}

TEST(ResetMemberFileTest, WithoutMemberFileWritesAnEmptyOneAndNoCopy) {
  testing::TempFolder folder;
  std::filesystem::create_directories(folder.path() / "2026-2027");
  ResetMemberFile(folder.path() / "2026-2027");
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "2026-2027" / "Joueur.DBP"));
  EXPECT_EQ("", testing::ReadFile(folder.path() / "2026-2027" / "Joueur.DBP"));
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "2026-2027" / "Joueur.DBP.bak"));
}

}  // namespace
}  // namespace vantrel::members
