#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <app/application.h>
#include <app/hauptformular.h>
#include <app/infoformulare.h>
#include <app/neueverwaltung.h>
#include <app/splashscreen.h>
#include <catalogue/hinzufuegenformular.h>
#include <catalogue/spielzeitformular.h>
#include <fakeinteraction.h>
#include <kind.h>
#include <lending/meldungsformular.h>
#include <memory>
#include <printing/druckenformular.h>
#include <recording/aufnahmetimerformular.h>
#include <settings/einstellungsseite.h>
#include <settings/keystore.h>
#include <sqlite3.h>
#include <store/collection.h>
#include <store/dataset.h>
#include <store/error.h>
#include <ui/datasetgrid.h>
#include <ui/radiogroup.h>

using namespace quorbel;
using testing_support::FakeInteraction;
using testing_support::FixedClock;
using testing_support::freshDir;
using testing_support::kind;

namespace {

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
}

// Names of the indexes that the SQLite file holds (sqlite's own ones left out).
QStringList indexesOf(const QString& file)
{
    sqlite3* db = nullptr;
    QStringList names;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT name FROM sqlite_master WHERE type='index' AND name NOT LIKE 'sqlite_%' "
                           "ORDER BY name",
                           -1, &st, nullptr);
        while (st && sqlite3_step(st) == SQLITE_ROW)
            names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return names;
}

// One main window over a scratch program directory, with the fake seams.
struct Fixture
{
    FakeInteraction ui;
    FixedClock clock;
    QString program;
    QString settingsFile;
    std::unique_ptr<THauptformular> w;

    // Stores a setting as an earlier run would have left it.
    void storeSetting(const QString& name, const QString& value) const
    {
        settings::FileKeyStore key(settingsFile);
        if (!key.openKey())
            key.createKey();
        key.writeText(name, value);
        key.closeKey();
    }

    explicit Fixture(const QString& name, bool makeLists = false)
    {
        program = freshDir(name + QStringLiteral("-programm"));
        if (makeLists)
            QDir(program).mkdir(QStringLiteral("Lists"));
        settingsFile = program + QStringLiteral("/einstellungen.key");
        w = std::make_unique<THauptformular>(program, ui, clock, settingsFile);
    }

    // Answers the new-collection dialog with a directory and a name and presses OK.
    void answerNew(const QString& directory, const QString& name)
    {
        ui.dialogAnswers.push_back([directory, name](QDialog& d) {
            auto& dlg = dynamic_cast<TForm_NeueVerwaltung&>(d);
            dlg.VerzeichnisBox->setDirectory(directory);
            dlg.Edit_Dateiname->setText(name);
            dlg.BitBtn1->click();
            return dlg.result();
        });
    }

    void createCollection(const QString& directory, const QString& name)
    {
        answerNew(directory, name);
        kind<QAction>(w, "Neu1")->trigger();
    }

    bool showsCollection() const
    {
        return kind<QTabWidget>(w, "Pagecontrol")->isVisibleTo(w.get()) &&
               kind<QLabel>(w, "Panel_Uhrzeit")->isVisibleTo(w.get()) &&
               kind<QTimer>(w, "Timer_Uhrzeit")->isActive() &&
               !kind<QLabel>(w, "Image1")->isVisibleTo(w.get()) &&
               w->backgroundColor() != QColor(128, 128, 128);
    }
    bool showsNoCollection() const
    {
        return !kind<QTabWidget>(w, "Pagecontrol")->isVisibleTo(w.get()) &&
               !kind<QLabel>(w, "Panel_Uhrzeit")->isVisibleTo(w.get()) &&
               !kind<QTimer>(w, "Timer_Uhrzeit")->isActive() &&
               kind<QLabel>(w, "Image1")->isVisibleTo(w.get()) &&
               kind<QLabel>(w, "Image2")->isVisibleTo(w.get()) &&
               w->backgroundColor() == QColor(128, 128, 128);
    }
    bool datasetsClosed() const
    {
        return !kind<store::Dataset>(w, "Table_Kassetten")->isActive() &&
               !kind<store::Dataset>(w, "Table_Filme")->isActive() &&
               !kind<store::Dataset>(w, "Table_Filmuebersicht")->isActive() &&
               !kind<store::Dataset>(w, "Table_Verliehen")->isActive() &&
               !kind<store::Dataset>(w, "Table_Aufnahmetimer")->isActive();
    }
};

const QByteArray kAchtung = "Modifizieren Sie die Dateien in diesem Verzeichnis\r\n"
                            "niemals von Hand. Anderen falls k\xf6nnte der Quorbel\r\n"
                            "nicht mehr ordnungsgem\xe4ss funktionieren. Benutzen\r\n"
                            "Sie zum ver\xe4ndern der Dateien die integrierten Listenedi-\r\n"
                            "toren.\r\n";

class Thrower : public QObject
{
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw store::EngineError(QStringLiteral("Tabelle ist gesperrt."));
        return QObject::event(e);
    }
};

} // namespace

class TestHauptformular : public QObject
{
    Q_OBJECT

private slots:
    void listsDirectoryAtStart()
    {
        {
            Fixture f(QStringLiteral("ohne-lists"));
            const QString warning = f.program + QStringLiteral("/Lists/Achtung.Txt");
            QCOMPARE(contentOf(warning), kAchtung);
            QCOMPARE(QDir::currentPath(), QDir(f.program).absolutePath());
            QCOMPARE(f.w->programDirectory(), f.program + QLatin1Char('/'));
            // A second start leaves an edited warning alone.
            writeFile(warning, "selbst geschrieben");
            f.w.reset();
            f.w = std::make_unique<THauptformular>(f.program, f.ui, f.clock);
            QCOMPARE(contentOf(warning), QByteArray("selbst geschrieben"));
        }
        {
            // An existing Lists directory gets no warning file.
            Fixture f(QStringLiteral("mit-lists"), true);
            QVERIFY(!QFile::exists(f.program + QStringLiteral("/Lists/Achtung.Txt")));
            QVERIFY(f.ui.shown.isEmpty());
        }
    }

    void designOfTheWindow()
    {
        Fixture f(QStringLiteral("design"));
        THauptformular& w = *f.w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Quorbel 98 - BDE Power Edition"));
        // The captions stand as they are: no display name pinned that the platform would
        // append to them; the name still reaches the message boxes.
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Quorbel 98"));
        QCoreApplication::setApplicationName(QStringLiteral("Probe"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Probe"));
        QCoreApplication::setApplicationName(QStringLiteral("Quorbel 98"));
        QCOMPARE(w.objectName(), QStringLiteral("Hauptformular"));
        QCOMPARE(w.centralWidget()->size(), QSize(569, 605));
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));

        const QList<QAction*> entries = kind<QMenu>(w, "Datei1")->actions();
        QCOMPARE(kind<QMenu>(w, "Datei1")->title(), QStringLiteral("&Datei"));
        QCOMPARE(entries.size(), 8);
        QCOMPARE(entries.at(0)->text(), QStringLiteral("&Neu"));
        QCOMPARE(entries.at(1)->text(), QStringLiteral("&Öffnen"));
        QCOMPARE(entries.at(2)->text(), QStringLiteral("&Schliessen"));
        QCOMPARE(entries.at(3)->text(), QStringLiteral("&Exportieren…"));
        QCOMPARE(entries.at(4)->text(), QStringLiteral("&Sicherung erstellen…"));
        QCOMPARE(entries.at(5)->text(), QStringLiteral("Als &Paradox-Tabellen exportieren…"));
        QVERIFY(entries.at(6)->isSeparator());
        QCOMPARE(entries.at(7)->text(), QStringLiteral("Programm &beenden"));
        QVERIFY(kind<QAction>(w, "Neu1")->isEnabled() && kind<QAction>(w, "ffnen1")->isEnabled() &&
                kind<QAction>(w, "Programmbeenden1")->isEnabled());
        QVERIFY(!kind<QAction>(w, "Schliessen_Menu")->isEnabled());

        QCOMPARE(kind<QLabel>(w, "Panel_Uhrzeit")->geometry(), QRect(216, 16, 137, 25));
        QCOMPARE(kind<QTabWidget>(w, "Pagecontrol")->geometry(), QRect(12, 58, 545, 511));
        QCOMPARE(kind<QLabel>(w, "Image1")->geometry(), QRect(32, 112, 497, 137));
        QCOMPARE(kind<QLabel>(w, "Image2")->geometry(), QRect(200, 264, 169, 153));
        QVERIFY(f.showsNoCollection());
        QVERIFY(!w.collectionOpen());
        QVERIFY(f.datasetsClosed());

        QCOMPARE(kind<QLabel>(w, "StatusBar_Panel1")->text(), QStringLiteral("Version 0.9.2 RELEASE"));
        QCOMPARE(kind<QLabel>(w, "StatusBar_Panel0")->width(), 270);
        QVERIFY(!kind<QStatusBar>(w, "StatusBar")->isEnabled());
        QCOMPARE(kind<QTimer>(w, "Timer_Uhrzeit")->interval(), 5000);

        const QStringList pages = {QStringLiteral("&Eingabe"),        QStringLiteral("&Filmübersicht"),
                                   QStringLiteral("&Verleihmanager"), QStringLiteral("&Aufnahmetimer"),
                                   QStringLiteral("Ei&nstellungen"),  QStringLiteral("&Info")};
        QCOMPARE(kind<QTabWidget>(w, "Pagecontrol")->count(), pages.size());
        for (int i = 0; i < pages.size(); ++i)
            QCOMPARE(kind<QTabWidget>(w, "Pagecontrol")->tabText(i), pages.at(i));
        QCOMPARE(kind<QTabWidget>(w, "Pagecontrol")->currentWidget(), kind<QWidget>(w, "Tab_Eingabe"));
        QCOMPARE(w.einstellungenSeite(), kind<QTabWidget>(w, "Pagecontrol")->widget(4));
        QCOMPARE(kind<QWidget>(w, "Tab_Einstellungen")->objectName(), QStringLiteral("Tab_Einstellungen"));

        // Every control of the pages under its name, with a German name for screen readers
        // and its hint.
        struct Control
        {
            const char* name;
            const char* hint;
        };
        const Control controls[] = {
            {"DBText_Kassette", nullptr},
            {"BitBtn_NeueKassette", "Neue Kassette hinzufügen"},
            {"BitBtn_Erste", "Erste Kassette"},
            {"BitBtn_Vorherige", "Vorherige Kassette"},
            {"BitBtn_Naechste", "Nächste Kassette"},
            {"BitBtn_Letzte", "Letzte Kassette"},
            {"GroupBox_Direkt", "Springt zur Kassette, die am nächsten der Eingabe entspricht."},
            {"Edit_Direkt", nullptr},
            {"DBGrid_Filme", "Hier werden die Filme der aktuellen Kassette angezeigt & bearbeitet"},
            {"BitBtn_Filmloeschen", "Löscht markierten Film"},
            {"Panel1", nullptr},
            {"DBEdit_SpielzeitInfo", nullptr},
            {"DBEdit_FreiInfo", nullptr},
            {"BitBtn_SpielzeitAendern", "Ändert die Spielzeit der aktuellen Kassette"},
            {"BitBtn_Verleihen", "Kassette an jemanden verleihen"},
            {"BitBtn_Labeldrucken", "Druckt ein Etikett mit den Filmen der aktuellen Kassette aus"},
            {"DBGrid_Filmuebersicht", "Übersicht über alle Filme"},
            {"BitBtn_Drucken", "Druckt die Filmübersicht - gleich sortiert - aus."},
            {"GroupBox_Suchen", nullptr},
            {"Edit_Suchen", "Sucht bestimmten Film nach seinem Namen"},
            {"RadioGroup_Sortieren", "Sortiert die Filmübersicht nach bestimmten Kriterien"},
            {"RadioButton_AlleFilme", nullptr},
            {"RadioButton_NeueFilme", nullptr},
            {"DateTimePicker_Filter", nullptr},
            {"DBGrid_Verliehen", "Übersicht über alle verliehene Kassetten"},
            {"RadioGroup_Sortieren2", "Sortiert alle verliehenen Kassetten nach bestimmten Kriterium"},
            {"BitBtn_Zurueckbekommen",
             "Löscht den markierten Film aus der Verleihübersicht und gibt ihn wieder frei"},
            {"DBGrid_ATimer", "Übersicht über ausstehende Aufnahmen"},
            {"BitBtn_NeuerFilm", "Fügt neuen Film in die Tabelle ein"},
            {"BitBtn_Aufgenommen", "Löscht Film aus der Liste"},
            {"BitBtn_FreienPlatzSuchen", "Sucht freien Platz in der Datenbank"},
            {"ListBox_FreieKassetten", nullptr},
        };
        for (const Control& c : controls) {
            auto* widget = w.findChild<QWidget*>(QString::fromLatin1(c.name));
            QVERIFY2(widget, c.name);
            QVERIFY2(!widget->accessibleName().isEmpty(), c.name);
            if (c.hint)
                QCOMPARE(widget->toolTip(), QString::fromUtf8(c.hint));
        }
        // Nothing of the window itself is without a German name for screen readers: its
        // own caption, or one given to it (the settings page and the dialogs have theirs).
        for (QWidget* child : w.findChildren<QWidget*>()) {
            const QString name = child->objectName();
            if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || child->window() != &w ||
                kind<QWidget>(w, "Tab_Einstellungen")->isAncestorOf(child))
                continue;
            QString accessible = child->accessibleName();
            if (auto* l = qobject_cast<QLabel*>(child); l && accessible.isEmpty())
                accessible = l->text();
            if (auto* m = qobject_cast<QMenu*>(child); m && accessible.isEmpty())
                accessible = m->title();
            QVERIFY2(!accessible.isEmpty(), qPrintable(name));
        }
        QCOMPARE(kind<QPushButton>(w, "BitBtn_Filmloeschen")->text(), QStringLiteral("Film &löschen"));
        QCOMPARE(kind<QPushButton>(w, "BitBtn_Drucken")->text(), QStringLiteral("Filmliste aus&drucken"));
        QCOMPARE(kind<QPushButton>(w, "BitBtn_Aufgenommen")->text(), QStringLiteral("Film &aufgenommen"));
        QCOMPARE(kind<QGroupBox>(w, "GroupBox_Direkt")->title(), QStringLiteral("&Gehe zu Nr..."));
        QCOMPARE(kind<QLineEdit>(w, "Edit_Direkt")->maxLength(), 3);
        for (QToolButton* b :
             {kind<QToolButton>(w, "BitBtn_Erste"), kind<QToolButton>(w, "BitBtn_Vorherige"),
              kind<QToolButton>(w, "BitBtn_Naechste"), kind<QToolButton>(w, "BitBtn_Letzte")})
            QVERIFY(!b->isEnabled());
        QVERIFY(!kind<QPushButton>(w, "BitBtn_Drucken")->isEnabled());
        QVERIFY(!kind<QLineEdit>(w, "DBEdit_SpielzeitInfo")->isEnabled() &&
                kind<QLineEdit>(w, "DBEdit_SpielzeitInfo")->isReadOnly());
        QVERIFY(!kind<QGroupBox>(w, "GroupBox_Nonvisible")->isVisibleTo(&w));
        QCOMPARE(kind<RadioGroup>(w, "RadioGroup_Sortieren")->itemIndex(), 0);
        QCOMPARE(kind<RadioGroup>(w, "RadioGroup_Sortieren")->count(), 4);
        QCOMPARE(kind<RadioGroup>(w, "RadioGroup_Sortieren2")->itemIndex(), 0);
        QCOMPARE(kind<RadioGroup>(w, "RadioGroup_Sortieren2")->button(2)->text(),
                 QStringLiteral("... &Ausleihende Person"));
        QVERIFY(kind<QRadioButton>(w, "RadioButton_AlleFilme")->isChecked());
        QVERIFY(!kind<QDateEdit>(w, "DateTimePicker_Filter")->isVisibleTo(&w));
        QCOMPARE(kind<QDateEdit>(w, "DateTimePicker_Filter")->date(), f.clock.today().addDays(-14));
        QCOMPARE(kind<QLabel>(w, "DBText_Kassette")->font().pixelSize(), 32);
        QCOMPARE(kind<QLabel>(w, "DBText_Kassette")->font().family(), QStringLiteral("Times New Roman"));
        QVERIFY(!kind<QLabel>(w, "DBText_Kassette")->font().bold());
        QCOMPARE(kind<QLabel>(w, "DBText_Kassette")->alignment(), Qt::AlignCenter);
        QVERIFY(kind<QTableView>(w, "DBGrid_Filmuebersicht")->editTriggers() ==
                QAbstractItemView::NoEditTriggers);
        QVERIFY(kind<QTableView>(w, "DBGrid_Filme")->editTriggers() != QAbstractItemView::NoEditTriggers);

        // The grids' columns: field titles and widths.
        struct Grid
        {
            QTableView* view;
            QStringList titles;
            QList<int> widths;
        };
        const QList<Grid> grids = {
            {kind<QTableView>(w, "DBGrid_Filme"),
             {QStringLiteral("Filmname"), QStringLiteral("Länge (Min.)"), QStringLiteral("Genre")},
             {214, 81, 136}},
            {kind<QTableView>(w, "DBGrid_Filmuebersicht"),
             {QStringLiteral("Kassette"), QStringLiteral("Filmname"), QStringLiteral("Filmlaenge"),
              QStringLiteral("Genre")},
             {55, 187, 65, 123}},
            {kind<QTableView>(w, "DBGrid_Verliehen"),
             {QStringLiteral("Kassette"), QStringLiteral("Datum"), QStringLiteral("An")},
             // The date widens to its four-digit year in the window's font (at least 73).
             {64, -1, -1}},
            {kind<QTableView>(w, "DBGrid_ATimer"),
             {QStringLiteral("Filmname"), QStringLiteral("Programm"), QStringLiteral("Datum"),
              QStringLiteral("Beginn"), QStringLiteral("Ende"), QStringLiteral("Laenge (Min.)")},
             // The title column gives up what the date and the length's title need beyond
             // the design's widths in the window's font (checked with the planner page).
             {-1, 70, -1, 63, 61, -1}},
        };
        {
            auto* verliehen = kind<QTableView>(w, "DBGrid_Verliehen");
            const int datum = verliehen->columnWidth(1);
            QVERIFY(datum >= 73);
            QVERIFY(verliehen->fontMetrics().horizontalAdvance(QStringLiteral("28.12.2000")) < datum);
            QCOMPARE(datum + verliehen->columnWidth(2), 73 + 245);
        }
        for (const Grid& g : grids) {
            QCOMPARE(g.view->model()->columnCount(), g.titles.size());
            for (int c = 0; c < g.titles.size(); ++c) {
                QCOMPARE(g.view->model()->headerData(c, Qt::Horizontal).toString(), g.titles.at(c));
                if (g.widths.at(c) >= 0)
                    QCOMPARE(g.view->columnWidth(c), g.widths.at(c));
            }
        }

        // The dialogs exist once each.
        QVERIFY(kind<TDrucken_Formular>(w) && kind<TMeldungsformular>(w) && kind<TForm_Aufnahmetimer>(w) &&
                kind<TDankformular>(w) && kind<THistoryformular>(w) && kind<TForm_NeueVerwaltung>(w));
        QCOMPARE(kind<TForm_Aufnahmetimer>(w)->windowTitle(), QStringLiteral("Film aufnehmen"));
        QCOMPARE(kind<TForm_NeueVerwaltung>(w)->VerzeichnisBox->directory(), QDir(f.program).absolutePath());

        // The info page opens its two windows.
        f.ui.clear();
        kind<QPushButton>(w, "BitBtn_Dank")->click();
        kind<QPushButton>(w, "BitBtn_History")->click();
        QCOMPARE(f.ui.shown.size(), 2);
        QCOMPARE(f.ui.shown.at(0).text, QStringLiteral("Danksagungen"));
        QCOMPARE(f.ui.shown.at(1).text, QStringLiteral("Versionsgeschichte"));
    }

    void fixedDialogs()
    {
        TSplashScreen splash;
        QCOMPARE(splash.objectName(), QStringLiteral("SplashScreen"));
        QCOMPARE(splash.size(), QSize(418, 245));
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(splash.Label_Process->text(), QStringLiteral("wird geladen, bitte warten..."));
        QCOMPARE(splash.Label_Process->pos(), QPoint(98, 130));
        QVERIFY(splash.Label_Process->font().bold());
        QCOMPARE(splash.Image_SplashSchriftzug->geometry(), QRect(46, 13, 326, 79));
        QVERIFY(!splash.Image_SplashHintergrund->pixmap().isNull());
        for (QLabel* part : {splash.Image_SplashHintergrund, splash.Image_SplashSchriftzug})
            QVERIFY(!part->accessibleName().isEmpty());

        TMeldungsformular reminder;
        QCOMPARE(reminder.windowTitle(), QStringLiteral("Zur Erinnerung"));
        QCOMPARE(reminder.size(), QSize(418, 244));
        QCOMPARE(reminder.SpinEdit_Tage->value(), 0);
        QVERIFY(!reminder.Edit_Datum->isEnabled() && reminder.Edit_Datum->isReadOnly());
        reminder.BitBtn_NichtMehr->click();
        QCOMPARE(reminder.result(), TMeldungsformular::ResultNichtMehr);
        reminder.BitBtn_Uebernehmen->click();
        QCOMPARE(reminder.result(), int(QDialog::Accepted));

        FakeInteraction ui;
        FixedClock clock;
        TForm_Aufnahmetimer recording(ui, clock);
        QCOMPARE(recording.windowTitle(), QStringLiteral("Film aufnehmen"));
        QCOMPARE(recording.ComboBox_Programme->count(), 35);
        QCOMPARE(recording.ComboBox_Programme->itemText(0), QStringLiteral("3 SAT"));
        QCOMPARE(recording.ComboBox_Programme->itemText(34), QStringLiteral("ZDF"));
        QVERIFY(recording.ComboBox_Programme->isEditable());
        QCOMPARE(recording.Edit_Filmname->maxLength(), 50);
        // Minutes need two digits.
        recording.MaskEdit_Beginn->setText(QStringLiteral("09:30"));
        QVERIFY(recording.MaskEdit_Beginn->hasAcceptableInput());
        recording.MaskEdit_Ende->setText(QStringLiteral("21:3"));
        QVERIFY(!recording.MaskEdit_Ende->hasAcceptableInput());
        recording.BitBtn_Abbruch->click();
        QCOMPARE(recording.result(), int(QDialog::Rejected));

        TDankformular thanks;
        THistoryformular history;
        QCOMPARE(thanks.windowTitle(), QStringLiteral("Danksagungen"));
        QVERIFY(history.Memo_History->toPlainText().contains(QStringLiteral("0.9.2")));
    }

    void firstActivationRunsOnce()
    {
        Fixture f(QStringLiteral("aktivierung"));
        THauptformular& w = *f.w;
        kind<TForm_Aufnahmetimer>(w)->DateTimePicker->setDate(QDate(2000, 1, 1));
        // A list edited before the window is activated counts as unchanged afterwards.
        f.ui.inputAnswers = {QStringLiteral("Heimatfilm")};
        kind<settings::Einstellungsseite>(w)->BitBtn_Dazu1Click();
        QVERIFY(kind<settings::Einstellungsseite>(w)->regeln().genresChangedFlag());
        QVERIFY(w.firstActivationPending());

        // Showing the window activates it. It stands at the top of the screen, centred
        // (by its own width: the frame's is not known before it is shown).
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(w.frameGeometry().top(), screen.top() + 4);
        QCOMPARE(w.frameGeometry().left(), screen.left() + screen.width() / 2 - w.width() / 2);
        QCOMPARE(w.size(), QSize(569, 605 + w.menuBar()->height()));
        QVERIFY(!w.firstActivationPending());
        QCOMPARE(kind<TForm_Aufnahmetimer>(w)->DateTimePicker->date(), f.clock.today());
        QVERIFY(!kind<settings::Einstellungsseite>(w)->regeln().genresChangedFlag());
        QVERIFY(!w.settingsChanged());
        QVERIFY(f.showsNoCollection());

        // Later activations reload nothing.
        f.ui.clear();
        f.ui.inputAnswers = {QStringLiteral("Bergfilm")};
        kind<settings::Einstellungsseite>(w)->BitBtn_Dazu1Click();
        f.ui.clear();
        kind<TForm_Aufnahmetimer>(w)->DateTimePicker->setDate(QDate(2000, 1, 1));
        w.FormActivate();
        QVERIFY(kind<settings::Einstellungsseite>(w)->regeln().genresChangedFlag());
        QCOMPARE(kind<TForm_Aufnahmetimer>(w)->DateTimePicker->date(), QDate(2000, 1, 1));
        QCOMPARE(w.checkRuns(), 0);
        QVERIFY(f.ui.shown.isEmpty());
        w.hide();
    }

    void vocabularyReachesTheWindow()
    {
        // Lists written by an earlier run, one with LF line ends only.
        Fixture f(QStringLiteral("vokabeln"), true);
        const QString lists = f.program + QStringLiteral("/Lists/");
        auto write = [&](const QString& name, const QByteArray& bytes) {
            QFile file(lists + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        write(QStringLiteral("splztn.qb"), "E - 90\r\nE - 480\r\n");
        write(QStringLiteral("prgs.qb"), "ARD\nKIKA\n");
        write(QStringLiteral("genre.qb"), "Heimatfilm\r\nKom\xf6"
                                          "die\r\n");

        // The genre list is read at window creation: a fresh window on the same directory.
        THauptformular w(f.program, f.ui, f.clock, f.settingsFile);
        QCOMPARE(kind<DatasetGrid>(w, "DBGrid_Filme")->pickList(QStringLiteral("Genre")),
                 (QStringList{QStringLiteral("Heimatfilm"), QStringLiteral("Komödie")}));
        w.FormActivate();
        const QStringList lengths{QStringLiteral("E - 180"), QStringLiteral("E - 200"),
                                  QStringLiteral("E - 240"), QStringLiteral("E - 260"),
                                  QStringLiteral("E - 300"), QStringLiteral("E - 480"),
                                  QStringLiteral("E - 90"),  QStringLiteral("Kaufvideo")};
        auto items = [](const QComboBox* box) {
            QStringList out;
            for (int i = 0; i < box->count(); ++i)
                out << box->itemText(i);
            return out;
        };
        QCOMPARE(items(kind<THinzufuegenformular>(w)->ComboBox_Spielzeit), lengths);
        QCOMPARE(items(kind<TSpielzeit_Formular>(w)->ComboBox_Spielzeiten), lengths);
        QCOMPARE(items(kind<TForm_Aufnahmetimer>(w)->ComboBox_Programme),
                 (QStringList{QStringLiteral("ARD"), QStringLiteral("KIKA")}));

        // A genre added on the settings page is offered by the film grid at once.
        f.ui.inputAnswers = {QStringLiteral("Bergfilm")};
        kind<settings::Einstellungsseite>(w)->BitBtn_Dazu1Click();
        QVERIFY(kind<DatasetGrid>(w, "DBGrid_Filme")
                    ->pickList(QStringLiteral("Genre"))
                    .contains(QStringLiteral("Bergfilm")));
        QVERIFY(w.settingsChanged());
    }

    void quitting()
    {
        {
            // No keeps everything as it was.
            Fixture f(QStringLiteral("beenden-nein"));
            f.w->show();
            f.ui.messageAnswers = {No};
            kind<QAction>(f.w, "Programmbeenden1")->trigger();
            QVERIFY(f.w->isVisible());
            QCOMPARE(f.ui.messages(), QStringList{QStringLiteral("Quorbel beenden ?")});
            QCOMPARE(f.ui.shown.first().icon, MsgIcon::Question);
            QCOMPARE(f.ui.shown.first().buttons, Yes | No);
        }
        {
            // Yes without changed settings: one question, the window closes.
            Fixture f(QStringLiteral("beenden-ja"));
            f.w->show();
            f.ui.messageAnswers = {Yes};
            QVERIFY(f.w->close());
            QCOMPARE(f.ui.messages().size(), 1);
            QCOMPARE(f.w->settingsSaves(), 0);
        }
        const QString saveQuestion = QStringLiteral("Es wurden Änderungen an den Einstellungen\n\r"
                                                    "vorgenommen. Änderungen speichern ?");
        for (const MsgButton answer : {No, Yes}) {
            Fixture f(QStringLiteral("beenden-einstellungen"));
            kind<settings::Einstellungsseite>(f.w)->Einstellungen_Sichern_Ein();
            f.w->show();
            f.ui.messageAnswers = {Yes, answer};
            QVERIFY(f.w->close());
            QCOMPARE(f.ui.messages(), (QStringList{QStringLiteral("Quorbel beenden ?"), saveQuestion}));
            QCOMPARE(f.ui.shown.at(1).icon, MsgIcon::None);
            QCOMPARE(f.ui.shown.at(1).buttons, Yes | No);
            QCOMPARE(f.w->settingsSaves(), answer == Yes ? 1 : 0);
            QCOMPARE(QFile::exists(f.settingsFile), answer == Yes);
        }
        {
            // Settings that cannot be written: said so, and the window stays open without
            // its collection, so that nothing is lost; the next attempt may discard them.
            Fixture f(QStringLiteral("beenden-schreibfehler"));
            writeFile(f.program + QStringLiteral("/blockiert"), "keine Verzeichnis");
            THauptformular w(f.program, f.ui, f.clock,
                             f.program + QStringLiteral("/blockiert/einstellungen.key"));
            const QString dir = freshDir(QStringLiteral("beenden-schreibfehler-sammlung"));
            f.ui.dialogAnswers.push_back([dir](QDialog& d) {
                auto& dlg = dynamic_cast<TForm_NeueVerwaltung&>(d);
                dlg.VerzeichnisBox->setDirectory(dir);
                dlg.Edit_Dateiname->setText(QStringLiteral("liste"));
                dlg.BitBtn1->click();
                return dlg.result();
            });
            kind<QAction>(w, "Neu1")->trigger();
            QVERIFY(w.collectionOpen());
            kind<settings::Einstellungsseite>(w)->Einstellungen_Sichern_Ein();
            w.show();
            f.ui.clear();
            f.ui.messageAnswers = {Yes, Yes};
            QVERIFY(!w.close());
            QCOMPARE(f.ui.messages(), (QStringList{QStringLiteral("Quorbel beenden ?"), saveQuestion}));
            QCOMPARE(f.ui.errors().size(), 1);
            QVERIFY(w.isVisible());
            QVERIFY(w.settingsChanged());
            QVERIFY(!w.collectionOpen() && !kind<QAction>(w, "Schliessen_Menu")->isEnabled());
            QVERIFY(!kind<QTabWidget>(w, "Pagecontrol")->isVisibleTo(&w) &&
                    !kind<QTimer>(w, "Timer_Uhrzeit")->isActive());
            f.ui.clear();
            f.ui.messageAnswers = {Yes, No};
            QVERIFY(w.close());
            QVERIFY(f.ui.errors().isEmpty());
        }
    }

    void clockTick()
    {
        Fixture f(QStringLiteral("uhr"));
        THauptformular& w = *f.w;
        w.Timer_UhrzeitTimer();
        QCOMPARE(kind<QLabel>(w, "Panel_Uhrzeit")->text(), QStringLiteral("08.12.2026    10:00"));
        QCOMPARE(w.checkRuns(), 0);

        // The first tick after midnight runs the two checks once and moves the
        // recording dialog's date on.
        kind<TForm_Aufnahmetimer>(w)->DateTimePicker->setDate(QDate(2000, 1, 1));
        f.clock.current = QDateTime(QDate(2026, 12, 9), QTime(0, 0, 4));
        w.Timer_UhrzeitTimer();
        QCOMPARE(kind<QLabel>(w, "Panel_Uhrzeit")->text(), QStringLiteral("09.12.2026    00:00"));
        QCOMPARE(w.checkRuns(), 1);
        QCOMPARE(w.lastSeenDate(), QStringLiteral("09.12.2026"));
        QCOMPARE(kind<TForm_Aufnahmetimer>(w)->DateTimePicker->date(), QDate(2026, 12, 9));
        f.clock.current = f.clock.current.addSecs(5);
        w.Timer_UhrzeitTimer();
        QCOMPARE(kind<QLabel>(w, "Panel_Uhrzeit")->text(), QStringLiteral("09.12.2026    00:00"));
        QCOMPARE(w.checkRuns(), 1);
        f.clock.current = f.clock.current.addSecs(60);
        w.Timer_UhrzeitTimer();
        QCOMPARE(kind<QLabel>(w, "Panel_Uhrzeit")->text(), QStringLiteral("09.12.2026    00:01"));
        QCOMPARE(w.checkRuns(), 1);

        // Started on an earlier day: opening a collection today runs the checks, and the
        // first tick runs them once more, because only the tick moves the last-seen date.
        Fixture g(QStringLiteral("uhr-vortag"));
        const QString dir = freshDir(QStringLiteral("uhr-vortag-sammlung"));
        g.createCollection(dir, QStringLiteral("videos"));
        g.w->Schliessen_MenuClick();
        QCOMPARE(g.w->checkRuns(), 0);
        g.clock.current = g.clock.current.addDays(1);
        g.ui.fileAnswers = {dir + QStringLiteral("/videos.qbx")};
        kind<QAction>(g.w, "ffnen1")->trigger();
        QVERIFY(g.showsCollection());
        QCOMPARE(g.w->checkRuns(), 1);
        QCOMPARE(kind<QLabel>(g.w, "Panel_Uhrzeit")->text(), QStringLiteral("09.12.2026    10:00"));
        QCOMPARE(g.w->lastSeenDate(), QStringLiteral("08.12.2026"));
        g.w->Timer_UhrzeitTimer();
        QCOMPARE(g.w->checkRuns(), 2);
        g.w->Timer_UhrzeitTimer();
        QCOMPARE(g.w->checkRuns(), 2);
    }

    void newCollections()
    {
        Fixture f(QStringLiteral("neu"));
        THauptformular& w = *f.w;
        const QString dir = freshDir(QStringLiteral("sammlung"));

        f.createCollection(dir, QStringLiteral("videos"));
        QCOMPARE(f.ui.errors(), QStringList());
        QCOMPARE(f.ui.shown.first().kind, FakeInteraction::Shown::Kind::Dialog);
        QCOMPARE(f.ui.shown.first().text, QStringLiteral("Neue Videoliste erstellen"));
        for (const char* file : {"kass.db", "filme.db", "ausgelhn.db", "atimer.db"})
            QVERIFY2(QFile::exists(dir + QLatin1Char('/') + QLatin1String(file)), file);
        QCOMPARE(contentOf(dir + QStringLiteral("/videos.qbx")), QByteArray("0\r\n"));
        QVERIFY(f.showsCollection());
        QVERIFY(w.collectionOpen());
        QVERIFY(kind<QAction>(w, "Schliessen_Menu")->isEnabled());
        QCOMPARE(kind<QLabel>(w, "Panel_Uhrzeit")->text(), QStringLiteral("08.12.2026    10:00"));
        QCOMPARE(w.checkRuns(), 0); // empty tables: no reminders
        QVERIFY(kind<store::Dataset>(w, "Table_Kassetten")->isActive() &&
                kind<store::Dataset>(w, "Table_Filme")->isActive() &&
                kind<store::Dataset>(w, "Table_Filmuebersicht")->isActive() &&
                kind<store::Dataset>(w, "Table_Verliehen")->isActive() &&
                kind<store::Dataset>(w, "Table_Aufnahmetimer")->isActive());
        QCOMPARE(kind<store::Dataset>(w, "Table_Filmuebersicht")->tableName(), QStringLiteral("filme.db"));
        QVERIFY(!kind<QPushButton>(w, "BitBtn_Zurueckbekommen")->isEnabled());
        QVERIFY(!kind<QPushButton>(w, "BitBtn_Aufgenommen")->isEnabled());
        QVERIFY(!kind<QPushButton>(w, "BitBtn_Labeldrucken")->isEnabled());

        // A second and a third collection in the same directory.
        f.createCollection(dir, QStringLiteral("zwei"));
        f.createCollection(dir, QStringLiteral("drei"));
        QCOMPARE(f.ui.errors(), QStringList());
        QCOMPARE(contentOf(dir + QStringLiteral("/zwei.qbx")), QByteArray("1\r\n"));
        QCOMPARE(contentOf(dir + QStringLiteral("/drei.qbx")), QByteArray("2\r\n"));
        for (const char* file : {"kass1.db", "filme1.db", "ausgelhn1.db", "atimer1.db", "kass2.db",
                                 "filme2.db", "ausgelhn2.db", "atimer2.db"})
            QVERIFY2(QFile::exists(dir + QLatin1Char('/') + QLatin1String(file)), file);
        QCOMPARE(kind<store::Dataset>(w, "Table_Kassetten")->tableName(), QStringLiteral("kass2.db"));
        QVERIFY(f.showsCollection());

        // The statement texts were put back after each numbered creation.
        QCOMPARE(w.collection().kassQuery().sql.first(), QStringLiteral("CREATE TABLE \"kass.db\""));
        QCOMPARE(w.collection().filmeQuery().sql.first(), QStringLiteral("CREATE TABLE \"filme.db\""));
        QCOMPARE(w.collection().ausgeliehenQuery().sql.first(),
                 QStringLiteral("CREATE TABLE \"ausgelhn.db\""));
        QCOMPARE(w.collection().atimerQuery().sql.first(), QStringLiteral("CREATE TABLE \"atimer.db\""));
        const QString other = freshDir(QStringLiteral("sammlung-b"));
        f.createCollection(other, QStringLiteral("b"));
        QVERIFY(QFile::exists(other + QStringLiteral("/kass.db")));
        QCOMPARE(contentOf(other + QStringLiteral("/b.qbx")), QByteArray("0\r\n"));

        // AktDS: the position of the current row.
        QCOMPARE(w.AktDS(*kind<store::Dataset>(w, "Table_Kassetten")), 0);
        for (int i = 0; i < 3; ++i) {
            kind<store::Dataset>(w, "Table_Kassetten")->append();
            kind<store::Dataset>(w, "Table_Kassetten")->setInteger(QStringLiteral("Spielzeit"), 180);
            kind<store::Dataset>(w, "Table_Kassetten")->post();
        }
        kind<store::Dataset>(w, "Table_Kassetten")->first();
        QCOMPARE(w.AktDS(*kind<store::Dataset>(w, "Table_Kassetten")), 1);
        kind<store::Dataset>(w, "Table_Kassetten")->last();
        QCOMPARE(w.AktDS(*kind<store::Dataset>(w, "Table_Kassetten")), 3);

        // Deleting collection 1 by hand frees its number again.
        w.Schliessen_MenuClick();
        // The table files hold their indexes (read once the collection is closed).
        QCOMPARE(indexesOf(dir + QStringLiteral("/kass.db")), QStringList());
        QCOMPARE(indexesOf(dir + QStringLiteral("/filme.db")),
                 (QStringList{QStringLiteral("iFilmlaenge"), QStringLiteral("iFilmname"),
                              QStringLiteral("iGenre"), QStringLiteral("iZu_Kassette")}));
        QCOMPARE(indexesOf(dir + QStringLiteral("/ausgelhn.db")),
                 (QStringList{QStringLiteral("iAn"), QStringLiteral("iDatum"), QStringLiteral("iKassette")}));
        QCOMPARE(indexesOf(dir + QStringLiteral("/atimer.db")), QStringList{QStringLiteral("iDatum")});

        QCOMPARE(indexesOf(dir + QStringLiteral("/ausgelhn2.db")).size(), 3);
        for (const char* file : {"kass1.db", "filme1.db", "ausgelhn1.db", "atimer1.db"})
            QVERIFY(QFile::remove(dir + QLatin1Char('/') + QLatin1String(file)));
        f.createCollection(dir, QStringLiteral("luecke"));
        QCOMPARE(contentOf(dir + QStringLiteral("/luecke.qbx")), QByteArray("1\r\n"));
        QVERIFY(QFile::exists(dir + QStringLiteral("/kass1.db")));
    }

    void failedCreationTakesItsTablesAway()
    {
        Fixture f(QStringLiteral("halb"));
        THauptformular& w = *f.w;
        const QString dir = freshDir(QStringLiteral("halb-sammlung"));
        // A foreign file where the loan table should go.
        writeFile(dir + QStringLiteral("/ausgelhn.db"), "fremd");
        f.createCollection(dir, QStringLiteral("x"));
        QCOMPARE(f.ui.errors().size(), 1);
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!QFile::exists(dir + QStringLiteral("/kass.db")));
        QVERIFY(!QFile::exists(dir + QStringLiteral("/filme.db")));
        QVERIFY(!QFile::exists(dir + QStringLiteral("/atimer.db")));
        QVERIFY(!QFile::exists(dir + QStringLiteral("/x.qbx")));
        QCOMPARE(contentOf(dir + QStringLiteral("/ausgelhn.db")), QByteArray("fremd"));
        QVERIFY(f.showsNoCollection());
        QVERIFY(f.datasetsClosed());
        QVERIFY(!w.collectionOpen());

        // With the obstacle gone the same name works.
        QVERIFY(QFile::remove(dir + QStringLiteral("/ausgelhn.db")));
        f.ui.clear();
        f.createCollection(dir, QStringLiteral("x"));
        QCOMPARE(f.ui.errors(), QStringList());
        QCOMPARE(contentOf(dir + QStringLiteral("/x.qbx")), QByteArray("0\r\n"));
        QVERIFY(f.showsCollection());

        // A numbered creation failing at its last table: its three new tables go, the
        // statement texts are the plain ones again.
        writeFile(dir + QStringLiteral("/atimer1.db"), "fremd");
        f.ui.clear();
        f.createCollection(dir, QStringLiteral("y"));
        QCOMPARE(f.ui.errors().size(), 1);
        for (const char* file : {"kass1.db", "filme1.db", "ausgelhn1.db", "y.qbx"})
            QVERIFY2(!QFile::exists(dir + QLatin1Char('/') + QLatin1String(file)), file);
        QCOMPARE(contentOf(dir + QStringLiteral("/atimer1.db")), QByteArray("fremd"));
        QVERIFY(QFile::exists(dir + QStringLiteral("/kass.db")));
        QCOMPARE(w.collection().atimerQuery().sql.first(), QStringLiteral("CREATE TABLE \"atimer.db\""));
        QCOMPARE(w.collection().kassQuery().sql.first(), QStringLiteral("CREATE TABLE \"kass.db\""));
        QVERIFY(f.showsNoCollection());

        // The list file cannot be written (a directory took its name after the dialog
        // closed): the four new tables go again, nothing names them.
        QVERIFY(QFile::remove(dir + QStringLiteral("/atimer1.db")));
        f.ui.clear();
        f.ui.dialogAnswers.push_back([dir](QDialog& d) {
            auto& dlg = dynamic_cast<TForm_NeueVerwaltung&>(d);
            dlg.VerzeichnisBox->setDirectory(dir);
            dlg.Edit_Dateiname->setText(QStringLiteral("z"));
            dlg.BitBtn1->click();
            QDir(dir).mkdir(QStringLiteral("z.qbx"));
            return dlg.result();
        });
        kind<QAction>(w, "Neu1")->trigger();
        QCOMPARE(f.ui.errors().size(), 1);
        for (const char* file : {"kass1.db", "filme1.db", "ausgelhn1.db", "atimer1.db"})
            QVERIFY2(!QFile::exists(dir + QLatin1Char('/') + QLatin1String(file)), file);
        QVERIFY(QFileInfo(dir + QStringLiteral("/z.qbx")).isDir());
        QVERIFY(f.showsNoCollection());
        QVERIFY(f.datasetsClosed());
        QVERIFY(!QApplication::overrideCursor());
    }

    void openCancelClose()
    {
        Fixture f(QStringLiteral("oeffnen"));
        THauptformular& w = *f.w;
        const QString dir = freshDir(QStringLiteral("oeffnen-sammlung"));
        f.createCollection(dir, QStringLiteral("videos"));

        kind<QAction>(w, "Schliessen_Menu")->trigger();
        QVERIFY(f.showsNoCollection());
        QVERIFY(f.datasetsClosed());
        QVERIFY(!kind<QAction>(w, "Schliessen_Menu")->isEnabled());
        QVERIFY(!w.collectionOpen());

        f.ui.clear();
        f.ui.fileAnswers = {dir + QStringLiteral("/videos.qbx")};
        kind<QAction>(w, "ffnen1")->trigger();
        QCOMPARE(f.ui.shown.first().kind, FakeInteraction::Shown::Kind::File);
        QCOMPARE(f.ui.shown.first().text, QStringLiteral("Videolisten (*.qbx)|*.qbx"));
        QCOMPARE(f.ui.errors(), QStringList());
        QVERIFY(f.showsCollection());
        QVERIFY(kind<QAction>(w, "Schliessen_Menu")->isEnabled());
        QCOMPARE(w.checkRuns(), 1);
        QCOMPARE(kind<store::Dataset>(w, "Table_Kassetten")->databaseName(), dir);

        // The tables are always those beside the list file: a copy of the list file and
        // its four tables works in another directory, as does a list file with an empty line.
        const QString copy = freshDir(QStringLiteral("oeffnen-kopie"));
        for (const char* file : {"videos.qbx", "kass.db", "filme.db", "ausgelhn.db", "atimer.db"})
            QVERIFY(QFile::copy(dir + QLatin1Char('/') + QLatin1String(file),
                                copy + QLatin1Char('/') + QLatin1String(file)));
        writeFile(copy + QStringLiteral("/leer.qbx"), "\r\n");
        for (const char* list : {"/videos.qbx", "/leer.qbx"}) {
            f.ui.fileAnswers = {copy + QLatin1String(list)};
            kind<QAction>(w, "ffnen1")->trigger();
            QCOMPARE(f.ui.errors(), QStringList());
            QVERIFY(f.showsCollection());
            QCOMPARE(kind<store::Dataset>(w, "Table_Kassetten")->databaseName(), copy);
            QCOMPARE(kind<store::Dataset>(w, "Table_Aufnahmetimer")->tableName(),
                     QStringLiteral("atimer.db"));
        }
        f.ui.fileAnswers = {dir + QStringLiteral("/videos.qbx")};
        kind<QAction>(w, "ffnen1")->trigger();
        QCOMPARE(kind<store::Dataset>(w, "Table_Kassetten")->databaseName(), dir);
        QCOMPARE(w.checkRuns(), 4);

        // Cancelling the open leaves the collection as it was.
        kind<QAction>(w, "ffnen1")->trigger();
        QVERIFY(f.showsCollection());
        QVERIFY(kind<store::Dataset>(w, "Table_Kassetten")->isActive());
        QCOMPARE(w.checkRuns(), 4);

        // Switching to the overview of an empty collection: nothing to print.
        kind<QTabWidget>(w, "Pagecontrol")->setCurrentWidget(kind<QWidget>(w, "Tab_Uebersicht"));
        QVERIFY(!kind<QPushButton>(w, "BitBtn_Drucken")->isEnabled());
        kind<QTabWidget>(w, "Pagecontrol")->setCurrentWidget(kind<QWidget>(w, "Tab_Eingabe"));
        kind<store::Dataset>(w, "Table_Kassetten")->append();
        kind<store::Dataset>(w, "Table_Kassetten")->setInteger(QStringLiteral("Spielzeit"), 240);
        kind<store::Dataset>(w, "Table_Kassetten")->post();
        kind<store::Dataset>(w, "Table_Filme")->append();
        kind<store::Dataset>(w, "Table_Filme")
            ->setString(QStringLiteral("Filmname"), QStringLiteral("Metropolis"));
        kind<store::Dataset>(w, "Table_Filme")->post();
        kind<QTabWidget>(w, "Pagecontrol")->setCurrentWidget(kind<QWidget>(w, "Tab_Uebersicht"));
        QCOMPARE(kind<store::Dataset>(w, "Table_Filmuebersicht")->recordCount(), 1);
        QVERIFY(kind<QPushButton>(w, "BitBtn_Drucken")->isEnabled());

        // "Neu" cancelled hides the open collection and keeps "Schliessen".
        kind<QAction>(w, "Neu1")->trigger();
        QVERIFY(f.showsNoCollection());
        QVERIFY(f.datasetsClosed());
        QVERIFY(kind<QAction>(w, "Schliessen_Menu")->isEnabled());
        QVERIFY(w.collectionOpen());
        kind<QAction>(w, "Schliessen_Menu")->trigger();
        QVERIFY(!kind<QAction>(w, "Schliessen_Menu")->isEnabled());
        QVERIFY(!w.collectionOpen());

        // Quitting with No keeps an open collection open.
        f.ui.fileAnswers = {dir + QStringLiteral("/videos.qbx")};
        kind<QAction>(w, "ffnen1")->trigger();
        f.ui.messageAnswers = {No};
        w.show();
        QVERIFY(!w.close());
        QVERIFY(kind<store::Dataset>(w, "Table_Kassetten")->isActive());
        QVERIFY(f.showsCollection());
        f.ui.messageAnswers = {Yes};
        QVERIFY(w.close());
        QVERIFY(f.datasetsClosed());
    }

    void openFailures()
    {
        Fixture f(QStringLiteral("fehler"));
        THauptformular& w = *f.w;
        const QString dir = freshDir(QStringLiteral("fehler-sammlung"));
        f.createCollection(dir, QStringLiteral("gut"));
        QVERIFY(f.showsCollection());
        writeFile(dir + QStringLiteral("/boese.qbx"), "../x\r\n");
        writeFile(dir + QStringLiteral("/fehlend.qbx"), "5\r\n");
        // Leading zeros stay in the file names: "00" is not the plain-named collection.
        writeFile(dir + QStringLiteral("/nullen.qbx"), "00\r\n");
        QDir(dir).mkdir(QStringLiteral("verzeichnis.qbx"));

        struct Case
        {
            QString file;
            QString message;
        };
        const QList<Case> cases = {
            {dir + QStringLiteral("/boese.qbx"), QStringLiteral("ungültig")},
            {dir + QStringLiteral("/fehlend.qbx"), QString()},
            {dir + QStringLiteral("/nullen.qbx"), QString()},
            {dir + QStringLiteral("/verzeichnis.qbx"), QStringLiteral("kann nicht gelesen werden")},
            {dir + QStringLiteral("/weg.qbx"), QStringLiteral("Datei nicht gefunden")},
        };
        for (const Case& c : cases) {
            f.ui.clear();
            f.ui.fileAnswers = {c.file};
            const int runs = w.checkRuns();
            kind<QAction>(w, "ffnen1")->trigger();
            QCOMPARE(f.ui.errors().size(), 1);
            QVERIFY2(f.ui.errors().first().contains(c.message), qPrintable(f.ui.errors().first()));
            QVERIFY(f.showsNoCollection());
            QVERIFY(f.datasetsClosed());
            QCOMPARE(w.checkRuns(), runs);
            QVERIFY(!QApplication::overrideCursor());
        }
        // Nothing outside the collection directory was made.
        QVERIFY(!QFile::exists(dir + QStringLiteral("/../kass../x.db")));
        QVERIFY(!QFile::exists(dir + QStringLiteral("/kass5.db")));
        QVERIFY(!QFile::exists(dir + QStringLiteral("/kass00.db")));
    }

    void autostart()
    {
        const QString dir = freshDir(QStringLiteral("auto-sammlung"));
        {
            Fixture f(QStringLiteral("auto"));
            f.createCollection(dir, QStringLiteral("start"));
        }
        {
            Fixture f(QStringLiteral("auto"));
            f.storeSetting(QStringLiteral("Autostart"), dir + QStringLiteral("/start.qbx"));
            f.w->show();
            QVERIFY(QTest::qWaitForWindowActive(f.w.get()));
            QVERIFY(f.showsCollection());
            QCOMPARE(f.w->checkRuns(), 1);
            QCOMPARE(f.ui.errors(), QStringList());
            f.ui.messageAnswers = {Yes};
            f.w->close();
        }
        {
            // A failed autostart is reported once; later activations leave it alone.
            Fixture f(QStringLiteral("auto-fehler"));
            f.storeSetting(QStringLiteral("Autostart"), dir + QStringLiteral("/gibtsnicht.qbx"));
            QEvent activate(QEvent::WindowActivate);
            QCoreApplication::sendEvent(f.w.get(), &activate);
            QCOMPARE(f.ui.errors().size(), 1);
            QVERIFY(f.ui.errors().first().startsWith(QStringLiteral("Datei nicht gefunden")));
            QVERIFY(f.showsNoCollection());
            QCoreApplication::sendEvent(f.w.get(), &activate);
            QCoreApplication::sendEvent(f.w.get(), &activate);
            QCOMPARE(f.ui.errors().size(), 1);
            QCOMPARE(f.w->checkRuns(), 0);
        }
        {
            // An empty setting names no list file.
            Fixture f(QStringLiteral("auto-leer"));
            f.storeSetting(QStringLiteral("Autostart"), QString());
            QEvent activate(QEvent::WindowActivate);
            QCoreApplication::sendEvent(f.w.get(), &activate);
            QCOMPARE(f.ui.errors(), QStringList{QStringLiteral("Datei nicht gefunden")});
            QVERIFY(f.showsNoCollection());
            QVERIFY(!f.w->collectionOpen());
        }
    }

    void lastNetForFailures()
    {
        FakeInteraction ui;
        auto* app = static_cast<Application*>(QCoreApplication::instance());
        app->setInteraction(&ui);
        Thrower thrower;
        QEvent event(QEvent::User);
        QVERIFY(!QCoreApplication::sendEvent(&thrower, &event));
        QCOMPARE(ui.errors(), QStringList{QStringLiteral("Tabelle ist gesperrt.")});
        app->setInteraction(nullptr);
    }
};

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    Application app(argc, argv);
    TestHauptformular test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hauptformular.moc"
