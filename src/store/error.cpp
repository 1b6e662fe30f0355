#include "error.h"

namespace store {

Error::Error(QString message) : m_message(std::move(message)), m_what(m_message.toUtf8()) {}

EngineError integerOutOfRange(const QString& table, const QString& field, const QString& value)
{
    return EngineError(QStringLiteral("Die Tabelle %1 enthält im Feld %2 den Wert %3; erlaubt sind ganze "
                                      "Zahlen von %4 bis %5.")
                           .arg(table, field, value)
                           .arg(kIntegerMin)
                           .arg(kIntegerMax));
}

} // namespace store
