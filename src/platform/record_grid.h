#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>
#include <string>
#include <vector>

#include "core/record_file.h"

namespace vantrel {

// One column of a grid: its header caption, its width in pixels (fixed: the user cannot
// resize it) and the alignment of its texts.
struct GridColumn {
  QString header;
  int width = 64;
  Qt::Alignment alignment = Qt::AlignLeft;
};

// The model of a grid over record lines. Each row is one line of Windows-1252 bytes; the text
// of a cell is computed from its line only when the view asks for it (so a grid over a
// ten-thousand-line journal costs nothing until it scrolls) and converted to QString there.
// By default cell (row, c) is field c of line row.
class RecordGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The text of a cell, Windows-1252 bytes, from its line, row and column.
  using CellText = std::function<std::string(const std::string& line, int row, int column)>;
  // The colour of a cell's text; an invalid colour keeps the view's default.
  using CellColor = std::function<QColor(int row, int column)>;
  // The alignment of a cell's text; 0 keeps the column's.
  using CellAlignment = std::function<Qt::Alignment(int row, int column)>;

  explicit RecordGridModel(std::vector<GridColumn> columns, QObject* parent = nullptr);

  void setCellText(CellText cellText);
  void setCellColor(CellColor cellColor);
  void setCellAlignment(CellAlignment cellAlignment);

  // Replaces every row.
  void setLines(Lines lines);
  // Rows made of their cells' texts (Windows-1252), for grids whose rows are no record line.
  void setRows(const std::vector<std::vector<std::string>>& rows);
  const Lines& lines() const { return m_lines; }
  // Tells the view that every cell may show another text or colour (the rows are the same).
  void refreshCells();

  const std::vector<GridColumn>& columns() const { return m_columns; }
  // The text of a cell as bytes, as the grid shows it.
  std::string cellText(int row, int column) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<GridColumn> m_columns;
  Lines m_lines;
  CellText m_cellText;
  CellColor m_cellColor;
  CellAlignment m_cellAlignment;
  // Set by setRows(): the cells themselves, in place of m_lines.
  std::vector<std::vector<std::string>> m_rows;
  bool m_byCells = false;
};

// A read-only grid of record lines: fixed column widths and row height, one optional header
// row, texts drawn 2 pixels below the cell's top and 2 pixels from its left edge (or its right
// edge when right-aligned), one row scrolled at a time.
//   auto* grid = new RecordGrid({{"Num", 52}, {"Libellé", 201}, {"Montant", 70,
//                                Qt::AlignRight}}, this);
//   grid->model().setCellText([](const std::string& line, int, int c) { ... });
//   grid->model().setLines(ReadLines(path));
class RecordGrid : public QTableView {
  Q_OBJECT

 public:
  RecordGrid(std::vector<GridColumn> columns, QWidget* parent = nullptr);

  RecordGridModel& model() { return m_model; }
  const RecordGridModel& model() const { return m_model; }

  void setHeaderShown(bool shown);
  void setRowHeight(int pixels);
  int rowHeight() const;

  // The first row in view.
  int topRow() const;
  void setTopRow(int row);
  // Scrolls so that the last `count` rows are in view (the top row is rowCount - count), and
  // keeps them so while the view is laid out or resized, until the user scrolls.
  void showLastRows(int count);

  // The width that shows every column without a horizontal scroll bar.
  int naturalWidth() const;

  // Makes the grid a pick list: the current row is highlighted, and moving it (arrow keys,
  // page keys, the focus arriving by Tab) picks nothing and emits no cellSelected; a click
  // or Enter on a row emits rowPicked, Escape emits pickCancelled and goes no further (the
  // screen stays open). Tab leaves the list.
  void setPickList(bool pickList);

 signals:
  // A cell was selected by the mouse or the keyboard (also when it already was current).
  // Not emitted by a pick list.
  void cellSelected(int row, int column);
  // A pick list's row was clicked, or Enter was pressed on it.
  void rowPicked(int row);
  // Escape was pressed in a pick list.
  void pickCancelled();

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  void scrollTo(int row);

  RecordGridModel m_model;
  int m_lastRows = 0;
  bool m_pickList = false;
};

// Paints a grid cell: the item background (selection included), then its text 2 pixels below
// the top and 2 pixels from the edge it is aligned to, in the cell's colour, clipped.
class RecordGridDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

}  // namespace vantrel
