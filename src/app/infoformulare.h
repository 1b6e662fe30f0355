#pragma once

#include <QDialog>

class QPushButton;
class QTextBrowser;

namespace quorbel {

// The acknowledgements window.
class TDankformular : public QDialog
{
    Q_OBJECT
public:
    explicit TDankformular(QWidget* parent = nullptr);

    QTextBrowser* Memo_Dank;
    QPushButton* BitBtn_Ok;
};

// The version history window.
class THistoryformular : public QDialog
{
    Q_OBJECT
public:
    explicit THistoryformular(QWidget* parent = nullptr);

    QTextBrowser* Memo_History;
    QPushButton* BitBtn_Ok;
};

} // namespace quorbel
