#include "accessimport/accessexport.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace Orv::AccessImport {

const ExportValue *ExportNode::property(QStringView name) const
{
    for (auto it = properties.rbegin(); it != properties.rend(); ++it)
        if (it->name.compare(name, Qt::CaseInsensitive) == 0)
            return &it->value;
    return nullptr;
}

QString decodeExport(const QByteArray &bytes, const QString &codePage, QString *encoding)
{
    const auto set = [&](const QString &name) {
        if (encoding)
            *encoding = name;
    };
    const auto decode = [](QStringConverter::Encoding e, QByteArrayView data) {
        QStringDecoder decoder(e, QStringConverter::Flag::Stateless);
        return QString(decoder(data));
    };
    if (bytes.startsWith("\xFF\xFE")) {
        set(QStringLiteral("UTF-16LE"));
        return decode(QStringConverter::Utf16LE, QByteArrayView(bytes).sliced(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        set(QStringLiteral("UTF-16BE"));
        return decode(QStringConverter::Utf16BE, QByteArrayView(bytes).sliced(2));
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        set(QStringLiteral("UTF-8"));
        return decode(QStringConverter::Utf8, QByteArrayView(bytes).sliced(3));
    }
    // UTF-16LE without a BOM: ASCII text with a NUL after every character.
    if (bytes.size() >= 4 && bytes[0] != 0 && bytes[1] == 0 && bytes[2] != 0 && bytes[3] == 0) {
        set(QStringLiteral("UTF-16LE"));
        return decode(QStringConverter::Utf16LE, bytes);
    }
    {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        QString text = utf8(bytes);
        if (!utf8.hasError()) {
            set(QStringLiteral("UTF-8"));
            return text;
        }
    }
    QStringDecoder page(codePage.isEmpty() ? "windows-1252" : codePage.toLatin1().constData(),
                        QStringConverter::Flag::Stateless);
    if (!page.isValid())
        page = QStringDecoder("windows-1252", QStringConverter::Flag::Stateless);
    if (page.isValid()) {
        set(QString::fromLatin1(page.name()));
        return page(bytes);
    }
    set(QStringLiteral("ISO-8859-1"));
    return QString::fromLatin1(bytes);
}

namespace {

bool isIdentStart(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
}

bool isIdentChar(QChar c)
{
    return isIdentStart(c) || (c >= u'0' && c <= u'9');
}

int hexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - '0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - 'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - 'A' + 10;
    return -1;
}

// The parser: one pass over the lines with a stack of open blocks.
class Parser
{
public:
    Parser(const QString &text, ExportFile *file, const QString &source) : m_text(text), m_file(file), m_source(source) {}

    Status run();

private:
    bool nextLine();
    Status fail(const QString &what) const
    {
        const QString where = m_source.isEmpty() ? QString() : m_source + QStringLiteral(", ");
        return Status::failure(ErrBadFileFormat,
                               QStringLiteral("Invalid Access report export (%1line %2): %3").arg(where).arg(std::max(m_lineNo, 1)).arg(what),
                               m_source);
    }
    Status parseProperty(QStringView line, std::vector<ExportProperty> *into);
    Status parseString(QStringView text, QString *out);
    Status parseBlock(ExportValue *value);

    const QString &m_text;
    ExportFile *m_file;
    QString m_source;
    qsizetype m_pos = 0;
    int m_lineNo = 0;
    QStringView m_line;    // the current line without its line end
    QStringView m_trimmed; // the same without leading and trailing blanks
};

bool Parser::nextLine()
{
    if (m_pos >= m_text.size())
        return false;
    qsizetype end = m_text.indexOf(u'\n', m_pos);
    if (end < 0)
        end = m_text.size();
    m_line = QStringView(m_text).mid(m_pos, end - m_pos);
    if (m_line.endsWith(u'\r'))
        m_line.chop(1);
    m_trimmed = m_line.trimmed();
    m_pos = end + 1;
    ++m_lineNo;
    return true;
}

Status Parser::parseString(QStringView text, QString *out)
{
    // text starts at the opening quote; escapes are C-like (\" \\ \ooo).
    qsizetype i = 1;
    QString s;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"')
            break;
        if (c == u'\\' && i + 1 < text.size()) {
            const QChar n = text[i + 1];
            if (n == u'"' || n == u'\\') {
                s += n;
                ++i;
                continue;
            }
            if (i + 3 < text.size() && n >= u'0' && n <= u'3' && text[i + 2] >= u'0' && text[i + 2] <= u'7'
                && text[i + 3] >= u'0' && text[i + 3] <= u'7') {
                s += QChar((n.unicode() - '0') * 64 + (text[i + 2].unicode() - '0') * 8 + (text[i + 3].unicode() - '0'));
                i += 3;
                continue;
            }
        }
        s += c;
    }
    if (i >= text.size())
        return fail(QStringLiteral("a string has no closing quote"));
    if (!text.mid(i + 1).trimmed().isEmpty())
        return fail(QStringLiteral("text after the closing quote of a string"));
    *out += s;
    return Status();
}

Status Parser::parseBlock(ExportValue *value)
{
    // After "Name = Begin": hex lines of a blob, or the nested text of an
    // embedded macro, up to the matching End.
    const int start = m_lineNo;
    bool decided = false;
    int depth = 0;
    while (nextLine()) {
        if (m_trimmed.isEmpty())
            continue;
        if (!decided) {
            decided = true;
            value->kind = m_trimmed.startsWith(u"0x", Qt::CaseInsensitive) ? ExportValue::Blob : ExportValue::Macro;
        }
        if (value->kind == ExportValue::Blob) {
            if (m_trimmed == u"End")
                return Status();
            QStringView hex = m_trimmed;
            if (hex.endsWith(u','))
                hex = hex.chopped(1).trimmed();
            if (!hex.startsWith(u"0x", Qt::CaseInsensitive) || hex.size() % 2 != 0)
                return fail(QStringLiteral("a line of hex data is malformed"));
            for (qsizetype i = 2; i < hex.size(); i += 2) {
                const int hi = hexDigit(hex[i]), lo = hexDigit(hex[i + 1]);
                if (hi < 0 || lo < 0)
                    return fail(QStringLiteral("a line of hex data holds a character that is not hex"));
                value->bytes.append(char(hi * 16 + lo));
            }
            continue;
        }
        if (m_trimmed == u"End") {
            if (depth == 0)
                return Status();
            --depth;
        } else if (m_trimmed == u"Begin" || m_trimmed.startsWith(u"Begin ") || m_trimmed.endsWith(u"= Begin")) {
            if (++depth > MaxExportDepth)
                return fail(QStringLiteral("blocks are nested too deeply"));
        }
        if (!value->text.isEmpty())
            value->text += QStringLiteral("\r\n");
        value->text += m_trimmed;
    }
    m_lineNo = start;
    return fail(QStringLiteral("the data block that starts here has no End"));
}

Status Parser::parseProperty(QStringView line, std::vector<ExportProperty> *into)
{
    qsizetype i = 0;
    if (line.isEmpty() || !isIdentStart(line[0]))
        return fail(QStringLiteral("\"%1\" is not a property line").arg(line.left(40)));
    while (i < line.size() && isIdentChar(line[i]))
        ++i;
    ExportProperty p;
    p.name = line.left(i).toString();
    p.line = m_lineNo;
    while (i < line.size() && line[i] == u' ')
        ++i;
    if (i >= line.size() || line[i] != u'=')
        return fail(QStringLiteral("\"%1\" is not a property line").arg(line.left(40)));
    const QStringView rest = line.mid(i + 1).trimmed();
    ExportValue &v = p.value;
    if (rest == u"NotDefault") {
        v.kind = ExportValue::NotDefault;
    } else if (rest == u"Begin") {
        if (Status s = parseBlock(&v); !s)
            return s;
    } else if (rest.startsWith(u'"')) {
        v.kind = ExportValue::String;
        if (Status s = parseString(rest, &v.text); !s)
            return s;
        // Continuation lines: the next lines that start with a quote.
        while (m_pos < m_text.size()) {
            qsizetype j = m_pos;
            while (j < m_text.size() && (m_text[j] == u' ' || m_text[j] == u'\t'))
                ++j;
            if (j >= m_text.size() || m_text[j] != u'"')
                break;
            nextLine();
            if (Status s = parseString(m_trimmed, &v.text); !s)
                return s;
        }
    } else if (!rest.isEmpty() && isIdentStart(rest[0])) {
        for (QChar c : rest)
            if (!isIdentChar(c))
                return fail(QStringLiteral("the value of %1 is not understood").arg(p.name));
        v.kind = ExportValue::Word;
        v.text = rest.toString();
    } else {
        bool ok = false;
        v.integer = rest.toLongLong(&ok);
        if (ok) {
            v.kind = ExportValue::Integer;
            v.number = double(v.integer);
        } else {
            v.number = rest.toDouble(&ok);
            if (!ok || rest.isEmpty())
                return fail(QStringLiteral("the value of %1 is not understood").arg(p.name));
            v.kind = ExportValue::Float;
        }
    }
    into->push_back(std::move(p));
    return Status();
}

Status Parser::run()
{
    // Header lines, then Begin Report.
    bool begun = false;
    while (nextLine()) {
        if (m_trimmed.isEmpty())
            continue;
        if (m_trimmed == u"Begin Report" || m_trimmed == u"Begin Form") {
            begun = true;
            break;
        }
        if (m_trimmed.startsWith(u"Begin"))
            return fail(QStringLiteral("the export does not describe a report"));
        if (Status s = parseProperty(m_trimmed, &m_file->header); !s)
            return s;
    }
    if (!begun)
        return fail(QStringLiteral("no \"Begin Report\" line was found"));

    auto report = std::make_unique<ExportNode>();
    report->kind = m_trimmed.mid(6).toString();
    report->line = m_lineNo;
    // The stack holds the open blocks; an anonymous list is marked by a
    // null entry above the block that receives its children.
    std::vector<ExportNode *> stack{report.get()};
    std::vector<bool> isList{false};
    while (!stack.empty()) {
        if (!nextLine()) {
            // Name the innermost block left open.
            m_lineNo = stack.back()->line;
            return fail(QStringLiteral("the file ends before the End of the %1 block that starts here")
                            .arg(isList.back() ? QStringLiteral("child list of the") + u' ' + stack.back()->kind : stack.back()->kind));
        }
        if (m_trimmed.isEmpty())
            continue;
        if (m_trimmed == u"End") {
            stack.pop_back();
            isList.pop_back();
            continue;
        }
        if (m_trimmed == u"Begin") {
            if (isList.back())
                return fail(QStringLiteral("a child list directly inside a child list"));
            if (stack.size() >= size_t(MaxExportDepth))
                return fail(QStringLiteral("blocks are nested too deeply"));
            stack.push_back(stack.back());
            isList.push_back(true);
            continue;
        }
        if (m_trimmed.startsWith(u"Begin ")) {
            const QStringView kind = m_trimmed.mid(6).trimmed();
            if (kind.isEmpty() || !isIdentStart(kind[0]) || !std::all_of(kind.begin(), kind.end(), isIdentChar))
                return fail(QStringLiteral("\"%1\" is not a block kind").arg(kind.left(40)));
            if (!isList.back())
                return fail(QStringLiteral("block %1 outside a child list").arg(kind));
            if (stack.size() >= size_t(MaxExportDepth))
                return fail(QStringLiteral("blocks are nested too deeply"));
            auto node = std::make_unique<ExportNode>();
            node->kind = kind.toString();
            node->line = m_lineNo;
            ExportNode *raw = node.get();
            stack.back()->children.push_back(std::move(node));
            stack.push_back(raw);
            isList.push_back(false);
            continue;
        }
        if (m_trimmed.startsWith(u'"'))
            return fail(QStringLiteral("a string continuation follows no string property"));
        if (isList.back())
            return fail(QStringLiteral("a property line inside a child list"));
        if (Status s = parseProperty(m_trimmed, &stack.back()->properties); !s)
            return s;
    }

    // After the report: blank lines, then optionally the module.
    while (nextLine()) {
        if (m_trimmed.isEmpty())
            continue;
        if (m_trimmed != u"CodeBehindForm")
            return fail(QStringLiteral("text after the end of the report"));
        m_file->hasCode = true;
        QString code;
        while (nextLine()) {
            if (!code.isEmpty())
                code += QStringLiteral("\r\n");
            code += m_line;
        }
        while (code.endsWith(QStringLiteral("\r\n")))
            code.chop(2);
        m_file->code = code;
        break;
    }
    m_file->report = std::move(report);
    for (const ExportProperty &p : m_file->header)
        if (p.name.compare(u"Version", Qt::CaseInsensitive) == 0 && p.value.kind == ExportValue::Integer)
            m_file->version = int(p.value.integer);
    return Status();
}

} // namespace

Status parseExport(const QByteArray &bytes, ExportFile *file, const QString &sourceName, const QString &codePage)
{
    *file = ExportFile();
    if (bytes.size() > MaxExportSize)
        return Status::failure(ErrBadFileFormat, QStringLiteral("The Access report export %1 is larger than %2 MB")
                                                     .arg(sourceName).arg(MaxExportSize / (1024 * 1024)), sourceName);
    ExportFile result;
    const QString text = decodeExport(bytes, codePage, &result.encoding);
    Parser parser(text, &result, sourceName);
    if (Status s = parser.run(); !s)
        return s;
    *file = std::move(result);
    return Status();
}

Status readExportFile(const QString &path, ExportFile *file, const QString &codePage)
{
    *file = ExportFile();
    QFile f(path);
    if (!f.exists())
        return Status::failure(ErrFileNotFound, QStringLiteral("File not found: %1").arg(path), path);
    if (f.size() > MaxExportSize)
        return Status::failure(ErrBadFileFormat, QStringLiteral("The Access report export %1 is larger than %2 MB")
                                                     .arg(path).arg(MaxExportSize / (1024 * 1024)), path);
    if (!f.open(QIODevice::ReadOnly))
        return Status::failure(ErrPathAccess, QStringLiteral("Cannot read %1: %2").arg(path, f.errorString()), path);
    return parseExport(f.readAll(), file, QFileInfo(path).fileName(), codePage);
}

} // namespace Orv::AccessImport
