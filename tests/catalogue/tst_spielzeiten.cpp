#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <catalogue/hinzufuegenformular.h>
#include <catalogue/spielzeiteintrag.h>
#include <catalogue/spielzeitformular.h>
#include <fakeinteraction.h>

using namespace quorbel;

namespace {

QStringList mitZusaetzlichen()
{
    return eingebauteSpielzeiten() << QStringLiteral("E - 480") << QStringLiteral("E - 90");
}

const QStringList kSortiert = {QStringLiteral("E - 180"), QStringLiteral("E - 200"),
                               QStringLiteral("E - 240"), QStringLiteral("E - 260"),
                               QStringLiteral("E - 300"), QStringLiteral("E - 480"),
                               QStringLiteral("E - 90"),  QStringLiteral("Kaufvideo")};

} // namespace

class TestSpielzeiten : public QObject
{
    Q_OBJECT
private slots:
    void eintraegeLesen();
    void sortierung();
    void aenderungPruefen();
    void neueKassetteDialog();
    void neueKassetteDialogBeimZeigen();
    void spielzeitAendernDialog();
};

void TestSpielzeiten::eintraegeLesen()
{
    QCOMPARE(spielzeitMinuten(QStringLiteral("E - 180")), std::optional<int>(180));
    QCOMPARE(spielzeitMinuten(QStringLiteral("E - 90")), std::optional<int>(90));
    QCOMPARE(spielzeitMinuten(QStringLiteral("E - 0")), std::optional<int>(0));
    QCOMPARE(spielzeitMinuten(QStringLiteral("E - -5")), std::optional<int>(-5)); // the list accepts it
    for (const char* falsch : {"E - abc", "E - ", "E -", "", "Kaufvideo", "E - 18 0", "E - 1.5", "E - 12a",
                               "E - 99999999999", "E - -", "E - 1,5"})
        QVERIFY2(!spielzeitMinuten(QString::fromUtf8(falsch)).has_value(), falsch);

    QVERIFY(istKaufvideo(QStringLiteral("Kaufvideo")));
    QVERIFY(!istKaufvideo(QStringLiteral("kaufvideo")));
    QVERIFY(!istKaufvideo(QStringLiteral("E - 180")));

    const auto kauf = SpielzeitEintrag::lesen(QStringLiteral("Kaufvideo"));
    QVERIFY(kauf.istKaufvideo() && kauf.istGueltig() && !kauf.minuten());
    const auto leer = SpielzeitEintrag::lesen(QStringLiteral("E - 240"));
    QCOMPARE(leer.art(), SpielzeitEintrag::Art::Minuten);
    QCOMPARE(leer.minuten(), std::optional<int>(240));
    const auto kaputt = SpielzeitEintrag::lesen(QStringLiteral("E - abc"));
    QVERIFY(!kaputt.istGueltig() && !kaputt.istKaufvideo() && !kaputt.minuten());
    QVERIFY(ungueltigeSpielzeitMeldung(QStringLiteral("E - abc")).contains(QStringLiteral("\"E - abc\"")));
}

void TestSpielzeiten::sortierung()
{
    // Text order, not number order; "Kaufvideo" last; case does not matter; duplicates stay.
    QCOMPARE(sortierteSpielzeiten(mitZusaetzlichen()), kSortiert);
    QCOMPARE(sortierteSpielzeiten({QStringLiteral("e - 95"), QStringLiteral("Kaufvideo"),
                                   QStringLiteral("E - 200"), QStringLiteral("E - 200")}),
             (QStringList{QStringLiteral("E - 200"), QStringLiteral("E - 200"), QStringLiteral("e - 95"),
                          QStringLiteral("Kaufvideo")}));
    THinzufuegenformular neu;
    QCOMPARE(neu.spielzeiten(), sortierteSpielzeiten(eingebauteSpielzeiten()));
    neu.setSpielzeiten(mitZusaetzlichen());
    QCOMPARE(neu.spielzeiten(), kSortiert);
    TSpielzeit_Formular aendern;
    aendern.setSpielzeiten(mitZusaetzlichen());
    QCOMPARE(aendern.spielzeiten(), kSortiert);
}

void TestSpielzeiten::aenderungPruefen()
{
    using Art = SpielzeitAenderung::Art;
    const QString laufzeit =
        QStringLiteral("Die Laufzeit aller Filme überschreitet die\n\rSpielzeit der Kassette. "
                       "Bitte Löschen Sie\n\rvorher genug Filme.");
    const QString maximal = QStringLiteral("Es darf maximal noch 1 Film auf der Kassette sein,\n\r"
                                           "wenn diese zum Kaufvideo umgeschrieben werden soll.");
    // "E - 240" with films of 100 and 90 minutes.
    auto a = spielzeitAendern(QStringLiteral("E - 180"), 2, 190);
    QCOMPARE(a.art, Art::ZuKurz);
    QCOMPARE(a.meldung, laufzeit);
    a = spielzeitAendern(QStringLiteral("E - 200"), 2, 190);
    QCOMPARE(a.art, Art::Spielzeit);
    QCOMPARE(a.spielzeit, 200);
    QVERIFY(!a.abgelehnt());
    a = spielzeitAendern(QStringLiteral("E - 190"), 2, 190); // equal to the total: accepted
    QCOMPARE(a.art, Art::Spielzeit);
    a = spielzeitAendern(QStringLiteral("Kaufvideo"), 2, 190);
    QCOMPARE(a.art, Art::ZuVieleFilme);
    QCOMPARE(a.meldung, maximal);
    // One film of 95 minutes, or none, to a bought tape.
    a = spielzeitAendern(QStringLiteral("Kaufvideo"), 1, 95);
    QCOMPARE(a.art, Art::Kaufvideo);
    QCOMPARE(a.spielzeit, 95);
    a = spielzeitAendern(QStringLiteral("Kaufvideo"), 0, 0);
    QCOMPARE(a.art, Art::Kaufvideo);
    QCOMPARE(a.spielzeit, 0);
    // A bought tape whose film runs 210 minutes.
    QCOMPARE(spielzeitAendern(QStringLiteral("E - 200"), 1, 210).art, Art::ZuKurz);
    QCOMPARE(spielzeitAendern(QStringLiteral("E - 240"), 1, 210).spielzeit, 240);
    // A hand-edited entry: refused with its own message, before any capacity test.
    a = spielzeitAendern(QStringLiteral("E - abc"), 0, 0);
    QCOMPARE(a.art, Art::Unlesbar);
    QVERIFY(a.abgelehnt());
    QVERIFY(a.meldung.contains(QStringLiteral("E - abc")));
}

void TestSpielzeiten::neueKassetteDialog()
{
    THinzufuegenformular d;
    QCOMPARE(d.objectName(), QStringLiteral("Hinzufuegenformular"));
    QCOMPARE(d.windowTitle(), QStringLiteral("Kassette hinzufügen"));
    QCOMPARE(d.findChild<QLabel*>()->text(), QStringLiteral("Bitte Spieldauer der Kassette auswählen"));
    QCOMPARE(d.BitBtn_Abbruch->text(), QStringLiteral("Abbruch"));
    QVERIFY(!d.ComboBox_Spielzeit->isEditable());
    QVERIFY(!d.BitBtn_Ok->isEnabled());

    testing_support::FakeInteraction ui;
    // First use: an entry is chosen through the list, which enables OK.
    ui.dialogAnswers.push_back([](QDialog& dlg) {
        auto& f = static_cast<THinzufuegenformular&>(dlg);
        f.FormActivate();
        if (f.BitBtn_Ok->isEnabled() || f.ComboBox_Spielzeit->currentIndex() != -1)
            return -1;
        f.ComboBox_Spielzeit->setCurrentIndex(f.ComboBox_Spielzeit->findText(QStringLiteral("E - 240")));
        if (!f.BitBtn_Ok->isEnabled())
            return -2;
        f.BitBtn_Ok->click();
        return f.result();
    });
    QCOMPARE(ui.exec(d), int(QDialog::Accepted));
    QCOMPARE(d.gewaehlteSpielzeit(), QStringLiteral("E - 240"));

    // Second use: whatever was chosen before, no entry and OK disabled.
    d.FormActivate();
    QCOMPARE(d.ComboBox_Spielzeit->currentIndex(), -1);
    QVERIFY(d.gewaehlteSpielzeit().isEmpty());
    QVERIFY(!d.BitBtn_Ok->isEnabled());

    // A choice taken back disables OK again; cancelling returns Rejected.
    d.ComboBox_Spielzeit->setCurrentIndex(0);
    QVERIFY(d.BitBtn_Ok->isEnabled());
    d.ComboBox_Spielzeit->setCurrentIndex(-1);
    QVERIFY(!d.BitBtn_Ok->isEnabled());
    d.ComboBox_Spielzeit->setCurrentIndex(1);
    d.BitBtn_Abbruch->click();
    QCOMPARE(d.result(), int(QDialog::Rejected));
    // Filling the list anew also starts without a choice.
    d.setSpielzeiten(mitZusaetzlichen());
    QVERIFY(d.gewaehlteSpielzeit().isEmpty());
    QVERIFY(!d.BitBtn_Ok->isEnabled());
}

void TestSpielzeiten::neueKassetteDialogBeimZeigen()
{
    // Shown for real (offscreen): the reset happens at every showing.
    THinzufuegenformular d;
    for (int i = 0; i < 2; ++i) {
        QTimer::singleShot(0, &d, [&d] {
            QVERIFY(!d.BitBtn_Ok->isEnabled());
            QCOMPARE(d.ComboBox_Spielzeit->currentIndex(), -1);
            d.ComboBox_Spielzeit->setCurrentIndex(2);
            d.BitBtn_Ok->click();
        });
        QCOMPARE(d.exec(), int(QDialog::Accepted));
        QCOMPARE(d.gewaehlteSpielzeit(), QStringLiteral("E - 240"));
    }
    TSpielzeit_Formular a;
    a.ComboBox_Spielzeiten->setCurrentIndex(1);
    QVERIFY(a.BitBtn_Ok->isEnabled());
    QTimer::singleShot(0, &a, [&a] {
        QVERIFY(!a.BitBtn_Ok->isEnabled());
        a.BitBtn_Abbruch->click();
    });
    QCOMPARE(a.exec(), int(QDialog::Rejected));
}

void TestSpielzeiten::spielzeitAendernDialog()
{
    TSpielzeit_Formular d;
    QCOMPARE(d.objectName(), QStringLiteral("Spielzeit_Formular"));
    QCOMPARE(d.windowTitle(), QStringLiteral("Kassettenspielzeit ändern"));
    QCOMPARE(d.findChild<QLabel*>()->text(), QStringLiteral("Bitte wählen Sie die neue Spielzeit aus"));
    QCOMPARE(d.BitBtn_Abbruch->text(), QStringLiteral("Abbruch"));
    QVERIFY(!d.ComboBox_Spielzeiten->isEditable());
    QVERIFY(!d.BitBtn_Ok->isEnabled());

    d.FormActivate();
    QVERIFY(!d.BitBtn_Ok->isEnabled());
    d.ComboBox_Spielzeiten->setCurrentIndex(d.ComboBox_Spielzeiten->findText(QStringLiteral("Kaufvideo")));
    QVERIFY(d.BitBtn_Ok->isEnabled());
    QCOMPARE(d.gewaehlteSpielzeit(), QStringLiteral("Kaufvideo"));

    // The reset after every use: next time no choice and OK disabled.
    d.zuruecksetzen();
    QCOMPARE(d.ComboBox_Spielzeiten->currentIndex(), -1);
    QVERIFY(d.gewaehlteSpielzeit().isEmpty());
    QVERIFY(!d.BitBtn_Ok->isEnabled());
    d.FormActivate();
    QVERIFY(!d.BitBtn_Ok->isEnabled());
}

int main(int argc, char** argv)
{
    testing_support::initTestEnvironment();
    QApplication app(argc, argv);
    TestSpielzeiten t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_spielzeiten.moc"
