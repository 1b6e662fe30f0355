#include "spielzeitformular.h"

#include "spielzeiteintrag.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

namespace quorbel {

TSpielzeit_Formular::TSpielzeit_Formular(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Spielzeit_Formular"));
    setWindowTitle(QStringLiteral("Kassettenspielzeit ändern"));
    setModal(true);

    Label_Spielzeiten = new QLabel(QStringLiteral("Bitte wählen Sie die neue Spielzeit aus"), this);
    Label_Spielzeiten->setObjectName(QStringLiteral("Label_Spielzeiten"));

    ComboBox_Spielzeiten = new QComboBox(this);
    ComboBox_Spielzeiten->setObjectName(QStringLiteral("ComboBox_Spielzeiten"));
    ComboBox_Spielzeiten->setEditable(false);
    ComboBox_Spielzeiten->setAccessibleName(QStringLiteral("Neue Spielzeit"));
    Label_Spielzeiten->setBuddy(ComboBox_Spielzeiten);

    BitBtn_Ok = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    BitBtn_Ok->setObjectName(QStringLiteral("BitBtn_Ok"));
    BitBtn_Ok->setDefault(true);
    BitBtn_Ok->setEnabled(false);
    BitBtn_Abbruch =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Abbruch"), this);
    BitBtn_Abbruch->setObjectName(QStringLiteral("BitBtn_Abbruch"));

    auto* knoepfe = new QDialogButtonBox(this);
    knoepfe->addButton(BitBtn_Ok, QDialogButtonBox::AcceptRole);
    knoepfe->addButton(BitBtn_Abbruch, QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label_Spielzeiten);
    layout->addWidget(ComboBox_Spielzeiten);
    layout->addSpacing(8);
    layout->addWidget(knoepfe);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setSpielzeiten(eingebauteSpielzeiten());

    connect(ComboBox_Spielzeiten, &QComboBox::currentIndexChanged, this, [this] { ComboBox_SpielzeitenChange(); });
    connect(BitBtn_Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn_Abbruch, &QPushButton::clicked, this, &QDialog::reject);
}

void TSpielzeit_Formular::setSpielzeiten(const QStringList& entries)
{
    const QSignalBlocker still(ComboBox_Spielzeiten);
    ComboBox_Spielzeiten->clear();
    ComboBox_Spielzeiten->addItems(sortierteSpielzeiten(entries));
    zuruecksetzen();
}

QStringList TSpielzeit_Formular::spielzeiten() const
{
    QStringList out;
    for (int i = 0; i < ComboBox_Spielzeiten->count(); ++i)
        out << ComboBox_Spielzeiten->itemText(i);
    return out;
}

QString TSpielzeit_Formular::gewaehlteSpielzeit() const
{
    return ComboBox_Spielzeiten->currentIndex() < 0 ? QString() : ComboBox_Spielzeiten->currentText();
}

void TSpielzeit_Formular::zuruecksetzen()
{
    {
        const QSignalBlocker still(ComboBox_Spielzeiten);
        ComboBox_Spielzeiten->setCurrentIndex(-1);
    }
    BitBtn_Ok->setEnabled(false);
}

void TSpielzeit_Formular::FormActivate()
{
    BitBtn_Ok->setEnabled(false);
    ComboBox_Spielzeiten->setFocus();
}

void TSpielzeit_Formular::ComboBox_SpielzeitenChange()
{
    // A choice enables OK; the choice taken away (nothing chosen) does not.
    BitBtn_Ok->setEnabled(ComboBox_Spielzeiten->currentIndex() >= 0);
}

void TSpielzeit_Formular::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

} // namespace quorbel
