#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QList>
#include <QRadioButton>
#include <QStringList>

namespace quorbel {

// A framed group of radio buttons with one chosen item, laid out in columns.
class RadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    RadioGroup(const QString& name, const QString& caption, const QStringList& items, int columns,
               QWidget* parent = nullptr);

    int itemIndex() const { return m_group.checkedId(); }
    void setItemIndex(int index);
    int count() const { return int(m_buttons.size()); }
    QRadioButton* button(int index) const { return m_buttons.value(index); }

signals:
    // The user chose an item (also when it was chosen already): by mouse, by keyboard or
    // through a screen reader's action. Not sent for setItemIndex().
    void clicked(int index);

private:
    QButtonGroup m_group;
    QList<QRadioButton*> m_buttons;
    bool m_setzend = false;     // setItemIndex() is choosing
    bool m_warGewaehlt = false; // the button being pressed was the chosen one already
};

} // namespace quorbel
