#include "members/member_card.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/record_file.h"
#include "core/text_helpers.h"
#include "support/temp_folder.h"

namespace vantrel::members {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::WriteFile;

// Not a constant: dates are made at run time, after every static table.
Date Today() { return *Date::FromYmd(2026, 12, 9); }

// A member line with its licence, names and birth date; other fields empty, lines "F".
std::string Member(const std::string& licence, const std::string& last,
                   const std::string& first = "Jean") {
  MemberRecord record;
  record.set(field::kLicence, licence);
  record.set(field::kTitle, "M.");
  record.set(field::kLastName, last);
  record.set(field::kFirstName, first);
  record.set(field::kBirthDate, "21/06/1958");
  for (int i = 0; i < kDuesLineCount; ++i) record.setDuesLine(i, {});
  for (int i = 0; i < kPaymentLineCount; ++i) record.setPaymentLine(i, {});
  record.set(field::kMailConvocations, "NON");
  return record.ToLine();
}

class MemberCardTest : public ::testing::Test {
 protected:
  fs::path folder() const { return m_program.exerciseFolder(); }
  void writeMembers(const Lines& lines) {
    WriteFile(folder() / "Joueur.DBP", testing::CrLfBytes(lines));
  }
  Lines stored() const { return ReadLines(folder() / "Joueur.DBP"); }
  // The boxes showing the current member, as the screen fills them.
  CardFields boxes() const { return m_card.currentRecord(); }

  testing::ProgramFolder m_program;
  MemberCard m_card;
};

TEST_F(MemberCardTest, SaveNormalisesLicencePostalCodeIndexAndAge) {
  struct Case {
    std::string licence, postal, index, birth;
    std::string wantLicence, wantPostal, wantIndex, wantAge;
  };
  const Case cases[] = {
      {"12345", "2000", "0", "01/01/2000", "00012345", "02000", "1", "27"},
      {"", "", "", "01/07/2000", "00000000", "00000", "1", "26"},
      {"0012 345 678", "75 001", "012", "21/06/1958", "12345678", "75001", "12", "68"},
      {"12345678901", "123456", "abc", "01/01/2000", "12345678901", "123456", "1", "27"},
      {"Lic. 7", "F-31000", "00", "5/3/2015", "00000007", "31000", "1", "12"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.licence + " / " + c.postal + " / " + c.index);
    writeMembers({Member("1", "DUPONT")});
    m_card.load(folder());
    CardFields edited = boxes();
    edited.set(field::kLicence, c.licence);
    edited.set(field::kPostalCode, c.postal);
    edited.set(field::kValueIndex, c.index);
    edited.set(field::kBirthDate, c.birth);
    m_card.save(folder(), edited, Today());
    const MemberRecord saved = MemberRecord::FromLine(stored().at(0));
    EXPECT_EQ(c.wantLicence, saved.licence());
    EXPECT_EQ(c.wantPostal, saved.get(field::kPostalCode));
    EXPECT_EQ(c.wantIndex, saved.get(field::kValueIndex));
    EXPECT_EQ(c.wantAge, saved.get(field::kAge));
    EXPECT_EQ(c.birth, saved.get(field::kBirthDate));
  }
}

TEST_F(MemberCardTest, NewRecordSavedAtOnceGetsEveryDefault) {
  writeMembers({});
  m_card.load(folder());
  EXPECT_EQ(-1, m_card.current());
  m_card.add(Today());
  EXPECT_EQ(0, m_card.current());
  CardFields edited = boxes();
  edited.set(field::kMailConvocations, "OUI");  // what the convocation box shows
  m_card.save(folder(), edited, Today());
  const std::string expected = "00000000;;;;20;;   ;;;00000;;;;;;01/01/2000;;27;09/12/2026;;" + [] {
    std::string lines;
    for (int i = 0; i < 12; ++i) lines += ";;;F;";
    return lines;
  }() + ";OUI;";
  EXPECT_EQ(expected + "\r\n", ReadFile(folder() / "Joueur.DBP"));
}

TEST_F(MemberCardTest, BadBirthDateStopsTheSaveBeforeAnythingChanges) {
  writeMembers({Member("1", "DUPONT")});
  const std::string before = ReadFile(folder() / "Joueur.DBP");
  m_card.load(folder());
  CardFields edited = boxes();
  edited.set(field::kBirthDate, "31/02/2000");
  edited.set(field::kLastName, "ZORRO");
  try {
    m_card.save(folder(), edited, Today());
    FAIL() << "saved";
  } catch (const Error& error) {
    EXPECT_EQ(std::string("'31/02/2000' n'est pas une date correcte"), error.what());
  }
  EXPECT_EQ(before, ReadFile(folder() / "Joueur.DBP"));
  EXPECT_EQ("DUPONT", m_card.currentRecord().lastName());
}

TEST_F(MemberCardTest, SaveSortsOnTheNameAndFollowsTheMember) {
  writeMembers({Member("1", "BERNARD"), Member("2", "DURAND"), Member("3", "MARTIN")});
  m_card.load(folder());
  m_card.first();
  CardFields edited = boxes();
  edited.set(field::kLastName, "ZOLA");
  m_card.save(folder(), edited, Today());
  EXPECT_EQ(2, m_card.current());
  EXPECT_EQ("ZOLA", m_card.currentRecord().lastName());
  const Lines lines = stored();
  ASSERT_EQ(3u, lines.size());
  EXPECT_EQ("DURAND", FieldAt(lines[0], 2));
  EXPECT_EQ("MARTIN", FieldAt(lines[1], 2));
  EXPECT_EQ("ZOLA", FieldAt(lines[2], 2));
}

TEST_F(MemberCardTest, SearchByLicenceFindsTheLastAtOrBelow) {
  struct Case {
    std::string typed;
    std::string wantLicence;  // of the member shown afterwards
  };
  const Case cases[] = {
      {"10050", "00010040"},    {"10040", "00010040"}, {"10060", "00010060"},
      {"99999999", "00010060"}, {"5", "00010060"},  // none: the current member stays
      {" 10000", "00010000"},
  };
  writeMembers(
      {Member("00010060", "AUBERT"), Member("00010000", "BLANC"), Member("00010040", "CARON")});
  m_card.load(folder());
  m_card.sortFor(field::kLicence);
  EXPECT_EQ(0, m_card.sortField());
  EXPECT_EQ("00010060", m_card.currentRecord().licence());  // followed through the sort
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    m_card.searchLicence(c.typed);
    EXPECT_EQ(c.wantLicence, m_card.currentRecord().licence());
  }
}

TEST_F(MemberCardTest, SearchByLicenceRefusesTextThatIsNoWholeNumber) {
  writeMembers({Member("00010000", "AUBERT"), Member("00010040", "BLANC")});
  m_card.load(folder());
  m_card.sortFor(field::kLicence);
  m_card.last();
  for (const std::string typed : {"", "12a", "1,5", "99999999999"}) {
    SCOPED_TRACE(typed);
    try {
      m_card.searchLicence(typed);
      ADD_FAILURE() << "searched";
    } catch (const Error& error) {
      EXPECT_EQ("'" + typed + "' n'est pas une valeur enti\xe8re correcte", error.what());
    }
    EXPECT_EQ(1, m_card.current());
  }
}

TEST_F(MemberCardTest, SearchByLicencePassesOverStoredLicencesThatAreNoNumber) {
  // An imported member may hold a licence that is no number: it cannot match, and the
  // search still finds the others.
  writeMembers({Member("00010000", "AUBERT"), Member("ABC", "BLANC"), Member("00010060", "CARON"),
                Member("", "DUPUIS")});
  m_card.load(folder());
  m_card.sortFor(field::kLicence);
  m_card.searchLicence("10050");
  EXPECT_EQ("00010000", m_card.currentRecord().licence());
  m_card.searchLicence("20000");
  EXPECT_EQ("00010060", m_card.currentRecord().licence());
}

TEST_F(MemberCardTest, SearchByNameRaisesTheTextAndComparesBytes) {
  struct Case {
    std::string typed;
    std::string wantName;
  };
  writeMembers({Member("1", "BERNARD"), Member("2", "DUBOIS"), Member("3", "DUPONT"),
                Member("4",
                       "L\xc9"
                       "CUYER"),
                Member("5",
                       "L\xe9"
                       "ger")});
  const Case cases[] = {
      {"du", "DUBOIS"},
      {"dup", "DUPONT"},
      {"l\xe9",
       "L\xc9"
       "CUYER"},  // é typed is raised to É
      {"zz",
       "L\xc9"
       "CUYER"},  // no match: stays
      {"L\xe9"
       "g",
       "L\xc9"
       "CUYER"},  // a small accented letter stored is never found
      {"", "BERNARD"},
  };
  m_card.load(folder());
  m_card.sortFor(field::kLicence);
  m_card.sortFor(field::kLastName);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    m_card.searchName(c.typed);
    EXPECT_EQ(c.wantName, m_card.currentRecord().lastName());
  }
}

TEST_F(MemberCardTest, DeletingTheLastMemberShowsTheOneBefore) {
  writeMembers({Member("1", "AUBERT"), Member("2", "BLANC"), Member("3", "CARON")});
  m_card.load(folder());
  m_card.last();
  m_card.remove(folder());
  EXPECT_EQ(1, m_card.current());
  EXPECT_EQ("BLANC", m_card.currentRecord().lastName());
  EXPECT_EQ((Lines{Member("1", "AUBERT"), Member("2", "BLANC")}), stored());

  m_card.first();
  m_card.remove(folder());
  EXPECT_EQ("BLANC", m_card.currentRecord().lastName());
  m_card.remove(folder());
  EXPECT_EQ(-1, m_card.current());
  EXPECT_TRUE(m_card.empty());
  EXPECT_EQ(std::string(), ReadFile(folder() / "Joueur.DBP"));
}

TEST_F(MemberCardTest, BrowsingStopsAtBothEnds) {
  writeMembers({Member("1", "AUBERT"), Member("2", "BLANC")});
  m_card.load(folder());
  EXPECT_FALSE(m_card.canGoBack());
  EXPECT_TRUE(m_card.canGoForward());
  m_card.previous();
  EXPECT_EQ(0, m_card.current());
  m_card.next();
  m_card.next();
  EXPECT_EQ(1, m_card.current());
  EXPECT_FALSE(m_card.canGoForward());
  EXPECT_TRUE(m_card.canGoBack());
}

TEST_F(MemberCardTest, PickListsIgnorePostedRowsAndPresetAmounts) {
  MemberRecord record = MemberRecord::FromLine(Member("1", "AUBERT"));
  record.setDuesLine(0, {"7560", "Cotisations", "4000", "V"});
  record.setPaymentLine(0, {"5120", "Banque", "4000", "V"});
  record.set(field::kBalance, "0");
  writeMembers({record.ToLine()});
  m_card.load(folder());

  const CardRow postedDues{CardRow::Kind::kDues, 0};
  const CardRow postedPayment{CardRow::Kind::kPayment, 0};
  const CardRow dues{CardRow::Kind::kDues, 1};
  const CardRow payment{CardRow::Kind::kPayment, 1};
  EXPECT_FALSE(m_card.target(postedDues));
  EXPECT_FALSE(m_card.target(postedPayment));
  EXPECT_FALSE(m_card.pickTarget().has_value());

  const Lines duesList = {"7560;Cotisations des membres;4000", "7561;Licences;3200;"};
  const Lines paymentList = {"5120;Banque;", "5300;Caisse;"};
  ASSERT_TRUE(m_card.target(dues));
  EXPECT_EQ(std::optional<std::string>("3200"), m_card.choose(duesList, 2));
  EXPECT_EQ((AccountLine{"7561", "Licences", "", "F"}), m_card.line(dues));
  m_card.confirmAmount("3 200 F");
  EXPECT_EQ("3200", m_card.line(dues).amount);
  EXPECT_EQ("-3200", m_card.balance());

  ASSERT_TRUE(m_card.target(payment));
  EXPECT_EQ(std::optional<std::string>("3200"), m_card.choose(paymentList, 2));
  m_card.confirmAmount("3000");
  EXPECT_EQ("-200", m_card.balance());

  // The blank row empties the target and computes the balance again.
  ASSERT_TRUE(m_card.target(payment));
  EXPECT_EQ(std::nullopt, m_card.choose(paymentList, 0));
  EXPECT_EQ((AccountLine{"", "", "", "F"}), m_card.line(payment));
  EXPECT_EQ("-3200", m_card.balance());
  // The posted lines never changed.
  EXPECT_EQ((AccountLine{"7560", "Cotisations", "4000", "V"}), m_card.line(postedDues));
}

TEST_F(MemberCardTest, ThreeUnpostedLinesMakeOneEntryOfThreeGroups) {
  MemberRecord record = MemberRecord::FromLine(Member("1", "AUBERT", "Beno\xeet"));
  record.setDuesLine(0, {"7560", "Cotisations", "1000", "F"});
  record.setDuesLine(1, {"7561", "Licences", "4000", "V"});
  record.setDuesLine(3, {"7562", "Jeunes", "1000", "F"});
  record.setPaymentLine(2, {"5120", "Banque", "2000", "F"});
  writeMembers({record.ToLine()});
  m_card.load(folder());
  EXPECT_EQ(PostingRefusal::kNone, m_card.postingRefusal());
  const DuesEntry entry = m_card.duesEntry(boxes(), Today());
  EXPECT_EQ("09/12/2026", entry.date);
  EXPECT_EQ("Payement de M. AUBERT Beno\xeet", entry.label);
  using G = std::array<std::string, 4>;
  EXPECT_EQ((std::vector<G>{G{"7560", "Cotisations", "", "1000"}, G{"7562", "Jeunes", "", "1000"},
                            G{"5120", "Banque", "2000", ""}}),
            entry.groups);
}

TEST_F(MemberCardTest, PostingRefusesOneLineAndMoreThanFive) {
  struct Case {
    int dues;
    int payments;
    PostingRefusal want;
  };
  const Case cases[] = {
      {0, 0, PostingRefusal::kNothingToPost}, {1, 0, PostingRefusal::kSingleLine},
      {0, 1, PostingRefusal::kSingleLine},    {1, 1, PostingRefusal::kNone},
      {4, 1, PostingRefusal::kNone},          {5, 1, PostingRefusal::kTooManyLines},
      {8, 4, PostingRefusal::kTooManyLines}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.dues) + " dues, " + std::to_string(c.payments) + " payments");
    MemberRecord record = MemberRecord::FromLine(Member("1", "AUBERT"));
    for (int i = 0; i < c.dues; ++i) record.setDuesLine(i, {"7560", "C", "100", "F"});
    for (int i = 0; i < c.payments; ++i) record.setPaymentLine(i, {"5120", "B", "100", "F"});
    writeMembers({record.ToLine()});
    m_card.load(folder());
    EXPECT_EQ(c.want, m_card.postingRefusal());
  }
}

TEST_F(MemberCardTest, ShowCentsKeepsTextThatIsNoNumber) {
  EXPECT_EQ("25,00", ShowCents("2500"));
  EXPECT_EQ("-50,00", ShowCents("-5000"));
  EXPECT_EQ("", ShowCents(""));
  EXPECT_EQ("12,5", ShowCents("12,5"));
}

}  // namespace
}  // namespace vantrel::members
