#pragma once

// Shared set-up of the fuzz programs: a Qt application object, the German locale the
// program runs with, and a scratch directory of the process's own.

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#ifdef QT_GUI_LIB
#include <QGuiApplication>
#endif

namespace fuzzsupport {

// Stops the run with a message; libFuzzer keeps the input as a finding.
[[noreturn]] inline void finding(const char* what)
{
    std::fprintf(stderr, "FINDING: %s\n", what);
    std::abort();
}

inline void check(bool condition, const char* what)
{
    if (!condition)
        finding(what);
}

// withGui: a QGuiApplication (offscreen), needed where pictures are painted.
inline void start(bool withGui)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "*=false");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    // Kept to the end of the process: destroying it from an exit handler, after Qt's own
    // globals are gone, crashes.
    // The engine's readers are built without Qt Gui: asking for it there is a mistake of
    // the fuzz program.
#ifdef QT_GUI_LIB
    if (withGui)
        new QGuiApplication(argc, argv);
    else
        new QCoreApplication(argc, argv);
#else
    if (withGui)
        finding("built without Qt Gui");
    new QCoreApplication(argc, argv);
#endif
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

// A directory that lives as long as the process; removed at its end.
inline const QString& scratchDir()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/quorbel-fuzz-XXXXXX"));
    static const QString path = dir.isValid() ? dir.path() : QString();
    if (path.isEmpty())
        finding("no scratch directory");
    return path;
}

// Removes everything in the scratch directory.
inline void clearScratch()
{
    QDir dir(scratchDir());
    const auto names = dir.entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        QDir sub(dir.filePath(name));
        if (!QFile::remove(dir.filePath(name)) && sub.exists())
            sub.removeRecursively();
    }
}

inline bool scratchEmpty()
{
    return QDir(scratchDir()).isEmpty(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace fuzzsupport
