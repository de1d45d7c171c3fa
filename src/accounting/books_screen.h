#pragma once

#include <functional>
#include <optional>

#include "accounting/books.h"
#include "platform/screen.h"
#include "reports/report.h"

class QComboBox;
class QPushButton;

namespace vantrel {

// "Edition du Grand Livre": prints the books of the current exercise (journal, ledger of an
// account, trial balance, accounts in use). Opened from the menu in one of three modes; the
// trial balance and accounts-in-use modes print their report once, at the first activation.
class TFichFGLiv : public Screen {
  Q_OBJECT

 public:
  // The screen's mode number, set by the menu item that shows it.
  enum Mode { kTrialBalanceMode = 0, kAccountsInUseMode = 1, kLedgerMode = 2 };

  explicit TFichFGLiv(AppContext& context, QWidget* parent = nullptr);

  // Sets the mode; its automatic report prints at the next activation.
  void setMode(int mode);
  int mode() const { return m_mode; }

  void activated() override;
  void deactivated() override;

  // "Editer" (and a double click on the list): the journal or the chosen account's ledger.
  void onEdit();
  void onEditTrialBalance();
  void onEditAccountsInUse();

  // How a report that is ready is shown: the preview by default; tests look at it instead.
  std::function<void(reports::Report&)> showReport;
  reports::Report& report() { return m_report; }

  QComboBox* ComboBox1;
  QPushButton* Bt_Editer;
  QPushButton* Bt_EditerBalance;
  QPushButton* Bt_EditerPlan;
  QPushButton* BtQuitte;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The chart and the ledgers, read at activation (again if a failure left them unread).
  const accounting::BooksContext& books();
  void print(const std::function<ReportRequest(const accounting::BooksContext&)>& build);
  void printAutomaticReport();

  reports::Report m_report;
  std::optional<accounting::BooksContext> m_books;
  int m_mode = kLedgerMode;
  bool m_automaticDone = true;
};

}  // namespace vantrel
