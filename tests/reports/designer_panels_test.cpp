// The designer's property panels: each one refreshed from the template, each control
// changing exactly its own field as one undoable step, and the designer showing the panels
// of what is selected.

#include <QDir>
#include <QFile>
#include <QGraphicsScene>
#include <QScrollArea>
#include <QtTest>

#include "reports/report.h"
#include "reports/report_designer.h"
#include "support/scripted_platform.h"

namespace vantrel::reports {
namespace {

QString Shipped(const char* name) {
  return QStringLiteral(VANTREL_TEMPLATES_DIR "/") + QLatin1String(name);
}

// Where screenshots go when VANTREL_SHOTS is set (a folder); nothing is saved otherwise.
void Shoot(QWidget* widget, const QString& name) {
  QString folder = qEnvironmentVariable("VANTREL_SHOTS");
  if (folder.isEmpty()) return;
  widget->grab().save(QDir(folder).filePath(name));
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
      Shoot(&designer, QStringLiteral("designer-%1.png").arg(name));
      Shoot(scroll->widget(), QStringLiteral("panel-%1.png").arg(name));
    };
    designer.select(3, 1);
    shoot(QStringLiteral("item"));
    designer.select(2, -1);
    shoot(QStringLiteral("band"));
    designer.scene()->clearSelection();
    shoot(QStringLiteral("page"));
  }
};

}  // namespace vantrel::reports

QTEST_MAIN(vantrel::reports::DesignerPanelsTest)
#include "designer_panels_test.moc"
