#include "ui/widgets/GridView.h"

#include "common/NumberText.h"
#include "flows/TableExport.h"
#include "ui/widgets/Handlers.h"
#include "ui/widgets/UserFiles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <climits>

namespace prurez {

namespace {

const QColor gridLineColour(160, 160, 160);
const QString ellipsis = QString(QChar(0x2026));

// How near to a column's right grid line a press widens the column [pixels].
constexpr int borderGrip = 3;

// Draws a cell's text as elidedCellText cuts it; with wide grid lines, the view draws
// one pixel of a line and the cell adds the second.
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(bool wideGridLines, QObject* parent) : QStyledItemDelegate(parent), wide_(wideGridLines) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const QWidget* widget = option.widget;
        QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        cell.text = elidedCellText(cell.text, cell.fontMetrics, cell.rect.width() - 2 * margin);
        cell.textElideMode = Qt::ElideNone;
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
        if (!wide_)
            return;
        painter->save();
        painter->setPen(gridLineColour);
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }

private:
    bool wide_;
};

// The header across the grid: row 0's texts, cut as a cell cuts them.
class HeaderRow : public QHeaderView {
public:
    explicit HeaderRow(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
    {
        setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setHighlightSections(false);
        setSectionsClickable(true);
        setMinimumSectionSize(8);
    }

protected:
    // In the header's own font (its viewport may be given another by the style sheet).
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
    {
        painter->setFont(font());
        QHeaderView::paintSection(painter, rect, logicalIndex);
    }

    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override
    {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, option, this);
        option->text = elidedCellText(option->text, fontMetrics(), sectionSize(logicalIndex) - 2 * margin);
    }
};

bool isNumber(const QString& text)
{
    const std::string bytes = text.toStdString();
    return isNumberText(bytes, ',') || isNumberText(bytes, '.');
}

}  // namespace

QString elidedCellText(const QString& text, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    const QString trimmed = text.trimmed();
    if (metrics.horizontalAdvance(trimmed) <= width)
        return trimmed;
    if (!isNumber(trimmed))
        return metrics.elidedText(trimmed, Qt::ElideMiddle, width);

    // A number: its digits after the separator go first, the exponent stays.
    const qsizetype exponentAt = trimmed.indexOf(QRegularExpression("[eE]"));
    const QString mantissa = exponentAt < 0 ? trimmed : trimmed.left(exponentAt);
    const QString exponent = exponentAt < 0 ? QString() : trimmed.mid(exponentAt);
    const qsizetype separatorAt = mantissa.indexOf(QRegularExpression("[,.]"));
    if (separatorAt >= 0) {
        // Fewer and fewer digits after the separator, at last the whole part alone.
        for (qsizetype digits = mantissa.size() - separatorAt - 2; digits >= 0; --digits) {
            const QString shown = mantissa.left(digits > 0 ? separatorAt + 1 + digits : separatorAt);
            const QString candidate = shown + ellipsis + exponent;
            if (metrics.horizontalAdvance(candidate) <= width)
                return candidate;
        }
    }
    return QStringLiteral("###");
}

GridTableModel::GridTableModel(TextTable* table, QObject* parent) : QAbstractTableModel(parent), table_(table) {}

int GridTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : table_->rowCount();
}

int GridTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : table_->columnCount();
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return QString::fromStdString(table_->cell(index.column(), index.row()));
    if (role == Qt::ToolTipRole) {  // the whole text, however narrow the column
        const QString text = QString::fromStdString(table_->cell(index.column(), index.row())).trimmed();
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    return QVariant();
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= table_->columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const QString header = QString::fromStdString(table_->cell(section, 0));
    if (role == Qt::DisplayRole)
        return header;
    if (role == Qt::ToolTipRole) {
        const QString name = header.trimmed();
        const auto unit = units_.constFind(name);
        if (unit == units_.constEnd() || name.contains('['))
            return name.isEmpty() ? QVariant() : QVariant(name);
        return QString("%1 [ %2 ]").arg(name, *unit);
    }
    return QVariant();
}

bool GridTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !editable_)
        return false;
    table_->setCell(index.column(), index.row(), value.toString().toStdString());
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (editable_)
        result |= Qt::ItemIsEditable;
    return result;
}

void GridTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

GridView::GridView(TextTable* table, QWidget* parent)
    : QTableView(parent), table_(table), model_(new GridTableModel(table, this))
{
    setHorizontalHeader(new HeaderRow(this));
    setModel(model_);
    setItemDelegate(new CellDelegate(false, this));
    // Row 0 is shown as the header, which stays while the rows scroll.
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { setRowHidden(0, true); });
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(8);
    // No horizontal scroll bar while the columns fit, as they do until one is widened.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setStyleSheet("QTableView { gridline-color: #a0a0a0; }");
    viewport()->setMouseTracking(true);  // the resize cursor over a column's grid line
    baseColumnWidth_ = horizontalHeader()->defaultSectionSize();
    appliedColumnWidth_ = baseColumnWidth_;

    copyAction_ = new QAction(QString::fromUtf8("Kopírovat"), this);
    copyAction_->setObjectName("CopyAction");
    copyAction_->setShortcut(QKeySequence::Copy);
    connect(copyAction_, &QAction::triggered, this, &GridView::copySelection);
    selectAllAction_ = new QAction(QString::fromUtf8("Vybrat vše"), this);
    selectAllAction_->setObjectName("SelectAllAction");
    selectAllAction_->setShortcut(QKeySequence::SelectAll);
    connect(selectAllAction_, &QAction::triggered, this, &QTableView::selectAll);
    saveCsvAction_ = new QAction(QString::fromUtf8("Uložit jako CSV…"), this);
    saveCsvAction_->setObjectName("SaveCsvAction");
    connect(saveCsvAction_, &QAction::triggered, this, &GridView::askAndSaveCsv);
    syncFromTable();
}

void GridView::setEditableInPlace(bool editable)
{
    model_->setEditable(editable);
    setEditTriggers(editable ? QAbstractItemView::AllEditTriggers : QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
}

void GridView::setWideGridLines()
{
    setShowGrid(true);
    QAbstractItemDelegate* previous = itemDelegate();
    setItemDelegate(new CellDelegate(true, this));
    delete previous;
}

void GridView::syncFromTable()
{
    const QModelIndex current = currentIndex();
    const int currentRow = current.row();
    const int currentColumn = current.column();
    std::vector<std::pair<int, int>> selected;
    if (selectionModel() != nullptr)
        for (const QModelIndex& index : selectionModel()->selectedIndexes())
            selected.emplace_back(index.row(), index.column());
    const bool sameCounts =
        model_->rowCount() == table_->rowCount() && model_->columnCount() == table_->columnCount();
    model_->reload();
    if (sameCounts) {
        if (currentRow >= 0)
            setCurrentCell(model_->index(currentRow, currentColumn));
        for (const auto& [row, column] : selected)
            selectionModel()->select(model_->index(row, column), QItemSelectionModel::Select);
    }
    layOut(baseGeometry());
}

void GridView::setCurrentCell(const QModelIndex& cell)
{
    const EditTriggers triggers = editTriggers();
    setEditTriggers(NoEditTriggers);
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::NoUpdate);
    setEditTriggers(triggers);
}

void GridView::selectCell(int column, int row)
{
    const QModelIndex cell = model_->index(row, column);
    if (!cell.isValid())
        return;
    setCurrentCell(cell);
    selectionModel()->select(cell, QItemSelectionModel::ClearAndSelect);
    scrollTo(cell);
}

void GridView::setDefaultColumnWidth(int width)
{
    baseColumnWidth_ = width;
    appliedColumnWidth_ = -1;  // sized anew: columns widened by hand take the width again
    applyColumnWidth();
}

void GridView::setDefaultRowHeight(int height)
{
    verticalHeader()->setDefaultSectionSize(height);
    horizontalHeader()->setFixedHeight(height);
}

void GridView::place(int left, int width, int height) { layOut(QRect(left, y(), width, height)); }

void GridView::moveLeft(int left)
{
    const QRect base = baseGeometry();
    place(left, base.width(), base.height());
}

void GridView::setGrowth(QSize growth)
{
    growth_ = growth;
    layOut(baseGeometry());
}

QRect GridView::baseGeometry() const { return QRect(pos(), size() - addedGrowth_); }

void GridView::layOut(const QRect& base)
{
    // Taller only as far as there are rows to show.
    const int rowsHeight = horizontalHeader()->height() + verticalHeader()->length() + 2 * frameWidth() +
                           (horizontalScrollBar()->isVisible() ? horizontalScrollBar()->height() : 0);
    addedGrowth_ = QSize(growth_.width(), std::clamp(rowsHeight - base.height(), 0, growth_.height()));
    setGeometry(QRect(base.topLeft(), base.size() + addedGrowth_));
    applyColumnWidth();
}

void GridView::setColumnsShareGrowth(bool share)
{
    columnsShareGrowth_ = share;
    applyColumnWidth();
}

void GridView::applyColumnWidth()
{
    int width = baseColumnWidth_;
    const int columns = model_->columnCount();
    // Only columns that all fit the grid at the window's opening size share its growth;
    // a grid that scrolls sideways keeps its columns and shows more of them.
    if (columnsShareGrowth_ && columns > 0 && growth_.width() > 0 &&
        columns * baseColumnWidth_ <= baseGeometry().width())
        width += growth_.width() / columns;
    if (width == appliedColumnWidth_)
        return;
    horizontalHeader()->setDefaultSectionSize(width);
    appliedColumnWidth_ = width;
}

QString GridView::selectedText() const
{
    CellRange range = wholeTable(*table_);
    std::function<bool(int, int)> included;
    const QModelIndexList selected = selectionModel() != nullptr ? selectionModel()->selectedIndexes() : QModelIndexList();
    if (!selected.isEmpty()) {
        range = CellRange{INT_MAX, INT_MAX, -1, -1};
        for (const QModelIndex& index : selected) {
            range.firstColumn = std::min(range.firstColumn, index.column());
            range.firstRow = std::min(range.firstRow, index.row());
            range.lastColumn = std::max(range.lastColumn, index.column());
            range.lastRow = std::max(range.lastRow, index.row());
        }
        included = [this](int column, int row) { return selectionModel()->isSelected(model_->index(row, column)); };
    }
    return QString::fromStdString(tabSeparatedText(*table_, range, included));
}

void GridView::copySelection() const { QApplication::clipboard()->setText(selectedText()); }

void GridView::saveCsv(const QString& fileName) const
{
    saveBytes(fileName, QByteArray::fromStdString(csvText(*table_, localeDecimalSeparator())));
}

void GridView::askAndSaveCsv()
{
    const QString name = askSaveFileName(this, QString::fromUtf8("Uložit tabulku jako CSV"),
                                         QString::fromUtf8("Tabulka CSV (*.csv);;Všechny soubory (*)"));
    if (!name.isEmpty())
        guarded([&] { saveCsv(name); });
}

void GridView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(copyAction_);
    menu.addAction(selectAllAction_);
    menu.addSeparator();
    menu.addAction(saveCsvAction_);
    menu.exec(event->globalPos());
}

void GridView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

int GridView::columnBorderAt(int x) const
{
    const int column = columnAt(x);
    for (int candidate : {column, column - 1, column < 0 ? model_->columnCount() - 1 : -1}) {
        if (candidate < 0 || candidate >= model_->columnCount())
            continue;
        const int right = columnViewportPosition(candidate) + columnWidth(candidate);
        if (std::abs(x - right) <= borderGrip)
            return candidate;
    }
    return -1;
}

void GridView::mousePressEvent(QMouseEvent* event)
{
    const int x = static_cast<int>(event->position().x());
    const int column = event->button() == Qt::LeftButton ? columnBorderAt(x) : -1;
    if (column < 0) {
        QTableView::mousePressEvent(event);
        return;
    }
    resizedColumn_ = column;
    dragStartX_ = x;
    dragStartWidth_ = columnWidth(column);
    event->accept();
}

void GridView::mouseMoveEvent(QMouseEvent* event)
{
    const int x = static_cast<int>(event->position().x());
    if (resizedColumn_ >= 0) {
        horizontalHeader()->resizeSection(resizedColumn_, std::max(8, dragStartWidth_ + x - dragStartX_));
        event->accept();
        return;
    }
    if (event->buttons() == Qt::NoButton) {
        if (columnBorderAt(x) >= 0)
            viewport()->setCursor(Qt::SplitHCursor);
        else
            viewport()->unsetCursor();
    }
    QTableView::mouseMoveEvent(event);
}

void GridView::mouseReleaseEvent(QMouseEvent* event)
{
    if (resizedColumn_ >= 0 && event->button() == Qt::LeftButton) {
        resizedColumn_ = -1;
        event->accept();
        return;
    }
    QTableView::mouseReleaseEvent(event);
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int column = event->button() == Qt::LeftButton ? columnBorderAt(static_cast<int>(event->position().x())) : -1;
    if (column < 0) {
        QTableView::mouseDoubleClickEvent(event);
        return;
    }
    resizeColumnToContents(column);
    event->accept();
}

// The header row in the font of the cells.
void GridView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        horizontalHeader()->setFont(font());
    QTableView::changeEvent(event);
}

GridView* gridView(const char* name, TextTable* table, QWidget* parent, const QRect& place, int columnWidth,
                   int rowHeight)
{
    auto* view = new GridView(table, parent);
    view->setObjectName(name);
    view->setGeometry(place);
    view->setDefaultColumnWidth(columnWidth);
    view->setDefaultRowHeight(rowHeight);
    view->setTextElideMode(Qt::ElideNone);
    view->setWordWrap(false);
    return view;
}

}  // namespace prurez
