#include "splashscreen.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <ui/bilder.h>

namespace quorbel {

TSplashScreen::TSplashScreen(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("SplashScreen"));
    setAccessibleName(QStringLiteral("Quorbel 98 wird geladen"));
    setFixedSize(418, 245);

    Image_SplashHintergrund = new QLabel(this);
    Image_SplashHintergrund->setObjectName(QStringLiteral("Image_SplashHintergrund"));
    Image_SplashHintergrund->setAccessibleName(QStringLiteral("Hintergrund"));
    Image_SplashHintergrund->setGeometry(0, 0, 418, 245);
    Image_SplashHintergrund->setPixmap(bild(QStringLiteral("splash"), QSize(418, 245)));
    Image_SplashHintergrund->setScaledContents(true);

    Image_SplashSchriftzug = new QLabel(this);
    Image_SplashSchriftzug->setObjectName(QStringLiteral("Image_SplashSchriftzug"));
    Image_SplashSchriftzug->setGeometry(46, 13, 326, 79);
    Image_SplashSchriftzug->setPixmap(bild(QStringLiteral("splash-titel"), QSize(326, 79)));
    Image_SplashSchriftzug->setScaledContents(true);
    Image_SplashSchriftzug->setAccessibleName(QStringLiteral("Quorbel 98"));

    Label_Process = new QLabel(QStringLiteral("wird geladen, bitte warten..."), this);
    Label_Process->setObjectName(QStringLiteral("Label_Process"));
    Label_Process->setAttribute(Qt::WA_TranslucentBackground);
    QFont bold = Label_Process->font();
    bold.setBold(true);
    bold.setPixelSize(16);
    Label_Process->setFont(bold);
    Label_Process->setStyleSheet(QStringLiteral("color: #f4efe1; background: transparent;"));
    Label_Process->move(98, 130);
    Label_Process->adjustSize();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.center() - rect().center());
    }
}

} // namespace quorbel
