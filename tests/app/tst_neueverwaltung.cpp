#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QStorageInfo>
#include <QTest>
#include <app/neueverwaltung.h>
#include <chrono>
#include <fakeinteraction.h>
#include <fcntl.h>
#include <future>
#include <store/error.h>
#include <store/listfile.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quorbel;
using testing_support::FakeInteraction;
using testing_support::freshDir;

namespace {

void touch(const QString& path, const QByteArray& content = QByteArray())
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll();
}

} // namespace

class TestNeueVerwaltung : public QObject
{
    Q_OBJECT

private slots:
    void design()
    {
        FakeInteraction ui;
        const QString dir = freshDir(QStringLiteral("design"));
        QDir::setCurrent(dir);
        TForm_NeueVerwaltung dlg(ui);
        QCOMPARE(dlg.objectName(), QStringLiteral("Form_NeueVerwaltung"));
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Neue Videoliste erstellen"));
        QCOMPARE(dlg.minimumSize(), dlg.maximumSize());
        QCOMPARE(dlg.VerzeichnisBox->directory(), dir);
        QCOMPARE(dlg.BitBtn_NeuesVerzeichnis->text(), QStringLiteral("&Neues Verzeichnis erstellen"));
        QCOMPARE(dlg.BitBtn1->text(), QStringLiteral("&OK"));
        QCOMPARE(dlg.BitBtn2->text(), QStringLiteral("&Abbruch"));
        for (const char* name :
             {"GroupBox_Verzeichnis", "VerzeichnisBox", "DriveComboBox1", "BitBtn_NeuesVerzeichnis",
              "GroupBox1", "Edit_Dateiname", "BitBtn1", "BitBtn2"}) {
            auto* w = dlg.findChild<QWidget*>(QString::fromLatin1(name));
            QVERIFY2(w, name);
            QVERIFY2(!w->accessibleName().isEmpty(), name);
        }
        // The mounted file systems (at least the root and the home directory), and the
        // choice holding the directory is selected.
        QVERIFY(dlg.DriveComboBox1->count() >= 1);
        QVERIFY(!dlg.DriveComboBox1->currentData().toString().isEmpty());
    }

    void refusalsKeepTheDialogOpen()
    {
        FakeInteraction ui;
        const QString dir = freshDir(QStringLiteral("refusals"));
        touch(dir + QStringLiteral("/da.qbx"), "0\r\n");
        TForm_NeueVerwaltung dlg(ui);
        dlg.VerzeichnisBox->setDirectory(dir);

        struct Case
        {
            QString name;
            QString message;
        };
        const QList<Case> cases = {
            {QString(), QStringLiteral("Es wurde kein Dateiname eingegeben !")},
            {QStringLiteral("liste.neu"), QStringLiteral("Der Dateiname darf kein '.' enthalten !")},
            {QStringLiteral("da"), QStringLiteral("Datei existiert bereits !")},
            {QStringLiteral("unter/liste"), QStringLiteral("Ungültiger Dateiname !")},
        };
        for (const Case& c : cases) {
            ui.clear();
            dlg.setResult(QDialog::Rejected);
            dlg.Edit_Dateiname->setText(c.name);
            dlg.BitBtn1->click();
            QCOMPARE(ui.messages(), QStringList{c.message});
            QCOMPARE(ui.shown.first().icon, MsgIcon::Error);
            QCOMPARE(ui.shown.first().buttons, int(Ok));
            QCOMPARE(dlg.result(), int(QDialog::Rejected));
            QCOMPARE(dlg.Edit_Dateiname->text(), c.name);
        }
        // Nothing was left behind by the checks.
        QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList{QStringLiteral("da.qbx")});
    }

    void collectionNumberRule()
    {
        FakeInteraction ui;
        const QString dir = freshDir(QStringLiteral("numbers"));
        TForm_NeueVerwaltung dlg(ui);
        dlg.VerzeichnisBox->setDirectory(dir);

        auto accept = [&](const QString& name) {
            dlg.setResult(QDialog::Rejected);
            dlg.Edit_Dateiname->setText(name);
            dlg.BitBtn1->click();
            return dlg.result() == QDialog::Accepted;
        };
        QVERIFY(accept(QStringLiteral("erste")));
        QCOMPARE(dlg.collectionNumber(), 0);
        QCOMPARE(dlg.listFileName(), QStringLiteral("erste.qbx"));
        QCOMPARE(dlg.directory(), dir);
        QCOMPARE(QDir::currentPath(), dir);
        QVERIFY(dlg.Edit_Dateiname->text().isEmpty());
        // The trial file is gone again.
        QVERIFY(!QFile::exists(dir + QStringLiteral("/erste.qbx")));
        QVERIFY(ui.messages().isEmpty());

        touch(dir + QStringLiteral("/filme.db"));
        QVERIFY(accept(QStringLiteral("zweite")));
        QCOMPARE(dlg.collectionNumber(), 1);
        touch(dir + QStringLiteral("/filme1.db"));
        QVERIFY(accept(QStringLiteral("dritte")));
        QCOMPARE(dlg.collectionNumber(), 2);
        // A gap is filled: only the film tables' names count.
        QFile::remove(dir + QStringLiteral("/filme1.db"));
        touch(dir + QStringLiteral("/filme2.db"));
        touch(dir + QStringLiteral("/kass1.db"));
        QVERIFY(accept(QStringLiteral("vierte")));
        QCOMPARE(dlg.collectionNumber(), 1);
    }

    void cancelClearsTheName()
    {
        FakeInteraction ui;
        TForm_NeueVerwaltung dlg(ui);
        dlg.Edit_Dateiname->setText(QStringLiteral("halb"));
        dlg.setResult(QDialog::Accepted);
        dlg.BitBtn2->click();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QVERIFY(dlg.Edit_Dateiname->text().isEmpty());
    }

    void newDirectory()
    {
        FakeInteraction ui;
        const QString dir = freshDir(QStringLiteral("newdir"));
        TForm_NeueVerwaltung dlg(ui);
        dlg.VerzeichnisBox->setDirectory(dir);

        ui.inputAnswers = {QStringLiteral("Filme")};
        dlg.BitBtn_NeuesVerzeichnis->click();
        QCOMPARE(ui.shown.first().kind, FakeInteraction::Shown::Kind::Input);
        QCOMPARE(ui.shown.first().caption, QStringLiteral("Verzeichnis erstellen"));
        QCOMPARE(ui.shown.first().text, QStringLiteral("Bitte Verzeichnisname eingeben"));
        QVERIFY(QFileInfo(dir + QStringLiteral("/Filme")).isDir());
        QCOMPARE(dlg.VerzeichnisBox->directory(), dir + QStringLiteral("/Filme"));
        QVERIFY(ui.messages().isEmpty());

        // The same name again: the message, and the list still goes there.
        dlg.VerzeichnisBox->setDirectory(dir);
        QVERIFY(!dlg.VerzeichnisBox->findItems(QStringLiteral("Filme"), Qt::MatchExactly).isEmpty());
        ui.clear();
        ui.inputAnswers = {QStringLiteral("Filme")};
        dlg.BitBtn_NeuesVerzeichnis->click();
        QCOMPARE(ui.messages(), QStringList{QStringLiteral("Verzeichnis existiert bereits")});
        QCOMPARE(dlg.VerzeichnisBox->directory(), dir + QStringLiteral("/Filme"));

        // A cancelled input box gives an empty name: the same message, the list stays.
        ui.clear();
        dlg.BitBtn_NeuesVerzeichnis->click();
        QCOMPARE(ui.messages(), QStringList{QStringLiteral("Verzeichnis existiert bereits")});
        QCOMPARE(dlg.VerzeichnisBox->directory(), dir + QStringLiteral("/Filme"));
        QVERIFY(ui.errors().isEmpty());

        // Only a sub-directory of the listed one is made: a name that is a path of its own
        // gets the same message, nothing is created and the list stays where it was.
        const QString anderswo = freshDir(QStringLiteral("newdir-anderswo"));
        const QStringList unerlaubt = {QStringLiteral("gibt/es/nicht"),
                                       QStringLiteral("Neu/Unter"),
                                       anderswo + QStringLiteral("/absolut"),
                                       QStringLiteral(".."),
                                       QStringLiteral("../daneben"),
                                       QStringLiteral("."),
                                       QStringLiteral("a\\b")};
        for (const QString& name : unerlaubt) {
            ui.clear();
            ui.inputAnswers = {name};
            dlg.BitBtn_NeuesVerzeichnis->click();
            QCOMPARE(ui.messages(), QStringList{QStringLiteral("Verzeichnis existiert bereits")});
            QVERIFY2(ui.errors().isEmpty(), qPrintable(name));
            QCOMPARE(dlg.VerzeichnisBox->directory(), dir + QStringLiteral("/Filme"));
        }
        QVERIFY(QDir(dir + QStringLiteral("/Filme"))
                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                    .isEmpty());
        QVERIFY(QDir(anderswo).isEmpty());
        QVERIFY(!QFileInfo::exists(dir + QStringLiteral("/daneben")));
        QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Filme")});

        // A file of the typed name: the message, then the default error dialog for the
        // failed change of the list, which stays where it was.
        touch(dir + QStringLiteral("/Filme/datei"));
        ui.clear();
        ui.inputAnswers = {QStringLiteral("datei")};
        dlg.BitBtn_NeuesVerzeichnis->click();
        QCOMPARE(ui.messages(), QStringList{QStringLiteral("Verzeichnis existiert bereits")});
        QCOMPARE(ui.errors().size(), 1);
        QVERIFY(ui.errors().first().contains(QStringLiteral("existiert nicht")));
        QCOMPARE(dlg.VerzeichnisBox->directory(), dir + QStringLiteral("/Filme"));

        // ".." goes up again.
        auto items = dlg.VerzeichnisBox->findItems(QStringLiteral(".."), Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        emit dlg.VerzeichnisBox->itemActivated(items.first());
        QCOMPARE(dlg.VerzeichnisBox->directory(), dir);

        // A directory removed since it was listed: the default error dialog, and the
        // list stays where it was.
        QVERIFY(QDir(dir).mkdir(QStringLiteral("weg")));
        dlg.VerzeichnisBox->setDirectory(dir);
        items = dlg.VerzeichnisBox->findItems(QStringLiteral("weg"), Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        QVERIFY(QDir(dir).rmdir(QStringLiteral("weg")));
        ui.clear();
        emit dlg.VerzeichnisBox->itemActivated(items.first());
        QCOMPARE(ui.errors().size(), 1);
        QVERIFY(ui.errors().first().contains(QStringLiteral("existiert nicht")));
        QCOMPARE(dlg.VerzeichnisBox->directory(), dir);
        QCOMPARE(dlg.Label_Verzeichnis->text(), QDir::toNativeSeparators(dir));
    }

    void drivesWithoutMountedVolumes()
    {
        // In a container or chroot the system may list no volume: the root directory and
        // the home directory are offered anyway, each once, and the listed directory's
        // choice is selected.
        FakeInteraction ui;
        const QString dir = freshDir(QStringLiteral("drives"));
        TForm_NeueVerwaltung dlg(ui);
        dlg.VerzeichnisBox->setDirectory(dir);
        const auto choices = [&] {
            QStringList roots;
            for (int i = 0; i < dlg.DriveComboBox1->count(); ++i)
                roots.append(dlg.DriveComboBox1->itemData(i).toString());
            return roots;
        };
        const QString root = QDir::rootPath();
        const QString home = QDir::cleanPath(QDir::homePath());
        const QList<QList<QStorageInfo>> lists = {
            {}, QStorageInfo::mountedVolumes(), {QStorageInfo(root), QStorageInfo(root), QStorageInfo(home)}};
        for (const QList<QStorageInfo>& volumes : lists) {
            dlg.fillDrives(volumes);
            const QStringList roots = choices();
            QCOMPARE(roots.count(root), 1);
            QCOMPARE(roots.count(home), 1);
            QCOMPARE(QSet<QString>(roots.begin(), roots.end()).size(), roots.size());
            const QString current = dlg.DriveComboBox1->currentData().toString();
            QVERIFY2(
                dir == current ||
                    dir.startsWith(current.endsWith(QLatin1Char('/')) ? current : current + QLatin1Char('/')),
                qPrintable(current));
        }

        // Choosing the home directory lists it.
        dlg.fillDrives({});
        dlg.DriveComboBox1Change(dlg.DriveComboBox1->findData(home));
        QCOMPARE(dlg.VerzeichnisBox->directory(), home);
        QCOMPARE(dlg.DriveComboBox1->currentData().toString(), home);
    }

    void listFileIsOnlyReadFromARegularFile()
    {
        const QString dir = freshDir(QStringLiteral("listfile-arten"));
        const auto refused = [](const QString& path) {
            try {
                store::readCollectionNumber(path);
            } catch (const store::FileError& e) {
                return e.message().contains(QStringLiteral("ungültig"));
            }
            return false;
        };

        // A pipe would make the program wait for a writer for good. Should the reading
        // block anyway, a writer is opened after a while, so the test fails instead of hanging.
        const QString fifo = dir + QStringLiteral("/pipe.qbx");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QElapsedTimer uhr;
        uhr.start();
        auto ergebnis = std::async(std::launch::async, refused, fifo);
        if (ergebnis.wait_for(std::chrono::seconds(3)) != std::future_status::ready) {
            // A writer that closes at once gives the waiting reader its end of file.
            while (ergebnis.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
                const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
            }
            QFAIL("reading a pipe as list file blocked");
        }
        QVERIFY(ergebnis.get());
        QVERIFY(uhr.elapsed() < 1000);

        // A device is no list file either; a directory cannot be read as one.
        QVERIFY(refused(QStringLiteral("/dev/null")));
        QVERIFY(QDir(dir).mkdir(QStringLiteral("ordner.qbx")));
        try {
            store::readCollectionNumber(dir + QStringLiteral("/ordner.qbx"));
            QFAIL("directory read as list file");
        } catch (const store::FileError& e) {
            QVERIFY(e.message().contains(QStringLiteral("kann nicht gelesen werden")));
        }

        // Only the first line counts, up to a bound: a first line of up to 4 KiB is read,
        // a longer one is refused without reading on.
        const QString path = dir + QStringLiteral("/lang.qbx");
        touch(path, QByteArray(store::kMaxFirstLine, '5'));
        QCOMPARE(store::readCollectionNumber(path), QString(store::kMaxFirstLine, QLatin1Char('5')));
        touch(path, QByteArray(store::kMaxFirstLine - 2, '5') + "\r\n" + QByteArray(10'000, 'x'));
        QCOMPARE(store::readCollectionNumber(path), QString(store::kMaxFirstLine - 2, QLatin1Char('5')));
        touch(path, QByteArray(store::kMaxFirstLine + 1, '5'));
        QVERIFY(refused(path));
        touch(path, QByteArray(1 << 20, '5') + "\r\n");
        QVERIFY(refused(path));

        // A link to a list file is read as the file itself.
        touch(path, "4\r\n");
        QVERIFY(QFile::link(path, dir + QStringLiteral("/verweis.qbx")));
        QCOMPARE(store::readCollectionNumber(dir + QStringLiteral("/verweis.qbx")), QStringLiteral("4"));
    }

    void listFile()
    {
        const QString dir = freshDir(QStringLiteral("listfile"));
        const QString path = dir + QStringLiteral("/liste.qbx");

        store::writeCollectionNumber(path, 0);
        QCOMPARE(contentOf(path), QByteArray("0\r\n"));
        QCOMPARE(store::readCollectionNumber(path), QStringLiteral("0"));
        store::writeCollectionNumber(path, 12);
        QCOMPARE(contentOf(path), QByteArray("12\r\n"));
        QCOMPARE(store::readCollectionNumber(path), QStringLiteral("12"));

        // The first line's text, up to its line end; it goes between stem and ".db" as it
        // stands, leading zeros included.
        struct Read
        {
            QByteArray content;
            QString text;
        };
        const QList<Read> reads = {
            {"", QString()},
            {"\r\n", QString()},
            {"3", QStringLiteral("3")},
            {"3\n", QStringLiteral("3")},
            {"7\r\nx\r\n", QStringLiteral("7")},
            {"03\r\n", QStringLiteral("03")},
            {"12345678901", QStringLiteral("12345678901")},
            {QByteArray(300, '4') + "\r\n", QString(300, QLatin1Char('4'))},
        };
        for (const Read& r : reads) {
            touch(path, r.content);
            QCOMPARE(store::readCollectionNumber(path), r.text);
        }

        // Anything but a number could name files outside the directory: refused, also
        // after a long run of digits.
        for (const QByteArray& bad : {QByteArray("../x\r\n"), QByteArray("../../kass\r\n"), QByteArray("1/2"),
                                      QByteArray("a"), QByteArray("-1"), QByteArray(300, '1') + "/x"}) {
            touch(path, bad);
            try {
                store::readCollectionNumber(path);
                QFAIL(bad.constData());
            } catch (const store::FileError& e) {
                QVERIFY(e.message().contains(QStringLiteral("ungültig")));
            }
        }

        try {
            store::readCollectionNumber(dir + QStringLiteral("/fehlt.qbx"));
            QFAIL("missing file read");
        } catch (const store::FileError& e) {
            QVERIFY(e.message().startsWith(QStringLiteral("Datei nicht gefunden")));
        }
    }
};

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QApplication app(argc, argv);
    TestNeueVerwaltung test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_neueverwaltung.moc"
