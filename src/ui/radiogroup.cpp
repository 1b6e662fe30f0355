#include "radiogroup.h"

#include <QGridLayout>
#include <utility>

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
    // A button that becomes chosen reports itself, however it was chosen (a screen
    // reader's toggle action sends no click). A click on the button already chosen
    // changes nothing and is reported by itself.
    connect(&m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !m_setzend)
            emit clicked(id);
    });
    connect(&m_group, &QButtonGroup::idPressed, this,
            [this](int id) { m_warGewaehlt = button(id) && button(id)->isChecked(); });
    connect(&m_group, &QButtonGroup::idClicked, this, [this](int id) {
        if (std::exchange(m_warGewaehlt, false))
            emit clicked(id);
    });
}

void RadioGroup::setItemIndex(int index)
{
    if (QRadioButton* b = button(index)) {
        m_setzend = true;
        b->setChecked(true);
        m_setzend = false;
    }
}

} // namespace quorbel
