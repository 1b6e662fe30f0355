#include "keystore.h"

#include "vocabulary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <cmath>
#include <limits>
#include <ui/interaction.h>

namespace settings {

namespace {

QString keyErrorText(KeyError::Reason reason, const QString& valueName)
{
    switch (reason) {
    case KeyError::Reason::Missing:
        return QStringLiteral("Konnte Daten für '%1' nicht holen").arg(valueName);
    case KeyError::Reason::WrongKind:
        return QStringLiteral("Ungültiger Datentyp für '%1'").arg(valueName);
    case KeyError::Reason::WriteFailed:
    case KeyError::Reason::Refused:
        break;
    }
    return QStringLiteral("Konnte Daten für '%1' nicht setzen").arg(valueName);
}

const QString kKeyName = QStringLiteral("SOFTWARE\\Quorbel 98");
const QString kText = QStringLiteral("Text");
const QString kInteger = QStringLiteral("Zahl");

bool renameFile(const QString& from, const QString& to)
{
    return QFile::rename(from, to);
}

} // namespace

KeyError::KeyError(Reason reason, const QString& valueName)
    : store::Error(keyErrorText(reason, valueName)), m_reason(reason)
{
}

KeyError::KeyError(Reason reason, const QString&, const QString& message)
    : store::Error(message), m_reason(reason)
{
}

KeyStore::~KeyStore() = default;

FileKeyStore::FileKeyStore(QString path, MoveFile moveFile)
    : m_path(std::move(path)), m_moveFile(moveFile ? std::move(moveFile) : MoveFile(&renameFile))
{
}

QString FileKeyStore::defaultPath()
{
    QString fromEnvironment = qEnvironmentVariable("QUORBEL_SETTINGS_FILE");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/quorbel98.key");
}

const FileKeyStore::Value* FileKeyStore::find(const QString& name) const
{
    // Value names are compared without regard to case, as in the registry.
    for (const Value& v : m_values)
        if (!v.name.isEmpty() && v.name.compare(name, Qt::CaseInsensitive) == 0)
            return &v;
    return nullptr;
}

FileKeyStore::Value& FileKeyStore::slot(const QString& name)
{
    for (Value& v : m_values)
        if (!v.name.isEmpty() && v.name.compare(name, Qt::CaseInsensitive) == 0)
            return v;
    m_values.append(Value{name, true, {}, 0, {}});
    return m_values.last();
}

FileKeyStore::LoadResult FileKeyStore::load(QString* problem)
{
    // Only a plain file is read: a directory cannot be, and a pipe would block the start.
    const QFileInfo info(m_path);
    if (!info.isFile()) {
        *problem = QStringLiteral("keine gewöhnliche Datei");
        return LoadResult::Unreadable;
    }
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = file.errorString();
        return LoadResult::Unreadable;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *problem = file.errorString();
        return LoadResult::Unreadable;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *problem = parseError.errorString();
        return LoadResult::Damaged;
    }
    if (!doc.isObject() || !doc.object().value(QStringLiteral("Werte")).isArray()) {
        *problem = QStringLiteral("unbekannter Aufbau");
        return LoadResult::Damaged;
    }
    QList<Value> loaded;
    for (const QJsonValue entry : doc.object().value(QStringLiteral("Werte")).toArray()) {
        const QJsonObject o = entry.toObject();
        const QString kind = o.value(QStringLiteral("Art")).toString();
        const QJsonValue value = o.value(QStringLiteral("Wert"));
        Value v;
        v.name = o.value(QStringLiteral("Name")).toString();
        if (!entry.isObject() || v.name.isEmpty()) {
            // Without a name nobody can ask for it; it is kept for whoever wrote it.
            v.name.clear();
            v.unusable = entry;
        } else if (kind == kText && value.isString()) {
            v.isText = true;
            v.text = value.toString();
        } else if (kind == kInteger && value.isDouble() && value.toDouble() == std::trunc(value.toDouble()) &&
                   value.toDouble() >= std::numeric_limits<qint32>::min() &&
                   value.toDouble() <= std::numeric_limits<qint32>::max()) {
            v.isText = false;
            v.number = static_cast<qint32>(value.toDouble());
        } else {
            v.unusable = entry;
        }
        loaded.append(v);
    }
    m_values = loaded;
    return LoadResult::Loaded;
}

void FileKeyStore::refuseWrites(const QString& report, const QString& reason)
{
    m_damageReport = report;
    m_refusal = QStringLiteral("Die Einstellungen wurden nicht gespeichert.") + quorbel::kMessageBreak +
                QStringLiteral("Die Einstellungsdatei \"%1\" %2 und wird nicht überschrieben.")
                    .arg(QDir::toNativeSeparators(m_path), reason);
}

void FileKeyStore::moveAside(const QString& problem)
{
    QString aside = m_path + QStringLiteral(".beschaedigt");
    for (int n = 2; QFileInfo::exists(aside) && n < 1000; ++n)
        aside = m_path + QStringLiteral(".beschaedigt.%1").arg(n);
    const QString shown = QDir::toNativeSeparators(m_path);
    QString text = QStringLiteral("Die Einstellungsdatei \"%1\" ist beschädigt und kann nicht gelesen "
                                  "werden (%2).")
                       .arg(shown, problem);
    if (!QFileInfo::exists(aside) && m_moveFile(m_path, aside)) {
        m_damageReport =
            text + quorbel::kMessageBreak +
            QStringLiteral("Sie wurde als \"%1\" beiseitegelegt; es gelten die Standardeinstellungen.")
                .arg(QDir::toNativeSeparators(aside));
        return;
    }
    // Never overwrite what could not be read: the settings of this run stay in memory.
    refuseWrites(text + quorbel::kMessageBreak +
                     QStringLiteral("Sie konnte nicht beiseitegelegt werden und bleibt unverändert; es "
                                    "gelten die Standardeinstellungen, speichern ist nicht möglich."),
                 QStringLiteral("ist beschädigt"));
}

bool FileKeyStore::openKey()
{
    m_values.clear();
    m_damageReport.clear();
    m_firstUnsaved.clear();
    m_created = false;
    m_open = false;
    // Once a file was found that must not be replaced, it is left alone for the whole run:
    // reading it again might give values that this run no longer holds.
    if (writesRefused())
        return false;
    if (!QFileInfo::exists(m_path))
        return false;
    QString problem;
    switch (load(&problem)) {
    case LoadResult::Loaded:
        m_open = true;
        return true;
    case LoadResult::Unreadable:
        m_values.clear();
        refuseWrites(QStringLiteral("Die Einstellungsdatei \"%1\" kann nicht gelesen werden (%2).")
                             .arg(QDir::toNativeSeparators(m_path), problem) +
                         quorbel::kMessageBreak +
                         QStringLiteral("Sie bleibt unverändert; es gelten die Standardeinstellungen, "
                                        "speichern ist nicht möglich."),
                     QStringLiteral("kann nicht gelesen werden"));
        return false;
    case LoadResult::Damaged:
        m_values.clear();
        moveAside(problem);
        return false;
    }
    return false;
}

void FileKeyStore::checkWritable() const
{
    if (writesRefused())
        throw KeyError(KeyError::Reason::Refused, m_path, m_refusal);
}

void FileKeyStore::createKey()
{
    checkWritable();
    m_values.clear();
    m_open = true;
    // An empty key is a key too: it is written at the close even when nothing is set.
    m_created = true;
}

QString FileKeyStore::readText(const QString& name)
{
    const Value* v = find(name);
    if (!m_open || !v)
        return {};
    if (!v->isText || !v->unusable.isNull())
        throw KeyError(KeyError::Reason::WrongKind, name);
    return v->text;
}

qint32 FileKeyStore::readInteger(const QString& name)
{
    const Value* v = find(name);
    if (!m_open || !v)
        throw KeyError(KeyError::Reason::Missing, name);
    if (v->isText || !v->unusable.isNull())
        throw KeyError(KeyError::Reason::WrongKind, name);
    return v->number;
}

void FileKeyStore::writeText(const QString& name, const QString& value)
{
    checkWritable();
    if (!m_open)
        throw KeyError(KeyError::Reason::WriteFailed, name);
    Value& v = slot(name);
    v.isText = true;
    v.text = value;
    v.unusable = QJsonValue();
    if (m_firstUnsaved.isEmpty())
        m_firstUnsaved = name;
}

void FileKeyStore::writeInteger(const QString& name, qint32 value)
{
    checkWritable();
    if (!m_open)
        throw KeyError(KeyError::Reason::WriteFailed, name);
    Value& v = slot(name);
    v.isText = false;
    v.number = value;
    v.unusable = QJsonValue();
    if (m_firstUnsaved.isEmpty())
        m_firstUnsaved = name;
}

QByteArray FileKeyStore::serialise() const
{
    QJsonArray values;
    for (const Value& v : m_values) {
        if (!v.unusable.isNull()) {
            values.append(v.unusable);
            continue;
        }
        QJsonObject o;
        o.insert(QStringLiteral("Name"), v.name);
        o.insert(QStringLiteral("Art"), v.isText ? kText : kInteger);
        if (v.isText)
            o.insert(QStringLiteral("Wert"), v.text);
        else
            o.insert(QStringLiteral("Wert"), v.number);
        values.append(o);
    }
    QJsonObject root;
    root.insert(QStringLiteral("Schluessel"), kKeyName);
    root.insert(QStringLiteral("Werte"), values);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

void FileKeyStore::closeKey()
{
    const bool wasOpen = m_open;
    m_open = false;
    if (!wasOpen || writesRefused() || (m_firstUnsaved.isEmpty() && !m_created))
        return;
    // A failure names the first value written, as the registry would; only a new key
    // that was given no value is named itself.
    const QString unsaved = m_firstUnsaved.isEmpty() ? kKeyName : m_firstUnsaved;
    m_firstUnsaved.clear();
    m_created = false;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QString reason;
    if (!vocabulary::saveFileAtomically(m_path, serialise(), &reason))
        throw KeyError(KeyError::Reason::WriteFailed, unsaved,
                       keyErrorText(KeyError::Reason::WriteFailed, unsaved) + quorbel::kMessageBreak +
                           reason);
}

bool FileKeyStore::holdsText(const QString& name) const
{
    const Value* v = find(name);
    return v && v->unusable.isNull() && v->isText;
}

bool FileKeyStore::holdsInteger(const QString& name) const
{
    const Value* v = find(name);
    return v && v->unusable.isNull() && !v->isText;
}

QStringList FileKeyStore::valueNames() const
{
    QStringList names;
    for (const Value& v : m_values)
        if (!v.name.isEmpty())
            names << v.name;
    return names;
}

#ifndef Q_OS_WIN
std::unique_ptr<KeyStore> KeyStore::createDefault()
{
    return std::make_unique<FileKeyStore>(FileKeyStore::defaultPath());
}
#endif

} // namespace settings
