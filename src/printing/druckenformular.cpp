#include "druckenformular.h"

namespace quorbel {

TDrucken_Formular::TDrucken_Formular(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Drucken_Formular"));
    setWindowTitle(QStringLiteral("Filmliste drucken"));
    setAccessibleName(QStringLiteral("Filmliste drucken"));
}

} // namespace quorbel
