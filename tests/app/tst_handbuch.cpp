// The handbook: F1 opens the section of the page in front, the rendered handbook has
// every section that the program opens, and its "Meldungen" explain every message text
// of the sources.

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QUrl>
#include <app/application.h>
#include <app/handbuch.h>
#include <app/hauptformular.h>
#include <fakeinteraction.h>
#include <fenster.h>
#include <kind.h>
#include <memory>

using namespace quorbel;
using testing_support::FakeInteraction;
using testing_support::FixedClock;
using testing_support::freshDir;
using testing_support::kind;

namespace {

QString lesen(const QString& pfad)
{
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

// --- Message texts of the sources ---------------------------------------------------------
//
// A message text is what is handed to the message seam (message, information, warning,
// error, askYesNo, showError of the Interaction object): its string literals, those of
// the program's functions it calls, of the constants it names and of the assignments to
// the local variables it names before the call; and whatever a function named "...Meldung"
// returns. A literal counts in its parts around the %1 placeholders that have words in
// them; file names and file-chooser filters are not messages.

struct Fund
{
    QString ort; // file:line
    QString teil;
};

// The position of the bracket that closes the one at `auf`, past string and character
// literals; -1 when there is none.
qsizetype schliessende(const QString& s, qsizetype auf)
{
    const QChar offen = s.at(auf);
    const QChar zu = offen == QLatin1Char('(') ? QLatin1Char(')') : QLatin1Char('}');
    int tiefe = 0;
    for (qsizetype i = auf; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            for (++i; i < s.size() && s.at(i) != c; ++i)
                if (s.at(i) == QLatin1Char('\\'))
                    ++i;
        } else if (c == offen) {
            ++tiefe;
        } else if (c == zu && --tiefe == 0) {
            return i;
        }
    }
    return -1;
}

// A string literal of the sources, escapes kept.
const QRegularExpression kLiteral(QStringLiteral("\"((?:[^\"\\\\\\n]|\\\\.)*)\""));

QStringList textteile(QString code)
{
    // Log lines are no messages.
    static const QRegularExpression protokoll(
        QStringLiteral(R"(\bq(?:C)?(?:Warning|Debug|Info|Critical)\s*\([^;]*;)"));
    code.remove(protokoll);
    static const QRegularExpression platzhalter(QStringLiteral("%\\d"));
    static const QRegularExpression buchstabe(QStringLiteral("\\p{L}"));
    static const QRegularExpression dateiname(QStringLiteral(R"(\||\*\.|^[\w./-]+\.\w{2,4}$)"));
    QStringList teile;
    for (auto it = kLiteral.globalMatch(code); it.hasNext();) {
        QString text = it.next().captured(1);
        text.replace(QStringLiteral("\\\""), QStringLiteral("\""))
            .replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
        for (QString teil : text.split(platzhalter)) {
            teil = teil.trimmed();
            if (teil.count(buchstabe) >= 3 && !dateiname.match(teil).hasMatch())
                teile << teil;
        }
    }
    return teile;
}

class Quellen
{
public:
    explicit Quellen(const QString& wurzel)
    {
        QDirIterator it(wurzel, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString pfad = it.next();
            m_dateien.append({QDir(wurzel).relativeFilePath(pfad), lesen(pfad)});
        }
    }

    QList<Fund> meldungen() const
    {
        static const QRegularExpression aufruf(QStringLiteral(
            R"(\b(?:ui|m_ui|m_interaction|interaction)\s*(?:\.|->)\s*(?:message|information|warning|error|askYesNo|showError)\s*\()"));
        static const QRegularExpression meldungsFunktion(
            QStringLiteral(R"(\bQString\s+(?:\w+::)*(\w*[Mm]eldung)\s*\()"));
        QList<Fund> funde;
        for (const auto& [name, text] : m_dateien) {
            if (name.startsWith(QLatin1String("ui/interaction.")))
                continue; // the seam itself
            for (auto it = aufruf.globalMatch(text); it.hasNext();) {
                const auto m = it.next();
                const qsizetype auf = m.capturedEnd() - 1;
                const qsizetype zu = schliessende(text, auf);
                const QString argument = text.mid(auf + 1, zu - auf - 1);
                const QString ort =
                    QStringLiteral("%1:%2").arg(name).arg(text.left(auf).count(QLatin1Char('\n')) + 1);
                // The enclosing function begins at a brace in the first column.
                const qsizetype beginn = text.lastIndexOf(QStringLiteral("\n{"), auf);
                const QString davor = text.mid(beginn, auf - beginn);
                for (const QString& teil : argumentTexte(argument, davor))
                    funde.append({ort, teil});
            }
            for (auto it = meldungsFunktion.globalMatch(text); it.hasNext();) {
                const auto m = it.next();
                for (const QString& teil : funktionsTexte(text, m.capturedEnd() - 1))
                    funde.append({name + QStringLiteral(": ") + m.captured(1), teil});
            }
        }
        return funde;
    }

private:
    // The texts of the function whose parameter list opens at `auf` (none for a declaration).
    static QStringList funktionsTexte(const QString& text, qsizetype auf)
    {
        static const QRegularExpression rumpf(QStringLiteral(R"(^\s*(?:const\s*)?\{)"));
        const qsizetype zu = schliessende(text, auf);
        if (zu < 0 || !rumpf.match(text.mid(zu + 1, 40)).hasMatch())
            return {};
        const qsizetype beginn = text.indexOf(QLatin1Char('{'), zu);
        return textteile(text.mid(beginn, schliessende(text, beginn) - beginn));
    }

    QStringList argumentTexte(const QString& argument, const QString& davor) const
    {
        QStringList teile = textteile(argument);
        QString ohneLiterale = argument;
        ohneLiterale.replace(kLiteral, QStringLiteral("\"\""));
        // Names, but no members (".x", "->x") and no qualified names ("QDir::x").
        static const QRegularExpression bezeichner(QStringLiteral(R"((?<![.>:\w])([A-Za-z_]\w*)\b)"));
        QSet<QString> gesehen;
        for (auto it = bezeichner.globalMatch(ohneLiterale); it.hasNext();) {
            const QString name = it.next().captured(1);
            if (name.startsWith(QLatin1Char('Q')) || gesehen.contains(name))
                continue;
            gesehen.insert(name);
            teile += definitionsTexte(name);
            // Assignments to a local variable of that name, unless they ask the person.
            const QRegularExpression zuweisung(QStringLiteral(R"(\b%1\s*(?:\+=|=(?!=)|\{))").arg(name));
            for (auto z = zuweisung.globalMatch(davor); z.hasNext();) {
                const auto treffer = z.next();
                const QString anweisung =
                    davor.mid(treffer.capturedEnd(),
                              davor.indexOf(QLatin1Char(';'), treffer.capturedEnd()) - treffer.capturedEnd());
                if (!anweisung.contains(QLatin1String("choose")) &&
                    !anweisung.contains(QLatin1String("inputBox")))
                    teile += textteile(anweisung);
            }
        }
        return teile;
    }

    // The texts of the functions returning QString and of the constants with this name.
    QStringList definitionsTexte(const QString& name) const
    {
        const QRegularExpression funktion(QStringLiteral(R"(\bQString\s+(?:\w+::)*%1\s*\()").arg(name));
        const QRegularExpression konstante(QStringLiteral(R"(^\S[^\n]*\b%1\s*(?:\[\])?\s*=)").arg(name),
                                           QRegularExpression::MultilineOption);
        QStringList teile;
        for (const auto& datei : m_dateien) {
            const QString& text = datei.second;
            for (auto it = funktion.globalMatch(text); it.hasNext();)
                teile += funktionsTexte(text, it.next().capturedEnd() - 1);
            for (auto it = konstante.globalMatch(text); it.hasNext();) {
                const qsizetype ab = it.next().capturedEnd();
                teile += textteile(text.mid(ab, text.indexOf(QLatin1Char(';'), ab) - ab));
            }
        }
        return teile;
    }

    QList<std::pair<QString, QString>> m_dateien;
};

// The text of the handbook's section "Meldungen", Markdown escapes taken away.
QString meldungsAbschnitt()
{
    const QString handbuch = lesen(QStringLiteral(QUORBEL_QUELLEN "/docs/handbuch/handbuch.md"));
    const qsizetype beginn = handbuch.indexOf(QLatin1String("<a id=\"meldungen\">"));
    if (beginn < 0)
        return {};
    static const QRegularExpression naechsterAbschnitt(QStringLiteral("\n## "));
    const auto ende = naechsterAbschnitt.match(handbuch, beginn);
    QString abschnitt = handbuch.mid(beginn, ende.hasMatch() ? ende.capturedStart() - beginn : -1);
    static const QRegularExpression escape(QStringLiteral("\\\\([\\\\`*_{}\\[\\]()#+\\-.!|<>\"'])"));
    abschnitt.replace(escape, QStringLiteral("\\1"));
    return abschnitt;
}

struct Fenster
{
    FakeInteraction ui;
    FixedClock clock;
    std::unique_ptr<THauptformular> w;

    explicit Fenster(const QString& name)
    {
        const QString program = freshDir(name + QStringLiteral("-programm"));
        w = std::make_unique<THauptformular>(program, ui, clock,
                                             program + QStringLiteral("/einstellungen.key"));
        testing_support::zeigenUndAktivieren(*w);
    }
};

} // namespace

class TestHandbuch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(!Handbuch_Datei().isEmpty(), "kein gerendertes Handbuch"); }

    // F1 opens the section of the page in front; without a collection, and from the
    // info page's button, the handbook's start.
    void f1OeffnetDenAbschnittDerSeite_data()
    {
        QTest::addColumn<QString>("seite");
        QTest::addColumn<QString>("abschnitt");
        QTest::newRow("ohne Videoliste") << QString() << QString();
        QTest::newRow("Eingabe") << QStringLiteral("Tab_Eingabe") << QStringLiteral("eingabe");
        QTest::newRow("Filmübersicht") << QStringLiteral("Tab_Uebersicht") << QStringLiteral("uebersicht");
        QTest::newRow("Verleihmanager") << QStringLiteral("Tab_Verleihmanager") << QStringLiteral("verleih");
        QTest::newRow("Aufnahmetimer")
            << QStringLiteral("Tab_Aufnahmetimer") << QStringLiteral("aufnahmetimer");
        QTest::newRow("Einstellungen")
            << QStringLiteral("Tab_Einstellungen") << QStringLiteral("einstellungen");
        QTest::newRow("Info") << QStringLiteral("TabSheet2") << QStringLiteral("info");
    }
    void f1OeffnetDenAbschnittDerSeite()
    {
        QFETCH(QString, seite);
        QFETCH(QString, abschnitt);
        Fenster f(QStringLiteral("f1"));
        if (!seite.isEmpty()) {
            testing_support::neueSammlungAnlegen(*f.w, f.ui, freshDir(QStringLiteral("f1-liste")));
            QVERIFY(f.w->collectionOpen());
            kind<QTabWidget>(f.w, "Pagecontrol")
                ->setCurrentWidget(kind<QWidget>(f.w, seite.toLatin1().constData()));
        }
        f.ui.clear();
        QTest::keyClick(f.w.get(), Qt::Key_F1);
        const QUrl erwartet = Handbuch_Url(Handbuch_Datei(), abschnitt);
        QCOMPARE(f.ui.helpUrls(), QStringList{erwartet.toString()});
        QCOMPARE(QUrl(f.ui.helpUrls().value(0)).fragment(), abschnitt);
        QVERIFY(f.ui.messages().isEmpty());

        if (seite == QLatin1String("TabSheet2")) {
            f.ui.clear();
            kind<QPushButton>(f.w, "BitBtn_Handbuch")->click();
            QCOMPARE(f.ui.helpUrls(), QStringList{Handbuch_Url(Handbuch_Datei(), QString()).toString()});
        }
    }

    // A handbook that is missing or that no browser shows is reported, not passed over.
    void handbuchNichtZuZeigen_data()
    {
        QTest::addColumn<bool>("vorhanden");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("nicht installiert") << false << QStringLiteral("Das Handbuch ist nicht installiert.");
        QTest::newRow("kein Browser")
            << true << QStringLiteral("Das Handbuch konnte nicht im Browser geöffnet werden:");
    }
    void handbuchNichtZuZeigen()
    {
        QFETCH(bool, vorhanden);
        QFETCH(QString, meldung);
        const QByteArray vorher = qgetenv("QUORBEL_HANDBUCH_DIR");
        if (!vorhanden)
            qputenv("QUORBEL_HANDBUCH_DIR", freshDir(QStringLiteral("kein-handbuch")).toUtf8());
        FakeInteraction ui;
        ui.helpOpens = false;
        Handbuch_Oeffnen(ui, QStringLiteral("eingabe"));
        qputenv("QUORBEL_HANDBUCH_DIR", vorher);
        QCOMPARE(ui.helpUrls().size(), vorhanden ? 1 : 0);
        QCOMPARE(ui.messages().size(), 1);
        QVERIFY2(ui.messages().first().startsWith(meldung), qPrintable(ui.messages().first()));
    }

    // Every section that the program opens is in the rendered handbook, and so is the
    // list of messages.
    void abschnitteImGerendertenHandbuch()
    {
        const QString html = lesen(Handbuch_Datei());
        QVERIFY(html.contains(QLatin1String("<table>")));
        QStringList abschnitte = Handbuch_Seitenabschnitte();
        abschnitte << QStringLiteral("meldungen");
        QStringList fehlend;
        for (const QString& a : abschnitte)
            if (!html.contains(QStringLiteral("id=\"%1\"").arg(a)))
                fehlend << a;
        QVERIFY2(fehlend.isEmpty(), qPrintable(fehlend.join(QLatin1String(", "))));
        // Its pictures came along.
        static const QRegularExpression bild(QStringLiteral("<img src=\"([^\"]+)\""));
        int bilder = 0;
        for (auto it = bild.globalMatch(html); it.hasNext(); ++bilder) {
            const QString datei = it.next().captured(1);
            QVERIFY2(QFileInfo(QFileInfo(Handbuch_Datei()).dir(), datei).isFile(), qPrintable(datei));
        }
        QVERIFY(bilder >= 6);
    }

    // Every message text of the sources is explained under "Meldungen" in its wording.
    void jedeMeldungIstErklaert()
    {
        const QString abschnitt = meldungsAbschnitt();
        QVERIFY2(!abschnitt.isEmpty(), "handbuch.md hat keinen Abschnitt <a id=\"meldungen\">");
        const QList<Fund> funde = Quellen(QStringLiteral(QUORBEL_QUELLEN "/src")).meldungen();
        // The collection itself is checked: these are known to be messages.
        QStringList texte;
        for (const Fund& f : funde)
            texte << f.teil;
        for (const char* bekannt :
             {"Quorbel beenden ?", "Film passt nicht mehr auf die Kassette", "Tip : Nehmen Sie den Film auf",
              "Spielzeit der Kassette. Bitte Löschen Sie", "Fehler beim Laden des Bildes !",
              "Kein Filmtitel eingegeben !", "Nicht genügend Arbeitsspeicher."})
            QVERIFY2(texte.contains(QString::fromUtf8(bekannt)), bekannt);

        QStringList fehlend;
        for (const Fund& f : funde)
            if (!abschnitt.contains(f.teil))
                fehlend << QStringLiteral("%1: %2").arg(f.ort, f.teil);
        fehlend.removeDuplicates();
        QVERIFY2(fehlend.isEmpty(), qPrintable(QStringLiteral("Im Handbuch nicht erklärt:\n") +
                                               fehlend.join(QLatin1Char('\n'))));
    }
};

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    Application app(argc, argv);
    TestHandbuch test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_handbuch.moc"
