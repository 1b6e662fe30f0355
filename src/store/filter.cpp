#include "filter.h"

#include "dates.h"
#include "values.h"

#include <QRegularExpression>
#include <algorithm>

namespace store::engine {

namespace {

// Finds a date written in the locale's short format: days and months of one or two
// digits, a four-digit year, the format's literal text as it stands (quoted or not,
// "г." or a trailing dot), and blanks where the format has them.
QRegularExpression datePatternFor(const QString& format)
{
    QString re;
    const qsizetype n = format.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = format[i];
        if (c == QLatin1Char('\'')) {
            QString literal;
            qsizetype j = i + 1;
            if (j < n && format[j] == QLatin1Char('\'')) { // '' is a quote
                literal = QStringLiteral("'");
                ++j;
            } else {
                while (j < n) {
                    if (format[j] == QLatin1Char('\'')) {
                        if (j + 1 < n && format[j + 1] == QLatin1Char('\'')) {
                            literal += QLatin1Char('\'');
                            j += 2;
                            continue;
                        }
                        ++j;
                        break;
                    }
                    literal += format[j++];
                }
            }
            re += QRegularExpression::escape(literal);
            i = j;
        } else if (c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y')) {
            qsizetype j = i;
            while (j < n && format[j] == c)
                ++j;
            // The first numeric day, month and year are captured, for years past 9999
            // (formatDate writes them with more digits).
            const QString group = re.contains(QStringLiteral("(?<") + c) ? QStringLiteral("(?:")
                                                                         : QStringLiteral("(?<%1>").arg(c);
            if (c == QLatin1Char('y'))
                re += group + QStringLiteral("\\d{4,7})");
            else if (j - i <= 2)
                re += group + QStringLiteral("\\d{1,2})");
            else
                re += QStringLiteral("\\p{L}+\\.?"); // a day's or month's name
            i = j;
        } else if (c.isSpace()) {
            while (i < n && format[i].isSpace())
                ++i;
            re += QStringLiteral("\\s*");
        } else {
            re += QRegularExpression::escape(QString(c));
            ++i;
        }
    }
    return QRegularExpression(re, QRegularExpression::UseUnicodePropertiesOption);
}

// The length of the locale date at `at`, 0 when there is none.
qsizetype localeDateAt(const QString& s, qsizetype at, QDate* date)
{
    static QString format;
    static QRegularExpression pattern;
    if (const QString f = shortDateFormat(); f != format || !pattern.isValid()) {
        format = f;
        pattern = datePatternFor(f);
    }
    const QRegularExpressionMatch m =
        pattern.match(s, at, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
    if (!m.hasMatch() || m.capturedLength() == 0)
        return 0;
    const qsizetype end = at + m.capturedLength();
    // "1.2.19981" is no date followed by a digit.
    if (end < s.size() && s[end - 1].isLetterOrNumber() && s[end].isLetterOrNumber())
        return 0;
    const QString year = m.captured(QStringLiteral("y"));
    const QDate d =
        year.size() > 4 && m.hasCaptured(QStringLiteral("M")) && m.hasCaptured(QStringLiteral("d"))
            ? QDate(year.toInt(), m.captured(QStringLiteral("M")).toInt(),
                    m.captured(QStringLiteral("d")).toInt())
            : parseDate(m.captured());
    if (!d.isValid())
        return 0;
    *date = d;
    return m.capturedLength();
}

[[noreturn]] void bad(const QString& detail)
{
    throw EngineError(QStringLiteral("Ungültiger Filterausdruck: %1").arg(detail));
}

// A day as compared with stored days ("YYYY-MM-DD"): a day past the storable range
// compares after every stored day, one before it before every stored day.
QString comparedDay(const QDate& day)
{
    if (day > lastStorableDate())
        return lastStorableDate().toString(Qt::ISODate) + QLatin1Char('~');
    if (day < firstStorableDate())
        return QStringLiteral("0000");
    return day.toString(Qt::ISODate);
}

struct Tok
{
    enum Kind { Name, Number, Text, Date, Op, LParen, RParen, End } kind = End;
    QString text;
    QVariant value;
};

std::vector<Tok> lex(const QString& s)
{
    std::vector<Tok> out;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('(')) {
            out.push_back({Tok::LParen, QStringLiteral("("), {}});
            ++i;
        } else if (c == QLatin1Char(')')) {
            out.push_back({Tok::RParen, QStringLiteral(")"), {}});
            ++i;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // Quoted text; a doubled quote stands for one.
            QString text;
            ++i;
            for (;;) {
                if (i >= n)
                    bad(QStringLiteral("Anführungszeichen nicht geschlossen."));
                if (s[i] == c) {
                    if (i + 1 < n && s[i + 1] == c) {
                        text += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text += s[i++];
            }
            out.push_back({Tok::Text, text, text});
        } else if (c == QLatin1Char('=') || c == QLatin1Char('<') || c == QLatin1Char('>')) {
            QString op(c);
            ++i;
            if (i < n && (s[i] == QLatin1Char('=') || (c == QLatin1Char('<') && s[i] == QLatin1Char('>')))) {
                if (c != QLatin1Char('='))
                    op += s[i++];
            }
            out.push_back({Tok::Op, op, {}});
        } else if (QDate day; c.isDigit() && localeDateAt(s, i, &day) > 0) {
            const qsizetype length = localeDateAt(s, i, &day);
            out.push_back({Tok::Date, s.mid(i, length), QVariant(day)});
            i += length;
        } else if (c.isDigit() ||
                   ((c == QLatin1Char('-') || c == QLatin1Char('+')) && i + 1 < n && s[i + 1].isDigit())) {
            const qsizetype start = i++;
            while (i < n && (s[i].isDigit() || s[i] == QLatin1Char('.') || s[i] == QLatin1Char('/') ||
                             s[i] == QLatin1Char('-')))
                ++i;
            const QString word = s.mid(start, i - start);
            bool ok = false;
            const qlonglong v = word.toLongLong(&ok);
            if (ok) {
                out.push_back({Tok::Number, word, QVariant(v)});
            } else {
                const QDate d = parseDate(word);
                if (!d.isValid())
                    bad(QStringLiteral("'%1' ist weder eine ganze Zahl noch ein Datum der Form %2.")
                            .arg(word, shortDateFormat()));
                out.push_back({Tok::Date, word, QVariant(d)});
            }
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            const qsizetype start = i;
            while (i < n && (s[i].isLetterOrNumber() || s[i] == QLatin1Char('_')))
                ++i;
            out.push_back({Tok::Name, s.mid(start, i - start), {}});
        } else {
            bad(QStringLiteral("Unerwartetes Zeichen '%1'.").arg(c));
        }
    }
    out.push_back({Tok::End, {}, {}});
    return out;
}

struct Operand
{
    int field = -1; // >= 0: a field
    QVariant literal;
    Tok::Kind kind = Tok::End;
};

class Compiler
{
public:
    Compiler(std::vector<Tok> t, const TableInfo& table) : m_t(std::move(t)), m_table(table) {}

    CompiledFilter run()
    {
        m_out.sql = orExpr();
        if (peek().kind != Tok::End)
            bad(QStringLiteral("Unerwartetes '%1'.").arg(peek().text));
        return std::move(m_out);
    }

private:
    const Tok& peek() const { return m_t[m_pos]; }
    Tok take() { return m_t[m_pos < m_t.size() - 1 ? m_pos++ : m_pos]; }
    bool keyword(const char* w) const
    {
        return peek().kind == Tok::Name && peek().text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }

    // A chain of ORs (ANDs) is one flat list in one pair of parentheses: SQLite's
    // parser has a stack of limited depth.
    QByteArray orExpr()
    {
        QByteArray chain = andExpr();
        bool several = false;
        while (keyword("OR")) {
            take();
            chain += " OR " + andExpr();
            several = true;
        }
        return several ? '(' + chain + ')' : chain;
    }
    QByteArray andExpr()
    {
        QByteArray chain = notExpr();
        bool several = false;
        while (keyword("AND")) {
            take();
            chain += " AND " + notExpr();
            several = true;
        }
        return several ? '(' + chain + ')' : chain;
    }
    QByteArray notExpr()
    {
        if (++m_nesting > 200)
            bad(QStringLiteral("Ausdruck zu tief geschachtelt."));
        QByteArray r;
        if (keyword("NOT")) {
            take();
            r = "(NOT " + notExpr() + ')';
        } else if (peek().kind == Tok::LParen) {
            take();
            r = orExpr();
            if (peek().kind != Tok::RParen)
                bad(QStringLiteral("')' fehlt."));
            take();
        } else {
            r = comparison();
        }
        --m_nesting;
        return r;
    }

    Operand operand()
    {
        Tok t = take();
        Operand o;
        o.kind = t.kind;
        switch (t.kind) {
        case Tok::Name:
            if (t.text.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0 ||
                t.text.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0) {
                o.literal = t.text.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0;
                return o;
            }
            o.field = m_table.indexOf(t.text);
            if (o.field < 0)
                throw EngineError(QStringLiteral("Feld '%1' nicht gefunden.").arg(t.text));
            if (m_table.fields[static_cast<size_t>(o.field)].isBlob())
                bad(QStringLiteral("Das Feld %1 kann nicht verglichen werden.").arg(t.text));
            m_out.fields.insert(o.field);
            return o;
        case Tok::Number:
        case Tok::Text:
        case Tok::Date:
            o.literal = t.value;
            return o;
        case Tok::End:
            bad(QStringLiteral("Unerwartetes Ende des Ausdrucks."));
        default:
            bad(QStringLiteral("Feld oder Wert erwartet statt '%1'.").arg(t.text));
        }
    }

    QByteArray side(const Operand& o, const Operand& other)
    {
        if (o.field >= 0) {
            const Field& f = m_table.fields[static_cast<size_t>(o.field)];
            if (f.type == FieldType::Boolean)
                return "COALESCE(" + f.column() + ",0)";
            return f.column();
        }
        QVariant v = o.literal;
        if (v.typeId() == QMetaType::QDate &&
            (other.field < 0 || m_table.fields[static_cast<size_t>(other.field)].type == FieldType::Date)) {
            v = comparedDay(v.toDate());
        } else if (other.field >= 0) {
            const Field& f = m_table.fields[static_cast<size_t>(other.field)];
            bool ok = false;
            v = storageValue(f, o.literal, &ok);
            if (!ok)
                bad(QStringLiteral("'%1' passt nicht zum Typ des Feldes %2.")
                        .arg(o.literal.toString(), f.name));
        }
        m_out.params.push_back(v);
        return "?";
    }

    QByteArray comparison()
    {
        // SQLite refuses an expression tree deeper than 1000; a chain of comparisons is
        // as deep as it is long.
        if (++m_comparisons > 500)
            bad(QStringLiteral("Ausdruck zu lang."));
        const Operand left = operand();
        if (peek().kind != Tok::Op)
            bad(QStringLiteral("Vergleichsoperator erwartet."));
        const QString op = take().text;
        const Operand right = operand();
        const QByteArray l = side(left, right);
        const QByteArray r = side(right, left);
        return '(' + l + ' ' + op.toLatin1() + ' ' + r + ')';
    }

    std::vector<Tok> m_t;
    size_t m_pos = 0;
    const TableInfo& m_table;
    CompiledFilter m_out;
    int m_nesting = 0;
    int m_comparisons = 0;
};

// The deepest nesting of parentheses in compiled SQL (outside quoted column names).
// SQLite's parser refuses a statement nested much deeper than 24 with "parser stack
// overflow", so deeper filters are refused here with our own message.
constexpr int kMaxSqlDepth = 24;

int sqlDepth(const QByteArray& sql)
{
    int depth = 0;
    int deepest = 0;
    bool quoted = false;
    for (const char c : sql) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == '(')
            deepest = std::max(deepest, ++depth);
        else if (!quoted && c == ')')
            --depth;
    }
    return deepest;
}

} // namespace

CompiledFilter compileFilter(const QString& expression, const TableInfo& table)
{
    if (expression.trimmed().isEmpty())
        return {};
    Compiler c(lex(expression), table);
    CompiledFilter compiled = c.run();
    if (sqlDepth(compiled.sql) > kMaxSqlDepth)
        bad(QStringLiteral("Ausdruck zu tief geschachtelt."));
    return compiled;
}

} // namespace store::engine
