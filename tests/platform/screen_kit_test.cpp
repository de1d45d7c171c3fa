// The screen kit: record grid, busy guard, paths at the widget edge, menu wiring.
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <stdexcept>

#include "app/main_window_screen.h"
#include "core/numbers.h"
#include "core/text_helpers.h"
#include "platform/busy_guard.h"
#include "platform/record_grid.h"
#include "platform/text.h"
#include "support/scripted_platform.h"

namespace vantrel {

namespace {

// A grid over ledger-like lines: number, name, amount in cents shown as money.
RecordGrid* MakeGrid() {
  auto* grid = new RecordGrid({{QStringLiteral("Num"), 52},
                               {QStringLiteral("Libellé"), 201},
                               {QStringLiteral("Montant"), 70, Qt::AlignRight}});
  grid->model().setCellText([](const std::string& line, int, int column) {
    const std::string field = FieldAt(line, column);
    if (column == 2 && !field.empty()) return FormatCents(ParseAmount(field));
    return field;
  });
  return grid;
}

Lines NumberedLines(int count) {
  Lines lines;
  for (int i = 0; i < count; ++i) lines.push_back(std::to_string(1000 + i) + ";Compte;100;");
  return lines;
}

// The rightmost and leftmost columns of pixels of `color` inside rect of image.
std::pair<int, int> ColorSpan(const QImage& image, const QRect& rect, QRgb color) {
  int left = -1;
  int right = -1;
  for (int x = rect.left(); x <= rect.right(); ++x) {
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
      if ((image.pixel(x, y) & 0xffffff) != (color & 0xffffff)) continue;
      if (left < 0) left = x;
      right = x;
    }
  }
  return {left, right};
}

}  // namespace

class ScreenKitTest : public QObject {
  Q_OBJECT

 private slots:
  void gridShowsWindowsBytesAsText_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("shown");
    QTest::newRow("accents") << QByteArray("7560;J\xe9r\xf4me NO\xcbL;2500;") << 1
                             << QStringLiteral("Jérôme NOËL");
    QTest::newRow("ligature and euro")
        << QByteArray("1;C\x9cur \x80;;") << 1 << QStringLiteral("Cœur €");
    QTest::newRow("money") << QByteArray("7560;x;-12345;") << 2 << QStringLiteral("-123,45");
    QTest::newRow("empty amount") << QByteArray("7560;x;;") << 2 << QString();
    QTest::newRow("missing field") << QByteArray("7560") << 1 << QString();
  }
  void gridShowsWindowsBytesAsText() {
    QFETCH(QByteArray, line);
    QFETCH(int, column);
    QFETCH(QString, shown);
    std::unique_ptr<RecordGrid> grid(MakeGrid());
    grid->model().setLines({line.toStdString()});
    QCOMPARE(grid->model().index(0, column).data().toString(), shown);
  }

  void gridRowsOfCells() {
    RecordGrid grid({{QString(), 20}, {QStringLiteral("Num"), 52}});
    grid.model().setRows({{">", "7560"}, {"", "L\xe9on"}, {}});
    QCOMPARE(grid.model().rowCount(), 3);
    QCOMPARE(grid.model().index(0, 0).data().toString(), QStringLiteral(">"));
    QCOMPARE(grid.model().index(1, 1).data().toString(), QStringLiteral("Léon"));
    QCOMPARE(grid.model().index(2, 1).data().toString(), QString());
    // Back to lines: the cells of before are gone.
    grid.model().setLines({"1;2;"});
    QCOMPARE(grid.model().index(0, 0).data().toString(), QStringLiteral("1"));
  }

  void gridColoursAndAlignsPerCell() {
    std::unique_ptr<RecordGrid> grid(MakeGrid());
    grid->model().setLines({"7560;a;100;X;", "5120;b;200;;"});
    grid->model().setCellColor([&](int row, int) {
      return FieldAt(grid->model().lines()[static_cast<std::size_t>(row)], 3) == "X"
                 ? QColor(Qt::black)
                 : QColor(Qt::red);
    });
    QCOMPARE(grid->model().index(0, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
    QCOMPARE(grid->model().index(1, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    QCOMPARE(grid->model().index(1, 2).data(Qt::TextAlignmentRole).toInt(),
             static_cast<int>(Qt::AlignRight));
    QCOMPARE(grid->model().index(1, 0).data(Qt::TextAlignmentRole).toInt(),
             static_cast<int>(Qt::AlignLeft));
    grid->model().setCellAlignment([](int row, int column) -> Qt::Alignment {
      return row == 1 && column == 0 ? Qt::AlignHCenter : Qt::Alignment();
    });
    QCOMPARE(grid->model().index(1, 0).data(Qt::TextAlignmentRole).toInt(),
             static_cast<int>(Qt::AlignHCenter));
    QCOMPARE(grid->model().index(0, 0).data(Qt::TextAlignmentRole).toInt(),
             static_cast<int>(Qt::AlignLeft));
  }

  void gridHasFixedWidthsAndHeader() {
    std::unique_ptr<RecordGrid> grid(MakeGrid());
    QCOMPARE(grid->columnWidth(0), 52);
    QCOMPARE(grid->columnWidth(1), 201);
    QCOMPARE(grid->columnWidth(2), 70);
    QCOMPARE(grid->horizontalHeader()->sectionResizeMode(1), QHeaderView::Fixed);
    QCOMPARE(grid->model().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("Libellé"));
    grid->setHeaderShown(false);
    QVERIFY(grid->horizontalHeader()->isHidden());
    grid->setRowHeight(24);
    grid->model().setLines(NumberedLines(3));
    QCOMPARE(grid->rowHeight(), 24);
    QCOMPARE(grid->QTableView::rowHeight(2), 24);
  }

  void gridScrollsToTopRowAndLastRows() {
    std::unique_ptr<RecordGrid> grid(MakeGrid());
    grid->model().setLines(NumberedLines(40));
    grid->setRowHeight(20);
    // Ten rows in view: the last fifteen start at row 25.
    grid->resize(grid->naturalWidth(), grid->horizontalHeader()->sizeHint().height() + 10 * 20 +
                                           2 * grid->frameWidth() + 4);
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    grid->showLastRows(15);
    QCOMPARE(grid->topRow(), 25);
    grid->showLastRows(1);
    QCOMPARE(grid->rowAt(grid->viewport()->height() - 1), 39);
    grid->setTopRow(7);
    QCOMPARE(grid->topRow(), 7);
    grid->setTopRow(-3);
    QCOMPARE(grid->topRow(), 0);
    // Fewer rows than asked for: the top stays at the first row.
    grid->model().setLines(NumberedLines(4));
    grid->showLastRows(15);
    QCOMPARE(grid->topRow(), 0);
  }

  void gridReportsSelectedCellByMouseAndKeyboard() {
    std::unique_ptr<RecordGrid> grid(MakeGrid());
    grid->model().setLines(NumberedLines(5));
    grid->resize(400, 300);
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    QSignalSpy spy(grid.get(), &RecordGrid::cellSelected);
    const QPoint cell = grid->visualRect(grid->model().index(2, 1)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0), (QVariantList{2, 1}));
    // Clicking the current cell again still reports it (a pick list opens again).
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
    QCOMPARE(spy.count(), 2);
    QTest::keyClick(grid.get(), Qt::Key_Down);
    QCOMPARE(spy.count(), 3);
    QCOMPARE(spy.at(2), (QVariantList{3, 1}));
  }

  void gridDrawsTextsTwoPixelsFromTheirEdge() {
    std::unique_ptr<RecordGrid> grid(MakeGrid());
    grid->setHeaderShown(false);
    grid->setShowGrid(false);
    grid->model().setLines({"8888;8888;888888;"});
    grid->model().setCellColor([](int, int) { return QColor(255, 0, 0); });
    grid->resize(grid->naturalWidth(), 80);
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    grid->clearSelection();
    grid->setCurrentIndex({});
    const QImage image = grid->viewport()->grab().toImage();
    const QRect left = grid->visualRect(grid->model().index(0, 0));
    const QRect right = grid->visualRect(grid->model().index(0, 2));
    const auto [leftStart, leftEnd] = ColorSpan(image, left, qRgb(255, 0, 0));
    const auto [rightStart, rightEnd] = ColorSpan(image, right, qRgb(255, 0, 0));
    // A glyph's ink starts up to two pixels after its advance box.
    QVERIFY2(
        leftStart >= left.left() + 2 && leftStart <= left.left() + 4,
        qPrintable(
            QStringLiteral("left text starts at %1, cell at %2").arg(leftStart).arg(left.left())));
    QVERIFY2(
        rightEnd <= right.right() - 2 && rightEnd >= right.right() - 4,
        qPrintable(
            QStringLiteral("right text ends at %1, cell at %2").arg(rightEnd).arg(right.right())));
    QVERIFY(leftEnd > leftStart && rightStart > right.left());
  }

  void busyGuardDisablesOnlyWhileItLives() {
    QWidget screen;
    auto* add = new QPushButton(&screen);
    auto* remove = new QPushButton(&screen);
    auto* edit = new QLineEdit(&screen);
    remove->setEnabled(false);
    {
      BusyGuard busy({add, remove, edit});
      QVERIFY(!add->isEnabled());
      QVERIFY(!edit->isEnabled());
      QVERIFY(QApplication::overrideCursor() != nullptr);
      QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    QVERIFY(add->isEnabled());
    QVERIFY(edit->isEnabled());
    QVERIFY(!remove->isEnabled());  // it was disabled before: it stays so
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }

  void busyGuardRestoresWhenWorkFails() {
    QWidget screen;
    auto* button = new QPushButton(&screen);
    try {
      BusyGuard busy(&screen);
      QVERIFY(!button->isEnabled());
      throw std::runtime_error("échec");
    } catch (const std::runtime_error&) {
    }
    QVERIFY(button->isEnabled());
    QVERIFY(screen.isEnabled());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }

  void busyGuardSurvivesAControlDeletedMeanwhile() {
    auto* button = new QPushButton;
    {
      BusyGuard busy(button);
      delete button;
    }
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }

  void pathsKeepEveryCharacter() {
    const std::filesystem::path path =
        std::filesystem::path(u"/club/Saison Noël 2026-2027") / u"Jérôme œuvre.dbp";
    const QString text = PathToQString(path);
    QCOMPARE(text, QStringLiteral("/club/Saison Noël 2026-2027/Jérôme œuvre.dbp"));
    QCOMPARE(PathFromQString(text), path);
    QCOMPARE(PathToQString({}), QString());
  }

  void wireScreenSetsCaptionThenShows() {
    testing::ScriptedPlatform desktop;
    AppContext context(desktop);
    TFichFprg window(context);
    QWidget screen;
    window.wireScreen(MenuItem::kCalculator, screen, QStringLiteral("Calculette du club"));
    QAction* item = window.action(MenuItem::kCalculator);
    QVERIFY(item->isEnabled());
    item->trigger();
    QVERIFY(screen.isVisible());
    QCOMPARE(screen.windowTitle(), QStringLiteral("Calculette du club"));
  }

  void wireScreenPreparesBeforeShowing() {
    testing::ScriptedPlatform desktop;
    AppContext context(desktop);
    TFichFprg window(context);
    QWidget screen;
    QStringList seen;
    window.wireScreen(MenuItem::kAbout, screen, [&] {
      seen << (screen.isVisible() ? QStringLiteral("visible") : QStringLiteral("hidden"));
    });
    window.action(MenuItem::kAbout)->trigger();
    window.action(MenuItem::kAbout)->trigger();
    QCOMPARE(seen, (QStringList{"hidden", "visible"}));
    QVERIFY(screen.isVisible());
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::ScreenKitTest)
#include "screen_kit_test.moc"
