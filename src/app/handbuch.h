#pragma once

// The handbook: rendered at build time into "handbuch/index.html", installed beside the
// program's data, and opened in the person's browser at the section of a page.

#include <QString>
#include <QStringList>
#include <QUrl>

namespace quorbel {

class Interaction;

// The section of the page with this objectName ("Tab_Eingabe", ...); empty for any other
// widget, which means the handbook's start.
QString Handbuch_Abschnitt(const QString& seitenName);

// Every section that a page opens, for the check against the rendered handbook.
QStringList Handbuch_Seitenabschnitte();

// The handbook's start page: `QUORBEL_HANDBUCH_DIR` when that is set, else the installed
// copy (the program's data directory beside its "bin") or the one of a build tree
// ("handbuch" beside "bin"); empty when none exists.
QString Handbuch_Datei();

// The start page with the section as fragment (none for an empty section).
QUrl Handbuch_Url(const QString& datei, const QString& abschnitt);

// Opens the handbook at the section; tells the person when it is missing or no browser
// could show it.
void Handbuch_Oeffnen(Interaction& ui, const QString& abschnitt);

} // namespace quorbel
