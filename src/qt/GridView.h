#pragma once

#include "ui/Window.h"

#include <QAbstractTableModel>
#include <QTableView>
#include <cstdint>
#include <vector>

class Kdr_Spread;

namespace qtui
{
/// The cells of a grid window as a table model: displayed texts, check states, colours, fonts
/// and header texts, read from the grid whenever the view asks. Nothing is editable here:
/// every change a person makes goes through the grid's own mouse and keyboard handling, and
/// refresh() brings the view in line afterwards.
class GridModel : public QAbstractTableModel
{
public:
    GridModel(ui::WindowHandle grid, QObject* parent);

    /// The grid while its window lives, else null.
    Kdr_Spread* grid() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    /// Tells the view what changed since the last call; true when the number of rows or
    /// columns changed (the view then lays out spans and sizes again).
    bool refresh();

private:
    ui::WindowHandle grid_;
    int rows_ = 0;
    int cols_ = 0;
    std::uint64_t revision_ = 0;
    bool editing_ = false;
    std::string editText_;
    int activeCol_ = 0;
    int activeRow_ = 0;
};

/// The table view of a grid window: shows the model's cells with their spans, sizes and
/// active cell, and draws button, combo and check cells as controls.
class GridView : public QTableView
{
public:
    GridView(ui::WindowHandle grid, QWidget* parent);

    GridModel& gridModel() { return *model_; }
    ui::WindowHandle handle() const { return grid_; }
    /// Brings the view in line with the grid.
    void refresh();
    /// The grid cell under a point of the viewport or of a header (kGridHeader for header
    /// cells); false when there is none.
    bool cellAt(QObject* watched, QPoint point, int& col, int& row) const;

private:
    void layOut(Kdr_Spread& grid);

    ui::WindowHandle grid_;
    GridModel* model_;
    std::vector<int> spanKeys_;
    std::uint64_t laidOut_ = ~std::uint64_t(0);
};
} // namespace qtui
