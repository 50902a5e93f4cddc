#include "ui/widgets/GridView.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace prurez {

namespace {

const QColor gridLineColour(160, 160, 160);

// Grid lines two pixels wide: the view draws one, the cell adds the second.
class WideGridLines : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(gridLineColour);
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }
};

}  // namespace

GridTableModel::GridTableModel(GridTable* table, QObject* parent) : QAbstractTableModel(parent), table_(table) {}

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
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return QString::fromStdString(table_->cell(index.column(), index.row()));
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

GridView::GridView(GridTable* table, QWidget* parent)
    : QTableView(parent), table_(table), model_(new GridTableModel(table, this))
{
    setModel(model_);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(8);
    verticalHeader()->setMinimumSectionSize(8);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setStyleSheet("QTableView { gridline-color: #a0a0a0; }");
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
    setItemDelegate(new WideGridLines(this));
}

void GridView::syncFromTable() { model_->reload(); }

void GridView::setDefaultColumnWidth(int width) { horizontalHeader()->setDefaultSectionSize(width); }

void GridView::setDefaultRowHeight(int height) { verticalHeader()->setDefaultSectionSize(height); }

void GridView::place(int left, int width, int height) { setGeometry(left, y(), width, height); }

GridView* gridView(const char* name, GridTable* table, QWidget* parent, const QRect& place, int columnWidth,
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
