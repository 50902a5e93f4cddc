#pragma once
// Shows a GridTable: a table view over an item model of its text cells. The grid has
// no fixed rows or columns (row 0 holds the headers as ordinary cells).

#include "flows/GridTable.h"

#include <QAbstractTableModel>
#include <QRect>
#include <QTableView>

namespace prurez {

class GridTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    GridTableModel(GridTable* table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void setEditable(bool editable) { editable_ = editable; }
    // Call after the table changed outside the model (counts or cells).
    void reload();

private:
    GridTable* table_;
    bool editable_ = false;
};

class GridView : public QTableView {
    Q_OBJECT
public:
    // The view shows `table`, which must outlive it.
    GridView(GridTable* table, QWidget* parent = nullptr);

    GridTable& table() { return *table_; }
    const GridTable& table() const { return *table_; }
    GridTableModel* gridModel() const { return model_; }

    // Cells editable in place, the editor shown at once (typing or a click edits).
    void setEditableInPlace(bool editable);
    // Grid lines two pixels wide.
    void setWideGridLines();
    // Shows the table's cells and counts as they now stand.
    void syncFromTable();
    // The width of the columns and the height of the rows [pixels].
    void setDefaultColumnWidth(int width);
    void setDefaultRowHeight(int height);
    // Moves the left edge and sizes the grid; the top stays where the window placed it.
    void place(int left, int width, int height);

private:
    GridTable* table_;
    GridTableModel* model_;
};

// A view named `name` of `table` on `parent` in `place`, with the given column width
// and row height; long numbers are cut at the cell's edge.
GridView* gridView(const char* name, GridTable* table, QWidget* parent, const QRect& place, int columnWidth,
                   int rowHeight);

}  // namespace prurez
