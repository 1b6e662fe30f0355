#include "fakeinteraction.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <settings/keystore.h>
#include <settings/vocabulary.h>

using namespace settings;
using testing_support::freshDir;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList sl(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* s : items)
        out << QString::fromUtf8(s);
    return out;
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

class TestVocabulary : public QObject
{
    Q_OBJECT
private slots:
    void codePage1252()
    {
        // The euro sign and the German letters have their own bytes; the five bytes
        // without a character come back unchanged.
        const QByteArray bytes("\x80\xe4\xf6\xfc\xdf\xc4\x8a\x81\x9d\x9f", 10);
        const QString text = vocabulary::decodeWindows1252(bytes);
        QCOMPARE(text, QStringLiteral("€äöüßÄŠ\u0081\u009dŸ"));
        QCOMPARE(vocabulary::encodeWindows1252(text).value(), bytes);
        // Characters outside the code page are not silently replaced.
        QVERIFY(!vocabulary::encodeWindows1252(u"Ωmega").has_value());
        QVERIFY(!vocabulary::encodeWindows1252(u"\u0080").has_value());
        QVERIFY(!vocabulary::fitsListFile(u"Zwei\nZeilen"));
        QVERIFY(vocabulary::fitsListFile(u"Größenwahn €"));
        QVERIFY(!vocabulary::formatLines({QStringLiteral("gut"), QStringLiteral("日本")}).has_value());
    }

    void lineEndings()
    {
        QCOMPARE(vocabulary::parseLines("a\r\nb\r\n"), sl({"a", "b"}));
        QCOMPARE(vocabulary::parseLines("a\nb"), sl({"a", "b"}));
        QCOMPARE(vocabulary::parseLines("a\rb\r"), sl({"a", "b"}));
        QCOMPARE(vocabulary::parseLines("a\r\n\r\nb\n\n"), sl({"a", "", "b", ""}));
        QCOMPARE(vocabulary::parseLines(QByteArray("a\nb\0c\nd", 7)), sl({"a", "b"}));
        QCOMPARE(vocabulary::parseLines(""), QStringList());
        QCOMPARE(vocabulary::formatLines(sl({"a", "", "Kaufvideo"})).value(),
                 QByteArray("a\r\n\r\nKaufvideo\r\n"));
    }

    void writeAndReadFiles()
    {
        const QString dir = freshDir(QStringLiteral("listfiles"));
        const QString path = dir + QStringLiteral("/genre.qb");
        QVERIFY(!vocabulary::readListFile(path).has_value());

        const QStringList entries{QStringLiteral("Äther"), QStringLiteral("Drama"), QStringLiteral("€uro")};
        QVERIFY(vocabulary::writeListFile(path, entries));
        QCOMPARE(readAll(path), QByteArray("\xc4ther\r\nDrama\r\n\x80uro\r\n"));
        QCOMPARE(vocabulary::readListFile(path).value(), entries);
        QCOMPARE(QDir(dir).entryList(QDir::Files), sl({"genre.qb"})); // no temporary left

        // A list that cannot be written in the code page leaves the file as it was.
        QVERIFY(!vocabulary::writeListFile(path, {QStringLiteral("Ωmega")}));
        QCOMPARE(vocabulary::readListFile(path).value(), entries);

        // A file marked read-only is not replaced, whoever runs the program.
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        QVERIFY(!vocabulary::mayReplaceFile(path));
        QVERIFY(!vocabulary::writeListFile(path, {QStringLiteral("Neu")}));
        QCOMPARE(vocabulary::readListFile(path).value(), entries);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(vocabulary::writeListFile(path, {QStringLiteral("Neu")}));
        QCOMPARE(vocabulary::readListFile(path).value(), sl({"Neu"}));
    }

    void sortedInsert()
    {
        QStringList list;
        for (const char* s : {"Zombie", "action", "Äther", "Drama", "Action", "komödie", "Kriegsfilm"})
            vocabulary::insertSorted(list, QString::fromUtf8(s));
        QCOMPARE(list, sl({"action", "Action", "Äther", "Drama", "komödie", "Kriegsfilm", "Zombie"}));
        QStringList lengths = sl({"Kaufvideo", "E - 90", "E - 180", "E - 480"});
        vocabulary::sortEntries(lengths);
        QCOMPARE(lengths, sl({"E - 180", "E - 480", "E - 90", "Kaufvideo"}));
    }

    void keyFileKeepsKinds()
    {
        const QString path = freshDir(QStringLiteral("keyfile")) + QStringLiteral("/sub/quorbel98.key");
        // Tests and portable use name the key file in the environment.
        const auto standard = KeyStore::createDefault();
        QVERIFY(dynamic_cast<FileKeyStore*>(standard.get()));
        QCOMPARE(static_cast<FileKeyStore*>(standard.get())->path(),
                 qEnvironmentVariable("QUORBEL_SETTINGS_FILE"));

        FileKeyStore key(path);
        QVERIFY(!key.openKey());
        QVERIFY(key.damageReport().isEmpty());
        key.createKey();
        key.writeText(QStringLiteral("Titel"), QStringLiteral("Mein \"Titel\"\nzweite Zeile"));
        key.writeInteger(QStringLiteral("Warnen_Nach_x_Tagen"), -2147483647 - 1);
        key.closeKey();

        FileKeyStore again(path);
        QVERIFY(again.openKey());
        QCOMPARE(again.readText(QStringLiteral("titel")), QStringLiteral("Mein \"Titel\"\nzweite Zeile"));
        QCOMPARE(again.readInteger(QStringLiteral("Warnen_Nach_x_Tagen")), -2147483647 - 1);
        QCOMPARE(again.readText(QStringLiteral("Fehlt")), QString());
        try {
            again.readInteger(QStringLiteral("Fehlt"));
            QFAIL("missing value read");
        } catch (const KeyError& e) {
            QCOMPARE(e.message(), QStringLiteral("Konnte Daten für 'Fehlt' nicht holen"));
        }
        try {
            again.readInteger(QStringLiteral("Titel"));
            QFAIL("text read as integer");
        } catch (const KeyError& e) {
            QCOMPARE(e.message(), QStringLiteral("Ungültiger Datentyp für 'Titel'"));
        }
        QVERIFY_THROWS_EXCEPTION(KeyError, again.readText(QStringLiteral("Warnen_Nach_x_Tagen")));
        again.closeKey();

        // A protected key file is not replaced: the write fails with the first value's name.
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
        QVERIFY(again.openKey());
        again.writeText(QStringLiteral("Titel"), QStringLiteral("anders"));
        try {
            again.closeKey();
            QFAIL("protected key file replaced");
        } catch (const KeyError& e) {
            QCOMPARE(e.message().section(QStringLiteral("\n\r"), 0, 0),
                     QStringLiteral("Konnte Daten für 'Titel' nicht setzen"));
            QVERIFY2(e.message().contains(QStringLiteral("schreibgeschützt")), qPrintable(e.message()));
        }
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(again.openKey());
        QCOMPARE(again.readText(QStringLiteral("Titel")), QStringLiteral("Mein \"Titel\"\nzweite Zeile"));
    }

    void damagedKeyFileMovedAside()
    {
        const QString dir = freshDir(QStringLiteral("damagedkey"));
        const QString path = dir + QStringLiteral("/quorbel98.key");
        for (const QByteArray& damaged :
             {QByteArray("{ kaputt"), QByteArray("[1, 2]"),
              QByteArray(R"({"Werte":{"Name":"Titel","Art":"Text","Wert":"x"}})")}) {
            writeAll(path, damaged);
            FileKeyStore key(path);
            QVERIFY(!key.openKey());
            QVERIFY(key.damageReport().contains(QStringLiteral("beschädigt")));
            QVERIFY(!QFile::exists(path));
            QVERIFY(QFile::exists(path + QStringLiteral(".beschaedigt")));
            key.createKey();
            key.writeInteger(QStringLiteral("X"), 1);
            key.closeKey();
            QVERIFY(QFile::exists(path));
        }
        // Every damaged file is kept, none overwritten.
        QCOMPARE(readAll(path + QStringLiteral(".beschaedigt")), QByteArray("{ kaputt"));
        QCOMPARE(readAll(path + QStringLiteral(".beschaedigt.2")), QByteArray("[1, 2]"));
        QVERIFY(QFile::exists(path + QStringLiteral(".beschaedigt.3")));
    }
};

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QCoreApplication app(argc, argv);
    TestVocabulary test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_vocabulary.moc"
