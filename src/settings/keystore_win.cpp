// The settings key in the Windows registry: HKEY_LOCAL_MACHINE\SOFTWARE\Quorbel 98.
#include "keystore.h"

#ifdef Q_OS_WIN

#include <cwchar>
#include <string>
#include <windows.h>

namespace settings {

namespace {

const wchar_t kSubKey[] = L"SOFTWARE\\Quorbel 98";

std::wstring wide(const QString& s)
{
    return s.toStdWString();
}

class RegistryKeyStore final : public KeyStore
{
public:
    ~RegistryKeyStore() override { closeKey(); }

    bool openKey() override
    {
        closeKey();
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSubKey, 0, KEY_READ | KEY_WRITE, &m_key) == ERROR_SUCCESS)
            return true;
        // Without the right to write the machine-wide key the settings can still be read;
        // a save then fails with its message.
        m_key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSubKey, 0, KEY_READ, &m_key) == ERROR_SUCCESS)
            return true;
        m_key = nullptr;
        return false;
    }

    void createKey() override
    {
        closeKey();
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSubKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_READ | KEY_WRITE, nullptr, &m_key, nullptr) != ERROR_SUCCESS)
            m_key = nullptr;
    }

    QString readText(const QString& name) override
    {
        DWORD type = 0;
        DWORD size = 0;
        const std::wstring n = wide(name);
        if (!m_key || RegQueryValueExW(m_key, n.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return {};
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            throw KeyError(KeyError::Reason::WrongKind, name);
        std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = DWORD(buffer.size() * sizeof(wchar_t));
        if (RegQueryValueExW(m_key, n.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                             &got) != ERROR_SUCCESS)
            return {};
        buffer.resize(wcsnlen(buffer.c_str(), got / sizeof(wchar_t)));
        return QString::fromStdWString(buffer);
    }

    qint32 readInteger(const QString& name) override
    {
        DWORD type = 0;
        DWORD value = 0;
        DWORD size = sizeof(value);
        const std::wstring n = wide(name);
        if (!m_key)
            throw KeyError(KeyError::Reason::Missing, name);
        const LONG rc =
            RegQueryValueExW(m_key, n.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
        if (rc == ERROR_FILE_NOT_FOUND)
            throw KeyError(KeyError::Reason::Missing, name);
        if (type != REG_DWORD || (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) || size != sizeof(value))
            throw KeyError(KeyError::Reason::WrongKind, name);
        return static_cast<qint32>(value);
    }

    void writeText(const QString& name, const QString& value) override
    {
        const std::wstring n = wide(name);
        const std::wstring v = wide(value);
        const DWORD bytes = DWORD((v.size() + 1) * sizeof(wchar_t));
        if (!m_key || RegSetValueExW(m_key, n.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()),
                                     bytes) != ERROR_SUCCESS)
            throw KeyError(KeyError::Reason::WriteFailed, name);
    }

    void writeInteger(const QString& name, qint32 value) override
    {
        const std::wstring n = wide(name);
        const DWORD v = static_cast<DWORD>(value);
        if (!m_key || RegSetValueExW(m_key, n.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v),
                                     sizeof(v)) != ERROR_SUCCESS)
            throw KeyError(KeyError::Reason::WriteFailed, name);
    }

    void closeKey() override
    {
        if (m_key)
            RegCloseKey(m_key);
        m_key = nullptr;
    }

private:
    HKEY m_key = nullptr;
};

} // namespace

std::unique_ptr<KeyStore> KeyStore::createDefault()
{
    // A settings file named in the environment (tests, portable use) wins over the registry.
    if (!qEnvironmentVariableIsEmpty("QUORBEL_SETTINGS_FILE"))
        return std::make_unique<FileKeyStore>(FileKeyStore::defaultPath());
    return std::make_unique<RegistryKeyStore>();
}

} // namespace settings

#endif
