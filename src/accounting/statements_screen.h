#pragma once

#include <functional>
#include <optional>

#include "accounting/statements.h"
#include "platform/screen.h"
#include "reports/report.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vantrel {

// "Edition des tableaux de résultat et de Bilan": the income statement and the balance
// sheet of the current exercise beside two comparison exercises chosen by folder. Opened from
// the menu in one of two modes, each printing its report once, at the first activation.
class TFichFTable : public Screen {
  Q_OBJECT

 public:
  enum Mode { kIncomeStatementMode = 0, kBalanceSheetMode = 1 };

  explicit TFichFTable(AppContext& context, QWidget* parent = nullptr);

  // Sets the mode; its report prints at the next activation.
  void setMode(int mode);
  int mode() const { return m_mode; }

  void activated() override;
  void deactivated() override;

  // "Exercice 2" and "Exrecice 3": a folder under the program folder for year 2 or 3.
  void onChooseYear2();
  void onChooseYear3();
  void onIncomeStatement();
  void onBalanceSheet();

  // The grouping chosen by the radio group.
  accounting::Grouping grouping() const;

  // How a report that is ready is shown: the preview by default; tests look at it instead.
  std::function<void(reports::Report&)> showReport;
  reports::Report& report() { return m_report; }
  const std::optional<accounting::StatementTable>& loadedTable() const { return m_table; }

  QLineEdit* Edit1;
  QLineEdit* Edit2;
  QLineEdit* Edit3;
  QPushButton* Bt_Exercice1;
  QPushButton* Bt_Exercice2;
  QPushButton* Bt_Exercice3;
  QGroupBox* RadioGroup;
  QRadioButton* Rb_Normaux;
  QRadioButton* Rb_Detailles;
  QRadioButton* Rb_Regroupes;
  QPushButton* Bt_Resultat;
  QPushButton* Bt_Bilan;
  QPushButton* BtQuitte;

 private:
  void chooseYear(QLineEdit* edit);
  // The accounts of the table over the three years shown (read again when missing).
  const accounting::StatementTable& table();
  void print(const std::function<ReportRequest(const accounting::StatementTable&)>& build);
  void printAutomaticReport();

  reports::Report m_report;
  std::optional<accounting::StatementTable> m_table;
  int m_mode = kIncomeStatementMode;
  bool m_automaticDone = true;
};

}  // namespace vantrel
