// Reading tables of the old format: every field type and empty fields, code pages, blobs
// in the record and in both kinds of blob block, versions 3 to 7, keyed and plain, and
// damaged files. The tables are laid out byte by byte here.

#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <store/codepage.h>
#include <store/paradox.h>
#include <store/paradoxformat.h>

using namespace store::paradox;
namespace fmt = store::paradox::format;

namespace {

QByteArray roh(const char* s, int n)
{
    return QByteArray(s, n);
}
QByteArray lng(qint32 v)
{
    QByteArray b(4, 0);
    fmt::schreibeLong(b.data(), v);
    return b;
}
QByteArray alpha(const QByteArray& s, int n)
{
    return s + QByteArray(n - s.size(), 0);
}
QByteArray blobFeld(int groesse, const QByteArray& vorn, quint32 offset, int index, quint32 laenge)
{
    QByteArray b = alpha(vorn.left(groesse - 10), groesse);
    fmt::schreibeBlobzeiger(b.data() + groesse - 10, {offset, index, laenge, 1});
    return b;
}

// A blob file: the 4 KB header, then blocks appended.
struct Mb
{
    QByteArray bytes = QByteArray(fmt::MbBlock, 0);
    quint32 einzeln(const QByteArray& daten)
    {
        const auto offset = quint32(bytes.size());
        const int stuecke = int((daten.size() + 9 + 4095) / 4096);
        QByteArray b(stuecke * 4096, 0);
        b[0] = char(fmt::MbTypEinzeln);
        fmt::setLe16(b.data() + 1, quint16(stuecke));
        fmt::setLe32(b.data() + 3, quint32(daten.size()));
        b.replace(9, daten.size(), daten);
        bytes += b;
        return offset;
    }
    // Blob i gets entry 0x3F - i.
    quint32 verteilt(const QList<QByteArray>& blobs)
    {
        const auto offset = quint32(bytes.size());
        QByteArray b(4096, 0);
        b[0] = char(fmt::MbTypVerteilt);
        fmt::setLe16(b.data() + 1, 1);
        int pos = fmt::MbVerteiltDaten;
        for (int i = 0; i < blobs.size(); ++i) {
            char* e = b.data() + 12 + 5 * (0x3F - i);
            const auto n = int(blobs[i].size());
            e[0] = char(pos / 16);
            e[1] = char((n + 15) / 16);
            e[4] = char(n - (n - 1) / 16 * 16);
            b.replace(pos, n, blobs[i]);
            pos += (n + 15) / 16 * 16;
        }
        bytes += b;
        return offset;
    }
};

// A table file: header, then the blocks linked 1 -> 2 -> ... in file order.
struct Db
{
    int id = 12, fileType = 2, blockCode = 1, codepage = 1252;
    std::vector<std::pair<Feldtyp, int>> felder;
    std::vector<QByteArray> bloecke; // the records of each block
    QByteArray bytes() const
    {
        int rs = 0;
        for (const auto& f : felder)
            rs += f.second;
        if (rs <= 0)
            qFatal("a table needs fields");
        const int n = int(felder.size()), bloeckeN = int(bloecke.size());
        qint32 saetze = 0;
        for (const auto& b : bloecke)
            saetze += qint32(b.size() / rs);
        QByteArray k(0x800, 0);
        char* p = k.data();
        fmt::setLe16(p, quint16(rs));
        fmt::setLe16(p + 2, 0x800);
        p[4] = char(fileType);
        p[5] = char(blockCode);
        fmt::setLe32(p + 6, quint32(saetze));
        fmt::setLe16(p + 0x0C, quint16(bloeckeN));
        fmt::setLe16(p + 0x0E, bloeckeN ? 1 : 0);
        fmt::setLe16(p + 0x10, quint16(bloeckeN));
        fmt::setLe16(p + 0x21, quint16(n));
        fmt::setLe16(p + 0x23, fileType == 0 ? 1 : 0);
        p[0x39] = char(id);
        if (id >= 5) {
            fmt::setLe32(p + 0x25, fmt::Encryption1Ab40);
            fmt::setLe16(p + 0x6A, quint16(codepage));
        }
        QByteArray namen;
        for (int i = 0; i < n; ++i) {
            p[fmt::felderStart(id) + 2 * i] = char(felder[size_t(i)].first);
            p[fmt::felderStart(id) + 2 * i + 1] = char(felder[size_t(i)].second);
            namen += "f" + QByteArray::number(i + 1) + '\0';
        }
        k.replace(fmt::feldnamenStart(id, n), namen.size(), namen);
        const int bs = blockCode * 1024;
        for (int i = 0; i < bloeckeN; ++i) {
            QByteArray b(bs, 0);
            fmt::setLe16(b.data(), quint16(i + 1 < bloeckeN ? i + 2 : 0));
            fmt::setLe16(b.data() + 2, quint16(i));
            fmt::setLe16(b.data() + 4, quint16(bloecke[size_t(i)].size() - rs));
            b.replace(6, bloecke[size_t(i)].size(), bloecke[size_t(i)]);
            k += b;
        }
        return k;
    }
};

void schreibe(const QString& pfad, const QByteArray& bytes)
{
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

std::vector<std::vector<QVariant>> leseAlles(const QString& pfad)
{
    Leser leser(pfad);
    std::vector<std::vector<QVariant>> zeilen;
    std::vector<QVariant> zeile;
    while (leser.naechste(zeile))
        zeilen.push_back(zeile);
    return zeilen;
}

const std::vector<std::pair<Feldtyp, int>> alleTypen = {
    {Feldtyp::Alpha, 20},   {Feldtyp::Datum, 4}, {Feldtyp::Short, 2},   {Feldtyp::Long, 4},
    {Feldtyp::Logical, 1},  {Feldtyp::Zeit, 4},  {Feldtyp::AutoInc, 4}, {Feldtyp::Memo, 15},
    {Feldtyp::Graphic, 15}, {Feldtyp::Blob, 10}};

// Two records with one long Alpha field and a memo that lives in the .mb.
Db kleineTabelle(Mb& mb)
{
    Db db;
    db.felder = {{Feldtyp::Alpha, 10}, {Feldtyp::Memo, 11}};
    const QByteArray memo(3000, 'm');
    const quint32 o = mb.einzeln(memo), v = mb.verteilt({"abc"});
    db.bloecke = {alpha("eins", 10) + blobFeld(11, memo, o, 0xFF, 3000) + alpha("zwei", 10) +
                  blobFeld(11, "abc", v, 0x3F, 3)};
    return db;
}

struct Schaden
{
    const char* name;
    std::function<void(QByteArray& db, QByteArray& mb)> machen;
};

const std::vector<Schaden> schaeden = {
    {"gekürzt", [](QByteArray& db, QByteArray&) { db.chop(100); }},
    {"nur Kopfanfang", [](QByteArray& db, QByteArray&) { db.truncate(0x40); }},
    {"Indexdatei", [](QByteArray& db, QByteArray&) { db[4] = 1; }},
    {"Version 13", [](QByteArray& db, QByteArray&) { db[0x39] = 13; }},
    {"verschlüsselt", [](QByteArray& db, QByteArray&) { db[0x5C] = 1; }},
    {"Feldtyp Number", [](QByteArray& db, QByteArray&) { db[0x78] = 6; }},
    {"Satzlänge falsch", [](QByteArray& db, QByteArray&) { db[0] = 22; }},
    {"Kopf zu klein", [](QByteArray& db, QByteArray&) { fmt::setLe16(db.data() + 2, 0x100); }},
    {"Blockgröße 5", [](QByteArray& db, QByteArray&) { db[5] = 5; }},
    {"Feldnamen ohne Ende",
     [](QByteArray& db, QByteArray&) { db.replace(0x180, 0x680, QByteArray(0x680, 'x')); }},
    {"erster Block hinter Ende", [](QByteArray& db, QByteArray&) { db[0x0E] = 9; }},
    {"Folgeblock hinter Ende", [](QByteArray& db, QByteArray&) { db[0x800] = 7; }},
    {"Blockzyklus", [](QByteArray& db, QByteArray&) { db[0x800] = 1; }},
    {"riesige Satzzahl", [](QByteArray& db, QByteArray&) { fmt::setLe32(db.data() + 6, 0x7FFFFFFF); }},
    {"Satzzahl zu groß", [](QByteArray& db, QByteArray&) { db[6] = 3; }},
    {"Satzzahl zu klein", [](QByteArray& db, QByteArray&) { db[6] = 1; }},
    {"Datenmenge zu groß", [](QByteArray& db, QByteArray&) { fmt::setLe16(db.data() + 0x804, 2000); }},
    {"Blob hinter Ende", [](QByteArray& db, QByteArray&) { db[0x806 + 10 + 1 + 2] = 0x40; }},
    {"Blob-Länge falsch", [](QByteArray&, QByteArray& mb) { mb[4096 + 3] = 1; }},
    {"Blockart falsch", [](QByteArray&, QByteArray& mb) { mb[4096] = 3; }},
    {"Blob-Datei fehlt", [](QByteArray&, QByteArray& mb) { mb.clear(); }},
    {"Unterblock-Eintrag gelöscht", [](QByteArray&, QByteArray& mb) { mb[8192 + 12 + 5 * 0x3F + 4] = 0; }},
    {"Memo im Satz zu lang",
     [](QByteArray& db, QByteArray&) { db.replace(0x806 + 11, 6, roh("\0\0\0\0\5\0", 6)); }},
};

} // namespace

class TestParadoxLesen : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    QString pfad(const char* name) const { return dir.filePath(QLatin1String(name)); }

private slots:
    void werte_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("fileType");
        QTest::addColumn<int>("blockCode");
        QTest::addColumn<int>("codepage");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("3.0 437 plain") << 3 << 2 << 1 << 437
                                       << roh("Gr\x94\xE1"
                                              "e \x8E",
                                              7);
        QTest::newRow("3.5 437 keyed") << 4 << 0 << 2 << 437
                                       << roh("Gr\x94\xE1"
                                              "e \x8E",
                                              7);
        QTest::newRow("4.x 850 keyed") << 9 << 0 << 4 << 850
                                       << roh("Gr\x94\xE1"
                                              "e \x8E",
                                              7);
        QTest::newRow("5.x 1252 plain") << 11 << 2 << 1 << 1252
                                        << roh("Gr\xF6\xDF"
                                               "e \xC4",
                                               7);
        QTest::newRow("7.x 1252 keyed") << 12 << 0 << 4 << 1252
                                        << roh("Gr\xF6\xDF"
                                               "e \xC4",
                                               7);
        QTest::newRow("7.x 437 plain") << 12 << 2 << 2 << 437
                                       << roh("Gr\x94\xE1"
                                              "e \x8E",
                                              7);
    }
    void werte()
    {
        QFETCH(int, id);
        QFETCH(int, fileType);
        QFETCH(int, blockCode);
        QFETCH(int, codepage);
        QFETCH(QByteArray, text);
        const QString memoText = QStringLiteral("Ein längerer Text über Größe und Maß.");
        const QByteArray memo = store::inCodepage(memoText, codepage);
        const QByteArray bild(3000, 'g'), daten("\x01\x02\x00\x03", 4);
        Mb mb;
        const quint32 einzeln = mb.einzeln(bild);
        const quint32 verteilt = mb.verteilt({daten, memo});
        Db db;
        db.id = id, db.fileType = fileType, db.blockCode = blockCode, db.codepage = codepage;
        db.felder = alleTypen;
        const QByteArray satz1 = alpha(text, 20) + roh("\x80\x0B\x1E\xCF", 4) + roh("\x81\x00", 2) +
                                 lng(100000) + roh("\x81", 1) + lng(47655016) + lng(7) +
                                 blobFeld(15, "kurz", 0, 0, 4) + blobFeld(15, bild, einzeln, 0xFF, 3000) +
                                 blobFeld(10, {}, verteilt, 0x3F, 4);
        const QByteArray satz3 = alpha("A", 20) + lng(1) + roh("\x7F\xFF", 2) + lng(-2147483647) +
                                 roh("\x80", 1) + lng(0) + lng(2147483647) +
                                 blobFeld(15, memo, verteilt, 0x3E, quint32(memo.size())) +
                                 blobFeld(15, "GIF8a", 0, 0, 5) + QByteArray(10, 0);
        db.bloecke = {satz1 + QByteArray(79, 0), satz3};
        const QString dbPfad = pfad("werte.db");
        schreibe(dbPfad, db.bytes());
        schreibe(pfad("werte.mb"), mb.bytes);
        QVERIFY(istParadoxTabelle(dbPfad));

        Leser leser(dbPfad);
        QCOMPARE(leser.kopf().codepage, codepage);
        QCOMPARE(leser.kopf().schluessel, fileType == 0);
        QCOMPARE(leser.kopf().version, fmt::versionAusId(id));
        QCOMPARE(leser.kopf().blockGroesse, blockCode * 1024);
        QCOMPARE(leser.kopf().felder.size(), alleTypen.size());
        QCOMPARE(leser.kopf().felder[7].name, QStringLiteral("f8"));
        std::vector<QVariant> z;
        QVERIFY(leser.naechste(z));
        const std::vector<QVariant> erwartet1 = {QStringLiteral("Größe Ä"),
                                                 QDate(1996, 5, 4),
                                                 256,
                                                 100000,
                                                 true,
                                                 QTime(13, 14, 15, 16),
                                                 7,
                                                 QStringLiteral("kurz"),
                                                 bild,
                                                 daten};
        QCOMPARE(z, erwartet1);
        QVERIFY(leser.naechste(z)); // all empty
        for (const QVariant& v : z)
            QVERIFY(!v.isValid());
        QVERIFY(leser.naechste(z));
        const std::vector<QVariant> erwartet3 = {
            QStringLiteral("A"), QDate(1, 1, 1), -1,       -2147483647,         false,
            QTime(0, 0),         2147483647,     memoText, QByteArray("GIF8a"), QVariant()};
        QCOMPARE(z, erwartet3);
        QVERIFY(!leser.naechste(z));
        QCOMPARE(leser.gelesen(), 3);
    }

    // Blocks are walked by their links; records after a block's last one are deleted rows.
    void blockkette()
    {
        Db db;
        db.felder = {{Feldtyp::Long, 4}};
        db.bloecke = {lng(1) + lng(2), lng(99), lng(3) + lng(4) + lng(98)};
        QByteArray b = db.bytes();
        fmt::setLe16(b.data() + 0x800, 3);                      // 1 -> 3
        fmt::setLe16(b.data() + 0x800 + 2 * 1024 + 4, 4);       // block 3: two records, one deleted
        fmt::setLe16(b.data() + 0x800 + 2 * 1024, 2);           // 3 -> 2
        fmt::setLe16(b.data() + 0x800 + 1024 + 4, quint16(-4)); // block 2 empty
        fmt::setLe16(b.data() + 0x800 + 1024, 0);
        fmt::setLe32(b.data() + 6, 4);
        schreibe(pfad("kette.db"), b);
        const auto zeilen = leseAlles(pfad("kette.db"));
        QCOMPARE(zeilen.size(), size_t(4));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(zeilen[size_t(i)][0], QVariant(i + 1));
    }

    void beschaedigt_data()
    {
        QTest::addColumn<int>("fall");
        for (size_t i = 0; i < schaeden.size(); ++i)
            QTest::newRow(schaeden[i].name) << int(i);
    }
    void beschaedigt()
    {
        QFETCH(int, fall);
        Mb mbBau;
        QByteArray db = kleineTabelle(mbBau).bytes(), mb = mbBau.bytes;
        schaeden[size_t(fall)].machen(db, mb);
        const QString dbPfad = pfad("kaputt.db"), mbPfad = pfad("kaputt.mb");
        QFile::remove(mbPfad);
        schreibe(dbPfad, db);
        if (!mb.isEmpty())
            schreibe(mbPfad, mb);
        try {
            leseAlles(dbPfad);
            QFAIL("kein Formatfehler");
        } catch (const Formatfehler& e) {
            const QString datei = QDir::toNativeSeparators(mb.isEmpty() ? mbPfad : dbPfad);
            QVERIFY2(e.message().contains(datei), qPrintable(e.message()));
        }
    }

    void unbeschaedigt()
    {
        Mb mb;
        const QByteArray db = kleineTabelle(mb).bytes();
        schreibe(pfad("gut.db"), db);
        schreibe(pfad("gut.mb"), mb.bytes);
        const auto zeilen = leseAlles(pfad("gut.db"));
        QCOMPARE(zeilen.size(), size_t(2));
        QCOMPARE(zeilen[0][1].toString(), QString(3000, QLatin1Char('m')));
        QCOMPARE(zeilen[1][1], QVariant(QStringLiteral("abc")));
    }

    void erkennung()
    {
        Mb mb;
        schreibe(pfad("e.db"), kleineTabelle(mb).bytes());
        QVERIFY(istParadoxTabelle(pfad("e.db")));
        schreibe(pfad("leer.db"), {});
        schreibe(pfad("text.db"), QByteArray(4096, 'a'));
        QVERIFY(!istParadoxTabelle(pfad("leer.db")));
        QVERIFY(!istParadoxTabelle(pfad("text.db")));
        QVERIFY(!istParadoxTabelle(pfad("fehlt.db")));
        QVERIFY_THROWS_EXCEPTION(Formatfehler, Leser(pfad("text.db")));
        QVERIFY_THROWS_EXCEPTION(Formatfehler, Leser(pfad("fehlt.db")));
    }
};

QTEST_GUILESS_MAIN(TestParadoxLesen)
#include "tst_paradox_lesen.moc"
