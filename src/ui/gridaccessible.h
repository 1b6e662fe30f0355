#pragma once

// How a screen reader sees a DatasetGrid.
//
// Qt's own table interface offers every cell of the model as a child: 50,000 films make
// a quarter of a million children, and a screen reader that walks the window (as it does
// when a dialog opens) keeps the program busy answering for many seconds. Here the
// children are the column headers and the cells of the rows in view, so a walk stays
// small; the table interface still reaches every row (rowCount, cellAt), which is how
// screen readers move through a table.

#include <QAccessibleWidget>
#include <QHash>
#include <QModelIndex>

namespace quorbel {

class DatasetGrid;

class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    // Makes DatasetGrid use this interface; called once by the first grid.
    static void installFactory();

    explicit GridAccessible(DatasetGrid* grid);
    ~GridAccessible() override;

    // The child index of the cell at `index` (for the grid's focus and selection events),
    // or -1 when its row is not in view.
    int childIndex(const QModelIndex& index) const;

    void* interface_cast(QAccessible::InterfaceType t) override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    int columnCount() const override;
    QString rowDescription(int) const override { return {}; }
    int rowCount() const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

    DatasetGrid* grid() const;
    QAccessibleInterface* headerCell(int column) const;

private:
    // The rows in view: [first, first + count).
    struct Window
    {
        int first = 0;
        int count = 0;
    };
    Window inView() const;
    void forgetCells();

    mutable QHash<quint64, QAccessible::Id> m_cells; // (row << 32 | column) -> cell
    mutable QHash<int, QAccessible::Id> m_headers;   // column -> header cell
};

} // namespace quorbel
