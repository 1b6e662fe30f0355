#include "hinzufuegenformular.h"

#include "spielzeiteintrag.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

namespace quorbel {

THinzufuegenformular::THinzufuegenformular(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Hinzufuegenformular"));
    setWindowTitle(QStringLiteral("Kassette hinzufügen"));
    setModal(true);

    Label_Spielzeit = new QLabel(QStringLiteral("Bitte Spieldauer der Kassette auswählen"), this);
    Label_Spielzeit->setObjectName(QStringLiteral("Label_Spielzeit"));

    ComboBox_Spielzeit = new QComboBox(this);
    ComboBox_Spielzeit->setObjectName(QStringLiteral("ComboBox_Spielzeit"));
    ComboBox_Spielzeit->setEditable(false);
    ComboBox_Spielzeit->setAccessibleName(QStringLiteral("Spieldauer der Kassette"));
    Label_Spielzeit->setBuddy(ComboBox_Spielzeit);

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
    layout->addWidget(Label_Spielzeit);
    layout->addWidget(ComboBox_Spielzeit);
    layout->addSpacing(8);
    layout->addWidget(knoepfe);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setSpielzeiten(eingebauteSpielzeiten());

    connect(ComboBox_Spielzeit, &QComboBox::currentIndexChanged, this, [this] { ComboBox_SpielzeitChange(); });
    connect(BitBtn_Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn_Abbruch, &QPushButton::clicked, this, &QDialog::reject);
}

void THinzufuegenformular::setSpielzeiten(const QStringList& entries)
{
    const QSignalBlocker still(ComboBox_Spielzeit);
    ComboBox_Spielzeit->clear();
    ComboBox_Spielzeit->addItems(sortierteSpielzeiten(entries));
    ComboBox_Spielzeit->setCurrentIndex(-1);
    BitBtn_Ok->setEnabled(false);
}

QStringList THinzufuegenformular::spielzeiten() const
{
    QStringList out;
    for (int i = 0; i < ComboBox_Spielzeit->count(); ++i)
        out << ComboBox_Spielzeit->itemText(i);
    return out;
}

QString THinzufuegenformular::gewaehlteSpielzeit() const
{
    return ComboBox_Spielzeit->currentIndex() < 0 ? QString() : ComboBox_Spielzeit->currentText();
}

void THinzufuegenformular::FormActivate()
{
    ComboBox_Spielzeit->setCurrentIndex(-1);
    BitBtn_Ok->setEnabled(false);
    ComboBox_Spielzeit->setFocus();
}

void THinzufuegenformular::ComboBox_SpielzeitChange()
{
    BitBtn_Ok->setEnabled(!gewaehlteSpielzeit().isEmpty());
}

void THinzufuegenformular::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

} // namespace quorbel
