// The designer's property panels: each one refreshed from the template, each control
// changing exactly its own field as one undoable step, and the designer showing the panels
// of what is selected.

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGraphicsScene>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include "reports/designer_band_panel.h"
#include "reports/designer_item_panel.h"
#include "reports/designer_page_panel.h"
#include "reports/designer_panel.h"
#include "reports/designer_variables_panel.h"
#include "reports/report.h"
#include "reports/report_designer.h"
#include "support/screenshots.h"
#include "support/scripted_platform.h"

namespace vantrel::reports {
namespace {

QString Shipped(const char* name) {
  return QStringLiteral(VANTREL_TEMPLATES_DIR "/") + QLatin1String(name);
}

// The designer as the panels see it: a template, a selection, and the steps asked for.
class RecordingEditor : public TemplateEditor {
 public:
  struct Step {
    QString what;
    QString mergeKey;  // empty for a step that does not merge
  };

  ReportTemplate value;
  DesignerSelection selected;
  std::vector<std::pair<QString, QString>> names;
  std::vector<Step> steps;

  const ReportTemplate& editedTemplate() const override { return value; }
  DesignerSelection selection() const override { return selected; }
  std::vector<std::pair<QString, QString>> knownNames() const override { return names; }
  void change(const QString& what, const std::function<void(ReportTemplate&)>& edit) override {
    ReportTemplate changed = value;
    edit(changed);
    if (changed == value) return;
    steps.push_back({what, QString()});
    value = changed;
  }
  void type(const QString& what, const QString& mergeKey,
            const std::function<void(ReportTemplate&)>& edit) override {
    edit(value);
    steps.push_back({what, mergeKey});
  }
  QStringList stepNames() const {
    QStringList names;
    for (const Step& step : steps) names << step.what;
    return names;
  }
};

// A group header, a detail band with a field and a line, and a page footer.
ReportTemplate Sample() {
  ReportTemplate t;
  Band header;
  header.kind = BandKind::kGroupHeader;
  header.group = QStringLiteral("Compte");
  header.groupKey = QStringLiteral("Compte");
  header.height = 7;
  t.bands.push_back(header);
  Band detail;
  detail.kind = BandKind::kDetail;
  detail.height = 5;
  detail.scriptBefore = QStringLiteral("Total := Total + Solde");
  ReportItem field;
  field.kind = ItemKind::kField;
  field.content = QStringLiteral("Solde");
  field.format = QStringLiteral("amount");
  field.x = 88;
  field.width = 30;
  field.align = HAlign::kRight;
  field.borders.top = true;
  field.borders.widthMm = 0.3;
  field.condition = QStringLiteral("Solde < 0");
  field.conditionColor = QColor(QStringLiteral("#1f4e9c"));
  field.conditionBold = true;
  field.name = QStringLiteral("Solde du compte");
  detail.items.push_back(field);
  ReportItem line;
  line.kind = ItemKind::kLine;
  line.height = 0;
  line.lineWidthMm = 0.5;
  detail.items.push_back(line);
  t.bands.push_back(detail);
  Band footer;
  footer.kind = BandKind::kPageFooter;
  footer.onFirstPage = false;
  t.bands.push_back(footer);
  VariableDef total;
  total.name = QStringLiteral("Total");
  total.reset = VariableReset::kGroup;
  total.group = QStringLiteral("Compte");
  t.variables.push_back(total);
  return t;
}

DesignerSelection Items(std::vector<std::pair<int, int>> items) {
  DesignerSelection s;
  s.items = std::move(items);
  s.bands.push_back(s.items.front().first);
  return s;
}

DesignerSelection BandAlone(int band) {
  DesignerSelection s;
  s.bands.push_back(band);
  return s;
}

}  // namespace

class DesignerPanelsTest : public QObject {
  Q_OBJECT

 private slots:
  // The designer on a laptop screen with an item, a band and nothing (the page) selected:
  // the window and the whole panel column.
  void designerShowsThePanelsOfEachSelection() {
    testing::ScriptedPlatform platform;
    Report report(platform, nullptr);
    QVERIFY(report.LoadFromFile(Shipped("Gestion_Resultat.frf")));
    ReportDesigner designer(report, platform, nullptr);
    designer.resize(1366, 768);
    designer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&designer));
    auto* scroll = designer.findChild<QScrollArea*>();
    QVERIFY(scroll != nullptr);
    auto shoot = [&](const QString& name) {
      QApplication::processEvents();
      testing::SaveScreenshot(&designer, QStringLiteral("designer-%1.png").arg(name));
      testing::SaveScreenshot(scroll->widget(), QStringLiteral("panel-%1.png").arg(name));
    };
    designer.select(3, 1);
    shoot(QStringLiteral("item"));
    designer.select(2, -1);
    shoot(QStringLiteral("band"));
    designer.scene()->clearSelection();
    shoot(QStringLiteral("page"));
  }

  // The first selected item shows, with the count of the others; showing writes nothing.
  void itemPanelShowsTheFirstSelectedItem() {
    RecordingEditor editor;
    editor.value = Sample();
    editor.selected = Items({{1, 0}, {1, 1}});
    editor.names = {{QStringLiteral("Solde"), QStringLiteral("Solde : -25,5")}};
    DesignerItemPanel panel(editor, nullptr);
    panel.refresh();
    QVERIFY(panel.isEnabled());
    QCOMPARE(panel.kindLabel()->text(), QStringLiteral("Champ (et 1 autres)"));
    QCOMPARE(panel.textBox()->toPlainText(), QStringLiteral("Solde"));
    QCOMPARE(panel.namesBox()->count(), 2);
    QCOMPARE(panel.namesBox()->itemText(1), QStringLiteral("Solde : -25,5"));
    QCOMPARE(panel.sizeBox()->value(), 10.0);
    QCOMPARE(panel.alignBox()->currentText(), QStringLiteral("Droite"));
    QVERIFY(panel.borderTopBox()->isChecked());
    QCOMPARE(panel.formatBox()->currentText(), QStringLiteral("Montant (1234,50)"));
    QCOMPARE(panel.conditionBox()->text(), QStringLiteral("Solde < 0"));
    QCOMPARE(panel.conditionColourBox()->currentText(), QStringLiteral("Bleu"));
    QVERIFY(panel.conditionBoldBox()->isChecked());
    QCOMPARE(panel.columnNameBox()->text(), QStringLiteral("Solde du compte"));
    QCOMPARE(panel.xBox()->value(), 88.0);
    QCOMPARE(panel.widthBox()->value(), 30.0);
    QCOMPARE(panel.lineWidthBox()->value(), 0.3);  // a field's borders
    editor.selected = Items({{1, 1}});
    panel.refresh();
    QCOMPARE(panel.kindLabel()->text(), ItemKindLabel(ItemKind::kLine));
    QCOMPARE(panel.lineWidthBox()->value(), 0.5);  // a line's own width
    editor.selected = BandAlone(1);
    panel.refresh();
    QVERIFY(!panel.isEnabled());
    QCOMPARE(panel.kindLabel()->text(), QStringLiteral("aucun élément sélectionné"));
    QCOMPARE(editor.value, Sample());
    QVERIFY(editor.steps.empty());
  }

  // A style reaches every selected item, the place only the first; nothing else changes.
  void itemPanelChangesExactlyTheFieldOfItsControl() {
    RecordingEditor editor;
    editor.value = Sample();
    editor.selected = Items({{1, 0}, {1, 1}});
    DesignerItemPanel panel(editor, nullptr);
    panel.refresh();
    panel.boldBox()->setChecked(true);
    ReportTemplate expected = Sample();
    expected.bands[1].items[0].font.bold = true;
    expected.bands[1].items[1].font.bold = true;
    QCOMPARE(editor.value, expected);
    panel.xBox()->setValue(90);
    expected.bands[1].items[0].x = 90;
    QCOMPARE(editor.value, expected);
    panel.lineWidthBox()->setValue(0.4);
    expected.bands[1].items[0].borders.widthMm = 0.4;
    expected.bands[1].items[1].lineWidthMm = 0.4;
    QCOMPARE(editor.value, expected);
    panel.formatBox()->setCurrentText(QStringLiteral("Entier (1235)"));
    expected.bands[1].items[0].format = QStringLiteral("integer");
    expected.bands[1].items[1].format = QStringLiteral("integer");
    QCOMPARE(editor.value, expected);
    panel.columnNameBox()->setText(QStringLiteral("  Débit  "));
    emit panel.columnNameBox()->editingFinished();
    expected.bands[1].items[0].name = QStringLiteral("Débit");
    expected.bands[1].items[1].name = QStringLiteral("Débit");
    QCOMPARE(editor.value, expected);
    QCOMPARE(editor.stepNames(), QStringList({QStringLiteral("Gras"), QStringLiteral("Position"),
                                              QStringLiteral("Épaisseur"), QStringLiteral("Format"),
                                              QStringLiteral("Colonne CSV")}));
  }

  // Text typed goes to the first item as steps that merge; "Insérer" replaces a field's
  // expression and adds to a text.
  void itemPanelTypesTheTextAndInsertsNames() {
    RecordingEditor editor;
    editor.value = Sample();
    editor.value.bands[0].items.push_back(ReportItem());
    editor.selected = Items({{1, 0}});
    editor.names = {{QStringLiteral("Nom"), QStringLiteral("Nom : LÉCUYER")}};
    DesignerItemPanel panel(editor, nullptr);
    panel.refresh();
    panel.textBox()->setPlainText(QStringLiteral("Solde1"));
    QCOMPARE(editor.value.bands[1].items[0].content, QStringLiteral("Solde1"));
    QCOMPARE(editor.steps.back().mergeKey, QStringLiteral("text 1 0"));
    emit panel.namesBox()->activated(1);
    QCOMPARE(editor.value.bands[1].items[0].content, QStringLiteral("Nom"));
    QCOMPARE(panel.namesBox()->currentIndex(), 0);
    editor.selected = Items({{0, 0}});
    panel.refresh();
    panel.textBox()->moveCursor(QTextCursor::End);
    emit panel.namesBox()->activated(1);
    QCOMPARE(editor.value.bands[0].items[0].content, QStringLiteral("[Nom]"));
    QCOMPARE(editor.steps.back().mergeKey, QStringLiteral("text 0 0"));
    for (const RecordingEditor::Step& step : editor.steps)
      QCOMPARE(step.what, QStringLiteral("Texte"));
  }

  // A colour of the template that the list does not offer shows once however often the
  // item is shown, and choosing it again gives that colour back.
  void itemPanelKeepsAConditionColourTheListDoesNotOffer() {
    RecordingEditor editor;
    editor.value = Sample();
    editor.value.bands[1].items[0].conditionColor = QColor(QStringLiteral("#123456"));
    editor.selected = Items({{1, 0}});
    DesignerItemPanel panel(editor, nullptr);
    panel.refresh();
    panel.refresh();
    QComboBox* colours = panel.conditionColourBox();
    QCOMPARE(colours->currentText(), QStringLiteral("#123456"));
    QCOMPARE(colours->findText(QStringLiteral("#123456")), colours->count() - 1);
    QCOMPARE(colours->count(), 7);
    int own = colours->currentIndex();
    colours->setCurrentText(QStringLiteral("Rouge"));
    QCOMPARE(editor.value.bands[1].items[0].conditionColor, QColor(QStringLiteral("#c00000")));
    colours->setCurrentIndex(own);
    QCOMPARE(editor.value.bands[1].items[0].conditionColor, QColor(QStringLiteral("#123456")));
    colours->setCurrentText(QStringLiteral("(inchangée)"));
    QVERIFY(!editor.value.bands[1].items[0].conditionColor.isValid());
  }

  // Each band shows its values, with what its kind does not use disabled.
  void bandPanelShowsTheBandWithWhatItsKindUses() {
    RecordingEditor editor;
    editor.value = Sample();
    DesignerBandPanel panel(editor, nullptr);
    editor.selected = BandAlone(0);
    panel.refresh();
    QVERIFY(panel.isEnabled());
    QCOMPARE(panel.kindLabel()->text(), BandKindLabel(BandKind::kGroupHeader));
    QCOMPARE(panel.heightBox()->value(), 7.0);
    QCOMPARE(panel.groupBox()->text(), QStringLiteral("Compte"));
    QVERIFY(panel.repeatBox()->isEnabled());
    QVERIFY(panel.groupKeyBox()->isEnabled());
    QVERIFY(!panel.columnsBox()->isEnabled());
    QVERIFY(!panel.firstPageBox()->isEnabled());
    editor.selected = Items({{1, 1}});  // the band of the selected item
    panel.refresh();
    QCOMPARE(panel.kindLabel()->text(), BandKindLabel(BandKind::kDetail));
    QCOMPARE(panel.scriptBeforeBox()->toPlainText(), QStringLiteral("Total := Total + Solde"));
    QVERIFY(panel.columnsBox()->isEnabled());
    QVERIFY(panel.pageBreakBox()->isEnabled());
    QVERIFY(!panel.repeatBox()->isEnabled());
    QVERIFY(!panel.groupBox()->isEnabled());
    editor.selected = BandAlone(2);
    panel.refresh();
    QVERIFY(panel.firstPageBox()->isEnabled());
    QVERIFY(!panel.firstPageBox()->isChecked());
    editor.selected = DesignerSelection();
    panel.refresh();
    QVERIFY(!panel.isEnabled());
    QCOMPARE(panel.kindLabel()->text(), QStringLiteral("aucune bande sélectionnée"));
    QCOMPARE(editor.value, Sample());
    QVERIFY(editor.steps.empty());
  }

  void bandPanelChangesExactlyTheFieldOfItsControl() {
    RecordingEditor editor;
    editor.value = Sample();
    editor.selected = BandAlone(0);
    DesignerBandPanel panel(editor, nullptr);
    panel.refresh();
    panel.heightBox()->setValue(9);
    panel.repeatBox()->setChecked(true);
    panel.groupKeyBox()->setText(QStringLiteral(" Compte + Nom "));
    emit panel.groupKeyBox()->editingFinished();
    ReportTemplate expected = Sample();
    expected.bands[0].height = 9;
    expected.bands[0].repeatOnNewPage = true;
    expected.bands[0].groupKey = QStringLiteral("Compte + Nom");
    QCOMPARE(editor.value, expected);
    editor.selected = BandAlone(1);
    panel.refresh();
    panel.scriptAfterBox()->setPlainText(QStringLiteral("N := N + 1"));
    expected.bands[1].scriptAfter = QStringLiteral("N := N + 1");
    QCOMPARE(editor.value, expected);
    QString after = editor.steps.back().mergeKey;
    panel.scriptBeforeBox()->setPlainText(QString());
    expected.bands[1].scriptBefore.clear();
    QCOMPARE(editor.value, expected);
    // Typing in the other box, or in the same box of another band, does not merge.
    QVERIFY(!after.isEmpty());
    QVERIFY(editor.steps.back().mergeKey != after);
    editor.selected = BandAlone(0);
    panel.refresh();
    panel.scriptAfterBox()->setPlainText(QStringLiteral("N := 0"));
    expected.bands[0].scriptAfter = QStringLiteral("N := 0");
    QCOMPARE(editor.value, expected);
    QVERIFY(editor.steps.back().mergeKey != after);
    QCOMPARE(editor.stepNames(),
             QStringList({QStringLiteral("Hauteur de bande"), QStringLiteral("Répéter l'en-tête"),
                          QStringLiteral("Clé du groupe"), QStringLiteral("Calcul"),
                          QStringLiteral("Calcul"), QStringLiteral("Calcul")}));
  }

  // The sides of a custom page are for a custom page only, and stay short then long.
  void pagePanelShowsAndChangesThePage() {
    RecordingEditor editor;
    editor.value = Sample();
    editor.value.page.landscape = true;
    editor.value.page.marginTop = 20;
    DesignerPagePanel panel(editor, nullptr);
    panel.refresh();
    QCOMPARE(panel.formatBox()->currentText(), QStringLiteral("A4 (210 × 297)"));
    QCOMPARE(panel.orientationBox()->currentText(), QStringLiteral("Paysage"));
    QCOMPARE(panel.marginTopBox()->value(), 20.0);
    QVERIFY(!panel.shortSideBox()->isEnabled());
    QVERIFY(editor.steps.empty());
    panel.formatBox()->setCurrentText(QStringLiteral("Personnalisé"));
    QCOMPARE(editor.value.page.format, PageFormat::kCustom);
    panel.refresh();
    QVERIFY(panel.shortSideBox()->isEnabled());
    panel.shortSideBox()->setValue(400);
    QCOMPARE(editor.value.page.customShortMm, 297.0);
    QCOMPARE(editor.value.page.customLongMm, 400.0);
    panel.offsetXBox()->setValue(-3);
    panel.orientationBox()->setCurrentIndex(0);
    ReportTemplate expected = Sample();
    expected.page.marginTop = 20;
    expected.page.format = PageFormat::kCustom;
    expected.page.customShortMm = 297;
    expected.page.customLongMm = 400;
    expected.page.printOffsetX = -3;
    QCOMPARE(editor.value, expected);
    QCOMPARE(editor.stepNames(),
             QStringList({QStringLiteral("Format de page"), QStringLiteral("Mise en page"),
                          QStringLiteral("Mise en page"), QStringLiteral("Orientation")}));
  }

  // Rows showing the template stay as they are; edits reach the one variable.
  void variablesPanelShowsAndEditsTheVariables() {
    RecordingEditor editor;
    editor.value = Sample();
    DesignerVariablesPanel panel(editor, nullptr);
    panel.refresh();
    QTableWidget* table = panel.table();
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("Total"));
    QCOMPARE(qobject_cast<QComboBox*>(table->cellWidget(0, 2))->currentIndex(), 2);
    QTableWidgetItem* shown = table->item(0, 0);
    panel.refresh();
    QCOMPARE(table->item(0, 0), shown);
    table->item(0, 1)->setText(QStringLiteral("  "));
    QCOMPARE(editor.value.variables[0].initial, QStringLiteral("0"));
    QVERIFY(editor.steps.empty());  // "0" already
    table->item(0, 1)->setText(QStringLiteral("100"));
    QCOMPARE(editor.value.variables[0].initial, QStringLiteral("100"));
    auto buttons = panel.findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 2);
    buttons[0]->click();  // Ajouter
    QCOMPARE(editor.value.variables.size(), 2u);
    QCOMPARE(editor.value.variables[1].name, QStringLiteral("Total2"));
    panel.refresh();
    QCOMPARE(table->rowCount(), 2);
    qobject_cast<QComboBox*>(table->cellWidget(1, 2))->setCurrentIndex(1);
    QCOMPARE(editor.value.variables[1].reset, VariableReset::kPage);
    table->setCurrentCell(0, 0);
    buttons[1]->click();  // Retirer
    QCOMPARE(editor.value.variables.size(), 1u);
    QCOMPARE(editor.value.variables[0].name, QStringLiteral("Total2"));
    QCOMPARE(editor.stepNames(),
             QStringList({QStringLiteral("Variable"), QStringLiteral("Ajouter une variable"),
                          QStringLiteral("Variable"), QStringLiteral("Retirer une variable")}));
  }

  // The designer enables the panels of what is selected; a control changes exactly its
  // field as one undoable step, and undoing it leaves the template unmodified.
  void designerEnablesThePanelsOfTheSelectionAndEditsThroughThem() {
    testing::ScriptedPlatform platform;
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("Comptes.frf"));
    QString error;
    QVERIFY(SaveTemplateFile(path, Sample(), &error));
    Report report(platform, nullptr);
    QVERIFY(report.LoadFromFile(path));
    const ReportTemplate loaded = report.reportTemplate();
    ReportDesigner designer(report, platform, nullptr);
    designer.select(1, 0);
    QVERIFY(designer.itemPanel()->isEnabled());
    QVERIFY(designer.bandPanel()->isEnabled());
    QCOMPARE(designer.bandPanel()->kindLabel()->text(), BandKindLabel(BandKind::kDetail));
    designer.select(0, -1);
    QVERIFY(!designer.itemPanel()->isEnabled());
    QCOMPARE(designer.bandPanel()->kindLabel()->text(), BandKindLabel(BandKind::kGroupHeader));
    designer.scene()->clearSelection();
    QVERIFY(!designer.itemPanel()->isEnabled());
    QVERIFY(!designer.bandPanel()->isEnabled());
    QVERIFY(designer.pagePanel()->isEnabled());
    QVERIFY(designer.undoStack()->isClean());

    designer.select(1, 0);
    designer.itemPanel()->sizeBox()->setValue(12);
    ReportTemplate expected = loaded;
    expected.bands[1].items[0].font.pointSize = 12;
    QCOMPARE(designer.currentTemplate(), expected);
    QVERIFY(!designer.undoStack()->isClean());
    QCOMPARE(designer.undoStack()->undoText(), QStringLiteral("Taille"));
    designer.select(0, -1);
    designer.bandPanel()->heightBox()->setValue(11);
    expected.bands[0].height = 11;
    QCOMPARE(designer.currentTemplate(), expected);
    designer.pagePanel()->marginTopBox()->setValue(25);
    expected.page.marginTop = 25;
    QCOMPARE(designer.currentTemplate(), expected);
    QCOMPARE(designer.undoStack()->count(), 3);
    for (int i = 0; i < 3; ++i) designer.undoStack()->undo();
    QCOMPARE(designer.currentTemplate(), loaded);
    QVERIFY(designer.undoStack()->isClean());
    QCOMPARE(designer.pagePanel()->marginTopBox()->value(), 12.0);
  }

  // Typed text is one step per run of typing, and the text box keeps what is typed.
  void designerMergesTextTypedIntoOneStep() {
    testing::ScriptedPlatform platform;
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("Comptes.frf"));
    QString error;
    QVERIFY(SaveTemplateFile(path, Sample(), &error));
    Report report(platform, nullptr);
    QVERIFY(report.LoadFromFile(path));
    const ReportTemplate loaded = report.reportTemplate();
    ReportDesigner designer(report, platform, nullptr);
    designer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&designer));
    designer.select(1, 0);
    QPlainTextEdit* text = designer.itemPanel()->textBox();
    text->setFocus();
    text->moveCursor(QTextCursor::End);
    QTest::keyClicks(text, QStringLiteral(" + 1"));
    QCOMPARE(designer.currentTemplate().bands[1].items[0].content, QStringLiteral("Solde + 1"));
    QCOMPARE(text->toPlainText(), QStringLiteral("Solde + 1"));
    QCOMPARE(designer.undoStack()->count(), 1);
    designer.undoStack()->undo();
    QCOMPARE(designer.currentTemplate(), loaded);
    QCOMPARE(text->toPlainText(), QStringLiteral("Solde"));
    designer.hide();
  }

  // Showing every item and every band of every shipped template changes none of them.
  void browsingTheShippedTemplatesChangesNothing() {
    const QStringList names = QDir(QStringLiteral(VANTREL_TEMPLATES_DIR))
                                  .entryList({QStringLiteral("*.frf")}, QDir::Files);
    QVERIFY(names.size() >= 10);
    for (const QString& name : names) {
      testing::ScriptedPlatform platform;
      Report report(platform, nullptr);
      QVERIFY(report.LoadFromFile(QStringLiteral(VANTREL_TEMPLATES_DIR "/") + name));
      ReportDesigner designer(report, platform, nullptr);
      const ReportTemplate loaded = designer.currentTemplate();
      for (int b = 0; b < static_cast<int>(loaded.bands.size()); ++b) {
        designer.select(b, -1);
        for (int i = 0; i < static_cast<int>(loaded.bands[b].items.size()); ++i)
          designer.select(b, i);
      }
      designer.scene()->clearSelection();
      QVERIFY2(designer.undoStack()->count() == 0, qPrintable(name));
      QVERIFY2(designer.currentTemplate() == loaded, qPrintable(name));
    }
  }
};

}  // namespace vantrel::reports

QTEST_MAIN(vantrel::reports::DesignerPanelsTest)
#include "designer_panels_test.moc"
