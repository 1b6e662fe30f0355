#pragma once

#include <store/error.h>

#include <QList>
#include <QString>

#include <memory>

namespace settings {

// A value of the settings key that could not be read or written. The message names
// the value, as the user sees it.
class KeyError : public store::Error
{
public:
    enum class Reason { Missing, WrongKind, WriteFailed };
    KeyError(Reason reason, const QString& valueName);
    Reason reason() const noexcept { return m_reason; }

private:
    Reason m_reason;
};

// The one key that holds the settings ("SOFTWARE\Quorbel 98" below the machine-wide
// root on Windows). Used the way a registry key is used: open it, read or write values,
// close it. Every value is either text or a 32-bit integer.
class KeyStore
{
public:
    virtual ~KeyStore();

    // Opens the existing key for reading and writing; false when it does not exist.
    virtual bool openKey() = 0;
    // Creates the key (empty) and keeps it open.
    virtual void createKey() = 0;
    // A missing text value reads as empty text; a value of the other kind throws
    // KeyError(WrongKind).
    virtual QString readText(const QString& name) = 0;
    // Throws KeyError(Missing) or KeyError(WrongKind).
    virtual qint32 readInteger(const QString& name) = 0;
    // Throw KeyError(WriteFailed) when the value cannot be stored.
    virtual void writeText(const QString& name, const QString& value) = 0;
    virtual void writeInteger(const QString& name, qint32 value) = 0;
    // Ends the use of the key; written values are kept from here on at the latest.
    // Throws KeyError(WriteFailed) when they could not be kept.
    virtual void closeKey() = 0;

    // After an openKey() that found the key unreadable: a message for the user that says
    // what happened to it; empty otherwise.
    virtual QString damageReport() const { return {}; }

    // The store of this system: the file named by QUORBEL_SETTINGS_FILE when that is set,
    // otherwise the registry key on Windows and the key file in the user's configuration
    // directory elsewhere.
    static std::unique_ptr<KeyStore> createDefault();
};

// The key kept in a file of its own (JSON: each value with its name, kind and value).
// Values written are kept in memory and reach the file, replaced as a whole, when the
// key is closed. A file that cannot be read is moved aside (its name + ".beschaedigt")
// instead of being overwritten.
class FileKeyStore final : public KeyStore
{
public:
    explicit FileKeyStore(QString path);

    static QString defaultPath();
    const QString& path() const { return m_path; }

    bool openKey() override;
    void createKey() override;
    QString readText(const QString& name) override;
    qint32 readInteger(const QString& name) override;
    void writeText(const QString& name, const QString& value) override;
    void writeInteger(const QString& name, qint32 value) override;
    void closeKey() override;
    QString damageReport() const override { return m_damageReport; }

    // Whether the value is stored as text or as an integer; false when missing.
    bool holdsText(const QString& name) const;
    bool holdsInteger(const QString& name) const;
    QStringList valueNames() const;

private:
    struct Value
    {
        QString name;
        bool isText = true;
        QString text;
        qint32 number = 0;
    };

    const Value* find(const QString& name) const;
    Value& slot(const QString& name);
    bool load(QString* problem);
    void moveAside(const QString& problem);
    QByteArray serialise() const;

    QString m_path;
    QList<Value> m_values;
    bool m_open = false;
    bool m_writesBlocked = false; // a damaged file could not be moved aside
    QString m_firstUnsaved;       // first value written since the last successful close
    bool m_created = false;       // created since the last close, to be written even if empty
    QString m_damageReport;
};

} // namespace settings
