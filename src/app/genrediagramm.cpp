#include "genrediagramm.h"

#include <QPainter>
#include <algorithm>

namespace quorbel {

namespace {
constexpr int kZeile = 20; // height of one bar with its gap
}

GenreDiagramm::GenreDiagramm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Diagramm_Genres"));
    setAccessibleName(QStringLiteral("Filme je Genre"));
}

void GenreDiagramm::setDaten(Daten daten)
{
    m_daten = std::move(daten);
    QStringList text;
    for (const auto& [genre, n] : balken())
        text << QStringLiteral("%1: %2").arg(genre).arg(n);
    setAccessibleDescription(text.join(QStringLiteral(", ")));
    update();
}

GenreDiagramm::Daten GenreDiagramm::balken() const
{
    const size_t platz = size_t(std::max(1, height() / kZeile));
    if (m_daten.size() <= platz)
        return m_daten;
    Daten b(m_daten.begin(), m_daten.begin() + std::ptrdiff_t(platz - 1));
    qint64 rest = 0;
    for (size_t i = platz - 1; i < m_daten.size(); ++i)
        rest += m_daten[i].second;
    b.emplace_back(QStringLiteral("übrige"), rest);
    return b;
}

void GenreDiagramm::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const Daten b = balken();
    if (b.empty()) {
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("Noch keine Filme"));
        return;
    }
    qint64 max = 1;
    for (const auto& e : b)
        max = std::max(max, e.second);
    const QFontMetrics fm = fontMetrics();
    int laengster = 0;
    for (const auto& e : b)
        laengster = std::max(laengster, fm.horizontalAdvance(e.first));
    const int textBreite = std::min(width() / 2, laengster + 4);
    const int zahlBreite = fm.horizontalAdvance(QString::number(max)) + 6;
    const int balkenBreite = std::max(10, width() - textBreite - zahlBreite - 8);
    const QColor farbe = palette().color(QPalette::Highlight);
    int y = 0;
    for (const auto& [genre, n] : b) {
        const QRect textRect(0, y, textBreite, kZeile - 4);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(textRect, Qt::AlignRight | Qt::AlignVCenter,
                   fm.elidedText(genre, Qt::ElideRight, textBreite));
        const int w = int(double(balkenBreite) * double(n) / double(max));
        const QRect bar(textBreite + 6, y + 2, std::max(w, 1), kZeile - 8);
        p.fillRect(bar, farbe);
        p.drawText(QRect(bar.right() + 4, y, zahlBreite, kZeile - 4), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::number(n));
        y += kZeile;
    }
}

} // namespace quorbel
