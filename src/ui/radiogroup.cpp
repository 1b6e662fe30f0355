#include "radiogroup.h"

#include <QGridLayout>

namespace quorbel {

RadioGroup::RadioGroup(const QString& name, const QString& caption, const QStringList& items, int columns,
                       QWidget* parent)
    : QGroupBox(caption, parent)
{
    setObjectName(name);
    setAccessibleName(caption);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setVerticalSpacing(2);
    const int rows = int((items.size() + columns - 1) / columns);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items.at(i), this);
        button->setObjectName(objectName() + QString::number(i));
        QString plain = items.at(i);
        button->setAccessibleName(plain.remove(QLatin1Char('&')));
        m_group.addButton(button, i);
        m_buttons.append(button);
        grid->addWidget(button, i % rows, i / rows);
    }
    connect(&m_group, &QButtonGroup::idClicked, this, &RadioGroup::clicked);
}

void RadioGroup::setItemIndex(int index)
{
    if (QRadioButton* b = button(index))
        b->setChecked(true);
}

} // namespace quorbel
