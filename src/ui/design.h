#pragma once

// Building blocks of the fixed design shared by the pages: every control gets its name
// as objectName and a German accessible name.

#include <QRect>
#include <QString>
#include <QStyle>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;
class QWidget;

namespace quorbel {

class DatasetGrid;
class Interaction;

namespace design {

// A caption without its accelerator marks.
QString plain(QString caption);

template <typename W>
W* named(W* widget, const QString& name, const QString& accessibleName, const QString& hint = QString())
{
    widget->setObjectName(name);
    widget->setAccessibleName(accessibleName);
    if (!hint.isEmpty())
        widget->setToolTip(hint);
    return widget;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, const QString& hint,
                    const QRect& geometry);

// Controls placed by a layout instead of a fixed geometry (the settings page). Their
// hint is also their accessible description.
template <typename W>
W* described(W* widget, const QString& name, const QString& accessibleName, const QString& hint)
{
    named(widget, name, accessibleName, hint);
    if (!hint.isEmpty())
        widget->setAccessibleDescription(hint);
    return widget;
}
// Named after its caption unless `accessibleName` is given.
QPushButton* button(QWidget* parent, const QString& name, const QString& caption,
                    const QString& hint = QString(), const QString& accessibleName = QString());
QCheckBox* checkBox(QWidget* parent, const QString& name, const QString& caption);
// An edit field that `label` names; the label's accelerator moves to it.
QLineEdit* labelledEdit(QWidget* parent, const QString& name, QLabel* label);
// A list of which one entry can be marked.
QListWidget* listBox(QWidget* parent, const QString& name, const QString& accessibleName,
                     const QString& hint);
QToolButton* pictureButton(QWidget* parent, const QString& name, QStyle::StandardPixmap icon,
                           const QString& hint, const QRect& geometry);
DatasetGrid* grid(Interaction& ui, QWidget* parent, const QString& name, const QString& accessibleName,
                  const QString& hint, const QRect& geometry, bool readOnly);
QLineEdit* editIn(QGroupBox* group, const QString& name, const QString& hint);
QGroupBox* group(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry,
                 const QString& hint = QString());
QLabel* label(QWidget* parent, const QString& text, const QRect& geometry);
// Shows `text` in a label that has an accessible name of its own (what it is, e.g.
// "Uhrzeit"): a screen reader reads only that name, so the text shown goes to it as the
// label's accessible description. Rich text is given as plain text.
void anzeigen(QLabel* label, const QString& text);
// A page of the main window's page host.
void page(QWidget* page, const QString& name, const QString& accessibleName);

} // namespace design
} // namespace quorbel
