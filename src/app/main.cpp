#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <app/application.h>
#include <app/hauptformular.h>
#include <app/programmorte.h>
#include <app/protokolldatei.h>
#include <app/splashscreen.h>
#include <memory>
#include <printing/reportfont.h>
#include <ui/clock.h>
#include <ui/interaction.h>

int main(int argc, char* argv[])
{
    quorbel::Application app(argc, argv);

    // Warnings and errors of every layer go to the log file from here on.
    quorbel::Protokolldatei protokoll(quorbel::Protokolldatei::standardPfad());
    protokoll.installieren();

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
    // Taken before the window changes the current directory, against which a relative
    // path on the command line was meant.
    const QString startliste =
        quorbel::Startliste_Aus_Argumenten(QApplication::arguments(), QDir::currentPath());

    quorbel::THauptformular window(programDirectory, ui, clock, settingsFile);
    window.Startliste_Setzen(startliste);
    ui.setParentWindow(&window);

    splash->close();
    splash.reset();

    window.show();
    const int result = QApplication::exec();
    app.setInteraction(nullptr);
    return result;
}
