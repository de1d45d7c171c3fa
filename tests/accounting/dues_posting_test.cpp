#include "accounting/dues_posting.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/record_file.h"
#include "support/temp_folder.h"

namespace vantrel::accounting {
namespace {

namespace fs = std::filesystem;
using members::AccountLine;
using members::MemberRecord;
using members::PostingRefusal;
using testing::ReadFile;
using testing::WriteFile;

// Not a constant: dates are made at run time, after every static table.
Date Today() { return *Date::FromYmd(2026, 12, 9); }

class DuesPostingTest : public ::testing::Test {
 protected:
  fs::path folder() const { return m_program.exerciseFolder(); }
  // One member, DUPONT Jean, with the given lines.
  void writeMember(const std::vector<AccountLine>& dues, const std::vector<AccountLine>& payments,
                   const std::string& birth = "21/06/1958") {
    MemberRecord record;
    record.set(members::field::kLicence, "00123456");
    record.set(members::field::kTitle, "M.");
    record.set(members::field::kLastName, "DUPONT");
    record.set(members::field::kFirstName, "Jean");
    record.set(members::field::kBirthDate, birth);
    for (int i = 0; i < members::kDuesLineCount; ++i) {
      record.setDuesLine(i, i < static_cast<int>(dues.size()) ? dues[i] : AccountLine{});
    }
    for (int i = 0; i < members::kPaymentLineCount; ++i) {
      record.setPaymentLine(i, i < static_cast<int>(payments.size()) ? payments[i] : AccountLine{});
    }
    record.set(members::field::kBalance, "0");
    record.set(members::field::kMailConvocations, "OUI");
    WriteFile(folder() / "Joueur.DBP", record.ToLine() + "\r\n");
    m_card.load(folder());
    m_boxes = m_card.currentRecord();
  }
  MemberRecord stored() const {
    return MemberRecord::FromLine(ReadLines(folder() / "Joueur.DBP").at(0));
  }

  testing::ProgramFolder m_program;
  members::MemberCard m_card;
  members::CardFields m_boxes;
};

TEST_F(DuesPostingTest, PostsTwoLinesAsOneEntryAndMarksThemInTheSameChange) {
  writeMember({{"7560", "Cotisations", "2500", "F"}}, {{"5120", "Banque", "2500", "F"}});
  EXPECT_EQ(PostingRefusal::kNone, PostMemberDues(folder(), m_card, m_boxes, Today()));
  EXPECT_EQ(
      "09/12/2026;Payement de M. DUPONT Jean;7560;Cotisations;;2500;5120;Banque;2500;;;;;;;;;;;;;;"
      "\r\n",
      ReadFile(folder() / "Journal.dbp"));
  EXPECT_EQ("1;09/12/2026;Payement de M. DUPONT Jean;;2500;;2500;-2500;\r\n",
            ReadFile(folder() / "7560.dbp"));
  EXPECT_EQ("1;09/12/2026;Payement de M. DUPONT Jean;2500;;2500;;2500;\r\n",
            ReadFile(folder() / "5120.dbp"));
  const MemberRecord saved = stored();
  EXPECT_EQ((AccountLine{"7560", "Cotisations", "2500", "V"}), saved.duesLine(0));
  EXPECT_EQ((AccountLine{"5120", "Banque", "2500", "V"}), saved.paymentLine(0));
  EXPECT_EQ("09/12/2026", saved.get(members::field::kLastDuesPosting));
  EXPECT_EQ("09/12/2026", m_boxes.get(members::field::kLastDuesPosting));
  EXPECT_TRUE(m_card.line({members::CardRow::Kind::kDues, 0}).posted());
}

TEST_F(DuesPostingTest, OneLineAtZeroBalanceIsNeitherPostedNorMarked) {
  writeMember({{"7560", "Cotisations", "0", "F"}}, {});
  EXPECT_EQ(PostingRefusal::kSingleLine, PostMemberDues(folder(), m_card, m_boxes, Today()));
  EXPECT_FALSE(fs::exists(folder() / "Journal.dbp"));
  EXPECT_FALSE(fs::exists(folder() / "7560.dbp"));
  EXPECT_EQ((AccountLine{"7560", "Cotisations", "0", "F"}), stored().duesLine(0));
  EXPECT_FALSE(m_card.line({members::CardRow::Kind::kDues, 0}).posted());
}

TEST_F(DuesPostingTest, SixLinesAreRefusedAndNothingIsMarked) {
  std::vector<AccountLine> dues(5, AccountLine{"7560", "Cotisations", "1000", "F"});
  writeMember(dues, {{"5120", "Banque", "5000", "F"}});
  EXPECT_EQ(PostingRefusal::kTooManyLines, PostMemberDues(folder(), m_card, m_boxes, Today()));
  EXPECT_FALSE(fs::exists(folder() / "Journal.dbp"));
  const MemberRecord saved = stored();
  for (int i = 0; i < 5; ++i) EXPECT_EQ("F", saved.duesLine(i).mark) << i;
  EXPECT_EQ("F", saved.paymentLine(0).mark);
}

TEST_F(DuesPostingTest, ABadBirthDateStopsThePostingBeforeAnyFile) {
  writeMember({{"7560", "Cotisations", "2500", "F"}}, {{"5120", "Banque", "2500", "F"}},
              "32/13/1958");
  const std::string before = ReadFile(folder() / "Joueur.DBP");
  EXPECT_THROW(PostMemberDues(folder(), m_card, m_boxes, Today()), Error);
  EXPECT_FALSE(fs::exists(folder() / "Journal.dbp"));
  EXPECT_FALSE(fs::exists(folder() / "7560.dbp"));
  EXPECT_EQ(before, ReadFile(folder() / "Joueur.DBP"));
  EXPECT_FALSE(m_card.line({members::CardRow::Kind::kDues, 0}).posted());
}

// Dues of 25,00 against a payment of 20,00 would leave the books unbalanced: the posting is
// refused as a whole, the member file and the books stay as they were.
TEST_F(DuesPostingTest, DuesAndPaymentsThatDifferAreNotPosted) {
  writeMember({{"7560", "Cotisations", "2500", "F"}}, {{"5120", "Banque", "2000", "F"}});
  const std::string before = ReadFile(folder() / "Joueur.DBP");
  try {
    PostMemberDues(folder(), m_card, m_boxes, Today());
    ADD_FAILURE() << "posted";
  } catch (const Error& error) {
    EXPECT_EQ(std::string("L'\xe9"
                          "criture n'est pas \xe9quilibr\xe9"
                          "e (d\xe9"
                          "bit 20,00, cr\xe9"
                          "dit 25,00) : elle n'est pas enregistr\xe9"
                          "e"),
              error.what());
  }
  EXPECT_FALSE(fs::exists(folder() / "Journal.dbp"));
  EXPECT_FALSE(fs::exists(folder() / "7560.dbp"));
  EXPECT_FALSE(fs::exists(folder() / "5120.dbp"));
  EXPECT_EQ(before, ReadFile(folder() / "Joueur.DBP"));
  EXPECT_FALSE(m_card.line({members::CardRow::Kind::kDues, 0}).posted());
}

TEST_F(DuesPostingTest, AFailedLedgerLeavesTheMemberUnmarked) {
  writeMember({{"7560", "Cotisations", "2500", "F"}}, {{"5120", "Banque", "2500", "F"}});
  WriteFile(folder() / "5120.dbp", "1;01/09/2026;x;1;;abc;;1;\r\n");  // a total that is no number
  const std::string before = ReadFile(folder() / "Joueur.DBP");
  EXPECT_THROW(PostMemberDues(folder(), m_card, m_boxes, Today()), Error);
  EXPECT_FALSE(fs::exists(folder() / "Journal.dbp"));
  EXPECT_EQ(before, ReadFile(folder() / "Joueur.DBP"));
}

}  // namespace
}  // namespace vantrel::accounting
