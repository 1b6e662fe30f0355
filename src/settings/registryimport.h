#pragma once

// Settings from a registry export (".reg", as written by the Windows registry editor):
// the values of the program's key, in place of those of the settings record. Reading
// and mapping know nothing of widgets; the settings page only applies the outcome.

#include "einstellungen.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace settings {

// A value of the settings key found in the export, under the name the record uses.
struct ImportWert
{
    QString name;
    bool istText = true;
    QString text;
    qint32 zahl = 0;

    friend bool operator==(const ImportWert&, const ImportWert&) = default;
};

// An entry of the key that is not taken, with the reason as the user reads it.
struct UebergangenerEintrag
{
    QString name;
    QString grund;

    friend bool operator==(const UebergangenerEintrag&, const UebergangenerEintrag&) = default;
};

struct RegistryImport
{
    // The values to take, each name once, in the order of the first mention.
    QList<ImportWert> werte;
    QList<UebergangenerEintrag> uebergangen;
    // Why the file as a whole is refused; empty when it was read. Nothing of a refused
    // file may be taken.
    QString fehler;
    // The line (from 1) the refusal is about; 0 when it is about the whole file.
    int fehlerZeile = 0;

    bool gelesen() const { return fehler.isEmpty(); }
};

// Largest export accepted; one of the settings key is a few KB.
inline constexpr qint64 kRegistryExportHoechstgroesse = 1024 * 1024;

// Reads an export held in memory: "REGEDIT4" in code page 1252, or "Windows Registry
// Editor Version 5.00" in UTF-16LE (with or without byte order mark) or UTF-8.
RegistryImport leseRegistryExport(const QByteArray& bytes);

// Reads the export file at `pfad`; a file that cannot be read or is larger than
// kRegistryExportHoechstgroesse is refused.
RegistryImport leseRegistryExportDatei(const QString& pfad);

// Puts the found values into the record; the record's rules (fonts, the dependent check
// boxes) are left to the one who shows it.
void uebernehmeWerte(const RegistryImport& import, Einstellungen& einstellungen);

// The refusal of a file as the user reads it, naming the file and the line.
QString importFehlermeldung(const QString& pfad, const RegistryImport& import);

// The report of a file that was read: how many values were taken and what was not.
QString importBericht(const QString& pfad, const RegistryImport& import);

} // namespace settings
