#include "hauptformular.h"

#include "busycursor.h"
#include "clock.h"
#include "guard.h"
#include "infoformulare.h"
#include "interaction.h"
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
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <array>
#include <catalogue/eingabeseite.h>
#include <catalogue/filminfoformular.h>
#include <catalogue/hinzufuegenformular.h>
#include <catalogue/spielzeitformular.h>
#include <lending/meldungsformular.h>
#include <printing/druckenformular.h>
#include <recording/aufnahmetimerformular.h>
#include <settings/settingscontroller.h>
#include <settings/vocabulary.h>
#include <store/collectiontables.h>
#include <store/dates.h>
#include <store/error.h>
#include <store/listfile.h>

namespace quorbel {

namespace {

const QString kDeaktiviert = QStringLiteral("Deaktiviert");
// Width of a grid column that has no width of its own.
constexpr int kStandardBreite = 64;
const QString kKass = QLatin1String(store::tables::kKassStem);
const QString kFilme = QLatin1String(store::tables::kFilmeStem);
const QString kAusgeliehen = QLatin1String(store::tables::kAusgeliehenStem);
const QString kATimer = QLatin1String(store::tables::kATimerStem);

// Removes the table files that a failed creation made, never any other file.
struct CreatedTables
{
    QStringList files;
    void removeAll()
    {
        for (const QString& f : std::as_const(files))
            QFile::remove(f);
        files.clear();
    }
};

} // namespace

THauptformular::THauptformular(const QString& programDirectory, Interaction& ui, Clock& clock,
                               const QString& settingsFile, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      genrePickList(settings::vocabulary::builtInGenres()), m_ui(ui), m_clock(clock), m_settingsFile(settingsFile)
{
    setObjectName(QStringLiteral("Hauptformular"));
    setWindowTitle(QStringLiteral("Quorbel 98 - BDE Power Edition"));
    m_programDirectory = QDir(programDirectory).absolutePath();
    if (!m_programDirectory.endsWith(QLatin1Char('/')))
        m_programDirectory += QLatin1Char('/');

    Seiten_Aufbauen();
    Einstellungsseite_Aufbauen();
    Datenmengen_Einrichten();
    Fensterzustand(false);
    Handler_Verbinden();
    FormCreate();
    Dialoge_Erstellen();
}

THauptformular::~THauptformular()
{
    // The input page goes first, while every control it works on still exists.
    delete Eingabe;
    Eingabe = nullptr;
    Timer_Uhrzeit->stop();
    Datenmengen_Schliessen();
    // The datasets outlive the controls while the window is taken apart: they must
    // no longer call into it.
    for (store::Dataset* d :
         {Table_Kassetten, Table_Filme, Table_Filmuebersicht, Table_Verliehen, Table_Aufnahmetimer})
        disconnect(d, nullptr, this, nullptr);
}

void THauptformular::Datenmengen_Einrichten()
{
    Table_Kassetten = new store::Dataset(this);
    Table_Kassetten->setObjectName(QStringLiteral("Table_Kassetten"));
    Table_Filme = new store::Dataset(this);
    Table_Filme->setObjectName(QStringLiteral("Table_Filme"));
    Table_Filmuebersicht = new store::Dataset(this);
    Table_Filmuebersicht->setObjectName(QStringLiteral("Table_Filmuebersicht"));
    Table_Verliehen = new store::Dataset(this);
    Table_Verliehen->setObjectName(QStringLiteral("Table_Verliehen"));
    Table_Aufnahmetimer = new store::Dataset(this);
    Table_Aufnahmetimer->setObjectName(QStringLiteral("Table_Aufnahmetimer"));
    store::tables::configureDatasets(*Table_Kassetten, *Table_Filme, *Table_Filmuebersicht, *Table_Verliehen,
                                     *Table_Aufnahmetimer);

    using Column = store::DatasetModel::Column;
    const Qt::Alignment centre = Qt::AlignHCenter;
    DataSource_Filme = new store::DatasetModel(
        Table_Filme,
        {Column{QStringLiteral("Filmname"), QString(), Qt::AlignLeft, 214},
         Column{QStringLiteral("Filmlaenge"), QStringLiteral("Länge (Min.)"), centre, 81},
         Column{QStringLiteral("Genre"), QString(), Qt::AlignLeft, 136}},
        this);
    DataSource_Filmuebersicht = new store::DatasetModel(
        Table_Filmuebersicht,
        {Column{QStringLiteral("Zu_Kassette"), QStringLiteral("Kassette"), centre, 55, true},
         Column{QStringLiteral("Filmname"), QString(), Qt::AlignLeft, 187, true},
         Column{QStringLiteral("Filmlaenge"), QString(), centre, 65, true},
         Column{QStringLiteral("Genre"), QString(), Qt::AlignLeft, 123, true}},
        this);
    DataSource_Ausgeliehen =
        new store::DatasetModel(Table_Verliehen,
                                {Column{QStringLiteral("Kassette"), QString(), centre, kStandardBreite, true},
                                 Column{QStringLiteral("Datum"), QString(), centre, 73, true},
                                 Column{QStringLiteral("An"), QString(), Qt::AlignLeft, 245, true}},
                                this);
    DataSource_Aufnahmetimer = new store::DatasetModel(
        Table_Aufnahmetimer,
        {Column{QStringLiteral("Filmname"), QString(), Qt::AlignLeft, 161, true},
         Column{QStringLiteral("Programm"), QString(), centre, 70, true},
         Column{QStringLiteral("Datum"), QString(), centre, kStandardBreite, true},
         Column{QStringLiteral("Beginn"), QString(), centre, 63, true},
         Column{QStringLiteral("Ende"), QString(), centre, 61, true},
         Column{QStringLiteral("Laenge"), QStringLiteral("Laenge (Min.)"), centre, 72, true}},
        this);
    // The film grid is bound by the input page (Eingabeseite), with its own editing rules.
    Gitter_Binden(DBGrid_Filmuebersicht, DataSource_Filmuebersicht);
    Gitter_Binden(DBGrid_Verliehen, DataSource_Ausgeliehen);
    Gitter_Binden(DBGrid_ATimer, DataSource_Aufnahmetimer);

    // The input page's number and capacity fields follow the current cassette.
    connect(Table_Kassetten, &store::Dataset::rowsReset, this, &THauptformular::Kassette_Anzeigen);
    connect(Table_Kassetten, &store::Dataset::currentChanged, this, &THauptformular::Kassette_Anzeigen);
    connect(Table_Kassetten, &store::Dataset::rowChanged, this, &THauptformular::Kassette_Anzeigen);
    connect(Table_Kassetten, &store::Dataset::stateChanged, this, &THauptformular::Kassette_Anzeigen);

    Query_Kass.sql = store::tables::createKass();
    Query_Filme.sql = store::tables::createFilme();
    Query_Ausgeliehen.sql = store::tables::createAusgeliehen();
    Query_ATimer.sql = store::tables::createATimer();
}

void THauptformular::Gitter_Binden(QTableView* grid, store::DatasetModel* model)
{
    grid->setModel(model);
    for (int c = 0; c < model->columns().size(); ++c)
        if (model->columns().at(c).width > 0)
            grid->setColumnWidth(c, model->columns().at(c).width);
    // The grid's current row is the dataset's current row, both ways.
    connectGuarded(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, m_ui,
                   [model](const QModelIndex& current, const QModelIndex&) {
                       if (current.isValid() && current.row() != model->currentRow())
                           model->moveTo(current.row());
                   });
    connect(model, &store::DatasetModel::currentChanged, grid, [grid, model](int row) {
        if (row < 0 || row == grid->currentIndex().row())
            return;
        const int column = std::max(grid->currentIndex().column(), 0);
        grid->selectionModel()->setCurrentIndex(model->index(row, column),
                                                QItemSelectionModel::ClearAndSelect);
    });
    connect(model, &store::DatasetModel::errorOccurred, this,
            [this](const QString& text) { m_ui.showError(text); });
}

void THauptformular::Kassette_Anzeigen()
{
    const bool shown = Table_Kassetten->isActive() && !Table_Kassetten->isEmpty();
    DBText_Kassette->setText(shown ? Table_Kassetten->asString(QStringLiteral("Nummer")) : QString());
    DBEdit_SpielzeitInfo->setText(shown ? Table_Kassetten->asString(QStringLiteral("Spielzeit")) : QString());
    DBEdit_FreiInfo->setText(shown ? Table_Kassetten->asString(QStringLiteral("Frei")) : QString());
}

void THauptformular::Handler_Verbinden()
{
    connectGuarded(Neu1, &QAction::triggered, this, m_ui, [this](auto&&...) { Neu1Click(); });
    connectGuarded(ffnen1, &QAction::triggered, this, m_ui, [this](auto&&...) { ffnen1Click(); });
    connectGuarded(Schliessen_Menu, &QAction::triggered, this, m_ui,
                   [this](auto&&...) { Schliessen_MenuClick(); });
    connectGuarded(Programmbeenden1, &QAction::triggered, this, m_ui,
                   [this](auto&&...) { Programmbeenden1Click(); });
    connectGuarded(Timer_Uhrzeit, &QTimer::timeout, this, m_ui, [this](auto&&...) { Timer_UhrzeitTimer(); });
    connectGuarded(Pagecontrol, &QTabWidget::currentChanged, this, m_ui,
                   [this](int) { PagecontrolChange(); });
    connectGuarded(BitBtn_Dank, &QPushButton::clicked, this, m_ui,
                   [this](auto&&...) { m_ui.exec(*Dankformular); });
    connectGuarded(BitBtn_History, &QPushButton::clicked, this, m_ui,
                   [this](auto&&...) { m_ui.exec(*Historyformular); });
}

// The dialogs, once each for the whole run, in the order of start-up.
void THauptformular::Dialoge_Erstellen()
{
    Hinzufuegenformular = new THinzufuegenformular(this);
    Drucken_Formular = new TDrucken_Formular(this);
    Spielzeit_Formular = new TSpielzeit_Formular(this);
    // The font choice dialog TSchriftartenformular is created here by the settings part.
    Meldungsformular = new TMeldungsformular(this);
    Form_Aufnahmetimer = new TForm_Aufnahmetimer(m_ui, m_clock, this);
    Filminfoformular = new TFilminfoformular(*Table_Filme, m_ui, this);
    Dankformular = new TDankformular(this);
    Historyformular = new THistoryformular(this);
    Form_NeueVerwaltung = new TForm_NeueVerwaltung(m_ui, this);
    Eingabe = new Eingabeseite(*this, m_ui, m_clock);
}

void THauptformular::FormCreate()
{
    // At the top of the screen, centred across it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        const QSize size = sizeHint();
        move(area.left() + area.width() / 2 - size.width() / 2, area.top() + 4);
    }
    StatusBar_Panel1->setText(QStringLiteral("Version 0.9.2 RELEASE"));
    Schriftarten_Einlesen();
    m_lastSeenDate = Heute_Text();
    DateTimePicker_Filter->setDate(m_clock.today().addDays(-14));
    Listenverzeichnis_Anlegen();
    Genreliste_Laden();
    QDir::setCurrent(m_programDirectory);
    m_collectionOpen = false;
    m_firstActivation = true;
}

void THauptformular::Listenverzeichnis_Anlegen()
{
    // The warning is written only together with a new directory: an existing
    // directory, or any failure, is passed over and the start goes on.
    QDir program(m_programDirectory);
    if (!program.mkdir(QStringLiteral("Lists")))
        return;
    QFile warning(program.filePath(QStringLiteral("Lists/Achtung.Txt")));
    if (!warning.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    const std::array<QString, 5> lines = {
        QStringLiteral("Modifizieren Sie die Dateien in diesem Verzeichnis"),
        QStringLiteral("niemals von Hand. Anderen falls könnte der Quorbel"),
        QStringLiteral("nicht mehr ordnungsgemäss funktionieren. Benutzen"),
        QStringLiteral("Sie zum verändern der Dateien die integrierten Listenedi-"),
        QStringLiteral("toren."),
    };
    for (const QString& line : lines) {
        // Code page 1252: for these letters the same bytes as Latin-1.
        warning.write(line.toLatin1());
        warning.write("\r\n");
    }
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
    Form_Aufnahmetimer->DateTimePicker->setDate(m_clock.today());
    Einstellungsverwaltung->Setze_Listenmarken_Zurueck();
    if (autostartSetting() != kDeaktiviert)
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
    Panel_Uhrzeit->setText(Uhrzeit_Text());
    const QString today = Heute_Text();
    if (today != m_lastSeenDate) {
        m_lastSeenDate = today;
        Form_Aufnahmetimer->DateTimePicker->setDate(m_clock.today());
        Pruefungen();
    }
}

void THauptformular::Pruefungen()
{
    ++m_checkRuns;
    Pruefe_Verliehene_Kassetten();
    Pruefe_Aufnahmen();
}

void THauptformular::PagecontrolChange()
{
    if (Pagecontrol->currentWidget() != Tab_Uebersicht || !Table_Filmuebersicht->isActive())
        return;
    Table_Filmuebersicht->refresh();
    BitBtn_Drucken->setEnabled(Table_Filmuebersicht->recordCount() > 0);
}

void THauptformular::Programmbeenden1Click()
{
    close();
}

void THauptformular::closeEvent(QCloseEvent* e)
{
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
}

// --- Collections -----------------------------------------------------------------------

void THauptformular::Datenmengen_Schliessen()
{
    Table_Verliehen->close();
    Table_Aufnahmetimer->close();
    Table_Filmuebersicht->close();
    Table_Filme->close();
    Table_Kassetten->close();
    Kassette_Anzeigen();
}

void THauptformular::Liste_Verbergen()
{
    Datenmengen_Schliessen();
    Timer_Uhrzeit->stop();
    Fensterzustand(false);
}

void THauptformular::Liste_Zeigen()
{
    BitBtn_Zurueckbekommen->setEnabled(Table_Verliehen->recordCount() > 0);
    BitBtn_Aufgenommen->setEnabled(Table_Aufnahmetimer->recordCount() > 0);
    BitBtn_Labeldrucken->setEnabled(Table_Filme->recordCount() > 0);
    Refresh_Navigator();
    Panel_Uhrzeit->setText(Uhrzeit_Text());
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
    const QString number = store::readCollectionNumber(listFilePath);
    const QString directory = QFileInfo(listFilePath).absolutePath();
    struct Opening
    {
        store::Dataset* dataset;
        QString stem;
    };
    const std::array<Opening, 5> order = {{
        {Table_Kassetten, kKass},
        {Table_Filme, kFilme},
        {Table_Verliehen, kAusgeliehen},
        {Table_Aufnahmetimer, kATimer},
        {Table_Filmuebersicht, kFilme},
    }};
    try {
        for (const Opening& o : order) {
            o.dataset->setTableName(store::tables::tableFileName(o.stem, number));
            o.dataset->setDatabaseName(directory);
            o.dataset->open();
        }
    } catch (...) {
        // Leave nothing half open: the window stays without a collection.
        Datenmengen_Schliessen();
        throw;
    }
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
    const QString directory = Form_NeueVerwaltung->directory();
    const QString listFile = Form_NeueVerwaltung->listFileName();
    const int number = Form_NeueVerwaltung->collectionNumber();

    // Keep the statement texts; they are put back on every way out, also after a failure.
    SQLKass.sql = Query_Kass.sql;
    SQLFilme.sql = Query_Filme.sql;
    SQLAtimer.sql = Query_ATimer.sql;
    SQLAusgeliehen.sql = Query_Ausgeliehen.sql;
    struct Restore
    {
        THauptformular& w;
        ~Restore()
        {
            w.Query_Kass.sql = w.SQLKass.sql;
            w.Query_Filme.sql = w.SQLFilme.sql;
            w.Query_ATimer.sql = w.SQLAtimer.sql;
            w.Query_Ausgeliehen.sql = w.SQLAusgeliehen.sql;
        }
    } restore{*this};

    // Table file names of this collection; a numbered one gets its own first lines.
    const QString kass = store::tables::tableFileName(kKass, number);
    const QString filme = store::tables::tableFileName(kFilme, number);
    const QString ausgelhn = store::tables::tableFileName(kAusgeliehen, number);
    const QString atimer = store::tables::tableFileName(kATimer, number);
    if (number > 0) {
        auto firstLine = [](store::Query& q, const QString& file) {
            q.sql.removeFirst();
            q.sql.prepend(store::tables::createTableLine(file));
        };
        firstLine(Query_Kass, kass);
        firstLine(Query_Filme, filme);
        firstLine(Query_Ausgeliehen, ausgelhn);
        firstLine(Query_ATimer, atimer);
    }
    Table_Kassetten->setTableName(kass);
    Table_Filme->setTableName(filme);
    Table_Verliehen->setTableName(ausgelhn);
    Table_Aufnahmetimer->setTableName(atimer);
    Table_Filmuebersicht->setTableName(filme);

    // The statements name their files without a directory.
    BusyCursor busy;
    if (!QDir::setCurrent(directory))
        throw store::FileError(QStringLiteral("Das Verzeichnis %1 kann nicht geöffnet werden.")
                                   .arg(QDir::toNativeSeparators(directory)));

    CreatedTables created;
    try {
        auto createTable = [&created](store::Query& q, const QString& file) {
            q.execSQL();
            created.files << QDir::current().absoluteFilePath(file);
        };
        auto createIndexes = [](store::Query& q, const QStringList& statements) {
            for (const QString& statement : statements) {
                q.sql = QStringList{statement};
                q.execSQL();
            }
        };
        createTable(Query_Kass, kass);
        createTable(Query_Filme, filme);
        createIndexes(Query_Filme, store::tables::filmeIndexes(filme));
        createTable(Query_Ausgeliehen, ausgelhn);
        createIndexes(Query_Ausgeliehen, store::tables::ausgeliehenIndexes(ausgelhn));
        createTable(Query_ATimer, atimer);
        createIndexes(Query_ATimer, store::tables::atimerIndexes(atimer));

        // Open the new tables, then write the list file that names them.
        for (store::Dataset* d :
             {Table_Kassetten, Table_Filme, Table_Verliehen, Table_Aufnahmetimer, Table_Filmuebersicht}) {
            d->setDatabaseName(directory);
            d->open();
        }
        store::writeCollectionNumber(QDir(directory).filePath(listFile), number);
    } catch (...) {
        // A half-made collection is taken away again, so that the same name can be
        // tried once more; files that existed before are never touched.
        Datenmengen_Schliessen();
        created.removeAll();
        throw;
    }
    // The tables are empty: no reminders to check.
    Liste_Zeigen();
}

int THauptformular::AktDS(store::Dataset& dataset) const
{
    return dataset.recNo();
}

} // namespace quorbel
