// The lexer of the script language: text to tokens, with line continuations,
// comments, bracketed names, date literals and &H/&O numbers.
#include "engine/script/lexer.h"

#include "engine/script/interp.h"

namespace Orv::Script {

[[noreturn]] void syntaxError(int number, int line, int column, const QString &detail)
{
    ScriptError e = scriptError(number, errorDescription(number), line, column);
    if (!detail.isEmpty())
        e.description += QStringLiteral(": '") + detail + QLatin1Char('\'');
    throw e;
}

namespace {

class Lexer
{
public:
    explicit Lexer(const QString &text) : m_text(text) {}

    std::vector<Token> run()
    {
        std::vector<Token> out;
        bool space = false;
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos];
            if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QChar(0xA0)) {
                ++m_pos;
                space = true;
                continue;
            }
            Token t;
            t.line = m_line;
            t.column = int(m_pos - m_lineStart) + 1;
            t.spaceBefore = space;
            space = false;
            if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                if (c == QLatin1Char('\r') && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == QLatin1Char('\n'))
                    ++m_pos;
                ++m_pos;
                newLine();
                t.kind = Tok::Newline;
                t.text = QStringLiteral("\n");
                out.push_back(t);
                continue;
            }
            if (c == QLatin1Char(':')) {
                ++m_pos;
                t.kind = Tok::Newline;
                t.text = QStringLiteral(":");
                out.push_back(t);
                continue;
            }
            if (c == QLatin1Char('\'')) {
                skipComment();
                continue;
            }
            if (c == QLatin1Char('_') && isContinuation()) {
                continue;
            }
            if (c.isLetter() || c == QLatin1Char('_')) {
                qsizetype start = m_pos;
                while (m_pos < m_text.size() && (m_text[m_pos].isLetterOrNumber() || m_text[m_pos] == QLatin1Char('_')))
                    ++m_pos;
                t.kind = Tok::Ident;
                t.text = m_text.mid(start, m_pos - start);
                // Visual Basic's string type character: Left$(s, 1) is Left(s, 1).
                if (m_pos < m_text.size() && m_text[m_pos] == QLatin1Char('$'))
                    ++m_pos;
                if (t.text.size() > 255)
                    syntaxError(1030, t.line, t.column);
                // Rem starts a comment where a statement may start.
                if (t.text.compare(QLatin1String("rem"), Qt::CaseInsensitive) == 0
                    && (out.empty() || out.back().kind == Tok::Newline)) {
                    skipComment();
                    continue;
                }
                out.push_back(t);
                continue;
            }
            if (c == QLatin1Char('[')) {
                const qsizetype close = closingOnLine(QLatin1Char(']'), 1010, t);
                t.kind = Tok::Ident;
                t.text = m_text.mid(m_pos + 1, close - m_pos - 1);
                t.bracketed = true;
                m_pos = close + 1;
                out.push_back(t);
                continue;
            }
            if (c.isDigit() || (c == QLatin1Char('.') && m_pos + 1 < m_text.size() && m_text[m_pos + 1].isDigit()
                                && !(out.size() && !space && out.back().kind == Tok::Ident))) {
                lexNumber(t);
                out.push_back(t);
                continue;
            }
            if (c == QLatin1Char('&') && m_pos + 1 < m_text.size()
                && (m_text[m_pos + 1] == QLatin1Char('H') || m_text[m_pos + 1] == QLatin1Char('h')
                    || m_text[m_pos + 1] == QLatin1Char('O') || m_text[m_pos + 1] == QLatin1Char('o'))
                && m_pos + 2 < m_text.size() && m_text[m_pos + 2].isLetterOrNumber()) {
                lexRadix(t);
                out.push_back(t);
                continue;
            }
            if (c == QLatin1Char('"')) {
                lexString(t);
                out.push_back(t);
                continue;
            }
            if (c == QLatin1Char('#')) {
                const qsizetype close = closingOnLine(QLatin1Char('#'), 1002, t);
                double d;
                if (!parseDate(m_text.mid(m_pos + 1, close - m_pos - 1), &d))
                    syntaxError(1002, t.line, t.column, m_text.mid(m_pos, close - m_pos + 1));
                t.kind = Tok::Date;
                t.value = Variant::date(d);
                m_pos = close + 1;
                out.push_back(t);
                continue;
            }
            // Operators.
            static const char *const twoChar[] = {"<>", "<=", ">=", "=<", "=>"};
            t.kind = Tok::Op;
            bool found = false;
            if (m_pos + 1 < m_text.size()) {
                const QString two = m_text.mid(m_pos, 2);
                for (const char *op : twoChar)
                    if (two == QLatin1String(op)) {
                        t.text = two == QLatin1String("=<") ? QStringLiteral("<=")
                                 : two == QLatin1String("=>") ? QStringLiteral(">=") : two;
                        m_pos += 2;
                        found = true;
                        break;
                    }
            }
            if (!found) {
                // "!" only as Visual Basic's member-by-name operator: rs!Name.
                const bool bang = c == QLatin1Char('!') && m_pos + 1 < m_text.size()
                                  && (m_text[m_pos + 1].isLetter() || m_text[m_pos + 1] == QLatin1Char('['));
                if (!bang && !QStringLiteral("+-*/\\^&=<>(),.;").contains(c))
                    syntaxError(1032, t.line, t.column, QString(c)); // invalid character
                t.text = QString(c);
                ++m_pos;
            }
            out.push_back(t);
        }
        Token nl;
        nl.kind = Tok::Newline;
        nl.line = m_line;
        nl.column = int(m_pos - m_lineStart) + 1;
        out.push_back(nl);
        Token end = nl;
        end.kind = Tok::End;
        out.push_back(end);
        return out;
    }

private:
    void newLine()
    {
        ++m_line;
        m_lineStart = m_pos;
    }
    void skipComment()
    {
        while (m_pos < m_text.size() && m_text[m_pos] != QLatin1Char('\n') && m_text[m_pos] != QLatin1Char('\r'))
            ++m_pos;
    }
    // " _" followed by blanks and a line end joins the next line.
    bool isContinuation()
    {
        qsizetype p = m_pos + 1;
        if (p < m_text.size() && (m_text[p].isLetterOrNumber() || m_text[p] == QLatin1Char('_')))
            return false;
        while (p < m_text.size() && (m_text[p] == QLatin1Char(' ') || m_text[p] == QLatin1Char('\t')))
            ++p;
        if (p < m_text.size() && m_text[p] != QLatin1Char('\r') && m_text[p] != QLatin1Char('\n'))
            return false;
        if (p < m_text.size() && m_text[p] == QLatin1Char('\r'))
            ++p;
        if (p < m_text.size() && m_text[p] == QLatin1Char('\n'))
            ++p;
        m_pos = p;
        newLine();
        return true;
    }
    void lexNumber(Token &t)
    {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos].isDigit())
            ++m_pos;
        bool real = false;
        if (m_pos < m_text.size() && m_text[m_pos] == QLatin1Char('.')) {
            real = true;
            ++m_pos;
            while (m_pos < m_text.size() && m_text[m_pos].isDigit())
                ++m_pos;
        }
        if (m_pos < m_text.size() && (m_text[m_pos] == QLatin1Char('e') || m_text[m_pos] == QLatin1Char('E'))) {
            qsizetype p = m_pos + 1;
            if (p < m_text.size() && (m_text[p] == QLatin1Char('+') || m_text[p] == QLatin1Char('-')))
                ++p;
            if (p < m_text.size() && m_text[p].isDigit()) {
                real = true;
                m_pos = p;
                while (m_pos < m_text.size() && m_text[m_pos].isDigit())
                    ++m_pos;
            }
        }
        const double v = m_text.mid(start, m_pos - start).toDouble();
        // Type characters.
        if (m_pos < m_text.size() && QStringLiteral("%&!#@").contains(m_text[m_pos]))
            ++m_pos;
        t.kind = Tok::Number;
        t.value = real ? Variant(v) : Variant::number(v);
    }
    void lexRadix(Token &t)
    {
        const bool hex = m_text[m_pos + 1].toLower() == QLatin1Char('h');
        qsizetype p = m_pos + 2;
        const qsizetype start = p;
        while (p < m_text.size() && m_text[p].isLetterOrNumber())
            ++p;
        bool ok = false;
        qint64 v = m_text.mid(start, p - start).toLongLong(&ok, hex ? 16 : 8);
        if (!ok || v > 0xFFFFFFFFLL)
            syntaxError(1002, t.line, t.column);
        bool forceLong = false;
        if (p < m_text.size() && m_text[p] == QLatin1Char('&')) {
            ++p;
            forceLong = true;
        }
        if (!forceLong && v <= 0xFFFF && v >= 0x8000)
            v -= 0x10000;
        else if (v >= 0x80000000LL)
            v -= 0x100000000LL;
        m_pos = p;
        t.kind = Tok::Number;
        t.value = forceLong ? Variant(int(v)) : Variant::number(double(v));
    }
    void lexString(Token &t)
    {
        QString s;
        ++m_pos;
        for (;;) {
            if (m_pos >= m_text.size() || m_text[m_pos] == QLatin1Char('\n') || m_text[m_pos] == QLatin1Char('\r'))
                syntaxError(1033, t.line, t.column);
            const QChar c = m_text[m_pos++];
            if (c == QLatin1Char('"')) {
                if (m_pos < m_text.size() && m_text[m_pos] == QLatin1Char('"')) {
                    s += c;
                    ++m_pos;
                    continue;
                }
                break;
            }
            s += c;
        }
        t.kind = Tok::String;
        t.text = s;
    }

    // Where the closing character of a [name] or #date# stands; syntax
    // error number when the line ends first.
    qsizetype closingOnLine(QChar closing, int number, const Token &t) const
    {
        const qsizetype close = m_text.indexOf(closing, m_pos + 1);
        const qsizetype nl = m_text.indexOf(QLatin1Char('\n'), m_pos + 1);
        if (close < 0 || (nl >= 0 && nl < close))
            syntaxError(number, t.line, t.column);
        return close;
    }

    const QString &m_text;
    qsizetype m_pos = 0;
    qsizetype m_lineStart = 0;
    int m_line = 1;
};

} // namespace

std::vector<Token> tokenize(const QString &text)
{
    Lexer lexer(text);
    return lexer.run();
}

} // namespace Orv::Script
