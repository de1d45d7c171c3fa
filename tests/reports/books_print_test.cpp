// The books of a club that uses every line of the shipped chart, with amounts at the limit
// of the stored totals (21 474 836,47), printed through the shipped templates: every name
// and every figure is painted whole, and nothing touches (glyph_checks.h). With
// VANTREL_SCREENSHOTS set to a folder, the PDFs are written there to be looked at.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "accounting/accounting_files.h"
#include "accounting/books.h"
#include "accounting/posting.h"
#include "accounting/statements.h"
#include "core/cp1252.h"
#include "core/record_file.h"
#include "core/text_helpers.h"
#include "reports/glyph_checks.h"
#include "reports/page_render.h"
#include "reports/qstring_printer.h"
#include "reports/qt_environment.h"
#include "reports/report_document.h"
#include "reports/report_request_bridge.h"
#include "support/screenshots.h"
#include "support/temp_folder.h"

namespace vantrel::reports {
namespace {

namespace fs = std::filesystem;
using accounting::EntryGroup;
using accounting::JournalEntry;

constexpr std::int64_t kLimit = 2147483647;  // the largest stored total, in cents

QString Text(const std::string& cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }

// Every text the pages show, each item's lines joined by a blank (a wrapped name reads whole).
QStringList PrintedTexts(const PreparedReport& prepared) {
  QStringList texts;
  for (const PreparedPage& page : prepared.pages) {
    for (const DisplayItem& item : page.items) {
      if (item.kind == DisplayItem::Kind::kText) texts << item.lines.join(QLatin1Char(' '));
    }
  }
  return texts;
}

bool Shows(const QStringList& texts, const QString& wanted) {
  return std::any_of(texts.begin(), texts.end(),
                     [&](const QString& text) { return text.contains(wanted); });
}

class BooksPrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::EnsureQtApplication();
    const fs::path folder = m_program.exerciseFolder();
    fs::copy_file(fs::path(VANTREL_DATA_DIR) / "2026-2027" / accounting::kChartFileName,
                  folder / accounting::kChartFileName, fs::copy_options::overwrite_existing);
    m_chart = ReadLines(folder / accounting::kChartFileName);
    // Five accounts an entry (one debit of four quarters, four credits of a quarter), the
    // rest two by two at the limit; a last account alone is balanced by the second one.
    const std::string label =
        "Payement de Mme DE LA ROCHEFOUCAULD Marie-B\xe9n\xe9"
        "dicte et M. L\xc9"
        "CUYER Beno\xeet";
    const auto group = [&](std::size_t i, std::int64_t debit, std::int64_t credit) {
      return EntryGroup{FieldAt(m_chart[i], 0), FieldAt(m_chart[i], 1),
                        debit ? std::to_string(debit) : "", credit ? std::to_string(credit) : ""};
    };
    const std::int64_t quarter = kLimit / 4;
    std::size_t i = 0;
    for (int n = 0; i < m_chart.size(); ++n) {
      JournalEntry entry{"31/12/2026", n % 2 ? label : "Report", {}};
      const std::size_t left = m_chart.size() - i;
      if (left >= 5 && n % 3 == 0) {
        entry.groups[0] = group(i, 4 * quarter, 0);
        for (std::size_t g = 1; g < 5; ++g) entry.groups[g] = group(i + g, 0, quarter);
        i += 5;
      } else if (left >= 2) {
        entry.groups[0] = group(i, kLimit, 0);
        entry.groups[1] = group(i + 1, 0, kLimit);
        i += 2;
      } else {
        entry.groups[0] = group(i, 1, 0);
        entry.groups[1] = group(1, 0, 1);
        i += 1;
      }
      accounting::PostJournalEntry(folder, entry);
    }
    m_books = accounting::LoadBooks(folder, "Bridge Club d'Ardevanne-sur-Lys", "2026-2027");
  }

  // The request laid out through its shipped template; errors, warnings and faults of the
  // painted pages are test failures.
  PreparedReport printed(const ReportRequest& request, const std::string& shot) {
    ReportDocument document;
    EXPECT_TRUE(SetUpReport(document, request, fs::path(VANTREL_TEMPLATES_DIR)));
    PreparedReport prepared = document.prepare();
    EXPECT_EQ(QStringList(), prepared.errors) << shot;
    EXPECT_EQ(QStringList(), prepared.warnings) << shot;
    EXPECT_FALSE(prepared.pages.empty()) << shot;
    for (std::size_t p = 0; p < prepared.pages.size(); ++p) {
      EXPECT_EQ(std::vector<std::string>(),
                testing::PaintFaults(prepared.pages[p], prepared.page.sizeMm()))
          << shot << " page " << p + 1;
    }
    if (const QString pdf = testing::ScreenshotPath(QString::fromStdString(shot)); !pdf.isEmpty()) {
      QString error;
      EXPECT_TRUE(WritePdfFile(prepared, pdf, &error)) << error.toStdString();
    }
    return prepared;
  }

  // "NNNN name" of every chart line.
  QStringList accountTexts() const {
    QStringList texts;
    for (const auto& line : m_chart) texts << Text(FieldAt(line, 0) + " " + FieldAt(line, 1));
    return texts;
  }

  testing::ProgramFolder m_program;
  Lines m_chart;
  accounting::BooksContext m_books;
};

TEST_F(BooksPrintTest, TheJournalPrintsEveryAccountNameWhole) {
  const QStringList texts =
      PrintedTexts(printed(accounting::JournalReport(m_books), "journal.pdf"));
  for (const QString& account : accountTexts()) {
    EXPECT_TRUE(Shows(texts, account)) << account.toStdString();
  }
  EXPECT_TRUE(Shows(texts, QStringLiteral("Payement de Mme DE LA ROCHEFOUCAULD")));
}

TEST_F(BooksPrintTest, TheLedgerTrialBalanceAndAccountsInUsePrintWhole) {
  const QStringList accounts = accountTexts();
  const QStringList balance =
      PrintedTexts(printed(accounting::TrialBalanceReport(m_books), "balance.pdf"));
  const QStringList plan =
      PrintedTexts(printed(accounting::AccountsInUseReport(m_books), "plan.pdf"));
  for (std::size_t i = 0; i < m_chart.size(); ++i) {
    EXPECT_TRUE(Shows(balance, accounts[static_cast<qsizetype>(i)]))
        << accounts[static_cast<qsizetype>(i)].toStdString();
    EXPECT_TRUE(Shows(plan, Text(FieldAt(m_chart[i], 1)))) << FieldAt(m_chart[i], 1);
  }
  EXPECT_TRUE(Shows(balance, QStringLiteral("21474836,47")));
  // The ledger of the account with the longest name.
  const auto longest = std::max_element(m_chart.begin(), m_chart.end(), [](auto& a, auto& b) {
    return FieldAt(a, 1).size() < FieldAt(b, 1).size();
  });
  const auto item = accounting::ItemOfAccount(m_books.accountsInUse, FieldAt(*longest, 0));
  ASSERT_TRUE(item.has_value());
  printed(accounting::LedgerReport(m_books, *item), "compte.pdf");
}

TEST_F(BooksPrintTest, TheStatementsPrintWholeInTheirThreeForms) {
  const accounting::StatementTable table =
      accounting::LoadStatementTable(accounting::YearsOf(m_program.settings()), "Ardevanne");
  const struct {
    accounting::Grouping grouping;
    const char* name;
  } forms[] = {{accounting::Grouping::kNormal, "normaux"},
               {accounting::Grouping::kDetailed, "detailles"},
               {accounting::Grouping::kGrouped, "regroupes"}};
  for (const auto& form : forms) {
    const QStringList bilan =
        PrintedTexts(printed(accounting::BalanceSheetReport(table, form.grouping),
                             std::string("bilan-") + form.name + ".pdf"));
    EXPECT_TRUE(Shows(bilan, QStringLiteral("Total du passif"))) << form.name;
    printed(accounting::IncomeStatementReport(table, form.grouping),
            std::string("resultat-") + form.name + ".pdf");
  }
}

}  // namespace
}  // namespace vantrel::reports
