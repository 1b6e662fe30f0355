#pragma once

#include <QFont>
#include <QStringList>

namespace quorbel::report {

struct Schrift;

// The Qt font of a report font at `einheitenFaktor` device pixels per layout unit.
// The size is set as a pixel size in device units: a point size would be scaled by
// the device's resolution once more on high-resolution printers. Hinting is off, so
// the widths grow in proportion to the resolution and the layout holds everywhere.
QFont qtSchrift(const Schrift& schrift, double einheitenFaktor);

// Where the faces "Arial", "Times New Roman" and "Courier New" are not installed,
// their metric-compatible Liberation faces stand in for them, so texts keep the widths
// they were laid out for. Call once after the application object exists.
void schriftersatzEinrichten();

// The installed font faces together with the faces that stand-ins were set up for,
// sorted; for font lists that should offer "Arial" where it prints as its stand-in.
QStringList schriftenMitErsatz();

} // namespace quorbel::report
