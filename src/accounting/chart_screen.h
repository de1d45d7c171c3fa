#pragma once

#include "accounting/chart_editor.h"
#include "core/report_request.h"
#include "platform/screen.h"
#include "reports/report.h"

class QLineEdit;
class QPushButton;

namespace vantrel {

class RecordGrid;

// "Gestion du plan Comptable": the chart of accounts of the current exercise; accounts added,
// renamed, relinked to the member card's lists, deleted and printed.
class TFichFPlan : public Screen {
  Q_OBJECT

 public:
  explicit TFichFPlan(AppContext& context, QWidget* parent = nullptr);

  void activated() override;
  void deactivated() override;

  const accounting::ChartEditor& chart() const { return m_chart; }
  reports::Report& report() { return m_report; }

  RecordGrid* StrGrd;
  QLineEdit* Edit1;
  QLineEdit* Edit2;
  QLineEdit* Edit3;
  QLineEdit* Edit4;
  QLineEdit* Edit5;
  QPushButton* BtLien;
  QPushButton* Bt_Debut;
  QPushButton* Bt_Precedant;
  QPushButton* Bt_Suivant;
  QPushButton* Bt_Fin;
  QPushButton* Bt_Ajouter;
  QPushButton* Bt_Supprimer;
  QPushButton* Bt_Modifier;
  QPushButton* BtQuitte;
  QPushButton* BtImprime;
  QPushButton* BtAide;

  void onAdd();
  void onModify();
  void onDelete();
  void onCycleLink();
  void onPrint();
  void onHelp();

 private:
  void refresh();
  // The chart shown as it prints (accounting::ChartReport).
  ReportRequest chartRequest() const;
  std::filesystem::path folder() const { return settings().exerciseFolder(); }

  accounting::ChartEditor m_chart;
  reports::Report m_report;
};

}  // namespace vantrel
