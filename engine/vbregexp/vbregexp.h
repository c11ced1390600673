#pragma once
// Regular expressions as VBScript's RegExp object matches them, over
// QRegularExpression. One implementation serves the script object
// "VBScript.RegExp" and the Access importer's pattern services.
//
// The VBScript dialect is translated into a PCRE pattern once per
// pattern and option change: "." stops at \n, \r, U+2028 and U+2029;
// "$" is the end of the text (of a line with Multiline); "^" and "$" in
// Multiline mode know those four line ends; \w, \d, \s and \b are ASCII;
// \v is the vertical tab, \xhh and \uhhhh code points, \cX a control
// character; \n is a back reference when the pattern has n groups, else
// an octal escape; a back reference to a group that did not take part
// matches the empty text; any other escaped letter is that letter; "[]"
// matches nothing and "[^]" any character. Constructions VBScript lacks
// (look-behind, named groups, inline options, possessive quantifiers) are
// syntax errors. Global matching moves one character on after an empty
// match.
#include "engine/core/status.h"

#include <QRegularExpression>
#include <QString>

#include <optional>
#include <vector>

namespace Orv {

class VbRegExp
{
public:
    struct Match
    {
        QString value;
        int firstIndex = 0; // 0-based, in UTF-16 units as VBScript counts
        // One per group of the pattern; nothing for a group that did not
        // take part in the match.
        std::vector<std::optional<QString>> subMatches;
    };

    VbRegExp() = default;
    explicit VbRegExp(const QString &pattern, bool global = false, bool ignoreCase = false, bool multiline = false);

    QString pattern() const { return m_pattern; }
    void setPattern(const QString &pattern);
    bool global() const { return m_global; }
    void setGlobal(bool on) { m_global = on; }
    bool ignoreCase() const { return m_ignoreCase; }
    void setIgnoreCase(bool on);
    bool multiline() const { return m_multiline; }
    void setMultiline(bool on);

    // The pattern's own state: 5017 syntax error, 5018 unexpected
    // quantifier, 5019 expected ']', 5020 expected ')', 5021 invalid range.
    Status check() const;

    // Each of these fails with the pattern's error, or with 7 (too many
    // matches) or 14 (result too long) instead of exhausting memory.
    bool test(const QString &subject, Status *status = nullptr) const;
    std::vector<Match> execute(const QString &subject, Status *status = nullptr) const;
    // Every match (the first only without Global) replaced by replacement,
    // where $1..$99 stand for groups, $& the match, $` the text before it,
    // $' the text after it and $$ a dollar sign.
    QString replace(const QString &subject, const QString &replacement, Status *status = nullptr) const;

    // The PCRE form of a VBScript pattern (for the diagnostics of tests).
    static Status translate(const QString &pattern, bool multiline, QString *pcre, int *groups = nullptr);

private:
    const QRegularExpression *compiled(Status *status) const;
    // Calls f(match) for each match in turn until it returns false.
    template<typename F>
    Status forEachMatch(const QString &subject, F &&f) const;

    QString m_pattern;
    bool m_global = false;
    bool m_ignoreCase = false;
    bool m_multiline = false;
    mutable bool m_dirty = true;
    mutable Status m_status;
    mutable int m_groups = 0;
    mutable QRegularExpression m_re;
};

} // namespace Orv
