#include "infoseite.h"

#include "genrediagramm.h"
#include "handbuch.h"
#include "infoformulare.h"

#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <quorbelversion.h>
#include <store/collection.h>
#include <ui/bilder.h>
#include <ui/busycursor.h>
#include <ui/clock.h>
#include <ui/design.h>
#include <ui/guard.h>
#include <ui/interaction.h>

namespace quorbel {

using namespace design;

Infoseite::Infoseite(store::Collection& collection, Clock& clock, Interaction& ui, QWidget* parent)
    : QWidget(parent), m_collection(collection), m_clock(clock)
{
    QWidget* page = this;
    named(page, QStringLiteral("TabSheet2"), QStringLiteral("Info"));

    auto* logo = new QLabel(page);
    logo->setObjectName(QStringLiteral("Image_Info"));
    logo->setAccessibleName(QStringLiteral("Quorbel 98"));
    logo->setGeometry(20, 6, 290, 80);
    logo->setScaledContents(true);
    logo->setPixmap(bild(QStringLiteral("schriftzug"), logo->size()));
    auto* cassette = new QLabel(page);
    cassette->setObjectName(QStringLiteral("Image_InfoKassette"));
    cassette->setAccessibleName(QStringLiteral("Videokassette"));
    cassette->setGeometry(20, 96, 80, 72);
    cassette->setScaledContents(true);
    cassette->setPixmap(bild(QStringLiteral("kassette"), cassette->size()));

    auto* text = new QLabel(page);
    text->setObjectName(QStringLiteral("Label_Info"));
    text->setGeometry(112, 84, 420, 112);
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setText(QStringLiteral("<p><b>Quorbel 98 - BDE Power Edition</b><br>Version " QUORBEL_VERSION
                                 " RELEASE</p>"
                                 "<p>Die Verwaltung für Ihre Videokassetten: Kassetten und Filme, "
                                 "Verleih, Aufnahmeplanung, Filmliste und Etiketten.</p>"
                                 "<p>Fragen, Wünsche und Fehlerberichte bitte an:<br>"
                                 "quorbel98@example.org</p>"));

    BitBtn_Dank = button(page, QStringLiteral("BitBtn_Dank"), QStringLiteral("Dan&ksagungen"), QString(),
                         QRect(340, 4, 180, 25));
    BitBtn_History = button(page, QStringLiteral("BitBtn_History"), QStringLiteral("Versions&geschichte"),
                            QString(), QRect(340, 31, 180, 25));
    BitBtn_Handbuch = button(page, QStringLiteral("BitBtn_Handbuch"), QStringLiteral("&Handbuch"),
                             QStringLiteral("Öffnet das Handbuch im Browser (F1)"), QRect(340, 58, 180, 25));

    auto* statistik = group(page, QStringLiteral("GroupBox_Statistik"), QStringLiteral("Statistik"),
                            QRect(12, 198, 517, 278), QStringLiteral("Zahlen der geöffneten Videoliste"));
    Label_Statistik = named(new QLabel(statistik), QStringLiteral("Label_Statistik"),
                            QStringLiteral("Zahlen der Videoliste"));
    Label_Statistik->setGeometry(10, 22, 235, 248);
    Label_Statistik->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label_Statistik->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* genreTitel = label(statistik, QStringLiteral("Filme je Genre"), QRect(250, 22, 257, 18));
    genreTitel->setObjectName(QStringLiteral("Label_Genres"));
    Diagramm_Genres = new GenreDiagramm(statistik);
    Diagramm_Genres->setGeometry(250, 44, 257, 226);

    Dankformular = new TDankformular(this);
    Historyformular = new THistoryformular(this);
    connectGuarded(BitBtn_Dank, &QPushButton::clicked, this, ui,
                   [this, &ui](auto&&...) { ui.exec(*Dankformular); });
    connectGuarded(BitBtn_History, &QPushButton::clicked, this, ui,
                   [this, &ui](auto&&...) { ui.exec(*Historyformular); });
    connectGuarded(BitBtn_Handbuch, &QPushButton::clicked, this, ui,
                   [&ui](auto&&...) { Handbuch_Oeffnen(ui, QString()); });
}

void Infoseite::Seite_Gezeigt()
{
    if (!m_collection.kassetten().isActive())
        return;
    BusyCursor busy;
    m_statistik = extras::berechneStatistik(m_collection, m_clock.today());
    const extras::Statistik& s = m_statistik;
    const QLocale de;
    auto zahl = [&de](qint64 n) { return de.toString(n); };
    auto kassette = [&zahl](const std::optional<extras::Statistik::Kassette>& k) {
        return k ? QStringLiteral("Nr. %1 (%2 von %3 Min. frei)")
                       .arg(k->nummer)
                       .arg(zahl(k->frei), zahl(k->spielzeit))
                 : QStringLiteral("-");
    };
    QString html = QStringLiteral("<table cellspacing=\"2\">");
    auto zeile = [&html](const QString& was, const QString& wert) {
        html += QStringLiteral("<tr><td>%1</td><td align=\"right\"><b>%2</b></td></tr>")
                    .arg(was.toHtmlEscaped(), wert.toHtmlEscaped());
    };
    zeile(QStringLiteral("Kassetten"), zahl(s.kassetten));
    zeile(QStringLiteral("davon Kaufvideos"), zahl(s.kaufvideos));
    zeile(QStringLiteral("Filme"), zahl(s.filme));
    zeile(QStringLiteral("Minuten aufgenommen"), zahl(s.minutenAufgenommen));
    zeile(QStringLiteral("Minuten frei"), zahl(s.minutenFrei));
    zeile(QStringLiteral("Verliehen"), zahl(s.verliehen));
    zeile(QStringLiteral("davon überfällig"), zahl(s.ueberfaellig));
    zeile(QStringLiteral("Aufnahmen in 7 Tagen"), zahl(s.aufnahmen));
    html +=
        QStringLiteral("</table><p>Vollste Kassette:<br><b>%1</b></p><p>Leerste Kassette:<br><b>%2</b></p>")
            .arg(kassette(s.vollste).toHtmlEscaped(), kassette(s.leerste).toHtmlEscaped());
    // Figures that stored values out of range kept from being worked out, and why.
    if (!s.fehler.isEmpty()) {
        html += QStringLiteral("<p>Nicht auswertbar:");
        for (const QString& f : s.fehler)
            html += QStringLiteral("<br>") + f.toHtmlEscaped();
        html += QStringLiteral("</p>");
    }
    design::anzeigen(Label_Statistik, html);
    Diagramm_Genres->setDaten(s.genres);
}

} // namespace quorbel
