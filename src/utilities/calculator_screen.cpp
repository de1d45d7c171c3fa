#include "utilities/calculator_screen.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "platform/text.h"

namespace vantrel {

namespace {

QLineEdit* MakeDisplay(QWidget* parent, const char* name) {
  auto* display = new QLineEdit(QStringLiteral("0"), parent);
  display->setObjectName(QString::fromLatin1(name));
  display->setReadOnly(true);
  display->setAlignment(Qt::AlignRight);
  display->setFocusPolicy(Qt::NoFocus);
  QFont font = display->font();
  font.setPointSize(14);
  display->setFont(font);
  return display;
}

void SetBold(QWidget* widget, bool bold) {
  QFont font = widget->font();
  font.setBold(bold);
  widget->setFont(font);
}

}  // namespace

TFichFCalc::TFichFCalc(AppContext& context, QWidget* parent) : Screen(context, parent) {
  setObjectName(QStringLiteral("TFichFCalc"));
  setWindowTitle(QStringLiteral("Calculette"));
  auto* grid = new QGridLayout(this);

  EdEuro = MakeDisplay(this, "EdEuro");
  EdFranc = MakeDisplay(this, "EdFranc");
  BtEuro = makeButton(QStringLiteral("€"), "BtEuro", [](auto& c) { c.toEuro(); });
  BtFrs = makeButton(QStringLiteral("Frs"), "BtFrs", [](auto& c) { c.toFranc(); });
  grid->addWidget(EdEuro, 0, 0, 1, 3);
  grid->addWidget(BtEuro, 0, 3);
  grid->addWidget(EdFranc, 1, 0, 1, 3);
  grid->addWidget(BtFrs, 1, 3);

  for (int d = 0; d <= 9; ++d) {
    const QByteArray name = "Bt" + QByteArray::number(d);
    BtDigit[d] = makeButton(QString::number(d), name.constData(), [d](auto& c) { c.digit(d); });
  }
  BtVirgule = makeButton(QStringLiteral(","), "BtVirgule", [](auto& c) { c.comma(); });
  BtRetour = makeButton(QStringLiteral("<---"), "BtRetour", [](auto& c) { c.backspace(); });
  BtNegatif = makeButton(QStringLiteral("(-)"), "BtNegatif", [](auto& c) { c.negate(); });
  BtSuppr = makeButton(QStringLiteral("Suppr"), "BtSuppr", [](auto& c) { c.clear(); });
  BtPlus = makeButton(QStringLiteral("+"), "BtPlus", [](auto& c) { c.setOperator('+'); });
  BtMoins = makeButton(QStringLiteral("-"), "BtMoins", [](auto& c) { c.setOperator('-'); });
  BtMult = makeButton(QStringLiteral("X"), "BtMult", [](auto& c) { c.setOperator('*'); });
  BtDiv = makeButton(QStringLiteral("/"), "BtDiv", [](auto& c) { c.setOperator('/'); });
  BtEgal = makeButton(QStringLiteral("="), "BtEgal", [](auto& c) { c.equals(); });

  // Keypad layout: 7 8 9 / | 4 5 6 X | 1 2 3 - | 0 , (-) + | Suppr <--- =
  grid->addWidget(BtDigit[7], 2, 0);
  grid->addWidget(BtDigit[8], 2, 1);
  grid->addWidget(BtDigit[9], 2, 2);
  grid->addWidget(BtDiv, 2, 3);
  grid->addWidget(BtDigit[4], 3, 0);
  grid->addWidget(BtDigit[5], 3, 1);
  grid->addWidget(BtDigit[6], 3, 2);
  grid->addWidget(BtMult, 3, 3);
  grid->addWidget(BtDigit[1], 4, 0);
  grid->addWidget(BtDigit[2], 4, 1);
  grid->addWidget(BtDigit[3], 4, 2);
  grid->addWidget(BtMoins, 4, 3);
  grid->addWidget(BtDigit[0], 5, 0);
  grid->addWidget(BtVirgule, 5, 1);
  grid->addWidget(BtNegatif, 5, 2);
  grid->addWidget(BtPlus, 5, 3);
  grid->addWidget(BtSuppr, 6, 0);
  grid->addWidget(BtRetour, 6, 1);
  grid->addWidget(BtEgal, 6, 2, 1, 2);

  setFocusPolicy(Qt::StrongFocus);
  refresh();
  resize(300, 320);
}

QPushButton* TFichFCalc::makeButton(const QString& caption, const char* name,
                                    std::function<void(utilities::Calculator&)> action) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(QString::fromLatin1(name));
  button->setFocusPolicy(Qt::NoFocus);
  button->setMinimumHeight(32);
  connect(button, &QPushButton::clicked, this, [this, action] {
    runCommand([&] { action(m_calculator); });
    refresh();
  });
  return button;
}

void TFichFCalc::refresh() {
  EdEuro->setText(ToQString(m_calculator.euroDisplay()));
  EdFranc->setText(ToQString(m_calculator.francDisplay()));
  const bool euro = m_calculator.currency() == utilities::Calculator::Currency::kEuro;
  SetBold(EdEuro, euro);
  SetBold(BtEuro, euro);
  SetBold(EdFranc, !euro);
  SetBold(BtFrs, !euro);
}

void TFichFCalc::keyPressEvent(QKeyEvent* event) {
  const bool keypad = event->modifiers() & Qt::KeypadModifier;
  QPushButton* button = nullptr;
  const int key = event->key();
  if (keypad && key >= Qt::Key_0 && key <= Qt::Key_9) {
    button = BtDigit[key - Qt::Key_0];
  } else if (keypad && (key == Qt::Key_Period || key == Qt::Key_Comma)) {
    button = BtVirgule;
  } else if (keypad && key == Qt::Key_Plus) {
    button = BtPlus;
  } else if (keypad && key == Qt::Key_Minus) {
    button = BtMoins;
  } else if (keypad && key == Qt::Key_Asterisk) {
    button = BtMult;
  } else if (keypad && key == Qt::Key_Slash) {
    button = BtDiv;
  } else if (key == Qt::Key_Enter || key == Qt::Key_Return) {
    button = BtEgal;
  } else if (key == Qt::Key_Backspace) {
    button = BtRetour;
  } else if (key == Qt::Key_Clear || key == Qt::Key_Escape || key == Qt::Key_Delete) {
    button = BtSuppr;
  }
  if (!button) {
    Screen::keyPressEvent(event);
    return;
  }
  QApplication::processEvents();
  button->click();
}

}  // namespace vantrel
