// The fixed design of the main window: menu, clock panel, status bar, pictures and
// the host of the six pages, each of which builds its own controls.

#include "hauptformular.h"
#include "infoseite.h"

#include <QAction>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <catalogue/eingabeseite.h>
#include <catalogue/uebersichtseite.h>
#include <lending/verleihseite.h>
#include <memory>
#include <printing/druckenformular.h>
#include <printing/reportfont.h>
#include <recording/aufnahmetimerseite.h>
#include <settings/einstellungsseite.h>
#include <settings/keystore.h>
#include <ui/bilder.h>
#include <ui/design.h>

namespace quorbel {

using namespace design;

void THauptformular::Seiten_Aufbauen()
{
    // Menu
    QMenuBar* Hauptmenu = menuBar();
    Hauptmenu->setObjectName(QStringLiteral("Hauptmenu"));
    Hauptmenu->setAccessibleName(QStringLiteral("Hauptmenü"));
    Datei1 = Hauptmenu->addMenu(QStringLiteral("&Datei"));
    Datei1->setObjectName(QStringLiteral("Datei1"));
    auto action = [this](const QString& name, const QString& caption) {
        QAction* a = Datei1->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    Neu1 = action(QStringLiteral("Neu1"), QStringLiteral("&Neu"));
    ffnen1 = action(QStringLiteral("ffnen1"), QStringLiteral("&Öffnen"));
    Schliessen_Menu = action(QStringLiteral("Schliessen_Menu"), QStringLiteral("&Schliessen"));
    Schliessen_Menu->setEnabled(false);
    Exportieren1 = action(QStringLiteral("Exportieren1"), QStringLiteral("&Exportieren…"));
    Sicherungerstellen1 =
        action(QStringLiteral("Sicherungerstellen1"), QStringLiteral("&Sicherung erstellen…"));
    ParadoxExportieren1 =
        action(QStringLiteral("ParadoxExportieren1"), QStringLiteral("Als &Paradox-Tabellen exportieren…"));
    Datei1->addSeparator();
    Programmbeenden1 = action(QStringLiteral("Programmbeenden1"), QStringLiteral("Programm &beenden"));
    // F1 anywhere in the window; the action is not in the menu.
    Hilfe_Handbuch = new QAction(QStringLiteral("Handbuch"), this);
    Hilfe_Handbuch->setObjectName(QStringLiteral("Hilfe_Handbuch"));
    Hilfe_Handbuch->setShortcut(QKeySequence::HelpContents);
    Hilfe_Handbuch->setShortcutContext(Qt::WindowShortcut);
    addAction(Hilfe_Handbuch);

    // Client area of 569 x 605 pixels with everything placed on it.
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Hauptformular_Client"));
    client->setAccessibleName(QStringLiteral("Quorbel 98"));
    client->setFixedSize(569, 605);
    setCentralWidget(client);

    Hintergrund = new QWidget(client);
    Hintergrund->setObjectName(QStringLiteral("Hintergrund"));
    Hintergrund->setAccessibleName(QStringLiteral("Hintergrund"));
    Hintergrund->setGeometry(0, 0, 569, 605);
    Hintergrund->setAutoFillBackground(true);

    Image1 = named(new QLabel(client), QStringLiteral("Image1"), QStringLiteral("Quorbel 98"));
    Image1->setGeometry(32, 112, 497, 137);
    Image1->setScaledContents(true);
    Image1->setPixmap(bild(QStringLiteral("schriftzug"), Image1->size()));
    Image2 = named(new QLabel(client), QStringLiteral("Image2"), QStringLiteral("Videokassette"));
    Image2->setGeometry(200, 264, 169, 153);
    Image2->setScaledContents(true);
    Image2->setPixmap(bild(QStringLiteral("kassette"), Image2->size()));

    Panel_Uhrzeit = named(new QLabel(client), QStringLiteral("Panel_Uhrzeit"), QStringLiteral("Uhrzeit"));
    Panel_Uhrzeit->setGeometry(216, 16, 137, 25);
    Panel_Uhrzeit->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel_Uhrzeit->setAlignment(Qt::AlignCenter);
    Panel_Uhrzeit->setVisible(false);

    Pagecontrol = named(new QTabWidget(client), QStringLiteral("Pagecontrol"), QStringLiteral("Seiten"));
    Pagecontrol->setGeometry(12, 58, 545, 511);
    Pagecontrol->setVisible(false);
    // A compact font on the tabs, so that all six fit side by side.
    QFont tabFont = Pagecontrol->tabBar()->font();
    tabFont.setPointSizeF(tabFont.pointSizeF() > 0 ? tabFont.pointSizeF() * 0.85 : 8.0);
    Pagecontrol->tabBar()->setFont(tabFont);

    StatusBar = named(new QStatusBar(client), QStringLiteral("StatusBar"), QStringLiteral("Statuszeile"));
    StatusBar->setGeometry(0, 586, 569, 19);
    StatusBar->setSizeGripEnabled(false);
    StatusBar->setAutoFillBackground(true);
    StatusBar_Panel0 = new QLabel(StatusBar);
    StatusBar_Panel0->setObjectName(QStringLiteral("StatusBar_Panel0"));
    StatusBar_Panel0->setFixedWidth(270);
    StatusBar_Panel0->setAlignment(Qt::AlignCenter);
    StatusBar_Panel0->setText(QStringLiteral("Videokassetten-Verwaltung"));
    StatusBar_Panel1 = new QLabel(StatusBar);
    StatusBar_Panel1->setObjectName(QStringLiteral("StatusBar_Panel1"));
    StatusBar_Panel1->setAlignment(Qt::AlignCenter);
    StatusBar->addWidget(StatusBar_Panel0);
    StatusBar->addWidget(StatusBar_Panel1, 1);
    StatusBar->setEnabled(false);

    Timer_Uhrzeit = new QTimer(this);
    Timer_Uhrzeit->setObjectName(QStringLiteral("Timer_Uhrzeit"));
    Timer_Uhrzeit->setInterval(5000);

    Tab_Eingabe = new Eingabeseite(*m_sammlung, m_ui, m_clock);
    Pagecontrol->addTab(Tab_Eingabe, QStringLiteral("&Eingabe"));
    Tab_Uebersicht = new Uebersichtseite(*m_sammlung, m_ui, m_clock);
    Pagecontrol->addTab(Tab_Uebersicht, QStringLiteral("&Filmübersicht"));
    // The film list's holder belongs to the printouts, which the window starts.
    Drucken_Formular = new TDrucken_Formular(this);
    // The settings page comes later: the loan page reads the reminder days when it needs them.
    Tab_Verleihmanager = new Verleihseite(*m_sammlung, m_ui, m_clock, [this] {
        return Tab_Einstellungen ? int(Tab_Einstellungen->einstellungen().Warnen_Nach_x_Tagen) : 0;
    });
    Pagecontrol->addTab(Tab_Verleihmanager, QStringLiteral("&Verleihmanager"));
    Tab_Aufnahmetimer = new Aufnahmetimerseite(*m_sammlung, m_ui, m_clock);
    Pagecontrol->addTab(Tab_Aufnahmetimer, QStringLiteral("&Aufnahmetimer"));
    std::unique_ptr<settings::KeyStore> key;
    if (!m_settingsFile.isEmpty())
        key = std::make_unique<settings::FileKeyStore>(m_settingsFile);
    // A stored "Arial" stays "Arial" where its stand-in prints it: the font check and
    // the font lists see the faces with stand-ins as installed.
    Tab_Einstellungen =
        new settings::Einstellungsseite(m_ui, m_programDirectory, std::move(key), report::schriftenMitErsatz);
    Pagecontrol->addTab(Tab_Einstellungen, QStringLiteral("Ei&nstellungen"));
    TabSheet2 = new Infoseite(*m_sammlung, m_clock, m_ui);
    Pagecontrol->addTab(TabSheet2, QStringLiteral("&Info"));
    Pagecontrol->setCurrentWidget(Tab_Eingabe);

    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace quorbel
