// The report engine over 2,000 members: a one-line list (about 50 pages) and the shipped
// two-column directory (100 pages). Goals: preparing every page under 300 ms; writing the
// PDF under 1 s. The preview of a 1,000-page report, its pages prepared, open and showing
// its first page under 1 s. A 20,000-character word wrapped in its box under 50 ms (and
// 100,000 characters in about five times that: wrapping is linear).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>

#include "platform/qt_platform.h"
#include "reports/page_render.h"
#include "reports/page_view.h"
#include "reports/report_engine.h"
#include "reports/report_preview.h"
#include "reports/report_template.h"

namespace {

using vantrel::reports::Decimal;
using vantrel::reports::Value;

const char* const kNames[] = {"DUPONT", "MARTIN",  "BERNARD", "THOMAS", "PETIT",
                              "ROBERT", "RICHARD", "DURAND",  "DUBOIS", "MOREAU"};

struct Directory {
  std::vector<QHash<QString, Value>> records;

  Directory() {
    for (int i = 0; i < 2000; ++i) {
      QHash<QString, Value> r;
      auto text = [&r](const char* name, const QString& value) {
        r.insert(QLatin1String(name), Value::FromText(value));
      };
      text("Titre", i % 2 ? QStringLiteral("Mme") : QStringLiteral("M."));
      text("Nom", QStringLiteral("%1%2").arg(QLatin1String(kNames[i % 10])).arg(i));
      text("Prenom", QStringLiteral("Prénom%1").arg(i % 37));
      text("Adress1", QStringLiteral("%1 avenue des Tilleuls").arg(i % 150 + 1));
      text("Adress2", i % 9 == 0 ? QStringLiteral("Résidence du Parc") : QString());
      text("Code", QStringLiteral("%1").arg(10000 + i * 37 % 85000));
      text("Ville", QStringLiteral("VILLE%1").arg(i % 200));
      text("Dommicile", QStringLiteral("01 23 45 %1 %2").arg(i % 90 + 10).arg(i % 80 + 10));
      text("Portable", i % 3 ? QStringLiteral("06 12 34 %1 00").arg(i % 90 + 10) : QString());
      text("Bureau", QString());
      text("Courriel", QStringLiteral("membre%1@exemple.fr").arg(i));
      text("Licence", QStringLiteral("0%1").arg(1000000 + i));
      text("Indice", QString::number(i % 60 + 1));
      r.insert(QStringLiteral("Solde"), Value::FromNumber(Decimal::FromCents(-(i % 7) * 550)));
      records.push_back(std::move(r));
    }
  }

  vantrel::reports::ReportInput input() const {
    vantrel::reports::ReportInput in;
    in.recordCount = static_cast<int>(records.size());
    in.title = QStringLiteral("Annuaire");
    in.getValue = [this](const QString& name, int record) {
      if (record < static_cast<int>(records.size())) {
        auto it = records[record].constFind(name);
        if (it != records[record].constEnd()) return *it;
      }
      if (name == QLatin1String("Entite")) return Value::FromText(QStringLiteral("Ardevanne"));
      if (name == QLatin1String("Exercice")) return Value::FromText(QStringLiteral("2026-2027"));
      return Value();
    };
    return in;
  }
};

vantrel::reports::ReportTemplate DirectoryTemplate() {
  QFile file(QStringLiteral(VANTREL_TEMPLATES_DIR "/Gestion_Annuaire.frf"));
  file.open(QIODevice::ReadOnly);
  return *vantrel::reports::ParseTemplate(file.readAll()).value;
}

// A one-line-per-member list (about 42 members a page, 48 pages), the size the goals name.
vantrel::reports::ReportTemplate ListTemplate() {
  const char* xml = R"(<report version="1">
  <page format="A4" margin-left="12" margin-top="10" margin-right="12" margin-bottom="10"/>
  <variable name="N" initial="0"/>
  <band kind="page-header" height="12"><text x="0" y="0" width="186" height="8" font-size="14" bold="true" align="center">[Entite] - [TitreEtat]</text></band>
  <band kind="column-header" height="6"><text x="0" y="0" width="60" height="5" bold="true">Nom</text><text x="60" y="0" width="60" height="5" bold="true">Ville</text><text x="150" y="0" width="36" height="5" bold="true" align="right">Solde</text></band>
  <band kind="detail" height="6">
    <script>N := N + 1</script>
    <text x="0" y="0" width="60" height="5" font-size="9">[Titre] [Nom] [Prenom]</text>
    <text x="60" y="0" width="60" height="5" font-size="9">[Code] [Ville]</text>
    <text x="120" y="0" width="30" height="5" font-size="9">[Dommicile]</text>
    <field x="150" y="0" width="36" height="5" font-size="9" align="right" format="amount-blank">Solde</field>
  </band>
  <band kind="summary" height="8"><text x="0" y="1" width="186" height="5" bold="true">[N] membres</text></band>
  <band kind="page-footer" height="8"><text x="126" y="2" width="60" height="5" font-size="8" align="right">Page [Page] / [NbPages]</text></band>
</report>)";
  return *vantrel::reports::ParseTemplate(QByteArray(xml)).value;
}

void Prepare(benchmark::State& state, const vantrel::reports::ReportTemplate& report) {
  Directory directory;
  std::size_t pages = 0;
  for (auto _ : state) {
    vantrel::reports::PreparedReport prepared =
        vantrel::reports::PrepareReport(report, directory.input());
    pages = prepared.pages.size();
    benchmark::DoNotOptimize(prepared);
  }
  state.counters["pages"] = static_cast<double>(pages);
}

void WritePdf(benchmark::State& state, const vantrel::reports::ReportTemplate& report) {
  Directory directory;
  vantrel::reports::PreparedReport prepared =
      vantrel::reports::PrepareReport(report, directory.input());
  qint64 bytes = 0;
  for (auto _ : state) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    vantrel::reports::WritePdf(prepared, buffer);
    bytes = buffer.size();
  }
  state.counters["pages"] = static_cast<double>(prepared.pages.size());
  state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_PrepareList(benchmark::State& state) { Prepare(state, ListTemplate()); }
void BM_WriteListPdf(benchmark::State& state) { WritePdf(state, ListTemplate()); }
void BM_PrepareDirectory(benchmark::State& state) { Prepare(state, DirectoryTemplate()); }
void BM_WriteDirectoryPdf(benchmark::State& state) { WritePdf(state, DirectoryTemplate()); }
BENCHMARK(BM_PrepareList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteListPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrepareDirectory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteDirectoryPdf)->Unit(benchmark::kMillisecond);

// The list over 41,000 members: 1,000 pages, prepared once. Timed: the preview window
// built, shown, and its first page drawn on the screen.
void BM_OpenPreviewOf1000Pages(benchmark::State& state) {
  Directory directory;
  vantrel::reports::ReportInput input = directory.input();
  input.recordCount = 41000;
  input.getValue = [&directory](const QString& name, int record) {
    const auto& r = directory.records[record % directory.records.size()];
    return r.value(name);
  };
  vantrel::reports::PreparedReport prepared =
      vantrel::reports::PrepareReport(ListTemplate(), input);
  vantrel::platform::QtPlatform platform;
  int drawn = 0;
  for (auto _ : state) {
    state.PauseTiming();
    vantrel::reports::PreparedReport copy = prepared;
    state.ResumeTiming();
    vantrel::reports::ReportPreview preview(std::move(copy), platform, nullptr);
    bool painted = false;
    preview.setOnFirstPaint([&painted] { painted = true; });
    preview.show();
    while (!painted) QApplication::processEvents(QEventLoop::AllEvents, 5);
    drawn = preview.pageView()->pagesDrawn();
    preview.close();
  }
  state.counters["pages"] = static_cast<double>(prepared.pages.size());
  state.counters["drawn"] = drawn;
}
BENCHMARK(BM_OpenPreviewOf1000Pages)->Unit(benchmark::kMillisecond)->Iterations(5);

// One word of state.range(0) characters in a 60 mm box that grows.
void BM_WrapLongWord(benchmark::State& state) {
  const char* xml = R"(<report version="1"><page format="A4"/>
  <band kind="detail" height="5"><text x="0" y="0" width="60" height="5" wrap="true" grow="true">[Mot]</text></band>
</report>)";
  vantrel::reports::ReportTemplate report = *vantrel::reports::ParseTemplate(QByteArray(xml)).value;
  QString word;
  for (int i = 0; i < state.range(0); ++i) word += QLatin1Char("abcdefghij"[i % 10]);
  vantrel::reports::ReportInput input;
  input.recordCount = 1;
  input.getValue = [&word](const QString&, int) { return Value::FromText(word); };
  for (auto _ : state) {
    vantrel::reports::PreparedReport prepared = vantrel::reports::PrepareReport(report, input);
    benchmark::DoNotOptimize(prepared);
  }
}
BENCHMARK(BM_WrapLongWord)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
