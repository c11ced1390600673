#include "engine/look/richtext.h"

#include <QColor>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace Orv::RichText {

namespace {

constexpr double TwipsPerUnit = 15.0;
constexpr int MaxGroupDepth = 256;

// Reads the RTF that word processors and this designer write: character
// and paragraph formatting, bullets, Unicode and code-page characters.
// Pictures, tables and other destinations are skipped.
class RtfReader
{
public:
    RtfReader(const QString &in, QTextDocument *doc) : m_in(in), m_doc(doc), m_cursor(doc) {}

    void run()
    {
        m_doc->clear();
        m_cursor = QTextCursor(m_doc);
        m_stack.push_back(State());
        while (m_pos < m_in.size()) {
            const QChar c = m_in.at(m_pos);
            if (c == u'{') {
                flushBytes();
                ++m_pos;
                if (m_stack.size() < MaxGroupDepth)
                    m_stack.push_back(m_stack.back());
                else
                    ++m_overflow;
            } else if (c == u'}') {
                flushBytes();
                ++m_pos;
                if (m_overflow > 0) {
                    --m_overflow;
                } else if (m_stack.size() > 1) {
                    endGroup();
                    m_stack.pop_back();
                }
            } else if (c == u'\\') {
                controlWord();
            } else {
                ++m_pos;
                if (c != u'\r' && c != u'\n') {
                    flushBytes();
                    text(QString(c));
                }
            }
        }
        flushBytes();
        // A final \par ends the last paragraph rather than opening another.
        if (m_doc->blockCount() > 1 && m_cursor.block().length() <= 1)
            m_cursor.deletePreviousChar();
        else
            finishBlock();
    }

private:
    struct State
    {
        bool bold = false, italic = false, underline = false, strike = false;
        int font = -1;
        int halfPoints = 0;
        int color = 0;
        int skip = 1; // \uc
        enum Dest { Text, Ignore, FontTable, ColorTable, BulletText } dest = Text;
    };

    State &state() { return m_stack.back(); }

    void endGroup()
    {
        if (state().dest == State::FontTable)
            endFontName();
    }

    void controlWord()
    {
        ++m_pos; // the backslash
        if (m_pos >= m_in.size())
            return;
        const QChar c = m_in.at(m_pos);
        if (!c.isLetter()) {
            ++m_pos;
            if (c == u'\'') {
                bool ok = false;
                const int byte = m_in.mid(m_pos, 2).toInt(&ok, 16);
                m_pos += 2;
                if (ok)
                    m_bytes.append(char(byte));
                return;
            }
            flushBytes();
            if (c == u'*')
                state().dest = State::Ignore;
            else if (c == u'~')
                text(QString(QChar::Nbsp));
            else if (c == u'\\' || c == u'{' || c == u'}')
                text(QString(c));
            else if (c == u'\n' || c == u'\r')
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
        if (m_pos < m_in.size() && (m_in.at(m_pos) == u'-' || m_in.at(m_pos).isDigit())) {
            ++m_pos;
            while (m_pos < m_in.size() && m_in.at(m_pos).isDigit() && m_pos - numberStart < 10)
                ++m_pos;
            param = m_in.mid(numberStart, m_pos - numberStart).toInt(&hasParam);
        }
        if (m_pos < m_in.size() && m_in.at(m_pos) == u' ')
            ++m_pos;
        if (word != QLatin1String("u"))
            flushBytes();
        apply(word, hasParam, param);
    }

    void apply(const QString &w, bool hasParam, int p)
    {
        State &s = state();
        const bool on = !hasParam || p != 0;
        if (w == QLatin1String("fonttbl")) s.dest = State::FontTable;
        else if (w == QLatin1String("colortbl")) { s.dest = State::ColorTable; m_colors.clear(); m_color = QColor(); }
        else if (s.dest == State::ColorTable && (w == QLatin1String("red") || w == QLatin1String("green") || w == QLatin1String("blue"))) {
            if (!m_color.isValid())
                m_color = QColor(0, 0, 0);
            if (w == QLatin1String("red")) m_color.setRed(std::clamp(p, 0, 255));
            else if (w == QLatin1String("green")) m_color.setGreen(std::clamp(p, 0, 255));
            else m_color.setBlue(std::clamp(p, 0, 255));
        }
        else if (w == QLatin1String("pntext")) { s.dest = State::BulletText; m_bullet = true; }
        else if (w == QLatin1String("pn")) { s.dest = State::Ignore; m_bullet = true; }
        else if (w == QLatin1String("stylesheet") || w == QLatin1String("info") || w == QLatin1String("pict")
                 || w == QLatin1String("header") || w == QLatin1String("footer") || w == QLatin1String("object")
                 || w == QLatin1String("listtable") || w == QLatin1String("listoverridetable")
                 || w == QLatin1String("themedata") || w == QLatin1String("fldinst"))
            s.dest = State::Ignore;
        else if (s.dest == State::FontTable && w == QLatin1String("f")) { endFontName(); m_fontIndex = p; }
        else if (w == QLatin1String("ansicpg") && hasParam) m_codePage = p;
        else if (w == QLatin1String("b")) s.bold = on;
        else if (w == QLatin1String("i")) s.italic = on;
        else if (w == QLatin1String("ul")) s.underline = on;
        else if (w == QLatin1String("ulnone")) s.underline = false;
        else if (w == QLatin1String("strike")) s.strike = on;
        else if (w == QLatin1String("f")) s.font = p;
        else if (w == QLatin1String("fs")) s.halfPoints = std::clamp(p, 0, 3276);
        else if (w == QLatin1String("cf")) s.color = p;
        else if (w == QLatin1String("uc")) s.skip = std::clamp(p, 0, 8);
        else if (w == QLatin1String("plain")) { const int skip = s.skip; const auto dest = s.dest; s = State(); s.skip = skip; s.dest = dest; }
        else if (w == QLatin1String("pard")) { m_align = Qt::AlignLeft; m_li = 0; m_fi = 0; m_bullet = false; }
        else if (w == QLatin1String("ql")) m_align = Qt::AlignLeft;
        else if (w == QLatin1String("qc")) m_align = Qt::AlignHCenter;
        else if (w == QLatin1String("qr")) m_align = Qt::AlignRight;
        else if (w == QLatin1String("qj")) m_align = Qt::AlignJustify;
        else if (w == QLatin1String("li")) m_li = std::clamp(p, 0, 100000);
        else if (w == QLatin1String("fi")) m_fi = std::clamp(p, -100000, 100000);
        else if (w == QLatin1String("par")) paragraph();
        else if (w == QLatin1String("line")) text(QString(QChar::LineSeparator));
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
            if (p >= -32768 && p <= 65535)
                text(QString(QChar(char16_t(p < 0 ? p + 65536 : p))));
            skipFallback(s.skip);
        }
    }

    // The characters after \uN that stand in for readers without Unicode.
    void skipFallback(int count)
    {
        for (int i = 0; i < count && m_pos < m_in.size(); ++i) {
            if (m_in.at(m_pos) == u'\\' && m_pos + 1 < m_in.size() && m_in.at(m_pos + 1) == u'\'')
                m_pos += 4;
            else if (m_in.at(m_pos) == u'{' || m_in.at(m_pos) == u'}')
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
        QStringDecoder decoder(QByteArray("windows-" + QByteArray::number(m_codePage)).constData());
        if (!decoder.isValid() && m_codePage == 936)
            decoder = QStringDecoder("GBK");
        decoded = decoder.isValid() ? decoder.decode(bytes) : QString::fromLatin1(bytes);
        text(decoded);
    }

    void endFontName()
    {
        if (m_fontIndex >= 0) {
            QString name = m_fontName.trimmed();
            if (name.endsWith(u';'))
                name.chop(1);
            m_fonts.push_back({m_fontIndex, name.trimmed()});
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
        switch (s.dest) {
        case State::FontTable:
            m_fontName += t;
            if (m_fontName.contains(u';'))
                endFontName();
            return;
        case State::ColorTable:
            if (t == QLatin1String(";")) {
                m_colors.push_back(m_color);
                m_color = QColor();
            }
            return;
        case State::Ignore:
        case State::BulletText:
            return;
        case State::Text:
            break;
        }
        QTextCharFormat f;
        f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(s.italic);
        f.setFontUnderline(s.underline);
        f.setFontStrikeOut(s.strike);
        const QString family = fontName(s.font);
        if (!family.isEmpty())
            f.setFontFamilies({family});
        if (s.halfPoints > 0)
            f.setFontPointSize(s.halfPoints / 2.0);
        if (s.color > 0 && size_t(s.color) < m_colors.size() && m_colors[size_t(s.color)].isValid())
            f.setForeground(m_colors[size_t(s.color)]);
        m_cursor.insertText(t, f);
    }

    void paragraph()
    {
        if (state().dest != State::Text)
            return;
        finishBlock();
        m_cursor.insertBlock();
    }

    // Paragraph properties in force at \par belong to the paragraph it ends.
    void finishBlock()
    {
        QTextBlockFormat bf;
        bf.setAlignment(m_align);
        const int indent = m_bullet ? std::max(0, m_li - int(IndentStep)) : m_li;
        bf.setLeftMargin(indent / TwipsPerUnit);
        if (!m_bullet && m_fi != 0)
            bf.setTextIndent(m_fi / TwipsPerUnit);
        m_cursor.setBlockFormat(bf);
        if (m_bullet) {
            if (m_list && m_lastListed == m_cursor.block().previous())
                m_list->add(m_cursor.block());
            else
                m_list = m_cursor.createList(QTextListFormat::ListDisc);
            m_lastListed = m_cursor.block();
        } else {
            m_list = nullptr;
        }
    }

    const QString &m_in;
    QTextDocument *m_doc;
    QTextCursor m_cursor;
    qsizetype m_pos = 0;
    std::vector<State> m_stack;
    int m_overflow = 0;
    QByteArray m_bytes;
    int m_codePage = 1252;
    std::vector<std::pair<int, QString>> m_fonts;
    int m_fontIndex = -1;
    QString m_fontName;
    std::vector<QColor> m_colors;
    QColor m_color;
    Qt::Alignment m_align = Qt::AlignLeft;
    int m_li = 0;
    int m_fi = 0;
    bool m_bullet = false;
    QTextList *m_list = nullptr;
    QTextBlock m_lastListed;
};

QString escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += u'\\';
            out += c;
        } else if (u == u'\t') {
            out += QLatin1String("\\tab ");
        } else if (u == QChar::LineSeparator) {
            out += QLatin1String("\\line ");
        } else if (u == QChar::Nbsp) {
            out += QLatin1String("\\~");
        } else if (u < 0x20) {
            continue;
        } else if (u < 0x80) {
            out += c;
        } else {
            out += QStringLiteral("\\u%1?").arg(int(short(u)));
        }
    }
    return out;
}

int indexOf(std::vector<QString> &list, const QString &value)
{
    const auto it = std::find(list.begin(), list.end(), value);
    if (it != list.end())
        return int(it - list.begin());
    list.push_back(value);
    return int(list.size() - 1);
}

} // namespace

bool isRtf(const QString &text)
{
    return text.trimmed().startsWith(QLatin1String("{\\rtf"));
}

void load(QTextDocument *doc, const QString &text)
{
    if (isRtf(text)) {
        RtfReader(text, doc).run();
        return;
    }
    doc->setPlainText(text);
}

QString toRtf(const QTextDocument *doc, const PageFont &base)
{
    std::vector<QString> fonts{base.family};
    std::vector<QString> colors; // "\red..\green..\blue..;" entries after the automatic colour
    QString body;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat bf = block.blockFormat();
        QString para = QStringLiteral("\\pard");
        const Qt::Alignment align = bf.alignment() & Qt::AlignHorizontal_Mask;
        if (align & Qt::AlignHCenter)
            para += QLatin1String("\\qc");
        else if (align & Qt::AlignRight)
            para += QLatin1String("\\qr");
        else if (align & Qt::AlignJustify)
            para += QLatin1String("\\qj");
        const int indent = int(std::lround(bf.leftMargin() * TwipsPerUnit));
        const bool bullet = block.textList() != nullptr;
        if (bullet)
            para += QStringLiteral("\\fi-%1\\li%2").arg(int(IndentStep)).arg(indent + int(IndentStep));
        else if (indent > 0)
            para += QStringLiteral("\\li%1").arg(indent);
        if (!bullet && bf.textIndent() != 0)
            para += QStringLiteral("\\fi%1").arg(int(std::lround(bf.textIndent() * TwipsPerUnit)));
        para += u' ';
        if (bullet)
            para += QLatin1String("{\\pntext\\bullet\\tab}{\\*\\pn\\pnlvlblt\\pnindent0{\\pntxtb\\bullet}}");
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat f = fragment.charFormat();
            QString words;
            if (f.fontWeight() >= QFont::Bold)
                words += QLatin1String("\\b");
            if (f.fontItalic())
                words += QLatin1String("\\i");
            if (f.fontUnderline())
                words += QLatin1String("\\ul");
            if (f.fontStrikeOut())
                words += QLatin1String("\\strike");
            const QStringList families = f.fontFamilies().toStringList();
            if (!families.isEmpty() && families.front() != base.family)
                words += QStringLiteral("\\f%1").arg(indexOf(fonts, families.front()));
            if (f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0
                && std::abs(f.fontPointSize() - base.pointSize) > 0.01)
                words += QStringLiteral("\\fs%1").arg(int(std::lround(f.fontPointSize() * 2)));
            if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush) {
                const QColor c = f.foreground().color();
                const QString entry = QStringLiteral("\\red%1\\green%2\\blue%3;").arg(c.red()).arg(c.green()).arg(c.blue());
                words += QStringLiteral("\\cf%1").arg(indexOf(colors, entry) + 1);
            }
            const QString text = escaped(fragment.text());
            if (words.isEmpty())
                para += text;
            else
                para += u'{' + words + u' ' + text + u'}';
        }
        body += para;
        if (block.next().isValid())
            body += QLatin1String("\\par\n");
    }
    QString out = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl");
    for (size_t i = 0; i < fonts.size(); ++i)
        out += QStringLiteral("{\\f%1 %2;}").arg(i).arg(escaped(fonts[i]));
    out += u'}';
    if (!colors.empty()) {
        out += QLatin1String("{\\colortbl;");
        for (const QString &c : colors)
            out += c;
        out += u'}';
    }
    out += QStringLiteral("\\f0\\fs%1 ").arg(int(std::lround(base.pointSize * 2)));
    out += body;
    out += u'}';
    return out;
}

QString rtfEscaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += u'\\';
            out += c;
        } else if (c == u'\r') {
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            out += QLatin1String("\\line ");
        } else if (c == u'\n') {
            out += QLatin1String("\\line ");
        } else if (c.unicode() > 0x7f) {
            out += QStringLiteral("\\u%1?").arg(qint16(c.unicode())); // RTF numbers are signed 16-bit
        } else {
            out += c;
        }
    }
    return out;
}

QString toHtml(const QString &text, const PageFont &base)
{
    QTextDocument doc;
    QFont f(base.family);
    f.setPointSizeF(std::max(1.0, base.pointSize));
    doc.setDefaultFont(f);
    load(&doc, text);
    return doc.toHtml();
}

namespace {

std::vector<QTextBlock> blocksOf(const QTextCursor &cursor)
{
    std::vector<QTextBlock> out;
    const QTextDocument *doc = cursor.document();
    if (!doc)
        return out;
    QTextBlock first = doc->findBlock(cursor.selectionStart());
    const QTextBlock last = doc->findBlock(cursor.selectionEnd());
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        out.push_back(b);
        if (b == last)
            break;
    }
    return out;
}

void withWholeDocument(QTextDocument *doc, const std::function<void(const QTextCursor &)> &f)
{
    QTextCursor c(doc);
    c.select(QTextCursor::Document);
    f(c);
}

} // namespace

bool hasBullets(const QTextCursor &cursor)
{
    const auto blocks = blocksOf(cursor);
    return !blocks.empty() && std::all_of(blocks.begin(), blocks.end(), [](const QTextBlock &b) { return b.textList(); });
}

void toggleBullets(const QTextCursor &cursor)
{
    setBullets(cursor, !hasBullets(cursor));
}

void setBullets(const QTextCursor &cursor, bool on)
{
    const auto blocks = blocksOf(cursor);
    if (blocks.empty())
        return;
    QTextCursor edit(cursor);
    edit.beginEditBlock();
    if (!on) {
        for (const QTextBlock &b : blocks) {
            if (QTextList *list = b.textList())
                list->remove(b);
            QTextCursor c(b);
            QTextBlockFormat bf = b.blockFormat();
            bf.setObjectIndex(-1);
            bf.setIndent(0);
            c.setBlockFormat(bf);
        }
    } else {
        QTextList *list = nullptr;
        for (const QTextBlock &b : blocks) {
            if (b.textList())
                b.textList()->remove(b);
            if (!list) {
                QTextCursor c(b);
                list = c.createList(QTextListFormat::ListDisc);
            } else {
                list->add(b);
            }
        }
    }
    edit.endEditBlock();
}

bool isIndented(const QTextCursor &cursor)
{
    const auto blocks = blocksOf(cursor);
    return std::any_of(blocks.begin(), blocks.end(), [](const QTextBlock &b) { return b.blockFormat().leftMargin() > 0; });
}

void indent(const QTextCursor &cursor, int steps)
{
    const auto blocks = blocksOf(cursor);
    QTextCursor edit(cursor);
    edit.beginEditBlock();
    for (const QTextBlock &b : blocks) {
        QTextCursor c(b);
        QTextBlockFormat bf = b.blockFormat();
        bf.setLeftMargin(std::max(0.0, bf.leftMargin() + steps * IndentStep / TwipsPerUnit));
        c.setBlockFormat(bf);
    }
    edit.endEditBlock();
}

QString withBullets(const QString &text, const PageFont &base, bool on)
{
    QTextDocument doc;
    load(&doc, text);
    withWholeDocument(&doc, [on](const QTextCursor &c) { setBullets(c, on); });
    return toRtf(&doc, base);
}

QString withIndent(const QString &text, const PageFont &base, int steps)
{
    QTextDocument doc;
    load(&doc, text);
    withWholeDocument(&doc, [steps](const QTextCursor &c) { indent(c, steps); });
    return toRtf(&doc, base);
}

namespace {

// Asks test of a whole control's text read into a document; plain text
// has neither bullets nor indents.
bool wholeText(const QString &text, bool (*test)(const QTextCursor &))
{
    if (!isRtf(text))
        return false;
    QTextDocument doc;
    load(&doc, text);
    QTextCursor c(&doc);
    c.select(QTextCursor::Document);
    return test(c);
}

} // namespace

bool textHasBullets(const QString &text)
{
    return wholeText(text, hasBullets);
}

bool textIndented(const QString &text)
{
    return wholeText(text, isIndented);
}

} // namespace Orv::RichText
