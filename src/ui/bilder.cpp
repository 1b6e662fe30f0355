#include "bilder.h"

#include <QPainter>
#include <QSvgRenderer>

// The resources live in a static library: register them before first use.
static void initBilder()
{
    Q_INIT_RESOURCE(app);
}

namespace quorbel {

QPixmap bild(const QString& name, const QSize& size)
{
    static const bool registered = (initBilder(), true);
    Q_UNUSED(registered);
    QSvgRenderer renderer(QStringLiteral(":/bilder/%1.svg").arg(name));
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    return pixmap;
}

} // namespace quorbel
