#pragma once

#include "engine/core/status.h"

#include <QList>
#include <QPair>
#include <QString>

namespace Orv {

// A connection string in the OLE DB syntax: "Key=Value;Key2='Value; 2'".
// Keys compare without regard to case; values may be quoted with " or '
// (a doubled quote inside stands for one); blanks around keys and unquoted
// values are trimmed. A later key of the same name wins, as OLE DB has it.
class ConnectionString
{
public:
    ConnectionString() = default;

    // Parses text; on a syntax error returns false and sets *status to
    // error 5 with the position (1-based character) of the fault.
    static bool parse(const QString &text, ConnectionString *out, Status *status);

    bool contains(const QString &key) const;
    QString value(const QString &key) const;
    // The first present of several spellings ("Data Source", "DBQ", ...).
    QString value(std::initializer_list<const char *> keys) const;
    void setValue(const QString &key, const QString &value);
    void remove(const QString &key);

    const QList<QPair<QString, QString>> &entries() const { return m_entries; }

    // Back to text, quoting values that need it.
    QString toString() const;

private:
    QList<QPair<QString, QString>> m_entries;
};

// Replaces every "$fulldbpath$" (without regard to case) by path.
QString resolveDatabasePathTemplate(const QString &connectionString, const QString &path);

} // namespace Orv
