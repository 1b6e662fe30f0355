#include "hauptformular.h"

#include "dateiextras.h"
#include "handbuch.h"
#include "infoseite.h"
#include "neueverwaltung.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <array>
#include <catalogue/eingabeseite.h>
#include <catalogue/uebersichtseite.h>
#include <lending/verleihseite.h>
#include <quorbelversion.h>
#include <recording/aufnahmetimerseite.h>
#include <settings/einstellungsseite.h>
#include <store/collection.h>
#include <store/dates.h>
#include <store/sicheresschreiben.h>
#include <store/umwandlung.h>
#include <ui/busycursor.h>
#include <ui/clock.h>
#include <ui/design.h>
#include <ui/guard.h>
#include <ui/interaction.h>

namespace quorbel {

namespace {

const QString kDeaktiviert = QStringLiteral("Deaktiviert");

} // namespace

THauptformular::THauptformular(const QString& programDirectory, Interaction& ui, Clock& clock,
                               const QString& settingsFile, QWidget* parent)
    : THauptformular(Programmorte_Bestimmen(programDirectory), ui, clock, settingsFile, parent)
{
}

THauptformular::THauptformular(const Programmorte& orte, Interaction& ui, Clock& clock,
                               const QString& settingsFile, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_ui(ui), m_clock(clock), m_settingsFile(settingsFile)
{
    setObjectName(QStringLiteral("Hauptformular"));
    setWindowTitle(QStringLiteral("Quorbel 98 - BDE Power Edition"));
    m_programDirectory = QDir(orte.listenBasis).absolutePath();
    if (!m_programDirectory.endsWith(QLatin1Char('/')))
        m_programDirectory += QLatin1Char('/');
    m_startDirectory = orte.startVerzeichnis.isEmpty() ? m_programDirectory : orte.startVerzeichnis;

    m_sammlung = new store::Collection(this);
    Seiten_Aufbauen();
    Einstellungsseite_Aufbauen();
    Fensterzustand(false);
    Handler_Verbinden();
    FormCreate();
    Form_NeueVerwaltung = new TForm_NeueVerwaltung(m_ui, this);
}

THauptformular::~THauptformular()
{
    Timer_Uhrzeit->stop();
    Datenmengen_Schliessen();
    // The pages go first, while the collection that they work on still exists.
    delete takeCentralWidget();
}

void THauptformular::Handler_Verbinden()
{
    connectGuarded(Neu1, &QAction::triggered, this, m_ui, [this](auto&&...) { Neu1Click(); });
    connectGuarded(ffnen1, &QAction::triggered, this, m_ui, [this](auto&&...) { ffnen1Click(); });
    connectGuarded(Schliessen_Menu, &QAction::triggered, this, m_ui,
                   [this](auto&&...) { Schliessen_MenuClick(); });
    m_dateiextras = new Dateiextras(*m_sammlung, m_ui, this);
    connectGuarded(Exportieren1, &QAction::triggered, this, m_ui,
                   [this](auto&&...) { m_dateiextras->Exportieren1Click(); });
    connectGuarded(Sicherungerstellen1, &QAction::triggered, this, m_ui,
                   [this](auto&&...) { m_dateiextras->Sicherung1Click(); });
    connectGuarded(ParadoxExportieren1, &QAction::triggered, this, m_ui,
                   [this](auto&&...) { m_dateiextras->ParadoxExportieren1Click(); });
    connectGuarded(Programmbeenden1, &QAction::triggered, this, m_ui,
                   [this](auto&&...) { Programmbeenden1Click(); });
    connectGuarded(Hilfe_Handbuch, &QAction::triggered, this, m_ui, [this](auto&&...) { HandbuchZeigen(); });
    connectGuarded(Timer_Uhrzeit, &QTimer::timeout, this, m_ui, [this](auto&&...) { Timer_UhrzeitTimer(); });
    connectGuarded(Pagecontrol, &QTabWidget::currentChanged, this, m_ui,
                   [this](int) { PagecontrolChange(); });
    // The file menu closes, replaces or quits the collection, and closing discards a
    // pending row: a film being typed is stored first, as when the grid is left.
    connectGuarded(Datei1, &QMenu::aboutToShow, this, m_ui,
                   [this] { Tab_Eingabe->eingegebenenFilmSpeichern(); });
    // Lending starts on the input page and is done by the loan page, which tells the
    // input page whether its cassette may still be lent.
    connectGuarded(Tab_Eingabe, &Eingabeseite::verleihenAngefordert, this, m_ui,
                   [this] { Tab_Verleihmanager->aktuelleKassetteVerleihen(); });
    connect(Tab_Verleihmanager, &Verleihseite::verleihenMoeglich, Tab_Eingabe,
            &Eingabeseite::setVerleihenMoeglich);
    connectGuarded(Tab_Verleihmanager, &Verleihseite::kassetteZeigen, this, m_ui, [this] {
        Pagecontrol->setCurrentWidget(Tab_Eingabe);
        Refresh_Navigator();
    });
    // A reminder is shown over the loan page; a film being typed is stored first.
    connectGuarded(Tab_Verleihmanager, &Verleihseite::verleihmanagerZeigen, this, m_ui, [this] {
        Tab_Eingabe->eingegebenenFilmSpeichern();
        Pagecontrol->setCurrentWidget(Tab_Verleihmanager);
    });
    // From a film of the overview to its cassette on the input page.
    connectGuarded(Tab_Uebersicht, &Uebersichtseite::kassetteZeigen, this, m_ui, [this](int nummer) {
        Pagecontrol->setCurrentWidget(Tab_Eingabe);
        Tab_Eingabe->Kassette_Zeigen(nummer);
    });
    // The free-space search needs a cassette.
    connect(Tab_Eingabe, &Eingabeseite::freienPlatzSuchenMoeglich, Tab_Aufnahmetimer,
            &Aufnahmetimerseite::setFreienPlatzSuchenMoeglich);
    // A missed or coming recording is shown with the planner in front.
    connect(Tab_Aufnahmetimer, &Aufnahmetimerseite::zeigeMich, this,
            [this] { Pagecontrol->setCurrentWidget(Tab_Aufnahmetimer); });
}

void THauptformular::FormCreate()
{
    // At the top of the screen, centred across it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        const QSize size = sizeHint();
        move(area.left() + area.width() / 2 - size.width() / 2, area.top() + 4);
    }
    StatusBar_Panel1->setText(QStringLiteral("Version " QUORBEL_VERSION " RELEASE"));
    Schriftarten_Einlesen();
    m_lastSeenDate = Heute_Text();
    Listenverzeichnis_Anlegen();
    Genreliste_Laden();
    QDir::setCurrent(m_startDirectory);
    m_collectionOpen = false;
    m_firstActivation = true;
}

void THauptformular::Listenverzeichnis_Anlegen()
{
    // The warning is written only together with a new directory: an existing directory
    // is passed over. A warning that cannot be written is reported, and the start goes on.
    QDir program(m_programDirectory);
    if (!program.mkdir(QStringLiteral("Lists")))
        return;
    const std::array<QString, 5> lines = {
        QStringLiteral("Modifizieren Sie die Dateien in diesem Verzeichnis"),
        QStringLiteral("niemals von Hand. Anderen falls könnte der Quorbel"),
        QStringLiteral("nicht mehr ordnungsgemäss funktionieren. Benutzen"),
        QStringLiteral("Sie zum verändern der Dateien die integrierten Listenedi-"),
        QStringLiteral("toren."),
    };
    QByteArray text;
    for (const QString& line : lines)
        text += line.toLatin1() + "\r\n"; // code page 1252: for these letters the same bytes as Latin-1
    const QString warning = program.filePath(QStringLiteral("Lists/Achtung.Txt"));
    const QString reason = store::dateiSchreiben(warning, text);
    if (!reason.isEmpty())
        m_ui.warning(QStringLiteral("Die Datei %1 konnte nicht geschrieben werden:")
                         .arg(QDir::toNativeSeparators(warning)) +
                     kMessageBreak + reason);
}

bool THauptformular::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        guarded(m_ui, [this] { FormActivate(); });
    return QMainWindow::event(e);
}

void THauptformular::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    // Showing the window is its first activation, also where no window manager
    // activates it.
    if (m_firstActivation)
        QTimer::singleShot(0, this, [this] { guarded(m_ui, [this] { FormActivate(); }); });
}

void THauptformular::FormActivate()
{
    if (!m_firstActivation)
        return;
    // Cleared first: the reminders and error boxes shown below activate the window
    // again, and a failed autostart is reported once only.
    m_firstActivation = false;
    Programmliste_Laden();
    Spielzeitenliste_Laden();
    Registry_Auslesen();
    Tab_Aufnahmetimer->setHeute(m_clock.today());
    Tab_Einstellungen->Setze_Listenmarken_Zurueck();
    if (!m_startliste.isEmpty())
        Liste_Oeffnen(m_startliste);
    else if (autostartSetting() != kDeaktiviert)
        Autostart();
}

QString THauptformular::Heute_Text() const
{
    return store::formatDate(m_clock.today());
}

QString THauptformular::Uhrzeit_Text() const
{
    const QDateTime now = m_clock.now();
    return store::formatDate(now.date()) + QStringLiteral("    ") + store::formatTime(now.time()).left(5);
}

void THauptformular::Timer_UhrzeitTimer()
{
    design::anzeigen(Panel_Uhrzeit, Uhrzeit_Text());
    const QString today = Heute_Text();
    // While the checks wait for an answer the new day is left for the first tick after
    // them: no second check starts behind an open reminder, and the day is not lost.
    if (today != m_lastSeenDate && !m_pruefungenLaufen) {
        m_lastSeenDate = today;
        Tab_Aufnahmetimer->setHeute(m_clock.today());
        Pruefungen();
    }
}

void THauptformular::Pruefungen()
{
    if (m_pruefungenLaufen)
        return;
    m_pruefungenLaufen = true;
    const auto ende = qScopeGuard([this] { m_pruefungenLaufen = false; });
    ++m_checkRuns;
    Pruefe_Verliehene_Kassetten();
    Pruefe_Aufnahmen();
}

void THauptformular::HandbuchZeigen()
{
    const QWidget* seite = m_collectionOpen ? Pagecontrol->currentWidget() : nullptr;
    Handbuch_Oeffnen(m_ui, seite ? Handbuch_Abschnitt(seite->objectName()) : QString());
}

void THauptformular::PagecontrolChange()
{
    if (Pagecontrol->currentWidget() == Tab_Uebersicht)
        Tab_Uebersicht->Seite_Gezeigt();
    else if (Pagecontrol->currentWidget() == TabSheet2)
        TabSheet2->Seite_Gezeigt();
}

void THauptformular::Programmbeenden1Click()
{
    close();
}

void THauptformular::closeEvent(QCloseEvent* e)
{
    // A film being typed is stored before the question, as when the grid is left.
    guarded(m_ui, [this] { Tab_Eingabe->eingegebenenFilmSpeichern(); });
    bool mayClose = false;
    guarded(m_ui, [&] { mayClose = FormCloseQuery(); });
    if (mayClose)
        e->accept();
    else
        e->ignore();
}

bool THauptformular::FormCloseQuery()
{
    if (!m_ui.askYesNo(QStringLiteral("Quorbel beenden ?")))
        return false;
    Timer_Uhrzeit->stop();
    Datenmengen_Schliessen();
    if (settingsChanged()) {
        const Message save{QStringLiteral("Es wurden Änderungen an den Einstellungen") + kMessageBreak +
                               QStringLiteral("vorgenommen. Änderungen speichern ?"),
                           MsgIcon::None, Yes | No};
        if (m_ui.message(save) == Yes) {
            ++m_settingsSaves;
            try {
                Speichere_Registry();
            } catch (...) {
                // The settings could not be written: say so and stay open without a
                // collection, so that nothing is lost and quitting can be tried again.
                reportUncaught(m_ui, std::current_exception());
                Schliessen_MenuClick();
                return false;
            }
        }
    }
    return true;
}

QColor THauptformular::backgroundColor() const
{
    return Hintergrund->palette().color(QPalette::Window);
}

void THauptformular::Fensterzustand(bool collectionShown)
{
    QPalette p = Hintergrund->palette();
    p.setColor(QPalette::Window, collectionShown ? palette().color(QPalette::Button) : QColor(128, 128, 128));
    Hintergrund->setPalette(p);
    Image1->setVisible(!collectionShown);
    Image2->setVisible(!collectionShown);
    Panel_Uhrzeit->setVisible(collectionShown);
    Pagecontrol->setVisible(collectionShown);
    // Only an open collection can be exported or backed up.
    Exportieren1->setEnabled(collectionShown);
    Sicherungerstellen1->setEnabled(collectionShown);
    ParadoxExportieren1->setEnabled(collectionShown);
}

// --- Collections -----------------------------------------------------------------------

void THauptformular::Datenmengen_Schliessen()
{
    m_sammlung->close();
    Tab_Eingabe->Kassette_Anzeigen();
}

void THauptformular::Liste_Verbergen()
{
    Datenmengen_Schliessen();
    Timer_Uhrzeit->stop();
    Fensterzustand(false);
}

void THauptformular::Liste_Zeigen()
{
    Tab_Verleihmanager->Nach_Oeffnen();
    Tab_Aufnahmetimer->Nach_Oeffnen();
    Tab_Eingabe->Nach_Oeffnen();
    Tab_Uebersicht->Nach_Oeffnen();
    design::anzeigen(Panel_Uhrzeit, Uhrzeit_Text());
    Timer_Uhrzeit->start();
    Fensterzustand(true);
    m_collectionOpen = true;
    Schliessen_Menu->setEnabled(true);
}

void THauptformular::Schliessen_MenuClick()
{
    Timer_Uhrzeit->stop();
    Fensterzustand(false);
    Datenmengen_Schliessen();
    Schliessen_Menu->setEnabled(false);
    m_collectionOpen = false;
}

void THauptformular::Liste_Oeffnen(const QString& listFilePath)
{
    if (!Paradox_Umwandeln(listFilePath))
        return;
    {
        BusyCursor busy;
        Liste_Laden(listFilePath);
        Liste_Zeigen();
    }
    // With the normal cursor again: the checks may ask the user.
    Pruefungen();
}

void THauptformular::Liste_Laden(const QString& listFilePath)
{
    try {
        m_sammlung->open(listFilePath);
    } catch (...) {
        // Leave nothing half open: the window stays without a collection.
        Datenmengen_Schliessen();
        throw;
    }
}

bool THauptformular::Paradox_Umwandeln(const QString& listFilePath)
{
    namespace uw = store::umwandlung;
    bool alt = false;
    {
        BusyCursor busy;
        uw::wiederherstellen(listFilePath);
        alt = uw::mussUmgewandeltWerden(listFilePath);
    }
    if (!alt)
        return true;
    if (!m_ui.askYesNo(QStringLiteral("Die Videoliste %1 ist als Paradox-Tabellen gespeichert und wird jetzt "
                                      "in das Format dieses Programms umgewandelt.")
                           .arg(QDir::toNativeSeparators(listFilePath)) +
                       kMessageBreak +
                       QStringLiteral("Die Paradox-Dateien bleiben unverändert im Unterverzeichnis \"%1\" "
                                      "erhalten.")
                           .arg(QLatin1String(uw::kOriginalVerzeichnis)) +
                       kMessageBreak + QStringLiteral("Jetzt umwandeln ?")))
        return false;
    uw::Ergebnis e;
    try {
        BusyCursor busy;
        auto fortschritt = m_ui.progress(QStringLiteral("Umwandeln"),
                                         QStringLiteral("Die Paradox-Tabellen werden umgewandelt..."));
        e = uw::umwandeln(listFilePath, [&fortschritt](qint64 n, qint64 gesamt) {
            return fortschritt->setValue(n, gesamt);
        });
    } catch (const store::EngineError& fehler) {
        if (fehler.message() != QLatin1String(uw::kAbgebrochen))
            throw;
        m_ui.information(QStringLiteral("Die Umwandlung wurde abgebrochen; die Paradox-Tabellen sind "
                                        "unverändert."));
        return false;
    }
    QString text = QStringLiteral("Die Videoliste wurde umgewandelt: %1 Kassetten, %2 Filme, %3 Ausleihen, "
                                  "%4 geplante Aufnahmen.")
                       .arg(e.kassetten)
                       .arg(e.filme)
                       .arg(e.verliehen)
                       .arg(e.aufnahmen);
    if (!e.hinweise.isEmpty())
        text += kMessageBreak + QStringLiteral("Die Prüfung der übernommenen Daten meldet:") + kMessageBreak +
                e.hinweise.join(kMessageBreak);
    m_ui.message({text, e.hinweise.isEmpty() ? MsgIcon::Information : MsgIcon::Warning, Ok});
    return true;
}

void THauptformular::ffnen1Click()
{
    const QString path = m_ui.chooseFile(QStringLiteral("Videolisten (*.qbx)|*.qbx"), QDir::currentPath());
    if (path.isEmpty())
        return;
    if (m_collectionOpen)
        Liste_Verbergen();
    Liste_Oeffnen(path);
}

void THauptformular::Autostart()
{
    Liste_Oeffnen(autostartSetting());
}

void THauptformular::Neu1Click()
{
    if (m_collectionOpen)
        Liste_Verbergen();
    if (m_ui.exec(*Form_NeueVerwaltung) == QDialog::Accepted)
        Erstelle_NeueListe();
}

void THauptformular::Erstelle_NeueListe()
{
    {
        BusyCursor busy;
        try {
            m_sammlung->create(Form_NeueVerwaltung->directory(), Form_NeueVerwaltung->listFileName(),
                               Form_NeueVerwaltung->collectionNumber());
        } catch (...) {
            Datenmengen_Schliessen();
            throw;
        }
        // The tables are empty: no reminders to check.
        Liste_Zeigen();
    }
}

int THauptformular::AktDS(store::Dataset& dataset) const
{
    return m_sammlung->AktDS(dataset);
}

} // namespace quorbel
