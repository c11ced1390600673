#include "engine/layout/layoutfile.h"

#include "engine/model/control.h"
#include "engine/model/controlregistry.h"
#include "engine/model/reflection.h"
#include "engine/model/report.h"
#include "engine/model/section.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <memory>

namespace Orv {

namespace {

using namespace Qt::StringLiterals;

// Reads a layout into a fresh report. The first fault stops the read; the
// caller's report is only touched once the whole file has been read.
class Reader
{
public:
    Reader(const QByteArray &bytes, QString sourceName)
        : m_bytes(bytes)
        , m_xml(bytes)
        , m_source(std::move(sourceName))
    {
    }

    Status read(Report *report)
    {
        readDocument(report);
        if (m_status.ok() && m_xml.hasError())
            failXml();
        return m_status;
    }

    Status readFragmentInto(Section *holder)
    {
        readFragment(holder);
        if (m_status.ok() && m_xml.hasError())
            failXml();
        return m_status;
    }

private:
    bool failed() const { return !m_status.ok(); }

    void fail(const QString &message, qint64 linesBack = 0)
    {
        if (failed())
            return;
        m_status = Status::failure(ErrBadFileFormat,
                                   u"%1, line %2, column %3: %4"_s.arg(m_source)
                                       .arg(m_xml.lineNumber() - linesBack)
                                       .arg(m_xml.columnNumber())
                                       .arg(message));
    }

    void failXml()
    {
        if (failed())
            return;
        QString message = m_xml.errorString();
        if (m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError)
            message = u"the file ends too early (it is truncated or empty)"_s;
        // The reader's message quotes the character it stopped at, and a
        // control character (a NUL byte above all) shows as nothing: name
        // the first one, where it is. XML allows none of them.
        qint64 line = 1, column = 1;
        for (const char c : m_bytes) {
            const auto u = static_cast<unsigned char>(c);
            if (u < 0x20 && c != '\t' && c != '\n' && c != '\r') {
                const QString what = u == 0 ? u"a NUL byte (U+0000)"_s
                                            : u"the control character U+%1"_s.arg(QString::number(u, 16).rightJustified(4, u'0').toUpper());
                m_status = Status::failure(ErrBadFileFormat, u"%1, line %2, column %3: %4, which a layout never holds "
                                                             u"(the file is damaged or not a layout)"_s
                                                                 .arg(m_source).arg(line).arg(column).arg(what));
                return;
            }
            if (c == '\n') {
                ++line;
                column = 1;
            } else if ((u & 0xc0) != 0x80) {
                ++column;
            }
        }
        fail(message);
    }

    // Advances to the next start or end element, skipping white space and
    // comments; anything else is a fault.
    bool nextElement()
    {
        while (!failed()) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::StartElement:
                if (++m_depth > LayoutFile::MaxDepth) {
                    fail(u"elements are nested too deeply"_s);
                    return false;
                }
                return true;
            case QXmlStreamReader::EndElement:
                --m_depth;
                return true;
            case QXmlStreamReader::Characters:
                if (!m_xml.isWhitespace()) {
                    // The reader stands after the text; name the line the text ends on.
                    const QStringView text = m_xml.text();
                    fail(u"unexpected text \"%1\""_s.arg(text.trimmed().left(40).toString()),
                         trailingNewlines(text));
                    return false;
                }
                break;
            case QXmlStreamReader::Comment:
            case QXmlStreamReader::StartDocument:
                break;
            case QXmlStreamReader::DTD:
                fail(u"document type declarations are not allowed in a layout"_s);
                return false;
            case QXmlStreamReader::EntityReference:
                fail(u"entity references are not allowed in a layout"_s);
                return false;
            case QXmlStreamReader::ProcessingInstruction:
                fail(u"processing instructions are not allowed in a layout"_s);
                return false;
            case QXmlStreamReader::Invalid:
                failXml();
                return false;
            case QXmlStreamReader::EndDocument:
                fail(u"the file ends too early (it is truncated or empty)"_s);
                return false;
            default:
                break;
            }
        }
        return false;
    }

    // The root element and its format version.
    bool readRoot(const QString &rootName, const QString &wrongRoot)
    {
        if (!nextElement())
            return false;
        if (m_xml.name() != rootName) {
            fail(wrongRoot.arg(m_xml.name().toString()));
            return false;
        }
        const QXmlStreamAttributes attributes = m_xml.attributes();
        for (const QXmlStreamAttribute &a : attributes) {
            if (a.name() != "version"_L1) {
                fail(u"unknown attribute \"%1\" of <%2>"_s.arg(a.name().toString(), rootName));
                return false;
            }
        }
        if (!attributes.hasAttribute("version"_L1)) {
            fail(u"the layout has no format version"_s);
            return false;
        }
        bool ok = false;
        const int version = attributes.value("version"_L1).toInt(&ok);
        if (!ok || version < 1) {
            fail(u"\"%1\" is not a layout format version"_s.arg(attributes.value("version"_L1).toString()));
            return false;
        }
        if (version > LayoutFile::FormatVersion) {
            fail(u"the layout was written in format version %1 by a newer OrvReport; this one reads up to version %2"_s
                     .arg(version)
                     .arg(LayoutFile::FormatVersion));
            return false;
        }
        return true;
    }

    // Nothing but comments and white space may follow the root.
    void readTrailer()
    {
        while (!m_xml.atEnd()) {
            const auto token = m_xml.readNext();
            if (token == QXmlStreamReader::Invalid) {
                if (m_xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
                    failXml();
                return;
            }
        }
    }

    void readDocument(Report *report)
    {
        if (!readRoot(u"OrvReportLayout"_s, u"this is not an OrvReport layout (the root element is <%1>)"_s))
            return;
        bool sawReport = false;
        while (nextElement()) {
            if (m_xml.isEndElement())
                break;
            if (m_xml.name() != "Report"_L1 || sawReport) {
                fail(sawReport ? u"a layout holds one <Report>"_s
                               : u"unexpected element <%1> (expected <Report>)"_s.arg(m_xml.name().toString()));
                return;
            }
            sawReport = true;
            readReport(report);
        }
        if (failed())
            return;
        if (!sawReport) {
            fail(u"the layout holds no <Report>"_s);
            return;
        }
        readTrailer();
    }

    // A fragment's controls go into holder, a detached section.
    void readFragment(Section *holder)
    {
        if (!readRoot(u"OrvReportFragment"_s, u"this is not an OrvReport fragment (the root element is <%1>)"_s))
            return;
        while (nextElement()) {
            if (m_xml.isEndElement())
                break;
            if (m_xml.name() != "Control"_L1) {
                fail(u"unexpected element <%1> (expected <Control>)"_s.arg(m_xml.name().toString()));
                return;
            }
            readControl(holder);
        }
        if (failed())
            return;
        readTrailer();
    }

    void readReport(Report *report)
    {
        // The fresh report's default sections give way to the file's.
        while (report->sections()->Count() > 0)
            std::ignore = report->sections()->Remove(0); // in range: the loop checks the count
        readAttributes(report, u"Report"_s, {});
        while (!failed() && nextElement()) {
            if (m_xml.isEndElement())
                break;
            if (m_xml.name() == "Section"_L1) {
                readSection(report);
            } else if (!readPartOrValue(report, u"Report"_s)) {
                return;
            }
        }
        if (failed())
            return;
        const Status valid = report->sections()->validate();
        if (!valid.ok()) {
            fail(valid.description());
            return;
        }
        static const Section::Type singles[] = {Section::ReportHeader, Section::ReportFooter, Section::PageHeader,
                                                Section::PageFooter, Section::Detail};
        for (Section::Type type : singles) {
            if (report->sections()->countOfType(type) > 1) {
                fail(u"the report holds %1 sections of type %2; it may hold one"_s
                         .arg(report->sections()->countOfType(type))
                         .arg(int(type)));
                return;
            }
        }
    }

    void readSection(Report *report)
    {
        if (report->sections()->Count() >= LayoutFile::MaxSections) {
            fail(u"the layout holds more than %1 sections"_s.arg(LayoutFile::MaxSections));
            return;
        }
        const QStringView typeText = m_xml.attributes().value("Type"_L1);
        bool ok = false;
        const int type = typeText.toInt(&ok);
        if (typeText.isNull()) {
            fail(u"<Section> has no Type"_s);
            return;
        }
        if (!ok || !Section::isValidType(type)) {
            fail(u"\"%1\" is not a section type (0 to 6)"_s.arg(typeText.toString()));
            return;
        }
        auto *section = new Section(Section::Type(type));
        report->sections()->insert(-1, section);
        readAttributes(section, u"Section"_s, {u"Type"_s});
        while (!failed() && nextElement()) {
            if (m_xml.isEndElement())
                break;
            if (m_xml.name() == "Control"_L1) {
                readControl(section);
            } else if (!readPartOrValue(section, u"Section"_s)) {
                return;
            }
        }
    }

    void readControl(Section *section)
    {
        if (++m_controls > LayoutFile::MaxControls) {
            fail(u"the layout holds more than %1 controls"_s.arg(LayoutFile::MaxControls));
            return;
        }
        const QString typeId = m_xml.attributes().value("Type"_L1).toString();
        if (typeId.isEmpty()) {
            fail(u"<Control> has no Type"_s);
            return;
        }
        Status status;
        Control *control = ControlRegistry::builtIn().create(typeId, &status);
        if (!control) {
            fail(status.description());
            return;
        }
        section->controls()->insert(-1, control);
        const QString what = control->typeName();
        readAttributes(control, what, {u"Type"_s});
        readChildren(control, what);
    }

    // Children of an object that may only hold parts and values.
    void readChildren(QObject *object, const QString &what)
    {
        while (!failed() && nextElement()) {
            if (m_xml.isEndElement())
                break;
            if (!readPartOrValue(object, what))
                return;
        }
    }

    bool readPartOrValue(QObject *object, const QString &what)
    {
        const QString name = m_xml.name().toString();
        if (name == "Value"_L1) {
            readValue(object, what);
            return !failed();
        }
        const Reflection::Property p = Reflection::find(object, name);
        if (!p.isValid() || !Reflection::isPart(p.meta)) {
            fail(u"unexpected element <%1> in %2"_s.arg(name, what));
            return false;
        }
        QObject *part = Reflection::partOf(object, p.meta);
        readAttributes(part, what + u'.' + QString::fromLatin1(p.meta.name()), {});
        readChildren(part, what + u'.' + QString::fromLatin1(p.meta.name()));
        return !failed();
    }

    // <Value Name="..." Utf16="..."/>: a text XML cannot carry as it is.
    void readValue(QObject *object, const QString &what)
    {
        const QXmlStreamAttributes attributes = m_xml.attributes();
        const QString name = attributes.value("Name"_L1).toString();
        const QByteArray encoded = attributes.value("Utf16"_L1).toLatin1();
        const auto decoded = QByteArray::fromBase64Encoding(encoded, QByteArray::AbortOnBase64DecodingErrors);
        if (attributes.size() != 2 || name.isEmpty() || !attributes.hasAttribute("Utf16"_L1)) {
            fail(u"<Value> needs exactly a Name and a Utf16 attribute"_s);
            return;
        }
        if (!decoded || decoded.decoded.size() % 2 != 0) {
            fail(u"the Utf16 text of %1 is not valid base64 of UTF-16"_s.arg(name));
            return;
        }
        QString text(decoded.decoded.size() / 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i)
            text[i] = QChar(char16_t(uchar(decoded.decoded.at(2 * i)) | (uchar(decoded.decoded.at(2 * i + 1)) << 8)));
        const Reflection::Property p = Reflection::find(object, name);
        if (!p.isValid() || p.meta.metaType().id() != QMetaType::QString) {
            fail(u"%1 has no text property \"%2\""_s.arg(what, name));
            return;
        }
        setProperty(p, text, what);
        if (nextElement() && !m_xml.isEndElement())
            fail(u"<Value> must be empty"_s);
    }

    void readAttributes(QObject *object, const QString &what, const QStringList &handled)
    {
        const QXmlStreamAttributes attributes = m_xml.attributes();
        for (const QXmlStreamAttribute &a : attributes) {
            const QString name = a.name().toString();
            if (handled.contains(name))
                continue;
            const Reflection::Property p = Reflection::find(object, name);
            if (!p.isValid() || Reflection::isPart(p.meta) || !p.meta.isWritable()) {
                fail(u"%1 has no property \"%2\""_s.arg(what, name));
                return;
            }
            QVariant value;
            if (!Reflection::fromText(a.value().toString(), p.meta.metaType(), &value)) {
                fail(u"\"%1\" is not a valid value of %2.%3 (%4 expected)"_s.arg(a.value().left(40).toString(), what,
                                                                                   QString::fromLatin1(p.meta.name()),
                                                                                   typeDescription(p.meta.metaType())));
                return;
            }
            setProperty(p, value, what);
            if (failed())
                return;
        }
    }

    void setProperty(const Reflection::Property &p, const QVariant &value, const QString &what)
    {
        const Status status = Reflection::setValue(p, value);
        if (!status.ok())
            fail(u"%1: %2"_s.arg(what, status.description()));
    }

    static qint64 trailingNewlines(QStringView text)
    {
        qint64 n = 0;
        for (qsizetype i = text.size() - 1; i >= 0 && text.at(i).isSpace(); --i) {
            if (text.at(i) == u'\n')
                ++n;
        }
        return n;
    }

    static QString typeDescription(QMetaType type)
    {
        switch (type.id()) {
        case QMetaType::Bool: return u"true or false"_s;
        case QMetaType::Int: return u"a whole number"_s;
        case QMetaType::Double: return u"a number"_s;
        case QMetaType::QByteArray: return u"base64 data"_s;
        default: return u"a text"_s;
        }
    }

    const QByteArray &m_bytes;
    QXmlStreamReader m_xml;
    QString m_source;
    Status m_status;
    int m_depth = 0;
    int m_controls = 0;
};

} // namespace

Status LoadLayout(Report &report, const QByteArray &bytes, const QString &sourceName)
{
    const QString source = sourceName.isEmpty() ? u"(layout bytes)"_s : sourceName;
    if (bytes.size() > LayoutFile::MaxFileSize)
        return Status::failure(ErrBadFileFormat, u"%1: the layout is larger than %2 MiB"_s.arg(source)
                                                     .arg(LayoutFile::MaxFileSize / (1024 * 1024)));
    Report fresh;
    const Status status = Reader(bytes, source).read(&fresh);
    if (!status.ok())
        return status;
    report.takeContent(fresh);
    report.setIsDirty(false);
    return {};
}

Status LoadLayoutFragment(const QByteArray &bytes, std::vector<std::unique_ptr<Control>> *controls,
                          const QString &sourceName)
{
    const QString source = sourceName.isEmpty() ? u"(layout fragment)"_s : sourceName;
    if (!controls)
        return Status::failure(ErrInvalidCall, u"Invalid procedure call or argument"_s);
    if (bytes.size() > LayoutFile::MaxFileSize)
        return Status::failure(ErrBadFileFormat, u"%1: the fragment is larger than %2 MiB"_s.arg(source)
                                                     .arg(LayoutFile::MaxFileSize / (1024 * 1024)));
    Section holder(Section::Detail);
    const Status status = Reader(bytes, source).readFragmentInto(&holder);
    if (!status.ok())
        return status;
    while (holder.controls()->Count() > 0)
        controls->emplace_back(holder.controls()->take(0));
    return {};
}

bool looksLikeLayoutFragment(const QByteArray &bytes)
{
    return bytes.left(512).contains("<OrvReportFragment");
}

Status LoadLayout(Report &report, const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return Status::failure(ErrFileNotFound, u"%1: file not found"_s.arg(path));
    if (QFileInfo(path).isDir())
        return Status::failure(ErrPathAccess, u"%1: is a folder, not a layout file"_s.arg(path));
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(ErrPathAccess, u"%1: cannot read the file (%2)"_s.arg(path, file.errorString()));
    if (file.size() > LayoutFile::MaxFileSize)
        return Status::failure(ErrBadFileFormat, u"%1: the layout is larger than %2 MiB"_s.arg(path)
                                                     .arg(LayoutFile::MaxFileSize / (1024 * 1024)));
    const QByteArray bytes = file.read(LayoutFile::MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return Status::failure(ErrPathAccess, u"%1: cannot read the file (%2)"_s.arg(path, file.errorString()));
    return LoadLayout(report, bytes, path);
}

} // namespace Orv
