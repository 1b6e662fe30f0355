#include "infoseite.h"

#include "infoformulare.h"

#include <QLabel>
#include <QPushButton>
#include <ui/bilder.h>
#include <ui/design.h>
#include <ui/guard.h>
#include <ui/interaction.h>

namespace quorbel {

using namespace design;

Infoseite::Infoseite(Interaction& ui, QWidget* parent) : QWidget(parent)
{
    QWidget* page = this;
    named(page, QStringLiteral("TabSheet2"), QStringLiteral("Info"));

    auto* logo = new QLabel(page);
    logo->setObjectName(QStringLiteral("Image_Info"));
    logo->setAccessibleName(QStringLiteral("Quorbel 98"));
    logo->setGeometry(20, 24, 497, 137);
    logo->setScaledContents(true);
    logo->setPixmap(bild(QStringLiteral("schriftzug"), logo->size()));
    auto* cassette = new QLabel(page);
    cassette->setObjectName(QStringLiteral("Image_InfoKassette"));
    cassette->setAccessibleName(QStringLiteral("Videokassette"));
    cassette->setGeometry(28, 190, 169, 153);
    cassette->setScaledContents(true);
    cassette->setPixmap(bild(QStringLiteral("kassette"), cassette->size()));

    auto* text = new QLabel(page);
    text->setObjectName(QStringLiteral("Label_Info"));
    text->setGeometry(214, 186, 310, 170);
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setText(QStringLiteral("<p><b>Quorbel 98 - BDE Power Edition</b><br>Version 0.9.2 RELEASE</p>"
                                 "<p>Die Verwaltung für Ihre Videokassetten: Kassetten und Filme, "
                                 "Verleih, Aufnahmeplanung, Filmliste und Etiketten.</p>"
                                 "<p>Fragen, Wünsche und Fehlerberichte bitte an:<br>"
                                 "quorbel98@example.org</p>"));

    BitBtn_Dank = button(page, QStringLiteral("BitBtn_Dank"), QStringLiteral("Dan&ksagungen"), QString(),
                         QRect(214, 400, 150, 30));
    BitBtn_History = button(page, QStringLiteral("BitBtn_History"), QStringLiteral("Versions&geschichte"),
                            QString(), QRect(374, 400, 150, 30));

    Dankformular = new TDankformular(this);
    Historyformular = new THistoryformular(this);
    connectGuarded(BitBtn_Dank, &QPushButton::clicked, this, ui, [this, &ui](auto&&...) { ui.exec(*Dankformular); });
    connectGuarded(BitBtn_History, &QPushButton::clicked, this, ui,
                   [this, &ui](auto&&...) { ui.exec(*Historyformular); });
}

} // namespace quorbel
