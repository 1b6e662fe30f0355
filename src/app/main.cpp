#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <app/application.h>
#include <ui/clock.h>
#include <app/hauptformular.h>
#include <ui/interaction.h>
#include <app/splashscreen.h>
#include <memory>
#include <printing/reportfont.h>

int main(int argc, char* argv[])
{
    quorbel::Application app(argc, argv);

    // Dates and times follow the user's locale. Without one (the bare "C" locale of a
    // minimal system) the program speaks German, so its dates read as German dates.
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    // Qt's own texts (standard buttons, dialogs) in German, like the rest of the program.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    // Without the Windows faces, their metric-compatible stand-ins print in their place.
    quorbel::report::schriftersatzEinrichten();

    auto splash = std::make_unique<quorbel::TSplashScreen>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    quorbel::QtInteraction ui;
    quorbel::SystemClock clock;
    app.setInteraction(&ui);

    QString programDirectory = qEnvironmentVariable("QUORBEL_PROGRAM_DIR");
    if (programDirectory.isEmpty())
        programDirectory = QApplication::applicationDirPath();
    const QString settingsFile = qEnvironmentVariable("QUORBEL_SETTINGS_FILE");

    quorbel::THauptformular window(programDirectory, ui, clock, settingsFile);
    ui.setParentWindow(&window);

    splash->close();
    splash.reset();

    window.show();
    const int result = QApplication::exec();
    app.setInteraction(nullptr);
    return result;
}
