#include "metafiles.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QtEndian>
#include <array>
#include <catalogue/bildladen.h>
#include <fakeinteraction.h>

using namespace quorbel;
using testing_support::freshDir;

namespace {

QString schreibe(const QString& dir, const QString& name, const QByteArray& bytes)
{
    QString path = dir + QLatin1Char('/') + name;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write test file");
    return path;
}

QImage testbild(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor(200, 30, 30));
    img.setPixelColor(0, 0, QColor(0, 0, 255));
    return img;
}

QByteArray kodiert(const QImage& img, const char* format)
{
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    if (!img.save(&b, format))
        qFatal("cannot encode test image");
    return bytes;
}

// A bitmap file header and info header that declare a picture of w by h pixels at
// 24 bits, followed by only `pixels` bytes of data.
QByteArray bmpKopf(qint32 w, qint32 h, int pixels)
{
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s << quint8('B') << quint8('M') << quint32(54 + pixels) << quint16(0) << quint16(0) << quint32(54);
    s << quint32(40) << w << h << quint16(1) << quint16(24) << quint32(0) << quint32(0) << qint32(2835)
      << qint32(2835) << quint32(0) << quint32(0);
    for (int i = 0; i < pixels; ++i)
        s << quint8(0x7F);
    return out;
}

bool etwaRot(const QColor& c)
{
    return c.red() > 180 && c.green() < 80 && c.blue() < 80;
}

} // namespace

class TestBildladen : public QObject
{
    Q_OBJECT
private slots:
    void rasterbilder();
    void kaputteUndUnsinnigeDateien();
    void riesigeAngabenOhneSpeicher();
    void metafiles();
    void metafileFehlerNenntDenGrund();
    void gespeicherteForm();
};

void TestBildladen::rasterbilder()
{
    const QString dir = freshDir(QStringLiteral("raster"));
    const QImage vorlage = testbild(40, 30);
    struct Fall
    {
        const char* format;
        QString name;
    };
    for (const Fall& fall :
         {Fall{"BMP", QStringLiteral("a.bmp")}, Fall{"PNG", QStringLiteral("a.png")},
          Fall{"JPEG", QStringLiteral("a.jpg")}, Fall{"PNG", QStringLiteral("png-als.bmp")}}) {
        const QString path = schreibe(dir, fall.name, kodiert(vorlage, fall.format));
        const BildErgebnis r = loadPicture(path);
        QVERIFY2(r.ok(), qPrintable(fall.name + QStringLiteral(": ") + r.grund));
        QCOMPARE(r.bild.size(), QSize(40, 30));
        QVERIFY(etwaRot(r.bild.pixelColor(20, 15)));
    }
}

void TestBildladen::kaputteUndUnsinnigeDateien()
{
    const QString dir = freshDir(QStringLiteral("kaputt"));
    const QByteArray bmp = kodiert(testbild(64, 64), "BMP");

    QVERIFY(!loadPicture(dir + QStringLiteral("/fehlt.bmp")).ok());
    QVERIFY(
        !loadPicture(schreibe(dir, QStringLiteral("x.bmp"), "Das ist kein Bild.\r\nZweite Zeile\r\n")).ok());
    QVERIFY(!loadPicture(schreibe(dir, QStringLiteral("leer.bmp"), {})).ok());
    QVERIFY(!loadPicture(schreibe(dir, QStringLiteral("halb.bmp"), bmp.left(bmp.size() / 2))).ok());
    QVERIFY(!loadPicture(schreibe(dir, QStringLiteral("kopf.bmp"), bmp.left(30))).ok());
    QVERIFY(!loadPicture(schreibe(dir, QStringLiteral("halb.png"), kodiert(testbild(64, 64), "PNG").left(60)))
                 .ok());
    // Formats the chooser does not offer are refused even when Qt could read them.
    const QByteArray ppm = kodiert(testbild(8, 8), "PPM");
    QVERIFY(!loadPicture(schreibe(dir, QStringLiteral("bild.bmp"), ppm)).ok());
    // Metafile signatures followed by rubbish.
    QByteArray emf = testing_support::emfRotesQuadrat();
    QVERIFY(!loadPicture(schreibe(dir, QStringLiteral("kurz.emf"), emf.left(100))).ok());
    emf.replace(88, emf.size() - 88, QByteArray(emf.size() - 88, '\xFF'));
    QVERIFY(!loadPicture(schreibe(dir, QStringLiteral("muell.emf"), emf)).ok());
    // Headers whose description lies beyond the end of the file (with and without a
    // length: without one it was read up to a terminator), or that are longer than the
    // file: the converter read past the end of its buffer.
    const std::array<std::array<quint32, 3>, 3> falscheKoepfe{{{88, 0, 132}, {88, 132, 255}, {4096, 0, 0}}};
    for (const auto& [groesse, zeichen, beginn] : falscheKoepfe) {
        QByteArray falsch = testing_support::emfRotesQuadrat();
        qToLittleEndian<quint32>(groesse, falsch.data() + 4);
        qToLittleEndian<quint32>(zeichen, falsch.data() + 60);
        qToLittleEndian<quint32>(beginn, falsch.data() + 64);
        const BildErgebnis r = loadPictureData(falsch);
        QVERIFY(!r.ok());
        QVERIFY2(r.grund.contains(QStringLiteral("Kopf des Metafiles")), qPrintable(r.grund));
    }
    const QByteArray wmf = testing_support::wmfRotesQuadrat();
    QVERIFY(!loadPicture(schreibe(dir, QStringLiteral("kurz.wmf"), wmf.left(30))).ok());
    // A header that declares a record far larger than the file: the player would reserve
    // gigabytes for it. With and without the placeable header in front.
    for (const qsizetype kopf : {qsizetype(22), qsizetype(0)}) {
        QByteArray gross = wmf.mid(22 - kopf);
        qToLittleEndian<quint32>(0x7E000007u, gross.data() + kopf + 12);
        const BildErgebnis r = loadPictureData(gross);
        QVERIFY(!r.ok());
        QVERIFY2(r.grund.contains(QStringLiteral("Kopf des Metafiles")), qPrintable(r.grund));
    }
    QVERIFY(!loadPictureData({}).ok());
}

void TestBildladen::riesigeAngabenOhneSpeicher()
{
    // Qt's own limit can be lifted from outside; the loader's limit must hold anyway.
    qputenv("QT_IMAGEIO_MAXALLOC", "0");
    const QString dir = freshDir(QStringLiteral("riesig"));

    const QByteArray kopf = bmpKopf(60000, 60000, 16);
    QCOMPARE(kopf.size(), 70);
    BildErgebnis r = loadPicture(schreibe(dir, QStringLiteral("riesig.bmp"), kopf));
    QVERIFY(!r.ok());
    QVERIFY2(r.grund.contains(QStringLiteral("60000")), qPrintable(r.grund)); // refused on the declared size

    // Under Qt's usual limit but over the loader's pixel cap.
    r = loadPicture(schreibe(dir, QStringLiteral("gross.bmp"), bmpKopf(7000, 7000, 16)));
    QVERIFY(!r.ok());
    QVERIFY2(r.grund.contains(QStringLiteral("7000")), qPrintable(r.grund));

    // A side longer than the loader accepts, with few pixels.
    r = loadPicture(schreibe(dir, QStringLiteral("lang.bmp"), bmpKopf(30000, 1, 16)));
    QVERIFY(!r.ok());
    QVERIFY2(r.grund.contains(QStringLiteral("30000")), qPrintable(r.grund));

    // A PNG whose header declares 50000 by 50000.
    QByteArray png = kodiert(testbild(2, 2), "PNG");
    QDataStream s(&png, QIODevice::ReadWrite);
    s.device()->seek(16); // width and height of the IHDR chunk, big-endian
    s << quint32(50000) << quint32(50000);
    r = loadPicture(schreibe(dir, QStringLiteral("riesig.png"), png));
    QVERIFY(!r.ok());
    qunsetenv("QT_IMAGEIO_MAXALLOC");
}

void TestBildladen::metafiles()
{
    const QString dir = freshDir(QStringLiteral("meta"));
    BildErgebnis r =
        loadPicture(schreibe(dir, QStringLiteral("quadrat.emf"), testing_support::emfRotesQuadrat()));
    QVERIFY2(r.ok(), qPrintable(r.grund));
    QVERIFY(r.bild.width() > 10 && r.bild.height() > 10);
    QVERIFY(r.bild.width() <= BildGrenzen::maxMetafileSeite &&
            r.bild.height() <= BildGrenzen::maxMetafileSeite);
    QVERIFY(etwaRot(r.bild.pixelColor(r.bild.width() / 2, r.bild.height() / 2)));

    r = loadPicture(schreibe(dir, QStringLiteral("quadrat.wmf"), testing_support::wmfRotesQuadrat()));
    QVERIFY2(r.ok(), qPrintable(r.grund));
    QVERIFY(r.bild.width() > 10 && r.bild.height() > 10);
    QVERIFY(etwaRot(r.bild.pixelColor(r.bild.width() / 2, r.bild.height() / 2)));

    // The stored form of a metafile picture is a bitmap that reads back the same.
    const QByteArray bmp = toBitmapBytes(r.bild);
    QVERIFY(bmp.startsWith("BM"));
    const BildErgebnis zurueck = loadPictureData(bmp);
    QVERIFY(zurueck.ok());
    QCOMPARE(zurueck.bild.size(), r.bild.size());
}

void TestBildladen::gespeicherteForm()
{
    QVERIFY(toBitmapBytes(QImage()).isEmpty());

    // Transparent parts become white; the bitmap reads back with its size.
    QImage durchsichtig(20, 10, QImage::Format_ARGB32);
    durchsichtig.fill(Qt::transparent);
    durchsichtig.setPixelColor(5, 5, QColor(200, 30, 30));
    QByteArray bytes = toBitmapBytes(durchsichtig);
    QVERIFY(bytes.startsWith("BM"));
    BildErgebnis r = loadPictureData(bytes);
    QVERIFY(r.ok());
    QCOMPARE(r.bild.size(), QSize(20, 10));
    QCOMPARE(r.bild.pixelColor(0, 0), QColor(Qt::white));
    QVERIFY(etwaRot(r.bild.pixelColor(5, 5)));

    // A large photo is stored reduced, keeping its proportions.
    bytes = toBitmapBytes(testbild(4000, 1000));
    r = loadPictureData(bytes);
    QVERIFY(r.ok());
    QCOMPARE(r.bild.size(), QSize(BildGrenzen::maxGespeicherteSeite, BildGrenzen::maxGespeicherteSeite / 4));
}

void TestBildladen::metafileFehlerNenntDenGrund()
{
    // A metafile that cannot be drawn is reported with its reason on a second line; other
    // pictures keep the one-line message.
    const QString dir = freshDir(QStringLiteral("meta-grund"));
    const QByteArray wmf = testing_support::wmfRotesQuadrat();
    QByteArray emf = testing_support::emfRotesQuadrat();
    emf.replace(88, emf.size() - 88, QByteArray(emf.size() - 88, '\xFF'));
    for (const QByteArray& kaputt : {wmf.left(50), emf}) {
        const BildErgebnis r = loadPictureData(kaputt);
        QVERIFY(!r.ok());
        QVERIFY(r.metafile);
        const QStringList zeilen = bildFehlerMeldung(r).split(QStringLiteral("\n\r"));
        QCOMPARE(zeilen.size(), 2);
        QCOMPARE(zeilen.first(), kBildFehler);
        QCOMPARE(zeilen.last(), r.grund);
        QVERIFY(!r.grund.isEmpty());
    }
    const BildErgebnis bmp = loadPicture(schreibe(dir, QStringLiteral("x.bmp"), "Kein Bild\r\n"));
    QVERIFY(!bmp.ok());
    QCOMPARE(bildFehlerMeldung(bmp), kBildFehler);
}

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QGuiApplication app(argc, argv);
    TestBildladen t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_bildladen.moc"
