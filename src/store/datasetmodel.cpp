#include "datasetmodel.h"

namespace store {

DatasetModel::DatasetModel(Dataset* dataset, QList<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), m_dataset(dataset), m_columns(std::move(columns))
{
    m_rows = dataset ? dataset->rowCount() : 0;
    if (!dataset)
        return;
    connect(dataset, &Dataset::rowsReset, this, &DatasetModel::resetAll);
    connect(dataset, &Dataset::rowAboutToBeInserted, this,
            [this](int row) { beginInsertRows({}, row, row); });
    connect(dataset, &Dataset::rowInserted, this, [this](int) {
        m_rows = m_dataset->rowCount();
        endInsertRows();
    });
    connect(dataset, &Dataset::rowAboutToBeRemoved, this, [this](int row) { beginRemoveRows({}, row, row); });
    connect(dataset, &Dataset::rowRemoved, this, [this](int) {
        m_rows = m_dataset->rowCount();
        endRemoveRows();
    });
    connect(dataset, &Dataset::rowChanged, this, [this](int row) {
        if (row < 0 || row >= m_rows || m_columns.isEmpty())
            return;
        emit dataChanged(index(row, 0), index(row, static_cast<int>(m_columns.size()) - 1));
    });
    connect(dataset, &Dataset::stateChanged, this, [this](Dataset::State) {
        if (m_dataset->rowCount() != m_rows)
            resetAll();
    });
    connect(dataset, &Dataset::currentChanged, this, &DatasetModel::currentChanged);
}

void DatasetModel::setColumns(QList<Column> columns)
{
    beginResetModel();
    m_columns = std::move(columns);
    m_rows = m_dataset ? m_dataset->rowCount() : 0;
    endResetModel();
}

int DatasetModel::columnOf(const QString& field) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void DatasetModel::resetAll()
{
    beginResetModel();
    m_rows = m_dataset ? m_dataset->rowCount() : 0;
    endResetModel();
}

int DatasetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int DatasetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::IndexIsValid) || !m_dataset)
        return {};
    const Column& c = m_columns[index.column()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        QVariant v;
        try {
            v = m_dataset->valueAt(index.row(), c.field);
        } catch (const Error&) {
            return QStringLiteral("(ungültig)"); // a value the engine cannot read
        }
        if (role == Qt::EditRole && v.typeId() != QMetaType::QDate && v.typeId() != QMetaType::QTime)
            return v;
        if (v.typeId() == QMetaType::QByteArray)
            return v.toByteArray().isEmpty() ? QString() : QStringLiteral("(Grafik)");
        return Dataset::displayText(v);
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(c.alignment | Qt::AlignVCenter));
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The narrow column at the left only marks the current row; it has no room for
    // row numbers.
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return QString();
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    const Column& c = m_columns[section];
    switch (role) {
    case Qt::DisplayRole:
        return c.title.isEmpty() ? c.field : c.title;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(c.titleAlignment | Qt::AlignVCenter));
    case Qt::UserRole:
        return c.width;
    default:
        return {};
    }
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_dataset && !m_dataset->readOnly() && !m_columns[index.column()].readOnly &&
        m_dataset->hasField(m_columns[index.column()].field) &&
        m_dataset->fieldType(m_columns[index.column()].field) != FieldType::AutoInc)
        f |= Qt::ItemIsEditable;
    return f;
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !checkIndex(index, CheckIndexOption::IndexIsValid) ||
        !m_dataset || !(flags(index) & Qt::ItemIsEditable))
        return false;
    try {
        if (index.row() != m_dataset->currentRow())
            m_dataset->moveTo(index.row());
        if (m_dataset->currentRow() != index.row() && m_dataset->state() == Dataset::State::Browse)
            return false; // the move stored a row and the rows changed
        if (m_dataset->state() == Dataset::State::Browse)
            m_dataset->edit();
        m_dataset->setValue(m_columns[index.column()].field, value);
    } catch (const Error& e) {
        emit errorOccurred(e.message());
        return false;
    }
    return true;
}

int DatasetModel::currentRow() const
{
    return m_dataset ? m_dataset->currentRow() : -1;
}

void DatasetModel::moveTo(int row)
{
    if (m_dataset)
        m_dataset->moveTo(row);
}

} // namespace store
