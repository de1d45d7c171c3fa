// Qt's own texts in French once the program has installed its translation.
#include "platform/qt_translation.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

#include "support/screenshots.h"

namespace vantrel {

namespace {

// A dialog shown for a moment and saved as a screenshot (support/screenshots.h).
void Shoot(QWidget* widget, const QString& name) {
  if (testing::ScreenshotFolder().isEmpty()) return;
  widget->show();
  QTest::qWait(50);
  testing::SaveScreenshot(widget, name);
  widget->hide();
}

}  // namespace

class QtTranslationTest : public QObject {
  Q_OBJECT

 private slots:
  void programFolderComesFirst() {
    const QStringList folders = platform::QtTranslationFolders(QStringLiteral("/opt/club"));
    QCOMPARE(folders, (QStringList{QStringLiteral("/opt/club"), QStringLiteral("/opt/club/translations"),
                                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)}));
  }

  // Before: English; after: the standard buttons and the file dialog speak French.
  void standardDialogsSpeakFrench() {
    {
      QDialogButtonBox box(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
      QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancel"));
    }
    const QString loaded = platform::InstallQtFrenchTranslation(*qApp);
    QCOMPARE(QFileInfo(loaded).fileName(), QStringLiteral("qtbase_fr.qm"));

    QDialogButtonBox box(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
    QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Annuler"));
    QCOMPARE(box.button(QDialogButtonBox::Save)->text(), QStringLiteral("Enregistrer"));

    QFileDialog dialog(nullptr, QStringLiteral("Ouvrir"), QDir::tempPath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) labels << label->text();
    QVERIFY2(labels.contains(QStringLiteral("Voir dans :")), qPrintable(labels.join(" | ")));
    Shoot(&dialog, QStringLiteral("dialogue-fichier"));

    QPrinter printer;
    QPrintDialog print(&printer);
    QStringList buttons;
    for (const QPushButton* button : print.findChildren<QPushButton*>()) buttons << button->text();
    QVERIFY2(buttons.contains(QStringLiteral("Im&primer")), qPrintable(buttons.join(" | ")));
    QVERIFY2(buttons.contains(QStringLiteral("&Options >>")), qPrintable(buttons.join(" | ")));
    Shoot(&print, QStringLiteral("dialogue-impression"));
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::QtTranslationTest)
#include "qt_translation_test.moc"
