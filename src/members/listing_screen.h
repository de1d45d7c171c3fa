#pragma once

#include <QAbstractTableModel>
#include <QTableView>
#include <string>
#include <vector>

#include "core/record_file.h"
#include "members/listing.h"
#include "members/member_reports.h"
#include "platform/screen.h"
#include "reports/report.h"

class QCheckBox;
class QChart;
class QChartView;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QSpinBox;
class QSplitter;
class QTabWidget;
class QToolButton;

namespace vantrel {

// An up-down control: two arrows that move a position within [minimum, maximum] and report
// each click.
class UpDown : public QWidget {
  Q_OBJECT

 public:
  explicit UpDown(QWidget* parent = nullptr);

  int position() const { return m_position; }
  void setPosition(int position) { m_position = position; }
  int minimum() const { return m_minimum; }
  int maximum() const { return m_maximum; }
  void setMinimum(int minimum) { m_minimum = minimum; }
  void setMaximum(int maximum) { m_maximum = maximum; }
  void setRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
  }
  // One step up (+1) or down (-1) within the range, then clicked().
  void step(int delta);

  QToolButton* up;
  QToolButton* down;

 signals:
  void clicked();

 private:
  int m_position = 0;
  int m_minimum = 0;
  int m_maximum = 100;
};

// The selected member lines shown by the listing grid, one row a line. A line is split once,
// the first time one of its cells is asked for; edits in the grid stay in the model (they
// never reach the member file). In mail mode one column holds the marks: a row is marked
// from the start when its address is not empty, and the marks say where the mail goes.
class ListingModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  struct Column {
    QString header;
    int field;  // the member field shown; -1 for the mark column
  };

  explicit ListingModel(QObject* parent = nullptr);

  // New columns empty the rows. mailColumn is the column whose text a mark needs.
  void setColumns(std::vector<Column> columns, int mailColumn);
  // The rows of a new selection: every row with an address starts marked.
  void setLines(Lines lines);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  bool hasMarks() const { return m_markColumn >= 0; }
  int markColumn() const { return m_markColumn; }
  bool marked(int row) const { return m_marks[static_cast<std::size_t>(row)] != 0; }
  // Marks or unmarks one row; a row without an address is never marked. False when nothing
  // changed.
  bool setMarked(int row, bool marked);
  int markCount() const { return m_markCount; }
  // The address of a row as the grid shows it (edited or not).
  QString address(int row) const;

 private:
  const std::vector<QString>& cells(int row) const;

  std::vector<Column> m_columns;
  int m_mailColumn = -1;
  int m_markColumn = -1;
  Lines m_lines;
  mutable std::vector<std::vector<QString>> m_cells;  // empty until the line is split
  std::vector<char> m_marks;
  int m_markCount = 0;
};

// The listing grid: a table over a ListingModel, with the row and column counts at hand.
class ListingGrid : public QTableView {
  Q_OBJECT

 public:
  explicit ListingGrid(QWidget* parent = nullptr);

  ListingModel* listing() const { return m_model; }
  int rowCount() const { return m_model->rowCount(); }
  int columnCount() const { return m_model->columnCount(); }

 private:
  ListingModel* m_model;
};

// "Edition des données après tri" (listing mode) and "... pour envoi par Courriel" (mail
// mode): members picked by eight criteria, their count, the series pie and the age pyramid,
// and every output of the selection (reports, charts, exports, HTML directory, mail).
class TFichFEdit : public Screen {
  Q_OBJECT

 public:
  enum class Mode { kListing = 0, kMail = 1 };

  explicit TFichFEdit(AppContext& context, QWidget* parent = nullptr);

  // Set by the main menu before showing the screen.
  void setMode(Mode mode);
  Mode mode() const { return m_mode; }

  void activated() override;
  void deactivated() override;

  // Reads the criteria from the controls and fills the selection, counts, charts and grid.
  void recompute();
  const std::vector<int>& selection() const { return m_selection; }
  const Lines& members() const { return m_members; }
  int mailCount() const { return StrGr1->listing()->markCount(); }
  members::ListingCriteria criteria() const;

  // One pair of bounds: its two edits and two up-down controls.
  struct BoundPair {
    QLineEdit* minEdit;
    QLineEdit* maxEdit;
    UpDown* minUp;
    UpDown* maxUp;
    bool letters = false;
    int lowestAccepted = 0;   // the lower edit takes values from here
    int highestAccepted = 0;  // the upper edit up to here
    bool unlimited = false;   // balance: no outer limit
  };

  QLabel* Label1;
  QLabel* Label2;
  QCheckBox* CheckBoxNom;
  QCheckBox* CheckBoxIndice;
  QCheckBox* CheckBoxAge;
  QCheckBox* CheckBoxSolde;
  QCheckBox* CheckCotisation;
  QCheckBox* CheckBoxDate;
  QCheckBox* CheckCourriel;
  QCheckBox* CheckSexe;
  BoundPair Nom;
  BoundPair Indice;
  BoundPair Age;
  BoundPair Solde;
  QListWidget* GroupCotis;
  QListWidget* GroupCourriel;
  QListWidget* GroupeSexe;
  QDateEdit* DateTimeDebut;
  QDateEdit* DateTimeFin;
  ListingGrid* StrGr1;
  QTabWidget* Dessins;
  // Criteria and charts above, the selection grid below (the larger part).
  QSplitter* Partage;
  QChartView* ChartIndice;
  QChartView* Chart1;
  QPushButton* BtEdition;
  QPushButton* Button3;
  QPushButton* BtCourriel;
  QPushButton* BtCourDes;
  QPushButton* BtCourSel;
  QCheckBox* CB_BccCourriel;
  QLabel* LbGroupe;
  QSpinBox* Nbr_Courriel;
  QLabel* LbCourriel;
  QMenu* MenuEdition;
  reports::Report* Report;

  // Output menu.
  void onReport(members::ListingReport which);
  // The report of onReport made ready to show from the domain's request over the selection:
  // values, count, template, "Place", title. False with an empty selection.
  bool prepareReport(members::ListingReport which);
  void onPrintChart(QChartView* chart, const QString& jobName);
  void onExport(const char* fileName);
  void onHtmlPage();
  void onSendMail();
  // Mail marks.
  void onMarkCell(int row, int column);
  void onSelectAll();
  void onDeselectAll();

 private:
  void buildCriteria(QWidget* panel);
  void buildPair(BoundPair& pair, const char* name, QWidget* parent);
  void wirePair(BoundPair& pair);
  void showBounds(BoundPair& pair, int lowest, int highest);
  QString boundText(const BoundPair& pair, int position) const;
  std::optional<int> parseBound(const BoundPair& pair, const QString& text) const;
  void onLowerClicked(BoundPair& pair);
  void onUpperClicked(BoundPair& pair);
  void onLowerEdited(BoundPair& pair);
  void onUpperEdited(BoundPair& pair);
  void onStartDateChanged();
  void onEndDateChanged();
  void fillCharts(const members::ListingStatistics& statistics);
  void fillGrid();
  void updateMailControls();
  std::filesystem::path exerciseFile(const char* name) const;

  Mode m_mode = Mode::kListing;
  Lines m_members;
  std::vector<int> m_selection;
  bool m_filling = false;  // controls set by the program: no recomputation
};

}  // namespace vantrel
