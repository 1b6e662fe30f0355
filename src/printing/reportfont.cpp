#include "reportfont.h"

#include "reportlayout.h"

#include <QFontDatabase>
#include <QtMath>
#include <algorithm>

namespace quorbel::report {

QFont qtSchrift(const Schrift& schrift, double einheitenFaktor)
{
    QFont f(schrift.familie);
    // A size of 0 or below would make the font invalid; it prints at 1 pt instead.
    // Above 1000 pt a single letter is taller than the paper.
    const int punkte = std::clamp(schrift.punkte, 1, 1000);
    // One point is 96/72 layout units.
    f.setPixelSize(std::max(1, qRound(punkte * 96.0 / 72.0 * einheitenFaktor)));
    f.setBold(schrift.fett);
    f.setItalic(schrift.kursiv);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(true);
    return f;
}

namespace {

struct Ersatz
{
    const char* fehlt;
    const char* durch;
};
const Ersatz kErsatz[] = {{"Arial", "Liberation Sans"},
                          {"Times New Roman", "Liberation Serif"},
                          {"Courier New", "Liberation Mono"}};

} // namespace

QStringList schriftenMitErsatz()
{
    QStringList faces = QFontDatabase::families();
    for (const Ersatz& e : kErsatz) {
        const QString fehlt = QString::fromLatin1(e.fehlt);
        if (!faces.contains(fehlt, Qt::CaseInsensitive) && !QFont::substitutes(fehlt).isEmpty())
            faces << fehlt;
    }
    faces.sort(Qt::CaseInsensitive);
    return faces;
}

void schriftersatzEinrichten()
{
    for (const Ersatz& e : kErsatz) {
        const QString fehlt = QString::fromLatin1(e.fehlt);
        const QString durch = QString::fromLatin1(e.durch);
        if (!QFontDatabase::hasFamily(fehlt) && QFontDatabase::hasFamily(durch))
            QFont::insertSubstitution(fehlt, durch);
    }
}

} // namespace quorbel::report
