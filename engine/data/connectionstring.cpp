#include "engine/data/connectionstring.h"

namespace Orv {

namespace {

Status syntaxError(qsizetype position, const QString &what)
{
    return Status::failure(ErrInvalidCall,
                           QStringLiteral("Malformed connection string at character %1: %2").arg(position + 1).arg(what));
}

} // namespace

bool ConnectionString::parse(const QString &text, ConnectionString *out, Status *status)
{
    ConnectionString result;
    const qsizetype n = text.size();
    qsizetype i = 0;
    const auto fail = [&](qsizetype at, const QString &what) {
        if (status)
            *status = syntaxError(at, what);
        return false;
    };
    while (i < n) {
        // Key: up to '='; "==" inside a key stands for one '='.
        while (i < n && (text[i].isSpace() || text[i] == u';'))
            ++i;
        if (i >= n)
            break;
        const qsizetype keyStart = i;
        QString key;
        while (i < n) {
            if (text[i] == u'=') {
                if (i + 1 < n && text[i + 1] == u'=') {
                    key += u'=';
                    i += 2;
                    continue;
                }
                break;
            }
            if (text[i] == u';')
                return fail(i, QStringLiteral("\"%1\" has no value (expected \"=\")").arg(key.trimmed()));
            key += text[i++];
        }
        key = key.trimmed();
        if (i >= n)
            return fail(keyStart, QStringLiteral("\"%1\" has no value (expected \"=\")").arg(key));
        if (key.isEmpty())
            return fail(i, QStringLiteral("a value without a key"));
        ++i; // '='
        while (i < n && text[i].isSpace() && text[i] != u';')
            ++i;
        QString value;
        if (i < n && (text[i] == u'"' || text[i] == u'\'')) {
            const QChar quote = text[i];
            const qsizetype open = i++;
            bool closed = false;
            while (i < n) {
                if (text[i] == quote) {
                    if (i + 1 < n && text[i + 1] == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                value += text[i++];
            }
            if (!closed)
                return fail(open, QStringLiteral("the quoted value of \"%1\" is not closed").arg(key));
            while (i < n && text[i].isSpace())
                ++i;
            if (i < n && text[i] != u';')
                return fail(i, QStringLiteral("text after the quoted value of \"%1\"").arg(key));
        } else if (i < n && text[i] == u'{') {
            // ODBC style {value}, kept with its braces for the driver.
            const qsizetype open = i;
            while (i < n && text[i] != u'}')
                value += text[i++];
            if (i >= n)
                return fail(open, QStringLiteral("the braced value of \"%1\" is not closed").arg(key));
            value += text[i++];
            while (i < n && text[i] != u';')
                value += text[i++];
            value = value.trimmed();
        } else {
            while (i < n && text[i] != u';')
                value += text[i++];
            value = value.trimmed();
        }
        result.setValue(key, value);
    }
    if (out)
        *out = std::move(result);
    if (status)
        *status = Status();
    return true;
}

bool ConnectionString::contains(const QString &key) const
{
    for (const auto &e : m_entries) {
        if (e.first.compare(key, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString ConnectionString::value(const QString &key) const
{
    for (const auto &e : m_entries) {
        if (e.first.compare(key, Qt::CaseInsensitive) == 0)
            return e.second;
    }
    return QString();
}

QString ConnectionString::value(std::initializer_list<const char *> keys) const
{
    for (const char *k : keys) {
        const QString key = QString::fromLatin1(k);
        if (contains(key))
            return value(key);
    }
    return QString();
}

void ConnectionString::setValue(const QString &key, const QString &value)
{
    for (auto &e : m_entries) {
        if (e.first.compare(key, Qt::CaseInsensitive) == 0) {
            e.second = value;
            return;
        }
    }
    m_entries.append({key, value});
}

void ConnectionString::remove(const QString &key)
{
    m_entries.removeIf([&](const auto &e) { return e.first.compare(key, Qt::CaseInsensitive) == 0; });
}

QString ConnectionString::toString() const
{
    QStringList parts;
    for (const auto &e : m_entries) {
        QString v = e.second;
        const bool braced = v.startsWith(u'{') && v.endsWith(u'}');
        if (!braced && (v.contains(u';') || v.contains(u'"') || v.contains(u'\'') || v != v.trimmed())) {
            if (!v.contains(u'"'))
                v = u'"' + v + u'"';
            else
                v = u'\'' + v.replace(u'\'', QStringLiteral("''")) + u'\'';
        }
        QString k = e.first;
        parts << k.replace(u'=', QStringLiteral("==")) + u'=' + v;
    }
    return parts.join(u';');
}

QString resolveDatabasePathTemplate(const QString &connectionString, const QString &path)
{
    QString out = connectionString;
    return out.replace(QStringLiteral("$fulldbpath$"), path, Qt::CaseInsensitive);
}

} // namespace Orv
