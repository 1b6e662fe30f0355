#include "collectiontables.h"

#include "dataset.h"
#include "query.h"

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

void createCollection(int number)
{
    struct Table
    {
        const char* stem;
        QStringList (*create)();
        QStringList (*indexes)(const QString&);
    };
    const Table all[] = {{kKassStem, &createKass, nullptr},
                         {kFilmeStem, &createFilme, &filmeIndexes},
                         {kAusgeliehenStem, &createAusgeliehen, &ausgeliehenIndexes},
                         {kATimerStem, &createATimer, &atimerIndexes}};
    for (const Table& t : all) {
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
    }
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
