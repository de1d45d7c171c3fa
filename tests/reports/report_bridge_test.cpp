// The report object as the screens use it, with its preview and designer.

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGraphicsScene>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>
#include <functional>

#include "members/report_variables.h"
#include "reports/page_render.h"
#include "reports/page_view.h"
#include "reports/print_pages.h"
#include "reports/render_data.h"
#include "reports/report.h"
#include "reports/report_designer.h"
#include "reports/report_engine.h"
#include "reports/report_preview.h"
#include "reports/value_table.h"
#include "support/modal_windows.h"
#include "support/screenshots.h"
#include "support/scripted_platform.h"

namespace vantrel::reports {
namespace {

using testing::WithModals;

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QString PdfText(const QString& pdf) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
  process.waitForFinished(60000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

// Presses the left button at `from`, moves in steps to `to` with the button held, releases.
void Drag(QWidget* viewport, QPoint from, QPoint to) {
  QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
  for (int step = 1; step <= 5; ++step) {
    QPointF p = QPointF(from) + QPointF(to - from) * step / 5.0;
    QMouseEvent move(QEvent::MouseMove, p, viewport->mapToGlobal(p), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
  }
  QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, to);
  QApplication::processEvents();
}

template <typename T>
T* FindInScene(QGraphicsScene* scene, const std::function<bool(T*)>& wanted) {
  const QList<QGraphicsItem*> items = scene->items();
  for (QGraphicsItem* item : items) {
    if (auto* found = dynamic_cast<T*>(item); found != nullptr && wanted(found)) return found;
  }
  return nullptr;
}

}  // namespace

class ReportBridgeTest : public QObject {
  Q_OBJECT

 private:
  QString shipped(const char* name) const {
    return QStringLiteral(VANTREL_TEMPLATES_DIR "/") + QLatin1String(name);
  }

  // The directory over the test data, wired as the listings screen does it.
  void wireDirectory(Report& report, RenderData& data) {
    QString error;
    data =
        *ParseRenderData(ReadAll(QStringLiteral(VANTREL_TEST_DATA_DIR "/annuaire.json")), &error);
    report.setRangeEndCount(static_cast<int>(data.records.size()));
    report.setTitle(QStringLiteral("Annuaire"));
    report.OnGetValue = [&data](const QString& name, int record, Value& value) {
      value = data.answer(name, record);
    };
  }

 private slots:
  void missingTemplateOpensNothing() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    QTemporaryDir folder;
    QVERIFY(!report.LoadFromFile(folder.filePath(QStringLiteral("Absent.frf"))));
    QVERIFY(!report.hasTemplate());
    QCOMPARE(WithModals([&] { report.ShowReport(); }), QStringList());
    QCOMPARE(platform.messages.size(), 0u);
  }

  void findsTheTemplateWhateverItsLetterCase() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    QTemporaryDir folder;
    WriteAll(folder.filePath(QStringLiteral("GESTION_annuaire.FRF")),
             ReadAll(shipped("Gestion_Annuaire.frf")));
    QVERIFY(report.LoadFromFile(folder.filePath(QStringLiteral("Gestion_Annuaire.frf"))));
    QCOMPARE(report.templatePath(), folder.filePath(QStringLiteral("GESTION_annuaire.FRF")));
    QCOMPARE(report.loadErrors(), QStringList());
  }

  void failedLoadDropsTheEarlierTemplate() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    QVERIFY(report.LoadFromFile(shipped("Gestion_Annuaire.frf")));
    QVERIFY(report.hasTemplate());
    QVERIFY(!report.LoadFromFile(shipped("Gestion_Absent.frf")));
    QVERIFY(!report.hasTemplate());
    QCOMPARE(WithModals([&] { report.ShowReport(); }), QStringList());
  }

  void showPreparesEveryPageThenOpensThePreview() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    RenderData data;
    QVERIFY(report.LoadFromFile(shipped("Gestion_Annuaire.frf")));
    wireDirectory(report, data);
    int pages = -1;
    QString messages;
    QStringList titles = WithModals([&] { report.ShowReport(); },
                                    [&](QWidget* modal) {
                                      auto* preview = qobject_cast<ReportPreview*>(modal);
                                      QVERIFY(preview != nullptr);
                                      pages = preview->pageCount();
                                      messages = preview->messageLabel()->text();
                                      preview->goToPage(2);
                                      QCOMPARE(preview->currentPage(), 2);
                                      testing::SaveScreenshot(preview,
                                                              QStringLiteral("preview.png"));
                                    });
    QCOMPARE(titles, QStringList{QStringLiteral("Aperçu - Annuaire")});
    QCOMPARE(pages, 3);
    QCOMPARE(messages, QString());
  }

  void seededVariablesAreClearedByTheNextLoad() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("Gestion_Assemble.frf"));
    WriteAll(path,
             "<report version=\"1\"><band kind=\"detail\" height=\"5\">"
             "<script>Place := Place + 1</script>"
             "<text x=\"0\" y=\"0\" width=\"50\" height=\"5\">N[Place]</text></band></report>");
    QVERIFY(report.LoadFromFile(path));
    report.setRangeEndCount(2);
    report.setVariable(QStringLiteral("Place"), 0.5);
    report.setVariable(QStringLiteral("Place"), 10);  // seeding again replaces
    PreparedReport prepared = report.prepare();
    QCOMPARE(prepared.pages.size(), 1u);
    QCOMPARE(prepared.pages[0].items[0].lines, QStringList{QStringLiteral("N11")});
    QCOMPARE(prepared.pages[0].items[1].lines, QStringList{QStringLiteral("N12")});
    QVERIFY(report.LoadFromFile(path));
    prepared = report.prepare();
    QCOMPARE(prepared.pages[0].items[0].lines, QStringList{QStringLiteral("N1")});
    QCOMPARE(prepared.warnings,
             QStringList{QStringLiteral(
                 "Bande « Détail » (ligne 1) : « Place + 1 » : nom inconnu « Place »")});
  }

  void previewListsTheFirstWarnings() {
    testing::ScriptedPlatform platform;
    PreparedReport report;
    report.pages.resize(1);
    for (int i = 1; i <= 10; ++i) report.warnings << QStringLiteral("avertissement %1").arg(i);
    ReportPreview preview(report, platform, nullptr);
    QStringList expected{QStringLiteral("Avertissements du modèle :")};
    for (int i = 1; i <= 8; ++i) expected << QStringLiteral("avertissement %1").arg(i);
    expected << QStringLiteral("… et 2 autre(s)");
    QCOMPARE(preview.messageLabel()->text(), expected.join(QLatin1Char('\n')));
    QVERIFY(preview.printButton()->isEnabled());
  }

  void brokenTemplateIsShownWithItsErrors() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("Gestion_Livre.frf"));
    WriteAll(path, "<report version=\"1\">\n<band kind=\"detail\" height=\"5\">\n</report>\n");
    QVERIFY(report.LoadFromFile(path));
    QVERIFY(report.hasTemplate());
    QCOMPARE(report.loadErrors().size(), 1);
    QString shown;
    int pages = -1;
    WithModals([&] { report.ShowReport(); },
               [&](QWidget* modal) {
                 auto* preview = qobject_cast<ReportPreview*>(modal);
                 QVERIFY(preview != nullptr);
                 shown = preview->messageLabel()->text();
                 pages = preview->pageCount();
                 QVERIFY(!preview->printButton()->isEnabled());
                 testing::SaveScreenshot(preview, QStringLiteral("preview-broken.png"));
               });
    QCOMPARE(pages, 0);
    QCOMPARE(
        shown,
        QStringLiteral("L'état ne peut pas être préparé :\nLe modèle %1 contient des erreurs :\n%2")
            .arg(path, report.loadErrors().first()));
    QVERIFY(report.loadErrors().first().startsWith(
        QStringLiteral("Ligne 3, colonne 9 : XML incorrect : ")));
  }

  void previewSavesThePagesAsPdf() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    RenderData data;
    QVERIFY(report.LoadFromFile(shipped("Gestion_Annuaire.frf")));
    wireDirectory(report, data);
    QTemporaryDir folder;
    ReportPreview preview(report.prepare(), platform, nullptr);

    platform.fileAnswers.push_back(std::nullopt);
    preview.saveAsPdf();
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());

    platform.fileAnswers.push_back(folder.filePath(QStringLiteral("annuaire")));
    preview.saveAsPdf();
    QCOMPARE(platform.fileDialogCaptions.back(), QStringLiteral("Enregistrer en PDF"));
    QString text = PdfText(folder.filePath(QStringLiteral("annuaire.pdf")));
    QCOMPARE(text.count(QLatin1Char('\f')), 3);
    QCOMPARE(text.count(QStringLiteral("Page 3 / 3")), 1);

    QString unwritable = folder.filePath(QStringLiteral("absent/annuaire.pdf"));
    platform.fileAnswers.push_back(unwritable);
    preview.saveAsPdf();
    QCOMPARE(platform.messages.size(), 1u);
    QCOMPARE(platform.messages[0].kind, platform::MessageKind::kError);
    QCOMPARE(platform.messages[0].text,
             QStringLiteral("Impossible de créer le fichier %1").arg(unwritable));
  }

  void previewPrintsThroughThePrintDialog() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    RenderData data;
    QVERIFY(report.LoadFromFile(shipped("Gestion_Annuaire.frf")));
    wireDirectory(report, data);
    QTemporaryDir folder;
    ReportPreview preview(report.prepare(), platform, nullptr);
    platform.printerOutputFile = folder.filePath(QStringLiteral("imprime.pdf"));

    preview.printReport();  // no answer queued: the dialog is cancelled
    QVERIFY(!QFile::exists(platform.printerOutputFile));
    platform.printerAnswers.push_back(true);
    preview.printReport();
    QString text = PdfText(platform.printerOutputFile);
    QCOMPARE(text.count(QLatin1Char('\f')), 3);
    QCOMPARE(text.count(QStringLiteral("DUPONT00")), 1);
  }

  void printingKeepsTheRangeAndMovesByThePrintOffset() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    RenderData data;
    QVERIFY(report.LoadFromFile(shipped("Gestion_Annuaire.frf")));
    wireDirectory(report, data);
    PreparedReport prepared = report.prepare();
    prepared.page.printOffsetX = 20;
    QTemporaryDir folder;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath(QStringLiteral("pages.pdf")));
    ApplyPageSetup(printer, prepared.page);
    PrintPages(prepared, printer, 2, 3);
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-bbox"), printer.outputFileName(), QStringLiteral("-")});
    process.waitForFinished(60000);
    QString boxes = QString::fromUtf8(process.readAllStandardOutput());
    QCOMPARE(boxes.count(QStringLiteral("<page ")), 2);
    QVERIFY(!boxes.contains(QStringLiteral(">DUPONT00<")));
    // "Ardevanne" of the page header starts 20 mm (56.7 pt) right of where the PDF has it.
    QRegularExpression first(QStringLiteral("<word xMin=\"([0-9.]+)\"[^>]*>Ardevanne</word>"));
    QRegularExpressionMatch match = first.match(boxes);
    QVERIFY(match.hasMatch());
    QString pdf = folder.filePath(QStringLiteral("plain.pdf"));
    QString error;
    QVERIFY(WritePdfFile(prepared, pdf, &error));
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    process.waitForFinished(60000);
    QRegularExpressionMatch plain = first.match(QString::fromUtf8(process.readAllStandardOutput()));
    QVERIFY(plain.hasMatch());
    QVERIFY(qAbs(match.captured(1).toDouble() - plain.captured(1).toDouble() - 56.69) < 0.5);
  }

  // A custom page is kept as (short side, long side) and an orientation, so a custom
  // envelope turned to landscape keeps its size, like the built-in ones.
  void pdfPagesHaveTheTemplatesSizeAndOrientation() {
    struct Case {
      PageFormat format;
      double shortSide;
      double longSide;
      bool landscape;
      const char* size;  // as pdfinfo gives it, in whole points
    };
    const Case cases[] = {
        {PageFormat::kDL, 0, 0, true, "624 x 312"},
        {PageFormat::kCustom, 110, 220, true, "624 x 312"},
        {PageFormat::kCustom, 220, 110, false, "312 x 624"},
        {PageFormat::kA5, 0, 0, false, "420 x 595"},
        {PageFormat::kC6, 0, 0, true, "459 x 323"},
    };
    QTemporaryDir folder;
    for (const Case& c : cases) {
      PreparedReport report;
      report.page.format = c.format;
      if (c.format == PageFormat::kCustom) {
        report.page.customShortMm = std::min(c.shortSide, c.longSide);
        report.page.customLongMm = std::max(c.shortSide, c.longSide);
      }
      report.page.landscape = c.landscape;
      report.pages.resize(1);
      QString pdf = folder.filePath(QStringLiteral("page.pdf"));
      QString error;
      QVERIFY(WritePdfFile(report, pdf, &error));
      QProcess info;
      info.start(QStringLiteral("pdfinfo"), {pdf});
      info.waitForFinished(60000);
      QString out = QString::fromUtf8(info.readAllStandardOutput());
      QVERIFY2(out.contains(QStringLiteral("Page size:       %1 pts").arg(QLatin1String(c.size))),
               qPrintable(out));
    }
  }

  void designerSavesAndReloadsTheTemplateEqual() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("Gestion_Resultat.frf"));
    QByteArray original = ReadAll(shipped("Gestion_Resultat.frf"));
    WriteAll(path, original);
    QVERIFY(report.LoadFromFile(path));
    ReportTemplate loaded = report.reportTemplate();

    ReportDesigner designer(report, platform, nullptr);
    QCOMPARE(designer.currentTemplate(), loaded);
    int detail = 3;
    QCOMPARE(loaded.bands[detail].kind, BandKind::kDetail);
    designer.select(detail, 1);
    designer.show();
    testing::SaveScreenshot(&designer, QStringLiteral("designer.png"));
    designer.view()->setFocus();
    QTest::keyClick(designer.view(), Qt::Key_Right);
    QTest::keyClick(designer.view(), Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(designer.currentTemplate().bands[detail].items[1].x,
             loaded.bands[detail].items[1].x + 1);
    QCOMPARE(designer.currentTemplate().bands[detail].items[1].y,
             loaded.bands[detail].items[1].y + 5);
    designer.addItem(ItemKind::kFrame);
    QCOMPARE(designer.currentTemplate().bands[detail].items.size(),
             loaded.bands[detail].items.size() + 1);
    designer.undoStack()->undo();
    designer.undoStack()->undo();
    designer.undoStack()->undo();
    QCOMPARE(designer.currentTemplate(), loaded);
    designer.undoStack()->redo();
    designer.undoStack()->redo();
    ReportTemplate edited = designer.currentTemplate();
    QVERIFY(!(edited == loaded));

    QVERIFY(designer.save());
    QVERIFY(designer.saved());
    QCOMPARE(ReadAll(path + QStringLiteral(".bak")), original);
    Report reread(platform, nullptr);
    QVERIFY(reread.LoadFromFile(path));
    QCOMPARE(reread.loadErrors(), QStringList());
    QCOMPARE(reread.reportTemplate(), edited);
    designer.hide();
  }

  void designerMovesAndResizesWithTheMouseOnTheMillimetreGrid() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("Gestion_Resultat.frf"));
    WriteAll(path, ReadAll(shipped("Gestion_Resultat.frf")));
    QVERIFY(report.LoadFromFile(path));
    ReportTemplate loaded = report.reportTemplate();
    ReportDesigner designer(report, platform, nullptr);
    designer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&designer));
    const int detail = 3;
    designer.select(detail, 1);
    QWidget* viewport = designer.view()->viewport();
    auto item = [&] {
      return FindInScene<DesignerItem>(
          designer.scene(), [](DesignerItem* d) { return d->band() == 3 && d->index() == 1; });
    };
    auto toView = [&](QPointF scene) { return designer.view()->mapFromScene(scene); };
    // Scene points moved by (dx, dy) millimetres, in viewport pixels at the view's zoom.
    auto shifted = [&](QPointF scene, double dx, double dy) {
      return toView(scene + QPointF(dx * kPxPerMm, dy * kPxPerMm));
    };

    // Drag the field from its middle, 10 mm to the left and 1 mm down (rounded to the grid).
    QPointF middle = item()->mapToScene(item()->rect().center());
    Drag(viewport, toView(middle), shifted(middle, -10.2, 1.2));
    const ReportItem& before = loaded.bands[detail].items[1];
    ReportItem moved = designer.currentTemplate().bands[detail].items[1];
    QCOMPARE(moved.x, before.x - 10);
    QCOMPARE(moved.y, before.y + 1);
    QCOMPARE(moved.width, before.width);

    // Drag its lower right handle 5 mm right and 2 mm down.
    QPointF corner = item()->mapToScene(item()->rect().bottomRight());
    Drag(viewport, toView(corner), shifted(corner, 5, 2));
    ReportItem resized = designer.currentTemplate().bands[detail].items[1];
    QCOMPARE(resized.x, moved.x);
    QCOMPARE(resized.width, before.width + 5);
    QCOMPARE(resized.height, before.height + 2);

    // Drag the band's lower edge 4 mm down.
    BandStrip* strip =
        FindInScene<BandStrip>(designer.scene(), [](BandStrip* b) { return b->index() == 3; });
    QPointF edge = strip->mapToScene(QPointF(30 * kPxPerMm, strip->rect().height()));
    Drag(viewport, toView(edge), shifted(edge, 0, 4));
    QCOMPARE(designer.currentTemplate().bands[detail].height, loaded.bands[detail].height + 4);

    QCOMPARE(designer.undoStack()->count(), 3);
    designer.undoStack()->undo();
    designer.undoStack()->undo();
    designer.undoStack()->undo();
    QCOMPARE(designer.currentTemplate(), loaded);
    designer.hide();
  }

  void designerEditsSeveralSelectedItemsAtOnce() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    QVERIFY(report.LoadFromFile(shipped("Gestion_Resultat.frf")));
    ReportTemplate loaded = report.reportTemplate();
    ReportDesigner designer(report, platform, nullptr);
    designer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&designer));
    designer.select(3, 1);
    QWidget* viewport = designer.view()->viewport();
    DesignerItem* third = FindInScene<DesignerItem>(
        designer.scene(), [](DesignerItem* d) { return d->band() == 3 && d->index() == 3; });
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier,
                      designer.view()->mapFromScene(third->mapToScene(third->rect().center())));
    designer.nudge(0, 2);
    designer.deleteSelection();
    const std::vector<ReportItem>& items = designer.currentTemplate().bands[3].items;
    QCOMPARE(items.size(), loaded.bands[3].items.size() - 2);
    QCOMPARE(items[1], loaded.bands[3].items[2]);
    designer.undoStack()->undo();
    QCOMPARE(designer.currentTemplate().bands[3].items[1].y, loaded.bands[3].items[1].y + 2);
    QCOMPARE(designer.currentTemplate().bands[3].items[3].y, loaded.bands[3].items[3].y + 2);
    QCOMPARE(designer.currentTemplate().bands[3].items[2], loaded.bands[3].items[2]);
    designer.hide();
  }

  void designerEditsTheTemplatesVariables() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    QVERIFY(report.LoadFromFile(shipped("Gestion_Resultat.frf")));
    ReportDesigner designer(report, platform, nullptr);
    auto* table = designer.findChild<QTableWidget*>();
    QVERIFY(table != nullptr);
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("st1"));
    table->item(1, 1)->setText(QStringLiteral("100"));
    QCOMPARE(designer.currentTemplate().variables[1].initial, QStringLiteral("100"));
    auto* reset = qobject_cast<QComboBox*>(table->cellWidget(2, 2));
    QVERIFY(reset != nullptr);
    reset->setCurrentIndex(1);
    QCOMPARE(designer.currentTemplate().variables[2].reset, VariableReset::kPage);
    QCOMPARE(designer.undoStack()->count(), 2);
    designer.undoStack()->undo();
    designer.undoStack()->undo();
    QCOMPARE(designer.currentTemplate(), report.reportTemplate());
    QCOMPARE(table->item(1, 1)->text(), QStringLiteral("0"));
  }

  void designerOnNoTemplateStartsEmptyAndCreatesTheFile() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("Gestion_Enveloppes.frf"));
    QVERIFY(!report.LoadFromFile(path));
    ReportDesigner designer(report, platform, nullptr);
    QCOMPARE(designer.currentTemplate(), ReportTemplate());
    designer.addItem(ItemKind::kText);
    QCOMPARE(designer.currentTemplate().bands.size(), 1u);
    QCOMPARE(designer.currentTemplate().bands[0].kind, BandKind::kDetail);
    designer.addBand(BandKind::kPageHeader);
    QCOMPARE(designer.currentTemplate().bands[0].kind, BandKind::kPageHeader);
    designer.show();
    testing::SaveScreenshot(&designer, QStringLiteral("designer-new.png"));
    designer.hide();
    QVERIFY(designer.save());
    QVERIFY(!QFile::exists(path + QStringLiteral(".bak")));
    QVERIFY(report.LoadFromFile(path));
    QCOMPARE(report.reportTemplate(), designer.currentTemplate());
  }

  void designerRestoresTheShippedTemplate() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("gestion_annuaire.frf"));  // any case
    WriteAll(path, "<report version=\"1\"><band kind=\"detail\" height=\"5\"/></report>");
    QVERIFY(report.LoadFromFile(path));
    ReportDesigner designer(report, platform, nullptr);
    platform.answers.push_back(platform::Button::kNo);
    designer.restoreOriginal();
    QCOMPARE(designer.currentTemplate().bands.size(), 1u);
    designer.restoreOriginal();  // no answer queued: Enter keeps the displayed template
    QCOMPARE(platform.messages.size(), 2u);
    QCOMPARE(platform.messages[1].kind, platform::MessageKind::kConfirmation);
    QCOMPARE(platform.messages[1].defaultButton, platform::Button::kNo);
    QCOMPARE(designer.currentTemplate().bands.size(), 1u);
    platform.answers.push_back(platform::Button::kYes);
    designer.restoreOriginal();
    ReportTemplate original = *ParseTemplate(ReadAll(shipped("Gestion_Annuaire.frf"))).value;
    QCOMPARE(designer.currentTemplate(), original);
    QCOMPARE(ReadAll(path),
             QByteArray("<report version=\"1\"><band kind=\"detail\" height=\"5\"/></report>"));
    designer.undoStack()->undo();
    QCOMPARE(designer.currentTemplate().bands.size(), 1u);

    Report other(platform, nullptr);
    QString unshipped = folder.filePath(QStringLiteral("Perso.frf"));
    WriteAll(unshipped, "<report version=\"1\"/>");
    QVERIFY(other.LoadFromFile(unshipped));
    ReportDesigner second(other, platform, nullptr);
    second.restoreOriginal();
    QCOMPARE(
        platform.messages.back().text,
        QStringLiteral("Aucun modèle d'origine n'est livré avec le programme pour Perso.frf."));
  }

  void designerShowsWhyABrokenTemplateCannotBeOpened() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("Gestion_Plan.frf"));
    WriteAll(path, "<report version=\"1\"><band kind=\"detail\" hauteur=\"5\"/></report>");
    QVERIFY(report.LoadFromFile(path));
    ReportDesigner designer(report, platform, nullptr);
    QCOMPARE(designer.currentTemplate(), ReportTemplate());
    QCOMPARE(
        designer.messageLabel()->text(),
        QStringLiteral("Le modèle %1 contient des erreurs et n'a pas pu être ouvert :\n"
                       "Ligne 1, colonne 53 : attribut inconnu « hauteur » sur <band>\n"
                       "Le concepteur part d'une page vide ; « Enregistrer » remplacera le fichier "
                       "(l'ancien restera en .bak).")
            .arg(path));
  }

  void designerAsksBeforeLosingChanges() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("Gestion_Balance.frf"));
    QByteArray bytes = "<report version=\"1\"><band kind=\"detail\" height=\"5\"/></report>";
    WriteAll(path, bytes);
    QVERIFY(report.LoadFromFile(path));
    ReportDesigner designer(report, platform, nullptr);
    designer.show();
    designer.addItem(ItemKind::kLine);
    platform.answers.push_back(platform::Button::kCancel);
    static_cast<QDialog&>(designer).reject();
    QVERIFY(designer.isVisible());
    platform.answers.push_back(platform::Button::kNo);
    static_cast<QDialog&>(designer).reject();
    QVERIFY(!designer.isVisible());
    QCOMPARE(ReadAll(path), bytes);
    QCOMPARE(platform.messages.back().text,
             QStringLiteral("Enregistrer les modifications du modèle ?"));
  }

  void designerPreviewsTheUnsavedTemplateWithTheScreensData() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    RenderData data;
    QVERIFY(report.LoadFromFile(shipped("Gestion_Annuaire.frf")));
    wireDirectory(report, data);
    ReportDesigner designer(report, platform, nullptr);
    designer.select(2, -1);  // the summary band
    designer.deleteSelection();
    int pages = -1;
    QStringList titles = WithModals([&] { designer.preview(); },
                                    [&](QWidget* modal) {
                                      auto* preview = qobject_cast<ReportPreview*>(modal);
                                      QVERIFY(preview != nullptr);
                                      pages = preview->pageCount();
                                    });
    QCOMPARE(titles, QStringList{QStringLiteral("Aperçu - Annuaire")});
    QCOMPARE(pages, 3);
  }

  // Opened by a "Modification" button (no count, no variable, no title), the designer
  // offers every name the screen declares, with its sample, and previews the samples.
  void designerOffersTheScreensNamesAndPreviewsTheirSamples() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    ValueTable table(members::kDirectoryReport);
    table.record("Nom", [](int) { return Value::FromText(QStringLiteral("DUPONT")); });
    report.setValues(std::move(table));
    QVERIFY(report.LoadFromFile(shipped("Gestion_Annuaire.frf")));
    ReportDesigner designer(report, platform, nullptr);
    designer.resize(1300, 900);
    designer.show();
    int detail = -1;
    for (int b = 0; b < static_cast<int>(designer.currentTemplate().bands.size()); ++b) {
      if (designer.currentTemplate().bands[b].kind == BandKind::kDetail) detail = b;
    }
    QVERIFY(detail >= 0);
    designer.select(detail, 1);
    QStringList offered;
    QComboBox* names = designer.namesBox();
    for (int i = 0; i < names->count(); ++i) offered << names->itemText(i);
    for (const char* expected :
         {"Numero : 04521873", "Adress3 : Bâtiment B", "Solde : -25,5", "Vote : OUI",
          "Entite : Ardevanne Bridge Club", "NbMembres", "Page (nom de l'état)"}) {
      QVERIFY2(offered.contains(QString::fromUtf8(expected)),
               qPrintable(expected + QStringLiteral(" missing from ") + offered.join(", ")));
    }
    // Inserting a declared name puts it, in brackets, into the selected text.
    int numero = offered.indexOf(QStringLiteral("Numero : 04521873"));
    names->showPopup();
    QApplication::processEvents();
    testing::SaveScreenshot(names->view()->window(), QStringLiteral("designer-inserer.png"));
    names->hidePopup();
    emit names->activated(numero);
    QVERIFY2(designer.currentTemplate().bands[detail].items[1].content.contains(
                 QStringLiteral("[Numero]")),
             qPrintable(designer.currentTemplate().bands[detail].items[1].content));
    testing::SaveScreenshot(&designer, QStringLiteral("designer.png"));

    QStringList texts;
    QStringList titles = WithModals([&] { designer.preview(); },
                                    [&](QWidget* modal) {
                                      auto* preview = qobject_cast<ReportPreview*>(modal);
                                      QVERIFY(preview != nullptr);
                                      QApplication::processEvents();
                                      testing::SaveScreenshot(
                                          preview, QStringLiteral("apercu-exemples.png"));
                                      texts = preview->messageLabel()->isVisible()
                                                  ? QStringList{preview->messageLabel()->text()}
                                                  : QStringList();
                                    });
    QCOMPARE(titles, QStringList{QStringLiteral("Aperçu - Gestion_Annuaire")});
    QCOMPARE(texts, QStringList());
    PreparedReport samples = report.prepareWithSamples(designer.currentTemplate());
    QString all;
    for (const DisplayItem& item : samples.pages.at(0).items) all += item.lines.join(' ') + '|';
    QVERIFY2(all.contains(QStringLiteral("Mme LÉCUYER Hélène")), qPrintable(all));
    QVERIFY2(all.contains(QStringLiteral("Bâtiment B")), qPrintable(all));
    QVERIFY2(all.contains(QStringLiteral("Nombre de membres : %1").arg(kSampleRecordCount)) ||
                 all.contains(QStringLiteral("%1 membres").arg(kSampleRecordCount)),
             qPrintable(all));

    // Once the screen has set its data, the preview prints it and not the samples.
    report.setRangeEndCount(1);
    PreparedReport real = report.prepareWithSamples(designer.currentTemplate());
    QString first;
    for (const DisplayItem& item : real.pages.at(0).items) first += item.lines.join(' ') + '|';
    QVERIFY2(!first.contains(QStringLiteral("Hélène")), qPrintable(first));
    QVERIFY2(first.contains(QStringLiteral("DUPONT")), qPrintable(first));
  }

  // The format list speaks French; choosing a label sets the template's format.
  void designerFormatListShowsFrenchLabels() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    QVERIFY(report.LoadFromFile(shipped("Gestion_Tresorerie.frf")));
    ReportDesigner designer(report, platform, nullptr);
    QStringList labels;
    for (int i = 0; i < designer.formatBox()->count(); ++i) {
      labels << designer.formatBox()->itemText(i);
    }
    for (const char* label : {"Texte", "Montant (1234,50)", "Entier (1235)", "Date (05/03/2015)",
                              "Date avec le jour (jeudi 5 mars 2015)"}) {
      QVERIFY2(labels.contains(QString::fromUtf8(label)), qPrintable(labels.join(", ")));
    }
    int detail = -1;
    for (int b = 0; b < static_cast<int>(designer.currentTemplate().bands.size()); ++b) {
      if (designer.currentTemplate().bands[b].kind == BandKind::kDetail) detail = b;
    }
    designer.select(detail, 0);
    designer.formatBox()->setCurrentText(QStringLiteral("Date en lettres (5 mars 2015)"));
    QCOMPARE(designer.currentTemplate().bands[detail].items[0].format,
             QStringLiteral("date:d MMMM yyyy"));
    designer.formatBox()->setCurrentText(QStringLiteral("number:3"));
    QCOMPARE(designer.currentTemplate().bands[detail].items[0].format, QStringLiteral("number:3"));
  }

  // The panel sets the conditional style, the CSV column and the repeated group header, each
  // as one step that "Annuler" takes back.
  void designerSetsConditionalStyleColumnNameAndRepeat() {
    testing::ScriptedPlatform platform;
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("Comptes.frf"));
    WriteAll(path, R"(<report version="1">
      <band kind="group-header" group="Compte" key="Compte" height="6"><text x="0" y="0" width="50" height="5">[Compte]</text></band>
      <band kind="detail" height="5"><field x="0" y="0" width="30" height="5">Solde</field></band>
    </report>)");
    Report report(platform, nullptr);
    QVERIFY(report.LoadFromFile(path));
    ReportDesigner designer(report, platform, nullptr);
    designer.select(1, 0);
    designer.conditionBox()->setText(QStringLiteral("Solde < 0"));
    emit designer.conditionBox()->editingFinished();
    designer.conditionColourBox()->setCurrentText(QStringLiteral("Rouge"));
    designer.conditionBoldBox()->setChecked(true);
    designer.columnNameBox()->setText(QStringLiteral("Solde du compte"));
    emit designer.columnNameBox()->editingFinished();
    const ReportItem& field = designer.currentTemplate().bands[1].items[0];
    QCOMPARE(field.condition, QStringLiteral("Solde < 0"));
    QCOMPARE(field.conditionColor, QColor(QStringLiteral("#c00000")));
    QVERIFY(field.conditionBold);
    QCOMPARE(field.name, QStringLiteral("Solde du compte"));
    designer.select(0, -1);
    QVERIFY(designer.repeatBox()->isEnabled());
    designer.repeatBox()->setChecked(true);
    QVERIFY(designer.currentTemplate().bands[0].repeatOnNewPage);
    designer.select(1, -1);
    QVERIFY(!designer.repeatBox()->isEnabled());
    designer.undoStack()->undo();
    QVERIFY(!designer.currentTemplate().bands[0].repeatOnNewPage);
    designer.undoStack()->undo();
    QCOMPARE(designer.currentTemplate().bands[1].items[0].name, QString());
  }

  // "Date" and "Heure" come from the platform's clock, the names of days and months in
  // French.
  void printsThePlatformsDateAndTime() {
    testing::ScriptedPlatform platform;
    platform.todayValue = *Date::FromYmd(2015, 3, 5);
    platform.timeValue = QTime(9, 7);
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("Date.frf"));
    WriteAll(path, R"(<report version="1"><band kind="title" height="10">
      <text x="0" y="0" width="150" height="5">[FORMATDATE(Date, 'dddd d MMMM yyyy')] à [Heure], le [Date]</text>
    </band></report>)");
    Report report(platform, nullptr);
    QVERIFY(report.LoadFromFile(path));
    PreparedReport prepared = report.prepare();
    QCOMPARE(prepared.pages.at(0).items.at(0).lines,
             QStringList{QStringLiteral("jeudi 5 mars 2015 à 09:07, le 05/03/2015")});
  }

  // The preview's CSV save writes the printed records.
  void previewSavesThePrintedRecordsAsCsv() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    RenderData data;
    QVERIFY(report.LoadFromFile(shipped("Gestion_Tresorerie.frf")));
    wireDirectory(report, data);
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("tresorerie"));
    platform.fileAnswers.push_back(path);
    WithModals([&] { report.ShowReport(); },
               [&](QWidget* modal) {
                 auto* preview = qobject_cast<ReportPreview*>(modal);
                 QVERIFY(preview != nullptr);
                 QVERIFY(preview->csvButton()->isEnabled());
                 preview->csvButton()->click();
               });
    QCOMPARE(platform.fileDialogCaptions,
             std::vector<QString>{QStringLiteral("Enregistrer en CSV")});
    QByteArray csv = ReadAll(path + QStringLiteral(".csv"));
    QList<QByteArray> lines = csv.split('\n');
    QCOMPARE(lines.size(), static_cast<qsizetype>(data.records.size()) + 2);  // and the last CR LF
    QCOMPARE(lines[0], QByteArray("Membre;Licence;Type;T\xe9l\xe9phone;Solde\r"));  // the names
    QVERIFY(lines.last().isEmpty());
  }

  // The preview names what could not be printed whole: the item and the record.
  void previewSaysWhatDoesNotFitItsBox() {
    testing::ScriptedPlatform platform;
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("Soldes.frf"));
    WriteAll(path, R"(<report version="1"><page format="A5"/>
      <band kind="detail" height="6">
        <text x="0" y="0" width="40" height="5">[Nom]</text>
        <field x="40" y="0" width="11" height="5" align="right" format="amount">Solde</field>
      </band></report>)");
    Report report(platform, nullptr);
    QVERIFY(report.LoadFromFile(path));
    report.setRangeEndCount(3);
    report.setTitle(QStringLiteral("Soldes"));
    report.OnGetValue = [](const QString& name, int record, Value& value) {
      const char* names[] = {"DUPONT", "DE LA ROCHEFOUCAULD Marie-Bénédicte", "NOËL"};
      const qint64 cents[] = {6656, 106656, 1062153184};
      if (record > 2) return;
      if (name == QLatin1String("Nom")) value = Value::FromText(QString::fromUtf8(names[record]));
      if (name == QLatin1String("Solde"))
        value = Value::FromNumber(Decimal::FromCents(cents[record]));
    };
    QString shown;
    WithModals([&] { report.ShowReport(); },
               [&](QWidget* modal) {
                 auto* preview = qobject_cast<ReportPreview*>(modal);
                 QVERIFY(preview != nullptr);
                 preview->resize(900, 700);
                 QApplication::processEvents();
                 testing::SaveScreenshot(preview, QStringLiteral("apercu-avertissements.png"));
                 shown = preview->messageLabel()->text();
               });
    QStringList lines = shown.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], QStringLiteral("Avertissements du modèle :"));
    QVERIFY2(
        lines[1].startsWith(QStringLiteral("Bande « Détail » (ligne 2) : élément Texte (ligne 3), "
                                           "enregistrement 2 : « DE LA ROCHEFOUCAULD")),
        qPrintable(lines[1]));
    QVERIFY2(
        lines[2].startsWith(QStringLiteral("Bande « Détail » (ligne 2) : élément Champ (ligne 4), "
                                           "enregistrement 3 : « 10621531,84 » ne tient pas")),
        qPrintable(lines[2]));
  }

  // Pages are drawn as they come into view: opening a long report draws a page or two.
  void previewDrawsOnlyThePagesInView() {
    testing::ScriptedPlatform platform;
    PreparedReport prepared;
    prepared.title = QStringLiteral("Long");
    for (int p = 0; p < 500; ++p) {
      DisplayItem text;
      text.rect = QRectF(10, 10, 100, 5);
      text.lines = QStringList{QStringLiteral("Page %1").arg(p + 1)};
      text.lineHeightMm = 4;
      prepared.pages.push_back(PreparedPage{{text}});
    }
    ReportPreview preview(std::move(prepared), platform, nullptr);
    bool painted = false;
    preview.setOnFirstPaint([&painted] { painted = true; });
    preview.resize(800, 900);
    preview.show();
    QTRY_VERIFY(painted);
    QVERIFY2(preview.pageView()->pagesDrawn() <= 3,
             qPrintable(QString::number(preview.pageView()->pagesDrawn())));
    preview.goToPage(250);
    QCOMPARE(preview.currentPage(), 250);
    QApplication::processEvents();
    preview.pageView()->viewport()->repaint();
    QVERIFY(preview.pageView()->pagesDrawn() <= 6);
    preview.goToPage(500);
    QCOMPARE(preview.currentPage(), 500);
  }
};

}  // namespace vantrel::reports

QTEST_MAIN(vantrel::reports::ReportBridgeTest)
#include "report_bridge_test.moc"
