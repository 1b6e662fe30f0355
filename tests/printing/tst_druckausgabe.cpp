#include "druckhelfer.h"

#include <QApplication>
#include <QTest>
class T : public QObject
{
    Q_OBJECT
};
int main(int c, char** v)
{
    QApplication a(c, v);
    T t;
    return QTest::qExec(&t, c, v);
}
#include "tst_druckausgabe.moc"
