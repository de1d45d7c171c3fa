#include "platform/qt_platform.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

#include "app/main_window_screen.h"
#include "core/error.h"
#include "loopback_server.h"
#include "platform/command.h"
#include "platform/screen.h"
#include "platform/text.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

using vantrel::AppContext;
using vantrel::Screen;
using vantrel::platform::Button;
using vantrel::platform::Drive;
using vantrel::platform::MessageKind;
using vantrel::platform::QtPlatform;
using vantrel::testing::LoopbackServer;
using vantrel::testing::ProgramFolder;
using vantrel::testing::ScriptedPlatform;

Q_DECLARE_METATYPE(std::vector<vantrel::platform::Button>)

namespace {

// A screen that counts its activations, for the tracker tests.
class CountingScreen : public Screen {
 public:
  using Screen::Screen;
  void activated() override { log << QStringLiteral("+") + objectName(); }
  void deactivated() override { log << QStringLiteral("-") + objectName(); }
  QStringList log;
};

}  // namespace

class QtPlatformTest : public QObject {
  Q_OBJECT

 private slots:
  void headRequestAnswersTrueOnlyForStatus200() {
    LoopbackServer server;
    server.route("/ok", "HTTP/1.1 200 OK\r\n");
    server.route("/moved", "HTTP/1.1 301 Moved\r\nLocation: /ok\r\n");
    QtPlatform desktop;
    QVERIFY(desktop.headRequestOk(QUrl(server.base() + "/ok"), 5000));
    QVERIFY(!desktop.headRequestOk(QUrl(server.base() + "/missing"), 5000));
    QVERIFY(desktop.headRequestOk(QUrl(server.base() + "/moved"), 5000));
    QVERIFY(server.requests.contains("HEAD /ok HTTP/1.1"));
  }

  void headRequestGivesUpAfterItsDeadlineWhileEventsRun() {
    LoopbackServer server;
    server.silent("/silent");
    QtPlatform desktop;
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!desktop.headRequestOk(QUrl(server.base() + "/silent"), 300));
    QVERIFY2(clock.elapsed() >= 290, "returned before its deadline");
    QVERIFY2(clock.elapsed() < 5000, "did not give up");
    QVERIFY2(ticks > 3, "events did not run while waiting");
  }

  void unreachableHostAnswersFalse() {
    QtPlatform desktop;
    // Nothing listens on port 1 of the loopback address.
    QVERIFY(!desktop.headRequestOk(QUrl("http://127.0.0.1:1/arbitrage/index.html"), 3000));
  }

  void versionCheckAgainstALoopbackSite() {
    LoopbackServer server;
    server.route("/arbitrage/index.html", "HTTP/1.1 200 OK\r\n");
    ProgramFolder folder;
    QtPlatform real;
    // The real network, but a scripted answer to the question.
    struct Desktop : ScriptedPlatform {
      QtPlatform* network;
      bool headRequestOk(const QUrl& url, int timeoutMs) override {
        return network->headRequestOk(url, timeoutMs);
      }
    } desktop;
    desktop.network = &real;
    desktop.answers.push_back(Button::kNo);
    AppContext context(desktop);
    context.settings.programFolder = folder.path();
    vantrel::TFichFprg window(context);
    window.setSiteAddress(server.base());
    QVERIFY(window.startUp());
    QCOMPARE(desktop.messages.size(), size_t{1});
    QCOMPARE(server.requests, (QList<QByteArray>{"HEAD /arbitrage/index.html HTTP/1.1",
                                                 "HEAD /arbitrage/Vantrel_9.19.11.html HTTP/1.1"}));

    server.route("/arbitrage/Vantrel_9.19.11.html", "HTTP/1.1 200 OK\r\n");
    desktop.messages.clear();
    vantrel::TFichFprg current(context);
    current.setSiteAddress(server.base());
    QVERIFY(current.startUp());
    QVERIFY(desktop.messages.empty());

    server.silent("/arbitrage/index.html");
    vantrel::TFichFprg silent(context);
    silent.setSiteAddress(server.base());
    silent.setHeadTimeoutMs(200);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(silent.startUp());
    QVERIFY(clock.elapsed() < 5000);
    QVERIFY(desktop.messages.empty());
  }

  // "Vous voulez créer un nouvel exercice :" is followed by LF CR: one line break, no
  // empty line.
  void messageBoxTextMakesOneBreakOfEachPair_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("LF CR") << QStringLiteral("exercice :\n\r2027-2028")
                           << QStringLiteral("exercice :\n2027-2028");
    QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << QStringLiteral("a\nb");
    QTest::newRow("lone CR") << QStringLiteral("a\rb") << QStringLiteral("a\nb");
    QTest::newRow("two LF CR") << QStringLiteral(" : \n\r- Enlever\n\r- Mettre")
                               << QStringLiteral(" : \n- Enlever\n- Mettre");
    QTest::newRow("empty line kept") << QStringLiteral("a\r\n\r\nb") << QStringLiteral("a\n\nb");
    QTest::newRow("two LF") << QStringLiteral("a\n\nb") << QStringLiteral("a\n\nb");
    QTest::newRow("trailing") << QStringLiteral("a\n\r") << QStringLiteral("a\n");
  }
  void messageBoxTextMakesOneBreakOfEachPair() {
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QCOMPARE(vantrel::platform::MessageBoxText(stored), shown);
  }

  void textEdgeConvertsTheWholeCodePage() {
    QCOMPARE(vantrel::ToQString("\x80 \x9c \xe9 \xc9"), QStringLiteral("€ œ é É"));
    QCOMPARE(vantrel::FromQString(QStringLiteral("€ œ é É")), std::string("\x80 \x9c \xe9 \xc9"));
    QCOMPARE(vantrel::FromQString(QStringLiteral("中 😀")), std::string("? ??"));
  }

  void commandWrapperShowsTheErrorAndGoesOn() {
    ScriptedPlatform desktop;
    int done = 0;
    QVERIFY(!vantrel::RunCommand(nullptr, desktop, [&] {
      ++done;
      throw vantrel::NotADate("31/02/2020");
      ++done;
    }));
    QCOMPARE(done, 1);
    QCOMPARE(desktop.messages.size(), size_t{1});
    QCOMPARE(desktop.messages[0].kind, MessageKind::kError);
    QCOMPARE(desktop.messages[0].text, QStringLiteral("'31/02/2020' n'est pas une date correcte"));
    QCOMPARE(desktop.messages[0].buttons, std::vector<Button>{Button::kOk});
    QVERIFY(vantrel::RunCommand(nullptr, desktop, [] {}));
  }

  void trackerSwitchesOnlyBetweenScreens() {
    ScriptedPlatform desktop;
    AppContext context(desktop);
    CountingScreen a(context), b(context);
    a.setObjectName("a");
    b.setObjectName("b");
    context.tracker.windowActivated(&a);
    context.tracker.windowActivated(&a);  // back from a message box: nothing
    context.tracker.windowActivated(&b);
    QCOMPARE(a.log, (QStringList{"+a", "-a"}));
    QCOMPARE(b.log, QStringList{"+b"});

    // A real activation event reaches the tracker through the screen.
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&a, &activate);
    QCOMPARE(a.log, (QStringList{"+a", "-a", "+a"}));
    QCOMPARE(b.log, (QStringList{"+b", "-b"}));
    QCOMPARE(context.tracker.current(), static_cast<Screen*>(&a));
  }

  // Escape on a real message box: "Annuler" when offered (a save question's "&Non" throws the
  // edits away), else "&Non".
  void escapeNeverThrowsEditsAway_data() {
    QTest::addColumn<std::vector<Button>>("buttons");
    QTest::addColumn<Button>("expected");
    QTest::newRow("oui non annuler")
        << std::vector<Button>{Button::kYes, Button::kNo, Button::kCancel} << Button::kCancel;
    QTest::newRow("oui non") << std::vector<Button>{Button::kYes, Button::kNo} << Button::kNo;
    QTest::newRow("ok annuler") << std::vector<Button>{Button::kOk, Button::kCancel}
                                << Button::kCancel;
  }
  void escapeNeverThrowsEditsAway() {
    QFETCH(std::vector<Button>, buttons);
    QFETCH(Button, expected);
    QtPlatform desktop;
    QTimer::singleShot(0, [] {
      QWidget* box = QApplication::activeModalWidget();
      QVERIFY(box != nullptr);
      QTest::keyClick(box, Qt::Key_Escape);
    });
    QCOMPARE(desktop.message(nullptr, MessageKind::kConfirmation,
                             QStringLiteral("Enregistrer les modifications de la fiche ?"), buttons,
                             Button::kYes),
             expected);
  }

  void drivesAreClassifiedByFileSystemAndMountPoint() {
    using T = Drive::Type;
    QCOMPARE(vantrel::platform::DriveTypeOf("vfat", "/dev/sdb1", "/media/club/CLE"),
             std::optional<T>(T::kRemovable));
    QCOMPARE(vantrel::platform::DriveTypeOf("ext4", "/dev/sda1", "/"), std::optional<T>(T::kFixed));
    QCOMPARE(vantrel::platform::DriveTypeOf("nfs4", "srv:/club", "/srv/club"),
             std::optional<T>(T::kRemote));
    QCOMPARE(vantrel::platform::DriveTypeOf("iso9660", "/dev/sr0", "/media/cdrom"),
             std::optional<T>(T::kCdRom));
    QCOMPARE(vantrel::platform::DriveTypeOf("tmpfs", "tmpfs", "/tmp"),
             std::optional<T>(T::kRamDisk));
    QCOMPARE(vantrel::platform::DriveTypeOf("proc", "proc", "/proc"), std::optional<T>());
    QCOMPARE(vantrel::platform::DriveTypeOf("tmpfs", "tmpfs", "/run/lock"), std::optional<T>());
  }
};

QTEST_MAIN(QtPlatformTest)
#include "qt_platform_test.moc"
