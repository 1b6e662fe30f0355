#pragma once

#include <QString>
#include <exception>

namespace store {

// Base of every failure the program reports to the user: it carries the German
// text that the default error dialog shows.
class Error : public std::exception
{
public:
    explicit Error(QString message);
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    QString m_message;
    QByteArray m_what;
};

// A failure of the table engine: missing table file, table in use, a statement
// or filter it does not understand, a value it cannot convert.
class EngineError : public Error
{
public:
    using Error::Error;
};

// The smallest and largest value of an INTEGER field.
inline constexpr qint64 kIntegerMin = -2147483647LL - 1;
inline constexpr qint64 kIntegerMax = 2147483647LL;

// A stored value of an INTEGER field outside kIntegerMin..kIntegerMax (a table edited
// with another tool), named with its table file and field.
EngineError integerOutOfRange(const QString& table, const QString& field, const QString& value);

// A failure while reading or writing a plain file (list file, vocabulary file).
class FileError : public Error
{
public:
    using Error::Error;
};

} // namespace store
