#pragma once

#include <functional>
#include <map>

#include "platform/screen.h"
#include "utilities/calculator.h"

class QLineEdit;
class QPushButton;

namespace vantrel {

// "Calculette": four operations on amounts shown in euros and in francs at once. The
// entry currency's button and display are bold. Keeps its state for the whole run.
class TFichFCalc : public Screen {
  Q_OBJECT

 public:
  explicit TFichFCalc(AppContext& context, QWidget* parent = nullptr);

  const utilities::Calculator& calculator() const { return m_calculator; }

  QLineEdit* EdEuro;
  QLineEdit* EdFranc;
  QPushButton* BtDigit[10];
  QPushButton* BtVirgule;
  QPushButton* BtRetour;
  QPushButton* BtNegatif;
  QPushButton* BtSuppr;
  QPushButton* BtPlus;
  QPushButton* BtMoins;
  QPushButton* BtMult;
  QPushButton* BtDiv;
  QPushButton* BtEgal;
  QPushButton* BtFrs;
  QPushButton* BtEuro;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPushButton* makeButton(const QString& caption, const char* name,
                          std::function<void(utilities::Calculator&)> action);
  // Shows the calculator's displays and the entry currency in bold.
  void refresh();

  utilities::Calculator m_calculator;
};

}  // namespace vantrel
