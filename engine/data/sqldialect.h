#pragma once

#include <QString>

namespace Orv::Data {

// How a database wants the Access-style parts of a statement written.
struct SqlDialect
{
    QChar identifierOpen = u'"';   // [Order Details] becomes "Order Details"
    QChar identifierClose = u'"';
    // Jet SQL: "text" is a string, & joins strings, LIKE uses * and ?,
    // True and False are numbers. Only for statements written for Access.
    bool jet = false;
    // SQLite reads LEFT and RIGHT as join words only: calls of Left( and
    // Right( go to the functions JetLeft and JetRight.
    bool renameLeftRight = false;
    // The database limits rows with LIMIT n and knows neither TOP,
    // DISTINCTROW nor DESCENDING: those Access words are rewritten even in
    // statements that are not otherwise Jet SQL.
    bool limitClause = false;
};

// Rewrites [bracketed] names and #dates# (never valid outside Access) for
// the dialect; with jet set, also strings, & and LIKE wildcards. Text inside
// string literals and comments is left alone.
QString rewriteSql(const QString &sql, const SqlDialect &dialect);

// Why a statement is not a single statement that only reads (SELECT, WITH
// or VALUES, without INTO, FOR UPDATE or any writing or configuring word
// outside literals, comments and quoted names), or an empty text when it is.
// Read-only connections run nothing else; the providers' own read-only
// modes stand behind this check.
QString writingPartOf(const QString &sql);

} // namespace Orv::Data
