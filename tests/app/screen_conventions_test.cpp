// What every screen shares: its caption, and Escape leaving it as its "Quitter" does, wherever
// the focus is.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QScreen>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <memory>

#include "accounting/books_screen.h"
#include "accounting/chart_screen.h"
#include "accounting/entry_screen.h"
#include "accounting/settings_screen.h"
#include "accounting/statements_screen.h"
#include "app/apropos_screen.h"
#include "app/main_window_screen.h"
#include "competitions/convocation_screen.h"
#include "competitions/cup_management_screen.h"
#include "competitions/cup_ranking_screen.h"
#include "competitions/results_screen.h"
#include "competitions/tournament_mail_screen.h"
#include "core/version.h"
#include "members/consultation_screen.h"
#include "members/import_screen.h"
#include "members/listing_screen.h"
#include "members/member_card_screen.h"
#include "platform/app_context.h"
#include "platform/show_screen.h"
#include "reports/page_view.h"
#include "reports/report.h"
#include "reports/report_designer.h"
#include "reports/report_preview.h"
#include "support/screenshots.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"
#include "utilities/backup_screen.h"
#include "utilities/calculator_screen.h"

namespace vantrel {

namespace {

using Make = std::function<std::unique_ptr<Screen>(AppContext&)>;

template <typename T>
Make Plain() {
  return [](AppContext& context) { return std::make_unique<T>(context); };
}

// One screen as the main menu shows it: how it is made and told its mode, the caption it
// then has and the object name of its "Quitter" button (empty when it has none).
struct ScreenCase {
  const char* row;
  Make make;
  QString caption;
  const char* quitter;
};

std::vector<ScreenCase> Cases() {
  return {
      {"TFichFGest", Plain<TFichFGest>(), QStringLiteral("Consultation du Fichier adhèrents"),
       "BtQuitte"},
      {"TFichFEdit listing",
       [](AppContext& c) {
         auto s = std::make_unique<TFichFEdit>(c);
         s->setMode(TFichFEdit::Mode::kListing);
         return s;
       },
       QStringLiteral("Edition des données après tri"), "Button3"},
      {"TFichFEdit mail",
       [](AppContext& c) {
         auto s = std::make_unique<TFichFEdit>(c);
         s->setMode(TFichFEdit::Mode::kMail);
         return s;
       },
       QStringLiteral("Edition des données après tri pour envoi par Courriel"), "Button3"},
      {"TFichFimp", Plain<TFichFimp>(), QStringLiteral("Importation des données de la base FFB"),
       "Button1"},
      {"TFichFin", Plain<TFichFin>(), QStringLiteral("Modification de la fiche adhérent"),
       "BtQuitte"},
      {"TFichFPlan", Plain<TFichFPlan>(), QStringLiteral("Gestion du plan Comptable"), "BtQuitte"},
      {"TFichFEntree", Plain<TFichFEntree>(), QStringLiteral("Ecriture d'opération"), "Quitter"},
      {"TFichFGLiv", Plain<TFichFGLiv>(), QStringLiteral("Edition du Grand Livre"), "BtQuitte"},
      {"TFichFTable", Plain<TFichFTable>(),
       QStringLiteral("Edition des tableaux de résultat et de Bilan"), "BtQuitte"},
      {"TFichFPar", Plain<TFichFPar>(),
       QStringLiteral("Paramètrages et personnalisation du logiciel OU Nouvelle Saison"),
       "BtQuitte"},
      {"TFichFResult", Plain<TFichFResult>(), QStringLiteral("Gestion des résultats d'un Tournoi"),
       "BtQuitte"},
      {"TFichFGestion",
       [](AppContext& c) {
         auto s = std::make_unique<TFichFGestion>(c);
         s->setCup(3);
         return s;
       },
       QStringLiteral("Gestion de la Coupe 3"), "BtQuitte"},
      {"TFichFClassment",
       [](AppContext& c) {
         auto s = std::make_unique<TFichFClassment>(c);
         s->setCup(2);
         return s;
       },
       QStringLiteral("Classement de la Coupe 2"), "BtQuitte"},
      {"TFichFConvoc", Plain<TFichFConvoc>(),
       QStringLiteral("Editions des inscriptions par quatre"), "BtQuitter"},
      {"TFichFCourriels", Plain<TFichFCourriels>(),
       QStringLiteral("Envoi de courriels aux joueurs ayant disputé un tournoi de régularité"),
       "BtQuitter"},
      {"TFichFSvg backup",
       [](AppContext& c) {
         auto s = std::make_unique<TFichFSvg>(c);
         s->setMode(TFichFSvg::Mode::kBackup);
         return s;
       },
       QStringLiteral("Sauvegarde vers lecteur"), "BpQuitter"},
      {"TFichFSvg restore",
       [](AppContext& c) {
         auto s = std::make_unique<TFichFSvg>(c);
         s->setMode(TFichFSvg::Mode::kRestore);
         return s;
       },
       QStringLiteral("Restauration vers lecteur"), "BpQuitter"},
      {"TFichFCalc", Plain<TFichFCalc>(), QStringLiteral("Calculette"), ""},
      {"TApropos", Plain<TApropos>(), QStringLiteral("A propos du logiciel Vantrel"), ""},
      {"TFichFprg", Plain<TFichFprg>(),
       QStringLiteral("(Version %1) Programme de gestion d'un club")
           .arg(QString::fromLatin1(kVersion)),
       ""},
  };
}

// A club with an empty member file; every modal window a screen would open is closed at once.
struct Club {
  Club() : context(desktop) {
    testing::WriteFile(folder.exerciseFolder() / "Joueur.DBP", "");
    context.settings = folder.settings();
    QObject::connect(&closer, &QTimer::timeout, [] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        dialog->done(QDialog::Rejected);
      }
    });
    closer.start(20);
  }

  testing::ProgramFolder folder;
  testing::ScriptedPlatform desktop;
  AppContext context;
  QTimer closer;
};

void Populate() {
  QTest::addColumn<int>("index");
  const std::vector<ScreenCase> cases = Cases();
  for (std::size_t i = 0; i < cases.size(); ++i) {
    QTest::newRow(cases[i].row) << static_cast<int>(i);
  }
}

// The screen shown and settled, as after its menu item.
void ShowSettled(Screen& screen) {
  screen.show();
  QCoreApplication::processEvents();
}

}  // namespace

class ScreenConventionsTest : public QObject {
  Q_OBJECT

 private slots:
  void captionIsExactlyTheScreensOwn_data() { Populate(); }
  void captionIsExactlyTheScreensOwn() {
    QFETCH(int, index);
    const ScreenCase c = Cases()[static_cast<std::size_t>(index)];
    Club club;
    std::unique_ptr<Screen> screen = c.make(club.context);
    QCOMPARE(screen->windowTitle(), c.caption);
    ShowSettled(*screen);
    QCOMPARE(screen->windowTitle(), c.caption);  // nothing added once shown
    QCOMPARE(screen->windowHandle()->title(), c.caption);
  }

  void quitterHidesTheScreen_data() { Populate(); }
  void quitterHidesTheScreen() {
    QFETCH(int, index);
    const ScreenCase c = Cases()[static_cast<std::size_t>(index)];
    if (*c.quitter == '\0') QSKIP("no \"Quitter\" button");
    Club club;
    std::unique_ptr<Screen> screen = c.make(club.context);
    auto* quitter = screen->findChild<QPushButton*>(QLatin1String(c.quitter));
    QVERIFY(quitter != nullptr);
    QCOMPARE(quitter->text(), QStringLiteral("Quitter"));
    ShowSettled(*screen);
    QVERIFY(screen->isVisible());
    QTest::mouseClick(quitter, Qt::LeftButton);
    QCOMPARE(screen->isVisible(), false);
  }

  // Escape reaches quit() from every control that can hold the focus: none of them keeps it.
  void escapeQuitsFromEveryControl_data() { Populate(); }
  void escapeQuitsFromEveryControl() {
    QFETCH(int, index);
    const ScreenCase c = Cases()[static_cast<std::size_t>(index)];
    if (*c.quitter == '\0') QSKIP("no \"Quitter\" button");
    Club club;
    std::unique_ptr<Screen> screen = c.make(club.context);
    ShowSettled(*screen);
    QTest::keyClick(screen.get(), Qt::Key_Escape);
    QCOMPARE(screen->isVisible(), false);

    int tried = 0;
    // Some screens rebuild controls when they are shown again: those gone are skipped.
    QList<QPointer<QWidget>> children;
    for (QWidget* child : screen->findChildren<QWidget*>()) children << child;
    for (const QPointer<QWidget>& child : children) {
      ShowSettled(*screen);
      if (child.isNull()) continue;
      // A control on another page of a tab widget: that page shown first.
      for (QWidget* up = child; up != nullptr && up != screen.get(); up = up->parentWidget()) {
        QWidget* stack = up->parentWidget();
        auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
        if (tabs != nullptr && tabs->indexOf(up) >= 0) tabs->setCurrentWidget(up);
      }
      if (child->focusPolicy() == Qt::NoFocus || !child->isVisibleTo(screen.get()) ||
          !child->isEnabled() || child->isWindow()) {
        continue;
      }
      child->setFocus(Qt::OtherFocusReason);
      QCoreApplication::processEvents();
      QTest::keyClick(child, Qt::Key_Escape);
      const QString what = QStringLiteral("%1 (%2)").arg(
          child->objectName(), QString::fromLatin1(child->metaObject()->className()));
      QVERIFY2(!screen->isVisible(), qPrintable(what + QStringLiteral(" kept Escape")));
      ++tried;
    }
    QVERIFY(tried > 0);
  }

  // Every screen, shown by its menu item on a laptop screen (1366×768 under the offscreen
  // platform), lies inside the available area at no less than the size its layout needs:
  // nothing off-screen, nothing squeezed. VANTREL_SCREENSHOTS=folder keeps a picture of each.
  void fitsALaptopScreen_data() { Populate(); }
  void fitsALaptopScreen() {
    QFETCH(int, index);
    const ScreenCase c = Cases()[static_cast<std::size_t>(index)];
    Club club;
    std::unique_ptr<Screen> screen = c.make(club.context);
    ShowScreen(*screen);
    QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
    const QRect area = screen->screen()->availableGeometry();
    const QRect frame = screen->frameGeometry();
    const auto show = [](const QRect& r) {
      return QStringLiteral("%1×%2 at %3,%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y());
    };
    QVERIFY2(area.contains(frame), qPrintable(show(frame) + QStringLiteral(" on ") + show(area)));
    const QSize needed = screen->minimumSizeHint();
    QVERIFY2(screen->width() >= needed.width() && screen->height() >= needed.height(),
             qPrintable(QStringLiteral("%1×%2 for %3×%4")
                            .arg(screen->width())
                            .arg(screen->height())
                            .arg(needed.width())
                            .arg(needed.height())));
    // Centred on the area (within the frame the window manager adds, guessed before showing).
    QVERIFY2(std::abs(frame.center().x() - area.center().x()) <= 8, qPrintable(show(frame)));
    testing::SaveScreenshot(screen.get(),
                            QString::fromLatin1(c.row).replace(QLatin1Char(' '), QLatin1Char('_')) +
                                QStringLiteral(".png"));
  }

  // The menus keep their font and their width whatever screens were opened meanwhile: an
  // item is never cut ("Importat…nées FFB").
  void menusStayWholeAfterEveryScreen() {
    Club club;
    TFichFprg window(club.context);
    ShowSettled(window);
    const auto look = [&window] {
      QStringList looks;
      for (QMenu* menu : window.menuBar()->findChildren<QMenu*>()) {
        menu->ensurePolished();
        menu->popup(QPoint(10, 10));
        QCoreApplication::processEvents();
        const QImage picture = menu->grab().toImage();
        menu->hide();
        looks << QStringLiteral("%1: %2 %3×%4 %5")
                     .arg(menu->objectName(), menu->font().toString())
                     .arg(menu->sizeHint().width())
                     .arg(menu->sizeHint().height())
                     .arg(qHash(QByteArray(reinterpret_cast<const char*>(picture.constBits()),
                                           picture.sizeInBytes())));
        testing::SaveScreenshot(picture, QStringLiteral("menu-%1-%2.png")
                                             .arg(looks.size())
                                             .arg(QCoreApplication::applicationPid()));
      }
      return looks;
    };
    club.context.tracker.windowActivated(&window);
    QCoreApplication::processEvents();
    const QStringList before = look();
    for (const ScreenCase& c : Cases()) {
      std::unique_ptr<Screen> screen = c.make(club.context);
      ShowScreen(*screen);
      club.context.tracker.windowActivated(screen.get());
      QCoreApplication::processEvents();
      screen->hide();
      club.context.tracker.windowActivated(&window);
      QCoreApplication::processEvents();
      const QStringList after = look();
      QVERIFY2(after == before, qPrintable(QStringLiteral("after %1:\n%2\ninstead of\n%3")
                                              .arg(QString::fromLatin1(c.row),
                                                   after.join(QLatin1Char('\n')),
                                                   before.join(QLatin1Char('\n')))));
    }
    // The report preview, the designer and a printer met on the way change nothing either.
    {
      reports::Report report(club.desktop, &window);
      report.DesignReport();
      reports::PreparedReport pages;
      pages.pages.resize(1);
      reports::ReportPreview preview(pages, club.desktop, &window);
      preview.show();
      QCoreApplication::processEvents();
      QPrinter printer(QPrinter::HighResolution);
      printer.setOutputFormat(QPrinter::PdfFormat);
    }
    QCOMPARE(look(), before);
  }

  // The report preview opens within the screen too, and "Page entière" (its first zoom)
  // shows a whole A4 page, its foot included.
  void previewShowsAWholePageOnALaptop() {
    Club club;
    club.closer.stop();  // the preview and the designer are modal: kept open here
    reports::PreparedReport report;
    report.title = QStringLiteral("Balance");
    report.pages.resize(2);
    reports::ReportPreview preview(report, club.desktop, nullptr);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    QVERIFY(preview.screen()->availableGeometry().contains(preview.frameGeometry()));
    reports::PageView* view = preview.pageView();
    const double pageHeight = view->pixelsPerMm() * report.page.sizeMm().height();
    QVERIFY2(pageHeight <= view->viewport()->height(),
             qPrintable(QStringLiteral("%1 > %2").arg(pageHeight).arg(view->viewport()->height())));
    QVERIFY(pageHeight > 0.8 * view->viewport()->height());
    testing::SaveScreenshot(&preview, QStringLiteral("apercu.png"));

    // The designer as well.
    reports::Report template_(club.desktop, nullptr);
    reports::ReportDesigner designer(template_, club.desktop, nullptr);
    designer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&designer));
    QVERIFY2(designer.screen()->availableGeometry().contains(designer.frameGeometry()),
             qPrintable(QStringLiteral("%1×%2").arg(designer.width()).arg(designer.height())));
    testing::SaveScreenshot(&designer, QStringLiteral("concepteur.png"));
  }

  // The main window stays open on Escape, and the calculator keeps Escape as its "Suppr" key.
  void escapeLeavesTheMainWindowAndTheCalculator() {
    Club club;
    TFichFprg window(club.context);
    TFichFCalc calculator(club.context);
    ShowSettled(window);
    ShowSettled(calculator);
    QTest::keyClick(&window, Qt::Key_Escape);
    QTest::keyClick(&calculator, Qt::Key_Escape);
    QCOMPARE(window.isVisible(), true);
    QCOMPARE(calculator.isVisible(), true);
  }
};

}  // namespace vantrel

// Under the offscreen platform the screen is a laptop's, 1366×768 unless VANTREL_SCREEN says
// otherwise ("1600x1000").
int main(int argc, char* argv[]) {
  if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
    const QList<QByteArray> size =
        qEnvironmentVariable("VANTREL_SCREEN", QStringLiteral("1366x768")).toLatin1().split('x');
    const QString config =
        QDir::temp().filePath(QStringLiteral("vantrel-screen-%1.json").arg(QCoreApplication::applicationPid()));
    QFile file(config);
    if (file.open(QIODevice::WriteOnly)) {
      file.write("{\"screens\": [{\"name\": \"laptop\", \"x\": 0, \"y\": 0, \"width\": " +
                 size.value(0) + ", \"height\": " + size.value(1) +
                 ", \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}");
      file.close();
      qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    }
    QApplication application(argc, argv);
    file.remove();
    vantrel::ScreenConventionsTest test;
    return QTest::qExec(&test, argc, argv);
  }
  QApplication application(argc, argv);
  vantrel::ScreenConventionsTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "screen_conventions_test.moc"
