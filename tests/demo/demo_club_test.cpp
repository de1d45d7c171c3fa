// The demonstration club, built once for the whole suite: its books balance in every
// exercise, its cups rank players, its names keep their accents (vantrel-cli exemple, which
// makes it as a program folder, is tested with the batch tool).

#include "demo/demo_club.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "accounting/accounting_files.h"
#include "accounting/books.h"
#include "accounting/statements.h"
#include "competitions/cup_file.h"
#include "competitions/cup_ranking.h"
#include "competitions/registrant_page.h"
#include "core/cp1252.h"
#include "core/record_file.h"
#include "core/text_helpers.h"
#include "core/transaction.h"
#include "members/member_file.h"
#include "support/temp_folder.h"

namespace vantrel::demo {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempFolder;

std::int64_t Cents(const std::string& text) { return text.empty() ? 0 : std::stoll(text); }
std::string W(const std::string& utf8) { return Utf8ToCp1252(utf8); }

class DemoClubTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_folder = new TempFolder;
    const UnflushedWrites unflushed;
    BuildDemoClub(s_folder->path());
  }
  static void TearDownTestSuite() {
    delete s_folder;
    s_folder = nullptr;
  }
  static fs::path program() { return s_folder->path(); }
  static fs::path exercise(std::size_t k) { return program() / kExercises[k]; }
  static Settings settings() { return LoadSettings(program()); }

  static TempFolder* s_folder;
};
TempFolder* DemoClubTest::s_folder = nullptr;

TEST_F(DemoClubTest, BooksBalanceInEveryExercise) {
  {  // SettingsNameTheClubAndItsThreeExercises
    const Settings read = settings();
    EXPECT_EQ(W("Bridge Club des Tilleuls"), read.entity);
    EXPECT_EQ("BCT", read.shortName);
    EXPECT_EQ("2026-2027", read.exercise);
    EXPECT_EQ("2025-2026", read.exercise1);
    EXPECT_EQ("2024-2025", read.exercise2);
  }
  {  // TrialBalanceBalancesInEveryExercise
    for (std::size_t k = 0; k < kExercises.size(); ++k) {
      SCOPED_TRACE(kExercises[k]);
      const auto books = accounting::LoadBooks(exercise(k), settings().entity, kExercises[k]);
      const Lines balance = accounting::TrialBalance(books.ledgers, books.accountsInUse);
      ASSERT_GT(balance.size(), 15u);
      std::int64_t debit = 0, credit = 0, debitBalances = 0, creditBalances = 0;
      for (const std::string& line : balance) {
        EXPECT_NE(accounting::kNotInChart, FieldAt(line, 1)) << line;
        debit += Cents(FieldAt(line, 2));
        credit += Cents(FieldAt(line, 3));
        debitBalances += Cents(FieldAt(line, 4));
        creditBalances += Cents(FieldAt(line, 5));
      }
      EXPECT_GT(debit, 0);
      EXPECT_EQ(debit, credit);
      EXPECT_EQ(debitBalances, creditBalances);
    }
  }
  {  // BalanceSheetTotalsAreEqualInEachExercise
    const auto table =
        accounting::LoadStatementTable(accounting::YearsOf(settings()), settings().entity);
    const accounting::StatementLines sheet = accounting::BalanceSheetLines(table);
    std::array<std::int64_t, 3> assets{}, liabilities{};
    for (const std::string& line : sheet.lines) {
      for (int k = 0; k < 3; ++k) {
        (FieldAt(line, 0) == "0" ? assets : liabilities)[k] += Cents(FieldAt(line, 2 + k));
      }
    }
    for (int k = 0; k < 3; ++k) {
      SCOPED_TRACE(kExercises[2 - k]);
      EXPECT_GT(assets[k], 0);
      // Liabilities are credit balances: the two sides sum to nothing.
      EXPECT_EQ(assets[k], -liabilities[k]);
    }
    // Money in the bank and in the cash box at the end of every year.
    for (std::size_t k = 0; k < kExercises.size(); ++k) {
      for (const char* account : {"5120", "5140", "5300"}) {
        EXPECT_GT(Cents(accounting::LastBalanceText(accounting::ReadLedger(exercise(k), account))),
                  0)
            << kExercises[k] << " " << account;
      }
    }
    // Every year closes on a profit, shown on 1210.
    for (int k = 0; k < 3; ++k) EXPECT_LT(sheet.results[k], 0) << k;
  }
  {  // CurrentYearHoldsAProvisionAndFixedAssets
    EXPECT_FALSE(accounting::ReadLedger(exercise(2), "1510").empty());
    EXPECT_FALSE(accounting::ReadLedger(exercise(2), "2183").empty());
    EXPECT_FALSE(accounting::ReadLedger(exercise(2), "6815").empty());
    // Carried over from the year before by the opening entries.
    EXPECT_EQ("189000", accounting::LastBalanceText(accounting::ReadLedger(exercise(2), "2188")));
    EXPECT_EQ("", accounting::LastBalanceText(accounting::ReadLedger(exercise(0), "1510")));
  }
  {  // JournalIsInDateOrder
    for (std::size_t k = 0; k < kExercises.size(); ++k) {
      const Lines journal = ReadLines(exercise(k) / "Journal.dbp");
      ASSERT_GT(journal.size(), 100u) << kExercises[k];
      for (std::size_t i = 1; i < journal.size(); ++i) {
        ASSERT_LE(ParseDate(FieldAt(journal[i - 1], 0)), ParseDate(FieldAt(journal[i], 0)))
            << kExercises[k] << " entry " << i + 1;
      }
    }
  }
}

TEST_F(DemoClubTest, MembersCupsAndConvocation) {
  {  // MostMembersHavePaidAndNamesKeepTheirAccents
    const Lines members = members::ReadMemberFile(exercise(2));
    EXPECT_GE(members.size(), 75u);
    EXPECT_LE(members.size(), 90u);
    std::size_t paid = 0;
    std::set<std::string> names;
    for (const std::string& line : members) {
      const auto record = members::MemberRecord::FromLine(line);
      if (record.paymentLine(0).posted()) ++paid;
      const std::string last = record.lastName();
      const std::string first = record.firstName();
      names.insert(last);
      names.insert(first);
      // Windows-1252 bytes, never UTF-8 taken byte for byte, never a "?" for a lost letter.
      EXPECT_EQ(W(Cp1252ToUtf8(last)), last);
      EXPECT_EQ(std::string::npos, (last + first).find('?')) << line;
      EXPECT_EQ(std::string::npos, (last + first).find('\xC3')) << line;
    }
    EXPECT_GE(paid * 10, members.size() * 8);
    for (const char* name : {"LÉCUYER", "NOËL", "BÉRANGER", "LEMAÎTRE", "FRANÇOIS", "Jérôme",
                             "Noël", "Benoît", "Hélène", "Maïté"}) {
      EXPECT_TRUE(names.count(W(name))) << name;
    }
  }
  {  // CupsRankPlayersFromTheirFourTournaments
    for (int cup = 1; cup <= 2; ++cup) {
      SCOPED_TRACE(cup);
      const Lines lines = ReadLines(competitions::CupFilePath(exercise(2), cup));
      ASSERT_EQ(4u, lines.size());
      for (const std::string& line : lines) {
        EXPECT_TRUE(FileExists(exercise(2) / FieldAt(line, competitions::cup_field::kResultFile)))
            << line;
      }
      competitions::CupRanking ranking;
      competitions::ComputeCupRanking(exercise(2), cup, ranking);
      EXPECT_TRUE(ranking.complete);
      EXPECT_EQ(4, ranking.columnCount);
      const auto entries = competitions::OpenRankingEntries(ranking);
      ASSERT_GT(entries.size(), 20u);
      EXPECT_EQ("1", entries.front().rank);
      EXPECT_GT(entries.front().totalValue, entries.back().totalValue);
    }
    EXPECT_FALSE(FileExists(competitions::CupFilePath(exercise(2), 3)));
  }
  {  // RegistrantListIsAGroupListOfTheClubsTeams
    const Lines registrants = ReadLines(exercise(2) / "Coupe_de_France.Qug");
    EXPECT_TRUE(competitions::RecognizePage(registrants).group);
    EXPECT_EQ("Coupe de France",
              competitions::ReadEventData(exercise(2) / "Coupe_de_France.qud")[3]);
  }
}

TEST_F(DemoClubTest, IsTheSameClubEveryTime) {
  TempFolder again;
  {
    const UnflushedWrites unflushed;
    BuildDemoClub(again.path());
  }
  for (const char* name : {"Joueur.DBP", "Journal.dbp", "5120.dbp", "Challenge_1.dbp"}) {
    EXPECT_EQ(ReadFile(exercise(2) / name), ReadFile(again.path() / kExercises[2] / name)) << name;
  }
}

}  // namespace
}  // namespace vantrel::demo
