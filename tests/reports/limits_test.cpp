// The 14 shipped templates over data at the limits (three address lines, long names, amounts
// up to 9 999 999,99, tournament names of 40 characters, a long "modalites"): nothing is cut
// and nothing overlaps or touches on the drawn pages (glyph_checks.h). With
// VANTREL_SCREENSHOTS set to a folder, the PDFs are written there to be looked at.

#include <gtest/gtest.h>

#include <QFile>

#include "reports/glyph_checks.h"
#include "reports/page_render.h"
#include "reports/qstring_printer.h"
#include "reports/qt_environment.h"
#include "reports/render_data.h"
#include "reports/report_engine.h"
#include "reports/report_template.h"
#include "support/screenshots.h"

namespace vantrel::reports {
namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  return file.readAll();
}

struct Rendered {
  ReportTemplate report;
  RenderData data;
  PreparedReport prepared;
};

Rendered Render(const QString& name) {
  Rendered r;
  TemplateLoad load =
      ParseTemplate(ReadAll(QStringLiteral(VANTREL_TEMPLATES_DIR "/") + name + ".frf"));
  EXPECT_EQ(QStringList(), load.errors) << name.toStdString();
  r.report = load.value.value_or(ReportTemplate());
  QString error;
  r.data = ParseRenderData(
               ReadAll(QStringLiteral(VANTREL_TEST_DATA_DIR "/limites/") + name + ".json"), &error)
               .value_or(RenderData());
  EXPECT_EQ(QString(), error) << name.toStdString();
  ReportInput input;
  input.recordCount = static_cast<int>(r.data.records.size());
  input.title = r.data.title;
  input.now = QDateTime(QDate(2026, 12, 9), QTime(14, 5));
  for (const auto& [variable, value] : r.data.variables) {
    input.variables.emplace_back(variable, Value::FromNumber(value));
  }
  input.getValue = [&r](const QString& variable, int record) {
    return r.data.answer(variable, record);
  };
  r.prepared = PrepareReport(r.report, input);
  return r;
}

class LimitsTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { testing::EnsureQtApplication(); }
};

TEST_P(LimitsTest, PrintsEveryValueWholeWithNothingOverlapping) {
  const QString name = QLatin1String(GetParam());
  Rendered r = Render(name);
  EXPECT_EQ(QStringList(), r.prepared.errors) << GetParam();
  EXPECT_EQ(QStringList(), r.prepared.warnings) << GetParam();
  ASSERT_FALSE(r.prepared.pages.empty()) << GetParam();

  const QSizeF paper = r.report.page.sizeMm();
  for (std::size_t p = 0; p < r.prepared.pages.size(); ++p) {
    EXPECT_EQ(std::vector<std::string>(), testing::PaintFaults(r.prepared.pages[p], paper))
        << GetParam() << " page " << p + 1;
  }

  if (const QString pdf = testing::ScreenshotPath(name + QStringLiteral(".pdf")); !pdf.isEmpty()) {
    QString error;
    EXPECT_TRUE(WritePdfFile(r.prepared, pdf, &error)) << error.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(ShippedTemplates, LimitsTest,
                         ::testing::Values("Classem_General", "Dotation_paires", "Gestion_Annuaire",
                                           "Gestion_Assemble", "Gestion_Balance", "Gestion_Bilan",
                                           "Gestion_Compte", "Gestion_Enveloppes", "Gestion_Livre",
                                           "Gestion_Plan", "Gestion_Resultat", "Gestion_Tresorerie",
                                           "paires", "quatre"));

// The directory prints the third address line, the whole name, and no blank before the name
// when the member has no title.
TEST(LimitsTest, DirectoryPrintsTheThirdAddressLineAndTheWholeName) {
  testing::EnsureQtApplication();
  Rendered r = Render(QStringLiteral("Gestion_Annuaire"));
  QStringList texts;
  for (const PreparedPage& page : r.prepared.pages) {
    for (const DisplayItem& item : page.items) {
      if (item.kind == DisplayItem::Kind::kText) texts << item.lines.join(QLatin1Char(' '));
    }
  }
  EXPECT_TRUE(texts.contains(QStringLiteral("DE LA ROCHEFOUCAULD Marie-Bénédicte")))
      << texts.join(QStringLiteral(" | ")).left(600).toStdString();
  EXPECT_TRUE(texts.contains(QStringLiteral("Mme FRANÇOIS Jérôme")));
  int thirdLines = 0;
  for (const QString& text : texts) {
    if (text.contains(QStringLiteral("Lieu-dit Les Grandes Vignes"))) ++thirdLines;
    EXPECT_FALSE(text.startsWith(QLatin1Char(' '))) << text.toStdString();
  }
  EXPECT_EQ(30, thirdLines);
}

}  // namespace
}  // namespace vantrel::reports
