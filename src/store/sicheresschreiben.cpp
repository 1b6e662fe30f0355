#include "sicheresschreiben.h"

#include <QDir>
#include <cerrno>

namespace store {

QString deutscherGrund(int systemFehler, const QString& systemText)
{
    QString text;
    switch (systemFehler) {
    case ENOSPC:
        text = QStringLiteral("Auf dem Datenträger ist kein Platz mehr frei.");
        break;
#ifdef EDQUOT
    case EDQUOT:
        text = QStringLiteral("Der zugeteilte Speicherplatz ist aufgebraucht.");
        break;
#endif
    case EFBIG:
        text = QStringLiteral("Die Datei würde größer als erlaubt.");
        break;
    case EACCES:
    case EPERM:
        text = QStringLiteral("Zugriff verweigert.");
        break;
    case EROFS:
        text = QStringLiteral("Der Datenträger ist schreibgeschützt.");
        break;
    case ENOENT:
        text = QStringLiteral("Das Verzeichnis existiert nicht.");
        break;
    case EISDIR:
        text = QStringLiteral("Unter diesem Namen gibt es ein Verzeichnis.");
        break;
    case EIO:
        text = QStringLiteral("Ein-/Ausgabefehler des Datenträgers.");
        break;
    default:
        break;
    }
    if (text.isEmpty())
        return systemText.isEmpty() ? QStringLiteral("Unbekannter Fehler.") : systemText;
    return systemText.isEmpty() ? text : text + QStringLiteral(" (") + systemText + QLatin1Char(')');
}

class SicheresSchreiben::Geraet final : public QIODevice
{
public:
    explicit Geraet(SicheresSchreiben& ziel) : m_ziel(ziel) {}
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* daten, qint64 laenge) override
    {
        return m_ziel.schreiben(QByteArrayView(daten, laenge)) ? laenge : -1;
    }

private:
    SicheresSchreiben& m_ziel;
};

SicheresSchreiben::SicheresSchreiben(const QString& pfad) : m_pfad(pfad), m_file(pfad)
{
    m_file.setDirectWriteFallback(false);
}

SicheresSchreiben::~SicheresSchreiben()
{
    abbrechen();
}

QIODevice& SicheresSchreiben::geraet()
{
    if (!m_geraet) {
        m_geraet = std::make_unique<Geraet>(*this);
        m_geraet->open(QIODevice::WriteOnly);
    }
    return *m_geraet;
}

void SicheresSchreiben::direktErlauben()
{
    m_file.setDirectWriteFallback(true);
}

void SicheresSchreiben::scheitern(int systemFehler)
{
    if (m_grund.isEmpty())
        m_grund = deutscherGrund(systemFehler, m_file.errorString());
    abbrechen();
}

bool SicheresSchreiben::oeffnen()
{
    m_grund.clear();
    errno = 0;
    if (!m_file.open(QIODevice::WriteOnly)) {
        m_grund = deutscherGrund(errno, m_file.errorString());
        return false;
    }
    m_offen = true;
    return true;
}

bool SicheresSchreiben::schreiben(QByteArrayView bytes)
{
    if (!m_offen)
        return false;
    errno = 0;
    if (m_file.write(bytes.data(), bytes.size()) != bytes.size()) {
        scheitern(errno);
        return false;
    }
    return true;
}

bool SicheresSchreiben::abschliessen()
{
    if (!m_offen)
        return false;
    // The buffer is emptied here, where a failure can still be seen: commit() would
    // empty it while closing and rename the file whatever came of it.
    errno = 0;
    if (!m_file.flush() || m_file.error() != QFileDevice::NoError) {
        scheitern(errno);
        return false;
    }
    errno = 0;
    const bool fertig = m_file.commit();
    m_offen = false;
    if (!fertig) {
        m_grund = deutscherGrund(errno, m_file.errorString());
        return false;
    }
    return true;
}

void SicheresSchreiben::abbrechen()
{
    if (!m_offen)
        return;
    m_offen = false;
    // A cancelled QSaveFile removes its temporary file at the commit, which then fails.
    m_file.cancelWriting();
    m_file.commit();
}

QString SicheresSchreiben::fehler() const
{
    return QStringLiteral("Die Datei %1 konnte nicht geschrieben werden: %2")
        .arg(QDir::toNativeSeparators(m_pfad), m_grund);
}

QString dateiSchreiben(const QString& pfad, QByteArrayView daten)
{
    SicheresSchreiben datei(pfad);
    if (datei.oeffnen() && datei.schreiben(daten) && datei.abschliessen())
        return {};
    return datei.grund();
}

} // namespace store
