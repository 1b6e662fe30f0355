// Tables written by the Schreiber, read back by an independent reader (pxlib, through its
// C interface); the blob file, which pxlib cannot read, by following the record's blob
// pointers by hand. Our own reader reads them in tst_umwandlung.

#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <store/codepage.h>
#include <store/paradox.h>
#include <store/umwandlung.h>
#include <testenvironment.h>

extern "C" {
#include <paradox.h>
}

using namespace store::paradox;
using enum Feldtyp;
using Zeilen = std::vector<std::vector<QVariant>>;
Q_DECLARE_METATYPE(Zeilen)
Q_DECLARE_METATYPE(std::vector<Feld>)

namespace {

const QVariant leer;

void schreiben(const QString& pfad, const std::vector<Feld>& felder, const Zeilen& zeilen, bool schluessel,
               int codepage = 1252, int version = 70)
{
    Schreiber w(pfad, felder, schluessel, codepage, version);
    for (const auto& z : zeilen)
        w.zeile(z);
    w.abschliessen();
}

struct PxDoc
{
    pxdoc_t* doc = PX_new();
    bool ok = false;
    explicit PxDoc(const QString& pfad)
    {
        ok = PX_open_file(doc, QFile::encodeName(pfad).constData()) == 0;
        if (ok)
            PX_set_targetencoding(doc, "UTF-8");
    }
    ~PxDoc()
    {
        PX_close(doc);
        PX_delete(doc);
    }
    // Field f of every row as pxlib gives it, in the form of our rows; before version 4 it
    // gives Alpha as stored.
    std::vector<QVariant> spalte(int f, Feldtyp typ, int rohCodepage = 0)
    {
        std::vector<QVariant> werte;
        pxval_t** satz = nullptr;
        for (int r = 0; r < PX_get_num_records(doc) && (satz = PX_retrieve_record(doc, r)); ++r) {
            const pxval_t& v = *satz[f];
            const long l = typ == Alpha ? 0 : v.value.lval;
            if (v.isnull || (typ != Logical && l == -2147483648L)) // pxlib's empty Long, Date, Time
                werte.emplace_back();
            else if (typ == Alpha)
                werte.emplace_back(rohCodepage
                                       ? store::ausCodepage(v.value.str.val, v.value.str.len, rohCodepage)
                                       : QString::fromUtf8(v.value.str.val, v.value.str.len));
            else
                werte.push_back(typ == Logical ? QVariant(bool(l))
                                : typ == Datum ? QVariant(QDate::fromJulianDay(1721425 + l))
                                : typ == Zeit  ? QVariant(QTime::fromMSecsSinceStartOfDay(int(l)))
                                               : QVariant(int(l)));
            for (int i = 0; i < PX_get_num_fields(doc); ++i) {
                if (satz[i]->type == pxfAlpha && satz[i]->value.str.val)
                    doc->free(doc, satz[i]->value.str.val);
                doc->free(doc, satz[i]);
            }
            doc->free(doc, satz);
        }
        return werte;
    }
};

QByteArray inhalt(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

quint32 le(const QByteArray& b, qsizetype pos, int n)
{
    quint32 v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | quint8(b.at(pos + i));
    return v;
}

// The blob a field's pointer leads to, read the way the notes on the format describe it.
QByteArray blobAusMb(const QByteArray& mb, const QByteArray& feld)
{
    const quint32 roh = le(feld, feld.size() - 10, 4);
    const quint32 laenge = le(feld, feld.size() - 6, 4);
    const quint32 block = roh & 0xFFFFFF00u;
    if (roh == 0)
        return feld.left(laenge);
    if ((roh & 0xFF) == 0xFF)
        return mb.at(block) == 2 && le(mb, block + 3, 4) == laenge ? mb.mid(block + 9, laenge)
                                                                   : "<Einzelblock>";
    const qsizetype e = block + 12 + 5 * (roh & 0xFF);
    if (mb.at(block) != 3 || (quint8(mb.at(e + 1)) - 1) * 16 + quint8(mb.at(e + 4)) != int(laenge))
        return QByteArrayLiteral("<verteilter Block>");
    return mb.mid(block + quint8(mb.at(e)) * 16, laenge);
}

} // namespace

class TestParadoxSchreiben : public QObject
{
    Q_OBJECT

    QString dir;
    QString pfad(const QString& name) const { return dir + QLatin1Char('/') + name; }
    static QString s(const char* utf8) { return QString::fromUtf8(utf8); }

private slots:
    void initTestCase()
    {
        PX_boot();
        dir = testing_support::freshDir(QStringLiteral("paradox_schreiben"));
    }
    void cleanupTestCase() { PX_shutdown(); }

    // Every layout, an empty row before one with umlauts, extreme values and a text longer
    // than its field (an empty one after it, to show a spill), and an empty table.
    void tabellen_data()
    {
        QTest::addColumn<QString>("stem");
        QTest::addColumn<Zeilen>("zeilen");
        QTest::addColumn<int>("codepage");
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("schluessel");
        const std::pair<const char*, std::vector<QVariant>> volleZeilen[] = {
            {"kass", {9, 10, 2147483647, -2147483647, 0, false, true, false}},
            {"filme",
             {9, 1, s("Die Brücke am Fluß"), 135, s("Komödie"), QDate(1, 1, 1), leer, true, s("kurz")}},
            {"ausgelhn", {9, 3, QDate(9999, 12, 31), s("Jürgen Weiß"), true, QDate(2000, 2, 29)}},
            {"atimer",
             {9, s("Tatort"), s("Ü").repeated(21), leer, QTime(23, 59, 59, 999), QTime(0, 0), 90, false}}};
        for (const auto& [stem, voll] : volleZeilen) {
            Zeilen z{std::vector<QVariant>(voll.size()), voll};
            z[0][0] = 1;
            for (const auto& [cp, v, k] : {std::tuple(1252, 70, true), {850, 50, true}, {437, 30, false}})
                QTest::addRow("%s-%d-v%d%s", stem, cp, v, k ? "-schluessel" : "")
                    << s(stem) << z << cp << v << k;
        }
        QTest::addRow("leer") << QStringLiteral("filme") << Zeilen() << 1252 << 70 << true;
    }
    void tabellen()
    {
        QFETCH(QString, stem);
        QFETCH(Zeilen, zeilen);
        QFETCH(int, codepage);
        QFETCH(int, version);
        QFETCH(bool, schluessel);
        const std::vector<Feld> felder = store::umwandlung::paradoxFelder(stem);
        const QString name = pfad(QString::fromLatin1(QTest::currentDataTag()));
        schreiben(name + QStringLiteral(".db"), felder, zeilen, schluessel, codepage, version);
        PxDoc px(name + QStringLiteral(".db"));
        QVERIFY(px.ok);
        const pxhead_t* kopf = px.doc->px_head;
        QCOMPARE(kopf->px_fileversion, version);
        QCOMPARE(int(kopf->px_filetype), schluessel ? 0 : 2);
        QCOMPARE(kopf->px_primarykeyfields, schluessel ? 1 : 0);
        QCOMPARE(kopf->px_doscodepage, version >= 40 ? codepage : 0);
        QCOMPARE(kopf->px_autoinc, zeilen.empty() ? 0 : 9);
        QCOMPARE(PX_get_num_records(px.doc), int(zeilen.size()));
        QCOMPARE(PX_get_num_fields(px.doc), int(felder.size()));
        for (size_t f = 0; f < felder.size(); ++f) {
            const Feld& feld = felder[f];
            QCOMPARE(QString::fromLatin1(PX_get_fields(px.doc)[f].px_fname), feld.name);
            QCOMPARE(int(quint8(PX_get_fields(px.doc)[f].px_ftype)), int(feld.typ));
            std::vector<QVariant> soll;
            for (const auto& z : zeilen)
                soll.push_back(feld.typ == Alpha && z[f].isValid() ? z[f].toString().left(feld.groesse)
                                                                   : z[f]);
            if (feld.typ != Memo && feld.typ != Graphic)
                QCOMPARE(px.spalte(int(f), feld.typ, version < 40 ? codepage : 0), soll);
        }
        PxDoc index(name + QStringLiteral(".px"));
        QCOMPARE(index.ok, schluessel);
        if (schluessel && !zeilen.empty()) {
            QCOMPARE(index.doc->px_head->px_numindexlevels, 1);
            QCOMPARE(PX_get_num_records(index.doc), 1);
            QCOMPARE(PX_read_primary_index(index.doc), 0);
        }
    }

    // Characters the code page lacks become '?' and are counted, in texts and memos alike;
    // a refused row counts nothing.
    void ersetzt()
    {
        const QString p = pfad(QStringLiteral("ersetzt.db"));
        Schreiber w(p, {{s("Nr"), AutoInc, 4}, {s("Text"), Alpha, 20}, {s("Notiz"), Memo, 11}}, true, 437);
        w.zeile({1, s("5 € für Ø"), s("€")});
        QVERIFY_THROWS_EXCEPTION(store::EngineError, w.zeile({1, s("€"), s("€")}));
        w.zeile({2, leer, s("漢字")});
        w.abschliessen();
        QCOMPARE(w.ersetzt(), 5);
        QCOMPARE(PxDoc(p).spalte(1, Alpha), (std::vector<QVariant>{s("5 ? für ?"), leer}));
    }

    // Memos and pictures stay in the record when they fit its leading bytes, go into a
    // shared block when small and into blocks of their own when large.
    void blobs_data()
    {
        QTest::addColumn<int>("laenge");
        QTest::addColumn<int>("art"); // 0 in the record, 3 sub-allocated, 2 own block
        QTest::addColumn<int>("mbBloecke");
        QTest::newRow("passt-vorn") << 5 << 0 << 1;
        QTest::newRow("ein-byte-zu-viel") << 6 << 3 << 2; // all four in one shared block
        QTest::newRow("16") << 16 << 3 << 2;
        QTest::newRow("2047") << 2047 << 3 << 5; // one to a shared block
        QTest::newRow("2048") << 2048 << 2 << 5;
        QTest::newRow("4087-ein-block") << 4087 << 2 << 5;
        QTest::newRow("4088-zwei-bloecke") << 4088 << 2 << 9;
    }
    void blobs()
    {
        QFETCH(int, laenge);
        QFETCH(int, art);
        QFETCH(int, mbBloecke);
        QByteArray bild(laenge, '\0');
        for (int i = 0; i < laenge; ++i)
            bild[i] = char(i * 7 + 1);
        const QString text = s("ü") + QString(laenge - 1, QLatin1Char('m'));
        const QString name = pfad(QStringLiteral("blob-%1").arg(laenge));
        // Between the two a row that keeps its blobs in the record.
        schreiben(name + QStringLiteral(".db"),
                  {{s("Nr"), AutoInc, 4}, {s("Bild"), Graphic, 15}, {s("Text"), Memo, 15}},
                  {{1, bild, text}, {2, QByteArray("x"), s("kurz")}, {3, bild, text}}, false);
        const QByteArray db = inhalt(name + QStringLiteral(".db"));
        const QByteArray mb = inhalt(name + QStringLiteral(".mb"));
        QCOMPARE(mb.size(), mbBloecke * 4096);
        QCOMPARE(int(mb.at(0)), 0);
        QCOMPARE(le(mb, 0x13, 2), 2048u);
        for (int zeile : {0, 2}) {
            const qsizetype satz = 2048 + 6 + zeile * (4 + 15 + 15);
            const quint32 roh = le(db, satz + 4 + 5, 4);
            QCOMPARE(roh == 0 ? 0 : (roh & 0xFF) == 0xFF ? 2 : 3, art);
            QCOMPARE(db.mid(satz + 4, 5), bild.left(5));
            QCOMPARE(blobAusMb(mb, db.mid(satz + 4, 15)), bild);
            QCOMPARE(blobAusMb(mb, db.mid(satz + 4 + 15, 15)), store::inCodepage(text, 1252));
        }
    }

    // More small memos than a shared block has entries for; more data blocks (414 of 15
    // rows) than an index block has entries for (409), so the index gets a second level.
    void vieleZeilen()
    {
        const int anzahl = 6200;
        Zeilen zeilen;
        for (int i = 0; i < anzahl; ++i)
            zeilen.push_back({2 * i + 1, QStringLiteral("Zeile %1").arg(i),
                              i % 50 ? leer : QVariant(QStringLiteral("Notiz %1 über die Zeile").arg(i))});
        const QString p = pfad(QStringLiteral("viele.db"));
        schreiben(p, {{s("Nr"), AutoInc, 4}, {s("Text"), Alpha, 255}, {s("Notiz"), Memo, 11}}, zeilen, true);
        PxDoc px(p);
        QCOMPARE(PX_get_num_records(px.doc), anzahl);
        QCOMPARE(px.doc->px_head->px_autoinc, 2 * anzahl - 1);
        QCOMPARE(px.spalte(0, AutoInc).back(), zeilen.back()[0]);
        Leser l(p);
        std::vector<QVariant> z;
        for (int i = 0; i < anzahl; ++i) {
            QVERIFY(l.naechste(z));
            if (i % 50 == 0)
                QCOMPARE(z, zeilen[size_t(i)]);
        }

        PxDoc index(pfad(QStringLiteral("viele.px")));
        QCOMPARE(index.doc->px_head->px_numindexlevels, 2);
        QCOMPARE(PX_get_num_records(index.doc), 414 + 2); // an entry per data and level-1 block
        // pxlib's PX_read_primary_index fails on an index of more than one block (it frees
        // twice), so the root (block 3) is followed by hand: an entry per level-1 block, with
        // that block's first key, its number and the rows below it.
        const QByteArray idx = inhalt(pfad(QStringLiteral("viele.px")));
        const auto kurz = [&](qsizetype i) { return (quint8(idx[i]) << 8 | quint8(idx[i + 1])) ^ 0x8000; };
        QCOMPARE(idx.size(), 2048 + 3 * 4096);
        QCOMPARE(le(idx, 0x1E, 2), 3u);
        const qsizetype wurzel = 2048 + 2 * 4096;
        QCOMPARE(le(idx, wurzel + 4, 2), 10u); // two entries
        for (int e = 0; e < 2; ++e) {
            QCOMPARE(idx.mid(wurzel + 6 + e * 10, 4), idx.mid(2048 + e * 4096 + 6, 4));
            QCOMPARE(kurz(wurzel + 10 + e * 10), e + 1);
        }
        QCOMPARE(kurz(wurzel + 12) + kurz(wurzel + 22), anzahl);
    }

    // Refused when opened (no file is made, none is touched) or at a row (the table stays
    // as it was: a later row still goes in).
    void verweigert_data()
    {
        QTest::addColumn<std::vector<Feld>>("felder");
        QTest::addColumn<QString>("vorhanden");
        QTest::addColumn<Zeilen>("zeilen"); // the last one is refused
        const std::vector<Feld> zwei{{s("Nr"), AutoInc, 4}, {s("Wert"), Long, 4}};
        for (const char* endung : {"db", "mb", "px"})
            QTest::addRow("%s-gibt-es", endung)
                << std::vector<Feld>{{s("Nr"), AutoInc, 4}, {s("Notiz"), Memo, 11}} << s(endung) << Zeilen();
        QTest::addRow("long-mit-2-bytes") << std::vector<Feld>{{s("Nr"), Long, 2}} << QString() << Zeilen();
        QTest::addRow("gleicher-schluessel") << zwei << QString() << Zeilen{{1, 1}, {1, 2}};
        QTest::addRow("kleinerer-schluessel") << zwei << QString() << Zeilen{{5, 1}, {9, 2}, {7, 3}};
        QTest::addRow("leerer-schluessel") << zwei << QString() << Zeilen{{leer, 2}};
        QTest::addRow("text-statt-zahl") << zwei << QString() << Zeilen{{1, s("3")}};
        QTest::addRow("leermuster-als-long") << zwei << QString() << Zeilen{{1, qlonglong(-2147483648LL)}};
        QTest::addRow("zu-viele-werte") << zwei << QString() << Zeilen{{1, 2, 3}};
    }
    void verweigert()
    {
        QFETCH(std::vector<Feld>, felder);
        QFETCH(QString, vorhanden);
        QFETCH(Zeilen, zeilen);
        const QString basis = pfad(QString::fromLatin1(QTest::currentDataTag())) + QLatin1Char('.');
        if (zeilen.empty()) {
            QVERIFY(vorhanden.isEmpty() || QFile(basis + vorhanden).open(QIODevice::WriteOnly)); // empty
            QVERIFY_THROWS_EXCEPTION(store::EngineError, Schreiber(basis + s("db"), felder, true));
            for (const char* endung : {"db", "mb", "px"})
                QCOMPARE(QFile::exists(basis + s(endung)), vorhanden == s(endung));
            QCOMPARE(QFileInfo(basis + vorhanden).size(), 0);
            return;
        }
        Schreiber w(basis + s("db"), felder, true);
        for (size_t i = 0; i + 1 < zeilen.size(); ++i)
            w.zeile(zeilen[i]);
        QVERIFY_THROWS_EXCEPTION(store::EngineError, w.zeile(zeilen.back()));
        w.zeile({1000, 1});
        w.abschliessen();
        PxDoc px(basis + s("db"));
        QCOMPARE(PX_get_num_records(px.doc), int(zeilen.size()));
        QCOMPARE(px.doc->px_head->px_autoinc, 1000);
    }

    // Until abschliessen() the header is zero: no reader takes the table for complete.
    void unfertigeTabelle()
    {
        const QString p = pfad(QStringLiteral("unfertig.db"));
        Schreiber(p, {{s("Nr"), AutoInc, 4}}, true).zeile({1});
        QVERIFY(!istParadoxTabelle(p));
        QVERIFY(!PxDoc(p).ok);
    }
};

QTEST_GUILESS_MAIN(TestParadoxSchreiben)
#include "tst_paradox_schreiben.moc"
