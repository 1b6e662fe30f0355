#pragma once

// A table view over a dataset (store::DatasetModel) that keeps the grid's current row
// and the dataset's current row in step, both ways.
//
// Read-only (the overview, loan and planner grids): rows are selected, nothing is
// edited, and a failed move reaches the default error dialog; Enter and a double
// click run enterAction and doubleClickAction when they are set.
//
// Editable (the film grid): typing over a cell or F2 edits it into the dataset's
// pending row; Insert, Down past the last row, Tab past the last cell and typing into
// an empty grid start a new row; Enter stores (through enterAction), Escape first
// reverts the cell and then discards the pending row; leaving the grid for another
// control of the window stores the pending row; a cell the dataset refuses shows the
// engine's message and opens again with the refused text.

#include <QAccessible>
#include <QHash>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTableView>
#include <functional>

namespace store {
class DatasetModel;
}

namespace quorbel {

class Interaction;
class DatasetGridDelegate;

class DatasetGrid : public QTableView
{
    Q_OBJECT
public:
    DatasetGrid(Interaction& ui, bool readOnly, QWidget* parent = nullptr);
    ~DatasetGrid() override;

    // Binds the grid to its model; the columns take the model's widths.
    void bind(store::DatasetModel* model);
    store::DatasetModel* datasetModel() const { return m_model; }
    bool isReadOnly() const { return m_readOnly; }

    // Editable grids only: whether cells may be edited and rows started just now.
    void setEditable(bool editable);
    bool isEditable() const { return m_editable; }
    // The field whose value finds a row again after the dataset stored and moved.
    void setKeyField(const QString& field) { m_keyField = field; }
    // A field edited with an editable drop-down of these entries.
    void setPickList(const QString& field, const QStringList& entries);
    QStringList pickList(const QString& field) const { return m_pickLists.value(field); }
    bool hasPickList(const QString& field) const { return m_pickLists.contains(field); }

    // Writes the cell being edited into its field, as the grid does before the dataset
    // stores or moves; false when the field refused the text.
    bool commitCell();
    // Stores a pending row, as leaving the grid does.
    void leave();
    // The current cell is the last cell of the last row.
    bool atLastCell() const;
    // The open cell editor, if any.
    QWidget* openEditor() const;

    // What Enter does (default: store a pending row; a read-only grid: nothing); what a
    // double click does (default: nothing). Both run guarded; an error reaches the default error dialog.
    std::function<void()> enterAction;
    std::function<void()> doubleClickAction;

    // Keys typed into a cell editor: Enter, Escape, and Tab out of the last cell.
    bool editorKey(QWidget* editor, int key, bool cellChanged);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void bindReadOnly();
    void bindEditable();
    void followDataset();
    void followGrid(int row);
    bool gridKey(int key, const QString& text, Qt::KeyboardModifiers modifiers);
    void startRow(bool atEnd);
    void focusMoved(QWidget* from, QWidget* to);
    void showRefusal(const QString& text, const QModelIndex& cell, const QString& cellText);
    bool belongsToGrid(const QWidget* w) const;
    void reopenWith(const QString& text);
    void tellScreenReader(QAccessible::Event what, const QModelIndex& cell);

    Interaction& m_ui;
    const bool m_readOnly;
    store::DatasetModel* m_model = nullptr;
    DatasetGridDelegate* m_delegate = nullptr;
    QString m_keyField;
    QHash<QString, QStringList> m_pickLists;

    bool m_editable = true;
    bool m_following = false;   // the grid is being put onto the dataset's row
    int m_rebuilding = 0;       // the grid's rows are being inserted, removed or reset
    bool m_cellRefused = false; // the last cell written was refused
    int m_column = 0;           // the grid's current column, kept across resets
    QString m_pendingMessage;   // an engine message waiting to be shown
    QPersistentModelIndex m_refusedCell;
    QString m_refusedText;
};

} // namespace quorbel
