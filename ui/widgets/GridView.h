#pragma once
// Shows a table (TextTable): a table view over an item model of its cells, whose texts
// are asked for as the rows come into view (a table of a million rows opens at once). The grid has
// no fixed rows or columns (row 0 holds the headers as ordinary cells); the view shows
// row 0 as its header, which stays in view while the rows scroll, its tooltip the
// whole header with the column's unit ("Moment [ kNm ]").
//
// Every grid also lets its cells be taken elsewhere: Ctrl+C and "Kopírovat" copy the
// selected cells (all cells when none is selected) as tab-separated rows, "Uložit jako
// CSV…" writes the whole table. Every cell shows its whole text in a tooltip; a text
// too long for its cell is cut so that a number never reads as another number; a
// column is widened by dragging its right grid line (a double click there fits it to
// its texts).

#include "flows/GridTable.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QRect>
#include <QSize>
#include <QTableView>

class QAction;
class QFontMetrics;

namespace prurez {

class GridTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    GridTableModel(TextTable* table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Across: the texts of row 0, their tooltip with the unit of the column.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void setEditable(bool editable) { editable_ = editable; }
    // The unit of the columns by their header's text without its aligning blanks
    // ("Moment" → "kNm"; "-" for a number without unit). A header that holds its unit
    // ("Síla [kN]") or that is not in the list is shown as it stands.
    void setHeaderUnits(const QHash<QString, QString>& units) { units_ = units; }
    // Call after the table changed outside the model (counts or cells).
    void reload();

private:
    TextTable* table_;
    bool editable_ = false;
    QHash<QString, QString> units_;
};

class GridView : public QTableView {
    Q_OBJECT
public:
    // The view shows `table`, which must outlive it.
    GridView(TextTable* table, QWidget* parent = nullptr);

    TextTable& table() { return *table_; }
    const TextTable& table() const { return *table_; }
    GridTableModel* gridModel() const { return model_; }

    // Cells editable in place, the editor shown at once (typing or a click edits); the
    // header row is not.
    void setEditableInPlace(bool editable);
    // See GridTableModel::setHeaderUnits.
    void setHeaderUnits(const QHash<QString, QString>& units) { model_->setHeaderUnits(units); }
    // Grid lines two pixels wide.
    void setWideGridLines();
    // Shows the table's cells and counts as they now stand; while the counts stay, so
    // do the selected cells and the current one.
    void syncFromTable();
    // Makes the cell current and the only one selected, scrolled into view; no editor
    // opens.
    void selectCell(int column, int row);
    // The width of the columns and the height of the rows, the header's too [pixels].
    void setDefaultColumnWidth(int width);
    void setDefaultRowHeight(int height);
    // Moves the left edge and sizes the grid; the top stays where the window placed it.
    // Sizes are those of the window at its opening size; what the window has grown
    // since is added (setGrowth).
    void place(int left, int width, int height);
    // Moves the left edge; the size stays (with the growth it has).
    void moveLeft(int left);
    // How much larger than at the window's opening size the grid is, e.g. (200, 100):
    // its width grows by it, its height as far as it has rows to show, and with
    // columns that share the width (setColumnsShareGrowth) each column by its share of
    // the added width.
    void setGrowth(QSize growth);
    // (Only while all columns fit the grid at the opening size.)
    void setColumnsShareGrowth(bool share);

    // The texts of the selected cells (the rectangle around them), or of every cell
    // when none is selected, as tab-separated rows.
    QString selectedText() const;
    // Puts selectedText() on the clipboard.
    void copySelection() const;
    // Writes the whole table as CSV (see flows/TableExport.h); fails with a Czech
    // message when the file cannot be written.
    void saveCsv(const QString& fileName) const;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The column whose right grid line is at x (within a few pixels), or -1.
    int columnBorderAt(int x) const;
    // Sizes the grid: `base` as at the window's opening size, with the growth added
    // (in height only as far as it has rows to show).
    void layOut(const QRect& base);
    QRect baseGeometry() const;
    void applyColumnWidth();
    void askAndSaveCsv();
    // Sets the current cell without opening its editor.
    void setCurrentCell(const QModelIndex& cell);

    TextTable* table_;
    GridTableModel* model_;
    QAction* copyAction_;
    QAction* selectAllAction_;
    QAction* saveCsvAction_;
    QSize growth_{0, 0};
    QSize addedGrowth_{0, 0};  // what of growth_ the grid's size holds
    bool columnsShareGrowth_ = false;
    int baseColumnWidth_ = 0;     // as the window set it
    int appliedColumnWidth_ = 0;  // with the share of the growth
    int resizedColumn_ = -1;      // the column being widened by dragging
    int dragStartX_ = 0;
    int dragStartWidth_ = 0;
};

// The text a cell shows in `width` pixels: the text itself when it fits. A number is
// cut only in its digits after the decimal separator, "…" marking the cut and an
// exponent kept ("1,0000…E-7" for "1,00000001490116E-7"); a number whose whole part
// does not fit shows "###". Another text loses its aligning blanks and then its middle
// (" Beton sigh" → "Bet…igh").
QString elidedCellText(const QString& text, const QFontMetrics& metrics, int width);

// A view named `name` of `table` on `parent` in `place`, with the given column width
// and row height.
GridView* gridView(const char* name, TextTable* table, QWidget* parent, const QRect& place, int columnWidth,
                   int rowHeight);

}  // namespace prurez
