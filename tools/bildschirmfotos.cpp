// bildschirmfotos <directory>: the pictures of the handbook and the README, taken from the
// real window on a sample collection. scripts/screenshots.sh runs it under Xvfb with a
// scratch program directory and settings file; every picture is a grab of the window (a
// dialog drawn over it where it belongs there) or of a dialog on its own.

#include <QApplication>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QTranslator>
#include <app/application.h>
#include <app/hauptformular.h>
#include <app/neueverwaltung.h>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <printing/reportfont.h>
#include <store/collection.h>
#include <store/dataset.h>
#include <ui/clock.h>
#include <ui/interaction.h>
#include <ui/radiogroup.h>

using namespace quorbel;

namespace {

QString g_ziel;
int g_fehler = 0;

void warten()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

void speichern(const QImage& bild, const char* name)
{
    const QString pfad = QDir(g_ziel).filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
    if (bild.isNull() || !bild.save(pfad)) {
        std::fprintf(stderr, "FEHLER: %s nicht geschrieben\n", name);
        ++g_fehler;
        return;
    }
    std::printf("%s\n", qPrintable(QDir::toNativeSeparators(pfad)));
}

// The window with the dialog over its middle, as the person sees it.
QImage fensterMitDialog(QWidget& fenster, QDialog& dialog)
{
    dialog.show();
    warten();
    QImage bild = fenster.grab().toImage();
    const QImage oben = dialog.grab().toImage();
    QPainter p(&bild);
    p.drawImage(QPoint((bild.width() - oben.width()) / 2, (bild.height() - oben.height()) / 2), oben);
    p.setPen(Qt::darkGray);
    p.drawRect(
        QRect(QPoint((bild.width() - oben.width()) / 2, (bild.height() - oben.height()) / 2), oben.size())
            .adjusted(-1, -1, 0, 0));
    return bild;
}

QImage dialogBild(QDialog& dialog, QSize groesse = {})
{
    if (groesse.isValid())
        dialog.resize(groesse);
    dialog.show();
    warten();
    return dialog.grab().toImage();
}

// Answers like a person who agrees to everything; dialogs go to the handler of their title.
class Fotografin final : public Interaction
{
public:
    std::map<QString, std::function<int(QDialog&)>> dialoge;
    std::deque<QString> eingaben;
    std::deque<QString> dateien;
    QStringList meldungen;

protected:
    MsgButton showMessage(const Message& m) override
    {
        meldungen << m.text;
        return (m.buttons & Ok) ? Ok : Yes;
    }
    QString showInputBox(const QString&, const QString&, const QString& initial) override
    {
        if (eingaben.empty())
            return initial;
        QString a = eingaben.front();
        eingaben.pop_front();
        return a;
    }
    QString showFileChooser(const QString&, const QString&) override { return naechsteDatei(); }
    QString showSaveFileChooser(const QString&, const QString&) override { return naechsteDatei(); }
    QString showDirectoryChooser(const QString&, const QString&) override { return naechsteDatei(); }
    int showDialog(QDialog& d) override
    {
        for (const auto& [titel, handler] : dialoge)
            if (d.windowTitle().startsWith(titel)) {
                const int r = handler(d);
                d.hide();
                return r;
            }
        return QDialog::Rejected;
    }
    void showErrorDialog(const QString& text) override
    {
        std::fprintf(stderr, "Fehlermeldung: %s\n", qPrintable(text));
        ++g_fehler;
    }

private:
    QString naechsteDatei()
    {
        if (dateien.empty())
            return {};
        QString a = dateien.front();
        dateien.pop_front();
        return a;
    }
};

class FesteUhr final : public Clock
{
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 12, 8), QTime(19, 30)); }
};

template <typename T> T* kind(QObject* o, const char* name)
{
    T* k = o->findChild<T*>(QLatin1String(name));
    if (!k) {
        std::fprintf(stderr, "FEHLER: %s fehlt\n", name);
        std::exit(1);
    }
    return k;
}

struct Film
{
    const char* titel;
    int laenge;
    const char* genre;
    QDate datum;
};

struct Kassette
{
    int spielzeit;
    bool kaufvideo;
    std::vector<Film> filme;
};

// The sample collection, entered through the datasets.
void fuellen(store::Collection& c)
{
    const std::vector<Kassette> kassetten{
        {300,
         false,
         {{"Sommer am See", 95, "Drama", {2026, 9, 2}},
          {"Das Geheimnis der Mühle", 88, "Krimi", {2026, 9, 2}},
          {"Nachtzug nach Süden", 42, "Thriller", {2026, 9, 14}},
          {"Die Brücke im Nebel", 50, "Drama", {2026, 9, 14}}}},
        {180,
         false,
         {{"Sternenstaub", 110, "Science-Fiction", {2026, 9, 20}},
          {"Der kleine Drache", 65, "Zeichentrick", {2026, 10, 3}}}},
        {240,
         false,
         {{"Wilde Pferde", 102, "Western", {2026, 10, 11}}, {"Die Insel", 97, "Abenteuer", {2026, 10, 11}}}},
        {120, true, {{"Das große Rennen", 118, "Komödie", {2026, 10, 20}}}},
        {300, false, {{"Küstennebel", 91, "Krimi", {2026, 11, 2}}}},
        {180,
         false,
         {{"Herbstlicht", 104, "Drama", {2026, 11, 15}},
          {"Flucht über die Grenze", 70, "Thriller", {2026, 11, 22}}}},
        {240, false, {}},
        {180,
         false,
         {{"Der Fuchs im Wald", 80, "Zeichentrick", {2026, 12, 1}},
          {"Nordwind", 92, "Abenteuer", {2026, 12, 5}}}},
    };
    store::Dataset& k = c.kassetten();
    store::Dataset& f = c.filme();
    for (const Kassette& kas : kassetten) {
        int belegt = 0;
        for (const Film& film : kas.filme)
            belegt += film.laenge;
        k.append();
        k.setInteger(QStringLiteral("Posi"), k.recordCount() + 1);
        k.setInteger(QStringLiteral("Spielzeit"), kas.spielzeit);
        k.setInteger(QStringLiteral("Belegt"), belegt);
        k.setInteger(QStringLiteral("Frei"), kas.kaufvideo ? 0 : kas.spielzeit - belegt);
        k.setBoolean(QStringLiteral("Nullfilme"), false);
        k.setBoolean(QStringLiteral("Verliehen"), false);
        k.setBoolean(QStringLiteral("Original"), kas.kaufvideo);
        k.post();
        const int nummer = k.recordCount();
        k.locate(nummer);
        for (const Film& film : kas.filme) {
            f.append();
            f.setString(QStringLiteral("Filmname"), QString::fromUtf8(film.titel));
            f.setInteger(QStringLiteral("Filmlaenge"), film.laenge);
            f.setString(QStringLiteral("Genre"), QString::fromUtf8(film.genre));
            f.setDate(QStringLiteral("Datum"), film.datum);
            f.setBoolean(QStringLiteral("Bild_Vorhanden"), false);
            f.post();
        }
    }

    struct Ausleihe
    {
        int kassette;
        const char* an;
        QDate datum;
    };
    store::Dataset& v = c.verliehen();
    for (const Ausleihe& a :
         {Ausleihe{2, "Anna Berger", {2026, 11, 10}}, Ausleihe{3, "Jonas Weber", {2026, 12, 1}},
          Ausleihe{5, "Familie Krüger", {2026, 12, 6}}, Ausleihe{8, "Paul Schneider", {2026, 11, 28}}}) {
        k.locate(a.kassette);
        k.edit();
        k.setBoolean(QStringLiteral("Verliehen"), true);
        k.post();
        v.append();
        v.setInteger(QStringLiteral("Kassette"), a.kassette);
        v.setDate(QStringLiteral("Datum"), a.datum);
        v.setString(QStringLiteral("An"), QString::fromUtf8(a.an));
        v.setBoolean(QStringLiteral("Anzeigen"), true);
        v.setDate(QStringLiteral("Meldung_Am"), a.datum.addDays(7)); // as lending sets it
        v.post();
    }

    struct Aufnahme
    {
        const char* titel;
        const char* programm;
        QDate datum;
        QTime beginn, ende;
    };
    store::Dataset& t = c.aufnahmetimer();
    for (const Aufnahme& a : {Aufnahme{"Der Leuchtturmwärter", "ARD", {2026, 12, 12}, {20, 15}, {21, 45}},
                              Aufnahme{"Reise zum Polarkreis", "ARTE", {2026, 12, 14}, {21, 0}, {22, 40}},
                              Aufnahme{"Weihnachten im Schnee", "ZDF", {2026, 12, 20}, {15, 30}, {17, 5}}}) {
        t.append();
        t.setString(QStringLiteral("Filmname"), QString::fromUtf8(a.titel));
        t.setString(QStringLiteral("Programm"), QString::fromUtf8(a.programm));
        t.setDate(QStringLiteral("Datum"), a.datum);
        t.setTime(QStringLiteral("Beginn"), a.beginn);
        t.setTime(QStringLiteral("Ende"), a.ende);
        t.setInteger(QStringLiteral("Laenge"), int(a.beginn.secsTo(a.ende) / 60));
        t.setBoolean(QStringLiteral("Anzeigen"), true);
        t.post();
    }
}

void neueVideoliste(Fotografin& ui, const QString& verzeichnis, bool foto)
{
    ui.dialoge[QStringLiteral("Neue Videoliste erstellen")] = [verzeichnis, foto](QDialog& d) {
        auto& dlg = dynamic_cast<TForm_NeueVerwaltung&>(d);
        dlg.VerzeichnisBox->setDirectory(verzeichnis);
        dlg.Edit_Dateiname->setText(QStringLiteral("videos"));
        if (foto)
            speichern(dialogBild(dlg), "neue-videoliste");
        dlg.BitBtn1->click();
        return dlg.result();
    };
}

} // namespace

int main(int argc, char** argv)
{
    Application app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: bildschirmfotos <Verzeichnis>\n");
        return 2;
    }
    // Absolute: the window makes its program directory the current one.
    g_ziel = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(g_ziel);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // As main() does: Qt's own texts in German, and the stand-ins of the Windows faces.
    QTranslator qtTexte;
    if (qtTexte.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexte);
    report::schriftersatzEinrichten();

    const QString arbeit = qEnvironmentVariable("QUORBEL_PROGRAM_DIR");
    if (arbeit.isEmpty()) {
        std::fprintf(stderr, "QUORBEL_PROGRAM_DIR fehlt (scripts/screenshots.sh setzt es)\n");
        return 2;
    }
    const QString listen = QDir(arbeit).filePath(QStringLiteral("Videos"));
    QDir(listen).removeRecursively();
    QDir().mkpath(listen);

    Fotografin ui;
    FesteUhr uhr;
    app.setInteraction(&ui);
    auto w = std::make_unique<THauptformular>(arbeit, ui, uhr, qEnvironmentVariable("QUORBEL_SETTINGS_FILE"));
    w->show();
    w->activateWindow();
    warten();
    QWidget* fenster = w.get();
    speichern(fenster->grab().toImage(), "hauptfenster-leer");

    neueVideoliste(ui, listen, true);
    w->Neu1Click();
    warten();
    speichern(fenster->grab().toImage(), "videoliste-leer");

    // The sample collection, then opened again as a person would: the checks of the
    // loans and recordings run, and the first reminder is taken.
    fuellen(w->collection());
    w->Schliessen_MenuClick();
    bool erinnerung = false;
    ui.dialoge[QStringLiteral("Zur Erinnerung")] = [&erinnerung](QDialog& d) {
        if (!erinnerung)
            speichern(dialogBild(d), "erinnerung");
        erinnerung = true;
        return int(QDialog::Rejected);
    };
    ui.dateien.push_back(QDir(listen).filePath(QStringLiteral("videos.qbx")));
    w->ffnen1Click();
    warten();
    if (!w->collectionOpen()) {
        std::fprintf(stderr, "FEHLER: Beispielsammlung nicht geöffnet: %s\n",
                     qPrintable(ui.meldungen.join(u'|')));
        return 1;
    }

    auto* seiten = kind<QTabWidget>(fenster, "Pagecontrol");
    auto seite = [&](const char* name) {
        seiten->setCurrentWidget(kind<QWidget>(fenster, name));
        warten();
    };

    seite("Tab_Eingabe");
    speichern(fenster->grab().toImage(), "eingabe");

    seite("Tab_Uebersicht");
    kind<RadioGroup>(fenster, "RadioGroup_Sortieren")->button(3)->click();
    kind<QRadioButton>(fenster, "RadioButton_NeueFilme")->click();
    kind<QDateEdit>(fenster, "DateTimePicker_Filter")->setDate(QDate(2026, 10, 1));
    warten();
    speichern(fenster->grab().toImage(), "uebersicht");
    kind<QRadioButton>(fenster, "RadioButton_AlleFilme")->click();
    kind<RadioGroup>(fenster, "RadioGroup_Sortieren")->button(0)->click();
    warten();
    ui.dialoge[QStringLiteral("Seitenansicht")] = [](QDialog& d) {
        speichern(dialogBild(d, {900, 560}), "filmliste-vorschau");
        return int(QDialog::Rejected);
    };
    kind<QPushButton>(fenster, "BitBtn_Drucken")->click();

    ui.dialoge[QStringLiteral("Exportieren")] = [fenster](QDialog& d) {
        speichern(fensterMitDialog(*fenster, d), "export");
        return int(QDialog::Rejected);
    };
    kind<QAction>(fenster, "Exportieren1")->trigger();

    seite("Tab_Eingabe");
    ui.dialoge[QStringLiteral("Seitenansicht")] = [](QDialog& d) {
        speichern(dialogBild(d, {900, 400}), "etikett-vorschau");
        return int(QDialog::Rejected);
    };
    kind<QPushButton>(fenster, "BitBtn_Labeldrucken")->click();

    seite("Tab_Verleihmanager");
    speichern(fenster->grab().toImage(), "verleih");

    seite("Tab_Aufnahmetimer");
    ui.eingaben.push_back(QStringLiteral("90"));
    kind<QPushButton>(fenster, "BitBtn_FreienPlatzSuchen")->click();
    warten();
    speichern(fenster->grab().toImage(), "aufnahmetimer");
    ui.dialoge[QStringLiteral("Film aufnehmen")] = [](QDialog& d) {
        if (auto* titel = d.findChild<QLineEdit*>(QStringLiteral("Edit_Filmname")))
            titel->setText(QStringLiteral("Abenteuer in den Bergen"));
        speichern(dialogBild(d), "film-aufnehmen");
        return int(QDialog::Rejected);
    };
    kind<QPushButton>(fenster, "BitBtn_NeuerFilm")->click();

    seite("Tab_Einstellungen");
    auto* einstellungen = kind<QTabWidget>(fenster, "PageControl_Einstellungen");
    const char* namen[] = {"einstellungen-allgemein", "einstellungen-allgemein2", "einstellungen",
                           "etikettendruck", "einstellungen-listen"};
    kind<QSpinBox>(fenster, "SpinEdit_Filmanzahl")->setValue(3);
    for (int i = 0; i < einstellungen->count(); ++i) {
        einstellungen->setCurrentIndex(i);
        warten();
        speichern(fenster->grab().toImage(), namen[std::min(i, 4)]);
    }
    einstellungen->setCurrentIndex(2);

    seite("TabSheet2");
    speichern(fenster->grab().toImage(), "statistik");

    // Quitting without questions: nothing was changed that should be kept.
    w->Schliessen_MenuClick();
    app.setInteraction(nullptr);
    w.reset();
    return g_fehler == 0 ? 0 : 1;
}
