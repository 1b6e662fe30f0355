#include "schriftartenformular.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

namespace settings {

TSchriftartenformular::TSchriftartenformular(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Schriftartenformular"));
    setWindowTitle(QStringLiteral("Schriftart auswählen"));
    setModal(true);

    auto* label = new QLabel(QStringLiteral("Verfügbare Schriftarten"), this);
    label->setObjectName(QStringLiteral("Label_Schriftarten"));

    ListBox_Schriftarten = new QListWidget(this);
    ListBox_Schriftarten->setObjectName(QStringLiteral("ListBox_Schriftarten"));
    ListBox_Schriftarten->setAccessibleName(QStringLiteral("Verfügbare Schriftarten"));
    ListBox_Schriftarten->setSelectionMode(QAbstractItemView::SingleSelection);
    label->setBuddy(ListBox_Schriftarten);

    Panel_Beispieltext = new QLabel(QStringLiteral("AaBbCcXxYyZz0123"), this);
    Panel_Beispieltext->setObjectName(QStringLiteral("Panel_Beispieltext"));
    Panel_Beispieltext->setAccessibleName(QStringLiteral("Beispieltext"));
    Panel_Beispieltext->setAccessibleDescription(Panel_Beispieltext->text());
    Panel_Beispieltext->setAlignment(Qt::AlignCenter);
    Panel_Beispieltext->setFrameShape(QFrame::Panel);
    Panel_Beispieltext->setFrameShadow(QFrame::Sunken);
    Panel_Beispieltext->setMinimumHeight(60);
    zeigeBeispiel(QStringLiteral("Times New Roman"));

    BitBtn_Ok = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    BitBtn_Ok->setObjectName(QStringLiteral("BitBtn_Ok"));
    BitBtn_Ok->setAccessibleName(QStringLiteral("OK"));
    BitBtn_Ok->setDefault(true);
    BitBtn_Cancel = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                    QStringLiteral("Abbrechen"), this);
    BitBtn_Cancel->setObjectName(QStringLiteral("BitBtn_Cancel"));
    BitBtn_Cancel->setAccessibleName(QStringLiteral("Abbrechen"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn_Ok);
    buttons->addWidget(BitBtn_Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(ListBox_Schriftarten, 1);
    layout->addWidget(Panel_Beispieltext);
    layout->addLayout(buttons);
    setFixedSize(360, 400);

    connect(BitBtn_Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    // A click picks, also on the entry that is already selected; the keyboard moves the current row.
    connect(ListBox_Schriftarten, &QListWidget::itemClicked, this, [this] { ListBox_SchriftartenClick(); });
    connect(ListBox_Schriftarten, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            ListBox_SchriftartenClick();
    });
}

void TSchriftartenformular::setzeSchriftarten(const QStringList& faces)
{
    const QSignalBlocker block(ListBox_Schriftarten);
    ListBox_Schriftarten->clear();
    ListBox_Schriftarten->addItems(faces);
}

void TSchriftartenformular::waehleSchriftart(const QString& face)
{
    const QSignalBlocker block(ListBox_Schriftarten);
    const auto found = ListBox_Schriftarten->findItems(face, Qt::MatchExactly);
    if (found.isEmpty()) {
        ListBox_Schriftarten->setCurrentRow(-1);
        ListBox_Schriftarten->clearSelection();
    } else {
        ListBox_Schriftarten->setCurrentItem(found.first());
        ListBox_Schriftarten->scrollToItem(found.first());
    }
    zeigeBeispiel(face);
}

QString TSchriftartenformular::gewaehlteSchriftart() const
{
    const QListWidgetItem* item = ListBox_Schriftarten->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void TSchriftartenformular::FormActivate()
{
    BitBtn_Ok->setEnabled(false);
}

void TSchriftartenformular::ListBox_SchriftartenClick()
{
    const QString face = gewaehlteSchriftart();
    if (face.isEmpty())
        return;
    zeigeBeispiel(face);
    BitBtn_Ok->setEnabled(true);
}

void TSchriftartenformular::showEvent(QShowEvent* event)
{
    FormActivate();
    QDialog::showEvent(event);
}

void TSchriftartenformular::zeigeBeispiel(const QString& face)
{
    QFont font(face);
    font.setPointSize(16);
    Panel_Beispieltext->setFont(font);
}

} // namespace settings
