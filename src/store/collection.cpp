#include "collection.h"

#include "collectiontables.h"
#include "error.h"
#include "listfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <array>

namespace store {

namespace {

const QString kKass = QLatin1String(tables::kKassStem);
const QString kFilme = QLatin1String(tables::kFilmeStem);
const QString kAusgeliehen = QLatin1String(tables::kAusgeliehenStem);
const QString kATimer = QLatin1String(tables::kATimerStem);

// Removes the table files that a failed creation made, never any other file.
struct CreatedTables
{
    QStringList files;
    void removeAll()
    {
        for (const QString& f : std::as_const(files))
            QFile::remove(f);
        files.clear();
    }
};

Dataset* named(QObject* parent, const char* name)
{
    auto* d = new Dataset(parent);
    d->setObjectName(QLatin1String(name));
    return d;
}

} // namespace

Collection::Collection(QObject* parent)
    : QObject(parent), m_kassetten(named(this, "Table_Kassetten")), m_filme(named(this, "Table_Filme")),
      m_filmuebersicht(named(this, "Table_Filmuebersicht")), m_verliehen(named(this, "Table_Verliehen")),
      m_aufnahmetimer(named(this, "Table_Aufnahmetimer"))
{
    setObjectName(QStringLiteral("Collection"));
    tables::configureDatasets(*m_kassetten, *m_filme, *m_filmuebersicht, *m_verliehen, *m_aufnahmetimer);
    m_queryKass.sql = tables::createKass();
    m_queryFilme.sql = tables::createFilme();
    m_queryAusgeliehen.sql = tables::createAusgeliehen();
    m_queryATimer.sql = tables::createATimer();
}

Collection::~Collection() = default;

void Collection::close()
{
    m_verliehen->close();
    m_aufnahmetimer->close();
    m_filmuebersicht->close();
    m_filme->close();
    m_kassetten->close();
}

void Collection::open(const QString& listFilePath)
{
    const QString number = readCollectionNumber(listFilePath);
    const QString directory = QFileInfo(listFilePath).absolutePath();
    struct Opening
    {
        Dataset* dataset;
        QString stem;
    };
    const std::array<Opening, 5> order = {{
        {m_kassetten, kKass},
        {m_filme, kFilme},
        {m_verliehen, kAusgeliehen},
        {m_aufnahmetimer, kATimer},
        {m_filmuebersicht, kFilme},
    }};
    try {
        for (const Opening& o : order) {
            o.dataset->setTableName(tables::tableFileName(o.stem, number));
            o.dataset->setDatabaseName(directory);
            o.dataset->open();
        }
    } catch (...) {
        // Leave nothing half open.
        close();
        throw;
    }
}

void Collection::create(const QString& directory, const QString& listFile, int number)
{
    // Keep the statement texts; they are put back on every way out, also after a failure.
    m_sqlKass.sql = m_queryKass.sql;
    m_sqlFilme.sql = m_queryFilme.sql;
    m_sqlAtimer.sql = m_queryATimer.sql;
    m_sqlAusgeliehen.sql = m_queryAusgeliehen.sql;
    struct Restore
    {
        Collection& c;
        ~Restore()
        {
            c.m_queryKass.sql = c.m_sqlKass.sql;
            c.m_queryFilme.sql = c.m_sqlFilme.sql;
            c.m_queryATimer.sql = c.m_sqlAtimer.sql;
            c.m_queryAusgeliehen.sql = c.m_sqlAusgeliehen.sql;
        }
    } restore{*this};

    // Table file names of this collection; a numbered one gets its own first lines.
    const QString kass = tables::tableFileName(kKass, number);
    const QString filme = tables::tableFileName(kFilme, number);
    const QString ausgelhn = tables::tableFileName(kAusgeliehen, number);
    const QString atimer = tables::tableFileName(kATimer, number);
    if (number > 0) {
        auto firstLine = [](Query& q, const QString& file) {
            q.sql.removeFirst();
            q.sql.prepend(tables::createTableLine(file));
        };
        firstLine(m_queryKass, kass);
        firstLine(m_queryFilme, filme);
        firstLine(m_queryAusgeliehen, ausgelhn);
        firstLine(m_queryATimer, atimer);
    }
    m_kassetten->setTableName(kass);
    m_filme->setTableName(filme);
    m_verliehen->setTableName(ausgelhn);
    m_aufnahmetimer->setTableName(atimer);
    m_filmuebersicht->setTableName(filme);

    // The statements name their files without a directory.
    if (!QDir::setCurrent(directory))
        throw FileError(QStringLiteral("Das Verzeichnis %1 kann nicht geöffnet werden.")
                            .arg(QDir::toNativeSeparators(directory)));

    CreatedTables created;
    try {
        auto createTable = [&created](Query& q, const QString& file) {
            q.execSQL();
            created.files << QDir::current().absoluteFilePath(file);
        };
        auto createIndexes = [](Query& q, const QStringList& statements) {
            for (const QString& statement : statements) {
                q.sql = QStringList{statement};
                q.execSQL();
            }
        };
        createTable(m_queryKass, kass);
        createTable(m_queryFilme, filme);
        createIndexes(m_queryFilme, tables::filmeIndexes(filme));
        createTable(m_queryAusgeliehen, ausgelhn);
        createIndexes(m_queryAusgeliehen, tables::ausgeliehenIndexes(ausgelhn));
        createTable(m_queryATimer, atimer);
        createIndexes(m_queryATimer, tables::atimerIndexes(atimer));

        // Open the new tables, then write the list file that names them.
        for (Dataset* d : {m_kassetten, m_filme, m_verliehen, m_aufnahmetimer, m_filmuebersicht}) {
            d->setDatabaseName(directory);
            d->open();
        }
        writeCollectionNumber(QDir(directory).filePath(listFile), number);
    } catch (...) {
        // A half-made collection is taken away again, so that the same name can be
        // tried once more; files that existed before are never touched.
        close();
        created.removeAll();
        throw;
    }
}

int Collection::AktDS(Dataset& dataset) const
{
    return dataset.recNo();
}

} // namespace store
