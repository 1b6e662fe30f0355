#include "spielzeitauswahl.h"

#include "spielzeiteintrag.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

namespace quorbel {

Spielzeitauswahl::Spielzeitauswahl(QWidget* parent, const QString& formName, const QString& caption,
                                   const QString& prompt, const QString& listName,
                                   const QString& accessibleName)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(formName);
    setWindowTitle(caption);
    setModal(true);

    m_prompt = new QLabel(prompt, this);
    m_prompt->setObjectName(QStringLiteral("Label_") + listName.section(QLatin1Char('_'), 1));

    m_liste = new QComboBox(this);
    m_liste->setObjectName(listName);
    m_liste->setEditable(false);
    m_liste->setAccessibleName(accessibleName);
    m_prompt->setBuddy(m_liste);

    BitBtn_Ok = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    BitBtn_Ok->setObjectName(QStringLiteral("BitBtn_Ok"));
    BitBtn_Ok->setDefault(true);
    BitBtn_Ok->setEnabled(false);
    BitBtn_Abbruch = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                     QStringLiteral("Abbruch"), this);
    BitBtn_Abbruch->setObjectName(QStringLiteral("BitBtn_Abbruch"));

    auto* knoepfe = new QDialogButtonBox(this);
    knoepfe->addButton(BitBtn_Ok, QDialogButtonBox::AcceptRole);
    knoepfe->addButton(BitBtn_Abbruch, QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_liste);
    layout->addSpacing(8);
    layout->addWidget(knoepfe);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setSpielzeiten(eingebauteSpielzeiten());

    connect(m_liste, &QComboBox::currentIndexChanged, this, [this] { auswahlGeaendert(); });
    connect(BitBtn_Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn_Abbruch, &QPushButton::clicked, this, &QDialog::reject);
}

void Spielzeitauswahl::setSpielzeiten(const QStringList& entries)
{
    const QSignalBlocker still(m_liste);
    m_liste->clear();
    m_liste->addItems(sortierteSpielzeiten(entries));
    m_liste->setCurrentIndex(-1);
    BitBtn_Ok->setEnabled(false);
}

QStringList Spielzeitauswahl::spielzeiten() const
{
    QStringList out;
    for (int i = 0; i < m_liste->count(); ++i)
        out << m_liste->itemText(i);
    return out;
}

QString Spielzeitauswahl::gewaehlteSpielzeit() const
{
    return m_liste->currentIndex() < 0 ? QString() : m_liste->currentText();
}

void Spielzeitauswahl::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

} // namespace quorbel
