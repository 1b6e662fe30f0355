#pragma once

// The info page "&Info": the program's name, version and contact address, and the
// buttons to the acknowledgements and the version history.

#include <QWidget>

class QPushButton;

namespace quorbel {

class Interaction;
class TDankformular;
class THistoryformular;

class Infoseite : public QWidget
{
    Q_OBJECT
public:
    explicit Infoseite(Interaction& ui, QWidget* parent = nullptr);

private:
    QPushButton* BitBtn_Dank;
    QPushButton* BitBtn_History;
    TDankformular* Dankformular;
    THistoryformular* Historyformular;
};

} // namespace quorbel
