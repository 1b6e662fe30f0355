// The film list of 50,000 films: layout and PDF through the report layer, beside bare
// QPainter text drawing of the same strings at the same places on a QPdfWriter.
// Prints both medians and ratio=<ours/bare>. With --vorschau it instead opens the
// preview of the same list offscreen and prints the peak memory of the process.
//
//   QT_QPA_PLATFORM=offscreen print_bench [--vorschau]   (Release build)

#include <QApplication>
#include <QBuffer>
#include <QDate>
#include <QDialog>
#include <QElapsedTimer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewWidget>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <printing/filmliste.h>
#include <printing/reportfont.h>
#include <printing/reportpainter.h>
#include <printing/reportpreview.h>
#include <sys/resource.h>
#include <ui/interaction.h>
#include <vector>

using namespace quorbel;

namespace {

constexpr int kFilme = 50000;

const char* const kWoerter[] = {"Apfel",  "Äpfel",   "Straße",  "Nacht",      "Tag",   "Liebe",
                                "Krieg",  "Frieden", "Ölprinz", "Schatz",     "Insel", "Stadt",
                                "Himmel", "Hölle",   "Zorro",   "Übermorgen", "Wolf",  "Berg"};
const char* const kGenres[] = {"Action",  "Komödie", "Krimi",           "Drama",
                               "Western", "Horror",  "Science Fiction", "Zeichentrick"};

class Zeilen final : public report::RowSource
{
public:
    struct Zeile
    {
        QString kassette, titel, laenge, genre;
    };
    std::vector<Zeile> zeilen;

    Zeilen()
    {
        QRandomGenerator rng(42);
        zeilen.reserve(kFilme);
        for (int i = 0; i < kFilme; ++i) {
            QString t;
            for (int w = 0, n = 1 + int(rng.bounded(4)); w < n; ++w)
                t += (w ? QStringLiteral(" ") : QString()) + QString::fromUtf8(kWoerter[rng.bounded(18)]);
            zeilen.push_back({QString::number(i / 10 + 1), t, QString::number(60 + rng.bounded(120)),
                              QString::fromUtf8(kGenres[rng.bounded(8)])});
        }
    }
    int anzahl() const override { return int(zeilen.size()); }
    QString wert(int z, const QString& feld) const override
    {
        const Zeile& r = zeilen[std::size_t(z)];
        if (feld == QLatin1String("Zu_Kassette"))
            return r.kassette;
        if (feld == QLatin1String("Filmname"))
            return r.titel;
        if (feld == QLatin1String("Filmlaenge"))
            return r.laenge;
        return r.genre;
    }
};

druck::FilmlisteLauf lauf()
{
    return {QDate(2026, 12, 8), std::nullopt, QStringLiteral("Zu_Kassette")};
}

void a4(QPdfWriter& pdf)
{
    pdf.setResolution(1200);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
}

qint64 unsere(const Zeilen& zeilen)
{
    QBuffer puffer;
    puffer.open(QIODevice::WriteOnly);
    const auto bericht = druck::filmliste(druck::FilmlisteEinstellungen{}, lauf(), zeilen);
    QPdfWriter pdf(&puffer);
    a4(pdf);
    report::seitenDrucken(pdf, {bericht->seitenzahl(), [&](int s) { return bericht->seite(s); }});
    return puffer.size();
}

// The same strings at the same places, drawn one by one at their points.
qint64 bare(const Zeilen& zeilen)
{
    QBuffer puffer;
    puffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&puffer);
    a4(pdf);
    QPainter p(&pdf);
    const double f = 1200.0 / 96.0;
    const QFont titel = report::qtSchrift({QStringLiteral("Times New Roman"), 24, false, false}, f);
    const QFont kopf = report::qtSchrift({QStringLiteral("Arial"), 8, true, false}, f);
    const QFont fett = kopf;
    const QFont normal = report::qtSchrift({QStringLiteral("Arial"), 8, false, false}, f);
    const int links[] = {38 + 17, 38 + 98, 38 + 459, 38 + 560};
    const QString koepfe[] = {QStringLiteral("Kassette"), QStringLiteral("Filmname"),
                              QStringLiteral("Filmlaenge"), QStringLiteral("Genre")};
    int y = 38;
    p.setFont(titel);
    p.drawText(QPointF(300 * f, (y + 30) * f), QStringLiteral("Videoliste"));
    p.setFont(normal);
    p.drawText(QPointF(360 * f, (y + 50) * f), QStringLiteral("Stand : 08.12.2026"));
    y += 85;
    const auto kopfZeile = [&] {
        p.setFont(kopf);
        for (int s = 0; s < 4; ++s)
            p.drawText(QPointF(links[s] * f, (y + 12) * f), koepfe[s]);
        y += 22;
    };
    kopfZeile();
    for (const Zeilen::Zeile& z : zeilen.zeilen) {
        if (y + 22 > 1085) {
            pdf.newPage();
            y = 38;
            kopfZeile();
        }
        p.setFont(fett);
        p.drawText(QPointF(links[0] * f, (y + 12) * f), z.kassette);
        p.setFont(normal);
        p.drawText(QPointF(links[1] * f, (y + 12) * f), z.titel);
        p.drawText(QPointF(links[2] * f, (y + 12) * f), z.laenge);
        p.drawText(QPointF(links[3] * f, (y + 12) * f), z.genre);
        y += 22;
    }
    p.setFont(normal);
    p.drawText(QPointF(333 * f, (y + 40) * f), QStringLiteral("Anzahl der Aufnahmen :"));
    p.drawText(QPointF(456 * f, (y + 40) * f), QString::number(kFilme));
    p.end();
    return puffer.size();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

long spitzeMb()
{
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_maxrss / 1024;
}

// Closes the preview as soon as it has drawn its pages.
class Zuschauer final : public Interaction
{
public:
    int seiten = 0;

protected:
    MsgButton showMessage(const Message&) override { return Ok; }
    QString showInputBox(const QString&, const QString&, const QString& initial) override { return initial; }
    QString showFileChooser(const QString&, const QString&) override { return {}; }
    QString showSaveFileChooser(const QString&, const QString&) override { return {}; }
    int showDialog(QDialog& d) override
    {
        d.show();
        QCoreApplication::processEvents();
        if (auto* v = d.findChild<QPrintPreviewWidget*>(QStringLiteral("Vorschau"))) {
            v->updatePreview();
            seiten = v->pageCount();
            for (int s = 1; s <= seiten; s += std::max(1, seiten / 20)) {
                v->setCurrentPage(s);
                QCoreApplication::processEvents();
            }
        }
        return QDialog::Rejected;
    }
    void showErrorDialog(const QString&) override {}
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    report::schriftersatzEinrichten();
    const Zeilen zeilen;

    if (argc > 1 && QByteArray(argv[1]) == "--vorschau") {
        const long vorher = spitzeMb();
        const auto bericht = druck::filmliste(druck::FilmlisteEinstellungen{}, lauf(), zeilen);
        Zuschauer ui;
        QElapsedTimer uhr;
        uhr.start();
        vorschauZeigen(ui, {bericht->seitenzahl(), [&](int s) { return bericht->seite(s); }},
                       QStringLiteral("Videoliste"));
        std::printf("preview of %d films: %d pages, %.1f s, peak memory %ld MB (%ld MB before)\n", kFilme,
                    ui.seiten, uhr.elapsed() / 1000.0, spitzeMb(), vorher);
        return 0;
    }

    std::vector<double> wir, nackt;
    qint64 groesseWir = 0, groesseNackt = 0;
    for (int lauf = 0; lauf < 5; ++lauf) {
        QElapsedTimer uhr;
        uhr.start();
        groesseWir = unsere(zeilen);
        wir.push_back(uhr.nsecsElapsed() / 1e6);
        uhr.restart();
        groesseNackt = bare(zeilen);
        nackt.push_back(uhr.nsecsElapsed() / 1e6);
    }
    const double a = median(wir), b = median(nackt);
    std::printf("%-34s %12s %12s  %s\n", "operation", "ours (ms)", "bare (ms)", "ratio");
    std::printf("%-34s %12.1f %12.1f  ratio=%.2f\n", "film list 50000: layout + PDF", a, b, a / b);
    {
        QElapsedTimer uhr;
        uhr.start();
        const auto bericht = druck::filmliste(druck::FilmlisteEinstellungen{}, lauf(), zeilen);
        std::size_t texte = 0;
        for (int s = 0; s < bericht->seitenzahl(); ++s)
            texte += bericht->seite(s).texte.size();
        std::printf("%-34s %12.1f  (%zu texts)\n", "  of it layout alone", uhr.nsecsElapsed() / 1e6, texte);
    }
    std::printf("PDF size: ours %lld KB, bare %lld KB\n", groesseWir / 1024, groesseNackt / 1024);
    return a / b <= 1.5 ? 0 : 1;
}
