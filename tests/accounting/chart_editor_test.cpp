#include "accounting/chart_editor.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/text_helpers.h"
#include "support/temp_folder.h"

namespace vantrel::accounting {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::WriteFile;

const std::string kHeading = "6100;SERVICES EXTERIEURS;Titre;N;2025-2026;";
const std::string k6110 = "6110;Sous-traitance;R\xe9sultat;N;2025-2026;";
const std::string k6120 = "6120;Locations;R\xe9sultat;C;2025-2026;";

class ChartEditorTest : public ::testing::Test {
 protected:
  fs::path folder() const { return m_program.exerciseFolder(); }
  void writeChart(const Lines& lines) {
    WriteFile(folder() / "Plan_Comptable.dbp", testing::CrLfBytes(lines));
    m_chart.load(folder());
  }
  Lines stored() const { return ReadLines(folder() / "Plan_Comptable.dbp"); }
  bool add(const std::string& number, const std::string& name = "Nouveau",
           const std::string& link = "N") {
    return m_chart.add(folder(), number, name, link, "2026-2027");
  }

  testing::ProgramFolder m_program;
  ChartEditor m_chart;
};

TEST_F(ChartEditorTest, AddingPlacesTheAccountInOrderTypedByItsNumber) {
  struct Case {
    std::string number;
    int wantSelection;
    std::string wantLine;
  };
  const Case cases[] = {
      {"6115", 3, "6115;Nouveau;R\xe9sultat;N;2026-2027;"},
      {"1005", 1, "1005;Nouveau;Bilan;N;2026-2027;"},
      {"5999", 1, "5999;Nouveau;Bilan;N;2026-2027;"},
      {"6000", 1, "6000;Nouveau;R\xe9sultat;N;2026-2027;"},
      {"7999", 4, "7999;Nouveau;R\xe9sultat;N;2026-2027;"},
      {" 6111", 3, "6111;Nouveau;R\xe9sultat;N;2026-2027;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    writeChart({kHeading, k6110, k6120});
    ASSERT_TRUE(add(c.number));
    EXPECT_EQ(c.wantSelection, m_chart.selection());
    EXPECT_EQ(c.wantLine, m_chart.selectedLine());
    EXPECT_EQ(m_chart.lines(), stored());
    EXPECT_EQ(4u, stored().size());
  }
}

TEST_F(ChartEditorTest, AddingRefusesOutOfRangeAndDuplicateNumbers) {
  for (const std::string number : {"8000", "999", "6110", "06110", "6100", "-6110"}) {
    SCOPED_TRACE(number);
    writeChart({kHeading, k6110, k6120});
    m_chart.select(2);
    EXPECT_FALSE(add(number));
    EXPECT_EQ((Lines{kHeading, k6110, k6120}), stored());
    EXPECT_EQ(2, m_chart.selection());
  }
}

TEST_F(ChartEditorTest, AddingANumberThatIsNoWholeNumberFails) {
  writeChart({k6110});
  try {
    add("61a0");
    FAIL() << "added";
  } catch (const Error& error) {
    EXPECT_EQ(std::string("'61a0' n'est pas une valeur enti\xe8re correcte"), error.what());
  }
  EXPECT_EQ(Lines{k6110}, stored());
}

TEST_F(ChartEditorTest, ModifyingKeepsTheNumberAndNeverTouchesAHeading) {
  writeChart({kHeading, k6110, k6120});
  m_chart.select(2);
  EXPECT_FALSE(m_chart.modify(folder(), "6111", "Autre nom", "C", "2026-2027"));
  EXPECT_EQ((Lines{kHeading, k6110, k6120}), stored());
  EXPECT_TRUE(m_chart.modify(folder(), "6110", "Autre nom", "C", "2026-2027"));
  EXPECT_EQ("6110;Autre nom;R\xe9sultat;C;2026-2027;", stored()[1]);
  EXPECT_EQ(2, m_chart.selection());
  m_chart.select(1);
  EXPECT_FALSE(m_chart.modify(folder(), "6100", "Renamed", "N", "2026-2027"));
  EXPECT_EQ(kHeading, stored()[0]);
}

TEST_F(ChartEditorTest, DeletingMovesTheSelectionAndSparesHeadings) {
  struct Case {
    int selected;
    int wantSelection;
    Lines wantLines;
  };
  const std::string k6130 = "6130;Entretien;R\xe9sultat;N;2025-2026;";
  const Case cases[] = {
      {3, 2, {kHeading, k6110}},
      {2, 2, {kHeading, k6120}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.selected);
    writeChart({kHeading, k6110, k6120});
    m_chart.select(c.selected);
    ASSERT_TRUE(m_chart.remove(folder()));
    EXPECT_EQ(c.wantSelection, m_chart.selection());
    EXPECT_EQ(c.wantLines, stored());
  }
  writeChart({kHeading, k6110});
  m_chart.select(1);
  EXPECT_FALSE(m_chart.canRemove());
  EXPECT_FALSE(m_chart.remove(folder()));
  EXPECT_EQ((Lines{kHeading, k6110}), stored());
  // The only account removed: the selection stays within the chart.
  writeChart({k6110});
  ASSERT_TRUE(m_chart.remove(folder()));
  EXPECT_EQ(0, m_chart.selection());
  EXPECT_EQ(Lines{}, stored());
}

TEST_F(ChartEditorTest, LinkCyclesThroughDuesPaymentAndNone) {
  EXPECT_EQ("C", NextLink("N"));
  EXPECT_EQ("V", NextLink("C"));
  EXPECT_EQ("N", NextLink("V"));
  EXPECT_EQ("N", NextLink(NextLink(NextLink("N"))));
  EXPECT_EQ("X", NextLink("X"));
  EXPECT_EQ("", NextLink(""));
  EXPECT_EQ("Cotisation", LinkCaption("C"));
  EXPECT_EQ("Versement", LinkCaption("Vx"));
  EXPECT_EQ("", LinkCaption("N"));
}

TEST_F(ChartEditorTest, BrowsingAndScrollKeepTheSelectionInView) {
  Lines lines;
  for (int i = 0; i < 30; ++i) lines.push_back(std::to_string(6101 + i) + ";A;R\xe9sultat;N;x;");
  writeChart(lines);
  EXPECT_EQ(1, m_chart.selection());
  EXPECT_EQ(0, m_chart.topRow());
  m_chart.select(12);
  EXPECT_EQ(11, m_chart.topRow());
  m_chart.last();
  EXPECT_EQ(30, m_chart.selection());
  EXPECT_EQ(19, m_chart.topRow());  // the last eleven lines in view
  m_chart.next();
  EXPECT_EQ(30, m_chart.selection());
  m_chart.first();
  m_chart.previous();
  EXPECT_EQ(1, m_chart.selection());
}

TEST_F(ChartEditorTest, MissingChartFails) { EXPECT_THROW(m_chart.load(folder()), Error); }

}  // namespace
}  // namespace vantrel::accounting
