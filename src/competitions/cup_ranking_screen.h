#pragma once

#include "competitions/cup_ranking.h"
#include "platform/screen.h"
#include "reports/report.h"

class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace vantrel {

class RecordGrid;

// "Classement de la Coupe n": the ranking of one cup, computed again at every activation from
// the cup file and the result files it links, printed open or limited by value index. The
// player selected in the grid is shown with the tournaments that make his total.
class TFichFClassment : public Screen {
  Q_OBJECT

 public:
  explicit TFichFClassment(AppContext& context, QWidget* parent = nullptr);

  // The cup ranked (1 to 4), set by the menu before showing; sets the caption.
  void setCup(int cup);
  int cup() const { return m_cup; }
  const competitions::CupRanking& ranking() const { return m_ranking; }
  // What the report engine is answered for the last print.
  const competitions::RankingReport& printed() const { return m_printed; }

  void activated() override;

  // Steps 1 to 6: reads the files, fills the progress box and the grid.
  void compute();
  // Shows how the total of the player of grid row `row` is made.
  void showPlayer(int row);

  QPlainTextEdit* Memo;
  RecordGrid* StringGrid1;
  QPlainTextEdit* MemoDetail;
  QPushButton* BtEditionGeneral;
  QPushButton* BtEditionLimite;
  QSpinBox* SpLimite;
  QPushButton* BtModifications;
  QPushButton* BtQuitte;

  void onEditionGeneral();
  void onEditionLimite();
  void onModifications();

  reports::Report& report() { return m_report; }

 private:
  void fillGrid();
  void print(std::optional<int> limit);
  // Sets the report up for m_printed.
  void setUpReport();

  int m_cup = 1;
  competitions::CupRanking m_ranking;
  competitions::RankingReport m_printed;
  reports::Report m_report;
};

}  // namespace vantrel
