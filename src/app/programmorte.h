#pragma once

// Where the program keeps its "Lists" directory and where it starts browsing for
// collections. A copy of the program in a directory of its own keeps both beside the
// executable; an installed program, whose directory the user cannot write, keeps its
// lists in the user's data directory and starts in the user's documents.

#include <QString>
#include <QStringList>
#include <functional>

namespace quorbel {

struct Programmorte
{
    QString listenBasis;      // holds "Lists/"; ends with '/'
    QString startVerzeichnis; // the current directory after start-up
};

// Whether the program may create files in `directory`.
using Beschreibbar = std::function<bool(const QString& directory)>;

// The operating system's answer for the running user (read-only mounts included).
bool Verzeichnis_Beschreibbar(const QString& directory);

// The places for a program installed in `programmVerzeichnis`. When it cannot be
// written, the lists go to "quorbel98" in the user's data directory (created here) and
// the start is the user's documents directory, or the home directory without one.
Programmorte Programmorte_Bestimmen(const QString& programmVerzeichnis,
                                    const Beschreibbar& beschreibbar = Verzeichnis_Beschreibbar);

// The list file named on the command line as an absolute path (a relative one is taken
// from `arbeitsVerzeichnis`, the directory the program was started in), or empty.
// `argumente` are the program's arguments with the program name first.
QString Startliste_Aus_Argumenten(const QStringList& argumente, const QString& arbeitsVerzeichnis);

} // namespace quorbel
