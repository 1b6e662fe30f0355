#pragma once

#include <QDate>
#include <QTest>
#include <store/collection.h>
#include <testenvironment.h>

namespace extrastest {

inline void kassette(store::Collection& c, int spielzeit, int belegt, bool original)
{
    store::Dataset& k = c.kassetten();
    k.append();
    k.setInteger(QStringLiteral("Posi"), k.recordCount() + 1);
    k.setInteger(QStringLiteral("Spielzeit"), spielzeit);
    k.setInteger(QStringLiteral("Belegt"), belegt);
    k.setInteger(QStringLiteral("Frei"), original ? 0 : spielzeit - belegt);
    k.setBoolean(QStringLiteral("Original"), original);
    k.post();
}

// A film on cassette `nummer`; a negative length stays empty.
inline void film(store::Collection& c, int nummer, const QString& titel, int laenge, const QString& genre,
                 const QDate& datum)
{
    QVERIFY(c.kassetten().locate(nummer));
    store::Dataset& f = c.filme();
    f.append();
    f.setString(QStringLiteral("Filmname"), titel);
    if (laenge >= 0)
        f.setInteger(QStringLiteral("Filmlaenge"), laenge);
    f.setString(QStringLiteral("Genre"), genre);
    f.setDate(QStringLiteral("Datum"), datum);
    f.post();
}

} // namespace extrastest
