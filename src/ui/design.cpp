#include "design.h"

#include "datasetgrid.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextDocumentFragment>
#include <QToolButton>

namespace quorbel::design {

QString plain(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, const QString& hint,
                    const QRect& geometry)
{
    auto* b = named(new QPushButton(caption, parent), name, plain(caption), hint);
    b->setGeometry(geometry);
    return b;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, const QString& hint,
                    const QString& accessibleName)
{
    return described(new QPushButton(caption, parent), name,
                     accessibleName.isEmpty() ? plain(caption) : accessibleName, hint);
}

QCheckBox* checkBox(QWidget* parent, const QString& name, const QString& caption)
{
    return named(new QCheckBox(caption, parent), name, plain(caption));
}

QLineEdit* labelledEdit(QWidget* parent, const QString& name, QLabel* label)
{
    auto* e = named(new QLineEdit(parent), name, plain(label->text()));
    label->setBuddy(e);
    return e;
}

QListWidget* listBox(QWidget* parent, const QString& name, const QString& accessibleName, const QString& hint)
{
    auto* l = described(new QListWidget(parent), name, accessibleName, hint);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    return l;
}

QToolButton* pictureButton(QWidget* parent, const QString& name, QStyle::StandardPixmap icon,
                           const QString& hint, const QRect& geometry)
{
    auto* b = named(new QToolButton(parent), name, hint, hint);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setIconSize(QSize(20, 20));
    b->setGeometry(geometry);
    b->setEnabled(false);
    return b;
}

DatasetGrid* grid(Interaction& ui, QWidget* parent, const QString& name, const QString& accessibleName,
                  const QString& hint, const QRect& geometry, bool readOnly)
{
    auto* g = named(new DatasetGrid(ui, readOnly, parent), name, accessibleName, hint);
    g->setGeometry(geometry);
    g->setCursor(Qt::PointingHandCursor);
    g->setSelectionBehavior(readOnly ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setAlternatingRowColors(true);
    g->verticalHeader()->setDefaultSectionSize(20);
    g->verticalHeader()->setFixedWidth(14);
    g->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    g->horizontalHeader()->setHighlightSections(false);
    if (readOnly)
        g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    else
        g->setEditTriggers(QAbstractItemView::AllEditTriggers);
    return g;
}

void anzeigen(QLabel* label, const QString& text)
{
    label->setText(text);
    const bool reich = label->textFormat() == Qt::RichText ||
                       (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text));
    label->setAccessibleDescription(reich ? QTextDocumentFragment::fromHtml(text).toPlainText() : text);
}

QLineEdit* editIn(QGroupBox* group, const QString& name, const QString& hint)
{
    auto* e = named(new QLineEdit(group), name, plain(group->title()), hint);
    auto* layout = new QHBoxLayout(group);
    layout->setContentsMargins(8, 2, 8, 6);
    layout->addWidget(e);
    return e;
}

QGroupBox* group(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry,
                 const QString& hint)
{
    auto* g = named(new QGroupBox(caption, parent), name, plain(caption), hint);
    g->setGeometry(geometry);
    return g;
}

QLabel* label(QWidget* parent, const QString& text, const QRect& geometry)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    return l;
}

void page(QWidget* page, const QString& name, const QString& accessibleName)
{
    named(page, name, accessibleName);
}

} // namespace quorbel::design
