#pragma once

#include <QJsonValue>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <store/error.h>

namespace settings {

// A value of the settings key that could not be read or written. The message names
// the value, as the user sees it.
class KeyError : public store::Error
{
public:
    // Refused: the store keeps its file untouched for this run; the message is given.
    enum class Reason { Missing, WrongKind, WriteFailed, Refused };
    KeyError(Reason reason, const QString& valueName);
    KeyError(Reason reason, const QString& valueName, const QString& message);
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
    // True once the store found a key it could not read and must not replace: for the rest
    // of the run it creates and writes nothing, and each attempt throws KeyError(Refused).
    virtual bool writesRefused() const { return false; }

    // The store of this system: the file named by QUORBEL_SETTINGS_FILE when that is set,
    // otherwise the registry key on Windows and the key file in the user's configuration
    // directory elsewhere.
    static std::unique_ptr<KeyStore> createDefault();
};

// The key kept in a file of its own (JSON: each value with its name, kind and value).
// Values written are kept in memory and reach the file, replaced as a whole, when the
// key is closed. The user's file is never destroyed:
// - a file that cannot be read at all (no access, not a plain file) stays where it is,
//   and nothing is written for the rest of the run;
// - a file whose content is not a key is moved aside (its name + ".beschaedigt") and a
//   new key is made; when it cannot be moved aside it stays, and nothing is written;
// - a single value that is malformed reads as a value of the other kind (so its reader
//   falls back to the default) and is kept as it stands until it is written anew.
class FileKeyStore final : public KeyStore
{
public:
    // Moves a file to a new name; false when that failed.
    using MoveFile = std::function<bool(const QString& from, const QString& to)>;

    // `moveFile` defaults to QFile::rename.
    explicit FileKeyStore(QString path, MoveFile moveFile = {});

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
    bool writesRefused() const override { return !m_refusal.isEmpty(); }

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
        // A malformed entry of the file, kept as it stands; null for a usable value.
        QJsonValue unusable;
    };

    const Value* find(const QString& name) const;
    Value& slot(const QString& name);
    enum class LoadResult { Loaded, Unreadable, Damaged };
    LoadResult load(QString* problem);
    void moveAside(const QString& problem);
    void refuseWrites(const QString& report, const QString& reason);
    void checkWritable() const;
    QByteArray serialise() const;

    QString m_path;
    MoveFile m_moveFile;
    QList<Value> m_values;
    bool m_open = false;
    QString m_refusal;      // why nothing may be written in this run; empty while writing is fine
    QString m_firstUnsaved; // first value written since the last successful close
    bool m_created = false; // created since the last close, to be written even if empty
    QString m_damageReport;
};

} // namespace settings
