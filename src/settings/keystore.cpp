#include "keystore.h"

#include "vocabulary.h"

#include <ui/interaction.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <cmath>
#include <limits>

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
        break;
    }
    return QStringLiteral("Konnte Daten für '%1' nicht setzen").arg(valueName);
}

const QString kKeyName = QStringLiteral("SOFTWARE\\Quorbel 98");
const QString kText = QStringLiteral("Text");
const QString kInteger = QStringLiteral("Zahl");

} // namespace

KeyError::KeyError(Reason reason, const QString& valueName)
    : store::Error(keyErrorText(reason, valueName)), m_reason(reason)
{
}

KeyStore::~KeyStore() = default;

FileKeyStore::FileKeyStore(QString path) : m_path(std::move(path)) {}

QString FileKeyStore::defaultPath()
{
    const QString fromEnvironment = qEnvironmentVariable("QUORBEL_SETTINGS_FILE");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/quorbel98.key");
}

const FileKeyStore::Value* FileKeyStore::find(const QString& name) const
{
    // Value names are compared without regard to case, as in the registry.
    for (const Value& v : m_values)
        if (v.name.compare(name, Qt::CaseInsensitive) == 0)
            return &v;
    return nullptr;
}

FileKeyStore::Value& FileKeyStore::slot(const QString& name)
{
    for (Value& v : m_values)
        if (v.name.compare(name, Qt::CaseInsensitive) == 0)
            return v;
    m_values.append(Value{name, true, {}, 0});
    return m_values.last();
}

bool FileKeyStore::load(QString* problem)
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = file.errorString();
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *problem = parseError.errorString();
        return false;
    }
    const QJsonArray values = doc.object().value(QStringLiteral("Werte")).toArray();
    if (!doc.isObject() || !doc.object().value(QStringLiteral("Werte")).isArray()) {
        *problem = QStringLiteral("unbekannter Aufbau");
        return false;
    }
    QList<Value> loaded;
    for (const QJsonValue& entry : values) {
        const QJsonObject o = entry.toObject();
        const QJsonValue name = o.value(QStringLiteral("Name"));
        const QString kind = o.value(QStringLiteral("Art")).toString();
        const QJsonValue value = o.value(QStringLiteral("Wert"));
        Value v;
        v.name = name.toString();
        if (!entry.isObject() || !name.isString() || v.name.isEmpty()) {
            *problem = QStringLiteral("Wert ohne Namen");
            return false;
        }
        if (kind == kText && value.isString()) {
            v.isText = true;
            v.text = value.toString();
        } else if (kind == kInteger && value.isDouble()) {
            const double d = value.toDouble();
            if (d != std::trunc(d) || d < std::numeric_limits<qint32>::min() ||
                d > std::numeric_limits<qint32>::max()) {
                *problem = QStringLiteral("ungültige Zahl für '%1'").arg(v.name);
                return false;
            }
            v.isText = false;
            v.number = static_cast<qint32>(d);
        } else {
            *problem = QStringLiteral("ungültiger Wert für '%1'").arg(v.name);
            return false;
        }
        loaded.append(v);
    }
    m_values = loaded;
    return true;
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
    if (QFile::rename(m_path, aside)) {
        text += quorbel::kMessageBreak +
                QStringLiteral("Sie wurde als \"%1\" beiseitegelegt; es gelten die Standardeinstellungen.")
                    .arg(QDir::toNativeSeparators(aside));
    } else {
        // Never overwrite what could not be read: the settings of this run stay in memory.
        m_writesBlocked = true;
        text += quorbel::kMessageBreak +
                QStringLiteral("Sie konnte nicht beiseitegelegt werden und bleibt unverändert; es "
                               "gelten die Standardeinstellungen, speichern ist nicht möglich.");
    }
    m_damageReport = text;
}

bool FileKeyStore::openKey()
{
    m_values.clear();
    m_damageReport.clear();
    m_firstUnsaved.clear();
    m_created = false;
    m_open = false;
    if (!QFileInfo::exists(m_path))
        return false;
    QString problem;
    if (!load(&problem)) {
        m_values.clear();
        moveAside(problem);
        return false;
    }
    m_open = true;
    return true;
}

void FileKeyStore::createKey()
{
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
    if (!v->isText)
        throw KeyError(KeyError::Reason::WrongKind, name);
    return v->text;
}

qint32 FileKeyStore::readInteger(const QString& name)
{
    const Value* v = find(name);
    if (!m_open || !v)
        throw KeyError(KeyError::Reason::Missing, name);
    if (v->isText)
        throw KeyError(KeyError::Reason::WrongKind, name);
    return v->number;
}

void FileKeyStore::writeText(const QString& name, const QString& value)
{
    if (!m_open || m_writesBlocked)
        throw KeyError(KeyError::Reason::WriteFailed, name);
    Value& v = slot(name);
    v.isText = true;
    v.text = value;
    if (m_firstUnsaved.isEmpty())
        m_firstUnsaved = name;
}

void FileKeyStore::writeInteger(const QString& name, qint32 value)
{
    if (!m_open || m_writesBlocked)
        throw KeyError(KeyError::Reason::WriteFailed, name);
    Value& v = slot(name);
    v.isText = false;
    v.number = value;
    if (m_firstUnsaved.isEmpty())
        m_firstUnsaved = name;
}

QByteArray FileKeyStore::serialise() const
{
    QJsonArray values;
    for (const Value& v : m_values) {
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
    if (!wasOpen || (m_firstUnsaved.isEmpty() && !m_created))
        return;
    // A failure names the first value written, as the registry would; only a new key
    // that was given no value is named itself.
    const QString unsaved = m_firstUnsaved.isEmpty() ? kKeyName : m_firstUnsaved;
    m_firstUnsaved.clear();
    m_created = false;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (!vocabulary::saveFileAtomically(m_path, serialise()))
        throw KeyError(KeyError::Reason::WriteFailed, unsaved);
}

bool FileKeyStore::holdsText(const QString& name) const
{
    const Value* v = find(name);
    return v && v->isText;
}

bool FileKeyStore::holdsInteger(const QString& name) const
{
    const Value* v = find(name);
    return v && !v->isText;
}

QStringList FileKeyStore::valueNames() const
{
    QStringList names;
    for (const Value& v : m_values)
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
