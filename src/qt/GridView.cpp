#include "qt/GridView.h"

#include "qt/QtText.h"
#include "spread/Kdr_Spread.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace qtui
{
namespace
{
QString columnLetters(int col)
{
    QString name;
    for (; col > 0; col = (col - 1) / 26)
        name.prepend(QChar('A' + (col - 1) % 26));
    return name;
}

/// Button and combo cells look like the controls they are; other cells as the style draws them.
class CellDelegate : public QStyledItemDelegate
{
public:
    CellDelegate(GridModel& model, QObject* parent) : QStyledItemDelegate(parent), model_(model) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        Kdr_Spread* grid = model_.grid();
        if (grid == nullptr)
            return;
        const grid::CellType& type = grid->sheet().cellType(index.column() + 1, index.row() + 1);
        if (type.kind == grid::CellType::Kind::Button)
        {
            QStyleOptionButton button;
            button.rect = option.rect.adjusted(1, 1, -1, -1);
            button.text = toScreen(type.text);
            button.state = QStyle::State_Enabled | QStyle::State_Raised;
            QApplication::style()->drawControl(QStyle::CE_PushButton, &button, painter);
            return;
        }
        if (type.kind != grid::CellType::Kind::Combo)
        {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        // A combo cell: its text left of a drop-down arrow.
        const int side = qMin(option.rect.height() - 4, 14);
        const QRect arrowRect(option.rect.right() - side - 2, option.rect.center().y() - side / 2, side,
                              side);
        const QVariant background = index.data(Qt::BackgroundRole);
        painter->fillRect(option.rect,
                          background.isValid() ? background.value<QColor>() : option.palette.base().color());
        QStyleOptionViewItem text(option);
        text.rect.setRight(arrowRect.left() - 2);
        QStyledItemDelegate::paint(painter, text, index);
        QStyleOption arrow;
        arrow.rect = arrowRect;
        arrow.palette = option.palette;
        arrow.state = QStyle::State_Enabled;
        QApplication::style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, painter);
    }

private:
    GridModel& model_;
};
} // namespace

GridModel::GridModel(ui::WindowHandle grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid)
{
}

Kdr_Spread* GridModel::grid() const
{
    return dynamic_cast<Kdr_Spread*>(ui::Window::FromHandle(grid_));
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : cols_;
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    Kdr_Spread* g = grid();
    if (g == nullptr || !index.isValid())
        return {};
    const int col = index.column() + 1;
    const int row = index.row() + 1;
    const grid::Sheet& sheet = g->sheet();
    const grid::CellType& type = sheet.cellType(col, row);
    const bool editingHere = editing_ && col == activeCol_ && row == activeRow_;
    switch (role)
    {
    case Qt::DisplayRole:
    {
        if (editingHere)
            return toScreen(editText_);
        if (type.kind == grid::CellType::Kind::CheckBox)
            return toScreen(type.text);
        if (type.kind == grid::CellType::Kind::Button)
            return {};
        Kdr_String text;
        g->getCellText(col, row, text, ctkData);
        return toScreen(text);
    }
    case Qt::CheckStateRole:
        if (type.kind != grid::CellType::Kind::CheckBox)
            return {};
        return sheet.cellValueText(col, row) == "1" ? Qt::Checked : Qt::Unchecked;
    case Qt::BackgroundRole:
    {
        if (editingHere)
            return QColor(255, 255, 225);
        const grid::Color c = sheet.cellFormat(col, row).background;
        return c == grid::kDefaultColor ? QVariant() : QVariant(toColor(c));
    }
    case Qt::ForegroundRole:
    {
        const grid::Color c = sheet.cellFormat(col, row).foreground;
        return c == grid::kDefaultColor ? QVariant() : QVariant(toColor(c));
    }
    case Qt::FontRole:
    {
        const grid::Font& f = sheet.cellFormat(col, row).font;
        QFont font(dialogFace());
        // A grid's font height is the character cell of the platform's font; the screen's
        // sans-serif face at six sevenths of it fits the model's rows and columns.
        font.setPixelSize(f.height > 0 ? (f.height * 6 + 3) / 7 : 11);
        font.setBold(f.bold());
        return font;
    }
    case Qt::TextAlignmentRole:
        return static_cast<int>((type.kind == grid::CellType::Kind::Number ? Qt::AlignRight : Qt::AlignLeft) |
                                Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    Kdr_Spread* g = grid();
    if (g == nullptr)
        return {};
    if (role == Qt::DisplayRole)
    {
        Kdr_String text;
        const bool columns = orientation == Qt::Horizontal;
        g->getCellText(columns ? section + 1 : Kdr_Spread::kHeaderIndex,
                       columns ? Kdr_Spread::kHeaderIndex : section + 1, text, ctkData);
        if (!text.empty())
            return toScreen(text);
        return columns ? columnLetters(section + 1) : QString::number(section + 1);
    }
    return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (Kdr_Spread* g = grid();
        g != nullptr && index.isValid() &&
        g->sheet().cellType(index.column() + 1, index.row() + 1).kind == grid::CellType::Kind::CheckBox)
        result |= Qt::ItemIsUserCheckable;
    return result;
}

bool GridModel::refresh()
{
    Kdr_Spread* g = grid();
    const int rows = g != nullptr ? std::max(0, g->getMaxRows()) : 0;
    const int cols = g != nullptr ? std::max(0, g->getMaxCols()) : 0;
    if (rows != rows_ || cols != cols_)
    {
        beginResetModel();
        rows_ = rows;
        cols_ = cols;
        endResetModel();
        return true;
    }
    if (g == nullptr)
        return false;
    int col = 0, row = 0;
    g->sheet().activeCell(col, row);
    const bool editing = g->isEditing();
    const std::string& editText = g->editText();
    if (g->sheet().revision() != revision_ || editing != editing_ || editText != editText_ ||
        col != activeCol_ || row != activeRow_)
    {
        revision_ = g->sheet().revision();
        editing_ = editing;
        editText_ = editText;
        activeCol_ = col;
        activeRow_ = row;
        if (rows_ > 0 && cols_ > 0)
            Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, std::max(0, cols_ - 1));
        Q_EMIT headerDataChanged(Qt::Vertical, 0, std::max(0, rows_ - 1));
    }
    return false;
}

GridView::GridView(ui::WindowHandle grid, QWidget* parent)
    : QTableView(parent), grid_(grid), model_(new GridModel(grid, this))
{
    setModel(model_);
    setItemDelegate(new CellDelegate(*model_, this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setTabKeyNavigation(false);
    // A spreadsheet clips a long text at the cell's edge.
    setTextElideMode(Qt::ElideNone);
    setWordWrap(false);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->setSectionsClickable(false);
    setFont(QFont(dialogFace(), -1));
    QFont small(dialogFace());
    small.setPixelSize(12);
    horizontalHeader()->setFont(small);
    verticalHeader()->setFont(small);
}

void GridView::layOut(Kdr_Spread& grid)
{
    const grid::Sheet& sheet = grid.sheet();
    verticalHeader()->setVisible(grid.rowHeaderVisible());
    verticalHeader()->setDefaultSectionSize(20);
    for (int col = 1; col <= model_->columnCount(); ++col)
        setColumnWidth(col - 1, std::max(8, static_cast<int>(sheet.columnWidth(col) + 0.5)));
    for (int row = 1; row <= model_->rowCount(); ++row)
        setRowHeight(row - 1, std::max(8, static_cast<int>(sheet.rowHeight(row) + 0.5)));
    std::vector<int> keys;
    for (const grid::Span& s : sheet.spans())
        keys.insert(keys.end(), {s.col, s.row, s.width, s.height});
    if (keys != spanKeys_)
    {
        clearSpans();
        for (const grid::Span& s : sheet.spans())
            if (s.width > 1 || s.height > 1)
                setSpan(s.row - 1, s.col - 1, s.height, s.width);
        spanKeys_ = std::move(keys);
    }
}

void GridView::refresh()
{
    const bool reshaped = model_->refresh();
    Kdr_Spread* grid = model_->grid();
    if (grid == nullptr)
        return;
    if (reshaped || grid->sheet().revision() != laidOut_)
    {
        layOut(*grid);
        laidOut_ = grid->sheet().revision();
    }
    // The active cell and the selection are the grid's; the view only shows them.
    int col = 0, row = 0;
    QItemSelectionModel* selection = selectionModel();
    if (grid->sheet().activeCell(col, row) && row <= model_->rowCount() && col <= model_->columnCount())
    {
        const QModelIndex current = model_->index(row - 1, col - 1);
        const grid::Selection& s = grid->sheet().selection();
        QItemSelection cells;
        if (s.col1 >= 1 && s.row1 >= 1 && s.col2 >= s.col1 && s.row2 >= s.row1 &&
            s.col2 <= model_->columnCount() && s.row2 <= model_->rowCount())
            cells.select(model_->index(s.row1 - 1, s.col1 - 1), model_->index(s.row2 - 1, s.col2 - 1));
        else
            cells.select(current, current);
        if (selection->currentIndex() != current)
        {
            selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
            scrollTo(current);
        }
        if (selection->selection() != cells)
            selection->select(cells, QItemSelectionModel::ClearAndSelect);
    }
    else if (selection->hasSelection() || selection->currentIndex().isValid())
        selection->clear();
}

bool GridView::cellAt(QObject* watched, QPoint point, int& col, int& row) const
{
    if (watched == viewport())
    {
        const QModelIndex index = indexAt(point);
        if (!index.isValid())
            return false;
        col = index.column() + 1;
        row = index.row() + 1;
        return true;
    }
    if (watched == horizontalHeader() || watched == horizontalHeader()->viewport())
    {
        const int section = horizontalHeader()->logicalIndexAt(point);
        col = section + 1;
        row = Kdr_Spread::kHeaderIndex;
        return section >= 0;
    }
    if (watched == verticalHeader() || watched == verticalHeader()->viewport())
    {
        const int section = verticalHeader()->logicalIndexAt(point);
        col = Kdr_Spread::kHeaderIndex;
        row = section + 1;
        return section >= 0;
    }
    return false;
}
} // namespace qtui
