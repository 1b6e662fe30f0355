#include "gridaccessible.h"

#include "datasetgrid.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPointer>
#include <algorithm>

namespace quorbel {

namespace {

// More rows than any screen shows: the bound of a walk even when a hidden grid's
// viewport has a size from long ago.
constexpr int kMostRowsInView = 256;

quint64 key(int row, int column)
{
    return (quint64(quint32(row)) << 32) | quint32(column);
}

// One cell, or with row -1 the header of its column.
class GridCell : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    GridCell(DatasetGrid* grid, int row, int column) : m_grid(grid), m_row(row), m_column(column) {}

    bool isValid() const override
    {
        const DatasetGrid* g = m_grid.data();
        return g && g->model() && m_column < g->model()->columnCount() && m_row < g->model()->rowCount();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override
    {
        const QAccessibleInterface* table = parent();
        return table ? table->window() : nullptr;
    }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_grid); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        const DatasetGrid* g = m_grid.data();
        if (!g || !isValid() || (t != QAccessible::Name && t != QAccessible::Value))
            return {};
        if (header())
            return g->model()->headerData(m_column, Qt::Horizontal).toString();
        if (t == QAccessible::Value)
            return {};
        const QModelIndex index = g->model()->index(m_row, m_column);
        const QVariant spoken = index.data(Qt::AccessibleTextRole);
        return spoken.isValid() ? spoken.toString() : index.data(Qt::DisplayRole).toString();
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override
    {
        DatasetGrid* g = m_grid.data();
        if (!g || !isValid())
            return {};
        if (header()) {
            const QHeaderView* h = g->horizontalHeader();
            const QRect r(h->sectionViewportPosition(m_column), 0, h->sectionSize(m_column), h->height());
            return QRect(h->viewport()->mapToGlobal(r.topLeft()), r.size());
        }
        const QRect r = g->visualRect(g->model()->index(m_row, m_column));
        return QRect(g->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override
    {
        return header() ? QAccessible::ColumnHeader : QAccessible::Cell;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        DatasetGrid* g = m_grid.data();
        if (!g || !isValid())
            return s;
        if (header()) {
            s.invisible = g->horizontalHeader()->isSectionHidden(m_column);
            return s;
        }
        const QModelIndex index = g->model()->index(m_row, m_column);
        s.invisible = !g->isVisible() || !g->viewport()->rect().intersects(g->visualRect(index));
        s.offscreen = s.invisible;
        s.focusable = true;
        s.selectable = true;
        s.selected = isSelected();
        s.focused = g->hasFocus() && g->currentIndex() == index;
        s.active = g->currentIndex() == index;
        s.editable = !g->isReadOnly() && g->isEditable();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableCellInterface && !header())
            return static_cast<QAccessibleTableCellInterface*>(this);
        return nullptr;
    }

    bool isSelected() const override
    {
        const DatasetGrid* g = m_grid.data();
        return g && isValid() && !header() && g->selectionModel() &&
               g->selectionModel()->isSelected(g->model()->index(m_row, m_column));
    }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QList<QAccessibleInterface*> columnHeaderCells() const override
    {
        auto* table = static_cast<GridAccessible*>(parent());
        QAccessibleInterface* h = table ? table->headerCell(m_column) : nullptr;
        return h ? QList<QAccessibleInterface*>{h} : QList<QAccessibleInterface*>{};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    QAccessibleInterface* table() const override { return parent(); }

    bool header() const { return m_row < 0; }

private:
    QPointer<DatasetGrid> m_grid;
    int m_row;
    int m_column;
};

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    if (className == QLatin1String(DatasetGrid::staticMetaObject.className()) && object &&
        object->isWidgetType())
        return new GridAccessible(static_cast<DatasetGrid*>(object));
    return nullptr;
}

} // namespace

void GridAccessible::installFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

GridAccessible::GridAccessible(DatasetGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}

GridAccessible::~GridAccessible()
{
    forgetCells();
}

DatasetGrid* GridAccessible::grid() const
{
    return static_cast<DatasetGrid*>(widget());
}

void* GridAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

GridAccessible::Window GridAccessible::inView() const
{
    const int rows = rowCount();
    if (rows == 0)
        return {};
    int first = grid()->rowAt(0);
    if (first < 0)
        first = 0;
    int last = grid()->rowAt(grid()->viewport()->height() - 1);
    if (last < 0)
        last = rows - 1;
    return {first, std::clamp(last - first + 1, 0, kMostRowsInView)};
}

int GridAccessible::childCount() const
{
    return columnCount() * (1 + inView().count);
}

QAccessibleInterface* GridAccessible::child(int index) const
{
    const int columns = columnCount();
    if (index < 0 || columns == 0)
        return nullptr;
    if (index < columns)
        return headerCell(index);
    const Window w = inView();
    const int row = (index - columns) / columns;
    if (row >= w.count)
        return nullptr;
    return cellAt(w.first + row, (index - columns) % columns);
}

int GridAccessible::childIndex(const QModelIndex& index) const
{
    const Window w = inView();
    if (!index.isValid() || index.row() < w.first || index.row() >= w.first + w.count)
        return -1;
    return columnCount() * (1 + index.row() - w.first) + index.column();
}

int GridAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* cell = dynamic_cast<const GridCell*>(child);
    if (!cell || cell->parent() != this)
        return -1;
    if (cell->header())
        return cell->columnIndex();
    return childIndex(grid()->model()->index(cell->rowIndex(), cell->columnIndex()));
}

QAccessibleInterface* GridAccessible::childAt(int x, int y) const
{
    const QPoint inViewport = grid()->viewport()->mapFromGlobal(QPoint(x, y));
    const QModelIndex index = grid()->indexAt(inViewport);
    if (index.isValid() && grid()->viewport()->rect().contains(inViewport))
        return cellAt(index.row(), index.column());
    const QPoint inHeader = grid()->horizontalHeader()->mapFromGlobal(QPoint(x, y));
    if (grid()->horizontalHeader()->rect().contains(inHeader)) {
        const int column = grid()->horizontalHeader()->logicalIndexAt(inHeader);
        return column >= 0 ? headerCell(column) : nullptr;
    }
    return nullptr;
}

QAccessibleInterface* GridAccessible::focusChild() const
{
    const QModelIndex current = grid()->currentIndex();
    return current.isValid() ? cellAt(current.row(), current.column()) : nullptr;
}

QAccessibleInterface* GridAccessible::cellAt(int row, int column) const
{
    if (!grid()->model() || row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return nullptr;
    const quint64 k = key(row, column);
    if (const QAccessible::Id id = m_cells.value(k))
        if (QAccessibleInterface* known = QAccessible::accessibleInterface(id))
            return known;
    auto* cell = new GridCell(grid(), row, column);
    m_cells.insert(k, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

QAccessibleInterface* GridAccessible::headerCell(int column) const
{
    if (column < 0 || column >= columnCount())
        return nullptr;
    if (const QAccessible::Id id = m_headers.value(column))
        if (QAccessibleInterface* known = QAccessible::accessibleInterface(id))
            return known;
    auto* cell = new GridCell(grid(), -1, column);
    m_headers.insert(column, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int GridAccessible::columnCount() const
{
    return grid()->model() ? grid()->model()->columnCount() : 0;
}

int GridAccessible::rowCount() const
{
    return grid()->model() ? grid()->model()->rowCount() : 0;
}

QString GridAccessible::columnDescription(int column) const
{
    return grid()->model() ? grid()->model()->headerData(column, Qt::Horizontal).toString() : QString();
}

int GridAccessible::selectedCellCount() const
{
    return grid()->selectionModel() ? int(grid()->selectionModel()->selectedIndexes().size()) : 0;
}

QList<QAccessibleInterface*> GridAccessible::selectedCells() const
{
    QList<QAccessibleInterface*> cells;
    if (grid()->selectionModel())
        for (const QModelIndex& i : grid()->selectionModel()->selectedIndexes())
            if (QAccessibleInterface* c = cellAt(i.row(), i.column()))
                cells << c;
    return cells;
}

int GridAccessible::selectedRowCount() const
{
    return int(selectedRows().size());
}

QList<int> GridAccessible::selectedRows() const
{
    QList<int> rows;
    if (grid()->selectionModel())
        for (const QModelIndex& i : grid()->selectionModel()->selectedRows())
            rows << i.row();
    return rows;
}

bool GridAccessible::isRowSelected(int row) const
{
    return grid()->selectionModel() && grid()->selectionModel()->isRowSelected(row, QModelIndex());
}

bool GridAccessible::selectRow(int row)
{
    if (row < 0 || row >= rowCount())
        return false;
    grid()->selectRow(row);
    return true;
}

void GridAccessible::modelChange(QAccessibleTableModelChangeEvent*)
{
    // Rows came, went or were read again: the cells made so far may name other rows now.
    forgetCells();
}

void GridAccessible::forgetCells()
{
    for (const QAccessible::Id id : std::as_const(m_cells))
        if (QAccessible::accessibleInterface(id))
            QAccessible::deleteAccessibleInterface(id);
    for (const QAccessible::Id id : std::as_const(m_headers))
        if (QAccessible::accessibleInterface(id))
            QAccessible::deleteAccessibleInterface(id);
    m_cells.clear();
    m_headers.clear();
}

} // namespace quorbel
