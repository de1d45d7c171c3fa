#include "utilities/calculator_screen.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "support/scripted_platform.h"

namespace vantrel {

using platform::Button;
using platform::MessageKind;
using testing::ScriptedPlatform;

class CalculatorScreenTest : public QObject {
  Q_OBJECT

 private:
  // Clicks the screen's buttons: digits, ",", "+-X/", "=", "B" <---, "N" (-), "C" Suppr,
  // "F" Frs, "E" €.
  static void Click(TFichFCalc& screen, const QString& keys) {
    for (const QChar key : keys) {
      QPushButton* button = nullptr;
      if (key.isDigit())
        button = screen.BtDigit[key.digitValue()];
      else if (key == ',')
        button = screen.BtVirgule;
      else if (key == '+')
        button = screen.BtPlus;
      else if (key == '-')
        button = screen.BtMoins;
      else if (key == 'X')
        button = screen.BtMult;
      else if (key == '/')
        button = screen.BtDiv;
      else if (key == '=')
        button = screen.BtEgal;
      else if (key == 'B')
        button = screen.BtRetour;
      else if (key == 'N')
        button = screen.BtNegatif;
      else if (key == 'C')
        button = screen.BtSuppr;
      else if (key == 'F')
        button = screen.BtFrs;
      else if (key == 'E')
        button = screen.BtEuro;
      QVERIFY2(button, qPrintable(keys));
      QTest::mouseClick(button, Qt::LeftButton);
    }
  }

 private slots:
  void clicksShowBothCurrencies_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("euro");
    QTest::addColumn<QString>("franc");
    QTest::newRow("10") << "10"
                        << "10"
                        << "65,6";
    QTest::newRow("1,0 then 5") << "1,05"
                                << "1,05"
                                << "6,89";
    QTest::newRow("third decimal ignored") << "1,059"
                                           << "1,05"
                                           << "6,89";
    QTest::newRow("5 + 3 =") << "5+3="
                             << "8"
                             << "52,48";
    QTest::newRow("10 / 3 =") << "10/3="
                              << "3,33"
                              << "21,87";
    QTest::newRow("1 / 8 =") << "1/8="
                             << "0,12"
                             << "0,82";
    QTest::newRow("1,35 / 10 =") << "1,35/10="
                                 << "0,14"
                                 << "0,89";
    QTest::newRow("Suppr keeps +") << "2+C3="
                                   << "5"
                                   << "32,8";
    QTest::newRow("(-) on 0") << "N"
                              << "0"
                              << "0";
    QTest::newRow("(-) on 5") << "5N"
                              << "-5"
                              << "-32,8";
    QTest::newRow("<--- to one digit") << "12B"
                                       << "1"
                                       << "6,56";
    QTest::newRow("times") << "2X3,5="
                           << "7"
                           << "45,92";
    QTest::newRow("francs entry") << "F100"
                                  << "15,24"
                                  << "100";
  }
  void clicksShowBothCurrencies() {
    QFETCH(QString, keys);
    QFETCH(QString, euro);
    QFETCH(QString, franc);
    ScriptedPlatform desktop;
    AppContext context(desktop);
    TFichFCalc screen(context);
    Click(screen, keys);
    QCOMPARE(screen.EdEuro->text(), euro);
    QCOMPARE(screen.EdFranc->text(), franc);
    QCOMPARE(desktop.messages.size(), std::size_t(0));
  }

  void entryCurrencyIsBold() {
    ScriptedPlatform desktop;
    AppContext context(desktop);
    TFichFCalc screen(context);
    QCOMPARE(screen.BtEuro->font().bold(), true);
    QCOMPARE(screen.EdEuro->font().bold(), true);
    QCOMPARE(screen.BtFrs->font().bold(), false);
    Click(screen, "F");
    QCOMPARE(screen.BtEuro->font().bold(), false);
    QCOMPARE(screen.EdFranc->font().bold(), true);
    QCOMPARE(screen.BtFrs->font().bold(), true);
    QCOMPARE(screen.EdEuro->font().bold(), false);
  }

  void divisionByZeroShowsTheArithmeticError() {
    ScriptedPlatform desktop;
    AppContext context(desktop);
    TFichFCalc screen(context);
    Click(screen, "7/0=");
    QCOMPARE(desktop.messages.size(), std::size_t(1));
    QCOMPARE(desktop.messages[0].kind, MessageKind::kError);
    QCOMPARE(desktop.messages[0].text, QStringLiteral("Division par zéro"));
    QCOMPARE(screen.EdEuro->text(), QStringLiteral("0"));
    QCOMPARE(screen.calculator().accumulator(), std::int64_t(70000));
    Click(screen, "2=");
    QCOMPARE(screen.EdEuro->text(), QStringLiteral("2"));
  }

  // 1 / 0 =, OK, Suppr, 2 + 3 = is 5: the failed division does not linger.
  void failedDivisionIsForgotten() {
    ScriptedPlatform desktop;
    AppContext context(desktop);
    TFichFCalc screen(context);
    Click(screen, "1/0=");
    QCOMPARE(desktop.messages.size(), std::size_t(1));
    QCOMPARE(desktop.messages[0].buttons, std::vector<Button>{Button::kOk});
    Click(screen, "C2+3=");
    QCOMPARE(screen.EdEuro->text(), QStringLiteral("5"));
    QCOMPARE(screen.EdFranc->text(), QStringLiteral("32,8"));
  }

  void keypadKeysActAsButtons() {
    ScriptedPlatform desktop;
    AppContext context(desktop);
    TFichFCalc screen(context);
    screen.show();
    QTest::keyClick(&screen, Qt::Key_5, Qt::KeypadModifier);
    QTest::keyClick(&screen, Qt::Key_7);  // the main keyboard's digits do nothing
    QTest::keyClick(&screen, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(&screen, Qt::Key_3, Qt::KeypadModifier);
    QTest::keyClick(&screen, Qt::Key_Period, Qt::KeypadModifier);
    QTest::keyClick(&screen, Qt::Key_5, Qt::KeypadModifier);
    QTest::keyClick(&screen, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(screen.EdEuro->text(), QStringLiteral("8,5"));
    QTest::keyClick(&screen, Qt::Key_Escape);
    QCOMPARE(screen.EdEuro->text(), QStringLiteral("0"));
    QCOMPARE(screen.EdFranc->text(), QStringLiteral("0"));
    QTest::keyClick(&screen, Qt::Key_4, Qt::KeypadModifier);
    QTest::keyClick(&screen, Qt::Key_2, Qt::KeypadModifier);
    QTest::keyClick(&screen, Qt::Key_Backspace);
    QCOMPARE(screen.EdEuro->text(), QStringLiteral("4"));
  }

  void tooManyDigitsShowAConversionError() {
    ScriptedPlatform desktop;
    AppContext context(desktop);
    TFichFCalc screen(context);
    Click(screen, "999999999999999");
    QCOMPARE(screen.EdEuro->text(), QStringLiteral("99999999999999"));
    QCOMPARE(desktop.messages.size(), std::size_t(1));
    QCOMPARE(
        desktop.messages[0].text,
        QStringLiteral("'999999999999999' n'est pas une valeur en virgule flottante correcte"));
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::CalculatorScreenTest)
#include "calculator_screen_test.moc"
