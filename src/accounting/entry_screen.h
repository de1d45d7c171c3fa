#pragma once

#include <array>

#include "accounting/entry_form.h"
#include "platform/screen.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace vantrel {

class RecordGrid;

// "Ecriture d'opération": a journal entry of one to five accounts, kept balanced, with the
// ledger of each account chosen and the whole journal; posted through PostJournalEntry.
class TFichFEntree : public Screen {
  Q_OBJECT

 public:
  explicit TFichFEntree(AppContext& context, QWidget* parent = nullptr);

  void activated() override;
  void deactivated() override;

  const accounting::EntryForm& form() const { return m_form; }

  QLineEdit* Libelle;
  std::array<QComboBox*, accounting::kEntryRows> Compte;
  std::array<QLineEdit*, accounting::kEntryRows> Saisie;
  std::array<QLineEdit*, accounting::kEntryRows> Debit;
  std::array<QLineEdit*, accounting::kEntryRows> Credit;
  QLineEdit* EdSolde;
  QLineEdit* EditDate;
  QPushButton* Enregistrer;
  QPushButton* Annuler;
  QPushButton* Quitter;
  QTabWidget* Pages;
  RecordGrid* StrGrJournal;
  std::array<RecordGrid*, accounting::kEntryRows> StrGrd;

  // Handlers; k is the row, 1 to 5.
  void onEnterAccount(int k);
  void onLeaveAccount(int k);
  void onAmountTyped(int k);
  void onPost();
  void onCancel();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Shows the imbalance, the debit and credit of every row, and "Enregistrer" when it may post.
  void checkBalance();
  void showLedger(int k);
  void loadJournal();
  std::filesystem::path folder() const { return settings().exerciseFolder(); }

  accounting::EntryForm m_form;
  // What each account box offered when it was entered.
  std::array<Lines, accounting::kEntryRows> m_offered;
  bool m_settingAmount = false;
};

}  // namespace vantrel
