#include "collection.h"

#include "changes.h"
#include "collectiontables.h"
#include "engine.h"
#include "error.h"
#include "listfile.h"
#include "sicheresschreiben.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <array>
#include <sqlite3.h>

namespace store {

namespace {

const QString kKass = QLatin1String(tables::kKassStem);
const QString kFilme = QLatin1String(tables::kFilmeStem);
const QString kAusgeliehen = QLatin1String(tables::kAusgeliehenStem);
const QString kATimer = QLatin1String(tables::kATimerStem);

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
    m_listFile.clear();
}

void Collection::open(const QString& listFilePath)
{
    const QString number = readCollectionNumber(listFilePath);
    const QString directory = QFileInfo(listFilePath).absolutePath();
    tables::recoverCreations(directory); // a creation a crash interrupted there
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
    m_listFile = QFileInfo(listFilePath).absoluteFilePath();
}

void Collection::create(const QString& directory, const QString& listFile, int number)
{
    const QString listPath = QFileInfo(QDir(directory).filePath(listFile)).absoluteFilePath();
    const bool listExisted = QFileInfo::exists(listPath);
    tables::createCollection(directory, number, listFile);
    // The statements name their files without a directory, and so does the program.
    QDir::setCurrent(directory);
    m_kassetten->setTableName(tables::tableFileName(kKass, number));
    m_filme->setTableName(tables::tableFileName(kFilme, number));
    m_verliehen->setTableName(tables::tableFileName(kAusgeliehen, number));
    m_aufnahmetimer->setTableName(tables::tableFileName(kATimer, number));
    m_filmuebersicht->setTableName(tables::tableFileName(kFilme, number));
    try {
        for (Dataset* d : {m_kassetten, m_filme, m_verliehen, m_aufnahmetimer, m_filmuebersicht}) {
            d->setDatabaseName(directory);
            d->open();
        }
    } catch (...) {
        // A collection that cannot be opened is taken away again, so that the same
        // name can be tried once more; files that existed before are never touched.
        close();
        for (const char* stem :
             {tables::kKassStem, tables::kFilmeStem, tables::kAusgeliehenStem, tables::kATimerStem})
            QFile::remove(QDir(directory).filePath(tables::tableFileName(QLatin1String(stem), number)));
        if (!listExisted)
            QFile::remove(listPath);
        throw;
    }
    m_listFile = listPath;
}

int Collection::AktDS(Dataset& dataset) const
{
    return dataset.recNo();
}

namespace {

struct Tabelle
{
    const char* platzhalter;
    Dataset* dataset;
};

std::shared_ptr<engine::Connection> verbindung(const Dataset& kassetten)
{
    if (!kassetten.isActive())
        throw EngineError(QStringLiteral("Es ist keine Videoliste geöffnet."));
    return engine::Connection::forDirectory(kassetten.databaseName());
}

QByteArray schemaVon(engine::Connection& conn, const Dataset& d)
{
    QByteArray schema = conn.schemaOf(d.tableName());
    if (schema.isEmpty())
        throw EngineError(QStringLiteral("Die Tabelle %1 ist nicht geöffnet.").arg(d.tableName()));
    return schema;
}

// What a statement of an evaluation may do while it is compiled: read and compute.
// Everything else (writing, BEGIN, SAVEPOINT, ATTACH, DETACH, any PRAGMA) is refused,
// also what sqlite3_stmt_readonly() lets through.
int nurLesenErlaubt(void*, int aktion, const char*, const char*, const char*, const char*)
{
    switch (aktion) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    default:
        return SQLITE_DENY;
    }
}

// One plain SELECT compiled under nurLesenErlaubt; a second statement after it, an
// EXPLAIN or an empty text is refused as well.
engine::Stmt nurLesend(sqlite3* db, const QByteArray& sql)
{
    const auto verweigert = [] {
        return EngineError(QStringLiteral("Eine Auswertung darf die Tabellen nicht ändern; erlaubt ist "
                                          "eine einzelne SELECT-Anweisung."));
    };
    sqlite3_stmt* roh = nullptr;
    const char* rest = nullptr;
    sqlite3_set_authorizer(db, &nurLesenErlaubt, nullptr);
    const int rc = sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &roh, &rest);
    sqlite3_set_authorizer(db, nullptr, nullptr);
    engine::Stmt stmt(db, roh);
    if (rc == SQLITE_AUTH)
        throw verweigert();
    if (rc != SQLITE_OK)
        engine::fail(db, rc, QString());
    if (!roh || !QByteArray(rest).trimmed().isEmpty() || sqlite3_stmt_isexplain(roh) ||
        !sqlite3_stmt_readonly(roh))
        throw verweigert();
    return stmt;
}

// A destination file of the backup; closed on every way out.
struct Ziel
{
    sqlite3* db = nullptr;
    ~Ziel()
    {
        if (db)
            sqlite3_close_v2(db);
    }
};

} // namespace

std::vector<QVariantList> Collection::auswerten(const QString& sql, const QVariantList& parameter) const
{
    auto conn = verbindung(*m_kassetten);
    QString text = sql;
    const std::array<Tabelle, 4> tabellen = {{
        {"{kass}", m_kassetten},
        {"{filme}", m_filme},
        {"{ausgelhn}", m_verliehen},
        {"{atimer}", m_aufnahmetimer},
    }};
    for (const Tabelle& t : tabellen)
        if (text.contains(QLatin1String(t.platzhalter)))
            text.replace(QLatin1String(t.platzhalter),
                         QString::fromUtf8(schemaVon(*conn, *t.dataset) + '.' + QByteArray(engine::kTable)));

    engine::Stmt stmt = nurLesend(conn->db(), text.toUtf8());
    if (sqlite3_bind_parameter_count(stmt.get()) != parameter.size())
        throw EngineError(QStringLiteral("Die Auswertung erwartet %1 Werte, nicht %2.")
                              .arg(sqlite3_bind_parameter_count(stmt.get()))
                              .arg(parameter.size()));
    for (int i = 0; i < parameter.size(); ++i)
        stmt.bind(i + 1, parameter[i]);
    std::vector<QVariantList> zeilen;
    const int spalten = sqlite3_column_count(stmt.get());
    while (stmt.step()) {
        QVariantList z;
        z.reserve(spalten);
        for (int c = 0; c < spalten; ++c)
            z << stmt.column(c);
        zeilen.push_back(std::move(z));
    }
    stmt.reset();
    return zeilen;
}

Collection::Sicherung Collection::sicherungErstellen(const QString& zielVerzeichnis, int seitenGrenze)
{
    auto conn = verbindung(*m_kassetten);
    if (changeOpen())
        throw EngineError(QStringLiteral("Während einer Änderung kann keine Sicherung erstellt werden."));
    const std::array<Dataset*, 5> alle = {m_kassetten, m_filme, m_filmuebersicht, m_verliehen,
                                          m_aufnahmetimer};
    for (Dataset* d : alle)
        if (d->state() != Dataset::State::Browse)
            throw EngineError(QStringLiteral("Ein Datensatz wird noch bearbeitet; bitte erst speichern."));

    const QDir ziel(zielVerzeichnis);
    if (zielVerzeichnis.isEmpty() || !QFileInfo(zielVerzeichnis).isDir())
        throw FileError(QStringLiteral("Das Verzeichnis %1 existiert nicht.")
                            .arg(QDir::toNativeSeparators(zielVerzeichnis)));
    if (!ziel.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        throw FileError(
            QStringLiteral("Das Verzeichnis %1 ist nicht leer; bitte ein leeres Verzeichnis wählen.")
                .arg(QDir::toNativeSeparators(zielVerzeichnis)));

    // Everything this backup writes; taken away again when it fails.
    QStringList geschrieben;
    Sicherung ergebnis;
    try {
        for (Dataset* d : {m_kassetten, m_filme, m_verliehen, m_aufnahmetimer}) {
            const QByteArray schema = schemaVon(*conn, *d);
            const QString pfad = ziel.absoluteFilePath(d->tableName());
            geschrieben << pfad << pfad + QStringLiteral("-journal");
            Ziel z;
            int rc = sqlite3_open_v2(QFile::encodeName(pfad).constData(), &z.db,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
            if (rc != SQLITE_OK)
                engine::fail(z.db, rc, QDir::toNativeSeparators(pfad));
            sqlite3_extended_result_codes(z.db, 1);
            if (seitenGrenze > 0) {
                const QByteArray pragma = "PRAGMA max_page_count=" + QByteArray::number(seitenGrenze);
                sqlite3_exec(z.db, pragma.constData(), nullptr, nullptr, nullptr);
            }
            sqlite3_backup* b = sqlite3_backup_init(z.db, "main", conn->db(), schema.constData());
            if (!b)
                engine::fail(z.db, sqlite3_errcode(z.db), QDir::toNativeSeparators(pfad));
            // All pages in one step: nothing else runs on this thread meanwhile, so
            // the copy is one consistent state of the table.
            rc = sqlite3_backup_step(b, -1);
            const int fertig = sqlite3_backup_finish(b);
            if (rc != SQLITE_DONE)
                engine::fail(nullptr, rc, QDir::toNativeSeparators(pfad));
            if (fertig != SQLITE_OK)
                engine::fail(z.db, fertig, QDir::toNativeSeparators(pfad));

            engine::Stmt pruefung(z.db, "PRAGMA integrity_check");
            const QString antwort = pruefung.step() ? pruefung.column(0).toString() : QString();
            if (antwort != QLatin1String("ok"))
                throw EngineError(QStringLiteral("Die Kopie von %1 besteht die Integritätsprüfung nicht: %2")
                                      .arg(d->tableName(), antwort));
        }

        const QString liste = ziel.absoluteFilePath(QFileInfo(m_listFile).fileName());
        geschrieben << liste;
        {
            QFile quelle(m_listFile);
            QString grund;
            if (!quelle.open(QIODevice::ReadOnly)) {
                grund = quelle.errorString();
            } else {
                const QByteArray inhalt = quelle.readAll();
                grund =
                    quelle.error() != QFile::NoError ? quelle.errorString() : dateiSchreiben(liste, inhalt);
            }
            if (!grund.isEmpty())
                throw FileError(QStringLiteral("Die Listendatei konnte nicht nach %1 kopiert werden:\n\r%2")
                                    .arg(QDir::toNativeSeparators(liste), grund));
        }

        // The copy must open as a collection of its own and hold the same rows.
        auto zaehlen = [](const Collection& c) {
            const auto z = c.auswerten(QStringLiteral("SELECT (SELECT count(*) FROM {kass}), "
                                                      "(SELECT count(*) FROM {filme}), "
                                                      "(SELECT count(*) FROM {ausgelhn}), "
                                                      "(SELECT count(*) FROM {atimer})"));
            return z.front();
        };
        Collection kopie;
        kopie.open(liste);
        const QVariantList hier = zaehlen(*this);
        const QVariantList dort = zaehlen(kopie);
        kopie.close();
        if (hier != dort)
            throw EngineError(
                QStringLiteral("Die Kopie enthält nicht dieselben Datensätze wie das Original."));
        ergebnis.listFile = liste;
        ergebnis.kassetten = hier[0].toLongLong();
        ergebnis.filme = hier[1].toLongLong();
        ergebnis.verliehen = hier[2].toLongLong();
        ergebnis.aufnahmen = hier[3].toLongLong();
    } catch (...) {
        for (const QString& f : std::as_const(geschrieben))
            QFile::remove(f);
        throw;
    }
    return ergebnis;
}

} // namespace store
