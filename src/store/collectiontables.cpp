#include "collectiontables.h"

#include "dataset.h"
#include "engine.h"
#include "error.h"
#include "listfile.h"
#include "query.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

namespace store::tables {

QStringList createKass()
{
    return {QStringLiteral("CREATE TABLE \"kass.db\""),
            QStringLiteral("(Nummer AUTOINC,"),
            QStringLiteral("Posi INTEGER,"),
            QStringLiteral("Spielzeit INTEGER,"),
            QStringLiteral("Belegt INTEGER,"),
            QStringLiteral("Frei INTEGER,"),
            QStringLiteral("Nullfilme BOOLEAN,"),
            QStringLiteral("Verliehen BOOLEAN,"),
            QStringLiteral("Original BOOLEAN,"),
            QStringLiteral("PRIMARY KEY (Nummer));"),
            QString()};
}

QStringList createFilme()
{
    return {QStringLiteral("CREATE TABLE \"filme.db\""),
            QStringLiteral("(Zaehler AUTOINC,"),
            QStringLiteral("Zu_Kassette INTEGER,"),
            QStringLiteral("Filmname CHAR(50),"),
            QStringLiteral("Filmlaenge INTEGER,"),
            QStringLiteral("Genre CHAR(40),"),
            QStringLiteral("Datum DATE,"),
            QStringLiteral("Bild BLOB(0,5),"),
            QStringLiteral("Bild_Vorhanden BOOLEAN,"),
            QStringLiteral("Beschreibung BLOB(5,1),"),
            QStringLiteral("PRIMARY KEY (Zaehler))")};
}

QStringList createAusgeliehen()
{
    return {QStringLiteral("CREATE TABLE \"ausgelhn.db\""),
            QStringLiteral("(Zaehler AUTOINC,"),
            QStringLiteral("Kassette INTEGER,"),
            QStringLiteral("Datum DATE,"),
            QStringLiteral("An CHAR(40),"),
            QStringLiteral("Anzeigen BOOLEAN,"),
            QStringLiteral("Meldung_Am DATE,"),
            QStringLiteral("PRIMARY KEY (Zaehler));"),
            QString()};
}

QStringList createATimer()
{
    return {QStringLiteral("CREATE TABLE \"atimer.db\""),
            QStringLiteral("(Zaehler AUTOINC,"),
            QStringLiteral("Filmname CHAR(50),"),
            QStringLiteral("Programm CHAR(20),"),
            QStringLiteral("Datum DATE,"),
            QStringLiteral("Beginn TIME,"),
            QStringLiteral("Ende TIME,"),
            QStringLiteral("Laenge INTEGER,"),
            QStringLiteral("Anzeigen BOOLEAN,"),
            QStringLiteral("PRIMARY KEY (Zaehler));")};
}

namespace {
QString index(const char* name, const QString& file, const char* fields)
{
    return QStringLiteral("CREATE INDEX %1 ON \"%2\" (%3)")
        .arg(QLatin1String(name), file, QLatin1String(fields));
}
} // namespace

QStringList filmeIndexes(const QString& f)
{
    return {index("iZu_Kassette", f, "Zu_Kassette"), index("iFilmname", f, "Filmname"),
            index("iFilmlaenge", f, "Filmlaenge"), index("iGenre", f, "Genre,Filmname")};
}

QStringList ausgeliehenIndexes(const QString& f)
{
    return {index("iAn", f, "An"), index("iDatum", f, "Datum"), index("iKassette", f, "Kassette")};
}

QStringList atimerIndexes(const QString& f)
{
    return {index("iDatum", f, "Datum,Beginn")};
}

QString tableFileName(const QString& stem, int number)
{
    return number <= 0 ? stem + QStringLiteral(".db")
                       : stem + QString::number(number) + QStringLiteral(".db");
}

QString tableFileName(const QString& stem, const QString& numberText)
{
    if (numberText == QLatin1String("0"))
        return stem + QStringLiteral(".db");
    return stem + numberText + QStringLiteral(".db");
}

QString createTableLine(const QString& fileName)
{
    return QStringLiteral("CREATE TABLE \"%1\"").arg(fileName);
}

namespace {

struct Table
{
    const char* stem;
    QStringList (*create)();
    QStringList (*indexes)(const QString&);
};
const Table kTables[] = {{kKassStem, &createKass, nullptr},
                         {kFilmeStem, &createFilme, &filmeIndexes},
                         {kAusgeliehenStem, &createAusgeliehen, &ausgeliehenIndexes},
                         {kATimerStem, &createATimer, &atimerIndexes}};

// The working directory of a creation, beside the collection: "Neuanlage<N>.tmp" while
// it is built, "Neuanlage<N>.bereit" once complete. Inside it the four tables under
// their own names and the file kListFileNote naming the list file to write.
constexpr char kWorkPrefix[] = "Neuanlage";
constexpr char kBuilding[] = ".tmp";
constexpr char kDecided[] = ".bereit";
constexpr char kListFileNote[] = "Listendatei";

QString workName(int number, const char* state)
{
    return QLatin1String(kWorkPrefix) + QString::number(number) + QLatin1String(state);
}

QStringList tableFiles(int number)
{
    QStringList files;
    for (const Table& t : kTables)
        files << tableFileName(QLatin1String(t.stem), number);
    return files;
}

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A file that a working directory of `number` can hold: the note, a table, its
// temporary name while the statement runner builds it, and their journals.
bool madeByCreation(const QString& entry, int number)
{
    if (entry == QLatin1String(kListFileNote))
        return true;
    for (const QString& table : tableFiles(number)) {
        for (const QString& name : {table, table + QStringLiteral(".entsteht")})
            if (entry == name || entry == name + QStringLiteral("-journal") ||
                entry.startsWith(name + QStringLiteral("-mj")))
                return true;
    }
    return false;
}

// Removes a working directory with what a creation puts into it; a directory that
// holds anything else stays (false).
bool removeWorkDirectory(const QDir& dir, const QString& name, int number)
{
    const QDir work(dir.filePath(name));
    if (!work.exists())
        return true;
    const QStringList entries = work.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries)
        if (madeByCreation(entry, number))
            QFile::remove(work.filePath(entry));
    return dir.rmdir(name);
}

// The second half of a creation, once its working directory is decided: every table
// still in it is moved into place (its stale journals removed first), the list file
// is written, the directory removed. `moved` collects the tables moved here.
void finishCreation(const QDir& dir, int number, const std::function<void()>& step, QStringList* moved)
{
    const QDir work(dir.filePath(workName(number, kDecided)));
    for (const QString& table : tableFiles(number)) {
        if (!work.exists(table))
            continue; // moved before
        const QString target = dir.filePath(table);
        if (QFileInfo::exists(target))
            throw EngineError(QStringLiteral("Die Tabelle %1 existiert bereits.").arg(table));
        engine::removeStaleJournals(target);
        if (!QFile::rename(work.filePath(table), target))
            throw FileError(QStringLiteral("Die Tabelle %1 kann nicht nach %2 verschoben werden.")
                                .arg(table, native(dir.path())));
        if (moved)
            *moved << target;
        step();
    }
    QFile note(work.filePath(QLatin1String(kListFileNote)));
    if (note.open(QIODevice::ReadOnly)) {
        const QString listFile = QString::fromUtf8(note.readAll());
        note.close();
        if (!listFile.isEmpty()) {
            writeCollectionNumber(listFile, number);
            step();
        }
    }
    if (!removeWorkDirectory(dir, work.dirName(), number))
        throw FileError(
            QStringLiteral("Das Verzeichnis %1 kann nicht gelöscht werden.").arg(native(work.path())));
    step();
}

// The number of a working directory's name, -1 when the name is none of ours.
int workNumber(const QString& name, const char* state)
{
    const QString prefix = QLatin1String(kWorkPrefix);
    const QString suffix = QLatin1String(state);
    if (!name.startsWith(prefix) || !name.endsWith(suffix) || name.size() <= prefix.size() + suffix.size())
        return -1;
    const QString digits = name.mid(prefix.size(), name.size() - prefix.size() - suffix.size());
    bool ok = false;
    const int number = digits.toInt(&ok);
    return ok && number >= 0 && digits == QString::number(number) ? number : -1;
}

} // namespace

void recoverCreations(const QString& directory)
{
    const QDir dir(directory);
    const QStringList building = dir.entryList(
        {QLatin1String(kWorkPrefix) + QStringLiteral("*") + QLatin1String(kBuilding)}, QDir::Dirs);
    for (const QString& name : building)
        if (const int number = workNumber(name, kBuilding); number >= 0)
            removeWorkDirectory(dir, name, number);
    const QStringList decided = dir.entryList(
        {QLatin1String(kWorkPrefix) + QStringLiteral("*") + QLatin1String(kDecided)}, QDir::Dirs);
    for (const QString& name : decided) {
        const int number = workNumber(name, kDecided);
        if (number < 0)
            continue;
        try {
            finishCreation(
                dir, number, [] {}, nullptr);
        } catch (const Error&) {
            // Tried again at the next creation or opening; a file that took a
            // table's name meanwhile is never replaced.
        }
    }
}

void createCollection(const QString& directory, int number, const QString& listFile,
                      const std::function<void()>& afterStep)
{
    const QDir dir(QDir(directory).absolutePath());
    const auto step = [&afterStep] {
        if (afterStep)
            afterStep();
    };
    recoverCreations(dir.path());
    for (const QString& table : tableFiles(number))
        if (QFileInfo::exists(dir.filePath(table)))
            throw EngineError(QStringLiteral("Die Tabelle %1 existiert bereits.").arg(table));
    const QString building = workName(number, kBuilding);
    if (QFileInfo::exists(dir.filePath(building)) || !dir.mkdir(building))
        throw FileError(
            QStringLiteral("Im Verzeichnis %1 kann nicht geschrieben werden.").arg(native(dir.path())));
    step();

    QStringList moved;
    try {
        const QDir work(dir.filePath(building));
        {
            // The statements name their files without a directory.
            const QString previous = QDir::currentPath();
            if (!QDir::setCurrent(work.path()))
                throw FileError(QStringLiteral("Das Verzeichnis %1 kann nicht geöffnet werden.")
                                    .arg(native(work.path())));
            const auto back = qScopeGuard([&previous] { QDir::setCurrent(previous); });
            for (const Table& t : kTables) {
                const QString file = tableFileName(QLatin1String(t.stem), number);
                Query q;
                q.sql = t.create();
                if (number > 0)
                    q.sql[0] = createTableLine(file);
                q.execSQL();
                if (t.indexes)
                    for (const QString& statement : t.indexes(file)) {
                        q.sql = QStringList{statement};
                        q.execSQL();
                    }
                step();
            }
        }
        QFile note(work.filePath(QLatin1String(kListFileNote)));
        const QByteArray listPath =
            listFile.isEmpty() ? QByteArray() : dir.absoluteFilePath(listFile).toUtf8();
        if (!note.open(QIODevice::WriteOnly) || note.write(listPath) != listPath.size() || !note.flush())
            throw FileError(
                QStringLiteral("Im Verzeichnis %1 kann nicht geschrieben werden.").arg(native(work.path())));
        note.close();
        step();
        // The deciding step: from here on the collection is finished, also after a crash.
        if (!QDir(dir).rename(building, workName(number, kDecided)))
            throw FileError(
                QStringLiteral("Im Verzeichnis %1 kann nicht geschrieben werden.").arg(native(dir.path())));
        step();
        finishCreation(dir, number, step, &moved);
    } catch (...) {
        // A creation that fails here is taken back whole; files that existed before
        // are never touched.
        for (const QString& table : std::as_const(moved))
            QFile::remove(table);
        removeWorkDirectory(dir, building, number);
        removeWorkDirectory(dir, workName(number, kDecided), number);
        throw;
    }
}

void createCollection(int number)
{
    createCollection(QDir::currentPath(), number);
}

void configureDatasets(Dataset& kassetten, Dataset& filme, Dataset& filmuebersicht, Dataset& verliehen,
                       Dataset& aufnahmetimer)
{
    kassetten.setIndexFieldNames(QString());
    kassetten.setFilter(QString());
    kassetten.setFiltered(true);

    filme.setIndexFieldNames(QStringLiteral("Zu_Kassette"));
    filme.setMaster(&kassetten, QStringLiteral("Nummer"), QStringLiteral("Zu_Kassette"));

    filmuebersicht.setIndexFieldNames(QStringLiteral("Zu_Kassette"));
    filmuebersicht.setReadOnly(true);

    verliehen.setIndexFieldNames(QStringLiteral("Kassette"));
    aufnahmetimer.setIndexFieldNames(QStringLiteral("Datum;Beginn"));
}

} // namespace store::tables
