#pragma once

// Every file the program writes goes through here: the new content is written into a
// temporary file beside the target and takes its place only when every byte reached
// the file system. Qt's QSaveFile alone does not promise that: its commit() flushes
// its buffer while closing, does not look at the result, and renames a cut file into
// place (seen on a full disk and over the file size limit). Here the buffer is flushed
// first and the device's error checked; any failure drops the temporary file, the old
// file stays as it was, and grund() says why in German.

#include <QByteArrayView>
#include <QSaveFile>
#include <QString>
#include <memory>

namespace store {

class SicheresSchreiben
{
public:
    explicit SicheresSchreiben(const QString& pfad);
    // Not finished: everything written is dropped, the old file stays.
    ~SicheresSchreiben();
    SicheresSchreiben(const SicheresSchreiben&) = delete;
    SicheresSchreiben& operator=(const SicheresSchreiben&) = delete;

    // Where no temporary file can be made beside the target (a directory that takes no
    // new files), the file is written over directly; a failure then leaves it cut.
    // Off unless asked for.
    void direktErlauben();

    // False when the file cannot be opened (grund() says why).
    bool oeffnen();
    // Appends; false once a write has failed (nothing more is written then).
    bool schreiben(QByteArrayView bytes);
    // A device for a writer that takes one (QPdfWriter): what it writes goes through
    // schreiben(), so that abschliessen() knows of every failed or cut write.
    QIODevice& geraet();
    // Flushes, checks the device and puts the file in place. False on any failure: the
    // temporary file is gone, the old file unchanged, grund() says why.
    bool abschliessen();
    // Drops what was written; the old file stays.
    void abbrechen();

    // Why the last step failed, in German (with the system's own words where they add
    // anything); empty while nothing failed.
    const QString& grund() const { return m_grund; }
    // "Die Datei <path> konnte nicht geschrieben werden: <grund>"
    QString fehler() const;
    const QString& pfad() const { return m_pfad; }

private:
    void scheitern(int systemFehler);

    class Geraet;
    QString m_pfad;
    QSaveFile m_file;
    std::unique_ptr<Geraet> m_geraet;
    QString m_grund;
    bool m_offen = false;
};

// The whole of `daten` into `pfad` as above. Empty when written, the reason otherwise
// (SicheresSchreiben::grund()).
QString dateiSchreiben(const QString& pfad, QByteArrayView daten);

// A file system reason in German: for the usual errno values a text of our own,
// otherwise `systemText`.
QString deutscherGrund(int systemFehler, const QString& systemText);

} // namespace store
