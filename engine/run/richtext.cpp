#include "engine/run/richtext.h"

#include <QStringDecoder>
#include <QList>

#include <algorithm>
#include <vector>

namespace Orv::RunInternal {

bool isRtf(const QString &text)
{
    return text.trimmed().startsWith(QLatin1String("{\\rtf"));
}

QString plainToHtml(const QString &text)
{
    QString html = text.toHtmlEscaped();
    html.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
    html.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    html.replace(QLatin1Char('\r'), QLatin1String("<br>"));
    return QStringLiteral("<p style=\"margin:0\">%1</p>").arg(html);
}

namespace {

struct CharFormat
{
    bool bold = false, italic = false, underline = false, strike = false;
    int font = -1;
    int halfPoints = 0;
    int color = 0;
    int skip = 1; // \uc: characters to skip after \u
    bool operator==(const CharFormat &) const = default;
};

struct State
{
    CharFormat format;
    bool ignore = false;     // a destination left out
    bool fontTable = false;
    bool colorTable = false;
};

class RtfReader
{
public:
    explicit RtfReader(const QString &rtf) : m_in(rtf) {}

    QString run()
    {
        m_stack.push_back(State());
        while (m_pos < m_in.size()) {
            const QChar c = m_in.at(m_pos++);
            if (c == QLatin1Char('{')) {
                flushBytes();
                m_stack.push_back(m_stack.back());
                if (m_stack.size() > 256) // damaged input: stop nesting deeper
                    m_stack.pop_back();
            } else if (c == QLatin1Char('}')) {
                flushBytes();
                if (m_stack.back().fontTable)
                    endFontName();
                if (m_stack.size() > 1)
                    m_stack.pop_back();
            } else if (c == QLatin1Char('\\')) {
                control();
            } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                continue;
            } else {
                flushBytes();
                text(QString(c));
            }
        }
        flushBytes();
        endParagraph(true);
        return m_html;
    }

private:
    State &state() { return m_stack.back(); }

    void control()
    {
        if (m_pos >= m_in.size())
            return;
        const QChar c = m_in.at(m_pos);
        if (!c.isLetter()) {
            ++m_pos;
            if (c == QLatin1Char('\'')) {
                bool ok = false;
                const int byte = m_in.mid(m_pos, 2).toInt(&ok, 16);
                m_pos += 2;
                if (ok && !state().ignore)
                    m_bytes.append(char(byte));
                return;
            }
            flushBytes();
            if (c == QLatin1Char('*'))
                state().ignore = true;
            else if (c == QLatin1Char('~'))
                text(QString(QChar::Nbsp));
            else if (c == QLatin1Char('\\') || c == QLatin1Char('{') || c == QLatin1Char('}'))
                text(QString(c));
            else if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
                paragraph();
            return;
        }
        const qsizetype start = m_pos;
        while (m_pos < m_in.size() && m_in.at(m_pos).isLetter() && m_pos - start < 32)
            ++m_pos;
        const QString word = m_in.mid(start, m_pos - start);
        bool hasParam = false;
        int param = 0;
        const qsizetype numberStart = m_pos;
        if (m_pos < m_in.size() && (m_in.at(m_pos) == QLatin1Char('-') || m_in.at(m_pos).isDigit())) {
            ++m_pos;
            while (m_pos < m_in.size() && m_in.at(m_pos).isDigit() && m_pos - numberStart < 10)
                ++m_pos;
            param = m_in.mid(numberStart, m_pos - numberStart).toInt(&hasParam);
        }
        if (m_pos < m_in.size() && m_in.at(m_pos) == QLatin1Char(' '))
            ++m_pos;
        if (word != QLatin1String("u"))
            flushBytes();
        apply(word, hasParam, param);
    }

    void apply(const QString &w, bool hasParam, int p)
    {
        State &s = state();
        CharFormat &f = s.format;
        const bool on = !hasParam || p != 0;
        if (w == QLatin1String("fonttbl")) { s.fontTable = true; s.ignore = true; }
        else if (w == QLatin1String("colortbl")) { s.colorTable = true; s.ignore = true; m_colors.clear(); m_color = 0; }
        else if (s.colorTable && (w == QLatin1String("red") || w == QLatin1String("green") || w == QLatin1String("blue"))) {
            const int shift = w == QLatin1String("red") ? 16 : (w == QLatin1String("green") ? 8 : 0);
            m_color |= (p & 0xff) << shift;
        }
        else if (w == QLatin1String("stylesheet") || w == QLatin1String("info") || w == QLatin1String("pict")
                 || w == QLatin1String("header") || w == QLatin1String("footer") || w == QLatin1String("object")
                 || w == QLatin1String("listtable") || w == QLatin1String("themedata"))
            s.ignore = true;
        else if (s.fontTable && w == QLatin1String("f")) { endFontName(); m_fontIndex = p; }
        else if (w == QLatin1String("ansicpg") && hasParam) m_codePage = p;
        else if (w == QLatin1String("b")) f.bold = on;
        else if (w == QLatin1String("i")) f.italic = on;
        else if (w == QLatin1String("ul")) f.underline = on;
        else if (w == QLatin1String("ulnone")) f.underline = false;
        else if (w == QLatin1String("strike")) f.strike = on;
        else if (w == QLatin1String("f")) f.font = p;
        else if (w == QLatin1String("fs")) f.halfPoints = p;
        else if (w == QLatin1String("cf")) f.color = p;
        else if (w == QLatin1String("uc")) f.skip = qBound(0, p, 8);
        else if (w == QLatin1String("plain")) { const int skip = f.skip; f = CharFormat(); f.skip = skip; }
        else if (w == QLatin1String("pard")) { m_align = QString(); m_indent = 0; }
        else if (w == QLatin1String("li")) m_indent = std::clamp(p, 0, 100000);
        else if (w == QLatin1String("qc")) m_align = QStringLiteral("center");
        else if (w == QLatin1String("qr")) m_align = QStringLiteral("right");
        else if (w == QLatin1String("qj")) m_align = QStringLiteral("justify");
        else if (w == QLatin1String("ql")) m_align = QString();
        else if (w == QLatin1String("par")) paragraph();
        else if (w == QLatin1String("line")) raw(QStringLiteral("<br>"));
        else if (w == QLatin1String("tab")) text(QStringLiteral("\t"));
        else if (w == QLatin1String("emdash")) text(QString(QChar(0x2014)));
        else if (w == QLatin1String("endash")) text(QString(QChar(0x2013)));
        else if (w == QLatin1String("bullet")) text(QString(QChar(0x2022)));
        else if (w == QLatin1String("lquote")) text(QString(QChar(0x2018)));
        else if (w == QLatin1String("rquote")) text(QString(QChar(0x2019)));
        else if (w == QLatin1String("ldblquote")) text(QString(QChar(0x201c)));
        else if (w == QLatin1String("rdblquote")) text(QString(QChar(0x201d)));
        else if (w == QLatin1String("u") && hasParam) {
            flushBytes();
            text(QString(QChar(char16_t(p < 0 ? p + 65536 : p))));
            skipFallback(f.skip);
        }
    }

    // After \uN the next characters are a fallback for readers without Unicode.
    void skipFallback(int count)
    {
        for (int i = 0; i < count && m_pos < m_in.size(); ++i) {
            if (m_in.at(m_pos) == QLatin1Char('\\') && m_pos + 1 < m_in.size() && m_in.at(m_pos + 1) == QLatin1Char('\''))
                m_pos += 4;
            else if (m_in.at(m_pos) == QLatin1Char('{') || m_in.at(m_pos) == QLatin1Char('}'))
                return;
            else
                ++m_pos;
        }
    }

    void flushBytes()
    {
        if (m_bytes.isEmpty())
            return;
        const QByteArray bytes = std::exchange(m_bytes, {});
        QString decoded;
        if (m_codePage == 1252 || m_codePage == 0) {
            static const char16_t high[32] = {0x20ac, 0x81, 0x201a, 0x192, 0x201e, 0x2026, 0x2020, 0x2021, 0x2c6, 0x2030,
                                              0x160, 0x2039, 0x152, 0x8d, 0x17d, 0x8f, 0x90, 0x2018, 0x2019, 0x201c,
                                              0x201d, 0x2022, 0x2013, 0x2014, 0x2dc, 0x2122, 0x161, 0x203a, 0x153, 0x9d,
                                              0x17e, 0x178};
            for (char ch : bytes) {
                const uchar u = uchar(ch);
                decoded.append(u >= 0x80 && u < 0xa0 ? QChar(high[u - 0x80]) : QChar(u));
            }
        } else {
            QStringDecoder decoder(QByteArray("windows-" + QByteArray::number(m_codePage)).constData());
            if (!decoder.isValid() && m_codePage == 936)
                decoder = QStringDecoder("GBK");
            decoded = decoder.isValid() ? decoder.decode(bytes) : QString::fromLatin1(bytes);
        }
        text(decoded);
    }

    void endFontName()
    {
        if (m_fontIndex >= 0) {
            QString name = m_fontName.trimmed();
            if (name.endsWith(QLatin1Char(';')))
                name.chop(1);
            m_fonts.append({m_fontIndex, name.trimmed()});
        }
        m_fontIndex = -1;
        m_fontName.clear();
    }

    QString fontName(int index) const
    {
        for (const auto &f : m_fonts) {
            if (f.first == index)
                return f.second;
        }
        return QString();
    }

    void text(const QString &t)
    {
        State &s = state();
        if (s.fontTable) {
            m_fontName += t;
            return;
        }
        if (s.colorTable) {
            if (t == QLatin1String(";")) {
                m_colors.append(m_color);
                m_color = 0;
            }
            return;
        }
        if (s.ignore)
            return;
        if (!(s.format == m_open) || !m_spanOpen) {
            closeSpan();
            openSpan(s.format);
        }
        m_paragraph += t.toHtmlEscaped();
        m_hasText = true;
    }

    void raw(const QString &html)
    {
        if (!state().ignore) {
            m_paragraph += html;
            m_hasText = true;
        }
    }

    void openSpan(const CharFormat &f)
    {
        QStringList style;
        if (f.bold) style << QStringLiteral("font-weight:bold");
        if (f.italic) style << QStringLiteral("font-style:italic");
        QStringList decoration;
        if (f.underline) decoration << QStringLiteral("underline");
        if (f.strike) decoration << QStringLiteral("line-through");
        if (!decoration.isEmpty()) style << QStringLiteral("text-decoration:") + decoration.join(u' ');
        if (f.halfPoints > 0) style << QStringLiteral("font-size:%1pt").arg(f.halfPoints / 2.0);
        const QString family = fontName(f.font);
        if (!family.isEmpty()) style << QStringLiteral("font-family:'%1'").arg(family.toHtmlEscaped());
        if (f.color > 0 && f.color < m_colors.size())
            style << QStringLiteral("color:#%1").arg(m_colors[f.color], 6, 16, QLatin1Char('0'));
        m_paragraph += QStringLiteral("<span style=\"%1\">").arg(style.join(u';'));
        m_open = f;
        m_spanOpen = true;
    }

    void closeSpan()
    {
        if (m_spanOpen)
            m_paragraph += QLatin1String("</span>");
        m_spanOpen = false;
    }

    void paragraph()
    {
        if (!state().ignore)
            endParagraph(false);
    }

    void endParagraph(bool last)
    {
        closeSpan();
        if (last && !m_hasText && m_paragraph.isEmpty())
            return;
        QString style = QStringLiteral("margin:0");
        if (!m_align.isEmpty())
            style += QStringLiteral(";text-align:") + m_align;
        if (m_indent > 0) // twips to the 96 dpi pixels of page documents
            style += QStringLiteral(";margin-left:%1px").arg(m_indent / 15);
        m_html += QStringLiteral("<p style=\"%1\">%2</p>").arg(style, m_paragraph.isEmpty() ? QStringLiteral("&nbsp;") : m_paragraph);
        m_paragraph.clear();
        m_hasText = false;
    }

    const QString &m_in;
    qsizetype m_pos = 0;
    std::vector<State> m_stack;
    QByteArray m_bytes;
    int m_codePage = 1252;
    QList<QPair<int, QString>> m_fonts;
    int m_fontIndex = -1;
    QString m_fontName;
    QList<int> m_colors;
    int m_color = 0;
    QString m_align;
    int m_indent = 0;
    QString m_paragraph;
    QString m_html;
    CharFormat m_open;
    bool m_spanOpen = false;
    bool m_hasText = false;
};

} // namespace

QString rtfToHtml(const QString &rtf)
{
    return RtfReader(rtf).run();
}

} // namespace Orv::RunInternal
