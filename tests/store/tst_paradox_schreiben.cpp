#include <QTest>

class Platzhalter : public QObject
{
    Q_OBJECT
private slots:
    void nichts() {}
};

QTEST_GUILESS_MAIN(Platzhalter)
#include "tst_paradox_schreiben.moc"
