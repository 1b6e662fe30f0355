#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace quorbel {

// One of the program's own pictures (":/bilder/<name>.svg") drawn at the given size.
QPixmap bild(const QString& name, const QSize& size);

} // namespace quorbel
