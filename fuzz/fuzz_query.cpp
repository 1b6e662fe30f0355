// The statement runner: any statement text is either carried out or refused with an
// EngineError, and a refused statement leaves nothing behind. Runs in a scratch
// directory that holds one existing table, "t.db", for CREATE INDEX.
//
// Inputs with a path separator are skipped: the file names of a statement are taken
// as given, and the fuzzer must not create files outside its scratch directory.

#include "fuzzsupport.h"

#include <QFile>
#include <store/error.h>
#include <store/query.h>

namespace {

QString templateTable;

QStringList files()
{
    return QDir(fuzzsupport::scratchDir()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::start(false);
    // The existing table is built once in a directory of its own and copied in for each input.
    static QTemporaryDir templates(QDir::tempPath() + QStringLiteral("/quorbel-fuzz-XXXXXX"));
    QDir::setCurrent(templates.path());
    store::Query q;
    q.sql << QStringLiteral("CREATE TABLE \"t.db\" (Nummer AUTOINC, Titel CHAR(20), Zahl INTEGER,")
          << QStringLiteral("Bild BLOB(0,5), PRIMARY KEY (Nummer))");
    q.execSQL();
    templateTable = templates.path() + QStringLiteral("/t.db");
    QDir::setCurrent(fuzzsupport::scratchDir());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    if (text.contains(QLatin1Char('/')) || text.contains(QLatin1Char('\\')))
        return 0;

    fuzzsupport::clearScratch();
    const QString table = fuzzsupport::scratchDir() + QStringLiteral("/t.db");
    fuzzsupport::check(QFile::copy(templateTable, table), "table not copied");
    const QStringList before = files();

    store::Query q;
    q.sql = text.split(QLatin1Char('\n'));
    try {
        q.execSQL();
    } catch (const store::EngineError&) {
        fuzzsupport::check(files() == before, "a refused statement left files behind");
        return 0;
    }
    for (const QString& name : files())
        fuzzsupport::check(!name.endsWith(QLatin1String(".entsteht")), "a temporary table file is left");
    return 0;
}
