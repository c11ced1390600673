#include "engine/vbregexp/vbregexp.h"

namespace Orv {

namespace {

// The pattern errors; the others are the shared ones.
enum : int {
    ErrSyntax = 5017,
    ErrQuantifier = 5018,
    ErrExpectedBracket = 5019,
    ErrExpectedParen = 5020,
    ErrRange = 5021,
};

constexpr size_t MaxMatches = 10'000'000;
constexpr qsizetype MaxResult = 256 * 1024 * 1024;

const QString LineEnds = QStringLiteral("\\n\\r\\x{2028}\\x{2029}");

Status patternError(int number, qsizetype at)
{
    QString text;
    switch (number) {
    case ErrQuantifier: text = QStringLiteral("Unexpected quantifier"); break;
    case ErrExpectedBracket: text = QStringLiteral("Expected ']' in regular expression"); break;
    case ErrExpectedParen: text = QStringLiteral("Expected ')' in regular expression"); break;
    case ErrRange: text = QStringLiteral("Invalid range in character set"); break;
    default: text = QStringLiteral("Syntax error in regular expression"); break;
    }
    return Status::failure(number, text, QStringLiteral("pattern position %1").arg(at + 1));
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// The value of `count` hex digits at p[i], or -1.
int hexRun(const QString &p, qsizetype i, int count)
{
    if (i + count > p.size())
        return -1;
    int v = 0;
    for (int k = 0; k < count; ++k) {
        const int h = hexValue(p[i + k]);
        if (h < 0)
            return -1;
        v = v * 16 + h;
    }
    return v;
}

QString codePoint(int c) { return QStringLiteral("\\x{%1}").arg(c, 0, 16); }

bool isAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

// Counts the capturing groups: "(" not followed by "?", outside classes
// and escapes.
int countGroups(const QString &p)
{
    int groups = 0;
    bool inClass = false;
    for (qsizetype i = 0; i < p.size(); ++i) {
        const QChar c = p[i];
        if (c == u'\\') {
            ++i;
        } else if (inClass) {
            if (c == u']')
                inClass = false;
        } else if (c == u'[') {
            inClass = true;
            if (i + 1 < p.size() && p[i + 1] == u'^')
                ++i;
            if (i + 1 < p.size() && p[i + 1] == u']')
                ++i, inClass = false; // [] and [^] close at once
        } else if (c == u'(' && (i + 1 >= p.size() || p[i + 1] != u'?')) {
            ++groups;
        }
    }
    return groups;
}

class Translator
{
public:
    Translator(const QString &p, bool multiline) : m_p(p), m_multiline(multiline), m_groups(countGroups(p)) {}

    Status run(QString *out)
    {
        int depth = 0;
        bool quantifiable = false;
        const qsizetype n = m_p.size();
        for (qsizetype i = 0; i < n;) {
            const QChar c = m_p[i];
            switch (c.unicode()) {
            case '\\': {
                if (i + 1 >= n)
                    return patternError(ErrSyntax, i);
                bool assertion = false;
                const qsizetype used = escape(i, &assertion);
                quantifiable = !assertion;
                i += used;
                continue;
            }
            case '[': {
                qsizetype end = 0;
                const Status s = charClass(i, &end);
                if (!s)
                    return s;
                i = end;
                quantifiable = true;
                continue;
            }
            case '(':
                if (i + 1 < n && m_p[i + 1] == u'?') {
                    if (i + 2 >= n || !(m_p[i + 2] == u':' || m_p[i + 2] == u'=' || m_p[i + 2] == u'!'))
                        return patternError(ErrSyntax, i);
                    m_out += m_p.mid(i, 3);
                    i += 3;
                } else {
                    m_out += u'(';
                    ++i;
                }
                ++depth;
                quantifiable = false;
                continue;
            case ')':
                if (depth == 0)
                    return patternError(ErrSyntax, i);
                --depth;
                m_out += u')';
                ++i;
                quantifiable = true;
                continue;
            case '|':
                m_out += u'|';
                ++i;
                quantifiable = false;
                continue;
            case '^':
                m_out += m_multiline ? QStringLiteral("(?<![^") + LineEnds + QStringLiteral("])") : QStringLiteral("^");
                ++i;
                quantifiable = false;
                continue;
            case '$':
                m_out += m_multiline ? QStringLiteral("(?=[") + LineEnds + QStringLiteral("]|\\z)") : QStringLiteral("\\z");
                ++i;
                quantifiable = false;
                continue;
            case '.':
                m_out += QStringLiteral("[^") + LineEnds + u']';
                ++i;
                quantifiable = true;
                continue;
            case '*':
            case '+':
            case '?':
                if (!quantifiable)
                    return patternError(ErrQuantifier, i);
                m_out += c;
                ++i;
                if (i < n && m_p[i] == u'?')
                    m_out += m_p[i++];
                quantifiable = false;
                continue;
            case '{': {
                qsizetype end = 0;
                int lo = 0, hi = 0;
                if (braceQuantifier(i, &end, &lo, &hi)) {
                    if (!quantifiable)
                        return patternError(ErrQuantifier, i);
                    if (hi >= 0 && lo > hi)
                        return patternError(ErrSyntax, i);
                    if (lo > 65535 || hi > 65535)
                        return patternError(ErrSyntax, i);
                    m_out += m_p.mid(i, end - i);
                    i = end;
                    if (i < n && m_p[i] == u'?')
                        m_out += m_p[i++];
                    quantifiable = false;
                } else {
                    m_out += QStringLiteral("\\{");
                    ++i;
                    quantifiable = true;
                }
                continue;
            }
            case '}':
            case ']':
                m_out += u'\\';
                m_out += c;
                ++i;
                quantifiable = true;
                continue;
            default:
                m_out += c;
                ++i;
                quantifiable = true;
                continue;
            }
        }
        if (depth > 0)
            return patternError(ErrExpectedParen, n);
        *out = m_out;
        return Status();
    }

    int groups() const { return m_groups; }

private:
    // {n}, {n,} or {n,m}; hi is -1 for no upper bound.
    bool braceQuantifier(qsizetype i, qsizetype *end, int *lo, int *hi) const
    {
        qsizetype j = i + 1;
        const auto number = [&](int *v) {
            const qsizetype start = j;
            qint64 value = 0;
            while (j < m_p.size() && m_p[j].unicode() >= '0' && m_p[j].unicode() <= '9') {
                value = std::min<qint64>(value * 10 + (m_p[j].unicode() - '0'), 1'000'000);
                ++j;
            }
            *v = int(value);
            return j > start;
        };
        if (!number(lo))
            return false;
        *hi = *lo;
        if (j < m_p.size() && m_p[j] == u',') {
            ++j;
            if (!number(hi))
                *hi = -1;
        }
        if (j >= m_p.size() || m_p[j] != u'}')
            return false;
        *end = j + 1;
        return true;
    }

    // An octal escape \ooo (at most 0377) starting at p[i]; returns the
    // digits used.
    qsizetype octal(qsizetype i, int *value) const
    {
        int v = 0;
        qsizetype k = 0;
        while (k < 3 && i + k < m_p.size() && m_p[i + k].unicode() >= '0' && m_p[i + k].unicode() <= '7') {
            const int next = v * 8 + (m_p[i + k].unicode() - '0');
            if (next > 0377)
                break;
            v = next;
            ++k;
        }
        *value = v;
        return k;
    }

    // A character escape valid both outside and inside classes; the
    // character's code in *code, or -1 for a class escape (\d ...) written
    // to *text. Returns the characters used, backslash included.
    qsizetype charEscape(qsizetype i, int *code, QString *text, bool inClass) const
    {
        const QChar d = m_p[i + 1];
        *code = -1;
        switch (d.unicode()) {
        case 'd': case 'D': case 'w': case 'W': case 's': case 'S':
            *text = QStringLiteral("\\") + d;
            return 2;
        case 'f': *code = 0x0C; return 2;
        case 'n': *code = 0x0A; return 2;
        case 'r': *code = 0x0D; return 2;
        case 't': *code = 0x09; return 2;
        case 'v': *code = 0x0B; return 2;
        case 'b':
            if (inClass) {
                *code = 0x08;
                return 2;
            }
            break;
        case 'x': {
            const int v = hexRun(m_p, i + 2, 2);
            if (v >= 0) {
                *code = v;
                return 4;
            }
            *code = 'x';
            return 2;
        }
        case 'u': {
            const int v = hexRun(m_p, i + 2, 4);
            if (v >= 0) {
                *code = v;
                return 6;
            }
            *code = 'u';
            return 2;
        }
        case 'c':
            if (i + 2 < m_p.size() && isAsciiLetter(m_p[i + 2])) {
                *code = m_p[i + 2].unicode() % 32;
                return 3;
            }
            *code = '\\'; // a lone \c is a backslash; the c follows as itself
            return 1;
        default:
            break;
        }
        if (d.unicode() >= '0' && d.unicode() <= '9') {
            if (d.unicode() >= '8') {
                *code = d.unicode();
                return 2;
            }
            int v = 0;
            const qsizetype used = octal(i + 1, &v);
            *code = v;
            return 1 + used;
        }
        *code = d.unicode(); // an identity escape: the character itself
        return 2;
    }

    // An escape outside a class.
    qsizetype escape(qsizetype i, bool *assertion)
    {
        const QChar d = m_p[i + 1];
        if (d == u'b' || d == u'B') {
            m_out += u'\\';
            m_out += d;
            *assertion = true;
            return 2;
        }
        if (d.unicode() >= '1' && d.unicode() <= '9') {
            // \n back reference or octal escape: all the digits when they
            // name a group; else three octal digits (\101); else two or
            // one digits naming a group, the rest literal (\12 with one
            // group is group 1 and "2"); else octal.
            qsizetype run = 0;
            qint64 all = 0;
            while (i + 1 + run < m_p.size() && m_p[i + 1 + run].unicode() >= '0' && m_p[i + 1 + run].unicode() <= '9') {
                all = std::min<qint64>(all * 10 + (m_p[i + 1 + run].unicode() - '0'), 1'000'000);
                ++run;
            }
            const auto digit = [&](qsizetype k) { return int(m_p[i + 1 + k].unicode() - '0'); };
            const bool threeOctal = run >= 3 && digit(0) <= 3 && digit(1) <= 7 && digit(2) <= 7;
            int group = 0;
            qsizetype used = 0;
            if (all <= m_groups) {
                group = int(all);
                used = run;
            } else if (!threeOctal && run >= 2 && digit(0) * 10 + digit(1) <= m_groups) {
                group = digit(0) * 10 + digit(1);
                used = 2;
            } else if (!threeOctal && digit(0) <= m_groups) {
                group = digit(0);
                used = 1;
            }
            if (group >= 1) {
                // A group that did not take part matches the empty text.
                m_out += QStringLiteral("(?(%1)\\g{%1})").arg(group);
                return 1 + used;
            }
        }
        int code = -1;
        QString text;
        const qsizetype used = charEscape(i, &code, &text, false);
        m_out += code >= 0 ? codePoint(code) : text;
        return used;
    }

    // A class from p[i] == '['; *end is the position after its ']'.
    Status charClass(qsizetype i, qsizetype *end)
    {
        const qsizetype n = m_p.size();
        qsizetype j = i + 1;
        const bool negated = j < n && m_p[j] == u'^';
        if (negated)
            ++j;
        if (j < n && m_p[j] == u']') {
            m_out += negated ? QStringLiteral("[\\s\\S]") : QStringLiteral("(?!)");
            *end = j + 1;
            return Status();
        }
        QString body;
        // One member: a character code, or a class escape (code -1).
        const auto member = [&](int *code, QString *text) -> qsizetype {
            if (m_p[j] == u'\\') {
                if (j + 1 >= n)
                    return 0;
                return charEscape(j, code, text, true);
            }
            *code = m_p[j].unicode();
            return 1;
        };
        while (j < n && m_p[j] != u']') {
            int lo = -1;
            QString loText;
            const qsizetype used = member(&lo, &loText);
            if (used == 0)
                return patternError(ErrExpectedBracket, j);
            j += used;
            if (j + 1 < n && m_p[j] == u'-' && m_p[j + 1] != u']') {
                const qsizetype dash = j;
                ++j;
                int hi = -1;
                QString hiText;
                const qsizetype usedHi = member(&hi, &hiText);
                if (usedHi == 0)
                    return patternError(ErrExpectedBracket, j);
                j += usedHi;
                if (lo >= 0 && hi >= 0) {
                    if (lo > hi)
                        return patternError(ErrRange, dash);
                    body += codePoint(lo) + u'-' + codePoint(hi);
                } else {
                    // A range with a class escape at an end: the dash is itself.
                    body += (lo >= 0 ? codePoint(lo) : loText) + QStringLiteral("\\-") + (hi >= 0 ? codePoint(hi) : hiText);
                }
                continue;
            }
            body += lo >= 0 ? codePoint(lo) : loText;
        }
        if (j >= n)
            return patternError(ErrExpectedBracket, i);
        m_out += u'[';
        if (negated)
            m_out += u'^';
        m_out += body;
        m_out += u']';
        *end = j + 1;
        return Status();
    }

    const QString &m_p;
    bool m_multiline;
    int m_groups;
    QString m_out;
};

} // namespace

VbRegExp::VbRegExp(const QString &pattern, bool global, bool ignoreCase, bool multiline)
    : m_pattern(pattern)
    , m_global(global)
    , m_ignoreCase(ignoreCase)
    , m_multiline(multiline)
{
}

void VbRegExp::setPattern(const QString &pattern)
{
    if (pattern != m_pattern || m_pattern.isNull()) {
        m_pattern = pattern;
        m_dirty = true;
    }
}

void VbRegExp::setIgnoreCase(bool on)
{
    if (on != m_ignoreCase) {
        m_ignoreCase = on;
        m_dirty = true;
    }
}

void VbRegExp::setMultiline(bool on)
{
    if (on != m_multiline) {
        m_multiline = on;
        m_dirty = true;
    }
}

Status VbRegExp::translate(const QString &pattern, bool multiline, QString *pcre, int *groups)
{
    Translator t(pattern, multiline);
    if (groups)
        *groups = t.groups();
    return t.run(pcre);
}

const QRegularExpression *VbRegExp::compiled(Status *status) const
{
    if (m_dirty) {
        m_dirty = false;
        QString pcre;
        m_status = translate(m_pattern, m_multiline, &pcre, &m_groups);
        if (m_status) {
            m_re = QRegularExpression(pcre, m_ignoreCase ? QRegularExpression::CaseInsensitiveOption
                                                        : QRegularExpression::NoPatternOption);
            if (!m_re.isValid())
                m_status = Status::failure(ErrSyntax, QStringLiteral("Syntax error in regular expression"),
                                           QStringLiteral("pattern position %1").arg(m_re.patternErrorOffset() + 1));
            else
                m_re.optimize();
        }
    }
    if (status)
        *status = m_status;
    return m_status ? &m_re : nullptr;
}

Status VbRegExp::check() const
{
    Status s;
    compiled(&s);
    return s;
}

template<typename F>
Status VbRegExp::forEachMatch(const QString &subject, F &&f) const
{
    Status s;
    const QRegularExpression *re = compiled(&s);
    if (!re)
        return s;
    qsizetype pos = 0;
    size_t count = 0;
    while (pos <= subject.size()) {
        const QRegularExpressionMatch m = re->match(subject, pos);
        if (!m.hasMatch())
            break;
        if (++count > MaxMatches)
            return Status::failure(ErrOutOfMemory, errorDescription(ErrOutOfMemory));
        if (!f(m))
            break;
        if (!m_global)
            break;
        pos = m.capturedEnd(0);
        if (m.capturedLength(0) == 0) {
            // Past an empty match by one character (a whole surrogate pair).
            if (pos < subject.size() && subject[pos].isHighSurrogate() && pos + 1 < subject.size()
                && subject[pos + 1].isLowSurrogate())
                ++pos;
            ++pos;
        }
    }
    return Status();
}

bool VbRegExp::test(const QString &subject, Status *status) const
{
    Status s;
    const QRegularExpression *re = compiled(&s);
    if (status)
        *status = s;
    return re && re->match(subject).hasMatch();
}

std::vector<VbRegExp::Match> VbRegExp::execute(const QString &subject, Status *status) const
{
    std::vector<Match> out;
    const Status s = forEachMatch(subject, [&](const QRegularExpressionMatch &m) {
        Match item;
        item.value = m.captured(0);
        item.firstIndex = int(m.capturedStart(0));
        for (int g = 1; g <= m_groups; ++g) {
            if (m.capturedStart(g) < 0)
                item.subMatches.emplace_back();
            else
                item.subMatches.emplace_back(m.captured(g));
        }
        out.push_back(std::move(item));
        return true;
    });
    if (!s)
        out.clear();
    if (status)
        *status = s;
    return out;
}

QString VbRegExp::replace(const QString &subject, const QString &replacement, Status *status) const
{
    QString out;
    qsizetype last = 0;
    bool tooLong = false;
    const auto expand = [&](const QRegularExpressionMatch &m) {
        const qsizetype n = replacement.size();
        for (qsizetype i = 0; i < n; ++i) {
            const QChar c = replacement[i];
            if (c != u'$' || i + 1 >= n) {
                out += c;
                continue;
            }
            const QChar next = replacement[i + 1];
            if (next == u'$') {
                out += u'$';
                ++i;
            } else if (next == u'&') {
                out += m.captured(0);
                ++i;
            } else if (next == u'`') {
                out += QStringView(subject).left(m.capturedStart(0));
                ++i;
            } else if (next == u'\'') {
                out += QStringView(subject).mid(m.capturedEnd(0));
                ++i;
            } else if (next.unicode() >= '0' && next.unicode() <= '9') {
                int group = next.unicode() - '0';
                qsizetype used = 1;
                if (i + 2 < n && replacement[i + 2].unicode() >= '0' && replacement[i + 2].unicode() <= '9') {
                    const int two = group * 10 + (replacement[i + 2].unicode() - '0');
                    if (two <= m_groups) {
                        group = two;
                        used = 2;
                    }
                }
                if (group >= 1 && group <= m_groups) {
                    out += m.captured(group);
                    i += used;
                } else {
                    out += c;
                }
            } else {
                out += c;
            }
        }
    };
    Status s = forEachMatch(subject, [&](const QRegularExpressionMatch &m) {
        out += QStringView(subject).mid(last, m.capturedStart(0) - last);
        expand(m);
        last = m.capturedEnd(0);
        if (out.size() > MaxResult) {
            tooLong = true;
            return false;
        }
        return true;
    });
    if (s && tooLong)
        s = Status::failure(ErrOutOfStringSpace, errorDescription(ErrOutOfStringSpace));
    if (status)
        *status = s;
    if (!s)
        return QString();
    out += QStringView(subject).mid(last);
    return out;
}

} // namespace Orv
