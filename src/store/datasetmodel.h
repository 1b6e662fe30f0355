#pragma once

// An item model over a dataset for the grids: one row per row of the dataset in its
// order and filter (a pending new row included), one column per column definition.
// Cell edits go into the dataset's pending row (edit() first while browsing).

#include "dataset.h"

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>

namespace store {

class DatasetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Column
    {
        QString field;
        QString title; // empty: the field name
        Qt::Alignment alignment = Qt::AlignLeft;
        int width = 0; // pixels; 0: the view decides
        bool readOnly = false;
        Qt::Alignment titleAlignment = Qt::AlignHCenter;
    };

    explicit DatasetModel(Dataset* dataset, QList<Column> columns = {}, QObject* parent = nullptr);

    Dataset* dataset() const { return m_dataset; }
    const QList<Column>& columns() const { return m_columns; }
    void setColumns(QList<Column> columns);
    // Column of a field, -1 when not shown.
    int columnOf(const QString& field) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The dataset's current row (what a view should keep as its current row).
    int currentRow() const;
    // Moves the dataset to a row (a changed pending row is stored first).
    void moveTo(int row);

signals:
    void currentChanged(int row);
    // A cell edit was refused; the engine's German message.
    void errorOccurred(const QString& message);

private:
    void resetAll();
    QPointer<Dataset> m_dataset;
    QList<Column> m_columns;
    int m_rows = 0;
};

} // namespace store
