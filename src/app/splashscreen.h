#pragma once

#include <QWidget>

class QLabel;

namespace quorbel {

// The window shown while the program starts: a picture and "wird geladen, bitte warten...".
class TSplashScreen : public QWidget
{
    Q_OBJECT
public:
    explicit TSplashScreen(QWidget* parent = nullptr);

    QLabel* Image_SplashHintergrund;
    QLabel* Image_SplashSchriftzug;
    QLabel* Label_Process;
};

} // namespace quorbel
