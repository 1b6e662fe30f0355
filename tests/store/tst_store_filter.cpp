// Filters, the title collation with find-nearest, and the item model over a dataset.

#include "storetesthelpers.h"

#include <QAbstractItemModelTester>
#include <QLocale>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <store/datasetmodel.h>
#include <store/dates.h>
#include <store/filter.h>

using namespace store;
using namespace storetest;

namespace {

struct Films
{
    QString dir;
    Dataset kass, filme;
    explicit Films(const QString& name)
    {
        dir = collection(name);
        point(kass, dir, tables::kKassStem);
        point(filme, dir, tables::kFilmeStem);
        kass.open();
        filme.open();
    }
    void cassette(int frei, bool original)
    {
        kass.append();
        kass.setInteger(QStringLiteral("Frei"), frei);
        if (original)
            kass.setBoolean(QStringLiteral("Original"), true); // the others never written
        kass.post();
    }
    void film(const QString& name, int length, const QDate& datum = {}, const QString& genre = {})
    {
        filme.append();
        filme.setString(QStringLiteral("Filmname"), name);
        filme.setInteger(QStringLiteral("Filmlaenge"), length);
        filme.setString(QStringLiteral("Genre"), genre);
        if (datum.isValid())
            filme.setDate(QStringLiteral("Datum"), datum);
        filme.post();
    }
};

QList<int> column(Dataset& ds, const char* field)
{
    QList<int> v;
    for (int r = 0; r < ds.rowCount(); ++r)
        v << ds.valueAt(r, QLatin1String(field)).toInt();
    return v;
}

} // namespace

class TestStoreFilter : public QObject
{
    Q_OBJECT

private slots:
    void freeSpaceFilter();
    void dateFilter();
    void dateFilterInEveryLocale();
    void daysBeyondTheStorableRange();
    void filterErrorsAndHostileInput();
    void longAndDeepFilters();
    void titleCollationAndFindNearest();
    void orderings();
    void model();
};

void TestStoreFilter::freeSpaceFilter()
{
    Films f(QStringLiteral("freefilter"));
    f.cassette(120, false); // 1
    f.cassette(60, false);  // 2
    f.cassette(200, true);  // 3 bought tape
    f.cassette(90, false);  // 4
    f.kass.setFilter(QString());
    f.kass.setFiltered(true); // empty expression: all rows
    QCOMPARE(f.kass.recordCount(), 4);
    f.kass.setFilter(QStringLiteral("(Frei >=90) AND (Original<>1)"));
    QCOMPARE(column(f.kass, "Nummer"), (QList<int>{1, 4}));
    f.kass.first();
    int walked = 0;
    for (; !f.kass.eof(); f.kass.next())
        ++walked;
    QCOMPARE(walked, 2);
    // A negative amount admits every cassette that is not a bought tape.
    f.kass.setFilter(QStringLiteral("(Frei >=-5) AND (Original<>1)"));
    QCOMPARE(column(f.kass, "Nummer"), (QList<int>{1, 2, 4}));
    // Lifting the filter shows all again; an empty boolean compares as false.
    f.kass.setFiltered(false);
    QCOMPARE(f.kass.recordCount(), 4);
    f.kass.setFilter(QStringLiteral("Original = FALSE"));
    f.kass.setFiltered(true);
    QCOMPARE(column(f.kass, "Nummer"), (QList<int>{1, 2, 4}));
    f.kass.setFilter(QStringLiteral("NOT (Frei < 100) OR nummer = 2"));
    QCOMPARE(column(f.kass, "Nummer"), (QList<int>{1, 2, 3}));
}

void TestStoreFilter::dateFilter()
{
    Films f(QStringLiteral("datefilter"));
    f.film(QStringLiteral("Alt"), 90, QDate(1998, 5, 18));
    f.film(QStringLiteral("Stichtag"), 90, QDate(1998, 5, 19));
    f.film(QStringLiteral("Neu"), 90, QDate(2026, 1, 2));
    f.film(QStringLiteral("Ohne"), 90);
    f.filme.setFilter(QStringLiteral("DATUM >= 19.05.1998"));
    QCOMPARE(f.filme.recordCount(), 4); // not applied yet
    f.filme.setFiltered(true);
    QCOMPARE(titles(f.filme), (QStringList{QStringLiteral("Stichtag"), QStringLiteral("Neu")}));
    f.filme.setFilter(QStringLiteral("Datum < '1.5.2000'"));
    QCOMPARE(titles(f.filme), (QStringList{QStringLiteral("Alt"), QStringLiteral("Stichtag")}));
    f.filme.setFiltered(false);
    QCOMPARE(f.filme.recordCount(), 4);
    // A post that moves the current row out of the filter leaves the cursor on a valid row.
    f.filme.setFilter(QStringLiteral("Filmlaenge = 90"));
    f.filme.setFiltered(true);
    f.filme.first();
    f.filme.edit();
    f.filme.setInteger(QStringLiteral("Filmlaenge"), 10);
    f.filme.post();
    QCOMPARE(f.filme.recordCount(), 3);
    QCOMPARE(f.filme.recNo(), 1);
}

// The overview writes the filter date in the locale's short format, whatever
// blanks, dots and letters it holds; the filter reads it back.
void TestStoreFilter::dateFilterInEveryLocale()
{
    Films f(QStringLiteral("datefilterlocales"));
    f.film(QStringLiteral("Alt"), 90, QDate(1998, 5, 18));
    f.film(QStringLiteral("Stichtag"), 90, QDate(1998, 5, 19));
    f.film(QStringLiteral("Neu"), 30, QDate(2026, 1, 2));
    const QStringList since{QStringLiteral("Stichtag"), QStringLiteral("Neu")};
    const auto restore = qScopeGuard([] { testing_support::initTestEnvironment(); });
    for (const char* name : {"de_DE", "en_US", "hu_HU", "bg_BG", "sk_SK", "ko_KR", "lt_LT"}) {
        QLocale::setDefault(QLocale(QLatin1String(name)));
        const QString day = formatDate(QDate(1998, 5, 19));
        QCOMPARE(parseDate(day), QDate(1998, 5, 19));
        f.filme.setFiltered(false);
        f.filme.setFilter(QStringLiteral("DATUM >= ") + day);
        f.filme.setFiltered(true);
        QVERIFY2(titles(f.filme) == since, qPrintable(QLatin1String(name) + QLatin1Char(' ') + day));
        f.filme.setFilter(QStringLiteral("(Datum>=%1) AND (Filmlaenge <%2)").arg(day).arg(60));
        QVERIFY2(titles(f.filme) == QStringList{QStringLiteral("Neu")}, qPrintable(day));
        f.filme.setFilter(QStringLiteral("(Datum < %1)OR(Filmlaenge=30)").arg(day));
        QVERIFY2(titles(f.filme) == (QStringList{QStringLiteral("Alt"), QStringLiteral("Neu")}),
                 qPrintable(day));
    }
    // The number forms stay numbers.
    QLocale::setDefault(QLocale(QLatin1String("hu_HU")));
    f.filme.setFilter(QStringLiteral("(Filmlaenge >=90) AND (Filmlaenge<>1)"));
    QCOMPARE(f.filme.recordCount(), 2);
}

// A DATE field holds 01.01.0001 to 31.12.9999; any other day is refused with a
// message. A filter reads back the five-digit years formatDate writes for the days
// after that range and compares them after every stored day.
void TestStoreFilter::daysBeyondTheStorableRange()
{
    Films f(QStringLiteral("fardates"));
    for (const QDate& day : {QDate(1, 1, 1), QDate(9999, 12, 31), QDate(10000, 1, 1), QDate(-1, 12, 31)}) {
        f.filme.append();
        f.filme.setString(QStringLiteral("Filmname"), formatDate(day));
        try {
            f.filme.setDate(QStringLiteral("Datum"), day);
            f.filme.post();
            QVERIFY2(day.year() >= 1 && day.year() <= 9999, qPrintable(formatDate(day)));
        } catch (const EngineError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("31.12.9999")), qPrintable(e.message()));
            f.filme.cancel();
        }
    }
    const QString far = formatDate(QDate(29406, 1, 3));
    const QStringList both{QStringLiteral("01.01.0001"), QStringLiteral("31.12.9999")};
    const std::pair<QString, QStringList> filters[] = {
        {QStringLiteral("Datum <= ") + far, both},
        {QStringLiteral("Datum >= ") + far, {}},
        {QStringLiteral("Datum = ") + far, {}},
        {QStringLiteral("(Datum >= 01.01.2000) AND (Datum < %1)").arg(far), {both[1]}},
    };
    f.filme.setFiltered(true);
    for (const auto& [expression, expected] : filters) {
        f.filme.setFilter(expression);
        QVERIFY2(titles(f.filme) == expected, qPrintable(expression));
    }
}

void TestStoreFilter::filterErrorsAndHostileInput()
{
    Films f(QStringLiteral("filtererr"));
    f.film(QStringLiteral("x'); DROP TABLE tabelle; --"), 1);
    f.film(QStringLiteral("Zwei"), 2);
    f.filme.setFiltered(true);
    const QString bad[] = {
        QStringLiteral("Frei >= 90"), // no such field
        QStringLiteral("(Filmlaenge >= 90"),
        QStringLiteral("Filmlaenge >="),
        QStringLiteral("Filmlaenge 90"),
        QStringLiteral("Filmlaenge >= 90)"),
        QStringLiteral("Filmlaenge >= 'abc'"),
        QStringLiteral("Datum >= 19.05.98"),
        QStringLiteral("Datum >= 32.13.1998"),
        QStringLiteral("Filmname = 'x'); DROP TABLE tabelle; --"),
        QStringLiteral("Filmname = x'); DROP TABLE tabelle"),
        QStringLiteral("Filmlaenge = 1; DELETE FROM tabelle"),
        QStringLiteral("Bild = 1"),
        QStringLiteral("AND"),
        QStringLiteral("Filmlaenge == 1"),
        QString(500, QLatin1Char('(')),
    };
    for (const QString& e : bad) {
        try {
            f.filme.setFilter(e);
            QFAIL(qPrintable(QStringLiteral("accepted: ") + e));
        } catch (const EngineError& err) {
            QVERIFY(!err.message().isEmpty());
        }
        QCOMPARE(f.filme.recordCount(), 2); // the previous filter (none) still applies
    }
    try {
        f.filme.setFilter(QStringLiteral("Unbekannt = 1"));
    } catch (const EngineError& err) {
        QVERIFY2(err.message().contains(QStringLiteral("Unbekannt")) &&
                     err.message().contains(QStringLiteral("nicht gefunden")),
                 qPrintable(err.message()));
    }
    // Quotes inside text are only text.
    f.filme.setFilter(QStringLiteral("Filmname = \"x'); DROP TABLE tabelle; --\""));
    QCOMPARE(f.filme.recordCount(), 1);
    f.filme.setFilter(QStringLiteral("Filmname = 'x''); DROP TABLE tabelle; --'"));
    QCOMPARE(f.filme.recordCount(), 1);
    f.filme.setFiltered(false);
    QCOMPARE(f.filme.recordCount(), 2);

    // The compiled form carries only our column names and parameters.
    engine::TableInfo info;
    engine::Field n;
    n.name = QStringLiteral("Frei");
    n.type = FieldType::Integer;
    engine::Field o;
    o.name = QStringLiteral("Original");
    o.type = FieldType::Boolean;
    info.fields = {n, o};
    const auto c = engine::compileFilter(QStringLiteral("(Frei >=90) AND (Original<>1)"), info);
    QCOMPARE(c.sql, QByteArray("((\"Frei\" >= ?) AND (COALESCE(\"Original\",0) <> ?))"));
    QCOMPARE(c.params.size(), size_t(2));
}

void TestStoreFilter::longAndDeepFilters()
{
    Films f(QStringLiteral("filterlang"));
    for (int length = 1; length <= 5; ++length)
        f.film(QStringLiteral("Film %1").arg(length), length);
    f.filme.setFiltered(true);
    const auto chain = [](int count, const char* op) {
        QStringList terms;
        for (int i = 0; i < count; ++i)
            terms << QStringLiteral("Filmlaenge = %1").arg(i % 4 + 1);
        return terms.join(QLatin1String(op));
    };
    const auto refused = [&f](const QString& e, const QString& why) {
        try {
            f.filme.setFilter(e);
        } catch (const EngineError& err) {
            QVERIFY2(err.message().contains(why), qPrintable(err.message()));
            return;
        }
        QFAIL("accepted");
    };

    // Long chains of alternatives, as a filter built from a selection list would be.
    f.filme.setFilter(chain(120, " OR "));
    QCOMPARE(f.filme.recordCount(), 4);
    f.filme.setFilter(chain(500, " OR "));
    QCOMPARE(f.filme.recordCount(), 4);
    f.filme.setFilter(QStringLiteral("Filmlaenge >= 2") +
                      QStringLiteral(" AND NOT Filmlaenge = 3").repeated(200));
    QCOMPARE(f.filme.recordCount(), 3);
    refused(chain(501, " OR "), QStringLiteral("zu lang"));

    // Nesting within what the engine takes works; beyond, it is refused in plain German.
    QString nested = QStringLiteral("Filmlaenge = 5");
    for (int i = 0; i < 8; ++i)
        nested = QStringLiteral("Filmlaenge = 1 OR Filmlaenge = %1 AND (%2)").arg(i % 4 + 1).arg(nested);
    f.filme.setFilter(nested);
    QCOMPARE(f.filme.recordCount(), 1);
    f.filme.setFilter(QStringLiteral("NOT ").repeated(20) + QStringLiteral("Filmlaenge = 5"));
    QCOMPARE(f.filme.recordCount(), 1);
    refused(QStringLiteral("NOT ").repeated(30) + QStringLiteral("Filmlaenge = 5"),
            QStringLiteral("zu tief"));
    for (int i = 0; i < 8; ++i)
        nested = QStringLiteral("Filmlaenge = 1 OR Filmlaenge = 2 AND (%1)").arg(nested);
    refused(nested, QStringLiteral("zu tief"));
    QCOMPARE(f.filme.recordCount(), 1); // the last accepted filter still applies
}

void TestStoreFilter::titleCollationAndFindNearest()
{
    Films f(QStringLiteral("collation"));
    f.film(QStringLiteral("Zorro"), 1);
    f.film(QStringLiteral("apfel"), 2);
    f.film(QStringLiteral("Äpfel"), 3);
    f.film(QStringLiteral("Apfel"), 4);
    f.film(QStringLiteral("Birne"), 5);
    f.film(QStringLiteral("Straße"), 6);
    f.film(QStringLiteral("Strasse"), 7);
    f.film(QStringLiteral("Öl"), 8);
    f.filme.setIndexFieldNames(QStringLiteral("Filmname"));
    // Equal folding keys keep key order.
    QCOMPARE(titles(f.filme),
             (QStringList{QStringLiteral("apfel"), QStringLiteral("Äpfel"), QStringLiteral("Apfel"),
                          QStringLiteral("Birne"), QStringLiteral("Öl"), QStringLiteral("Straße"),
                          QStringLiteral("Strasse"), QStringLiteral("Zorro")}));
    f.filme.findNearest(QStringLiteral("APFEL"));
    QCOMPARE(f.filme.recNo(), 1);
    f.filme.findNearest(QStringLiteral("b"));
    QCOMPARE(f.filme.asString(QStringLiteral("Filmname")), QStringLiteral("Birne"));
    f.filme.findNearest(QStringLiteral("om"));
    QCOMPARE(f.filme.asString(QStringLiteral("Filmname")), QStringLiteral("Straße"));
    f.filme.findNearest(QStringLiteral("ol"));
    QCOMPARE(f.filme.asString(QStringLiteral("Filmname")), QStringLiteral("Öl"));
    f.filme.findNearest(QStringLiteral("zz"));
    QCOMPARE(f.filme.recNo(), f.filme.recordCount()); // nothing greater: the last row
    f.filme.findNearest(QString());
    QCOMPARE(f.filme.recNo(), 1);
    // Find nearest respects the filter.
    f.filme.setFilter(QStringLiteral("Filmlaenge > 3"));
    f.filme.setFiltered(true);
    f.filme.findNearest(QStringLiteral("a"));
    QCOMPARE(f.filme.asString(QStringLiteral("Filmname")), QStringLiteral("Apfel"));

    f.filme.close();
    f.kass.close();
    QCOMPARE(shell(f.dir + QStringLiteral("/filme.db"), QStringLiteral("PRAGMA integrity_check")),
             QStringLiteral("ok"));
    // The index on the key column serves the title order without a sort step.
    QVERIFY(
        !shell(f.dir + QStringLiteral("/filme.db"),
               QStringLiteral("EXPLAIN QUERY PLAN SELECT Zaehler FROM tabelle ORDER BY Filmname__k, Zaehler"))
             .contains(QStringLiteral("TEMP B-TREE")));
}

void TestStoreFilter::orderings()
{
    Films f(QStringLiteral("orderings"));
    f.film(QStringLiteral("B"), 30, {}, QStringLiteral("Krimi"));
    f.film(QStringLiteral("A"), 10, {}, QStringLiteral("krimi"));
    f.film(QStringLiteral("C"), 20, {}, QStringLiteral("Action"));
    f.filme.locate(2);
    f.filme.setIndexFieldNames(QStringLiteral("Genre;Filmname"));
    QCOMPARE(titles(f.filme), (QStringList{QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("B")}));
    QCOMPARE(f.filme.asString(QStringLiteral("Filmname")), QStringLiteral("A")); // current row kept
    f.filme.setIndexFieldNames(QStringLiteral("Filmlaenge"));
    QCOMPARE(titles(f.filme), (QStringList{QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("B")}));
    QCOMPARE(f.filme.recNo(), 1);
    QVERIFY_THROWS_EXCEPTION(EngineError, f.filme.findNearest(QStringLiteral("Krimi")));
    f.filme.setIndexFieldNames(QStringLiteral("Genre"));
    f.filme.findNearest(QStringLiteral("KRIMI"));
    QCOMPARE(f.filme.asString(QStringLiteral("Filmname")), QStringLiteral("B")); // key breaks the tie
    QVERIFY_THROWS_EXCEPTION(EngineError, f.filme.setIndexFieldNames(QStringLiteral("Genre;Fehlt")));
    QCOMPARE(f.filme.indexFieldNames(), QStringLiteral("Genre"));
}

void TestStoreFilter::model()
{
    Films f(QStringLiteral("model"));
    f.film(QStringLiteral("Eins"), 90, QDate(2026, 5, 19));
    f.film(QStringLiteral("Zwei"), 60);
    DatasetModel m(&f.filme,
                   {{QStringLiteral("Filmname"), QString(), Qt::AlignLeft, 214, false, Qt::AlignHCenter},
                    {QStringLiteral("Filmlaenge"), QStringLiteral("Länge (Min.)"), Qt::AlignHCenter, 81,
                     false, Qt::AlignHCenter},
                    {QStringLiteral("Datum"), QString(), Qt::AlignLeft, 80, true, Qt::AlignHCenter}});
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(m.rowCount(), 2);
    QCOMPARE(m.columnCount(), 3);
    QCOMPARE(m.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Filmname"));
    QCOMPARE(m.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Länge (Min.)"));
    QCOMPARE(m.headerData(1, Qt::Horizontal, Qt::UserRole).toInt(), 81);
    QCOMPARE(m.data(m.index(0, 2)).toString(), QStringLiteral("19.05.2026"));
    QCOMPARE(m.data(m.index(1, 1)).toString(), QStringLiteral("60"));
    QCOMPARE(m.data(m.index(1, 1), Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::AlignHCenter | Qt::AlignVCenter);
    QVERIFY(!(m.flags(m.index(0, 2)) & Qt::ItemIsEditable));
    QVERIFY(m.flags(m.index(0, 0)) & Qt::ItemIsEditable);

    // A cell edit goes into the pending row.
    QSignalSpy current(&m, &DatasetModel::currentChanged);
    QVERIFY(m.setData(m.index(0, 0), QStringLiteral("Eins neu")));
    QCOMPARE(f.filme.state(), Dataset::State::Edit);
    QCOMPARE(m.data(m.index(0, 0)).toString(), QStringLiteral("Eins neu"));
    // A value that cannot be converted is refused with the engine's message.
    QSignalSpy errors(&m, &DatasetModel::errorOccurred);
    QVERIFY(!m.setData(m.index(0, 1), QStringLiteral("abc")));
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.first().first().toString(), QStringLiteral("'abc' ist kein gültiger Integerwert"));
    // Editing another row stores the first.
    QVERIFY(m.setData(m.index(1, 1), 61));
    QCOMPARE(f.filme.currentRow(), 1);
    QVERIFY(!current.isEmpty());
    f.filme.post();
    f.filme.refresh();
    QCOMPARE(f.filme.valueAt(0, QStringLiteral("Filmname")).toString(), QStringLiteral("Eins neu"));

    // The pending new row shows as a row of its own, and goes again when dropped.
    f.filme.append();
    QCOMPARE(m.rowCount(), 3);
    QVERIFY(m.setData(m.index(2, 0), QStringLiteral("Drei")));
    f.filme.cancel();
    QCOMPARE(m.rowCount(), 2);
    f.filme.insert();
    QCOMPARE(m.rowCount(), 3);
    f.filme.setString(QStringLiteral("Filmname"), QStringLiteral("Null"));
    f.filme.post();
    QCOMPARE(m.rowCount(), 3);
    f.filme.remove();
    QCOMPARE(m.rowCount(), 2);
    m.moveTo(0);
    QCOMPARE(m.currentRow(), 0);
    // Sorting and filtering reset the rows.
    f.filme.setIndexFieldNames(QStringLiteral("Filmlaenge"));
    QCOMPARE(m.data(m.index(0, 1)).toString(), QStringLiteral("61"));
    f.filme.setFilter(QStringLiteral("Filmlaenge > 80"));
    f.filme.setFiltered(true);
    QCOMPARE(m.rowCount(), 1);
    f.filme.close();
    QCOMPARE(m.rowCount(), 0);
}

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QCoreApplication app(argc, argv);
    TestStoreFilter t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_store_filter.moc"
