#include "engine/data/sqldialect.h"

#include <QDateTime>

namespace Orv::Data {

namespace {

QString quoted(const QString &text)
{
    QString out = text;
    return u'\'' + out.replace(u'\'', QStringLiteral("''")) + u'\'';
}

// #m/d/yyyy#, #yyyy-mm-dd#, with an optional time: Access date literals are
// month first.
QString dateLiteral(const QString &inside)
{
    const QString t = inside.trimmed();
    static const char *const formats[] = {"M/d/yyyy", "M/d/yyyy H:mm:ss", "M/d/yyyy h:mm:ss AP", "M/d/yyyy H:mm",
                                          "yyyy-MM-dd", "yyyy-MM-dd H:mm:ss", "M/d/yy", "d-MMM-yyyy"};
    for (const char *f : formats) {
        const QDateTime dt = QDateTime::fromString(t, QString::fromLatin1(f));
        if (dt.isValid())
            return quoted(dt.time() == QTime(0, 0) ? dt.toString(QStringLiteral("yyyy-MM-dd"))
                                                   : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    }
    const QTime time = QTime::fromString(t, QStringLiteral("H:mm:ss"));
    if (time.isValid())
        return quoted(time.toString(QStringLiteral("HH:mm:ss")));
    return QString();
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// Where a clause keyword starts in a word that is a number written against
// it ("5GROUP", "12ORDER"), or 0.
qsizetype gluedKeyword(const QString &word)
{
    qsizetype digits = 0;
    while (digits < word.size() && word[digits].isDigit())
        ++digits;
    if (digits == 0 || digits == word.size())
        return 0;
    static const char *const keywords[] = {"group", "order", "having", "union", "and", "or", "where"};
    const QStringView rest = QStringView(word).mid(digits);
    for (const char *k : keywords) {
        if (rest.compare(QLatin1String(k), Qt::CaseInsensitive) == 0)
            return digits;
    }
    return 0;
}

} // namespace

QString rewriteSql(const QString &sql, const SqlDialect &dialect)
{
    QString out;
    const bool accessWords = dialect.jet || dialect.limitClause;
    QString limit; // Jet's SELECT TOP n becomes LIMIT n at the end
    out.reserve(sql.size() + 16);
    const qsizetype n = sql.size();
    QString lastWord; // the last keyword or name, for LIKE
    for (qsizetype i = 0; i < n;) {
        const QChar c = sql[i];
        if (c == u'\'') { // a standard string: copied whole
            qsizetype j = i + 1;
            while (j < n && !(sql[j] == u'\'' && (j + 1 >= n || sql[j + 1] != u'\'')))
                j += sql[j] == u'\'' ? 2 : 1;
            QString literal = sql.mid(i, j + 1 - i);
            if (dialect.jet && lastWord.compare(QLatin1String("like"), Qt::CaseInsensitive) == 0)
                literal.replace(u'*', u'%').replace(u'?', u'_');
            out += literal;
            i = j + 1;
            lastWord.clear();
        } else if (c == u'"') {
            qsizetype j = i + 1;
            QString inside;
            while (j < n) {
                if (sql[j] == u'"') {
                    if (j + 1 < n && sql[j + 1] == u'"') {
                        inside += u'"';
                        j += 2;
                        continue;
                    }
                    break;
                }
                inside += sql[j++];
            }
            if (dialect.jet) {
                if (lastWord.compare(QLatin1String("like"), Qt::CaseInsensitive) == 0)
                    inside.replace(u'*', u'%').replace(u'?', u'_');
                out += quoted(inside);
            } else {
                out += sql.mid(i, j + 1 - i);
            }
            i = j + 1;
            lastWord.clear();
        } else if (c == u'[') {
            const qsizetype close = sql.indexOf(u']', i + 1);
            if (close < 0) { // not a name: leave the rest as it is
                out += sql.mid(i);
                break;
            }
            QString name = sql.mid(i + 1, close - i - 1);
            name.replace(dialect.identifierClose, QString(2, dialect.identifierClose));
            out += dialect.identifierOpen + name + dialect.identifierClose;
            i = close + 1;
            lastWord.clear();
        } else if (c == u'#') {
            const qsizetype close = sql.indexOf(u'#', i + 1);
            const QString literal = close > i ? dateLiteral(sql.mid(i + 1, close - i - 1)) : QString();
            if (literal.isEmpty()) {
                out += c;
                ++i;
            } else {
                out += literal;
                i = close + 1;
            }
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            const qsizetype end = sql.indexOf(u'\n', i);
            out += sql.mid(i, end < 0 ? n - i : end - i);
            i = end < 0 ? n : end;
        } else if (c == u'&' && dialect.jet) {
            out += QStringLiteral("||");
            ++i;
        } else if (isWordChar(c)) {
            qsizetype j = i;
            while (j < n && isWordChar(sql[j]))
                ++j;
            const QString word = sql.mid(i, j - i);
            const qsizetype glued = gluedKeyword(word);
            if (glued > 0) {
                // "5GROUP BY": statements joined from texts often miss the
                // blank after a number (converted chart scripts do).
                out += word.left(glued) + u' ' + word.mid(glued);
                lastWord = word.mid(glued);
                i = j;
                continue;
            }
            if (dialect.jet && word.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                out += QStringLiteral("1");
            else if (dialect.jet && word.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                out += QStringLiteral("0");
            else if (accessWords && word.compare(QLatin1String("distinctrow"), Qt::CaseInsensitive) == 0)
                out += QStringLiteral("DISTINCT");
            else if (accessWords && word.compare(QLatin1String("descending"), Qt::CaseInsensitive) == 0)
                out += QStringLiteral("DESC");
            else if (accessWords && word.compare(QLatin1String("top"), Qt::CaseInsensitive) == 0 && limit.isEmpty()
                     && (lastWord.compare(QLatin1String("select"), Qt::CaseInsensitive) == 0
                         || lastWord.compare(QLatin1String("distinct"), Qt::CaseInsensitive) == 0
                         || lastWord.compare(QLatin1String("distinctrow"), Qt::CaseInsensitive) == 0)) {
                qsizetype k = j;
                while (k < n && sql[k].isSpace())
                    ++k;
                qsizetype e = k;
                while (e < n && sql[e].isDigit())
                    ++e;
                if (e > k) {
                    limit = sql.mid(k, e - k);
                    j = e;
                    if (out.endsWith(u' '))
                        out.chop(1);
                } else {
                    out += word;
                }
            }
            else if (dialect.renameLeftRight
                     && (word.compare(QLatin1String("left"), Qt::CaseInsensitive) == 0
                         || word.compare(QLatin1String("right"), Qt::CaseInsensitive) == 0)
                     && sql.mid(j).trimmed().startsWith(u'('))
                out += QStringLiteral("Jet") + word;
            else
                out += word;
            if (!(accessWords && word.compare(QLatin1String("top"), Qt::CaseInsensitive) == 0 && !limit.isEmpty()))
                lastWord = word;
            i = j;
        } else {
            out += c;
            if (!c.isSpace())
                lastWord.clear();
            ++i;
        }
    }
    if (!limit.isEmpty()) {
        while (out.endsWith(u';') || (!out.isEmpty() && out.back().isSpace()))
            out.chop(1);
        out += QStringLiteral(" LIMIT ") + limit;
    }
    return out;
}

namespace {

// writingPartOf with literals read one way: backslashes escape the next
// character in them (as some databases behind ODBC read them) or not.
QString writingPart(const QString &sql, bool backslashEscapes)
{
    // Words that write, change the connection or reach files inside a
    // statement that starts as a read (WITH ... DELETE, SELECT ... INTO).
    static const char *const writing[] = {"insert", "update", "delete", "merge", "upsert", "into", "drop", "create",
                                          "alter", "truncate", "attach", "detach", "vacuum", "pragma"};
    const qsizetype n = sql.size();
    QString first;
    bool ended = false; // a ';' outside literals was seen
    for (qsizetype i = 0; i < n;) {
        const QChar c = sql[i];
        const auto skipTo = [&](QChar close) {
            qsizetype j = i + 1;
            while (j < n && !(sql[j] == close && (j + 1 >= n || sql[j + 1] != close || close == u']')))
                j += sql[j] == close || (backslashEscapes && sql[j] == u'\\' && close != u']') ? 2 : 1;
            i = j + 1;
        };
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            const qsizetype end = sql.indexOf(u'\n', i);
            i = end < 0 ? n : end + 1;
            continue;
        }
        if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 2;
            continue;
        }
        if (ended)
            return QStringLiteral("it holds more than one statement");
        if (c == u'\'' || c == u'"' || c == u'`') {
            skipTo(c);
        } else if (c == u'[') {
            skipTo(u']');
        } else if (c == u'$' && i + 1 < n && (sql[i + 1] == u'$' || sql[i + 1].isLetter())) {
            // PostgreSQL's $tag$ ... $tag$ literal
            const qsizetype close = sql.indexOf(u'$', i + 1);
            if (close < 0)
                return QStringLiteral("a $ quote is not closed");
            const QString tag = sql.mid(i, close - i + 1);
            const qsizetype end = sql.indexOf(tag, close + 1);
            i = end < 0 ? n : end + tag.size();
        } else if (c == u';') {
            ended = true;
            ++i;
        } else if (isWordChar(c)) {
            qsizetype j = i;
            while (j < n && isWordChar(sql[j]))
                ++j;
            const QString word = sql.mid(i, j - i).toLower();
            i = j;
            if (first.isEmpty())
                first = word;
            for (const char *w : writing) {
                if (word == QLatin1String(w))
                    return QStringLiteral("it uses %1").arg(word.toUpper());
            }
            if (word == QLatin1String("for")) {
                // SELECT ... FOR UPDATE / FOR SHARE lock rows
                qsizetype k = i;
                while (k < n && sql[k].isSpace())
                    ++k;
                const QString next = sql.mid(k, 5).toLower();
                if (next.startsWith(QLatin1String("share")) || next.startsWith(QLatin1String("no")) || next.startsWith(QLatin1String("key")))
                    return QStringLiteral("it locks rows (FOR %1)").arg(next.toUpper().trimmed());
            }
        } else {
            if (first.isEmpty() && c == u'(')
                first = QStringLiteral("(");
            ++i;
        }
    }
    if (first.isEmpty())
        return QStringLiteral("the statement is empty");
    static const char *const reading[] = {"select", "with", "values", "(", "transform", "table"};
    for (const char *r : reading) {
        if (first == QLatin1String(r))
            return QString();
    }
    return QStringLiteral("it is a %1 statement, not a SELECT").arg(first.toUpper());
}

} // namespace

QString writingPartOf(const QString &sql)
{
    // Both readings must find nothing: a statement cannot hide a write in
    // what one database takes for a literal and another does not.
    const QString plain = writingPart(sql, false);
    return plain.isEmpty() ? writingPart(sql, true) : plain;
}

} // namespace Orv::Data
