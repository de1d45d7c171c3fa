#include "platform/record_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "core/text_helpers.h"
#include "platform/text.h"

namespace vantrel {

namespace {

// Texts start this many pixels inside the cell, from the top and from the aligned edge.
constexpr int kTextInset = 2;

}  // namespace

RecordGridModel::RecordGridModel(std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), m_columns(std::move(columns)) {}

void RecordGridModel::setCellText(CellText cellText) {
  m_cellText = std::move(cellText);
  refreshCells();
}

void RecordGridModel::setCellColor(CellColor cellColor) {
  m_cellColor = std::move(cellColor);
  refreshCells();
}

void RecordGridModel::setCellAlignment(CellAlignment cellAlignment) {
  m_cellAlignment = std::move(cellAlignment);
  refreshCells();
}

void RecordGridModel::setLines(Lines lines) {
  beginResetModel();
  m_lines = std::move(lines);
  m_rows.clear();
  m_byCells = false;
  endResetModel();
}

void RecordGridModel::setRows(const std::vector<std::vector<std::string>>& rows) {
  beginResetModel();
  m_lines.assign(rows.size(), std::string());
  m_rows = rows;
  m_byCells = true;
  endResetModel();
}

void RecordGridModel::refreshCells() {
  if (rowCount() == 0 || columnCount() == 0) return;
  emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

std::string RecordGridModel::cellText(int row, int column) const {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return {};
  const auto r = static_cast<std::size_t>(row);
  if (m_byCells) {
    const auto& cells = m_rows[r];
    const auto c = static_cast<std::size_t>(column);
    return c < cells.size() ? cells[c] : std::string();
  }
  if (m_cellText) return m_cellText(m_lines[r], row, column);
  return FieldAt(m_lines[r], column);
}

int RecordGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

int RecordGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant RecordGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  switch (role) {
    case Qt::DisplayRole:
      return ToQString(cellText(index.row(), index.column()));
    case Qt::ForegroundRole:
      if (m_cellColor) {
        const QColor color = m_cellColor(index.row(), index.column());
        if (color.isValid()) return color;
      }
      return {};
    case Qt::TextAlignmentRole: {
      Qt::Alignment alignment;
      if (m_cellAlignment) alignment = m_cellAlignment(index.row(), index.column());
      if (!alignment) alignment = m_columns[static_cast<std::size_t>(index.column())].alignment;
      return static_cast<int>(alignment);
    }
    default:
      return {};
  }
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
  const GridColumn& column = m_columns[static_cast<std::size_t>(section)];
  if (role == Qt::DisplayRole) return column.header;
  if (role == Qt::TextAlignmentRole) return static_cast<int>(column.alignment | Qt::AlignVCenter);
  return {};
}

RecordGrid::RecordGrid(std::vector<GridColumn> columns, QWidget* parent)
    : QTableView(parent), m_model(std::move(columns)) {
  setModel(&m_model);
  setItemDelegate(new RecordGridDelegate(this));
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(false);
  const auto& all = m_model.columns();
  for (std::size_t c = 0; c < all.size(); ++c) setColumnWidth(static_cast<int>(c), all[c].width);
  setRowHeight(23);
  // The scroll range is known only once the view is laid out, and changes with its size.
  connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] {
    if (m_lastRows > 0) scrollTo(m_model.rowCount() - m_lastRows);
  });
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { m_lastRows = 0; });
}

void RecordGrid::setHeaderShown(bool shown) { horizontalHeader()->setVisible(shown); }

void RecordGrid::setRowHeight(int pixels) {
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(pixels);
}

int RecordGrid::rowHeight() const { return verticalHeader()->defaultSectionSize(); }

// Rows scroll one at a time: the scroll bar counts rows.
int RecordGrid::topRow() const { return verticalScrollBar()->value(); }

void RecordGrid::setTopRow(int row) {
  m_lastRows = 0;
  scrollTo(row);
}

void RecordGrid::scrollTo(int row) { verticalScrollBar()->setValue(row < 0 ? 0 : row); }

void RecordGrid::showLastRows(int count) {
  doItemsLayout();
  m_lastRows = count;
  scrollTo(m_model.rowCount() - count);
}

int RecordGrid::naturalWidth() const {
  int width = 2 * frameWidth();
  for (int c = 0; c < m_model.columnCount(); ++c) width += columnWidth(c);
  return width + verticalScrollBar()->sizeHint().width();
}

void RecordGrid::setPickList(bool pickList) {
  m_pickList = pickList;
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(pickList ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
  setTabKeyNavigation(!pickList);
}

void RecordGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  // A mouse press reports its cell itself, current or not.
  if (!m_pickList && current.isValid() && QApplication::mouseButtons() == Qt::NoButton) {
    emit cellSelected(current.row(), current.column());
  }
}

void RecordGrid::mousePressEvent(QMouseEvent* event) {
  QTableView::mousePressEvent(event);
  const QModelIndex index = indexAt(event->position().toPoint());
  if (index.isValid() && event->button() == Qt::LeftButton) {
    if (m_pickList) {
      emit rowPicked(index.row());
    } else {
      emit cellSelected(index.row(), index.column());
    }
  }
}

void RecordGrid::keyPressEvent(QKeyEvent* event) {
  if (m_pickList && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    switch (event->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (currentIndex().isValid()) emit rowPicked(currentIndex().row());
        event->accept();
        return;
      case Qt::Key_Escape:
        emit pickCancelled();
        event->accept();
        return;
      default:
        break;
    }
  }
  QTableView::keyPressEvent(event);
}

void RecordGrid::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  // The row the focus arrives on is the one Enter would pick: show it.
  if (m_pickList && currentIndex().isValid() && !selectionModel()->hasSelection()) {
    selectionModel()->select(currentIndex(),
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
}

void RecordGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  QStyleOptionViewItem item = option;
  initStyleOption(&item, index);
  const QString text = item.text;
  item.text.clear();
  const QWidget* widget = option.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

  const QVariant foreground = index.data(Qt::ForegroundRole);
  QColor color;
  if (foreground.isValid()) {
    color = foreground.value<QColor>();
  } else {
    const bool selected = option.state & QStyle::State_Selected;
    color = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
  }
  const auto alignment =
      Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()) & Qt::AlignHorizontal_Mask;
  const QRect area = option.rect.adjusted(kTextInset, kTextInset, -kTextInset, 0);
  painter->save();
  painter->setClipRect(option.rect);
  painter->setPen(color);
  painter->setFont(item.font);
  painter->drawText(area, static_cast<int>(alignment | Qt::AlignTop) | Qt::TextSingleLine, text);
  painter->restore();
}

}  // namespace vantrel
