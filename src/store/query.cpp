// The statement runner: understands the two statements that create a collection's
// tables, CREATE TABLE "file.db" (field TYPE, ..., PRIMARY KEY (field)) with or
// without a closing ";", and CREATE INDEX name ON "file.db" (field, ...).
// A new table file is built under a temporary name and renamed into place, so a
// refused or failed statement leaves nothing behind; stale journals of a former file of
// that name are removed first.

#include "query.h"

#include "engine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <sqlite3.h>

namespace store {

using namespace engine;

namespace {

struct Token
{
    enum Kind { Word, Quoted, Number, Symbol, End } kind = End;
    QString text;
};

[[noreturn]] void syntax(const QString& detail)
{
    throw EngineError(QStringLiteral("Fehler in der SQL-Anweisung: %1").arg(detail));
}

std::vector<Token> tokenize(const QString& s)
{
    std::vector<Token> out;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype start = ++i;
            while (i < n && s[i] != c)
                ++i;
            if (i >= n)
                syntax(QStringLiteral("Anführungszeichen nicht geschlossen."));
            out.push_back({Token::Quoted, s.mid(start, i - start)});
            ++i;
        } else if (c.isDigit()) {
            const qsizetype start = i;
            while (i < n && s[i].isDigit())
                ++i;
            out.push_back({Token::Number, s.mid(start, i - start)});
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            const qsizetype start = i;
            while (i < n && (s[i].isLetterOrNumber() || s[i] == QLatin1Char('_')))
                ++i;
            out.push_back({Token::Word, s.mid(start, i - start)});
        } else if (c == QLatin1Char('(') || c == QLatin1Char(')') || c == QLatin1Char(',') ||
                   c == QLatin1Char(';')) {
            out.push_back({Token::Symbol, QString(c)});
            ++i;
        } else {
            syntax(QStringLiteral("Unerwartetes Zeichen '%1'.").arg(c));
        }
    }
    out.push_back({Token::End, {}});
    return out;
}

class Parser
{
public:
    explicit Parser(std::vector<Token> t) : m_t(std::move(t)) {}
    const Token& peek() const { return m_t[m_pos]; }
    Token take() { return m_t[m_pos < m_t.size() - 1 ? m_pos++ : m_pos]; }
    bool isWord(const char* w) const
    {
        return peek().kind == Token::Word && peek().text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(char c) const { return peek().kind == Token::Symbol && peek().text == QLatin1Char(c); }
    void expectWord(const char* w)
    {
        if (!isWord(w))
            syntax(QStringLiteral("%1 erwartet.").arg(QLatin1String(w)));
        take();
    }
    void expectSymbol(char c)
    {
        if (!isSymbol(c))
            syntax(QStringLiteral("'%1' erwartet.").arg(QLatin1Char(c)));
        take();
    }
    QString name()
    {
        if (peek().kind != Token::Word)
            syntax(QStringLiteral("Name erwartet."));
        return take().text;
    }
    QString fileName()
    {
        if (peek().kind != Token::Quoted || peek().text.trimmed().isEmpty())
            syntax(QStringLiteral("Dateiname in Anführungszeichen erwartet."));
        // The file functions end a name at a NUL: the statement would reach another file.
        if (peek().text.contains(QChar(u'\0')))
            syntax(QStringLiteral("Ungültiger Dateiname."));
        return take().text;
    }
    QString number()
    {
        if (peek().kind != Token::Number)
            syntax(QStringLiteral("Zahl erwartet."));
        return take().text;
    }
    void end()
    {
        if (isSymbol(';'))
            take();
        if (peek().kind != Token::End)
            syntax(QStringLiteral("Unerwartetes Ende der Anweisung bei '%1'.").arg(peek().text));
    }
    QStringList nameList()
    {
        QStringList names;
        expectSymbol('(');
        names << name();
        while (isSymbol(',')) {
            take();
            names << name();
        }
        expectSymbol(')');
        return names;
    }

private:
    std::vector<Token> m_t;
    size_t m_pos = 0;
};

struct DbHandle
{
    sqlite3* db = nullptr;
    ~DbHandle()
    {
        if (db)
            sqlite3_close_v2(db);
    }
};

void createTable(Parser& p)
{
    const QString file = p.fileName();
    p.expectSymbol('(');
    std::vector<Field> fields;
    QStringList primaryKey;
    QSet<QString> seen;
    for (;;) {
        if (p.isWord("PRIMARY")) {
            p.take();
            p.expectWord("KEY");
            primaryKey = p.nameList();
        } else {
            Field f;
            f.name = p.name();
            if (f.name.endsWith(QLatin1String(kFoldSuffix), Qt::CaseInsensitive))
                syntax(QStringLiteral("Ungültiger Feldname %1.").arg(f.name));
            if (seen.contains(f.name.toLower()))
                syntax(QStringLiteral("Feld %1 ist doppelt.").arg(f.name));
            seen.insert(f.name.toLower());
            QString type = p.name();
            if (p.isSymbol('(')) {
                p.take();
                type += QLatin1Char('(') + p.number();
                if (p.isSymbol(',')) {
                    p.take();
                    type += QLatin1Char(',') + p.number();
                }
                p.expectSymbol(')');
                type += QLatin1Char(')');
            }
            if (!parseFieldType(type, f))
                syntax(QStringLiteral("Unbekannter Feldtyp %1.").arg(type));
            fields.push_back(f);
        }
        if (p.isSymbol(',')) {
            p.take();
            continue;
        }
        break;
    }
    p.expectSymbol(')');
    p.end();
    if (fields.empty())
        syntax(QStringLiteral("Die Tabelle hat keine Felder."));

    int autoinc = -1;
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].type == FieldType::AutoInc) {
            if (autoinc >= 0)
                syntax(QStringLiteral("Nur ein AUTOINC-Feld je Tabelle."));
            autoinc = static_cast<int>(i);
        }
    if (!primaryKey.isEmpty()) {
        if (primaryKey.size() != 1 || autoinc < 0 ||
            primaryKey.first().compare(fields[static_cast<size_t>(autoinc)].name, Qt::CaseInsensitive) != 0)
            throw EngineError(
                QStringLiteral("Der Primärschlüssel muss aus dem einen AUTOINC-Feld der Tabelle bestehen."));
    }

    QByteArray sql = "CREATE TABLE " + QByteArray(kTable) + " (";
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i)
            sql += ", ";
        sql += fields[i].column() + ' ' + declaredType(fields[i], static_cast<int>(i) == autoinc);
        if (fields[i].type == FieldType::Char)
            sql += ", " + fields[i].foldColumn() + " TEXT";
    }
    sql += ')';

    const QString path = QDir::current().absoluteFilePath(file);
    if (QFileInfo::exists(path))
        throw EngineError(QStringLiteral("Die Tabelle %1 existiert bereits.").arg(file));
    const QString temp = path + QStringLiteral(".entsteht");
    QFile::remove(temp);
    removeStaleJournals(temp);
    {
        DbHandle h;
        int rc = sqlite3_open_v2(temp.toUtf8().constData(), &h.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                 nullptr);
        if (rc != SQLITE_OK) {
            QFile::remove(temp);
            fail(h.db, rc, QDir::toNativeSeparators(path));
        }
        char* err = nullptr;
        rc = sqlite3_exec(h.db, ("PRAGMA journal_mode=DELETE; " + sql).constData(), nullptr, nullptr, &err);
        sqlite3_free(err);
        if (rc != SQLITE_OK) {
            try {
                fail(h.db, rc, QDir::toNativeSeparators(path));
            } catch (...) {
                sqlite3_close_v2(h.db);
                h.db = nullptr;
                QFile::remove(temp);
                throw;
            }
        }
    }
    // A journal left beside a former file of this name would be played into the new one.
    removeStaleJournals(path);
    if (!QFile::rename(temp, path)) {
        QFile::remove(temp);
        throw EngineError(QStringLiteral("Die Tabelle %1 kann nicht angelegt werden.").arg(file));
    }
}

void createIndex(Parser& p)
{
    const QString index = p.name();
    p.expectWord("ON");
    const QString file = p.fileName();
    const QStringList names = p.nameList();
    p.end();

    const QString path = QDir::current().absoluteFilePath(file);
    if (!QFileInfo(path).isFile())
        throw EngineError(QStringLiteral("Datei nicht gefunden: %1").arg(QDir::toNativeSeparators(path)));
    DbHandle h;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &h.db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK)
        fail(h.db, rc, QDir::toNativeSeparators(path));
    sqlite3_extended_result_codes(h.db, 1);

    // Field list of the table, from its declared types.
    TableInfo info;
    {
        Stmt s(h.db,
               "SELECT name, type, pk FROM pragma_table_info('" + QByteArray(kTable) + "') ORDER BY cid");
        while (s.step()) {
            const QString name = s.column(0).toString();
            if (name.endsWith(QLatin1String(kFoldSuffix)))
                continue;
            Field f;
            f.name = name;
            QString type = s.column(1).toString();
            if (s.int64(2) != 0)
                type = QStringLiteral("AUTOINC");
            if (!parseFieldType(type, f))
                f.type = FieldType::Integer;
            info.fields.push_back(f);
        }
    }
    if (info.fields.empty())
        throw EngineError(QStringLiteral("%1 ist keine Tabelle dieses Programms.").arg(file));

    QByteArray columns;
    for (const QString& n : names) {
        const int i = info.indexOf(n);
        if (i < 0)
            throw EngineError(QStringLiteral("Feld %1 gibt es in der Tabelle %2 nicht.").arg(n, file));
        const Field& f = info.fields[static_cast<size_t>(i)];
        if (f.isBlob())
            throw EngineError(
                QStringLiteral("Über das Feld %1 kann kein Index angelegt werden.").arg(f.name));
        if (!columns.isEmpty())
            columns += ", ";
        columns += f.type == FieldType::Char ? f.foldColumn() : f.column();
    }
    {
        Stmt s(h.db, "SELECT count(*) FROM sqlite_master WHERE type='index' AND name=?");
        s.bind(1, index);
        if (s.step() && s.int64(0) > 0)
            throw EngineError(QStringLiteral("Der Index %1 existiert bereits.").arg(index));
    }
    char* err = nullptr;
    rc = sqlite3_exec(
        h.db,
        ("CREATE INDEX " + quoteId(index) + " ON " + QByteArray(kTable) + " (" + columns + ')').constData(),
        nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK)
        fail(h.db, rc, file);
}

} // namespace

void Query::execSQL() const
{
    Parser p(tokenize(sql.join(QLatin1Char('\n'))));
    if (!p.isWord("CREATE"))
        syntax(QStringLiteral("Nur CREATE TABLE und CREATE INDEX werden unterstützt."));
    p.take();
    if (p.isWord("TABLE")) {
        p.take();
        createTable(p);
    } else if (p.isWord("INDEX")) {
        p.take();
        createIndex(p);
    } else {
        syntax(QStringLiteral("Nur CREATE TABLE und CREATE INDEX werden unterstützt."));
    }
}

} // namespace store
