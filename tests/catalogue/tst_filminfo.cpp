#include "metafiles.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <catalogue/bildladen.h>
#include <catalogue/filminfoformular.h>
#include <fakeinteraction.h>
#include <memory>
#include <store/collectiontables.h>
#include <store/dataset.h>
#include <store/query.h>

using namespace quorbel;
using testing_support::FakeInteraction;
using testing_support::freshDir;

namespace {

const QString kFehler = QStringLiteral("Fehler beim Laden des Bildes !");

// A collection directory with an empty film table, created as the program creates it.
QString filmTabelle(const QString& name)
{
    QString dir = freshDir(name);
    const QString vorher = QDir::currentPath();
    QDir::setCurrent(dir);
    store::Query q;
    q.sql = store::tables::createFilme();
    q.execSQL();
    QDir::setCurrent(vorher);
    return dir;
}

std::unique_ptr<store::Dataset> oeffne(const QString& dir)
{
    auto ds = std::make_unique<store::Dataset>();
    ds->setDatabaseName(dir);
    ds->setTableName(QStringLiteral("filme.db"));
    ds->open();
    return ds;
}

void neuerFilm(store::Dataset& ds, const QString& titel, int laenge)
{
    ds.append();
    ds.setInteger(QStringLiteral("Zu_Kassette"), 1);
    ds.setString(QStringLiteral("Filmname"), titel);
    ds.setInteger(QStringLiteral("Filmlaenge"), laenge);
    ds.setBoolean(QStringLiteral("Bild_Vorhanden"), false);
    ds.post();
}

QString bildDatei(const QString& dir, const QString& name, const char* format, QSize groesse)
{
    QImage img(groesse, QImage::Format_RGB32);
    img.fill(QColor(20, 160, 40));
    QString path = dir + QLatin1Char('/') + name;
    if (!img.save(path, format))
        qFatal("cannot write test picture");
    return path;
}

QString datei(const QString& dir, const QString& name, const QByteArray& bytes)
{
    QString path = dir + QLatin1Char('/') + name;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write test file");
    return path;
}

// The stored picture of the current film, decoded.
QSize gespeicherteGroesse(const store::Dataset& ds)
{
    const QByteArray bytes = ds.blob(QStringLiteral("Bild"));
    if (!bytes.startsWith("BM"))
        return {};
    return loadPictureData(bytes).bild.size();
}

} // namespace

class TestFilminfo : public QObject
{
    Q_OBJECT
private slots:
    void neuerFilmUndTitel();
    void bildLadenWiederOeffnenLoeschen();
    void andereBildarten();
    void kaputtesBildLaesstFilmUnveraendert();
    void speicherfehlerVerwirftBearbeitung();
    void beschreibung();
    void beschreibungBeimVerlassen();
};

void TestFilminfo::neuerFilmUndTitel()
{
    const QString dir = filmTabelle(QStringLiteral("neu"));
    auto filme = oeffne(dir);
    neuerFilm(*filme, QStringLiteral("Der dritte Mann"), 104);
    FakeInteraction ui;
    TFilminfoformular d(*filme, ui);
    QCOMPARE(d.objectName(), QStringLiteral("Filminfoformular"));
    QVERIFY(d.windowFlags() & Qt::CustomizeWindowHint);
    QVERIFY(!(d.windowFlags() & Qt::WindowCloseButtonHint));
    d.filmnameUebernehmen();
    QCOMPARE(d.windowTitle(), QStringLiteral("Zusatzinformation über Der dritte Mann"));
    d.setFilmname(QStringLiteral("X"));
    QCOMPARE(d.windowTitle(), QStringLiteral("Zusatzinformation über X"));

    d.FormActivate();
    QVERIFY(!d.BitBtn_Bildladen->isHidden());
    QCOMPARE(d.BitBtn_Bildladen->text(), QStringLiteral("Bild einfügen"));
    QVERIFY(!d.MI_Loeschen->isEnabled());
    QCOMPARE(d.MI_Loeschen->text(), QStringLiteral("Bild &löschen"));
    QCOMPARE(d.BitBtn_Zurueck->text(), QStringLiteral("Zurueck"));
    QVERIFY(d.angezeigtesBild().isNull());
    QVERIFY(d.DBMemo_Bemerkungen->toPlainText().isEmpty());

    // Cancelling the chooser changes nothing; the chooser offers the picture kinds.
    d.BitBtn_Bildladen->click();
    QCOMPARE(ui.shown.size(), 1);
    QCOMPARE(ui.shown.at(0).text, TFilminfoformular::bildFilter());
    QVERIFY(TFilminfoformular::bildFilter().startsWith(
        QStringLiteral("Alle Dateien (*.bmp;*.png;*.jpg;*.jpeg;*.emf;*.wmf)|")));
    QVERIFY(TFilminfoformular::bildFilter().contains(QStringLiteral("|Metadateien (*.wmf)|*.wmf")));
    QVERIFY(!filme->asBoolean(QStringLiteral("Bild_Vorhanden")));
    QCOMPARE(filme->state(), store::Dataset::State::Browse);
}

void TestFilminfo::bildLadenWiederOeffnenLoeschen()
{
    const QString dir = filmTabelle(QStringLiteral("laden"));
    const QString bilder = freshDir(QStringLiteral("laden-bilder"));
    {
        auto filme = oeffne(dir);
        neuerFilm(*filme, QStringLiteral("Erster"), 90);
        neuerFilm(*filme, QStringLiteral("Zweiter"), 60);
        filme->first();
        FakeInteraction ui;
        TFilminfoformular d(*filme, ui);
        d.FormActivate();
        ui.fileAnswers.push_back(bildDatei(bilder, QStringLiteral("motiv.bmp"), "BMP", QSize(60, 40)));
        d.BitBtn_Bildladen->click();
        QVERIFY2(ui.messages().isEmpty(), qPrintable(ui.messages().join(u'|')));
        QVERIFY(ui.errors().isEmpty());
        QCOMPARE(filme->state(), store::Dataset::State::Browse);
        QVERIFY(filme->asBoolean(QStringLiteral("Bild_Vorhanden")));
        QCOMPARE(gespeicherteGroesse(*filme), QSize(60, 40));
        QVERIFY(d.BitBtn_Bildladen->isHidden());
        QVERIFY(d.MI_Loeschen->isEnabled());
        QCOMPARE(d.angezeigtesBild().size(), QSize(60, 40));
        QCOMPARE(d.bildVerzeichnis(), bilder);
        // The other film is untouched.
        filme->last();
        QVERIFY(!filme->asBoolean(QStringLiteral("Bild_Vorhanden")));
        QVERIFY(filme->blob(QStringLiteral("Bild")).isEmpty());
    }
    {
        // Reopened from disk: the picture is shown and can be removed.
        auto filme = oeffne(dir);
        filme->first();
        FakeInteraction ui;
        TFilminfoformular d(*filme, ui);
        d.FormActivate();
        QCOMPARE(d.angezeigtesBild().size(), QSize(60, 40));
        QCOMPARE(d.angezeigtesBild().pixelColor(30, 20), QColor(20, 160, 40));
        QVERIFY(d.BitBtn_Bildladen->isHidden());
        QVERIFY(d.MI_Loeschen->isEnabled());

        // The picture's menu opens from the keyboard, and its entry has a shortcut.
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        d.DBImage_Motiv->setFocus();
        QCOMPARE(QApplication::focusWidget(), d.DBImage_Motiv);
        const QPoint mitte = d.DBImage_Motiv->rect().center();
        QContextMenuEvent taste(QContextMenuEvent::Keyboard, mitte, d.DBImage_Motiv->mapToGlobal(mitte));
        QApplication::sendEvent(d.DBImage_Motiv, &taste);
        QTRY_VERIFY(d.PopupMenu_Bild->isVisible());
        d.PopupMenu_Bild->hide();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QTest::keyClick(&d, Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY(ui.shown.isEmpty()); // no question asked
        QVERIFY(!filme->asBoolean(QStringLiteral("Bild_Vorhanden")));
        QVERIFY(filme->blob(QStringLiteral("Bild")).isEmpty());
        QVERIFY(!d.BitBtn_Bildladen->isHidden());
        QVERIFY(!d.MI_Loeschen->isEnabled());
        QVERIFY(d.angezeigtesBild().isNull());
    }
    auto filme = oeffne(dir);
    filme->first();
    QVERIFY(!filme->asBoolean(QStringLiteral("Bild_Vorhanden")));
    QVERIFY(filme->blob(QStringLiteral("Bild")).isEmpty());
    QCOMPARE(filme->asString(QStringLiteral("Filmname")), QStringLiteral("Erster"));
    QCOMPARE(filme->asInteger(QStringLiteral("Filmlaenge")), 90);
}

void TestFilminfo::andereBildarten()
{
    const QString dir = filmTabelle(QStringLiteral("arten"));
    const QString bilder = freshDir(QStringLiteral("arten-bilder"));
    auto filme = oeffne(dir);
    neuerFilm(*filme, QStringLiteral("Film"), 90);
    FakeInteraction ui;
    TFilminfoformular d(*filme, ui);

    // Every kind the chooser offers is stored as a bitmap.
    const QStringList dateien = {bildDatei(bilder, QStringLiteral("a.png"), "PNG", QSize(30, 20)),
                                 bildDatei(bilder, QStringLiteral("a.jpg"), "JPEG", QSize(30, 20)),
                                 datei(bilder, QStringLiteral("a.emf"), testing_support::emfRotesQuadrat()),
                                 datei(bilder, QStringLiteral("a.wmf"), testing_support::wmfRotesQuadrat())};
    for (const QString& pfad : dateien) {
        d.MI_LoeschenClick();
        d.FormActivate();
        ui.fileAnswers.push_back(pfad);
        d.BitBtn_BildladenClick();
        QVERIFY2(ui.messages().isEmpty(), qPrintable(pfad));
        QVERIFY(filme->asBoolean(QStringLiteral("Bild_Vorhanden")));
        QVERIFY2(filme->blob(QStringLiteral("Bild")).startsWith("BM"), qPrintable(pfad));
        QVERIFY(gespeicherteGroesse(*filme).isValid());
    }
}

void TestFilminfo::kaputtesBildLaesstFilmUnveraendert()
{
    const QString dir = filmTabelle(QStringLiteral("kaputt"));
    const QString bilder = freshDir(QStringLiteral("kaputt-bilder"));
    auto filme = oeffne(dir);
    neuerFilm(*filme, QStringLiteral("Ohne Bild"), 90);
    neuerFilm(*filme, QStringLiteral("Mit Bild"), 80);
    FakeInteraction ui;
    TFilminfoformular d(*filme, ui);

    // A text file named .bmp, on a film without a picture.
    filme->first();
    d.FormActivate();
    ui.fileAnswers.push_back(datei(bilder, QStringLiteral("x.bmp"), "Kein Bild\r\n"));
    d.BitBtn_Bildladen->click();
    QCOMPARE(ui.shown.size(), 2);
    QCOMPARE(ui.shown.at(1).kind, FakeInteraction::Shown::Kind::Message);
    QCOMPARE(ui.shown.at(1).text, kFehler);
    QCOMPARE(ui.shown.at(1).icon, MsgIcon::Error);
    QCOMPARE(ui.shown.at(1).buttons, int(Ok));
    QCOMPARE(filme->state(), store::Dataset::State::Browse);
    QVERIFY(!filme->asBoolean(QStringLiteral("Bild_Vorhanden")));
    QVERIFY(filme->blob(QStringLiteral("Bild")).isEmpty());
    QVERIFY(!d.BitBtn_Bildladen->isHidden());
    QVERIFY(!d.MI_Loeschen->isEnabled());

    // A film with a picture keeps it when a cut-off bitmap or a huge header is chosen.
    filme->last();
    ui.fileAnswers.push_back(bildDatei(bilder, QStringLiteral("gut.bmp"), "BMP", QSize(16, 16)));
    d.BitBtn_BildladenClick();
    const QByteArray vorher = filme->blob(QStringLiteral("Bild"));
    QVERIFY(vorher.startsWith("BM"));
    QFile gut(bilder + QStringLiteral("/gut.bmp"));
    QVERIFY(gut.open(QIODevice::ReadOnly));
    const QByteArray abgeschnitten = gut.readAll().left(200);
    QByteArray riesig = abgeschnitten.left(70);
    riesig.replace(18, 8, QByteArray::fromHex("60ea000060ea0000")); // 60000 by 60000
    for (const QByteArray& inhalt : {abgeschnitten, riesig}) {
        d.FormActivate();
        ui.clear();
        ui.fileAnswers.push_back(datei(bilder, QStringLiteral("kaputt.bmp"), inhalt));
        d.BitBtn_BildladenClick();
        QCOMPARE(ui.messages(), QStringList{kFehler});
        QCOMPARE(filme->state(), store::Dataset::State::Browse);
        QVERIFY(filme->asBoolean(QStringLiteral("Bild_Vorhanden")));
        QCOMPARE(filme->blob(QStringLiteral("Bild")), vorher);
        QVERIFY(d.BitBtn_Bildladen->isHidden());
        QVERIFY(d.MI_Loeschen->isEnabled());
        QCOMPARE(d.angezeigtesBild().size(), QSize(16, 16));
    }

    // A metafile that cannot be drawn: the message says why, and the picture stays.
    d.FormActivate();
    ui.clear();
    ui.fileAnswers.push_back(
        datei(bilder, QStringLiteral("kaputt.wmf"), testing_support::wmfRotesQuadrat().left(50)));
    d.BitBtn_BildladenClick();
    QCOMPARE(ui.messages().size(), 1);
    QVERIFY2(ui.messages().first().startsWith(kFehler + QStringLiteral("\n\r")),
             qPrintable(ui.messages().first()));
    QVERIFY(ui.messages().first().size() > kFehler.size() + 2);
    QCOMPARE(filme->blob(QStringLiteral("Bild")), vorher);
}

void TestFilminfo::speicherfehlerVerwirftBearbeitung()
{
    const QString dir = filmTabelle(QStringLiteral("fehler"));
    const QString bilder = freshDir(QStringLiteral("fehler-bilder"));
    auto filme = oeffne(dir);
    neuerFilm(*filme, QStringLiteral("Film"), 90);
    filme->beforePost = [](store::Dataset&) {
        throw store::EngineError(QStringLiteral("Tabelle ist gesperrt."));
    };
    FakeInteraction ui;
    TFilminfoformular d(*filme, ui);
    d.FormActivate();
    ui.fileAnswers.push_back(bildDatei(bilder, QStringLiteral("b.png"), "PNG", QSize(10, 10)));
    d.BitBtn_Bildladen->click(); // through the guard, as a person clicks it
    QCOMPARE(ui.errors(), QStringList{QStringLiteral("Tabelle ist gesperrt.")});
    QCOMPARE(filme->state(), store::Dataset::State::Browse);
    QVERIFY(!filme->asBoolean(QStringLiteral("Bild_Vorhanden")));
    QVERIFY(!d.BitBtn_Bildladen->isHidden());

    // A description that cannot be stored keeps the dialog open once, with the text.
    QSignalSpy fertig(&d, &QDialog::finished);
    d.DBMemo_Bemerkungen->insertPlainText(QStringLiteral("Notiz"));
    ui.clear();
    d.BitBtn_Zurueck->click();
    QCOMPARE(ui.errors().size(), 1);
    QCOMPARE(fertig.size(), 0);
    QCOMPARE(d.DBMemo_Bemerkungen->toPlainText(), QStringLiteral("Notiz"));
    QCOMPARE(filme->state(), store::Dataset::State::Browse);
    d.BitBtn_Zurueck->click(); // the second time it closes
    QCOMPARE(fertig.size(), 1);
    QCOMPARE(d.result(), int(QDialog::Accepted));
}

void TestFilminfo::beschreibung()
{
    const QString dir = filmTabelle(QStringLiteral("text"));
    {
        auto filme = oeffne(dir);
        neuerFilm(*filme, QStringLiteral("Eins"), 90);
        neuerFilm(*filme, QStringLiteral("Zwei"), 90);
        FakeInteraction ui;
        TFilminfoformular d(*filme, ui);
        filme->last();
        d.FormActivate();
        // Leaving the memo stores a changed text; an unchanged memo stores nothing.
        d.DBMemo_Bemerkungen->insertPlainText(QStringLiteral("Mit Untertiteln.\nZweite Zeile: äöüß"));
        d.DBMemo_BemerkungenExit();
        QCOMPARE(filme->state(), store::Dataset::State::Browse);
        QCOMPARE(filme->memo(QStringLiteral("Beschreibung")),
                 QStringLiteral("Mit Untertiteln.\nZweite Zeile: äöüß"));
        // More text, then "Zurueck": stored before the dialog closes.
        d.DBMemo_Bemerkungen->moveCursor(QTextCursor::End);
        d.DBMemo_Bemerkungen->insertPlainText(QStringLiteral(" Ende."));
        d.BitBtn_Zurueck->click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(ui.shown.isEmpty());
    }
    auto filme = oeffne(dir);
    filme->first();
    QVERIFY(filme->memo(QStringLiteral("Beschreibung")).isEmpty());
    filme->last();
    FakeInteraction ui;
    TFilminfoformular d(*filme, ui);
    d.FormActivate();
    QCOMPARE(d.DBMemo_Bemerkungen->toPlainText(),
             QStringLiteral("Mit Untertiteln.\nZweite Zeile: äöüß Ende."));
    QVERIFY(!d.DBMemo_Bemerkungen->document()->isModified());
}

void TestFilminfo::beschreibungBeimVerlassen()
{
    // Shown for real: typing into the memo and moving the focus to the button stores it.
    const QString dir = filmTabelle(QStringLiteral("fokus"));
    auto filme = oeffne(dir);
    neuerFilm(*filme, QStringLiteral("Film"), 90);
    FakeInteraction ui;
    TFilminfoformular d(*filme, ui);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QVERIFY(!d.BitBtn_Bildladen->isHidden());
    d.DBMemo_Bemerkungen->setFocus();
    QTest::keyClicks(d.DBMemo_Bemerkungen, QStringLiteral("Neu"));
    QVERIFY(filme->memo(QStringLiteral("Beschreibung")).isEmpty());
    d.BitBtn_Zurueck->setFocus();
    QCOMPARE(filme->memo(QStringLiteral("Beschreibung")), QStringLiteral("Neu"));
    QTest::mouseClick(d.BitBtn_Zurueck, Qt::LeftButton);
    QVERIFY(d.isHidden());
    QVERIFY(ui.shown.isEmpty());
}

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QApplication app(argc, argv);
    TestFilminfo t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_filminfo.moc"
