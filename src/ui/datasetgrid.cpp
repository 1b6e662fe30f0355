#include "datasetgrid.h"

#include "gridaccessible.h"
#include "guard.h"
#include "interaction.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>
#include <store/dataset.h>
#include <store/datasetmodel.h>
#include <utility>

namespace quorbel {

namespace {

// Typing over a cell or F2 edits it; a click only selects, so that keys typed right
// after a click are never lost to a pending click-to-edit.
constexpr QAbstractItemView::EditTriggers kEditTriggers =
    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;
const char* const kOrigin = "quorbel_ursprung"; // the cell's text when its editor opened

bool pending(const store::Dataset& ds)
{
    return ds.state() == store::Dataset::State::Edit || ds.state() == store::Dataset::State::Insert;
}

QString editorText(const QWidget* editor)
{
    if (const auto* combo = qobject_cast<const QComboBox*>(editor))
        return combo->currentText();
    if (const auto* line = qobject_cast<const QLineEdit*>(editor))
        return line->text();
    return {};
}

void setEditorText(QWidget* editor, const QString& text)
{
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        combo->setEditText(text);
    else if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setText(text);
}

} // namespace

// The cell editors: an editable drop-down for a field with a pick list, a line for the
// others. A cell is written into its field only when its text was changed; Enter and
// Escape go to the grid.
class DatasetGridDelegate final : public QStyledItemDelegate
{
public:
    explicit DatasetGridDelegate(DatasetGrid& grid) : QStyledItemDelegate(&grid), m_grid(grid)
    {
        connect(this, &QAbstractItemDelegate::closeEditor, this, [this](QWidget* editor) {
            if (editor == m_editor)
                m_editor = nullptr;
        });
    }

    QWidget* openEditor() const { return m_editor; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override
    {
        const auto* model = qobject_cast<const store::DatasetModel*>(index.model());
        const store::DatasetModel::Column column = model->columns().at(index.column());
        const int width = model->dataset()->fieldSize(column.field);
        QWidget* editor = nullptr;
        if (m_grid.hasPickList(column.field)) {
            const QStringList entries = m_grid.pickList(column.field);
            auto* combo = new QComboBox(parent);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setFrame(false);
            combo->setMaxVisibleItems(12);
            combo->addItems(entries);
            // The drop-down list as wide as its longest entry, not just the cell.
            int widest = 0;
            for (const QString& entry : entries)
                widest = std::max(widest, combo->fontMetrics().horizontalAdvance(entry));
            combo->view()->setMinimumWidth(widest +
                                           2 * combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
            if (width > 0)
                combo->lineEdit()->setMaxLength(width);
            // Free text is stored as typed: the entries that begin with it are offered in a
            // pop-up, and only one picked there (or from the list) replaces it. Completing
            // inline would store "Dokumentation" for a typed "Doku".
            if (QCompleter* c = combo->completer()) {
                c->setCompletionMode(QCompleter::PopupCompletion);
                c->setFilterMode(Qt::MatchStartsWith);
            }
            editor = combo;
        } else {
            auto* line = new QLineEdit(parent);
            line->setFrame(false);
            line->setAlignment(column.alignment);
            if (width > 0)
                line->setMaxLength(width);
            else if (model->dataset()->fieldType(column.field) == store::FieldType::Integer)
                line->setMaxLength(11);
            editor = line;
        }
        editor->setAccessibleName(column.title.isEmpty() ? column.field : column.title);
        m_editor = editor;
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        const QString text = index.data(Qt::EditRole).toString();
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            const int i = combo->findText(text);
            combo->setCurrentIndex(i);
            combo->setEditText(text);
        } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setText(text);
        }
        editor->setProperty(kOrigin, text);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        const QString text = editorText(editor);
        if (text == editor->property(kOrigin).toString())
            return; // an untouched cell leaves the row as it is
        editor->setProperty(kOrigin, text);
        m_written = {index, text};
        model->setData(index, text.isEmpty() ? QVariant() : QVariant(text), Qt::EditRole);
    }

    // The cell written last and the text written into it.
    struct Written
    {
        QPersistentModelIndex cell;
        QString text;
    };
    const Written& written() const { return m_written; }

    void destroyEditor(QWidget* editor, const QModelIndex& index) const override
    {
        if (editor == m_editor)
            m_editor = nullptr;
        QStyledItemDelegate::destroyEditor(editor, index);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* editor = qobject_cast<QWidget*>(watched);
        if (editor && event->type() == QEvent::KeyPress) {
            const auto* ke = static_cast<QKeyEvent*>(event);
            const int key = ke->key();
            // Tab out of the last cell of the last row starts a new row, as Down does.
            const bool tabAtEnd =
                key == Qt::Key_Tab && ke->modifiers() == Qt::NoModifier && m_grid.atLastCell();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape || tabAtEnd) {
                const bool changed = editorText(editor) != editor->property(kOrigin).toString();
                return m_grid.editorKey(editor, key, changed);
            }
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }

private:
    DatasetGrid& m_grid;
    mutable QPointer<QWidget> m_editor;
    mutable Written m_written;
};

DatasetGrid::DatasetGrid(Interaction& ui, bool readOnly, QWidget* parent)
    : QTableView(parent), m_ui(ui), m_readOnly(readOnly)
{
    GridAccessible::installFactory();
}

// QTableView reports focus and selection to screen readers by its own numbering of all
// cells; this grid's accessible interface numbers only the rows in view, so the grid
// reports them itself.
void DatasetGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // Past QTableView on purpose: its own numbering is what this replaces.
    // NOLINTNEXTLINE(bugprone-parent-virtual-call)
    QAbstractItemView::currentChanged(current, previous);
    tellScreenReader(QAccessible::Focus, current);
}

void DatasetGrid::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    tellScreenReader(QAccessible::SelectionAdd, selected.indexes().value(0));
    tellScreenReader(QAccessible::SelectionRemove, deselected.indexes().value(0));
    // NOLINTNEXTLINE(bugprone-parent-virtual-call): as above
    QAbstractItemView::selectionChanged(selected, deselected);
}

void DatasetGrid::tellScreenReader(QAccessible::Event what, const QModelIndex& cell)
{
    if (!QAccessible::isActive() || !cell.isValid())
        return;
    auto* table = dynamic_cast<GridAccessible*>(QAccessible::queryAccessibleInterface(this));
    const int child = table ? table->childIndex(cell) : -1;
    if (child < 0)
        return;
    QAccessibleEvent event(this, what);
    event.setChild(child);
    QAccessible::updateAccessibility(&event);
}

DatasetGrid::~DatasetGrid()
{
    removeEventFilter(this);
    viewport()->removeEventFilter(this);
    if (m_delegate && m_delegate->openEditor())
        emit m_delegate->closeEditor(m_delegate->openEditor(), QAbstractItemDelegate::RevertModelCache);
}

void DatasetGrid::bind(store::DatasetModel* model)
{
    m_model = model;
    if (m_readOnly)
        bindReadOnly();
    else
        bindEditable();
}

void DatasetGrid::bindReadOnly()
{
    store::DatasetModel* model = m_model;
    setModel(model);
    for (int c = 0; c < model->columns().size(); ++c)
        if (model->columns().at(c).width > 0)
            setColumnWidth(c, model->columns().at(c).width);
    // The grid's current row is the dataset's current row, both ways.
    connectGuarded(selectionModel(), &QItemSelectionModel::currentRowChanged, this, m_ui,
                   [model](const QModelIndex& current, const QModelIndex&) {
                       if (current.isValid() && current.row() != model->currentRow())
                           model->moveTo(current.row());
                   });
    connect(model, &store::DatasetModel::currentChanged, this, [this, model](int row) {
        if (row < 0 || row == currentIndex().row())
            return;
        const int column = std::max(currentIndex().column(), 0);
        // The whole row shows as chosen, as a click on it shows it.
        selectionModel()->setCurrentIndex(model->index(row, column),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    });
    connect(model, &store::DatasetModel::errorOccurred, this,
            [this](const QString& text) { m_ui.showError(text); });
    installEventFilter(this);
    viewport()->installEventFilter(this);
}

void DatasetGrid::bindEditable()
{
    // While rows come and go the view moves its current row by itself; those moves
    // are not the user's and must not move (and so store) the dataset. Connected
    // before the view's own handlers so that the marker is set when they run.
    const auto rebuildStarts = [this](auto&&...) { ++m_rebuilding; };
    connect(m_model, &QAbstractItemModel::rowsAboutToBeInserted, this, rebuildStarts);
    connect(m_model, &QAbstractItemModel::rowsAboutToBeRemoved, this, rebuildStarts);
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, rebuildStarts);
    setModel(m_model);
    const auto rebuildEnds = [this](auto&&...) {
        m_rebuilding = std::max(0, m_rebuilding - 1);
        followDataset();
    };
    connect(m_model, &QAbstractItemModel::rowsInserted, this, rebuildEnds);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, rebuildEnds);
    connect(m_model, &QAbstractItemModel::modelReset, this, rebuildEnds);
    for (int i = 0; i < m_model->columns().size(); ++i)
        setColumnWidth(i, m_model->columns().at(i).width);
    m_delegate = new DatasetGridDelegate(*this);
    setItemDelegate(m_delegate);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(true);
    setEditTriggers(kEditTriggers); // editable as designed; setEditable decides later
    installEventFilter(this);
    viewport()->installEventFilter(this);

    // The grid's current row and the dataset's current row follow each other.
    connect(m_model, &store::DatasetModel::currentChanged, this, [this](int) { followDataset(); });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (current.isValid())
            m_column = current.column();
    });
    connectGuarded(selectionModel(), &QItemSelectionModel::currentRowChanged, this, m_ui,
                   [this](const QModelIndex& current, const QModelIndex&) { followGrid(current.row()); });
    // A refused cell: the engine's message, then the cell opens again with the text.
    connect(m_model, &store::DatasetModel::errorOccurred, this, [this](const QString& t) {
        m_cellRefused = true;
        showRefusal(t, m_delegate->written().cell, m_delegate->written().text);
    });

    connectGuarded(qApp, &QApplication::focusChanged, this, m_ui,
                   [this](QWidget* from, QWidget* to) { focusMoved(from, to); });
}

void DatasetGrid::setEditable(bool editable)
{
    if (m_readOnly)
        return;
    m_editable = editable;
    if (!editable)
        commitCell();
    setEditTriggers(editable ? kEditTriggers : QAbstractItemView::NoEditTriggers);
}

void DatasetGrid::setPickList(const QString& field, const QStringList& entries)
{
    m_pickLists.insert(field, entries);
}

QWidget* DatasetGrid::openEditor() const
{
    return m_delegate ? m_delegate->openEditor() : nullptr;
}

bool DatasetGrid::commitCell()
{
    if (!m_delegate)
        return true;
    QWidget* editor = m_delegate->openEditor();
    if (!editor)
        return true;
    m_cellRefused = false;
    emit m_delegate->commitData(editor);
    if (m_delegate->openEditor() == editor)
        emit m_delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    return !m_cellRefused;
}

void DatasetGrid::leave()
{
    store::Dataset* ds = m_model ? m_model->dataset() : nullptr;
    if (!ds || !ds->isActive())
        return;
    if (!commitCell())
        return;
    if (pending(*ds))
        ds->post();
}

void DatasetGrid::followDataset()
{
    if (m_following || m_rebuilding > 0 || !selectionModel())
        return;
    store::Dataset& ds = *m_model->dataset();
    const int row = ds.isActive() ? ds.currentRow() : -1;
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex now = currentIndex();
    if (now.isValid() && now.row() == row)
        return;
    const int column = now.isValid() ? now.column() : std::clamp(m_column, 0, m_model->columnCount() - 1);
    m_following = true;
    const auto done = qScopeGuard([this] { m_following = false; });
    selectionModel()->setCurrentIndex(m_model->index(row, column), QItemSelectionModel::ClearAndSelect);
}

void DatasetGrid::followGrid(int row)
{
    store::Dataset& ds = *m_model->dataset();
    if (m_following || m_rebuilding > 0 || !ds.isActive() || row < 0 || row == ds.currentRow())
        return;
    // Moving to another row stores a changed pending row first; the target is found
    // again by its key, since storing may move the rows.
    const qint64 target = ds.valueAt(row, m_keyField).toLongLong();
    try {
        ds.checkBrowseMode();
        if (target)
            ds.locate(target);
    } catch (...) {
        followDataset(); // the grid goes back to the row the dataset kept
        throw;
    }
    followDataset();
}

void DatasetGrid::startRow(bool atEnd)
{
    if (!commitCell())
        return;
    store::Dataset& ds = *m_model->dataset();
    if (atEnd)
        ds.append();
    else
        ds.insert();
    if (ds.state() != store::Dataset::State::Insert)
        return;
    const QModelIndex first = m_model->index(ds.currentRow(), 0);
    m_following = true;
    const auto done = qScopeGuard([this] { m_following = false; });
    selectionModel()->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect);
}

bool DatasetGrid::gridKey(int key, const QString& text, Qt::KeyboardModifiers modifiers)
{
    store::Dataset& ds = *m_model->dataset();
    if (!m_editable || !ds.isActive())
        return false;
    const bool command = modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    switch (key) {
    case Qt::Key_Insert:
        if (command)
            return false;
        startRow(false);
        return true;
    case Qt::Key_Down:
        if (command || (m_model->rowCount() > 0 && currentIndex().row() < m_model->rowCount() - 1))
            return false;
        startRow(true);
        return true;
    case Qt::Key_Tab:
        // Tab past the last cell of the last row moves on to a new row.
        if (modifiers != Qt::NoModifier || !atLastCell())
            return false;
        startRow(true);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (enterAction)
            enterAction();
        else
            leave();
        return false;
    case Qt::Key_Escape:
        if (!pending(ds))
            return false;
        ds.cancel();
        return true;
    default:
        break;
    }
    // Typing into an empty grid starts a row.
    if (m_model->rowCount() > 0 || command || text.isEmpty() || !text.at(0).isPrint())
        return false;
    startRow(true);
    if (ds.state() != store::Dataset::State::Insert)
        return true;
    edit(currentIndex());
    if (QWidget* editor = m_delegate->openEditor())
        setEditorText(editor, text);
    return true;
}

bool DatasetGrid::atLastCell() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() && i.row() == m_model->rowCount() - 1 && i.column() == m_model->columnCount() - 1;
}

bool DatasetGrid::editorKey(QWidget* editor, int key, bool cellChanged)
{
    guarded(m_ui, [&] {
        store::Dataset& ds = *m_model->dataset();
        if (key == Qt::Key_Escape) {
            // First the cell goes back to its stored text; a second Escape, or one
            // in an untouched cell, discards the pending row.
            emit m_delegate->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
            if (!cellChanged && pending(ds))
                ds.cancel();
            return;
        }
        if (key == Qt::Key_Tab) {
            startRow(true);
            return;
        }
        if (enterAction)
            enterAction();
        else
            leave();
    });
    return true;
}

void DatasetGrid::focusMoved(QWidget* from, QWidget* to)
{
    if (!from || !to || !belongsToGrid(from) || belongsToGrid(to))
        return;
    if (to->window() != window())
        return; // a message box or a drop-down list: the grid is not left
    leave();
}

bool DatasetGrid::belongsToGrid(const QWidget* w) const
{
    return w == this || isAncestorOf(w);
}

void DatasetGrid::showRefusal(const QString& text, const QModelIndex& cell, const QString& cellText)
{
    // Shown once the grid has finished with the cell: a message box opened in the
    // middle of writing a cell would take the focus from the cell's editor.
    if (m_pendingMessage == text)
        return;
    m_pendingMessage = text;
    m_refusedCell = cell;
    m_refusedText = cellText;
    QMetaObject::invokeMethod(
        this,
        [this] {
            const QString t = std::exchange(m_pendingMessage, QString());
            if (t.isEmpty())
                return;
            m_ui.error(t);
            // The refused text comes back into its cell, to be corrected or undone
            // with Escape, unless the user has moved on meanwhile.
            const QPersistentModelIndex target = std::exchange(m_refusedCell, QPersistentModelIndex());
            if (!target.isValid() || target != currentIndex() || !m_editable || m_delegate->openEditor())
                return;
            edit(target);
            reopenWith(m_refusedText);
        },
        Qt::QueuedConnection);
}

void DatasetGrid::reopenWith(const QString& text)
{
    if (QWidget* editor = m_delegate->openEditor())
        setEditorText(editor, text);
}

void DatasetGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Editable grids answer the double click in their event filter; a read-only grid
    // selects the row under the pointer first and then runs the action.
    QTableView::mouseDoubleClickEvent(event);
    if (m_readOnly && doubleClickAction)
        guarded(m_ui, [this] { doubleClickAction(); });
}

bool DatasetGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (m_readOnly) {
        // A read-only grid passes Enter and a double click to its actions, if any.
        if (watched == this && event->type() == QEvent::KeyPress && enterAction) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                guarded(m_ui, [this] { enterAction(); });
                return true;
            }
        }
        if (watched == viewport() && event->type() == QEvent::MouseButtonDblClick && doubleClickAction) {
            guarded(m_ui, [this] { doubleClickAction(); });
            return true;
        }
        return QTableView::eventFilter(watched, event);
    }
    if (!m_readOnly && watched == this && event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        bool consumed = false;
        guarded(m_ui, [&] { consumed = gridKey(ke->key(), ke->text(), ke->modifiers()); });
        return consumed;
    }
    if (!m_readOnly && watched == viewport() && event->type() == QEvent::MouseButtonDblClick) {
        guarded(m_ui, [this] {
            if (doubleClickAction)
                doubleClickAction();
        });
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

} // namespace quorbel
